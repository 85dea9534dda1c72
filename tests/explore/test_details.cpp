// The tags and the id of the object under the user, the map's history and
// the statistics of the last load.
#include <gtest/gtest.h>

#include "search_world.h"

namespace orvela::explore::test {
namespace {

// Main Street along row 75 through the user's cell with three tags; a
// point with an id beyond 32 bits and one tag at (80, 80); an untagged
// point at (70, 70); the point sharing the street's row id carries a tag
// the street must not show.
void make_map(SearchWorld& w) {
  MapBuilder b(w.map_path());
  const int64_t street =
      b.line(obj('l', "Main Street", "residential road"), {w.at(70.5, 75.5), w.at(80.5, 75.5)});
  b.tag('l', street, "name", "Main Street");
  b.tag('l', street, "highway", "residential");
  b.tag('l', street, "surface", "asphalt");
  const int64_t twin = b.point(obj('p', "Twin", "shop"), w.at(60.5, 60.5).Y, w.at(60.5, 60.5).X);
  ASSERT_EQ(twin, street);
  b.tag('p', twin, "shop", "kiosk");
  b.point(obj('p', "Plain", "bench"), w.at(70.5, 70.5).Y, w.at(70.5, 70.5).X);
  const int64_t big = b.point(obj('p', "Far id", "shop"), w.at(80.5, 80.5).Y, w.at(80.5, 80.5).X);
  b.exec("update orvel_poi set id=5000000000 where id=" + std::to_string(big) + ";");
  b.tag('p', 5000000000, "operator", "Gemeinde");
}

TEST(Details, TagsAndIdOfTheObjectUnderTheUser) {
  struct Case {
    const char* where;
    double x, y;
    bool has_tags;
    Lines said;  // SAYTAGS, then SAYID
  };
  const Case cases[] = {
      {"tagged street",
       75.5,
       75.5,
       true,
       {"name=Main Street\\nhighway=residential\\nsurface=asphalt", "1"}},
      {"id beyond 32 bits", 80.5, 80.5, true, {"operator=Gemeinde", "5000000000"}},
      {"no tags", 70.5, 70.5, false, {"2"}},
      {"empty cell", 20.5, 20.5, false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    SearchWorld w;
    make_map(w);
    ASSERT_TRUE(w.load());
    w.console.out.str("");
    w.user.UPOSX = c.x;
    w.user.UPOSY = c.y;
    EXPECT_EQ(w.details.CUROBJHASTAGS(), c.has_tags);
    w.details.SAYTAGS();
    w.details.SAYID();
    EXPECT_EQ(w.said(), c.said);
  }
}

TEST(Details, ShowTagsOpensTheTextOnlyWhenThereAreTags) {
  SearchWorld w("\n");
  make_map(w);
  ASSERT_TRUE(w.load());
  w.console.out.str("");
  w.details.SHOWTAGS();
  EXPECT_EQ(w.out(), (Lines{"TEXT Tags: Tags:", "| name=Main Street", "| highway=residential",
                            "| surface=asphalt"}));
  w.console.out.str("");
  w.user.UPOSX = 20.5;
  w.details.SHOWTAGS();
  EXPECT_TRUE(w.out().empty());
}

TEST(Details, MapHistoryNewestFirstOrNone) {
  struct Case {
    const char* what;
    const char* sql;
    Lines shown;
  };
  const Case cases[] = {
      {"fresh map", "", {"INFO Brak historii tej mapy"}},
      {"no history tables",
       "drop table orvel_logentry; drop table orvel_logentryfiles;",
       {"INFO Brak historii tej mapy"}},
      {"two updates",
       "insert into orvel_logentry (id, datetime, msg) values (1, 1700000000, 'first'), (2, "
       "1714557600, 'roads of Vaduz');"
       "insert into orvel_logfile (logfileid, logfile) values (1, 'vaduz.osm'), (2, 'a.osm');"
       "insert into orvel_logentryfiles (logentryid, logfileid) values (2, 1), (2, 2), (1, 2);",
       {"TEXT Historia mapy: Historia", "| 2024-05-01 10:00", "| roads of Vaduz",
        "| (a.osm, vaduz.osm)", "| ", "| 2023-11-14 22:13", "| first", "| (a.osm)", "| "}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SearchWorld w("\n");
    {
      MapBuilder b(w.map_path());
      if (*c.sql) b.exec(c.sql);
    }
    ASSERT_TRUE(w.load());
    w.console.out.str("");
    w.details.MAPHISTORY();
    EXPECT_EQ(w.out(), c.shown);
  }
  SearchWorld no_map;
  no_map.details.MAPHISTORY();
  EXPECT_EQ(no_map.out(), Lines{"SAY No map selected."});
}

TEST(Details, StatisticsOfTheLastLoad) {
  SearchWorld w;
  w.details.AREASTATS();
  { MapBuilder b(w.map_path()); }
  ASSERT_TRUE(w.load());
  w.details.AREASTATS();
  const std::string zeros =
      "INFO 0 objects \\n0 points \\n0 adresses \\n0 intersections \\n0 lines \\n0 objects with "
      "height level\\n0 polygons.";
  const Lines out = w.out();
  ASSERT_EQ(out.size(), 3u);  // the statistics, the title, the statistics
  EXPECT_EQ(out[0], zeros);
  EXPECT_EQ(out[2], zeros);

  SearchWorld town;
  make_map(town);
  ASSERT_TRUE(town.load());
  town.console.out.str("");
  town.details.AREASTATS();
  EXPECT_EQ(town.out(),
            Lines{"INFO 4 objects \\n3 points \\n0 adresses \\n0 intersections \\n1 lines \\n0 "
                  "objects with height level\\n0 polygons."});
}

}  // namespace
}  // namespace orvela::explore::test
