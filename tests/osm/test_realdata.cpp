// Importing a real extract, once as bzip2 XML and once as PBF.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <osmium/io/pbf_input.hpp>
#include <osmium/io/reader.hpp>
#include <osmium/osm/node.hpp>
#include <osmium/osm/way.hpp>
#include <set>

#include "map/varint.h"
#include "osm/osmreader.h"
#include "support/sql_rows.h"
#include "support/test_env.h"
#include "text/numeric.h"

namespace orvela::osm {
namespace {

using testing::sql_one;
using testing::sql_rows;
namespace fs = std::filesystem;

class Liechtenstein : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    auto data = test::shared_data_dir();
    if (!data) return;
    base_ = *data / "osm" / "liechtenstein-2013-08-03";
    if (!fs::exists(base_.string() + ".osm.bz2") || !fs::exists(base_.string() + ".osm.pbf"))
      return;
    // Every test runs in its own process: the two imports are kept beside
    // the test program and made again only when the program or the rules change.
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    dir_ = self.parent_path() / "osm-realdata";
    fs::create_directories(dir_, ec);
    xml_ = import(base_.string() + ".osm.bz2", "xml", self, xml_stats_);
    pbf_ = import(base_.string() + ".osm.pbf", "pbf", self, pbf_stats_);
    ready_ = true;
  }
  static OsmImportResult import(const fs::path& in, const std::string& name, const fs::path& self,
                                OsmImportStats& stats) {
    fs::path map = dir_ / (name + ".orvel");
    fs::path sidecar = dir_ / (name + ".stats");
    fs::path rules = test::source_dir() / "data" / "osm.rules";
    std::error_code ec;
    auto made = fs::last_write_time(sidecar, ec);
    if (!ec && made > fs::last_write_time(self, ec) && made > fs::last_write_time(rules, ec) &&
        fs::exists(map) && read_stats(sidecar, stats)) {
      return {};
    }
    OsmImportOptions opt;
    opt.rules_file = rules;
    opt.stats = &stats;
    OsmImportResult r = OSMPROCFILE(in, map, dir_ / "errdb.log", opt);
    if (r.LASTERR == 0) {
      std::ofstream(sidecar) << stats.ILNODES << " " << stats.ILWAYS << " " << stats.intersections
                             << " " << stats.missing_nodes << "\n";
    }
    return r;
  }
  static bool read_stats(const fs::path& p, OsmImportStats& s) {
    std::ifstream in(p);
    return static_cast<bool>(in >> s.ILNODES >> s.ILWAYS >> s.intersections >> s.missing_nodes);
  }
  void SetUp() override {
    if (!ready_) GTEST_SKIP() << "the Liechtenstein extract is not in the shared test data";
    ASSERT_EQ(xml_.LASTERR, 0) << xml_.LASTERRDESC;
    ASSERT_EQ(pbf_.LASTERR, 0) << pbf_.LASTERRDESC;
  }
  static fs::path xml_map() { return dir_ / "xml.orvel"; }
  static fs::path pbf_map() { return dir_ / "pbf.orvel"; }

  static inline fs::path base_, dir_;
  static inline bool ready_ = false;
  static inline OsmImportResult xml_, pbf_;
  static inline OsmImportStats xml_stats_, pbf_stats_;
};

TEST_F(Liechtenstein, XmlAndPbfGiveTheSameObjects) {
  EXPECT_EQ(xml_stats_.ILNODES, 65733u);
  EXPECT_EQ(xml_stats_.ILWAYS, 7121u);
  EXPECT_EQ(pbf_stats_.ILNODES, xml_stats_.ILNODES);
  EXPECT_EQ(pbf_stats_.ILWAYS, xml_stats_.ILWAYS);
  for (const char* q :
       {"select objtype, count(*) from orvel_poi group by objtype",
        "select objtype, count(*) from orvel_lin group by objtype",
        "select group_concat(id) from (select id from orvel_lin order by id)",
        "select group_concat(id) from (select id from orvel_poi where objtype='p' order by id)",
        "select count(*), sum(length(points)) from orvel_lin", "select count(*) from orvel_tags"}) {
    EXPECT_EQ(sql_rows(xml_map(), q), sql_rows(pbf_map(), q)) << q;
  }
  EXPECT_GT(std::stoi(sql_one(xml_map(), "select count(*) from orvel_lin")), 5000);
}

