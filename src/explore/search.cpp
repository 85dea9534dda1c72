#include "explore/search.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string_view>
#include <variant>
#include <vector>

#include "bookmarks/bookmarks.h"
#include "explore/explorer.h"
#include "map/grid.h"
#include "map/loader.h"
#include "map/mapdb.h"
#include "text/translate.h"
#include "ui/ui.h"

namespace orvela::explore {
namespace {

using bookmarks::ARRLOC;
using bookmarks::LOCATION;
using text::_;

// The six texts of an object, joined to its row `p` as the loader joins them.
constexpr std::string_view kJoins =
    " left join orvel_name n on p.nameid=n.nameid left join orvel_type t on p.typeid=t.typeid "
    " left join orvel_street s on p.streetid=s.streetid  left join orvel_city c on "
    "p.cityid=c.cityid  left join orvel_region r on p.regionid=r.regionid  left join "
    "orvel_country co on p.countryid=co.countryid ";

constexpr std::string_view kPointSelect =
    "select p.id, objtype, n.name, t.type, s.street, housenum, c.city, r.region, co.country, lat, "
    "lon from orvel_poi p";

// The lines' own table is read first and their boxes looked up by id:
// reading the box index first and each line by its id is five times slower.
constexpr std::string_view kLineSelect =
    "select li.id, objtype, n.name, t.type, s.street, housenum, c.city, r.region, co.country, "
    "points from orvel_lin p cross join orvel_linidx li on li.id=p.id";

// A statement's text with its parameters, numbered in the order they are
// added. Nothing the user typed ever becomes part of the text.
class Query {
 public:
  explicit Query(std::string_view sql) : sql_(sql) {}
  Query& operator<<(std::string_view s) {
    sql_ += s;
    return *this;
  }
  // The placeholder of a new parameter with value `v`.
  std::string param(std::variant<int64_t, double, std::string> v) {
    values_.push_back(std::move(v));
    return "?" + std::to_string(values_.size());
  }
  // The key-word condition, its key words the next parameters.
  std::string keywords(const KeyWords& SKW) {
    std::string where = PREPWHERE(SKW, static_cast<int>(values_.size()) + 1);
    for (const std::string& k : SKW) param(k);
    return where;
  }
  const std::string& sql() const { return sql_; }
  // Binds every parameter through `db`, so DBERR tells how it went.
  bool bind(map::MapDb& db, sqlite3_stmt* st) const {
    for (std::size_t i = 0; i < values_.size(); ++i) {
      const int n = static_cast<int>(i) + 1;
      if (const auto* q = std::get_if<int64_t>(&values_[i]))
        db.DBBINDQWORD(st, n, *q);
      else if (const auto* d = std::get_if<double>(&values_[i]))
        db.DBBINDDOUBLE(st, n, *d);
      else
        db.DBBINDSTR(st, n, std::get<std::string>(values_[i]));
      if (db.ISDBERR()) return false;
    }
    return true;
  }

