#pragma once
// The recorded NMEA logs of the shared test data, and small logs written
// by the tests themselves.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/test_env.h"

namespace orvela::gps::test {

// The shared log `name`; the test fails (it does not skip) without it.
inline std::filesystem::path nmea_log(const std::string& name) {
  const auto data = orvela::test::shared_data_dir();
  const std::filesystem::path p = data ? *data / "nmea" / name : std::filesystem::path(name);
  EXPECT_TRUE(data && std::filesystem::exists(p)) << "missing test data: " << p;
  return p;
}

inline std::string read_bytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void write_bytes(const std::filesystem::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary) << bytes;
}

// "$" + body + "*" + its checksum.
inline std::string sentence(const std::string& body) {
  unsigned sum = 0;
  for (unsigned char c : body) sum ^= c;
  char cs[3];
  std::snprintf(cs, sizeof cs, "%02X", sum);
  return "$" + body + "*" + cs;
}

// NMEA "ddmm.mmmmmm" (or "dddmm.mmmmmm") of a positive micro-degree value;
// six decimals of minutes keep every micro-degree.
inline std::string nmea_angle(int32_t micro, int degree_digits) {
  const int32_t deg = micro / 1000000;
  const double minutes = (micro - deg * 1000000) * 60.0 / 1000000.0;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*d%09.6f", degree_digits, deg, minutes);
  return buf;
}

// A fix sentence at (lat, lon), northern and eastern hemispheres.
inline std::string gga(int32_t time, int32_t lat, int32_t lon, int fix = 1, int sat = 7) {
  char head[32];
  std::snprintf(head, sizeof head, "GPGGA,%06d.000,", time);
  return sentence(std::string(head) + nmea_angle(lat, 2) + ",N," + nmea_angle(lon, 3) + ",E," +
                  std::to_string(fix) + "," + std::to_string(sat) + ",1.2,300.0,M,40.0,M,,");
}

}  // namespace orvela::gps::test
