#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "support/console_runner.h"
#include "support/file_bytes.h"
#include "support/test_env.h"

namespace orvela::test {
namespace {
namespace fs = std::filesystem;

bool has_line(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The lines from the first that starts with `first` on, `n` of them.
std::vector<std::string> lines_from(const std::vector<std::string>& lines, const std::string& first,
                                    std::size_t n) {
  auto it = std::find_if(lines.begin(), lines.end(),
                         [&](const std::string& l) { return l.starts_with(first); });
  if (it == lines.end()) return {};
  return {it, it + static_cast<std::ptrdiff_t>(std::min<std::size_t>(n, lines.end() - it))};
}

// A walk on the demo map: bookmarks made on the way and heard again on
// their cells, listed, moved, sorted, renumbered and summed, saved in both
// Loadstone formats and as GPX, the start position saved, and the question
// at the end. Then a second start opens the map there and loads the files.
TEST(BookmarksE2e, WalkSaveQuitStartAgainAndLoad) {
  TempDir home;
  const std::string lscp = (home / "walk.lscp").string();
  const std::string lsdb = (home / "walk.lsdbtxt").string();
  const std::string gpx = (home / "walk.gpx").string();
  ConsoleResult r = run_console(home.path(),
                                "Ctrl+O\n1\n:cancel\n"
                                "Ctrl+G\n-29.998312 -139.997464\n"
                                "Enter\n:default\n"
                                "Up\nUp\nUp\nEnter\nHarbour steps\n"
                                "Right\nRight\nEnter\n:default\n"
                                "Down\nLeft\nLeft\nDown\nDown\nUp\n"
                                "U\n0\n"
                                "Ctrl+U\n3\n1\n:cancel\n"
                                "Shift+U\ny\n"
                                "Shift+N\n1\n"
                                "M\n"
                                "IDM_BOOKMARKSAVEAS\n" +
                                    lscp +
                                    "\n"
                                    "IDM_SELECTBOOKMARKSAVEFORMAT\n2\n"
                                    "IDM_BOOKMARKSAVEAS\n" +
                                    lsdb +
                                    "\n"
                                    "IDM_BOOKMARKSAVEAS\n" +
                                    gpx +
                                    "\n"
                                    "Ctrl+C\nCtrl+E\ny\n"
                                    "IDM_SAVESTARTPOS\ny\n"
                                    "Enter\nMill corner\n"
                                    ":quit\ny\ny\n");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto lines = r.lines();
  EXPECT_TRUE(has_line(lines, "INPUT Enter bookmark: Bookmark name [1. fountain Cove Fountain]"))
      << r.out;
  EXPECT_TRUE(has_line(lines, "INPUT Enter bookmark: Bookmark name [3. Point]")) << r.out;
  // Back on the first bookmark's cell, heard by its name instead of the fountain.
  EXPECT_TRUE(has_line(lines, "SAY Bookmark 1. fountain Cove Fountain")) << r.out;
  EXPECT_EQ(lines_from(lines, "LIST Go to bookmark", 4),
            (std::vector<std::string>{"LIST Go to bookmark: Select bookmark",
                                      "* 1. 1. fountain Cove Fountain 14 metres at hour 7",
                                      "  2. Harbour steps 19 metres at hour 11:30",
                                      "  3. 3. Point 22 metres at hour 1:30"}))
      << r.out;
  EXPECT_TRUE(has_line(lines, "  4. End of list")) << r.out;
  EXPECT_TRUE(has_line(lines, "INFO Bookmarks distance sum: 66 metres.")) << r.out;
  EXPECT_TRUE(has_line(lines, "CLIPBOARD " + gpx)) << r.out;
  EXPECT_TRUE(has_line(lines, "OPEN " + home.path().string())) << r.out;
  // Moved, sorted by number (unnumbered first), renumbered from 1.
  EXPECT_EQ(file_bytes(lscp),
            "#!lscp\r\n"
            "-299980420,-1399974640,\"1. Harbour steps\",1,0,0,10002,1,\"\"\r\n"
            "-299983120,-1399974640,\"2. fountain Cove Fountain\",1,0,0,10002,2,\"\"\r\n"
            "-299980420,-1399972580,\"3. Point\",1,0,0,10002,3,\"\"\r\n");
  EXPECT_TRUE(file_bytes(lsdb).starts_with("#!lsdb\r\ntable,point\r\n"));
  EXPECT_NE(file_bytes(lsdb).find("\"3. Point\",-29.9980420,-139.9972580,1,0,0,10002,3\r\n"),
            std::string::npos);
  // The close saved the renamed list to the file last saved, as GPX.
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], "ASK Save bookmarks?");
  EXPECT_EQ(lines.back(), "ASK Really quit program?");
  EXPECT_NE(file_bytes(gpx).find("<name>Mill corner</name>"), std::string::npos);
  const std::string start = file_bytes(home / "orvela.start");
  EXPECT_TRUE(start.starts_with("nowhere-cove.orvel\r\n")) << start;

  ConsoleResult again = run_console(home.path(), "Ctrl+L\n" + lscp +
                                                     "\n"
                                                     "Ctrl+L\n" +
                                                     gpx +
                                                     "\n"
                                                     "Ctrl+L\n" +
                                                     lsdb +
                                                     "\n"
                                                     "U\n2\ny\n");
  ASSERT_EQ(again.exit_code, 0) << again.err;
  const auto next = again.lines();
  ASSERT_FALSE(next.empty());
  // The map opens at the saved position before anything is typed.
  EXPECT_EQ(next[0], "TITLE Orvela nowhere-cove");
  EXPECT_TRUE(has_line(next, "INFO 3 added, 0 ignored.")) << again.out;
  EXPECT_TRUE(has_line(next, "INFO 1 added, 3 ignored.")) << again.out;
  EXPECT_TRUE(has_line(next, "INFO 0 added, 3 ignored.")) << again.out;
  EXPECT_TRUE(has_line(next, "SAY Bookmark 2. fountain Cove Fountain")) << again.out;
  // Loading changes nothing to save.
  EXPECT_EQ(next.back(), "ASK Really quit program?");
}

}  // namespace
}  // namespace orvela::test
