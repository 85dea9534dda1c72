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

std::filesystem::path with_default_ext(const std::filesystem::path& path, FileMode mode,
                                       const std::string& default_ext) {
  if (mode == WGFOPEN || default_ext.empty() || path.empty() || path.has_extension()) return path;
  std::filesystem::path out = path;
  out += default_ext.front() == '.' ? default_ext : "." + default_ext;
  return out;
}

}  // namespace orvela::ui
