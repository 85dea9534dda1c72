// The catalogue of maps a map server sends.
#include "online/map_catalogue.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto r =
      orvela::online::parse_map_list(std::string_view(reinterpret_cast<const char*>(data), size));
  // Every record read must write back as a line.
  for (const auto& rec : r.records) orvela::online::map_list_line(rec);
  return 0;
}
