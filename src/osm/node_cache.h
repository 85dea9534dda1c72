#pragma once
// A direct-mapped memory of node positions: each bucket holds the two latest
// positions whose ids hash to it. Its size is capped, so memory stays bounded
// whatever the size of the input; a position pushed out is handed to the
// caller, who keeps it elsewhere.
#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>

#include "osm/element_source.h"

namespace orvela::osm {

class NodeCache {
 public:
  // 2^22 slots of 16 bytes: 64 MB at most.
  static constexpr unsigned kMaxBits = 22;

  // At most 2^max_bits positions are held (max_bits is at least 2).
  explicit NodeCache(unsigned max_bits = kMaxBits)
      : max_bits_(std::max(2u, max_bits)),
        bits_(std::min(16u, max_bits_)),
        buckets_(size_t{1} << (bits_ - 1)) {}

  // Remembers `n`. The table starts small (small files need no 64 MB) and
  // grows with the nodes seen, carrying every position over; it grows while
  // still half empty, as fuller buckets start pushing positions out. Once
  // at its cap, the older position of a full bucket is pushed out to `spill`.
  template <class Spill>
  void put(const OSMNODE& n, Spill&& spill) {
    // The one id whose key would read as an empty slot is never held.
    if (n.ID + 1 == 0) {
      spill(n);
      return;
    }
    if (++puts_ > buckets_.size() && bits_ < max_bits_) grow();
    Slot out = insert({n.ID + 1, n.LAT, n.LON});
    if (out.key != 0) spill(OSMNODE{out.key - 1, out.lat, out.lon});
  }
  // Forgets everything and gives the memory back.
  void release() {
    Table(2).swap(buckets_);
    bits_ = 2;
    puts_ = 0;
  }
  // Starts fetching the bucket of `id` into the processor cache: each
  // lookup lands on a random bucket, and several fetched at once overlap
  // their waits for memory.
  void prefetch(uint64_t id) const { __builtin_prefetch(&buckets_[index(id)]); }
  // The position of node `id` when it is held.
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
  // Returns the slot pushed out (key 0 when none was).
  Slot insert(const Slot& s) {
    Bucket& b = buckets_[index(s.key - 1)];
    Slot out = b.slot[0];
    b.slot[0] = b.slot[1];
    b.slot[1] = s;
    return out;
  }
  // The buckets, in memory of their own that the kernel hands out already
  // zeroed, in huge pages where it can: zeroing 64 MB by hand and faulting
  // it in 4 KB at a time took a tenth of a large import.
  class Table {
   public:
    explicit Table(size_t n) : n_(n) {
      void* p = mmap(nullptr, bytes(), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
      if (p == MAP_FAILED) throw std::bad_alloc();
      madvise(p, bytes(), MADV_HUGEPAGE);
      p_ = static_cast<Bucket*>(p);
    }
    ~Table() {
      if (p_ != nullptr) munmap(p_, bytes());
    }
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;
    void swap(Table& o) noexcept {
      std::swap(p_, o.p_);
      std::swap(n_, o.n_);
    }
    size_t size() const { return n_; }
    Bucket& operator[](size_t i) { return p_[i]; }
    const Bucket& operator[](size_t i) const { return p_[i]; }
    const Bucket* begin() const { return p_; }
    const Bucket* end() const { return p_ + n_; }

   private:
    size_t bytes() const { return n_ * sizeof(Bucket); }
    Bucket* p_ = nullptr;
    size_t n_;
  };

  // Four times the buckets: a bucket's positions move to four new buckets of
  // their own (the index is the top bits of the hash), so none is lost.
  void grow() {
    unsigned bits = std::min(bits_ + 2, max_bits_);
    Table old(size_t{1} << (bits - 1));
    old.swap(buckets_);
    bits_ = bits;
    for (const Bucket& b : old) {
      for (const Slot& s : b.slot) {
        if (s.key != 0) insert(s);
      }
    }
  }
  size_t index(uint64_t id) const {
    return static_cast<size_t>((id * 0x9E3779B97F4A7C15ull) >> (64 - (bits_ - 1)));
  }
  unsigned max_bits_;
  unsigned bits_;
  uint64_t puts_ = 0;
  Table buckets_;
};

}  // namespace orvela::osm
