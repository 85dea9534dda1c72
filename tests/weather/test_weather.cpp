// The weather commands on a console front end, fetching through the
// program's own downloader from a web server on 127.0.0.1 that answers with
// the service's real documents, error pages and garbage.
#include <gtest/gtest.h>

#include <algorithm>

#include "online/download.h"
#include "online/test_server.h"
#include "support/explore_world.h"
#include "text/string_consts.h"
#include "tz_scope.h"
#include "weather/weather.h"
#include "weather_data.h"

namespace orvela::weather {
namespace {

constexpr const char* kKey = "0123456789abcdef0123456789abcdef";

online::TransferLimits test_limits() {
  online::TransferLimits l;
  l.connect_timeout_s = 2;
  l.low_speed_time_s = 2;
  l.no_proxy = true;
  return l;
}

struct WeatherWorld : orvela::test::ExploreWorld {
  explicit WeatherWorld(std::string input = "\n")
      : ExploreWorld(std::move(input)),
        dl("Orvela/1.01", tmp / "tmp", test_limits()),
        weather({console.ui, user, ex, consts, settings_w, tmp / "tmp"}) {
    settings_w.weather_service = server.url("/data/2.5/");
    settings_w.weather_api_key = kKey;
    weather.download = [this](const std::string& url, const std::filesystem::path& file,
                              ui::BgProgress& progress) {
      return dl.download_to(url, file, progress);
    };
  }
  // Serves `body` with `status` for every kind of document.
  void answer(const std::string& body, int status = 200) {
    for (const char* r : {"weather", "forecast/hourly", "forecast/daily"})
      server.serve(std::string("/data/2.5/") + r, body, status);
  }
  // What the person saw, without the progress dialog.
  std::vector<std::string> seen() const {
    std::vector<std::string> v;
    for (const auto& l : out())
      if (!l.starts_with("PROGRESS ")) v.push_back(l);
    return v;
  }
  // Nothing of a download is left behind.
  bool temp_clean() const { return std::filesystem::is_empty(tmp / "tmp"); }

