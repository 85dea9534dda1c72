// Commands whose modules are still to come (the mouse). Their
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
  auto mouse_on = [this] { return settings_.USEMOUSE; };
  // clang-format off
  c.add({.id = 281, .name = "IDM_USEMOUSE", .menu = Menu::Navigation, .order = 170,
         .text = N_("Use mouse"), .key = ui::key('Y', MOD_CTRL), .checked = mouse_on});
  c.add({.id = 282, .name = "IDM_SETUPMOUSE", .menu = Menu::Navigation, .order = 180,
         .text = N_("Change mouse &sensitivity..."), .key = ui::key('Y', MOD_SHIFT),
         .enabled = mouse_on});
  c.add({.id = 283, .name = "IDM_ENTERMOUSEFACTOR", .menu = Menu::Navigation, .order = 190,
         .text = N_("Enter mouse s&ensivity..."), .key = ui::key('Y', MOD_CTRL | MOD_SHIFT),
         .enabled = mouse_on});
  // clang-format on
}

}  // namespace orvela::app
