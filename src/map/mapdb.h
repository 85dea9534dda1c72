#pragma once
// The thin access layer through which everything talks to a map file: one
// open connection at a time, the last result code, the shared current
// statement that row readers step, the error log, and the geometry readers.
//
// Checked errors (IFDBERREX) are written to the log and then thrown as
// DbFatalError; the connection stays as it was so the catcher can close it.
#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "map/db_error.h"
#include "map/point.h"
#include "map/stmt.h"

namespace orvela::map {

// Name of the error log; the owner decides its folder (the home folder).
inline constexpr const char* DBERRFN = "errdb.log";

// The geometry of one line or polygon row as the geometry reader decodes it.
// The caller owns it, so a loop over many rows reuses its buffers.
struct LineGeometry {
  std::vector<POINT> POINTS;    // X = longitude, Y = latitude, micro-degrees
  std::vector<double> HLEVELS;  // one height level per vertex, 0 where none is known
  bool has_hlevels = false;     // a usable hlevels blob was decoded (the loader counts those)
};

class MapDb {
 public:
  // `errlog` is the full path of the error log file.
  explicit MapDb(std::filesystem::path errlog);
  ~MapDb();
  MapDb(const MapDb&) = delete;
  MapDb& operator=(const MapDb&) = delete;

  // --- connection ---------------------------------------------------------
  // Opens `fn` (UTF-8) with sqlite3_open_v2 flags; closes the current
  // database first. Returns the result code (also in DBERR); on failure DB is none.
  int DBCONNECT(const std::string& fn, int flags);
  int DBCONNECTRO(const std::string& fn) { return DBCONNECT(fn, SQLITE_OPEN_READONLY); }
  int DBCONNECTRW(const std::string& fn) {
    return DBCONNECT(fn, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  }
  // Closes the open database (a checked step: "error closing map"); does
  // nothing when none is open. Returns the close code.
  int DBCLOSE();

  // A connection put aside so another map file can be peeked at.
  class SavedConnection {
   public:
    SavedConnection() = default;
    SavedConnection(SavedConnection&& o) noexcept;
    SavedConnection& operator=(SavedConnection&& o) noexcept;
    ~SavedConnection();  // closes it when never restored

   private:
    friend class MapDb;
    sqlite3* db_ = nullptr;
    Stmt dbs_;
  };
  // Takes the open connection (and DBS) away; DB becomes none.
  SavedConnection put_aside();
  // Closes whatever is open now and brings the saved connection back.
  void restore(SavedConnection&& saved);

  // --- statements ---------------------------------------------------------
  // Runs `q` without rows. Logs "err: <text> query: <q>" on error and goes on.
  int DBQUERY(std::string_view q);
  // Prepares `s`; an empty Stmt on error.
  Stmt DBPREPARE(std::string_view s);
  // Texts and blobs are copied unless `copy` is false: then they must stay
  // as they are until the statement has been stepped and reset.
  int DBBINDSTR(sqlite3_stmt* st, int numpar, std::string_view s, bool copy = true);
  int DBBINDBLOB(sqlite3_stmt* st, int numpar, std::span<const uint8_t> blob, bool copy = true);
  int DBBINDINT(sqlite3_stmt* st, int numpar, int32_t l);
  int DBBINDQWORD(sqlite3_stmt* st, int numpar, int64_t q);
  int DBBINDDOUBLE(sqlite3_stmt* st, int numpar, double d);
  // Step, reset and clear bindings, recording the result code in DBERR.
  int DBSTEP(sqlite3_stmt* st);
  int DBRESET(sqlite3_stmt* st);
  int DBCLEARBINDINGS(sqlite3_stmt* st);
  // Last inserted row id (64-bit, like every SQLite integer key).
  int64_t DBINSERTID() const;
  // Column 0 of the first row of `q`; 0 when no row or no statement.
  int32_t DBGETNUMRES(std::string_view q);
  // The same as text, at most 255 bytes (cut at a character boundary); empty when no row.
  std::string DBGETSTRRES(std::string_view q);
  // `s` with every apostrophe doubled, for SQL string literals.
  static std::string SQLIESCSTR(std::string_view s);

  // --- errors -------------------------------------------------------------
  // DBERR is neither OK, ROW nor DONE.
  bool ISDBERR() const;
  // Appends "- Error <code>: <sqlite message> <opname>" to the log.
  void WRIDBERR(std::string_view opname);
  // On an error: logs it with " last query: " and the last SQL, then throws DbFatalError.
  void IFDBERREX(std::string_view kom);

  // --- geometry readers (columns of the current row of DBS) ---------------
  // Decodes the points blob of column `numcol` into `geom` with all levels 0;
  // with `gethlev` also the hlevels blob of column numcol+1.
  void SQLICOLGETPOINTS(int numcol, bool gethlev, LineGeometry& geom) const;
  // Integer columns numcol and numcol+1; a checked step ("sqlicolgetlatlon").
  void SQLICOLGETLATLON(int numcol, int32_t& lat, int32_t& lon);

  // --- state --------------------------------------------------------------
  sqlite3* DB() const { return db_; }
  int16_t DBERR() const { return dberr_; }
  const std::optional<std::string>& DBERRSTR() const { return dberrstr_; }
  // The shared current statement: assign a prepared statement, step it with
  // the row readers, reset() it when done.
  Stmt& DBS() { return dbs_; }
  const std::string& LASTSQLQ() const { return lastsqlq_; }
  const std::filesystem::path& errlog_path() const { return errlog_; }

 private:
  int record(int rc);
  void append_log(const std::string& line) const;
  std::string errmsg() const;
  std::string dberr_line(std::string_view opname) const;

  std::filesystem::path errlog_;
  sqlite3* db_ = nullptr;
  int16_t dberr_ = SQLITE_OK;
  // The system's error number behind a failed read or write (a full disk).
  int syserr_ = 0;
  std::optional<std::string> dberrstr_;
  Stmt dbs_;
  std::string lastsqlq_;
};

}  // namespace orvela::map
