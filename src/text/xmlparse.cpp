#include "text/xmlparse.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "text/translate.h"
#include "text/utf8.h"

namespace orvela::text {
namespace {

bool is_blank(char c) { return c == ' '; }

// What ends a run of bytes taken in one piece (see XmlParser::take_run).
constexpr auto is_lt = [](char c) { return c == '<'; };
constexpr auto is_gt = [](char c) { return c == '>'; };
constexpr auto not_blank = [](char c) { return c != ' '; };
constexpr auto ends_tag_name = [](char c) { return c == ' ' || c == '/' || c == '>'; };
constexpr auto ends_attr_name = [](char c) { return c == ' ' || c == '/' || c == '=' || c == '>'; };
constexpr auto ends_dquoted = [](char c) { return c == '"' || c == '>' || c == '&'; };
constexpr auto ends_squoted = [](char c) { return c == '\'' || c == '>' || c == '&'; };
constexpr auto ends_unquoted = [](char c) { return c == ' ' || c == '>' || c == '&'; };

// The first byte in [p, end) that is one of `Cs`, or `end`; sixteen bytes
// at a time while the buffer allows. Names and values are found with this.
template <char... Cs>
const char* find_any(const char* p, const char* end) {
#if defined(__SSE2__)
  while (end - p >= 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i hit = _mm_setzero_si128();
    ((hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, _mm_set1_epi8(Cs)))), ...);
    unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(hit));
    if (bits != 0) return p + __builtin_ctz(bits);
    p += 16;
  }
#endif
  while (p != end && ((*p != Cs) && ...)) ++p;
  return p;
}

bool is_upper(char c) { return static_cast<unsigned char>(c - 'A') < 26; }

// The first byte in [p, end) that is one of `Cs` (the end of a name), or
// `end`, like find_any; `upper` tells whether the name has capitals to fold.
template <char... Cs>
const char* scan_name(const char* p, const char* end, bool& upper) {
  upper = false;
#if defined(__SSE2__)
  while (end - p >= 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i hit = _mm_setzero_si128();
    ((hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, _mm_set1_epi8(Cs)))), ...);
    // 'A'..'Z' moved to the bottom of the signed range, the only bytes below -128 + 26.
    __m128i caps = _mm_cmplt_epi8(_mm_add_epi8(v, _mm_set1_epi8(static_cast<char>(128 - 'A'))),
                                  _mm_set1_epi8(static_cast<char>(-128 + 26)));
    unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(hit));
    unsigned cap_bits = static_cast<unsigned>(_mm_movemask_epi8(caps));
    if (bits != 0) {
      unsigned n = static_cast<unsigned>(__builtin_ctz(bits));
      upper = upper || (cap_bits & ((1u << n) - 1)) != 0;
      return p + n;
    }
    upper = upper || cap_bits != 0;
    p += 16;
  }
#endif
  for (; p != end && ((*p != Cs) && ...); ++p) upper = upper || is_upper(*p);
  return p;
}

// How many more characters `s` takes before reaching `cap`.
size_t room(const std::string& s, size_t cap) { return s.size() < cap ? cap - s.size() : 0; }

char ascii_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

void to_lower(std::string& s) {
  for (char& c : s) c = ascii_lower(c);
}

// "#233" or "#x20AC": the character as UTF-8, or a blank when it is no valid
// character (a NUL, a surrogate, beyond Unicode, or not a number at all).
std::string char_reference(std::string_view ref) {
  std::string_view digits = ref.substr(1);
  int base = 10;
  if (!digits.empty() && (digits[0] == 'x' || digits[0] == 'X')) {
    base = 16;
    digits.remove_prefix(1);
  }
  uint32_t cp = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), cp, base);
  bool valid = !digits.empty() && ec == std::errc() && end == digits.data() + digits.size() &&
               cp != 0 && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
  if (!valid) return " ";
  std::string out;
  append_char(out, cp);
  return out;
}

}  // namespace

std::string XMLENTITYCONV(std::string_view entity) {
  if (!entity.empty() && entity[0] == '#') return char_reference(entity);
  // Binary search with exclusive bounds over the sorted table.
  int low = -1;
  int high = XMLENTITIESCOUNT;
  int cur = (low + high) / 2;
  bool found = false;
  while (true) {
    int c = XMLENTITIESCONV[cur].ENT.compare(entity);
    if (c == 0) {
      found = true;
      break;
    }
    if (c > 0) {
      high = cur;
    } else {
      low = cur;
    }
    cur = (low + high) / 2;
    if (low + 1 == high) break;
  }
  return found ? std::string(1, XMLENTITIESCONV[cur].OUT) : std::string(" ");
}

