// Walking with the mouse through the console's ":mouse DX DY" and ":click"
// lines, on the demo map: steps and turns, the clicks and their timing, the
// calibration dialog and the typed sensitivity.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/console_runner.h"
#include "support/test_env.h"

namespace orvela::test {
namespace {

// Opens the demo map and stands on the fountain of Nowhere Cove, facing north.
const std::string kOnTheMap = "Ctrl+O\n1\n:cancel\nCtrl+G\n-29.998312 -139.997464\n";
// Shows where the user stands: the coordinates field starts with them.
const std::string kWhere = "IDM_GOTOCORDS\n:cancel\n";

bool has_line(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::vector<std::string> starting_with(const std::vector<std::string>& lines,
                                       const std::string& prefix) {
  std::vector<std::string> v;
  for (const std::string& l : lines)
    if (l.starts_with(prefix)) v.push_back(l);
  return v;
}

// The positions the script showed with kWhere, in order.
std::vector<std::string> positions(const std::string& script) {
  TempDir home;
  const ConsoleResult r = run_console(home.path(), kOnTheMap + script);
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_FALSE(has_line(r.lines(), "SAY No map selected.")) << r.out;
  auto shown = starting_with(r.lines(), "INPUT Go to coordinates: ");
  // The first is the jump onto the map, before anyone stood anywhere.
  if (!shown.empty()) shown.erase(shown.begin());
  return shown;
}

TEST(MouseE2e, MovementWalksLikeTheKeysRelativeToTheWayTheUserFaces) {
  struct Case {
    const char* what;
    std::string mouse;
    std::string keys;
  };
  const Case cases[] = {
      {"60 counts right facing north: one step east", "IDM_USEMOUSE\n:mouse 60 0\n",
       "IDM_GORIGHT\n"},
      {"the same in sixty small movements",
       "IDM_USEMOUSE\n" +
           [] {
             std::string s;
             for (int i = 0; i < 60; ++i) s += ":mouse 1 0\n";
             return s;
           }(),
       "IDM_GORIGHT\n"},
      {"away from the user facing east: one step east",
       "IDM_TURN90RIGHT\nIDM_USEMOUSE\n:mouse 0 -60\n", "IDM_TURN90RIGHT\nIDM_GOFORWARD\n"},
      {"towards the user and left facing north: two steps back, one left",
       "IDM_USEMOUSE\n:mouse -60 120\n", "IDM_GOBACK\nIDM_GOBACK\nIDM_GOLEFT\n"},
      {"a sensitivity of 20 counts per step",
       "IDM_ENTERMOUSEFACTOR\n20\nIDM_USEMOUSE\n:mouse 60 0\n",
       "IDM_GORIGHT\nIDM_GORIGHT\nIDM_GORIGHT\n"},
      {"with the mouse off it does not walk", ":mouse 60 0\n", ""},
      {"while a dialog waits it does not walk",
       "IDM_USEMOUSE\nIDM_ENTERMOUSEFACTOR\n:mouse 60 0\n:cancel\n", ""},
      {"switched on and off again it does not walk", "IDM_USEMOUSE\nIDM_USEMOUSE\n:mouse 60 0\n",
       ""},
  };
  const std::vector<std::string> start = positions(kWhere);
  ASSERT_EQ(start.size(), 1u);
  for (const Case& c : cases) {
    const auto by_mouse = positions(c.mouse + kWhere);
    const auto by_keys = positions(c.keys + kWhere);
    ASSERT_EQ(by_mouse.size(), 1u) << c.what;
    EXPECT_EQ(by_mouse, by_keys) << c.what;
    EXPECT_EQ(by_mouse == start, c.keys.find("IDM_GO") == std::string::npos) << c.what;
  }
}

TEST(MouseE2e, SwitchSaysItsStateAndChecksTheItem) {
  TempDir home;
  const ConsoleResult r = run_console(home.path(), "IDM_USEMOUSE\nCtrl+Y\n");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(starting_with(r.lines(), "SAY Use mouse"),
            (std::vector<std::string>{"SAY Use mouse On", "SAY Use mouse Off"}));
}

TEST(MouseE2e, ClicksSpeakAndAQuickTripleClickTogglesTheBookmarkQuietly) {
  TempDir home;
  const std::string triple = ":click left\n:click left\n:click left\n";
  const ConsoleResult r = run_console(
      home.path(), kOnTheMap + "IDM_USEMOUSE\n" + triple +
                       "IDM_BOOKMARKGOTO\n:cancel\n"
                       // Half a second later the count starts again: the
                       // next triple click takes the bookmark away.
                       ":wait 501\n" +
                       triple +
                       "IDM_BOOKMARKGOTO\n"
                       // Three slow clicks only speak the type, each time.
                       ":wait 501\n:click left\n:wait 501\n:click left\n:wait 501\n:click left\n"
                       "IDM_BOOKMARKGOTO\n"
                       ":click right\n");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto lines = r.lines();
  // Never a dialog for the name.
  EXPECT_TRUE(starting_with(lines, "INPUT Enter bookmark").empty()) << r.out;
  EXPECT_TRUE(starting_with(lines, "INPUT Edit bookmark").empty()) << r.out;
  // One bookmark after the first triple click, none after the second or the slow clicks.
  const auto lists = starting_with(lines, "LIST Go to bookmark");
  EXPECT_EQ(lists.size(), 1u) << r.out;
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
    return l.starts_with("* 1. 1. fountain Cove Fountain");
  })) << r.out;
  EXPECT_EQ(starting_with(lines, "SAY At least 1 bookmarks required").size(), 2u) << r.out;
  // Each triple click: the type, no direction (a point has none), the
  // bookmark; the slow clicks: the type three times; the right button: the type.
  const auto said = starting_with(lines, "SAY ");
  const std::string type = "SAY fountain point ";
  EXPECT_EQ(std::count(said.begin(), said.end(), type), 2 + 3 + 1) << r.out;
}

