#pragma once
// Small string helpers used across the program. Texts are UTF-8: the letter
// helpers work on characters, know the ASCII and Polish letters, and pass
// anything else (other scripts, malformed bytes) through unchanged.
#include <cstdint>
#include <string>
#include <string_view>

namespace orvela::text {

// Spaces and tabs: what typed entries and settings lines are trimmed of.
inline constexpr std::string_view kBlanks = " \t";
// Any white space, line ends included.
inline constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";

// `s` without the leading / trailing / both runs of the bytes in `chars`.
std::string_view trim_left(std::string_view s, std::string_view chars = kWhiteSpace);
std::string_view trim_right(std::string_view s, std::string_view chars = kWhiteSpace);
std::string_view trim(std::string_view s, std::string_view chars = kWhiteSpace);

// Every run of spaces reduced to one space.
std::string DELDBLSPC(std::string_view s);
// Without trailing / leading / both spaces and tabs.
std::string DELRSPC(std::string_view s);
std::string DELLSPC(std::string_view s);
std::string DELRLSPC(std::string_view s);

// ASCII and Polish capitals (Ą Ć Ę Ł Ń Ó Ś Ź Ż) to lower case.
std::string LOWCASESTR(std::string_view s);
// True for an ASCII or Polish letter of either case, or a digit.
bool TEXTCHAR(char32_t c);

// The first word after leading spaces and tabs: with `textonly` the longest
// run of TEXTCHAR characters, otherwise everything up to the next space.
std::string GETLWORD(std::string_view s, bool textonly);
// GETLWORD, also removing the word and the spaces and tabs around it from `s`.
std::string MOVLWORD(std::string& s, bool textonly);

// Decimal text of `n`.
std::string STR2(int64_t n);
// The longest leading decimal integer of `s` (after blanks, optional sign);
// 0 when there is none. Saturates instead of overflowing.
int64_t INT2(std::string_view s);
// STR2(n) padded with "0" on the left to `width` characters; negatives unpadded.
std::string LEADZEROS(int64_t n, int width);

}  // namespace orvela::text
