// The conversion of small hand-written OSM files into map files.
#include <bzlib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <osmium/builder/attr.hpp>
#include <osmium/io/pbf_output.hpp>
#include <osmium/io/writer.hpp>
#include <random>

#include "map/varint.h"
#include "osm/osmreader.h"
#include "support/small_disk.h"
#include "support/sql_rows.h"
#include "support/test_env.h"
#include "text/utf8.h"

namespace orvela::osm {
namespace {

using test::TempDir;
using testing::sql_one;
using testing::sql_rows;
using Rows = std::vector<testing::Row>;
namespace fs = std::filesystem;

constexpr const char* kRules =
    "highway=residential\troad residential\t1\n"
    "highway=service\troad service\n"
    "highway=footway\tfootpath\n"
    "amenity=bench\tbench\n"
    "building=yes\tbuilding\t0\ta\n"
    "leisure=park\tpark\t2\ta\n";

class Import : public ::testing::Test {
 protected:
  void SetUp() override { std::ofstream(dir / "osm.rules", std::ios::binary) << kRules; }

  fs::path write(const std::string& name, const std::string& content) {
    std::ofstream(dir / name, std::ios::binary) << content;
    return dir / name;
  }
  OsmImportResult run(const fs::path& in, OsmProgressFn progress = nullptr) {
    OsmImportOptions opt;
    opt.rules_file = dir / "osm.rules";
    opt.progress = std::move(progress);
    opt.stats = &stats;
    opt.limits = limits;
    return OSMPROCFILE(in, out(), dir / "errdb.log", opt);
  }
  OsmImportResult run_doc(const std::string& body) {
    return run(write("in.osm", "<?xml version='1.0' encoding='UTF-8'?>\n<osm version=\"0.6\">\n" +
                                   body + "</osm>\n"));
  }
  fs::path out() const { return dir / out_name; }
  // Nothing but the inputs and the rules may be left in the folder.
  std::vector<std::string> leftovers() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.path())) {
      std::string n = e.path().filename().string();
      if (n != "osm.rules" && n.rfind("in", 0) != 0 && n != "errdb.log") names.push_back(n);
    }
    return names;
  }

  TempDir dir;
  OsmImportStats stats;
  ImportLimits limits;
  std::string out_name = "out.orvel";
};

std::string node(int64_t id, double lat, double lon, const std::string& tags = "") {
  std::string s = "<node id=\"" + std::to_string(id) + "\" lat=\"" + std::to_string(lat) +
                  "\" lon=\"" + std::to_string(lon) + "\"";
  return tags.empty() ? s + "/>\n" : s + ">" + tags + "</node>\n";
}
std::string tag(const std::string& k, const std::string& v) {
  return "<tag k=\"" + k + "\" v=\"" + v + "\"/>";
}
std::string way(int64_t id, const std::vector<int64_t>& refs, const std::string& tags) {
  std::string s = "<way id=\"" + std::to_string(id) + "\">";
  for (int64_t r : refs) s += "<nd ref=\"" + std::to_string(r) + "\"/>";
  return s + tags + "</way>\n";
}

