#include "weather/report.h"

#include <fmt/format.h>

#include <ctime>

#include "map/direction.h"
#include "map/geo.h"
#include "text/convert.h"
#include "text/distance.h"
#include "text/numeric.h"
#include "text/translate.h"

namespace orvela::weather {

using text::_;
using text::STRTOKENREPLACE;

namespace {

class ReportWriter {
 public:
  ReportWriter(const FULLWEATHERREC& fw, const ReportContext& ctx) : fw_(fw), ctx_(ctx) {}

  std::string write() {
    CITYINFO();
    for (const WEATHERREC& r : fw_.WEATHARR) {
      // A time block without a time is no weather of any moment.
      if (r.TYP != WEATHER_NONE) WEATHERINFO(r);
    }
    DW_ADDINFO(_("All times converted to local time of this device."));
    return std::move(text_);
  }

 private:
  void DW_ADDINFO(const std::string& s) { text_ += s + "\n"; }

  void CITYINFO() {
    DW_ADDINFO(STRTOKENREPLACE(_("City: {city} {country}"),
                               {"city", fw_.CITYNAME, "country", fw_.COUNTRY}));
    const int32_t dist = map::GEODIST(ctx_.ULAT, ctx_.ULON, fw_.CITYLAT, fw_.CITYLON);
    const int32_t azim =
        map::WRAPDIRECTION(map::GEOAZIM(ctx_.ULAT, ctx_.ULON, fw_.CITYLAT, fw_.CITYLON));
    DW_ADDINFO(STRTOKENREPLACE(_("{dist} {azim} from current map position"),
                               {"dist", text::DISTANCETOSTR(dist), "azim", ctx_.GETDIRSTR(azim)}));
    DW_ADDINFO(
        STRTOKENREPLACE(_("Sun rise {dt}"), {"dt", text::DATETIME2STR(to_local(fw_.SUNRISE))}));
    DW_ADDINFO(
        STRTOKENREPLACE(_("Sun set {dt}"), {"dt", text::DATETIME2STR(to_local(fw_.SUNSET))}));
    DW_ADDINFO("");
  }

  std::string day_line(const text::DateTime& local) const {
    const auto wd = static_cast<std::size_t>(local.weekday());
    const std::string name = wd < ctx_.WEEKDAYNAMES.size() ? ctx_.WEEKDAYNAMES[wd] : "";
    return name + ", " + text::DATE2STR(local);
  }

  void WEATHERINFO(const WEATHERREC& r) {
    if (r.TYP == WEATHER_CURRENT) {
      const text::DateTime local = to_local(r.LASTUPDATE);
      DW_ADDINFO(STRTOKENREPLACE(
          _("Last update {min} minutes ago ({dt})"),
          {"min", std::to_string(minutes_since(r.LASTUPDATE)), "dt", text::DATETIME2STR(local)}));
    } else if (r.TYP == WEATHER_DAILYFORECAST) {
      // A forecast's day is a calendar date, not a moment: taken as
      // midnight UTC and moved to local time, it would name the day before
      // everywhere west of Greenwich.
      DW_ADDINFO(day_line(r.DAY));
    } else if (r.TYP == WEATHER_HOURLYFORECAST) {
      const text::DateTime local_from = to_local(r.FROMTIME);
      const text::DateTime local_to = to_local(r.TOTIME);
      // The day is said once, when it changes in local time.
      if (!prev_from_ || !same_day(*prev_from_, local_from)) DW_ADDINFO(day_line(local_from));
      prev_from_ = local_from;
      DW_ADDINFO(STRTOKENREPLACE(
          _("from {fromtime} to {totime}"),
          {"fromtime", text::TIME2STR(local_from), "totime", text::TIME2STR(local_to)}));
    }
    temperatures(r);
    DW_ADDINFO(STRTOKENREPLACE(_("Humidity {hum}%"), {"hum", std::to_string(r.HUMIDITY)}));
    DW_ADDINFO(STRTOKENREPLACE(_("Pressure {pres}  hPa"), {"pres", std::to_string(r.PRESSURE)}));
    DW_ADDINFO(
        STRTOKENREPLACE(_("Wind speed {wspeed} Km/h {wdir}"),
                        {"wspeed", std::to_string(text::round_half_even_i32(r.WINDSPEED * 3.6)),
                         "wdir", ctx_.GETDIRSTR(r.WINDDIRECTION)}));
    DW_ADDINFO(STRTOKENREPLACE(_("Clouds {cl} percent of sky"), {"cl", std::to_string(r.CLOUDS)}));
    if (r.RAIN > 0)
      DW_ADDINFO(STRTOKENREPLACE(_("Rain {r} milimeters"), {"r", std::to_string(r.RAIN)}));
    if (r.SNOW > 0)
      DW_ADDINFO(STRTOKENREPLACE(_("Snow {s} milimeters"), {"s", std::to_string(r.SNOW)}));
  }

  void temperatures(const WEATHERREC& r) {
    auto line = [this](const std::string& fmt, double t) {
      DW_ADDINFO(STRTOKENREPLACE(fmt, {"temp", DW_GETTEMPERATURESTR(t)}));
    };
    if (r.TYP == WEATHER_DAILYFORECAST) {
      // TRANSLATORS: the temperature of the daytime in a daily forecast
      line(_("day {temp}"), r.TEMPERATURE_DAY);
      line(_("Morning {temp}"), r.TEMPERATURE_MORNING);
      line(_("Evening {temp}"), r.TEMPERATURE_EVENING);
      line(_("Night {temp}"), r.TEMPERATURE_NIGHT);
    } else {
      line(_("Temperature {temp}"), r.TEMPERATURE);
    }
  }

  static bool same_day(const text::DateTime& a, const text::DateTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
  }

  // Whole minutes between the update and now, whichever way the clocks
  // disagree.
  int64_t minutes_since(const text::DateTime& utc) const {
    const auto d = std::chrono::duration_cast<std::chrono::minutes>(ctx_.now - utc.to_sys());
    return d.count() < 0 ? -d.count() : d.count();
  }

  const FULLWEATHERREC& fw_;
  const ReportContext& ctx_;
  std::string text_;
  // The local start of the previous hourly record.
  std::optional<text::DateTime> prev_from_;
};

}  // namespace

text::DateTime to_local(const text::DateTime& utc) {
  if (utc == kZeroDate || !utc.valid()) return utc;
  // Counted in seconds: the system clock counts nanoseconds and reaches
  // only the years 1678 to 2262, while a document may say any year.
  const std::time_t t = static_cast<std::time_t>(utc.to_sys().time_since_epoch().count());
  std::tm tm{};
  if (!localtime_r(&t, &tm)) return utc;
  return text::DateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min};
}

std::string DW_GETTEMPERATURESTR(double TEMP) {
  if (TEMP == 0) TEMP = 0;  // no "-0"
  return STRTOKENREPLACE(_("{temp} Celsius degrees"), {"temp", fmt::format("{}", TEMP)});
}

std::optional<WeatherReport> weather_report(const FULLWEATHERREC& FWP, const ReportContext& ctx) {
  if (FWP.WEATHARR.empty() || FWP.WEATHARR.front().TYP == WEATHER_NONE) return std::nullopt;
  WeatherReport r;
  r.title =
      FWP.WEATHARR.front().TYP == WEATHER_CURRENT ? _("Current weather") : _("Weather forecast");
  r.text = ReportWriter(FWP, ctx).write();
  return r;
}

}  // namespace orvela::weather
