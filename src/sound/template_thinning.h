#pragma once
#include <cstdint>

#include "sound/sound_types.h"

namespace orvela::sound {

// Thins the template in place so the inside of a long run or a filled area
// of one sound keeps only its edges: a cell is silenced when both its
// neighbours along one line (west-east, south-north, then the two diagonals)
// carry its own sound. Cells are cleared while scanning, so a cleared cell no
// longer counts as an equal neighbour. The row and column through the user
// (X = 0 or Y = 0) keep every cell, so the user always hears what they
// stand in line with. `range` is the soundscape range (1..10).
void SOUNDSCAPEOPTIMIZE(SoundscapeTemplate& tpl, int32_t range);

}  // namespace orvela::sound
