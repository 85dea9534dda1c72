// The report of real documents under several time zones: the lines and
// their roundings, local times, and the day said once per local day.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "text/string_consts.h"
#include "tz_scope.h"
#include "weather/owm.h"
#include "weather/report.h"
#include "weather_data.h"

namespace orvela::weather {
namespace {

using std::chrono::sys_days;
using namespace std::chrono_literals;

// The user 0.1 degree north of the city: about 11 km, to the south.
ReportContext context(const FULLWEATHERREC& fw, std::chrono::sys_seconds now = {}) {
  ReportContext c;
  c.ULAT = fw.CITYLAT + 100000;
  c.ULON = fw.CITYLON;
  c.GETDIRSTR = [](int32_t d) { return "at " + std::to_string(d) + " degrees"; };
  c.WEEKDAYNAMES = text::StringConsts().WEEKDAYNAMES;
  c.now = now;
  return c;
}

FULLWEATHERREC read(const char* name) {
  FULLWEATHERREC fw;
  EXPECT_EQ(OWMPROCFILE(test::weather_file(name), fw).LASTERR, 0);
  return fw;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> v;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) v.push_back(l);
  return v;
}

std::vector<std::string> report_lines(const FULLWEATHERREC& fw, const ReportContext& c) {
  const std::optional<WeatherReport> r = weather_report(fw, c);
  if (!r) return {};
  return lines_of(r->text);
}

TEST(WeatherReport, CurrentWeatherInTwoZones) {
  const FULLWEATHERREC fw = read(test::kBerlin);
  // Seven minutes and a half after the update at 11:53 UTC.
  const auto now = std::chrono::sys_seconds{sys_days{std::chrono::year{2020} / 1 / 15}} + 12h + 30s;
  struct Case {
    const char* tz;
    const char *rise, *set, *update;
  };
  const Case cases[] = {
      {test::kUtc, "07:10", "15:20", "11:53"},
      {test::kCentralEurope, "08:10", "16:20", "12:53"},
      {test::kUtcMinus5, "02:10", "10:20", "06:53"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tz);
    test::TzScope tz(c.tz);
    const std::optional<WeatherReport> r = weather_report(fw, context(fw, now));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->title, "Current weather");
    const std::vector<std::string> expected = {
        "City: Berlin DE",
        "11.1 kilometres at 180 degrees from current map position",
        std::string("Sun rise 2020-01-15 ") + c.rise,
        std::string("Sun set 2020-01-15 ") + c.set,
        "",
        std::string("Last update 7 minutes ago (2020-01-15 ") + c.update + ")",
        "Temperature 12.73 Celsius degrees",
        "Humidity 62%",
        "Pressure 1014  hPa",
        "Wind speed 22 Km/h at 200 degrees",
        "Clouds 89 percent of sky",
        "All times converted to local time of this device.",
    };
    EXPECT_EQ(lines_of(r->text), expected);
  }
}

TEST(WeatherReport, CurrentRainAndWindRounding) {
  test::TzScope tz(test::kUtc);
  const FULLWEATHERREC fw = read(test::kSeattle);
  const std::vector<std::string> l = report_lines(fw, context(fw));
  // 4 m/s is 14.4 km/h; 2.15 mm of rain in the "mode" of the current weather.
  EXPECT_NE(std::find(l.begin(), l.end(), "Wind speed 14 Km/h at 150 degrees"), l.end());
  EXPECT_NE(std::find(l.begin(), l.end(), "Rain 2 milimeters"), l.end());
  EXPECT_EQ(std::count_if(l.begin(), l.end(), [](auto& s) { return s.starts_with("Snow"); }), 0);
}

