#pragma once
// The XML documents of the weather service (current weather, hourly and
// daily forecasts) read into one record per time.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "text/datetime.h"

namespace orvela::weather {

inline constexpr uint8_t WEATHER_NONE = 0;
inline constexpr uint8_t WEATHER_CURRENT = 1;
inline constexpr uint8_t WEATHER_DAILYFORECAST = 2;
inline constexpr uint8_t WEATHER_HOURLYFORECAST = 3;

// The date-time a document did not give: day 0 of the calendar the service's
// first clients counted from, shown as it is rather than as a made-up hour.
inline constexpr text::DateTime kZeroDate{1899, 12, 30, 0, 0};

// One weather record. Which of the times and day temperatures count
// depends on TYP; every date-time is UTC as delivered.
struct WEATHERREC {
  double WINDSPEED = 0;                   // metres per second
  int32_t WINDDIRECTION = 0;              // where the wind comes from, degrees
  int32_t RAIN = 0;                       // millimetres
  int32_t SNOW = 0;                       // millimetres
  double TEMPERATURE = 0;                 // degrees Celsius
  int32_t HUMIDITY = 0;                   // percent
  int32_t PRESSURE = 0;                   // hPa
  int32_t CLOUDS = 0;                     // percent of sky
  uint8_t TYP = WEATHER_NONE;             // WEATHER_...
  text::DateTime LASTUPDATE = kZeroDate;  // current weather
  text::DateTime FROMTIME = kZeroDate;    // hourly forecast
  text::DateTime TOTIME = kZeroDate;
  text::DateTime DAY = kZeroDate;  // daily forecast: the date
  double TEMPERATURE_DAY = 0;
  double TEMPERATURE_NIGHT = 0;
  double TEMPERATURE_MORNING = 0;
  double TEMPERATURE_EVENING = 0;
};

struct FULLWEATHERREC {
  std::string CITYNAME;  // UTF-8
  int32_t CITYLAT = 0;   // micro-degrees
  int32_t CITYLON = 0;
  std::string COUNTRY;
  text::DateTime SUNRISE = kZeroDate;
  text::DateTime SUNSET = kZeroDate;
  std::vector<WEATHERREC> WEATHARR;  // in document order
};

// How reading a file ended: LASTERR 0 on success.
struct LastError {
  int LASTERR = 0;
  std::string LASTERRDESC;
};

// Reads the weather document `FN` into `FWP`. Only a file that cannot be
// opened fails (LASTERR 1, "error opening file" and its name); anything the
// document lacks or garbles stays zero, and a document that is no weather
// at all leaves WEATHARR empty.
LastError OWMPROCFILE(const std::filesystem::path& FN, FULLWEATHERREC& FWP);

}  // namespace orvela::weather
