#pragma once
// An owned SQLite statement, finalized when it goes out of scope.
#include <sqlite3.h>

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

}  // namespace orvela::map