TEST_F(Liechtenstein, LinesDecodeToTheirNodes) {
  // The nodes and ways as libosmium reads them, independently of our reader.
  std::map<int64_t, map::POINT> where;
  std::map<int64_t, std::vector<int64_t>> refs;
  osmium::io::Reader reader(base_.string() + ".osm.pbf");
  while (osmium::memory::Buffer buf = reader.read()) {
    for (const auto& item : buf) {
      if (item.type() == osmium::item_type::node) {
        const auto& n = static_cast<const osmium::Node&>(item);
        where[n.id()] = {text::round_half_even_i32(n.location().lon() * 1e6),
                         text::round_half_even_i32(n.location().lat() * 1e6)};
      } else if (item.type() == osmium::item_type::way) {
        const auto& w = static_cast<const osmium::Way&>(item);
        for (const auto& r : w.nodes()) refs[w.id()].push_back(r.ref());
      }
    }
  }
  reader.close();
  auto ids = sql_rows(xml_map(), "select id from orvel_lin order by id");
  auto blobs = testing::sql_blobs(xml_map(), "select points from orvel_lin order by id");
  ASSERT_EQ(ids.size(), blobs.size());
  size_t checked = 0;
  for (size_t i = 0; i < ids.size(); ++i) {
    int64_t id = std::stoll(ids[i][0]);
    std::vector<map::POINT> want;
    for (int64_t r : refs[id]) want.push_back(where.at(r));
    std::vector<map::POINT> got;
    map::decode_points(blobs[i], got);
    ASSERT_EQ(got, want) << "way " << id;
    ++checked;
  }
  EXPECT_EQ(checked, ids.size());
  EXPECT_EQ(xml_stats_.missing_nodes, 0u);
}

TEST_F(Liechtenstein, StreetsOfVaduzAndTheirIntersections) {
  auto streets =
      sql_rows(xml_map(),
               "select n.name, t.type from orvel_lin l join orvel_name n on l.nameid=n.nameid "
               "join orvel_type t on l.typeid=t.typeid where n.name in ('St\xC3\xA4"
               "dtle', "
               "'\xC3\x84"
               "ulestrasse', 'Landstrasse', 'Kirchstrasse') group by n.name order by n.name");
  EXPECT_EQ(streets, (std::vector<testing::Row>{{"Kirchstrasse", "road unclassified"},
                                                {"Landstrasse", "arterial primary"},
                                                {"St\xC3\xA4"
                                                 "dtle",
                                                 "road residential"},
                                                {"\xC3\x84"
                                                 "ulestrasse",
                                                 "arterial primary"}}));
  EXPECT_GT(xml_stats_.intersections, 1000u);
  EXPECT_EQ(pbf_stats_.intersections, xml_stats_.intersections);
  EXPECT_NE(sql_one(xml_map(),
                    "select count(*) from orvel_poi p join orvel_name n on p.nameid=n.nameid "
                    "where objtype='n' and n.name like '%St\xC3\xA4"
                    "dtle%'"),
            "0");
  EXPECT_EQ(
      sql_one(xml_map(), "select count(*) from orvel_poi where objtype='n' and nameid is null"),
      "0");
}

