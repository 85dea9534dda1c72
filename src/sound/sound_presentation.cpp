#include "sound/sound_presentation.h"

#include <algorithm>

#include "text/translate.h"

namespace orvela::sound {
namespace {

// Case-insensitive for ASCII letters, byte order otherwise.
bool greater_ci(const std::string& a, const std::string& b) {
  auto low = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
  return std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                      [&](char x, char y) { return low(x) < low(y); });
}

uint8_t group_of(int32_t id, const SoundList& list) {
  const auto& types = list.SNDTYPES();
  if (types.empty()) return 0;
  if (id < types.front().SNDID) return 0;
  if (id > types.back().SNDID) return 2;
  return 1;
}

}  // namespace

std::vector<SOUNDPRESENTATIONLISTREC> MAKESPLIST(const SoundList& list) {
  std::vector<SOUNDPRESENTATIONLISTREC> v;
  for (std::size_t i = 0; i < list.SNDFILES().size(); ++i) {
    auto id = static_cast<int32_t>(i);
    v.push_back({id, text::TRANSLATE(list.SNDFILES()[i].FN), group_of(id, list)});
  }
  // Only neighbours of one group are swapped, so the groups keep their
  // places and each is sorted within itself.
  std::size_t i = 0;
  while (i + 1 < v.size()) {
    if (v[i].PRIORITY == v[i + 1].PRIORITY && greater_ci(v[i].LOCNAMEUTF8, v[i + 1].LOCNAMEUTF8)) {
      std::swap(v[i], v[i + 1]);
      if (i > 0) --i;
    } else {
      ++i;
    }
  }
  return v;
}

}  // namespace orvela::sound
