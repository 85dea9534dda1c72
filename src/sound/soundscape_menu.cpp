// The Sound menu's work: speaker test, presentation, device change and switches.
#include <algorithm>

#include "sound/soundscape.h"

namespace orvela::sound {
namespace {

constexpr int32_t kTestSoundMinBytes = 50000;

}  // namespace

Soundscape::SpeakerTest Soundscape::TESTSPEAKERS() {
  engine_.SOUNDSTOPALL();
  engine_.SOUNDSETVOLUME(70);
  if (list_.SNDFILES().empty()) return SpeakerTest::NoSounds;
  std::vector<const SNDFILEREC*> long_ones;
  for (const SNDFILEREC& f : list_.SNDFILES()) {
    if (f.LEN > kTestSoundMinBytes) long_ones.push_back(&f);
  }
  if (long_ones.empty()) return SpeakerTest::NoLongSound;
  std::uniform_int_distribution<std::size_t> pick(0, long_ones.size() - 1);
  const SNDFILEREC* chosen = long_ones[pick(rng_)];
  SETSOUNDFROMUDIR(0);
  engine_.SOUNDPLAY(-1, 0, chosen->FN, 200, 100);
  return SpeakerTest::Played;
}

std::vector<SOUNDPRESENTATIONLISTREC> Soundscape::start_presentation() {
  engine_.SOUNDSTOPALL();
  engine_.SOUNDSETVOLUME(settings_.NORMALVOLUME);
  // The person may switch to another window to read the list; the sound
  // they chose goes on playing.
  settings_.SOUNDMUTEONKILLFOCUS = false;
  return MAKESPLIST(list_);
}

void Soundscape::present(const SOUNDPRESENTATIONLISTREC& entry) {
  const auto id = static_cast<std::size_t>(entry.SOUNDFILEID);
  if (id >= list_.SNDFILES().size()) return;
  engine_.SOUNDSTOPALL();
  engine_.SOUNDPLAY(0, 0, list_.SNDFILES()[id].FN, 100, 100);
}

void Soundscape::end_presentation(const Surroundings& s) {
  SETSOUNDSCAPE(s);
  settings_.SOUNDMUTEONKILLFOCUS = true;
}

InitResult Soundscape::change_device(const std::string& devname) {
  engine_.SOUNDCLOSE();
  engine_.settings().SOUNDDEVICENAME = devname;
  InitResult r = start_engine();
  settings_.SOUNDMUTED = false;
  return r;
}

void Soundscape::SWITCHMUTE(const Surroundings& s) {
  settings_.SOUNDMUTED = !settings_.SOUNDMUTED;
  if (settings_.SOUNDMUTED)
    engine_.SOUNDSTOPALL();
  else
    SETSOUNDSCAPE(s);
}

bool Soundscape::SWITCHMONO(const Surroundings& s) {
  bool& mono = engine_.settings().SOUNDMONO;
  mono = !mono;
  SETSOUNDSCAPE(s);
  return mono;
}

void Soundscape::SWITCHSOUNDBEHINDLOWER(const Surroundings& s) {
  engine_.settings().SOUNDBEHINDLOWER = !engine_.settings().SOUNDBEHINDLOWER;
  SETSOUNDSCAPE(s);
}

InitResult Soundscape::SWITCHSOUNDHRTFMODE(const Surroundings& s) {
  engine_.settings().SOUNDHRTFMODE = !engine_.settings().SOUNDHRTFMODE;
  engine_.SOUNDCLOSE();
  InitResult r = start_engine();
  settings_.SOUNDMUTED = false;
  SETSOUNDSCAPE(s);
  return r;
}

void Soundscape::SWITCHSOUNDSPEAKERS(const Surroundings& s) {
  engine_.settings().SOUNDSPEAKERSCHANGED = !engine_.settings().SOUNDSPEAKERSCHANGED;
  SETSOUNDSCAPE(s);
}

}  // namespace orvela::sound
