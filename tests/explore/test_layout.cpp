// The roads at an intersection, told from the lines of the map file.
#include <gtest/gtest.h>

#include "support/explore_world.h"

namespace orvela::explore {
namespace {

using test::ExploreWorld;
using test::map_object;
using test::MapBuilder;

// An intersection at HOME: Landstrasse mapped in two pieces meeting there
// (east and west), Bergstrasse leaving to the north-west after a kink of a
// metre, an unnamed service road ending there from the south. A bridge
// passes straight over the node without sharing it, and a car park's
// outline has a corner on it: neither is a road leaving the intersection.
struct Crossroads : ::testing::Test {
  void SetUp() override {
    {
      MapBuilder b(w.map_path());
      const map::POINT n = w.at(75, 75);
      b.line(map_object('l', "Landstrasse", "road main"), {n, w.at(95, 75)});
      b.line(map_object('l', "Landstrasse", "road main"), {w.at(55, 75), n});
      b.line(map_object('l', "Bergstrasse", "road local"), {n, w.at(75.1, 75.1), w.at(65, 85)});
      b.line(map_object('l', "", "road service"), {w.at(75, 60), n});
      b.line(map_object('l', "Bridge", "road motorway"), {w.at(65, 65), w.at(85, 85)});
      b.line(map_object('o', "Car park", "parking"), {n, w.at(80, 70), w.at(75, 65), n});
      b.point(map_object('n', "Bergstrasse Landstrasse", ""), n.Y, n.X);
    }
    ASSERT_TRUE(w.load());
  }
  std::string layout() {
    w.ex.SAYLAYOUT();
    auto said = w.said();
    return said.empty() ? std::string() : said.back();
  }
  ExploreWorld w;
};

TEST_F(Crossroads, EachRoadWithItsDirectionClockwiseFromTheFacing) {
  struct Case {
    uint8_t mode;
    int32_t udir;
    const char* said;
  };
  const Case cases[] = {
      {0, 0,
       "Landstrasse at hour 3, road service at hour 6, Landstrasse at hour 9, Bergstrasse at hour "
       "10:30"},
      {0, 90,
       "Landstrasse at hour 0, road service at hour 3, Landstrasse at hour 6, Bergstrasse at hour "
       "7:30"},
      {2, 300,
       "Bergstrasse 15 degrees to the right, Landstrasse 150 degrees to the right, road service "
       "120 degrees to the left, Landstrasse 30 degrees to the left"},
      {4, 200, "Landstrasse West, Bergstrasse Northwest, Landstrasse East, road service South"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.said);
    w.settings.UDIRMODE = c.mode;
    w.ex.SETUDIR(c.udir);
    EXPECT_EQ(layout(), c.said);
  }
}

TEST_F(Crossroads, TheSameAtEveryZoomLevel) {
  for (uint8_t ilev : {0, 2, 5, 8, 11}) {
    SCOPED_TRACE(int{ilev});
    w.grid.ILEV = ilev;
    w.grid.SETILEV();
    ASSERT_TRUE(w.load());
    EXPECT_EQ(layout(),
              "Landstrasse at hour 3, road service at hour 6, Landstrasse at hour 9, Bergstrasse "
              "at hour 10:30");
  }
}

TEST_F(Crossroads, BesideTheIntersectionButNotFartherAway) {
  const std::string all =
      "Landstrasse at hour 3, road service at hour 6, Landstrasse at hour 9, Bergstrasse at hour "
      "10:30";
  w.user.UPOSX = 76.5;  // on Landstrasse, the next cell east
  w.ex.UPDULATLON();
  EXPECT_EQ(layout(), all);
  w.user.UPOSX = 77.5;
  w.ex.UPDULATLON();
  EXPECT_EQ(layout(), "No intersection here.");
}

TEST(Layout, NoMapNoIntersection) {
  ExploreWorld w;
  w.ex.SAYLAYOUT();
  EXPECT_EQ(w.said(), std::vector<std::string>{"No map selected."});
  {
    MapBuilder b(w.map_path());
    b.line(map_object('l', "Lonely Road", "road local"), {w.at(70, 75), w.at(80, 75)});
  }
  ASSERT_TRUE(w.load());
  w.ex.SAYLAYOUT();
  EXPECT_EQ(w.said().back(), "No intersection here.");
}

}  // namespace
}  // namespace orvela::explore
