#pragma once
// Finding places by key words. The start-point search looks through the
// whole map file (points first, then lines and areas) on a background task
// and offers the places nearest to the user; it also follows the opening of
// a map that has nothing around the user. The area search looks at the
// loaded grid only: lines and areas by scanning the cells in rings around
// the user, points by a query over the loaded area. Either way the chosen
// place becomes the user's position. Every member but the background work
// runs on the window's thread.
#include <cstdint>
#include <string>

#include "bookmarks/location.h"
#include "explore/keywords.h"
#include "ui/bg_task.h"

namespace orvela::bookmarks {
class Bookmarks;
}
namespace orvela::map {
class Grid;
class MapDb;
class MapLoader;
struct UserState;
}  // namespace orvela::map
namespace orvela::ui {
class Ui;
}

namespace orvela::explore {

class Explorer;

// The largest ring, in cells, that the area search scans: the whole grid.
inline constexpr int LOCALMAPSEARCHMAXRANGE = 150;
// Rows each start-point query reads at most, the nearest first.
inline constexpr int STARTPOINTLIMIT = 1000;

class Search {
 public:
  Search(Explorer& ex, bookmarks::Bookmarks& bookmarks, map::MapDb& db, map::MapLoader& loader,
         const map::Grid& grid, const map::UserState& user, ui::Ui& ui);

  // A map is chosen (it may not be open yet).
  bool map_chosen() const;

  // The open command: the user chooses a map, it is loaded around the user,
  // and when nothing of it lies there the start-point search follows.
  void FILEOPEN();

  // Asks for key words, searches the whole map behind a progress dialog
  // and lets the user jump to one of the places found.
  void SELMAPSTARTPOINT();
  // The background work of SELMAPSTARTPOINT for the entry `entry`: fills
  // LOCSEARCHRES, stopping early when the user cancels. Without key words
  // only points are searched.
  ui::BgResult SELMAPSTARTPOINTTHREAD(const std::string& entry, const ui::BgProgress& progress);
  // Cancel pressed: the running query stops at once.
  void SELMAPSTARTPOINT_ONCANCEL();
  // The places the last start-point search found.
  const bookmarks::ARRLOC& LOCSEARCHRES() const { return locsearchres_; }

  // The area search for one object-type letter, or for everything with '\0'.
  void LOCALMAPSEARCH(char OBJTYPE);

 private:
  // The map is chosen and open; says why not otherwise.
  bool map_ready();
  void start_point_points(const KeyWords& SKW, const ui::BgProgress& progress);
  void start_point_lines(const KeyWords& SKW, const ui::BgProgress& progress);
  // Points of the loaded area; false when the query could not be bound.
  bool area_points(char OBJTYPE, const KeyWords& SKW, bookmarks::ARRLOC& found);

  Explorer& ex_;
  bookmarks::Bookmarks& bookmarks_;
  map::MapDb& db_;
  map::MapLoader& loader_;
  const map::Grid& grid_;
  const map::UserState& user_;
  ui::Ui& ui_;
  bookmarks::ARRLOC locsearchres_;
};

}  // namespace orvela::explore
