#pragma once
// The state the main window keeps between commands that belongs to no module.
#include <cstdint>

namespace orvela::app {

inline constexpr const char* APPNAME = "Orvela";
inline constexpr const char* VERSION = "1.01";
// Sent with every web download.
inline constexpr const char* WEBGETUSERAGENT = "Orvela/1.01";

struct ShellState {
  // The window has lost the keyboard focus or a menu is open.
  bool PROGRAMLOSTFOCUS = false;
};

}  // namespace orvela::app
