// Commands whose modules are still to come (weather). Their
// items stand in the menu with their keys and enabling rules and do nothing
// yet; each moves, row by row, into the module that carries it out.
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
  auto position_known = [this] { return user_.ULATLONSET; };
  // clang-format off
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
