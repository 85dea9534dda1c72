// One NMEA line at a time: the frame and checksum, the two sentence types
// that are taken, their fields, and the time arithmetic of rewinding.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "gps/nmea.h"
#include "gps_data.h"

namespace orvela::gps {
namespace {

using test::sentence;

const std::string kGga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";
const std::string kGsv = "$GPGSV,3,1,11,03,03,111,00,04,15,270,00,06,01,010,00,13,06,292,00*74";

TEST(NmeaProcess, FixDataSentenceFillsEveryFieldButSatellitesInView) {
  NmeaParser p;
  p.GPSTATE.MAXSAT = 7;
  ASSERT_TRUE(p.NMEAPROCESS(kGga));
  EXPECT_EQ(p.GPSTATE, (GPSSTATEREC{.TIME = 123519,
                                    .LAT = 48117300,
                                    .LON = 11516667,
                                    .FIX = 1,
                                    .SAT = 8,
                                    .MAXSAT = 7,
                                    .HDOP = 9}));
}

TEST(NmeaProcess, SatellitesInViewChangeNothingElse) {
  NmeaParser p;
  ASSERT_TRUE(p.NMEAPROCESS(kGga));
  GPSSTATEREC expected = p.GPSTATE;
  expected.MAXSAT = 11;
  ASSERT_TRUE(p.NMEAPROCESS(kGsv));
  EXPECT_EQ(p.GPSTATE, expected);
}

TEST(NmeaProcess, RejectedLinesChangeNothing) {
  const std::string rmc =
      sentence("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W");
  struct Case {
    std::string line;
    const char* why;
  };
  const Case cases[] = {
      {kGga.substr(0, kGga.size() - 2) + "48", "wrong checksum"},
      {kGga + " ", "a space after the checksum"},
      {kGga + "\r", "a line end left on"},
      {kGga.substr(1), "no dollar"},
      {kGga.substr(0, kGga.size() - 1), "one checksum character"},
      {kGga.substr(0, kGga.size() - 2) + "4G", "a checksum character that is not hexadecimal"},
      {kGga.substr(0, kGga.size() - 2) + "-7", "a sign in the checksum"},
      {rmc, "another sentence type"},
      {sentence("GLGSV,3,1,11,65,03,111,00"), "another talker"},
      {sentence("GNGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"),
       "a combined talker"},
      {sentence(""), "an empty body"},
      {"$*00", "an empty body, short"},
      {"", "an empty line"},
      {"# a comment line", "a comment"},
      {"$GP", "a truncated line"},
      {kGga.substr(0, 10) + std::string(1, '\0') + kGga.substr(10), "a NUL inside"},
      {sentence("GPGSV,1,1,1\x7f"), "a control character inside"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    NmeaParser p;
    ASSERT_TRUE(p.NMEAPROCESS(kGga));
    const GPSSTATEREC before = p.GPSTATE;
    EXPECT_FALSE(p.NMEAPROCESS(c.line)) << c.line;
    EXPECT_EQ(p.GPSTATE, before);
  }
}

TEST(NmeaProcess, ChecksumLettersInEitherCase) {
  const std::string upper = sentence("GPGSV,1,1,12");
  ASSERT_TRUE(upper.substr(upper.size() - 2).find_first_of("ABCDEF") != std::string::npos)
      << "the case needs a checksum with a letter: " << upper;
  std::string lower = upper;
  for (std::size_t i = lower.size() - 2; i < lower.size(); ++i)
    lower[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(lower[i])));
  NmeaParser a, b;
  EXPECT_TRUE(a.NMEAPROCESS(upper));
  EXPECT_TRUE(b.NMEAPROCESS(lower));
  EXPECT_EQ(b.GPSTATE.MAXSAT, 12);
}

TEST(NmeaProcess, FixDataFieldsAsReceiversWriteThem) {
  struct Case {
    std::string body;
    GPSSTATEREC expected;
  };
  const Case cases[] = {
      // No fix yet: empty position, quality and count still read.
      {"GPGGA,105634.000,,,,,0,00,,,M,0.0,M,,0000", {.TIME = 105634}},
      {"GPGGA,,,,,,0,,,,,,,,", {}},
      {"GPGGA,105634.000,,,,,0,03,,,M,0.0,M,,0000", {.TIME = 105634, .SAT = 3}},
      // Southern and western hemispheres; dead reckoning (quality 6).
      {"GPGGA,095255.000,2712.6148,S,15303.0146,E,1,05,1.6,0.0,M,,,,",
       {.TIME = 95255, .LAT = -27210247, .LON = 153050243, .FIX = 1, .SAT = 5, .HDOP = 16}},
      {"GPGGA,164154.000,3624.0704,N,02813.6848,W,6,2,99.99,1.0,M,,,,",
       {.TIME = 164154, .LAT = 36401173, .LON = -28228080, .FIX = 6, .SAT = 2, .HDOP = 255}},
      // HDOP: one decimal kept and cut, whole numbers in tenths, the byte clamped.
      {"GPGGA,1,,,,,1,1,1.25", {.TIME = 1, .FIX = 1, .SAT = 1, .HDOP = 12}},
      {"GPGGA,1,,,,,1,1,2", {.TIME = 1, .FIX = 1, .SAT = 1, .HDOP = 20}},
      {"GPGGA,1,,,,,1,1,25.5", {.TIME = 1, .FIX = 1, .SAT = 1, .HDOP = 255}},
      {"GPGGA,1,,,,,1,1,25.6", {.TIME = 1, .FIX = 1, .SAT = 1, .HDOP = 255}},
      {"GPGGA,1,,,,,1,1,2.", {.TIME = 1, .FIX = 1, .SAT = 1, .HDOP = 20}},
      // A sentence that stops early leaves the missing fields empty.
      {"GPGGA,123519,4807.038,N", {.TIME = 123519, .LAT = 48117300}},
      // Counts beyond a byte are clamped, not wrapped.
      {"GPGGA,1,,,,,300,999,", {.TIME = 1, .FIX = 255, .SAT = 255}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    NmeaParser p;
    ASSERT_TRUE(p.NMEAPROCESS(sentence(c.body)));
    EXPECT_EQ(p.GPSTATE, c.expected);
  }
}

TEST(NmeaFields, NextPartTakesOneFieldAndItsComma) {
  std::string_view rest = "GPGSV,3,,11";
  EXPECT_EQ(NMEAGETNEXTPART(rest), "GPGSV");
  EXPECT_EQ(NMEAGETNEXTPART(rest), "3");
  EXPECT_EQ(NMEAGETNEXTPART(rest), "");
  EXPECT_EQ(NMEAGETNEXTPART(rest), "11");
  EXPECT_EQ(rest, "");
  EXPECT_EQ(NMEAGETNEXTPART(rest), "");
}

TEST(NmeaFields, CoordinatesConsumeValueAndHemisphere) {
  struct Case {
    const char* fields;
    int32_t expected;
  };
  const Case cases[] = {
      {"4807.038,N", 48117300},
      {"01131.000,E", 11516667},
      {"4807.038,S", -48117300},
      {"01131.000,W", -11516667},
      {"4807.038,s", 48117300},
      {"4807.038,", 48117300},
      {"4807,N", 0},
      {",N", 0},
      {"7.5,N", 125000},
      {"0000.0000,S", 0},
      {"18000.000,W", -180000000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fields);
    std::string with_next = std::string(c.fields) + ",next";
    std::string_view r = with_next;
    EXPECT_EQ(NMEAGETCOORD(r), c.expected);
    EXPECT_EQ(r, "next");
  }
}

TEST(NmeaIncTime, AddsSecondsAroundTheClock) {
  struct Case {
    int32_t ti, inc, expected;
  };
  const Case cases[] = {
      {235955, 10, 5},       {5, -10, 235955},
      {123519, 0, 123519},   {123559, 1, 123600},
      {125959, 1, 130000},   {0, -86400, 0},
      {10000, -1, 5959},     {120000, 86400 * 3 + 60, 120100},
      {120000, -60, 115900},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.ti << " + " << c.inc);
    EXPECT_EQ(NMEAINCTIME(c.ti, c.inc), c.expected);
  }
}

}  // namespace
}  // namespace orvela::gps
