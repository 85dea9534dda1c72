#pragma once
// Drawing priorities of map objects: which object keeps a grid cell.
#include <cstdint>
#include <string_view>

#include "map/orvobj.h"

namespace orvela::map {

// True when `S` begins with `PR` (case-sensitive).
inline bool SPREFIX(std::string_view S, std::string_view PR) {
  return S.substr(0, PR.size()) == PR;
}

// Priority of a line or point object (higher wins); areas use minus their
// outline length instead.
int32_t object_priority(const ORVOBJREC& o);

}  // namespace orvela::map
