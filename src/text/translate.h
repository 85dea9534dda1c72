#pragma once
// Translation of the program's English texts and {name} placeholders.
//
// The message catalogue is loaded once at start-up (before any other thread
// exists) and only read afterwards, so `_` reads a process-wide catalogue
// instead of having one passed to every call site.
#include <string>
#include <string_view>
#include <vector>

namespace orvela::text {

// The translation of the English text `s`, or `s` itself when no catalogue
// is loaded or it has no (or an empty) entry for it.
std::string TRANSLATE(std::string_view s);
inline std::string _(std::string_view s) { return TRANSLATE(s); }
// Marks a text for the catalogue where it is only stored (a menu row) and
// translated later with _().
constexpr const char* N_(const char* s) { return s; }

// `s` with every {name} replaced by the value given for it in `pairs`
// (name, value, name, value, ...). Unknown names vanish.
std::string STRTOKENREPLACE(std::string_view s, const std::vector<std::string>& pairs);
// The value of placeholder `token` in `pairs`; empty when absent.
std::string GETTOKENREPLACEMENT(std::string_view token, const std::vector<std::string>& pairs);

// Hook through which the catalogue module answers TRANSLATE. Installed once
// at start-up; nullptr means English.
using TranslateFn = std::string (*)(std::string_view);
void set_translator(TranslateFn fn);

}  // namespace orvela::text
