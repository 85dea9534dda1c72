#pragma once
// The switches of GPS tracking, kept once: the user settings read and write
// the first two, the Settings menu flips them, and tracking reads them at
// every fix.
#include <cstdint>

namespace orvela::gps {

struct GpsSettings {
  // During playback, states that do not move the user are passed without waiting.
  bool NMEALOG_OMITSTOPS = true;
  // Turn the user to the direction of travel on each move.
  bool GPS_AUTOUDIRCHANGE = true;
  // The playback pause between two log entries, in milliseconds (not saved).
  int32_t NMEALOG_SECTIME = 1000;
};

}  // namespace orvela::gps
