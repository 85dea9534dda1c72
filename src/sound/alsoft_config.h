#pragma once
// The OpenAL Soft configuration file through which we ask for HRTF. The
// library reads its configuration once, at the first OpenAL call of the
// process, from the file named by ALSOFT_CONF (after the system and user
// files), so a change of the HRTF switch in the file takes effect at the next
// start; the context attribute asks for it at once.
#include <filesystem>

namespace orvela::sound {

// Writes (overwrites) the configuration: with `hrtf` "hrtf = true" and the
// HRTF search path (`hrtf_dir` first, then the library's own data folders),
// otherwise "hrtf = false". False when the file cannot be written.
bool write_alsoft_config(const std::filesystem::path& file, bool hrtf,
                         const std::filesystem::path& hrtf_dir);

// Points OpenAL Soft at `file` (the ALSOFT_CONF environment variable). Must
// happen before the first OpenAL call of the process to have any effect.
void point_openal_at_config(const std::filesystem::path& file);

}  // namespace orvela::sound
