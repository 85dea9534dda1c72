#include "map/loader.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "map/direction.h"
#include "map/geo.h"
#include "map/grid.h"
#include "map/mapdb.h"
#include "text/numeric.h"
#include "text/translate.h"

namespace orvela::map {
namespace {

using text::_;

// Every query of a load takes the loaded area as ?1..?4 (latitudes, then
// longitudes), the map level as ?5, and a counting one its limit as ?6.
#define ORVELA_STRING_JOINS                                                                   \
  " left join orvel_name n on p.nameid=n.nameid left join orvel_type t on p.typeid=t.typeid " \
  " left join orvel_street s on p.streetid=s.streetid left join orvel_city c on "             \
  "p.cityid=c.cityid left join orvel_region r on p.regionid=r.regionid left join "            \
  "orvel_country co on p.countryid=co.countryid "
#define ORVELA_LINE_COLUMNS \
  "objtype, n.name, t.type, s.street, housenum, c.city, r.region, co.country, points, hlevels "
#define ORVELA_LINE_BOX "maxlat>=?1 and minlat<=?2 and maxlon>=?3 and minlon<=?4"
#define ORVELA_POINT_COLUMNS \
  "p.id, objtype, n.name, t.type, s.street, housenum, c.city, r.region, co.country, lat, lon "

constexpr const char* LINE_QUERY =
    "select li.id, " ORVELA_LINE_COLUMNS
    "from orvel_linidx li left join orvel_lin p on li.id=p.id " ORVELA_STRING_JOINS
    "where " ORVELA_LINE_BOX " and startlev<=?5 and endlev>=?5";

// Zoomed far out on a big map, the area holds many lines but few show at
// the level: the ids of the level's lines are then read first, through
// their own index, and the area's index passes on only those (the filter
// runs inside the index's own search, see kLevelFilter), before their rows
// are read. The area's index still leads, so the lines come in the same order.
constexpr const char* LINE_BY_LEVEL_QUERY =
    "select li.id, " ORVELA_LINE_COLUMNS
    "from orvel_linidx li left join orvel_lin p on li.id=p.id " ORVELA_STRING_JOINS
    "where " ORVELA_LINE_BOX
    " and li.id match orvela_level_lines() "
    "and startlev<=?5 and endlev>=?5";
constexpr const char* LEVEL_LINE_IDS = "select id from orvel_lin where endlev>=?5";
// Reading the id of a line of the level, and passing over an entry of the
// area's index that the level filter drops, cost about a quarter of what
// reading a line's row to check its level does (measured on the replicated
// maps of bench/explore).
constexpr RowCost LINE_ID_COST{.narrow = 1, .wide = 4};
constexpr const char* kLevelFilter = "orvela_level_lines";

// The spatial index's search asks this of every node and entry it meets:
// nodes are searched on, entries pass when their line shows at the level.
// The order and score of the search stay as the box alone gives them.
int level_filter(sqlite3_rtree_query_info* q) {
  const auto* ids = static_cast<const std::vector<int64_t>*>(q->pContext);
  if (q->iLevel > 0) {
    q->eWithin = PARTLY_WITHIN;
  } else {
    q->eWithin =
        std::binary_search(ids->begin(), ids->end(), q->iRowid) ? FULLY_WITHIN : NOT_WITHIN;
  }
  return SQLITE_OK;
}
constexpr const char* LINE_AREA_COUNT =
    "select count(*) from (select 1 from orvel_linidx where " ORVELA_LINE_BOX " limit ?6)";
constexpr const char* LINE_LEVEL_COUNT =
    "select count(*) from (select 1 from orvel_lin where endlev>=?5 limit ?6)";

constexpr const char* POINT_QUERY =
    "select " ORVELA_POINT_COLUMNS "from orvel_poi p " ORVELA_STRING_JOINS
    "where lat between ?1 and ?2 and lon between ?3 and ?4 and startlev<=?5 and endlev>=?5";

// Reading a point's row costs about as much as scanning this many entries
// of the latitude index.
constexpr RowCost POINT_ROW_COST{.narrow = 16, .wide = 1};

// The points of the level, when they are fewer than the area's, in the
// order the area's index gives them (by latitude, longitude and id), so
// that the same point wins a shared cell.
constexpr const char* POINT_BY_LEVEL_QUERY =
    "select " ORVELA_POINT_COLUMNS "from orvel_poi p " ORVELA_STRING_JOINS
    "where +lat between ?1 and ?2 and +lon between ?3 and ?4 and +startlev<=?5 and endlev>=?5 "
    "order by +lat, +lon, +p.id";
// The area's points are found by latitude: the whole band of the map
// between the area's latitudes is scanned.
constexpr const char* POINT_BAND_COUNT =
    "select count(*) from (select 1 from orvel_poi where lat between ?1 and ?2 limit ?6)";
constexpr const char* POINT_LEVEL_COUNT =
    "select count(*) from (select 1 from orvel_poi where endlev>=?5 limit ?6)";

#undef ORVELA_STRING_JOINS
#undef ORVELA_LINE_COLUMNS
#undef ORVELA_LINE_BOX
#undef ORVELA_POINT_COLUMNS

constexpr const char* TAG_QUERY =
    "select id from orvel_tags where objtype=?1 and objectid=?2  limit 1;";

// A vertex that cannot be on the Earth means the blob is not geometry.
bool vertices_on_world(const std::vector<POINT>& pts) {
  for (const POINT& p : pts)
    if (p.X < -180000000 || p.X > 180000000 || p.Y < -90000000 || p.Y > 90000000) return false;
  return true;
}

bool step_failed(const MapDb& db) { return db.ISDBERR(); }

// The rows a counting statement finds, at most `cap` (its ?6); -1 when it fails.
int64_t count_upto(sqlite3_stmt* st, int64_t cap) {
  sqlite3_reset(st);
  if (sqlite3_bind_int64(st, 6, cap) != SQLITE_OK || sqlite3_step(st) != SQLITE_ROW) return -1;
  return sqlite3_column_int64(st, 0);
}

// Whether the rows `narrow` finds cost less than those `wide` finds, when
// reading a row of `narrow` costs what `cost.narrow` rows of `wide` cost
// `cost.wide` times over. Both count in growing steps, so the counting
// costs what the smaller count does, never the whole map.
bool fewer_rows(sqlite3_stmt* narrow, sqlite3_stmt* wide, RowCost cost) {
  // As many rows of `wide` as `n` rows of `narrow` cost.
  auto worth = [&](int64_t n) { return n * cost.narrow / cost.wide; };
  for (int64_t cap = 1024; cap <= (int64_t{1} << 36); cap *= 16) {
    const int64_t n = count_upto(narrow, cap);
    if (n < 0) return false;
    if (n < cap) return count_upto(wide, worth(n) + 1) > worth(n);
    const int64_t w = count_upto(wide, worth(cap));
    if (w < worth(cap)) return false;
  }
  return false;
}

// The tables each query reads (the R*Tree index as its own three tables),
// in the order they are looked at when the query fails.
constexpr const char* LINE_TABLES[] = {
    "orvel_linidx_node", "orvel_linidx_parent", "orvel_linidx_rowid", "orvel_lin",
    "orvel_name",        "orvel_type",          "orvel_street",       "orvel_city",
    "orvel_region",      "orvel_country"};
constexpr const char* POINT_TABLES[] = {"orvel_poi",    "orvel_name", "orvel_type",
                                        "orvel_street", "orvel_city", "orvel_region",
                                        "orvel_country"};

// The first of `tables` whose pages or indexes SQLite finds broken, or "".
std::string first_damaged_table(sqlite3* db, std::span<const char* const> tables) {
  for (const char* t : tables) {
    sqlite3_stmt* st = nullptr;
    const std::string q = std::string("pragma quick_check(") + t + ");";
    bool ok = sqlite3_prepare_v2(db, q.c_str(), -1, &st, nullptr) == SQLITE_OK &&
              sqlite3_step(st) == SQLITE_ROW &&
              std::string_view(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))) == "ok";
    sqlite3_finalize(st);
    if (!ok) return t;
  }
  return {};
}

