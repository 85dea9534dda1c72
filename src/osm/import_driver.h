#pragma once
// The "Import OpenStreetMap" commands: from a file, or from an XAPI server
// for a radius around a point. They ask for the source and the new map's
// name, download (from a server) and convert on a background task with
// progress, time left and Cancel, report errors and offer to open the new
// map: at its centre, or at the point typed for a server import.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

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

// The server import's download: fetches `url` into `file`, showing progress
// and stopping when Cancel is pressed; the reason it failed, or empty.
using ImportDownload = std::function<std::string(
    const std::string& url, const std::filesystem::path& file, ui::BgProgress& progress)>;

// What an import works on, all owned by the app. The import writes through
// a connection of its own; `db` is the viewer's, which stays open.
struct ImportContext {
  map::MapDb& db;
  map::MapLoader& loader;
  explore::Explorer& explorer;
  map::UserState& user;
  ui::Ui& ui;
  std::filesystem::path rules_file;  // osm.rules beside the program
  // OSMMAPSERVERS: the XAPI servers offered, each host and path (an empty
  // entry is not offered); the app installs them from its settings.
  std::function<std::vector<std::string>()> OSMMAPSERVERS{};
  // The downloader of a server import; the app installs the program's.
  ImportDownload download{};
};

// The handed-over work of one import.
struct OSMIMPORTPARAMREC {
  std::filesystem::path INFN;   // the OSM file (file import)
  std::string URL;              // the address to download (server import)
  std::filesystem::path OUTFN;  // the map file to create
  bool FROMFILE = true;
};

// The whole command on the window's thread.
void OSMIMPORT(ImportContext& ctx, bool FROMFILE);

// What the user asked of a server import: the address and the centre typed.
struct ServerImport {
  std::string URL;
  int32_t LAT = 0;
  int32_t LON = 0;
};

// OSMIMPORTSERVPARAMS: asks for the server, the centre and the radius;
// nothing when the user stopped or the radius is wrong (after saying so).
std::optional<ServerImport> OSMIMPORTSERVPARAMS(ImportContext& ctx, const std::string& title);

// The XAPI address of the box reaching `radius_m` metres north, south, east
// and west of (LAT, LON) on `server` (host and path, "http://" put in front
// unless it has a scheme). The box's half-widths are measured at that
// centre, where the box is.
std::string xapi_url(const std::string& server, int32_t LAT, int32_t LON, int64_t radius_m);

// The rows of "Import OpenStreetMap": from a file and from a server.
void add_commands(ui::Commands& commands, ImportContext& ctx);

// The background work: for a server import first downloads P.URL with
// `download` (a failure is error 5 with its reason), then converts the OSM
// data into P.OUTFN with `rules`, showing progress; database errors are
// logged to `errlog`. The downloaded data is removed however it ends.
// Broken data also gives where and what in `detail`, when given.
ui::BgResult OSMIMPORTTHREAD(const std::filesystem::path& errlog, const OsmRules& rules,
                             const OSMIMPORTPARAMREC& P, const ImportDownload& download,
                             ui::BgProgress& progress, std::string* detail = nullptr);

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