// The day line comes once per local day: where the day changes in local
// time, not in UTC, including blocks that run over midnight.
TEST(WeatherReport, HourlyDaysFollowTheLocalClock) {
  const FULLWEATHERREC fw = read(test::kBarcelona3h);
  struct Case {
    const char* tz;
    std::vector<std::string> days;
    const char* first_block;
    const char* first_of_later_days;
  };
  const Case cases[] = {
      {test::kUtc,
       {"Monday, 2015-10-19", "Tuesday, 2015-10-20", "Wednesday, 2015-10-21",
        "Thursday, 2015-10-22", "Friday, 2015-10-23", "saturday, 2015-10-24"},
       "from 18:00 to 21:00",
       "from 00:00 to 03:00"},
      {test::kUtcMinus5,
       {"Monday, 2015-10-19", "Tuesday, 2015-10-20", "Wednesday, 2015-10-21",
        "Thursday, 2015-10-22", "Friday, 2015-10-23", "saturday, 2015-10-24"},
       "from 13:00 to 16:00",
       "from 01:00 to 04:00"},
      {test::kUtcPlus10,
       {"Tuesday, 2015-10-20", "Wednesday, 2015-10-21", "Thursday, 2015-10-22",
        "Friday, 2015-10-23", "saturday, 2015-10-24", "sunday, 2015-10-25"},
       "from 04:00 to 07:00",
       "from 01:00 to 04:00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tz);
    test::TzScope tz(c.tz);
    const std::optional<WeatherReport> r = weather_report(fw, context(fw));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->title, "Weather forecast");
    const std::vector<std::string> l = lines_of(r->text);
    std::vector<std::string> days;
    for (std::size_t i = 0; i < l.size(); ++i) {
      if (l[i].find(", 2015-10-") == std::string::npos) continue;
      days.push_back(l[i]);
      ASSERT_LT(i + 1, l.size());
      EXPECT_EQ(l[i + 1], days.size() == 1 ? c.first_block : c.first_of_later_days) << l[i];
    }
    EXPECT_EQ(days, c.days);
    EXPECT_EQ(std::count_if(l.begin(), l.end(), [](auto& s) { return s.starts_with("from "); }),
              40);
  }
  // A block that runs over local midnight stays under the day it starts on.
  test::TzScope tz(test::kUtcPlus10);
  const std::vector<std::string> l = report_lines(fw, context(fw));
  const auto over = std::find(l.begin(), l.end(), "from 22:00 to 01:00");
  ASSERT_NE(over, l.end());
  EXPECT_EQ(*std::find_if(std::make_reverse_iterator(over), l.rend(),
                          [](auto& s) { return s.find(", 2015-") != std::string::npos; }),
            "Tuesday, 2015-10-20");
}

TEST(WeatherReport, DailyDaysAreCalendarDates) {
  const FULLWEATHERREC fw = read(test::kLondonDaily);
  for (const char* zone : {test::kUtc, test::kUtcMinus5, test::kUtcPlus10}) {
    SCOPED_TRACE(zone);
    test::TzScope tz(zone);
    const std::vector<std::string> l = report_lines(fw, context(fw));
    ASSERT_GE(l.size(), 16u);
    const std::vector<std::string> first_day(l.begin() + 5, l.begin() + 15);
    const std::vector<std::string> expected = {
        "sunday, 2015-06-14",
        "day 15.28 Celsius degrees",
        "Morning 15.28 Celsius degrees",
        "Evening 13.48 Celsius degrees",
        "Night 10.08 Celsius degrees",
        "Humidity 100%",
        "Pressure 1019  hPa",
        "Wind speed 14 Km/h at 335 degrees",
        "Clouds 64 percent of sky",
        "Monday, 2015-06-15",
    };
    EXPECT_EQ(first_day, expected);
    EXPECT_NE(std::find(l.begin(), l.end(), "Rain 1 milimeters"), l.end());
    EXPECT_EQ(l.back(), "All times converted to local time of this device.");
  }
}

TEST(WeatherReport, NothingToReport) {
  FULLWEATHERREC fw;
  EXPECT_FALSE(weather_report(fw, context(fw)));
  fw.WEATHARR.push_back(WEATHERREC{});  // a time block without a time
  EXPECT_FALSE(weather_report(fw, context(fw)));
}

TEST(WeatherReport, MissingTimesShowTheZeroDate) {
  test::TzScope tz(test::kCentralEurope);
  FULLWEATHERREC fw;
  WEATHERREC r;
  r.TYP = WEATHER_HOURLYFORECAST;
  fw.WEATHARR = {r};
  const std::vector<std::string> l = report_lines(fw, context(fw));
  ASSERT_GE(l.size(), 8u);
  EXPECT_EQ(l[2], "Sun rise 1899-12-30 00:00");
  EXPECT_EQ(l[5], "saturday, 1899-12-30");
  EXPECT_EQ(l[6], "from 00:00 to 00:00");
}

// Documents may name any year; the clock of the system reaches only 1678
// to 2262, and the conversion must not go through it.
TEST(WeatherReport, LocalTimeOfFarYears) {
  test::TzScope tz(test::kUtcPlus10);
  const std::pair<text::DateTime, text::DateTime> cases[] = {
      {{1010, 12, 21, 6, 20}, {1010, 12, 21, 16, 20}},
      {{1677, 12, 31, 23, 0}, {1678, 1, 1, 9, 0}},
      {{2262, 4, 12, 0, 0}, {2262, 4, 12, 10, 0}},
      {{9999, 12, 31, 13, 59}, {9999, 12, 31, 23, 59}},
  };
  for (const auto& [utc, local] : cases) {
    EXPECT_EQ(to_local(utc), local) << utc.year;
  }
}

TEST(WeatherReport, TemperatureWords) {
  const std::pair<double, const char*> cases[] = {
      {17, "17 Celsius degrees"},           {16.86, "16.86 Celsius degrees"},
      {-3.5, "-3.5 Celsius degrees"},       {-0.0, "0 Celsius degrees"},
      {282.376, "282.376 Celsius degrees"}, {0.1, "0.1 Celsius degrees"},
  };
  for (const auto& [t, words] : cases) EXPECT_EQ(DW_GETTEMPERATURESTR(t), words);
}

}  // namespace
}  // namespace orvela::weather