TEST_F(Import, PointsLinesPolygonsAndTags) {
  std::string body =
      node(1, 10.5, 20.25, tag("name", "Old Oak") + tag("amenity", "bench")) +
      node(2, 10.501, 20.251, tag("addr:street", "Elm") + tag("addr:housenumber", "3")) +
      node(3, 10.502, 20.252, tag("created_by", "editor")) +
      node(4, 10.503, 20.253, tag("foo", "bar &amp; baz") + tag("empty", "")) +
      node(5, 10.504, 20.254) +
      way(10, {1, 2, 3},
          tag("highway", "residential") + tag("name", "Elm Street") + tag("surface", "asphalt")) +
      way(11, {2, 3, 4, 2}, tag("building", "yes")) + way(12, {4, 5}, "") +
      way(13, {5, 999, 4}, tag("highway", "footway"));
  auto r = run_doc(body);
  ASSERT_EQ(r.LASTERR, 0) << r.LASTERRDESC;
  EXPECT_EQ(sql_rows(out(),
                     "select p.id, p.objtype, n.name, t.type, p.lat, p.lon from orvel_poi p "
                     "left join orvel_name n on p.nameid=n.nameid left join orvel_type t "
                     "on p.typeid=t.typeid where objtype='p' order by p.id"),
            (Rows{{"1", "p", "Old Oak", "bench", "10500000", "20250000"},
                  {"4", "p", "NULL", "NULL", "10503000", "20253000"}}));
  EXPECT_EQ(sql_rows(out(),
                     "select l.id, l.objtype, t.type, l.startlev, l.endlev from orvel_lin l "
                     "left join orvel_type t on l.typeid=t.typeid order by l.id"),
            (Rows{{"10", "l", "road residential", "0", "1"},
                  {"11", "o", "building", "0", "0"},
                  {"13", "l", "footpath", "0", "0"}}));
  auto tags =
      sql_rows(out(),
               "select objtype, objectid, k.tagname, ifnull(v.tagvalue, '-'), t.tagvalueid=0 "
               "from orvel_tags t left join orvel_tagname k on t.tagnameid=k.tagnameid "
               "left join orvel_tagvalue v on t.tagvalueid=v.tagvalueid order by t.id");
  EXPECT_EQ(tags, (Rows{{"p", "4", "foo", "bar & baz", "0"},
                        {"p", "4", "empty", "-", "1"},
                        {"l", "10", "surface", "asphalt", "0"}}));
  // The footway's vertex for the absent node 999 is skipped, not put at 0,0.
  auto blobs = testing::sql_blobs(out(), "select points from orvel_lin order by id");
  ASSERT_EQ(blobs.size(), 3u);
  std::vector<map::POINT> pts;
  map::decode_points(blobs[0], pts);
  EXPECT_EQ(pts, (std::vector<map::POINT>{
                     {20250000, 10500000}, {20251000, 10501000}, {20252000, 10502000}}));
  map::decode_points(blobs[2], pts);
  EXPECT_EQ(pts, (std::vector<map::POINT>{{20254000, 10504000}, {20253000, 10503000}}));
  EXPECT_EQ(stats.missing_nodes, 1u);
  auto box = sql_rows(out(),
                      "select minlon <= 20.25 and maxlon >= 20.252 and minlat <= 10.5 and "
                      "maxlat >= 10.502 from orvel_linidx where id=10");
  EXPECT_EQ(box, (Rows{{"1"}}));
  EXPECT_EQ(sql_one(out(), "select count(*) from sqlite_master where name like 'osm_%'"), "0");
  EXPECT_EQ(stats.ILNODES, 5u);
  EXPECT_EQ(stats.ILWAYS, 4u);
  EXPECT_EQ(stats.ILIGNOREDTAGS, 1u);
  EXPECT_TRUE(leftovers() == std::vector<std::string>{"out.orvel"});
}

TEST_F(Import, NodeWithOnlyAddressAndUntaggedWayAreNotStored) {
  auto r = run_doc(node(1, 1, 1, tag("addr:street", "Elm")) + node(2, 1.001, 1) +
                   way(5, {1, 2}, "") + way(6, {1, 2}, tag("highway", "footway")));
  ASSERT_EQ(r.LASTERR, 0) << r.LASTERRDESC;
  EXPECT_EQ(sql_one(out(), "select count(*) from orvel_poi"), "0");
  EXPECT_EQ(sql_rows(out(), "select id from orvel_lin"), (Rows{{"6"}}));
}

// Streets meeting in the shapes a pedestrian meets them in.
std::string crossings_doc() {
  std::string nodes;
  for (int i = 1; i <= 14; ++i) nodes += node(i, 47.0 + i * 0.001, 9.5 + (i % 4) * 0.001);
  const std::string res = tag("highway", "residential");
  std::string body = nodes +
                     // Two named roads crossing at node 2, an inner node of both.
                     way(100, {1, 2, 3}, res + tag("name", "Elm Street")) +
                     way(101, {4, 2, 5}, res + tag("name", "Oak Avenue")) +
                     // Elm Street continues past node 3 under the same name: no intersection.
                     way(102, {3, 6}, res + tag("name", "Elm Street")) +
                     // Pine Lane starts where Elm Street ends: different names meet at node 6.
                     way(107, {6, 13}, res + tag("name", "Pine Lane")) +
                     // An unnamed road end to end with Pine Lane: a missing name decides nothing.
                     way(108, {13, 14}, tag("highway", "service")) +
                     // T-junction: an unnamed service road ends on Birch Road's inner node 8.
                     way(103, {7, 8, 9}, res + tag("name", "Birch Road")) +
                     way(104, {8, 10}, tag("highway", "service")) +
                     // A building sharing nodes with a footway is not a road.
                     way(105, {11, 12, 10, 11}, tag("building", "yes")) +
                     way(106, {11, 12}, tag("highway", "footway"));
  return body;
}

