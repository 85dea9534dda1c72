#pragma once
// The state the main window keeps between commands. Pieces owned by modules
// that are still to come (GPS, the object under the user) live here until
// those modules take them over; the menu rules read them already.
#include <cstdint>

namespace orvela::app {

inline constexpr const char* APPNAME = "Orvela";
inline constexpr const char* VERSION = "1.01";
// Sent with every web download.
inline constexpr const char* WEBGETUSERAGENT = "Orvela/1.01";

enum NmeaMode { NMEAMODE_NONE = 0, NMEAMODE_LOG = 1, NMEAMODE_DEVICE = 2 };

struct ShellState {
  // The window has lost the keyboard focus or a menu is open.
  bool PROGRAMLOSTFOCUS = false;
  NmeaMode NMEAMODE = NMEAMODE_NONE;
};

}  // namespace orvela::app
