#pragma once
// The user as a walker on the map grid: steps and turns, what is announced
// on arrival, and jumps to typed coordinates or QTH locators. Every member
// runs on the window's thread.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "explore/direction.h"
#include "map/loader.h"
#include "map/user.h"

namespace orvela::map {
class Grid;
}  // namespace orvela::map
namespace orvela::text {
class Messages;
}
namespace orvela::ui {
class Ui;
}

namespace orvela::explore {

// What exploring asks of the modules above it (sound, bookmarks); the app
// installs them, they do nothing until then.
struct ExploreHooks {
  // Rebuilds the soundscape around the user's cell (SETSOUNDSCAPE).
  std::function<void()> SETSOUNDSCAPE;
  // Plays the step sound for a change of height level (PLAYUSERSTEP).
  std::function<void(double prevhlev, double newhlev)> PLAYUSERSTEP;
  // The name of the bookmark standing on cell (x, y), if any (GETBOOKMARKATXY).
  std::function<std::optional<std::string>(int x, int y)> bookmark_at;
};

// The word for an object-type letter: "point", "line", ... or "unknown".
std::string GETOBJTYPEDESC(const std::string& objtype);

class Explorer {
 public:
  Explorer(map::Grid& grid, map::UserState& user, map::MapLoader& loader, ui::Ui& ui,
           text::Messages& msg, const DirectionTables& tables, const ExploreSettings& settings);

  // --- movement and turning ------------------------------------------------
  void XYMOVE(double incx, double incy);
  void UDIRMOVE(int32_t kierinc);
  void SETUDIR(int32_t kier);
  void INCUDIR(int32_t kierinc);
  void SAYUDIR();
  void UPDULATLON();
  // Words for the absolute direction `dir` in the current mode.
  std::string GETDIRSTR(int32_t dir) const;

  // --- the map and the zoom ------------------------------------------------
  // Lets the user choose a map from the maps folder ("No map installed.
  // Import some map first." when there is none); true when one was chosen
  // (the next load opens it).
  bool SELECTMAP();
  // Says "No map selected." and returns true when there is no current map.
  bool CHECKNOMAP();
  // Opens the current map (MapLoader::OPENMAP) and loads the grid around the
  // user (MapLoader::READMAP), each saying how it ended: "No map selected.",
  // "Error reading map: {err}", or the map's name in the window title.
  map::LoadResult OPENMAP();
  map::LoadResult READMAP();
  // Lets the user choose a map and loads it around the user; NoMap when
  // none was chosen. (The open command follows it with the start-point
  // search when nothing of the map lies around the user: Search::FILEOPEN.)
  map::LoadResult FILEOPEN();
  // Loads the grid again around the user.
  void RELOADMAP() { READMAP(); }
  // Speaks "One square {size}.".
  void SAYILEV();
  // Changes the square size (Grid::SQMETERSCHANGE), speaks it and reloads
  // the map when it changed.
  void SQMETERSCHANGE(int IMODE);

  // --- announcements ------------------------------------------------------
  std::string CUROBJKIERSTR(bool AUTO);
  std::string CUROBJHLEVSTR(bool AUTO);
  void SAYPOS();
  void SAYTYP();
  void SAYDIRECTION();
  void SAYHLEVEL();
  std::string GETMAPASTR(double x, double y) const;
  void SHOWLASTSAY();

  // --- jumps --------------------------------------------------------------
  // Jumps to (lat, lon), asking first unless `AUTO`; `mapfn` names the map
  // file (in the maps folder) to use there. True when the user was moved.
  bool GOTOLATLON(int32_t lat, int32_t lon, bool AUTO, const std::string& mapfn);
  // Asks for "lat lon"; nothing when cancelled, empty or refused (after saying why).
  std::optional<std::pair<int32_t, int32_t>> READCORDS(const std::string& title,
                                                       const std::string& prompt);
  void GOTOCORDS();
  void GOTOQTHLOC();

  // --- the roads of the map file --------------------------------------------
  // Speaks the roads leaving the intersection at or beside the user's cell,
  // clockwise from the way the user faces (layout.cpp).
  void SAYLAYOUT();
  // Walks along the road under the user to the next intersection or the
  // road's end, ahead or, with `back`, behind (street_walk.cpp).
  void WALKSTREET(bool back);

  ExploreHooks hooks;
  const map::UserState& user() const { return user_; }

 private:
  // The cell under the user, or nothing when the position is off the grid.
  std::optional<std::pair<int, int>> user_cell() const;
  map::LoadResult report(map::LoadResult r);
  // What SAYPOS says about the user's cell (it remembers the line direction
  // and height level it tells).
  std::string position_text();
  // Announces the cell the user arrived on, followed by `addition` when
  // given, and lets the soundscape and the step sound follow.
  void after_arrival(double prevhlev, const std::string& addition = {});
  // Puts the user at `at` facing `udir`, loading the map around it when it
  // lies near the grid's edge, and announces it with `addition`.
  void arrive(map::POINT at, int32_t udir, const std::string& addition);

  map::Grid& grid_;
  map::UserState& user_;
  map::MapLoader& loader_;
  ui::Ui& ui_;
  text::Messages& msg_;
  const DirectionTables& tables_;
  const ExploreSettings& settings_;
};

}  // namespace orvela::explore