TEST_F(Import, Intersections) {
  auto r = run_doc(crossings_doc());
  ASSERT_EQ(r.LASTERR, 0) << r.LASTERRDESC;
  EXPECT_EQ(sql_rows(out(),
                     "select p.lat, p.lon, n.name from orvel_poi p left join orvel_name n on "
                     "p.nameid=n.nameid where objtype='n' order by p.lat"),
            (Rows{{"47002000", "9502000", "Elm Street Oak Avenue"},
                  {"47006000", "9502000", "Elm Street Pine Lane"},
                  {"47008000", "9500000", "Birch Road road service"}}));
  EXPECT_EQ(stats.intersections, 3u);
}

// How a crossing can be used stays on its node even where a rule made a tag
// the node's type, and an intersection takes the crossing tags of its node;
// other tags of that node stay with the node's own point.
TEST_F(Import, CrossingTagsOnCrossingsAndIntersections) {
  std::ofstream(dir / "osm.rules", std::ios::binary)
      << kRules << "highway=crossing\tpedestrian crossing\n"
      << "crossing=traffic_signals\tpedestrian crossing with lights\n"
      << "highway=traffic_signals\ttraffic lights\n";
  const std::string signals = tag("highway", "traffic_signals") +
                              tag("crossing", "traffic_signals") +
                              tag("traffic_signals:sound", "yes") + tag("button_operated", "yes");
  const std::string island = tag("highway", "crossing") + tag("crossing", "island") +
                             tag("kerb", "lowered") + tag("tactile_paving", "yes");
  auto r =
      run_doc(node(1, 47.0, 9.5) + node(2, 47.0, 9.501, signals) + node(3, 47.0, 9.502) +
              node(4, 46.999, 9.501) + node(5, 47.001, 9.501) + node(6, 47.0005, 9.501, island) +
              way(10, {1, 2, 3}, tag("highway", "residential") + tag("name", "Landstrasse")) +
              way(11, {4, 2, 6, 5}, tag("highway", "residential") + tag("name", "Kirchweg")));
  ASSERT_EQ(r.LASTERR, 0) << r.LASTERRDESC;
  auto tags_of = [&](const std::string& where) {
    return sql_rows(out(),
                    "select t.objtype, k.tagname, v.tagvalue from orvel_tags t join orvel_poi p on "
                    "t.objectid=p.id and t.objtype=p.objtype join orvel_tagname k on "
                    "t.tagnameid=k.tagnameid join orvel_tagvalue v on t.tagvalueid=v.tagvalueid "
                    "where " +
                        where + " order by t.id");
  };
  EXPECT_EQ(tags_of("p.id=2"), (Rows{{"p", "highway", "traffic_signals"},
                                     {"p", "crossing", "traffic_signals"},
                                     {"p", "traffic_signals:sound", "yes"},
                                     {"p", "button_operated", "yes"}}));
  EXPECT_EQ(tags_of("p.objtype='n'"), (Rows{{"n", "highway", "traffic_signals"},
                                            {"n", "crossing", "traffic_signals"},
                                            {"n", "traffic_signals:sound", "yes"}}));
  EXPECT_EQ(tags_of("p.id=6"), (Rows{{"p", "crossing", "island"},
                                     {"p", "kerb", "lowered"},
                                     {"p", "tactile_paving", "yes"}}));
  EXPECT_EQ(sql_one(out(),
                    "select t.type from orvel_poi p join orvel_type t on "
                    "p.typeid=t.typeid where p.id=6"),
            "pedestrian crossing");
}

// Memory far too small for the input sends node positions, way nodes, line
// boxes and texts to their fallbacks; the map must come out the same.
TEST_F(Import, TinyMemoryGivesTheSameMap) {
  const std::string doc = crossings_doc() + node(20, 47.1, 9.6, tag("name", "Elm Street")) +
                          way(109, {1, 14, 20}, tag("highway", "footway") + tag("lit", "yes"));
  ASSERT_EQ(run_doc(doc).LASTERR, 0);
  const uint64_t intersections = stats.intersections;
  out_name = "tiny.orvel";
  limits = {
      .node_cache_bits = 2, .held_way_nodes = 2, .writer = {.held_boxes = 2, .known_bytes = 100}};
  ASSERT_EQ(run_doc(doc).LASTERR, 0);
  EXPECT_GT(stats.spilled_nodes, 5u);
  EXPECT_EQ(stats.intersections, intersections);
  for (const char* q :
       {"select * from orvel_poi order by id", "select * from orvel_linidx order by id",
        "select id, objtype, nameid, typeid, hex(points) from orvel_lin order by id",
        "select * from orvel_tags order by id", "select * from orvel_name order by nameid",
        "select * from orvel_tagvalue order by tagvalueid"}) {
    EXPECT_EQ(sql_rows(dir / "tiny.orvel", q), sql_rows(dir / "out.orvel", q)) << q;
  }
  EXPECT_EQ(sql_one(dir / "tiny.orvel", "select rtreecheck('orvel_linidx')"), "ok");
  EXPECT_EQ(
      sql_one(dir / "tiny.orvel", "select count(*) from sqlite_master where name like 'osm_%'"),
      "0");
}

