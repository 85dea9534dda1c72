// Logs read into the list of entries: the four recorded logs of the shared
// data (GLONASS talker, no-fix periods, dead reckoning, comment lines, CRLF,
// truncated last lines) and damaged copies of them.
#include <gtest/gtest.h>

#include "gps/state_list.h"
#include "gps_data.h"
#include "support/test_env.h"

namespace orvela::gps {
namespace {

using test::nmea_log;
using test::read_bytes;
using test::sentence;
using test::write_bytes;

struct LogFacts {
  const char* file;
  int32_t accepted;  // "GPGGA" and "GPGSV" sentences with a good checksum
  std::size_t entries;
  GPSSTATEREC first, last;
  std::size_t without_fix, dead_reckoning, hdop_beyond_byte;
};

TEST(NmeaReadLog, RecordedLogsLoadWithTheirCounts) {
  const LogFacts logs[] = {
      // GLONASS satellites in view ("GLGSV") are another talker; the no-fix
      // sentences carry no time, so each no-fix period is one entry at 0.
      {"aerorust-nmea1-flight-parachute.log",
       1307 + 5178,
       996,
       {.MAXSAT = 15},
       {.MAXSAT = 13},
       3,
       0,
       0},
      // Ten comment lines; the first fixes of quality 0 still carry a position.
      {"gpsd-haicom-305N.log",
       73 + 79,
       74,
       {.MAXSAT = 12},
       {.TIME = 95415,
        .LAT = -27210673,
        .LON = 153052000,
        .FIX = 1,
        .SAT = 6,
        .MAXSAT = 12,
        .HDOP = 18},
       6,
       0,
       0},
      // A cold start of 570 seconds; the last line is a truncated "$GP".
      {"microkost-20080904-105553-walk.nmea",
       3372 + 9246,
       3370,
       {.TIME = 105634, .MAXSAT = 8},
       {.TIME = 115245,
        .LAT = 49158458,
        .LON = 20226307,
        .FIX = 1,
        .SAT = 5,
        .MAXSAT = 8,
        .HDOP = 23},
       570,
       0,
       3},
      // Dead reckoning (quality 6) with an HDOP of 99.99; a truncated last "$GPGSV".
      {"microkost-20090804-174057-drive.nmea",
       5227 + 15972,
       5227,
       {.TIME = 154056,
        .LAT = 36401603,
        .LON = 28088987,
        .FIX = 1,
        .SAT = 8,
        .MAXSAT = 14,
        .HDOP = 9},
       {.TIME = 170802,
        .LAT = 36400933,
        .LON = 28228253,
        .FIX = 1,
        .SAT = 4,
        .MAXSAT = 9,
        .HDOP = 94},
       702,
       91,
       78},
  };
  for (const LogFacts& f : logs) {
    SCOPED_TRACE(f.file);
    GpsStateList list;
    ASSERT_EQ(NMEAREADLOG(nmea_log(f.file), list), f.accepted);
    ASSERT_EQ(list.size(), f.entries);
    EXPECT_EQ(list[0], f.first);
    EXPECT_EQ(list[list.size() - 1], f.last);
    std::size_t without_fix = 0, dead_reckoning = 0, hdop_beyond_byte = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
      without_fix += list[i].FIX == 0;
      dead_reckoning += list[i].FIX == 6;
      hdop_beyond_byte += list[i].HDOP == 255;
      // One entry per distinct consecutive second.
      if (i > 0) {
        EXPECT_NE(list[i].TIME, list[i - 1].TIME) << i;
      }
    }
    EXPECT_EQ(without_fix, f.without_fix);
    EXPECT_EQ(dead_reckoning, f.dead_reckoning);
    EXPECT_EQ(hdop_beyond_byte, f.hdop_beyond_byte);
  }
}

TEST(NmeaReadLog, FixAndSatellitesOfOneSecondMergeIntoOneEntry) {
  orvela::test::TempDir dir;
  write_bytes(dir / "log.nmea",
              sentence("GPGGA,120000,4807.038,N,01131.000,E,1,05,0.9,5.4,M,46.9,M,,") + "\n" +
                  sentence("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1") + "\n" +
                  sentence("GPGSV,2,1,08,01,40,083,46") + "\n" +
                  sentence("GPGSV,2,2,08,13,06,292,00") + "\n" +
                  sentence("GPGGA,120001,4807.040,N,01131.000,E,1,06,0.8,5.4,M,46.9,M,,") + "\n" +
                  sentence("GPGSV,1,1,09,01,40,083,46") + "\n");
  GpsStateList list;
  ASSERT_EQ(NMEAREADLOG(dir / "log.nmea", list), 5);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0], (GPSSTATEREC{.TIME = 120000,
                                  .LAT = 48117300,
                                  .LON = 11516667,
                                  .FIX = 1,
                                  .SAT = 5,
                                  .MAXSAT = 8,
                                  .HDOP = 9}));
  EXPECT_EQ(list[1].TIME, 120001);
  EXPECT_EQ(list[1].SAT, 6);
  EXPECT_EQ(list[1].MAXSAT, 9);
}

TEST(NmeaReadLog, DamagedCopiesLoseOnlyTheirDamagedLines) {
  const std::string log = read_bytes(nmea_log("gpsd-haicom-305N.log"));
  ASSERT_FALSE(log.empty());
  const std::size_t last_gga = log.rfind("$GPGGA");
  std::string crlf;
  for (char c : log) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  // Binary garbage and a line far longer than any sentence, each on lines
  // of their own, and a NUL inside a sentence.
  const std::string garbage = std::string("\0\xff\xfe$GP\x01", 7) + "\n" +
                              std::string(100000, 'x') + "\n" + std::string(3000, '$') + "\n";
  std::string nul_inside = log;
  nul_inside.insert(last_gga + 10, 1, '\0');
  struct Case {
    const char* what;
    std::string bytes;
    int32_t accepted;
  };
  const Case cases[] = {
      {"as recorded", log, 152},
      {"CR LF line ends", crlf, 152},
      {"ending with the last fix, without a line end", log.substr(0, log.find('\n', last_gga)),
       152},
      {"cut in the middle of the last fix", log.substr(0, last_gga + 20), 151},
      {"garbage before it", garbage + log, 152},
      {"garbage after it", log + garbage, 152},
      {"a NUL inside the last fix", nul_inside, 151},
      {"empty", "", 0},
      {"only garbage", garbage, 0},
  };
  orvela::test::TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    write_bytes(dir / "copy.log", c.bytes);
    GpsStateList list;
    EXPECT_EQ(NMEAREADLOG(dir / "copy.log", list), c.accepted);
    EXPECT_EQ(list.empty(), c.accepted == 0);
  }
}

TEST(NmeaReadLog, UnreadableFilesGiveMinusOneAndAnEmptyList) {
  orvela::test::TempDir dir;
  GpsStateList list;
  ASSERT_EQ(NMEAREADLOG(nmea_log("gpsd-haicom-305N.log"), list), 152);
  EXPECT_EQ(NMEAREADLOG(dir / "missing.nmea", list), -1);
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(NMEAREADLOG(dir.path(), list), -1);
  EXPECT_TRUE(list.empty());
}

}  // namespace
}  // namespace orvela::gps
