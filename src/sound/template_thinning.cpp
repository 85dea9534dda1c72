#include "sound/template_thinning.h"

namespace orvela::sound {
namespace {

bool same_line(const SoundscapeTemplate& t, int32_t x, int32_t y, int32_t dx, int32_t dy) {
  const std::string& name = t.at(x, y).FNAME;
  return t.at(x - dx, y - dy).FNAME == name && t.at(x + dx, y + dy).FNAME == name;
}

}  // namespace

void SOUNDSCAPEOPTIMIZE(SoundscapeTemplate& tpl, int32_t range) {
  int32_t r = range < 1 ? 1 : (range > MAXSOUNDSCAPERANGE ? MAXSOUNDSCAPERANGE : range);
  for (int32_t x = -(r - 1); x <= r - 1; ++x) {
    for (int32_t y = -(r - 1); y <= r - 1; ++y) {
      if (x == 0 || y == 0) continue;
      SOUNDSCAPETEMPLATE& cell = tpl.at(x, y);
      if (cell.FNAME.empty()) continue;
      if (same_line(tpl, x, y, 1, 0) || same_line(tpl, x, y, 0, 1) || same_line(tpl, x, y, 1, 1) ||
          same_line(tpl, x, y, 1, -1)) {
        cell.FNAME.clear();
      }
    }
  }
}

}  // namespace orvela::sound
