#include "bookmarks/commands.h"

#include "bookmarks/bookmarks.h"
#include "map/user.h"
#include "text/translate.h"

namespace orvela::bookmarks {

using text::N_;
using ui::Key;
using ui::Menu;
using ui::MOD_CTRL;
using ui::MOD_SHIFT;

void add_commands(ui::Commands& c, Bookmarks& bm, const map::UserState& user) {
  auto bookmark_file = [&bm] { return !bm.LASTBOOKMARKSFN().empty(); };
  // What a bookmark changes on the map is heard at once.
  auto then_sound = [&bm](std::function<void()> op) {
    return [&bm, op = std::move(op)] {
      op();
      if (bm.hooks.SETSOUNDSCAPE) bm.hooks.SETSOUNDSCAPE();
    };
  };
  // clang-format off
  c.add({.id = 155, .name = "IDM_READSTARTPOS", .menu = Menu::Map, .order = 120,
         .text = N_("&Load starting position"), .key = ui::key('P', MOD_CTRL),
         .run = [&bm] { bm.READSTARTPOS(); }});
  c.add({.id = 160, .name = "IDM_SAVESTARTPOS", .menu = Menu::Map, .order = 130,
         .text = N_("Sa&ve starting position"), .run = [&bm] { bm.SAVESTARTPOS(); },
         .enabled = [&user] { return user.ULATLONSET; }});

  c.add({.id = 501, .name = "IDM_BOOKMARKEDIT", .menu = Menu::Bookmarks, .order = 10,
         .text = N_("&Add/edit bookmark..."), .key = ui::key(Key::Enter),
         .run = then_sound([&bm] { bm.BOOKMARKEDIT(false); })});
  c.add({.id = 502, .name = "IDM_BOOKMARKGOTO", .menu = Menu::Bookmarks, .order = 20,
         .text = N_("&Go to bookmark..."), .key = ui::key('U'),
         .run = [&bm] { bm.BOOKMARKGOTO(); }});
  c.add({.id = 508, .name = "IDM_BOOKMARKMOVE", .menu = Menu::Bookmarks, .order = 30,
         .text = N_("&Move bookmark..."), .key = ui::key('U', MOD_CTRL),
         .run = [&bm] { bm.BOOKMARKMOVE(); }});
  c.add({.id = 509, .name = "IDM_BOOKMARKSORTNUM", .menu = Menu::Bookmarks, .order = 40,
         .text = N_("&Sort bookmarks numerically..."), .key = ui::key('U', MOD_SHIFT),
         .run = [&bm] { bm.BOOKMARKSORTNUM(); }});
  c.add({.id = 510, .name = "IDM_BOOKMARKDISTANCESUM", .menu = Menu::Bookmarks, .order = 50,
         .text = N_("Bookmarks distance &sum"), .key = ui::key('M'),
         .run = [&bm] { bm.BOOKMARKDISTANCESUM(); }});
  c.add({.id = 511, .name = "IDM_BOOKMARKRENUMBER", .menu = Menu::Bookmarks, .order = 60,
         .text = N_("Re&number bookmarks..."), .key = ui::key('N', MOD_SHIFT),
         .run = [&bm] { bm.BOOKMARKRENUMBER(); }});
  c.add({.id = 503, .name = "IDM_BOOKMARKDEL", .menu = Menu::Bookmarks, .order = 70,
         .text = N_("&Delete bookmark"), .key = ui::key(Key::Delete),
         .run = then_sound([&bm] { bm.BOOKMARKDEL(false); })});
  c.add({.id = 507, .name = "IDM_BOOKMARKDELALL", .menu = Menu::Bookmarks, .order = 80,
         .text = N_("Delete &all bookmarks"), .key = ui::key(Key::Delete, MOD_CTRL),
         .run = then_sound([&bm] { bm.BOOKMARKDELALL(); })});
  c.add({.id = 505, .name = "IDM_BOOKMARKLOAD", .menu = Menu::Bookmarks, .order = 90,
         .text = N_("&L&oad bookmarks..."), .key = ui::key('L', MOD_CTRL),
         .run = [&bm] { bm.LOADBOOKMARKS(); }});
  c.add({.id = 504, .name = "IDM_BOOKMARKSAVE", .menu = Menu::Bookmarks, .order = 100,
         .text = N_("&Save bookmarks"), .key = ui::key('S', MOD_CTRL),
         .run = [&bm] { bm.SAVEBOOKMARKS(true); }});
  c.add({.id = 512, .name = "IDM_BOOKMARKSAVEAS", .menu = Menu::Bookmarks, .order = 110,
         .text = N_("Save bookmarks &as..."), .run = [&bm] { bm.SAVEBOOKMARKS(false); }});
  c.add({.id = 506, .name = "IDM_BOOKMARKCLIPCPY", .menu = Menu::Bookmarks, .order = 120,
         .text = N_("&Copy file to clipboard"), .key = ui::key('C', MOD_CTRL),
         .run = [&bm] { bm.CLIPCPYBOOKMARKSFILE(); }, .enabled = bookmark_file});
  c.add({.id = 513, .name = "IDM_BOOKMARKOPENFOLDER", .menu = Menu::Bookmarks, .order = 130,
         .text = N_("Open &folder"), .key = ui::key('E', MOD_CTRL),
         .run = [&bm] { bm.OPENBOOKMARKSFOLDER(); }, .enabled = bookmark_file});
  // clang-format on
}

}  // namespace orvela::bookmarks
