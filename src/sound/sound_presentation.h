#pragma once
// The list of the sound presentation: every sound file by its translated
// name, special sounds first, then the sounds of object kinds, then the
// rest, each group in alphabetical order.
#include <cstdint>
#include <string>
#include <vector>

#include "sound/sound_list.h"

namespace orvela::sound {

struct SOUNDPRESENTATIONLISTREC {
  int32_t SOUNDFILEID = 0;  // index into SNDFILES
  std::string LOCNAMEUTF8;  // the translated file identifier
  uint8_t PRIORITY = 0;     // 0 before the kinds' sounds, 1 among them, 2 after
};

std::vector<SOUNDPRESENTATIONLISTREC> MAKESPLIST(const SoundList& list);

}  // namespace orvela::sound
