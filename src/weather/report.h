#pragma once
// The words of a weather report: the city, its distance and direction from
// the user, sunrise and sunset, then each record of the document, every
// time in the local time of this device.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "text/datetime.h"
#include "weather/owm.h"

namespace orvela::weather {

// What the report needs to know besides the document.
struct ReportContext {
  int32_t ULAT = 0;  // the user's position, micro-degrees
  int32_t ULON = 0;
  // Words for an absolute direction in the user's chosen mode.
  std::function<std::string(int32_t)> GETDIRSTR;
  // Translated, Monday first.
  std::vector<std::string> WEEKDAYNAMES;
  // The moment of the report, for the age of the current weather.
  std::chrono::sys_seconds now;
};

struct WeatherReport {
  std::string title;  // "Current weather" or "Weather forecast"
  std::string text;   // lines, each ending in "\n"
};

// The report of `FWP`; nothing when it holds no weather ("No weather data.").
std::optional<WeatherReport> weather_report(const FULLWEATHERREC& FWP, const ReportContext& ctx);

// A UTC date-time in the device's local time (the TZ of the process). The
// zero date, which stands for a time the document lacked, stays as it is.
text::DateTime to_local(const text::DateTime& utc);

// DW_GETTEMPERATURESTR: "{temp} Celsius degrees", the number in its
// shortest decimal form ("17", "16.86", "-3.5").
std::string DW_GETTEMPERATURESTR(double TEMP);

}  // namespace orvela::weather
