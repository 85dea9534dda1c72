#pragma once
// Inserts rows into one table many at a time: one statement with the values
// of kRows rows costs SQLite far less than as many statements of one row
// (each statement also reads and rewrites the table's autoincrement
// counter). Rows keep their order, so they get the same ids as one by one.
#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "map/mapdb.h"

namespace orvela::osm {

class BatchedInsert {
 public:
  // NULL, an integer, a text or a blob.
  using Value = std::variant<std::monostate, int64_t, std::string, std::vector<uint8_t>>;
  static constexpr size_t kRows = 64;

  // `into` is "table (column, ...)" of `columns` columns; `check` names
  // the step in the error log.
  BatchedInsert(map::MapDb& db, std::string into, int columns, std::string check);

  // Prepares the statements; rows added before are dropped.
  void prepare();
  // Finalizes the statements and drops rows not yet written.
  void finalize();
  // A new row, all NULL, to be filled in; written by a later add() or flush().
  std::span<Value> add();
  // Writes every row added so far.
  void flush();
  // Writes the rows added so far, then `row` at once. False when SQLite
  // refused it for a constraint (an id already taken), else its id in `rowid`.
  bool insert_now(std::span<const Value> row, int64_t& rowid);
  bool empty() const { return rows_ == 0; }

 private:
  void bind(sqlite3_stmt* st, int first, std::span<const Value> row);
  void step(sqlite3_stmt* st);

  map::MapDb& db_;
  std::string into_;
  int columns_;
  std::string check_;
  map::Stmt one_, many_;
  std::vector<Value> values_;
  size_t rows_ = 0;
};

}  // namespace orvela::osm
