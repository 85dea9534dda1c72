#pragma once
// The running program: every module, built once and wired together, the
// table of its commands, and the main window's events handed to them.
#include <string>

#include "app/beacon_link.h"
#include "app/paths.h"
#include "app/settings.h"
#include "app/shell_state.h"
#include "app/shown_speech.h"
#include "app/sound_link.h"
#include "bookmarks/bookmarks.h"
#include "explore/details.h"
#include "explore/explorer.h"
#include "explore/mouse.h"
#include "explore/search.h"
#include "gps/gps.h"
#include "map/grid.h"
#include "map/loader.h"
#include "map/mapdb.h"
#include "map/user.h"
#include "online/online.h"
#include "osm/import_driver.h"
#include "text/messages.h"
#include "text/speech.h"
#include "text/string_consts.h"
#include "ui/command.h"
#include "ui/events.h"
#include "ui/menu.h"
#include "ui/ui.h"
#include "weather/weather.h"

namespace orvela::app {

class App final : public ui::EventHandler {
 public:
  // Builds every module on `ui`, speaking through `voice`, with the writable
  // files in `paths` and the catalogue of `lang` ("en", "pl", ...) loaded.
  // Nothing is read or opened before start(); until the sound device is
  // open, the sound commands do nothing audible.
  App(ui::Ui& ui, text::Speech& voice, Paths paths, std::string lang);
  ~App() override;
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // The start-up after the window and the menu exist, in its order: the
  // user's state, sounds, settings, the audio engine, the zoom level, the
  // start position (without one, the demo map: opened in the window, only
  // installed in the console), the speaker test.
  void start(bool open_demo_map);
  // The end, after the window has closed.
  void finish();

  // BUILDMAINMENU for this program's commands and language.
  ui::MenuBar menu_bar() const;

  // A menu command or key. A database failure inside it ends only the
  // command: "Database error" is spoken, the map is closed, the program goes on.
  void on_command(int id) override;
  void on_focus(bool gained) override;
  void on_init_menu() override;
  void on_menu_loop(bool entered) override;
  // First offers to save changed bookmarks (a save that was cancelled or
  // failed keeps the window open), then asks "Really quit program?" when
  // exit confirmation is on; false keeps the window open.
  bool on_close_requested() override;
  // Mouse input, for walking with the mouse while "Use mouse" is on.
  void on_mouse_move(int dx, int dy) override;
  void on_mouse_click(ui::MouseButton button, uint32_t time_ms) override;
  void on_mouse_leave() override;
  // Speaks and shows what failed, says that the program goes on, and
  // appends it to the error log of the home folder.
  void on_unexpected_error(const std::string& what) override;

  // Reset of the user's state at start-up.
  void reset_user_state();

  // The parts, for the start-up code and for tests.
  ui::Commands& commands() { return commands_; }
  Settings& settings() { return settings_; }
  ShellState& state() { return st_; }
  const Paths& paths() const { return paths_; }
  map::MapDb& db() { return db_; }
  map::Grid& grid() { return grid_; }
  map::UserState& user() { return user_; }
  map::MapLoader& loader() { return loader_; }
  bookmarks::Bookmarks& bookmarks() { return bookmarks_; }
  explore::Explorer& explorer() { return explorer_; }
  explore::Mouse& mouse() { return mouse_; }
  gps::Gps& gps() { return gps_; }
  text::Messages& messages() { return msg_; }

 private:
  void add_commands();
  // The rows of the app's own commands: Quit, the Settings and Help menus.
  void add_app_commands();
  // What the bookmarks ask of exploring and sound.
  void install_bookmark_hooks();
  void flip_setting(bool& flag);
  // Mouse input to the mouse module, unless a command's dialog is open.
  void mouse_input(const explore::MouseInput& in);
  void database_failed();
  void help_manual();
  void about_box();
  // Help's "Home page" and "Mail to author": says which orvela.ini key to
  // set while the address is empty.
  void open_home_page();
  void mail_author();

  ui::Ui& ui_;
  const Paths paths_;
  const std::string lang_;
  const text::StringConsts consts_;
  ShownSpeech speech_;
  text::Messages msg_;
  Settings settings_;
  ShellState st_;
  map::MapDb db_;
  map::Grid grid_;
  map::UserState user_;
  map::MapLoader loader_;
  bookmarks::Bookmarks bookmarks_;
  explore::Explorer explorer_;
  gps::Gps gps_;
  explore::Mouse mouse_;
  explore::Search search_;
  explore::Details details_;
  SoundLink sound_;
  BeaconLink beacon_;
  osm::ImportContext import_;
  online::Online online_;
  weather::Weather weather_;
  ui::Commands commands_;
  // Commands under way: more than 0 while one of them shows a dialog.
  int commands_running_ = 0;
};

}  // namespace orvela::app
