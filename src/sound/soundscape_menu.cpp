// The Sound menu: speaker test, presentation, device choice and switches.
#include <algorithm>

#include "sound/devices.h"
#include "sound/sound_presentation.h"
#include "sound/soundscape.h"
#include "text/translate.h"

namespace orvela::sound {
namespace {

constexpr int32_t kTestSoundMinBytes = 50000;

}  // namespace

void Soundscape::TESTSPEAKERS(ui::Ui& ui) {
  if (play_speaker_test() == SpeakerTest::NoSounds) ui.WGINFO(text::_("No loaded sounds."));
}

Soundscape::SpeakerTest Soundscape::play_speaker_test() {
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

void Soundscape::SOUNDPRESENTATION(ui::Ui& ui, const Surroundings& s) {
  engine_.SOUNDSTOPALL();
  engine_.SOUNDSETVOLUME(settings_.NORMALVOLUME);
  std::vector<SOUNDPRESENTATIONLISTREC> entries = MAKESPLIST(list_);
  std::vector<std::string> names;
  for (const auto& e : entries) names.push_back(e.LOCNAMEUTF8);
  settings_.SOUNDMUTEONKILLFOCUS = false;
  std::size_t chosen = 0;
  while (auto pick = ui.WGREADLIST(text::_("All sounds presentation"), text::_("Select sound"),
                                   names, chosen)) {
    if (*pick >= entries.size()) break;
    chosen = *pick;
    engine_.SOUNDSTOPALL();
    const std::string& fn =
        list_.SNDFILES()[static_cast<std::size_t>(entries[chosen].SOUNDFILEID)].FN;
    engine_.SOUNDPLAY(0, 0, fn, 100, 100);
  }
  SETSOUNDSCAPE(s);
  settings_.SOUNDMUTEONKILLFOCUS = true;
}

void Soundscape::SELECTSOUNDDEVICE(ui::Ui& ui) {
  auto devices = playback_devices();
  if (!devices) {
    ui.WGINFO(text::_("Unable to get devices list"));
    return;
  }
  auto pick =
      ui.WGREADLIST(text::_("Change sound card"), text::_("Select playback device"), *devices);
  if (!pick || *pick >= devices->size()) return;
  engine_.SOUNDCLOSE();
  start_engine(ui, (*devices)[*pick]);
  settings_.SOUNDMUTED = false;
  TESTSPEAKERS(ui);
}

void Soundscape::SWITCHMUTE(const Surroundings& s) {
  settings_.SOUNDMUTED = !settings_.SOUNDMUTED;
  if (settings_.SOUNDMUTED)
    engine_.SOUNDSTOPALL();
  else
    SETSOUNDSCAPE(s);
}

void Soundscape::SWITCHMONO(text::Messages& msg, const Surroundings& s) {
  bool& mono = engine_.settings().SOUNDMONO;
  mono = !mono;
  msg.EDA(
      text::STRTOKENREPLACE(text::_("{state} mono mode"), {"state", text::_(mono ? "On" : "Off")}));
  SETSOUNDSCAPE(s);
}

void Soundscape::SWITCHSOUNDBEHINDLOWER(const Surroundings& s) {
  engine_.settings().SOUNDBEHINDLOWER = !engine_.settings().SOUNDBEHINDLOWER;
  SETSOUNDSCAPE(s);
}

void Soundscape::SWITCHSOUNDHRTFMODE(ui::Ui& ui, const Surroundings& s) {
  engine_.settings().SOUNDHRTFMODE = !engine_.settings().SOUNDHRTFMODE;
  engine_.SOUNDCLOSE();
  ui.WGINFO(text::_("This change will take effect after restarting the program."));
  start_engine(ui, engine_.SOUNDDEVICENAME());
  settings_.SOUNDMUTED = false;
  SETSOUNDSCAPE(s);
}

void Soundscape::SWITCHSOUNDSPEAKERS(ui::Ui& ui, const Surroundings& s) {
  if (!ui.WGTN(text::_("Exchange sound channels?"))) return;
  engine_.settings().SOUNDSPEAKERSCHANGED = !engine_.settings().SOUNDSPEAKERSCHANGED;
  SETSOUNDSCAPE(s);
}

}  // namespace orvela::sound