// A random street network, searched for intersections once in memory and
// once in SQL (rows beyond a tiny memory): both must find the same
// intersections with the same names, in the same order. Node ids below zero
// and beyond 32 bits, closed ways, ways without names or highways, repeated
// way ids and crossings are all in it.
TEST_F(Import, IntersectionsInMemoryAndInSqlAgree) {
  std::mt19937 rng(20261208);
  auto pick = [&](size_t n) { return static_cast<size_t>(rng() % n); };
  std::vector<int64_t> ids;
  std::string doc;
  for (int i = 0; i < 400; ++i) {
    const int64_t id = i < 40 ? -1 - i : (i < 80 ? 5'000'000'000 + i : i);
    ids.push_back(id);
    const std::string tags =
        i % 37 == 0 ? tag("highway", "traffic_signals") + tag("crossing", "traffic_signals") : "";
    doc += node(id, 47.0 + (i / 20) * 0.001, 9.5 + (i % 20) * 0.001, tags);
  }
  const char* kinds[] = {"residential", "service", "footway"};
  const char* names[] = {"", "", "Alpha", "Beta", "Gamma"};
  for (int w = 0; w < 300; ++w) {
    std::vector<int64_t> refs;
    const size_t n = 2 + pick(5);
    for (size_t k = 0; k < n; ++k) refs.push_back(ids[pick(ids.size())]);
    if (w % 11 == 0) refs.push_back(refs.front());  // a closed way
    std::string tags = w % 13 == 0 ? tag("building", "yes") : tag("highway", kinds[pick(3)]);
    if (const char* name = names[pick(5)]; *name) tags += tag("name", name);
    doc += way(w % 97 == 0 ? 1000 : 1000 + w, refs, tags);
  }
  ASSERT_EQ(run_doc(doc).LASTERR, 0);
  const uint64_t found = stats.intersections;
  EXPECT_GT(found, 50u);
  out_name = "sql.orvel";
  limits.held_way_nodes = 3;
  ASSERT_EQ(run_doc(doc).LASTERR, 0);
  EXPECT_EQ(stats.intersections, found);
  for (const char* q : {"select p.*, n.name from orvel_poi p left join orvel_name n on "
                        "p.nameid=n.nameid order by p.id",
                        "select * from orvel_tags order by id"}) {
    EXPECT_EQ(sql_rows(dir / "sql.orvel", q), sql_rows(dir / "out.orvel", q)) << q;
  }
}

const std::string kMinimal =
    node(1, 1, 1) + node(2, 1.001, 1) + way(5, {1, 2}, tag("highway", "footway"));

TEST_F(Import, ErrorCodes) {
  auto r = run(dir / "in-absent.osm");
  EXPECT_EQ(r.LASTERR, 1);
  EXPECT_EQ(r.LASTERRDESC, "error opening file" + (dir / "in-absent.osm").string());

  r = run(write("in-noxml.osm", "<osm>" + kMinimal + "</osm>"));
  EXPECT_EQ(r.LASTERR, 2);
  EXPECT_EQ(r.LASTERRDESC, "bad file format.");

  r = run_doc(node(1, 1, 1) + node(2, 1.001, 1, tag("name", "x")));
  EXPECT_EQ(r.LASTERR, 10);
  EXPECT_EQ(r.LASTERRDESC, "No map data in imported file. Bad file format, or server error.");

  fs::remove(dir / "osm.rules");
  r = run_doc(kMinimal);
  EXPECT_EQ(r.LASTERR, 4);
  EXPECT_EQ(r.LASTERRDESC, "Can not read osm.rules");
  EXPECT_TRUE(leftovers().empty());
}

// The import's own connection logs to the error log it is given.
TEST_F(Import, UnwritableDestinationIsCode3) {
  OsmImportOptions opt;
  opt.rules_file = dir / "osm.rules";
  auto in = write("in.osm", "<?xml version='1.0'?><osm>" + kMinimal + "</osm>");
  auto r = OSMPROCFILE(in, dir / "no-such-folder" / "x.orvel", dir / "errdb.log", opt);
  EXPECT_EQ(r.LASTERR, 3);
  EXPECT_EQ(r.LASTERRDESC, "database creation problem: No such file or directory");
  std::ifstream log(dir / "errdb.log");
  std::string line;
  ASSERT_TRUE(std::getline(log, line));
  EXPECT_TRUE(line.starts_with("- Error ")) << line;
  EXPECT_NE(line.find("Opening map"), std::string::npos) << line;
  EXPECT_TRUE(leftovers().empty());
}

// After an import onto a disk that filled up ("x.orvel" held "previous
// map"): the reason by its name, the previous map byte for byte, and no
// half map or scratch file beside it.
void expect_full_disk_said(const OsmImportResult& r, const test::SmallDisk& disk,
                           const std::string& what) {
  EXPECT_EQ(r.LASTERR, 3) << what;
  EXPECT_EQ(r.LASTERRDESC, "database creation problem: No space left on device") << what;
  std::ifstream f(disk / "x.orvel");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(f), {}), "previous map") << what;
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(disk.path()))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"filler", "x.orvel"})) << what;
}

