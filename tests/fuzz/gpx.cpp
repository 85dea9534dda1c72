// GPX waypoint files.
#include "bookmarks/gpx.h"

#include <cstddef>
#include <cstdint>

#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto file = orvela::fuzz::input_file(data, size, ".gpx");
  orvela::bookmarks::ARRLOC list;
  orvela::bookmarks::PointImport points(list, "point");
  orvela::bookmarks::read_gpx(file, points);
  return 0;
}
