// The whole program in console mode: the roads at an intersection, walking
// along a street, the details of crossings and the homing beacon, on the
// demo map and on the Liechtenstein extract imported with `orvela --import`.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>

#include "support/console_runner.h"
#include "support/test_env.h"
#include "support/wave_capture.h"

namespace orvela::test {
namespace {

namespace fs = std::filesystem;

// What was said, in order, without the "SAY " prefix.
std::vector<std::string> said(const ConsoleResult& r) {
  std::vector<std::string> v;
  for (const std::string& l : r.lines())
    if (l.starts_with("SAY ")) v.push_back(l.substr(4));
  return v;
}

bool has(const std::vector<std::string>& v, const std::string& s) {
  return std::find(v.begin(), v.end(), s) != v.end();
}

// The demo map, opened from the Map menu: Cedar Avenue crosses Mill Street
// at the town's centre, under traffic signals.
constexpr const char* kOpenDemo = "Ctrl+O\n\n:cancel\nCtrl+G\n-29.9982 -139.99792\n";

// From the signalled centre: its roads facing north and east, back (south)
// along Cedar Avenue to Lantern Street, east to the signalled crossing and
// on, back again, and nothing to walk on in the park.
TEST(DemoRoads, LayoutWalkAndCrossings) {
  TempDir home;
  ConsoleResult r = run_console(home.path(), std::string(kOpenDemo) +
                                                 "X\n"
                                                 "Ctrl+Right\n"
                                                 "X\n"
                                                 "Ctrl+Left\n"
                                                 "Alt+Down\n"
                                                 "Ctrl+Right\n"
                                                 "Alt+Up\n"
                                                 "X\n"
                                                 "IDM_WALKNEXT\n"
                                                 "IDM_WALKBACK\n"
                                                 "Up\nUp\n"
                                                 "X\n"
                                                 "Ctrl+G\n-29.99703 -139.9974\ny\n"
                                                 "Alt+Up\n");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(said(r),
            (std::vector<std::string>{
                "Mill Street Cedar Avenue, traffic signals",
                "Cedar Avenue at hour 0, Mill Street at hour 3, Cedar Avenue at hour 6, Mill "
                "Street at hour 9",
                "Your direction at hour 3  of north",
                "Mill Street at hour 0, Cedar Avenue at hour 3, Mill Street at hour 6, Cedar "
                "Avenue at hour 9",
                "Your direction at hour 0  of north",
                "Lantern Street Cedar Avenue, 100 metres",
                "Your direction at hour 3  of north",
                "Lantern Street footpath crossing, traffic signals, sound signals, tactile paving, "
                "lowered kerb, 25 metres",
                "Lantern Street at hour 0, footpath crossing at hour 3, Lantern Street at hour 6, "
                "footpath crossing at hour 9",
                "Lantern Street Damson Avenue, 75 metres",
                "Lantern Street footpath crossing, traffic signals, sound signals, tactile paving, "
                "lowered kerb, 75 metres",
                "Lantern Street direction at hour 0",
                "Lantern Street",
                "No intersection here.",
                "Willow Park",
                "No road here.",
            }))
      << r.out;
}

// A bookmark at the centre, the beacon on it; walking away, zooming and
// reloading keep it; renamed, it follows; deleted, it goes off.
TEST(DemoBeacon, SetSayFollowAndOff) {
  TempDir home;
  ConsoleResult r = run_console(home.path(), std::string(kOpenDemo) +
                                                 "Enter\n:default\n"
                                                 "Shift+B\n"
                                                 "Ctrl+B\n"
                                                 "B\n\n"
                                                 "Alt+Up\n"
                                                 "Shift+B\n"
                                                 "Ctrl+Page Up\n"
                                                 "IDM_BEACONSAY\n"
                                                 "Alt+Down\n"
                                                 "Enter\nCentre\n"
                                                 "Alt+Up\n"
                                                 "Shift+B\n"
                                                 "Alt+Down\n"
                                                 "Delete\ny\n"
                                                 "Shift+B\n"
                                                 "Ctrl+S\n" +
                                                 (home / "b.lscp").string() + "\n");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(said(r),
            (std::vector<std::string>{
                "Mill Street Cedar Avenue, traffic signals", "No beacon set.", "No beacon set.",
                "Beacon 1. Mill Street Cedar Avenue: 0 metres at hour 0",
                "Orchard Street Cedar Avenue, 100 metres",
                "Beacon 1. Mill Street Cedar Avenue: 100 metres at hour 6", "One square 20 metres.",
                "Beacon 1. Mill Street Cedar Avenue: 100 metres at hour 6",
                "Bookmark 1. Mill Street Cedar Avenue, 100 metres",
                "Orchard Street Cedar Avenue, 100 metres", "Beacon Centre: 100 metres at hour 6",
                "Bookmark Centre, 100 metres", "Beacon switched off.", "No beacon set."}))
      << r.out;
  auto lines = r.lines();
  EXPECT_TRUE(std::find(lines.begin(), lines.end(), "LIST Homing beacon: Select bookmark") !=
              lines.end())
      << r.out;
}

// West of the demo town, out at sea where nothing around plays, with the
// beacon on a bookmark 386 m east at the town's south-west corner: the left
// and right levels of the last 1.5 seconds of a 2.5 second wait, long after
// the start-up's speaker test (the recording begins with the device).
// `then` comes after the beacon is set.
std::pair<double, double> listen_to_the_beacon(const std::string& then) {
  TempDir home;
  const fs::path wav = home / "out.wav";
  ConsoleRun run;
  run.env = wave_recording_env(home.path());
  run.script =
      "Ctrl+O\n\n:cancel\nCtrl+G\n-30.0 -140.0\nEnter\n:default\n"
      "Ctrl+G\n-30.0 -140.004\ny\nB\n\n" +
      then + ":wait 2500\nIDM_SAYILEV\nCtrl+Delete\ny\n";
  ConsoleResult r = run_console(home.path(), run);
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(has(said(r), "Beacon 1. Harbour Street Alder Avenue: 386 metres at hour 3")) << r.out;
  const double seconds = static_cast<double>(read_wave_samples(wav).size()) / 2 / 44100;
  EXPECT_GT(seconds, 2) << "nothing was recorded";
  return channel_rms(wav, seconds - 1.5);
}

TEST(DemoBeacon, HeardFromTheBookmarksSideUnlessMuted) {
  auto [left, right] = listen_to_the_beacon("");
  EXPECT_GT(right, 0.002) << left << " " << right;
  EXPECT_GT(right, 1.5 * left) << left << " " << right;
  std::tie(left, right) = listen_to_the_beacon("Ctrl+Space\n");
  EXPECT_GE(left, 0);
  EXPECT_LT(left + right, 0.0004) << left << " " << right;
}

// The Liechtenstein extract imported from the command line, opened at the
// start position in Vaduz where Rheinstrasse, Churer Strasse, Feldkircher
// Strasse and Oberstädtle meet under traffic signals.
class Liechtenstein : public ::testing::Test {
 protected:
  // One import for all the tests: it takes a while under the sanitizers.
  static void SetUpTestSuite() {
    home_ = new TempDir;
    auto data = shared_data_dir();
    if (!data) return;
    const fs::path extract = *data / "osm" / "liechtenstein-2013-08-03.osm.bz2";
    fs::create_directories(*home_ / "maps");
    ConsoleRun import;
    import.timeout = std::chrono::seconds(240);
    import.args = {"--home", home_->path().string(), "--import", extract.string(),
                   (*home_ / "maps" / "li.orvel").string()};
    imported_ = run_console(home_->path(), import).exit_code == 0;
  }
  static void TearDownTestSuite() {
    delete home_;
    home_ = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(imported_) << "the Liechtenstein extract could not be imported";
  }
  // Runs `script` with the program opening the map at `lat_lon` ("lat lon"
  // in micro-degrees) as its start position.
  static ConsoleResult run(const std::string& lat_lon, const std::string& script) {
    std::ofstream(*home_ / "orvela.start") << "li.orvel\n" << lat_lon << "\n";
    ConsoleRun run;
    run.timeout = std::chrono::seconds(120);
    run.script = script;
    return run_console(home_->path(), run);
  }
  static inline TempDir* home_ = nullptr;
  static inline bool imported_ = false;
};

// The roads of the junction; north along Feldkircher Strasse, which goes on
// as an unnamed piece of the same arterial road, to Kohlmahd and back; then
// at squares of 50 metres the same roads and the same walk.
TEST_F(Liechtenstein, SignalledIntersectionItsRoadsAndAWalk) {
  ConsoleResult r = run("47200611 9544940",
                        "X\nAlt+Up\nAlt+Down\nCtrl+Up\nCtrl+Page Up\nCtrl+Page Up\nX\nAlt+Up\n");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::vector<std::string> s = said(r);
  ASSERT_EQ(s.size(), 9u) << r.out;
  const std::string junction =
      "Oberst\xC3\xA4"
      "dtle Rheinstrasse Churer Strasse Feldkircher Strasse";
  EXPECT_EQ(s[0], junction + ", traffic signals");
  EXPECT_EQ(s[1],
            "Feldkircher Strasse at hour 1, Oberst\xC3\xA4"
            "dtle at hour 5:30, Churer Strasse at hour 7, Rheinstrasse at hour 10");
  EXPECT_EQ(s[2], "Kohlmahd arterial primary, 612 metres");
  EXPECT_EQ(s[3], junction + ", traffic signals, 612 metres");
  // Facing north again, at squares of 50 metres.
  EXPECT_EQ(s[7], s[1]);
  EXPECT_TRUE(s[8].ends_with(", 612 metres")) << s[8];
}

// The island crossing on Bergstrasse (node 33356); from it north to the
// next intersection, then back past it to the one south of it.
TEST_F(Liechtenstein, IslandCrossingOnBergstrasse) {
  ConsoleResult r = run("47111980 9544444", "Alt+Up\nAlt+Down\n");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(said(r), (std::vector<std::string>{"pedestrian crossing, island",
                                               "Bergstrasse road service, 44 metres",
                                               "S\xC3\xBCtigerwisstrasse Bergstrasse, 115 metres"}))
      << r.out;
}

// A beacon on a bookmark at the crossing, asked for from 5.7 km away, at
// the largest squares and in compass words.
TEST_F(Liechtenstein, BeaconFromFarAway) {
  ConsoleResult r = run("47111980 9544444",
                        "Enter\n:default\nB\n\nCtrl+G\n47.16 9.52\ny\nShift+B\n"
                        "Ctrl+Shift+Page Up\nShift+B\nIDM_SELECTUDIRMODE\n6\nShift+B\n");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::vector<std::string> s = said(r);
  const std::string b = "Beacon 1. pedestrian crossing: ";
  EXPECT_TRUE(has(s, b + "0 metres at hour 0")) << r.out;
  EXPECT_EQ(std::count(s.begin(), s.end(), b + "5.7 kilometres at hour 5:30"), 2) << r.out;
  EXPECT_EQ(s.back(), b + "5.7 kilometres South-southeast") << r.out;
}

}  // namespace
}  // namespace orvela::test
