#include "sound/alsoft_config.h"

#include <cstdlib>
#include <string>

#include "text/atomic_file.h"

namespace orvela::sound {

bool write_alsoft_config(const std::filesystem::path& file, bool hrtf,
                         const std::filesystem::path& hrtf_dir) {
  std::string content = "[general]\n";
  if (hrtf) {
    // OpenAL Soft 1.19 looks for "*.mhr" data sets in the folders of
    // hrtf-paths; the trailing comma keeps its default folders
    // (/usr/share/openal/hrtf and its built-in set) after ours.
    content += "hrtf = true\n";
    content += "hrtf-paths = " + hrtf_dir.string() + ",\n";
  } else {
    content += "hrtf = false\n";
  }
  // Whole or not at all: OpenAL must never read half a file after a full disk.
  return static_cast<bool>(text::write_file_atomically(file, content));
}

void point_openal_at_config(const std::filesystem::path& file) {
  ::setenv("ALSOFT_CONF", file.c_str(), 1);
}

}  // namespace orvela::sound
