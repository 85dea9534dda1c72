#pragma once
// Maps online: installing, updating and deleting maps from the catalogues of
// two map servers, the check for a newer program, and the current place in
// the web map viewer. Every command runs on the window's thread; each
// download runs behind a progress dialog with Cancel.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "online/addresses.h"
#include "online/download.h"
#include "online/map_catalogue.h"

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

namespace orvela::online {

// What the commands work on, all owned by the app.
struct OnlineContext {
  map::MapDb& db;
  map::MapLoader& loader;
  explore::Explorer& explorer;
  map::UserState& user;
  ui::Ui& ui;
  // Read when a command runs, so edits of orvela.ini read at start-up count.
  const OnlineAddresses& addresses;
  std::filesystem::path temp_dir;
  // "update.dat": when the last automatic check ran.
  std::filesystem::path update_dat;
  std::string version;     // the running program's, "1.01"
  std::string user_agent;  // "Orvela/1.01"
};

class Online {
 public:
  explicit Online(OnlineContext ctx, TransferLimits limits = {});

  // --- map servers -----------------------------------------------------------
  // Downloads and reads the catalogue of the server in use; on failure the
  // downloader holds the reason (WEBERR), after a cancel cancelled() is set.
  MAPLIST WEBREADMAPLIST();
  // Installs or updates a map from the primary or the backup server: the
  // one named, or one the user picks by type and name.
  void INSTALLMAP(bool PRIMARYSERVER, const std::string& MAPNAME);
  // Updates the open map from the server last used.
  void UPDMAP();
  // Looks for newer versions of every installed map in the catalogue and
  // installs them. `AUTO` (the start-up check) asks nothing first and keeps
  // quiet when there is nothing to update.
  void UPDALLMAPS(bool AUTO);
  // Deletes an installed map the user picks.
  void DELMAP();

  // --- the program and the web ----------------------------------------------
  // Asks the home page's site whether a newer version exists. `AUTO` (at
  // start-up) says nothing when there is none.
  void CHECKPROGRAMUPDATE(bool AUTO);
  // At start-up: when `CHECKAUTOUPDATE` is on and the last check is six
  // hours or more away, checks for a newer program and for map updates.
  void AUTOUPDATECHECK(bool CHECKAUTOUPDATE);
  // Offers to show the current place in the web map viewer.
  void UMPWWW();

  // A download for a module beside this one (the OSM import's extract):
  // `url` into `file` with progress and Cancel; the reason it failed, an
  // HTTP error status included, or empty.
  std::string download_to(const std::string& url, const std::filesystem::path& file,
                          ui::BgProgress& progress) {
    return dl_.download_to(url, file, progress);
  }

  // What enables the items: a map is current; the user's position is known.
  bool map_open() const;
  bool position_known() const;

  // The primary server was the last one used (true at start).
  bool LASTUSEDSERVER = true;

 private:
  // MAPSERW: the base address of the server in use, ending in "/"; empty
  // when none is configured.
  std::string MAPSERW() const;
  // Says which key to set when the server in use has no address (unless
  // `quiet`); false then.
  bool map_server_configured(bool quiet);
  // The catalogue of the server in use; nothing when no server is
  // configured (said unless `quiet`), when reading it failed (said) or was
  // cancelled.
  std::optional<MAPLIST> read_catalogue(bool quiet);
  // Fetches `url` into the temporary file behind a progress dialog named
  // after the operation.
  void fetch_with_dialog(const std::string& url, const std::string& label);
  // INSTALLMAPFILE: downloads and installs map `name` behind the progress
  // dialog; true when the user cancelled. A failure is in the downloader.
  bool INSTALLMAPFILE(const std::string& name);
  // The user picks a map of the catalogue; nothing when cancelled.
  std::optional<MAPLISTRECORD> choose_map(const MAPLIST& list, bool primary);
  // The question before installing `r`; nothing when no installation is
  // wanted (after saying why).
  std::optional<std::string> install_question(const MAPLISTRECORD& r, bool primary);
  // After an installation: the error, the cancel, or the success with the
  // offer to open the new map.
  void report_install(const std::string& name, bool cancelled);
  // Makes the installed map `name` current: where the user stands, or at
  // its centre when the user's position is not known yet.
  void open_installed(const std::string& name);
  // Opens the current map again after the files changed.
  void reopen_map();
  std::filesystem::path map_path(const std::string& name) const;

  OnlineContext ctx_;
  Downloader dl_;
};

}  // namespace orvela::online
