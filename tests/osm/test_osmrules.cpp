// Loading, sorting and matching the rules of "osm.rules".
#include <gtest/gtest.h>

#include <fstream>

#include "osm/osmrules.h"
#include "support/test_env.h"

namespace orvela::osm {
namespace {

using test::TempDir;

struct Loaded {
  OsmRules rules;
  std::vector<std::string> infos;
};

void load(Loaded& l, const std::string& content) {
  TempDir dir;
  std::ofstream(dir / "osm.rules", std::ios::binary) << content;
  ASSERT_TRUE(l.rules.OSMRULES_LOAD(dir / "osm.rules",
                                    [&](const std::string& s) { l.infos.push_back(s); }));
}

map::ORVOBJREC line() {
  map::ORVOBJREC o;
  o.OBJTYPE = "l";
  return o;
}

TEST(OsmRules, ParsesFieldsAndReportsFaultyLines) {
  Loaded l;
  load(l,
       "highway=primary\tmain road\t5\ta\n"
       " amenity=bench \t bench \n"
       "justonefield\n"
       "\tno name\t3\n"
       "\n"
       "landuse=forest\tforest\t300\ta\textra\n"
       "x=y\tz\tabc\tA\r\n"
       "w=v\tneg\t-1\n");
  EXPECT_EQ(l.infos, (std::vector<std::string>{"Osmrules: error in line 3",
                                               "osmrules: no name for rule in line 4",
                                               "Osmrules: error in line 5"}));
  const auto& r = l.rules.rules();
  ASSERT_EQ(r.size(), 5u);
  EXPECT_EQ(r[0].TAGNAMEVAL, "highway=primary");
  EXPECT_EQ(r[0].TYP, "main road");
  EXPECT_EQ(r[0].ENDLEV, 5);
  EXPECT_TRUE(r[0].LINETOAREA);
  EXPECT_EQ(r[1].TAGNAMEVAL, "amenity=bench");
  EXPECT_EQ(r[1].TYP, "bench");
  EXPECT_EQ(r[2].ENDLEV, 44);  // 300, low 8 bits
  EXPECT_TRUE(r[2].LINETOAREA);
  EXPECT_EQ(r[3].ENDLEV, 0);      // no leading number
  EXPECT_FALSE(r[3].LINETOAREA);  // only a lower-case "a" counts
  EXPECT_EQ(r[3].TYP, "z");       // a CR of a Windows line is not part of the field
  EXPECT_EQ(r[4].ENDLEV, 255);
}

TEST(OsmRules, LongLineIsCutAt255Bytes) {
  Loaded l;
  std::string typ(300, 't');
  load(l, "k=v\t" + typ + "\n");
  ASSERT_EQ(l.rules.rules().size(), 1u);
  EXPECT_EQ(l.rules.rules()[0].TYP.size(), 255u - 4u);
}

TEST(OsmRules, MissingFileFailsToLoad) {
  TempDir dir;
  OsmRules r;
  EXPECT_FALSE(r.OSMRULES_LOAD(dir / "absent.rules", nullptr));
  EXPECT_FALSE(r.OSMRULES_LOAD(dir.path(), nullptr));  // a folder is no rules file
}

TEST(OsmRules, SortIsStableAndMatchingFindsEveryRule) {
  Loaded l;
  // Reverse order, duplicates, keys that are prefixes of each other, bytes above 127.
  load(l,
       "z=1\tzed\n"
       "highway=primary\tfirst\n"
       "highway=prim\tshort\n"
       "highway\tkeyonly\n"
       "highway=primary\tsecond\n"
       "highway=primary_link\tlink\n"
       "name:de=Stra\xC3\x9F"
       "e\tumlaut\n"
       "a=b\tab\n"
       "highway=primary\tthird\n");
  l.rules.OSMRULES_SORT();
  const auto& r = l.rules.rules();
  for (size_t i = 1; i < r.size(); ++i) EXPECT_LE(OsmRules::OSMRULES_COMPARE(r[i - 1], r[i]), 0);
  std::vector<std::string> primaries;
  for (const auto& x : r) {
    if (x.TAGNAMEVAL == "highway=primary") {
      primaries.push_back(x.TYP);
    }
  }
  EXPECT_EQ(primaries, (std::vector<std::string>{"first", "second", "third"}));

  struct Case {
    TAGREC tag;
    bool found;
    std::string typ;
  } cases[] = {{{"z", "1"}, true, "zed"},
               {{"a", "b"}, true, "ab"},
               {{"highway", "prim"}, true, "short"},
               {{"highway", "primary_link"}, true, "link"},
               {{"name:de",
                 "Stra\xC3\x9F"
                 "e"},
                true,
                "umlaut"},
               {{"Highway", "primary"}, false, ""},
               {{"highway", ""}, false, ""},
               {{"highway", "primary2"}, false, ""},
               {{"", ""}, false, ""},
               {{"zz", "1"}, false, ""},
               {{"0", "0"}, false, ""}};
  for (const auto& c : cases) {
    map::ORVOBJREC o = line();
    EXPECT_EQ(l.rules.OSMRULES_OTAGPROC(c.tag, o), c.found) << c.tag.K << "=" << c.tag.V;
    EXPECT_EQ(o.TYP, c.typ) << c.tag.K << "=" << c.tag.V;
  }
  map::ORVOBJREC o = line();
  EXPECT_TRUE(l.rules.OSMRULES_OTAGPROC({"highway", "primary"}, o));
  EXPECT_TRUE(o.TYP == "first" || o.TYP == "second" || o.TYP == "third");
}

TEST(OsmRules, EffectsOnTheObject) {
  OsmRules rules;
  rules.add({"highway=primary", "main road", 5, true});
  rules.add({"building=yes", "building", 0, true});
  rules.add({"area=yes", "", 0, true});
  rules.add({"surface=asphalt", "asphalt", 2, false});
  rules.OSMRULES_SORT();

  map::ORVOBJREC way = line();
  way.ENDLEV = 3;
  EXPECT_TRUE(rules.OSMRULES_OTAGPROC({"highway", "primary"}, way));
  EXPECT_EQ(way.TYP, "main road");
  EXPECT_EQ(way.ENDLEV, 5);
  EXPECT_EQ(way.OBJTYPE, "o");
  // The last matching type wins; a zero level and an empty type change nothing.
  EXPECT_TRUE(rules.OSMRULES_OTAGPROC({"building", "yes"}, way));
  EXPECT_EQ(way.TYP, "building");
  EXPECT_EQ(way.ENDLEV, 5);
  EXPECT_TRUE(rules.OSMRULES_OTAGPROC({"area", "yes"}, way));
  EXPECT_EQ(way.TYP, "building");
  EXPECT_TRUE(rules.OSMRULES_OTAGPROC({"surface", "asphalt"}, way));
  EXPECT_EQ(way.ENDLEV, 2);

  map::ORVOBJREC node;
  node.OBJTYPE = "p";
  EXPECT_TRUE(rules.OSMRULES_OTAGPROC({"building", "yes"}, node));
  EXPECT_EQ(node.OBJTYPE, "p");  // a point never becomes an area

  OsmRules empty;
  EXPECT_FALSE(empty.OSMRULES_OTAGPROC({"highway", "primary"}, node));
}

TEST(OsmRules, BuiltInTags) {
  struct Case {
    TAGREC tag;
    bool taken;
    std::string map::ORVOBJREC::*field;
  } cases[] = {{{"name", "Main Street"}, true, &map::ORVOBJREC::NAME},
               {{"addr:street", "Elm"}, true, &map::ORVOBJREC::STREET},
               {{"addr:housenumber", "12a"}, true, &map::ORVOBJREC::HOUSENUM},
               {{"addr:city", "Vaduz"}, true, &map::ORVOBJREC::CITY},
               {{"addr:country", "LI"}, true, &map::ORVOBJREC::COUNTRY},
               {{"Name", "x"}, false, nullptr},
               {{"addr:postcode", "9490"}, false, nullptr},
               {{"name:en", "x"}, false, nullptr}};
  for (const auto& c : cases) {
    map::ORVOBJREC o;
    uint64_t ignored = 0;
    EXPECT_EQ(OsmRules::OSMRULES_INTERNALPROC(c.tag, o, ignored), c.taken) << c.tag.K;
    if (c.field) {
      EXPECT_EQ(o.*c.field, c.tag.V) << c.tag.K;
    }
    EXPECT_EQ(ignored, 0u);
  }
  map::ORVOBJREC o;
  uint64_t ignored = 0;
  EXPECT_TRUE(OsmRules::OSMRULES_INTERNALPROC({"created_by", "JOSM"}, o, ignored));
  EXPECT_EQ(ignored, 1u);
  EXPECT_TRUE(o.NAME.empty());
  OsmRules::OSMRULES_INTERNALPROC({"name", "A"}, o, ignored);
  OsmRules::OSMRULES_INTERNALPROC({"name", "B"}, o, ignored);
  EXPECT_EQ(o.NAME, "B");
}

// Our own rules file must load cleanly and speak the words the grid draws by.
TEST(OsmRules, ShippedRulesFile) {
  Loaded l;
  std::ifstream in(test::source_dir() / "data" / "osm.rules", std::ios::binary);
  ASSERT_TRUE(in) << "data/osm.rules";
  std::string content((std::istreambuf_iterator<char>(in)), {});
  load(l, content);
  EXPECT_TRUE(l.infos.empty()) << l.infos.front();
  EXPECT_GE(l.rules.rules().size(), 150u);
  l.rules.OSMRULES_SORT();
  struct Case {
    TAGREC tag;
    std::string prefix;
    bool area;
  } cases[] = {{{"highway", "residential"}, "road", false},
               {{"highway", "primary"}, "arterial", false},
               {{"highway", "footway"}, "footpath", false},
               {{"highway", "steps"}, "footpath", false},
               {{"railway", "tram"}, "tram", false},
               {{"railway", "rail"}, "railway", false},
               {{"natural", "water"}, "water", true},
               {{"leisure", "park"}, "park", true},
               {{"building", "yes"}, "building", true},
               {{"highway", "crossing"}, "pedestrian crossing", false}};
  for (const auto& c : cases) {
    map::ORVOBJREC o = line();
    ASSERT_TRUE(l.rules.OSMRULES_OTAGPROC(c.tag, o)) << c.tag.K << "=" << c.tag.V;
    EXPECT_EQ(o.TYP.rfind(c.prefix, 0), 0u) << o.TYP;
    EXPECT_EQ(o.OBJTYPE == "o", c.area) << c.tag.V;
  }
  // Large zoom levels keep main roads and water, not side streets.
  map::ORVOBJREC motorway = line(), residential = line(), river = line();
  l.rules.OSMRULES_OTAGPROC({"highway", "motorway"}, motorway);
  l.rules.OSMRULES_OTAGPROC({"highway", "residential"}, residential);
  l.rules.OSMRULES_OTAGPROC({"waterway", "river"}, river);
  EXPECT_EQ(motorway.ENDLEV, 4);
  EXPECT_EQ(river.ENDLEV, 4);
  EXPECT_LE(residential.ENDLEV, 1);
}

}  // namespace
}  // namespace orvela::osm