// The extract's traffic signals where Rheinstrasse, Churer Strasse,
// Feldkircher Strasse and Oberstädtle meet (node 237) go with their
// intersection; its island crossings (node 33356 on Bergstrasse) keep the
// island although a rule names them pedestrian crossings.
TEST_F(Liechtenstein, CrossingTagsOnIntersectionsAndCrossings) {
  const std::string tags =
      "select k.tagname, v.tagvalue from orvel_tags t join orvel_tagname k on "
      "t.tagnameid=k.tagnameid join orvel_tagvalue v on t.tagvalueid=v.tagvalueid join orvel_poi "
      "p on t.objectid=p.id and t.objtype=p.objtype ";
  for (const fs::path& m : {xml_map(), pbf_map()}) {
    SCOPED_TRACE(m.filename().string());
    EXPECT_EQ(sql_rows(m, tags + "where p.objtype='n' and p.lat=47200611 and p.lon=9544940 "
                                 "order by k.tagname"),
              (std::vector<testing::Row>{{"crossing", "traffic_signals"},
                                         {"highway", "traffic_signals"}}));
    EXPECT_EQ(sql_rows(m, tags + "where p.objtype='p' and p.id=33356"),
              (std::vector<testing::Row>{{"crossing", "island"}}));
  }
  // The other signalled intersection (Feldkircher Strasse at a service road),
  // and three where a footway crosses at an uncontrolled crossing.
  EXPECT_EQ(sql_rows(xml_map(), tags + "where p.objtype='n' order by p.id, t.id"),
            (std::vector<testing::Row>{{"crossing", "traffic_signals"},
                                       {"highway", "traffic_signals"},
                                       {"crossing", "uncontrolled"},
                                       {"crossing", "uncontrolled"},
                                       {"crossing", "uncontrolled"},
                                       {"highway", "traffic_signals"}}));
}

// A small real extract of 2020: most of its nodes were made after 2016 and
// have ids beyond 2^32. Every one is stored under its own id.
TEST(RealData, IdsBeyond32BitsAreKeptWhole) {
  auto data = test::shared_data_dir();
  ASSERT_TRUE(data) << "the shared OSM test data is missing";
  const fs::path in = *data / "osm" / "osmnx-planet_10.068_48.135_10.071_48.137.osm";
  ASSERT_TRUE(fs::exists(in)) << in;
  test::TempDir dir;
  const fs::path out = dir / "bavaria.orvel";
  OsmImportOptions opt;
  opt.rules_file = test::source_dir() / "data" / "osm.rules";
  OsmImportStats stats;
  opt.stats = &stats;
  OsmImportResult r = OSMPROCFILE(in, out, dir / "errdb.log", opt);
  ASSERT_EQ(r.LASTERR, 0) << r.LASTERRDESC;
  EXPECT_EQ(stats.duplicates, 0u);
  // The address point 6199069340 (1904102044 in its low 32 bits) and its postcode.
  EXPECT_EQ(sql_rows(out, "select id, lat, lon from orvel_poi where objtype='p' and id=6199069340"),
            (std::vector<testing::Row>{{"6199069340", "48136191", "10070728"}}));
  EXPECT_EQ(sql_one(out, "select count(*) from orvel_poi where id=1904102044"), "0");
  EXPECT_EQ(
      sql_rows(out,
               "select t.objtype, t.objectid, v.tagvalue from orvel_tags t join orvel_tagname "
               "k on t.tagnameid=k.tagnameid join orvel_tagvalue v on "
               "t.tagvalueid=v.tagvalueid where k.tagname='addr:postcode' and t.objtype='p'"),
      (std::vector<testing::Row>{{"p", "6199069340", "88486"}}));
  // Every stored node and way carries an id that is in the file.
  std::ifstream f(in);
  const std::string xml((std::istreambuf_iterator<char>(f)), {});
  auto ids = sql_rows(out,
                      "select id from orvel_poi where objtype='p' union all select id from "
                      "orvel_lin");
  EXPECT_GT(ids.size(), 20u);
  size_t beyond = 0;
  for (const auto& row : ids) {
    EXPECT_NE(xml.find(" id=\"" + row[0] + "\""), std::string::npos) << row[0];
    if (std::stoll(row[0]) > 4294967295) ++beyond;
  }
  EXPECT_GT(beyond, 0u);
}

}  // namespace
}  // namespace orvela::osm