// A disk that fills up before or during the import: the reason by its name,
// the previous map byte for byte, and no half map beside it.
TEST_F(Import, FullDiskKeepsThePreviousMapAndSaysWhy) {
  OsmImportOptions opt;
  opt.rules_file = dir / "osm.rules";
  auto in = write("in.osm", "<?xml version='1.0'?><osm>" + kMinimal + "</osm>");
  for (const std::size_t room : {std::size_t{0}, std::size_t{48 * 1024}}) {
    test::SmallDisk disk;
    ASSERT_EQ(disk.error(), "");
    std::ofstream(disk / "x.orvel") << "previous map";
    disk.fill(room);
    expect_full_disk_said(OSMPROCFILE(in, disk / "x.orvel", dir / "errdb.log", opt), disk,
                          "room " + std::to_string(room));
  }
}

// A PBF extract of `n` named benches and a footway through each ten of them.
void write_pbf(const fs::path& file, int n) {
  namespace b = osmium::builder::attr;
  osmium::memory::Buffer buf{1 << 16, osmium::memory::Buffer::auto_grow::yes};
  for (int i = 1; i <= n; ++i) {
    const std::string name = "Bench number " + std::to_string(i);
    osmium::builder::add_node(buf, b::_id(i), b::_location(9.5 + i * 1e-5, 47.1),
                              b::_tag("amenity", "bench"), b::_tag("name", name),
                              b::_tag("material", "wood " + std::to_string(i)));
  }
  for (int w = 0; w < n / 10; ++w) {
    std::vector<osmium::object_id_type> refs;
    for (int k = 1; k <= 10; ++k) refs.push_back(w * 10 + k);
    osmium::builder::add_way(buf, b::_id(w + 1), b::_nodes(refs), b::_tag("highway", "footway"),
                             b::_tag("name", "Path " + std::to_string(w)));
  }
  osmium::io::Writer writer{osmium::io::File(file.string(), "pbf"), osmium::io::Header{},
                            osmium::io::overwrite::allow};
  writer(std::move(buf));
  writer.close();
}

// The disk fills while a PBF file is being read and stored: on the thread
// that stores objects, or on the scratch database of node positions that do
// not fit in memory. Either way the system's words, not a bad file.
TEST_F(Import, FullDiskWhileReadingPbfSaysSo) {
  const fs::path in = dir / "in.osm.pbf";
  write_pbf(in, 20000);
  for (const unsigned cache_bits : {NodeCache::kMaxBits, 2u}) {
    test::SmallDisk disk(4 << 20);
    ASSERT_EQ(disk.error(), "");
    std::ofstream(disk / "x.orvel") << "previous map";
    disk.fill(1 << 20);
    OsmImportOptions opt;
    opt.rules_file = dir / "osm.rules";
    opt.limits.node_cache_bits = cache_bits;
    // Small page caches, so that pages reach the disk while reading.
    opt.limits.map_cache_kib = 64;
    opt.limits.scratch_cache_kib = 64;
    expect_full_disk_said(OSMPROCFILE(in, disk / "x.orvel", dir / "errdb.log", opt), disk,
                          "node cache bits " + std::to_string(cache_bits));
  }
}

