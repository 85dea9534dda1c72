#pragma once
// The "Import OpenStreetMap from file" command: asks for the OSM file and the
// new map's name, converts on a background task with progress, time left and
// Cancel, reports errors and offers to open the new map at its centre.
#include <cstdint>
#include <filesystem>

#include "ui/bg_task.h"
#include "ui/command.h"

namespace orvela::map {
class MapDb;
class MapLoader;
struct UserState;
}  // namespace orvela::map
namespace orvela::explore {
class Explorer;
}
namespace orvela::ui {
class Ui;
}

namespace orvela::osm {

class OsmRules;

// What an import works on, all owned by the app. The import writes through
// a connection of its own; `db` is the viewer's, which stays open.
struct ImportContext {
  map::MapDb& db;
  map::MapLoader& loader;
  explore::Explorer& explorer;
  map::UserState& user;
  ui::Ui& ui;
  std::filesystem::path rules_file;  // osm.rules beside the program
};

// The handed-over work of one import.
struct OSMIMPORTPARAMREC {
  std::filesystem::path INFN;   // the OSM file
  std::filesystem::path OUTFN;  // the map file to create
  bool FROMFILE = true;
};

// The whole command on the window's thread. Only the file import exists
// (FROMFILE true); the server import is not offered.
void OSMIMPORT(ImportContext& ctx, bool FROMFILE);

// The rows of "Import OpenStreetMap": from a file and from a server.
void add_commands(ui::Commands& commands, ImportContext& ctx);

// The background work: converts P.INFN into P.OUTFN with `rules`, showing
// progress; database errors are logged to `errlog`.
ui::BgResult OSMIMPORTTHREAD(const std::filesystem::path& errlog, const OsmRules& rules,
                             const OSMIMPORTPARAMREC& P, ui::BgProgress& progress);

class ImportProgressText;

// The conversion's progress callback: shows the words for (CUR, TOTAL) in
// the progress window's text field and returns true when the user pressed
// Cancel.
bool OSMREADPROGRESS(uint64_t CUR, uint64_t TOTAL, const ImportProgressText& words,
                     ui::BgProgress& progress);

// The map name proposed for an OSM file: its name without the last
// extension, in lower case.
std::string proposed_map_name(const std::filesystem::path& infn);

// The file a typed map name becomes; separators in the name cannot lead
// out of the maps folder.
std::filesystem::path destination_map(const std::filesystem::path& mapdir, const std::string& name);

}  // namespace orvela::osm
