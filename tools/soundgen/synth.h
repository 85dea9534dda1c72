#pragma once
// Building blocks of our synthesised sound set. Every sound is drawn into a
// circular buffer: whatever runs past the end continues at the start, and
// steady tones are tuned to a whole number of cycles per loop, so each file
// loops without a click however long the soundscape keeps it playing.
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace orvela::soundgen {

constexpr int kRate = 44100;
using Rng = std::mt19937;

class Loop {
 public:
  explicit Loop(double seconds);
  std::size_t size() const { return s_.size(); }
  double seconds() const { return static_cast<double>(s_.size()) / kRate; }
  // The nearest frequency that fits a whole number of cycles into the loop.
  double fit(double hz) const;
  // Adds v at sample `index`, wrapping around the loop.
  void add(long index, double v) { s_[wrap(index)] += v; }
  double at(long index) const { return s_[wrap(index)]; }
  std::vector<double>& samples() { return s_; }
  const std::vector<double>& samples() const { return s_; }

 private:
  std::size_t wrap(long i) const;
  std::vector<double> s_;
};

// A steady tone: a fundamental with overtones, optional tremolo. Frequencies
// are fitted to the loop.
struct Drone {
  double hz = 220;
  double amp = 0.3;
  std::vector<double> partials{1.0};  // amplitude of harmonic 1, 2, 3, ...
  int tremolo_cycles = 0;             // whole tremolo cycles per loop
  double tremolo_depth = 0;           // 0..1
};
void drone(Loop& loop, const Drone& d);

// Filtered noise: a two-pole band-pass (or low-pass when q is 0) whose output
// is made periodic by filtering the loop twice and keeping the second pass.
struct NoiseBed {
  double cutoff_hz = 800;
  double q = 0;  // 0 = low-pass
  double amp = 0.3;
  int swell_cycles = 0;  // slow loudness waves per loop
  double swell_depth = 0;
};
void noise_bed(Loop& loop, const NoiseBed& n, Rng& rng);

// One struck or plucked note: an FM pair (ratio, index) with an exponential
// decay. index 0 gives a plain sine with `partials`.
struct Note {
  double hz = 440;
  double amp = 0.3;
  double decay_s = 0.3;  // time constant of the amplitude decay
  double attack_s = 0.003;
  double fm_ratio = 0;
  double fm_index = 0;
  double length_s = 0;  // 0 = five decay constants
  std::vector<double> partials{1.0};
};
void note(Loop& loop, double start_s, const Note& n);

// A short noise burst through a band-pass: steps, clacks, knocks, rustles.
struct Burst {
  double centre_hz = 1000;
  double q = 1.5;
  double amp = 0.4;
  double decay_s = 0.03;
  double attack_s = 0.002;
};
void burst(Loop& loop, double start_s, const Burst& b, Rng& rng);

// A pitch glide (a bird chirp, a rising or falling blip).
struct Glide {
  double from_hz = 2000;
  double to_hz = 4000;
  double amp = 0.25;
  double length_s = 0.08;
};
void glide(Loop& loop, double start_s, const Glide& g);

// Scales the loop to a common loudness (the loud moments of every sound
// reach the same level) with the peaks kept below full scale, and converts
// it to 16-bit samples.
std::vector<int16_t> normalise(const Loop& loop);

}  // namespace orvela::soundgen
