// Direction words of the six announcement modes. Expected words come from the
// sector boundaries the program promises, written out as tables here, not
// from re-running the same rounding.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "explore/direction.h"

namespace orvela::explore {
namespace {

const DirectionTables& tables() {
  static const DirectionTables t;
  return t;
}

// Hour text for an absolute bearing, from the stated boundaries: 0..7 is hour
// 0, 8..22 is 0:30, 23..37 is 1, ... 338..352 is 11:30 and 353..359 is 12.
// Every boundary sits 7.5 degrees past a multiple of 15; a bearing exactly on
// x.5 never occurs for whole degrees, so each 15-degree band starts at 15k-7.
std::string expected_hour(int dir) {
  int half_hours = 0;
  for (int start = 8; start <= 353; start += 15)
    if (dir >= start) ++half_hours;
  std::string h = std::to_string(half_hours / 2);
  if (half_hours % 2) h += ":30";
  return h;
}

TEST(DirectionWords, ClockModesAtEveryWholeDegree) {
  for (int dir = 0; dir < 360; ++dir) {
    std::string hour = expected_hour(dir);
    // Relative to the user facing north, and facing east with the bearing turned along.
    EXPECT_EQ(GETDIRSTR(tables(), 0, 0, dir), "at hour " + hour + " ") << dir;
    EXPECT_EQ(GETDIRSTR(tables(), 0, 90, (dir + 90) % 360), "at hour " + hour + " ") << dir;
    // Relative to the north, whatever the user faces.
    EXPECT_EQ(GETDIRSTR(tables(), 1, 200, dir), "at hour " + hour + "  of north") << dir;
  }
}

TEST(DirectionWords, DegreeModesAtEveryWholeDegree) {
  for (int dir = 0; dir < 360; ++dir) {
    std::string words = dir == 0     ? "0"
                        : dir <= 180 ? std::to_string(dir) + " degrees to the right"
                                     : std::to_string(360 - dir) + " degrees to the left";
    EXPECT_EQ(GETDIRSTR(tables(), 2, 350, (dir + 350) % 360), words + " ") << dir;
    EXPECT_EQ(GETDIRSTR(tables(), 3, 123, dir), words + "  of north") << dir;
  }
}

TEST(DirectionWords, SimpleCompassSectors) {
  struct Sector {
    int from, to;
    const char* name;
  };
  // Main directions are wider than the diagonals: the second rounding sends
  // halves to even, and 4k is the even neighbour.
  const std::vector<Sector> sectors = {
      {0, 28, "North"},        {29, 61, "Northeast"},   {62, 118, "East"},
      {119, 151, "Southeast"}, {152, 208, "South"},     {209, 241, "Southwest"},
      {242, 298, "West"},      {299, 331, "Northwest"}, {332, 359, "North"}};
  for (const auto& s : sectors)
    for (int dir = s.from; dir <= s.to; ++dir)
      EXPECT_EQ(GETDIRSTR(tables(), 4, 77, dir), std::string(s.name) + " ") << dir;
}

TEST(DirectionWords, AdvancedCompassBy1125DegreeSectors) {
  const auto& names = tables().COMPASSDIRNAMES;
  ASSERT_EQ(names.size(), 32u);
  for (int dir = 0; dir < 360; ++dir) {
    // Sector k ends at (k + 0.5) * 11.25 degrees, never a whole number, so
    // the rounding of halves plays no part; in units of 1/800 degree:
    int k = 0;
    while (dir * 800 > k * 9000 + 4500) ++k;
    std::string name = names[static_cast<size_t>(k % 32)];
    EXPECT_EQ(GETDIRSTR(tables(), 5, 0, dir), name) << dir;
  }
  EXPECT_EQ(GETDIRSTR(tables(), 5, 0, 11), "North by east ");
  EXPECT_EQ(GETDIRSTR(tables(), 5, 0, 355), "North ");
  EXPECT_EQ(GETDIRSTR(tables(), 5, 0, 6), "North by east ");
  EXPECT_EQ(GETDIRSTR(tables(), 5, 0, 5), "North ");
}

TEST(DirectionWords, NegativeDirectionsCountFromThreeSixty) {
  // A line's first cell may carry -89..-1.
  EXPECT_EQ(GETDIRSTR(tables(), 3, 0, -45), "45 degrees to the left  of north");
  EXPECT_EQ(GETDIRSTR(tables(), 4, 0, -90), "West ");
}

TEST(DirectionWords, ClockAndDegreeExamples) {
  EXPECT_EQ(GETDIRSTR(tables(), 0, 0, 90), "at hour 3 ");
  EXPECT_EQ(GETDIRSTR(tables(), 0, 0, 100), "at hour 3:30 ");
  EXPECT_EQ(GETDIRSTR(tables(), 0, 90, 0), "at hour 9 ");
  EXPECT_EQ(GETDIRSTR(tables(), 2, 350, 10), "20 degrees to the right ");
  EXPECT_EQ(GETDIRSTR(tables(), 2, 350, 300), "50 degrees to the left ");
}

TEST(DirectionWords, FacingSentenceStatesTheHeadingInEveryMode) {
  struct Case {
    uint8_t mode;
    int udir;
    const char* said;
  };
  const std::vector<Case> cases = {
      {0, 90, "Your direction at hour 3  of north"},
      {0, 0, "Your direction at hour 0  of north"},
      {1, 90, "Your direction at hour 3  of north"},
      {2, 270, "Your direction 90 degrees to the left  of north"},
      {3, 45, "Your direction 45 degrees to the right  of north"},
      {4, 90, "Your direction East "},
      {5, 11, "Your direction North by east "},
  };
  for (const auto& c : cases)
    EXPECT_EQ(udir_sentence(tables(), c.mode, c.udir), c.said) << int(c.mode);
}

TEST(DirectionWords, ModeSymbolsAreReadCaseInsensitively) {
  const std::vector<std::pair<const char*, int>> cases = {
      {"rc", 0}, {"ac", 1}, {"rd", 2}, {"AD", 3}, {"Cs", 4}, {"ca", 5}, {"xx", 0}, {"", 0}};
  for (const auto& [sym, idx] : cases) EXPECT_EQ(INIGETUDIRMODE(tables(), sym), idx) << sym;
}

}  // namespace
}  // namespace orvela::explore
