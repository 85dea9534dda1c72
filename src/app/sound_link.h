#pragma once
// The app's side of the sound: the sound list, the audio engine and the
// soundscape, working on the sound settings the app holds, and the Sound
// menu, whose dialogs and messages are the app's to show.
#include <cstdint>
#include <functional>
#include <string_view>

#include "map/grid.h"
#include "map/user.h"
#include "sound/audio_engine.h"
#include "sound/beacon.h"
#include "sound/grid_cells.h"
#include "sound/sound_list.h"
#include "sound/soundscape.h"
#include "text/messages.h"
#include "ui/command.h"
#include "ui/ui.h"

namespace orvela::app {

class Paths;

class SoundLink {
 public:
  // `bookmark_at` tells which bookmark stands on a cell.
  SoundLink(const Paths& paths, const map::Grid& grid, const map::UserState& user,
            sound::SoundSettings& settings, sound::BookmarkAt bookmark_at);

  // READSOUNDSLIST.
  void read_sound_list(const Paths& paths);
  // Opens the device of the settings (SOUNDINIT, its failures shown), sets
  // the volume and prepares the soundscape.
  void start(ui::Ui& ui);

  // The soundscape around the user, and the beacon with it.
  void SETSOUNDSCAPE();
  void PLAYUSERSTEP(double prevhlev, double newhlev);
  void SOUNDSTOPALL() {
    engine_.SOUNDSTOPALL();
    beacon_.stop();
  }
  // One sound at the user's cell (SOUNDPLAY), and the master volume, for
  // the mouse calibration.
  void SOUNDPLAY(std::string_view fn, uint8_t gain, uint16_t pitch) {
    engine_.SOUNDPLAY(0, 0, fn, gain, pitch);
  }
  void SOUNDSETVOLUME(int perc) { engine_.SOUNDSETVOLUME(perc); }
  int SOUNDVOLUME() const { return engine_.SOUNDVOLUME(); }
  // The speaker test; "No loaded sounds." when the sound list names no file.
  void TESTSPEAKERS(ui::Ui& ui);
  bool SOUNDMUTEONKILLFOCUS() const { return settings_.scape.SOUNDMUTEONKILLFOCUS; }
  bool CUROBJHASTAGS() const { return scape_.CUROBJHASTAGS(); }
  void SOUNDCLOSE() {
    beacon_.release();
    engine_.SOUNDCLOSE();
  }

  sound::Beacon& beacon() { return beacon_; }
  // Makes the beacon sound from where the user is now, or fall silent
  // (muted, position unknown, no target).
  void update_beacon();
  // Asked before the beacon sounds: the app turns the beacon off here when
  // the bookmark it stands on has been deleted.
  std::function<void()> before_beacon;

  // The Sound menu's rows.
  void add_commands(ui::Commands& commands, ui::Ui& ui, text::Messages& msg);

 private:
  sound::Surroundings surroundings() const { return {cells_, user_.UDIR}; }
  void change_volume(int8_t step);
  void SOUNDPRESENTATION(ui::Ui& ui);
  void SELECTSOUNDDEVICE(ui::Ui& ui);
  // "Can not create alsoft.ini", "Can not initialize sound".
  static void show_failures(ui::Ui& ui, const sound::InitResult& r);

  const map::Grid& grid_;
  const map::UserState& user_;
  sound::SoundSettings& settings_;
  sound::SoundList list_;
  sound::AudioEngine engine_;
  sound::Soundscape scape_;
  sound::GridCells cells_;
  // After the engine: it gives its OpenAL objects back while the device is open.
  sound::Beacon beacon_;
};

}  // namespace orvela::app
