#pragma once
// The roads that leave an intersection, each with its direction, read from
// the lines of the map file: right at every zoom level, where the grid's
// cells would only tell which cells a road crosses.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "explore/road_lines.h"

namespace orvela::explore {

struct LayoutRoad {
  std::string name;     // the road's name, or its type when it has none
  int32_t bearing = 0;  // degrees from north, leaving the intersection
};

// The roads leaving the intersection at `node`, clockwise from the
// direction `from` (the way the user faces).
std::vector<LayoutRoad> intersection_layout(map::MapDb& db, map::POINT node, int32_t from);

// The intersection in `box` nearest to `p`.
std::optional<map::POINT> nearest_intersection(map::MapDb& db, const LatLonBox& box, map::POINT p);

}  // namespace orvela::explore
