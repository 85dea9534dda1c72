#include "app/startup.h"

#include <iostream>

#include "app/app.h"
#include "text/atomic_file.h"
#include "text/language.h"
#include "text/translate.h"
#include "ui/console_ui.h"

namespace orvela::app {

using text::_;

namespace {

void make_dirs(const std::filesystem::path& dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
}

// Temporary files a killed program left behind (a map being imported or
// installed, a settings or bookmark file being saved, a download), and the
// folders a map installation unpacks into. Only this program's own temporary names go; one
// instance runs per home, so none is in use.
void remove_stale_temp_files(const std::filesystem::path& dir) {
  std::error_code ec;
  for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code rm;
    if (text::is_temp_name(it->path())) std::filesystem::remove_all(it->path(), rm);
  }
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
  for (const auto& dir : {paths.config_dir(), paths.data_dir(), paths.maps_dir(), paths.temp_dir()})
    remove_stale_temp_files(dir);
  // A fresh home gets an orvela.ini listing every key, so the service
  // addresses can be found and edited by hand.
  create_program_ini_if_missing(paths.program_ini());
}

int run_program(ui::Ui& ui, text::Speech& voice, const Options& options) {
  Paths paths = Paths::detect(options.home);
  text::Language language(paths.assets_dir().string() + "/");
  language.LOADLANG(options.lang ? *options.lang : text::GETUSERLANG(), "orvela");
  language.install();
  App app(ui, voice, std::move(paths), language.GETCURRENTLANG());
  INIT(app.paths(), ui);
  TempFile tempfile(app.paths().temp_dir());
  ui.set_menu(app.menu_bar());
  app.start(options.mode != Options::Mode::Console);
  ui.run(app);
  app.finish();
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
