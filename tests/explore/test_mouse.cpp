// The mouse on a small map: which clicks make a double or triple click
// (time stamps of the front end's clock, wrap-around included).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bookmarks/bookmark_world.h"
#include "explore/mouse.h"
#include "support/test_env.h"

namespace orvela::explore {
namespace {

struct MouseWorld : bookmarks::test::BookmarkWorld {
  explicit MouseWorld(std::string input = {})
      : BookmarkWorld(std::move(input)), mouse(ex, user, grid, bm, console.ui, messages, ms) {
    ms.USEMOUSE = true;
    stand(75.5, 85.5);  // on the café
  }
  void click(uint32_t at) { mouse.input({.left = true, .time_ms = at}); }

  MouseSettings ms;
  Mouse mouse;
};

TEST(Mouse, LeftClicksWithinHalfASecondOfTheLastMakeOneMultiClick) {
  struct Case {
    const char* what;
    std::vector<uint32_t> times;
    int types;           // "restaurant point" spoken
    std::size_t marked;  // bookmarks afterwards
  };
  const Case cases[] = {
      {"one click", {1000}, 1, 0},
      {"three quick clicks", {1000, 1200, 1700}, 1, 1},
      {"three clicks, the last too late", {1000, 1200, 1701}, 2, 0},
      {"three slow clicks", {1000, 2000, 3000}, 3, 0},
      {"four quick clicks: the fourth does nothing", {1000, 1100, 1200, 1300}, 1, 1},
      {"across the wrap of the clock", {0xFFFFFF00u, 0x50u, 0x100u}, 1, 1},
      {"two quick triples: a bookmark made and taken away",
       {1000, 1100, 1200, 2000, 2100, 2200},
       2,
       0},
  };
  for (const Case& c : cases) {
    MouseWorld w;
    for (uint32_t t : c.times) w.click(t);
    const auto said = w.said();
    EXPECT_EQ(std::count(said.begin(), said.end(), "restaurant point "), c.types) << c.what;
    EXPECT_EQ(w.bm.BOOKMARKS().size(), c.marked) << c.what;
    // Quietly: no dialog asked for a name.
    EXPECT_TRUE(std::none_of(w.out().begin(), w.out().end(), [](const std::string& l) {
      return l.starts_with("INPUT ");
    })) << c.what;
  }
}

TEST(Mouse, AFactorThatCannotDivideWalksAtTheDefault) {
  for (int32_t bad : {0, -35}) {
    MouseWorld w;
    w.ms.MOUSEFACTOR = bad;
    const double x = w.user.UPOSX;
    w.mouse.input({.dx = 60});
    EXPECT_DOUBLE_EQ(w.user.UPOSX, x + 1) << bad;
  }
}

// Calibrating, each step's worth of hand movement is heard as the step
// sound the program ships (a name missing from the sound list plays
// nothing at all), and smaller movements stay silent.
TEST(Mouse, CalibrationPlaysTheShippedStepSound) {
  MouseWorld w;
  std::vector<std::string> played;
  w.mouse.hooks.SOUNDPLAY = [&](std::string_view fn, uint8_t, uint16_t) {
    played.emplace_back(fn);
  };
  w.mouse.MOUSESETUPPROCESS({.dx = 600});  // the sensitivity: 60 counts a step
  w.mouse.MOUSESETUPPROCESS({.dy = -30});
  EXPECT_TRUE(played.empty());
  for (int i = 0; i < 3; ++i) w.mouse.MOUSESETUPPROCESS({.dy = -60});
  ASSERT_EQ(played.size(), 3u);
  const std::filesystem::path program = test::program_dir();
  std::ifstream ini(program / "sounds.ini");
  std::string line;
  bool listed = false;
  while (std::getline(ini, line)) listed = listed || line == "specialsound = " + played[0];
  EXPECT_TRUE(listed) << played[0];
  EXPECT_TRUE(std::filesystem::exists(program / "sounds" / (played[0] + ".wav"))) << played[0];
}

}  // namespace
}  // namespace orvela::explore
