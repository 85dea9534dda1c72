#include "sound/beacon.h"

#include <AL/al.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "map/direction.h"
#include "map/geo.h"
#include "sound/audio_engine.h"
#include "sound/wave_file.h"

namespace orvela::sound {
namespace {

// The beacon must stand out of the soundscape without drowning speech: at
// most this gain, and never quieter than kMinGain of it however far away.
constexpr double kGain = 0.6;
constexpr double kMinGain = 0.15;
// Pitch turned away from the point (behind) and facing it.
constexpr double kPitchBehind = 0.85;
constexpr double kPitchFacing = 1.5;

}  // namespace

BeaconVoice beacon_voice(const BeaconTarget& t, const BeaconListener& l, int32_t range) {
  BeaconVoice v;
  const double r = std::max(1, range);
  const int32_t metres = map::GEODIST(l.ULAT, l.ULON, t.LAT, t.LON);
  const int32_t azimuth = map::WRAPDIRECTION(map::GEOAZIM(l.ULAT, l.ULON, t.LAT, t.LON));
  const double cells = static_cast<double>(metres) / std::max<uint16_t>(1, l.SQMETERS);
  // Falling gently: 0.7 of the gain at the range's edge, a third ten
  // ranges away, the least some forty ranges away.
  v.gain = kGain * std::max(kMinGain, std::sqrt(r / (r + cells)));
  const double at = std::min(cells, r);
  const double rad = azimuth * std::numbers::pi / 180.0;
  if (metres > 0) {
    v.x = at * std::sin(rad);
    v.y = at * std::cos(rad);
  }
  // Standing on the point, every way is towards it.
  const int32_t off = metres > 0 ? map::WRAPDIRECTION(static_cast<int64_t>(azimuth) - l.UDIR) : 0;
  const double away = (off > 180 ? 360 - off : off) / 180.0;
  v.pitch = kPitchFacing - (kPitchFacing - kPitchBehind) * away;
  return v;
}

Beacon::Beacon(AudioEngine& engine, std::filesystem::path sounds_dir)
    : engine_(engine), sounds_dir_(std::move(sounds_dir)) {}

Beacon::~Beacon() { release(); }

void Beacon::off() {
  target_.reset();
  stop();
}

bool Beacon::acquire() {
  if (source_ != 0 && alIsSource(source_) == AL_TRUE) return true;
  source_ = buffer_ = 0;
  auto file = existing_sound_file(sounds_dir_, BEACONSOUND);
  WaveData wave;
  if (!file || read_wave(*file, wave) != WAVE_OK) return false;
  alGetError();
  ALuint b = 0, s = 0;
  alGenBuffers(1, &b);
  alBufferData(b, AL_FORMAT_MONO16, wave.samples.data(),
               static_cast<ALsizei>(wave.samples.size() * 2), static_cast<ALsizei>(wave.freq));
  alGenSources(1, &s);
  if (alGetError() != AL_NO_ERROR) {
    if (alIsSource(s) == AL_TRUE) alDeleteSources(1, &s);
    if (alIsBuffer(b) == AL_TRUE) alDeleteBuffers(1, &b);
    return false;
  }
  alSourcei(s, AL_BUFFER, static_cast<ALint>(b));
  alSourcei(s, AL_LOOPING, AL_TRUE);
  // The gain is all ours: OpenAL's distance attenuation would make a point
  // on the range's edge as faint as the soundscape's farthest cells.
  alSourcef(s, AL_ROLLOFF_FACTOR, 0.0f);
  source_ = s;
  buffer_ = b;
  return true;
}

void Beacon::play(const BeaconListener& l) {
  if (!target_ || !engine_.has_device() || !acquire()) return;
  const EngineSettings& e = engine_.settings();
  const BeaconVoice v = beacon_voice(*target_, l, e.SOUNDSCAPERANGE);
  // Placed as the engine places a soundscape cell.
  const float d = std::max<uint8_t>(1, e.SOUNDDISTANCEFACTOR);
  if (e.SOUNDMONO) {
    alSource3f(source_, AL_POSITION, 0.0f, 0.0f, d * static_cast<float>(std::hypot(v.x, v.y)));
  } else {
    alSource3f(source_, AL_POSITION, d * static_cast<float>(v.x) * e.SOUNDSPEAKERSCHANGEDFACTOR(),
               0.0f, -d * static_cast<float>(v.y));
  }
  alSourcef(source_, AL_GAIN, static_cast<float>(v.gain));
  alSourcef(source_, AL_PITCH, static_cast<float>(v.pitch));
  if (!sounding()) alSourcePlay(source_);
}

void Beacon::stop() {
  if (source_ != 0 && engine_.has_device()) alSourceStop(source_);
}

bool Beacon::sounding() const {
  if (source_ == 0 || !engine_.has_device()) return false;
  ALint state = AL_STOPPED;
  alGetSourcei(source_, AL_SOURCE_STATE, &state);
  return state == AL_PLAYING;
}

void Beacon::release() {
  if (source_ == 0) return;
  if (engine_.has_device()) {
    ALuint s = source_, b = buffer_;
    alSourceStop(s);
    alSourcei(s, AL_BUFFER, 0);
    alDeleteSources(1, &s);
    alDeleteBuffers(1, &b);
  }
  source_ = buffer_ = 0;
}

}  // namespace orvela::sound
