// Bookmark files (Loadstone and GPX), the last file on the clipboard and in
// the file manager, and the start-position file.
#include <fstream>

#include "bookmarks/bookmarks.h"
#include "bookmarks/gpx.h"
#include "bookmarks/loadstone.h"
#include "bookmarks/start_pos.h"
#include "map/loader.h"
#include "map/user.h"
#include "text/atomic_file.h"
#include "text/string_consts.h"
#include "text/strutil.h"
#include "text/translate.h"
#include "ui/ui.h"

namespace orvela::bookmarks {
namespace {

namespace fs = std::filesystem;
using text::_;

// A start-position file is two short lines; anything much longer is not one.
constexpr std::size_t kMaxStartPosBytes = 4096;

bool is_gpx(const fs::path& file) { return text::LOWCASESTR(file.extension().string()) == ".gpx"; }

ui::FileFilter filter(const text::FileTypeFilter& f) { return {f.description, f.pattern}; }

ui::FileFilter gpx_filter() { return {_("GPX waypoints *.gpx"), "*.gpx"}; }

}  // namespace

bool Bookmarks::ISBOOKMARKSFILE() {
  if (!lastfn_.empty()) return true;
  ui_.WGINFO(_("No bookmarks file defined."));
  return false;
}

bool Bookmarks::SAVEBOOKMARKS(bool AUTO) {
  // No map is needed: the list stands on its own, and a map closed after a
  // database error must not keep the user from saving their bookmarks.
  if (list_.empty()) {
    ui_.WGINFO(_("No bookmarks defined."));
    return false;
  }
  fs::path file = lastsavedfn_;
  if (!AUTO || file.empty()) {
    const bool lsdb = settings_.BOOKMARKSAVEFORMAT == BMFORMAT_LSDB;
    const auto chosen = ui_.WGWYBORPLI(
        ui::WGFSAVEAS, _("Save bookmarks"),
        {filter(lsdb ? consts_.BOOKMARK_FTYPEWRI_LSDB : consts_.BOOKMARK_FTYPEWRI_LSCP),
         gpx_filter()},
        {}, lsdb ? ".lsdbtxt" : ".lscp");
    if (!chosen) return false;
    file = *chosen;
  }
  const std::string content =
      is_gpx(file) ? gpx_text(list_) : loadstone_text(list_, settings_.BOOKMARKSAVEFORMAT);
  if (const text::WriteResult w = text::write_file_atomically(file, content); !w) {
    ui_.WGINFO(text::STRTOKENREPLACE(
        _("Error saving bookmarks file {file}: {error}. The old file is kept."),
        {"file", file.string(), "error", w.reason()}));
    return false;
  }
  lastfn_ = lastsavedfn_ = file;
  modified_ = false;
  return true;
}

void Bookmarks::LOADBOOKMARKS() {
  if (no_map()) return;
  const auto file = ui_.WGWYBORPLI(ui::WGFOPEN, _("Load bookmarks"),
                                   {filter(consts_.BOOKMARK_FTYPEREADSPEC), gpx_filter()});
  if (file) load_file(*file);
}

void Bookmarks::load_file(const fs::path& file) {
  // A plain save after a load asks for a name: the loaded file is never
  // written over unless the user chooses it.
  lastfn_ = file;
  lastsavedfn_.clear();
  const std::size_t before = list_.size();
  PointImport points(list_, consts_.DEFBOOKMARKNAME);
  const ReadStatus status = is_gpx(file) ? read_gpx(file, points) : read_loadstone(file, points);
  if (status != ReadStatus::Read) {
    // A file read halfway adds nothing: what is in the list stays as it was.
    list_.resize(before);
    ui_.WGINFO(
        status == ReadStatus::NotSupported
            ? _("Not supported file format.")
            : text::STRTOKENREPLACE(_("Can not read file {file}."), {"file", file.string()}));
    return;
  }
  ui_.WGINFO(text::STRTOKENREPLACE(
      _("{add} added, {ign} ignored."),
      {"add", std::to_string(points.added()), "ign", std::to_string(points.ignored())}));
  RECALCARRLOC();
  user_.BOOKMARKSUPOSCHANGED = true;
  if (hooks.SETSOUNDSCAPE) hooks.SETSOUNDSCAPE();
}

void Bookmarks::CLIPCPYBOOKMARKSFILE() {
  if (!ISBOOKMARKSFILE()) return;
  ui_.copy_files_to_clipboard({lastfn_});
  ui_.WGINFO(text::STRTOKENREPLACE(_("File {name} copied to clipboard. You can paste it to "
                                     "destination location in the file explorer."),
                                   {"name", lastfn_.filename().string()}));
}

void Bookmarks::OPENBOOKMARKSFOLDER() {
  if (!ISBOOKMARKSFILE()) return;
  if (ui_.WGTN(_("Open folder containing last bookmarks file?"))) ui_.show_file_in_folder(lastfn_);
}

void Bookmarks::SAVESTARTPOS() {
  if (no_map() || !user_.ULATLONSET) return;
  if (!ui_.WGTN(_("Save current map position as default at startup?"))) return;
  // Only a map inside the maps folder can be named: the file is read back
  // relative to that folder, and nothing outside it is ever opened from it.
  const auto map = map_name_in(loader_.MAPDIR(), loader_.FN());
  std::error_code ec;
  fs::create_directories(start_pos_file_.parent_path(), ec);
  if (!map) {
    ui_.WGINFO(_("Error saving start position file"));
    return;
  }
  const text::WriteResult w =
      text::write_file_atomically(start_pos_file_, start_pos_text({*map, user_.ULAT, user_.ULON}));
  if (!w)
    ui_.WGINFO(text::STRTOKENREPLACE(_("Error saving start position file: {error}"),
                                     {"error", w.reason()}));
}

bool Bookmarks::READSTARTPOS() {
  std::ifstream in(start_pos_file_, std::ios::binary);
  if (!in) return false;
  std::string content(kMaxStartPosBytes, '\0');
  in.read(content.data(), static_cast<std::streamsize>(content.size()));
  content.resize(static_cast<std::size_t>(in.gcount()));
  const StartPos p = parse_start_pos(content);
  const auto map = map_in_folder(p.map);
  if (!map || !hooks.GOTOLATLON) return false;
  return hooks.GOTOLATLON(p.LAT, p.LON, false, map->string());
}

bool Bookmarks::save_before_close() {
  if (!modified_ || !ui_.WGTN(_("Save bookmarks?"))) return true;
  return SAVEBOOKMARKS(true);
}

}  // namespace orvela::bookmarks
