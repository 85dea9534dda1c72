#pragma once
// The sound's switches, volumes and factors, kept once: the settings files
// read and write them, the Sound menu flips them, and the engine and the
// soundscape read them at every use. The app holds one SoundSettings for the
// whole run and hands the engine and the soundscape their parts.
#include <AL/al.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace orvela::sound {

struct EngineSettings {
  uint8_t SOUNDSCAPERANGE = 10;     // cells around the user, 1..10
  uint8_t SOUNDDISTANCEFACTOR = 5;  // OpenAL units per cell, at least 1
  bool SOUNDBEHINDLOWER = true;     // sounds south of the user play lower
  bool SOUNDHRTFMODE = true;        // HRTF rendering requested
  bool SOUNDPLAYLOOPED = true;      // soundscape sources loop
  int32_t SOUNDDISTANCEMODEL = AL_INVERSE_DISTANCE_CLAMPED;
  bool SOUNDMONO = false;             // distance only, no direction
  bool SOUNDSPEAKERSCHANGED = false;  // left and right exchanged
  // The playback device to open; empty: the system's default.
  std::string SOUNDDEVICENAME;

  // +1, or -1 with exchanged speakers; computed at each use so a switch
  // takes effect at the next update.
  int8_t SOUNDSPEAKERSCHANGEDFACTOR() const { return SOUNDSPEAKERSCHANGED ? -1 : 1; }
};

struct SoundscapeSettings {
  bool SOUNDMUTED = false;
  // Stop the soundscape while the window is away (not a saved setting: the
  // sound presentation switches it off while it plays).
  bool SOUNDMUTEONKILLFOCUS = true;
  uint8_t NORMALVOLUME = 20;  // master volume of every soundscape update
  uint8_t LINIEVOL = 70;      // gain of line objects
  uint8_t OBSZARYVOL = 40;    // gain of area objects
};

struct SoundSettings {
  EngineSettings engine;
  SoundscapeSettings scape;
};

// Where the engine finds its files.
struct EnginePaths {
  std::filesystem::path sounds_dir;  // the folder "sounds" beside the program
  std::filesystem::path alsoft_ini;  // OpenAL Soft configuration we write (home folder)
  std::filesystem::path hrtf_dir;    // extra HRTF data sets (the folder "hrtf" beside the program)
};

}  // namespace orvela::sound
