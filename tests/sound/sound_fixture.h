#pragma once
// Shared pieces of the sound tests: sound folders with WAV files written on
// the spot, a small map neighbourhood for the soundscape, and a look at what
// OpenAL is really playing.
#include <AL/al.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "map/grid.h"
#include "map/user.h"
#include "sound/audio_engine.h"
#include "sound/cells.h"
#include "sound/grid_cells.h"
#include "support/test_env.h"

namespace orvela::sound::test {

// Raw bytes of a WAV file with the given header fields, so broken files can
// be written as easily as good ones.
struct WavLayout {
  uint16_t channels = 1;
  uint16_t bits = 16;
  uint16_t format = 1;
  uint32_t fmt_size = 16;
  uint32_t rate = 44100;
  std::vector<int16_t> samples = std::vector<int16_t>(4410, 1000);
  int64_t claimed_data = -1;  // DATASIZE in the header; -1 = the real size
  int64_t cut_to = -1;        // file truncated to this many bytes; -1 = whole
};

inline std::string wav_bytes(const WavLayout& w) {
  std::string b;
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(char((v >> (8 * i)) & 0xff));
  };
  auto u16 = [&](uint16_t v) {
    b.push_back(char(v & 0xff));
    b.push_back(char(v >> 8));
  };
  uint32_t data = static_cast<uint32_t>(w.samples.size() * 2);
  uint32_t claimed = w.claimed_data < 0 ? data : static_cast<uint32_t>(w.claimed_data);
  b += "RIFF";
  u32(36 + data);
  b += "WAVEfmt ";
  u32(w.fmt_size);
  u16(w.format);
  u16(w.channels);
  u32(w.rate);
  u32(w.rate * 2);
  u16(2);
  u16(w.bits);
  b += "data";
  u32(claimed);
  for (int16_t s : w.samples) u16(static_cast<uint16_t>(s));
  if (w.cut_to >= 0) b.resize(static_cast<std::size_t>(w.cut_to));
  return b;
}

inline void write_file(const std::filesystem::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary) << bytes;
}

// A sine loop of `seconds` at `hz`, loud enough to be heard through the
// distance attenuation.
inline std::vector<int16_t> tone(double seconds, double hz = 440) {
  std::vector<int16_t> s(static_cast<std::size_t>(seconds * 44100));
  for (std::size_t i = 0; i < s.size(); ++i)
    s[i] = static_cast<int16_t>(12000 * std::sin(2 * M_PI * hz * i / 44100.0));
  return s;
}

// OpenAL Soft's null backend unless the environment already chose one, so
// the engine tests run headless also when started outside CTest. Must run
// before the first OpenAL call of the process.
inline void use_null_backend_by_default() { ::setenv("ALSOFT_DRIVERS", "null", 0); }

// The sound set the build generated beside the program.
inline std::filesystem::path program_sounds_dir() {
  std::filesystem::path p = orvela::test::program_dir() / "sounds";
  std::error_code ec;
  if (std::filesystem::is_directory(p, ec)) return p;
  return ORVELA_BUILD_PROGRAM_DIR "/sounds";
}

// A home folder with sounds/ and the path for alsoft.ini.
struct SoundHome {
  orvela::test::TempDir dir;
  SoundHome() { std::filesystem::create_directories(dir / "sounds"); }
  std::filesystem::path sounds() const { return dir / "sounds"; }
  EnginePaths paths() const { return {sounds(), dir / "alsoft.ini", dir / "hrtf"}; }
  void add(const std::string& name, const WavLayout& w = {}) {
    write_file(sounds() / (name + ".wav"), wav_bytes(w));
  }
};

// A real map grid around the user, who stands at (75, 75) facing north,
// with bookmarks by cell offset.
struct Neighbourhood {
  map::Grid grid;
  map::UserState user;
  std::map<std::pair<int, int>, int32_t> bookmarks;
  GridCells cells{grid, user, [this](double x, double y) {
                    auto it = bookmarks.find({static_cast<int>(x) - 75, static_cast<int>(y) - 75});
                    return it == bookmarks.end() ? -1 : it->second;
                  }};

  // Adds an object of `type` ("l", "o", "p", "n", "a") and kind `typ` and
  // draws it into the cells at the given offsets from the user.
  int32_t put(const std::string& type, const std::string& typ, std::vector<std::pair<int, int>> at,
              bool hastags = false) {
    map::ORVOBJREC o;
    o.OBJTYPE = type;
    o.TYP = typ;
    o.HASTAGS = hastags;
    int32_t id = grid.ADDOBJ(o);
    for (auto [x, y] : at) grid.SETMAPA(75.5 + x, 75.5 + y, id, 0, 0, 0, 0.0, 5);
    return id;
  }
  Surroundings here() const { return {cells, user.UDIR}; }
};

// One source that OpenAL reports as playing, seen from the user: the cell it
// stands on (undoing the distance factor and a speaker exchange), its sound
// and levels.
struct Heard {
  std::string sound;
  float x = 0, y = 0, z = 0;  // OpenAL position
  float gain = 0, pitch = 0;
  bool looping = false;
};

inline std::vector<Heard> heard(const AudioEngine& e) {
  std::vector<Heard> v;
  for (uint32_t i = 1; i <= e.SOUNDSRCUSED(); ++i) {
    ALuint id = e.source(i).ID;
    ALint state = 0, loop = 0;
    alGetSourcei(id, AL_SOURCE_STATE, &state);
    if (state != AL_PLAYING) continue;
    Heard h;
    h.sound = e.buffer(e.source(i).BINDBUFNUM).FNAME;
    alGetSource3f(id, AL_POSITION, &h.x, &h.y, &h.z);
    alGetSourcef(id, AL_GAIN, &h.gain);
    alGetSourcef(id, AL_PITCH, &h.pitch);
    alGetSourcei(id, AL_LOOPING, &loop);
    h.looping = loop == AL_TRUE;
    v.push_back(h);
  }
  return v;
}

// The sound playing at cell (x, y) with the distance factor `d`, or "".
inline std::string sound_at(const AudioEngine& e, int x, int y, int d = 5) {
  for (const Heard& h : heard(e)) {
    if (std::lround(h.x) == x * d && std::lround(h.z) == -y * d) return h.sound;
  }
  return {};
}

}  // namespace orvela::sound::test