 private:
  std::string sql_;
  std::vector<std::variant<int64_t, double, std::string>> values_;
};

// Points nearest to the user first, by the squared differences of the
// coordinates in micro-degrees.
void order_points_by_distance(Query& q, const map::UserState& user) {
  const std::string u = q.param(int64_t{user.ULAT}), v = q.param(int64_t{user.ULON});
  q << " order by(abs(" << u << "-lat)*abs(" << u << "-lat))+(abs(" << v << "-lon)*abs(" << v
    << "-lon)) asc";
}

std::string start_point_name(const map::ORVOBJREC& o) {
  return o.TYP + " " + o.NAME + " " + o.CITY + " " + o.REGION + " " + o.COUNTRY;
}

std::string area_name(const map::ORVOBJREC& o) {
  return o.TYP + (o.TYP.empty() ? "" : " ") + o.NAME + " " + o.CITY;
}

LOCATION place(std::string name, int32_t lat, int32_t lon) {
  LOCATION l;
  l.NAME = std::move(name);
  l.LAT = lat;
  l.LON = lon;
  return l;
}

// The vertex nearest to the user by the sum of the coordinate differences
// (the first of equally near ones); vertex 0 when the user is nowhere.
map::POINT nearest_vertex(const std::vector<map::POINT>& pts, const map::UserState& user) {
  if (!user.ULATLONSET) return pts.front();
  map::POINT best = pts.front();
  int64_t bestd = std::numeric_limits<int64_t>::max();
  for (const map::POINT& p : pts) {
    const int64_t d = std::llabs(int64_t{p.Y} - user.ULAT) + std::llabs(int64_t{p.X} - user.ULON);
    if (d < bestd) {
      bestd = d;
      best = p;
    }
  }
  return best;
}

std::string area_title(char OBJTYPE) {
  switch (OBJTYPE) {
    case map::OBJTYPE_POI:
      return _("Points in area");
    case map::OBJTYPE_INTERSECTION:
      return _("Intersections in area");
    case map::OBJTYPE_LINE:
      return _("Lines in area");
    case map::OBJTYPE_POLYGON:
      return _("Polygons in area");
    case map::OBJTYPE_ADDRESS:
      return _("Addresses in area");
    default:
      return _("Everything in area");
  }
}

// Whether the search for OBJTYPE looks at the lines and areas of the grid,
// and whether it asks the map for points.
bool searches_grid(char OBJTYPE) {
  return OBJTYPE == '\0' || OBJTYPE == map::OBJTYPE_LINE || OBJTYPE == map::OBJTYPE_POLYGON;
}
bool searches_points(char OBJTYPE) {
  return OBJTYPE == '\0' || OBJTYPE == map::OBJTYPE_POI || OBJTYPE == map::OBJTYPE_ADDRESS ||
         OBJTYPE == map::OBJTYPE_INTERSECTION;
}

// Prepares `q` into the shared statement DBS and binds it; false when it
// is not ready, DBERR telling why: a bind that failed, or Cancel, which
// may interrupt the prepare too. Any other failure to prepare is a
// database error (`kom` names it in the log).
bool prepare(map::MapDb& db, const Query& q, std::string_view kom) {
  register_keyword_match(db.DB());
  db.DBS() = db.DBPREPARE(q.sql());
  if (!db.DBS()) {
    if (db.DBERR() == SQLITE_INTERRUPT) return false;
    db.IFDBERREX(kom);
  }
  if (q.bind(db, db.DBS())) return true;
  db.DBS().reset();
  return false;
}

// prepare() for the background search: a bind that fails is a database
// error as well; false when Cancel came first.
bool prepare_or_fail(map::MapDb& db, const Query& q, std::string_view kom) {
  if (prepare(db, q, kom)) return true;
  if (db.DBERR() != SQLITE_INTERRUPT) db.IFDBERREX(kom);
  return false;
}

// Reads the rows of DBS into `row` until they end or `stop` says so. A
// query interrupted by Cancel ends like one that ran out of rows; any
// other failure is a database error.
template <typename Stop, typename Row>
void read_rows(map::MapDb& db, map::MapLoader& loader, Stop stop, Row row) {
  map::ORVOBJREC o;
  while (!stop() && loader.GETNEXTOBJ(o)) row(o);
  const bool interrupted = db.DBERR() == SQLITE_INTERRUPT;
  db.DBS().reset();
  if (!interrupted) db.IFDBERREX("Getting data");
}

}  // namespace

Search::Search(Explorer& ex, bookmarks::Bookmarks& bookmarks, map::MapDb& db,
               map::MapLoader& loader, map::Grid& grid, const map::UserState& user, ui::Ui& ui)
    : ex_(ex), bookmarks_(bookmarks), db_(db), loader_(loader), grid_(grid), user_(user), ui_(ui) {}

bool Search::map_chosen() const { return !loader_.FN().empty(); }

void Search::FILEOPEN() {
  if (ex_.FILEOPEN().status == map::MapStatus::Empty) SELMAPSTARTPOINT();
}

bool Search::map_ready() {
  if (ex_.CHECKNOMAP()) return false;
  return db_.DB() || ex_.OPENMAP().open();
}

// ---- the start-point search ------------------------------------------------

void Search::SELMAPSTARTPOINT() {
  if (!map_ready()) return;
  const std::string title = _("Select start point");
  const auto entry = ui_.WGREADSTR(title, _("Key words"));
  if (!entry) return;
  ui::BgTask task;
  task.texts = {_("Searching"), _("Searching map"), _("Please wait...")};
  task.work = [this, e = *entry](ui::BgProgress& p) { return SELMAPSTARTPOINTTHREAD(e, p); };
  task.on_cancel = [this] { SELMAPSTARTPOINT_ONCANCEL(); };
  ui_.BGPROCES(std::move(task));
  if (locsearchres_.empty()) {
    ui_.WGINFO(_("No points found."));
    return;
  }
  const auto chosen = bookmarks_.SELECTLOC(locsearchres_, true, title, _("Select point"));
  if (chosen) ex_.GOTOLATLON(chosen->LAT, chosen->LON, false, {});
}

ui::BgResult Search::SELMAPSTARTPOINTTHREAD(const std::string& entry,
                                            const ui::BgProgress& progress) {
  const KeyWords SKW = PREPARESEARCHKEYWORDS(entry);
  locsearchres_.clear();
  start_point_points(SKW, progress);
  // Without key words the nearest points are what the user gets.
  if (!progress.BGPROCESCANCEL() && !SKW.empty()) start_point_lines(SKW, progress);
  return {};
}

void Search::SELMAPSTARTPOINT_ONCANCEL() {
  if (db_.DB()) sqlite3_interrupt(db_.DB());
}

void Search::start_point_points(const KeyWords& SKW, const ui::BgProgress& progress) {
  Query q(kPointSelect);
  q << kJoins;
  if (!SKW.empty()) q << " where " << q.keywords(SKW) << " ";
  if (user_.ULATLONSET) order_points_by_distance(q, user_);
  q << " limit " << std::to_string(STARTPOINTLIMIT) << ";";
  if (!prepare_or_fail(db_, q, "prepq")) return;
  read_rows(
      db_, loader_, [&progress] { return progress.BGPROCESCANCEL(); },
      [&](map::ORVOBJREC& o) {
        int32_t lat = 0, lon = 0;
        db_.SQLICOLGETLATLON(9, lat, lon);
        locsearchres_.push_back(place(start_point_name(o), lat, lon));
      });
}

void Search::start_point_lines(const KeyWords& SKW, const ui::BgProgress& progress) {
  Query q(kLineSelect);
  q << kJoins << " where " << q.keywords(SKW) << " ";
  if (user_.ULATLONSET) {
    const std::string u = q.param(user_.ULAT / double{map::CORDSDIVBY});
    const std::string v = q.param(user_.ULON / double{map::CORDSDIVBY});
    q << " order by(abs(" << u << "-minlat)+abs(" << v << "-minlon)) asc";
  }
  q << " limit " << std::to_string(STARTPOINTLIMIT) << ";";
  if (!prepare_or_fail(db_, q, "prepqlin")) return;
  map::LineGeometry geom;
  read_rows(
      db_, loader_, [&progress] { return progress.BGPROCESCANCEL(); },
      [&](map::ORVOBJREC& o) {
        db_.SQLICOLGETPOINTS(9, false, geom);
        // A row without vertices has no place to go to.
        if (geom.POINTS.empty()) return;
        const map::POINT at = nearest_vertex(geom.POINTS, user_);
        const std::string s = start_point_name(o);
        std::string name = s;
        if (map::objtype_letter(o) == map::OBJTYPE_POLYGON)
          name = text::STRTOKENREPLACE(_("Area {searchresult}"), {"searchresult", s});
        else if (map::objtype_letter(o) == map::OBJTYPE_LINE)
          name = text::STRTOKENREPLACE(_("Line {searchresult}"), {"searchresult", s});
        locsearchres_.push_back(place(std::move(name), at.Y, at.X));
      });
}

// ---- the area search ---------------------------------------------------------

void Search::LOCALMAPSEARCH(char OBJTYPE) {
  const std::string title = area_title(OBJTYPE);
  const auto entry = ui_.WGREADSTR(title, _("Key words of name or type (optional)"));
  if (!entry) return;
  const KeyWords SKW = PREPARESEARCHKEYWORDS(*entry);
  // Around the user at the centre, so every cell lies within the rings.
  const map::MapStatus loaded = ex_.READMAP().status;
  if (loaded != map::MapStatus::Loaded && loaded != map::MapStatus::Empty) return;
  ARRLOC found;
  if (searches_grid(OBJTYPE)) scan_rings(OBJTYPE, SKW, found);
  if (searches_points(OBJTYPE) && !area_points(OBJTYPE, SKW, found)) {
    ui_.WGINFO("Error passing parameters");
    return;
  }
  if (found.empty()) {
    ui_.WGINFO(_("Nothing found."));
    return;
  }
  const auto chosen = bookmarks_.SELECTLOC(found, true, title, title);
  if (chosen) ex_.GOTOLATLON(chosen->LAT, chosen->LON, false, {});
}

void Search::scan_rings(char OBJTYPE, const KeyWords& SKW, ARRLOC& found) const {
  const std::vector<map::ORVOBJREC>& objects = grid_.ORVOBJECTS;
  // Per object: 0 not decided yet, 1 passes the key words, 2 does not or
  // was found already.
  std::vector<uint8_t> state(objects.size(), 0);
  auto wanted = [&](int32_t o) {
    auto& s = state[static_cast<std::size_t>(o)];
    if (s == 0) {
      const map::ORVOBJREC& obj = objects[static_cast<std::size_t>(o)];
      s = CHECKSEARCHKEYWORDS(obj.NAME + " " + obj.TYP, SKW) ? 1 : 2;
    }
    return s == 1;
  };
  // The areas still to be found, in list order.
  std::vector<std::size_t> areas;
  if (OBJTYPE != map::OBJTYPE_LINE)
    for (std::size_t i = 0; i < grid_.POLYGONS.size(); ++i)
      if (wanted(grid_.POLYGONS[i].OBJNUM)) areas.push_back(i);
  auto take = [&](int32_t o, int x, int y) {
    state[static_cast<std::size_t>(o)] = 2;
    const map::LATLON& ll = grid_.MAPALATLON(x, y);
    int32_t lat = ll.LAT, lon = ll.LON;
    if (!ll.ISSET) grid_.YXTOLATLON(y, x, lat, lon);
    found.push_back(place(area_name(objects[static_cast<std::size_t>(o)]), lat, lon));
  };
  auto visit = [&](int x, int y) {
    if (x < 1 || y < 1 || x > map::MAXXY || y > map::MAXXY) return;
    if (OBJTYPE != map::OBJTYPE_POLYGON) {
      const int32_t o = grid_.MAPA(x, y);
      if (o > 0 && map::objtype_letter(objects[static_cast<std::size_t>(o)]) == map::OBJTYPE_LINE &&
          wanted(o))
        take(o, x, y);
    }
    for (auto it = areas.begin(); it != areas.end();) {
      const int32_t o = grid_.XYPOINTINPOLYGON(x, y, *it);
      if (o > 0 && wanted(o)) {
        take(o, x, y);
        it = areas.erase(it);
      } else {
        ++it;
      }
    }
  };
  const int LX = static_cast<int>(std::trunc(user_.UPOSX));
  const int LY = static_cast<int>(std::trunc(user_.UPOSY));
  for (int R = 1; R <= LOCALMAPSEARCHMAXRANGE; ++R) {
    for (int Z = 0; Z <= R; ++Z) {
      // The middle cells of each side are visited from both of its ends.
      const bool inner = Z > 0 && Z < R;
      if (inner) visit(LX - Z, LY + R);
      visit(LX + Z, LY + R);
      if (inner) visit(LX + R, LY + Z);
      visit(LX + R, LY - Z);
      if (inner) visit(LX + Z, LY - R);
      visit(LX - Z, LY - R);
      if (inner) visit(LX - R, LY - Z);
      visit(LX - R, LY + Z);
    }
  }
}

bool Search::area_points(char OBJTYPE, const KeyWords& SKW, ARRLOC& found) {
  Query q(kPointSelect);
  q << kJoins << " where lat between " << q.param(int64_t{grid_.MINLAT}) << " and "
    << q.param(int64_t{grid_.MAXLAT}) << " and lon between " << q.param(int64_t{grid_.MINLON})
    << " and " << q.param(int64_t{grid_.MAXLON}) << " and startlev<=";
  const std::string lev = q.param(int64_t{grid_.MAPLEV});
  q << lev << " and endlev>=" << lev;
  if (OBJTYPE != '\0') q << " and objtype=" << q.param(std::string(1, OBJTYPE)) << " ";
  if (!SKW.empty()) q << " and " << q.keywords(SKW) << " ";
  if (user_.ULATLONSET) order_points_by_distance(q, user_);
  if (!prepare(db_, q, "prepq")) return false;
  read_rows(
      db_, loader_, [] { return false; },
      [&](map::ORVOBJREC& o) {
        int32_t lat = 0, lon = 0;
        db_.SQLICOLGETLATLON(9, lat, lon);
        found.push_back(place(area_name(o), lat, lon));
      });
  return true;
}

}  // namespace orvela::explore
