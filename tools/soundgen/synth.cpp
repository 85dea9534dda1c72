#include "synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvela::soundgen {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// RBJ biquad coefficients, normalised by a0.
struct Biquad {
  double b0, b1, b2, a1, a2;
  double z1 = 0, z2 = 0;
  double step(double x) {
    double y = b0 * x + z1;
    z1 = b1 * x - a1 * y + z2;
    z2 = b2 * x - a2 * y;
    return y;
  }
};

Biquad make_filter(double cutoff_hz, double q) {
  double w = kTwoPi * std::min(cutoff_hz, kRate * 0.45) / kRate;
  double cw = std::cos(w);
  double alpha = std::sin(w) / (2.0 * (q > 0 ? q : std::numbers::sqrt2 / 2));
  double a0 = 1 + alpha;
  if (q > 0) {  // band-pass, 0 dB peak
    return {alpha / a0, 0, -alpha / a0, -2 * cw / a0, (1 - alpha) / a0};
  }
  return {(1 - cw) / 2 / a0, (1 - cw) / a0, (1 - cw) / 2 / a0, -2 * cw / a0, (1 - alpha) / a0};
}

double envelope(double t, double attack, double decay) {
  if (t < attack) return t / attack;
  return std::exp(-(t - attack) / decay);
}

double window_rms(const std::vector<double>& s, std::size_t start, std::size_t len) {
  double sum = 0;
  for (std::size_t i = 0; i < len; ++i) {
    double v = s[(start + i) % s.size()];
    sum += v * v;
  }
  return std::sqrt(sum / static_cast<double>(len));
}

}  // namespace

Loop::Loop(double seconds) : s_(static_cast<std::size_t>(std::lround(seconds * kRate)), 0.0) {}

double Loop::fit(double hz) const {
  double cycles = std::max(1.0, std::round(hz * seconds()));
  return cycles / seconds();
}

std::size_t Loop::wrap(long i) const {
  long n = static_cast<long>(s_.size());
  return static_cast<std::size_t>(((i % n) + n) % n);
}

void drone(Loop& loop, const Drone& d) {
  double f = loop.fit(d.hz);
  double trem = d.tremolo_cycles / loop.seconds();
  for (std::size_t i = 0; i < loop.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    double v = 0;
    for (std::size_t k = 0; k < d.partials.size(); ++k) {
      v += d.partials[k] * std::sin(kTwoPi * f * static_cast<double>(k + 1) * t);
    }
    double gain = 1.0 - d.tremolo_depth * 0.5 * (1.0 - std::cos(kTwoPi * trem * t));
    loop.samples()[i] += d.amp * gain * v;
  }
}

void noise_bed(Loop& loop, const NoiseBed& n, Rng& rng) {
  std::uniform_real_distribution<double> white(-1.0, 1.0);
  std::vector<double> w(loop.size());
  for (double& v : w) v = white(rng);
  Biquad f = make_filter(n.cutoff_hz, n.q);
  for (double v : w) f.step(v);  // first pass only settles the filter state
  double swell = n.swell_cycles / loop.seconds();
  for (std::size_t i = 0; i < w.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    double gain = 1.0 - n.swell_depth * 0.5 * (1.0 - std::cos(kTwoPi * swell * t));
    loop.samples()[i] += n.amp * gain * f.step(w[i]);
  }
}

void note(Loop& loop, double start_s, const Note& n) {
  double length = n.length_s > 0 ? n.length_s : n.attack_s + 5 * n.decay_s;
  long start = std::lround(start_s * kRate);
  long count = std::lround(length * kRate);
  for (long i = 0; i < count; ++i) {
    double t = static_cast<double>(i) / kRate;
    double env = envelope(t, n.attack_s, n.decay_s);
    // Fade the last 5 ms so a note cut by its length never clicks.
    double tail = std::min(1.0, static_cast<double>(count - i) / (0.005 * kRate));
    double v = 0;
    if (n.fm_index > 0) {
      double mod = n.fm_index * env * std::sin(kTwoPi * n.hz * n.fm_ratio * t);
      v = std::sin(kTwoPi * n.hz * t + mod);
    } else {
      for (std::size_t k = 0; k < n.partials.size(); ++k) {
        v += n.partials[k] * std::sin(kTwoPi * n.hz * static_cast<double>(k + 1) * t);
      }
    }
    loop.add(start + i, n.amp * env * tail * v);
  }
}

void burst(Loop& loop, double start_s, const Burst& b, Rng& rng) {
  std::uniform_real_distribution<double> white(-1.0, 1.0);
  Biquad f = make_filter(b.centre_hz, b.q);
  long start = std::lround(start_s * kRate);
  long count = std::lround((b.attack_s + 6 * b.decay_s) * kRate);
  for (long i = 0; i < count; ++i) {
    double t = static_cast<double>(i) / kRate;
    double tail = std::min(1.0, static_cast<double>(count - i) / (0.003 * kRate));
    loop.add(start + i, b.amp * envelope(t, b.attack_s, b.decay_s) * tail * f.step(white(rng)));
  }
}

void glide(Loop& loop, double start_s, const Glide& g) {
  long start = std::lround(start_s * kRate);
  long count = std::lround(g.length_s * kRate);
  double phase = 0;
  for (long i = 0; i < count; ++i) {
    double x = static_cast<double>(i) / static_cast<double>(count);
    double hz = g.from_hz * std::pow(g.to_hz / g.from_hz, x);
    phase += kTwoPi * hz / kRate;
    double env = std::sin(std::numbers::pi * x);  // smooth rise and fall
    loop.add(start + i, g.amp * env * env * std::sin(phase));
  }
}

std::vector<int16_t> normalise(const Loop& loop) {
  const auto& s = loop.samples();
  // Loudness: the 90th percentile of 100 ms window levels, so a sparse
  // sound (a chime every second) is judged by its chimes, not its silence.
  std::size_t win = kRate / 10;
  std::vector<double> levels;
  for (std::size_t start = 0; start < s.size(); start += win / 2) {
    levels.push_back(window_rms(s, start, win));
  }
  std::sort(levels.begin(), levels.end());
  double loud = levels[levels.size() * 9 / 10];
  double peak = 0;
  for (double v : s) peak = std::max(peak, std::abs(v));
  constexpr double kTargetRms = 0.18;  // about -15 dBFS
  constexpr double kMaxPeak = 0.89;    // about -1 dBFS
  double gain = 0;
  if (loud > 0 && peak > 0) gain = std::min(kTargetRms / loud, kMaxPeak / peak);
  std::vector<int16_t> out(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    out[i] = static_cast<int16_t>(std::lround(std::clamp(s[i] * gain, -1.0, 1.0) * 32767.0));
  }
  return out;
}

}  // namespace orvela::soundgen
