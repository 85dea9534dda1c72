#pragma once
// `orvela --publish MAPDIR OUTDIR`: makes a folder that any static web
// server can serve as a map server: "maplista.dat" listing every map of
// MAPDIR with its type, date and archive size, and one 7z archive per map.
// A community can so host its own maps and point orvela.ini at them.
#include <filesystem>
#include <iosfwd>
#include <string>

namespace orvela::online {

// The type a map is listed under: the first line of the side file
// "<map>.type" beside it, else `default_type`, else "inne".
std::string published_type(const std::filesystem::path& map, const std::string& default_type);

// Packs `map` as the only item of the 7z archive `archive` (written beside
// and renamed into place); the error text, or empty.
std::string pack_map(const std::filesystem::path& map, const std::filesystem::path& archive);

// Publishes the maps of `mapdir` into `outdir`, listing each under
// `default_type` unless its side file says otherwise. What was done and what
// was skipped goes to `err`. Returns the exit status: 0 when every map was
// published, 1 when some could not be (the others are listed), 2 for a bad
// type.
int run_publish_cli(const std::filesystem::path& mapdir, const std::filesystem::path& outdir,
                    const std::string& default_type, std::ostream& err);

}  // namespace orvela::online