// "Getting data" and which table failed with SQLite's reason: a user with a
// large map learns whether it is worth fetching again.
std::string getting_data_error(MapDb& db, std::span<const char* const> tables) {
  const std::string reason = sqlite3_errstr(db.DBERR());
  const std::string table = db.DB() ? first_damaged_table(db.DB(), tables) : std::string();
  if (table.empty()) {
    return "Getting data. " +
           text::STRTOKENREPLACE(_("The map's data cannot be read: {reason}."), {"reason", reason});
  }
  return "Getting data. " + text::STRTOKENREPLACE(_("Table {table} is damaged: {reason}."),
                                                  {"table", table, "reason", reason});
}

}  // namespace

MapLoader::MapLoader(MapDb& db, Grid& grid, UserState& user, std::filesystem::path mapdir)
    : db_(db), grid_(grid), user_(user), mapdir_(std::move(mapdir)) {}

std::vector<std::string> MapLoader::GETMAPLIST() const {
  std::vector<std::string> names;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(mapdir_, ec), end; !ec && it != end;
       it.increment(ec)) {
    if (it->is_directory(ec)) continue;
    const auto& p = it->path();
    if (p.extension() == ".orvel") names.push_back(p.filename().string());
  }
  return names;
}

void MapLoader::change_map(std::string fn) {
  fn_ = std::move(fn);
  close_map();
}

