#include "bookmarks/loadstone.h"

#include <fmt/format.h>

#include "bookmarks/bookmark_settings.h"
#include "text/istrm.h"
#include "text/strutil.h"
#include "text/utf8.h"

namespace orvela::bookmarks {
namespace {

bool kept_in_ls_name(unsigned char c) {
  return c >= 128 || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         c == ',' || c == '.';
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Decimal degrees with exactly seven decimals, from micro-degrees.
std::string degrees7(int32_t v) { return degrees_text(v) + "0"; }

void append_line(std::string& out, std::string_view line) {
  out += line;
  out += "\r\n";
}

// Lines of a file, CR LF or LF, each cut at kMaxLineBytes.
class LineReader {
 public:
  int open(const std::filesystem::path& file) { return in_.INITF(file); }

  // The next line without its line end; false at the end of the file.
  // Throws text::IoError when reading fails.
  bool next(std::string& line) {
    line.clear();
    bool any = false;
    while (true) {
      std::string_view buf = in_.pending();
      if (buf.empty()) {
        in_.READBUF();
        buf = in_.pending();
        if (buf.empty()) break;
      }
      any = true;
      const std::size_t nl = buf.find('\n');
      const std::size_t len = nl == std::string_view::npos ? buf.size() : nl;
      if (line.size() < kMaxLineBytes)
        line.append(buf.substr(0, std::min(len, kMaxLineBytes - line.size())));
      in_.consume(nl == std::string_view::npos ? buf.size() : nl + 1);
      if (nl != std::string_view::npos) break;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return any;
  }

 private:
  text::ISTREAM in_;
};

enum class LsFormat { None, Checkpoints, Database };

LsFormat format_of(std::string_view first) {
  if (first.starts_with(BOMHEADERSTR)) first.remove_prefix(BOMHEADERSTR.size());
  first = text::trim_right(first);
  if (first == "#!lscp" || first == "#lscp") return LsFormat::Checkpoints;
  if (first == "#!lsdb" || first == LS_TABLEPOINTHEADER) return LsFormat::Database;
  return LsFormat::None;
}

bool is_header(std::string_view line) {
  line = text::trim_right(line);
  return line == LS_TABLEPOINTHEADER || line == LS_FIELDSETHEADER;
}

// One data line: added, ignored, or (for a new table) the end of the points.
bool read_point(std::string_view line, LsFormat f, PointImport& points) {
  if (text::trim(line).empty() || line.front() == '#') return true;
  if (f == LsFormat::Database && text::LOWCASESTR(line.substr(0, 6)) == "table,") return false;
  std::string_view rest = line;
  std::optional<std::string_view> name;
  std::optional<int32_t> lat, lon;
  if (f == LsFormat::Checkpoints) {
    if ((lat = IMPREADCOORD(rest)) && (lon = IMPREADCOORD(rest))) name = IMPREADTEXT(rest);
  } else if ((name = IMPREADTEXT(rest)) && (lat = IMPREADCOORD(rest))) {
    lon = IMPREADCOORD(rest);
  }
  if (name && lat && lon)
    points.add(*name, *lat, *lon);
  else
    points.ignore();
  return true;
}

}  // namespace

std::string PREPSTRFORLS(std::string_view s) {
  std::string out(text::cut_at_char(s, 255));
  for (char& c : out)
    if (!kept_in_ls_name(static_cast<unsigned char>(c))) c = ' ';
  return std::string(text::trim(text::DELDBLSPC(out), " "));
}

std::string loadstone_text(const ARRLOC& list, int format) {
  std::string out;
  out.reserve(64 + list.size() * 80);
  if (format == BMFORMAT_LSDB) {
    append_line(out, "#!lsdb");
    append_line(out, LS_TABLEPOINTHEADER);
    append_line(out, LS_FIELDSETHEADER);
  } else {
    append_line(out, "#!lscp");
  }
  for (std::size_t i = 0; i < list.size(); ++i) {
    const LOCATION& l = list[i];
    const std::string name = PREPSTRFORLS(l.NAME);
    if (format == BMFORMAT_LSDB)
      append_line(out, fmt::format("\"{}\",{},{},1,0,0,10002,{}", name, degrees7(l.LAT),
                                   degrees7(l.LON), i + 1));
    else
      append_line(out, fmt::format("{},{},\"{}\",1,0,0,10002,{},\"\"", int64_t{l.LAT} * 10,
                                   int64_t{l.LON} * 10, name, i + 1));
  }
  return out;
}

std::optional<int32_t> IMPREADCOORD(std::string_view& rest) {
  std::string_view s = text::trim_left(rest, text::kBlanks);
  const bool negative = !s.empty() && s.front() == '-';
  if (negative) s.remove_prefix(1);
  const std::size_t comma = s.find(',');
  if (comma == std::string_view::npos || comma + 1 >= s.size()) return std::nullopt;
  std::string kept;
  for (char c : s.substr(0, comma))
    if (is_digit(c) || c == '.') kept += c;
  const std::size_t dot = kept.find('.');
  std::string digits;
  if (dot == std::string::npos) {
    // 1e-7 degree units: dropping the last digit truncates to micro-degrees.
    digits = kept.substr(0, kept.empty() ? 0 : kept.size() - 1);
  } else {
    std::string frac = kept.substr(dot + 1);
    if (frac.find('.') != std::string::npos) return std::nullopt;
    frac.resize(6, '0');
    digits = kept.substr(0, dot) + frac;
  }
  if (kept.find_first_of("0123456789") == std::string::npos) return std::nullopt;
  const int64_t v = text::INT2(digits);
  if (v > 180000000) return std::nullopt;
  rest = s.substr(comma + 1);
  return static_cast<int32_t>(negative ? -v : v);
}

std::optional<std::string_view> IMPREADTEXT(std::string_view& rest) {
  if (rest.empty()) return std::nullopt;
  std::string_view s = rest.substr(1);
  const std::size_t end = s.find("\",");
  if (end == std::string_view::npos) return std::nullopt;
  rest = s.substr(end + 2);
  return s.substr(0, end);
}

ReadStatus read_loadstone(const std::filesystem::path& file, PointImport& points) {
  LineReader in;
  if (in.open(file) != 0) return ReadStatus::Failed;
  try {
    std::string line;
    if (!in.next(line)) return ReadStatus::NotSupported;
    const LsFormat f = format_of(line);
    if (f == LsFormat::None) return ReadStatus::NotSupported;
    bool more = in.next(line);
    if (f == LsFormat::Database)
      while (more && is_header(line)) more = in.next(line);
    for (; more; more = in.next(line))
      if (!read_point(line, f, points)) break;
  } catch (const text::IoError&) {
    return ReadStatus::Failed;
  }
  return ReadStatus::Read;
}

}  // namespace orvela::bookmarks
