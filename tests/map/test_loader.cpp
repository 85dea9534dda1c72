// Loading a map file into the grid: which cells each object gets, with what
// direction and level, and how bad files are refused.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "map/geo.h"
#include "support/world.h"

namespace orvela::map {
namespace {

using test::HOME_LAT;
using test::HOME_LON;
using test::MapBuilder;
using test::MapObject;
using test::World;

MapObject road(std::string name, std::string typ = "droga gminna") {
  MapObject o;
  o.type = 'l';
  o.name = std::move(name);
  o.typ = std::move(typ);
  return o;
}
MapObject object(char type, std::string name, std::string typ) {
  MapObject o;
  o.type = type;
  o.name = std::move(name);
  o.typ = std::move(typ);
  return o;
}

std::vector<std::pair<int, int>> cells_of(const Grid& g, int32_t obj) {
  std::vector<std::pair<int, int>> v;
  for (int x = 1; x <= MAXXY; ++x)
    for (int y = 1; y <= MAXXY; ++y)
      if (g.MAPA(x, y) == obj) v.emplace_back(x, y);
  return v;
}

TEST(Loader, LinesAreDrawnCellByCell) {
  struct Case {
    const char* what;
    std::vector<std::pair<double, double>> vertices;
    std::vector<std::pair<int, int>> cells;
  };
  const std::vector<Case> cases = {
      {"two vertices", {{10.5, 10.5}, {13.5, 11.5}}, {{10, 10}, {11, 10}, {12, 11}, {13, 11}}},
      {"inside one cell", {{20.2, 20.2}, {20.8, 20.7}}, {{20, 20}}},
      {"entering from outside",
       {{-20.5, 50.5}, {5.5, 50.5}},
       {{1, 50}, {2, 50}, {3, 50}, {4, 50}, {5, 50}}},
      {"entering at the west edge", {{-0.5, 60.5}, {3.5, 60.5}}, {{1, 60}, {2, 60}, {3, 60}}},
      {"entering at the south edge", {{60.5, -0.5}, {60.5, 2.5}}, {{60, 1}, {60, 2}}},
      {"crossing the whole grid", {{75.5, -30.5}, {75.5, 180.5}}, {}},
      {"leaving to the north",
       {{100.5, 147.5}, {100.5, 152.5}},
       {{100, 147}, {100, 148}, {100, 149}, {100, 150}}},
  };
  for (const auto& c : cases) {
    World w;
    std::vector<POINT> pts;
    for (auto [x, y] : c.vertices) pts.push_back(w.at(x, y));
    {
      MapBuilder b(w.map_path());
      b.line(road("Line"), pts);
    }
    ASSERT_TRUE(w.load()) << c.what;
    auto expected = c.cells;
    if (std::string(c.what) == "crossing the whole grid")
      for (int y = 1; y <= MAXXY; ++y) expected.emplace_back(75, y);
    ASSERT_EQ(w.grid.ILOBJ, 1) << c.what;
    EXPECT_EQ(cells_of(w.grid, 1), expected) << c.what;
  }
}

TEST(Loader, LineCellsCarryDirectionAndCoordinates) {
  World w;
  {
    MapBuilder b(w.map_path());
    // Runs south-west: stored as the bearing of its other end.
    b.line(road("Diagonal"), {w.at(40.5, 40.5), w.at(36.5, 36.5)});
  }
  ASSERT_TRUE(w.load());
  EXPECT_EQ(w.grid.MAPAKIER(40, 40), 45);  // first vertex: line direction
  EXPECT_EQ(w.grid.MAPAKIER(38, 38), 45);
  const LATLON& ll = w.grid.MAPALATLON(36, 36);
  ASSERT_TRUE(ll.ISSET);
  POINT end = w.at(36.5, 36.5);
  EXPECT_NEAR(ll.LAT, end.Y, 2);
  EXPECT_NEAR(ll.LON, end.X, 2);
}

TEST(Loader, HeightLevelsAreInterpolatedAlongALine) {
  World w;
  {
    MapBuilder b(w.map_path());
    b.line(road("Bridge"), {w.at(30.5, 30.5), w.at(34.5, 30.5)}, {{0, 0}, {1, 2}});
  }
  ASSERT_TRUE(w.load());
  const std::vector<double> expected = {0, 0.5, 1, 1.5, 2};
  for (int i = 0; i < 5; ++i) EXPECT_DOUBLE_EQ(w.grid.MAPAHLEV(30 + i, 30), expected[i]) << i;
  EXPECT_EQ(w.grid.STATHLEV, 1);
}

TEST(Loader, AreasNestAndRoadsStayOnTop) {
  World w;
  {
    MapBuilder b(w.map_path());
    b.line(object('o', "Outer", "park"),
           {w.at(-10, -10), w.at(160, -10), w.at(160, 160), w.at(-10, 160)});
    b.line(object('o', "Inner", "pond"), {w.at(40, 40), w.at(60, 40), w.at(60, 60), w.at(40, 60)});
    b.line(road("Main street"), {w.at(30.5, 50.5), w.at(70.5, 50.5)});
  }
  ASSERT_TRUE(w.load());
  EXPECT_EQ(w.name_at(45, 45), "Inner");
  EXPECT_EQ(w.name_at(59, 59), "Inner");
  EXPECT_EQ(w.name_at(39, 45), "Outer");
  EXPECT_EQ(w.name_at(60, 45), "Outer");  // right edge of the outline is outside
  EXPECT_EQ(w.name_at(1, 1), "Outer");
  EXPECT_EQ(w.name_at(150, 150), "Outer");
  EXPECT_EQ(w.name_at(50, 50), "Main street");
  EXPECT_EQ(w.name_at(35, 50), "Main street");
  EXPECT_EQ(w.grid.POLYGONS.size(), 2u);
  EXPECT_EQ(w.grid.MAPAKIER(45, 45), 0);
}

// The row-wise fill must give exactly the cells of the per-cell crossing
// test, for convex, concave, self-crossing and partly outside outlines.
TEST(Loader, AreaFillMatchesThePointInPolygonTest) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int32_t> coord(-40, 190);
  std::uniform_int_distribution<int> count(3, 40);
  for (int round = 0; round < 200; ++round) {
    POLYG pg;
    int n = count(rng);
    for (int i = 0; i < n; ++i) pg.PG.push_back(POINT{coord(rng), coord(rng)});
    pg.MINX = pg.MINY = 1;
    pg.MAXX = pg.MAXY = MAXXY;
    pg.OBJNUM = 1;
    Grid g;
    g.ADDOBJ(ORVOBJREC{});
    FILLSHAPE(g, pg);
    for (int x = 1; x <= MAXXY; ++x)
      for (int y = 1; y <= MAXXY; ++y)
        ASSERT_EQ(g.MAPA(x, y) == 1, POINTINPOLY(x, y, pg.PG))
            << "round " << round << " cell " << x << "," << y;
  }
}

TEST(Loader, PointsOnRoadCellsByPriority) {
  World w;
  {
    MapBuilder b(w.map_path());
    b.line(road("Main street"), {w.at(10.5, 80.5), w.at(20.5, 80.5)});
    POINT p = w.at(12.5, 80.5);
    b.point(object('a', "", "house"), p.Y, p.X);
    POINT n = w.at(15.5, 80.5);
    b.point(object('n', "", "crossing"), n.Y, n.X);
    POINT q = w.at(90.5, 90.5);
    b.point(object('p', "Cafe", "restaurant"), q.Y, q.X);
    b.point(object('p', "Bar", "restaurant"), q.Y, q.X);
  }
  ASSERT_TRUE(w.load());
  EXPECT_EQ(w.name_at(12, 80), "Main street");  // the address lost and was dropped
  EXPECT_EQ(w.holder(15, 80)->OBJTYPE, "n");    // the intersection took the cell
  EXPECT_EQ(w.name_at(90, 90), "Bar");          // equal priority: the later one
  EXPECT_EQ(w.grid.ILOBJ, 4);
  EXPECT_EQ(w.grid.STATADR, 0);
  EXPECT_EQ(w.grid.STATNODES, 1);
  EXPECT_EQ(w.grid.STATPOI, 2);
}

TEST(Loader, NothingAroundTheUserLoadsAnEmptyGrid) {
  World w;
  {
    MapBuilder b(w.map_path());
    b.line(road("Far road"), {POINT{20000000, 50000000}, POINT{20001000, 50001000}});
    b.point(object('p', "Far", "shop"), 50000000, 20000000);
  }
  ASSERT_TRUE(w.load());
  EXPECT_EQ(w.grid.ILOBJ, 0);
  EXPECT_EQ(w.grid.MAPA(75, 75), 0);
  EXPECT_EQ(w.user.UPOSX, 75.0);
  EXPECT_EQ(w.loader.FN(), w.map_path().string());
}

TEST(Loader, RowsAreReadWithAddressAndTags) {
  World w;
  {
    MapBuilder b(w.map_path());
    MapObject shop = object('p', "Shop", "bakery");
    shop.street = "Städtle";
    shop.housenum = "12";
    shop.city = "Vaduz";
    POINT p = w.at(75.5, 75.5);
    int64_t id = b.point(shop, p.Y, p.X);
    b.tag('p', id, "shop", "bakery");
    MapObject nameless = object('p', "", "house");
    nameless.housenum = "3";
    POINT q = w.at(76.5, 75.5);
    b.point(nameless, q.Y, q.X);
    MapObject longtype = object('x', "Odd", "thing");
    POINT r = w.at(77.5, 75.5);
    b.point(longtype, r.Y, r.X);
    b.exec("update orvel_poi set objtype='xyz' where id=3;");
  }
  ASSERT_TRUE(w.load());
  ASSERT_NE(w.holder(75, 75), nullptr);
  EXPECT_EQ(w.holder(75, 75)->NAME, "Shop Städtle 12");
  EXPECT_EQ(w.holder(75, 75)->STREET, "");
  EXPECT_EQ(w.holder(75, 75)->CITY, "Vaduz");
  EXPECT_TRUE(w.holder(75, 75)->HASTAGS);
  EXPECT_EQ(w.holder(76, 75)->NAME, " 3");
  EXPECT_FALSE(w.holder(76, 75)->HASTAGS);
  EXPECT_EQ(w.holder(77, 75)->OBJTYPE, "p");
}

// Ids of OpenStreetMap objects pass 2^32. Two objects whose ids share their
// low 32 bits keep their own ids, and the tags belong to the one that has them.
TEST(Loader, SixtyFourBitIdsAndTheirTags) {
  constexpr int64_t kHigh = (int64_t{1} << 32) + 1;  // low 32 bits: 1
  constexpr int64_t kNode = 6199069340;
  World w;
  {
    MapBuilder b(w.map_path());
    POINT p = w.at(75.5, 75.5), q = w.at(76.5, 75.5), r = w.at(77.5, 75.5);
    b.point(object('p', "Low", "bench"), p.Y, p.X);
    b.point(object('p', "High", "bench"), q.Y, q.X);
    b.point(object('p', "Address", "house"), r.Y, r.X);
    b.exec("update orvel_poi set id=" + std::to_string(kHigh) + " where id=2;");
    b.exec("update orvel_poi set id=" + std::to_string(kNode) + " where id=3;");
    b.tag('p', kHigh, "colour", "blue");
    b.tag('p', kNode, "addr:postcode", "88486");
    b.line(road("Way"), {w.at(70.5, 70.5), w.at(72.5, 70.5)});
    b.exec("update orvel_lin set id=" + std::to_string(kHigh) + ";");
    b.exec("update orvel_linidx set id=" + std::to_string(kHigh) + ";");
  }
  ASSERT_TRUE(w.load());
  struct Case {
    int x, y;
    int64_t id;
    bool tags;
  } cases[] = {
      {75, 75, 1, false}, {76, 75, kHigh, true}, {77, 75, kNode, true}, {71, 70, kHigh, false}};
  for (const auto& c : cases) {
    ASSERT_NE(w.holder(c.x, c.y), nullptr) << c.x;
    EXPECT_EQ(w.holder(c.x, c.y)->ID, c.id) << c.x;
    EXPECT_EQ(w.holder(c.x, c.y)->HASTAGS, c.tags) << c.x;
  }
}

TEST(Loader, DetailLevelSelectsRows) {
  World w;
  {
    MapBuilder b(w.map_path());
    MapObject detailed = road("Footpath", "szlak pieszy");
    detailed.endlev = 0;
    b.line(detailed, {w.at(70.5, 70.5), w.at(72.5, 70.5)});
  }
  ASSERT_TRUE(w.load());
  EXPECT_EQ(w.grid.ILOBJ, 1);
  w.grid.ILEV = 8;
  w.grid.SETILEV();
  ASSERT_TRUE(w.loader.READMAP().open());
  EXPECT_EQ(w.grid.ILOBJ, 0);
}

TEST(Loader, BadGeometryRowsAreSkipped) {
  World w;
  {
    MapBuilder b(w.map_path());
    double lat = w.at(75, 75).Y / 1e6, lon = w.at(75, 75).X / 1e6;
    b.raw_line(road("Empty"), {}, lon - 0.01, lon + 0.01, lat - 0.01, lat + 0.01);
    // One value of 0x7FFFFFFF: far beyond 180 degrees.
    b.raw_line(road("Garbage"), {0xFE, 0xFF, 0xFF, 0xFF, 0x0F, 0x00}, lon - 0.01, lon + 0.01,
               lat - 0.01, lat + 0.01);
    b.raw_line(road("Cut short"), {0x80}, lon - 0.01, lon + 0.01, lat - 0.01, lat + 0.01);
    b.line(road("Good"), {w.at(70.5, 70.5), w.at(72.5, 70.5)});
  }
  ASSERT_TRUE(w.load());
  EXPECT_EQ(w.grid.ILOBJ, 1);
  EXPECT_EQ(w.name_at(71, 70), "Good");
}

TEST(Loader, ColumnsOfTheWrongTypeAreNotGeometry) {
  World w;
  {
    MapBuilder b(w.map_path());
    int64_t text_points = b.line(road("Text points"), {w.at(70.5, 70.5), w.at(72.5, 70.5)});
    b.exec("update orvel_lin set points='hello, I am not a blob' where id=" +
           std::to_string(text_points) + ";");
    int64_t real_points = b.line(road("Real points"), {w.at(70.5, 72.5), w.at(72.5, 72.5)});
    b.exec("update orvel_lin set points=3.25 where id=" + std::to_string(real_points) + ";");
    POINT p = w.at(80.5, 80.5);
    int64_t text_lat = b.point(object('p', "Text lat", "shop"), p.Y, p.X);
    b.exec("update orvel_poi set lat='north' where id=" + std::to_string(text_lat) + ";");
    b.line(road("Good"), {w.at(70.5, 74.5), w.at(72.5, 74.5)});
    b.exec("update orvel_lin set hlevels='xyz' where id=3;");
  }
  ASSERT_TRUE(w.load());
  EXPECT_EQ(w.name_at(71, 74), "Good");
  EXPECT_EQ(w.name_at(71, 70), "");
  EXPECT_EQ(w.name_at(80, 80), "");
  EXPECT_EQ(w.loader.FN(), w.map_path().string());
}

// Files that are not usable maps: the error box, no map selected, an empty grid.
TEST(Loader, UnusableFilesAreRefused) {
  struct Case {
    const char* what;
    std::function<void(const std::filesystem::path&)> make;
    const char* err;
  };
  auto versioned = [](int v) {
    return [v](const std::filesystem::path& p) { MapBuilder b(p, v); };
  };
  const std::vector<Case> cases = {
      {"version 6", versioned(6), "Map version is older than supported by program. Update map."},
      {"version 8", versioned(8), "Map version is newer than supported. Update program."},
      {"missing file", [](const std::filesystem::path&) {}, "Can not open map file."},
      {"other SQLite file",
       [](const std::filesystem::path& p) {
         sqlite3* db = nullptr;
         sqlite3_open(p.string().c_str(), &db);
         sqlite3_exec(db, "create table notes (id integer, text varchar);", nullptr, nullptr,
                      nullptr);
         sqlite3_close(db);
       },
       "It is not a orvel file"},
      {"not SQLite",
       [](const std::filesystem::path& p) { std::ofstream(p) << std::string(5000, 'x'); },
       "It is not a orvel file"},
      {"line table missing",
       [](const std::filesystem::path& p) {
         MapBuilder b(p);
         b.exec("drop table orvel_lin;");
       },
       "Preparing query"},
      {"tag table missing",
       [](const std::filesystem::path& p) {
         MapBuilder b(p);
         b.exec("drop table orvel_tags;");
       },
       "Preparing query"},
      {"point table missing",
       [](const std::filesystem::path& p) {
         MapBuilder b(p);
         b.exec("drop table orvel_poi;");
       },
       "preparing query"},
  };
  for (const auto& c : cases) {
    World w;
    c.make(w.map_path());
    EXPECT_FALSE(w.load()) << c.what;
    EXPECT_EQ(w.last, (LoadResult{MapStatus::Failed, c.err})) << c.what;
    // The map is forgotten: the next load finds none.
    EXPECT_EQ(w.loader.FN(), "") << c.what;
    EXPECT_EQ(w.db.DB(), nullptr) << c.what;
    EXPECT_EQ(w.grid.ILOBJ, 0) << c.what;
    EXPECT_EQ(w.loader.READMAP(), LoadResult{}) << c.what;
  }
}

TEST(Loader, TruncatedFileNeverLeavesAHalfLoadedGrid) {
  World w;
  {
    MapBuilder b(w.map_path());
    for (int i = 0; i < 400; ++i)
      b.line(road("Street " + std::to_string(i)),
             {w.at(10.5 + i % 100, 10.5 + i / 4), w.at(12.5 + i % 100, 10.5 + i / 4)});
  }
  auto size = std::filesystem::file_size(w.map_path());
  std::filesystem::resize_file(w.map_path(), size / 2);
  bool ok = w.load();
  if (!ok) {
    EXPECT_EQ(w.loader.FN(), "");
    EXPECT_EQ(w.grid.ILOBJ, 0);
    EXPECT_EQ(w.last.status, MapStatus::Failed);
    EXPECT_FALSE(w.last.error.empty());
  } else {
    // SQLite may find every page it needs in the first half: then all objects are whole.
    for (int32_t i = 1; i <= w.grid.ILOBJ; ++i) EXPECT_GT(w.grid.ORVOBJECTS[size_t(i)].ILHITS, 0);
  }
}

TEST(Loader, MapListHoldsMapFilesOnly) {
  World w;
  { MapBuilder b(w.map_path("a.orvel")); }
  { MapBuilder b(w.map_path("b.orvel")); }
  std::ofstream(w.tmp.path() / "maps" / "notes.txt") << "x";
  std::filesystem::create_directories(w.tmp.path() / "maps" / "dir.orvel");
  // What a killed import or installation leaves until the next start: a
  // whole map under a temporary name, its journal, an unpacking folder.
  { MapBuilder b(w.map_path(".c.orvel.tmp-ab12cd")); }
  std::ofstream(w.map_path(".c.orvel.tmp-ab12cd-journal")) << "j";
  std::filesystem::create_directories(w.map_path(".d.orvel.tmp-x1y2z3"));
  { MapBuilder b(w.map_path(".d.orvel.tmp-x1y2z3") / "d.orvel"); }
  auto list = w.loader.GETMAPLIST();
  std::sort(list.begin(), list.end());
  EXPECT_EQ(list, (std::vector<std::string>{"a.orvel", "b.orvel"}));
}

TEST(Loader, HowALoadEnds) {
  World w;
  EXPECT_EQ(w.loader.READMAP(), LoadResult{});  // no map chosen
  { MapBuilder b(w.map_path()); }
  w.user.ULATLONSET = false;
  ASSERT_FALSE(w.load());
  EXPECT_EQ(w.last, (LoadResult{MapStatus::Open, ""}));
  EXPECT_TRUE(w.last.open());
  w.user.ULATLONSET = true;
  ASSERT_TRUE(w.load());
  EXPECT_EQ(w.last, (LoadResult{MapStatus::Empty, ""}));
  {
    MapBuilder b(w.map_path("full.orvel"));
    b.line(road("Main"), {w.at(74.5, 75.5), w.at(76.5, 75.5)});
  }
  ASSERT_TRUE(w.load("full.orvel"));
  EXPECT_EQ(w.last, (LoadResult{MapStatus::Loaded, ""}));
}

TEST(Loader, MapDateOfAnotherFileLeavesTheCurrentMapOpen) {
  World w;
  { MapBuilder b(w.map_path()); }
  { MapBuilder b(w.map_path("other.orvel")); }
  ASSERT_TRUE(w.load());
  sqlite3* current = w.db.DB();
  EXPECT_EQ(w.loader.GETMAPDATE(w.map_path("other.orvel")), "2026.12.07/10:00:00");
  EXPECT_EQ(w.loader.GETMAPDATE(w.map_path("missing.orvel")), "");
  EXPECT_EQ(w.db.DB(), current);
  EXPECT_TRUE(w.loader.READMAP().open());
}

// What a load leaves in the grid: every cell and the object list, by the
// objects' map ids.
std::vector<int64_t> grid_content(const Grid& g) {
  std::vector<int64_t> v;
  for (int x = 0; x <= MAXXY; ++x)
    for (int y = 0; y <= MAXXY; ++y) {
      const int32_t o = g.MAPA(x, y);
      v.insert(v.end(), {o, o ? g.ORVOBJECTS[static_cast<size_t>(o)].ID : 0, g.MAPAKIER(x, y),
                         g.MAPAPRIORITY(x, y), g.MAPALATLON(x, y).LAT, g.MAPALATLON(x, y).LON,
                         g.MAPAFRAC(x, y), static_cast<int64_t>(g.MAPAHLEV(x, y) * 10)});
    }
  for (int32_t i = 1; i <= g.ILOBJ; ++i) v.push_back(g.ORVOBJECTS[static_cast<size_t>(i)].ID);
  return v;
}

// Zoomed far out, a load may find its rows through the levels instead of
// the area; the grid must come out the same either way: the same objects
// in the same cells, also where objects of equal rank share a cell and the
// one drawn last keeps it. A random map of crossing roads, areas and
// points of every level, many to a cell, over an area wider than the
// widest load, with more lines than one node of the area index holds.
TEST(Loader, ReadingByLevelGivesTheSameGridAsReadingByArea) {
  World w;
  {
    MapBuilder b(w.map_path());
    std::mt19937 rng(20261208);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const int32_t spread = 12000000;  // 12 degrees each way
    for (int i = 0; i < 3000; ++i) {
      MapObject o = road("road " + std::to_string(i % 7), i % 2 ? "droga gminna" : "las");
      o.type = i % 5 == 0 ? OBJTYPE_POLYGON : OBJTYPE_LINE;
      o.endlev = static_cast<uint8_t>(uniform(0, 4));
      const int32_t step = 2000 << uniform(0, 10);
      std::vector<POINT> pts{
          {HOME_LON + uniform(-spread, spread), HOME_LAT + uniform(-spread, spread)}};
      for (int v = uniform(1, 12); v > 0; --v)
        pts.push_back({pts.back().X + uniform(-step, step), pts.back().Y + uniform(-step, step)});
      if (o.type == OBJTYPE_POLYGON) pts.push_back(pts.front());
      b.line(o, pts);
    }
    for (int i = 0; i < 3000; ++i) {
      MapObject o = object('p', "point " + std::to_string(i % 5), "sklep");
      o.endlev = static_cast<uint8_t>(uniform(0, 4));
      // Coarse coordinates, so that points often share a cell.
      b.point(o, HOME_LAT + uniform(-spread, spread) / 100000 * 100000,
              HOME_LON + uniform(-spread, spread) / 100000 * 100000);
    }
  }
  int loaded_far_out = 0;
  for (uint8_t ilev = 0; ilev <= MAXILEV; ++ilev) {
    w.grid.ILEV = ilev;
    w.grid.SETILEV();
    std::vector<int64_t> by[2];
    for (auto reading : {MapLoader::Reading::ByArea, MapLoader::Reading::ByLevel}) {
      w.loader.reading = reading;
      ASSERT_TRUE(w.load()) << int(ilev);
      by[reading == MapLoader::Reading::ByLevel] = grid_content(w.grid);
      if (ilev == MAXILEV) loaded_far_out = w.grid.ILOBJ;
    }
    EXPECT_TRUE(by[0] == by[1]) << "zoom level " << int(ilev);
  }
  // The far-out load drew objects, so the comparison compared something.
  EXPECT_GT(loaded_far_out, 100);
}

}  // namespace
}  // namespace orvela::map
