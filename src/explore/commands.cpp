#include "explore/commands.h"

#include "explore/details.h"
#include "explore/explorer.h"
#include "explore/search.h"
#include "map/user.h"
#include "text/translate.h"

namespace orvela::explore {

using text::N_;
using ui::Key;
using ui::Menu;
using ui::MOD_ALT;
using ui::MOD_CTRL;
using ui::MOD_SHIFT;

namespace {

void add_search_commands(ui::Commands& c, Search& search, Details& details,
                         const map::UserState& user) {
  auto position_known = [&user] { return user.ULATLONSET; };
  auto has_tags = [&details] { return details.CUROBJHASTAGS(); };
  // clang-format off
  c.add({.id = 110, .name = "IDM_SELSTARTPOINT", .menu = Menu::Map, .order = 30,
         .text = N_("Select start point..."), .key = ui::key('T', MOD_CTRL),
         .run = [&search] { search.SELMAPSTARTPOINT(); },
         .enabled = [&search] { return search.map_chosen(); }});
  c.add({.id = 145, .name = "IDM_MAPHISTORY", .menu = Menu::Map, .order = 90,
         .text = "&Historia otwartej mapy...", .polish_only = true,
         .run = [&details] { details.MAPHISTORY(); }});
  c.add({.id = 115, .name = "IDM_AREASTATS", .menu = Menu::Map, .order = 110,
         .text = N_("Loaded area s&tatistics..."), .run = [&details] { details.AREASTATS(); }});

  c.add({.id = 251, .name = "IDM_AREAPOINTS", .menu = Menu::Area, .order = 10,
         .text = N_("&Points in area..."), .key = ui::key('P'),
         .run = [&search] { search.LOCALMAPSEARCH(map::OBJTYPE_POI); }, .enabled = position_known});
  c.add({.id = 252, .name = "IDM_AREANODES", .menu = Menu::Area, .order = 20,
         .text = N_("&Intersections in area..."), .key = ui::key('K'),
         .run = [&search] { search.LOCALMAPSEARCH(map::OBJTYPE_INTERSECTION); },
         .enabled = position_known});
  c.add({.id = 256, .name = "IDM_AREAADR", .menu = Menu::Area, .order = 30,
         .text = N_("&Addresses in area..."), .key = ui::key('I'),
         .run = [&search] { search.LOCALMAPSEARCH(map::OBJTYPE_ADDRESS); },
         .enabled = position_known});
  c.add({.id = 253, .name = "IDM_AREALINES", .menu = Menu::Area, .order = 40,
         .text = N_("&Lines in area..."), .key = ui::key('L'),
         .run = [&search] { search.LOCALMAPSEARCH(map::OBJTYPE_LINE); },
         .enabled = position_known});
  c.add({.id = 254, .name = "IDM_AREAPOLYG", .menu = Menu::Area, .order = 50,
         .text = N_("&Polygons in area..."), .key = ui::key('O'),
         .run = [&search] { search.LOCALMAPSEARCH(map::OBJTYPE_POLYGON); },
         .enabled = position_known});
  c.add({.id = 255, .name = "IDM_AREAALL", .menu = Menu::Area, .order = 60,
         .text = N_("&Everything in area..."), .key = ui::key('J'),
         .run = [&search] { search.LOCALMAPSEARCH('\0'); }, .enabled = position_known});

  c.add({.id = 309, .name = "IDM_SAYTAGS", .menu = Menu::Say, .order = 70,
         .text = N_("Say object tags"), .key = ui::key('T'),
         .run = [&details] { details.SAYTAGS(); }, .enabled = has_tags});
  c.add({.id = 308, .name = "IDM_SHOWTAGS", .menu = Menu::Say, .order = 80,
         .text = N_("Show object tags..."), .key = ui::key('T', MOD_SHIFT),
         .run = [&details] { details.SHOWTAGS(); }, .enabled = has_tags});
  c.add({.id = 310, .name = "IDM_SAYID", .menu = Menu::Say, .order = 90,
         .text = N_("Object ID"), .key = ui::key('I', MOD_SHIFT),
         .run = [&details] { details.SAYID(); }});
  // clang-format on
}

}  // namespace

void add_commands(ui::Commands& c, Explorer& ex, Search& search, Details& details) {
  const map::UserState& user = ex.user();
  // clang-format off
  c.add({.id = 101, .name = "IDM_FILEOPEN", .menu = Menu::Map, .order = 10,
         .text = N_("&Open..."), .key = ui::key('O', MOD_CTRL),
         .run = [&search] { search.FILEOPEN(); }});
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
  add_search_commands(c, search, details, user);
}

}  // namespace orvela::explore
