#pragma once
// How a direction is put into words: six announcement modes (clock face,
// degrees, compass), relative to the way the user faces or to the north.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvela::explore {

enum : uint8_t {
  UDIRMODETYP_CLOCK = 0,
  UDIRMODETYP_DEGREES = 1,
  UDIRMODETYP_SIMPLECOMPASS = 2,
  UDIRMODETYP_ADVANCEDCOMPASS = 3,
};

struct UDIRMODEREC {
  std::string NAME;
  std::string SYMBOL;
  uint8_t TYP = UDIRMODETYP_CLOCK;
  bool RELATIVE = false;
};

inline constexpr int UDIRMODESCOUNT = 6;

// The translated mode list and compass names, filled once after the message
// catalogue is loaded.
struct DirectionTables {
  std::vector<UDIRMODEREC> UDIRMODES;
  std::vector<std::string> COMPASSDIRNAMES;  // 32 names, each ending in a blank
};

// The six modes and 32 compass names, translated through the catalogue.
DirectionTables make_direction_tables();

// Index of the mode whose symbol equals `symbol` in lower case; 0 when none does.
uint8_t INIGETUDIRMODE(const DirectionTables& t, std::string_view symbol);

// The words for the absolute direction `dir` (degrees from north) in mode
// `udirmode`, seen by a user facing `udir`.
std::string GETDIRSTR(const DirectionTables& t, uint8_t udirmode, int32_t udir, int32_t dir);

// The sentence that tells the user which way they face.
std::string udir_sentence(const DirectionTables& t, uint8_t udirmode, int32_t udir);

// `dir` brought into 0..359.
inline int32_t wrap_degrees(int64_t dir) {
  int64_t r = dir % 360;
  return static_cast<int32_t>(r < 0 ? r + 360 : r);
}

}  // namespace orvela::explore
