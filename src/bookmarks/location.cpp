#include "bookmarks/location.h"

#include <fmt/format.h>

#include <algorithm>
#include <cstdlib>

#include "map/direction.h"
#include "map/geo.h"
#include "map/grid.h"

namespace orvela::bookmarks {

void ADDLOC(ARRLOC& AL, const LOCATION& L) { AL.push_back(L); }

void SORTARRLOC(ARRLOC& AL) {
  std::stable_sort(AL.begin(), AL.end(),
                   [](const LOCATION& a, const LOCATION& b) { return a.UDIST < b.UDIST; });
}

void RECALCARRLOC(ARRLOC& AL, const map::Grid& grid, bool map_loaded) {
  if (!map_loaded) return;
  for (LOCATION& l : AL) grid.LATLONTOYX(l.LAT, l.LON, l.Y, l.X);
}

void set_user_distances(ARRLOC& AL, int32_t ulat, int32_t ulon) {
  for (LOCATION& l : AL) {
    l.UDIST = map::GEODIST(ulat, ulon, l.LAT, l.LON);
    l.UAZIM = static_cast<uint16_t>(map::WRAPDIRECTION(map::GEOAZIM(ulat, ulon, l.LAT, l.LON)));
  }
}

std::string degrees_text(int32_t micro) {
  const int64_t a = std::llabs(int64_t{micro});
  return fmt::format("{}{}.{:06}", micro < 0 ? "-" : "", a / 1000000, a % 1000000);
}

}  // namespace orvela::bookmarks
