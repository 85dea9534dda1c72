#pragma once
// The two binary column encodings of a map file: the `points` blob (delta
// coordinates as sign-folded 7-bit groups) and the `hlevels` blob (4-byte
// little-endian HLEVREC records). Pure functions, so the writer and the tests
// need no database.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "map/point.h"

namespace orvela::map {

// A 32-bit value never needs more than five 7-bit groups.
inline constexpr size_t VARINT_MAXBYTES = 5;

// One height-level record of the `hlevels` blob.
struct HLEVREC {
  uint16_t NUM = 0;  // vertex index in the points list
  int16_t HLEV = 0;  // height level at that vertex
  friend bool operator==(const HLEVREC&, const HLEVREC&) = default;
};

// Sign folding: 0, -1, 1, -2, 2 become 0, 1, 2, 3, 4, and back.
inline uint32_t varint_fold(int32_t n) {
  return n >= 0 ? static_cast<uint32_t>(n) * 2u
                : static_cast<uint32_t>(-(static_cast<int64_t>(n) + 1)) * 2u + 1u;
}
inline int32_t varint_unfold(uint32_t r) {
  return (r & 1u) ? static_cast<int32_t>(-static_cast<int64_t>(r / 2u) - 1)
                  : static_cast<int32_t>(r / 2u);
}

// Writes the encoding of `i` into `outbuf` from byte `poz` on and advances
// `poz` past it. Returns false, writing nothing, when it would not fit.
bool VARINT_ENCODE(int32_t i, std::span<uint8_t> outbuf, size_t& poz);
// Appends the encoding of `i` to `out`.
void VARINT_ENCODE(int32_t i, std::vector<uint8_t>& out);

// Reads one value at `poz` and advances `poz`. A value whose last byte still
// has bit 7 set at the end of the buffer is truncated: the result is false,
// `idec` is left alone and `poz` ends at the buffer's end. Groups beyond the
// fifth cannot belong to a 32-bit value and are skipped.
bool VARINT_DECODE(int32_t& idec, std::span<const uint8_t> inbuf, size_t& poz);

// The `points` blob of a list of vertices: absolute first vertex, then deltas,
// longitude before latitude.
std::vector<uint8_t> encode_points(std::span<const POINT> points);

// Decodes a `points` blob into `points` (cleared first). Never reads past the
// blob; an empty blob gives no vertices and an incomplete last vertex is dropped.
void decode_points(std::span<const uint8_t> blob, std::vector<POINT>& points);

// The `hlevels` blob of a list of records (4 bytes each, little-endian).
std::vector<uint8_t> encode_hlevels(std::span<const HLEVREC> recs);

// Sizes `hlevels` to `count` zeros and, when `blob` is a non-empty multiple of
// 4 bytes, interpolates the records' levels per vertex. Returns true when the
// blob was used.
bool interpolate_hlevels(std::span<const uint8_t> blob, size_t count, std::vector<double>& hlevels);

}  // namespace orvela::map
