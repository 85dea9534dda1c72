// The points and height-level blobs of a map's objects, read from map files
// that may come from anywhere.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "map/varint.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvela::map;
  std::span<const uint8_t> blob(data, size);

  std::vector<POINT> points;
  decode_points(blob, points);

  // The first byte chooses how many vertices the height levels are spread
  // over, as the object's point count would.
  if (size > 0) {
    std::vector<double> hlevels;
    interpolate_hlevels(blob.subspan(1), data[0], hlevels);
  }

  size_t poz = 0;
  int32_t v = 0;
  while (poz < size && VARINT_DECODE(v, blob, poz)) {
  }
  return 0;
}
