#pragma once
// Translated texts that the program uses over and over: dialog captions,
// the default bookmark name, file-type filters, the ways of speaking
// directions, compass points and weekdays. Filled once, after the catalogue
// is loaded.
#include <cstdint>
#include <string>
#include <vector>

namespace orvela::text {

// How a direction is spoken (a setting stored by its symbol).
inline constexpr uint8_t UDIRMODETYP_CLOCK = 0;
inline constexpr uint8_t UDIRMODETYP_DEGREES = 1;
inline constexpr uint8_t UDIRMODETYP_SIMPLECOMPASS = 2;
inline constexpr uint8_t UDIRMODETYP_ADVANCEDCOMPASS = 3;

struct UDIRMODEREC {
  std::string NAME;    // translated
  std::string SYMBOL;  // at most 2 characters, stored in the settings
  uint8_t TYP = UDIRMODETYP_CLOCK;
  bool RELATIVE = false;  // relative to the user's heading rather than north
};

inline constexpr int UDIRMODESCOUNT = 6;

// A file-type filter of the open and save dialogs.
struct FileTypeFilter {
  std::string description;  // translated, e.g. "NMEA log file *.*"
  std::string pattern;      // e.g. "*.lscp;*.txt;*.lsdbtxt"
  // Description, NUL, pattern, NUL: the form native file dialogs take.
  std::string joined() const;
  // The pattern's parts: "*.lscp;*.txt" -> {"*.lscp", "*.txt"}.
  std::vector<std::string> patterns() const;
};

// A = a copy of B, element by element.
void SETSTRARR(std::vector<std::string>& a, const std::vector<std::string>& b);

class StringConsts {
 public:
  // Filled from the catalogue installed now (English when none is).
  StringConsts() { STRINGCONSTINIT(); }
  // Fills every table again through `_`.
  void STRINGCONSTINIT();

  std::string WGINFOTITLE;
  std::string WGQUESTIONTITLE;
  std::string DEFBOOKMARKNAME;
  FileTypeFilter BOOKMARK_FTYPEWRI_LSCP;
  FileTypeFilter BOOKMARK_FTYPEWRI_LSDB;
  FileTypeFilter BOOKMARK_FTYPEREADSPEC;
  FileTypeFilter FTYPEOPENNMEALOG;
  std::vector<UDIRMODEREC> UDIRMODES;
  // 32 points, index 0 north, clockwise in steps of 11.25 degrees; each ends in a space.
  std::vector<std::string> COMPASSDIRNAMES;
  // Index 0 Monday.
  std::vector<std::string> WEEKDAYNAMES;
};

}  // namespace orvela::text
