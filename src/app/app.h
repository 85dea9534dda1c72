#pragma once
// The main window's brain: every command and window event arrives here and
// is handed to the operation that carries it out.
#include <functional>
#include <string>

#include "app/paths.h"
#include "app/settings.h"
#include "app/shell_state.h"
#include "app/sound_link.h"
#include "explore/explorer.h"
#include "map/grid.h"
#include "map/loader.h"
#include "map/mapdb.h"
#include "map/user.h"
#include "text/messages.h"
#include "ui/events.h"
#include "ui/ui.h"

namespace orvela::app {

// The modules the window works with, owned by the start-up code for the
// whole run.
struct AppParts {
  ui::Ui& ui;
  text::Messages& msg;
  const Paths& paths;
  Settings& settings;
  map::MapDb& db;
  map::Grid& grid;
  map::UserState& user;
  map::MapLoader& loader;
  explore::Explorer& explorer;
  // The sound, or nothing when the program runs without it.
  SoundLink* sound;
  // The current language code ("en", "pl", ...).
  std::string lang;
};

class App final : public ui::EventHandler {
 public:
  explicit App(AppParts parts);
  ~App() override;
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // A menu command or key. A database failure inside it ends only the
  // command: "Database error" is spoken, the map is closed, the program goes on.
  void on_command(int id) override;
  void on_focus(bool gained) override;
  void on_init_menu() override;
  void on_menu_loop(bool entered) override;
  // First offers to save changed bookmarks, then asks "Really quit
  // program?" when exit confirmation is on; false keeps the window open.
  bool on_close_requested() override;
  // Speaks and shows what failed, says that the program goes on, and
  // appends it to the error log of the home folder.
  void on_unexpected_error(const std::string& what) override;

  ShellState& state() { return st_; }
  const ShellState& state() const { return st_; }

  // Reset of the user's state at start-up.
  void reset_user_state();
  // Hands the settings just read or chosen to the modules that use them.
  void apply_settings();

 private:
  void DISPATCH(int id);
  bool dispatch_map(int id);
  bool dispatch_navigation(int id);
  bool dispatch_say(int id);
  bool dispatch_settings(int id);
  bool dispatch_help(int id);
  void flip_setting(bool& flag);
  void SETSOUNDSCAPE();
  void database_failed();
  // Loads the grid again around the user; "No map selected." without a map.
  void RELOADMAP();
  void FILEOPEN();
  void osm_import(bool from_file);
  void help_manual();
  void about_box();

  AppParts p_;
  ShellState st_;
};

}  // namespace orvela::app
