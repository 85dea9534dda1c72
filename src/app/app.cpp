#include "app/app.h"

#include <fmt/chrono.h>
#include <fmt/format.h>

#include <chrono>

#include "app/commands.h"
#include "app/settings_menu.h"
#include "bookmarks/commands.h"
#include "explore/commands.h"
#include "explore/first_start.h"
#include "gps/commands.h"
#include "map/db_error.h"
#include "online/commands.h"
#include "text/atomic_file.h"
#include "text/translate.h"
#include "weather/commands.h"

namespace orvela::app {

using text::_;

App::App(ui::Ui& ui, text::Speech& voice, Paths paths, std::string lang)
    : ui_(ui),
      paths_(std::move(paths)),
      lang_(std::move(lang)),
      speech_(ui, voice),
      msg_(speech_),
      db_(paths_.errdb_log()),
      loader_(db_, grid_, user_, paths_.maps_dir()),
      bookmarks_(user_, grid_, loader_, ui_, msg_, consts_, settings_.bookmarks,
                 paths_.start_pos_file()),
      explorer_(grid_, user_, loader_, ui_, msg_, consts_, settings_.explore),
      gps_(ui_, msg_, explorer_, grid_, consts_, settings_.explore, settings_.gps),
      mouse_(explorer_, user_, grid_, bookmarks_, ui_, msg_, settings_.mouse),
      search_(explorer_, bookmarks_, db_, loader_, grid_, user_, ui_),
      details_(explorer_, db_, grid_, user_, ui_, msg_),
      sound_(paths_, grid_, user_, settings_.sound,
             [this](double x, double y) { return bookmarks_.GETBOOKMARKATXY(x, y); }),
      beacon_(sound_, bookmarks_, explorer_, user_, msg_),
      import_{db_, loader_, explorer_, user_, ui_, paths_.osm_rules()},
      online_({db_, loader_, explorer_, user_, ui_, settings_.services, paths_.temp_dir(),
               paths_.update_dat(), VERSION, WEBGETUSERAGENT}),
      weather_({ui_, user_, explorer_, consts_, settings_.weather, paths_.temp_dir()}) {
  ui_.set_box_titles(consts_.WGINFOTITLE, consts_.WGQUESTIONTITLE);
  loader_.hooks.after_load = [this] {
    bookmarks_.RECALCARRLOC();
    sound_.SETSOUNDSCAPE();
  };
  explorer_.hooks.SETSOUNDSCAPE = [this] { sound_.SETSOUNDSCAPE(); };
  sound_.before_beacon = [this] { beacon_.follow_bookmark(); };
  explorer_.hooks.PLAYUSERSTEP = [this](double prev, double now) {
    sound_.PLAYUSERSTEP(prev, now);
  };
  explorer_.hooks.bookmark_at = [this](int x, int y) -> std::optional<std::string> {
    const int32_t i = bookmarks_.GETBOOKMARKATXY(x, y);
    if (i < 0) return std::nullopt;
    return bookmarks_.BOOKMARKS()[static_cast<std::size_t>(i)].NAME;
  };
  install_bookmark_hooks();
  mouse_.hooks.SOUNDSTOPALL = [this] { sound_.SOUNDSTOPALL(); };
  mouse_.hooks.SOUNDSETVOLUME = [this](int perc) { sound_.SOUNDSETVOLUME(perc); };
  mouse_.hooks.SOUNDVOLUME = [this] { return sound_.SOUNDVOLUME(); };
  mouse_.hooks.SOUNDPLAY = [this](std::string_view fn, uint8_t gain, uint16_t pitch) {
    sound_.SOUNDPLAY(fn, gain, pitch);
  };
  import_.OSMMAPSERVERS = [this] {
    const ServiceConfig& c = settings_.services;
    return std::vector<std::string>{c.xapi_server_1, c.xapi_server_2, c.xapi_server_3};
  };
  import_.download = [this](const std::string& url, const std::filesystem::path& file,
                            ui::BgProgress& progress) {
    return online_.download_to(url, file, progress);
  };
  weather_.download = [this](const std::string& url, const std::filesystem::path& file,
                             ui::BgProgress& progress) {
    return online_.download_to(url, file, progress);
  };
  add_commands();
}

App::~App() = default;

void App::install_bookmark_hooks() {
  bookmarks::BookmarkHooks& h = bookmarks_.hooks;
  h.CHECKNOMAP = [this] { return explorer_.CHECKNOMAP(); };
  h.GETDIRSTR = [this](int32_t dir) { return explorer_.GETDIRSTR(dir); };
  h.GETMAPASTR = [this](double x, double y) { return explorer_.GETMAPASTR(x, y); };
  h.GOTOLATLON = [this](int32_t lat, int32_t lon, bool AUTO, const std::string& mapfn) {
    return explorer_.GOTOLATLON(lat, lon, AUTO, mapfn);
  };
  h.SETSOUNDSCAPE = [this] { sound_.SETSOUNDSCAPE(); };
}

void App::add_commands() {
  add_app_commands();
  explore::add_commands(commands_, explorer_, search_, details_);
  explore::add_mouse_commands(commands_, mouse_, settings_.mouse);
  bookmarks::add_commands(commands_, bookmarks_, user_);
  osm::add_commands(commands_, import_);
  gps::add_commands(commands_, gps_);
  online::add_commands(commands_, online_);
  weather::add_commands(commands_, weather_);
  sound_.add_commands(commands_, ui_, msg_);
  beacon_.add_commands(commands_);
}

ui::MenuBar App::menu_bar() const { return BUILDMAINMENU(commands_, lang_); }

void App::start(bool open_demo_map) {
  reset_user_state();
  sound_.read_sound_list(paths_);
  READINI(settings_, paths_.program_ini());
  READUSERINI(settings_, paths_, ui_, true);
  mouse_.apply_settings();
  sound_.start(ui_);
  grid_.ILEV = 2;
  grid_.SETILEV();
  bookmarks_.clear();
  online_.AUTOUPDATECHECK(settings_.CHECKAUTOUPDATE);
  ui_.raise();
  // The last map opens at the saved start position. Without one (the first
  // start, or a fresh --home) the window opens the demo map. The console
  // keeps its documented start with no map selected, which scripts rely
  // on, but the demo map is in its maps folder too.
  std::error_code ec;
  if (std::filesystem::exists(paths_.start_pos_file(), ec)) {
    bookmarks_.READSTARTPOS();
  } else {
    const std::filesystem::path demo = paths_.demo_maps_dir();
    if (open_demo_map)
      explore::open_demo_map(explorer_, loader_, db_, demo, paths_.maps_dir());
    else
      explore::install_demo_map(demo, paths_.maps_dir());
  }
  sound_.TESTSPEAKERS(ui_);
}

void App::finish() {
  // A playback or a receiver ends before the modules it moves.
  gps_.shutdown();
  sound_.SOUNDCLOSE();
  msg_.clear();
}

void App::reset_user_state() {
  user_.ULAT = 0;
  user_.ULON = 0;
  user_.ULATLONSET = false;
  user_.LASTKIER = 0;
  online_.LASTUSEDSERVER = true;
  settings_.CONFIRMEXIT = true;
  settings_.explore.UDIRMODE = 0;
  explorer_.SETUDIR(0);
}

void App::on_command(int id) {
  struct Running {
    int& depth;
    explicit Running(int& d) : depth(d) { ++depth; }
    ~Running() { --depth; }
  } running(commands_running_);
  try {
    commands_.run(id);
  } catch (const map::DbFatalError&) {
    // The error line is already in the log; the person hears what happened
    // and keeps the program, with the map closed.
    database_failed();
  }
}

void App::database_failed() {
  msg_.EDA(_("Database error"));
  loader_.set_FN({});
  try {
    db_.DBCLOSE();
  } catch (const map::DbFatalError&) {
    // Closing failed as well (already logged); the handle is dropped either way.
  }
}

void App::help_manual() {
  const std::filesystem::path doc = paths_.help_file(lang_);
  // A language without its own manual gets the English one rather than none.
  const std::filesystem::path english = paths_.help_file("en");
  std::error_code ec;
  if (std::filesystem::exists(doc, ec)) {
    ui_.WGSHELLEXE(doc.string());
  } else if (std::filesystem::exists(english, ec)) {
    ui_.WGSHELLEXE(english.string());
  } else {
    ui_.WGINFO(
        text::STRTOKENREPLACE(_("The user manual {file} is missing."), {"file", doc.string()}));
  }
}

void App::about_box() {
  const ServiceConfig& c = settings_.services;
  ui_.WGINFO(
      fmt::format("{} {}\n{}\n{}\n{}", APPNAME, VERSION,
                  _("A map explorer for blind and visually impaired people."),
                  c.home_page.empty() ? online::no_address_text("home_page") : c.home_page,
                  c.author_mail.empty() ? online::no_address_text("author_mail") : c.author_mail));
}

void App::open_home_page() {
  if (settings_.services.home_page.empty())
    ui_.WGINFO(online::no_address_text("home_page"));
  else
    ui_.RUNWEB(settings_.services.home_page);
}

void App::mail_author() {
  if (settings_.services.author_mail.empty())
    ui_.WGINFO(online::no_address_text("author_mail"));
  else
    ui_.RUNMAIL(settings_.services.author_mail);
}

void App::on_focus(bool gained) {
  // Speech is not affected by the focus, only the soundscape and the mouse,
  // which a dialog or another program may have taken away.
  if (gained) {
    mouse_.MOUSETOCENTER();
    sound_.SETSOUNDSCAPE();
  } else if (sound_.SOUNDMUTEONKILLFOCUS()) {
    sound_.SOUNDSTOPALL();
  }
  st_.PROGRAMLOSTFOCUS = !gained;
  gps_.set_focus(gained);
}

void App::on_menu_loop(bool entered) { on_focus(!entered); }

void App::mouse_input(const explore::MouseInput& in) {
  // A dialog of a command is open: the mouse must not walk away from what
  // it asks about. Only the calibration dialog listens.
  if (commands_running_ > 0 && !mouse_.MOUSESETUPMODE()) return;
  mouse_.input(in);
}

void App::on_mouse_move(int dx, int dy) { mouse_input({.dx = dx, .dy = dy}); }

void App::on_mouse_click(ui::MouseButton button, uint32_t time_ms) {
  mouse_input({.left = button == ui::MouseButton::Left,
               .right = button == ui::MouseButton::Right,
               .time_ms = time_ms});
}

void App::on_mouse_leave() { mouse_.MOUSETOCENTER(); }

void App::on_init_menu() { commands_.init_menu(ui_); }

void App::on_unexpected_error(const std::string& what) {
  // One open-append-close per line: a crash right after still leaves it.
  const auto now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
  text::append_line(paths_.error_log(), fmt::format("{:%Y-%m-%d %H:%M:%S} {}", now, what));
  const std::string said = text::STRTOKENREPLACE(
      _("Unexpected error: {error}. The command was stopped; the program goes on."),
      {"error", what});
  msg_.EDA(said);
  ui_.WGINFO(said);
}

bool App::on_close_requested() {
  if (!bookmarks_.save_before_close()) return false;
  if (settings_.CONFIRMEXIT && !ui_.WGTN(_("Really quit program?"))) return false;
  return true;
}

}  // namespace orvela::app
