#pragma once
#include <cstdint>
#include <string>

namespace orvela::text {

// A distance in whole metres as spoken words: "1999 metres" below 2000,
// otherwise kilometres to one decimal in the shortest form ("2.3 kilometres",
// "10 kilometres"). Translated through the catalogue.
std::string DISTANCETOSTR(int32_t dist);

}  // namespace orvela::text
