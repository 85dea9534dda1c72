#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "map/geo.h"

namespace orvela::map {
namespace {

constexpr int32_t DEG = 1000000;

TEST(Geodist, KnownDistances) {
  struct Case {
    const char* what;
    int32_t lat1, lon1, lat2, lon2;
    int32_t metres;
  };
  const std::vector<Case> cases = {
      {"one degree of longitude on the equator", 0, 0, 0, DEG, 111319},
      {"one degree of latitude from the equator", 0, 0, DEG, 0, 110574},
      {"identical points", 52229000, 21012000, 52229000, 21012000, 0},
      {"identical after normalisation", 91 * DEG, 181 * DEG, -89 * DEG, -179 * DEG, 0},
      {"last degree to the north pole", 89 * DEG, 0, 90 * DEG, 0, 111694},
      {"last degree to the south pole", -90 * DEG, 30 * DEG, -89 * DEG, 30 * DEG, 111694},
      {"across the date line", 0, 179500000, 0, -179500000, 111319},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_NEAR(GEODIST(c.lat1, c.lon1, c.lat2, c.lon2), c.metres, 1);
    EXPECT_NEAR(GEODIST(c.lat2, c.lon2, c.lat1, c.lon1), c.metres, 1);
  }
}

TEST(Geodist, PointsAtAPoleAreCloseWhateverTheirLongitude) {
  EXPECT_LE(GEODIST(90 * DEG, 0, 90 * DEG, 90 * DEG), 1);
  EXPECT_LE(GEODIST(-90 * DEG, -45 * DEG, -90 * DEG, 135 * DEG), 1);
}

TEST(Geodist, NearlyAntipodalPointsFinishWithAHalfCircumference) {
  // Vincenty's iteration does not settle for these; the bound on its rounds
  // and the spherical answer keep the call finite and sensible.
  const std::vector<std::array<double, 4>> cases = {{0, 0, 0.5, 179.7},
                                                    {0, 0, 0, 180},
                                                    {0, 0, -0.3, 179.9},
                                                    {10, 20, -10, -160},
                                                    {45, 0, -45, 180}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c[0] << "," << c[1] << " -> " << c[2] << "," << c[3]);
    int32_t d = ELPSDISTANCE(c[0], c[1], c[2], c[3]);
    EXPECT_GT(d, 19900000);
    EXPECT_LT(d, 20020000);
  }
}

TEST(Geoazim, DirectionsAndTheirSpecialCases) {
  struct Case {
    const char* what;
    int32_t lat1, lon1, lat2, lon2;
    int32_t deg;
  };
  const std::vector<Case> cases = {
      {"identical", 50 * DEG, 20 * DEG, 50 * DEG, 20 * DEG, 0},
      {"same parallel east", 50 * DEG, 20 * DEG, 50 * DEG, 21 * DEG, 90},
      {"same parallel west", 50 * DEG, 20 * DEG, 50 * DEG, 19 * DEG, 270},
      {"same after quantising", 50000001, 20 * DEG, 50000002, 25 * DEG, 90},
      {"apart after quantising: great-circle bearing", 50000001, 20 * DEG, 50000004, 25 * DEG, 88},
      {"same meridian north", 50 * DEG, 20 * DEG, 51 * DEG, 20 * DEG, 0},
      {"same meridian south", 50 * DEG, 20 * DEG, 49 * DEG, 20 * DEG, 180},
      {"north-east", 0, 0, DEG, DEG, 45},
      {"south-east", 0, 0, -DEG, DEG, 135},
      {"south-west", 0, 0, -DEG, -DEG, 225},
      {"north-west", 0, 0, DEG, -DEG, 315},
      {"just west of north rounds to 360", 0, 0, DEG, -5000, 360},
      {"just east of north", 0, 0, DEG, 5000, 0},
      {"normalised longitude", 0, 0, DEG, 359 * DEG, 315},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(GEOAZIM(c.lat1, c.lon1, c.lat2, c.lon2), c.deg);
  }
}

TEST(Geoazim, NearlyDueEastOrWestStaysInRange) {
  // Almost on one parallel, far apart: the arcsine argument comes close to 1.
  for (double lat = -80; lat <= 80; lat += 0.5) {
    for (double dlon : {45.0, 89.999, 90.0, 120.0, 179.0}) {
      int32_t east = GETAZIMUTH(lat, 0, lat + 0.00001, dlon);
      int32_t west = GETAZIMUTH(lat, 0, lat + 0.00001, -dlon);
      ASSERT_GE(east, 0);
      ASSERT_LE(east, 90) << lat << " " << dlon;
      ASSERT_GE(west, 270) << lat << " " << dlon;
      ASSERT_LE(west, 360);
    }
  }
}

TEST(Geocorrectcoords, OneShiftPerCoordinate) {
  struct Case {
    int32_t lat, lon, lat_out, lon_out;
  };
  const std::vector<Case> cases = {
      {91 * DEG, 181 * DEG, -89 * DEG, -179 * DEG},
      {-91 * DEG, -181 * DEG, 89 * DEG, 179 * DEG},
      {90 * DEG, 180 * DEG, 90 * DEG, 180 * DEG},
      {-90 * DEG, -180 * DEG, -90 * DEG, -180 * DEG},
      {270 * DEG, 600 * DEG, 90 * DEG, 240 * DEG},
      {std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min(),
       2147483647 - 180 * DEG, -2147483648 + 360 * DEG},
      {52229000, 21012000, 52229000, 21012000},
  };
  for (const Case& c : cases) {
    int32_t lat = c.lat, lon = c.lon;
    GEOCORRECTCOORDS(lat, lon);
    EXPECT_EQ(lat, c.lat_out) << c.lat;
    EXPECT_EQ(lon, c.lon_out) << c.lon;
  }
}

TEST(Pointinpoly, EdgesVerticesAndWideCoordinates) {
  const std::vector<POINT> square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  const std::vector<POINT> diamond = {{5, 0}, {10, 5}, {5, 10}, {0, 5}};
  const int32_t B = 2000000000;
  const std::vector<POINT> huge = {{-B, -B}, {B, -B}, {B, B}, {-B, B}};
  struct Case {
    const char* what;
    const std::vector<POINT>* poly;
    int32_t x, y;
    bool inside;
  };
  const std::vector<Case> cases = {
      {"centre", &square, 5, 5, true},
      {"left edge", &square, 0, 5, true},
      {"lower edge", &square, 5, 0, true},
      {"right edge", &square, 10, 5, false},
      {"upper edge", &square, 5, 10, false},
      {"lower-left corner", &square, 0, 0, true},
      {"outside", &square, -1, 5, false},
      {"on the line through two vertices, inside", &diamond, 2, 5, true},
      {"on the line through two vertices, outside", &diamond, 12, 5, false},
      {"left of that line", &diamond, -3, 5, false},
      {"wide outline, centre", &huge, 0, 0, true},
      {"wide outline, outside", &huge, 0, 2100000000, false},
  };
  for (const Case& c : cases) EXPECT_EQ(POINTINPOLY(c.x, c.y, *c.poly), c.inside) << c.what;
  EXPECT_FALSE(POINTINPOLY(0, 0, std::vector<POINT>{}));
  EXPECT_FALSE(POINTINPOLY(0, 0, std::vector<POINT>{{0, 0}}));
}

}  // namespace
}  // namespace orvela::map
