#include "app/sound_link.h"

#include "app/paths.h"
#include "sound/devices.h"
#include "text/translate.h"

namespace orvela::app {

using text::_;
using text::N_;
using ui::Key;
using ui::Menu;
using ui::MOD_CTRL;

SoundLink::SoundLink(const Paths& paths, const map::Grid& grid, const map::UserState& user,
                     sound::SoundSettings& settings, sound::BookmarkAt bookmark_at)
    : grid_(grid),
      user_(user),
      settings_(settings),
      engine_(sound::EnginePaths{paths.sounds_dir(), paths.alsoft_ini(), paths.hrtf_dir()},
              settings.engine),
      scape_(engine_, list_, settings.scape),
      cells_(grid, user, std::move(bookmark_at)),
      beacon_(engine_, paths.sounds_dir()) {}

void SoundLink::read_sound_list(const Paths& paths) {
  list_.READSOUNDSLIST(paths.sounds_ini(), paths.sounds_dir());
}

void SoundLink::show_failures(ui::Ui& ui, const sound::InitResult& r) {
  if (!r.config_written) ui.WGINFO(_("Can not create alsoft.ini"));
  if (!r.device_open) ui.WGINFO(_("Can not initialize sound"));
}

void SoundLink::start(ui::Ui& ui) {
  show_failures(ui, scape_.start_engine());
  engine_.SOUNDSETVOLUME(settings_.scape.NORMALVOLUME);
  settings_.scape.SOUNDMUTEONKILLFOCUS = true;
  engine_.SOUNDSCAPEINIT();
}

void SoundLink::SETSOUNDSCAPE() {
  scape_.SETSOUNDSCAPE(surroundings());
  update_beacon();
}

void SoundLink::update_beacon() {
  if (before_beacon) before_beacon();
  if (settings_.scape.SOUNDMUTED || !user_.ULATLONSET) {
    beacon_.stop();
    return;
  }
  beacon_.play({user_.ULAT, user_.ULON, user_.UDIR, grid_.SQMETERS});
}

void SoundLink::PLAYUSERSTEP(double prevhlev, double newhlev) {
  scape_.PLAYUSERSTEP(cells_, prevhlev, newhlev, grid_.USTEPPITCH);
}

void SoundLink::TESTSPEAKERS(ui::Ui& ui) {
  // The test sound plays alone, as the soundscape falls silent for it.
  beacon_.stop();
  if (scape_.TESTSPEAKERS() == sound::Soundscape::SpeakerTest::NoSounds)
    ui.WGINFO(_("No loaded sounds."));
}

void SoundLink::change_volume(int8_t step) {
  // Without a device the engine keeps no volume; the setting stays as it is.
  if (!engine_.has_device()) return;
  engine_.SOUNDCHANGEVOLUME(step);
  settings_.scape.NORMALVOLUME = engine_.SOUNDVOLUME();
}

void SoundLink::SOUNDPRESENTATION(ui::Ui& ui) {
  const std::vector<sound::SOUNDPRESENTATIONLISTREC> entries = scape_.start_presentation();
  beacon_.stop();
  std::vector<std::string> names;
  for (const auto& e : entries) names.push_back(e.LOCNAMEUTF8);
  std::size_t chosen = 0;
  while (auto pick =
             ui.WGREADLIST(_("All sounds presentation"), _("Select sound"), names, chosen)) {
    chosen = *pick;
    scape_.present(entries[chosen]);
  }
  scape_.end_presentation(surroundings());
  update_beacon();
}

void SoundLink::SELECTSOUNDDEVICE(ui::Ui& ui) {
  auto devices = sound::playback_devices();
  if (!devices) {
    ui.WGINFO(_("Unable to get devices list"));
    return;
  }
  auto pick = ui.WGREADLIST(_("Change sound card"), _("Select playback device"), *devices);
  if (!pick) return;
  beacon_.release();
  show_failures(ui, scape_.change_device((*devices)[*pick]));
  TESTSPEAKERS(ui);
}

void SoundLink::add_commands(ui::Commands& c, ui::Ui& ui, text::Messages& msg) {
  const sound::EngineSettings& e = settings_.engine;
  // clang-format off
  c.add({.id = 401, .name = "IDM_VOLUP", .menu = Menu::Sound, .order = 10,
         .text = N_("&Increase volume"), .key = ui::key(Key::PageUp),
         .run = [this] { change_volume(5); }});
  c.add({.id = 402, .name = "IDM_VOLDOWN", .menu = Menu::Sound, .order = 20,
         .text = N_("&Decrease volume"), .key = ui::key(Key::PageDown),
         .run = [this] { change_volume(-5); }});
  c.add({.id = 406, .name = "IDM_MUTE", .menu = Menu::Sound, .order = 30,
         .text = N_("&Mute"), .key = ui::key(Key::Space, MOD_CTRL),
         .run = [this] {
           scape_.SWITCHMUTE(surroundings());
           update_beacon();
         },
         .checked = [this] { return settings_.scape.SOUNDMUTED; }});
  c.add({.id = 403, .name = "IDM_TESTLEFT", .menu = Menu::Sound, .order = 40,
         .text = N_("Which &left speaker"), .key = ui::key('K', MOD_CTRL),
         .run = [this, &ui] { TESTSPEAKERS(ui); }});
  c.add({.id = 408, .name = "IDM_CHANGESPEAKERS", .menu = Menu::Sound, .order = 50,
         .text = N_("e&xchange channels"), .key = ui::key('I', MOD_CTRL),
         .run = [this, &ui] {
           if (!ui.WGTN(_("Exchange sound channels?"))) return;
           scape_.SWITCHSOUNDSPEAKERS(surroundings());
           update_beacon();
         },
         .checked = [&e] { return e.SOUNDSPEAKERSCHANGED; }});
  c.add({.id = 407, .name = "IDM_MONO", .menu = Menu::Sound, .order = 60,
         .text = N_("Mono mode"), .key = ui::key('M', MOD_CTRL),
         .run = [this, &msg] {
           const bool mono = scape_.SWITCHMONO(surroundings());
           update_beacon();
           // TRANSLATORS: {state} is "On" or "Off", translated on their own.
           msg.EDA(text::STRTOKENREPLACE(_("{state} mono mode"),
                                         {"state", _(mono ? "On" : "Off")}));
         },
         .checked = [&e] { return e.SOUNDMONO; }});
  c.add({.id = 409, .name = "IDM_SOUNDBEHINDLOWER", .menu = Menu::Sound, .order = 70,
         .text = N_("Sounds behind lower"),
         .run = [this] { scape_.SWITCHSOUNDBEHINDLOWER(surroundings()); },
         .checked = [&e] { return e.SOUNDBEHINDLOWER; }});
  c.add({.id = 410, .name = "IDM_SOUNDHRTFMODE", .menu = Menu::Sound, .order = 80,
         .text = N_("&HRTF mode"),
         .run = [this, &ui] {
           beacon_.release();
           const sound::InitResult r = scape_.SWITCHSOUNDHRTFMODE(surroundings());
           update_beacon();
           ui.WGINFO(_("This change will take effect after restarting the program."));
           show_failures(ui, r);
         },
         .checked = [&e] { return e.SOUNDHRTFMODE; }});
  c.add({.id = 404, .name = "IDM_SOUNDPRESENTATION", .menu = Menu::Sound, .order = 90,
         .text = N_("&All sounds presentation..."), .run = [this, &ui] { SOUNDPRESENTATION(ui); }});
  c.add({.id = 405, .name = "IDM_SELECTSOUNDDEVICE", .menu = Menu::Sound, .order = 100,
         .text = N_("Switch sound card..."), .run = [this, &ui] { SELECTSOUNDDEVICE(ui); }});
  // clang-format on
}

}  // namespace orvela::app
