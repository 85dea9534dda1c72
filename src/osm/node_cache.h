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

  NodeCache() : buckets_(size_t{1} << (bits_ - 1)) {}
  // Remembers `n`. Each bucket holds the two latest positions that hash to
  // it, so two busy nodes sharing a bucket no longer push each other out.
  // The table starts small (small files need no 64 MB) and grows with the
  // nodes seen. Growing carries the remembered positions over: dropping them
  // sent every way that used the nodes read before the last growth to the
  // node table.
  void put(const OSMNODE& n) {
    if (++puts_ > (buckets_.size() * 2) && bits_ < kMaxBits) grow();
    insert({n.ID + 1, n.LAT, n.LON});
  }
  // The position of node `id` when it is still remembered.
  bool get(uint64_t id, OSMNODE& n) const {
    const Bucket& b = buckets_[index(id)];
    for (const Slot& s : b.slot) {
      if (s.key != 0 && s.key == id + 1) {
        n = {id, s.lat, s.lon};
        return true;
      }
    }
    return false;
  }

 private:
  struct Slot {
    uint64_t key = 0;  // the node id plus one; 0 marks an empty slot
    int32_t lat = 0;
    int32_t lon = 0;
  };
  // Both slots in one cache line: a lookup costs one memory access.
  struct alignas(32) Bucket {
    Slot slot[2];  // [1] is the newer
  };
  void insert(const Slot& s) {
    Bucket& b = buckets_[index(s.key - 1)];
    b.slot[0] = b.slot[1];
    b.slot[1] = s;
  }
  void grow() {
    std::vector<Bucket> old(size_t{1} << (std::min(bits_ + 2, kMaxBits) - 1));
    old.swap(buckets_);
    bits_ = std::min(bits_ + 2, kMaxBits);
    for (const Bucket& b : old) {
      for (const Slot& s : b.slot) {
        if (s.key != 0) insert(s);
      }
    }
  }
  size_t index(uint64_t id) const {
    return static_cast<size_t>((id * 0x9E3779B97F4A7C15ull) >> (64 - (bits_ - 1)));
  }
  unsigned bits_ = 16;
  uint64_t puts_ = 0;
  std::vector<Bucket> buckets_;
};

}  // namespace orvela::osm
