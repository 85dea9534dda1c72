#include "sound/soundscape.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "text/numeric.h"
#include "text/translate.h"

namespace orvela::sound {
namespace {

constexpr uint8_t kBehindPitch = 89;

}  // namespace

int32_t direction_to_cell(int32_t x, int32_t y) {
  if (x == 0) return y >= 0 ? 0 : 180;
  if (y == 0) return x >= 0 ? 90 : 270;
  double deg = std::atan(static_cast<double>(x) / y) * 180.0 / std::numbers::pi;
  int32_t k = text::round_half_even_i32(deg);
  if (x < 0 && y < 0) k -= 180;
  if (x > 0 && y < 0) k += 180;
  return ((k % 360) + 360) % 360;
}

// The sound of one cell: a bookmark wins; then the object's kind from the
// sound list, intersections and addresses by their own keys; a kind without
// a sound falls back to the generic line, area or point sound.
std::string Soundscape::cell_sound(const SoundCell& c, const SoundscapeCells& cells,
                                   uint8_t& vol) const {
  vol = 100;
  if (c.bookmark != -1) return "user bookmark";
  if (c.object <= 0) return {};
  const map::ORVOBJREC& o = cells.object(c.object);
  char type = map::objtype_letter(o);
  std::string s;
  if (type == map::OBJTYPE_INTERSECTION)
    s = list_.SNDTYPEFIND("intersection");
  else if (type == map::OBJTYPE_ADDRESS)
    s = list_.SNDTYPEFIND("address");
  else
    s = list_.SNDTYPEFIND(o.TYP);
  if (s.empty()) {
    if (type == map::OBJTYPE_LINE)
      s = "other line";
    else if (type == map::OBJTYPE_POLYGON)
      s = "other area";
    else if (type == map::OBJTYPE_POI)
      s = "other point";
  }
  if (type == map::OBJTYPE_LINE)
    vol = settings_.LINIEVOL;
  else if (type == map::OBJTYPE_POLYGON)
    vol = settings_.OBSZARYVOL;
  return s;
}

void Soundscape::SETSOUNDSCAPE(const Surroundings& s) {
  if (settings_.SOUNDMUTED) return;
  engine_.SOUNDSETVOLUME(settings_.NORMALVOLUME);
  int32_t r = std::clamp<int32_t>(engine_.settings().SOUNDSCAPERANGE, 1, MAXSOUNDSCAPERANGE);
  for (int32_t x = -r; x <= r; ++x) {
    for (int32_t y = -r; y <= r; ++y) {
      uint8_t vol = 100;
      std::string snd = cell_sound(s.cells.GETMAPARELATIVE(x, y), s.cells, vol);
      uint8_t pitch = 100;
      if (!snd.empty() && engine_.settings().SOUNDBEHINDLOWER) {
        int32_t dir = direction_to_cell(x, y);
        if (dir > 90 && dir < 270) pitch = kBehindPitch;
      }
      engine_.SOUNDSCAPEBINDBUF(x, y, snd, vol, pitch);
    }
  }
  SETSOUNDFROMUDIR(s.UDIR);
  engine_.SOUNDSCAPEAPLY();
}

void Soundscape::SETSOUNDFROMUDIR(int32_t udir) {
  double rad = udir * std::numbers::pi / 180.0;
  engine_.SOUNDSETUORIENTATION(static_cast<float>(text::round_away(std::sin(rad), 2)),
                               static_cast<float>(text::round_away(std::cos(rad), 2)));
}

void Soundscape::PLAYUSERSTEP(const SoundscapeCells& cells, double oldhl, double curhl,
                              uint16_t ustep_pitch) {
  int32_t o = cells.GETMAPARELATIVE(0, 0).object;
  curobjhastags_ = o > 0 && cells.object(o).HASTAGS;
  std::string file;
  uint8_t gain;
  uint16_t pitch;
  if (curobjhastags_ && o != lasttagobjectid_) {
    // Entering an object with extra information replaces the step once.
    lasttagobjectid_ = o;
    file = "additional informations";
    gain = 70;
    pitch = 100;
  } else {
    if (o > 0) lasttagobjectid_ = o;
    file = "user move";
    if (oldhl < curhl) file += " up";
    if (oldhl > curhl) file += " down";
    gain = 50;
    pitch = ustep_pitch & 0xff;
  }
  if (settings_.SOUNDMUTED) engine_.SOUNDSTOPALL();
  engine_.SOUNDPLAY(0, 0, file, gain, pitch);
}

}  // namespace orvela::sound
