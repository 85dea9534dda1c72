#include "app/app.h"

#include <fmt/chrono.h>
#include <fmt/format.h>

#include <chrono>
#include <fstream>

#include "app/commands.h"
#include "app/init_menu.h"
#include "app/settings_menu.h"
#include "map/db_error.h"
#include "osm/import_driver.h"
#include "text/translate.h"

namespace orvela::app {

using text::_;

App::App(AppParts parts) : p_(std::move(parts)) {
  p_.grid.set_reload_hook([this] { RELOADMAP(); });
}

App::~App() { p_.grid.set_reload_hook({}); }

void App::reset_user_state() {
  p_.user.ULAT = 0;
  p_.user.ULON = 0;
  p_.user.ULATLONSET = false;
  p_.user.LASTKIER = 0;
  st_.LASTUSEDSERVER = true;
  p_.settings.CONFIRMEXIT = true;
  p_.settings.UDIRMODE = 0;
  apply_settings();
  p_.explorer.SETUDIR(0);
}

void App::apply_settings() {
  p_.user.UDIRMODE = static_cast<uint8_t>(p_.settings.UDIRMODE);
  if (p_.sound) p_.sound->push(p_.settings);
  // Mouse input takes its switch from here once it is part of the program.
}

void App::SETSOUNDSCAPE() {
  if (p_.sound) p_.sound->SETSOUNDSCAPE();
}

void App::on_command(int id) {
  try {
    DISPATCH(id);
  } catch (const map::DbFatalError&) {
    // The error line is already in the log; the person hears what happened
    // and keeps the program, with the map closed.
    database_failed();
  }
}

void App::database_failed() {
  p_.msg.EDA(_("Database error"));
  p_.loader.set_FN({});
  try {
    p_.db.DBCLOSE();
  } catch (const map::DbFatalError&) {
    // Closing failed as well (already logged); the handle is dropped either way.
  }
}

void App::DISPATCH(int id) {
  if (dispatch_map(id) || dispatch_navigation(id) || dispatch_say(id) || dispatch_settings(id) ||
      dispatch_help(id))
    return;
  if (p_.sound && p_.sound->dispatch(id, p_.ui, p_.msg, p_.settings)) return;
  // The remaining commands belong to modules that join the program later;
  // until then they do nothing.
}

bool App::dispatch_map(int id) {
  switch (id) {
    case IDM_CLOSE:
      p_.ui.request_close();
      return true;
    case IDM_FILEOPEN:
      FILEOPEN();
      return true;
    case IDM_MAPREFRESH:
      RELOADMAP();
      return true;
    case IDM_OSMIMPORTFILE:
      osm_import(true);
      return true;
    case IDM_OSMIMPORTSERVER:
      osm_import(false);
      return true;
    default:
      return false;
  }
}

bool App::dispatch_navigation(int id) {
  explore::Explorer& e = p_.explorer;
  switch (id) {
    case IDM_GOFORWARD:
      e.UDIRMOVE(0);
      return true;
    case IDM_GOBACK:
      e.UDIRMOVE(180);
      return true;
    case IDM_GOLEFT:
      e.UDIRMOVE(-90);
      return true;
    case IDM_GORIGHT:
      e.UDIRMOVE(90);
      return true;
    case IDM_TURNLEFT:
      e.INCUDIR(-15);
      return true;
    case IDM_TURNRIGHT:
      e.INCUDIR(15);
      return true;
    case IDM_TURN90LEFT:
      e.INCUDIR(-90);
      return true;
    case IDM_TURN90RIGHT:
      e.INCUDIR(90);
      return true;
    case IDM_TURN180:
      e.INCUDIR(180);
      return true;
    case IDM_TURNNORTH:
      e.INCUDIR(-p_.user.UDIR);
      return true;
    case IDM_GOTOCORDS:
      e.GOTOCORDS();
      return true;
    case IDM_GOTOQTHLOC:
      e.GOTOQTHLOC();
      return true;
    case IDM_INCSQMETERS:
      p_.grid.SQMETERSCHANGE(0, p_.msg);
      return true;
    case IDM_DECSQMETERS:
      p_.grid.SQMETERSCHANGE(1, p_.msg);
      return true;
    case IDM_MINSQMETERS:
      p_.grid.SQMETERSCHANGE(2, p_.msg);
      return true;
    case IDM_MAXSQMETERS:
      p_.grid.SQMETERSCHANGE(3, p_.msg);
      return true;
    default:
      return false;
  }
}

bool App::dispatch_say(int id) {
  switch (id) {
    case IDM_SAYTYPE:
      p_.explorer.SAYTYP();
      return true;
    case IDM_SAYDIRECTION:
      p_.explorer.SAYDIRECTION();
      return true;
    case IDM_SAYUDIR:
      p_.explorer.SAYUDIR();
      return true;
    case IDM_SAYILEV:
      p_.grid.SAYILEV(p_.msg);
      return true;
    case IDM_SAYHLEVEL:
      p_.explorer.SAYHLEVEL();
      return true;
    case IDM_SHOWLASTSAY:
      p_.explorer.SHOWLASTSAY();
      return true;
    default:
      return false;
  }
}

void App::flip_setting(bool& flag) {
  flag = !flag;
  SAVESETTINGSREMINDER(p_.settings, p_.ui);
}

bool App::dispatch_settings(int id) {
  Settings& s = p_.settings;
  switch (id) {
    case IDM_SAVEUSERINI:
      if (p_.sound) p_.sound->pull(s);
      SAVEUSERINI(s, p_.paths, p_.ui);
      return true;
    case IDM_READUSERINI:
      if (READUSERINI(s, p_.paths, p_.ui, false)) {
        apply_settings();
        SETSOUNDSCAPE();
      }
      return true;
    case IDM_AUTOUPDATECHECK:
      flip_setting(s.CHECKAUTOUPDATE);
      return true;
    case IDM_CONFIRMEXIT:
      flip_setting(s.CONFIRMEXIT);
      return true;
    case IDM_SAVESETTINGSREMIND:
      flip_setting(s.SAVESETTINGSREMIND);
      return true;
    case IDM_NMEALOG_OMITSTOPS:
      flip_setting(s.NMEALOG_OMITSTOPS);
      return true;
    case IDM_GPS_AUTOUDIRCHANGE:
      flip_setting(s.GPS_AUTOUDIRCHANGE);
      return true;
    case IDM_SELECTUDIRMODE:
      SELECTUDIRMODE(s, p_.ui);
      apply_settings();
      return true;
    case IDM_SELECTBOOKMARKSAVEFORMAT:
      SELECTBOOKMARKSAVEFORMAT(s, p_.ui, [this] {
        st_.LASTBOOKMARKSFN.clear();
        st_.LASTSAVEDBOOKMARKSFN.clear();
      });
      return true;
    default:
      return false;
  }
}

bool App::dispatch_help(int id) {
  switch (id) {
    case IDM_HELPMANUAL:
      help_manual();
      return true;
    case IDM_HELPABOUT:
      about_box();
      return true;
    case IDM_HELPWWW:
      p_.ui.RUNWEB(p_.settings.services.home_page);
      return true;
    case IDM_HELPMAIL:
      p_.ui.RUNMAIL(p_.settings.services.author_mail);
      return true;
    default:
      return false;
  }
}

void App::RELOADMAP() { p_.loader.RELOADMAP(); }

void App::FILEOPEN() {
  if (!p_.loader.SELECTMAP()) return;
  p_.loader.READMAP();
  // A map with nothing around the user asks for a start point here
  // (SELMAPSTARTPOINT) once the start-point search exists.
}

void App::osm_import(bool from_file) {
  osm::ImportContext ctx{p_.db, p_.loader, p_.user, p_.ui, p_.paths.osm_rules()};
  osm::OSMIMPORT(ctx, from_file);
}

void App::help_manual() {
  const std::filesystem::path doc = p_.paths.help_file(p_.lang);
  // A language without its own manual gets the English one rather than none.
  const std::filesystem::path english = p_.paths.help_file("en");
  std::error_code ec;
  if (std::filesystem::exists(doc, ec)) {
    p_.ui.WGSHELLEXE(doc.string());
  } else if (std::filesystem::exists(english, ec)) {
    p_.ui.WGSHELLEXE(english.string());
  } else {
    p_.ui.WGINFO(
        text::STRTOKENREPLACE(_("The user manual {file} is missing."), {"file", doc.string()}));
  }
}

void App::about_box() {
  p_.ui.WGINFO(fmt::format("{} {}\n{}\n{}\n{}", APPNAME, VERSION,
                           _("A map explorer for blind and visually impaired people."),
                           p_.settings.services.home_page, p_.settings.services.author_mail));
}

void App::on_focus(bool gained) {
  // Centring the mouse (with USEMOUSE) joins here with mouse input. Speech
  // is not affected by the focus, only the soundscape.
  if (gained) {
    SETSOUNDSCAPE();
  } else if (p_.sound && p_.sound->SOUNDMUTEONKILLFOCUS()) {
    p_.sound->SOUNDSTOPALL();
  }
  st_.PROGRAMLOSTFOCUS = !gained;
}

void App::on_menu_loop(bool entered) { on_focus(!entered); }

void App::on_init_menu() {
  if (p_.sound) {
    p_.sound->pull(p_.settings);
    st_.CUROBJHASTAGS = p_.sound->CUROBJHASTAGS();
  }
  INITMENU(p_.ui, !p_.loader.FN().empty(), p_.user.ULATLONSET, st_, p_.settings);
}

void App::on_unexpected_error(const std::string& what) {
  {
    // One open-append-close per line: a crash right after still leaves it.
    std::ofstream log(p_.paths.error_log(), std::ios::app | std::ios::binary);
    const auto now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    if (log) log << fmt::format("{:%Y-%m-%d %H:%M:%S} {}\n", now, what);
  }
  const std::string said = text::STRTOKENREPLACE(
      _("Unexpected error: {error}. The command was stopped; the program goes on."),
      {"error", what});
  p_.msg.EDA(said);
  p_.ui.WGINFO(said);
}

bool App::on_close_requested() {
  if (st_.BOOKMARKSMODIFIED && p_.ui.WGTN(_("Save bookmarks?"))) {
    // Saving to the last bookmark file (SAVEBOOKMARKS(true)) joins here
    // with the bookmark module.
  }
  if (p_.settings.CONFIRMEXIT && !p_.ui.WGTN(_("Really quit program?"))) return false;
  return true;
}

}  // namespace orvela::app
