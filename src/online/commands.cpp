#include "online/commands.h"

#include "online/online.h"
#include "text/translate.h"

namespace orvela::online {

using text::N_;
using ui::Key;
using ui::Menu;
using ui::MOD_CTRL;

void add_commands(ui::Commands& c, Online& on) {
  auto map_open = [&on] { return on.map_open(); };
  auto position_known = [&on] { return on.position_known(); };
  // The map servers' items are Polish, as their maps are, and exist only
  // with the Polish catalogue.
  // clang-format off
  c.add({.id = 120, .name = "IDM_INSTALLMAP", .menu = Menu::MapInstall, .order = 10,
         .text = "&Podstawowy serwer...", .polish_only = true,
         .run = [&on] { on.INSTALLMAP(true, {}); }});
  c.add({.id = 125, .name = "IDM_INSTALLMAP2", .menu = Menu::MapInstall, .order = 20,
         .text = "&zapasowy serwer...", .polish_only = true,
         .run = [&on] { on.INSTALLMAP(false, {}); }});
  c.add({.id = 130, .name = "IDM_DELMAP", .menu = Menu::Map, .order = 60,
         .text = N_("&Delete map..."), .run = [&on] { on.DELMAP(); }});
  c.add({.id = 135, .name = "IDM_UPDMAP", .menu = Menu::Map, .order = 70,
         .text = "&Aktualizuj otwartą mapę", .key = ui::key(Key::F5, MOD_CTRL),
         .polish_only = true, .run = [&on] { on.UPDMAP(); }, .enabled = map_open});
  c.add({.id = 140, .name = "IDM_UPDALLMAPS", .menu = Menu::Map, .order = 80,
         .text = "&Aktualizuj moje mapy...", .polish_only = true,
         .run = [&on] { on.UPDALLMAPS(false); }});
  c.add({.id = 150, .name = "IDM_UMPWWW", .menu = Menu::Map, .order = 100,
         .text = "&Wyświetl na UMP-www...", .key = ui::key(Key::Enter, MOD_CTRL),
         .polish_only = true, .run = [&on] { on.UMPWWW(); }, .enabled = position_known});

  c.add({.id = 905, .name = "IDM_CHECKPROGRAMUPDATE", .menu = Menu::Help, .order = 30,
         .text = N_("Check program &update..."), .run = [&on] { on.CHECKPROGRAMUPDATE(false); }});
  // clang-format on
}

}  // namespace orvela::online
