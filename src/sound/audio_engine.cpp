#include "sound/audio_engine.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "sound/alsoft_config.h"
#include "sound/template_thinning.h"
#include "text/numeric.h"

namespace orvela::sound {
namespace {

ALCdevice* dev(void* p) { return static_cast<ALCdevice*>(p); }
ALCcontext* ctx(void* p) { return static_cast<ALCcontext*>(p); }

HrtfStatus to_status(ALCint s) {
  switch (s) {
    case ALC_HRTF_DISABLED_SOFT:
      return HrtfStatus::Disabled;
    case ALC_HRTF_ENABLED_SOFT:
      return HrtfStatus::Enabled;
    case ALC_HRTF_DENIED_SOFT:
      return HrtfStatus::Denied;
    case ALC_HRTF_REQUIRED_SOFT:
      return HrtfStatus::Required;
    case ALC_HRTF_HEADPHONES_DETECTED_SOFT:
      return HrtfStatus::HeadphonesDetected;
    case ALC_HRTF_UNSUPPORTED_FORMAT_SOFT:
      return HrtfStatus::UnsupportedFormat;
    default:
      return HrtfStatus::Unknown;
  }
}

}  // namespace

AudioEngine::AudioEngine(EnginePaths paths, EngineSettings& settings)
    : paths_(std::move(paths)), settings_(settings) {
  batch_play_.reserve(MAXSOUNDSRC);
  batch_stop_.reserve(MAXSOUNDSRC);
}

AudioEngine::~AudioEngine() { SOUNDCLOSE(); }

InitResult AudioEngine::SOUNDINIT(const std::string& devname) {
  InitResult r;
  devicename_ = devname;
  r.config_written =
      write_alsoft_config(paths_.alsoft_ini, settings_.SOUNDHRTFMODE, paths_.hrtf_dir);
  if (r.config_written) point_openal_at_config(paths_.alsoft_ini);
  device_ = alcOpenDevice(devname.empty() ? nullptr : devname.c_str());
  if (device_ == nullptr) return r;
  r.device_open = true;
  open_context(settings_.SOUNDHRTFMODE);
  alDistanceModel(settings_.SOUNDDISTANCEMODEL);
  clear_tables();
  volume_ = 100;  // the listener keeps OpenAL's 1.0 until the next SOUNDSETVOLUME
  r.hrtf = hrtf_status();
  r.hrtf_name = hrtf_name();
  return r;
}

void AudioEngine::open_context(bool hrtf) {
  // Ask for HRTF on the context as well: the configuration file only counts
  // when the library reads it, at the first call of the process.
  // OpenAL Soft gives 256 sources unless asked for more; the soundscape
  // may need every source slot.
  std::vector<ALCint> attrs{ALC_MONO_SOURCES, MAXSOUNDSRC, ALC_STEREO_SOURCES, 1};
  if (alcIsExtensionPresent(dev(device_), "ALC_SOFT_HRTF") == ALC_TRUE) {
    attrs.insert(attrs.end(), {ALC_HRTF_SOFT, hrtf ? ALC_TRUE : ALC_FALSE});
  }
  attrs.push_back(0);
  context_ = alcCreateContext(dev(device_), attrs.data());
  if (context_ != nullptr) alcMakeContextCurrent(ctx(context_));
  deferred_updates_ =
      context_ != nullptr && alIsExtensionPresent("AL_SOFT_deferred_updates") == AL_TRUE;
}

HrtfStatus AudioEngine::hrtf_status() const {
  if (device_ == nullptr || alcIsExtensionPresent(dev(device_), "ALC_SOFT_HRTF") != ALC_TRUE) {
    return HrtfStatus::Unknown;
  }
  ALCint s = -1;
  alcGetIntegerv(dev(device_), ALC_HRTF_STATUS_SOFT, 1, &s);
  return to_status(s);
}

std::string AudioEngine::hrtf_name() const {
  if (hrtf_status() == HrtfStatus::Unknown) return {};
  const ALCchar* name = alcGetString(dev(device_), ALC_HRTF_SPECIFIER_SOFT);
  return name != nullptr ? name : "";
}

void AudioEngine::clear_tables() {
  bufs_.fill(SOUNDBUF{});
  srcs_.fill(SOUNDSOURCE{});
  bufsused_ = 0;
  srcused_ = 0;
}

void AudioEngine::SOUNDCLOSE() {
  if (device_ == nullptr) return;
  for (uint32_t i = 1; i <= srcused_; ++i) {
    alSourceStop(srcs_[i].ID);
    alSourcei(srcs_[i].ID, AL_BUFFER, 0);
    srcs_[i].BINDBUFNUM = 0;
    srcs_[i].PLAYING = false;
    alDeleteSources(1, &srcs_[i].ID);
  }
  for (uint16_t n = 1; n <= bufsused_; ++n) SOUNDBUFFREE(n);
  alcMakeContextCurrent(nullptr);
  if (context_ != nullptr) alcDestroyContext(ctx(context_));
  alcCloseDevice(dev(device_));
  context_ = nullptr;
  device_ = nullptr;
  deferred_updates_ = false;
  clear_tables();
}

void AudioEngine::SOUNDSCAPEINIT() {
  for (int32_t x = -MAXSOUNDSCAPERANGE; x <= MAXSOUNDSCAPERANGE; ++x) {
    for (int32_t y = -MAXSOUNDSCAPERANGE; y <= MAXSOUNDSCAPERANGE; ++y) {
      SOUNDSCAPETEMPLATE& c = template_.at(x, y);
      c.FNAME.clear();  // keeps its memory: no allocation per step
      c.VOLPERC = 0;
      c.PITCHPERC = 0;
    }
  }
}

void AudioEngine::SOUNDSCAPEBINDBUF(int32_t x, int32_t y, std::string_view fn, uint8_t vol,
                                    uint8_t pitch) {
  if (!SoundscapeTemplate::contains(x, y)) return;
  SOUNDSCAPETEMPLATE& c = template_.at(x, y);
  c.FNAME.assign(fn);
  c.VOLPERC = vol;
  c.PITCHPERC = pitch;
}

WaveResult AudioEngine::SOUNDBUFLOADWAV(std::string_view fn, uint16_t n) {
  if (device_ == nullptr) return WAVE_NO_DEVICE;
  if (n < 1 || n > MAXSOUNDBUFS) return WAVE_CANNOT_OPEN;
  if (bufs_[n].LOADED) return WAVE_SLOT_LOADED;
  auto file = existing_sound_file(paths_.sounds_dir, fn);
  if (!file) return WAVE_CANNOT_OPEN;
  WaveData wave;
  WaveResult r = read_wave(*file, wave);
  if (r != WAVE_OK) return r;
  SOUNDBUF& b = bufs_[n];
  alGenBuffers(1, &b.ID);
  auto bytes = static_cast<ALsizei>(wave.samples.size() * 2);
  alBufferData(b.ID, AL_FORMAT_MONO16, wave.samples.data(), bytes, static_cast<ALsizei>(wave.freq));
  b.SIZE = static_cast<uint32_t>(bytes);
  b.FREQ = wave.freq;
  b.FNAME.assign(fn);
  b.LOADED = true;
  return WAVE_OK;
}

void AudioEngine::SOUNDBUFFREE(uint16_t n) {
  if (device_ == nullptr || n < 1 || n > MAXSOUNDBUFS || !bufs_[n].LOADED) return;
  for (uint32_t i = 1; i <= srcused_; ++i) {
    if (srcs_[i].BINDBUFNUM == n) return;  // still held: kept for replay without reading the file
  }
  alDeleteBuffers(1, &bufs_[n].ID);
  bufs_[n].LOADED = false;
  bufs_[n].FNAME.clear();
}

void AudioEngine::SOUNDSOURCEPLAY(uint32_t i) {
  if (device_ == nullptr || i < 1 || i > srcused_) return;
  SOUNDSOURCE& s = srcs_[i];
  if (s.BINDBUFNUM == 0 || s.PLAYING) return;
  if (batching_)
    batch_play_.push_back(s.ID);
  else
    alSourcePlay(s.ID);
  s.PLAYING = true;
}

void AudioEngine::SOUNDSOURCESTOP(uint32_t i) {
  if (device_ == nullptr || i < 1 || i > srcused_ || !srcs_[i].PLAYING) return;
  alSourceStop(srcs_[i].ID);
  alSourceRewind(srcs_[i].ID);
  srcs_[i].PLAYING = false;
}

void AudioEngine::SOUNDSTOPALL() {
  for (uint32_t i = 1; i <= srcused_; ++i) SOUNDSOURCESTOP(i);
}

float AudioEngine::YPITCH(int16_t y) const {
  return settings_.SOUNDBEHINDLOWER && y < 0 ? 0.89f : 1.0f;
}

int32_t AudioEngine::LINXYDIST(int32_t x, int32_t y) {
  double d = std::sqrt(static_cast<double>(x) * x + static_cast<double>(y) * y);
  return text::round_half_even_i32(d);
}

uint16_t AudioEngine::find_buffer_by_name(std::string_view fn) const {
  for (uint16_t n = 1; n <= bufsused_; ++n) {
    if (bufs_[n].LOADED && bufs_[n].FNAME == fn) return n;
  }
  return 0;
}

// A free slot for `fn`, loaded from its file; 0 when none is free or the
// file cannot be loaded (the slot then stays free).
uint16_t AudioEngine::take_buffer(std::string_view fn) {
  uint16_t n = 0;
  for (uint16_t i = 1; i <= bufsused_ && n == 0; ++i) {
    if (!bufs_[i].LOADED) n = i;
  }
  if (n == 0) {
    if (bufsused_ >= MAXSOUNDBUFS) return 0;
    n = ++bufsused_;
  }
  return SOUNDBUFLOADWAV(fn, n) == WAVE_OK ? n : 0;
}

uint32_t AudioEngine::take_source() {
  for (uint32_t i = 1; i <= srcused_; ++i) {
    if (!srcs_[i].PLAYING) return i;
  }
  if (srcused_ >= MAXSOUNDSRC) return 0;
  ALuint id = 0;
  alGetError();
  alGenSources(1, &id);
  if (alGetError() != AL_NO_ERROR) return 0;  // the library has no more: silent like a full table
  SOUNDSOURCE& s = srcs_[++srcused_];
  s.ID = id;
  s.PLAYING = false;
  s.BINDBUFNUM = 0;
  return srcused_;
}

void AudioEngine::place(uint32_t src, int32_t x, int32_t y) {
  int32_t d = std::max<int32_t>(1, settings_.SOUNDDISTANCEFACTOR);
  int32_t f = settings_.SOUNDSPEAKERSCHANGEDFACTOR();
  if (settings_.SOUNDMONO) {
    alSource3f(srcs_[src].ID, AL_POSITION, 0.0f, 0.0f, static_cast<float>(d * LINXYDIST(x, y)));
  } else {
    alSource3f(srcs_[src].ID, AL_POSITION, static_cast<float>(d * x * f), 0.0f,
               static_cast<float>(-d * y));
  }
}

void AudioEngine::SOUNDSETUORIENTATION(float x, float y) {
  if (device_ == nullptr) return;
  float f = settings_.SOUNDSPEAKERSCHANGEDFACTOR();
  ALfloat ori[6] = {f * x, 0.0f, -y, 0.0f, 1.0f, 0.0f};
  alListenerfv(AL_ORIENTATION, ori);
}

void AudioEngine::SOUNDSETVOLUME(int perc) {
  if (device_ == nullptr) return;
  perc = std::clamp(perc, 5, 100);
  alListenerf(AL_GAIN, static_cast<float>(perc) / 100.0f);
  volume_ = static_cast<uint8_t>(perc);
}

void AudioEngine::SOUNDCHANGEVOLUME(int8_t incvol) {
  if (device_ == nullptr) return;
  // Computed in full integers: lowering a low volume by more than it holds
  // must give the minimum, never wrap round to full volume.
  int v = std::clamp(volume_ + incvol, 5, 100);
  if (v != volume_) SOUNDSETVOLUME(v);
}

}  // namespace orvela::sound