void MapLoader::close_map() {
  tagq_.reset();
  db_.DBS().reset();
  db_.DBCLOSE();
}

LoadResult MapLoader::OPENMAP() {
  if (fn_.empty()) return {};
  if (!db_.DB()) {
    db_.DBCONNECTRO(fn_);
    if (!db_.DB()) return READMAPERR(_("Can not open map file."));
  }
  return CHECKMAPVER();
}

LoadResult MapLoader::CHECKMAPVER() {
  Stmt st = db_.DBPREPARE("select value from orvel_info where name=\"version\" limit 1;");
  int rc = st ? sqlite3_step(st) : SQLITE_ERROR;
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
    st.reset();
    return READMAPERR(_("It is not a orvel file"));
  }
  int32_t ver = rc == SQLITE_ROW ? sqlite3_column_int(st, 0) : 0;
  st.reset();
  if (ver < MAPINTVER)
    return READMAPERR(_("Map version is older than supported by program. Update map."));
  if (ver > MAPINTVER) return READMAPERR(_("Map version is newer than supported. Update program."));
  return {MapStatus::Open, {}};
}

LoadResult MapLoader::READMAPERR(std::string s) {
  fn_.clear();
  tagq_.reset();
  db_.DBS().reset();
  forget_grid();
  db_.DBCLOSE();
  return {MapStatus::Failed, std::move(s)};
}

std::string MapLoader::GETMAPDATE(const std::filesystem::path& mapfn) {
  MapDb::SavedConnection saved = db_.put_aside();
  std::string date;
  if (db_.DBCONNECTRO(mapfn.string()) == SQLITE_OK && db_.DB())
    date = db_.DBGETSTRRES("select value from orvel_info where name=\"date\" limit 1;");
  db_.restore(std::move(saved));
  return date;
}

