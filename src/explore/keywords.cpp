#include "explore/keywords.h"

#include <string>

#include "text/strutil.h"
#include "text/utf8.h"

namespace orvela::explore {
namespace {

// Capitals in a run where capital and small letter alternate (even code
// points capital, or odd ones with `odd`).
bool alternating(char32_t c, char32_t first, char32_t last, bool odd = false) {
  return c >= first && c <= last && (c % 2 == 1) == odd;
}

// The small letter of capital `c`, or `c` itself. Only simple one-to-one
// mappings, and never into ASCII: the Kelvin sign and the dotted capital I
// stay as they are, so an ASCII key word matches as LIKE matches it.
char32_t lower(char32_t c) {
  if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + 32 : c;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;  // Latin-1
  if (alternating(c, 0x100, 0x12E) || alternating(c, 0x132, 0x136) ||
      alternating(c, 0x139, 0x147, true) || alternating(c, 0x14A, 0x176) ||
      alternating(c, 0x179, 0x17D, true))  // Latin Extended-A
    return c + 1;
  if (c == 0x178) return 0xFF;
  if (alternating(c, 0x1CD, 0x1DB, true) || alternating(c, 0x1DE, 0x1EE) ||
      alternating(c, 0x1F8, 0x21E) || alternating(c, 0x222, 0x232))  // Latin Extended-B
    return c + 1;
  switch (c) {
    case 0x1C4:
    case 0x1C5:
      return 0x1C6;
    case 0x1C7:
    case 0x1C8:
      return 0x1C9;
    case 0x1CA:
    case 0x1CB:
      return 0x1CC;
    case 0x1F1:
    case 0x1F2:
      return 0x1F3;
    case 0x1F4:
      return 0x1F5;
    // Greek capitals with tonos, and the final sigma, which is a sigma.
    case 0x386:
      return 0x3AC;
    case 0x388:
    case 0x389:
    case 0x38A:
      return c + 0x25;
    case 0x38C:
      return 0x3CC;
    case 0x38E:
    case 0x38F:
      return c + 0x3F;
    case 0x3C2:
      return 0x3C3;
    case 0x4C0:
      return 0x4CF;
    case 0x1E9E:  // capital sharp s
      return 0xDF;
    case 0x2126:  // ohm sign
      return 0x3C9;
    case 0x212B:  // angstrom sign
      return 0xE5;
    default:
      break;
  }
  if ((c >= 0x391 && c <= 0x3AB && c != 0x3A2)) return c + 0x20;  // Greek
  if (alternating(c, 0x3D8, 0x3EE)) return c + 1;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;  // Cyrillic
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (alternating(c, 0x460, 0x480) || alternating(c, 0x48A, 0x4BE) ||
      alternating(c, 0x4C1, 0x4CD, true) || alternating(c, 0x4D0, 0x52E))
    return c + 1;
  if (c >= 0x531 && c <= 0x556) return c + 0x30;      // Armenian
  if (c >= 0x10A0 && c <= 0x10C5) return c + 0x1C60;  // Georgian
  if (alternating(c, 0x1E00, 0x1E94) || alternating(c, 0x1EA0, 0x1EFE))
    return c + 1;                                   // Latin Extended Additional
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;  // full-width Latin
  return c;
}

bool is_ascii(std::string_view s) {
  for (char ch : s)
    if (static_cast<unsigned char>(ch) >= 0x80) return false;
  return true;
}

// fold_case into `out`, reusing its buffer.
void fold_into(std::string_view s, std::string& out) {
  out.clear();
  if (is_ascii(s)) {
    out.assign(s);
    for (char& ch : out)
      if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch + 32);
    return;
  }
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t start = i;
    const char32_t c = text::next_char(s, i);
    if (c == text::kInvalidChar)
      out.append(s.substr(start, i - start));
    else
      text::append_char(out, lower(c));
  }
}

// haskeyword(text, keyword). The folded key word is kept with the statement
// while it stays the same parameter, so each row folds only its text.
void haskeyword(sqlite3_context* ctx, int /*argc*/, sqlite3_value** argv) {
  const auto* t = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
  if (!t) {
    sqlite3_result_int(ctx, 0);
    return;
  }
  const std::string_view text(t, static_cast<std::size_t>(sqlite3_value_bytes(argv[0])));
  const auto* key = static_cast<const std::string*>(sqlite3_get_auxdata(ctx, 1));
  std::string fresh;
  if (!key) {
    const auto* k = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    if (k) fresh = fold_case({k, static_cast<std::size_t>(sqlite3_value_bytes(argv[1]))});
    key = &fresh;
  }
  thread_local std::string folded;
  fold_into(text, folded);
  sqlite3_result_int(ctx, folded.find(*key) != std::string::npos ? 1 : 0);
  // Last: SQLite may drop the copy at once.
  if (key == &fresh)
    sqlite3_set_auxdata(ctx, 1, new std::string(std::move(fresh)),
                        [](void* p) { delete static_cast<std::string*>(p); });
}

}  // namespace

std::string fold_case(std::string_view s) {
  std::string out;
  fold_into(s, out);
  return out;
}

KeyWords PREPARESEARCHKEYWORDS(std::string_view s) {
  KeyWords words;
  const std::string folded = fold_case(s);
  std::string_view rest = folded;
  while (true) {
    rest = text::trim_left(rest, text::kBlanks);
    if (rest.empty()) break;
    const std::size_t end = rest.find_first_of(text::kBlanks);
    words.emplace_back(rest.substr(0, end));
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end);
  }
  return words;
}

bool CHECKSEARCHKEYWORDS(std::string_view s, const KeyWords& SKW) {
  if (SKW.empty()) return true;
  const std::string folded = fold_case(s);
  for (const std::string& k : SKW)
    if (folded.find(k) == std::string::npos) return false;
  return true;
}

std::string PREPWHERE(const KeyWords& SKW, int first) {
  std::string where;
  for (std::size_t i = 0; i < SKW.size(); ++i) {
    const std::string k = "?" + std::to_string(first + static_cast<int>(i));
    // A text kept in string table orvel_T is looked for there, once per
    // statement rather than once per object: a map has far fewer distinct
    // texts than objects.
    auto in_table = [&k](const std::string& t) {
      return "p." + t + "id in (select " + t + "id from orvel_" + t + " where haskeyword(" + t +
             "," + k + "))";
    };
    if (i > 0) where += " and ";
    where += "(" + in_table("name") + " or " + in_table("type") + " or " + in_table("street") +
             " or haskeyword(housenum," + k + ") or " + in_table("city") + " or " +
             in_table("region") + " or " + in_table("country") + ")";
  }
  return where;
}

bool register_keyword_match(sqlite3* db) {
  if (!db) return false;
  // Registering it again would make SQLite compile every statement of the
  // connection anew.
  sqlite3_stmt* probe = nullptr;
  const bool known =
      sqlite3_prepare_v2(db, "select haskeyword(null,null)", -1, &probe, nullptr) == SQLITE_OK;
  sqlite3_finalize(probe);
  return known ||
         sqlite3_create_function_v2(db, "haskeyword", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                    nullptr, haskeyword, nullptr, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace orvela::explore
