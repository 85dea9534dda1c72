#pragma once
// The line syntax shared by the settings files and the sound list: one
// "name = value" per line, ";" starts a comment, no sections.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace orvela::app {

// Longest line the reader keeps; the rest of a longer line is skipped, so a
// huge or binary file costs no more memory than a normal one.
inline constexpr size_t kMaxIniLine = 255;

// One open settings file, read line by line.
class IniFile {
 public:
  // Opens `path` for reading; is_open() tells whether that worked.
  explicit IniFile(const std::filesystem::path& path);
  bool is_open() const { return in_.is_open(); }
  // The next line, cut at kMaxIniLine bytes; nothing at the end of the file.
  std::optional<std::string> next_line();
  void close() { in_.close(); }

 private:
  std::ifstream in_;
};

// Name and value of one line, or nothing when the line carries none (empty,
// comment, no "=", starts with "="). The name keeps its case.
std::optional<std::pair<std::string, std::string>> parse_ini_line(std::string_view line);

// The next name and value line of `f` in `name` and `value`; false at the end
// of the file or on a read error, and then the file is closed.
bool INIGETNEXT(IniFile& f, std::string& name, std::string& value);

// A boolean setting: true when its number is greater than 0.
bool ini_bool(std::string_view s);

}  // namespace orvela::app
