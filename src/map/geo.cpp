#include "map/geo.h"

#include <algorithm>
#include <cmath>

#include "text/numeric.h"

namespace orvela::map {

namespace {

// Mean Earth radius (IUGG), for the spherical fallback.
constexpr double MEAN_RADIUS_M = 6371008.8;

double clamp_unit(double v) { return std::clamp(v, -1.0, 1.0); }

// The terms of Vincenty's iteration that the final formula needs.
struct Vincenty {
  double sy = 0, cy = 0, y = 0, c2a = 0, cz = 0, e = 0;
  bool converged = false;
};

Vincenty vincenty_iterate(double lat1, double lon1, double lat2, double lon2) {
  const double r = 1 - FLATTENING;
  // At a pole the cosine is meant to become 1e-10. With the rounded DE2RA,
  // 90 degrees lands a hair past the pole and the cosine is about -5e-12, not
  // 0: left negative it would turn the north pole into the south pole.
  double cosy1 = std::cos(lat1), cosy2 = std::cos(lat2);
  if (cosy1 <= 0) cosy1 = 1e-10;
  if (cosy2 <= 0) cosy2 = 1e-10;
  double tu1 = r * std::sin(lat1) / cosy1;
  double tu2 = r * std::sin(lat2) / cosy2;
  const double cu1 = 1 / std::sqrt(tu1 * tu1 + 1);
  const double su1 = cu1 * tu1;
  const double cu2 = 1 / std::sqrt(tu2 * tu2 + 1);
  double x = lon2 - lon1;
  const double s = cu1 * cu2;
  const double baz = s * tu2;
  const double faz = baz * tu1;
  Vincenty v;
  for (int round = 0; round < ELPSMAXROUNDS; ++round) {
    const double sx = std::sin(x), cx = std::cos(x);
    tu1 = cu2 * sx;
    tu2 = baz - su1 * cu2 * cx;
    v.sy = std::sqrt(tu1 * tu1 + tu2 * tu2);
    v.cy = s * cx + faz;
    v.y = std::atan2(v.sy, v.cy);
    const double sa = s * sx / v.sy;
    v.c2a = 1 - sa * sa;
    v.cz = 2 * faz;
    if (v.c2a > 0) v.cz = v.cy - v.cz / v.c2a;
    v.e = 2 * v.cz * v.cz - 1;
    const double c = ((4 - 3 * v.c2a) * FLATTENING + 4) * v.c2a * FLATTENING / 16;
    const double d = x;
    x = ((v.e * v.cy * c + v.cz) * v.sy * c + v.y) * sa;
    x = (1 - c) * x * FLATTENING + lon2 - lon1;
    if (std::fabs(d - x) <= EPS) {
      v.converged = true;
      break;
    }
  }
  return v;
}

double vincenty_km(const Vincenty& v) {
  const double r = 1 - FLATTENING;
  double x = std::sqrt((1 / (r * r) - 1) * v.c2a + 1) + 1;
  x = (x - 2) / x;
  const double c = (x * x / 4 + 1) / (1 - x);
  const double d = (0.375 * x * x - 1) * x;
  return ((((4 * v.sy * v.sy - 3) * (1 - 2 * v.e) * v.cz * d / 6 - v.e * v.cy) * d / 4 + v.cz) *
              v.sy * d +
          v.y) *
         c * ERAD * r;
}

// Whole-degree quantisation used only to compare positions.
int64_t quantise(double deg) { return text::round_half_even_i64(deg * 360000 + 0.5); }

}  // namespace

double haversine_metres(double LAT1, double LON1, double LAT2, double LON2) {
  const double p1 = LAT1 * DE2RA, p2 = LAT2 * DE2RA;
  const double dp = p2 - p1, dl = (LON2 - LON1) * DE2RA;
  const double h = std::sin(dp / 2) * std::sin(dp / 2) +
                   std::cos(p1) * std::cos(p2) * std::sin(dl / 2) * std::sin(dl / 2);
  return 2 * MEAN_RADIUS_M * std::asin(std::sqrt(clamp_unit(h)));
}

int32_t ELPSDISTANCE(double LAT1, double LON1, double LAT2, double LON2) {
  if (LON1 == LON2 && LAT1 == LAT2) return 0;
  Vincenty v = vincenty_iterate(LAT1 * DE2RA, LON1 * DE2RA, LAT2 * DE2RA, LON2 * DE2RA);
  double metres = v.converged ? vincenty_km(v) * 1000 : NAN;
  if (!std::isfinite(metres)) metres = haversine_metres(LAT1, LON1, LAT2, LON2);
  return text::round_half_even_i32(metres);
}

int32_t GETAZIMUTH(double LAT1, double LON1, double LAT2, double LON2) {
  const int64_t ilat1 = quantise(LAT1), ilon1 = quantise(LON1);
  const int64_t ilat2 = quantise(LAT2), ilon2 = quantise(LON2);
  if (ilat1 == ilat2 && ilon1 == ilon2) return 0;
  if (ilat1 == ilat2) return ilon1 < ilon2 ? 90 : 270;
  if (ilon1 == ilon2) return ilat1 > ilat2 ? 180 : 0;
  const double lat1 = LAT1 * DE2RA, lon1 = LON1 * DE2RA, lat2 = LAT2 * DE2RA, lon2 = LON2 * DE2RA;
  // Rounding can push both arguments a hair past +-1 near due east or west.
  double c = std::acos(clamp_unit(std::cos(lat2) * std::cos(lat1) * std::cos(lon2 - lon1) +
                                  std::sin(lat2) * std::sin(lat1)));
  if (c == 0) c = 1;
  const double a = std::asin(clamp_unit(std::sin(lon2 - lon1) * std::cos(lat2) / std::sin(c)));
  double res = a * RA2DE;
  // A target to the north-east keeps the arcsine as it is.
  const bool north_east = ilat2 > ilat1 && ilon2 > ilon1;
  if (!north_east && ilat2 < ilat1 && ilon2 != ilon1)
    res = 180 - res;  // south-west or south-east
  else if (!north_east && ilat2 > ilat1 && ilon2 < ilon1)
    res = 360 + res;  // north-west
  return text::round_half_even_i32(res);
}

void GEOCORRECTCOORDS(int32_t& LAT, int32_t& LON) {
  if (LAT > 90000000)
    LAT -= 180000000;
  else if (LAT < -90000000)
    LAT += 180000000;
  if (LON > 180000000)
    LON -= 360000000;
  else if (LON < -180000000)
    LON += 360000000;
}

int32_t GEODIST(int32_t LAT1, int32_t LON1, int32_t LAT2, int32_t LON2) {
  GEOCORRECTCOORDS(LAT1, LON1);
  GEOCORRECTCOORDS(LAT2, LON2);
  return ELPSDISTANCE(LAT1 / 1e6, LON1 / 1e6, LAT2 / 1e6, LON2 / 1e6);
}

int32_t GEOAZIM(int32_t LAT1, int32_t LON1, int32_t LAT2, int32_t LON2) {
  GEOCORRECTCOORDS(LAT1, LON1);
  GEOCORRECTCOORDS(LAT2, LON2);
  return GETAZIMUTH(LAT1 / 1e6, LON1 / 1e6, LAT2 / 1e6, LON2 / 1e6);
}

bool POINTINPOLY(int32_t X, int32_t Y, std::span<const POINT> APOLY) {
  const size_t npol = APOLY.size();
  bool res = false;
  for (size_t i = 0; i < npol; ++i) {
    const POINT& a = APOLY[i];
    const POINT& b = APOLY[(i + 1) % npol];
    if ((a.Y <= Y && Y < b.Y) || (b.Y <= Y && Y < a.Y)) {
      // 64-bit product: outlines from far outside the grid must not overflow.
      const int64_t num = (static_cast<int64_t>(b.X) - a.X) * (static_cast<int64_t>(Y) - a.Y);
      const double xc =
          static_cast<double>(num) / static_cast<double>(static_cast<int64_t>(b.Y) - a.Y) + a.X;
      if (X < xc) res = !res;
    }
  }
  return res;
}

}  // namespace orvela::map
