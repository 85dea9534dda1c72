#pragma once
// A fixed-size, direct-mapped memory of recently stored node positions in
// front of the node table: most way references point at nodes stored shortly
// before, so most lookups never reach SQLite. Its size is fixed (64 MB), so
// memory stays bounded whatever the size of the input.
#include <cstdint>
#include <vector>

#include "osm/element_source.h"

namespace orvela::osm {

class NodeCache {
 public:
  static constexpr size_t kSlots = size_t{1} << 22;

  NodeCache() : slots_(kSlots) {}
  // Remembers `n`, replacing whatever shared its slot.
  void put(const OSMNODE& n) {
    slots_[index(n.ID)] = {n.ID + 1, n.LAT, n.LON};
  }
  // The position of node `id` when it is still remembered.
  bool get(uint64_t id, OSMNODE& n) const {
    const Slot& s = slots_[index(id)];
    if (s.key == 0 || s.key != id + 1) return false;
    n = {id, s.lat, s.lon};
    return true;
  }

 private:
  struct Slot {
    uint64_t key = 0;  // the node id plus one; 0 marks an empty slot
    int32_t lat = 0;
    int32_t lon = 0;
  };
  static size_t index(uint64_t id) { return static_cast<size_t>((id * 0x9E3779B97F4A7C15ull) >> 42); }
  std::vector<Slot> slots_;
};

}  // namespace orvela::osm
