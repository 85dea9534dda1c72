#pragma once
// The lines of the open map file as geometry, read straight from the file
// whatever the zoom level: the grid's cells are too coarse for directions
// at large squares, and at some zoom levels a road or an intersection is
// not loaded at all. Intersection layouts and street walks stand on this.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "map/point.h"
#include "map/stmt.h"

namespace orvela::map {
class MapDb;
}

namespace orvela::explore {

// A line (not an area) of the map file and its vertices.
struct RoadLine {
  int64_t id = 0;
  std::string name;  // as announced: the name, then street and house number
  std::string typ;
  std::vector<map::POINT> pts;  // X = longitude, Y = latitude, micro-degrees
};

// A box in micro-degrees, bounds included.
struct LatLonBox {
  int32_t minlat = 0, maxlat = 0, minlon = 0, maxlon = 0;
};

// The lines that have a vertex exactly at `p` (roads that meet at a node
// share it; a bridge passing over it does not).
std::vector<RoadLine> lines_at(map::MapDb& db, map::POINT p);
// The line with row id `id`; nothing when there is none or it is an area.
std::optional<RoadLine> line_by_id(map::MapDb& db, int64_t id);
// The intersections in `box`.
std::vector<map::POINT> intersections_in(map::MapDb& db, const LatLonBox& box);

// Whether an intersection stands exactly at a point: asked vertex by vertex
// along a road, through one statement.
class IntersectionAt {
 public:
  explicit IntersectionAt(map::MapDb& db);
  bool operator()(map::POINT p);

 private:
  map::MapDb& db_;
  map::Stmt q_;
};

// The point of `line` nearest to `p` (p itself when it is a vertex).
map::POINT nearest_on(const RoadLine& line, map::POINT p);

// One way a line leads away from a point on it.
struct Branch {
  const RoadLine* line = nullptr;
  std::vector<map::POINT> path;  // the point, then the vertices on to the line's end
  int32_t bearing = 0;           // degrees from north, leaving the point
};
// The ways `line` leads on from `p`, a point on it: two from a point inside
// the line, one from an end, more where the line passes the point again.
std::vector<Branch> branches_from(const RoadLine& line, map::POINT p);

// The direction in which `path` leaves its first point: towards its first
// vertex some metres away, so that a kink right at the node does not count.
int32_t leaving_bearing(const std::vector<map::POINT>& path);
// The smaller angle between two directions, 0..180.
int32_t angle_between(int32_t a, int32_t b);

}  // namespace orvela::explore
