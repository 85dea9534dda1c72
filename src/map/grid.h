#pragma once
// The map grid: MAXXY x MAXXY cells around the user, each holding at most one
// object (the one with the highest drawing priority), the exact point drawn
// there, the direction of a line through it, its height level and where in
// the cell the point lies. Also the object list the cells refer to, the
// polygon list, the statistics, and the zoom level that sets the cell size.
//
// The loader fills it: clear(), set_area(), ADDOBJ() and SETMAPA() per
// object, POLYGONS for areas. Everything else reads it.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "map/orvobj.h"
#include "map/point.h"

namespace orvela::map {

inline constexpr int MAXXY = 150;
inline constexpr uint8_t MAXILEV = 11;
// Objects are added in blocks of this many.
inline constexpr int32_t OBJBLOCK = 100;

struct LATLON {
  bool ISSET = false;
  int32_t LAT = 0;
  int32_t LON = 0;
};

struct POLYG {
  int32_t MINX = 0, MINY = 0, MAXX = 0, MAXY = 0;  // box in whole cells, 1..MAXXY
  int32_t OBJNUM = 0;                              // index in ORVOBJECTS
  int32_t BORDERSIZE = 0;                          // outline length in grid units
  std::vector<POINT> PG;                           // outline in whole cells
};

// One row of the zoom table.
struct ZoomLevel {
  uint16_t SQMETERS;
  uint8_t MAPLEV;
  uint16_t USTEPPITCH;
};
// Zoom levels 0..MAXILEV.
const ZoomLevel& zoom_level(uint8_t ilev);

class Grid {
 public:
  Grid();

  // --- area (micro-degrees) -----------------------------------------------
  int32_t MINLAT = 0, MAXLAT = 0, MINLON = 0, MAXLON = 0;
  int32_t YLAT = 0;  // micro-degrees of latitude per grid unit
  int32_t XLON = 0;  // micro-degrees of longitude per grid unit

  // Centres the area on (ulat, ulon) for the current SQMETERS.
  void set_area(int32_t ulat, int32_t ulon);
  void LATLONTOYX(int32_t LAT, int32_t LON, double& Y, double& X) const;
  void YXTOLATLON(double Y, double X, int32_t& LAT, int32_t& LON) const;
  static bool ISXYVALID(double X, double Y);

  // --- cells [x][y], x and y in 1..MAXXY ----------------------------------
  int32_t& MAPA(int x, int y) { return cells_->mapa[x][y]; }
  int32_t MAPA(int x, int y) const { return cells_->mapa[x][y]; }
  LATLON& MAPALATLON(int x, int y) { return cells_->latlon[x][y]; }
  const LATLON& MAPALATLON(int x, int y) const { return cells_->latlon[x][y]; }
  int32_t& MAPAKIER(int x, int y) { return cells_->kier[x][y]; }
  int32_t MAPAKIER(int x, int y) const { return cells_->kier[x][y]; }
  int32_t& MAPAPRIORITY(int x, int y) { return cells_->priority[x][y]; }
  int32_t MAPAPRIORITY(int x, int y) const { return cells_->priority[x][y]; }
  double& MAPAHLEV(int x, int y) { return cells_->hlev[x][y]; }
  double MAPAHLEV(int x, int y) const { return cells_->hlev[x][y]; }
  uint8_t& MAPAFRAC(int x, int y) { return cells_->frac[x][y]; }
  uint8_t MAPAFRAC(int x, int y) const { return cells_->frac[x][y]; }

  // Object index of the cell at (X, Y) read to two decimals; 0 when empty or outside.
  int32_t GETMAPA(double X, double Y) const;
  // Draws object OBJID into the cell at (X, Y) if it wins the cell.
  void SETMAPA(double X, double Y, int32_t OBJID, int32_t LAT, int32_t LON, int32_t KIER,
               double HLEV, int32_t NEWPRIO);
  // Object of the cell RELX, RELY grid units away from the user at (UPOSX,
  // UPOSY); which bookmark stands there is the bookmark list's question.
  int32_t GETMAPARELATIVE(double UPOSX, double UPOSY, double RELX, double RELY) const {
    return GETMAPA(UPOSX + RELX, UPOSY + RELY);
  }
  static uint8_t FRACTONIBLES(double X, double Y);
  // OBJNUM of polygon NUMPOLYG (0-based) when (X, Y) lies inside it, else 0.
  int32_t XYPOINTINPOLYGON(int32_t X, int32_t Y, size_t NUMPOLYG) const;

  // --- objects ------------------------------------------------------------
  std::vector<ORVOBJREC> ORVOBJECTS;  // element 0 unused; size is MAXOBJ
  int32_t ILOBJ = 0;
  int32_t MAXOBJ = OBJBLOCK;
  std::vector<POLYG> POLYGONS;

  int32_t ADDOBJ(const ORVOBJREC& O);
  void DELLASTOBJ();
  // Drawing priority of object OBJID; 0 for an index outside the list.
  int32_t GETOBJPRIORITY(int32_t OBJID) const;

  // --- statistics, zeroed by clear() ---------------------------------------
  int32_t STATPOI = 0, STATADR = 0, STATNODES = 0, STATLIN = 0, STATPOLYG = 0, STATHLEV = 0;

  // --- zoom ---------------------------------------------------------------
  uint8_t ILEV = 2;
  uint16_t SQMETERS = 10;
  uint8_t MAPLEV = 0;
  uint16_t USTEPPITCH = 175;

  void SETILEV();
  // IMODE 0 larger squares, 1 smaller, 2 smallest, 3 largest. True when the
  // level changed: the caller speaks the size and, then, loads the map again.
  bool SQMETERSCHANGE(int IMODE);

  // Empties cells, objects, polygons and statistics for a new load.
  void clear();

 private:
  template <typename T>
  using CellArray = std::array<std::array<T, MAXXY + 1>, MAXXY + 1>;
  struct Cells {
    CellArray<int32_t> mapa;
    CellArray<LATLON> latlon;
    CellArray<int32_t> kier;
    CellArray<int32_t> priority;
    CellArray<double> hlev;
    CellArray<uint8_t> frac;
  };
  int32_t* stat_counter(const ORVOBJREC& o);

  std::unique_ptr<Cells> cells_;
};

}  // namespace orvela::map
