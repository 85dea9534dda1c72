#include "support/map_builder.h"

#include <algorithm>
#include <stdexcept>

#include "map/schema.h"

namespace orvela::test {

MapBuilder::MapBuilder(const std::filesystem::path& fn, int version) {
  if (sqlite3_open(fn.string().c_str(), &db_) != SQLITE_OK) throw std::runtime_error("open");
  namespace s = map::schema;
  for (auto q : {s::CREATE_POI, s::CREATE_LIN, s::CREATE_LINIDX, s::CREATE_TAGS, s::CREATE_IDXTAGS,
                 s::CREATE_LOGENTRY, s::CREATE_LOGENTRYFILES, s::CREATE_INFO})
    exec(std::string(q));
  for (auto p : s::STRING_TABLES) exec(s::create_string_table(p));
  exec("insert into orvel_info (name, value) values ('version', '" + std::to_string(version) +
       "');");
  exec("insert into orvel_info (name, value) values ('date', '2026.12.07/10:00:00');");
  exec("begin;");
}

MapBuilder::~MapBuilder() { close(); }

void MapBuilder::close() {
  if (!db_) return;
  // The indices the program's own maps get when they are closed, where the
  // test left their tables in place.
  namespace s = map::schema;
  for (auto q : {s::CREATE_IDXLATLON, s::CREATE_IDXPOISTARTLEV, s::CREATE_IDXPOIENDLEV,
                 s::CREATE_IDXLINSTARTLEV, s::CREATE_IDXLINENDLEV})
    sqlite3_exec(db_, std::string(q).c_str(), nullptr, nullptr, nullptr);
  exec("commit;");
  sqlite3_close(db_);
  db_ = nullptr;
}

void MapBuilder::exec(const std::string& sql) {
  char* err = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
    std::string e = err ? err : "?";
    sqlite3_free(err);
    throw std::runtime_error(e + ": " + sql);
  }
}

int64_t MapBuilder::text_id(const std::string& table, const std::string& value) {
  if (value.empty()) return 0;
  sqlite3_stmt* st = nullptr;
  std::string q = "insert into orvel_" + table + " (" + table + ") values (?1);";
  sqlite3_prepare_v2(db_, q.c_str(), -1, &st, nullptr);
  sqlite3_bind_text(st, 1, value.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_step(st);
  sqlite3_finalize(st);
  return sqlite3_last_insert_rowid(db_);
}

void MapBuilder::bind_object(sqlite3_stmt* st, const MapObject& o) {
  std::string type(1, o.type);
  sqlite3_bind_text(st, 1, type.c_str(), -1, SQLITE_TRANSIENT);
  const std::pair<const char*, const std::string*> ids[] = {
      {"name", &o.name}, {"type", &o.typ},      {"street", &o.street},
      {"city", &o.city}, {"region", &o.region}, {"country", &o.country}};
  int col = 2;
  for (const auto& [table, value] : ids) {
    int64_t id = text_id(table, *value);
    if (id) sqlite3_bind_int64(st, col, id);
    ++col;
  }
  if (!o.housenum.empty()) sqlite3_bind_text(st, 8, o.housenum.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_int(st, 9, o.startlev);
  sqlite3_bind_int(st, 10, o.endlev);
}

int64_t MapBuilder::raw_line(const MapObject& o, const std::vector<uint8_t>& blob, double minlon,
                             double maxlon, double minlat, double maxlat) {
  return line_with_blob(o, blob, {}, minlon, maxlon, minlat, maxlat);
}

int64_t MapBuilder::line_with_blob(const MapObject& o, const std::vector<uint8_t>& blob,
                                   const std::vector<uint8_t>& hblob, double minlon, double maxlon,
                                   double minlat, double maxlat) {
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db_,
                     "insert into orvel_lin (objtype, nameid, typeid, streetid, cityid, regionid, "
                     "countryid, housenum, startlev, endlev, points, hlevels) values "
                     "(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12);",
                     -1, &st, nullptr);
  bind_object(st, o);
  sqlite3_bind_blob(st, 11, blob.data(), static_cast<int>(blob.size()), SQLITE_TRANSIENT);
  if (!hblob.empty())
    sqlite3_bind_blob(st, 12, hblob.data(), static_cast<int>(hblob.size()), SQLITE_TRANSIENT);
  if (sqlite3_step(st) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db_));
  sqlite3_finalize(st);
  int64_t id = sqlite3_last_insert_rowid(db_);
  sqlite3_prepare_v2(
      db_, "insert into orvel_linidx (id, minlon, maxlon, minlat, maxlat) values (?1,?2,?3,?4,?5);",
      -1, &st, nullptr);
  sqlite3_bind_int64(st, 1, id);
  sqlite3_bind_double(st, 2, minlon);
  sqlite3_bind_double(st, 3, maxlon);
  sqlite3_bind_double(st, 4, minlat);
  sqlite3_bind_double(st, 5, maxlat);
  if (sqlite3_step(st) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db_));
  sqlite3_finalize(st);
  return id;
}

int64_t MapBuilder::line(const MapObject& o, const std::vector<map::POINT>& pts,
                         const std::vector<map::HLEVREC>& hlev) {
  double minlon = 1e9, maxlon = -1e9, minlat = 1e9, maxlat = -1e9;
  for (const auto& p : pts) {
    minlon = std::min(minlon, p.X / 1e6);
    maxlon = std::max(maxlon, p.X / 1e6);
    minlat = std::min(minlat, p.Y / 1e6);
    maxlat = std::max(maxlat, p.Y / 1e6);
  }
  return line_with_blob(o, map::encode_points(pts), map::encode_hlevels(hlev), minlon, maxlon,
                        minlat, maxlat);
}

int64_t MapBuilder::point(const MapObject& o, int32_t lat, int32_t lon) {
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db_,
                     "insert into orvel_poi (objtype, nameid, typeid, streetid, cityid, regionid, "
                     "countryid, housenum, startlev, endlev, lat, lon) values "
                     "(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12);",
                     -1, &st, nullptr);
  bind_object(st, o);
  sqlite3_bind_int(st, 11, lat);
  sqlite3_bind_int(st, 12, lon);
  if (sqlite3_step(st) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db_));
  sqlite3_finalize(st);
  return sqlite3_last_insert_rowid(db_);
}

void MapBuilder::tag(char type, int64_t id, const std::string& name, const std::string& value) {
  int64_t n = text_id("tagname", name), v = text_id("tagvalue", value);
  exec("insert into orvel_tags (objtype, objectid, tagnameid, tagvalueid) values ('" +
       std::string(1, type) + "', " + std::to_string(id) + ", " + std::to_string(n) + ", " +
       std::to_string(v) + ");");
}

}  // namespace orvela::test
