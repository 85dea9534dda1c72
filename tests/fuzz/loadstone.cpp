// Loadstone point files, both the database export (#!lsdb) and the
// checkpoint list (#!lscp).
#include "bookmarks/loadstone.h"

#include <cstddef>
#include <cstdint>

#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto file = orvela::fuzz::input_file(data, size, ".txt");
  orvela::bookmarks::ARRLOC list;
  orvela::bookmarks::PointImport points(list, "point");
  orvela::bookmarks::read_loadstone(file, points);
  return 0;
}
