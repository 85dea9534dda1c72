#include "text/strutil.h"

#include <limits>

#include "text/utf8.h"

namespace orvela::text {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

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

std::size_t skip_blanks(std::string_view s, std::size_t i) {
  while (i < s.size() && is_blank(s[i])) ++i;
  return i;
}

// Byte length of the first word of `s`, which starts with no blank.
std::size_t word_length(std::string_view s, bool textonly) {
  if (textonly) return text_run_length(s);
  std::size_t sp = s.find(' ');
  return sp == std::string_view::npos ? s.size() : sp;
}

}  // namespace

std::string DELDBLSPC(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s)
    if (c != ' ' || out.empty() || out.back() != ' ') out += c;
  return out;
}

std::string DELRSPC(std::string_view s) {
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return std::string(s);
}

std::string DELLSPC(std::string_view s) { return std::string(s.substr(skip_blanks(s, 0))); }

std::string DELRLSPC(std::string_view s) { return DELRSPC(s.substr(skip_blanks(s, 0))); }

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
  s.remove_prefix(skip_blanks(s, 0));
  return std::string(s.substr(0, word_length(s, textonly)));
}

std::string MOVLWORD(std::string& s, bool textonly) {
  std::size_t start = skip_blanks(s, 0);
  std::size_t len = word_length(std::string_view(s).substr(start), textonly);
  std::string word = s.substr(start, len);
  s.erase(0, skip_blanks(s, start + len));
  return word;
}

std::string STR2(int64_t n) { return std::to_string(n); }

int64_t INT2(std::string_view s) {
  std::size_t i = skip_blanks(s, 0);
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
