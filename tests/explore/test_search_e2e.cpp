// The searches on the real Liechtenstein extract, imported from the
// command line. The whole program in console mode: the map opened far from
// everything so that the start-point search follows, "Städtle" found and
// jumped to, then the points around the Vaduz town centre listed by
// distance. And the start-point search finding the very places that LIKE
// over the joined texts of every object finds.
#include <gtest/gtest.h>

#include <algorithm>

#include "map/mapdb.h"
#include "search_world.h"
#include "support/console_runner.h"
#include "support/test_env.h"

namespace orvela::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// Imports the extract into `home`'s maps folder as li.orvel.
void import_liechtenstein(const TempDir& home) {
  auto data = shared_data_dir();
  ASSERT_TRUE(data && fs::exists(*data / "osm" / "liechtenstein-2013-08-03.osm.pbf"))
      << "the Liechtenstein extract is missing from the shared data";
  fs::create_directories(home / "maps");
  ConsoleRun import;
  import.args = {"--home", home.path().string(), "--import",
                 (*data / "osm" / "liechtenstein-2013-08-03.osm.pbf").string(),
                 (home / "maps" / "li.orvel").string()};
  import.timeout = std::chrono::seconds(240);
  ConsoleResult imported = run_console(home.path(), import);
  ASSERT_EQ(imported.exit_code, 0) << imported.err;
}

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
  TempDir home;
  import_liechtenstein(home);
  if (HasFatalFailure()) return;

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

// The texts of the objects `from` (the point or the line query's tables),
// as the map queries join them.
constexpr const char* kJoinedTexts =
    "select objtype, n.name, t.type, s.street, housenum, c.city, r.region, co.country from %s "
    " left join orvel_name n on p.nameid=n.nameid left join orvel_type t on p.typeid=t.typeid "
    " left join orvel_street s on p.streetid=s.streetid  left join orvel_city c on "
    "p.cityid=c.cityid  left join orvel_region r on p.regionid=r.regionid  left join "
    "orvel_country co on p.countryid=co.countryid where ";

// What the start-point search names each object that LIKE finds in one of
// its joined texts, for key words without quotes, % or _.
Lines like_finds(sqlite3* db, const explore::KeyWords& SKW) {
  std::string where;
  for (const std::string& k : SKW) {
    if (!where.empty()) where += " and ";
    where += "(";
    for (const char* t :
         {"n.name", "t.type", "s.street", "housenum", "c.city", "r.region", "co.country"})
      where += std::string(where.back() == '(' ? "" : " or ") + t + " like \"%" +
               map::MapDb::SQLIESCSTR(k) + "%\"";
    where += ")";
  }
  Lines names;
  for (const char* from : {"orvel_poi p", "orvel_linidx li left join orvel_lin p on li.id=p.id"}) {
    std::string sql = kJoinedTexts;
    sql.replace(sql.find("%s"), 2, from);
    sqlite3_stmt* st = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, (sql + where).c_str(), -1, &st, nullptr), SQLITE_OK);
    while (sqlite3_step(st) == SQLITE_ROW) {
      Lines t;
      for (int c = 0; c < 8; ++c) t.push_back(map::column_text(st, c));
      std::string name = t[1];
      if (!t[3].empty()) name += " " + t[3];
      if (!t[4].empty()) name += " " + t[4];
      std::string s = t[2] + " " + name + " " + t[5] + " " + t[6] + " " + t[7];
      if (t[0] == "l") s = "Line " + s;
      if (t[0] == "o") s = "Area " + s;
      names.push_back(s);
    }
    sqlite3_finalize(st);
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(SearchE2e, StartPointSearchFindsWhatLikeFinds) {
  TempDir home;
  import_liechtenstein(home);
  if (HasFatalFailure()) return;
  explore::test::SearchWorld w;
  fs::copy_file(home / "maps" / "li.orvel", w.map_path());
  ASSERT_TRUE(w.load());
  for (const char* entry : {"vaduz post", "Städtle", "LANDSTRASSE", "rhein", "12", "bus schaan"}) {
    SCOPED_TRACE(entry);
    w.search.SELMAPSTARTPOINTTHREAD(entry, explore::test::Waiting{});
    Lines found;
    for (const auto& l : w.search.LOCSEARCHRES()) found.push_back(l.NAME);
    std::sort(found.begin(), found.end());
    const Lines expected = like_finds(w.db.DB(), explore::PREPARESEARCHKEYWORDS(entry));
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(found, expected);
  }
}

}  // namespace
}  // namespace orvela::test
