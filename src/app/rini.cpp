#include "app/rini.h"

#include "text/strutil.h"

namespace orvela::app {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trim_left(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  return s;
}

std::string_view trim_right(std::string_view s) {
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

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
  line = trim_right(trim_left(line));
  size_t eq = line.find('=');
  if (eq == std::string_view::npos || eq == 0) return std::nullopt;
  std::string_view name = trim_right(line.substr(0, eq));
  if (name.empty()) return std::nullopt;
  std::string_view value = trim_left(line.substr(eq + 1));
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
