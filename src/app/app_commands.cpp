// The app's own commands: Quit, the Settings menu and the Help menu.
#include "app/app.h"
#include "app/settings_menu.h"
#include "text/translate.h"

namespace orvela::app {

using text::N_;
using ui::Key;
using ui::Menu;
using ui::MOD_CTRL;

void App::flip_setting(bool& flag) {
  flag = !flag;
  SAVESETTINGSREMINDER(settings_, ui_);
}

void App::add_app_commands() {
  ui::Commands& c = commands_;
  Settings& s = settings_;
  // clang-format off
  // Alt+F4 is the system's own key; the item only shows it.
  c.add({.id = 100, .name = "IDM_CLOSE", .menu = Menu::Map, .order = 1000, .text = N_("&Quit"),
         .key_text = "alt+f4", .run = [this] { ui_.request_close(); }});

  c.add({.id = 601, .name = "IDM_SAVEUSERINI", .menu = Menu::Settings, .order = 10,
         .text = N_("&Save user settings"), .run = [this] { SAVEUSERINI(settings_, paths_, ui_); }});
  c.add({.id = 602, .name = "IDM_READUSERINI", .menu = Menu::Settings, .order = 20,
         .text = N_("&Load user settings"), .run = [this] {
           if (!READUSERINI(settings_, paths_, ui_, false)) return;
           mouse_.apply_settings();
           sound_.SETSOUNDSCAPE();
         }});
  c.add({.id = 603, .name = "IDM_AUTOUPDATECHECK", .menu = Menu::Settings, .order = 30,
         .text = N_("Automatic update check at startup"),
         .run = [this] { flip_setting(settings_.CHECKAUTOUPDATE); },
         .checked = [&s] { return s.CHECKAUTOUPDATE; }});
  c.add({.id = 604, .name = "IDM_CONFIRMEXIT", .menu = Menu::Settings, .order = 40,
         .text = N_("Confirm program exit"), .run = [this] { flip_setting(settings_.CONFIRMEXIT); },
         .checked = [&s] { return s.CONFIRMEXIT; }});
  c.add({.id = 605, .name = "IDM_SAVESETTINGSREMIND", .menu = Menu::Settings, .order = 50,
         .text = N_("&Settings save reminder"),
         .run = [this] { flip_setting(settings_.SAVESETTINGSREMIND); },
         .checked = [&s] { return s.SAVESETTINGSREMIND; }});
  c.add({.id = 611, .name = "IDM_SELECTBOOKMARKSAVEFORMAT", .menu = Menu::Settings, .order = 60,
         .text = N_("Bookmarks save &format..."), .run = [this] {
           SELECTBOOKMARKSAVEFORMAT(settings_, ui_, [this] { bookmarks_.forget_files(); });
         }});
  c.add({.id = 621, .name = "IDM_SELECTUDIRMODE", .menu = Menu::Settings, .order = 70,
         .text = N_("Direction announcement..."), .key = ui::key('.', MOD_CTRL),
         .run = [this] { SELECTUDIRMODE(settings_, ui_); }});
  c.add({.id = 731, .name = "IDM_NMEALOG_OMITSTOPS", .menu = Menu::Settings, .order = 80,
         .text = N_("Omit stops in NMEA log"),
         .run = [this] { flip_setting(settings_.gps.NMEALOG_OMITSTOPS); },
         .checked = [&s] { return s.gps.NMEALOG_OMITSTOPS; }});
  c.add({.id = 732, .name = "IDM_GPS_AUTOUDIRCHANGE", .menu = Menu::Settings, .order = 90,
         .text = N_("Automatic direction change in GPS mode"),
         .run = [this] { flip_setting(settings_.gps.GPS_AUTOUDIRCHANGE); },
         .checked = [&s] { return s.gps.GPS_AUTOUDIRCHANGE; }});

  c.add({.id = 901, .name = "IDM_HELPMANUAL", .menu = Menu::Help, .order = 10,
         .text = N_("&User manual"), .key = ui::key(Key::F1), .run = [this] { help_manual(); }});
  c.add({.id = 902, .name = "IDM_HELPABOUT", .menu = Menu::Help, .order = 20,
         .text = N_("Orvela - &informations..."), .run = [this] { about_box(); }});
  c.add({.id = 903, .name = "IDM_HELPWWW", .menu = Menu::Help, .order = 40,
         .text = N_("&Home page"), .run = [this] { open_home_page(); }});
  c.add({.id = 904, .name = "IDM_HELPMAIL", .menu = Menu::Help, .order = 50,
         .text = N_("&Mail to author"),
         .run = [this] { mail_author(); }});
  // clang-format on
}

}  // namespace orvela::app
