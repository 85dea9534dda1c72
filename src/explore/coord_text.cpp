#include "explore/coord_text.h"

#include <fmt/format.h>

#include <charconv>
#include <deque>

#include "text/translate.h"

namespace orvela::explore {
namespace {

bool is_cordchar(char c) { return c == '-' || c == '.' || (c >= '0' && c <= '9'); }

// A number needs a digit, exactly one dot that follows a digit, and no minus
// sign after the dot.
bool valid_token(std::string_view t) {
  size_t dot = t.find('.');
  if (dot == std::string_view::npos || t.find('.', dot + 1) != std::string_view::npos) return false;
  bool digit_before = false;
  for (size_t i = 0; i < dot; ++i) digit_before |= (t[i] >= '0' && t[i] <= '9');
  if (!digit_before) return false;
  return t.find('-', dot) == std::string_view::npos;
}

// Leading signed whole number of `s`, read up to the first character that
// cannot belong to it. Values beyond 32 bits saturate instead of wrapping.
int32_t leading_int(std::string_view s) {
  int64_t v = 0;
  auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  if (r.ec == std::errc::result_out_of_range) return s.starts_with('-') ? INT32_MIN : INT32_MAX;
  if (r.ec != std::errc()) return 0;
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(v);
}

}  // namespace

std::optional<int32_t> STRCORDTOINT(std::string_view s) {
  size_t dot = s.find('.');
  if (dot == std::string_view::npos) return std::nullopt;
  std::string t(s.substr(0, dot));
  t.append(s.substr(dot + 1));
  size_t b = dot + 6;
  if (t.size() > b) t.resize(b);
  while (t.size() < b) t.push_back('0');
  return leading_int(t);
}

CoordEntry parse_coord_entry(std::string_view line) {
  std::deque<std::string_view> kept;
  size_t i = 0;
  while (i < line.size()) {
    if (!is_cordchar(line[i])) {
      ++i;
      continue;
    }
    size_t start = i;
    while (i < line.size() && is_cordchar(line[i])) ++i;
    std::string_view tok = line.substr(start, i - start);
    if (!valid_token(tok)) continue;
    kept.push_back(tok);
    if (kept.size() > 2) kept.pop_front();
  }
  CoordEntry e;
  if (kept.size() < 2) {
    e.LASTERR = 2;
    e.message = text::_(kept.empty() ? "No latitude and longitude given" : "No longitude given.");
    return e;
  }
  // Valid tokens always hold a dot, so the conversion cannot refuse them.
  e.LAT = STRCORDTOINT(kept[0]).value_or(0);
  e.LON = STRCORDTOINT(kept[1]).value_or(0);
  return e;
}

bool coords_on_world(int32_t lat, int32_t lon) {
  return lat >= -90000000 && lat <= 90000000 && lon >= -180000000 && lon <= 180000000;
}

std::string format_coords(int32_t lat, int32_t lon) {
  return fmt::format("{:.6f} {:.6f}", lat / 1e6, lon / 1e6);
}

}  // namespace orvela::explore
