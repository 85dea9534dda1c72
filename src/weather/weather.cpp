#include "weather/weather.h"

#include <fmt/format.h>

#include <chrono>
#include <system_error>

#include "explore/explorer.h"
#include "map/user.h"
#include "text/atomic_file.h"
#include "text/string_consts.h"
#include "text/translate.h"
#include "ui/ui.h"
#include "weather/report.h"

namespace orvela::weather {

using text::_;
using text::STRTOKENREPLACE;

std::string weather_address(const WeatherSettings& settings, uint8_t TYP, int32_t ULAT,
                            int32_t ULON) {
  std::string url = settings.weather_service;
  if (!url.empty() && url.back() != '/') url += '/';
  if (TYP == WEATHER_CURRENT) url += "weather";
  if (TYP == WEATHER_DAILYFORECAST) url += "forecast/daily";
  if (TYP == WEATHER_HOURLYFORECAST) url += "forecast/hourly";
  url += fmt::format("?mode=xml&units=metric&lat={:.5f}&lon={:.5f}", ULAT / 1000000.0,
                     ULON / 1000000.0);
  if (TYP == WEATHER_DAILYFORECAST) url += "&cnt=16";
  return url + "&APPID=" + settings.weather_api_key;
}

bool Weather::position_known() const { return ctx_.user.ULATLONSET; }

bool Weather::configured() {
  std::string t;
  std::string key;
  if (ctx_.settings.weather_service.empty()) {
    t = _("No weather service configured: set {key} in orvela.ini.");
    key = "weather_service";
  } else if (ctx_.settings.weather_api_key.empty()) {
    t = _("No weather API key configured: set {key} in orvela.ini.");
    key = "weather_api_key";
  } else {
    return true;
  }
  ctx_.ui.WGINFO(STRTOKENREPLACE(t, {"key", key}));
  return false;
}

bool Weather::fetch(const std::string& url, const std::filesystem::path& file) {
  const std::string operation = _("Downloading weather data");
  std::string error;
  ui::BgTask task;
  task.texts = {operation, _("Progress"), ""};
  task.work = [&](ui::BgProgress& progress) {
    error = download(url, file, progress);
    return ui::BgResult{};
  };
  if (ctx_.ui.BGPROCES(std::move(task)).cancelled) return false;
  if (error.empty()) return true;
  std::string reason = error;
  // The service refuses a key it does not know with 401.
  if (error == "HTTP 401")
    reason += "\r" + STRTOKENREPLACE(_("Check {key} in orvela.ini."), {"key", "weather_api_key"});
  ctx_.ui.WGINFO(STRTOKENREPLACE(_("Error - {operation}"), {"operation", operation}) + "\r" +
                 reason);
  return false;
}

void Weather::GETWEATHER(uint8_t TYP) {
  if (!configured() || !download) return;
  const std::string url = weather_address(ctx_.settings, TYP, ctx_.user.ULAT, ctx_.user.ULON);
  std::error_code ec;
  std::filesystem::create_directories(ctx_.temp_dir, ec);
  const std::filesystem::path file = text::temp_path_beside(ctx_.temp_dir / "weather.xml");
  // The document is read once and never kept.
  const text::RemoveOnFailure cleanup({file});
  if (!fetch(url, file)) return;
  FULLWEATHERREC fw;
  const LastError e = OWMPROCFILE(file, fw);
  if (e.LASTERR != 0) {
    ctx_.ui.WGINFO(_("error") + " " + std::to_string(e.LASTERR) + " " + e.LASTERRDESC);
    return;
  }
  DESCRIBEWEATHER(fw);
}

void Weather::DESCRIBEWEATHER(const FULLWEATHERREC& FWP) {
  ReportContext rc;
  rc.ULAT = ctx_.user.ULAT;
  rc.ULON = ctx_.user.ULON;
  rc.GETDIRSTR = [this](int32_t dir) { return ctx_.explorer.GETDIRSTR(dir); };
  rc.WEEKDAYNAMES = ctx_.consts.WEEKDAYNAMES;
  rc.now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
  const std::optional<WeatherReport> r = weather_report(FWP, rc);
  if (!r) {
    ctx_.ui.WGINFO(_("No weather data."));
    return;
  }
  ctx_.ui.WGREADMULTILINESTR(r->title, _("Weather"), r->text, true);
}

}  // namespace orvela::weather
