#pragma once
// QTH (Maidenhead) locators: coordinates to an 8-character extended locator
// and 4-, 6- or 8-character locators back to the centre of their square.
#include <string>
#include <string_view>

namespace orvela::map {

// The 8-character locator (e.g. "JO82kf55") of a position in degrees.
std::string LATLON2QTH(double LATI, double LONGI);

// The centre of the extended square of `QTH` (blanks around it and lower case
// allowed). Returns false, leaving LAT and LON untouched, when it is invalid.
bool QTH2LATLON(std::string_view QTH, double& LAT, double& LON);

}  // namespace orvela::map
