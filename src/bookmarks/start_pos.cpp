#include "bookmarks/start_pos.h"

#include <fmt/format.h>

#include <algorithm>

#include "text/strutil.h"

namespace orvela::bookmarks {
namespace {

namespace fs = std::filesystem;

int32_t micro_degrees(int64_t v) {
  if (v > 180000000 || v < -180000000) v /= 10;
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

std::string_view next_line(std::string_view& text) {
  const std::size_t nl = text.find('\n');
  std::string_view line = text.substr(0, nl);
  text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
  return text::trim(line);
}

bool leads_out(const fs::path& p) {
  if (p.has_root_path()) return true;
  return std::any_of(p.begin(), p.end(), [](const fs::path& part) { return part == ".."; });
}

}  // namespace

std::string start_pos_text(const StartPos& p) {
  return fmt::format("{}\r\n{} {}\r\n", p.map, p.LAT, p.LON);
}

StartPos parse_start_pos(std::string_view text) {
  StartPos p;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  p.map = next_line(text);
  std::string coords(next_line(text));
  p.LAT = micro_degrees(text::INT2(text::MOVLWORD(coords, false)));
  p.LON = micro_degrees(text::INT2(text::MOVLWORD(coords, false)));
  return p;
}

std::optional<fs::path> map_in_folder(std::string_view name) {
  std::string s(name);
  std::replace(s.begin(), s.end(), '\\', '/');
  fs::path p(s);
  if (leads_out(p)) return std::nullopt;
  return p.lexically_normal();
}

std::optional<std::string> map_name_in(const fs::path& mapdir, const fs::path& fn) {
  const fs::path rel = fn.lexically_normal().lexically_relative(mapdir.lexically_normal());
  if (rel.empty() || rel == "." || leads_out(rel)) return std::nullopt;
  return rel.generic_string();
}

}  // namespace orvela::bookmarks
