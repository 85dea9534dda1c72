// Commands whose modules are still to come (search and details, GPS,
// weather, the mouse). Their items stand in the menu with
// their keys and enabling rules and do nothing yet; each moves, row by row,
// into the module that carries it out.
#include "app/app.h"
#include "text/translate.h"

namespace orvela::app {

using text::N_;
using ui::Key;
using ui::Menu;
using ui::MOD_ALT;
using ui::MOD_CTRL;
using ui::MOD_SHIFT;

void App::add_pending_commands() {
  ui::Commands& c = commands_;
  auto map_open = [this] { return !loader_.FN().empty(); };
  auto position_known = [this] { return user_.ULATLONSET; };
  auto has_tags = [this] { return sound_.CUROBJHASTAGS(); };
  auto gps_active = [this] { return st_.NMEAMODE != NMEAMODE_NONE; };
  auto gps_idle = [this] { return st_.NMEAMODE == NMEAMODE_NONE; };
  auto gps_log = [this] { return st_.NMEAMODE == NMEAMODE_LOG; };
  auto mouse_on = [this] { return settings_.USEMOUSE; };
  // clang-format off
  c.add({.id = 110, .name = "IDM_SELSTARTPOINT", .menu = Menu::Map, .order = 30,
         .text = N_("Select start point..."), .key = ui::key('T', MOD_CTRL), .enabled = map_open});
  c.add({.id = 145, .name = "IDM_MAPHISTORY", .menu = Menu::Map, .order = 90,
         .text = "&Historia otwartej mapy...", .polish_only = true});
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
  c.add({.id = 751, .name = "IDM_GPSSAYTIME", .menu = Menu::Say, .order = 100,
         .text = N_("GPS &time"), .key = ui::key('C'), .enabled = gps_active});
  c.add({.id = 752, .name = "IDM_GPSSAYSAT", .menu = Menu::Say, .order = 110,
         .text = N_("GPS &satellites"), .key = ui::key('S'), .enabled = gps_active});
  c.add({.id = 753, .name = "IDM_GPSSAYHDOP", .menu = Menu::Say, .order = 120,
         .text = N_("GPS &Accuracy"), .key = ui::key('D'), .enabled = gps_active});

  c.add({.id = 701, .name = "IDM_GPSLOGOPEN", .menu = Menu::Gps, .order = 10,
         .text = N_("&Open log..."), .enabled = gps_idle});
  c.add({.id = 702, .name = "IDM_GPSOPEN", .menu = Menu::Gps, .order = 20,
         .text = N_("&Connect device..."), .enabled = gps_idle});
  c.add({.id = 711, .name = "IDM_GPSPLAYPAUSE", .menu = Menu::Gps, .order = 30,
         .text = N_("Play / pause"), .key = ui::key(Key::Space, MOD_SHIFT), .enabled = gps_active});
  c.add({.id = 712, .name = "IDM_GPSGOBACK1", .menu = Menu::GpsRewind, .order = 10,
         .text = N_("10 seconds back"), .key = ui::key(Key::Left, MOD_ALT), .enabled = gps_log});
  c.add({.id = 713, .name = "IDM_GPSGOFORWARD1", .menu = Menu::GpsRewind, .order = 20,
         .text = N_("10 seconds forward"), .key = ui::key(Key::Right, MOD_ALT), .enabled = gps_log});
  c.add({.id = 714, .name = "IDM_GPSGOBACK2", .menu = Menu::GpsRewind, .order = 30,
         .text = N_("Minute back"), .key = ui::key(Key::PageUp, MOD_ALT), .enabled = gps_log});
  c.add({.id = 715, .name = "IDM_GPSGOFORWARD2", .menu = Menu::GpsRewind, .order = 40,
         .text = N_("Minute forward"), .key = ui::key(Key::PageDown, MOD_ALT), .enabled = gps_log});
  c.add({.id = 716, .name = "IDM_GPSGOTOHOME", .menu = Menu::GpsRewind, .order = 50,
         .text = N_("To begin"), .key = ui::key(Key::Home, MOD_ALT), .enabled = gps_log});
  c.add({.id = 717, .name = "IDM_GPSGOTOEND", .menu = Menu::GpsRewind, .order = 60,
         .text = N_("To end"), .key = ui::key(Key::End, MOD_ALT), .enabled = gps_log});
  c.add({.id = 781, .name = "IDM_NMEADISCONNECT", .menu = Menu::Gps, .order = 50,
         .text = N_("Close / disconnect"), .enabled = gps_active});

  c.add({.id = 810, .name = "IDM_WEATHERCURRENT", .menu = Menu::Weather, .order = 10,
         .text = N_("&Current..."), .key = ui::key('W'), .enabled = position_known});
  c.add({.id = 820, .name = "IDM_WEATHERHOURLY", .menu = Menu::Weather, .order = 20,
         .text = N_("&Hourly forecast for 5 days"), .key = ui::key('W', MOD_CTRL),
         .enabled = position_known});
  c.add({.id = 830, .name = "IDM_WEATHERDAILY", .menu = Menu::Weather, .order = 30,
         .text = N_("&Daily forecast for 15 days"), .key = ui::key('W', MOD_SHIFT),
         .enabled = position_known});
  // clang-format on
}

}  // namespace orvela::app
