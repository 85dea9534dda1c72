#pragma once
// Reading our sound files: 16-bit mono PCM WAV in the canonical 44-byte
// layout only. Anything else is refused, never half-read.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace orvela::sound {

// Result codes of loading a sound (the checks happen in this order).
enum WaveResult : uint8_t {
  WAVE_OK = 0,
  WAVE_CANNOT_OPEN = 1,
  WAVE_BAD_HEADER = 2,
  WAVE_NO_MEMORY = 3,
  WAVE_SHORT_DATA = 4,
  WAVE_SLOT_LOADED = 5,
  WAVE_NO_DEVICE = 99,
};

struct WaveData {
  uint32_t freq = 0;
  std::vector<int16_t> samples;
};

// The file of sound identifier `fn` inside `sounds_dir` ("<dir>/<fn>.wav"),
// or nothing when the identifier could reach outside the folder: an empty
// name, a path separator, "." or "..", a NUL byte.
std::optional<std::filesystem::path> sound_file_path(const std::filesystem::path& sounds_dir,
                                                     std::string_view fn);

// The existing regular file of sound `fn` (sound_file_path), or nothing when
// it is missing or, through a link, really lies outside `sounds_dir`.
std::optional<std::filesystem::path> existing_sound_file(const std::filesystem::path& sounds_dir,
                                                         std::string_view fn);

// Reads `file` into `out`. A header that claims more data than the file
// holds gives WAVE_SHORT_DATA before anything is allocated; an empty data
// chunk, a zero sample rate, stereo, 8-bit or compressed data give
// WAVE_BAD_HEADER.
WaveResult read_wave(const std::filesystem::path& file, WaveData& out);

}  // namespace orvela::sound
