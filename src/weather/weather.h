#pragma once
// The Weather menu: the current weather and the hourly and daily forecasts
// for the user's position, fetched from the weather service named in
// orvela.ini and shown as a report to read line by line.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>

#include "weather/owm.h"
#include "weather/weather_settings.h"

namespace orvela::map {
struct UserState;
}
namespace orvela::explore {
class Explorer;
}
namespace orvela::text {
class StringConsts;
}
namespace orvela::ui {
class Ui;
class BgProgress;
}  // namespace orvela::ui

namespace orvela::weather {

// Fetches `url` into `file`, showing progress through `progress` and
// stopping when its Cancel is pressed; the reason it failed (an HTTP error
// status as "HTTP 404"), or empty. The app installs the program's downloader.
using WeatherDownload = std::function<std::string(
    const std::string& url, const std::filesystem::path& file, ui::BgProgress& progress)>;

// What the commands work on, all owned by the app.
struct WeatherContext {
  ui::Ui& ui;
  const map::UserState& user;
  const explore::Explorer& explorer;
  const text::StringConsts& consts;
  // Read when a command runs.
  const WeatherSettings& settings;
  // Where the downloaded document is kept while it is read.
  std::filesystem::path temp_dir;
};

// The address of the document of kind `TYP` (WEATHER_...) for the position
// `ULAT`, `ULON` (micro-degrees).
std::string weather_address(const WeatherSettings& settings, uint8_t TYP, int32_t ULAT,
                            int32_t ULON);

class Weather {
 public:
  explicit Weather(WeatherContext ctx) : ctx_(std::move(ctx)) {}

  // Downloads the document of kind `TYP` for the user's position and shows
  // its report. Without a service address or a key, says which orvela.ini
  // key to set; a failed download says why.
  void GETWEATHER(uint8_t TYP);
  // Shows the report of `FWP` in a read-only text dialog, or "No weather
  // data." when it holds none.
  void DESCRIBEWEATHER(const FULLWEATHERREC& FWP);

  // The weather items are enabled while the user's position is known.
  bool position_known() const;

  WeatherDownload download;

 private:
  // Says what is missing from orvela.ini; false then.
  bool configured();
  // Fetches `url` into `file` behind the progress dialog; false after a
  // failure (said) or a cancel.
  bool fetch(const std::string& url, const std::filesystem::path& file);

  WeatherContext ctx_;
};

}  // namespace orvela::weather