// Broken or hostile input: an error code with its text, nothing left
// behind, and an existing map of the same name untouched.
TEST_F(Import, BadInputLeavesExistingMapAlone) {
  const std::string head = "<?xml version='1.0' encoding='UTF-8'?>\n<osm version=\"0.6\">\n";
  const std::string full = head + kMinimal + "</osm>\n";
  struct Case {
    const char* what;
    std::string content;
    int code;
  } cases[] = {
      {"empty file", "", 2},
      {"binary file",
       std::string("\x7f"
                   "ELF\x02\x01\x01\0\0\0<\xff\xfe",
                   14),
       2},
      {"html error page", "<!DOCTYPE html><html><body>502 Bad Gateway</body></html>", 2},
      {"cut inside a tag", full.substr(0, full.find("<nd") + 5), 2},
      {"cut inside a value", full.substr(0, full.find("footway") + 3), 2},
      {"id not a number", head + "<node id=\"12x\" lat=\"1\" lon=\"1\"/></osm>", 2},
      {"ref not a number", head + node(1, 1, 1) + "<way id=\"3\"><nd ref=\"\"/></way></osm>", 2},
      {"id beyond 64 bits", head + "<node id=\"99999999999999999999\" lat=\"1\" lon=\"1\"/></osm>",
       2},
      {"nodes only", head + node(1, 1, 1, tag("name", "x")) + "</osm>", 10},
  };
  for (const auto& c : cases) {
    std::ofstream(out(), std::ios::binary) << "previous map";
    auto r = run(write("in.osm", c.content));
    EXPECT_EQ(r.LASTERR, c.code) << c.what;
    EXPECT_FALSE(r.LASTERRDESC.empty()) << c.what;
    EXPECT_EQ(leftovers(), std::vector<std::string>{"out.orvel"}) << c.what;
    std::ifstream in(out(), std::ios::binary);
    std::string kept((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(kept, "previous map") << c.what;
  }
}

// Latin-1 bytes, as real extracts hold them, in names, keys and values, and
// an overlong form: the import goes on and every stored text is UTF-8.
TEST_F(Import, BytesThatAreNotUtf8BecomeReplacementCharacters) {
  const std::string r = "\xEF\xBF\xBD";  // U+FFFD
  const std::vector<TAGREC> node_tags = {{"name", "Caf\xE9"},
                                         {"amenity", "bench"},
                                         {"cuisine", "cr\xEApe"},
                                         {"d\xE9partement", "Doubs"},
                                         {"note", "\xC0\xAF"}};
  const std::vector<TAGREC> way_tags = {{"highway", "footway"}, {"name", "Gro\xDF Weg"}};
  const fs::path xml = write("in.osm", [&] {
    auto tags = [](const std::vector<TAGREC>& ts) {
      std::string s;
      for (const auto& t : ts) s += tag(t.K, t.V);
      return s;
    };
    return "<?xml version='1.0' encoding='UTF-8'?>\n<osm>\n" + node(1, 1, 1, tags(node_tags)) +
           node(2, 1.001, 1) + way(5, {1, 2}, tags(way_tags)) + "</osm>\n";
  }());
  const fs::path pbf = dir / "in.osm.pbf";
  {
    namespace b = osmium::builder::attr;
    osmium::memory::Buffer buf{4096, osmium::memory::Buffer::auto_grow::yes};
    auto osmium_tags = [](const std::vector<TAGREC>& ts) {
      std::vector<std::pair<std::string, std::string>> v;
      for (const auto& t : ts) v.emplace_back(t.K, t.V);
      return v;
    };
    const auto nt = osmium_tags(node_tags), wt = osmium_tags(way_tags);
    osmium::builder::add_node(buf, b::_id(1), b::_location(1.0, 1.0), b::_tags(nt));
    osmium::builder::add_node(buf, b::_id(2), b::_location(1.0, 1.001));
    osmium::builder::add_way(buf, b::_id(5), b::_nodes({1, 2}), b::_tags(wt));
    osmium::io::Writer writer{osmium::io::File(pbf.string(), "pbf"), osmium::io::Header{},
                              osmium::io::overwrite::allow};
    writer(std::move(buf));
    writer.close();
  }
  for (const fs::path& in : {xml, pbf}) {
    auto res = run(in);
    ASSERT_EQ(res.LASTERR, 0) << in << ": " << res.LASTERRDESC;
    EXPECT_EQ(stats.repaired_tags, 5u) << in;
    EXPECT_EQ(sql_rows(out(), "select name from orvel_name order by name"),
              (Rows{{"Caf" + r}, {"Gro" + r + " Weg"}}))
        << in;
    EXPECT_EQ(
        sql_rows(out(),
                 "select k.tagname, v.tagvalue from orvel_tags t join orvel_tagname k on "
                 "t.tagnameid=k.tagnameid join orvel_tagvalue v on "
                 "t.tagvalueid=v.tagvalueid order by t.id"),
        (Rows{{"cuisine", "cr" + r + "pe"}, {"d" + r + "partement", "Doubs"}, {"note", r + r}}))
        << in;
    EXPECT_EQ(sql_one(out(), "select count(*) from orvel_lin"), "1") << in;
    for (const char* q : {"select name from orvel_name", "select tagname from orvel_tagname",
                          "select tagvalue from orvel_tagvalue", "select type from orvel_type"}) {
      for (const auto& row : sql_rows(out(), q)) EXPECT_TRUE(text::valid_utf8(row[0])) << q;
    }
  }
}

TEST_F(Import, HugeValueWithoutClosingQuoteStopsEarly) {
  {
    std::ofstream f(dir / "in-huge.osm", std::ios::binary);
    f << "<?xml version='1.0'?><osm>" << node(1, 1, 1) << "<node id=\"2\" lat=\"";
    std::string chunk(1 << 20, '7');
    for (int i = 0; i < 100; ++i) f << chunk;
  }
  auto r = run(dir / "in-huge.osm");
  EXPECT_EQ(r.LASTERR, 2);
  EXPECT_TRUE(leftovers().empty());
}

TEST_F(Import, LongWayKeepsEveryVertex) {
  std::string body;
  const int n = 100000;
  for (int i = 1; i <= 100; ++i) body += node(i, 1 + i * 1e-6, 2 - i * 1e-6);
  std::vector<int64_t> refs(n);
  for (int i = 0; i < n; ++i) refs[static_cast<size_t>(i)] = i % 100 + 1;
  body += way(7, refs, tag("highway", "footway"));
  auto r = run_doc(body);
  ASSERT_EQ(r.LASTERR, 0) << r.LASTERRDESC;
  auto blobs = testing::sql_blobs(out(), "select points from orvel_lin where id=7");
  ASSERT_EQ(blobs.size(), 1u);
  std::vector<map::POINT> pts;
  map::decode_points(blobs[0], pts);
  ASSERT_EQ(pts.size(), static_cast<size_t>(n));
  EXPECT_EQ(pts.back(), (map::POINT{2000000 - 100, 1000000 + 100}));
  EXPECT_EQ(pts[100], (map::POINT{2000000 - 1, 1000000 + 1}));
}

// Ids pass 2^32: objects whose ids differ only above bit 32 are all kept
// under their own ids, each with its own tags, and ways find their nodes by
// the whole id. An id that really repeats cannot be stored twice: the later
// object is refused with its tags, and the rest goes on.
TEST_F(Import, BigIdsAreKeptWholeAndRepeatedIdsSkipped) {
  const int64_t big = (int64_t{1} << 32) + 1;     // low 32 bits: 1
  const int64_t bigway = (int64_t{1} << 32) + 5;  // low 32 bits: 5
  const std::string footway = tag("highway", "footway");
  std::string body = node(1, 1, 1, tag("amenity", "bench") + tag("colour", "red")) +
                     node(big, 2, 2, tag("amenity", "bench") + tag("colour", "blue")) +
                     node(1, 3, 3, tag("name", "again")) + node(2, 1.001, 1) +
                     way(5, {1, 2}, footway + tag("colour", "red")) +
                     way(bigway, {2, big}, footway + tag("colour", "blue")) +
                     way(5, {2, 1}, tag("name", "twin")) + node(3, 4, 4, tag("name", "after"));
  auto r = run_doc(body);
  ASSERT_EQ(r.LASTERR, 0) << r.LASTERRDESC;
  EXPECT_EQ(sql_rows(out(), "select id, lat from orvel_poi where objtype='p' order by id"),
            (Rows{{"1", "1000000"}, {"3", "4000000"}, {std::to_string(big), "2000000"}}));
  EXPECT_EQ(sql_rows(out(), "select id, nameid from orvel_lin order by id"),
            (Rows{{"5", "NULL"}, {std::to_string(bigway), "NULL"}}));
  EXPECT_EQ(sql_rows(out(), "select id from orvel_linidx order by id"),
            (Rows{{"5"}, {std::to_string(bigway)}}));
  EXPECT_EQ(sql_rows(out(),
                     "select t.objtype, t.objectid, v.tagvalue from orvel_tags t join "
                     "orvel_tagvalue v on t.tagvalueid=v.tagvalueid join orvel_tagname k on "
                     "t.tagnameid=k.tagnameid where k.tagname='colour' order by t.objtype, "
                     "t.objectid"),
            (Rows{{"l", "5", "red"},
                  {"l", std::to_string(bigway), "blue"},
                  {"p", "1", "red"},
                  {"p", std::to_string(big), "blue"}}));
  EXPECT_EQ(stats.duplicates, 2u);
  // A node id met twice keeps its first position for the ways too, and the
  // big way's second vertex is the big node, not node 1.
  auto blobs = testing::sql_blobs(out(), "select points from orvel_lin order by id");
  ASSERT_EQ(blobs.size(), 2u);
  std::vector<map::POINT> pts;
  map::decode_points(blobs[0], pts);
  EXPECT_EQ(pts, (std::vector<map::POINT>{{1000000, 1000000}, {1000000, 1001000}}));
  map::decode_points(blobs[1], pts);
  EXPECT_EQ(pts, (std::vector<map::POINT>{{1000000, 1001000}, {2000000, 2000000}}));
}

TEST_F(Import, CancelDeletesTheOutputAndKeepsTheOldMap) {
  std::string body;
  for (int i = 1; i <= 30000; ++i) body += node(i, 1 + i * 1e-6, 1, tag("amenity", "bench"));
  body += way(1, {1, 2}, tag("highway", "footway"));
  std::ofstream(out(), std::ios::binary) << "previous map";
  std::vector<std::pair<uint64_t, uint64_t>> calls;
  auto r = run(write("in.osm", "<?xml version='1.0'?><osm>" + body + "</osm>"),
               [&](uint64_t cur, uint64_t total) {
                 calls.emplace_back(cur, total);
                 return total > 0 && cur > 0;  // cancel at the first real progress report
               });
  EXPECT_EQ(r.LASTERR, 0);
  EXPECT_TRUE(r.cancelled);
  EXPECT_LT(stats.ILNODES, 30000u);
  EXPECT_EQ(leftovers(), std::vector<std::string>{"out.orvel"});
  std::ifstream in(out(), std::ios::binary);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), "previous map");
  // Phase events: start, then reading from 0, ..., intersections, closing.
  ASSERT_GE(calls.size(), 4u);
  EXPECT_EQ(calls.front(), (std::pair<uint64_t, uint64_t>{1, 0}));
  EXPECT_EQ(calls[1].first, 0u);
  EXPECT_GT(calls[1].second, 0u);
  EXPECT_EQ(calls[calls.size() - 2], (std::pair<uint64_t, uint64_t>{2, 0}));
  EXPECT_EQ(calls.back(), (std::pair<uint64_t, uint64_t>{3, 0}));
}

