#include "osm/xmlparse.h"

#include <charconv>

namespace orvela::osm {
namespace {

bool is_blank(char c) { return c == ' '; }

char ascii_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

void to_lower(std::string& s) {
  for (char& c : s) c = ascii_lower(c);
}

void append_utf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
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
  append_utf8(out, cp);
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
  int rc = XMLF.INITF(fn);
  if (rc == 0) XMLRES = true;
  XMLCH = 0;
  return rc;
}

void XmlParser::XMLCLOSE() {
  XMLRES = false;
  XMLF.close();
}

void XmlParser::give_up() {
  malformed_ = true;
  XMLRES = false;
}

bool XmlParser::append_capped(std::string& s, char c, size_t cap) {
  if (s.size() >= cap) {
    give_up();
    return false;
  }
  s += c;
  return true;
}

void XmlParser::XMLSEARCHNEXTTAG() {
  do {
    XMLGETCH();
    if (XMLRES && XMLCH != '<' && XMLCOPYTEXTSTR) {
      if (!append_capped(*XMLCOPYTEXTSTR, XMLCH, kMaxTextLen)) return;
    }
  } while (XMLRES && XMLCH != '<');
}

std::string XmlParser::XMLGETNEXTTAG() {
  std::string name;
  if (XMLRES && XMLCH != '<') XMLSEARCHNEXTTAG();
  if (XMLRES) {
    // The character after "<" belongs to the name whatever it is, so a
    // closing tag reads as "/name" and a declaration as "?xml".
    XMLGETCH();
    if (XMLRES) name += XMLCH;
    while (XMLRES) {
      XMLGETCH();
      if (!XMLRES || XMLCH == ' ' || XMLCH == '/' || XMLCH == '>') break;
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

bool XmlParser::XMLGETNEXTTAGPAR(std::string& k, std::string& w) {
  k.clear();
  w.clear();
  bool res = false;
  if (is_blank(XMLCH)) {
    while (XMLRES && is_blank(XMLCH)) XMLGETCH();
    if (XMLRES && XMLCH != '/' && XMLCH != '>') {
      do {
        if (!is_blank(XMLCH) && XMLCH != '/' && XMLCH != '=' && XMLCH != '>') {
          if (!append_capped(k, XMLCH, kMaxNameLen)) break;
        }
        XMLGETCH();
      } while (XMLRES && !is_blank(XMLCH) && XMLCH != '/' && XMLCH != '=' && XMLCH != '>');
      res = !k.empty();
    }
    if (XMLRES && !k.empty() && XMLCH == '=') read_value(w);
  }
  to_lower(k);
  return res && !malformed_;
}

}  // namespace orvela::osm
