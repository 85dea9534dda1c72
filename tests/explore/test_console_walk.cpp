// The whole program in console mode on the real Liechtenstein extract:
// import it from the Map menu, jump into Vaduz, walk along a street, turn in
// two announcement modes, zoom out and in, and go to a QTH locator.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/console_runner.h"
#include "support/test_env.h"

namespace orvela::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> said_after(const std::vector<std::string>& lines,
                                    const std::string& marker) {
  auto it = std::find(lines.begin(), lines.end(), marker);
  std::vector<std::string> v;
  for (; it != lines.end(); ++it)
    if (it->starts_with("SAY ")) v.push_back(it->substr(4));
  return v;
}

bool has(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(ConsoleWalk, ImportJumpWalkTurnZoomAndLocator) {
  auto data = shared_data_dir();
  if (!data || !fs::exists(*data / "osm" / "liechtenstein-2013-08-03.osm.bz2"))
    GTEST_SKIP() << "the Liechtenstein extract is not in the shared data";
  TempDir home;
  ConsoleRun run;
  run.timeout = std::chrono::seconds(240);
  // Lettstrasse runs east from 47.140172 N 9.517554 E for 77 m, rising by
  // about one degree: four steps east stay on it.
  run.script = "IDM_OSMIMPORTFILE\n" +
               (*data / "osm" / "liechtenstein-2013-08-03.osm.bz2").string() +
               "\n"
               "li\n"
               "y\n"
               "Ctrl+G\n47.140172 9.517554\ny\n"
               "Ctrl+Right\n"
               "Up\nUp\nUp\n"
               "IDM_SELECTUDIRMODE\n5\n"
               "Ctrl+Right\n"
               "Ctrl+Page Up\n"
               "Ctrl+Page Down\n"
               "Ctrl+Q\nJN47ud\ny\n";
  ConsoleResult r = run_console(home.path(), run);
  auto lines = r.lines();
  ASSERT_EQ(r.exit_code, 0) << r.err << r.out;

  // The import: its questions, its progress, the new map opened.
  EXPECT_TRUE(
      has(lines, "INPUT OpenStreetMap import: Destination map name: [liechtenstein-2013-08-03]"))
      << r.out;
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.starts_with("PROGRESS "); }));
  EXPECT_TRUE(has(lines, "ASK Import finished. Open imported map?")) << r.out;
  EXPECT_TRUE(has(lines, "TITLE Orvela li.osm")) << r.out;
  EXPECT_TRUE(fs::exists(home / "maps" / "li.osm.orvel"));

  // The jump asks with distance and direction, then names the street with
  // its direction; the next cells of the same street only by name.
  auto jump = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
    return l.starts_with("ASK Do you want to jump ");
  });
  ASSERT_NE(jump, lines.end()) << r.out;
  auto said = said_after(lines, *jump);
  ASSERT_GE(said.size(), 5u) << r.out;
  // The jump lands on the crossing with Alvierweg, which holds the first cell.
  EXPECT_EQ(said[0], "Alvierweg Lettstrasse") << r.out;
  EXPECT_EQ(said[1], "Your direction at hour 3  of north") << r.out;
  // Facing east along a street that rises by a degree: just left of ahead.
  EXPECT_EQ(said[2], "Lettstrasse direction at hour 12") << r.out;
  EXPECT_EQ(said[3], "Lettstrasse") << r.out;
  EXPECT_EQ(said[4], "Lettstrasse") << r.out;

  // Turning again in the simple compass mode.
  EXPECT_TRUE(has(lines, "LIST Direction announcement mode: Select direction announcement mode"))
      << r.out;
  EXPECT_TRUE(has(lines, "SAY Your direction South ")) << r.out;

  // Zoom out and back in.
  EXPECT_TRUE(has(lines, "SAY One square 20 metres.")) << r.out;
  EXPECT_TRUE(has(lines, "SAY One square 10 metres.")) << r.out;

  // The locator field starts with where the user stands; the jump is asked for.
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
    return l.starts_with("INPUT Go to QTH location: Enter QTH locator [JN47");
  })) << r.out;
  EXPECT_EQ(
      std::count_if(lines.begin(), lines.end(),
                    [](const std::string& l) { return l.starts_with("ASK Do you want to jump "); }),
      2)
      << r.out;
  EXPECT_FALSE(has(lines, "SAY No map selected.")) << r.out;
}

TEST(ConsoleWalk, ImportCancelledAtTheNameKeepsNoMap) {
  auto data = shared_data_dir();
  if (!data || !fs::exists(*data / "osm" / "osmnx-planet_10.068_48.135_10.071_48.137.osm"))
    GTEST_SKIP() << "the small OSM extract is not in the shared data";
  TempDir home;
  ConsoleResult r = run_console(
      home.path(), "IDM_OSMIMPORTFILE\n" +
                       (*data / "osm" / "osmnx-planet_10.068_48.135_10.071_48.137.osm").string() +
                       "\n:cancel\nIDM_OSMIMPORTFILE\n:cancel\n");
  auto lines = r.lines();
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(has(lines,
                  "INPUT OpenStreetMap import: Destination map name: "
                  "[osmnx-planet_10.068_48.135_10.071_48.137]"))
      << r.out;
  EXPECT_FALSE(std::any_of(lines.begin(), lines.end(),
                           [](const std::string& l) { return l.starts_with("PROGRESS "); }));
  // Nothing was written: the maps folder holds only the demo map every home gets.
  std::vector<std::string> maps;
  if (fs::exists(home / "maps"))
    for (const auto& e : fs::directory_iterator(home / "maps"))
      maps.push_back(e.path().filename().string());
  EXPECT_TRUE(maps.empty() || maps == std::vector<std::string>{"nowhere-cove.orvel"});
}

}  // namespace
}  // namespace orvela::test
