#pragma once
// The OpenAL engine: turns the soundscape template around the user into
// positioned, looping sources with as little churn as possible, and plays
// single positioned sounds. Works in grid units relative to the user: cell
// (X, Y) is X cells east and Y cells north. North is always up; turning the
// user only turns the listener.
//
// Without an open device every operation returns at once.
#include <array>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "sound/engine_settings.h"
#include "sound/sound_types.h"
#include "sound/wave_file.h"

namespace orvela::sound {

// HRTF states as OpenAL Soft reports them (ALC_HRTF_STATUS_SOFT).
enum class HrtfStatus {
  Unknown,
  Disabled,
  Enabled,
  Denied,
  Required,
  HeadphonesDetected,
  UnsupportedFormat
};

// What SOUNDINIT achieved; the caller turns failures into words
// ("Can not create alsoft.ini", "Can not initialize sound").
struct InitResult {
  bool config_written = false;
  bool device_open = false;
  HrtfStatus hrtf = HrtfStatus::Unknown;
  std::string hrtf_name;  // the HRTF data set in use ("default-44100"); empty without HRTF
};

class AudioEngine {
 public:
  // With switches of its own (tests, benchmarks), or working on those the app holds.
  explicit AudioEngine(EnginePaths paths) : AudioEngine(std::move(paths), own_settings_) {}
  AudioEngine(EnginePaths paths, EngineSettings& settings);
  ~AudioEngine();
  AudioEngine(const AudioEngine&) = delete;
  AudioEngine& operator=(const AudioEngine&) = delete;

  EngineSettings& settings() { return settings_; }
  const EngineSettings& settings() const { return settings_; }

  // Writes the OpenAL Soft configuration, opens device DEVNAME (empty: the
  // system default) and a context asking for HRTF as the settings say.
  InitResult SOUNDINIT(const std::string& devname);
  // Deletes all sources and buffers and closes the device.
  void SOUNDCLOSE();

  void SOUNDSCAPEINIT();
  void SOUNDSCAPEBINDBUF(int32_t x, int32_t y, std::string_view fn, uint8_t vol, uint8_t pitch);
  // Makes OpenAL play the template, then empties it.
  void SOUNDSCAPEAPLY();
  // Plays `fn` once at cell (x, y); cut off by the next SOUNDSCAPEAPLY.
  void SOUNDPLAY(int32_t x, int32_t y, std::string_view fn, uint8_t volperc, uint16_t pitchperc);
  void SOUNDSTOPALL();
  // Turns the listener to face direction (x east, y north).
  void SOUNDSETUORIENTATION(float x, float y);
  void SOUNDSETVOLUME(int perc);
  void SOUNDCHANGEVOLUME(int8_t incvol);

  WaveResult SOUNDBUFLOADWAV(std::string_view fn, uint16_t n);
  void SOUNDBUFFREE(uint16_t n);
  void SOUNDSOURCEPLAY(uint32_t i);
  void SOUNDSOURCESTOP(uint32_t i);
  float YPITCH(int16_t y) const;
  static int32_t LINXYDIST(int32_t x, int32_t y);

  // ---- state, for the soundscape and for checks ---------------------------
  bool has_device() const { return device_ != nullptr; }
  const std::string& SOUNDDEVICENAME() const { return devicename_; }
  uint8_t SOUNDVOLUME() const { return volume_; }
  HrtfStatus hrtf_status() const;
  std::string hrtf_name() const;
  uint16_t SOUNDBUFSUSED() const { return bufsused_; }
  uint16_t SOUNDSRCUSED() const { return srcused_; }
  const SOUNDBUF& buffer(uint16_t n) const { return bufs_[n]; }
  const SOUNDSOURCE& source(uint32_t i) const { return srcs_[i]; }
  const SoundscapeTemplate& NEWSOUNDSCAPE() const { return template_; }

 private:
  uint16_t find_buffer_by_name(std::string_view fn) const;
  uint16_t take_buffer(std::string_view fn);
  uint32_t take_source();
  uint32_t find_unused_source_of(uint16_t buf, const std::array<bool, MAXSOUNDSRC + 1>& used) const;
  void release_unneeded_buffers();
  uint16_t reuse_or_load(int32_t x, int32_t y, std::array<bool, MAXSOUNDSRC + 1>& used);
  void start_new_source(int32_t x, int32_t y, uint16_t b, std::array<bool, MAXSOUNDSRC + 1>& used);
  static std::size_t cell_index(int32_t x, int32_t y) {
    return static_cast<std::size_t>((x + MAXSOUNDSCAPERANGE) * SoundscapeTemplate::SIDE +
                                    (y + MAXSOUNDSCAPERANGE));
  }
  void place(uint32_t src, int32_t x, int32_t y);
  void start_looped(uint32_t src);
  void clear_tables();
  void stop_unclaimed(const std::array<bool, MAXSOUNDSRC + 1>& used);
  void open_context(bool hrtf);

  EngineSettings own_settings_;
  EnginePaths paths_;
  EngineSettings& settings_;
  std::string devicename_;
  uint8_t volume_ = 100;
  void* device_ = nullptr;         // ALCdevice*
  void* context_ = nullptr;        // ALCcontext*
  bool deferred_updates_ = false;  // AL_SOFT_deferred_updates is there
  // While a template is applied, starts and stops are collected and handed
  // to OpenAL in one call each: every single call waits for the mixer.
  bool batching_ = false;
  std::vector<uint32_t> batch_play_;
  std::vector<uint32_t> batch_stop_;
  std::array<SOUNDBUF, MAXSOUNDBUFS + 1> bufs_{};    // slot 0 unused
  std::array<SOUNDSOURCE, MAXSOUNDSRC + 1> srcs_{};  // slot 0 unused
  uint16_t bufsused_ = 0;
  uint16_t srcused_ = 0;
  SoundscapeTemplate template_;
  std::minstd_rand rng_{std::random_device{}()};
};

}  // namespace orvela::sound
