#include "app/startup.h"

#include <iostream>

#include "app/app.h"
#include "app/commands.h"
#include "app/settings.h"
#include "app/settings_menu.h"
#include "app/shown_speech.h"
#include "explore/explorer.h"
#include "explore/first_start.h"
#include "map/grid.h"
#include "map/loader.h"
#include "map/mapdb.h"
#include "map/user.h"
#include "text/language.h"
#include "text/string_consts.h"
#include "text/translate.h"
#include "ui/console_ui.h"

namespace orvela::app {

using text::_;

namespace {

void make_dirs(const std::filesystem::path& dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
}

}  // namespace

void INIT(const Paths& paths, ui::Ui& ui) {
  make_dirs(paths.config_dir());
  make_dirs(paths.data_dir());
  make_dirs(paths.temp_dir());
  std::error_code ec;
  std::filesystem::create_directories(paths.maps_dir(), ec);
  if (!std::filesystem::is_directory(paths.maps_dir(), ec))
    ui.WGINFO(text::STRTOKENREPLACE(_("Can not create {dir} directory."),
                                    {"dir", paths.maps_dir().string()}));
  // A fresh home gets an orvela.ini listing every key, so the service
  // addresses can be found and edited by hand.
  create_program_ini_if_missing(paths.program_ini());
}

int run_program(ui::Ui& ui, text::Speech& voice, const Options& options) {
  const Paths paths = Paths::detect(options.home);
  text::Language language(paths.program_dir().string() + "/");
  language.LOADLANG(options.lang ? *options.lang : text::GETUSERLANG(), "orvela");
  language.install();
  const text::StringConsts consts;  // STRINGCONSTINIT
  ui.set_box_titles(consts.WGINFOTITLE, consts.WGQUESTIONTITLE);
  ShownSpeech speech(ui, voice);
  text::Messages msg(speech);
  INIT(paths, ui);
  TempFile tempfile(paths.temp_dir());
  ui.set_menu(BUILDMAINMENU(language.GETCURRENTLANG()));

  map::MapDb db(paths.errdb_log());
  map::Grid grid;
  map::UserState user;
  map::MapLoader loader(db, grid, user, ui, msg, paths.maps_dir());
  explore::Explorer explorer(grid, user, loader, ui, msg, consts);
  SoundLink sound(paths, grid, user);
  loader.hooks.after_load = [&sound] { sound.SETSOUNDSCAPE(); };
  explorer.hooks.SETSOUNDSCAPE = [&sound] { sound.SETSOUNDSCAPE(); };
  explorer.hooks.PLAYUSERSTEP = [&sound](double prev, double now) {
    sound.PLAYUSERSTEP(prev, now);
  };
  Settings settings;
  App app({ui, msg, paths, settings, db, grid, user, loader, explorer, &sound,
           language.GETCURRENTLANG()});
  app.reset_user_state();
  sound.read_sound_list(paths);
  READINI(settings, paths.program_ini());
  READUSERINI(settings, paths, ui, true);
  app.apply_settings();
  sound.start(ui, settings);
  grid.ILEV = 2;
  grid.SETILEV();
  // Here the bookmark list starts empty and the automatic update check runs.
  ui.raise();
  // Here the last map opens at the saved start position.
  // Without one (the first start, or a fresh --home) the window opens the
  // demo map. The console keeps its documented start with no map selected,
  // which scripts rely on, but the demo map is in its maps folder too.
  std::error_code no_start_ec;
  if (!std::filesystem::exists(paths.start_pos_file(), no_start_ec)) {
    if (options.mode == Options::Mode::Console)
      explore::install_demo_map(paths.program_dir() / "maps", paths.maps_dir());
    else
      explore::open_demo_map(explorer, loader, db, paths.program_dir() / "maps", paths.maps_dir());
  }
  sound.TESTSPEAKERS(ui);
  ui.run(app);
  sound.SOUNDCLOSE();
  msg.clear();
  return 0;
}

std::unique_ptr<ui::SingleInstance> claim_single_instance(const Options& options) {
  const Paths paths = Paths::detect(options.home);
  make_dirs(paths.data_dir());
  return ui::SingleInstance::ONEINSTCHECK(paths.instance_socket(), true);
}

int run_console(const Options& options) {
  auto instance = claim_single_instance(options);
  if (!instance) {
    std::cerr << "orvela: already running with this home folder\n";
    return 0;
  }
  ui::ConsoleUi ui(std::cin, std::cout, std::cerr);
  instance->on_raise([&ui] { ui.post([&ui] { ui.raise(); }); });
  return run_program(ui, ui.speech(), options);
}

}  // namespace orvela::app
