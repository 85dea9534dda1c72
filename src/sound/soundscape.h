#pragma once
// What the user hears around them: builds the engine's template from the
// cells near the user after every change, plays the step sound, the speaker
// test and the sound presentation, and carries out the switches of the Sound
// menu. It asks nothing and says nothing: the caller holds the dialogs and
// turns the results into words.
#include <cstdint>
#include <random>
#include <string>

#include "sound/audio_engine.h"
#include "sound/cells.h"
#include "sound/sound_list.h"
#include "sound/sound_presentation.h"

namespace orvela::sound {

class Soundscape {
 public:
  // With switches of its own (tests), or working on those the app holds.
  Soundscape(AudioEngine& engine, const SoundList& list)
      : Soundscape(engine, list, own_settings_) {}
  Soundscape(AudioEngine& engine, const SoundList& list, SoundscapeSettings& settings)
      : engine_(engine), list_(list), settings_(settings) {}
  Soundscape(const Soundscape&) = delete;
  Soundscape& operator=(const Soundscape&) = delete;

  SoundscapeSettings& settings() { return settings_; }
  const SoundscapeSettings& settings() const { return settings_; }
  bool CUROBJHASTAGS() const { return curobjhastags_; }
  int32_t LASTTAGOBJECTID() const { return lasttagobjectid_; }

  // SOUNDINIT on the device of the settings.
  InitResult start_engine() { return engine_.SOUNDINIT(engine_.settings().SOUNDDEVICENAME); }

  // Rebuilds and applies the soundscape around the user (nothing when muted).
  void SETSOUNDSCAPE(const Surroundings& s);
  void SETSOUNDFROMUDIR(int32_t udir);
  // The step sound, after a step from height level `oldhl` to `curhl`;
  // `ustep_pitch` tells the zoom level. Plays also while muted.
  void PLAYUSERSTEP(const SoundscapeCells& cells, double oldhl, double curhl, uint16_t ustep_pitch);
  // TESTSPEAKERS without its message: a long sound once on the left. The
  // caller says "No loaded sounds." for NoSounds.
  enum class SpeakerTest { NoSounds, NoLongSound, Played };
  SpeakerTest TESTSPEAKERS();

  // SOUNDPRESENTATION in three steps around the caller's list dialog: the
  // entries (the soundscape stops and stays quiet while the window is
  // away), each chosen entry played alone, and the soundscape back.
  std::vector<SOUNDPRESENTATIONLISTREC> start_presentation();
  void present(const SOUNDPRESENTATIONLISTREC& entry);
  void end_presentation(const Surroundings& s);

  // Reopens the engine on the device `devname` (kept in the settings for the
  // next start), unmuted.
  InitResult change_device(const std::string& devname);

  void SWITCHMUTE(const Surroundings& s);
  // Returns whether mono is now on.
  bool SWITCHMONO(const Surroundings& s);
  void SWITCHSOUNDBEHINDLOWER(const Surroundings& s);
  // Rewrites the OpenAL configuration and reopens the engine, unmuted.
  InitResult SWITCHSOUNDHRTFMODE(const Surroundings& s);
  // The caller asks "Exchange sound channels?" first.
  void SWITCHSOUNDSPEAKERS(const Surroundings& s);

 private:
  std::string cell_sound(const SoundCell& c, const SoundscapeCells& cells, uint8_t& vol) const;

  SoundscapeSettings own_settings_;
  AudioEngine& engine_;
  const SoundList& list_;
  SoundscapeSettings& settings_;
  bool curobjhastags_ = false;
  int32_t lasttagobjectid_ = 0;
  std::minstd_rand rng_{std::random_device{}()};
};

// Direction from the user's cell to cell (x, y), whole degrees clockwise
// from north (the grid's direction rule).
int32_t direction_to_cell(int32_t x, int32_t y);

}  // namespace orvela::sound
