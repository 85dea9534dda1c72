#pragma once
// The engine's fixed tables: buffer slots, source slots and the soundscape
// template the builder fills around the user.
#include <array>
#include <cstdint>
#include <string>

namespace orvela::sound {

inline constexpr uint16_t MAXSOUNDBUFS = 892;
inline constexpr uint16_t MAXSOUNDSRC = 451;
inline constexpr int32_t MAXSOUNDSCAPERANGE = 10;

// One buffer slot. FNAME is the sound file identifier; empty when free.
struct SOUNDBUF {
  uint32_t SIZE = 0;
  uint32_t FREQ = 0;
  std::string FNAME;
  uint32_t ID = 0;
  bool LOADED = false;
};

// One source slot. PLAYING means the engine started it and has not stopped
// it since, whether or not OpenAL has finished playing a single sound.
struct SOUNDSOURCE {
  bool PLAYING = false;
  uint16_t BINDBUFNUM = 0;  // 0 = no buffer
  uint32_t ID = 0;
};

// One cell of the template: which file plays there, at what gain and pitch.
struct SOUNDSCAPETEMPLATE {
  std::string FNAME;  // empty = silent
  uint8_t VOLPERC = 0;
  uint8_t PITCHPERC = 0;
};

// The 21 x 21 template, indexed -10..10 on both axes (X east, Y north of the
// user's cell).
class SoundscapeTemplate {
 public:
  static constexpr int32_t SIDE = 2 * MAXSOUNDSCAPERANGE + 1;

  static bool contains(int32_t x, int32_t y) {
    return x >= -MAXSOUNDSCAPERANGE && x <= MAXSOUNDSCAPERANGE && y >= -MAXSOUNDSCAPERANGE &&
           y <= MAXSOUNDSCAPERANGE;
  }
  // Callers keep x and y within -10..10 (see contains()).
  SOUNDSCAPETEMPLATE& at(int32_t x, int32_t y) { return cells_[index(x, y)]; }
  const SOUNDSCAPETEMPLATE& at(int32_t x, int32_t y) const { return cells_[index(x, y)]; }

 private:
  static std::size_t index(int32_t x, int32_t y) {
    return static_cast<std::size_t>((x + MAXSOUNDSCAPERANGE) * SIDE + (y + MAXSOUNDSCAPERANGE));
  }
  std::array<SOUNDSCAPETEMPLATE, SIDE * SIDE> cells_{};
};

}  // namespace orvela::sound
