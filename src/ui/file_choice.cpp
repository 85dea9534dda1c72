#include "ui/file_choice.h"

namespace orvela::ui {

std::string filter_text(const std::vector<FileFilter>& filters) {
  std::string out;
  for (const FileFilter& f : filters) {
    if (!out.empty()) out += '|';
    out += f.description + '|' + f.pattern;
  }
  return out;
}

std::string file_uri(const std::filesystem::path& path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out = "file://";
  for (const char c : path.string()) {
    const auto b = static_cast<unsigned char>(c);
    const bool plain = (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') ||
                       c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
    if (plain) {
      out += c;
    } else {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
  }
  return out;
}

std::string filter_ext(const FileFilter& filter) {
  const std::string& p = filter.pattern;
  if (!p.starts_with("*.") || p.size() < 3 || p.find_first_of(";*?", 2) != std::string::npos)
    return {};
  return p.substr(1);
}

std::filesystem::path with_default_ext(const std::filesystem::path& path, FileMode mode,
                                       const std::string& default_ext) {
  if (mode == WGFOPEN || default_ext.empty() || path.empty() || path.has_extension()) return path;
  std::filesystem::path out = path;
  out += default_ext.front() == '.' ? default_ext : "." + default_ext;
  return out;
}

}  // namespace orvela::ui