  online::test::TestServer server;
  text::StringConsts consts;
  WeatherSettings settings_w;
  online::Downloader dl;
  Weather weather;
};

TEST(WeatherCommand, AddressOfEachKind) {
  WeatherSettings s;
  s.weather_service = "http://127.0.0.1:9/data/2.5";
  s.weather_api_key = kKey;
  EXPECT_EQ(weather_address(s, WEATHER_CURRENT, 52229700, 21012200),
            std::string("http://127.0.0.1:9/data/2.5/weather?mode=xml&units=metric"
                        "&lat=52.22970&lon=21.01220&APPID=") +
                kKey);
  EXPECT_EQ(weather_address(s, WEATHER_DAILYFORECAST, -33868800, -151209300),
            std::string("http://127.0.0.1:9/data/2.5/forecast/daily?mode=xml&units=metric"
                        "&lat=-33.86880&lon=-151.20930&cnt=16&APPID=") +
                kKey);
  EXPECT_EQ(weather_address(s, WEATHER_HOURLYFORECAST, 5, -5),
            std::string("http://127.0.0.1:9/data/2.5/forecast/hourly?mode=xml&units=metric"
                        "&lat=0.00001&lon=-0.00001&APPID=") +
                kKey);
}

// Each kind fetched from the server: the request that went out and the
// report that came back, in a read-only text dialog.
TEST(WeatherCommand, RealDocumentsFromTheServer) {
  test::TzScope tz(test::kUtc);
  struct Case {
    uint8_t typ;
    const char* file;
    const char* path;
    const char* title;
    const char* line;
  };
  const Case cases[] = {
      {WEATHER_CURRENT, test::kLondon, "/data/2.5/weather", "Current weather",
       "| Clouds 92 percent of sky"},
      {WEATHER_HOURLYFORECAST, test::kBarcelona3h, "/data/2.5/forecast/hourly", "Weather forecast",
       "| Monday, 2015-10-19"},
      {WEATHER_DAILYFORECAST, test::kBarcelonaDaily, "/data/2.5/forecast/daily", "Weather forecast",
       "| Thursday, 2015-11-12"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    WeatherWorld w;
    w.server.serve_file(c.path, test::weather_file(c.file));
    w.weather.GETWEATHER(c.typ);
    EXPECT_EQ(w.server.hits(c.path), 1);
    const std::string target = w.server.last_target();
    EXPECT_TRUE(target.starts_with(std::string(c.path) + "?mode=xml&units=metric&lat=47.14100"))
        << target;
    EXPECT_TRUE(target.ends_with(std::string("&APPID=") + kKey)) << target;
    EXPECT_EQ(target.find("&cnt=16") != std::string::npos, c.typ == WEATHER_DAILYFORECAST);
    EXPECT_EQ(w.server.last_user_agent(), "Orvela/1.01");
    const std::vector<std::string> seen = w.seen();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen[0], std::string("TEXT ") + c.title + ": Weather");
    EXPECT_NE(std::find(seen.begin(), seen.end(), c.line), seen.end());
    EXPECT_EQ(seen.back(), "| All times converted to local time of this device.");
    EXPECT_TRUE(w.temp_clean());
  }
}

// Whatever comes back that is not weather: the downloader's error with the
// status, or "No weather data.", and nothing left behind.
TEST(WeatherCommand, ErrorPagesAndGarbage) {
  const std::string html = "<html><body><h1>Service Unavailable</h1></body></html>";
  const std::string current = test::file_bytes(test::weather_file(test::kBerlin));
  struct Case {
    const char* what;
    std::string body;
    int status;
    std::string shown;
  };
  const Case cases[] = {
      {"not found", "<html><body>Not Found</body></html>", 404,
       "INFO Error - Downloading weather data\\nHTTP 404"},
      {"a refused key",
       R"({"cod":401, "message": "Invalid API key. Please see https://openweathermap.org/faq#error401"})",
       401,
       "INFO Error - Downloading weather data\\nHTTP 401\\nCheck weather_api_key in orvela.ini."},
      {"an html page", html, 200, "INFO No weather data."},
      {"garbage", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), 200, "INFO No weather data."},
      {"nothing", "", 200, "INFO No weather data."},
      {"cut before its end", current.substr(0, current.size() / 2), 200, "INFO No weather data."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WeatherWorld w;
    w.answer(c.body, c.status);
    w.weather.GETWEATHER(WEATHER_CURRENT);
    EXPECT_EQ(w.seen(), std::vector<std::string>{c.shown});
    EXPECT_TRUE(w.temp_clean());
  }
}

TEST(WeatherCommand, ServerNotThere) {
  WeatherWorld w;
  w.settings_w.weather_service = "http://127.0.0.1:1/data/2.5/";
  w.weather.GETWEATHER(WEATHER_CURRENT);
  const std::vector<std::string> seen = w.seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].starts_with("INFO Error - Downloading weather data\\n")) << seen[0];
  EXPECT_TRUE(w.temp_clean());
}

TEST(WeatherCommand, MissingSettingsSayWhichKey) {
  struct Case {
    bool service, key;
    std::string shown;
  };
  const Case cases[] = {
      {false, true, "INFO No weather service configured: set weather_service in orvela.ini."},
      {true, false, "INFO No weather API key configured: set weather_api_key in orvela.ini."},
  };
  for (const Case& c : cases) {
    WeatherWorld w;
    w.answer(test::file_bytes(test::weather_file(test::kBerlin)));
    if (!c.service) w.settings_w.weather_service.clear();
    if (!c.key) w.settings_w.weather_api_key.clear();
    w.weather.GETWEATHER(WEATHER_CURRENT);
    EXPECT_EQ(w.seen(), std::vector<std::string>{c.shown});
    EXPECT_EQ(w.server.hits("/data/2.5/weather"), 0);
  }
}

// Cancel pressed while the server holds the answer back: no report, no
// error, nothing left behind.
TEST(WeatherCommand, CancelledDownloadSaysNothing) {
  WeatherWorld w(":cancel\n");
  w.server.stall("/data/2.5/weather", "<current>");
  w.weather.GETWEATHER(WEATHER_CURRENT);
  EXPECT_TRUE(w.seen().empty());
  EXPECT_TRUE(w.temp_clean());
}

}  // namespace
}  // namespace orvela::weather
