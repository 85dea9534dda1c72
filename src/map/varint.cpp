#include "map/varint.h"

#include <algorithm>

namespace orvela::map {

namespace {

size_t encoded_size(uint32_t r) {
  size_t n = 1;
  while (r >= 0x80u) {
    r >>= 7;
    ++n;
  }
  return n;
}

template <typename Out>
void emit(uint32_t r, Out&& put) {
  while (r >= 0x80u) {
    put(static_cast<uint8_t>((r & 0x7Fu) | 0x80u));
    r >>= 7;
  }
  put(static_cast<uint8_t>(r));
}

// Coordinates accumulate in 32 bits; garbage deltas must wrap, not overflow.
int32_t wrap_add(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

}  // namespace

bool VARINT_ENCODE(int32_t i, std::span<uint8_t> outbuf, size_t& poz) {
  uint32_t r = varint_fold(i);
  if (poz > outbuf.size() || outbuf.size() - poz < encoded_size(r)) return false;
  emit(r, [&](uint8_t b) { outbuf[poz++] = b; });
  return true;
}

void VARINT_ENCODE(int32_t i, std::vector<uint8_t>& out) {
  emit(varint_fold(i), [&](uint8_t b) { out.push_back(b); });
}

bool VARINT_DECODE(int32_t& idec, std::span<const uint8_t> inbuf, size_t& poz) {
  uint32_t r = 0;
  unsigned shift = 0;
  while (poz < inbuf.size()) {
    uint8_t b = inbuf[poz++];
    if (shift < 32) r |= static_cast<uint32_t>(b & 0x7Fu) << shift;
    shift += 7;
    if ((b & 0x80u) == 0) {
      idec = varint_unfold(r);
      return true;
    }
  }
  return false;
}

std::vector<uint8_t> encode_points(std::span<const POINT> points) {
  std::vector<uint8_t> out;
  out.reserve(points.size() * 2 * VARINT_MAXBYTES);
  POINT prev;
  for (const POINT& p : points) {
    VARINT_ENCODE(static_cast<int32_t>(static_cast<uint32_t>(p.X) - static_cast<uint32_t>(prev.X)),
                  out);
    VARINT_ENCODE(static_cast<int32_t>(static_cast<uint32_t>(p.Y) - static_cast<uint32_t>(prev.Y)),
                  out);
    prev = p;
  }
  return out;
}

void decode_points(std::span<const uint8_t> blob, std::vector<POINT>& points) {
  points.clear();
  // Every vertex takes at least two bytes, which bounds the reservation.
  points.reserve(blob.size() / 2);
  size_t poz = 0;
  POINT cur;
  // The first vertex is absolute; the accumulation below starts from (0, 0)
  // and so handles it like every delta.
  while (poz + 1 < blob.size()) {
    int32_t dlon = 0, dlat = 0;
    if (!VARINT_DECODE(dlon, blob, poz) || !VARINT_DECODE(dlat, blob, poz)) break;
    cur.X = wrap_add(cur.X, dlon);
    cur.Y = wrap_add(cur.Y, dlat);
    points.push_back(cur);
  }
}

std::vector<uint8_t> encode_hlevels(std::span<const HLEVREC> recs) {
  std::vector<uint8_t> out;
  out.reserve(recs.size() * 4);
  for (const HLEVREC& r : recs) {
    auto lev = static_cast<uint16_t>(r.HLEV);
    out.push_back(static_cast<uint8_t>(r.NUM & 0xFF));
    out.push_back(static_cast<uint8_t>(r.NUM >> 8));
    out.push_back(static_cast<uint8_t>(lev & 0xFF));
    out.push_back(static_cast<uint8_t>(lev >> 8));
  }
  return out;
}

namespace {

HLEVREC read_hlevrec(std::span<const uint8_t> blob, size_t i) {
  const uint8_t* p = blob.data() + i * 4;
  HLEVREC r;
  r.NUM = static_cast<uint16_t>(p[0] | (p[1] << 8));
  r.HLEV = static_cast<int16_t>(static_cast<uint16_t>(p[2] | (p[3] << 8)));
  return r;
}

}  // namespace

bool interpolate_hlevels(std::span<const uint8_t> blob, size_t count,
                         std::vector<double>& hlevels) {
  hlevels.assign(count, 0.0);
  if (blob.empty() || blob.size() % 4 != 0) return false;
  size_t nrec = blob.size() / 4;
  HLEVREC first = read_hlevrec(blob, 0);
  double cur = first.HLEV;
  if (first.NUM < count) hlevels[first.NUM] = cur;
  size_t prev = first.NUM;
  for (size_t k = 1; k < nrec; ++k) {
    HLEVREC r = read_hlevrec(blob, k);
    if (r.NUM > prev) {
      double step = (r.HLEV - cur) / static_cast<double>(r.NUM - prev);
      // Indices past the last vertex are never stored; skip the additions
      // there in one go so a hostile blob cannot make us loop for long.
      size_t last_stored = std::min<size_t>(r.NUM, count == 0 ? 0 : count - 1);
      size_t idx = prev + 1;
      for (; idx <= last_stored; ++idx) {
        cur += step;
        hlevels[idx] = cur;
      }
      if (idx <= r.NUM) cur += step * static_cast<double>(r.NUM - idx + 1);
    }
    prev = r.NUM;
  }
  return true;
}

}  // namespace orvela::map
