// Compiled translation catalogues (.mo) in the language folder.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/mo_catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto cat = orvela::text::MoCatalogue::parse(bytes);
  if (cat) {
    cat->find("");
    cat->find(bytes.substr(0, 16));
  }
  return 0;
}
