// Walking along a road to the next intersection.
#include <gtest/gtest.h>

#include "map/geo.h"
#include "support/explore_world.h"
#include "text/distance.h"

namespace orvela::explore {
namespace {

using test::ExploreWorld;
using test::map_object;
using test::MapBuilder;

// Mill Street runs east from a dead end (column 60) over the intersection
// with Cedar Avenue at HOME (75), a pedestrian crossing (82) and the
// intersection with Damson Avenue (90) on to column 115, mapped in two
// pieces that meet at column 100. A park lies to the north-west.
struct MillStreet : ::testing::Test {
  void SetUp() override {
    {
      MapBuilder b(w.map_path());
      b.line(map_object('l', "Mill Street", "road main"), {A(), I1(), P(), I2(), J()});
      b.line(map_object('l', "Mill Street", "road main"), {J(), E()});
      b.line(map_object('l', "Cedar Avenue", "road local"), {w.at(75, 60), I1(), w.at(75, 90)});
      b.line(map_object('l', "Damson Avenue", "road local"), {w.at(90, 60), I2(), w.at(90, 90)});
      b.line(map_object('o', "Willow Park", "park"),
             {w.at(60, 85), w.at(70, 85), w.at(70, 95), w.at(60, 95), w.at(60, 85)});
      b.point(map_object('n', "Cedar Avenue Mill Street", ""), I1().Y, I1().X);
      b.point(map_object('n', "Damson Avenue Mill Street", ""), I2().Y, I2().X);
      b.point(map_object('p', "", "pedestrian crossing"), P().Y, P().X);
    }
    ASSERT_TRUE(w.load());
  }
  map::POINT A() const { return w.at(60, 75); }
  map::POINT I1() const { return w.at(75, 75); }
  map::POINT P() const { return w.at(82, 75); }
  map::POINT I2() const { return w.at(90, 75); }
  map::POINT J() const { return w.at(100, 75); }
  map::POINT E() const { return w.at(115, 75); }

  // Walks and returns what was said about it.
  std::string walk(bool back) {
    w.ex.WALKSTREET(back);
    auto said = w.said();
    return said.empty() ? std::string() : said.back();
  }
  map::POINT user() const { return {w.user.ULON, w.user.ULAT}; }
  // ", 150 metres": the length of the road through `points`, as spoken.
  static std::string metres(std::initializer_list<map::POINT> points) {
    int32_t m = 0;
    for (auto a = points.begin(), b = a + 1; b != points.end(); ++a, ++b)
      m += map::GEODIST(a->Y, a->X, b->Y, b->X);
    return ", " + text::DISTANCETOSTR(m);
  }
  void stand(double x, double y, int32_t udir) {
    w.user.UPOSX = x;
    w.user.UPOSY = y;
    w.ex.UPDULATLON();
    w.ex.SETUDIR(udir);
  }
  ExploreWorld w;
};

TEST_F(MillStreet, AheadPastTheCrossingToTheNextIntersection) {
  w.ex.SETUDIR(80);  // the road east is the nearest to the facing
  EXPECT_EQ(walk(false), "Damson Avenue Mill Street" + metres({I1(), P(), I2()}));
  EXPECT_EQ(user(), I2());
  EXPECT_EQ(w.user.UDIR, 90);
  EXPECT_EQ(static_cast<int>(w.user.UPOSX), 90);
}

TEST_F(MillStreet, OnOverTheJointOfItsPiecesToTheEndAndBack) {
  w.ex.SETUDIR(90);
  walk(false);
  const std::string to_end = walk(false);
  EXPECT_EQ(user(), E());
  EXPECT_TRUE(to_end.starts_with("Mill Street")) << to_end;
  EXPECT_TRUE(to_end.ends_with(metres({I2(), J(), E()}))) << to_end;
  // Back returns along the same road, still facing east.
  EXPECT_EQ(walk(true), "Damson Avenue Mill Street" + metres({E(), J(), I2()}));
  EXPECT_EQ(user(), I2());
  EXPECT_EQ(w.user.UDIR, 90);
  EXPECT_EQ(walk(true), "Cedar Avenue Mill Street" + metres({I2(), P(), I1()}));
  EXPECT_EQ(user(), I1());
}

TEST_F(MillStreet, TheRoadNearestToTheFacingIsTaken) {
  struct Case {
    int32_t udir;
    map::POINT to;
    int32_t facing;
  };
  const Case cases[] = {{350, w.at(75, 90), 0}, {190, w.at(75, 60), 180}, {280, A(), 270}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.udir);
    w.user.ULAT = test::HOME_LAT;
    w.user.ULON = test::HOME_LON;
    ASSERT_TRUE(w.load());
    w.ex.SETUDIR(c.udir);
    walk(false);
    EXPECT_EQ(user(), c.to);
    EXPECT_EQ(w.user.UDIR, c.facing);
  }
}

TEST_F(MillStreet, TheSameWalkAtEveryZoomLevel) {
  for (uint8_t ilev : {0, 2, 5, 8, 11}) {
    SCOPED_TRACE(int{ilev});
    w.grid.ILEV = ilev;
    w.grid.SETILEV();
    w.user.ULAT = test::HOME_LAT;
    w.user.ULON = test::HOME_LON;
    ASSERT_TRUE(w.load());
    w.ex.SETUDIR(90);
    EXPECT_TRUE(walk(false).ends_with(metres({I1(), P(), I2()})));
    EXPECT_EQ(user(), I2());
  }
}

TEST_F(MillStreet, FromTheMiddleOfARoadOrACrossing) {
  stand(68.5, 75.5, 260);  // on Mill Street between its dead end and Cedar Avenue
  EXPECT_TRUE(walk(false).ends_with(metres({w.at(68, 75), A()})));
  EXPECT_EQ(user(), A());
  EXPECT_EQ(w.user.UDIR, 270);
  stand(82.5, 75.5, 100);  // the crossing holds the cell; Mill Street passes through it
  EXPECT_EQ(walk(false), "Damson Avenue Mill Street" + metres({P(), I2()}));
}

TEST_F(MillStreet, OffTheRoad) {
  for (auto [x, y] : {std::pair{65.5, 90.5}, std::pair{100.5, 100.5}}) {
    stand(x, y, 0);
    const map::POINT before = user();
    EXPECT_EQ(walk(false), "No road here.");
    EXPECT_EQ(user(), before);
  }
}

}  // namespace
}  // namespace orvela::explore
