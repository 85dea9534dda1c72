// The real program in console mode following GPS sources on maps built
// around them: the recorded walk, logs written here for the playback
// controls and the omitted stops, and a receiver on a pseudo-terminal.
// Each step waits, with a time-out, for what the program says; time
// passes only in the program (its ":wait").
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>

#include "gps/state_list.h"
#include "gps_data.h"
#include "map/geo.h"
#include "pty.h"
#include "support/console_session.h"
#include "support/map_builder.h"
#include "support/test_env.h"
#include "support/world.h"

namespace orvela::gps {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using orvela::test::ConsoleSession;
using orvela::test::MapBuilder;
using orvela::test::MapObject;
using orvela::test::TempDir;

bool starts(const std::string& line, const std::string& prefix) { return line.starts_with(prefix); }
auto starting(std::string prefix) {
  return [p = std::move(prefix)](const std::string& l) { return l.starts_with(p); };
}

// ---- a street of roads for logs written here -------------------------------------

// Road i runs north and south through (kLat, kLon + i * kStep), about 30 m
// east of road i - 1; the logs below stand on them.
constexpr int32_t kLat = orvela::test::HOME_LAT;
constexpr int32_t kLon = orvela::test::HOME_LON;
constexpr int32_t kStep = 400;

std::string road(int i) {
  char name[32];
  std::snprintf(name, sizeof name, "Road %02d", i);
  return name;
}

void build_roads(const fs::path& map) {
  MapBuilder b(map);
  for (int i = 0; i < 60; ++i) {
    MapObject o;
    o.name = road(i);
    o.typ = "residential road";
    const int32_t lon = kLon + i * kStep;
    b.line(o, {{lon, kLat - 500}, {lon, kLat}, {lon, kLat + 500}});
  }
}

// A log with one fix a second at 12:00:00 + i on road roads[i].
std::string roads_log(const std::vector<int>& roads) {
  std::string log;
  for (std::size_t i = 0; i < roads.size(); ++i) {
    const auto t = static_cast<int32_t>(120000 + i);
    log += test::gga(t, kLat, kLon + roads[i] * kStep) + "\r\n";
    log += test::sentence("GPGSV,2,1,08,01,40,083,46,02,17,308,41") + "\r\n";
  }
  return log;
}

// ---- driving the program ---------------------------------------------------------------

class Session {
 public:
  explicit Session(const TempDir& home) : s(home.path()) {}

  // Sends `line` and waits for an output line that `match` accepts; its index.
  std::size_t ask(const std::string& line, const std::function<bool(const std::string&)>& match,
                  std::chrono::milliseconds timeout = 60s) {
    const std::size_t from = s.size();
    s.send(line);
    return expect(match, from, timeout);
  }
  std::size_t expect(const std::function<bool(const std::string&)>& match, std::size_t from,
                     std::chrono::milliseconds timeout = 60s) {
    const auto i = s.wait_for(match, from, timeout);
    if (!i) ADD_FAILURE() << "not said in time; output:\n" << s.out() << "stderr:\n" << s.err();
    return i.value_or(s.size());
  }
  std::size_t expect(const std::string& line, std::size_t from) {
    return expect([&line](const std::string& l) { return l == line; }, from);
  }
  // The line after line `i`, once it has been printed.
  std::string next(std::size_t i) {
    return line(expect([](const std::string&) { return true; }, i + 1));
  }
  std::string line(std::size_t i) const {
    const auto all = s.lines();
    return i < all.size() ? all[i] : std::string();
  }
  // The lines from `from` up to `to` (excluded) that start with `prefix`.
  std::vector<std::string> between(std::size_t from, std::size_t to, const std::string& prefix) {
    std::vector<std::string> v;
    const auto all = s.lines();
    for (std::size_t i = from; i < to && i < all.size(); ++i)
      if (starts(all[i], prefix)) v.push_back(all[i]);
    return v;
  }

  // The last of those lines, or nothing.
  std::string last(std::size_t from, std::size_t to, const std::string& prefix) {
    const auto v = between(from, to, prefix);
    return v.empty() ? std::string() : v.back();
  }

  // Opens the map `stem` of the maps folder from the Map menu, with no position yet.
  void open_map(const std::string& stem) {
    const std::size_t list = ask("IDM_FILEOPEN", starting("LIST Open map"));
    const std::size_t entry = expect(
        [&](const std::string& l) { return l.find(". " + stem) != std::string::npos; }, list);
    const std::string e = line(entry);
    const std::size_t number_at = e.find_first_of("0123456789");
    s.send(e.substr(number_at, e.find('.') - number_at));
    expect("TITLE Orvela " + stem, entry);
    // Nobody stands anywhere yet: the program offers a start point; the log
    // or the receiver will place the user instead.
    expect(starting("INPUT Select start point"), entry);
    s.send(":cancel");
  }

