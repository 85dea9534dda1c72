#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

namespace orvela::soundgen {

// Writes 16-bit mono PCM in the canonical 44-byte layout: "fmt " of 16 bytes
// followed at once by "data", which is the only layout the program accepts.
bool write_wav(const std::filesystem::path& file, const std::vector<int16_t>& samples,
               uint32_t rate);

}  // namespace orvela::soundgen
