#pragma once
// Opening and checking the current map file, and loading the grid around the
// user: every object of the file in the 150 x 150 cell area is read and
// drawn, lines cell by cell with direction and height level, areas filled,
// points placed, each cell going to the object of highest priority. The
// loader says how a load ended; choosing a map and putting failures into
// words are the caller's.
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "map/orvobj.h"
#include "map/point.h"
#include "map/stmt.h"
#include "map/user.h"

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

// How opening or loading the current map ended.
enum class MapStatus {
  NoMap,   // no map chosen
  Failed,  // the map could not be read; it has been forgotten and closed
  Open,    // the map is open, the grid not loaded (the user's position is unknown)
  Loaded,  // the grid is loaded around the user and holds objects
  Empty,   // the grid is loaded around the user and holds nothing
};

struct LoadResult {
  MapStatus status = MapStatus::NoMap;
  // With Failed: what went wrong, the text after "Error reading map: ".
  std::string error;
  // The map file is open, so a window title can name it.
  bool open() const {
    return status == MapStatus::Open || status == MapStatus::Loaded || status == MapStatus::Empty;
  }
  friend bool operator==(const LoadResult&, const LoadResult&) = default;
};

// What reading one row of one query costs against a row of another: `narrow`
// rows of the one cost what `wide` rows of the other do.
struct RowCost {
  int64_t narrow = 1;
  int64_t wide = 1;
};

class MapLoader {
 public:
  MapLoader(MapDb& db, Grid& grid, UserState& user, std::filesystem::path mapdir);

  // Names of the "*.orvel" files in the maps folder, folders excluded.
  std::vector<std::string> GETMAPLIST() const;
  // Makes sure the current map is open and of our version: NoMap, Failed or Open.
  LoadResult OPENMAP();
  // The "date" of another map file, read without disturbing the current one.
  std::string GETMAPDATE(const std::filesystem::path& mapfn);
  // Loads the grid around ULAT/ULON.
  LoadResult READMAP();
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
  // The database the map is read through, for readers beyond the grid.
  MapDb& db() const { return db_; }

  LoadHooks hooks;

  // How a load finds its rows: through the area's indices, or through the
  // levels' when fewer rows show at the level than lie in the area (zoomed
  // far out on a big map). Both give the same rows in the same order;
  // Choose picks the faster, the others are for comparing them.
  enum class Reading { Choose, ByArea, ByLevel };
  Reading reading = Reading::Choose;

 private:
  // Forgets the map, empties the grid and closes the database; the failure
  // with its reason.
  LoadResult READMAPERR(std::string s);
  LoadResult CHECKMAPVER();
  // Loaded, or Failed with the reason.
  LoadResult load_lines(int maplev);
  LoadResult load_points(int maplev);
  void draw_line_row(ORVOBJREC& o, LineGeometry& geom);
  // Binds the area and the level as far as the statement takes them.
  bool bind_area(sqlite3_stmt* st, bool degrees, int maplev);
  // Whether to read by the level: with Choose, when the rows that show at
  // the level cost less to read than the rows that lie in the area, at
  // `cost`; false when either cannot be counted, and the load goes by the area.
  bool level_is_narrower(const char* level_count, const char* area_count, bool degrees, int maplev,
                         RowCost cost);
  bool OBJHASTAGS(const std::string& objtype, int64_t objectid);
  void forget_grid();
  bool read_level_lines(int maplev);

  MapDb& db_;
  Grid& grid_;
  UserState& user_;
  std::filesystem::path mapdir_;
  std::string fn_;
  Stmt tagq_;
  std::vector<int64_t> level_lines_;  // the lines of the level being loaded, sorted
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
