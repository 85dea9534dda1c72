#pragma once
// Writes small map files for tests straight through SQLite, with the exact
// tables, columns and blob encodings every map file has.
#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "map/point.h"
#include "map/varint.h"

namespace orvela::test {

struct MapObject {
  char type = 'l';
  std::string name, typ, street, housenum, city, region, country;
  uint8_t startlev = 0, endlev = 4;
};

// An object of type letter `type` with a name and a type text.
inline MapObject map_object(char type, std::string name, std::string typ) {
  MapObject o;
  o.type = type;
  o.name = std::move(name);
  o.typ = std::move(typ);
  return o;
}

class MapBuilder {
 public:
  // Creates `fn` with every table; `version` goes into orvel_info.
  explicit MapBuilder(const std::filesystem::path& fn, int version = 7);
  ~MapBuilder();
  MapBuilder(const MapBuilder&) = delete;
  MapBuilder& operator=(const MapBuilder&) = delete;

  // A line or area through `pts` (X = lon, Y = lat, micro-degrees).
  int64_t line(const MapObject& o, const std::vector<map::POINT>& pts,
               const std::vector<map::HLEVREC>& hlev = {});
  // A line row whose points blob is given as raw bytes, bounding box included.
  int64_t raw_line(const MapObject& o, const std::vector<uint8_t>& blob, double minlon,
                   double maxlon, double minlat, double maxlat);
  int64_t point(const MapObject& o, int32_t lat, int32_t lon);
  void tag(char type, int64_t id, const std::string& name, const std::string& value);
  void exec(const std::string& sql);
  // Closes the file; the builder must not be used afterwards.
  void close();

 private:
  int64_t line_with_blob(const MapObject& o, const std::vector<uint8_t>& blob,
                         const std::vector<uint8_t>& hblob, double minlon, double maxlon,
                         double minlat, double maxlat);
  int64_t text_id(const std::string& table, const std::string& value);
  void bind_object(sqlite3_stmt* st, const MapObject& o);
  sqlite3* db_ = nullptr;
};

}  // namespace orvela::test
