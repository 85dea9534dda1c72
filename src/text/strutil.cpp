#include "text/strutil.h"

#include <limits>

#include "text/utf8.h"

namespace orvela::text {

namespace {

// Capital and small Polish letters, pairwise at the same position.
constexpr char32_t kPolishUpper[] = {U'Ą', U'Ć', U'Ę', U'Ł', U'Ń', U'Ó', U'Ś', U'Ź', U'Ż'};
constexpr char32_t kPolishLower[] = {U'ą', U'ć', U'ę', U'ł', U'ń', U'ó', U'ś', U'ź', U'ż'};

char32_t lower_char(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + ('a' - 'A');
  for (std::size_t k = 0; k < std::size(kPolishUpper); ++k)
    if (c == kPolishUpper[k]) return kPolishLower[k];
  return c;
}

// Byte length of the leading run of TEXTCHAR characters in `s`.
std::size_t text_run_length(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    std::size_t next = i;
    if (!TEXTCHAR(next_char(s, next))) break;
    i = next;
  }
  return i;
}

// Byte length of the first word of `s`, which starts with no blank.
std::size_t word_length(std::string_view s, bool textonly) {
  if (textonly) return text_run_length(s);
  std::size_t sp = s.find(' ');
  return sp == std::string_view::npos ? s.size() : sp;
}

}  // namespace

std::string_view trim_left(std::string_view s, std::string_view chars) {
  const std::size_t b = s.find_first_not_of(chars);
  return b == std::string_view::npos ? std::string_view() : s.substr(b);
}

std::string_view trim_right(std::string_view s, std::string_view chars) {
  const std::size_t e = s.find_last_not_of(chars);
  return e == std::string_view::npos ? std::string_view() : s.substr(0, e + 1);
}

std::string_view trim(std::string_view s, std::string_view chars) {
  return trim_right(trim_left(s, chars), chars);
}

std::string DELDBLSPC(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s)
    if (c != ' ' || out.empty() || out.back() != ' ') out += c;
  return out;
}

std::string DELRSPC(std::string_view s) { return std::string(trim_right(s, kBlanks)); }

std::string DELLSPC(std::string_view s) { return std::string(trim_left(s, kBlanks)); }

std::string DELRLSPC(std::string_view s) { return std::string(trim(s, kBlanks)); }

std::string LOWCASESTR(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    std::size_t start = i;
    char32_t c = next_char(s, i);
    char32_t low = c == kInvalidChar ? c : lower_char(c);
    if (low == c)
      out.append(s.substr(start, i - start));
    else
      append_char(out, low);
  }
  return out;
}

bool TEXTCHAR(char32_t c) {
  if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return true;
  for (std::size_t k = 0; k < std::size(kPolishUpper); ++k)
    if (c == kPolishUpper[k] || c == kPolishLower[k]) return true;
  return false;
}

std::string GETLWORD(std::string_view s, bool textonly) {
  s = trim_left(s, kBlanks);
  return std::string(s.substr(0, word_length(s, textonly)));
}

std::string MOVLWORD(std::string& s, bool textonly) {
  const std::string_view rest = trim_left(s, kBlanks);
  const std::size_t len = word_length(rest, textonly);
  std::string word(rest.substr(0, len));
  s = std::string(trim_left(rest.substr(len), kBlanks));
  return word;
}

std::string STR2(int64_t n) { return std::to_string(n); }

int64_t INT2(std::string_view s) {
  s = trim_left(s, kBlanks);
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  // Accumulated as a negative number, whose range is the larger one.
  int64_t v = 0;
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    int digit = s[i] - '0';
    v = v < (kMin + digit) / 10 ? kMin : v * 10 - digit;
  }
  if (negative) return v;
  return v == kMin ? std::numeric_limits<int64_t>::max() : -v;
}

std::string LEADZEROS(int64_t n, int width) {
  std::string s = STR2(n);
  if (n >= 0 && static_cast<int>(s.size()) < width) s.insert(0, width - s.size(), '0');
  return s;
}

}  // namespace orvela::text
