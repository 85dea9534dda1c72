#pragma once
// Opening a map where no better place is known: at its centre. The first
// start opens the demo map so, and so does an import that opens its new map.
#include <cstdint>
#include <filesystem>
#include <optional>

namespace orvela::map {
class MapDb;
class MapLoader;
}  // namespace orvela::map

namespace orvela::explore {

class Explorer;

// A place on the map in micro-degrees.
struct MapPlace {
  int32_t LAT = 0;
  int32_t LON = 0;
  friend bool operator==(const MapPlace&, const MapPlace&) = default;
};

// Makes `fn` the current map of `loader` and opens it through `db` (the
// loader's connection). Returns the map's centre, where the caller puts the
// user; nothing when the map cannot be opened (the explorer has then told
// the user why, and the map is forgotten).
std::optional<MapPlace> open_map_at_centre(Explorer& ex, map::MapLoader& loader, map::MapDb& db,
                                           const std::filesystem::path& fn);

}  // namespace orvela::explore
