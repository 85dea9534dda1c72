#include "osm/import_cli.h"

#include <ostream>

#include "osm/import_progress.h"
#include "osm/osmreader.h"
#include "text/translate.h"

namespace orvela::osm {

int run_import_cli(const std::filesystem::path& in, const std::filesystem::path& out,
                   const std::filesystem::path& rules, const std::filesystem::path& errlog,
                   std::ostream& err) {
  ImportProgressText words;
  std::string last;
  bool in_line = false;
  OsmImportOptions opt;
  opt.rules_file = rules;
  opt.info = [&](const std::string& s) { err << s << "\n"; };
  opt.progress = [&](uint64_t cur, uint64_t total) {
    std::string t = words.text(cur, total);
    if (t.empty() || t == last) return false;
    last = t;
    if (total == 0) {
      // Phases get their own line; percentages overwrite each other.
      err << (in_line ? "\n" : "") << t << "\n";
      in_line = false;
    } else {
      err << "\r" << t << "\x1b[K";
      in_line = true;
    }
    err.flush();
    return false;
  };
  const OsmImportResult r = OSMPROCFILE(in, out, errlog, opt);
  if (in_line) err << "\n";
  if (r.LASTERR > 0) {
    err << import_error_text(r.LASTERR, r.LASTERRDESC, r.error_detail) << "\n";
    // Whoever runs the conversion by hand can look at the data there.
    if (r.error_detail.empty() && r.error_offset) {
      err << text::STRTOKENREPLACE(text::_("The data is broken near byte {offset}."),
                                   {"offset", std::to_string(*r.error_offset)})
          << "\n";
    }
    return 1;
  }
  return r.cancelled ? 1 : 0;
}

}  // namespace orvela::osm
