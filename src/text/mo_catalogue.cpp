#include "text/mo_catalogue.h"

#include <cstdint>
#include <fstream>
#include <iterator>

#include "text/utf8.h"

namespace orvela::text {

namespace {

constexpr uint32_t kMagic = 0x950412de;
constexpr uint32_t kMagicSwapped = 0xde120495;

// Reads the 32-bit words of a catalogue in the byte order its magic announced.
class WordReader {
 public:
  WordReader(std::string_view bytes, bool big_endian) : bytes_(bytes), big_endian_(big_endian) {}

  bool word(uint64_t offset, uint32_t& out) const {
    if (offset + 4 > bytes_.size()) return false;
    uint32_t v = 0;
    for (int k = 0; k < 4; ++k) {
      auto b = static_cast<unsigned char>(bytes_[offset + (big_endian_ ? k : 3 - k)]);
      v = (v << 8) | b;
    }
    out = v;
    return true;
  }

  // String number `index` of the table at `table`; up to its first NUL,
  // which keeps the singular of a plural entry.
  bool string_at(uint32_t table, uint32_t index, std::string_view& out) const {
    uint64_t entry = uint64_t{table} + uint64_t{index} * 8;
    uint32_t length = 0, offset = 0;
    if (!word(entry, length) || !word(entry + 4, offset)) return false;
    if (uint64_t{offset} + length > bytes_.size()) return false;
    std::string_view s = bytes_.substr(offset, length);
    out = s.substr(0, s.find('\0'));
    return true;
  }

 private:
  std::string_view bytes_;
  bool big_endian_;
};

bool read_magic(std::string_view bytes, bool& big_endian) {
  uint32_t magic = 0;
  if (!WordReader(bytes, false).word(0, magic)) return false;
  if (magic != kMagic && magic != kMagicSwapped) return false;
  big_endian = magic == kMagicSwapped;
  return true;
}

}  // namespace

std::optional<MoCatalogue> MoCatalogue::parse(std::string_view bytes) {
  bool big_endian = false;
  if (!read_magic(bytes, big_endian)) return std::nullopt;
  WordReader r(bytes, big_endian);
  uint32_t revision = 0, count = 0, originals = 0, translations = 0;
  if (!r.word(4, revision) || !r.word(8, count) || !r.word(12, originals) ||
      !r.word(16, translations))
    return std::nullopt;
  if ((revision >> 16) > 1) return std::nullopt;
  MoCatalogue cat;
  for (uint32_t i = 0; i < count; ++i) {
    std::string_view id, text;
    if (!r.string_at(originals, i, id) || !r.string_at(translations, i, text)) return std::nullopt;
    // Everything the program says is UTF-8; a translation in another
    // encoding would reach the speech server as garbage, so English is
    // spoken instead.
    if (!id.empty() && valid_utf8(text)) cat.entries_.emplace(id, text);
  }
  return cat;
}

std::optional<MoCatalogue> MoCatalogue::load(const std::filesystem::path& path) {
  std::error_code ec;
  auto size = std::filesystem::file_size(path, ec);
  if (ec || size > kMaxFileSize) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return parse(bytes);
}

std::optional<std::string_view> MoCatalogue::find(std::string_view msgid) const {
  auto it = entries_.find(msgid);
  if (it == entries_.end()) return std::nullopt;
  return std::string_view(it->second);
}

}  // namespace orvela::text
