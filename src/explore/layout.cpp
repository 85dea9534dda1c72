// The roads at an intersection, spoken with their directions.
#include "explore/layout.h"

#include <algorithm>

#include "explore/explorer.h"
#include "map/direction.h"
#include "map/geo.h"
#include "map/grid.h"
#include "map/mapdb.h"
#include "map/orvobj.h"
#include "text/messages.h"
#include "text/strutil.h"
#include "text/translate.h"

namespace orvela::explore {

using text::_;

std::vector<LayoutRoad> intersection_layout(map::MapDb& db, map::POINT node, int32_t from) {
  std::vector<LayoutRoad> roads;
  const std::vector<RoadLine> lines = lines_at(db, node);
  for (const RoadLine& l : lines) {
    std::string name = !l.name.empty() ? l.name : !l.typ.empty() ? l.typ : GETOBJTYPEDESC("l");
    for (const Branch& b : branches_from(l, node)) roads.push_back({name, b.bearing});
  }
  // Clockwise from straight ahead; roads in one direction by name, so the
  // order does not depend on how the map file stores them.
  auto turn = [from](const LayoutRoad& r) {
    return map::WRAPDIRECTION(static_cast<int64_t>(r.bearing) - from);
  };
  std::sort(roads.begin(), roads.end(), [&](const LayoutRoad& a, const LayoutRoad& b) {
    return turn(a) != turn(b) ? turn(a) < turn(b) : a.name < b.name;
  });
  return roads;
}

std::optional<map::POINT> nearest_intersection(map::MapDb& db, const LatLonBox& box, map::POINT p) {
  std::optional<map::POINT> best;
  int32_t best_d = 0;
  for (const map::POINT& n : intersections_in(db, box)) {
    const int32_t d = map::GEODIST(p.Y, p.X, n.Y, n.X);
    if (!best || d < best_d ||
        (d == best_d && (n.Y < best->Y || (n.Y == best->Y && n.X < best->X)))) {
      best = n;
      best_d = d;
    }
  }
  return best;
}

void Explorer::SAYLAYOUT() {
  if (CHECKNOMAP()) return;
  std::optional<map::POINT> node;
  if (auto c = user_cell(); c && loader_.db().DB()) {
    // The user's cell and the cells around it, whatever their size: at
    // large squares the intersections are not in the grid at all.
    LatLonBox box;
    grid_.YXTOLATLON(c->second - 1, c->first - 1, box.minlat, box.minlon);
    grid_.YXTOLATLON(c->second + 2, c->first + 2, box.maxlat, box.maxlon);
    node = nearest_intersection(loader_.db(), box, {user_.ULON, user_.ULAT});
  }
  std::vector<LayoutRoad> roads;
  if (node) roads = intersection_layout(loader_.db(), *node, user_.UDIR);
  if (roads.empty()) {
    msg_.EDA(_("No intersection here."));
    return;
  }
  std::string s;
  for (const LayoutRoad& r : roads) {
    if (!s.empty()) s += ", ";
    s += r.name + " " + text::DELRLSPC(text::DELDBLSPC(GETDIRSTR(r.bearing)));
  }
  msg_.EDA(s);
}

}  // namespace orvela::explore
