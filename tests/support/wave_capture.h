#pragma once
// Recording what OpenAL Soft plays: its wave backend writes the mixed
// output to a file. Used by the sound tests and the end-to-end tests.
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace orvela::test {

// An OpenAL Soft configuration that records 44.1 kHz 16-bit stereo into `out`.
inline std::string wave_backend_config(const std::filesystem::path& out) {
  return "[general]\ndrivers = wave\nchannels = stereo\nsample-type = int16\n"
         "frequency = 44100\n[wave]\nfile = " +
         out.string() + "\n";
}

// The interleaved 16-bit samples of a recording's data chunk (the backend
// may write an extensible header, so the chunks are walked); empty when the
// file has none.
inline std::vector<int16_t> read_wave_samples(const std::filesystem::path& wav) {
  std::ifstream f(wav, std::ios::binary);
  std::string b((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  std::size_t pos = 12;
  while (pos + 8 <= b.size() && b.compare(pos, 4, "data") != 0) {
    uint32_t len = 0;
    std::memcpy(&len, &b[pos + 4], 4);
    pos += 8 + std::size_t{len};
  }
  if (pos + 8 > b.size()) return {};
  std::vector<int16_t> samples((b.size() - pos - 8) / 2);
  std::memcpy(samples.data(), b.data() + pos + 8, samples.size() * 2);
  return samples;
}

}  // namespace orvela::test
