#pragma once
// The catalogue of a map server, "maplista.dat": a first line
// "orvelamaplista" with the version of the map format the server's maps
// have, then one line per map with its type, file name, date and archive
// size, separated by TABs.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvela::online {

// One catalogue entry.
struct MAPLISTRECORD {
  std::string TYP;   // "obszary", "polska" or "inne"
  std::string NAME;  // the map's file name, ".orvel" included; the archive is NAME + ".7z"
  std::string DATA;  // the map's date, compared as text with an installed map's
  int32_t SIZE = 0;  // the archive's size in bytes
  friend bool operator==(const MAPLISTRECORD&, const MAPLISTRECORD&) = default;
};
using MAPLIST = std::vector<MAPLISTRECORD>;

struct MapListResult {
  MAPLIST records;    // what was read before any error
  std::string error;  // empty when the whole catalogue was read
};

// The catalogue file's name on a server.
inline constexpr const char* kMapListFile = "maplista.dat";
inline constexpr const char* kMapListMark = "orvelamaplista";

// Reads a catalogue's text. Lines may end in CR LF or LF, and a UTF-8 byte
// order mark may come first. A record with an empty field, a missing TAB, or
// a name that is no plain file name ends the reading with the format error.
MapListResult parse_map_list(std::string_view text);

// A catalogue line for `r`, CR LF included.
std::string map_list_line(const MAPLISTRECORD& r);

}  // namespace orvela::online
