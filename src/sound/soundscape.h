#pragma once
// What the user hears around them: builds the engine's template from the
// cells near the user after every change, plays the step sound, the speaker
// test and the sound presentation, and holds the switches of the Sound menu.
#include <cstdint>
#include <random>
#include <string>

#include "sound/audio_engine.h"
#include "sound/cells.h"
#include "sound/sound_list.h"
#include "text/messages.h"
#include "ui/ui.h"

namespace orvela::sound {

struct SoundscapeSettings {
  bool SOUNDMUTED = false;
  bool SOUNDMUTEONKILLFOCUS = true;
  uint8_t NORMALVOLUME = 20;  // master volume of every soundscape update
  uint8_t LINIEVOL = 70;      // gain of line objects
  uint8_t OBSZARYVOL = 40;    // gain of area objects
};

class Soundscape {
 public:
  Soundscape(AudioEngine& engine, const SoundList& list) : engine_(engine), list_(list) {}

  SoundscapeSettings& settings() { return settings_; }
  const SoundscapeSettings& settings() const { return settings_; }
  bool CUROBJHASTAGS() const { return curobjhastags_; }
  int32_t LASTTAGOBJECTID() const { return lasttagobjectid_; }

  // SOUNDINIT with its failures shown: "Can not create alsoft.ini", "Can not
  // initialize sound".
  InitResult start_engine(ui::Ui& ui, const std::string& devname);

  // Rebuilds and applies the soundscape around the user (nothing when muted).
  void SETSOUNDSCAPE(const Surroundings& s);
  void SETSOUNDFROMUDIR(int32_t udir);
  // The step sound, after a step from height level `oldhl` to `curhl`;
  // `ustep_pitch` tells the zoom level. Plays also while muted.
  void PLAYUSERSTEP(const SoundscapeCells& cells, double oldhl, double curhl, uint16_t ustep_pitch);
  // A long sound once on the left; says "No loaded sounds." when the sound
  // list names no file at all.
  void TESTSPEAKERS(ui::Ui& ui);
  // The speaker test without the message: what it did.
  enum class SpeakerTest { NoSounds, NoLongSound, Played };
  SpeakerTest play_speaker_test();
  // Lets the user hear every sound file by name.
  void SOUNDPRESENTATION(ui::Ui& ui, const Surroundings& s);
  // Lets the user pick the output device, then reopens the engine on it.
  void SELECTSOUNDDEVICE(ui::Ui& ui);

  void SWITCHMUTE(const Surroundings& s);
  void SWITCHMONO(text::Messages& msg, const Surroundings& s);
  void SWITCHSOUNDBEHINDLOWER(const Surroundings& s);
  void SWITCHSOUNDHRTFMODE(ui::Ui& ui, const Surroundings& s);
  void SWITCHSOUNDSPEAKERS(ui::Ui& ui, const Surroundings& s);

 private:
  std::string cell_sound(const SoundCell& c, const SoundscapeCells& cells, uint8_t& vol) const;

  AudioEngine& engine_;
  const SoundList& list_;
  SoundscapeSettings settings_;
  bool curobjhastags_ = false;
  int32_t lasttagobjectid_ = 0;
  std::minstd_rand rng_{std::random_device{}()};
};

// Direction from the user's cell to cell (x, y), whole degrees clockwise
// from north (the grid's direction rule).
int32_t direction_to_cell(int32_t x, int32_t y);

}  // namespace orvela::sound
