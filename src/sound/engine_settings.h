#pragma once
// The engine's switches and factors; the settings files and the Sound menu
// change them, the engine reads them at every use.
#include <cstdint>
#include <filesystem>

namespace orvela::sound {

struct EngineSettings {
  uint8_t SOUNDSCAPERANGE = 10;         // cells around the user, 1..10
  uint8_t SOUNDDISTANCEFACTOR = 5;      // OpenAL units per cell, at least 1
  bool SOUNDBEHINDLOWER = true;         // sounds south of the user play lower
  bool SOUNDHRTFMODE = true;            // HRTF rendering requested
  bool SOUNDPLAYLOOPED = true;          // soundscape sources loop
  int32_t SOUNDDISTANCEMODEL = 0xD002;  // AL_INVERSE_DISTANCE_CLAMPED
  bool SOUNDMONO = false;               // distance only, no direction
  bool SOUNDSPEAKERSCHANGED = false;    // left and right exchanged

  // +1, or -1 with exchanged speakers; computed at each use so a switch
  // takes effect at the next update.
  int8_t SOUNDSPEAKERSCHANGEDFACTOR() const { return SOUNDSPEAKERSCHANGED ? -1 : 1; }
};

// Where the engine finds its files.
struct EnginePaths {
  std::filesystem::path sounds_dir;  // the folder "sounds" beside the program
  std::filesystem::path alsoft_ini;  // OpenAL Soft configuration we write (home folder)
  std::filesystem::path hrtf_dir;    // extra HRTF data sets (the folder "hrtf" beside the program)
};

}  // namespace orvela::sound
