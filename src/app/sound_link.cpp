#include "app/sound_link.h"

#include <algorithm>

#include "app/commands.h"
#include "app/paths.h"

namespace orvela::app {

namespace {

uint8_t byte_of(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

}  // namespace

SoundLink::SoundLink(const Paths& paths, const map::Grid& grid, const map::UserState& user)
    : grid_(grid),
      user_(user),
      engine_(
          sound::EnginePaths{paths.sounds_dir(), paths.alsoft_ini(), paths.program_dir() / "hrtf"}),
      scape_(engine_, list_),
      cells_(grid, user) {}

void SoundLink::read_sound_list(const Paths& paths) {
  list_.READSOUNDSLIST(paths.sounds_ini(), paths.sounds_dir());
}

void SoundLink::push(const Settings& s) {
  sound::EngineSettings& e = engine_.settings();
  e.SOUNDSCAPERANGE = byte_of(s.SOUNDSCAPERANGE);
  e.SOUNDDISTANCEFACTOR = byte_of(s.SOUNDDISTANCEFACTOR);
  e.SOUNDDISTANCEMODEL = s.SOUNDDISTANCEMODEL;
  e.SOUNDBEHINDLOWER = s.SOUNDBEHINDLOWER;
  e.SOUNDHRTFMODE = s.SOUNDHRTFMODE;
  e.SOUNDMONO = s.SOUNDMONO;
  e.SOUNDSPEAKERSCHANGED = s.SOUNDSPEAKERSCHANGED;
  sound::SoundscapeSettings& c = scape_.settings();
  c.SOUNDMUTED = s.SOUNDMUTED;
  c.NORMALVOLUME = byte_of(s.NORMALVOLUME);
  c.LINIEVOL = byte_of(s.LINIEVOL);
  c.OBSZARYVOL = byte_of(s.OBSZARYVOL);
}

void SoundLink::pull(Settings& s) const {
  const sound::EngineSettings& e = engine_.settings();
  s.SOUNDBEHINDLOWER = e.SOUNDBEHINDLOWER;
  s.SOUNDHRTFMODE = e.SOUNDHRTFMODE;
  s.SOUNDMONO = e.SOUNDMONO;
  s.SOUNDSPEAKERSCHANGED = e.SOUNDSPEAKERSCHANGED;
  s.SOUNDMUTED = scape_.settings().SOUNDMUTED;
  s.NORMALVOLUME = scape_.settings().NORMALVOLUME;
  // A device chosen from the menu is used from the next start on.
  if (!engine_.SOUNDDEVICENAME().empty()) s.SOUNDDEVICENAME = engine_.SOUNDDEVICENAME();
}

void SoundLink::start(ui::Ui& ui, const Settings& s) {
  push(s);
  scape_.start_engine(ui, s.SOUNDDEVICENAME);
  engine_.SOUNDSETVOLUME(s.NORMALVOLUME);
  scape_.settings().SOUNDMUTEONKILLFOCUS = true;
  engine_.SOUNDSCAPEINIT();
}

void SoundLink::SETSOUNDSCAPE() { scape_.SETSOUNDSCAPE(surroundings()); }

void SoundLink::PLAYUSERSTEP(double prevhlev, double newhlev) {
  scape_.PLAYUSERSTEP(cells_, prevhlev, newhlev, grid_.USTEPPITCH);
}

void SoundLink::change_volume(int8_t step, Settings& s) {
  // Without a device the engine keeps no volume; the setting stays as it is.
  if (!engine_.has_device()) return;
  engine_.SOUNDCHANGEVOLUME(step);
  scape_.settings().NORMALVOLUME = engine_.SOUNDVOLUME();
  s.NORMALVOLUME = engine_.SOUNDVOLUME();
}

bool SoundLink::dispatch(int id, ui::Ui& ui, text::Messages& msg, Settings& s) {
  switch (id) {
    case IDM_VOLUP:
      change_volume(5, s);
      return true;
    case IDM_VOLDOWN:
      change_volume(-5, s);
      return true;
    case IDM_MUTE:
      scape_.SWITCHMUTE(surroundings());
      return true;
    case IDM_TESTLEFT:
      scape_.TESTSPEAKERS(ui);
      return true;
    case IDM_CHANGESPEAKERS:
      scape_.SWITCHSOUNDSPEAKERS(ui, surroundings());
      return true;
    case IDM_MONO:
      scape_.SWITCHMONO(msg, surroundings());
      return true;
    case IDM_SOUNDBEHINDLOWER:
      scape_.SWITCHSOUNDBEHINDLOWER(surroundings());
      return true;
    case IDM_SOUNDHRTFMODE:
      scape_.SWITCHSOUNDHRTFMODE(ui, surroundings());
      return true;
    case IDM_SOUNDPRESENTATION:
      scape_.SOUNDPRESENTATION(ui, surroundings());
      return true;
    case IDM_SELECTSOUNDDEVICE:
      scape_.SELECTSOUNDDEVICE(ui);
      return true;
    default:
      return false;
  }
}

}  // namespace orvela::app
