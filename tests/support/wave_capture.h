#pragma once
// Recording what OpenAL Soft plays: its wave backend writes the mixed
// output to a file. Used by the sound tests and the end-to-end tests.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace orvela::test {

// An OpenAL Soft configuration that records 44.1 kHz 16-bit stereo into `out`.
inline std::string wave_backend_config(const std::filesystem::path& out) {
  return "[general]\ndrivers = wave\nchannels = stereo\nsample-type = int16\n"
         "frequency = 44100\n[wave]\nfile = " +
         out.string() + "\n";
}

// The environment that makes a program run with home folder `home` record
// what it plays into `home`/out.wav: the configuration is written to
// `home`/xdg/alsoft.conf.
inline std::map<std::string, std::string> wave_recording_env(const std::filesystem::path& home) {
  std::filesystem::create_directories(home / "xdg");
  std::ofstream(home / "xdg" / "alsoft.conf") << wave_backend_config(home / "out.wav");
  return {{"XDG_CONFIG_HOME", (home / "xdg").string()}, {"ALSOFT_DRIVERS", "wave"}};
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

// The RMS of the left and of the right channel of a recording from `from`
// seconds to its end (0..1 of full scale); -1 each when nothing is there.
inline std::pair<double, double> channel_rms(const std::filesystem::path& wav, double from) {
  const std::vector<int16_t> s = read_wave_samples(wav);
  const std::size_t first = static_cast<std::size_t>(from * 44100) * 2;
  double l = 0, r = 0;
  std::size_t n = 0;
  for (std::size_t i = first; i + 1 < s.size(); i += 2, ++n) {
    l += double(s[i]) * s[i];
    r += double(s[i + 1]) * s[i + 1];
  }
  if (n == 0) return {-1, -1};
  return {std::sqrt(l / double(n)) / 32768.0, std::sqrt(r / double(n)) / 32768.0};
}

}  // namespace orvela::test
