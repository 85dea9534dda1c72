#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "map/qth.h"

namespace orvela::map {
namespace {

TEST(Latlon2qth, KnownPlaces) {
  struct Case {
    double lat, lon;
    const char* qth;
  };
  const std::vector<Case> cases = {
      {0, 0, "JJ00aa00"},
      {52.2297, 21.0122, "KO02mf15"},    // Warsaw
      {48.1372, 11.5756, "JN58sd92"},    // Munich
      {-33.8568, 151.2153, "QF56od54"},  // Sydney
      {40.6892, -74.0445, "FN20xq45"},   // New York harbour
      {-89.99, -179.99, "AA00aa12"},
  };
  for (const Case& c : cases) EXPECT_EQ(LATLON2QTH(c.lat, c.lon), c.qth) << c.lat << "," << c.lon;
  EXPECT_EQ(LATLON2QTH(0, 180)[0], 'S');
  EXPECT_EQ(LATLON2QTH(90, 0)[1], 'S');
  // Nonsense in, eight characters out, and no overflow on the way.
  for (double v : {1e300, -1e300, HUGE_VAL, -HUGE_VAL, double(NAN)})
    EXPECT_EQ(LATLON2QTH(v, v).size(), 8u);
}

TEST(Qth2latlon, ValidAndInvalidLocators) {
  struct Case {
    std::string qth;
    bool valid;
    double lat, lon;
  };
  const double ext_lon = 1 / 240.0, ext_lat = 1 / 480.0;
  const std::vector<Case> cases = {
      {"JO82", true, 52.5 + ext_lat, 17 + ext_lon},
      {"  jo82 ", true, 52.5 + ext_lat, 17 + ext_lon},
      {"\tJO82\r\n", true, 52.5 + ext_lat, 17 + ext_lon},
      {"JO82kf", true, 52 + 5 / 24.0 + 5 / 240.0 + ext_lat, 16 + 10 / 12.0 + 5 / 120.0 + ext_lon},
      {"jo82KF55", true, 52 + 5 / 24.0 + 5 / 240.0 + ext_lat, 16 + 10 / 12.0 + 5 / 120.0 + ext_lon},
      {"AA00aa00", true, -90 + ext_lat, -180 + ext_lon},
      {"RR99xx99", true, 90 - ext_lat, 180 - ext_lon},
      {"JO8", false, 0, 0},
      {"JO82K", false, 0, 0},
      {"JO82kf5", false, 0, 0},
      {"JO82kf555", false, 0, 0},
      {"", false, 0, 0},
      {"JS82", false, 0, 0},
      {"SO82", false, 0, 0},
      {"JO82kz", false, 0, 0},
      {"JOA2", false, 0, 0},
      {"JO82kf5x", false, 0, 0},
      {"JO 82", false, 0, 0},
      {"ŁO82", false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.qth);
    double lat = -1234, lon = -5678;
    EXPECT_EQ(QTH2LATLON(c.qth, lat, lon), c.valid);
    if (c.valid) {
      EXPECT_NEAR(lat, c.lat, 1e-9);
      EXPECT_NEAR(lon, c.lon, 1e-9);
    } else {
      EXPECT_EQ(lat, -1234);
      EXPECT_EQ(lon, -5678);
    }
  }
}

TEST(Qth, RoundTripOverTheWorld) {
  int checked = 0;
  for (double lat = -89.95; lat < 90; lat += 0.73) {
    for (double lon = -179.95; lon < 180; lon += 1.37) {
      const std::string qth = LATLON2QTH(lat, lon);
      ASSERT_EQ(qth.size(), 8u);
      double clat = 0, clon = 0;
      ASSERT_TRUE(QTH2LATLON(qth, clat, clon)) << qth;
      // The centre of the extended square lies within half a square.
      ASSERT_LE(std::fabs(clat - lat), 1 / 480.0 + 1e-9) << qth;
      ASSERT_LE(std::fabs(clon - lon), 1 / 240.0 + 1e-9) << qth;
      ASSERT_EQ(LATLON2QTH(clat, clon), qth);
      ++checked;
    }
  }
  EXPECT_GT(checked, 60000);
}

}  // namespace
}  // namespace orvela::map
