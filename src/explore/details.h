#pragma once
// Small information commands on top of the loaded map: the tags of the
// object under the user (shown or spoken) and its row id, the update
// history stored in the map file, and what the last load put into the grid.
#include <string>

namespace orvela::map {
class Grid;
class MapDb;
struct ORVOBJREC;
struct UserState;
}  // namespace orvela::map
namespace orvela::text {
class Messages;
}
namespace orvela::ui {
class Ui;
}

namespace orvela::explore {

class Explorer;

class Details {
 public:
  Details(Explorer& ex, map::MapDb& db, const map::Grid& grid, const map::UserState& user,
          ui::Ui& ui, text::Messages& msg);

  // The object under the user has tags: the tag commands have something
  // to tell. Read from the grid each time, so it holds after any load.
  bool CUROBJHASTAGS() const;
  // The tags of the object under the user, one "name=value" per line in
  // the order they were stored; empty when there is no object or no tag.
  std::string GETTAGS();
  // The tags in a read-only text window; nothing without tags.
  void SHOWTAGS();
  // Speaks the tags; nothing without tags.
  void SAYTAGS();
  // Speaks the row id of the object under the user; nothing on an empty cell.
  void SAYID();
  // The map's update history, newest first, in a text window, or "Brak
  // historii tej mapy" when the map has none.
  void MAPHISTORY();
  // The counts of the last load in a message box.
  void AREASTATS();

 private:
  // The object under the user, or nullptr.
  const map::ORVOBJREC* object_here() const;

  Explorer& ex_;
  map::MapDb& db_;
  const map::Grid& grid_;
  const map::UserState& user_;
  ui::Ui& ui_;
  text::Messages& msg_;
};

}  // namespace orvela::explore
