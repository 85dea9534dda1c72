#include "text/utf8.h"

namespace orvela::text {

namespace {

bool is_continuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Length of the sequence announced by lead byte `b`, 0 if it cannot lead.
std::size_t sequence_length(unsigned char b) {
  if (b < 0x80) return 1;
  if (b >= 0xC2 && b <= 0xDF) return 2;
  if (b >= 0xE0 && b <= 0xEF) return 3;
  if (b >= 0xF0 && b <= 0xF4) return 4;
  return 0;
}

}  // namespace

char32_t next_char(std::string_view s, std::size_t& i) {
  auto lead = static_cast<unsigned char>(s[i]);
  std::size_t len = sequence_length(lead);
  if (len == 1) {
    ++i;
    return lead;
  }
  if (len == 0 || s.size() - i < len) {
    ++i;
    return kInvalidChar;
  }
  char32_t c = lead & (0x7F >> len);
  for (std::size_t k = 1; k < len; ++k) {
    auto b = static_cast<unsigned char>(s[i + k]);
    if (!is_continuation(b)) {
      ++i;
      return kInvalidChar;
    }
    c = (c << 6) | (b & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not characters.
  bool overlong = (len == 3 && c < 0x800) || (len == 4 && c < 0x10000);
  if (overlong || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
    ++i;
    return kInvalidChar;
  }
  i += len;
  return c;
}

void append_char(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool valid_utf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    // Most text of maps and OSM files is ASCII: skip it without decoding.
    if (static_cast<unsigned char>(s[i]) < 0x80) {
      ++i;
      continue;
    }
    if (next_char(s, i) == kInvalidChar) return false;
  }
  return true;
}

std::string repair_utf8(std::string_view s) {
  constexpr char32_t kReplacement = 0xFFFD;
  std::string out;
  out.reserve(s.size() + 8);
  std::size_t i = 0;
  while (i < s.size()) {
    std::size_t start = i;
    char32_t c = next_char(s, i);
    if (c == kInvalidChar) {
      append_char(out, kReplacement);
    } else {
      out.append(s.substr(start, i - start));
    }
  }
  return out;
}

std::string_view cut_at_char(std::string_view s, std::size_t max_bytes) {
  if (s.size() <= max_bytes) return s;
  std::size_t end = 0;
  std::size_t i = 0;
  while (i < s.size()) {
    std::size_t before = i;
    next_char(s, i);
    if (i > max_bytes) return s.substr(0, before);
    end = i;
  }
  return s.substr(0, end);
}

}  // namespace orvela::text
