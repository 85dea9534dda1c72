#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "app/settings.h"
#include "support/test_env.h"

namespace orvela::app {
namespace {
namespace fs = std::filesystem;

Settings read_user(const std::string& content) {
  test::TempDir dir;
  std::ofstream(dir / "user.ini", std::ios::binary) << content;
  Settings s;
  EXPECT_TRUE(read_user_ini(s, dir / "user.ini"));
  return s;
}

Settings read_program(const std::string& content, Settings s = {}) {
  test::TempDir dir;
  std::ofstream(dir / "orvela.ini", std::ios::binary) << content;
  READINI(s, dir / "orvela.ini");
  return s;
}

TEST(UserSettings, ValuesAreCheckedAsTheyAreRead) {
  struct Case {
    const char* line;
    std::function<bool(const Settings&)> check;
  };
  const Case cases[] = {
      {"soundvolume = 150 ; loud",
       [](const Settings& s) { return s.sound.scape.NORMALVOLUME == 100; }},
      {"soundvolume=2", [](const Settings& s) { return s.sound.scape.NORMALVOLUME == 5; }},
      {"soundvolume=abc", [](const Settings& s) { return s.sound.scape.NORMALVOLUME == 5; }},
      {"soundvolume=99999999999999",
       [](const Settings& s) { return s.sound.scape.NORMALVOLUME == 100; }},
      {"SoundMono=1", [](const Settings& s) { return s.sound.engine.SOUNDMONO; }},
      {"soundbehindlower=0", [](const Settings& s) { return !s.sound.engine.SOUNDBEHINDLOWER; }},
      {"soundhrtfmode=-1", [](const Settings& s) { return !s.sound.engine.SOUNDHRTFMODE; }},
      {"soundmuted=7", [](const Settings& s) { return s.sound.scape.SOUNDMUTED; }},
      {"sounddevicename=OpenAL Soft on USB;2",
       [](const Settings& s) { return s.sound.engine.SOUNDDEVICENAME == "OpenAL Soft on USB"; }},
      {"mousefactor=-35", [](const Settings& s) { return s.mouse.MOUSEFACTOR == -35; }},
      {"mousefactor=12abc", [](const Settings& s) { return s.mouse.MOUSEFACTOR == 12; }},
      {"udirmode=CS", [](const Settings& s) { return s.explore.UDIRMODE == 4; }},
      {"udirmode=ca", [](const Settings& s) { return s.explore.UDIRMODE == 5; }},
      {"udirmode=zz", [](const Settings& s) { return s.explore.UDIRMODE == 0; }},
      {"udirmode=", [](const Settings& s) { return s.explore.UDIRMODE == 0; }},
      {"bookmarksaveformat=1",
       [](const Settings& s) { return s.bookmarks.BOOKMARKSAVEFORMAT == 1; }},
      {"bookmarksaveformat=2",
       [](const Settings& s) { return s.bookmarks.BOOKMARKSAVEFORMAT == 0; }},
      {"bookmarksaveformat=-1",
       [](const Settings& s) { return s.bookmarks.BOOKMARKSAVEFORMAT == 0; }},
      {"confirmexit=0\nconfirmexit=1", [](const Settings& s) { return s.CONFIRMEXIT; }},
      {"CHECKAUTOUPDATE=1", [](const Settings& s) { return s.CHECKAUTOUPDATE; }},
      {"nmealog_omitstops=0", [](const Settings& s) { return !s.gps.NMEALOG_OMITSTOPS; }},
      {"gps_autoudirchange=0", [](const Settings& s) { return !s.gps.GPS_AUTOUDIRCHANGE; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_TRUE(c.check(read_user(c.line)));
  }
}

TEST(UserSettings, SaveAndLoadReproducesEveryKey) {
  Settings a;
  a.sound.scape.NORMALVOLUME = 55;
  a.sound.engine.SOUNDMONO = true;
  a.sound.engine.SOUNDBEHINDLOWER = false;
  a.sound.engine.SOUNDHRTFMODE = false;
  a.sound.scape.SOUNDMUTED = true;
  a.sound.engine.SOUNDSPEAKERSCHANGED = true;
  a.sound.engine.SOUNDDEVICENAME = "Built-in Audio Analog Stereo";
  a.mouse.USEMOUSE = true;
  a.mouse.MOUSEFACTOR = -17;
  a.CHECKAUTOUPDATE = true;
  a.CONFIRMEXIT = false;
  a.SAVESETTINGSREMIND = false;
  a.bookmarks.BOOKMARKSAVEFORMAT = bookmarks::BMFORMAT_LSDB;
  a.explore.UDIRMODE = 3;
  a.gps.NMEALOG_OMITSTOPS = false;
  a.gps.GPS_AUTOUDIRCHANGE = false;
  test::TempDir dir;
  ASSERT_TRUE(write_user_ini(a, dir / "user.ini"));
  Settings b;
  ASSERT_TRUE(read_user_ini(b, dir / "user.ini"));
  EXPECT_EQ(user_ini_text(b), user_ini_text(a));
  EXPECT_EQ(b.sound.scape.NORMALVOLUME, 55);
  EXPECT_EQ(b.sound.engine.SOUNDDEVICENAME, a.sound.engine.SOUNDDEVICENAME);
  EXPECT_EQ(b.mouse.MOUSEFACTOR, -17);
  EXPECT_EQ(b.explore.UDIRMODE, 3);
  EXPECT_EQ(b.bookmarks.BOOKMARKSAVEFORMAT, bookmarks::BMFORMAT_LSDB);
  EXPECT_FALSE(b.CONFIRMEXIT);
  EXPECT_TRUE(b.mouse.USEMOUSE);
}

TEST(UserSettings, WrittenInTheFixedOrderWithoutEmptyDevice) {
  Settings s;
  EXPECT_EQ(user_ini_text(s),
            "soundvolume=20\nsoundmono=0\nsoundbehindlower=1\nsoundhrtfmode=1\nsoundmuted=0\n"
            "soundspeakerschanged=0\nusemouse=0\nmousefactor=60\ncheckautoupdate=0\nconfirmexit=1\n"
            "savesettingsremind=1\nbookmarksaveformat=0\nudirmode=rc\nnmealog_omitstops=1\n"
            "gps_autoudirchange=1\n");
  s.sound.engine.SOUNDDEVICENAME = "card";
  EXPECT_NE(user_ini_text(s).find("soundspeakerschanged=0\nsounddevicename=card\nusemouse=0\n"),
            std::string::npos);
}

TEST(UserSettings, UnknownKeysSurviveARoundTrip) {
  Settings s = read_user("future_key=Some Value\nsoundmono=1\nFuture_Key=Other\nspeechrate=3\n");
  ASSERT_EQ(s.unknown_user_keys.size(), 2u);
  std::string text = user_ini_text(s);
  EXPECT_NE(text.find("\nfuture_key=Other\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nspeechrate=3\n"), std::string::npos) << text;
  // A second load replaces, not accumulates, what was unknown.
  test::TempDir dir;
  std::ofstream(dir / "user.ini") << "other=1\n";
  ASSERT_TRUE(read_user_ini(s, dir / "user.ini"));
  ASSERT_EQ(s.unknown_user_keys.size(), 1u);
}

TEST(UserSettings, BadFilesGiveDefaultsNotCrashes) {
  std::mt19937 rng(42);
  std::string binary(64 * 1024, '\0');
  for (char& c : binary) c = static_cast<char>(rng());
  const std::string inputs[] = {
      binary,
      std::string("soundvolume=") + std::string(10 * 1024 * 1024, '9'),
      "soundmono=1\nconfirmexit",  // truncated mid-line
      std::string("usemouse=1\0\0\0=", 14),
      std::string(3, '\xff') + "udirmode=\xc3\xa9\xc3",
  };
  for (const std::string& in : inputs) {
    Settings s = read_user(in);
    EXPECT_GE(s.sound.scape.NORMALVOLUME, 5);
    EXPECT_LE(s.sound.scape.NORMALVOLUME, 100);
    EXPECT_GE(s.explore.UDIRMODE, 0);
    EXPECT_LT(s.explore.UDIRMODE, UDIRMODESCOUNT);
    EXPECT_TRUE(s.bookmarks.BOOKMARKSAVEFORMAT == 0 || s.bookmarks.BOOKMARKSAVEFORMAT == 1);
    for (const auto& [k, v] : s.unknown_user_keys) EXPECT_LE(k.size() + v.size(), 256u);
  }
  Settings huge = read_user(inputs[1]);
  EXPECT_EQ(huge.sound.scape.NORMALVOLUME, 100);
  Settings cut = read_user(inputs[2]);
  EXPECT_TRUE(cut.sound.engine.SOUNDMONO);
  EXPECT_TRUE(cut.CONFIRMEXIT);
}

TEST(UserSettings, MissingFileChangesNothing) {
  test::TempDir dir;
  Settings s;
  s.mouse.MOUSEFACTOR = 7;
  EXPECT_FALSE(read_user_ini(s, dir / "user.ini"));
  EXPECT_EQ(s.mouse.MOUSEFACTOR, 7);
}

TEST(UserSettings, UnwritableFileReportsFailure) {
  test::TempDir dir;
  std::ofstream(dir / "file") << "x";
  EXPECT_FALSE(write_user_ini(Settings{}, dir / "file" / "user.ini"));
}

TEST(ProgramSettings, KeysAreReadAndClamped) {
  struct Case {
    const char* content;
    std::function<bool(const Settings&)> check;
  };
  const Case cases[] = {
      {"initial_volume=150", [](const Settings& s) { return s.sound.scape.NORMALVOLUME == 100; }},
      {"Area_Volume=1", [](const Settings& s) { return s.sound.scape.OBSZARYVOL == 5; }},
      {"line_volume=33", [](const Settings& s) { return s.sound.scape.LINIEVOL == 33; }},
      {"soundscape_range=0", [](const Settings& s) { return s.sound.engine.SOUNDSCAPERANGE == 1; }},
      {"soundscape_range=25",
       [](const Settings& s) { return s.sound.engine.SOUNDSCAPERANGE == 10; }},
      {"sound_distance_model=L",
       [](const Settings& s) { return s.sound.engine.SOUNDDISTANCEMODEL == AL_LINEAR_DISTANCE; }},
      {"sound_distance_model=ec",
       [](const Settings& s) {
         return s.sound.engine.SOUNDDISTANCEMODEL == AL_EXPONENT_DISTANCE_CLAMPED;
       }},
      {"sound_distance_model=i",
       [](const Settings& s) { return s.sound.engine.SOUNDDISTANCEMODEL == AL_INVERSE_DISTANCE; }},
      {"sound_distance_model=x",
       [](const Settings& s) {
         return s.sound.engine.SOUNDDISTANCEMODEL == AL_INVERSE_DISTANCE_CLAMPED;
       }},
      {"sound_distance_factor=0",
       [](const Settings& s) { return s.sound.engine.SOUNDDISTANCEFACTOR == 1; }},
      {"sound_distance_factor=40",
       [](const Settings& s) { return s.sound.engine.SOUNDDISTANCEFACTOR == 40; }},
      {"sound_distance_factor=1000",
       [](const Settings& s) { return s.sound.engine.SOUNDDISTANCEFACTOR == 255; }},
      {"weather_api_key = 0123456789abcdef0123456789abcdef",
       [](const Settings& s) {
         return s.weather.weather_api_key == "0123456789abcdef0123456789abcdef";
       }},
      {"primary_map_server=https://maps.example.net/",
       [](const Settings& s) {
         return s.services.primary_map_server == "https://maps.example.net/";
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.content);
    EXPECT_TRUE(c.check(read_program(c.content)));
  }
}

TEST(ProgramSettings, RereadResetsVolumesButKeepsRange) {
  Settings s = read_program("initial_volume=50\nsoundscape_range=4\nsound_distance_model=l\n");
  ASSERT_EQ(s.sound.scape.NORMALVOLUME, 50);
  Settings again = read_program("; nothing\n", s);
  EXPECT_EQ(again.sound.scape.NORMALVOLUME, 20);
  EXPECT_EQ(again.sound.engine.SOUNDDISTANCEMODEL, AL_INVERSE_DISTANCE_CLAMPED);
  EXPECT_EQ(again.sound.engine.SOUNDSCAPERANGE, 4);
}

TEST(ProgramSettings, FreshFileReadsBackAsTheDefaults) {
  test::TempDir dir;
  ASSERT_TRUE(create_program_ini_if_missing(dir / "orvela.ini"));
  Settings s;
  s.sound.engine.SOUNDSCAPERANGE = 3;
  READINI(s, dir / "orvela.ini");
  Settings d;
  EXPECT_EQ(s.sound.engine.SOUNDSCAPERANGE, d.sound.engine.SOUNDSCAPERANGE);
  EXPECT_EQ(s.sound.engine.SOUNDDISTANCEMODEL, d.sound.engine.SOUNDDISTANCEMODEL);
  EXPECT_EQ(s.services.xapi_server_2, d.services.xapi_server_2);
  EXPECT_EQ(s.weather.weather_service, d.weather.weather_service);
  // An edited file is never overwritten.
  std::ofstream(dir / "orvela.ini") << "initial_volume=30\n";
  ASSERT_TRUE(create_program_ini_if_missing(dir / "orvela.ini"));
  READINI(s, dir / "orvela.ini");
  EXPECT_EQ(s.sound.scape.NORMALVOLUME, 30);
}

}  // namespace
}  // namespace orvela::app
