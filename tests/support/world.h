#pragma once
// A small world for tests: a map database, grid and user wired to one
// MapLoader, with the user standing at a fixed place.
#include <filesystem>
#include <string>
#include <vector>

#include "map/grid.h"
#include "map/loader.h"
#include "map/mapdb.h"
#include "map/user.h"
#include "support/map_builder.h"
#include "support/test_env.h"

namespace orvela::test {

// Vaduz-like latitude so that cells are not square in degrees.
inline constexpr int32_t HOME_LAT = 47141000;
inline constexpr int32_t HOME_LON = 9521000;

struct World {
  World() : db((tmp / "errdb.log")), loader(db, grid, user, tmp / "maps") {
    std::filesystem::create_directories(tmp / "maps");
    user.ULAT = HOME_LAT;
    user.ULON = HOME_LON;
    user.ULATLONSET = true;
    area.set_area(HOME_LAT, HOME_LON);
  }

  std::filesystem::path map_path(const std::string& name = "test.orvel") const {
    return tmp.path() / "maps" / name;
  }

  // Micro-degree point (X = lon, Y = lat) of grid position (x, y) in a load around HOME.
  map::POINT at(double x, double y) const {
    int32_t lat = 0, lon = 0;
    area.YXTOLATLON(y, x, lat, lon);
    return map::POINT{lon, lat};
  }

  // Loads map `name` around HOME; true when the grid was loaded (with or
  // without objects). `last` tells how it ended.
  bool load(const std::string& name = "test.orvel") {
    loader.change_map(map_path(name).string());
    last = loader.READMAP();
    return last.status == map::MapStatus::Loaded || last.status == map::MapStatus::Empty;
  }

  // The object holding cell (x, y), or nullptr.
  const map::ORVOBJREC* holder(int x, int y) const {
    int32_t i = grid.MAPA(x, y);
    return i ? &grid.ORVOBJECTS[static_cast<size_t>(i)] : nullptr;
  }
  std::string name_at(int x, int y) const {
    const auto* o = holder(x, y);
    return o ? o->NAME : std::string();
  }

  TempDir tmp;
  map::MapDb db;
  map::Grid grid;
  map::Grid area;  // the area a load around HOME covers, for placing test objects
  map::UserState user;
  map::MapLoader loader;
  map::LoadResult last;
};

}  // namespace orvela::test
