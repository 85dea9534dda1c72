#include "text/convert.h"

#include <fmt/format.h>

#include <charconv>
#include <cmath>

#include "text/numeric.h"
#include "text/strutil.h"

namespace orvela::text {

namespace {

// `v` rounded halves to even into `out`; false when it does not fit 32 bits.
bool round_to_i32(double v, int32_t& out) {
  double r = round_half_even(v);
  if (!(r >= INT32_MIN && r <= INT32_MAX)) return false;
  out = static_cast<int32_t>(r);
  return true;
}

// Exactly `n` decimal digits at s[pos..], as a number.
bool read_digits(std::string_view s, std::size_t pos, std::size_t n, int& out) {
  if (s.size() < pos + n) return false;
  int v = 0;
  for (std::size_t i = pos; i < pos + n; ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    v = v * 10 + (s[i] - '0');
  }
  out = v;
  return true;
}

bool read_date(std::string_view s, DateTime& d) {
  return read_digits(s, 0, 4, d.year) && s.size() > 4 && s[4] == '-' &&
         read_digits(s, 5, 2, d.month) && s.size() > 7 && s[7] == '-' &&
         read_digits(s, 8, 2, d.day);
}

}  // namespace

bool STRGETREAL(std::string_view s, double& r) {
  s = trim(s, kBlanks);
  // from_chars does not take the "+" sign that people and files write.
  if (s.size() > 1 && s[0] == '+' && s[1] != '-') s.remove_prefix(1);
  if (s.empty()) return false;
  double v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return false;
  r = v;
  return true;
}

bool STRGETREALROUND(std::string_view s, int32_t& l) {
  double v = 0;
  return STRGETREAL(s, v) && round_to_i32(v, l);
}

bool STRGETCOORD(std::string_view s, int32_t& l) {
  double v = 0;
  return STRGETREAL(s, v) && round_to_i32(v * 1000000.0, l);
}

bool STRGETISODATETIME(std::string_view s, DateTime& dt) {
  DateTime d;
  bool ok = read_date(s, d) && s.size() > 10 && s[10] == 'T' && read_digits(s, 11, 2, d.hour) &&
            s.size() > 13 && s[13] == ':' && read_digits(s, 14, 2, d.minute);
  if (!ok || !d.valid()) return false;
  dt = d;
  return true;
}

bool STRGETISODATE(std::string_view s, DateTime& dt) {
  DateTime d;
  if (!read_date(s, d)) return false;
  d.hour = d.minute = 0;
  if (!d.valid()) return false;
  dt = d;
  return true;
}

std::string DATETIME2STR(const DateTime& dt) { return DATE2STR(dt) + " " + TIME2STR(dt); }

std::string DATE2STR(const DateTime& dt) {
  return fmt::format("{:04}-{:02}-{:02}", dt.year, dt.month, dt.day);
}

std::string TIME2STR(const DateTime& dt) { return fmt::format("{:02}:{:02}", dt.hour, dt.minute); }

std::vector<std::string> SPLITSTR(std::string_view s, char sep) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (true) {
    std::size_t pos = s.find(sep, start);
    std::string_view piece =
        s.substr(start, pos == std::string_view::npos ? s.size() - start : pos - start);
    pieces.emplace_back(trim(piece, kBlanks));
    if (pos == std::string_view::npos) break;
    start = pos + 1;
  }
  return pieces;
}

}  // namespace orvela::text
