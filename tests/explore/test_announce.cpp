// What is said on arrival in a cell and on request.
#include <gtest/gtest.h>

#include "support/explore_world.h"

namespace orvela::explore {
namespace {

using test::ExploreWorld;
using test::MapBuilder;
using test::MapObject;

MapObject obj(char type, std::string name, std::string typ) {
  MapObject o;
  o.type = type;
  o.name = std::move(name);
  o.typ = std::move(typ);
  return o;
}

// A street running east along row 75 (level 1 from column 80 on), a
// footbridge, a pond, a nameless point and a café with a city.
struct Town : ::testing::Test {
  void SetUp() override {
    {
      MapBuilder b(w.map_path());
      b.line(obj('l', "Main street", "droga gminna"), {w.at(70.5, 75.5), w.at(79.5, 75.5)});
      b.line(obj('l', "", "kładka"), {w.at(80.5, 75.5), w.at(84.5, 75.5)}, {{0, 1}, {1, 1}});
      b.line(obj('o', "Pond", "water"), {w.at(60, 60), w.at(65, 60), w.at(65, 65), w.at(60, 65)});
      map::POINT p = w.at(75.5, 80.5);
      b.point(obj('p', "", ""), p.Y, p.X);
      MapObject cafe = obj('p', "Cafe Linde", "restaurant");
      cafe.city = "Vaduz";
      map::POINT q = w.at(75.5, 85.5);
      b.point(cafe, q.Y, q.X);
    }
    ASSERT_TRUE(w.load());
    w.settings.UDIRMODE = 3;  // degrees from north
  }
  void stand(double x, double y) {
    w.user.UPOSX = x;
    w.user.UPOSY = y;
  }
  ExploreWorld w;
};

TEST_F(Town, NamedRoadThenSilenceForTheSameSector) {
  w.ex.SETUDIR(90);
  w.ex.UDIRMOVE(0);  // onto (76, 75)
  w.ex.UDIRMOVE(0);  // (77, 75): same street, same sector
  EXPECT_EQ(w.said(),
            (std::vector<std::string>{"Main street direction 90 degrees to the right  of north",
                                      "Main street"}));
}

TEST_F(Town, RelativeModesTellTheLineAsSeenByTheUser) {
  w.settings.UDIRMODE = 0;
  w.ex.SETUDIR(90);
  w.ex.UDIRMOVE(0);
  EXPECT_EQ(w.said(), std::vector<std::string>{"Main street direction at hour 0"});
  w.ex.SETUDIR(0);
  EXPECT_EQ(w.ex.CUROBJKIERSTR(false), " direction at hour 3 ");
}

TEST_F(Town, HeightLevelChangesAreAnnouncedAlsoOnEmptyCells) {
  stand(79.5, 75.5);
  w.ex.SAYPOS();
  w.ex.SETUDIR(90);
  w.ex.UDIRMOVE(0);  // (80, 75): the footbridge at level 1
  w.ex.UDIRMOVE(0);  // (81, 75): still level 1, same sector
  w.ex.SETUDIR(0);
  w.ex.UDIRMOVE(0);  // (81, 76): empty, back at level 0
  w.ex.UDIRMOVE(0);  // (81, 77): empty at the same level: silent
  EXPECT_EQ(w.said(),
            (std::vector<std::string>{"Main street direction 90 degrees to the right  of north",
                                      "kładka height level 1", "kładka", "height level 0"}));
}

TEST_F(Town, PointsAreaAndBookmarks) {
  struct Case {
    double x, y;
    const char* said;
  };
  const std::vector<Case> cases = {
      {75.5, 80.5, "point"},
      {75.5, 85.5, "restaurant Cafe Linde"},
      {62.5, 62.5, "Pond"},
  };
  for (const auto& c : cases) {
    stand(c.x, c.y);
    w.ex.SAYPOS();
    EXPECT_EQ(w.messages.LASTSAY(), c.said);
  }
  w.ex.hooks.bookmark_at = [](int x, int y) -> std::optional<std::string> {
    if (x == 76 && y == 75) return "Home";
    return std::nullopt;
  };
  stand(76.2, 75.3);
  w.ex.SAYPOS();
  EXPECT_EQ(w.messages.LASTSAY(), "Bookmark Home");
}

TEST_F(Town, TypeAndAddress) {
  struct Case {
    double x, y;
    const char* said;
  };
  const std::vector<Case> cases = {
      {75.5, 85.5, "restaurant point City: Vaduz. "},
      {75.5, 80.5, "point "},
      {76.5, 75.5, "droga gminna line "},
      {62.5, 62.5, "water polygon "},
      {100.5, 100.5, "Empty"},
  };
  for (const auto& c : cases) {
    stand(c.x, c.y);
    w.ex.SAYTYP();
    EXPECT_EQ(w.messages.LASTSAY(), c.said) << c.x << " " << c.y;
  }
}

TEST_F(Town, DirectionAndLevelOnRequest) {
  stand(76.5, 75.5);
  w.user.LASTKIER = 6;
  w.ex.SAYDIRECTION();
  EXPECT_EQ(w.messages.LASTSAY(), " direction 90 degrees to the right  of north");
  w.ex.SAYHLEVEL();
  EXPECT_EQ(w.messages.LASTSAY(), " height level 0");
  stand(62.5, 62.5);  // areas have no direction: nothing said
  w.ex.SAYDIRECTION();
  EXPECT_EQ(w.messages.LASTSAY(), " height level 0");
}

TEST_F(Town, CellDescriptionForBookmarkNames) {
  EXPECT_EQ(w.ex.GETMAPASTR(76.5, 75.5), "Main street");
  EXPECT_EQ(w.ex.GETMAPASTR(82.5, 75.5), "kładka");
  EXPECT_EQ(w.ex.GETMAPASTR(75.5, 85.5), "restaurant Cafe Linde");
  EXPECT_EQ(w.ex.GETMAPASTR(75.5, 80.5), "");
  EXPECT_EQ(w.ex.GETMAPASTR(100.5, 100.5), "");
}

TEST_F(Town, LastMessageWindow) {
  w.messages.EDA("Main street");
  w.ex.SHOWLASTSAY();
  auto out = w.out();
  ASSERT_GE(out.size(), 2u);
  EXPECT_EQ(out[out.size() - 2], "TEXT Last message: Last spoken message");
  EXPECT_EQ(out.back(), "| Main street");
}

TEST(TypeWords, EveryLetter) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"n", "intersection"}, {"a", "address"}, {"p", "point"}, {"l", "line"},
      {"o", "polygon"},      {"x", "unknown"}, {"", "unknown"}};
  for (const auto& [letter, word] : cases) EXPECT_EQ(GETOBJTYPEDESC(letter), word) << letter;
}

}  // namespace
}  // namespace orvela::explore