int XmlParser::XMLOPEN(const std::filesystem::path& fn) {
  XMLFPOS = 0;
  malformed_ = false;
  problem_.clear();
  int rc = XMLF.INITF(fn);
  if (rc == 0) XMLRES = true;
  XMLCH = 0;
  return rc;
}

void XmlParser::XMLCLOSE() {
  XMLRES = false;
  XMLF.close();
}

void XmlParser::give_up(std::string problem) {
  malformed_ = true;
  XMLRES = false;
  problem_ = std::move(problem);
}

bool XmlParser::append_capped(std::string& s, char c, size_t cap) {
  if (s.size() >= cap) {
    const char* what = cap == kMaxNameLen    ? N_("expected a name of at most {bytes} bytes")
                       : cap == kMaxValueLen ? N_("expected a value of at most {bytes} bytes")
                                             : N_("expected text of at most {bytes} bytes");
    give_up(STRTOKENREPLACE(_(what), {"bytes", std::to_string(cap)}));
    return false;
  }
  s += c;
  return true;
}

void XmlParser::XMLSEARCHNEXTTAG() {
  do {
    std::string* copy = XMLCOPYTEXTSTR;
    std::string_view run = take_run(is_lt, copy ? room(*copy, kMaxTextLen) : SIZE_MAX);
    if (copy) copy->append(run);
    XMLGETCH();
    if (XMLRES && XMLCH != '<' && XMLCOPYTEXTSTR) {
      if (!append_capped(*XMLCOPYTEXTSTR, XMLCH, kMaxTextLen)) return;
    }
  } while (XMLRES && XMLCH != '<');
}

void XmlParser::XMLSEARCHTAGEND() {
  while (XMLRES && XMLCH != '>') {
    take_run(is_gt, SIZE_MAX);
    XMLGETCH();
  }
}

// The next tag name when it lies whole in the buffer and no text is being
// copied: the same bytes taken as the byte loops below would take them.
// False, with nothing read, in every other case.
bool XmlParser::fast_tag(std::string& name) {
  std::string_view buf = XMLF.pending();
  const char* p = buf.data();
  const char* end = p + buf.size();
  if (XMLCH != '<') {
    p = find_any<'<'>(p, end);
    if (p == end) return false;
    ++p;
  }
  const char* first = p;
  if (p == end) return false;
  bool upper = false;
  p = scan_name<' ', '/', '>'>(p + 1, end, upper);  // the first byte is taken whatever it is
  upper = upper || is_upper(*first);
  if (p == end || static_cast<size_t>(p - first) > kMaxNameLen) return false;
  name.assign(first, static_cast<size_t>(p - first));
  if (upper) to_lower(name);
  commit(buf, p + 1);
  return true;
}

// The common attribute ` name="value"` (or with single quotes) with the byte
// after it, all in the buffer, without entities or anything over a limit.
// False, with nothing read, in every other case.
bool XmlParser::fast_attr(std::string& k, std::string& w) {
  std::string_view buf = XMLF.pending();
  const char* p = buf.data();
  const char* end = p + buf.size();
  while (p != end && is_blank(*p)) ++p;
  const char* name = p;
  bool upper = false;
  p = scan_name<' ', '/', '=', '>'>(p, end, upper);
  if (p == name || p == end || *p != '=' || static_cast<size_t>(p - name) > kMaxNameLen)
    return false;
  const char* name_end = p++;
  if (p == end || (*p != '"' && *p != '\'')) return false;
  const char quote = *p++;
  const char* value = p;
  p = quote == '"' ? find_any<'"', '>', '&'>(p, end) : find_any<'\'', '>', '&'>(p, end);
  if (p == end || *p != quote || static_cast<size_t>(p - value) > kMaxValueLen) return false;
  if (++p == end) return false;  // the byte after the closing quote is read too
  k.clear();
  k.append(name, static_cast<size_t>(name_end - name));
  if (upper) to_lower(k);
  w.clear();
  w.append(value, static_cast<size_t>(p - 1 - value));
  commit(buf, p + 1);
  return true;
}

