#include "explore/direction.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "map/direction.h"
#include "text/numeric.h"
#include "text/translate.h"

namespace orvela::explore {
namespace {

using text::_;
using text::round_half_even;

std::string clock_words(int32_t dir) {
  auto t = static_cast<int32_t>(round_half_even(map::WRAPDIRECTION(dir) / 15.0));
  std::string hour = std::to_string(t / 2);
  if (t % 2 == 1) hour += ":30";
  return text::STRTOKENREPLACE(_("at hour {hour}"), {"hour", hour});
}

std::string degree_words(int32_t dir) {
  int32_t t = dir > 180 ? dir - 360 : dir;
  if (t < 0)
    return text::STRTOKENREPLACE(_("{deg} degrees to the left"), {"deg", std::to_string(-t)});
  if (t > 0)
    return text::STRTOKENREPLACE(_("{deg} degrees to the right"), {"deg", std::to_string(t)});
  return "0";
}

int compass_index(int32_t dir, bool simple) {
  auto k = static_cast<int64_t>(round_half_even(dir / 11.25));
  if (simple) k = static_cast<int64_t>(round_half_even(static_cast<double>(k) / 4.0)) * 4;
  return static_cast<int>(((k % 32) + 32) % 32);
}

std::string compass_words(const DirectionTables& t, int32_t dir, bool simple) {
  int k = compass_index(dir, simple);
  if (static_cast<size_t>(k) >= t.COMPASSDIRNAMES.size()) return {};
  std::string s = t.COMPASSDIRNAMES[static_cast<size_t>(k)];
  // The names end in a blank of their own; the common blank comes below.
  if (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

}  // namespace

uint8_t INIGETUDIRMODE(const DirectionTables& t, std::string_view symbol) {
  std::string low(symbol);
  std::transform(low.begin(), low.end(), low.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (size_t i = 0; i < t.UDIRMODES.size(); ++i)
    if (t.UDIRMODES[i].SYMBOL == low) return static_cast<uint8_t>(i);
  return 0;
}

std::string GETDIRSTR(const DirectionTables& t, uint8_t udirmode, int32_t udir, int32_t dir) {
  if (udirmode >= t.UDIRMODES.size()) udirmode = 0;
  const text::UDIRMODEREC& mode = t.UDIRMODES[udirmode];
  if (dir < 0) dir += 360;
  if (mode.RELATIVE) dir = map::WRAPDIRECTION(static_cast<int64_t>(dir) - udir);
  std::string s;
  switch (mode.TYP) {
    case text::UDIRMODETYP_CLOCK:
      s = clock_words(dir);
      break;
    case text::UDIRMODETYP_DEGREES:
      s = degree_words(dir);
      break;
    case text::UDIRMODETYP_SIMPLECOMPASS:
      s = compass_words(t, dir, true);
      break;
    default:
      s = compass_words(t, dir, false);
      break;
  }
  s += ' ';
  bool north_based_words = !mode.RELATIVE && (mode.TYP == text::UDIRMODETYP_CLOCK ||
                                              mode.TYP == text::UDIRMODETYP_DEGREES);
  if (north_based_words) s = text::STRTOKENREPLACE(_("{dir} of north"), {"dir", s});
  return s;
}

std::string udir_sentence(const DirectionTables& t, uint8_t udirmode, int32_t udir) {
  bool relative = udirmode < t.UDIRMODES.size() && t.UDIRMODES[udirmode].RELATIVE;
  if (relative)
    return text::STRTOKENREPLACE(_("Your direction {dir} of north"),
                                 {"dir", GETDIRSTR(t, udirmode, udir, 2 * udir)});
  return text::STRTOKENREPLACE(_("Your direction {dir}"),
                               {"dir", GETDIRSTR(t, udirmode, udir, udir)});
}

}  // namespace orvela::explore
