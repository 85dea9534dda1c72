// The area search: lines and areas found on the loaded grid by scanning its
// cells in rings around the user, points asked of the map for the loaded
// area.
#include <cmath>

#include "bookmarks/bookmarks.h"
#include "explore/explorer.h"
#include "explore/search.h"
#include "explore/search_query.h"
#include "map/grid.h"
#include "text/translate.h"
#include "ui/ui.h"

namespace orvela::explore {
namespace {

using bookmarks::ARRLOC;
using detail::place;
using detail::Query;
using text::_;

std::string area_name(const map::ORVOBJREC& o) {
  return o.TYP + (o.TYP.empty() ? "" : " ") + o.NAME + " " + o.CITY;
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

// The scan for lines and areas: the cells ring by ring around the user's
// cell, each object taken once, at the first cell where it is found.
class RingScan {
 public:
  RingScan(const map::Grid& grid, char OBJTYPE, const KeyWords& SKW, ARRLOC& found)
      : grid_(grid), OBJTYPE_(OBJTYPE), SKW_(SKW), found_(found), state_(grid.ORVOBJECTS.size()) {
    if (OBJTYPE_ == map::OBJTYPE_LINE) return;
    for (std::size_t i = 0; i < grid_.POLYGONS.size(); ++i)
      if (wanted(grid_.POLYGONS[i].OBJNUM)) areas_.push_back(i);
  }

  void run(int LX, int LY) {
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

 private:
  enum State : uint8_t { Undecided, Wanted, Done };

  const map::ORVOBJREC& object(int32_t o) const {
    return grid_.ORVOBJECTS[static_cast<std::size_t>(o)];
  }

  // Not found yet, and its name and type hold every key word.
  bool wanted(int32_t o) {
    State& s = state_[static_cast<std::size_t>(o)];
    if (s == Undecided)
      s = CHECKSEARCHKEYWORDS(object(o).NAME + " " + object(o).TYP, SKW_) ? Wanted : Done;
    return s == Wanted;
  }

  void take(int32_t o, int x, int y) {
    state_[static_cast<std::size_t>(o)] = Done;
    const map::LATLON& ll = grid_.MAPALATLON(x, y);
    int32_t lat = ll.LAT, lon = ll.LON;
    if (!ll.ISSET) grid_.YXTOLATLON(y, x, lat, lon);
    found_.push_back(place(area_name(object(o)), lat, lon));
  }

  void visit(int x, int y) {
    if (x < 1 || y < 1 || x > map::MAXXY || y > map::MAXXY) return;
    if (OBJTYPE_ != map::OBJTYPE_POLYGON) {
      const int32_t o = grid_.MAPA(x, y);
      if (o > 0 && map::objtype_letter(object(o)) == map::OBJTYPE_LINE && wanted(o)) take(o, x, y);
    }
    // Areas are kept in list order and leave the list once found.
    for (auto it = areas_.begin(); it != areas_.end();) {
      const int32_t o = grid_.XYPOINTINPOLYGON(x, y, *it);
      if (o > 0 && wanted(o)) {
        take(o, x, y);
        it = areas_.erase(it);
      } else {
        ++it;
      }
    }
  }

  const map::Grid& grid_;
  const char OBJTYPE_;
  const KeyWords& SKW_;
  ARRLOC& found_;
  std::vector<State> state_;
  std::vector<std::size_t> areas_;  // indices in POLYGONS
};

}  // namespace

void Search::LOCALMAPSEARCH(char OBJTYPE) {
  const std::string title = area_title(OBJTYPE);
  const auto entry = ui_.WGREADSTR(title, _("Key words of name or type (optional)"));
  if (!entry) return;
  const KeyWords SKW = PREPARESEARCHKEYWORDS(*entry);
  // Around the user at the centre, so every cell lies within the rings.
  // A failed load has said why; where the user is nowhere, nothing is near.
  const map::MapStatus loaded = ex_.READMAP().status;
  if (loaded == map::MapStatus::NoMap || loaded == map::MapStatus::Failed) return;
  if (loaded == map::MapStatus::Open) {
    ui_.WGINFO(_("Nothing found."));
    return;
  }
  ARRLOC found;
  if (searches_grid(OBJTYPE))
    RingScan(grid_, OBJTYPE, SKW, found)
        .run(static_cast<int>(std::trunc(user_.UPOSX)), static_cast<int>(std::trunc(user_.UPOSY)));
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

bool Search::area_points(char OBJTYPE, const KeyWords& SKW, ARRLOC& found) {
  Query q(detail::kPointSelect);
  q << detail::kJoins << " where lat between " << q.param(int64_t{grid_.MINLAT}) << " and "
    << q.param(int64_t{grid_.MAXLAT}) << " and lon between " << q.param(int64_t{grid_.MINLON})
    << " and " << q.param(int64_t{grid_.MAXLON}) << " and startlev<=";
  const std::string lev = q.param(int64_t{grid_.MAPLEV});
  q << lev << " and endlev>=" << lev;
  if (OBJTYPE != '\0') q << " and objtype=" << q.param(std::string(1, OBJTYPE)) << " ";
  if (!SKW.empty()) q << " and " << q.keywords(SKW) << " ";
  if (user_.ULATLONSET) detail::order_points_by_distance(q, user_);
  if (!detail::prepare(db_, q, "prepq")) return false;
  detail::read_rows(
      db_, loader_, [] { return false; },
      [&](map::ORVOBJREC& o) {
        int32_t lat = 0, lon = 0;
        db_.SQLICOLGETLATLON(9, lat, lon);
        found.push_back(place(area_name(o), lat, lon));
      });
  return true;
}

}  // namespace orvela::explore
