#pragma once
// Which nodes were met in more than one routable way, in fixed memory (two
// bit sets of 4 MB). Only such a node can be an intersection, and most way
// nodes are not: the intersection search runs over theirs alone. Two ids may
// share a bit, so the answer may be yes for a node of one way; it is never
// no for a node of two.
#include <cstdint>
#include <vector>

namespace orvela::osm {

class SharedNodeFilter {
 public:
  // Counts one more way through node `id`.
  void add(uint64_t id) {
    const uint64_t b = bit(id);
    if (test(once_, b)) {
      set(twice_, b);
    } else {
      set(once_, b);
    }
  }
  bool maybe_shared(uint64_t id) const { return test(twice_, bit(id)); }

 private:
  static constexpr unsigned kBits = 25;
  static uint64_t bit(uint64_t id) { return (id * 0x9E3779B97F4A7C15ull) >> (64 - kBits); }
  static bool test(const std::vector<uint64_t>& s, uint64_t b) {
    return (s[b >> 6] >> (b & 63)) & 1u;
  }
  static void set(std::vector<uint64_t>& s, uint64_t b) { s[b >> 6] |= uint64_t{1} << (b & 63); }

  std::vector<uint64_t> once_ = std::vector<uint64_t>(size_t{1} << (kBits - 6));
  std::vector<uint64_t> twice_ = std::vector<uint64_t>(size_t{1} << (kBits - 6));
};

}  // namespace orvela::osm
