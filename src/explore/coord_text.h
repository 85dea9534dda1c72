#pragma once
// Typed coordinates: decimal degrees to micro-degrees without floating point,
// and picking the latitude and longitude out of a line of text.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvela::explore {

// A decimal-degree text as micro-degrees: the decimal point moves six places,
// further decimals are dropped. Nothing when the text has no "." (the caller
// says "Coordinate not contains decimal dot.").
std::optional<int32_t> STRCORDTOINT(std::string_view s);

// The outcome of reading two coordinates from a typed line.
struct CoordEntry {
  int LASTERR = 0;      // 0: both read; 1: a number without a dot; 2: too few numbers
  std::string message;  // what to show when LASTERR is not 0 (translated)
  int32_t LAT = 0;
  int32_t LON = 0;
};

// Picks the last two valid numbers out of `line` and converts them.
CoordEntry parse_coord_entry(std::string_view line);

// True when the coordinates lie on the world: -90..90 and -180..180 degrees.
bool coords_on_world(int32_t lat, int32_t lon);

// "lat lon" in degrees with six decimals, for pre-filling the entry field.
std::string format_coords(int32_t lat, int32_t lon);

}  // namespace orvela::explore
