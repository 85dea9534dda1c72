#include "gps/commands.h"

#include "gps/gps.h"
#include "text/translate.h"

namespace orvela::gps {

using text::N_;
using ui::Key;
using ui::Menu;
using ui::MOD_ALT;
using ui::MOD_SHIFT;

void add_commands(ui::Commands& c, Gps& gps) {
  auto active = [&gps] { return gps.NMEAMODE() != NMEAMODE_NONE; };
  auto idle = [&gps] { return gps.NMEAMODE() == NMEAMODE_NONE; };
  auto log = [&gps] { return gps.NMEAMODE() == NMEAMODE_LOG; };
  // clang-format off
  c.add({.id = 751, .name = "IDM_GPSSAYTIME", .menu = Menu::Say, .order = 100,
         .text = N_("GPS &time"), .key = ui::key('C'), .run = [&gps] { gps.GPSSAYTIME(); },
         .enabled = active});
  c.add({.id = 752, .name = "IDM_GPSSAYSAT", .menu = Menu::Say, .order = 110,
         .text = N_("GPS &satellites"), .key = ui::key('S'), .run = [&gps] { gps.GPSSAYSAT(); },
         .enabled = active});
  c.add({.id = 753, .name = "IDM_GPSSAYHDOP", .menu = Menu::Say, .order = 120,
         .text = N_("GPS &Accuracy"), .key = ui::key('D'), .run = [&gps] { gps.GPSSAYHDOP(); },
         .enabled = active});

  c.add({.id = 701, .name = "IDM_GPSLOGOPEN", .menu = Menu::Gps, .order = 10,
         .text = N_("&Open log..."), .run = [&gps] { gps.GPSLOGOPEN(); }, .enabled = idle});
  c.add({.id = 702, .name = "IDM_GPSOPEN", .menu = Menu::Gps, .order = 20,
         .text = N_("&Connect device..."), .run = [&gps] { gps.GPSOPEN(); }, .enabled = idle});
  c.add({.id = 711, .name = "IDM_GPSPLAYPAUSE", .menu = Menu::Gps, .order = 30,
         .text = N_("Play / pause"), .key = ui::key(Key::Space, MOD_SHIFT),
         .run = [&gps] { gps.SWITCHNMEAPAUSE(); }, .enabled = active});
  c.add({.id = 712, .name = "IDM_GPSGOBACK1", .menu = Menu::GpsRewind, .order = 10,
         .text = N_("10 seconds back"), .key = ui::key(Key::Left, MOD_ALT),
         .run = [&gps] { gps.NMEALOGREWIND(-10); }, .enabled = log});
  c.add({.id = 713, .name = "IDM_GPSGOFORWARD1", .menu = Menu::GpsRewind, .order = 20,
         .text = N_("10 seconds forward"), .key = ui::key(Key::Right, MOD_ALT),
         .run = [&gps] { gps.NMEALOGREWIND(10); }, .enabled = log});
  c.add({.id = 714, .name = "IDM_GPSGOBACK2", .menu = Menu::GpsRewind, .order = 30,
         .text = N_("Minute back"), .key = ui::key(Key::PageUp, MOD_ALT),
         .run = [&gps] { gps.NMEALOGREWIND(-60); }, .enabled = log});
  c.add({.id = 715, .name = "IDM_GPSGOFORWARD2", .menu = Menu::GpsRewind, .order = 40,
         .text = N_("Minute forward"), .key = ui::key(Key::PageDown, MOD_ALT),
         .run = [&gps] { gps.NMEALOGREWIND(60); }, .enabled = log});
  c.add({.id = 716, .name = "IDM_GPSGOTOHOME", .menu = Menu::GpsRewind, .order = 50,
         .text = N_("To begin"), .key = ui::key(Key::Home, MOD_ALT),
         .run = [&gps] { gps.NMEALOGREWINDHOME(); }, .enabled = log});
  c.add({.id = 717, .name = "IDM_GPSGOTOEND", .menu = Menu::GpsRewind, .order = 60,
         .text = N_("To end"), .key = ui::key(Key::End, MOD_ALT),
         .run = [&gps] { gps.NMEALOGREWINDEND(); }, .enabled = log});
  c.add({.id = 781, .name = "IDM_NMEADISCONNECT", .menu = Menu::Gps, .order = 50,
         .text = N_("Close / disconnect"), .run = [&gps] { gps.NMEADISCONNECT(); },
         .enabled = active});
  // clang-format on
}

}  // namespace orvela::gps
