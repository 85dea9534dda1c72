#pragma once
// Reads rows of a finished map file straight through SQLite, so the tests
// look at what a reader of the file would see.
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

namespace orvela::osm::testing {

using Row = std::vector<std::string>;

// All rows of `sql`, every column as text ("NULL" for NULL).
inline std::vector<Row> sql_rows(const std::filesystem::path& db, const std::string& sql) {
  std::vector<Row> rows;
  sqlite3* h = nullptr;
  if (sqlite3_open_v2(db.c_str(), &h, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(h);
    return rows;
  }
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(h, sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
    while (sqlite3_step(st) == SQLITE_ROW) {
      Row r;
      for (int i = 0; i < sqlite3_column_count(st); ++i) {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
        r.emplace_back(t ? std::string(t, static_cast<size_t>(sqlite3_column_bytes(st, i)))
                         : "NULL");
      }
      rows.push_back(std::move(r));
    }
  }
  sqlite3_finalize(st);
  sqlite3_close(h);
  return rows;
}

inline std::string sql_one(const std::filesystem::path& db, const std::string& sql) {
  auto rows = sql_rows(db, sql);
  return rows.empty() || rows[0].empty() ? std::string("<none>") : rows[0][0];
}

// The vertices of a points blob, read back with the map codec.
inline std::vector<std::vector<uint8_t>> sql_blobs(const std::filesystem::path& db,
                                                   const std::string& sql) {
  std::vector<std::vector<uint8_t>> out;
  sqlite3* h = nullptr;
  if (sqlite3_open_v2(db.c_str(), &h, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(h);
    return out;
  }
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(h, sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
    while (sqlite3_step(st) == SQLITE_ROW) {
      const auto* p = static_cast<const uint8_t*>(sqlite3_column_blob(st, 0));
      out.emplace_back(p, p + sqlite3_column_bytes(st, 0));
    }
  }
  sqlite3_finalize(st);
  sqlite3_close(h);
  return out;
}

}  // namespace orvela::osm::testing
