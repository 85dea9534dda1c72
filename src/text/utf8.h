#pragma once
// Walking UTF-8 text one character at a time. Texts come from map files,
// OSM data and the user; none of them is trusted to be valid UTF-8, so a
// malformed byte is read as a character of its own and never reads past
// the end.
#include <cstddef>
#include <string>
#include <string_view>

namespace orvela::text {

// Marks a byte that does not start a valid UTF-8 sequence.
inline constexpr char32_t kInvalidChar = 0xFFFFFFFF;

// The character starting at byte `i` of `s` (i < s.size()); `i` moves past it.
// A malformed or truncated sequence yields kInvalidChar and moves one byte.
char32_t next_char(std::string_view s, std::size_t& i);

// Appends the UTF-8 encoding of `c` (a valid code point) to `out`.
void append_char(std::string& out, char32_t c);

// True when every byte of `s` belongs to a well-formed character.
bool valid_utf8(std::string_view s);

// `s` with every byte that belongs to no well-formed character replaced by
// U+FFFD, the replacement character; well-formed text comes back unchanged.
std::string repair_utf8(std::string_view s);

// The longest prefix of `s` of at most `max_bytes` bytes that does not end
// inside a multi-byte character.
std::string_view cut_at_char(std::string_view s, std::size_t max_bytes);

}  // namespace orvela::text
