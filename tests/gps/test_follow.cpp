// Following fixes on the map: when the user is moved, when turned, and
// what is said about the signal.
#include <gtest/gtest.h>

#include "gps/follow.h"
#include "support/explore_world.h"
#include "text/strutil.h"

namespace orvela::gps {
namespace {

using orvela::test::HOME_LAT;
using orvela::test::HOME_LON;

class Following : public ::testing::Test {
 protected:
  void SetUp() override {
    {
      // Something to load: the grid (and so the cells fixes are measured
      // in) exists once a map is open.
      orvela::test::MapBuilder b(w.map_path());
      orvela::test::MapObject o;
      o.type = 'p';
      o.typ = "bench";
      b.point(o, HOME_LAT + 5000, HOME_LON + 5000);
    }
    ASSERT_TRUE(w.load());
    w.settings.UDIRMODE = 4;  // the eight-point compass
  }

  // A fix at grid position (x, y) of a load around HOME.
  GPSSTATEREC fix_at(double x, double y, uint8_t sat = 6) const {
    const map::POINT p = w.at(x, y);
    return {.TIME = 120000, .LAT = p.Y, .LON = p.X, .FIX = 1, .SAT = sat};
  }
  bool stands_at(double x, double y) const {
    const map::POINT p = w.at(x, y);
    return w.user.ULAT == p.Y && w.user.ULON == p.X;
  }
  // What was said since the last call, trailing blanks removed.
  std::vector<std::string> said() {
    std::vector<std::string> all = w.said(), fresh;
    for (std::size_t i = seen_; i < all.size(); ++i)
      fresh.emplace_back(text::trim_right(all[i], " "));
    seen_ = all.size();
    return fresh;
  }

  orvela::test::ExploreWorld w;
  GpsSettings settings;
  Follower f{w.ex, w.grid, w.messages, w.tables, w.settings, settings};
  std::size_t seen_ = 0;
};

using Said = std::vector<std::string>;

TEST_F(Following, MovesOnlyWhenTheFixIsMoreThanOneCellFromWhereTheUserWasPut) {
  w.user.ULAT = HOME_LAT + 300000;  // somewhere else entirely
  ASSERT_TRUE(f.follow(fix_at(75, 75), true));
  EXPECT_TRUE(stands_at(75, 75));
  struct Step {
    double x;
    bool moves;
  };
  // Drift adds up from the place the user was put, not from the last fix.
  const Step steps[] = {{76.4, false}, {76.6, true},  {77.0, false}, {78.0, false},
                        {78.2, true},  {77.0, false}, {76.6, true}};
  double at = 75;
  for (const Step& s : steps) {
    SCOPED_TRACE(s.x);
    EXPECT_EQ(f.follow(fix_at(s.x, 75), false), s.moves);
    if (s.moves) at = s.x;
    EXPECT_TRUE(stands_at(at, 75));
    EXPECT_EQ(f.PREVGPS().LON, w.at(at, 75).X);
  }
}

TEST_F(Following, SignalGainedAndLostIsSaidOnce) {
  GPSSTATEREC none{.TIME = 120000};
  struct Step {
    GPSSTATEREC gs;
    bool first;
    Said said;
    bool moves = false;
  };
  const Step steps[] = {
      {none, true, {"No signal."}},
      {none, false, {}},
      // The first fix moves the user (from the cleared position).
      {fix_at(75, 75, 4), false, {"Signal from 4 satellites."}, true},
      {fix_at(75.2, 75, 5), false, {}},
      {none, false, {"No signal."}},
      {fix_at(75, 75, 9), false, {"Signal from 9 satellites."}},
      // A new source: its first state is announced whatever came before.
      {fix_at(75, 75, 8), true, {"Signal from 8 satellites."}},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(f.follow(s.gs, s.first), s.moves);
    EXPECT_EQ(said(), s.said);
  }
}

TEST_F(Following, TurnsToTheDirectionOfTravelAndSaysItWhenItsWordsChange) {
  f.follow(fix_at(75, 75), true);
  // The way from the cleared state to the first fix is no direction of travel.
  EXPECT_EQ(w.user.UDIR, 0);
  said();
  struct Step {
    double x, y;
    int32_t udir;
    Said said;
  };
  const Step steps[] = {
      {78, 75, 90, {"Your direction East"}},
      // About 80 degrees: still "East" on the eight-point compass.
      {81, 75.5, 81, {}},
      {81, 72.5, 180, {"Your direction South"}},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.udir);
    ASSERT_TRUE(f.follow(fix_at(s.x, s.y), false));
    EXPECT_NEAR(w.user.UDIR, s.udir, 1);
    EXPECT_EQ(said(), s.said);
  }
  settings.GPS_AUTOUDIRCHANGE = false;
  ASSERT_TRUE(f.follow(fix_at(75, 72.5), false));
  EXPECT_NEAR(w.user.UDIR, 180, 1);
  EXPECT_EQ(said(), Said{});
}

TEST_F(Following, ARelativeModeSaysTheNewDirectionFromNorth) {
  w.settings.UDIRMODE = 0;  // clock face, relative to the user
  f.follow(fix_at(75, 75), true);
  said();
  ASSERT_TRUE(f.follow(fix_at(78, 75), false));
  EXPECT_EQ(said(), Said{"Your direction at hour 3  of north"});
}

TEST_F(Following, APositionOffTheWorldIsNoPlaceToGo) {
  f.follow(fix_at(75, 75), true);
  const std::size_t lines = w.out().size();
  GPSSTATEREC beyond = fix_at(75, 75);
  beyond.LAT = 95000000;
  EXPECT_FALSE(f.follow(beyond, false));
  EXPECT_TRUE(stands_at(75, 75));
  EXPECT_EQ(w.out().size(), lines);  // no box in the middle of a playback
}

TEST(FollowingBeforeALoad, TheFirstFixStillPutsTheUserThere) {
  // A map chosen before any position was known: no grid to measure in yet.
  orvela::test::ExploreWorld w;
  { orvela::test::MapBuilder b(w.map_path()); }
  w.loader.change_map(w.map_path().string());
  w.user.ULATLONSET = false;
  GpsSettings settings;
  Follower f{w.ex, w.grid, w.messages, w.tables, w.settings, settings};
  ASSERT_EQ(w.grid.XLON, 0);
  EXPECT_TRUE(f.follow({.LAT = HOME_LAT, .LON = HOME_LON, .FIX = 1, .SAT = 4}, true));
  EXPECT_EQ(w.user.ULAT, HOME_LAT);
  EXPECT_EQ(w.user.ULON, HOME_LON);
  EXPECT_NE(w.grid.XLON, 0);
}

}  // namespace
}  // namespace orvela::gps
