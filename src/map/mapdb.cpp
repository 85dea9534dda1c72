#include "map/mapdb.h"

#include "map/varint.h"
#include "text/atomic_file.h"
#include "text/utf8.h"

namespace orvela::map {

namespace {

// Longest text DBGETSTRRES hands back, in bytes.
constexpr size_t MAXSTRRES = 255;

std::span<const uint8_t> column_blob(sqlite3_stmt* st, int col) {
  if (st == nullptr) return {};
  const void* p = sqlite3_column_blob(st, col);
  int n = sqlite3_column_bytes(st, col);
  if (p == nullptr || n <= 0) return {};
  return {static_cast<const uint8_t*>(p), static_cast<size_t>(n)};
}

}  // namespace

MapDb::MapDb(std::filesystem::path errlog) : errlog_(std::move(errlog)) {}

MapDb::~MapDb() {
  dbs_.reset();
  if (db_ != nullptr) sqlite3_close_v2(db_);
}

int MapDb::record(int rc) {
  dberr_ = static_cast<int16_t>(rc);
  // Asked at once, while the connection still knows it.
  const bool failed = rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE;
  syserr_ = failed && db_ != nullptr ? sqlite3_system_errno(db_) : 0;
  return rc;
}

std::string MapDb::errmsg() const {
  // Without a connection (a failed open) SQLite still names the code.
  return db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(dberr_);
}

void MapDb::append_log(const std::string& line) const {
  // Each line is its own open-append-close, so a crash later loses nothing.
  text::append_line(errlog_, line);
}

// --- connection -------------------------------------------------------------

int MapDb::DBCONNECT(const std::string& fn, int flags) {
  if (db_ != nullptr) DBCLOSE();
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(fn.c_str(), &db, flags, nullptr);
  record(rc);
  // The failed handle still knows why the system refused the file.
  if (rc != SQLITE_OK && db != nullptr) syserr_ = sqlite3_system_errno(db);
  if (rc != SQLITE_OK) {
    sqlite3_close_v2(db);
    db = nullptr;
  }
  db_ = db;
  return rc;
}

int MapDb::DBCLOSE() {
  if (db_ == nullptr) return SQLITE_OK;
  dbs_.reset();
  // close_v2 defers the close until statements still held elsewhere are
  // finalized, instead of failing with "busy".
  // A handle that failed to close is not asked anything more.
  const int rc = sqlite3_close_v2(db_);
  dberr_ = static_cast<int16_t>(rc);
  syserr_ = 0;
  // The connection is forgotten whatever happens, also when the check throws.
  struct Forget {
    sqlite3*& db;
    ~Forget() { db = nullptr; }
  } forget{db_};
  IFDBERREX("error closing map");
  return rc;
}

MapDb::SavedConnection::SavedConnection(SavedConnection&& o) noexcept
    : db_(std::exchange(o.db_, nullptr)), dbs_(std::move(o.dbs_)) {}

MapDb::SavedConnection& MapDb::SavedConnection::operator=(SavedConnection&& o) noexcept {
  if (this != &o) {
    dbs_ = std::move(o.dbs_);
    if (db_ != nullptr) sqlite3_close_v2(db_);
    db_ = std::exchange(o.db_, nullptr);
  }
  return *this;
}

MapDb::SavedConnection::~SavedConnection() {
  dbs_.reset();
  if (db_ != nullptr) sqlite3_close_v2(db_);
}

MapDb::SavedConnection MapDb::put_aside() {
  SavedConnection s;
  s.db_ = std::exchange(db_, nullptr);
  s.dbs_ = std::move(dbs_);
  return s;
}

void MapDb::restore(SavedConnection&& saved) {
  if (db_ != nullptr) DBCLOSE();
  db_ = std::exchange(saved.db_, nullptr);
  dbs_ = std::move(saved.dbs_);
}

// --- statements -------------------------------------------------------------

int MapDb::DBQUERY(std::string_view q) {
  lastsqlq_ = std::string(q);
  dberrstr_.reset();
  char* err = nullptr;
  int rc =
      db_ != nullptr ? sqlite3_exec(db_, lastsqlq_.c_str(), nullptr, nullptr, &err) : SQLITE_MISUSE;
  record(rc);
  if (err != nullptr) {
    dberrstr_ = err;
    sqlite3_free(err);
  } else if (db_ == nullptr) {
    dberrstr_ = "no database open";
  }
  if (dberrstr_) append_log("err: " + *dberrstr_ + " query: " + lastsqlq_);
  return rc;
}

Stmt MapDb::DBPREPARE(std::string_view s) {
  lastsqlq_ = std::string(s);
  if (db_ == nullptr) {
    record(SQLITE_MISUSE);
    return {};
  }
  sqlite3_stmt* st = nullptr;
  record(
      sqlite3_prepare_v2(db_, lastsqlq_.data(), static_cast<int>(lastsqlq_.size()), &st, nullptr));
  return Stmt(st);
}

int MapDb::DBBINDSTR(sqlite3_stmt* st, int numpar, std::string_view s, bool copy) {
  // A default string_view has no data pointer, which SQLite would store as NULL.
  const char* p = s.data() != nullptr ? s.data() : "";
  return record(sqlite3_bind_text(st, numpar, p, static_cast<int>(s.size()),
                                  copy ? SQLITE_TRANSIENT : SQLITE_STATIC));
}

int MapDb::DBBINDBLOB(sqlite3_stmt* st, int numpar, std::span<const uint8_t> blob, bool copy) {
  // A null pointer would bind NULL; an empty blob stays an empty blob.
  if (blob.empty()) return record(sqlite3_bind_zeroblob(st, numpar, 0));
  return record(sqlite3_bind_blob(st, numpar, blob.data(), static_cast<int>(blob.size()),
                                  copy ? SQLITE_TRANSIENT : SQLITE_STATIC));
}

int MapDb::DBBINDINT(sqlite3_stmt* st, int numpar, int32_t l) {
  return record(sqlite3_bind_int(st, numpar, l));
}

int MapDb::DBBINDQWORD(sqlite3_stmt* st, int numpar, int64_t q) {
  return record(sqlite3_bind_int64(st, numpar, q));
}

int MapDb::DBBINDDOUBLE(sqlite3_stmt* st, int numpar, double d) {
  return record(sqlite3_bind_double(st, numpar, d));
}

int MapDb::DBSTEP(sqlite3_stmt* st) { return record(st ? sqlite3_step(st) : SQLITE_MISUSE); }
int MapDb::DBRESET(sqlite3_stmt* st) { return record(sqlite3_reset(st)); }
int MapDb::DBCLEARBINDINGS(sqlite3_stmt* st) { return record(sqlite3_clear_bindings(st)); }

int64_t MapDb::DBINSERTID() const { return db_ != nullptr ? sqlite3_last_insert_rowid(db_) : 0; }

int32_t MapDb::DBGETNUMRES(std::string_view q) {
  Stmt st = DBPREPARE(q);
  if (!st) return 0;
  if (DBSTEP(st) != SQLITE_ROW) return 0;
  return sqlite3_column_int(st, 0);
}

std::string MapDb::DBGETSTRRES(std::string_view q) {
  Stmt st = DBPREPARE(q);
  if (!st) return {};
  if (DBSTEP(st) != SQLITE_ROW) return {};
  return std::string(text::cut_at_char(column_text(st, 0), MAXSTRRES));
}

std::string MapDb::SQLIESCSTR(std::string_view s) {
  std::string out;
  out.reserve(s.size() + 8);
  for (char c : s) {
    out.push_back(c);
    if (c == '\'') out.push_back('\'');
  }
  return out;
}

// --- errors -----------------------------------------------------------------

bool MapDb::ISDBERR() const {
  return dberr_ != SQLITE_OK && dberr_ != SQLITE_ROW && dberr_ != SQLITE_DONE;
}

std::string MapDb::dberr_line(std::string_view opname) const {
  return "- Error " + std::to_string(dberr_) + ": " + errmsg() + " " + std::string(opname);
}

void MapDb::WRIDBERR(std::string_view opname) { append_log(dberr_line(opname)); }

void MapDb::IFDBERREX(std::string_view kom) {
  if (!ISDBERR()) return;
  std::string line = dberr_line(std::string(kom) + " last query: " + lastsqlq_);
  append_log(line);
  throw DbFatalError(dberr_, std::string(kom), line, syserr_);
}

// --- geometry readers ---------------------------------------------------------

void MapDb::SQLICOLGETPOINTS(int numcol, bool gethlev, LineGeometry& geom) const {
  sqlite3_stmt* st = dbs_.get();
  decode_points(column_blob(st, numcol), geom.POINTS);
  if (!gethlev) {
    geom.HLEVELS.assign(geom.POINTS.size(), 0.0);
    geom.has_hlevels = false;
    return;
  }
  geom.has_hlevels =
      interpolate_hlevels(column_blob(st, numcol + 1), geom.POINTS.size(), geom.HLEVELS);
}

void MapDb::SQLICOLGETLATLON(int numcol, int32_t& lat, int32_t& lon) {
  sqlite3_stmt* st = dbs_.get();
  lat = st ? sqlite3_column_int(st, numcol) : 0;
  lon = st ? sqlite3_column_int(st, numcol + 1) : 0;
  IFDBERREX("sqlicolgetlatlon");
}

}  // namespace orvela::map
