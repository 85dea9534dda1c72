// Opening a map at its centre, as the first start and the import do.
#include <gtest/gtest.h>

#include <fstream>

#include "explore/open_map.h"
#include "support/explore_world.h"

namespace orvela::explore {
namespace {

using test::ExploreWorld;
using test::MapBuilder;
using test::MapObject;

TEST(OpenMap, AtItsCentreOrNotAtAll) {
  struct Case {
    const char* what;
    const char* file;
    std::optional<MapPlace> centre;
    const char* info;  // the box shown, "" for none
  };
  const std::vector<Case> cases = {
      {"a map", "town.orvel", MapPlace{15000000, 40000000}, ""},
      {"not a map", "notes.orvel", std::nullopt, "INFO Error reading map: It is not a orvel file"},
      {"no file", "gone.orvel", std::nullopt, "INFO Error reading map: Can not open map file."},
  };
  for (const auto& c : cases) {
    ExploreWorld w;
    {
      MapBuilder b(w.map_path("town.orvel"));
      MapObject o;
      o.type = 'p';
      b.point(o, 10000000, 30000000);
      b.point(o, 20000000, 50000000);
    }
    std::ofstream(w.map_path("notes.orvel")) << "shopping list\n";
    const std::optional<MapPlace> got =
        open_map_at_centre(w.ex, w.loader, w.db, w.map_path(c.file));
    EXPECT_EQ(got, c.centre) << c.what;
    EXPECT_EQ(w.loader.FN(), c.centre ? w.map_path(c.file).string() : "") << c.what;
    EXPECT_EQ(w.db.DB() != nullptr, c.centre.has_value()) << c.what;
    std::vector<std::string> infos;
    for (const auto& l : w.out())
      if (l.starts_with("INFO ")) infos.push_back(l);
    EXPECT_EQ(infos, *c.info ? std::vector<std::string>{c.info} : std::vector<std::string>{})
        << c.what;
  }
}

}  // namespace
}  // namespace orvela::explore