  // Opens the log `fn` and waits for its first entry.
  std::size_t open_log(const fs::path& fn, const std::string& processed) {
    ask("IDM_GPSLOGOPEN", starting("FILE Open GPS log"));
    const std::size_t from = s.size();
    s.send(fn.string());
    expect("INFO " + processed, from);
    return expect("SAY Start of log.", from);
  }

  // The user's position as the "Go to coordinates" field proposes it.
  std::pair<int32_t, int32_t> position() {
    const std::size_t i = ask("IDM_GOTOCORDS", starting("INPUT Go to coordinates:"));
    const std::string l = line(i);
    s.send(":cancel");
    double lat = 0, lon = 0;
    const std::size_t open = l.rfind('[');
    EXPECT_EQ(std::sscanf(l.c_str() + open, "[%lf %lf]", &lat, &lon), 2) << l;
    return {static_cast<int32_t>(std::lround(lat * 1e6)),
            static_cast<int32_t>(std::lround(lon * 1e6))};
  }

  // The GPS time spoken now (":" separated), after what was handed over so far.
  std::string gps_time() { return line(ask("C", starting("SAY 12:00:"))).substr(4); }

  ConsoleSession s;
};

// ---- the recorded walk -----------------------------------------------------------------

// The walk log from 11:05:40 to 11:14:00: a cold start, six minutes near the
// starting point, then about 130 m away.
std::string walk_excerpt() {
  const std::string all = test::read_bytes(test::nmea_log("microkost-20080904-105553-walk.nmea"));
  const std::size_t from = all.find("$GPGGA,110540");
  const std::size_t to = all.find("$GPGGA,111401");
  EXPECT_NE(from, std::string::npos);
  EXPECT_NE(to, std::string::npos);
  return all.substr(from, to - from);
}

// "Start path" through the fixes up to 11:11:00, "Far path" through those
// from 11:12:20 on, which lie 77 m and more away from the first.
void build_walk_map(const fs::path& map, const GpsStateList& log) {
  std::vector<map::POINT> start, far;
  for (std::size_t i = 0; i < log.size(); ++i) {
    const GPSSTATEREC& e = log[i];
    if (e.FIX == 0) continue;
    if (e.TIME <= 111100) start.push_back({e.LON, e.LAT});
    if (e.TIME >= 111220) far.push_back({e.LON, e.LAT});
  }
  MapBuilder b(map);
  MapObject o;
  o.typ = "footway";
  o.name = "Start path";
  b.line(o, start);
  o.name = "Far path";
  b.line(o, far);
}

TEST(GpsPlayback, TheRecordedWalkMovesTheUserAlongItsTrack) {
  TempDir home;
  fs::create_directories(home / "maps");
  test::write_bytes(home / "walk.nmea", walk_excerpt());
  GpsStateList log;
  ASSERT_EQ(NMEAREADLOG(home / "walk.nmea", log), 1860);
  ASSERT_EQ(log.size(), 501u);
  build_walk_map(home / "maps" / "walk.orvel", log);
  const GPSSTATEREC& last = log[log.size() - 1];
  ASSERT_EQ(last.TIME, 111400);

  Session s(home);
  // Squares of 20 m: the walk's jitter of a few metres stays within one.
  s.ask("Ctrl+Page Up", [](const std::string& l) { return l == "SAY One square 20 metres."; });
  s.open_map("walk");
  const std::size_t start = s.open_log(home / "walk.nmea", "1860 NMEA records processed.");
  // The cold start, then the first fix puts the user on the start of the track.
  EXPECT_EQ(s.next(start), "SAY No signal.");
  const std::size_t fix = s.expect("SAY Signal from 3 satellites.", start);
  const std::string arrival = s.line(s.expect(starting("SAY "), fix + 1));
  EXPECT_TRUE(starts(arrival, "SAY Start path")) << arrival;
  const std::size_t end = s.expect("SAY End of log.", fix);
  const std::size_t far = s.expect(starting("SAY Far path"), fix);
  EXPECT_LT(far, end);
  // The track leaves the start for good: it is never said again.
  EXPECT_EQ(s.between(far, end, "SAY Start path"), std::vector<std::string>{});
  // The user stands where the track ends, to within the one and a half
  // squares a fix may stray before it moves the user.
  const auto [lat, lon] = s.position();
  EXPECT_LE(map::GEODIST(lat, lon, last.LAT, last.LON), 30);
  EXPECT_EQ(s.s.finish(), 0);
}

// ---- pause, rewind, home and end -----------------------------------------------------

TEST(GpsPlayback, PauseRewindHomeAndEnd) {
  TempDir home;
  fs::create_directories(home / "maps");
  build_roads(home / "maps" / "roads.orvel");
  std::vector<int> every_road;
  for (int i = 0; i < 60; ++i) every_road.push_back(i);
  test::write_bytes(home / "street.nmea", roads_log(every_road));

  Session s(home);
  s.open_map("roads");
  const std::size_t start = s.open_log(home / "street.nmea", "120 NMEA records processed.");
  EXPECT_TRUE(starts(s.line(s.expect(starting("SAY Road "), start)), "SAY Road 00"));
  s.expect(starting("SAY Road 01"), start);

  // Paused, the playback stands: the same time, and no road, after a while.
  s.ask("Shift+Space", [](const std::string& l) { return l == "SAY GPS paused."; });
  const std::size_t paused_at = s.ask("C", starting("SAY 12:00:"));
  s.s.send(":wait 2500");
  const std::size_t later = s.ask("C", starting("SAY 12:00:"));
  EXPECT_EQ(s.line(later), s.line(paused_at));
  EXPECT_EQ(s.between(paused_at, later, "SAY Road"), std::vector<std::string>{});
  const std::size_t resumed =
      s.ask("Shift+Space", [](const std::string& l) { return l == "SAY GPS resumed."; });
  s.expect(starting("SAY Road "), resumed);

  // With the window away the playback stands at its entry, and goes on
  // when the window is back.
  s.s.send(":focus off");
  const std::size_t away = s.ask("C", starting("SAY 12:00:"));
  s.s.send(":wait 2500");
  const std::size_t still_away = s.ask("C", starting("SAY 12:00:"));
  EXPECT_EQ(s.line(still_away), s.line(away));
  EXPECT_EQ(s.between(away, still_away, "SAY Road"), std::vector<std::string>{});
  s.ask(":focus on", starting("SAY Road "));

  // To the end: the last road, "End of log." once, and it stands there.
  const std::size_t end_cmd = s.s.size();
  s.s.send("Alt+End");
  const std::size_t to_end = s.expect("SAY End of log.", end_cmd);
  EXPECT_TRUE(starts(s.last(end_cmd, to_end, "SAY Road"), "SAY Road 59"));
  s.s.send(":wait 2000");
  EXPECT_EQ(s.gps_time(), "12:00:59");
  EXPECT_EQ(s.between(to_end + 1, s.s.size(), "SAY Road"), std::vector<std::string>{});

  // Ten seconds back from the end: the road of 12:00:49 comes next.
  const std::size_t back =
      s.ask("Alt+Left", [](const std::string& l) { return starts(l, "SAY Road "); });
  EXPECT_TRUE(starts(s.line(back), "SAY Road 49")) << s.line(back);

  // To the beginning: the start of the log again, from its first road.
  const std::size_t home_cmd = s.s.size();
  s.s.send("Alt+Home");
  const std::size_t again = s.expect("SAY Start of log.", home_cmd);
  EXPECT_TRUE(starts(s.line(s.expect(starting("SAY Road "), again)), "SAY Road 00"));

  // A minute forward from the beginning stops at the last entry.
  const std::size_t fwd_cmd = s.s.size();
  s.s.send("Alt+Page Down");
  const std::size_t fwd_end = s.expect("SAY End of log.", fwd_cmd);
  EXPECT_TRUE(starts(s.last(fwd_cmd, fwd_end, "SAY Road"), "SAY Road 59"));

  // A minute back from the end stops at the first entry.
  const std::size_t back_cmd = s.s.size();
  s.s.send("Alt+Page Up");
  const std::size_t back_start = s.expect("SAY Start of log.", back_cmd);
  EXPECT_TRUE(starts(s.line(s.expect(starting("SAY Road "), back_start)), "SAY Road 00"));

  // Closed: no GPS time any more; the stored satellites are still told.
  const std::size_t closed =
      s.ask("IDM_NMEADISCONNECT", [](const std::string& l) { return l == "SAY Log closed."; });
  s.s.send("C");
  const std::size_t sats = s.ask("S", starting("SAY Satellites "));
  EXPECT_EQ(s.line(sats), "SAY Satellites 7 of 8.");
  EXPECT_EQ(s.between(closed, sats, "SAY 12:"), std::vector<std::string>{});
  EXPECT_EQ(s.s.finish(), 0);
}

// ---- omitted stops ----------------------------------------------------------------------

TEST(GpsPlayback, StopsArePassedAtOnceOnlyWhenOmitted) {
  TempDir home;
  fs::create_directories(home / "maps");
  build_roads(home / "maps" / "roads.orvel");
  // Twelve seconds: ten of them standing on road 0, then road 5.
  test::write_bytes(home / "stop.nmea", roads_log({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5}));

  Session s(home);
  s.open_map("roads");
  // Omitted (the default): the stop costs nothing, the whole log is over
  // long before six seconds have passed.
  std::size_t start = s.open_log(home / "stop.nmea", "24 NMEA records processed.");
  s.s.send(":wait 6000");
  EXPECT_EQ(s.gps_time(), "12:00:11");
  EXPECT_EQ(s.between(start, s.s.size(), "SAY End of log.").size(), 1u);
  s.ask("IDM_NMEADISCONNECT", [](const std::string& l) { return l == "SAY Log closed."; });

  // Kept: one entry a second, so six seconds are not enough for twelve.
  s.ask("IDM_NMEALOG_OMITSTOPS", starting("INFO Remember to save settings"));
  start = s.open_log(home / "stop.nmea", "24 NMEA records processed.");
  s.s.send(":wait 6000");
  // (Only a test that took seconds to read the start could see more.)
  EXPECT_LT(s.gps_time(), "12:00:11");
  EXPECT_EQ(s.between(start, s.s.size(), "SAY End of log.").size(), 0u);
  EXPECT_EQ(s.s.finish(), 0);
}

// ---- a receiver ----------------------------------------------------------------------------

// Writes the fix on `road` to the "receiver" until the program says `said`
// (a receiver sends one each second; the first may come before the port is ready).
std::size_t send_fix_until(Session& s, test::Pty& pty, int road_no, int32_t time,
                           const std::function<bool(const std::string&)>& said) {
  const std::size_t from = s.s.size();
  const std::string fix = test::gga(time, kLat, kLon + road_no * kStep) + "\r\n";
  for (int tries = 0; tries < 300; ++tries) {
    pty.write(fix);
    if (const auto i = s.s.wait_for(said, from, 200ms)) return *i;
  }
  ADD_FAILURE() << "the receiver's fix was not followed; output:\n" << s.s.out();
  return s.s.size();
}

std::size_t connect(Session& s, const test::Pty& pty) {
  s.ask("IDM_GPSOPEN", starting("INPUT GPS connect: Com port number of GPS device"));
  const std::size_t from = s.s.size();
  s.s.send(pty.path());
  return s.expect("PROGRESS Connecting: Please wait...: Connecting to GPS receiver " + pty.path(),
                  from);
}

TEST(GpsReceiver, LinesMoveTheUserAndUnpluggingIsNoticedAtOnce) {
  TempDir home;
  fs::create_directories(home / "maps");
  build_roads(home / "maps" / "roads.orvel");
  Session s(home);
  s.open_map("roads");

  test::Pty pty;
  pty.close_slave();
  connect(s, pty);
  const std::size_t signal =
      send_fix_until(s, pty, 10, 120010, starting("SAY Signal from 7 satellites."));
  EXPECT_TRUE(starts(s.line(s.expect(starting("SAY Road "), signal)), "SAY Road 10"));
  send_fix_until(s, pty, 20, 120020, starting("SAY Road 20"));
  EXPECT_EQ(s.position(), std::make_pair(kLat, kLon + 20 * kStep));

  // Paused, what the receiver sends is dropped.
  s.ask("Shift+Space", [](const std::string& l) { return l == "SAY GPS paused."; });
  pty.write(test::gga(120030, kLat, kLon + 30 * kStep) + "\r\n");
  s.s.send(":wait 1500");
  EXPECT_EQ(s.gps_time(), "12:00:20");
  EXPECT_EQ(s.position(), std::make_pair(kLat, kLon + 20 * kStep));
  s.ask("Shift+Space", [](const std::string& l) { return l == "SAY GPS resumed."; });
  send_fix_until(s, pty, 40, 120040, starting("SAY Road 40"));

  // Closed while the receiver is silent: the reader does not wait for a line.
  s.ask("IDM_NMEADISCONNECT", [](const std::string& l) { return l == "SAY GPS disconnected."; });

  // Connected again, then unplugged.
  connect(s, pty);
  send_fix_until(s, pty, 41, 120041, starting("SAY Signal from 7 satellites."));
  const std::size_t unplugged = s.s.size();
  pty.unplug();
  s.expect("SAY GPS disconnected.", unplugged);
  // The source is gone: no time to tell.
  s.s.send("C");
  const std::size_t sats = s.ask("S", starting("SAY Satellites "));
  EXPECT_EQ(s.between(unplugged, sats, "SAY 12:"), std::vector<std::string>{});

  // Plugged in again, it is followed again.
  test::Pty again;
  again.close_slave();
  connect(s, again);
  send_fix_until(s, again, 42, 120042, starting("SAY Signal from 7 satellites."));
  EXPECT_EQ(s.s.finish(), 0);
}

}  // namespace
}  // namespace orvela::gps
