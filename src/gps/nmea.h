#pragma once
// NMEA 0183 sentences, one text line each, as a receiver or a recorded log
// delivers them. Two sentence types are taken: "GPGGA" (time, position, fix
// quality, satellites used, HDOP) and "GPGSV" (satellites in view); every
// other line is rejected and changes nothing.
#include <cstdint>
#include <string>
#include <string_view>

namespace orvela::gps {

// One GPS state: what the last accepted sentences said.
struct GPSSTATEREC {
  int32_t TIME = 0;    // UTC as hhmmss (12:35:19 is 123519), fractions dropped
  int32_t LAT = 0;     // micro-degrees, negative south
  int32_t LON = 0;     // micro-degrees, negative west
  uint8_t FIX = 0;     // fix quality: 0 none, above 0 the position is valid
  uint8_t SAT = 0;     // satellites used
  uint8_t MAXSAT = 0;  // satellites in view
  uint8_t HDOP = 0;    // horizontal dilution of precision in tenths, at most 255

  bool operator==(const GPSSTATEREC&) const = default;
};

// Turns lines into updates of one accumulated state. Each reader (a log
// being loaded, a connected receiver) has a parser of its own, so no two
// threads ever share one.
class NmeaParser {
 public:
  // Processes one line without its line end. True when it was a well-formed
  // "GPGGA" or "GPGSV" sentence (printable characters, a correct checksum)
  // and GPSTATE took its fields; otherwise GPSTATE is unchanged.
  bool NMEAPROCESS(std::string_view S);

  // The accumulated state: a "GPGSV" sentence changes only MAXSAT, a
  // "GPGGA" sentence every other field, so a state taken after a "GPGSV"
  // still carries the time and position of the "GPGGA" before it.
  GPSSTATEREC GPSTATE;
};

// Removes the next field from `NMEASTR`, the rest of a sentence still to
// split, and returns it: the characters up to the next comma or the end
// (the comma goes too). An empty field gives an empty text.
std::string_view NMEAGETNEXTPART(std::string_view& NMEASTR);

// Removes a coordinate field ("4807.038": degrees, then two-digit minutes
// with decimals) and the hemisphere field after it from `NMEASTR` and
// returns micro-degrees, negative for "S" and "W"; 0 for a value without
// a decimal point.
int32_t NMEAGETCOORD(std::string_view& NMEASTR);

// `INCI` seconds (may be negative) added to the hhmmss time `TI`, wrapping
// around midnight.
int32_t NMEAINCTIME(int32_t TI, int32_t INCI);

}  // namespace orvela::gps
