// Reading the weather service's documents: the real responses of each kind,
// the edge cases of the format, and damaged or foreign files.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "support/test_env.h"
#include "weather/owm.h"
#include "weather_data.h"

namespace orvela::weather {
namespace {

using test::weather_file;
using text::DateTime;

FULLWEATHERREC read(const std::filesystem::path& p) {
  FULLWEATHERREC fw;
  const LastError e = OWMPROCFILE(p, fw);
  EXPECT_EQ(e.LASTERR, 0) << e.LASTERRDESC;
  return fw;
}

FULLWEATHERREC read_text(const std::string& xml) {
  orvela::test::TempDir dir;
  return read(test::write_file(dir / "doc.xml", xml));
}

TEST(Owm, RealCurrentWeather) {
  struct Case {
    const char* file;
    const char* city;
    const char* country;
    int32_t lat, lon;
    DateTime sunrise, lastupdate;
    double temperature, windspeed;
    int32_t humidity, pressure, winddir, clouds, rain;
  };
  const Case cases[] = {
      // Cloud cover in "value": 89 %, not 0, under an overcast sky.
      {test::kBerlin,
       "Berlin",
       "DE",
       52520000,
       13410000,
       {2020, 1, 15, 7, 10},
       {2020, 1, 15, 11, 53},
       12.73,
       6.2,
       62,
       1014,
       200,
       89,
       0},
      {test::kLodz,
       "Lodz",
       "PL",
       51750000,
       19470000,
       {2015, 6, 14, 2, 22},
       {2015, 6, 14, 12, 14},
       297.154,
       5.76,
       64,
       1002,
       266,
       0,
       0},
      {test::kLondon,
       "London",
       "GB",
       51510000,
       -130000,
       {2015, 10, 20, 6, 33},
       {2015, 10, 20, 20, 42},
       282.376,
       1.31,
       86,
       1029,
       278,
       92,
       0},
      // Rain named by "mode" in the current weather: 2.15 mm.
      {test::kSeattle,
       "Seattle",
       "US",
       47611400,
       -122330500,
       {2021, 6, 6, 12, 13},
       {2021, 6, 7, 4, 58},
       49.37,
       4,
       89,
       1010,
       150,
       94,
       2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const FULLWEATHERREC fw = read(weather_file(c.file));
    EXPECT_EQ(fw.CITYNAME, c.city);
    EXPECT_EQ(fw.COUNTRY, c.country);
    EXPECT_EQ(fw.CITYLAT, c.lat);
    EXPECT_EQ(fw.CITYLON, c.lon);
    EXPECT_EQ(fw.SUNRISE, c.sunrise);
    ASSERT_EQ(fw.WEATHARR.size(), 1u);
    const WEATHERREC& r = fw.WEATHARR[0];
    EXPECT_EQ(r.TYP, WEATHER_CURRENT);
    EXPECT_EQ(r.LASTUPDATE, c.lastupdate);
    EXPECT_DOUBLE_EQ(r.TEMPERATURE, c.temperature);
    EXPECT_DOUBLE_EQ(r.WINDSPEED, c.windspeed);
    EXPECT_EQ(r.HUMIDITY, c.humidity);
    EXPECT_EQ(r.PRESSURE, c.pressure);
    EXPECT_EQ(r.WINDDIRECTION, c.winddir);
    EXPECT_EQ(r.CLOUDS, c.clouds);
    EXPECT_EQ(r.RAIN, c.rain);
    EXPECT_EQ(r.SNOW, 0);
  }
}

TEST(Owm, RealHourlyForecast) {
  const FULLWEATHERREC fw = read(weather_file(test::kBarcelona3h));
  EXPECT_EQ(fw.CITYNAME, "Barcelona");
  EXPECT_EQ(fw.COUNTRY, "ES");
  EXPECT_EQ(fw.CITYLAT, 41388790);
  EXPECT_EQ(fw.CITYLON, 2158990);
  EXPECT_EQ(fw.SUNSET, (DateTime{2015, 10, 19, 17, 3}));
  ASSERT_EQ(fw.WEATHARR.size(), 40u);
  const WEATHERREC& first = fw.WEATHARR.front();
  EXPECT_EQ(first.TYP, WEATHER_HOURLYFORECAST);
  EXPECT_EQ(first.FROMTIME, (DateTime{2015, 10, 19, 18, 0}));
  EXPECT_EQ(first.TOTIME, (DateTime{2015, 10, 19, 21, 0}));
  EXPECT_DOUBLE_EQ(first.TEMPERATURE, 17);
  EXPECT_DOUBLE_EQ(first.WINDSPEED, 3.86);
  EXPECT_EQ(first.WINDDIRECTION, 72);  // 71.504
  EXPECT_EQ(first.PRESSURE, 1017);
  EXPECT_EQ(first.HUMIDITY, 100);
  EXPECT_EQ(first.CLOUDS, 36);  // "all"; "value" is the words "scattered clouds"
  EXPECT_EQ(fw.WEATHARR.back().FROMTIME, (DateTime{2015, 10, 24, 15, 0}));
  // Eight blocks have rain; only 0.79 mm rounds to a whole millimetre.
  EXPECT_EQ(std::count_if(fw.WEATHARR.begin(), fw.WEATHARR.end(),
                          [](const WEATHERREC& r) { return r.RAIN > 0; }),
            1);
  for (const WEATHERREC& r : fw.WEATHARR) EXPECT_EQ(r.TYP, WEATHER_HOURLYFORECAST);
}

TEST(Owm, RealDailyForecasts) {
  const FULLWEATHERREC london = read(weather_file(test::kLondonDaily));
  EXPECT_EQ(london.CITYNAME, "London");
  EXPECT_EQ(london.CITYLAT, 51508530);
  ASSERT_EQ(london.WEATHARR.size(), 7u);
  const WEATHERREC& d = london.WEATHARR[0];
  EXPECT_EQ(d.TYP, WEATHER_DAILYFORECAST);
  EXPECT_EQ(d.DAY, (DateTime{2015, 6, 14, 0, 0}));
  EXPECT_DOUBLE_EQ(d.TEMPERATURE_DAY, 15.28);
  EXPECT_DOUBLE_EQ(d.TEMPERATURE_NIGHT, 10.08);
  EXPECT_DOUBLE_EQ(d.TEMPERATURE_EVENING, 13.48);
  EXPECT_DOUBLE_EQ(d.TEMPERATURE_MORNING, 15.28);
  EXPECT_DOUBLE_EQ(d.TEMPERATURE, 0);  // daily temperatures have no "value"
  EXPECT_EQ(d.RAIN, 0);                // 0.24 mm
  EXPECT_EQ(d.CLOUDS, 64);
  EXPECT_EQ(d.WINDDIRECTION, 335);
  EXPECT_EQ(london.WEATHARR[6].RAIN, 1);  // 1.31 mm

  // One line, self-closing empty elements.
  const FULLWEATHERREC bcn = read(weather_file(test::kBarcelonaDaily));
  EXPECT_EQ(bcn.CITYNAME, "Barcelona");
  EXPECT_EQ(bcn.COUNTRY, "ES");
  ASSERT_EQ(bcn.WEATHARR.size(), 7u);
  EXPECT_EQ(bcn.WEATHARR[6].DAY, (DateTime{2015, 11, 18, 0, 0}));
  EXPECT_EQ(bcn.WEATHARR[6].CLOUDS, 1);
  EXPECT_DOUBLE_EQ(bcn.WEATHARR[4].TEMPERATURE_DAY, 19);
}

// What one small document yields.
TEST(Owm, FormatEdgeCases) {
  struct Case {
    const char* what;
    std::string xml;
    std::function<bool(const FULLWEATHERREC&)> check;
  };
  auto one = [](const FULLWEATHERREC& fw) -> const WEATHERREC& { return fw.WEATHARR.at(0); };
  const std::string t = R"(<weatherdata><forecast><time from="2015-01-01T00:00:00" to="x">)";
  const std::string end = "</time></forecast></weatherdata>";
  const Case cases[] = {
      {"two current blocks give one record",
       "<current><humidity value=\"10\"/></current><current><pressure value=\"990\"/></current>",
       [&](const FULLWEATHERREC& fw) {
         return fw.WEATHARR.size() == 1 && one(fw).PRESSURE == 990;
       }},
      {"precipitation of another type stores nothing",
       t + R"(<precipitation value="3" type="hail"/>)" + end,
       [&](const FULLWEATHERREC& fw) { return one(fw).RAIN == 0 && one(fw).SNOW == 0; }},
      {"precipitation without a type stores nothing", t + R"(<precipitation value="3"/>)" + end,
       [&](const FULLWEATHERREC& fw) { return one(fw).RAIN == 0 && one(fw).SNOW == 0; }},
      {"snow is rounded half to even", t + R"(<precipitation type="snow" value="2.5"/>)" + end,
       [&](const FULLWEATHERREC& fw) { return one(fw).SNOW == 2 && one(fw).RAIN == 0; }},
      {"the type may come first", t + R"(<precipitation type="rain" value="3.5"/>)" + end,
       [&](const FULLWEATHERREC& fw) { return one(fw).RAIN == 4; }},
      {"a dry current day", R"(<current><precipitation value="1" mode="no"/></current>)",
       [&](const FULLWEATHERREC& fw) { return one(fw).RAIN == 0; }},
      {"an hourly temperature ignores the day parts",
       t + R"(<temperature value="5.5" day="20" night="1" morn="2" eve="3"/>)" + end,
       [&](const FULLWEATHERREC& fw) {
         const WEATHERREC& r = one(fw);
         return r.TEMPERATURE == 5.5 && r.TEMPERATURE_DAY == 0 && r.TEMPERATURE_NIGHT == 0 &&
                r.TEMPERATURE_MORNING == 0 && r.TEMPERATURE_EVENING == 0;
       }},
      {"speed and direction count only inside wind",
       t + R"(<speed value="9"/><direction value="90"/><wind><speed value="2"/></wind>)" +
           R"(<direction value="45"/>)" + end,
       [&](const FULLWEATHERREC& fw) {
         return one(fw).WINDSPEED == 2 && one(fw).WINDDIRECTION == 0;
       }},
      {"clouds: all wins over a numeric value", t + R"(<clouds value="10" all="80"/>)" + end,
       [&](const FULLWEATHERREC& fw) { return one(fw).CLOUDS == 80; }},
      {"clouds: a value in words is no number", t + R"(<clouds value="few clouds"/>)" + end,
       [&](const FULLWEATHERREC& fw) { return one(fw).CLOUDS == 0; }},
      {"unreadable numbers and dates stay zero",
       R"(<weatherdata><forecast><time from="soon" to="later"><temperature value="warm"/>)"
       R"(<humidity value="1e99"/><pressure value=""/></time></forecast></weatherdata>)",
       [&](const FULLWEATHERREC& fw) {
         const WEATHERREC& r = one(fw);
         return r.TYP == WEATHER_HOURLYFORECAST && r.FROMTIME == kZeroDate &&
                r.TOTIME == kZeroDate && r.TEMPERATURE == 0 && r.HUMIDITY == 0 && r.PRESSURE == 0;
       }},
      {"a date-time without seconds",
       t + R"(</time><time from="2015-06-01T12:00" to="2015-06-01T15:00:00Z">)" + end,
       [&](const FULLWEATHERREC& fw) {
         return fw.WEATHARR.size() == 2 && fw.WEATHARR[1].FROMTIME == DateTime{2015, 6, 1, 12, 0} &&
                fw.WEATHARR[1].TOTIME == DateTime{2015, 6, 1, 15, 0};
       }},
      {"entities and broken bytes in names",
       "<current><city name=\"Caf&#233; &amp; \xff\"/><country>A&lt;B</country></current>",
       [&](const FULLWEATHERREC& fw) {
         return fw.CITYNAME == "Caf\xc3\xa9 & \xef\xbf\xbd" && fw.COUNTRY == "A<B";
       }},
      {"an empty country", "<current><country/><city name=\"X\"/></current>",
       [&](const FULLWEATHERREC& fw) { return fw.COUNTRY.empty() && fw.CITYNAME == "X"; }},
      {"a name outside location is no city", "<weatherdata><name>Q</name></weatherdata>",
       [&](const FULLWEATHERREC& fw) { return fw.CITYNAME.empty() && fw.WEATHARR.empty(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_TRUE(c.check(read_text(c.xml)));
  }
}

TEST(Owm, MissingFileIsErrorOne) {
  orvela::test::TempDir dir;
  FULLWEATHERREC fw;
  const LastError e = OWMPROCFILE(dir / "none.xml", fw);
  EXPECT_EQ(e.LASTERR, 1);
  EXPECT_EQ(e.LASTERRDESC, "error opening file " + (dir / "none.xml").string());
  EXPECT_TRUE(fw.WEATHARR.empty());
}

// What comes instead of weather: none of it is a record.
TEST(Owm, ForeignRepliesHoldNoWeather) {
  const char binary[] = "\x1f\x8b\x08\x00garbage\0\xff<<<>>>\"'=";
  const std::string replies[] = {
      "",
      "<html><head><title>404 Not Found</title></head><body><h1>Not Found</h1></body></html>",
      R"({"cod":401, "message": "Invalid API key. Please see https://openweathermap.org/faq#error401"})",
      "<?xml version=\"1.0\"?><ClientError><cod>404</cod><message>city not "
      "found</message></ClientError>",
      std::string(binary, sizeof binary - 1),
      std::string(200000, '<'),
  };
  for (const std::string& r : replies) {
    SCOPED_TRACE(r.substr(0, 40));
    EXPECT_TRUE(read_text(r).WEATHARR.empty());
  }
}

// Every cut of each real file, and each with bytes damaged along the way:
// never a crash, never more records than the whole file has, and a cut
// current-weather document has a record only when its end was read.
TEST(Owm, TruncatedAndDamagedRealFiles) {
  orvela::test::TempDir dir;
  const char* files[] = {test::kBerlin,     test::kLodz,        test::kLondon,
                         test::kSeattle,    test::kBarcelona3h, test::kBarcelonaDaily,
                         test::kLondonDaily};
  for (const char* name : files) {
    SCOPED_TRACE(name);
    const std::string whole = test::file_bytes(weather_file(name));
    const std::size_t full = read_text(whole).WEATHARR.size();
    const std::size_t step = std::max<std::size_t>(1, whole.size() / 300);
    for (std::size_t n = 0; n < whole.size(); n += step) {
      const FULLWEATHERREC cut = read(test::write_file(dir / "cut.xml", whole.substr(0, n)));
      EXPECT_LE(cut.WEATHARR.size(), full);
      const std::size_t close = whole.find("</current>");
      if (close != std::string::npos && n <= close) {
        EXPECT_TRUE(cut.WEATHARR.empty()) << n;
      }
      if (close != std::string::npos && n >= close + 10) {
        EXPECT_EQ(cut.WEATHARR.size(), 1u) << n;
      }
      std::string damaged = whole;
      for (std::size_t i = n % 7; i < damaged.size(); i += 97) damaged[i] = "<>\"/= \xff\0"[i % 8];
      read(test::write_file(dir / "damaged.xml", damaged));
    }
  }
}

}  // namespace
}  // namespace orvela::weather
