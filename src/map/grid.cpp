#include "map/grid.h"

#include <cmath>

#include "map/direction.h"
#include "map/geo.h"
#include "map/priority.h"
#include "text/numeric.h"

namespace orvela::map {

namespace {

constexpr std::array<ZoomLevel, MAXILEV + 1> ZOOM_TABLE = {{
    {2, 0, 250},
    {5, 0, 200},
    {10, 0, 175},
    {20, 0, 150},
    {50, 1, 125},
    {100, 1, 100},
    {250, 2, 80},
    {500, 2, 60},
    {1000, 3, 50},
    {2000, 4, 40},
    {4000, 4, 30},
    {10000, 4, 25},
}};

int32_t clamp_i32(int64_t v) {
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(v);
}

template <typename A, typename T>
void fill_cells(A& a, const T& v) {
  for (auto& column : a) column.fill(v);
}

bool in_grid(double t) { return t >= 1 && t <= MAXXY; }

// Grid units per micro-degree step: 1000000 div (metres per degree div SQMETERS), at least 1.
int32_t units(int32_t metres_per_degree, uint16_t sqmeters) {
  int32_t d = metres_per_degree / (sqmeters == 0 ? 1 : sqmeters);
  return d == 0 ? 1 : 1000000 / d;
}

}  // namespace

const ZoomLevel& zoom_level(uint8_t ilev) { return ZOOM_TABLE[ilev > MAXILEV ? MAXILEV : ilev]; }

Grid::Grid() : cells_(std::make_unique<Cells>()) { clear(); }

// --- area -------------------------------------------------------------------

void Grid::set_area(int32_t ulat, int32_t ulon) {
  YLAT = units(GEODIST(ulat - 500000, ulon, ulat + 500000, ulon), SQMETERS);
  XLON = units(GEODIST(ulat, ulon - 500000, ulat, ulon + 500000), SQMETERS);
  const int64_t half = MAXXY / 2;
  MINLAT = clamp_i32(ulat - half * YLAT);
  MAXLAT = clamp_i32(ulat + half * YLAT);
  MINLON = clamp_i32(ulon - half * XLON);
  MAXLON = clamp_i32(ulon + half * XLON);
}

void Grid::LATLONTOYX(int32_t LAT, int32_t LON, double& Y, double& X) const {
  if (XLON == 0 || YLAT == 0) {
    X = Y = 0;
    return;
  }
  X = (static_cast<double>(LON) - MINLON) / XLON;
  Y = (static_cast<double>(LAT) - MINLAT) / YLAT;
}

void Grid::YXTOLATLON(double Y, double X, int32_t& LAT, int32_t& LON) const {
  LAT = clamp_i32(MINLAT + text::round_half_even_i64(YLAT * Y));
  LON = clamp_i32(MINLON + text::round_half_even_i64(XLON * X));
}

bool Grid::ISXYVALID(double X, double Y) {
  return in_grid(std::trunc(X)) && in_grid(std::trunc(Y));
}

// --- cells ------------------------------------------------------------------

int32_t Grid::GETMAPA(double X, double Y) const {
  X = text::round_away(X, 2);
  Y = text::round_away(Y, 2);
  if (!ISXYVALID(X, Y)) return 0;
  return MAPA(static_cast<int>(X), static_cast<int>(Y));
}

void Grid::SETMAPA(double X, double Y, int32_t OBJID, int32_t LAT, int32_t LON, int32_t KIER,
                   double HLEV, int32_t NEWPRIO) {
  if (!ISXYVALID(X, Y)) return;
  const int x = static_cast<int>(X), y = static_cast<int>(Y);
  const int32_t cur = MAPA(x, y);
  if (cur == OBJID) return;
  if (cur != 0 && NEWPRIO < MAPAPRIORITY(x, y)) return;
  MAPA(x, y) = OBJID;
  MAPAPRIORITY(x, y) = NEWPRIO;
  MAPALATLON(x, y) = {true, LAT, LON};
  MAPAKIER(x, y) = WRAPDIRECTION(KIER);
  MAPAFRAC(x, y) = FRACTONIBLES(X, Y);
  MAPAHLEV(x, y) = std::isnan(HLEV) ? 0.0 : text::round_away(HLEV, 1);
  if (OBJID > 0 && OBJID <= ILOBJ) ++ORVOBJECTS[OBJID].ILHITS;
}

uint8_t Grid::FRACTONIBLES(double X, double Y) {
  const auto hi = static_cast<unsigned>((X - std::trunc(X)) * 16);
  const auto lo = static_cast<unsigned>((Y - std::trunc(Y)) * 16);
  return static_cast<uint8_t>((hi << 4) + lo);
}

int32_t Grid::XYPOINTINPOLYGON(int32_t X, int32_t Y, size_t NUMPOLYG) const {
  if (NUMPOLYG >= POLYGONS.size()) return 0;
  const POLYG& p = POLYGONS[NUMPOLYG];
  if (X < p.MINX || X > p.MAXX || Y < p.MINY || Y > p.MAXY) return 0;
  return POINTINPOLY(X, Y, p.PG) ? p.OBJNUM : 0;
}

// --- objects ----------------------------------------------------------------

int32_t* Grid::stat_counter(const ORVOBJREC& o) {
  switch (objtype_letter(o)) {
    case OBJTYPE_POI:
      return &STATPOI;
    case OBJTYPE_ADDRESS:
      return &STATADR;
    case OBJTYPE_INTERSECTION:
      return &STATNODES;
    case OBJTYPE_LINE:
      return &STATLIN;
    case OBJTYPE_POLYGON:
      return &STATPOLYG;
    default:
      return nullptr;
  }
}

int32_t Grid::ADDOBJ(const ORVOBJREC& O) {
  ++ILOBJ;
  if (ILOBJ >= MAXOBJ) {
    MAXOBJ += OBJBLOCK;
    ORVOBJECTS.resize(static_cast<size_t>(MAXOBJ));
  }
  ORVOBJREC& o = ORVOBJECTS[static_cast<size_t>(ILOBJ)];
  o = O;
  o.ILHITS = 0;
  if (int32_t* c = stat_counter(o)) ++*c;
  return ILOBJ;
}

void Grid::DELLASTOBJ() {
  if (ILOBJ <= 0) return;
  if (int32_t* c = stat_counter(ORVOBJECTS[static_cast<size_t>(ILOBJ)])) --*c;
  --ILOBJ;
}

int32_t Grid::GETOBJPRIORITY(int32_t OBJID) const {
  if (OBJID <= 0 || OBJID > ILOBJ) return 0;
  return object_priority(ORVOBJECTS[static_cast<size_t>(OBJID)]);
}

// --- zoom -------------------------------------------------------------------

void Grid::SETILEV() {
  if (ILEV > MAXILEV) ILEV = MAXILEV;
  const ZoomLevel& z = zoom_level(ILEV);
  SQMETERS = z.SQMETERS;
  MAPLEV = z.MAPLEV;
  USTEPPITCH = z.USTEPPITCH;
}

bool Grid::SQMETERSCHANGE(int IMODE) {
  const uint8_t old = ILEV;
  switch (IMODE) {
    case 0:
      if (ILEV < UINT8_MAX) ++ILEV;
      break;
    case 1:
      if (ILEV > 0) --ILEV;
      break;
    case 2:
      ILEV = 0;
      break;
    case 3:
      ILEV = MAXILEV;
      break;
    default:
      break;
  }
  SETILEV();
  return ILEV != old;
}

// --- load -------------------------------------------------------------------

void Grid::clear() {
  // Filled in place: a temporary of all six arrays would not fit a worker's stack.
  fill_cells(cells_->mapa, 0);
  fill_cells(cells_->latlon, LATLON{});
  fill_cells(cells_->kier, 0);
  fill_cells(cells_->priority, 0);
  fill_cells(cells_->hlev, 0.0);
  fill_cells(cells_->frac, uint8_t{0});
  ORVOBJECTS.assign(static_cast<size_t>(OBJBLOCK), ORVOBJREC{});
  ILOBJ = 0;
  MAXOBJ = OBJBLOCK;
  POLYGONS.clear();
  STATPOI = STATADR = STATNODES = STATLIN = STATPOLYG = STATHLEV = 0;
}

}  // namespace orvela::map
