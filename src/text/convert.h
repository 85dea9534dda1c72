#pragma once
// Conversions between text and values for the readers of external data
// (OSM nodes, rules, weather documents). Always "." as the decimal point,
// whatever the locale. A reader that fails returns false and leaves its
// target untouched, so callers can keep a default.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/datetime.h"

namespace orvela::text {

// A decimal number after optional leading blanks; trailing blanks are
// allowed, anything else after the number (or inf, nan) is not.
bool STRGETREAL(std::string_view s, double& r);
// STRGETREAL rounded to the nearest whole number, halves to even; fails
// when the result does not fit.
bool STRGETREALROUND(std::string_view s, int32_t& l);
// Decimal degrees to micro-degrees, halves to even; fails when the result
// does not fit.
bool STRGETCOORD(std::string_view s, int32_t& l);
// "yyyy-mm-ddThh:mm", anything after the minutes ignored.
bool STRGETISODATETIME(std::string_view s, DateTime& dt);
// "yyyy-mm-dd", time of day 0:00; anything after the day ignored.
bool STRGETISODATE(std::string_view s, DateTime& dt);

// "yyyy-mm-dd hh:mm", "yyyy-mm-dd" and "hh:mm", 24-hour clock.
std::string DATETIME2STR(const DateTime& dt);
std::string DATE2STR(const DateTime& dt);
std::string TIME2STR(const DateTime& dt);

// `s` cut at every `sep`, each piece without its leading and trailing
// blanks; n separators give n + 1 pieces, empty ones included.
std::vector<std::string> SPLITSTR(std::string_view s, char sep);

}  // namespace orvela::text
