#include "osm/batched_insert.h"

#include <utility>

namespace orvela::osm {
namespace {

std::string values_of(int columns, size_t rows) {
  std::string row = "(";
  for (int i = 0; i < columns; ++i) row += i == 0 ? "?" : ",?";
  row += ")";
  std::string s;
  for (size_t r = 0; r < rows; ++r) s += (r == 0 ? "" : ",") + row;
  return s;
}

}  // namespace

BatchedInsert::BatchedInsert(map::MapDb& db, std::string into, int columns, std::string check)
    : db_(db), into_(std::move(into)), columns_(columns), check_(std::move(check)) {}

void BatchedInsert::prepare() {
  one_ = db_.DBPREPARE("insert into " + into_ + " values " + values_of(columns_, 1) + ";");
  db_.IFDBERREX(check_);
  many_ = db_.DBPREPARE("insert into " + into_ + " values " + values_of(columns_, kRows) + ";");
  db_.IFDBERREX(check_);
  values_.assign(kRows * static_cast<size_t>(columns_), Value{});
  rows_ = 0;
}

void BatchedInsert::finalize() {
  one_.reset();
  many_.reset();
  values_ = {};
  rows_ = 0;
}

std::span<BatchedInsert::Value> BatchedInsert::add() {
  if (rows_ == kRows) flush();
  const auto n = static_cast<size_t>(columns_);
  std::span<Value> row(values_.data() + rows_ * n, n);
  for (Value& v : row) v = std::monostate{};
  ++rows_;
  return row;
}

// Texts and blobs are bound without a copy: the rows stay as they are
// until the statement has been stepped and reset.
void BatchedInsert::bind(sqlite3_stmt* st, int first, std::span<const Value> row) {
  int i = first;
  for (const Value& v : row) {
    if (const auto* q = std::get_if<int64_t>(&v)) {
      db_.DBBINDQWORD(st, i, *q);
    } else if (const auto* s = std::get_if<std::string>(&v)) {
      db_.DBBINDSTR(st, i, *s, false);
    } else if (const auto* b = std::get_if<std::vector<uint8_t>>(&v)) {
      db_.DBBINDBLOB(st, i, *b, false);
    }
    ++i;
  }
}

void BatchedInsert::step(sqlite3_stmt* st) {
  db_.IFDBERREX("binding parameters");
  db_.DBSTEP(st);
  db_.IFDBERREX(check_);
  db_.DBRESET(st);
  db_.DBCLEARBINDINGS(st);
}

void BatchedInsert::flush() {
  const auto n = static_cast<size_t>(columns_);
  if (rows_ == kRows) {
    for (size_t r = 0; r < rows_; ++r)
      bind(many_, static_cast<int>(r * n) + 1, std::span(values_.data() + r * n, n));
    step(many_);
  } else {
    for (size_t r = 0; r < rows_; ++r) {
      bind(one_, 1, std::span(values_.data() + r * n, n));
      step(one_);
    }
  }
  rows_ = 0;
}

bool BatchedInsert::insert_now(std::span<const Value> row, int64_t& rowid) {
  flush();
  bind(one_, 1, row);
  db_.IFDBERREX("binding parameters");
  const int rc = db_.DBSTEP(one_);
  const bool refused = (rc & 0xFF) == SQLITE_CONSTRAINT;
  if (!refused) {
    db_.IFDBERREX(check_);
    rowid = db_.DBINSERTID();
  }
  db_.DBRESET(one_);
  db_.DBCLEARBINDINGS(one_);
  return !refused;
}

}  // namespace orvela::osm