std::string XmlParser::XMLGETNEXTTAG() {
  std::string name;
  if (XMLRES && !XMLCOPYTEXTSTR && fast_tag(name)) return name;
  if (XMLRES && XMLCH != '<') XMLSEARCHNEXTTAG();
  if (XMLRES) {
    // The character after "<" belongs to the name whatever it is, so a
    // closing tag reads as "/name" and a declaration as "?xml".
    XMLGETCH();
    if (XMLRES) name += XMLCH;
    while (XMLRES) {
      name.append(take_run(ends_tag_name, room(name, kMaxNameLen)));
      XMLGETCH();
      if (!XMLRES || ends_tag_name(XMLCH)) break;
      if (!append_capped(name, XMLCH, kMaxNameLen)) break;
    }
  }
  to_lower(name);
  return name;
}

void XmlParser::ADDTOW(char c, std::string& w, ValueState& st) {
  if (c == '&') {
    st.INENTITY = true;
    st.ENTITY.clear();
  } else if (c == ';' && st.INENTITY) {
    st.INENTITY = false;
    w += XMLENTITYCONV(st.ENTITY);
  } else if (st.INENTITY) {
    if (st.ENTITY.size() < kMaxEntityLen) st.ENTITY += c;
  } else {
    append_capped(w, c, kMaxValueLen);
  }
}

// The plain characters of a value up to its end, an entity or the length
// limit, in one piece; what stops the run goes through the byte path.
void XmlParser::take_plain_value(std::string& w, char inquot) {
  size_t max = room(w, kMaxValueLen);
  if (inquot == '"') {
    w.append(take_run(ends_dquoted, max));
  } else if (inquot == '\'') {
    w.append(take_run(ends_squoted, max));
  } else {
    w.append(take_run(ends_unquoted, max));
  }
}

void XmlParser::read_value(std::string& w) {
  ValueState st;
  char inquot = 0;
  XMLGETCH();
  if (XMLRES && (XMLCH == '"' || XMLCH == '\'')) {
    inquot = XMLCH;
  } else if (XMLRES) {
    ADDTOW(XMLCH, w, st);
  }
  bool tend = false;
  do {
    tend = true;
    if (!st.INENTITY) take_plain_value(w, inquot);
    XMLGETCH();
    if (XMLRES && inquot && XMLCH != inquot && XMLCH != '>') {
      add_char(XMLCH, w, st);
      tend = false;
    } else if (XMLRES && !inquot && !is_blank(XMLCH) && XMLCH != '>') {
      add_char(XMLCH, w, st);
      tend = false;
    }
  } while (XMLRES && !tend);
  if (XMLRES && inquot) XMLGETCH();
}

void XmlParser::read_attr_name(std::string& k) {
  do {
    if (!ends_attr_name(XMLCH) && !append_capped(k, XMLCH, kMaxNameLen)) break;
    k.append(take_run(ends_attr_name, room(k, kMaxNameLen)));
    XMLGETCH();
  } while (XMLRES && !ends_attr_name(XMLCH));
}

bool XmlParser::next_attr_bytewise(std::string& k, std::string& w) {
  k.clear();
  w.clear();
  bool res = false;
  if (is_blank(XMLCH)) {
    while (XMLRES && is_blank(XMLCH)) {
      take_run(not_blank, SIZE_MAX);
      XMLGETCH();
    }
    if (XMLRES && XMLCH != '/' && XMLCH != '>') {
      read_attr_name(k);
      res = !k.empty();
    }
    if (XMLRES && !k.empty() && XMLCH == '=') read_value(w);
  }
  to_lower(k);
  return res && !malformed_;
}

TextPosition text_position(const std::filesystem::path& fn, uint64_t offset) {
  TextPosition pos;
  ISTREAM in;
  if (in.INITF(fn) != 0) return pos;
  try {
    for (uint64_t at = 0; at < offset;) {
      if (in.pending().empty()) in.READBUF();
      std::string_view buf = in.pending();
      if (buf.empty()) break;
      const size_t n = static_cast<size_t>(std::min<uint64_t>(buf.size(), offset - at));
      for (char c : buf.substr(0, n)) {
        if (c == '\n') {
          ++pos.line;
          pos.column = 1;
        } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
          ++pos.column;
        }
      }
      in.consume(n);
      at += n;
    }
  } catch (const IoError&) {
    // The packed data breaks before the offset: the place reached is the answer.
  }
  return pos;
}

}  // namespace orvela::text
