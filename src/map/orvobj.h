#pragma once
// One map object as read from or written to a map file, the object-type
// letters and the constants of the file format.
#include <cstdint>
#include <string>

namespace orvela::map {

// The only map format version this program reads and writes.
inline constexpr int32_t MAPINTVER = 7;
// Coordinates are micro-degrees: degrees times CORDSDIVBY.
inline constexpr int32_t CORDSDIVBY = 1000000;

// Object-type letters of column `objtype`.
inline constexpr char OBJTYPE_POI = 'p';           // point of interest, orvel_poi
inline constexpr char OBJTYPE_ADDRESS = 'a';       // address point, orvel_poi
inline constexpr char OBJTYPE_INTERSECTION = 'n';  // crossing of ways, orvel_poi
inline constexpr char OBJTYPE_LINE = 'l';          // road, path, rail..., orvel_lin
inline constexpr char OBJTYPE_POLYGON = 'o';       // area, orvel_lin

struct ORVOBJREC {
  // Row id, for imported objects their OpenStreetMap id (all 64 bits of it);
  // 0 for an object not stored yet.
  int64_t ID = 0;
  std::string OBJTYPE;  // the type letter (at most 3 characters, one used)
  std::string NAME;     // read back with street and house number appended
  std::string TYP;      // type text, e.g. a road class
  std::string STREET;
  std::string HOUSENUM;
  std::string CITY;
  std::string REGION;
  std::string COUNTRY;
  uint8_t STARTLEV = 0;  // detail-level range
  uint8_t ENDLEV = 0;
  int32_t LAT = 0;  // position of a point object, micro-degrees
  int32_t LON = 0;
  int32_t ILHITS = 0;    // grid cells won while rasterising
  bool HASTAGS = false;  // has rows in orvel_tags
};

// The type letter of an object, '\0' when it has none.
inline char objtype_letter(const ORVOBJREC& o) { return o.OBJTYPE.empty() ? '\0' : o.OBJTYPE[0]; }

}  // namespace orvela::map
