#include "online/map_catalogue.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "map/orvobj.h"
#include "text/strutil.h"

namespace orvela::online {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// The server's words are Polish, as its dialogs are.
constexpr const char* kBadFormat = "Nieprawidłowy format listy map";

// The next line of `text` from `pos` without its line end.
std::string_view next_line(std::string_view text, std::size_t& pos) {
  std::size_t end = text.find('\n', pos);
  if (end == std::string_view::npos) end = text.size();
  std::string_view line = text.substr(pos, end - pos);
  pos = end + 1;
  if (line.ends_with('\r')) line.remove_suffix(1);
  return line;
}

// The field up to the next TAB, moving past it; nothing when the TAB is
// missing or the field empty.
std::optional<std::string> take_field(std::string_view& line) {
  const std::size_t tab = line.find('\t');
  if (tab == std::string_view::npos || tab == 0) return std::nullopt;
  std::string field(line.substr(0, tab));
  line.remove_prefix(tab + 1);
  return field;
}

// The name becomes a file in the maps folder and a part of an address.
bool plain_file_name(const std::string& name) {
  return name.find_first_of("/\\") == std::string::npos && name != "." && name != "..";
}

std::optional<MAPLISTRECORD> parse_record(std::string_view line) {
  MAPLISTRECORD r;
  auto typ = take_field(line);
  auto name = typ ? take_field(line) : std::nullopt;
  auto data = name ? take_field(line) : std::nullopt;
  if (!data || !plain_file_name(*name)) return std::nullopt;
  r.TYP = std::move(*typ);
  r.NAME = std::move(*name);
  r.DATA = std::move(*data);
  r.SIZE = static_cast<int32_t>(
      std::clamp<int64_t>(text::INT2(line), 0, std::numeric_limits<int32_t>::max()));
  return r;
}

}  // namespace

MapListResult parse_map_list(std::string_view text) {
  MapListResult out;
  if (text.starts_with(kBom)) text.remove_prefix(kBom.size());
  std::size_t pos = 0;
  const std::string_view first = next_line(text, pos);
  const std::string_view mark = kMapListMark;
  if (!first.starts_with(mark)) {
    out.error = kBadFormat;
    return out;
  }
  const int64_t version = text::INT2(first.substr(mark.size()));
  if (version > map::MAPINTVER) {
    out.error = "Mapy na serwerze wymagają nowszej wersji programu. Zaktualizuj program.";
    return out;
  }
  if (version < map::MAPINTVER) {
    out.error =
        "Mapy na serwerze nie zostały jeszcze zaktualizowane do tej wersji programu. Spróbuj "
        "ponownie później.";
    return out;
  }
  while (pos < text.size()) {
    const std::string_view line = next_line(text, pos);
    if (line.empty()) continue;
    std::optional<MAPLISTRECORD> r = parse_record(line);
    if (!r) {
      out.error = kBadFormat;
      return out;
    }
    out.records.push_back(std::move(*r));
  }
  return out;
}

std::string map_list_line(const MAPLISTRECORD& r) {
  return r.TYP + "\t" + r.NAME + "\t" + r.DATA + "\t" + std::to_string(r.SIZE) + "\r\n";
}

}  // namespace orvela::online
