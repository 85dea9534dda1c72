#pragma once
// Choosing, opening and checking the current map file, and loading the grid
// around the user: every object of the file in the 150 x 150 cell area is
// read and drawn, lines cell by cell with direction and height level, areas
// filled, points placed, each cell going to the object of highest priority.
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "map/orvobj.h"
#include "map/point.h"
#include "map/stmt.h"
#include "map/user.h"

namespace orvela::text {
class Messages;
}
namespace orvela::ui {
class Ui;
}

namespace orvela::map {

class MapDb;
class Grid;
struct LineGeometry;

// What a load asks of the modules above the map (bookmarks, soundscape); the
// app installs them, they do nothing until then.
struct LoadHooks {
  // After the grid is drawn: bookmarks' grid positions (RECALCARRLOC), then
  // the soundscape (SETSOUNDSCAPE).
  std::function<void()> after_load;
};

class MapLoader {
 public:
  MapLoader(MapDb& db, Grid& grid, UserState& user, ui::Ui& ui, text::Messages& msg,
            std::filesystem::path mapdir);

  // Names of the "*.orvel" files in the maps folder, folders excluded.
  std::vector<std::string> GETMAPLIST() const;
  // Lets the user pick a map; true when one was chosen (the next load opens it).
  bool SELECTMAP();
  // Says "No map selected." and returns true when there is no current map.
  bool CHECKNOMAP();
  // Makes sure the current map is open and of our version.
  bool OPENMAP();
  bool CHECKMAPVER();
  // Forgets the map, shows "Error reading map: {err}" and closes the database.
  void READMAPERR(const std::string& s);
  // The "date" of another map file, read without disturbing the current one.
  std::string GETMAPDATE(const std::filesystem::path& mapfn);
  // Loads the grid around ULAT/ULON. True when the grid was drawn.
  bool READMAP();
  // Reads the next row of the shared statement into `o`.
  bool GETNEXTOBJ(ORVOBJREC& o);

  // The current map file (empty: none) and the maps folder.
  const std::string& FN() const { return fn_; }
  void set_FN(std::string fn) { fn_ = std::move(fn); }
  // Makes `fn` the current map and closes the open one; the next load opens it.
  void change_map(std::string fn);
  // Closes the open map file but keeps it current: the next load reopens it.
  void close_map();
  const std::filesystem::path& MAPDIR() const { return mapdir_; }

  LoadHooks hooks;

 private:
  bool load_lines(int maplev);
  bool load_points(int maplev);
  void draw_line_row(ORVOBJREC& o, LineGeometry& geom);
  bool OBJHASTAGS(const std::string& objtype, int64_t objectid);
  void forget_grid();

  MapDb& db_;
  Grid& grid_;
  UserState& user_;
  ui::Ui& ui_;
  text::Messages& msg_;
  std::filesystem::path mapdir_;
  std::string fn_;
  Stmt tagq_;
};

// Draws the segment (x1, y1)-(x2, y2) of object `o` into the cells it
// crosses, the start cell excepted, with height levels from `hl` to `hl2`.
void MAPADRAWLINE(Grid& grid, double x1, double y1, double x2, double y2, int32_t o, double hl,
                  double hl2, int32_t newprio);

// The centre of the open map file in micro-degrees: the mean of the centres
// of the point box and the line box, (0, 0) for an empty map.
void CALCMAPCENTER(MapDb& db, int32_t& LAT, int32_t& LON);

// One area being filled: its box in whole cells, outline and outline length.
struct POLYG;
// Fills the cells of the area whose whole-number corners lie inside its outline.
void FILLSHAPE(Grid& grid, const POLYG& pg);

}  // namespace orvela::map
