#pragma once
// An owned SQLite statement, finalized when it goes out of scope, and the
// reading of a text column.
#include <sqlite3.h>

#include <string>
#include <utility>

namespace orvela::map {

class Stmt {
 public:
  Stmt() = default;
  explicit Stmt(sqlite3_stmt* s) : s_(s) {}
  ~Stmt() { sqlite3_finalize(s_); }
  Stmt(Stmt&& o) noexcept : s_(std::exchange(o.s_, nullptr)) {}
  Stmt& operator=(Stmt&& o) noexcept {
    if (this != &o) {
      sqlite3_finalize(s_);
      s_ = std::exchange(o.s_, nullptr);
    }
    return *this;
  }
  Stmt(const Stmt&) = delete;
  Stmt& operator=(const Stmt&) = delete;

  sqlite3_stmt* get() const { return s_; }
  operator sqlite3_stmt*() const { return s_; }  // NOLINT: used like the raw handle
  explicit operator bool() const { return s_ != nullptr; }
  // Finalizes now; the handle becomes none.
  void reset() { *this = Stmt(); }

 private:
  sqlite3_stmt* s_ = nullptr;
};

// The text of column `col` of the current row; empty for NULL. The bytes
// are taken as they are stored, embedded NULs included.
inline std::string column_text(sqlite3_stmt* st, int col) {
  const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
  return t ? std::string(t, static_cast<size_t>(sqlite3_column_bytes(st, col))) : std::string();
}

}  // namespace orvela::map
