// The start-position file's lines and where the map it names may lie.
#include <gtest/gtest.h>

#include "bookmarks/start_pos.h"

namespace orvela::bookmarks {
namespace {

TEST(StartPos, WrittenAndReadBack) {
  const StartPos p{"sub/nowhere-cove.orvel", -29998312, -139997464};
  EXPECT_EQ(start_pos_text(p), "sub/nowhere-cove.orvel\r\n-29998312 -139997464\r\n");
  const StartPos q = parse_start_pos(start_pos_text(p));
  EXPECT_EQ(q.map, p.map);
  EXPECT_EQ(q.LAT, p.LAT);
  EXPECT_EQ(q.LON, p.LON);
}

TEST(StartPos, Lines) {
  struct Case {
    const char* text;
    const char* map;
    int32_t lat, lon;
  };
  const Case cases[] = {
      // 1e-7 degree units, as older files hold them.
      {"poland.orvel\n522296760 210122290\n", "poland.orvel", 52229676, 21012229},
      {"\xEF\xBB\xBFpoland.orvel\r\n  52229676   21012229  \r\n", "poland.orvel", 52229676,
       21012229},
      {"a.orvel\n-1800000001 180000000", "a.orvel", -180000000, 180000000},
      {"a.orvel", "a.orvel", 0, 0},
      {"", "", 0, 0},
      {"a.orvel\nx y\n", "a.orvel", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const StartPos p = parse_start_pos(c.text);
    EXPECT_EQ(p.map, c.map);
    EXPECT_EQ(p.LAT, c.lat);
    EXPECT_EQ(p.LON, c.lon);
  }
}

TEST(StartPos, OnlyMapsInsideTheMapsFolderAreNamed) {
  struct Case {
    const char* name;
    std::optional<std::filesystem::path> path;
  };
  const Case cases[] = {
      {"a.orvel", "a.orvel"},          {"sub/a.orvel", "sub/a.orvel"},
      {"sub\\a.orvel", "sub/a.orvel"}, {"./sub/../a.orvel", std::nullopt},
      {"../a.orvel", std::nullopt},    {"..\\..\\etc\\passwd", std::nullopt},
      {"/etc/passwd", std::nullopt},   {"\\\\server\\a.orvel", std::nullopt},
      {"", std::filesystem::path()},
  };
  for (const Case& c : cases) EXPECT_EQ(map_in_folder(c.name), c.path) << c.name;

  EXPECT_EQ(map_name_in("/h/maps", "/h/maps/a.orvel"), "a.orvel");
  EXPECT_EQ(map_name_in("/h/maps/", "/h/maps/sub/a.orvel"), "sub/a.orvel");
  EXPECT_EQ(map_name_in("/h/maps", "/h/other/a.orvel"), std::nullopt);
  EXPECT_EQ(map_name_in("/h/maps", "/h/maps"), std::nullopt);
}

}  // namespace
}  // namespace orvela::bookmarks
