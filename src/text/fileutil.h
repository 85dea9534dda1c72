#pragma once
// File-name helpers. "/" separates folders; ":" and "\" are treated as
// separators too, because bookmark files and settings written on Windows
// carry such paths.
#include <string>
#include <string_view>

namespace orvela::text {

// `f` without its extension ("maps/a.orvel" -> "maps/a"); unchanged when its
// last ".", "/", ":" or "\" is not a dot, or when it has at most 2 bytes.
std::string REMEXT(std::string_view f);
// The name after the last separator, in lower case (LOWCASESTR).
std::string GETFNAME(std::string_view f);
// Everything up to and including the last separator; empty when none.
std::string REMFNAME(std::string_view f);
// True if a file or folder of that name exists.
bool FEXIST(std::string_view f);

// The full path of the running program file, filled once at start-up and
// passed to whoever needs files beside the program.
class ProgramFile {
 public:
  explicit ProgramFile(std::string path) : path_(std::move(path)) {}
  // The running executable, from /proc/self/exe; `fallback` (argv[0]) if
  // that cannot be read.
  static ProgramFile current(std::string_view fallback);

  const std::string& path() const { return path_; }
  // The program's folder with its trailing separator.
  std::string PROGPATH() const;
  // The program file's path without extension, followed by `ext`.
  std::string PROGFILE(std::string_view ext) const;

 private:
  std::string path_;
};

}  // namespace orvela::text
