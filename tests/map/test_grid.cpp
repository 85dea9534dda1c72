#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "map/direction.h"
#include "map/grid.h"
#include "map/priority.h"

namespace orvela::map {
namespace {

ORVOBJREC obj(const char* type, const char* typ = "", const char* name = "") {
  ORVOBJREC o;
  o.OBJTYPE = type;
  o.TYP = typ;
  o.NAME = name;
  return o;
}

TEST(Grid, ValidPositions) {
  struct Case {
    double x, y;
    bool valid;
  };
  const std::vector<Case> cases = {{150.99, 1.0, true}, {1.0, 150.99, true}, {75.0, 75.0, true},
                                   {151.0, 1.0, false}, {0.99, 5.0, false},  {5.0, 0.99, false},
                                   {-0.5, 5.0, false},  {-75, -75, false},   {NAN, 5.0, false},
                                   {1e300, 5.0, false}};
  for (const Case& c : cases) EXPECT_EQ(Grid::ISXYVALID(c.x, c.y), c.valid) << c.x << "," << c.y;
}

TEST(Grid, ReadsRoundToTwoDecimalsWritesTruncate) {
  Grid g;
  int32_t a = g.ADDOBJ(obj("p"));
  g.SETMAPA(74.999, 75.0, a, 1, 2, 0, 0, 7);
  EXPECT_EQ(g.MAPA(74, 75), a);
  EXPECT_EQ(g.MAPA(75, 75), 0);
  EXPECT_EQ(g.GETMAPA(74.999, 75.0), 0);  // reads cell 75
  EXPECT_EQ(g.GETMAPA(74.994, 75.0), a);
  EXPECT_EQ(g.GETMAPA(0.5, 75.0), 0);
  EXPECT_EQ(g.GETMAPA(150.996, 75.0), 0);  // rounds to 151: outside
  EXPECT_EQ(g.GETMAPARELATIVE(75.0, 75.0, -0.001, 0.0), 0);
  EXPECT_EQ(g.GETMAPARELATIVE(75.0, 75.0, -1.0, 0.3), a);
  EXPECT_EQ(g.GETMAPARELATIVE(75.0, 75.0, -75.0, 0.0), 0);
  g.SETMAPA(151.0, 75.0, a, 1, 2, 0, 0, 7);
  g.SETMAPA(0.0, 0.0, a, 1, 2, 0, 0, 7);
  EXPECT_EQ(g.ORVOBJECTS[a].ILHITS, 1);
}

TEST(Grid, PrioritiesOfPolishAndEnglishTypeWords) {
  struct Case {
    const char* type;
    const char* typ;
    const char* name;
    int32_t prio;
  };
  const std::vector<Case> cases = {
      {"n", "", "", 8},
      {"p", "shop", "", 7},
      {"l", "droga krajowa", "Aleje", 6},
      {"l", "road primary", "High Street", 6},
      {"l", "arteria", "X", 6},
      {"l", "arterial road", "X", 6},
      {"l", "tramwaj", "1", 6},
      {"l", "tram", "1", 6},
      {"l", "tory kolejowe", "Linia 1", 6},
      {"l", "railway", "West Line", 6},
      {"l", "szlak pieszy", "Czerwony", 5},
      {"l", "szlak pieszy", "", 5},
      {"l", "footpath", "", 5},
      {"l", "footpath", "Coast Path", 5},
      {"l", "droga", "", 4},
      {"l", "road", "", 4},
      {"l", "railway", "", 4},
      {"l", "tory", "", 4},
      {"l", "Droga", "Named", 3},
      {"l", "river", "Vistula", 3},
      {"l", "", "", 3},
      {"l", "szlak", "x", 3},
      {"a", "", "1", 2},
      {"o", "park", "", 0},
      {"x", "", "", 0},
      {"", "", "", 0},
  };
  Grid g;
  for (const Case& c : cases) {
    int32_t id = g.ADDOBJ(obj(c.type, c.typ, c.name));
    EXPECT_EQ(g.GETOBJPRIORITY(id), c.prio) << c.type << " '" << c.typ << "' '" << c.name << "'";
  }
  EXPECT_EQ(g.GETOBJPRIORITY(0), 0);
  EXPECT_EQ(g.GETOBJPRIORITY(g.ILOBJ + 1), 0);
  EXPECT_TRUE(SPREFIX("droga", "droga"));
  EXPECT_TRUE(SPREFIX("anything", ""));
  EXPECT_FALSE(SPREFIX("dro", "droga"));
}

TEST(Grid, CellGoesToTheHigherOrLaterObject) {
  struct Step {
    const char* type;
    const char* typ;
    const char* name;
    bool wins;
  };
  struct Case {
    const char* what;
    std::vector<Step> steps;
  };
  const std::vector<Case> cases = {
      {"two plain lines: later wins", {{"l", "river", "", true}, {"l", "stream", "", true}}},
      {"point before line keeps its cell", {{"p", "", "", true}, {"l", "river", "", false}}},
      {"named road overrides footpath",
       {{"l", "szlak pieszy", "", true}, {"l", "droga", "Main", true}}},
      {"unnamed road does not", {{"l", "szlak pieszy", "", true}, {"l", "droga", "", false}}},
      {"intersection replaces road", {{"l", "road", "Main", true}, {"n", "", "", true}}},
      {"address under road is lost", {{"l", "road", "Main", true}, {"a", "", "7", false}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Grid g;
    int32_t holder = 0;
    for (const Step& s : c.steps) {
      int32_t id = g.ADDOBJ(obj(s.type, s.typ, s.name));
      g.SETMAPA(10.5, 20.5, id, id * 10, id * 20, 0, 0, g.GETOBJPRIORITY(id));
      if (s.wins) holder = id;
      EXPECT_EQ(g.ORVOBJECTS[id].ILHITS, s.wins ? 1 : 0);
    }
    EXPECT_EQ(g.MAPA(10, 20), holder);
    EXPECT_EQ(g.MAPALATLON(10, 20).LAT, holder * 10);
    EXPECT_EQ(g.MAPAPRIORITY(10, 20), g.GETOBJPRIORITY(holder));
  }
}

TEST(Grid, SetmapaFillsEveryArrayOfTheCell) {
  Grid g;
  int32_t a = g.ADDOBJ(obj("l", "river"));
  int32_t b = g.ADDOBJ(obj("l", "river"));
  g.SETMAPA(3.5, 4.25, a, 52000000, 21000000, -45, 1.25, 3);
  EXPECT_EQ(g.MAPA(3, 4), a);
  EXPECT_TRUE(g.MAPALATLON(3, 4).ISSET);
  EXPECT_EQ(g.MAPALATLON(3, 4).LAT, 52000000);
  EXPECT_EQ(g.MAPALATLON(3, 4).LON, 21000000);
  EXPECT_EQ(g.MAPAKIER(3, 4), 315);
  EXPECT_EQ(g.MAPAFRAC(3, 4), (8 << 4) + 4);
  EXPECT_DOUBLE_EQ(g.MAPAHLEV(3, 4), 1.3);
  // Crossing its own cell again neither rewrites it nor counts.
  g.SETMAPA(3.9, 4.9, a, 1, 1, 90, 7, 3);
  EXPECT_EQ(g.MAPAKIER(3, 4), 315);
  EXPECT_EQ(g.ORVOBJECTS[a].ILHITS, 1);
  // The loser keeps its hit count.
  g.SETMAPA(3.0, 4.0, b, 1, 1, 90, NAN, 3);
  EXPECT_EQ(g.ORVOBJECTS[a].ILHITS, 1);
  EXPECT_EQ(g.ORVOBJECTS[b].ILHITS, 1);
  EXPECT_EQ(g.MAPAHLEV(3, 4), 0.0);
  EXPECT_EQ(g.MAPAFRAC(3, 4), 0);
  g.SETMAPA(3.0, 4.0, a, 1, 1, 0, -1.25, 3);
  EXPECT_DOUBLE_EQ(g.MAPAHLEV(3, 4), -1.3);
  EXPECT_EQ(Grid::FRACTONIBLES(1.999, 1.0625), (15 << 4) + 1);
}

TEST(Grid, DirectionsBetweenPositions) {
  struct Case {
    double x1, y1, x2, y2;
    int32_t kier, linekier, stored;
  };
  const std::vector<Case> cases = {
      {75, 75, 76, 76, 45, 45, 45},  {75, 75, 76, 74, 135, -45, 315},
      {75, 75, 74, 74, 225, 45, 45}, {75, 75, 74, 76, 315, 135, 135},
      {75, 75, 75, 75, 0, 0, 0},     {75, 75, 75, 70, 180, 0, 0},
      {75, 75, 80, 75, 90, 90, 90},  {75, 75, 70, 75, 270, 90, 90},
      {0, 0, 1, 3, 18, 18, 18},      {0, 0, -3, -1, 252, 72, 72},
      {0, 0, 1, -1000, 180, 0, 0},   {0, 0, -1, -1000, 180, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x1 << "," << c.y1 << " -> " << c.x2 << "," << c.y2);
    EXPECT_EQ(GETKIER(c.x1, c.y1, c.x2, c.y2), c.kier);
    EXPECT_EQ(GETLINEKIER(c.x1, c.y1, c.x2, c.y2), c.linekier);
    Grid g;
    int32_t id = g.ADDOBJ(obj("l"));
    g.SETMAPA(10, 10, id, 0, 0, GETLINEKIER(c.x1, c.y1, c.x2, c.y2), 0, 3);
    EXPECT_EQ(g.MAPAKIER(10, 10), c.stored);
  }
  for (auto [in, out] :
       std::vector<std::pair<int64_t, int32_t>>{{0, 0},
                                                {359, 359},
                                                {360, 0},
                                                {-1, 359},
                                                {-360, 0},
                                                {725, 5},
                                                {-725, 355},
                                                {int64_t{INT32_MAX} + 360, INT32_MAX % 360},
                                                {int64_t{INT32_MIN} - 1, 231}})
    EXPECT_EQ(WRAPDIRECTION(in), out) << in;
}

TEST(Grid, StepFromDirection) {
  struct Case {
    int32_t kier;
    double incx, incy;
  };
  const std::vector<Case> cases = {{0, 0, 1},       {90, 1, 0},   {45, 0.71, 0.71},
                                   {180, 0, -1},    {270, -1, 0}, {225, -0.71, -0.71},
                                   {30, 0.5, 0.87}, {-90, -1, 0}};
  for (const Case& c : cases) {
    double x = 9, y = 9;
    GETINCXYFROMKIER(c.kier, x, y);
    EXPECT_DOUBLE_EQ(x, c.incx) << c.kier;
    EXPECT_DOUBLE_EQ(y, c.incy) << c.kier;
  }
}

TEST(Grid, ObjectListGrowsInBlocksAndKeepsStatistics) {
  Grid g;
  EXPECT_EQ(g.MAXOBJ, 100);
  const char* types[] = {"p", "a", "n", "l", "o"};
  for (int i = 1; i <= 250; ++i) {
    ORVOBJREC o = obj(types[i % 5]);
    o.NAME = "obj" + std::to_string(i);
    o.ILHITS = 99;
    EXPECT_EQ(g.ADDOBJ(o), i);
    if (i == 99) {
      EXPECT_EQ(g.MAXOBJ, 100);
    }
    if (i == 100) {
      EXPECT_EQ(g.MAXOBJ, 200);
    }
  }
  EXPECT_EQ(g.MAXOBJ, 300);
  for (int i = 1; i <= 250; ++i) {
    ASSERT_EQ(g.ORVOBJECTS[i].NAME, "obj" + std::to_string(i));
    ASSERT_EQ(g.ORVOBJECTS[i].ILHITS, 0);
  }
  EXPECT_EQ(g.STATPOI, 50);
  EXPECT_EQ(g.STATADR, 50);
  EXPECT_EQ(g.STATNODES, 50);
  EXPECT_EQ(g.STATLIN, 50);
  EXPECT_EQ(g.STATPOLYG, 50);
  g.DELLASTOBJ();  // object 250 is "p"
  EXPECT_EQ(g.ILOBJ, 249);
  EXPECT_EQ(g.STATPOI, 49);
  EXPECT_EQ(g.ADDOBJ(obj("l")), 250);
  EXPECT_EQ(g.STATLIN, 51);

  g.SETMAPA(5, 5, 3, 1, 1, 0, 0, 3);
  g.POLYGONS.push_back({});
  g.STATHLEV = 4;
  g.clear();
  EXPECT_EQ(g.ILOBJ, 0);
  EXPECT_EQ(g.MAXOBJ, 100);
  EXPECT_EQ(g.MAPA(5, 5), 0);
  EXPECT_FALSE(g.MAPALATLON(5, 5).ISSET);
  EXPECT_TRUE(g.POLYGONS.empty());
  EXPECT_EQ(g.STATPOI + g.STATADR + g.STATNODES + g.STATLIN + g.STATPOLYG + g.STATHLEV, 0);
  g.DELLASTOBJ();  // nothing to remove
  EXPECT_EQ(g.ILOBJ, 0);
}

TEST(Grid, PointInPolygonByIndex) {
  Grid g;
  int32_t id = g.ADDOBJ(obj("o"));
  POLYG p;
  p.MINX = 10;
  p.MINY = 10;
  p.MAXX = 20;
  p.MAXY = 20;
  p.OBJNUM = id;
  p.PG = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
  g.POLYGONS.push_back(p);
  EXPECT_EQ(g.XYPOINTINPOLYGON(15, 15, 0), id);
  EXPECT_EQ(g.XYPOINTINPOLYGON(10, 10, 0), id);
  EXPECT_EQ(g.XYPOINTINPOLYGON(20, 15, 0), 0);  // right edge
  EXPECT_EQ(g.XYPOINTINPOLYGON(9, 15, 0), 0);
  EXPECT_EQ(g.XYPOINTINPOLYGON(15, 15, 1), 0);
}

TEST(Grid, CoordinateConversions) {
  Grid g;
  double y = 7, x = 7;
  g.LATLONTOYX(52000000, 21000000, y, x);  // no area yet
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);

  g.set_area(0, 0);  // 10-metre squares on the equator
  EXPECT_EQ(g.YLAT, 1000000 / (110574 / 10));
  EXPECT_EQ(g.XLON, 1000000 / (111319 / 10));
  EXPECT_EQ(g.MINLAT, -75 * g.YLAT);
  EXPECT_EQ(g.MAXLON, 75 * g.XLON);
  g.LATLONTOYX(0, 0, y, x);
  EXPECT_DOUBLE_EQ(x, 75.0);
  EXPECT_DOUBLE_EQ(y, 75.0);
  int32_t lat = 0, lon = 0;
  g.YXTOLATLON(75.0, 75.0, lat, lon);
  EXPECT_EQ(lat, 0);
  EXPECT_EQ(lon, 0);

  g.MINLAT = 100;
  g.MINLON = -100;
  g.YLAT = 1;
  g.XLON = 1;
  struct Case {
    double v;
    int32_t r;
  };
  for (Case c : std::vector<Case>{{2.5, 2}, {3.5, 4}, {-2.5, -2}, {2.51, 3}}) {
    g.YXTOLATLON(c.v, c.v, lat, lon);
    EXPECT_EQ(lat, 100 + c.r) << c.v;
    EXPECT_EQ(lon, -100 + c.r) << c.v;
  }

  g.ILEV = 11;  // 10 km squares near a pole still give at least 1 unit
  g.SETILEV();
  g.set_area(89990000, 0);
  EXPECT_GE(g.XLON, 1);
  EXPECT_GE(g.YLAT, 1);
}

TEST(Grid, ZoomLevelsBeyondTheLastBecomeTheLast) {
  Grid g;
  for (int lev : {12, 255}) {
    g.ILEV = static_cast<uint8_t>(lev);
    g.SETILEV();
    EXPECT_EQ(g.ILEV, MAXILEV);
    EXPECT_EQ(g.SQMETERS, 10000);
    EXPECT_EQ(g.MAPLEV, 4);
    EXPECT_EQ(g.USTEPPITCH, 25);
  }
}

TEST(Grid, ZoomChangeSaysWhetherTheLevelChanged) {
  struct Case {
    uint8_t from;
    int mode;
    uint8_t to;
  };
  const std::vector<Case> cases = {
      {11, 0, 11}, {0, 1, 0}, {2, 0, 3},   {2, 1, 1}, {5, 2, 0},   {5, 3, 11},
      {8, 0, 9},   {9, 1, 8}, {10, 0, 11}, {0, 2, 0}, {11, 3, 11}, {4, 7, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.from) << " mode " << c.mode);
    Grid g;
    g.ILEV = c.from;
    g.SETILEV();
    EXPECT_EQ(g.SQMETERSCHANGE(c.mode), c.from != c.to);
    EXPECT_EQ(g.ILEV, c.to);
    EXPECT_EQ(g.SQMETERS, zoom_level(c.to).SQMETERS);
    EXPECT_EQ(g.MAPLEV, zoom_level(c.to).MAPLEV);
  }
}

}  // namespace
}  // namespace orvela::map
