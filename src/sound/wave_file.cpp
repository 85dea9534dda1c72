#include "sound/wave_file.h"

#include <array>
#include <cstring>
#include <fstream>
#include <new>

namespace orvela::sound {
namespace {

constexpr std::size_t kHeaderSize = 44;
// Far beyond any sound we ship (ten minutes at 48 kHz); a larger claim is a
// broken or hostile file, not a sound.
constexpr uint32_t kMaxDataSize = 64u * 1024 * 1024;

uint32_t le32(const unsigned char* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
bool tag(const unsigned char* p, const char* t) { return std::memcmp(p, t, 4) == 0; }

bool header_ok(const std::array<unsigned char, kHeaderSize>& h) {
  return tag(&h[0], "RIFF") && tag(&h[8], "WAVE") && tag(&h[12], "fmt ") && le32(&h[16]) == 16 &&
         le16(&h[20]) == 1 && le16(&h[22]) == 1 && le32(&h[24]) != 0 && le16(&h[34]) == 16 &&
         tag(&h[36], "data") && le32(&h[40]) >= 2;
}

}  // namespace

std::optional<std::filesystem::path> sound_file_path(const std::filesystem::path& sounds_dir,
                                                     std::string_view fn) {
  if (fn.empty() || fn == "." || fn == ".." ||
      fn.find_first_of(std::string_view("/\\\0:", 4)) != std::string_view::npos) {
    return std::nullopt;
  }
  return sounds_dir / (std::string(fn) + ".wav");
}

std::optional<std::filesystem::path> existing_sound_file(const std::filesystem::path& sounds_dir,
                                                         std::string_view fn) {
  auto file = sound_file_path(sounds_dir, fn);
  std::error_code ec;
  if (!file || !std::filesystem::is_regular_file(*file, ec)) return std::nullopt;
  auto real = std::filesystem::canonical(*file, ec);
  if (ec || real.parent_path() != std::filesystem::canonical(sounds_dir, ec) || ec)
    return std::nullopt;
  return file;
}

WaveResult read_wave(const std::filesystem::path& file, WaveData& out) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return WAVE_CANNOT_OPEN;
  std::ifstream f(file, std::ios::binary);
  if (!f) return WAVE_CANNOT_OPEN;
  std::array<unsigned char, kHeaderSize> h{};
  if (!f.read(reinterpret_cast<char*>(h.data()), kHeaderSize) || !header_ok(h))
    return WAVE_BAD_HEADER;
  uint32_t size = le32(&h[40]) & ~1u;  // whole samples only
  auto file_size = std::filesystem::file_size(file, ec);
  if (ec || file_size < kHeaderSize + uint64_t{size}) return WAVE_SHORT_DATA;
  if (size > kMaxDataSize) return WAVE_NO_MEMORY;
  try {
    out.samples.assign(size / 2, 0);
  } catch (const std::bad_alloc&) {
    return WAVE_NO_MEMORY;
  }
  if (!f.read(reinterpret_cast<char*>(out.samples.data()), size)) return WAVE_SHORT_DATA;
  out.freq = le32(&h[24]);
  return WAVE_OK;
}

}  // namespace orvela::sound
