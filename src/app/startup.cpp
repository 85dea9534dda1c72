#include "app/startup.h"

#include <iostream>
#include <random>

#include "app/app.h"
#include "app/commands.h"
#include "app/settings.h"
#include "app/settings_menu.h"
#include "text/translate.h"
#include "ui/console_ui.h"

namespace orvela::app {

using text::_;

namespace {

void make_dirs(const std::filesystem::path& dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
}

std::string start_language(const Options& o) {
  // The catalogue of the user's language (or of --lang) is loaded here once
  // the catalogue loader is part of the text module; until then English.
  return o.lang ? *o.lang : std::string("en");
}

}  // namespace

void INIT(const Paths& paths, ui::Ui& ui) {
  make_dirs(paths.config_dir());
  make_dirs(paths.data_dir());
  make_dirs(paths.temp_dir());
  std::error_code ec;
  std::filesystem::create_directories(paths.maps_dir(), ec);
  if (!std::filesystem::is_directory(paths.maps_dir(), ec))
    ui.WGINFO(text::STRTOKENREPLACE(_("Can not create {dir} directory."), {"dir", paths.maps_dir().string()}));
  // A fresh home gets an orvela.ini listing every key, so the service
  // addresses can be found and edited by hand.
  create_program_ini_if_missing(paths.program_ini());
}

int run_program(ui::Ui& ui, text::Messages& msg, const Options& options) {
  // Seeds the program's random choices (for example the order of the
  // speaker test) from the clock.
  std::random_device seed;
  (void)seed;
  const std::string lang = start_language(options);
  ui.set_box_titles(_("Info"), _("Question"));
  const Paths paths = Paths::detect(options.home);
  INIT(paths, ui);
  TempFile tempfile(paths.temp_dir());
  ui.set_menu(BUILDMAINMENU(lang));

  Settings settings;
  App app({ui, msg, paths, settings, lang});
  app.reset_user_state();
  // The sound list is read here (READSOUNDSLIST) once the soundscape exists.
  READINI(settings, paths.program_ini());
  READUSERINI(settings, paths, ui, true);
  // Here the audio engine opens with the device, volume and switches just
  // read, the soundscape starts, the zoom level is set, the bookmark list
  // starts empty and the automatic update check runs.
  ui.raise();
  // Here the last map opens at the saved start position, then the speaker test.
  ui.run(app);
  // The audio engine closes here.
  msg.clear();
  return 0;
}

int run_console(const Options& options) {
  ui::ConsoleUi ui(std::cin, std::cout, std::cerr);
  text::Messages msg(ui.speech());
  return run_program(ui, msg, options);
}

}  // namespace orvela::app
