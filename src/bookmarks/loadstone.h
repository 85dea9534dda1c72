#pragma once
// The two plain-text formats of the Loadstone GPS navigator, in which
// bookmarks are exchanged with it: the checkpoints file (".lscp") and the
// database text file (".lsdbtxt"). Files are written as UTF-8 with CR LF
// line ends and no byte order mark; reading accepts CR LF or LF, a byte
// order mark, and coordinates in decimal degrees or in 1e-7 degree units.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "bookmarks/location.h"
#include "bookmarks/point_import.h"

namespace orvela::bookmarks {

inline constexpr std::string_view BOMHEADERSTR = "\xEF\xBB\xBF";
inline constexpr std::string_view LS_TABLEPOINTHEADER = "table,point";
inline constexpr std::string_view LS_FIELDSETHEADER =
    "name,latitude,longitude,accuracy,satellites,priority,userid,id";

// Lines longer than this are cut there and the rest of the line is skipped.
// Every line the writer makes fits (a name is at most 255 bytes).
inline constexpr std::size_t kMaxLineBytes = 1024;

// The name as Loadstone can take it, cut to 255 bytes (at a character
// boundary): ASCII other than letters, digits, commas and full stops becomes
// a blank, runs of blanks one blank, no blanks at the ends. Non-ASCII
// characters are kept, so no quote ever reaches the file.
std::string PREPSTRFORLS(std::string_view s);

// The whole file for `list` in `format` (BMFORMAT_LSCP or BMFORMAT_LSDB).
std::string loadstone_text(const ARRLOC& list, int format);

// Field readers of one data line. Each reads its field from the start of
// `rest` and removes it with the comma after it; nothing (and `rest`
// unchanged) for a bad field.
// A coordinate in decimal degrees ("52.2296761", cut to micro-degrees) or in
// 1e-7 degree units ("522296761", the last digit dropped), as micro-degrees.
// Bad: no digit, two decimal points, beyond 180 degrees, or no comma
// followed by more of the line.
std::optional<int32_t> IMPREADCOORD(std::string_view& rest);
// A quoted text: its first character is taken as the quote, the text runs up
// to the first double quote directly followed by a comma.
std::optional<std::string_view> IMPREADTEXT(std::string_view& rest);

// Reads a checkpoints or database text file (told apart by the first line)
// into `points`.
ReadStatus read_loadstone(const std::filesystem::path& file, PointImport& points);

}  // namespace orvela::bookmarks