bool MapLoader::GETNEXTOBJ(ORVOBJREC& o) {
  o = ORVOBJREC{};
  sqlite3_stmt* st = db_.DBS().get();
  if (!st || db_.DBSTEP(st) != SQLITE_ROW) return false;
  o.ID = sqlite3_column_int64(st, 0);
  std::string type = column_text(st, 1);
  o.OBJTYPE = type.size() > 1 ? "p" : type;
  o.NAME = column_text(st, 2);
  o.TYP = column_text(st, 3);
  std::string street = column_text(st, 4);
  std::string housenum = column_text(st, 5);
  if (!street.empty()) o.NAME += " " + street;
  if (!housenum.empty()) o.NAME += " " + housenum;
  o.CITY = column_text(st, 6);
  o.REGION = column_text(st, 7);
  o.COUNTRY = column_text(st, 8);
  return true;
}

bool MapLoader::OBJHASTAGS(const std::string& objtype, int64_t objectid) {
  sqlite3_reset(tagq_);
  sqlite3_bind_text(tagq_, 1, objtype.data(), static_cast<int>(objtype.size()), SQLITE_TRANSIENT);
  sqlite3_bind_int64(tagq_, 2, objectid);
  return sqlite3_step(tagq_) == SQLITE_ROW;
}

void MapLoader::forget_grid() { grid_.clear(); }

LoadResult MapLoader::READMAP() {
  LoadResult opened = OPENMAP();
  if (opened.status != MapStatus::Open || !user_.ULATLONSET) return opened;
  user_.UPOSX = user_.UPOSY = 75.0;
  grid_.set_area(user_.ULAT, user_.ULON);
  grid_.clear();
  user_.LASTKIER = 0;
  tagq_ = db_.DBPREPARE(TAG_QUERY);
  if (!tagq_) return READMAPERR("Preparing query");
  const int maplev = grid_.MAPLEV;
  if (LoadResult lines = load_lines(maplev); lines.status == MapStatus::Failed) return lines;
  if (LoadResult points = load_points(maplev); points.status == MapStatus::Failed) return points;
  tagq_.reset();
  if (hooks.after_load) hooks.after_load();
  return {grid_.ILOBJ > 0 ? MapStatus::Loaded : MapStatus::Empty, {}};
}

}  // namespace orvela::map

