// Commands whose modules are still to come (search and details, maps
// online, weather, the mouse). Their items stand in the menu with
// their keys and enabling rules and do nothing yet; each moves, row by row,
// into the module that carries it out.
#include "app/app.h"
#include "text/translate.h"

namespace orvela::app {

using text::N_;
using ui::Key;
using ui::Menu;
using ui::MOD_CTRL;
using ui::MOD_SHIFT;

void App::add_pending_commands() {
  ui::Commands& c = commands_;
  auto map_open = [this] { return !loader_.FN().empty(); };
  auto position_known = [this] { return user_.ULATLONSET; };
  auto has_tags = [this] { return sound_.CUROBJHASTAGS(); };
  auto mouse_on = [this] { return settings_.USEMOUSE; };
  // clang-format off
  c.add({.id = 110, .name = "IDM_SELSTARTPOINT", .menu = Menu::Map, .order = 30,
         .text = N_("Select start point..."), .key = ui::key('T', MOD_CTRL), .enabled = map_open});
  c.add({.id = 120, .name = "IDM_INSTALLMAP", .menu = Menu::MapInstall, .order = 10,
         .text = "&Podstawowy serwer...", .polish_only = true});
  c.add({.id = 125, .name = "IDM_INSTALLMAP2", .menu = Menu::MapInstall, .order = 20,
         .text = "&zapasowy serwer...", .polish_only = true});
  c.add({.id = 130, .name = "IDM_DELMAP", .menu = Menu::Map, .order = 60,
         .text = N_("&Delete map...")});
  c.add({.id = 135, .name = "IDM_UPDMAP", .menu = Menu::Map, .order = 70,
         .text = "&Aktualizuj otwartą mapę", .key = ui::key(Key::F5, MOD_CTRL),
         .polish_only = true, .enabled = map_open});
  c.add({.id = 140, .name = "IDM_UPDALLMAPS", .menu = Menu::Map, .order = 80,
         .text = "&Aktualizuj moje mapy...", .polish_only = true});
  c.add({.id = 145, .name = "IDM_MAPHISTORY", .menu = Menu::Map, .order = 90,
         .text = "&Historia otwartej mapy...", .polish_only = true});
  c.add({.id = 150, .name = "IDM_UMPWWW", .menu = Menu::Map, .order = 100,
         .text = "&Wyświetl na UMP-www...", .key = ui::key(Key::Enter, MOD_CTRL),
         .polish_only = true, .enabled = position_known});
  c.add({.id = 115, .name = "IDM_AREASTATS", .menu = Menu::Map, .order = 110,
         .text = N_("Loaded area s&tatistics...")});

  c.add({.id = 281, .name = "IDM_USEMOUSE", .menu = Menu::Navigation, .order = 170,
         .text = N_("Use mouse"), .key = ui::key('Y', MOD_CTRL), .checked = mouse_on});
  c.add({.id = 282, .name = "IDM_SETUPMOUSE", .menu = Menu::Navigation, .order = 180,
         .text = N_("Change mouse &sensitivity..."), .key = ui::key('Y', MOD_SHIFT),
         .enabled = mouse_on});
  c.add({.id = 283, .name = "IDM_ENTERMOUSEFACTOR", .menu = Menu::Navigation, .order = 190,
         .text = N_("Enter mouse s&ensivity..."), .key = ui::key('Y', MOD_CTRL | MOD_SHIFT),
         .enabled = mouse_on});

  c.add({.id = 251, .name = "IDM_AREAPOINTS", .menu = Menu::Area, .order = 10,
         .text = N_("&Points in area..."), .key = ui::key('P'), .enabled = position_known});
  c.add({.id = 252, .name = "IDM_AREANODES", .menu = Menu::Area, .order = 20,
         .text = N_("&Intersections in area..."), .key = ui::key('K'), .enabled = position_known});
  c.add({.id = 256, .name = "IDM_AREAADR", .menu = Menu::Area, .order = 30,
         .text = N_("&Addresses in area..."), .key = ui::key('I'), .enabled = position_known});
  c.add({.id = 253, .name = "IDM_AREALINES", .menu = Menu::Area, .order = 40,
         .text = N_("&Lines in area..."), .key = ui::key('L'), .enabled = position_known});
  c.add({.id = 254, .name = "IDM_AREAPOLYG", .menu = Menu::Area, .order = 50,
         .text = N_("&Polygons in area..."), .key = ui::key('O'), .enabled = position_known});
  c.add({.id = 255, .name = "IDM_AREAALL", .menu = Menu::Area, .order = 60,
         .text = N_("&Everything in area..."), .key = ui::key('J'), .enabled = position_known});

  c.add({.id = 309, .name = "IDM_SAYTAGS", .menu = Menu::Say, .order = 70,
         .text = N_("Say object tags"), .key = ui::key('T'), .enabled = has_tags});
  c.add({.id = 308, .name = "IDM_SHOWTAGS", .menu = Menu::Say, .order = 80,
         .text = N_("Show object tags..."), .key = ui::key('T', MOD_SHIFT), .enabled = has_tags});
  c.add({.id = 310, .name = "IDM_SAYID", .menu = Menu::Say, .order = 90,
         .text = N_("Object ID"), .key = ui::key('I', MOD_SHIFT)});

  c.add({.id = 810, .name = "IDM_WEATHERCURRENT", .menu = Menu::Weather, .order = 10,
         .text = N_("&Current..."), .key = ui::key('W'), .enabled = position_known});
  c.add({.id = 820, .name = "IDM_WEATHERHOURLY", .menu = Menu::Weather, .order = 20,
         .text = N_("&Hourly forecast for 5 days"), .key = ui::key('W', MOD_CTRL),
         .enabled = position_known});
  c.add({.id = 830, .name = "IDM_WEATHERDAILY", .menu = Menu::Weather, .order = 30,
         .text = N_("&Daily forecast for 15 days"), .key = ui::key('W', MOD_SHIFT),
         .enabled = position_known});

  c.add({.id = 905, .name = "IDM_CHECKPROGRAMUPDATE", .menu = Menu::Help, .order = 30,
         .text = N_("Check program &update...")});
  // clang-format on
}

}  // namespace orvela::app
