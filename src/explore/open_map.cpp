#include "explore/open_map.h"

#include "explore/explorer.h"
#include "map/loader.h"

namespace orvela::explore {

std::optional<MapPlace> open_map_at_centre(Explorer& ex, map::MapLoader& loader, map::MapDb& db,
                                           const std::filesystem::path& fn) {
  loader.change_map(fn.string());
  if (!ex.OPENMAP().open()) return std::nullopt;
  MapPlace centre;
  map::CALCMAPCENTER(db, centre.LAT, centre.LON);
  return centre;
}

}  // namespace orvela::explore
