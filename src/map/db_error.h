#pragma once
// The one exception that crosses module boundaries: a database error on a
// checked step. It is thrown only after the error line is in "errdb.log";
// the command dispatcher and the background-task runner catch it, report
// "Database error", close the map and carry on (command-line modes exit
// non-zero). Ending the process here would lose the user's unsaved bookmarks.
#include <stdexcept>
#include <string>
#include <utility>

namespace orvela::map {

class DbFatalError : public std::runtime_error {
 public:
  DbFatalError(int code, std::string operation, const std::string& logline, int system_errno = 0)
      : std::runtime_error(logline),
        code_(code),
        system_errno_(system_errno),
        operation_(std::move(operation)) {}
  // SQLite result code that caused it.
  int code() const { return code_; }
  // The system's error number behind it (ENOSPC for a full disk), 0 when none.
  int system_errno() const { return system_errno_; }
  // The operation word given to the check (e.g. "Adding tag").
  const std::string& operation() const { return operation_; }

 private:
  int code_;
  int system_errno_;
  std::string operation_;
};

}  // namespace orvela::map
