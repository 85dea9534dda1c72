// The whole program in console mode on the real Liechtenstein extract: the
// map imported from the command line, opened far from everything so that
// the start-point search follows, "Städtle" found and jumped to, then the
// points around the Vaduz town centre listed by distance.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/console_runner.h"
#include "support/test_env.h"

namespace orvela::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// The entries of the list that follows line `title`.
Lines list_after(const Lines& lines, const std::string& title) {
  auto it = std::find(lines.begin(), lines.end(), title);
  Lines entries;
  if (it == lines.end()) return entries;
  for (++it; it != lines.end() && (it->starts_with("  ") || it->starts_with("* ")); ++it)
    entries.push_back(*it);
  return entries;
}

// The distance an entry gives, in metres ("... 42.5 kilometres at hour 2").
double metres(const std::string& entry) {
  for (const auto& [unit, factor] : {std::pair{" metres ", 1.0}, std::pair{" kilometres ", 1e3}}) {
    const auto at = entry.rfind(unit);
    if (at == std::string::npos) continue;
    const auto number = entry.rfind(' ', at - 1) + 1;
    return std::stod(entry.substr(number, at - number)) * factor;
  }
  return -1;
}

bool nearest_first(const Lines& entries) {
  for (std::size_t i = 1; i < entries.size(); ++i)
    if (metres(entries[i]) < metres(entries[i - 1])) return false;
  return true;
}

bool has_entry(const Lines& entries, const std::string& text) {
  return std::any_of(entries.begin(), entries.end(), [&](const std::string& e) {
    return e.find(". " + text + " ") != std::string::npos;
  });
}

TEST(SearchE2e, StartPointFromAnywhereThenPointsAroundVaduz) {
  auto data = shared_data_dir();
  ASSERT_TRUE(data && fs::exists(*data / "osm" / "liechtenstein-2013-08-03.osm.pbf"))
      << "the Liechtenstein extract is missing from the shared data";
  TempDir home;
  fs::create_directories(home / "maps");
  ConsoleRun import;
  import.args = {"--home", home.path().string(), "--import",
                 (*data / "osm" / "liechtenstein-2013-08-03.osm.pbf").string(),
                 (home / "maps" / "li.orvel").string()};
  import.timeout = std::chrono::seconds(240);
  ConsoleResult imported = run_console(home.path(), import);
  ASSERT_EQ(imported.exit_code, 0) << imported.err;

  // The demo map is in every home too: which entry of the open list is ours?
  const Lines maps =
      list_after(run_console(home.path(), "Ctrl+O\n0\n").lines(), "LIST Open map: Select map");
  const auto ours = std::find_if(maps.begin(), maps.end(),
                                 [](const std::string& e) { return e.ends_with(". li.orvel"); });
  ASSERT_NE(ours, maps.end());

  ConsoleRun run;
  run.timeout = std::chrono::seconds(120);
  // Far west of the country, then the map: nothing of it lies around.
  run.script =
      "Ctrl+G\n47.0 9.0\n"
      "Ctrl+O\n" +
      std::to_string(ours - maps.begin() + 1) +
      "\n"
      "Städtle\n1\ny\n"
      "P\n\n0\n"
      "Ctrl+T\nvaduz post\n0\n";
  ConsoleResult r = run_console(home.path(), run);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const Lines lines = r.lines();

  // Opening the map asked for a start point at once.
  auto opened = std::find(lines.begin(), lines.end(), "TITLE Orvela li");
  ASSERT_NE(opened, lines.end()) << r.out;
  ASSERT_NE(opened + 1, lines.end());
  EXPECT_EQ(*(opened + 1), "INPUT Select start point: Key words []") << r.out;

  // Every place with Städtle in its texts, the Vaduz street itself among
  // them, the nearest first; the chosen one is announced on arrival.
  const Lines found = list_after(lines, "LIST Select start point: Select point");
  ASSERT_GE(found.size(), 10u) << r.out;
  EXPECT_TRUE(nearest_first(found)) << r.out;
  EXPECT_TRUE(has_entry(found, "Line road pedestrian street Städtle  ")) << r.out;
  EXPECT_TRUE(
      has_entry(found, "museum Liechtensteinisches Landesmuseum Vaduz Städtle 43 Vaduz  LI"))
      << r.out;
  auto jump = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
    return l.starts_with("ASK Do you want to jump 42.5 kilometres");
  });
  ASSERT_NE(jump, lines.end()) << r.out;
  auto arrival =
      std::find_if(jump, lines.end(), [](const std::string& l) { return l.starts_with("SAY "); });
  ASSERT_NE(arrival, lines.end()) << r.out;
  EXPECT_NE(arrival->find("Städtle"), std::string::npos) << *arrival;

  // Around the town centre: the parliament, the post, the museum.
  const Lines points = list_after(lines, "LIST Points in area: Points in area");
  ASSERT_GE(points.size(), 50u) << r.out;
  EXPECT_TRUE(nearest_first(points)) << r.out;
  for (const char* place : {"town hall Landtag", "post office Vaduz", "bus stop Vaduz Post",
                            "museum Liechtensteinisches Landesmuseum Vaduz Städtle 43 Vaduz"})
    EXPECT_TRUE(has_entry(points, place)) << place << "\n" << r.out;

  // Two key words from the centre: the post office and its bus stops first.
  const std::string title = "LIST Select start point: Select point";
  auto second =
      std::find(std::next(std::find(lines.begin(), lines.end(), title)), lines.end(), title);
  ASSERT_NE(second, lines.end()) << r.out;
  const Lines vaduz_post = list_after(Lines(second, lines.end()), title);
  ASSERT_GE(vaduz_post.size(), 3u) << r.out;
  EXPECT_TRUE(nearest_first(vaduz_post)) << r.out;
  for (std::size_t i = 0; i < 3; ++i)
    EXPECT_TRUE(vaduz_post[i].find("Vaduz Post") != std::string::npos ||
                vaduz_post[i].find("post office Vaduz") != std::string::npos)
        << vaduz_post[i];
}

}  // namespace
}  // namespace orvela::test
