#include "app/rini.h"

#include "text/strutil.h"

namespace orvela::app {

namespace {

// Settings lines are trimmed of blanks and of the line end a file written
// on another system leaves.
constexpr std::string_view kLineBlanks = " \t\r\n";

}  // namespace

IniFile::IniFile(const std::filesystem::path& path) : in_(path, std::ios::binary) {}

std::optional<std::string> IniFile::next_line() {
  if (!in_.is_open() || !in_.good()) return std::nullopt;
  std::string line;
  bool any = false;
  for (int c = in_.get(); c != EOF; c = in_.get()) {
    any = true;
    if (c == '\n') return line;
    if (line.size() < kMaxIniLine) line.push_back(static_cast<char>(c));
  }
  if (!any) return std::nullopt;
  return line;
}

std::optional<std::pair<std::string, std::string>> parse_ini_line(std::string_view line) {
  size_t semi = line.find(';');
  if (semi != std::string_view::npos) line = line.substr(0, semi);
  line = text::trim(line, kLineBlanks);
  size_t eq = line.find('=');
  if (eq == std::string_view::npos || eq == 0) return std::nullopt;
  std::string_view name = text::trim_right(line.substr(0, eq), kLineBlanks);
  if (name.empty()) return std::nullopt;
  std::string_view value = text::trim_left(line.substr(eq + 1), kLineBlanks);
  return std::make_pair(std::string(name), std::string(value));
}

bool INIGETNEXT(IniFile& f, std::string& name, std::string& value) {
  while (auto line = f.next_line()) {
    if (auto kv = parse_ini_line(*line)) {
      name = std::move(kv->first);
      value = std::move(kv->second);
      return true;
    }
  }
  f.close();
  return false;
}

bool ini_bool(std::string_view s) { return text::INT2(s) > 0; }

}  // namespace orvela::app
