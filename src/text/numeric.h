#pragma once
// Rounding rules used throughout the program. "Round" alone means to the
// nearest whole number with halves to even; rounding to a number of decimals
// sends halves away from zero; truncation cuts toward zero.
#include <cmath>
#include <cstdint>

namespace orvela::text {

// Nearest whole number, halves to even (2.5 -> 2, 3.5 -> 4, -0.5 -> 0).
inline double round_half_even(double v) { return std::nearbyint(v); }

// round_half_even as a 64-bit integer; NaN gives 0, values beyond the range saturate.
inline int64_t round_half_even_i64(double v) {
  if (std::isnan(v)) return 0;
  double r = std::nearbyint(v);
  if (r >= 9.2e18) return INT64_MAX;
  if (r <= -9.2e18) return INT64_MIN;
  return static_cast<int64_t>(r);
}

// round_half_even as a 32-bit integer; NaN gives 0, values beyond the range saturate.
inline int32_t round_half_even_i32(double v) {
  int64_t r = round_half_even_i64(v);
  if (r > INT32_MAX) return INT32_MAX;
  if (r < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(r);
}

// Rounded to `decimals` places, halves away from zero (0.125 -> 0.13 at two places).
// The tiny epsilon absorbs binary representation error, so 74.995 counts as a half.
inline double round_away(double v, int decimals) {
  double scale = std::pow(10.0, decimals);
  double s = v * scale;
  double r = std::round(s + (s >= 0 ? 1e-9 : -1e-9));
  return r / scale;
}

}  // namespace orvela::text
