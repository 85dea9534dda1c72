#pragma once
// The app's side of the sound: the sound list, the audio engine and the
// soundscape, started with the settings and kept in step with them.
#include "app/settings.h"
#include "map/grid.h"
#include "map/user.h"
#include "sound/audio_engine.h"
#include "sound/grid_cells.h"
#include "sound/sound_list.h"
#include "sound/soundscape.h"
#include "text/messages.h"
#include "ui/ui.h"

namespace orvela::app {

class Paths;

class SoundLink {
 public:
  SoundLink(const Paths& paths, const map::Grid& grid, const map::UserState& user);

  // READSOUNDSLIST.
  void read_sound_list(const Paths& paths);
  // Hands the volumes and switches of `s` to the engine and the soundscape.
  void push(const Settings& s);
  // Takes them back (they change through the Sound menu) before they are
  // saved or shown as check marks.
  void pull(Settings& s) const;
  // Opens the device (SOUNDINIT), sets the volume and prepares the soundscape.
  void start(ui::Ui& ui, const Settings& s);

  void SETSOUNDSCAPE();
  void PLAYUSERSTEP(double prevhlev, double newhlev);
  void SOUNDSTOPALL() { engine_.SOUNDSTOPALL(); }
  void TESTSPEAKERS(ui::Ui& ui) { scape_.TESTSPEAKERS(ui); }
  bool SOUNDMUTEONKILLFOCUS() const { return scape_.settings().SOUNDMUTEONKILLFOCUS; }
  bool CUROBJHASTAGS() const { return scape_.CUROBJHASTAGS(); }
  void SOUNDCLOSE() { engine_.SOUNDCLOSE(); }

  // The Sound menu; false for other commands.
  bool dispatch(int id, ui::Ui& ui, text::Messages& msg, Settings& s);

 private:
  sound::Surroundings surroundings() const { return {cells_, user_.UDIR}; }
  void change_volume(int8_t step, Settings& s);

  const map::Grid& grid_;
  const map::UserState& user_;
  sound::SoundList list_;
  sound::AudioEngine engine_;
  sound::Soundscape scape_;
  sound::GridCells cells_;
};

}  // namespace orvela::app
