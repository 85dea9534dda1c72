// Typed coordinates: the decimal point moves six places, numbers are picked
// out of free text, and the world's bounds are checked.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "explore/coord_text.h"

namespace orvela::explore {
namespace {

TEST(CoordText, DecimalTextToMicroDegrees) {
  struct Case {
    const char* text;
    std::optional<int32_t> micro;
  };
  const std::vector<Case> cases = {
      {"52.2297", 52229700},
      {"-0.5", -500000},
      {"21.01234567", 21012345},
      {"52.", 52000000},
      {"0.000001", 1},
      {"-179.999999", -179999999},
      {"52.12a4", 5212},
      {"52", std::nullopt},
      {"", std::nullopt},
      {"99999999999.0", INT32_MAX},  // saturates instead of wrapping into the world
  };
  for (const auto& c : cases) EXPECT_EQ(STRCORDTOINT(c.text), c.micro) << c.text;
}

TEST(CoordText, EntryKeepsTheLastTwoValidNumbers) {
  struct Case {
    const char* line;
    int err;
    int32_t lat, lon;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"52.229700 21.012200", 0, 52229700, 21012200, ""},
      {"52.2297, 21.0122", 0, 52229700, 21012200, ""},
      {"N52.2297 E21.0122", 0, 52229700, 21012200, ""},
      {"1.5 2.5 3.5", 0, 2500000, 3500000, ""},
      {"-33.5 -70.25", 0, -33500000, -70250000, ""},
      {"52 21", 2, 0, 0, "No latitude and longitude given"},
      {"52.1 21", 2, 0, 0, "No longitude given."},
      {".5 1.5", 2, 0, 0, "No longitude given."},
      {"52,2297 21,0122", 2, 0, 0, "No latitude and longitude given"},
      {"1.2.3 4.5", 2, 0, 0, "No longitude given."},
      {"5.-5 4.5", 2, 0, 0, "No longitude given."},
      {"abc", 2, 0, 0, "No latitude and longitude given"},
  };
  for (const auto& c : cases) {
    CoordEntry e = parse_coord_entry(c.line);
    EXPECT_EQ(e.LASTERR, c.err) << c.line;
    EXPECT_EQ(e.message, c.message) << c.line;
    if (c.err == 0) {
      EXPECT_EQ(e.LAT, c.lat) << c.line;
      EXPECT_EQ(e.LON, c.lon) << c.line;
    }
  }
}

TEST(CoordText, WorldBounds) {
  struct Case {
    int32_t lat, lon;
    bool ok;
  };
  const std::vector<Case> cases = {{90000000, 180000000, true},   {-90000000, -180000000, true},
                                   {90000001, 0, false},          {-90000001, 0, false},
                                   {0, 180000001, false},         {0, -180000001, false},
                                   {INT32_MAX, INT32_MAX, false}, {47141000, 9521000, true}};
  for (const auto& c : cases)
    EXPECT_EQ(coords_on_world(c.lat, c.lon), c.ok) << c.lat << " " << c.lon;
}

TEST(CoordText, PrefillShowsSixDecimals) {
  EXPECT_EQ(format_coords(52229700, 21012200), "52.229700 21.012200");
  EXPECT_EQ(format_coords(-500000, -1), "-0.500000 -0.000001");
}

}  // namespace
}  // namespace orvela::explore
