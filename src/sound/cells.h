#pragma once
// What the soundscape reads of the map around the user: per cell, the
// object drawn there and the bookmark standing there. The app adapts the
// grid and the bookmark list to this (see GridCells).
#include <cstdint>

#include "map/orvobj.h"

namespace orvela::sound {

struct SoundCell {
  int32_t object = 0;     // index of the object drawn there; 0 or less: none
  int32_t bookmark = -1;  // the bookmark standing there; -1: none
};

class SoundscapeCells {
 public:
  virtual ~SoundscapeCells() = default;
  // The cell at the user's position plus (relx, rely): relx east, rely north.
  virtual SoundCell GETMAPARELATIVE(int32_t relx, int32_t rely) const = 0;
  // The object with index `i` (> 0, as GETMAPARELATIVE gave it).
  virtual const map::ORVOBJREC& object(int32_t i) const = 0;
};

// The user as the soundscape needs them.
struct Surroundings {
  const SoundscapeCells& cells;
  int32_t UDIR = 0;  // heading, whole degrees clockwise from north
};

}  // namespace orvela::sound
