// The Gps commands in the whole program on a console front end: the menu
// follows the source, and what opening a log or a receiver says when it fails.
#include <gtest/gtest.h>

#include "app/app_window.h"
#include "gps_data.h"

namespace orvela::gps {
namespace {

using app::test::Window;

const char* const kWhileActive[] = {"IDM_GPSSAYTIME", "IDM_GPSSAYSAT", "IDM_GPSSAYHDOP",
                                    "IDM_GPSPLAYPAUSE", "IDM_NMEADISCONNECT"};
const char* const kWhileLog[] = {"IDM_GPSGOBACK1",    "IDM_GPSGOFORWARD1", "IDM_GPSGOBACK2",
                                 "IDM_GPSGOFORWARD2", "IDM_GPSGOTOHOME",   "IDM_GPSGOTOEND"};
const char* const kWhileNone[] = {"IDM_GPSLOGOPEN", "IDM_GPSOPEN"};

void expect_items(Window& w, bool active, bool log) {
  w.app().on_init_menu();
  auto enabled = [&](const char* name) { return w.ui().is_item_enabled(w.id(name)); };
  for (const char* n : kWhileActive) EXPECT_EQ(enabled(n), active) << n;
  for (const char* n : kWhileLog) EXPECT_EQ(enabled(n), log) << n;
  for (const char* n : kWhileNone) EXPECT_EQ(enabled(n), !active) << n;
}

TEST(GpsMenu, ItemsFollowTheSource) {
  const std::string log = test::nmea_log("gpsd-haicom-305N.log").string();
  Window w(log + "\n");
  expect_items(w, false, false);
  w.command("IDM_GPSLOGOPEN");
  EXPECT_EQ(w.out(),
            "FILE Open GPS log [NMEA log file *.*|*.*]\n"
            "INFO 152 NMEA records processed.\n");
  EXPECT_EQ(w.app().gps().NMEAMODE(), NMEAMODE_LOG);
  expect_items(w, true, true);
  w.command("IDM_NMEADISCONNECT");
  EXPECT_EQ(w.out(), "SAY Log closed.\n");
  EXPECT_EQ(w.app().gps().NMEAMODE(), NMEAMODE_NONE);
  expect_items(w, false, false);
}

TEST(GpsMenu, WithoutASourceOnlyTheStoredSatellitesAndAccuracyAreSaid) {
  Window w("");
  w.command("IDM_GPSSAYTIME");
  w.command("IDM_GPSSAYSAT");
  w.command("IDM_GPSSAYHDOP");
  w.command("IDM_GPSPLAYPAUSE");
  w.command("IDM_GPSGOTOEND");
  EXPECT_EQ(w.out(), "SAY Satellites 0 of 0.\nSAY Accuracy: 0.0\n");
}

TEST(GpsLogOpen, FilesThatAreNoLogsAreRefusedAndChangeNothing) {
  orvela::test::TempDir dir;
  test::write_bytes(dir / "notes.txt", "Shopping list\nmilk\n");
  const std::string good = test::nmea_log("gpsd-haicom-305N.log").string();
  struct Case {
    std::string answer;
    std::string out;
  };
  const Case cases[] = {
      {(dir / "missing.nmea").string(), "INFO Error reading file.\n"},
      {(dir / "notes.txt").string(), "INFO No information loaded, probably it's not log file\n"},
      {":cancel", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    Window w(c.answer + "\n" + good + "\n" + c.answer + "\n");
    w.command("IDM_GPSLOGOPEN");
    EXPECT_EQ(w.out(), "FILE Open GPS log [NMEA log file *.*|*.*]\n" + c.out);
    EXPECT_EQ(w.app().gps().NMEAMODE(), NMEAMODE_NONE);
    // With a log playing, a bad choice leaves it playing.
    w.command("IDM_GPSLOGOPEN");
    w.out();
    w.command("IDM_GPSLOGOPEN");
    EXPECT_EQ(w.out(), "FILE Open GPS log [NMEA log file *.*|*.*]\n" + c.out);
    EXPECT_EQ(w.app().gps().NMEAMODE(), NMEAMODE_LOG);
  }
}

TEST(GpsOpen, PortsThatCannotBeOpenedSayWhy) {
  struct Case {
    const char* answer;
    std::string out;
  };
  const Case cases[] = {
      {"abc", "INFO Number expected.\n"},
      {"0", "INFO Number expected.\n"},
      {":cancel", ""},
      {"/nonexistent/gps",
       "PROGRESS Connecting: Please wait...: Connecting to GPS receiver /nonexistent/gps\n"
       "INFO Error code 2 (No such file or directory)\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    Window w(std::string(c.answer) + "\n");
    w.command("IDM_GPSOPEN");
    EXPECT_EQ(w.out(), "INPUT GPS connect: Com port number of GPS device []\n" + c.out);
    EXPECT_EQ(w.app().gps().NMEAMODE(), NMEAMODE_NONE);
  }
}

}  // namespace
}  // namespace orvela::gps
