#pragma once
// The start-position file: the map (named relative to the maps folder) and
// the position the program opens at start.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orvela::bookmarks {

struct StartPos {
  std::string map;  // relative to the maps folder
  int32_t LAT = 0;  // micro-degrees
  int32_t LON = 0;
};

// The file's two lines: the map name, then "lat lon" in micro-degrees.
std::string start_pos_text(const StartPos& p);
// Reads those lines; a coordinate beyond 180 degrees is taken as 1e-7
// degree units and divided by 10 once.
StartPos parse_start_pos(std::string_view text);

// The map name of a start-position file as a path inside the maps folder;
// nothing for a name that leads out of it (absolute, or with a ".." part).
// "\" counts as a separator, as in files written on Windows.
std::optional<std::filesystem::path> map_in_folder(std::string_view name);
// The name of map file `fn` relative to `mapdir`; nothing when it lies elsewhere.
std::optional<std::string> map_name_in(const std::filesystem::path& mapdir,
                                       const std::filesystem::path& fn);

}  // namespace orvela::bookmarks
