#include "app/options.h"

#include "app/shell_state.h"

namespace orvela::app {

namespace {

Options error(std::string what) {
  Options o;
  o.mode = Options::Mode::Error;
  o.error = std::move(what);
  return o;
}

}  // namespace

Options parse_command_line(const std::vector<std::string>& args) {
  Options o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> const std::string* { return i + 1 < args.size() ? &args[++i] : nullptr; };
    if (a == "--help" || a == "-h") return o.mode = Options::Mode::Help, o;
    if (a == "--version") return o.mode = Options::Mode::Version, o;
    if (a == "--console") {
      o.mode = Options::Mode::Console;
    } else if (a == "--home") {
      const std::string* v = value();
      if (!v || v->empty()) return error("--home needs a folder");
      o.home = *v;
    } else if (a == "--lang") {
      const std::string* v = value();
      if (!v || v->empty()) return error("--lang needs a language code");
      o.lang = *v;
    } else if (a == "--import") {
      if (i + 2 >= args.size()) return error("--import needs an input and an output file");
      o.mode = Options::Mode::Import;
      o.import_in = args[++i];
      o.import_out = args[++i];
    } else if (a == "--publish") {
      if (i + 2 >= args.size()) return error("--publish needs a maps folder and an output folder");
      o.mode = Options::Mode::Publish;
      o.publish_maps = args[++i];
      o.publish_out = args[++i];
    } else if (a == "--type") {
      const std::string* v = value();
      if (!v || v->empty()) return error("--type needs a map type");
      o.publish_type = *v;
    } else {
      return error("unknown argument: " + a);
    }
  }
  return o;
}

std::string version_text() { return std::string(APPNAME) + " " + VERSION; }

std::string usage_text() {
  return version_text() +
         "\n"
         "Usage:\n"
         "  orvela                 open the map window\n"
         "  orvela --console       the same program on standard input and output\n"
         "  orvela --import IN OUT convert an OpenStreetMap file to a map\n"
         "  orvela --publish MAPDIR OUTDIR [--type TYPE]\n"
         "                         write a map server: maplista.dat and one 7z archive\n"
         "                         per map of MAPDIR; TYPE obszary, polska or inne\n"
         "                         (default inne, or a map's side file MAP.orvel.type)\n"
         "Options:\n"
         "  --home DIR             keep settings, maps and logs in DIR\n"
         "  --lang CODE            use the language CODE instead of the system's\n"
         "  --help                 show this text\n"
         "  --version              show the program's version\n";
}

}  // namespace orvela::app
