#include "text/distance.h"

#include <fmt/format.h>

#include "text/numeric.h"
#include "text/translate.h"

namespace orvela::text {

std::string DISTANCETOSTR(int32_t dist) {
  if (dist < 2000) return STRTOKENREPLACE(_("{dist} metres"), {"dist", std::to_string(dist)});
  double km = round_away(dist / 1000.0, 1);
  // fmt's shortest round-trip form writes 2.3 as "2.3" and 10.0 as "10".
  std::string s = fmt::format("{}", km);
  if (s.size() > 2 && s.compare(s.size() - 2, 2, ".0") == 0) s.resize(s.size() - 2);
  return STRTOKENREPLACE(_("{dist} kilometres"), {"dist", s});
}

}  // namespace orvela::text
