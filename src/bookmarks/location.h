#pragma once
// A named point: its coordinates, its distance and direction from the user
// as last computed, and its place on the loaded grid. Bookmarks are such
// points, and so are the results of the searches, which reuse the list
// helpers here.
#include <cstdint>
#include <string>
#include <vector>

namespace orvela::map {
class Grid;
}

namespace orvela::bookmarks {

struct LOCATION {
  std::string NAME;
  int32_t LAT = 0;  // micro-degrees
  int32_t LON = 0;
  int32_t UDIST = 0;   // metres from the user, as last computed
  uint16_t UAZIM = 0;  // degrees 0..359 from the user to the point, as last computed
  double X = 0;        // grid position on the loaded map
  double Y = 0;
  // Loadstone's own ids; nothing fills them (the files carry constants).
  uint32_t LS_USERID = 0;
  uint32_t LS_POINTID = 0;
};

using ARRLOC = std::vector<LOCATION>;

// Appends a copy of `L`.
void ADDLOC(ARRLOC& AL, const LOCATION& L);
// Sorts by ascending UDIST; entries at the same distance keep their order.
void SORTARRLOC(ARRLOC& AL);
// X and Y of every entry from its coordinates on `grid`; nothing when no map
// is loaded (`map_loaded` false).
void RECALCARRLOC(ARRLOC& AL, const map::Grid& grid, bool map_loaded);
// UDIST and UAZIM of every entry, seen from the user at (ulat, ulon).
void set_user_distances(ARRLOC& AL, int32_t ulat, int32_t ulon);

// Micro-degrees as decimal degrees with six decimals, exactly ("-0.500000").
std::string degrees_text(int32_t micro);

}  // namespace orvela::bookmarks
