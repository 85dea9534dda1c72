#pragma once
// The sound set: one recipe per sound file identifier (the file name in the
// folder sounds, without ".wav").
#include <functional>
#include <string>
#include <vector>

#include "synth.h"

namespace orvela::soundgen {

struct Recipe {
  std::string name;
  double seconds;
  std::function<void(Loop&, Rng&)> draw;
};

const std::vector<Recipe>& recipes();

}  // namespace orvela::soundgen
