#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <string>

#include "text/convert.h"
#include "text/distance.h"

namespace orvela::text {
namespace {

struct CoordCase {
  const char* text;
  bool ok;
  int32_t expected;
};

TEST(Convert, CoordinatesInMicroDegrees) {
  const CoordCase cases[] = {
      {"52.2297", true, 52229700},
      {"-0.0000005", true, 0},  // the half goes to the even 0
      {"  21.0122", true, 21012200},
      {"+18.5", true, 18500000},
      {"-179.999999", true, -179999999},
      {"2147.483647", true, 2147483647},
      {"2147.483648", false, 0},  // beyond 32 bits: refused, not wrapped
      {"abc", false, 0},
      {"", false, 0},
      {"   ", false, 0},
      {"52,2297", false, 0},  // the comma is never a decimal point
      {"52.2297x", false, 0},
      {"nan", false, 0},
      {"inf", false, 0},
      {"1e400", false, 0},
      {"+-1", false, 0},
  };
  for (const auto& c : cases) {
    int32_t l = 777;
    EXPECT_EQ(STRGETCOORD(c.text, l), c.ok) << c.text;
    EXPECT_EQ(l, c.ok ? c.expected : 777) << c.text;
  }
}

TEST(Convert, RealRoundsHalvesToEven) {
  const CoordCase cases[] = {
      {"2.5", true, 2},  {"3.5", true, 4},    {"-2.5", true, -2},
      {"0.49", true, 0}, {"1e3", true, 1000}, {"2147483647.4", true, 2147483647},
      {"3e9", false, 0}, {"12 3", false, 0},
  };
  for (const auto& c : cases) {
    int32_t l = 777;
    EXPECT_EQ(STRGETREALROUND(c.text, l), c.ok) << c.text;
    EXPECT_EQ(l, c.ok ? c.expected : 777) << c.text;
  }
  double r = 1.5;
  EXPECT_TRUE(STRGETREAL(" \t-12.25 ", r));
  EXPECT_DOUBLE_EQ(r, -12.25);
  EXPECT_FALSE(STRGETREAL("-", r));
  EXPECT_DOUBLE_EQ(r, -12.25);
}

// The decimal point stays "." under a locale that writes ",".
TEST(Convert, IndependentOfTheLocale) {
  const char* old = std::setlocale(LC_ALL, nullptr);
  std::string saved = old ? old : "C";
  if (!std::setlocale(LC_ALL, "pl_PL.UTF-8")) GTEST_SKIP() << "locale pl_PL.UTF-8 is not installed";
  double r = 0;
  int32_t l = 0;
  bool real_ok = STRGETREAL("52.25", r);
  bool comma_ok = STRGETREAL("52,25", r);
  bool coord_ok = STRGETCOORD("52.2297", l);
  std::string km = DISTANCETOSTR(2345);
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_EQ(km, "2.3 kilometres");
  EXPECT_TRUE(real_ok);
  EXPECT_FALSE(comma_ok);
  EXPECT_DOUBLE_EQ(r, 52.25);
  EXPECT_TRUE(coord_ok);
  EXPECT_EQ(l, 52229700);
}

struct DateCase {
  const char* text;
  bool ok;
  DateTime expected;
};

TEST(Convert, IsoDateTimes) {
  const DateCase cases[] = {
      {"2015-06-01T12:00:00", true, {2015, 6, 1, 12, 0}},
      {"2015-06-01T23:59", true, {2015, 6, 1, 23, 59}},
      {"2024-02-29T05:07+02:00", true, {2024, 2, 29, 5, 7}},
      {"2023-02-29T05:07", false, {}},  // no such day
      {"2015-13-01T12:00", false, {}},
      {"2015-06-01T24:00", false, {}},
      {"2015-06-01T12:60", false, {}},
      {"2015-06-01 12:00", false, {}},
      {"2015-06-01T12", false, {}},
      {"2015-6-01T12:00", false, {}},
      {"", false, {}},
      {"2015-06-0", false, {}},
  };
  const DateTime untouched{1999, 9, 9, 9, 9};
  for (const auto& c : cases) {
    DateTime dt = untouched;
    EXPECT_EQ(STRGETISODATETIME(c.text, dt), c.ok) << c.text;
    EXPECT_EQ(dt, c.ok ? c.expected : untouched) << c.text;
  }
}

TEST(Convert, IsoDates) {
  const DateCase cases[] = {
      {"2015-06-01", true, {2015, 6, 1, 0, 0}},
      {"2015-06-01T12:30", true, {2015, 6, 1, 0, 0}},
      {"2015-06-31", false, {}},
      {"15-06-01", false, {}},
      {"2015/06/01", false, {}},
  };
  const DateTime untouched{1999, 9, 9, 9, 9};
  for (const auto& c : cases) {
    DateTime dt = untouched;
    EXPECT_EQ(STRGETISODATE(c.text, dt), c.ok) << c.text;
    EXPECT_EQ(dt, c.ok ? c.expected : untouched) << c.text;
  }
}

TEST(Convert, FormatsDatesAndTimes) {
  DateTime dt{2015, 6, 1, 7, 5};
  EXPECT_EQ(DATETIME2STR(dt), "2015-06-01 07:05");
  EXPECT_EQ(DATE2STR(dt), "2015-06-01");
  EXPECT_EQ(TIME2STR(dt), "07:05");
  EXPECT_EQ(DATE2STR(DateTime{987, 12, 31, 0, 0}), "0987-12-31");
}

TEST(Convert, DateTimeMeetsTheSystemClock) {
  DateTime dt{2024, 2, 28, 23, 30};
  DateTime next = DateTime::from_sys(dt.to_sys() + std::chrono::hours(1));
  EXPECT_EQ(next, (DateTime{2024, 2, 29, 0, 30}));
  EXPECT_EQ((DateTime{2015, 6, 1, 0, 0}).weekday(), 0);   // a Monday
  EXPECT_EQ((DateTime{2026, 12, 6, 0, 0}).weekday(), 6);  // a Sunday
}

TEST(Convert, SplitsAtTheSeparator) {
  using V = std::vector<std::string>;
  struct Case {
    std::string text;
    char sep;
    V expected;
  };
  const Case cases[] = {
      {"a\tb\t", '\t', {"a", "b", ""}},
      {" a b \t c", '\t', {"a b", "c"}},
      {"", ',', {""}},
      {",,", ',', {"", "", ""}},
      {"  only  ", ';', {"only"}},
      {"x; y ;z", ';', {"x", "y", "z"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SPLITSTR(c.text, c.sep), c.expected) << c.text;
}

}  // namespace
}  // namespace orvela::text
