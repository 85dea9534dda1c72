#include "recipes.h"

#include <cmath>

namespace orvela::soundgen {
namespace {

// Musical helpers: equal temperament from A4.
double midi(double n) { return 440.0 * std::pow(2.0, (n - 69.0) / 12.0); }

Note bell(double hz, double amp, double decay) {
  return Note{.hz = hz, .amp = amp, .decay_s = decay, .fm_ratio = 1.4, .fm_index = 2.0};
}
Note chime(double hz, double amp, double decay) {
  return Note{.hz = hz, .amp = amp, .decay_s = decay, .partials = {1.0, 0.0, 0.25, 0.0, 0.08}};
}
Note mallet(double hz, double amp) {
  return Note{.hz = hz, .amp = amp, .decay_s = 0.12, .fm_ratio = 4.0, .fm_index = 1.2};
}
Note pluck(double hz, double amp) {
  return Note{.hz = hz, .amp = amp, .decay_s = 0.18, .partials = {1.0, 0.5, 0.25, 0.12}};
}

// Traffic: a bed of low noise with cars passing (slow swells). Bigger roads
// are lower, denser and steadier.
void traffic(Loop& l, Rng& r, double cutoff, int passes, double depth) {
  noise_bed(l, {.cutoff_hz = cutoff, .amp = 0.5, .swell_cycles = passes, .swell_depth = depth}, r);
  noise_bed(l,
            {.cutoff_hz = cutoff * 3,
             .q = 0.7,
             .amp = 0.12,
             .swell_cycles = passes * 2,
             .swell_depth = 0.8},
            r);
}

void steps(Loop& l, Rng& r, double every, double centre, double amp) {
  for (double t = 0; t < l.seconds() - 1e-9; t += every) {
    burst(l, t, {.centre_hz = centre, .q = 1.2, .amp = amp, .decay_s = 0.025}, r);
    burst(l, t + 0.03, {.centre_hz = centre * 2.2, .q = 2.0, .amp = amp * 0.4, .decay_s = 0.015},
          r);
  }
}

void chirps(Loop& l, Rng& r, int count, double low, double high) {
  std::uniform_real_distribution<double> at(0, l.seconds());
  std::uniform_real_distribution<double> f(low, high);
  for (int i = 0; i < count; ++i) {
    double t = at(r), f0 = f(r);
    for (int k = 0; k < 3; ++k) {
      glide(l, t + k * 0.09, {.from_hz = f0, .to_hz = f0 * 1.5, .amp = 0.3, .length_s = 0.06});
    }
  }
}

void melody(Loop& l, const std::vector<double>& notes, double gap, double amp,
            Note (*make)(double, double)) {
  for (std::size_t i = 0; i < notes.size(); ++i)
    note(l, static_cast<double>(i) * gap, make(midi(notes[i]), amp));
}

Note mallet_note(double hz, double amp) { return mallet(hz, amp); }
Note pluck_note(double hz, double amp) { return pluck(hz, amp); }
Note chime_note(double hz, double amp) { return chime(hz, amp, 0.4); }
Note bell_note(double hz, double amp) { return bell(hz, amp, 0.5); }

std::vector<Recipe> build() {
  std::vector<Recipe> v;
  // Special sounds, looked up by name.
  v.push_back({"user bookmark", 2.0, [](Loop& l, Rng&) {
                 melody(l, {84, 88, 91, 96}, 0.11, 0.3, bell_note);
               }});
  v.push_back({"other line", 2.0, [](Loop& l, Rng&) {
                 drone(l, {.hz = 196,
                           .amp = 0.3,
                           .partials = {1, 0.3, 0.1},
                           .tremolo_cycles = 4,
                           .tremolo_depth = 0.6});
               }});
  v.push_back({"other point", 1.5, [](Loop& l, Rng&) {
                 note(l, 0.0, pluck(midi(72), 0.4));
                 note(l, 0.75, pluck(midi(72), 0.3));
               }});
  v.push_back({"other area", 3.0, [](Loop& l, Rng&) {
                 for (double n : {57.0, 60.0, 64.0}) {
                   drone(l, {.hz = midi(n),
                             .amp = 0.12,
                             .partials = {1, 0.2},
                             .tremolo_cycles = 2,
                             .tremolo_depth = 0.4});
                 }
               }});
  v.push_back({"user move", 0.25, [](Loop& l, Rng& r) {
                 burst(l, 0.0, {.centre_hz = 900, .q = 1.0, .amp = 0.6, .decay_s = 0.02}, r);
               }});
  v.push_back({"user move up", 0.3, [](Loop& l, Rng& r) {
                 burst(l, 0.0, {.centre_hz = 900, .q = 1.0, .amp = 0.4, .decay_s = 0.02}, r);
                 glide(l, 0.03, {.from_hz = 500, .to_hz = 1100, .amp = 0.4, .length_s = 0.15});
               }});
  v.push_back({"user move down", 0.3, [](Loop& l, Rng& r) {
                 burst(l, 0.0, {.centre_hz = 900, .q = 1.0, .amp = 0.4, .decay_s = 0.02}, r);
                 glide(l, 0.03, {.from_hz = 1100, .to_hz = 500, .amp = 0.4, .length_s = 0.15});
               }});
  v.push_back({"additional informations", 1.0, [](Loop& l, Rng&) {
                 melody(l, {79, 83, 86}, 0.09, 0.3, chime_note);
               }});
  // The homing beacon: two clear pings a second whose pitch, which rises as
  // the user faces the beacon, is easy to follow; the overtones let the ear
  // tell where it comes from.
  v.push_back({"beacon", 1.0, [](Loop& l, Rng&) {
                 for (double at : {0.0, 0.5}) {
                   note(l, at,
                        Note{.hz = midi(81),
                             .amp = 0.5,
                             .decay_s = 0.09,
                             .partials = {1.0, 0.45, 0.25, 0.12}});
                 }
               }});
  // Roads by class: lower and steadier the bigger the road.
  v.push_back({"road motorway", 3.0, [](Loop& l, Rng& r) { traffic(l, r, 250, 2, 0.3); }});
  v.push_back({"road arterial", 3.0, [](Loop& l, Rng& r) { traffic(l, r, 400, 3, 0.5); }});
  v.push_back({"road main", 3.0, [](Loop& l, Rng& r) { traffic(l, r, 550, 3, 0.6); }});
  v.push_back({"road local", 3.0, [](Loop& l, Rng& r) { traffic(l, r, 800, 2, 0.85); }});
  v.push_back({"road service", 2.0, [](Loop& l, Rng& r) {
                 noise_bed(
                     l, {.cutoff_hz = 1200, .amp = 0.2, .swell_cycles = 1, .swell_depth = 0.7}, r);
                 steps(l, r, 0.5, 600, 0.3);
               }});
  v.push_back({"road track", 2.0, [](Loop& l, Rng& r) {  // gravel crunch
                 for (int i = 0; i < 4; ++i) {
                   for (int k = 0; k < 6; ++k) {
                     burst(l, i * 0.5 + k * 0.012,
                           {.centre_hz = 2500, .q = 0.8, .amp = 0.25, .decay_s = 0.008}, r);
                   }
                 }
               }});
  v.push_back({"footpath", 2.0, [](Loop& l, Rng& r) { steps(l, r, 0.5, 350, 0.5); }});
  v.push_back({"cycleway", 2.0, [](Loop& l, Rng& r) {  // freewheel ticks and a bell
                 for (double t = 0; t < 1.99; t += 0.05) {
                   burst(l, t, {.centre_hz = 5000, .q = 3.0, .amp = 0.15, .decay_s = 0.003}, r);
                 }
                 note(l, 1.0, bell(midi(93), 0.25, 0.3));
               }});
  v.push_back({"steps", 1.6, [](Loop& l, Rng& r) {
                 for (int i = 0; i < 4; ++i) {
                   burst(l, i * 0.4,
                         {.centre_hz = 300.0 + 80 * i, .q = 1.2, .amp = 0.5, .decay_s = 0.03}, r);
                 }
               }});
  v.push_back({"crossing", 1.0, [](Loop& l, Rng& r) {  // the accessible signal's tick
                 for (int i = 0; i < 4; ++i) {
                   burst(l, i * 0.25, {.centre_hz = 1800, .q = 6.0, .amp = 0.6, .decay_s = 0.008},
                         r);
                 }
               }});
  v.push_back({"tram", 3.0, [](Loop& l, Rng&) {
                 drone(l, {.hz = 100,
                           .amp = 0.2,
                           .partials = {1, 0.5, 0.3, 0.2},
                           .tremolo_cycles = 1,
                           .tremolo_depth = 0.5});
                 note(l, 0.4, bell(midi(79), 0.3, 0.25));
                 note(l, 0.7, bell(midi(79), 0.3, 0.25));
               }});
  v.push_back({"railway", 2.0, [](Loop& l, Rng& r) {  // wheels over rail joints
                 for (double t : {0.0, 0.15, 1.0, 1.15}) {
                   burst(l, t, {.centre_hz = 500, .q = 2.0, .amp = 0.6, .decay_s = 0.04}, r);
                   burst(l, t + 0.01, {.centre_hz = 3000, .q = 4.0, .amp = 0.2, .decay_s = 0.01},
                         r);
                 }
                 noise_bed(l, {.cutoff_hz = 300, .amp = 0.12}, r);
               }});
  v.push_back({"bus stop", 2.0, [](Loop& l, Rng&) { melody(l, {76, 72}, 0.3, 0.3, chime_note); }});
  v.push_back({"tram stop", 2.0, [](Loop& l, Rng&) {
                 melody(l, {72, 76, 79}, 0.2, 0.3, chime_note);
               }});
  v.push_back({"station", 3.0, [](Loop& l, Rng&) {
                 melody(l, {67, 72, 76, 72}, 0.35, 0.3, chime_note);
               }});
  v.push_back(
      {"water", 2.0, [](Loop& l, Rng& r) {  // a babbling stream
         noise_bed(l,
                   {.cutoff_hz = 1500, .q = 0.6, .amp = 0.3, .swell_cycles = 5, .swell_depth = 0.4},
                   r);
         std::uniform_real_distribution<double> at(0, 2.0), f(500, 1200);
         for (int i = 0; i < 14; ++i) {
           double f0 = f(r);
           glide(l, at(r), {.from_hz = f0, .to_hz = f0 * 1.8, .amp = 0.2, .length_s = 0.03});
         }
       }});
  v.push_back({"lake", 4.0, [](Loop& l, Rng& r) {  // slow waves on a shore
                 noise_bed(l, {.cutoff_hz = 600, .amp = 0.5, .swell_cycles = 2, .swell_depth = 0.9},
                           r);
               }});
  v.push_back({"park", 3.0, [](Loop& l, Rng& r) {
                 noise_bed(l, {.cutoff_hz = 3000, .q = 0.5, .amp = 0.04}, r);
                 chirps(l, r, 4, 2500, 4000);
               }});
  v.push_back(
      {"forest", 4.0, [](Loop& l, Rng& r) {  // wind in leaves, a distant bird
         noise_bed(l,
                   {.cutoff_hz = 2000, .q = 0.4, .amp = 0.3, .swell_cycles = 1, .swell_depth = 0.6},
                   r);
         glide(l, 1.0, {.from_hz = 1400, .to_hz = 1100, .amp = 0.2, .length_s = 0.25});
         glide(l, 1.35, {.from_hz = 1400, .to_hz = 1000, .amp = 0.2, .length_s = 0.35});
       }});
  v.push_back({"grass", 2.0, [](Loop& l, Rng&) {  // crickets
                 for (double t = 0; t < 1.99; t += 0.5) {
                   for (int k = 0; k < 4; ++k) {
                     note(l, t + k * 0.035,
                          Note{.hz = 4200, .amp = 0.2, .decay_s = 0.006, .attack_s = 0.002});
                   }
                 }
               }});
  v.push_back(
      {"field", 3.0, [](Loop& l, Rng& r) {
         noise_bed(
             l, {.cutoff_hz = 900, .q = 0.5, .amp = 0.2, .swell_cycles = 1, .swell_depth = 0.8}, r);
         chirps(l, r, 2, 5000, 6000);
       }});
  v.push_back({"building", 2.0, [](Loop& l, Rng&) {  // a warm, low room tone
                 drone(l, {.hz = midi(45),
                           .amp = 0.25,
                           .partials = {1, 0.4, 0.2},
                           .tremolo_cycles = 1,
                           .tremolo_depth = 0.3});
                 drone(l, {.hz = midi(52), .amp = 0.12, .partials = {1, 0.2}});
               }});
  v.push_back({"residential", 3.0, [](Loop& l, Rng& r) {
                 drone(l, {.hz = midi(48),
                           .amp = 0.15,
                           .partials = {1, 0.3},
                           .tremolo_cycles = 1,
                           .tremolo_depth = 0.4});
                 note(l, 1.5, Note{.hz = midi(67), .amp = 0.15, .decay_s = 0.6});
                 noise_bed(l, {.cutoff_hz = 700, .amp = 0.05}, r);
               }});
  v.push_back({"industrial", 2.0, [](Loop& l, Rng& r) {  // machine rhythm
                 drone(l, {.hz = 60, .amp = 0.2, .partials = {1, 0.6, 0.4, 0.3}});
                 for (double t : {0.0, 0.5, 1.0, 1.5}) {
                   burst(l, t, {.centre_hz = 200, .q = 3.0, .amp = 0.5, .decay_s = 0.05}, r);
                 }
               }});
  v.push_back({"shop", 2.0, [](Loop& l, Rng&) {  // a shop-door bell
                 note(l, 0.0, bell(midi(88), 0.3, 0.2));
                 note(l, 0.12, bell(midi(84), 0.3, 0.3));
               }});
  v.push_back(
      {"food", 2.0, [](Loop& l, Rng&) {  // glasses touching
         note(l, 0.0, Note{.hz = midi(96), .amp = 0.25, .decay_s = 0.25, .partials = {1, 0, 0.4}});
         note(l, 0.08, Note{.hz = midi(98), .amp = 0.2, .decay_s = 0.25, .partials = {1, 0, 0.4}});
       }});
  v.push_back({"amenity", 1.5, [](Loop& l, Rng&) { melody(l, {69, 74}, 0.2, 0.4, mallet_note); }});
  v.push_back({"education", 2.0, [](Loop& l, Rng&) {
                 melody(l, {72, 74, 76, 79, 81}, 0.13, 0.35, mallet_note);
               }});
  v.push_back({"health", 2.0, [](Loop& l, Rng&) {
                 note(l, 0.0, Note{.hz = midi(81), .amp = 0.3, .decay_s = 0.1, .length_s = 0.15});
                 note(l, 0.25, Note{.hz = midi(76), .amp = 0.3, .decay_s = 0.1, .length_s = 0.15});
               }});
  v.push_back({"worship", 4.0, [](Loop& l, Rng&) { note(l, 0.0, bell(midi(55), 0.4, 1.0)); }});
  v.push_back({"tourism", 2.0, [](Loop& l, Rng&) {
                 melody(l, {74, 78, 81}, 0.15, 0.35, pluck_note);
               }});
  v.push_back(
      {"sport", 2.0, [](Loop& l, Rng& r) {  // a bouncing ball
         double t = 0, gap = 0.4;
         for (int i = 0; i < 6; ++i, t += gap, gap *= 0.7) {
           burst(l, t, {.centre_hz = 250, .q = 2.0, .amp = 0.5 * std::pow(0.8, i), .decay_s = 0.03},
                 r);
         }
       }});
  v.push_back({"parking", 2.0, [](Loop& l, Rng&) {
                 drone(l, {.hz = midi(40),
                           .amp = 0.2,
                           .partials = {1, 0.5, 0.3},
                           .tremolo_cycles = 2,
                           .tremolo_depth = 0.9});
               }});
  v.push_back({"fuel", 2.0, [](Loop& l, Rng&) {
                 drone(l, {.hz = midi(64),
                           .amp = 0.12,
                           .partials = {1, 0.5},
                           .tremolo_cycles = 8,
                           .tremolo_depth = 0.8});
               }});
  v.push_back(
      {"bridge", 2.0, [](Loop& l, Rng&) {  // a hollow wooden knock
         note(l, 0.0, Note{.hz = 180, .amp = 0.5, .decay_s = 0.08, .partials = {1, 0.6, 0, 0.3}});
         note(l, 0.2, Note{.hz = 170, .amp = 0.4, .decay_s = 0.08, .partials = {1, 0.6, 0, 0.3}});
       }});
  v.push_back({"barrier", 1.5, [](Loop& l, Rng&) { note(l, 0.0, mallet(midi(60), 0.4)); }});
  v.push_back(
      {"river", 4.0, [](Loop& l, Rng& r) {  // a broad, deep flow
         noise_bed(l,
                   {.cutoff_hz = 450, .q = 0.5, .amp = 0.5, .swell_cycles = 3, .swell_depth = 0.35},
                   r);
         noise_bed(l,
                   {.cutoff_hz = 1800, .q = 1.0, .amp = 0.1, .swell_cycles = 7, .swell_depth = 0.7},
                   r);
       }});
  v.push_back(
      {"fountain", 2.0, [](Loop& l, Rng& r) {  // splashing, bright
         noise_bed(l,
                   {.cutoff_hz = 4000, .q = 0.7, .amp = 0.3, .swell_cycles = 8, .swell_depth = 0.5},
                   r);
         std::uniform_real_distribution<double> at(0, 2.0);
         for (int i = 0; i < 20; ++i)
           burst(l, at(r), {.centre_hz = 2500, .q = 3.0, .amp = 0.15, .decay_s = 0.01}, r);
       }});
  v.push_back({"playground", 2.0, [](Loop& l, Rng&) {  // a swing's creak up and down
                 glide(l, 0.0, {.from_hz = 700, .to_hz = 900, .amp = 0.3, .length_s = 0.4});
                 glide(l, 1.0, {.from_hz = 900, .to_hz = 700, .amp = 0.3, .length_s = 0.4});
               }});
  v.push_back({"intersection", 1.0, [](Loop& l, Rng& r) {  // two woodblock knocks
                 burst(l, 0.0, {.centre_hz = 1100, .q = 8.0, .amp = 0.7, .decay_s = 0.02}, r);
                 burst(l, 0.15, {.centre_hz = 900, .q = 8.0, .amp = 0.7, .decay_s = 0.02}, r);
               }});
  v.push_back({"address", 1.5, [](Loop& l, Rng&) { note(l, 0.0, pluck(midi(84), 0.3)); }});
  v.push_back({"place", 3.0, [](Loop& l, Rng&) { melody(l, {60, 67, 72}, 0.25, 0.3, bell_note); }});
  return v;
}

}  // namespace

const std::vector<Recipe>& recipes() {
  static const std::vector<Recipe> all = build();
  return all;
}

}  // namespace orvela::soundgen
