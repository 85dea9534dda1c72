#pragma once
// The very first start: with no saved start position the program opens the
// demo map that comes with it, at the map's centre, so there is something
// to walk on before any map is imported.
#include <filesystem>

namespace orvela::map {
class MapDb;
class MapLoader;
}  // namespace orvela::map

namespace orvela::explore {

class Explorer;

// The demo map's file name, in the program's maps folder.
inline constexpr const char* DEMO_MAP = "nowhere-cove.orvel";

// Copies the demo map from `program_maps` into `home_maps` unless it is
// there already. Returns the copy, or the program's own file when the home
// cannot take it, or an empty path when there is no demo map at all.
std::filesystem::path install_demo_map(const std::filesystem::path& program_maps,
                                       const std::filesystem::path& home_maps);

// Copies the demo map from `program_maps` into `home_maps` unless it is
// there already (so it is listed, opened and deleted like any other map),
// opens it and puts the user at its centre. False when there is no demo map
// or it cannot be opened.
bool open_demo_map(Explorer& ex, map::MapLoader& loader, map::MapDb& db,
                   const std::filesystem::path& program_maps,
                   const std::filesystem::path& home_maps);

}  // namespace orvela::explore
