#pragma once
// The test catalogue that msgfmt compiled from sample.po, as bytes, and the
// same catalogue rewritten in the other byte order.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

namespace orvela::test {

inline std::string sample_mo_bytes() {
  std::ifstream in(ORVELA_TEST_SAMPLE_MO, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline uint32_t word_at(const std::string& b, std::size_t off) {
  uint32_t v = 0;
  for (int k = 3; k >= 0; --k) v = (v << 8) | static_cast<unsigned char>(b[off + k]);
  return v;
}

inline void put_word(std::string& b, std::size_t off, uint32_t v) {
  for (int k = 0; k < 4; ++k) b[off + k] = static_cast<char>((v >> (8 * k)) & 0xFF);
}

// A little-endian catalogue rewritten big-endian: header, both string tables
// and the hash table have their words reversed; the strings stay.
inline std::string swap_byte_order(std::string b) {
  auto swap_word = [&b](std::size_t off) {
    std::swap(b[off], b[off + 3]);
    std::swap(b[off + 1], b[off + 2]);
  };
  uint32_t n = word_at(b, 8), o = word_at(b, 12), t = word_at(b, 16), s = word_at(b, 20),
           h = word_at(b, 24);
  for (std::size_t off = 0; off < 28; off += 4) swap_word(off);
  for (uint32_t i = 0; i < 2 * n; ++i) {
    swap_word(o + 4 * i);
    swap_word(t + 4 * i);
  }
  for (uint32_t i = 0; i < s; ++i) swap_word(h + 4 * i);
  return b;
}

}  // namespace orvela::test