TEST(MouseE2e, CalibrationTunesWithinBoundsAndOnlyOkKeepsIt) {
  struct Case {
    const char* what;
    std::string moves;
    std::string answer;
    std::vector<std::string> said;
    std::string factor_after;
  };
  const Case cases[] = {
      {"far to the left: spoken when it moved more than 20, never below 1",
       ":mouse -300 0\n:mouse -1000 0\n:mouse -100 0\n:click left\n",
       "\n",
       {"SAY 30", "SAY 1", "SAY 1"},
       "1"},
      {"to the right by exactly 20 is not spoken, a little more is",
       ":mouse 200 0\n:mouse 10 0\n",
       "\n",
       {"SAY 81"},
       "81"},
      {"up and down only checks: the value stays",
       ":mouse 250 -260\n:mouse 0 60\n:mouse 0 -600\n:click left\n",
       "\n",
       {"SAY 60"},
       "60"},
      {"cancel keeps the old value", ":mouse 300 0\n", ":cancel\n", {"SAY 90"}, "60"},
  };
  for (const Case& c : cases) {
    TempDir home;
    const ConsoleResult r =
        run_console(home.path(), "IDM_USEMOUSE\nIDM_SETUPMOUSE\n" + c.moves + c.answer +
                                     "IDM_ENTERMOUSEFACTOR\n:cancel\n");
    ASSERT_EQ(r.exit_code, 0) << c.what << r.err;
    const auto lines = r.lines();
    EXPECT_TRUE(has_line(lines, "TEXT Setting mouse sensitivity: Instruction")) << r.out;
    EXPECT_TRUE(has_line(lines, "| Moving up / down - checking without change.")) << r.out;
    auto said = starting_with(lines, "SAY ");
    said.erase(said.begin());  // "Use mouse On"
    EXPECT_EQ(said, c.said) << c.what << '\n' << r.out;
    EXPECT_TRUE(has_line(
        lines, "INPUT Enter mouse sensitivity: Enter mouse sensitivity [" + c.factor_after + "]"))
        << c.what << '\n'
        << r.out;
  }
}

TEST(MouseE2e, TypedSensitivityTakesOnlyPositiveWholeNumbers) {
  struct Case {
    const char* typed;
    const char* after;
  };
  const Case cases[] = {{"45", "45"},      {"0", "60"}, {"-5", "60"},
                        {"slow", "60"},    {"", "60"},  {"12abc", "12"},
                        {":cancel", "60"}, {"1", "1"},  {"99999999999", "60"}};
  for (const Case& c : cases) {
    TempDir home;
    const ConsoleResult r =
        run_console(home.path(), std::string("IDM_ENTERMOUSEFACTOR\n") + c.typed +
                                     "\nIDM_ENTERMOUSEFACTOR\n:cancel\n");
    ASSERT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(starting_with(r.lines(), "INPUT Enter mouse sensitivity"),
              (std::vector<std::string>{
                  "INPUT Enter mouse sensitivity: Enter mouse sensitivity [60]",
                  std::string("INPUT Enter mouse sensitivity: Enter mouse sensitivity [") +
                      c.after + "]"}))
        << c.typed;
  }
}

TEST(MouseE2e, TheSwitchAndTheSensitivityAreSavedAndComeBack) {
  TempDir home;
  ConsoleResult r = run_console(home.path(),
                                "IDM_USEMOUSE\nIDM_ENTERMOUSEFACTOR\n33\n"
                                "IDM_SAVEUSERINI\n");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  // The next start switches the mouse on from user.ini: the first switch turns it off.
  r = run_console(home.path(), "IDM_ENTERMOUSEFACTOR\n:cancel\nIDM_USEMOUSE\n");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto lines = r.lines();
  EXPECT_TRUE(has_line(lines, "INPUT Enter mouse sensitivity: Enter mouse sensitivity [33]"))
      << r.out;
  EXPECT_TRUE(has_line(lines, "SAY Use mouse Off")) << r.out;
}

}  // namespace
}  // namespace orvela::test
