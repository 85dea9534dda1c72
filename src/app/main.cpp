// Orvela: a map explorer for blind and visually impaired people.
#include <iostream>
#include <string>
#include <vector>

#include "app/options.h"
#include "app/paths.h"
#include "app/startup.h"
#include "app/window.h"
#include "map/db_error.h"
#include "online/publish.h"
#include "osm/import_cli.h"

namespace {

int run(int argc, char** argv) {
  using orvela::app::Options;
  const Options o =
      orvela::app::parse_command_line(std::vector<std::string>(argv + 1, argv + argc));
  switch (o.mode) {
    case Options::Mode::Help:
      std::cout << orvela::app::usage_text();
      return 0;
    case Options::Mode::Version:
      std::cout << orvela::app::version_text() << "\n";
      return 0;
    case Options::Mode::Error:
      std::cerr << "orvela: " << o.error << "\n" << orvela::app::usage_text();
      return 2;
    case Options::Mode::Console:
      return orvela::app::run_console(o);
    case Options::Mode::Import: {
      const auto paths = orvela::app::Paths::detect(o.home);
      return orvela::osm::run_import_cli(o.import_in, o.import_out, paths.osm_rules(),
                                         paths.errdb_log(), std::cerr);
    }
    case Options::Mode::Publish:
      return orvela::online::run_publish_cli(o.publish_maps, o.publish_out, o.publish_type,
                                             std::cerr);
    case Options::Mode::Window:
      return orvela::app::run_window(argc, argv, o);
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(argc, argv);
  } catch (const orvela::map::DbFatalError& e) {
    // Commands catch these themselves; one that escapes (start-up, a mode
    // without a window) ends the program with a failure code, already logged.
    std::cerr << "orvela: database error: " << e.what() << "\n";
    return 1;
  }
}
