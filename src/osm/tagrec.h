#pragma once
// One OpenStreetMap tag: key and value, UTF-8.
#include <string>

namespace orvela::osm {

struct TAGREC {
  std::string K;
  std::string V;
  friend bool operator==(const TAGREC&, const TAGREC&) = default;
};

}  // namespace orvela::osm
