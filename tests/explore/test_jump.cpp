// Jumps to typed coordinates and QTH locators, with the question first.
#include <gtest/gtest.h>

#include <cmath>

#include "map/qth.h"
#include "support/explore_world.h"

namespace orvela::explore {
namespace {

using test::ExploreWorld;
using test::MapBuilder;
using test::MapObject;

// A map with a point at HOME and one 1 km north of it.
void make_map(ExploreWorld& w, const std::string& name = "test.orvel") {
  MapBuilder b(w.map_path(name));
  MapObject o;
  o.type = 'p';
  o.typ = "church";
  o.name = "St. Florin";
  b.point(o, test::HOME_LAT, test::HOME_LON);
  o.name = "North chapel";
  b.point(o, test::HOME_LAT + 8993, test::HOME_LON);
}

std::vector<std::string> lines_starting(const std::vector<std::string>& out,
                                        const std::string& prefix) {
  std::vector<std::string> v;
  for (const auto& l : out)
    if (l.starts_with(prefix)) v.push_back(l);
  return v;
}

TEST(Jump, ConfirmedJumpLoadsAndAnnounces) {
  ExploreWorld w("47.149993 9.521000\ny\n");
  make_map(w);
  ASSERT_TRUE(w.load());
  w.settings.UDIRMODE = 4;
  w.ex.GOTOCORDS();
  auto out = w.out();
  EXPECT_EQ(lines_starting(out, "INPUT "),
            std::vector<std::string>{
                "INPUT Go to coordinates: Enter decimal latitude and longitude separated by "
                "space [47.141000 9.521000]"});
  EXPECT_EQ(lines_starting(out, "ASK "),
            std::vector<std::string>{"ASK Do you want to jump 1000 metres North ?"});
  EXPECT_EQ(w.user.ULAT, 47149993);
  EXPECT_EQ(w.user.UPOSX, 75.0);
  EXPECT_EQ(w.said().back(), "church North chapel");
}

TEST(Jump, DeclinedOrRefusedEntriesChangeNothing) {
  struct Case {
    const char* input;
    const char* info;  // message box shown, or "" for none
  };
  const std::vector<Case> cases = {
      {"47.2 9.6\nn\n", ""},
      {":cancel\n", ""},
      {"   \n", ""},
      {"47 9\n", "INFO No latitude and longitude given"},
      {"47.2 9\n", "INFO No longitude given."},
      {".5 1.5\n", "INFO No longitude given."},
      {"95.0 10.0\n", "INFO Coordinates out of range."},
      {"45.0 -181.5\n", "INFO Coordinates out of range."},
  };
  for (const auto& c : cases) {
    ExploreWorld w(c.input);
    make_map(w);
    ASSERT_TRUE(w.load());
    w.user.UPOSX = 80.3;
    int32_t ilobj = w.grid.ILOBJ, minlat = w.grid.MINLAT;
    w.ex.GOTOCORDS();
    EXPECT_EQ(w.user.ULAT, test::HOME_LAT) << c.input;
    EXPECT_EQ(w.user.ULON, test::HOME_LON) << c.input;
    EXPECT_EQ(w.user.UPOSX, 80.3) << c.input;
    EXPECT_EQ(w.grid.ILOBJ, ilobj) << c.input;
    EXPECT_EQ(w.grid.MINLAT, minlat) << c.input;
    EXPECT_EQ(w.loader.FN(), w.map_path().string()) << c.input;
    auto infos = lines_starting(w.out(), "INFO ");
    if (*c.info) {
      EXPECT_EQ(infos, std::vector<std::string>{c.info}) << c.input;
      EXPECT_TRUE(lines_starting(w.out(), "ASK ").empty()) << c.input;
    } else {
      EXPECT_TRUE(infos.empty()) << c.input;
    }
  }
}

TEST(Jump, WithoutAKnownPositionThereIsNoQuestion) {
  ExploreWorld w("47.141 9.521\n");
  make_map(w);
  w.loader.set_FN(w.map_path().string());
  w.user.ULATLONSET = false;
  w.ex.GOTOCORDS();
  EXPECT_TRUE(lines_starting(w.out(), "ASK ").empty());
  EXPECT_EQ(lines_starting(w.out(), "INPUT ").front().back(), ']');
  EXPECT_TRUE(lines_starting(w.out(), "INPUT ").front().ends_with("[]"));
  EXPECT_TRUE(w.user.ULATLONSET);
  EXPECT_EQ(w.said().back(), "church St. Florin");
}

TEST(Jump, QthLocator) {
  struct Case {
    const char* input;
    bool jumps;
    const char* info;
  };
  const std::vector<Case> cases = {
      {"jn47ud\ny\n", true, ""},
      {"  JN47UD44  \ny\n", true, ""},
      {"JS82\n", false, "INFO Invalid QTH locator entered."},
      {"JN47u\n", false, "INFO Invalid QTH locator entered."},
      {"\n", false, ""},
      {":cancel\n", false, ""},
  };
  for (const auto& c : cases) {
    ExploreWorld w(c.input);
    make_map(w);
    ASSERT_TRUE(w.load());
    w.ex.GOTOQTHLOC();
    auto out = w.out();
    std::string expect_prefill =
        "[" + map::LATLON2QTH(test::HOME_LAT / 1e6, test::HOME_LON / 1e6) + "]";
    EXPECT_TRUE(lines_starting(out, "INPUT Go to QTH location: Enter QTH locator ")
                    .front()
                    .ends_with(expect_prefill));
    if (c.jumps) {
      double lat = 0, lon = 0;
      std::string typed(c.input);
      ASSERT_TRUE(map::QTH2LATLON(typed.substr(0, typed.find('\n')), lat, lon));
      EXPECT_EQ(w.user.ULAT, static_cast<int32_t>(std::lround(lat * 1e6))) << c.input;
      EXPECT_EQ(w.user.ULON, static_cast<int32_t>(std::lround(lon * 1e6))) << c.input;
    } else {
      EXPECT_EQ(w.user.ULAT, test::HOME_LAT) << c.input;
    }
    auto infos = lines_starting(out, "INFO ");
    if (*c.info)
      EXPECT_EQ(infos, std::vector<std::string>{c.info}) << c.input;
    else
      EXPECT_TRUE(infos.empty()) << c.input;
  }
}

TEST(Jump, AStoredMapNameSwitchesTheMapBeforeLoading) {
  ExploreWorld w;
  make_map(w, "one.orvel");
  make_map(w, "two.orvel");
  ASSERT_TRUE(w.load("one.orvel"));
  ASSERT_TRUE(w.ex.GOTOLATLON(test::HOME_LAT, test::HOME_LON, true, "two.orvel"));
  EXPECT_EQ(w.loader.FN(), w.map_path("two.orvel").string());
  EXPECT_EQ(w.grid.ILOBJ, 1);  // the chapel lies beyond the 750 m of a zoom-2 grid
  EXPECT_EQ(w.out().back(), "SAY church St. Florin");
}

}  // namespace
}  // namespace orvela::explore
