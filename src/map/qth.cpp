#include "map/qth.h"

#include <algorithm>
#include <cstdint>

#include "text/numeric.h"
#include "text/strutil.h"

namespace orvela::map {

namespace {

// Splits off the character index (whole millions) and keeps the remainder.
int64_t LTOFRAC(int64_t& v) {
  int64_t whole = v / 1000000;
  v %= 1000000;
  return whole;
}

void append_pair(std::string& s, char base, int64_t& lon, int64_t& lat) {
  s.push_back(static_cast<char>(base + LTOFRAC(lon)));
  s.push_back(static_cast<char>(base + LTOFRAC(lat)));
}

// Control characters and spaces: what a pasted locator may carry around it.
constexpr char kControlsAndSpace[] = {'\0', 1,  2,  3,  4,  5,  6,  7,  8,  9,  10,
                                      11,   12, 13, 14, 15, 16, 17, 18, 19, 20, 21,
                                      22,   23, 24, 25, 26, 27, 28, 29, 30, 31, ' '};

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Value of character i (0-based) of an upper-case locator, -1 when outside its class.
int char_value(const std::string& s, size_t i) {
  char c = s[i];
  char lo = '0', hi = '9';
  if (i < 2) {
    lo = 'A';
    hi = 'R';
  } else if (i == 4 || i == 5) {
    lo = 'A';
    hi = 'X';
  }
  return (c >= lo && c <= hi) ? c - lo : -1;
}

}  // namespace

std::string LATLON2QTH(double LATI, double LONGI) {
  // Far beyond the world the letters mean nothing anyway; the clamp only
  // keeps the arithmetic inside 64 bits.
  const double lim = 1e9;
  int64_t lon = text::round_half_even_i64(std::clamp(LONGI, -lim, lim) * 1000000) + 180000000;
  int64_t lat = text::round_half_even_i64(std::clamp(LATI, -lim, lim) * 1000000) + 90000000;
  lon /= 20;
  lat /= 10;
  std::string s;
  append_pair(s, 'A', lon, lat);
  lon *= 10;
  lat *= 10;
  append_pair(s, '0', lon, lat);
  lon *= 24;
  lat *= 24;
  append_pair(s, 'a', lon, lat);
  lon *= 10;
  lat *= 10;
  append_pair(s, '0', lon, lat);
  return s;
}

bool QTH2LATLON(std::string_view QTH, double& LAT, double& LON) {
  std::string s(text::trim(QTH, {kControlsAndSpace, sizeof kControlsAndSpace}));
  if (s.size() == 4) s += "mm00";
  if (s.size() == 6) s += "55";
  if (s.size() != 8) return false;
  int v[8];
  for (size_t i = 0; i < 8; ++i) {
    s[i] = upper(s[i]);
    v[i] = char_value(s, i);
    if (v[i] < 0) return false;
  }
  LON = v[4] / 12.0 + (v[0] * 20 + v[2] * 2) + v[6] / 120.0 + 1 / 240.0 - 180;
  LAT = v[5] / 24.0 + (v[1] * 10 + v[3]) + v[7] / 240.0 + 1 / 480.0 - 90;
  return true;
}

}  // namespace orvela::map
