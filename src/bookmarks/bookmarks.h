#pragma once
// The user's bookmarks: named points made where the user stands, announced
// and heard on their cells, listed with distance and direction, jumped to,
// reordered, renumbered and deleted; saved to and loaded from Loadstone and
// GPX files; and the start position the program opens at start. Every
// member runs on the window's thread.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bookmarks/bookmark_settings.h"
#include "bookmarks/location.h"

namespace orvela::map {
class Grid;
class MapLoader;
struct UserState;
}  // namespace orvela::map
namespace orvela::text {
class Messages;
class StringConsts;
}  // namespace orvela::text
namespace orvela::ui {
class Ui;
}

namespace orvela::bookmarks {

// What the bookmarks ask of the modules above them (exploring, sound); the
// app installs them. Until then there is no map check, no direction words,
// no cell description, no jump and no soundscape.
struct BookmarkHooks {
  // Says "No map selected." and returns true when no map is open.
  std::function<bool()> CHECKNOMAP;
  // Words for the absolute direction `dir` in the current announcement mode.
  std::function<std::string(int32_t dir)> GETDIRSTR;
  // What stands on the cell at (x, y), as a proposed bookmark name.
  std::function<std::string(double x, double y)> GETMAPASTR;
  // Moves the user to (lat, lon), asking first unless `AUTO`, on map file
  // `mapfn` of the maps folder (empty: the current map).
  std::function<bool(int32_t lat, int32_t lon, bool AUTO, const std::string& mapfn)> GOTOLATLON;
  // Rebuilds the soundscape.
  std::function<void()> SETSOUNDSCAPE;
};

class Bookmarks {
 public:
  Bookmarks(map::UserState& user, const map::Grid& grid, const map::MapLoader& loader, ui::Ui& ui,
            text::Messages& msg, const text::StringConsts& consts, const BookmarkSettings& settings,
            std::filesystem::path start_pos_file);

  BookmarkHooks hooks;

  // --- the list -------------------------------------------------------------
  const ARRLOC& BOOKMARKS() const { return list_; }
  // Changes not saved yet.
  bool BOOKMARKSMODIFIED() const { return modified_; }
  // The bookmark file last loaded or saved, and the file last saved.
  const std::filesystem::path& LASTBOOKMARKSFN() const { return lastfn_; }
  const std::filesystem::path& LASTSAVEDBOOKMARKSFN() const { return lastsavedfn_; }
  // Empties the list; nothing is left to save (start-up).
  void clear();
  // Forgets both file names, so that the next save asks for one (a change
  // of the save format).
  void forget_files();

  // --- queries ------------------------------------------------------------
  // True, after saying "At least {mincount} bookmarks required ...", when
  // the list is shorter than `mincount`.
  bool CHECKNOBOOKMARKS(int32_t mincount);
  // The first bookmark whose cell is the cell of grid position (BX, BY);
  // -1 when none, or when the user's position is unknown.
  int32_t GETBOOKMARKATXY(double BX, double BY) const;
  // Distances and directions from the user, when they moved since last time.
  void BOOKMARKSRECALCUPOS();
  // The nearest bookmark (the first of equally near ones); -1 for none.
  int32_t GETNEARESTBOOKMARK();
  // Lets the user choose a bookmark from the list titled `title` with
  // `prompt`, BOOKMARKNUM preselected; with ADDATEND the last entry "End of
  // list" stands for the index after the last. False when cancelled or empty.
  bool SELECTBOOKMARK(int32_t& BOOKMARKNUM, bool ADDATEND, const std::string& title,
                      const std::string& prompt);
  // Lets the user choose from `AL` (distances and directions refreshed when
  // the position is known; sorted by distance with SORTDIST). Nothing when
  // cancelled or empty.
  std::optional<LOCATION> SELECTLOC(ARRLOC& AL, bool SORTDIST, const std::string& title,
                                    const std::string& prompt);
  // The bookmarks' grid positions on the map just loaded.
  void RECALCARRLOC();

  // --- commands -------------------------------------------------------------
  // Adds a bookmark on the user's cell or renames the one there. With AUTO
  // (the mouse), nothing is asked: the proposed name is taken, and a
  // bookmark already on the cell is removed instead.
  void BOOKMARKEDIT(bool AUTO);
  // Deletes the bookmark on the user's cell, asking first unless AUTO.
  void BOOKMARKDEL(bool AUTO);
  void BOOKMARKDELALL();
  void BOOKMARKGOTO();
  void BOOKMARKMOVE();
  void BOOKMARKSORTNUM();
  void BOOKMARKRENUMBER();
  void BOOKMARKDISTANCESUM();

  // --- files ------------------------------------------------------------------
  // Saves the list: to the last saved file with AUTO, otherwise (or when
  // there is none) to a file the user chooses. A name ending in ".gpx" is
  // written as GPX, any other in the save format of the settings. False
  // when nothing was saved (cancelled, empty list, write failure).
  bool SAVEBOOKMARKS(bool AUTO);
  // Lets the user choose a file and appends its points to the list.
  void LOADBOOKMARKS();
  // LOADBOOKMARKS after its file dialog: appends the points of `file`
  // (Loadstone, or GPX by the extension ".gpx") and tells how many.
  void load_file(const std::filesystem::path& file);
  void CLIPCPYBOOKMARKSFILE();
  void OPENBOOKMARKSFOLDER();
  // Writes the current map and position to the start-position file.
  void SAVESTARTPOS();
  // Opens the map of the start-position file at its position; false when
  // there is no such file, or it names no usable map or position.
  bool READSTARTPOS();
  // The close of the window: "Save bookmarks?" when there are changes, and
  // on Yes the save. True when the window may close (nothing to save, No,
  // or saved); a cancelled or failed save keeps the window open.
  bool save_before_close();

 private:
  bool no_map();
  bool ISBOOKMARKSFILE();
  std::string list_line(const LOCATION& l) const;
  void list_changed() { cells_dirty_ = true; }
  // Deletes entry `i`; an emptied list belongs to no file any more.
  void remove(std::size_t i);

  map::UserState& user_;
  const map::Grid& grid_;
  const map::MapLoader& loader_;
  ui::Ui& ui_;
  text::Messages& msg_;
  const text::StringConsts& consts_;
  const BookmarkSettings& settings_;
  const std::filesystem::path start_pos_file_;

  ARRLOC list_;
  bool modified_ = false;
  std::filesystem::path lastfn_, lastsavedfn_;
  // The first bookmark on each cell of the grid (-1: none), rebuilt after
  // the list or the grid positions changed: every step asks for the cells
  // around the user, and the list may hold many thousands.
  mutable std::vector<int32_t> cell_first_;
  mutable bool cells_dirty_ = true;
};

}  // namespace orvela::bookmarks
