// Steps, turns and the reload near the grid's edge.
#include <gtest/gtest.h>

#include "support/explore_world.h"

namespace orvela::explore {
namespace {

using test::ExploreWorld;
using test::MapBuilder;
using test::MapObject;

MapObject shop(std::string name) {
  MapObject o;
  o.type = 'p';
  o.name = std::move(name);
  o.typ = "shop";
  return o;
}

struct Walk : ::testing::Test {
  void SetUp() override {
    {
      MapBuilder b(w.map_path());
      map::POINT p = w.at(76.5, 76.5);
      b.point(shop("Bakery"), p.Y, p.X);
    }
    ASSERT_TRUE(w.load());
  }
  ExploreWorld w;
};

TEST_F(Walk, DiagonalStepsReachANewCellEveryOtherTime) {
  w.ex.SETUDIR(45);
  w.ex.UDIRMOVE(0);
  EXPECT_DOUBLE_EQ(w.user.UPOSX, 75.71);
  EXPECT_DOUBLE_EQ(w.user.UPOSY, 75.71);
  EXPECT_TRUE(w.said().empty());
  w.ex.UDIRMOVE(0);
  EXPECT_DOUBLE_EQ(w.user.UPOSX, 76.42);
  EXPECT_DOUBLE_EQ(w.user.UPOSY, 76.42);
  EXPECT_EQ(w.said(), std::vector<std::string>{"shop Bakery"});
  // The user snaps to the point drawn in the cell.
  map::POINT p = w.at(76.5, 76.5);
  EXPECT_EQ(w.user.ULAT, p.Y);
  EXPECT_EQ(w.user.ULON, p.X);
}

TEST_F(Walk, SidewaysAndBackwardStepsNeverTurn) {
  struct Case {
    int32_t udir, kierinc;
    double x, y;
  };
  const std::vector<Case> cases = {
      {90, -90, 75, 76}, {90, 90, 75, 74}, {90, 180, 74, 75}, {0, 0, 75, 76}, {270, 0, 74, 75}};
  for (const auto& c : cases) {
    w.user.UPOSX = w.user.UPOSY = 75;
    w.ex.SETUDIR(c.udir);
    w.ex.UDIRMOVE(c.kierinc);
    EXPECT_DOUBLE_EQ(w.user.UPOSX, c.x) << c.udir << " " << c.kierinc;
    EXPECT_DOUBLE_EQ(w.user.UPOSY, c.y) << c.udir << " " << c.kierinc;
    EXPECT_EQ(w.user.UDIR, c.udir);
  }
}

TEST_F(Walk, ReloadOnlyWithinTenCellsOfTheEdge) {
  struct Case {
    double from;
    bool reload;
  };
  for (const Case& c : {Case{139.5, true}, Case{139.0, false}}) {
    ASSERT_EQ(w.loader.READMAP().status, map::MapStatus::Loaded);
    w.ex.SETUDIR(90);
    w.user.UPOSX = c.from;
    w.user.UPOSY = 75;
    w.ex.UDIRMOVE(0);
    if (c.reload) {
      EXPECT_EQ(w.user.UPOSX, 75.0) << c.from;
      // The new grid is centred on where the step ended.
      int32_t lat = 0, lon = 0;
      w.area.YXTOLATLON(75, 140.5, lat, lon);
      EXPECT_EQ(w.grid.MINLON + 75 * w.grid.XLON, lon);
    } else {
      EXPECT_EQ(w.user.UPOSX, 140.0) << c.from;
    }
  }
}

TEST_F(Walk, TurningWrapsAndSpeaksWithoutInterrupting) {
  w.settings.UDIRMODE = 3;
  w.ex.INCUDIR(-15);
  EXPECT_EQ(w.user.UDIR, 345);
  EXPECT_EQ(w.messages.LASTSAY(), "Your direction 15 degrees to the left  of north");
  EXPECT_FALSE(w.messages.SPEAKINTERRUPT());
  w.ex.INCUDIR(-w.user.UDIR);
  EXPECT_EQ(w.user.UDIR, 0);
  w.user.USTEPSIZE = 3;
  w.ex.INCUDIR(180);
  EXPECT_EQ(w.user.UDIR, 180);
  EXPECT_EQ(w.user.USTEPSIZE, 1.0);
}

TEST(Movement, WithoutAMapNothingMoves) {
  ExploreWorld w;
  w.ex.UDIRMOVE(0);
  EXPECT_EQ(w.user.UPOSY, 75.0);
  EXPECT_EQ(w.said(), std::vector<std::string>{"No map selected."});
}

}  // namespace
}  // namespace orvela::explore
