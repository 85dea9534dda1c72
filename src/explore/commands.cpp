#include "explore/commands.h"

#include "explore/explorer.h"
#include "map/user.h"
#include "text/translate.h"

namespace orvela::explore {

using text::N_;
using ui::Key;
using ui::Menu;
using ui::MOD_ALT;
using ui::MOD_CTRL;
using ui::MOD_SHIFT;

void add_commands(ui::Commands& c, Explorer& ex) {
  const map::UserState& user = ex.user();
  // clang-format off
  c.add({.id = 101, .name = "IDM_FILEOPEN", .menu = Menu::Map, .order = 10,
         .text = N_("&Open..."), .key = ui::key('O', MOD_CTRL), .run = [&ex] { ex.FILEOPEN(); }});
  c.add({.id = 105, .name = "IDM_MAPREFRESH", .menu = Menu::Map, .order = 20,
         .text = N_("Refresh"), .key = ui::key('R', MOD_CTRL), .run = [&ex] { ex.RELOADMAP(); }});

  // The arrows' texts are words ("Up arrow"); the square sizes' are key names.
  c.add({.id = 211, .name = "IDM_GOFORWARD", .menu = Menu::Navigation, .order = 10,
         .text = N_("Go forward"), .key = ui::key(Key::Up), .key_text = N_("Up arrow"),
         .key_text_is_word = true, .run = [&ex] { ex.UDIRMOVE(0); }});
  c.add({.id = 212, .name = "IDM_GOBACK", .menu = Menu::Navigation, .order = 20,
         .text = N_("Go back"), .key = ui::key(Key::Down), .key_text = N_("Down arrow"),
         .key_text_is_word = true, .run = [&ex] { ex.UDIRMOVE(180); }});
  c.add({.id = 213, .name = "IDM_GOLEFT", .menu = Menu::Navigation, .order = 30,
         .text = N_("Go left"), .key = ui::key(Key::Left), .key_text = N_("Left arrow"),
         .key_text_is_word = true, .run = [&ex] { ex.UDIRMOVE(-90); }});
  c.add({.id = 214, .name = "IDM_GORIGHT", .menu = Menu::Navigation, .order = 40,
         .text = N_("Go right"), .key = ui::key(Key::Right), .key_text = N_("Right arrow"),
         .key_text_is_word = true, .run = [&ex] { ex.UDIRMOVE(90); }});
  c.add({.id = 225, .name = "IDM_WALKNEXT", .menu = Menu::Navigation, .order = 42,
         .text = N_("Walk to the next intersection"), .key = ui::key(Key::Up, MOD_ALT),
         .key_text = N_("Alt+Up arrow"), .key_text_is_word = true,
         .run = [&ex] { ex.WALKSTREET(false); }});
  c.add({.id = 226, .name = "IDM_WALKBACK", .menu = Menu::Navigation, .order = 44,
         .text = N_("Walk back to the previous intersection"), .key = ui::key(Key::Down, MOD_ALT),
         .key_text = N_("Alt+Down arrow"), .key_text_is_word = true,
         .run = [&ex] { ex.WALKSTREET(true); }});
  c.add({.id = 215, .name = "IDM_TURNLEFT", .menu = Menu::Navigation, .order = 50,
         .text = N_("Turn left by 15 degrees"), .key = ui::key(Key::Left, MOD_SHIFT),
         .key_text = N_("Shift+Left arrow"), .key_text_is_word = true,
         .run = [&ex] { ex.INCUDIR(-15); }});
  c.add({.id = 216, .name = "IDM_TURNRIGHT", .menu = Menu::Navigation, .order = 60,
         .text = N_("Turn right by 15 degrees"), .key = ui::key(Key::Right, MOD_SHIFT),
         .key_text = N_("Shift+Right arrow"), .key_text_is_word = true,
         .run = [&ex] { ex.INCUDIR(15); }});
  c.add({.id = 217, .name = "IDM_TURN90LEFT", .menu = Menu::Navigation, .order = 70,
         .text = N_("Turn left by 90 degrees"), .key = ui::key(Key::Left, MOD_CTRL),
         .key_text = N_("Ctrl+Left arrow"), .key_text_is_word = true,
         .run = [&ex] { ex.INCUDIR(-90); }});
  c.add({.id = 218, .name = "IDM_TURN90RIGHT", .menu = Menu::Navigation, .order = 80,
         .text = N_("Turn right by 90 degrees"), .key = ui::key(Key::Right, MOD_CTRL),
         .key_text = N_("Ctrl+Right arrow"), .key_text_is_word = true,
         .run = [&ex] { ex.INCUDIR(90); }});
  c.add({.id = 219, .name = "IDM_TURN180", .menu = Menu::Navigation, .order = 90,
         .text = N_("Turn by 180 degrees"), .key = ui::key(Key::Down, MOD_CTRL),
         .key_text = N_("Ctrl+Down arrow"), .key_text_is_word = true,
         .run = [&ex] { ex.INCUDIR(180); }});
  c.add({.id = 220, .name = "IDM_TURNNORTH", .menu = Menu::Navigation, .order = 100,
         .text = N_("Turn north"), .key = ui::key(Key::Up, MOD_CTRL),
         .key_text = N_("Ctrl+Up arrow"), .key_text_is_word = true,
         .run = [&ex, &user] { ex.INCUDIR(-user.UDIR); }});
  c.add({.id = 221, .name = "IDM_INCSQMETERS", .menu = Menu::Navigation, .order = 110,
         .text = N_("Increase square size"), .key = ui::key(Key::PageUp, MOD_CTRL),
         .key_text = "Ctrl+PGUP", .run = [&ex] { ex.SQMETERSCHANGE(0); }});
  c.add({.id = 222, .name = "IDM_DECSQMETERS", .menu = Menu::Navigation, .order = 120,
         .text = N_("Decrease square size"), .key = ui::key(Key::PageDown, MOD_CTRL),
         .key_text = "Ctrl+PGDN", .run = [&ex] { ex.SQMETERSCHANGE(1); }});
  c.add({.id = 223, .name = "IDM_MAXSQMETERS", .menu = Menu::Navigation, .order = 130,
         .text = N_("Maximum square size"), .key = ui::key(Key::PageUp, MOD_CTRL | MOD_SHIFT),
         .key_text = "Ctrl+Shift+PGUP", .run = [&ex] { ex.SQMETERSCHANGE(3); }});
  c.add({.id = 224, .name = "IDM_MINSQMETERS", .menu = Menu::Navigation, .order = 140,
         .text = N_("Minimum square size"), .key = ui::key(Key::PageDown, MOD_CTRL | MOD_SHIFT),
         .key_text = "Ctrl+Shift+PGDN", .run = [&ex] { ex.SQMETERSCHANGE(2); }});
  c.add({.id = 270, .name = "IDM_GOTOCORDS", .menu = Menu::Navigation, .order = 150,
         .text = N_("&Go to coordinates..."), .key = ui::key('G', MOD_CTRL),
         .run = [&ex] { ex.GOTOCORDS(); }});
  c.add({.id = 275, .name = "IDM_GOTOQTHLOC", .menu = Menu::Navigation, .order = 160,
         .text = N_("Go to &QTH location..."), .key = ui::key('Q', MOD_CTRL),
         .run = [&ex] { ex.GOTOQTHLOC(); }});

  c.add({.id = 302, .name = "IDM_SAYTYPE", .menu = Menu::Say, .order = 10,
         .text = N_("Current object type"), .key = ui::key(Key::Space),
         .run = [&ex] { ex.SAYTYP(); }});
  c.add({.id = 303, .name = "IDM_SAYDIRECTION", .menu = Menu::Say, .order = 20,
         .text = N_("&Current object direction"), .key = ui::key('/'),
         .run = [&ex] { ex.SAYDIRECTION(); }});
  c.add({.id = 315, .name = "IDM_SAYLAYOUT", .menu = Menu::Say, .order = 25,
         .text = N_("Roads at this intersection"), .key = ui::key('X'),
         .run = [&ex] { ex.SAYLAYOUT(); }});
  c.add({.id = 305, .name = "IDM_SAYUDIR", .menu = Menu::Say, .order = 30,
         .text = N_("&User direction"), .key = ui::key('.'), .run = [&ex] { ex.SAYUDIR(); }});
  c.add({.id = 306, .name = "IDM_SAYILEV", .menu = Menu::Say, .order = 40,
         .text = N_("&One square size"), .key = ui::key(','), .run = [&ex] { ex.SAYILEV(); }});
  c.add({.id = 307, .name = "IDM_SAYHLEVEL", .menu = Menu::Say, .order = 50,
         .text = N_("Current height level"), .key = ui::key('H'),
         .run = [&ex] { ex.SAYHLEVEL(); }});
  c.add({.id = 304, .name = "IDM_SHOWLASTSAY", .menu = Menu::Say, .order = 60,
         .text = N_("&Display last spoken message"), .key = ui::key(';'),
         .run = [&ex] { ex.SHOWLASTSAY(); }});
  // clang-format on
}

}  // namespace orvela::explore
