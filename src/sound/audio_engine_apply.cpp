// Applying the template and playing single sounds: the part of the engine
// that runs after every step of the user.
#define AL_ALEXT_PROTOTYPES
#include <AL/al.h>
#include <AL/alext.h>

#include <algorithm>

#include "sound/audio_engine.h"
#include "sound/template_thinning.h"

namespace orvela::sound {

void AudioEngine::SOUNDSCAPEAPLY() {
  if (device_ == nullptr) return;
  int32_t r = std::clamp<int32_t>(settings_.SOUNDSCAPERANGE, 1, MAXSOUNDSCAPERANGE);
  std::array<bool, MAXSOUNDSRC + 1> used{};
  std::array<uint16_t, SoundscapeTemplate::SIDE * SoundscapeTemplate::SIDE>
      waiting{};  // buffer per cell
  SOUNDSCAPEOPTIMIZE(template_, r);
  // The whole step is one change for the listener: OpenAL applies the
  // moves, levels and starts together instead of while we are half-way.
  if (deferred_updates_) alDeferUpdatesSOFT();
  batching_ = true;
  release_unneeded_buffers();
  // Sounds that already play are moved first, in scan order...
  for (int32_t x = -r; x <= r; ++x) {
    for (int32_t y = -r; y <= r; ++y) {
      if (!template_.at(x, y).FNAME.empty()) waiting[cell_index(x, y)] = reuse_or_load(x, y, used);
    }
  }
  // ...then whatever this pass did not claim falls silent (a single sound
  // still ringing included), which frees its source for the cells still
  // waiting. Starting new sources only now keeps a step that merely shifts
  // the sounds from running out of sources while old ones still play.
  stop_unclaimed(used);
  for (int32_t x = -r; x <= r; ++x) {
    for (int32_t y = -r; y <= r; ++y) {
      if (uint16_t b = waiting[cell_index(x, y)]; b != 0) start_new_source(x, y, b, used);
    }
  }
  // Between updates the template is empty, also beyond a range that shrank.
  SOUNDSCAPEINIT();
  batching_ = false;
  if (!batch_play_.empty())
    alSourcePlayv(static_cast<ALsizei>(batch_play_.size()), batch_play_.data());
  batch_play_.clear();
  if (deferred_updates_) alProcessUpdatesSOFT();
}

// SOUNDSOURCESTOP for every source this pass did not claim, in one call.
void AudioEngine::stop_unclaimed(const std::array<bool, MAXSOUNDSRC + 1>& used) {
  batch_stop_.clear();
  for (uint32_t i = 1; i <= srcused_; ++i) {
    if (used[i] || !srcs_[i].PLAYING) continue;
    batch_stop_.push_back(srcs_[i].ID);
    srcs_[i].PLAYING = false;
  }
  if (batch_stop_.empty()) return;
  alSourceStopv(static_cast<ALsizei>(batch_stop_.size()), batch_stop_.data());
  alSourceRewindv(static_cast<ALsizei>(batch_stop_.size()), batch_stop_.data());
}

// Frees the buffers no cell asks for any more; a buffer that a source still
// holds stays loaded (SOUNDBUFFREE keeps it).
void AudioEngine::release_unneeded_buffers() {
  int32_t r = std::clamp<int32_t>(settings_.SOUNDSCAPERANGE, 1, MAXSOUNDSCAPERANGE);
  for (uint16_t n = 1; n <= bufsused_; ++n) {
    if (!bufs_[n].LOADED || bufs_[n].FNAME.empty()) continue;
    bool needed = false;
    for (int32_t x = -r; x <= r && !needed; ++x) {
      for (int32_t y = -r; y <= r && !needed; ++y)
        needed = template_.at(x, y).FNAME == bufs_[n].FNAME;
    }
    if (needed) continue;
    for (uint32_t i = 1; i <= srcused_; ++i) {
      if (srcs_[i].BINDBUFNUM == n) SOUNDSOURCESTOP(i);
    }
    SOUNDBUFFREE(n);
  }
}

uint32_t AudioEngine::find_unused_source_of(uint16_t buf,
                                            const std::array<bool, MAXSOUNDSRC + 1>& used) const {
  for (uint32_t i = 1; i <= srcused_; ++i) {
    if (srcs_[i].BINDBUFNUM == buf && !used[i]) return i;
  }
  return 0;
}

// Moves a source already bound to the cell's sound, if one is left in this
// pass. Returns the buffer the cell still needs a new source for (loading it
// when no slot holds it yet), or 0 when the cell is served or cannot be.
uint16_t AudioEngine::reuse_or_load(int32_t x, int32_t y, std::array<bool, MAXSOUNDSRC + 1>& used) {
  const SOUNDSCAPETEMPLATE& cell = template_.at(x, y);
  uint16_t b = find_buffer_by_name(cell.FNAME);
  if (b == 0)
    return take_buffer(cell.FNAME);  // 0: the file cannot be loaded, the cell stays silent
  uint32_t s = find_unused_source_of(b, used);
  if (s == 0) return b;
  place(s, x, y);
  alSourcef(srcs_[s].ID, AL_PITCH, static_cast<float>(cell.PITCHPERC) / 100.0f);
  alSourcef(srcs_[s].ID, AL_GAIN, static_cast<float>(cell.VOLPERC) / 100.0f);
  used[s] = true;
  start_looped(s);
  return 0;
}

void AudioEngine::start_new_source(int32_t x, int32_t y, uint16_t b,
                                   std::array<bool, MAXSOUNDSRC + 1>& used) {
  uint32_t s = take_source();
  if (s == 0) return;  // every source slot busy: later cells stay silent
  srcs_[s].BINDBUFNUM = b;
  alSourcei(srcs_[s].ID, AL_BUFFER, static_cast<ALint>(bufs_[b].ID));
  place(s, x, y);
  alSourcef(srcs_[s].ID, AL_PITCH, YPITCH(static_cast<int16_t>(y)));
  alSourcef(srcs_[s].ID, AL_GAIN, static_cast<float>(template_.at(x, y).VOLPERC) / 100.0f);
  used[s] = true;
  srcs_[s].PLAYING = false;
  start_looped(s);
}

// Starts a soundscape source that is not sounding. A source reused from a
// single sound (SOUNDPLAY) counts as playing after its sound has ended and
// does not loop: it is set up as a soundscape source and restarted, or its
// cell would stay silent.
void AudioEngine::start_looped(uint32_t s) {
  ALuint id = srcs_[s].ID;
  ALint looping = AL_FALSE;
  alGetSourcei(id, AL_LOOPING, &looping);
  bool want_loop = settings_.SOUNDPLAYLOOPED;
  if (srcs_[s].PLAYING && (looping == AL_TRUE) == want_loop) {
    ALint state = AL_STOPPED;
    alGetSourcei(id, AL_SOURCE_STATE, &state);
    if (state == AL_PLAYING || !want_loop) return;
  }
  SOUNDSOURCESTOP(s);
  alSourcef(id, AL_REFERENCE_DISTANCE, 2.0f);
  alSourcef(id, AL_ROLLOFF_FACTOR, 1.0f);
  alSourcei(id, AL_LOOPING, want_loop ? AL_TRUE : AL_FALSE);
  // A random start (0..49 steps of 20 ms) keeps copies of one sound out of phase.
  alSourcef(id, AL_SEC_OFFSET,
            static_cast<float>(std::uniform_int_distribution<int>(0, 49)(rng_) * 20) / 1000.0f);
  SOUNDSOURCEPLAY(s);
}

void AudioEngine::SOUNDPLAY(int32_t x, int32_t y, std::string_view fn, uint8_t volperc,
                            uint16_t pitchperc) {
  if (device_ == nullptr || fn.empty()) return;
  uint16_t b = find_buffer_by_name(fn);
  if (b == 0) b = take_buffer(fn);
  if (b == 0) return;
  uint32_t s = take_source();
  if (s == 0) return;
  ALuint id = srcs_[s].ID;
  srcs_[s].BINDBUFNUM = b;
  alSourcei(id, AL_BUFFER, static_cast<ALint>(bufs_[b].ID));
  place(s, x, y);
  alSourcef(id, AL_PITCH, static_cast<float>(pitchperc) / 100.0f);
  alSourcef(id, AL_GAIN, static_cast<float>(volperc) / 100.0f);
  // The same attenuation as soundscape sources, so a single sound is as loud
  // whatever the slot was used for before.
  alSourcef(id, AL_REFERENCE_DISTANCE, 2.0f);
  alSourcef(id, AL_ROLLOFF_FACTOR, 1.0f);
  alSourcei(id, AL_LOOPING, AL_FALSE);
  alSourcef(id, AL_SEC_OFFSET, 0.0f);
  SOUNDSOURCEPLAY(s);
}

}  // namespace orvela::sound
