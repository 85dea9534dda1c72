#pragma once
// A direct-mapped memory of recently stored node positions in front of the
// node table: most way references point at nodes stored shortly before, so
// most lookups never reach SQLite. Its size is capped (64 MB), so memory
// stays bounded whatever the size of the input.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "osm/element_source.h"

namespace orvela::osm {

class NodeCache {
 public:
  static constexpr unsigned kMaxBits = 22;

  NodeCache() : slots_(size_t{1} << bits_) {}
  // Remembers `n`, replacing whatever shared its slot. The table starts
  // small (small files need no 64 MB) and grows with the nodes seen. Growing
  // carries the remembered positions over: dropping them sent every way
  // that used the nodes read before the last growth to the node table.
  void put(const OSMNODE& n) {
    if (++puts_ > slots_.size() && bits_ < kMaxBits) grow();
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
  void grow() {
    std::vector<Slot> old(size_t{1} << std::min(bits_ + 2, kMaxBits));
    old.swap(slots_);
    bits_ = std::min(bits_ + 2, kMaxBits);
    for (const Slot& s : old) {
      if (s.key != 0) slots_[index(s.key - 1)] = s;
    }
  }
  size_t index(uint64_t id) const { return static_cast<size_t>((id * 0x9E3779B97F4A7C15ull) >> (64 - bits_)); }
  unsigned bits_ = 16;
  uint64_t puts_ = 0;
  std::vector<Slot> slots_;
};

}  // namespace orvela::osm
