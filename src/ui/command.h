#pragma once
// The program's commands, one row each: what the menu shows, which key runs
// it, what it does, and when its item is enabled or checked. Every module
// that owns commands adds its rows to one Commands table at start-up; the
// menu bar, the accelerators, the dispatch of a command and the menu's
// enabling all read that table. Adding a command is adding one row in the
// module whose behaviour it is.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/keys.h"

namespace orvela::ui {

class Ui;

// The menus and submenus of the menu bar; where they stand and their titles
// are the app's business (app/commands.cpp).
enum class Menu {
  Map,
  MapInstall,  // "Download and install map", Polish only
  MapImport,   // "Import OpenStreetMap"
  Navigation,
  Area,
  Bookmarks,
  Sound,
  Say,
  Gps,
  GpsRewind,  // "Log rewind"
  Settings,
  Weather,
  Help,
};

struct Command {
  int id = 0;             // the IDM_ number the window delivers
  const char* name = "";  // "IDM_GOFORWARD": scripts and tests use it
  Menu menu = Menu::Map;
  int order = 0;  // place among the items of its menu, smaller first
  // Menu text, "&" before the access letter; marked with N_ and translated
  // when the menu is built, or a fixed Polish text (polish_only).
  const char* text = "";
  std::optional<Accel> key{};
  // What the menu shows after the text; empty: the key's own text.
  const char* key_text = "";
  // The key text is a word to translate ("Up arrow"), not a key name ("Ctrl+PGUP").
  bool key_text_is_word = false;
  // The item and its key exist only while the Polish catalogue is in use.
  bool polish_only = false;
  // What the command does; empty for a command whose module has not come yet.
  std::function<void()> run{};
  // When the item is enabled; empty: always. Keys act either way.
  std::function<bool()> enabled{};
  // When it shows a check mark; empty: the item is no switch.
  std::function<bool()> checked{};
};

class Commands {
 public:
  // Adds one row. A second row with the id, name or key of an earlier one is
  // a mistake in the program and throws std::logic_error at start-up.
  void add(Command c);

  const Command* find(int id) const;
  const Command* find(std::string_view name) const;
  // The id of the command named `name`; 0 when there is none.
  int id_of(std::string_view name) const;
  const std::vector<Command>& all() const { return rows_; }

  // DISPATCH: runs command `id`. False when no row has that id.
  bool run(int id) const;
  // INITMENU: enables, disables, checks and unchecks every item by its row.
  void init_menu(Ui& ui) const;

 private:
  std::vector<Command> rows_;
};

}  // namespace orvela::ui
