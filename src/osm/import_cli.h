#pragma once
// `orvela --import IN OUT`: the conversion without a window, with a progress
// line on stderr.
#include <filesystem>
#include <iosfwd>

namespace orvela::osm {

// Converts `in` to the map `out` with the rules file `rules`, logging database
// errors to `errlog`. Progress and errors go to `err`. Returns the exit
// status: 0 when the map was written.
int run_import_cli(const std::filesystem::path& in, const std::filesystem::path& out,
                   const std::filesystem::path& rules, const std::filesystem::path& errlog,
                   std::ostream& err);

}  // namespace orvela::osm
