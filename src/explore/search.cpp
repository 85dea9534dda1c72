#include "explore/search.h"

// The start-point search: the whole map file on a background task.
#include <cstdlib>
#include <limits>
#include <string_view>
#include <vector>

#include "bookmarks/bookmarks.h"
#include "explore/explorer.h"
#include "explore/search_query.h"
#include "map/loader.h"
#include "map/mapdb.h"
#include "text/translate.h"
#include "ui/ui.h"

namespace orvela::explore {
namespace {

using detail::place;
using detail::Query;
using text::_;

// The lines' own table is read first and their boxes looked up by id:
// reading the box index first and each line by its id is five times slower.
constexpr std::string_view kLineSelect =
    "select li.id, objtype, n.name, t.type, s.street, housenum, c.city, r.region, co.country, "
    "points from orvel_lin p cross join orvel_linidx li on li.id=p.id";

std::string start_point_name(const map::ORVOBJREC& o) {
  return o.TYP + " " + o.NAME + " " + o.CITY + " " + o.REGION + " " + o.COUNTRY;
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

// prepare() for the background search: a bind that fails is a database
// error as well; false when Cancel came first.
bool prepare_or_fail(map::MapDb& db, const detail::Query& q, std::string_view kom) {
  if (detail::prepare(db, q, kom)) return true;
  if (db.DBERR() != SQLITE_INTERRUPT) db.IFDBERREX(kom);
  return false;
}

}  // namespace

Search::Search(Explorer& ex, bookmarks::Bookmarks& bookmarks, map::MapDb& db,
               map::MapLoader& loader, const map::Grid& grid, const map::UserState& user,
               ui::Ui& ui)
    : ex_(ex), bookmarks_(bookmarks), db_(db), loader_(loader), grid_(grid), user_(user), ui_(ui) {}

bool Search::map_chosen() const { return !loader_.FN().empty(); }

void Search::FILEOPEN() {
  // Nothing of the new map around the user, or no place to look around yet
  // (the first map of a fresh start): the user chooses where to begin
  // instead of standing in silence on an empty grid.
  const map::MapStatus s = ex_.FILEOPEN().status;
  if (s == map::MapStatus::Empty || s == map::MapStatus::Open) SELMAPSTARTPOINT();
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
  Query q(detail::kPointSelect);
  q << detail::kJoins;
  if (!SKW.empty()) q << " where " << q.keywords(SKW) << " ";
  if (user_.ULATLONSET) detail::order_points_by_distance(q, user_);
  q << " limit " << std::to_string(STARTPOINTLIMIT) << ";";
  if (!prepare_or_fail(db_, q, "prepq")) return;
  detail::read_rows(
      db_, loader_, [&progress] { return progress.BGPROCESCANCEL(); },
      [&](map::ORVOBJREC& o) {
        int32_t lat = 0, lon = 0;
        db_.SQLICOLGETLATLON(9, lat, lon);
        locsearchres_.push_back(place(start_point_name(o), lat, lon));
      });
}

void Search::start_point_lines(const KeyWords& SKW, const ui::BgProgress& progress) {
  Query q(kLineSelect);
  q << detail::kJoins << " where " << q.keywords(SKW) << " ";
  if (user_.ULATLONSET) {
    const std::string u = q.param(user_.ULAT / double{map::CORDSDIVBY});
    const std::string v = q.param(user_.ULON / double{map::CORDSDIVBY});
    q << " order by(abs(" << u << "-minlat)+abs(" << v << "-minlon)) asc";
  }
  q << " limit " << std::to_string(STARTPOINTLIMIT) << ";";
  if (!prepare_or_fail(db_, q, "prepqlin")) return;
  map::LineGeometry geom;
  detail::read_rows(
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

}  // namespace orvela::explore
