#pragma once
// The walker on the map: where the user stands (coordinates and grid
// position), which way they face, and what was last announced. The loader
// resets part of it at every load; exploring, bookmarks and GPS tracking read
// and change it. One instance for the whole run, owned by the app.
#include <cstdint>

namespace orvela::map {

struct UserState {
  int32_t ULAT = 0;  // micro-degrees
  int32_t ULON = 0;
  bool ULATLONSET = false;  // ULAT/ULON are known, a map can be loaded around them
  double UPOSX = 75.0;      // grid position, kept to two decimals
  double UPOSY = 75.0;
  int32_t UDIR = 0;                   // facing, whole degrees 0..359 clockwise from north
  double USTEPSIZE = 1.0;             // grid units per step
  double LASTHLEV = 0.0;              // height level last announced
  int32_t LASTKIER = 0;               // 15-degree sector of the line direction last announced
  bool BOOKMARKSUPOSCHANGED = false;  // bookmark distances need recomputing
};

}  // namespace orvela::map
