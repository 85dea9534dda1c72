// Walking along a road to the next intersection, and the command that
// takes the user there.
#include "explore/street_walk.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

#include "explore/explorer.h"
#include "map/direction.h"
#include "map/geo.h"
#include "map/grid.h"
#include "map/mapdb.h"
#include "map/orvobj.h"
#include "text/distance.h"
#include "text/messages.h"
#include "text/translate.h"

namespace orvela::explore {
namespace {

using text::_;

// Far more pieces than any road is mapped in; a guard against rings.
constexpr size_t kMaxPieces = 10000;

// Of `branches`, the one leaving nearest to `heading`; the first of equals.
const Branch* nearest_branch(const std::vector<Branch>& branches, int32_t heading) {
  const Branch* best = nullptr;
  for (const Branch& b : branches)
    if (!best || angle_between(b.bearing, heading) < angle_between(best->bearing, heading))
      best = &b;
  return best;
}

// A piece of road and the vertices still to walk on it.
struct Leg {
  RoadLine line;
  std::vector<map::POINT> path;
};

Leg leg_of(const Branch& b) { return {*b.line, b.path}; }

// Where the road goes on at `end`, the last vertex of `line`: a line that
// begins or ends there, has not been walked yet and is the same road (the
// same name, or the same type where one of them has no name), the one
// nearest to straight on. A road mapped in pieces meets itself like that
// without an intersection, its name now and then missing on a piece.
std::optional<Leg> continuation(map::MapDb& db, const RoadLine& line, map::POINT end,
                                int32_t travel, const std::set<int64_t>& walked) {
  const std::vector<RoadLine> lines = lines_at(db, end);
  std::vector<Branch> onward;
  for (const RoadLine& l : lines) {
    const bool same_road =
        l.name.empty() || line.name.empty() ? l.typ == line.typ : l.name == line.name;
    const bool joins = l.pts.front() == end || l.pts.back() == end;
    if (walked.count(l.id) || !same_road || !joins) continue;
    for (Branch& b : branches_from(l, end)) onward.push_back(std::move(b));
  }
  const Branch* b = nearest_branch(onward, travel);
  if (!b) return std::nullopt;
  return leg_of(*b);
}

// The direction of travel at the end of `walked`, over its last metres.
int32_t arrival_bearing(const std::vector<map::POINT>& walked) {
  std::vector<map::POINT> back(walked.rbegin(), walked.rend());
  return map::WRAPDIRECTION(leaving_bearing(back) + 180);
}

Walk follow(map::MapDb& db, Leg leg) {
  IntersectionAt intersection(db);
  std::vector<map::POINT> walked{leg.path.front()};
  int64_t metres = 0;
  std::set<int64_t> done{leg.line.id};
  for (size_t piece = 0; piece < kMaxPieces; ++piece) {
    for (size_t i = 1; i < leg.path.size(); ++i) {
      const map::POINT& from = walked.back();
      const map::POINT& to = leg.path[i];
      metres += map::GEODIST(from.Y, from.X, to.Y, to.X);
      walked.push_back(to);
      if (intersection(to)) return {to, static_cast<int32_t>(metres), arrival_bearing(walked)};
    }
    std::optional<Leg> next =
        continuation(db, leg.line, walked.back(), arrival_bearing(walked), done);
    if (!next) break;
    leg = std::move(*next);
    done.insert(leg.line.id);
  }
  return {walked.back(), static_cast<int32_t>(metres), arrival_bearing(walked)};
}

}  // namespace

std::optional<Walk> walk_road(map::MapDb& db, const WalkStart& start, int32_t heading) {
  map::POINT at = start.at;
  std::vector<RoadLine> lines = lines_at(db, at);
  if (lines.empty() && start.line) {
    std::optional<RoadLine> line = line_by_id(db, *start.line);
    if (!line) return std::nullopt;
    // The point of the road beside the user may be a node of other roads too.
    at = nearest_on(*line, at);
    lines = lines_at(db, at);
    const int64_t id = line->id;
    if (std::none_of(lines.begin(), lines.end(), [id](const RoadLine& l) { return l.id == id; }))
      lines.push_back(std::move(*line));
  } else if (lines.empty() && start.node) {
    at = *start.node;
    lines = lines_at(db, at);
  }
  std::vector<Branch> branches;
  for (const RoadLine& l : lines)
    for (Branch& b : branches_from(l, at)) branches.push_back(std::move(b));
  const Branch* best = nearest_branch(branches, heading);
  if (!best) return std::nullopt;
  return follow(db, leg_of(*best));
}

void Explorer::arrive(map::POINT at, int32_t udir, const std::string& addition) {
  const double prevhlev = user_.LASTHLEV;
  user_.ULAT = at.Y;
  user_.ULON = at.X;
  user_.ULATLONSET = true;
  SETUDIR(udir);
  // Within the loaded area the user moves on the grid as a step does (to
  // two decimals, never into the next cell); near its edge the map is
  // loaded around the arrival, as after a jump.
  double y = 0, x = 0;
  grid_.LATLONTOYX(at.Y, at.X, y, x);
  constexpr double margin = 10;
  if (x < margin || x + margin > map::MAXXY || y < margin || y + margin > map::MAXXY) {
    READMAP();
  } else {
    user_.UPOSX = std::floor(x * 100) / 100;
    user_.UPOSY = std::floor(y * 100) / 100;
  }
  after_arrival(prevhlev, addition);
}

void Explorer::WALKSTREET(bool back) {
  if (CHECKNOMAP()) return;
  auto c = user_cell();
  const int32_t o = c ? grid_.MAPA(c->first, c->second) : 0;
  std::optional<Walk> walk;
  if (c && loader_.db().DB()) {
    // Where the user stands exactly, so that a walk from a node starts there
    // whatever else shares the cell at large squares; else the road drawn
    // in the cell, or the node of the point drawn there.
    WalkStart start{{user_.ULON, user_.ULAT}, {}, {}};
    if (o != 0) {
      const map::ORVOBJREC& obj = grid_.ORVOBJECTS[static_cast<size_t>(o)];
      const char t = map::objtype_letter(obj);
      if (t == map::OBJTYPE_LINE)
        start.line = obj.ID;
      else if (t != map::OBJTYPE_POLYGON)
        start.node = map::POINT{obj.LON, obj.LAT};
    }
    walk = walk_road(loader_.db(), start, map::WRAPDIRECTION(user_.UDIR + (back ? 180 : 0)));
  }
  if (!walk) {
    msg_.EDA(_("No road here."));
    return;
  }
  // Forward the user faces the way they walked; back they keep facing
  // the other way, as a step back does not turn.
  arrive(walk->arrival, map::WRAPDIRECTION(walk->bearing + (back ? 180 : 0)),
         text::DISTANCETOSTR(walk->metres));
}

}  // namespace orvela::explore