TEST_F(Import, SuccessReplacesTheOldMap) {
  std::ofstream(out(), std::ios::binary) << "previous map";
  auto r = run_doc(kMinimal);
  ASSERT_EQ(r.LASTERR, 0) << r.LASTERRDESC;
  EXPECT_EQ(sql_one(out(), "select value from orvel_info where name='version'"), "7");
  EXPECT_EQ(leftovers(), std::vector<std::string>{"out.orvel"});
}

TEST_F(Import, CorruptBzip2HalfWay) {
  std::string body;
  for (int i = 1; i <= 20000; ++i) body += node(i, 1 + i * 1e-5, 1 + (i * 7919 % 1000) * 1e-5);
  body += way(1, {1, 2}, tag("highway", "footway"));
  std::string doc = "<?xml version='1.0'?><osm>" + body + "</osm>";
  fs::path bz = dir / "in.osm.bz2";
  BZFILE* b = BZ2_bzopen(bz.c_str(), "wb");
  BZ2_bzwrite(b, doc.data(), static_cast<int>(doc.size()));
  BZ2_bzclose(b);
  std::string packed;
  {
    std::ifstream in(bz, std::ios::binary);
    packed.assign(std::istreambuf_iterator<char>(in), {});
  }
  // The intact file imports; the damaged one is refused.
  ASSERT_EQ(run(bz).LASTERR, 0);
  for (size_t i = packed.size() / 2; i < packed.size() / 2 + 32; ++i)
    packed[i] = static_cast<char>(~packed[i]);
  std::ofstream(bz, std::ios::binary) << packed;
  auto r = run(bz);
  EXPECT_EQ(r.LASTERR, 2);
  EXPECT_EQ(r.LASTERRDESC, "bad file format.");
  EXPECT_EQ(leftovers(), std::vector<std::string>{"out.orvel"});  // the earlier good import
}

}  // namespace
}  // namespace orvela::osm