namespace orvela::map {
namespace {

// Grid position of a vertex.
struct XY {
  double x = 0, y = 0;
};
XY grid_pos(const Grid& grid, const POINT& p) {
  XY r;
  grid.LATLONTOYX(p.Y, p.X, r.y, r.x);
  return r;
}

int32_t cell(double v) { return static_cast<int32_t>(std::trunc(v)); }

// The outline of an area as it is read, before it is filled.
void start_polygon(POLYG& pg, int32_t objnum, const XY& first) {
  pg = POLYG{};
  pg.OBJNUM = objnum;
  pg.MINX = pg.MAXX = cell(first.x);
  pg.MINY = pg.MAXY = cell(first.y);
  pg.PG.push_back(POINT{cell(first.x), cell(first.y)});
}

void extend_polygon(POLYG& pg, const XY& a, const XY& b) {
  int32_t x = cell(b.x), y = cell(b.y);
  pg.MINX = std::min(pg.MINX, x);
  pg.MAXX = std::max(pg.MAXX, x);
  pg.MINY = std::min(pg.MINY, y);
  pg.MAXY = std::max(pg.MAXY, y);
  pg.PG.push_back(POINT{x, y});
  pg.BORDERSIZE += static_cast<int32_t>(text::round_half_even(std::hypot(b.x - a.x, b.y - a.y)));
}

// The first vertex's cell learns the line's direction (as it comes, -89..179)
// and level, whichever object holds it: the first segment tells which way
// the line runs there.
void set_first_cell_direction(Grid& grid, const XY& p, int32_t kier, double lev) {
  int x = cell(p.x), y = cell(p.y);
  grid.MAPAKIER(x, y) = kier;
  grid.MAPAHLEV(x, y) = text::round_away(std::isnan(lev) ? 0.0 : lev, 1);
}

void clamp_box(POLYG& pg) {
  auto clamp = [](int32_t v) { return std::clamp<int32_t>(v, 1, MAXXY); };
  pg.MINX = clamp(pg.MINX);
  pg.MINY = clamp(pg.MINY);
  pg.MAXX = clamp(pg.MAXX);
  pg.MAXY = clamp(pg.MAXY);
}

}  // namespace

void MAPADRAWLINE(Grid& grid, double x1, double y1, double x2, double y2, int32_t o, double hl,
                  double hl2, int32_t newprio) {
  if (std::isnan(hl)) hl = 0;
  if (std::isnan(hl2)) hl2 = 0;
  int32_t kier = GETLINEKIER(x1, y1, x2, y2);
  // Cells are counted with floor, not truncation: truncating toward zero
  // merges the two cells either side of the grid's edge into one and the
  // steps then jump over the first cell inside, leaving a gap in a road that
  // enters from the south or west. Inside the grid both are the same.
  auto fcell = [](double v) { return static_cast<int64_t>(std::floor(v)); };
  auto delta = static_cast<int32_t>(
      std::max(std::llabs(fcell(x2) - fcell(x1)), std::llabs(fcell(y2) - fcell(y1))));
  if (delta == 0) return;
  double xd = (x2 - x1) / delta, yd = (y2 - y1) / delta, hd = (hl2 - hl) / delta;
  double x = x1, y = y1, h = hl;
  for (int32_t i = 0; i < delta; ++i) {
    x += xd;
    y += yd;
    h += hd;
    int32_t lat = 0, lon = 0;
    grid.YXTOLATLON(y, x, lat, lon);
    grid.SETMAPA(x, y, o, lat, lon, kier, h, newprio);
  }
}

void FILLSHAPE(Grid& grid, const POLYG& pg) {
  if (pg.MINX < 1 || pg.MINY < 1 || pg.MAXX > MAXXY || pg.MAXY > MAXXY) return;
  int32_t newprio = -pg.BORDERSIZE;
  // Row by row: the same crossings POINTINPOLY would find for each cell of
  // the row, computed once per row instead of once per cell. A cell is
  // inside when an odd number of crossings lies to its right. Big areas
  // (forests, the country) have thousands of vertices, and testing every
  // cell against every edge made them most of a load's time.
  std::vector<double> xcs;
  const std::vector<POINT>& poly = pg.PG;
  const size_t n = poly.size();
  for (int32_t y = pg.MINY; y <= pg.MAXY; ++y) {
    xcs.clear();
    for (size_t i = 0; i < n; ++i) {
      const POINT& a = poly[i];
      const POINT& b = poly[(i + 1) % n];
      if ((a.Y <= y && y < b.Y) || (b.Y <= y && y < a.Y)) {
        const int64_t num = (static_cast<int64_t>(b.X) - a.X) * (static_cast<int64_t>(y) - a.Y);
        xcs.push_back(
            static_cast<double>(num) / static_cast<double>(static_cast<int64_t>(b.Y) - a.Y) + a.X);
      }
    }
    if (xcs.empty()) continue;
    std::sort(xcs.begin(), xcs.end());
    size_t left = 0;  // crossings at or left of x
    for (int32_t x = pg.MINX; x <= pg.MAXX; ++x) {
      while (left < xcs.size() && xcs[left] <= x) ++left;
      if ((xcs.size() - left) % 2 == 0) continue;
      int32_t lat = 0, lon = 0;
      grid.YXTOLATLON(y, x, lat, lon);
      grid.SETMAPA(x, y, pg.OBJNUM, lat, lon, 0, 0, newprio);
    }
  }
}

// Binds the area in degrees (lines) or micro-degrees (points) and the
// level, as far as the statement takes them.
bool MapLoader::bind_area(sqlite3_stmt* st, bool degrees, int maplev) {
  const int32_t box[4] = {grid_.MINLAT, grid_.MAXLAT, grid_.MINLON, grid_.MAXLON};
  const int n = std::min(sqlite3_bind_parameter_count(st), 5);
  for (int i = 1; i <= n; ++i) {
    if (i == 5)
      db_.DBBINDINT(st, i, maplev);
    else if (degrees)
      db_.DBBINDDOUBLE(st, i, box[i - 1] / static_cast<double>(CORDSDIVBY));
    else
      db_.DBBINDINT(st, i, box[i - 1]);
    if (db_.ISDBERR()) return false;
  }
  return true;
}

bool MapLoader::level_is_narrower(const char* level_count, const char* area_count, bool degrees,
                                  int maplev, RowCost cost) {
  if (reading != Reading::Choose) return reading == Reading::ByLevel;
  // Every object shows at the lowest level: nothing to count.
  if (maplev <= 0) return false;
  Stmt level = db_.DBPREPARE(level_count);
  Stmt area = db_.DBPREPARE(area_count);
  return level && area && bind_area(level, degrees, maplev) && bind_area(area, degrees, maplev) &&
         fewer_rows(level, area, cost);
}

// The ids of the lines that show at the level, sorted; false when they
// cannot be read.
bool MapLoader::read_level_lines(int maplev) {
  level_lines_.clear();
  Stmt q = db_.DBPREPARE(LEVEL_LINE_IDS);
  if (!q || !bind_area(q, true, maplev)) return false;
  while (db_.DBSTEP(q) == SQLITE_ROW) level_lines_.push_back(sqlite3_column_int64(q, 0));
  if (step_failed(db_)) return false;
  std::sort(level_lines_.begin(), level_lines_.end());
  return sqlite3_rtree_query_callback(db_.DB(), kLevelFilter, level_filter, &level_lines_,
                                      nullptr) == SQLITE_OK;
}

LoadResult MapLoader::load_lines(int maplev) {
  const bool by_level =
      level_is_narrower(LINE_LEVEL_COUNT, LINE_AREA_COUNT, true, maplev, LINE_ID_COST);
  if (by_level && !read_level_lines(maplev)) {
    return READMAPERR(getting_data_error(db_, LINE_TABLES));
  }
  db_.DBS() = db_.DBPREPARE(by_level ? LINE_BY_LEVEL_QUERY : LINE_QUERY);
  sqlite3_stmt* st = db_.DBS().get();
  if (!st) return READMAPERR("Preparing query");
  if (!bind_area(st, true, maplev)) return READMAPERR("bindparams");
  ORVOBJREC o;
  LineGeometry geom;
  while (GETNEXTOBJ(o)) draw_line_row(o, geom);
  if (step_failed(db_)) {
    return READMAPERR(getting_data_error(db_, LINE_TABLES));
  }
  db_.DBS().reset();
  return {MapStatus::Loaded, {}};
}

void MapLoader::draw_line_row(ORVOBJREC& o, LineGeometry& geom) {
  db_.SQLICOLGETPOINTS(9, true, geom);
  const std::vector<POINT>& pts = geom.POINTS;
  const std::vector<double>& lev = geom.HLEVELS;
  // Rows with no vertices or with vertices off the Earth are not geometry.
  if (pts.empty() || !vertices_on_world(pts)) return;
  if (geom.has_hlevels) grid_.STATHLEV += 1;
  char type = objtype_letter(o);
  o.HASTAGS = OBJHASTAGS(o.OBJTYPE, o.ID);
  int32_t self = grid_.ADDOBJ(o);
  int32_t prio = grid_.GETOBJPRIORITY(self);
  XY p1 = grid_pos(grid_, pts[0]);
  POLYG pg;
  start_polygon(pg, self, p1);
  bool first_valid = grid_.ISXYVALID(p1.x, p1.y);
  if (type == OBJTYPE_LINE && first_valid)
    grid_.SETMAPA(p1.x, p1.y, self, pts[0].Y, pts[0].X, 0, lev[0], prio);
  double l1 = lev[0];
  for (size_t i = 1; i < pts.size(); ++i) {
    XY p2 = grid_pos(grid_, pts[i]);
    double l2 = lev[i];
    if (i == 1 && type == OBJTYPE_LINE && first_valid)
      set_first_cell_direction(grid_, p1, GETLINEKIER(p1.x, p1.y, p2.x, p2.y), lev[0]);
    if (type == OBJTYPE_POLYGON) extend_polygon(pg, p1, p2);
    if (type == OBJTYPE_LINE) MAPADRAWLINE(grid_, p1.x, p1.y, p2.x, p2.y, self, l1, l2, prio);
    p1 = p2;
    l1 = l2;
  }
  if (type == OBJTYPE_POLYGON) {
    clamp_box(pg);
    if (pg.MINX <= pg.MAXX && pg.MINY <= pg.MAXY) {
      FILLSHAPE(grid_, pg);
      grid_.POLYGONS.push_back(std::move(pg));
    } else {
      grid_.DELLASTOBJ();
    }
  } else if (type == OBJTYPE_LINE && grid_.ORVOBJECTS[static_cast<size_t>(self)].ILHITS == 0) {
    grid_.DELLASTOBJ();
  }
}

LoadResult MapLoader::load_points(int maplev) {
  const bool by_level =
      level_is_narrower(POINT_LEVEL_COUNT, POINT_BAND_COUNT, false, maplev, POINT_ROW_COST);
  db_.DBS() = db_.DBPREPARE(by_level ? POINT_BY_LEVEL_QUERY : POINT_QUERY);
  sqlite3_stmt* st = db_.DBS().get();
  if (!st) return READMAPERR("preparing query");
  if (!bind_area(st, false, maplev)) return READMAPERR("bindparam");
  ORVOBJREC o;
  while (GETNEXTOBJ(o)) {
    o.HASTAGS = OBJHASTAGS(o.OBJTYPE, o.ID);
    int32_t lat = 0, lon = 0;
    db_.SQLICOLGETLATLON(9, lat, lon);
    o.LAT = lat;
    o.LON = lon;
    XY p = grid_pos(grid_, POINT{lon, lat});
    int32_t self = grid_.ADDOBJ(o);
    if (grid_.ISXYVALID(p.x, p.y))
      grid_.SETMAPA(p.x, p.y, self, lat, lon, 0, 0, grid_.GETOBJPRIORITY(self));
    if (grid_.ORVOBJECTS[static_cast<size_t>(self)].ILHITS == 0) grid_.DELLASTOBJ();
  }
  if (step_failed(db_)) {
    return READMAPERR(getting_data_error(db_, POINT_TABLES));
  }
  db_.DBS().reset();
  return {MapStatus::Loaded, {}};
}

void CALCMAPCENTER(map::MapDb& db, int32_t& LAT, int32_t& LON) {
  int64_t lat = 0, lon = 0;
  int n = 0;
  if (db.DBGETNUMRES("select count(*) from orvel_poi;") > 0) {
    lat += db.DBGETNUMRES("select cast(round((min(lat)+max(lat))/2) as int) from orvel_poi;");
    lon += db.DBGETNUMRES("select cast(round((min(lon)+max(lon))/2) as int) from orvel_poi;");
    ++n;
  }
  if (db.DBGETNUMRES("select count(*) from orvel_linidx;") > 0) {
    lat += db.DBGETNUMRES(
        "select cast(round((min(minlat)+max(maxlat))/2*1000000) as int) from orvel_linidx;");
    lon += db.DBGETNUMRES(
        "select cast(round((min(minlon)+max(maxlon))/2*1000000) as int) from orvel_linidx;");
    ++n;
  }
  if (n == 2) {
    lat /= 2;
    lon /= 2;
  }
  LAT = static_cast<int32_t>(lat);
  LON = static_cast<int32_t>(lon);
}

}  // namespace orvela::map
