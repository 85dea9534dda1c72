#pragma once
// Walking along a road to the next intersection, or to where the road
// ends, on the lines of the map file: the same way and the same distance at
// every zoom level, even where the grid holds neither the road nor the
// intersections.
#include <cstdint>
#include <optional>

#include "explore/road_lines.h"

namespace orvela::explore {

// Where a walk starts: at `at` when roads pass through it (an intersection,
// a crossing); otherwise on the line with row id `line` at the point of it
// nearest to `at`; otherwise at `node`, when roads pass through that.
struct WalkStart {
  map::POINT at;
  std::optional<int64_t> line;
  std::optional<map::POINT> node;
};

struct Walk {
  map::POINT arrival;
  int32_t metres = 0;   // along the road
  int32_t bearing = 0;  // the direction of travel on arrival
};

// Walks from `start` along the road whose direction is nearest to
// `heading`, past crossings and the joints of a road mapped in pieces, to
// the next intersection or the end of the road. Nothing when no road passes
// the start.
std::optional<Walk> walk_road(map::MapDb& db, const WalkStart& start, int32_t heading);

}  // namespace orvela::explore
