#pragma once
// A reader of GNU gettext message catalogues (".mo" files): exact lookup of
// an English message identifier. Catalogues are files beside the program
// that anyone can replace, so every offset and length is checked against
// the file before it is used.
#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace orvela::text {

class MoCatalogue {
 public:
  // The catalogue in `bytes`, or nothing when they are not a well-formed
  // catalogue (bad magic, unknown major revision, a table or string reaching
  // past the end).
  static std::optional<MoCatalogue> parse(std::string_view bytes);
  // The catalogue in the file at `path`, or nothing when it cannot be read or parsed.
  static std::optional<MoCatalogue> load(const std::filesystem::path& path);

  // The translation of `msgid` (the singular form for plural entries), or
  // nothing when the catalogue has no entry for it or its translation is not
  // valid UTF-8.
  std::optional<std::string_view> find(std::string_view msgid) const;
  std::size_t size() const { return entries_.size(); }

  // Catalogues beyond this size are refused rather than read into memory.
  static constexpr std::size_t kMaxFileSize = 64u << 20;

 private:
  std::map<std::string, std::string, std::less<>> entries_;
};

}  // namespace orvela::text
