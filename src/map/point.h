#pragma once
// The integer point of map geometry: X is the longitude, Y the latitude, both
// in micro-degrees (in the grid's polygon outlines they are whole cells).
#include <cstdint>

namespace orvela::map {

struct POINT {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const POINT&, const POINT&) = default;
};

}  // namespace orvela::map
