// The real program on the console, its orvela.ini pointing the weather
// service at a server on 127.0.0.1: the forecast read out in the time zone
// of the program's environment and in the language of its catalogue.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "online/test_server.h"
#include "support/console_runner.h"
#include "support/test_env.h"
#include "tz_scope.h"
#include "weather_data.h"

namespace orvela::weather {
namespace {

using orvela::test::ConsoleResult;
using orvela::test::ConsoleRun;

// The demo map opened, a jump onto it, then `keys`.
constexpr const char* kOnTheMap = "Ctrl+O\n1\n:cancel\nCtrl+G\n-29.998312 -139.997464\n";

struct Home {
  explicit Home(bool with_key = true) {
    std::ofstream(home / "orvela.ini")
        << "weather_service=" << web.url("/data/2.5/") << "\n"
        << (with_key ? "weather_api_key=0123456789abcdef0123456789abcdef\n" : "");
    web.serve_file("/data/2.5/forecast/hourly", test::weather_file(test::kBarcelona3h));
  }
  ConsoleResult run(const std::string& keys, const std::string& tz,
                    const std::string& lang = "en") {
    ConsoleRun r;
    r.args = {"--console", "--home", home.path().string(), "--lang", lang};
    r.script = std::string(kOnTheMap) + keys;
    r.env = {{"TZ", tz}, {"no_proxy", "*"}, {"NO_PROXY", "*"}};
    return orvela::test::run_console(home.path(), r);
  }
  orvela::test::TempDir home;
  online::test::TestServer web;
};

// The lines of the text dialog titled `title`, without their "| ".
std::vector<std::string> dialog(const ConsoleResult& r, const std::string& title) {
  const std::vector<std::string> l = r.lines();
  auto it = std::find(l.begin(), l.end(), "TEXT " + title);
  std::vector<std::string> v;
  if (it == l.end()) return v;
  for (++it; it != l.end() && it->starts_with("| "); ++it) v.push_back(it->substr(2));
  return v;
}

std::vector<std::string> days_of(const std::vector<std::string>& lines) {
  std::vector<std::string> v;
  for (const auto& l : lines)
    if (l.find(", 2015-10-") != std::string::npos) v.push_back(l);
  return v;
}

TEST(WeatherE2e, HourlyForecastInTheProgramsTimeZone) {
  struct Case {
    const char* tz;
    const char* first_day;
    const char* first_block;
    const char* last_day;
  };
  const Case cases[] = {
      {test::kUtc, "Monday, 2015-10-19", "from 18:00 to 21:00", "saturday, 2015-10-24"},
      // Ten hours ahead the first block starts after midnight, on Tuesday.
      {test::kUtcPlus10, "Tuesday, 2015-10-20", "from 04:00 to 07:00", "sunday, 2015-10-25"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tz);
    Home h;
    const ConsoleResult r = h.run("Ctrl+W\n\n", c.tz);
    ASSERT_EQ(r.exit_code, 0) << r.err;
    const std::vector<std::string> text = dialog(r, "Weather forecast: Weather");
    ASSERT_GT(text.size(), 7u) << r.out;
    EXPECT_EQ(text[0], "City: Barcelona ES");
    EXPECT_TRUE(text[1].ends_with(" from current map position")) << text[1];
    EXPECT_EQ(text[5], c.first_day);
    EXPECT_EQ(text[6], c.first_block);
    const std::vector<std::string> days = days_of(text);
    EXPECT_EQ(days.size(), 6u);
    EXPECT_EQ(days.back(), c.last_day);
    EXPECT_EQ(h.web.hits("/data/2.5/forecast/hourly"), 1);
  }
}

TEST(WeatherE2e, WeekdaysFromThePolishCatalogue) {
  Home h;
  const ConsoleResult r = h.run("Ctrl+W\n\n", test::kUtc, "pl");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::vector<std::string> text = dialog(r, "Prognoza pogody: Pogoda");
  ASSERT_GT(text.size(), 7u) << r.out;
  EXPECT_EQ(text[5], "Poniedziałek, 2015-10-19");
  EXPECT_EQ(text[6], "od 18:00 do 21:00");
}

TEST(WeatherE2e, WithoutAKeyTheProgramSaysWhereToPutIt) {
  Home h(false);
  const ConsoleResult r = h.run("W\n", test::kUtc);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::vector<std::string> l = r.lines();
  EXPECT_NE(std::find(l.begin(), l.end(),
                      "INFO No weather API key configured: set weather_api_key in orvela.ini."),
            l.end())
      << r.out;
  EXPECT_EQ(h.web.hits("/data/2.5/weather"), 0);
}

}  // namespace
}  // namespace orvela::weather
