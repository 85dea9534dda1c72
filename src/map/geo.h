#pragma once
// Distances and directions on the Earth, coordinate normalisation and the
// point-in-polygon test. Pure functions: no state, no allocation.
#include <cstdint>
#include <span>

#include "map/point.h"

namespace orvela::map {

// The rounded decimal factors the program has always used (not full-precision pi/180).
inline constexpr double DE2RA = 0.01745329252;
inline constexpr double RA2DE = 57.2957795129;
inline constexpr double ERAD = 6378.137;                    // WGS 84 equatorial radius, km
inline constexpr double FLATTENING = 0.003352810664747481;  // WGS 84, 1/298.257223563
inline constexpr double EPS = 5e-12;                        // convergence limit, radians
// Nearly antipodal points may never converge; after this many rounds the
// spherical distance is good enough for anything we say about such a place.
inline constexpr int ELPSMAXROUNDS = 200;

// Distance in whole metres between two points in micro-degrees (normalised first).
int32_t GEODIST(int32_t LAT1, int32_t LON1, int32_t LAT2, int32_t LON2);
// Azimuth from point 1 to point 2 in whole degrees, 0..360, micro-degree arguments.
int32_t GEOAZIM(int32_t LAT1, int32_t LON1, int32_t LAT2, int32_t LON2);

// Ellipsoidal (Vincenty) distance in whole metres, arguments in degrees.
int32_t ELPSDISTANCE(double LAT1, double LON1, double LAT2, double LON2);
// Great-circle (haversine) distance in metres on the mean Earth sphere.
double haversine_metres(double LAT1, double LON1, double LAT2, double LON2);
// Spherical azimuth in whole degrees (0..360), arguments in degrees.
int32_t GETAZIMUTH(double LAT1, double LON1, double LAT2, double LON2);

// Brings a latitude beyond a pole and a longitude beyond the date line back
// into range with one shift each (micro-degrees, in place).
void GEOCORRECTCOORDS(int32_t& LAT, int32_t& LON);

// Crossing-number test of (X, Y) against the closed outline `APOLY`: points
// on a left or lower edge are inside, on a right or upper edge outside.
bool POINTINPOLY(int32_t X, int32_t Y, std::span<const POINT> APOLY);

}  // namespace orvela::map
