#include "gps/nmea.h"

#include <algorithm>
#include <optional>

#include "text/convert.h"
#include "text/numeric.h"
#include "text/strutil.h"

namespace orvela::gps {
namespace {

std::optional<int> hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

uint8_t byte_field(std::string_view s) {
  return static_cast<uint8_t>(std::clamp<int64_t>(text::INT2(s), 0, 255));
}

// "hhmmss.ss": the fraction of a second is dropped; a time is never negative.
int32_t time_field(std::string_view s) {
  s = s.substr(0, s.find('.'));
  return static_cast<int32_t>(std::clamp<int64_t>(text::INT2(s), 0, INT32_MAX));
}

// HDOP in tenths, cut (not rounded) after the first decimal: "0.9" is 9,
// "1.25" is 12, "2" is 20. Receivers report up to 99.99, which does not
// fit in tenths in a byte: it stays 255.
uint8_t hdop_field(std::string_view s) {
  std::string tenths;
  const auto dot = s.find('.');
  if (dot == std::string_view::npos) {
    tenths = std::string(s) + "0";
  } else {
    tenths = std::string(s.substr(0, dot));
    tenths += dot + 1 < s.size() ? s[dot + 1] : '0';
  }
  return byte_field(tenths);
}

}  // namespace

std::string_view NMEAGETNEXTPART(std::string_view& NMEASTR) {
  const auto comma = NMEASTR.find(',');
  const std::string_view part = NMEASTR.substr(0, comma);
  NMEASTR.remove_prefix(comma == std::string_view::npos ? NMEASTR.size() : comma + 1);
  return part;
}

int32_t NMEAGETCOORD(std::string_view& NMEASTR) {
  const std::string_view value = NMEAGETNEXTPART(NMEASTR);
  const std::string_view hemisphere = NMEAGETNEXTPART(NMEASTR);
  const auto dot = value.find('.');
  if (value.empty() || dot == std::string_view::npos) return 0;
  // The minutes are the two digits before the point and the decimals.
  const std::size_t minutes_at = dot >= 2 ? dot - 2 : 0;
  const double degrees = static_cast<double>(text::INT2(value.substr(0, minutes_at)));
  double minutes = 0;
  if (!text::STRGETREAL(value.substr(minutes_at), minutes)) minutes = 0;
  double v = (degrees + minutes / 60.0) * 1000000.0;
  if (hemisphere == "S" || hemisphere == "W") v = -v;
  return text::round_half_even_i32(v);
}

bool NmeaParser::NMEAPROCESS(std::string_view S) {
  // "$", the body, "*" and two checksum characters, nothing after them.
  if (S.size() < 4 || S.front() != '$' || S[S.size() - 3] != '*') return false;
  const auto high = hex_digit(S[S.size() - 2]);
  const auto low = hex_digit(S[S.size() - 1]);
  if (!high || !low) return false;
  std::string_view body = S.substr(1, S.size() - 4);
  uint8_t sum = 0;
  for (char c : body) {
    // Sentences are printable ASCII. Line noise is not always caught by the
    // checksum: a NUL leaves it unchanged.
    if (c < 0x20 || c > 0x7e) return false;
    sum ^= static_cast<uint8_t>(c);
  }
  if (sum != *high * 16 + *low) return false;

  const std::string_view type = NMEAGETNEXTPART(body);
  if (type == "GPGGA") {
    GPSTATE.TIME = time_field(NMEAGETNEXTPART(body));
    GPSTATE.LAT = NMEAGETCOORD(body);
    GPSTATE.LON = NMEAGETCOORD(body);
    GPSTATE.FIX = byte_field(NMEAGETNEXTPART(body));
    GPSTATE.SAT = byte_field(NMEAGETNEXTPART(body));
    GPSTATE.HDOP = hdop_field(NMEAGETNEXTPART(body));
    return true;
  }
  if (type == "GPGSV") {
    NMEAGETNEXTPART(body);  // number of messages
    NMEAGETNEXTPART(body);  // this message's number
    GPSTATE.MAXSAT = byte_field(NMEAGETNEXTPART(body));
    return true;
  }
  return false;
}

int32_t NMEAINCTIME(int32_t TI, int32_t INCI) {
  constexpr int64_t kDay = 86400;
  const int64_t hours = TI / 10000, minutes = (TI / 100) % 100, seconds = TI % 100;
  int64_t l = hours * 3600 + minutes * 60 + seconds + INCI;
  l %= kDay;
  if (l < 0) l += kDay;
  return static_cast<int32_t>((l / 3600) * 10000 + ((l % 3600) / 60) * 100 + l % 60);
}

}  // namespace orvela::gps
