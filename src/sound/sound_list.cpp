#include "sound/sound_list.h"

#include <fstream>

#include "sound/wave_file.h"
#include "text/strutil.h"
#include "text/translate.h"

namespace orvela::sound {
namespace detail {

bool split_setting_line(std::string_view line, std::string& name, std::string& value) {
  if (line.size() > 255) line = line.substr(0, 255);
  if (auto semi = line.find(';'); semi != std::string_view::npos) line = line.substr(0, semi);
  std::string s = text::DELRLSPC(line);
  auto eq = s.find('=');
  if (eq == std::string::npos || eq == 0) return false;
  name = text::DELRSPC(std::string_view(s).substr(0, eq));
  value = text::DELLSPC(std::string_view(s).substr(eq + 1));
  return !name.empty();
}

}  // namespace detail

namespace {

int32_t measure(const std::filesystem::path& sounds_dir, std::string_view fn) {
  auto file = existing_sound_file(sounds_dir, fn);
  std::error_code ec;
  if (!file) return 0;
  auto size = std::filesystem::file_size(*file, ec);
  if (ec) return 0;
  return size > INT32_MAX ? INT32_MAX : static_cast<int32_t>(size);
}

}  // namespace

void SoundList::READSOUNDSLIST(const std::filesystem::path& sounds_ini,
                               const std::filesystem::path& sounds_dir) {
  std::ifstream f(sounds_ini);
  std::string line, name, value;
  while (std::getline(f, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!detail::split_setting_line(line, name, value)) continue;
    int32_t sflen = measure(sounds_dir, value);
    std::string key = text::LOWCASESTR(name);
    if (key == "specialsound") {
      GETSNDFILEID(text::LOWCASESTR(value), sflen);
      continue;
    }
    if (value.empty() || !SNDTYPEFIND(name).empty() || sflen < 1) continue;
    types_.push_back({text::TRANSLATE(key), GETSNDFILEID(text::LOWCASESTR(value), sflen)});
  }
  types_.shrink_to_fit();
}

int32_t SoundList::GETSNDFILEID(std::string_view sf, int32_t sflen) {
  for (std::size_t i = 0; i < files_.size(); ++i) {
    if (files_[i].FN == sf) return static_cast<int32_t>(i);
  }
  files_.push_back({std::string(sf), sflen});
  return static_cast<int32_t>(files_.size() - 1);
}

const std::string& SoundList::SNDTYPEFIND(std::string_view t) const {
  static const std::string none;
  std::string key = text::LOWCASESTR(t);
  for (const SNDTYPEREC& r : types_) {
    if (r.TYP == key) return files_[static_cast<std::size_t>(r.SNDID)].FN;
  }
  return none;
}

}  // namespace orvela::sound
