#include "sound/alsoft_config.h"

#include <cstdlib>
#include <fstream>

namespace orvela::sound {

bool write_alsoft_config(const std::filesystem::path& file, bool hrtf,
                         const std::filesystem::path& hrtf_dir) {
  std::ofstream f(file, std::ios::trunc);
  if (!f) return false;
  f << "[general]\n";
  if (hrtf) {
    // OpenAL Soft 1.19 looks for "*.mhr" data sets in the folders of
    // hrtf-paths; the trailing comma keeps its default folders
    // (/usr/share/openal/hrtf and its built-in set) after ours.
    f << "hrtf = true\n";
    f << "hrtf-paths = " << hrtf_dir.string() << ",\n";
  } else {
    f << "hrtf = false\n";
  }
  return static_cast<bool>(f.flush());
}

void point_openal_at_config(const std::filesystem::path& file) {
  ::setenv("ALSOFT_CONF", file.c_str(), 1);
}

}  // namespace orvela::sound
