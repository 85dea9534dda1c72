#include "wav_writer.h"

#include <fstream>
#include <string_view>

namespace orvela::soundgen {
namespace {

void put(std::ofstream& f, std::string_view tag) {
  f.write(tag.data(), static_cast<std::streamsize>(tag.size()));
}
void put32(std::ofstream& f, uint32_t v) {
  char b[4] = {char(v & 0xff), char((v >> 8) & 0xff), char((v >> 16) & 0xff),
               char((v >> 24) & 0xff)};
  f.write(b, 4);
}
void put16(std::ofstream& f, uint16_t v) {
  char b[2] = {char(v & 0xff), char((v >> 8) & 0xff)};
  f.write(b, 2);
}

}  // namespace

bool write_wav(const std::filesystem::path& file, const std::vector<int16_t>& samples,
               uint32_t rate) {
  std::ofstream f(file, std::ios::binary | std::ios::trunc);
  if (!f) return false;
  auto data_size = static_cast<uint32_t>(samples.size() * 2);
  put(f, "RIFF");
  put32(f, 36 + data_size);
  put(f, "WAVE");
  put(f, "fmt ");
  put32(f, 16);
  put16(f, 1);  // PCM
  put16(f, 1);  // mono
  put32(f, rate);
  put32(f, rate * 2);
  put16(f, 2);
  put16(f, 16);
  put(f, "data");
  put32(f, data_size);
  for (int16_t s : samples) put16(f, static_cast<uint16_t>(s));
  return static_cast<bool>(f.flush());
}

}  // namespace orvela::soundgen
