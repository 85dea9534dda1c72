#pragma once
// How a direction is put into words: six announcement modes (clock face,
// degrees, compass), relative to the way the user faces or to the north.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/string_consts.h"

namespace orvela::explore {

// The explorer's saved switch: how directions are spoken, an index into the
// mode list (0 "rc" .. 5 "ca").
struct ExploreSettings {
  uint8_t UDIRMODE = 0;
};

// The mode list and compass names come from the translated constants.
using DirectionTables = text::StringConsts;

// Index of the mode whose symbol equals `symbol` in lower case; 0 when none does.
uint8_t INIGETUDIRMODE(const DirectionTables& t, std::string_view symbol);

// The words for the absolute direction `dir` (degrees from north) in mode
// `udirmode`, seen by a user facing `udir`.
std::string GETDIRSTR(const DirectionTables& t, uint8_t udirmode, int32_t udir, int32_t dir);

// The sentence that tells the user which way they face.
std::string udir_sentence(const DirectionTables& t, uint8_t udirmode, int32_t udir);

}  // namespace orvela::explore
