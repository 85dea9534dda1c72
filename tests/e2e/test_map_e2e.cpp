#include <gtest/gtest.h>

#include <algorithm>

#include "support/console_runner.h"
#include "support/test_env.h"

namespace orvela::test {
namespace {
namespace fs = std::filesystem;

bool has_line(const ConsoleResult& r, const std::string& line) {
  auto lines = r.lines();
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// A map built with our own importer from the demo source, opened from the
// Map menu (under the demo map's own name, so the first start does not add
// the shipped copy beside it), with the user placed by coordinates: the commands reach the
// map, the grid and the announcements through the dispatcher.
TEST(MapCommands, ImportOpenJumpAndAsk) {
  const fs::path source = source_dir() / "data" / "demo" / "nowhere-cove.osm";
  if (!fs::exists(source)) GTEST_SKIP() << "no demo source at " << source;
  TempDir home;
  fs::create_directories(home / "maps");
  ConsoleRun import;
  import.args = {"--home", home.path().string(), "--import", source.string(),
                 (home / "maps" / "nowhere-cove.orvel").string()};
  ASSERT_EQ(run_console(home.path(), import).exit_code, 0);

  ConsoleResult r = run_console(home.path(),
                                "Ctrl+O\n1\n:cancel\n"
                                "Ctrl+G\n-29.998 -139.997\n"
                                "Space\n"
                                "IDM_SHOWLASTSAY\n\n"
                                "Ctrl+Page Up\n");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(has_line(r, "LIST Open map: Select map")) << r.out;
  EXPECT_TRUE(has_line(r, "* 1. nowhere-cove.orvel")) << r.out;
  EXPECT_TRUE(has_line(r, "TITLE Orvela nowhere-cove")) << r.out;
  // With a map open, the zoom change reloads it instead of saying there is none.
  EXPECT_TRUE(has_line(r, "SAY One square 20 metres.")) << r.out;
  EXPECT_FALSE(has_line(r, "SAY No map selected.")) << r.out;
  // The last message window shows what was said before it.
  auto lines = r.lines();
  auto text = std::find(lines.begin(), lines.end(), "TEXT Last message: Last spoken message");
  ASSERT_NE(text, lines.end()) << r.out;
  ASSERT_NE(text, lines.begin());
  ASSERT_NE(text + 1, lines.end());
  EXPECT_EQ((text - 1)->rfind("SAY ", 0), 0u);
  EXPECT_EQ((text + 1)->substr(2), (text - 1)->substr(4));
}

// Every fresh home gets the demo map in its maps folder. The console starts
// with no map selected, as scripts expect; the window opens the demo at its
// centre, where a named fountain stands so the first thing heard is a place.
TEST(MapCommands, FreshHomeListsTheDemoMapWithAFountainAtItsCentre) {
  TempDir home;
  ConsoleResult r = run_console(home.path(),
                                "IDM_SAYILEV\n"
                                "Ctrl+O\n\n:cancel\n"
                                "Ctrl+G\n-29.998312 -139.997464\n");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  auto lines = r.lines();
  ASSERT_GE(lines.size(), 3u) << r.out;
  EXPECT_EQ(lines[0], "SAY One square 10 metres.");
  EXPECT_TRUE(has_line(r, "* 1. nowhere-cove.orvel")) << r.out;
  // Nobody stands anywhere yet, so the map asks where to begin.
  EXPECT_TRUE(has_line(r, "INPUT Select start point: Key words []")) << r.out;
  EXPECT_TRUE(has_line(r, "SAY fountain Cove Fountain")) << r.out;
}

}  // namespace
}  // namespace orvela::test
