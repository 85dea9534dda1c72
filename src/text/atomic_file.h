#pragma once
// Writing a file the user cares about (settings, bookmarks, maps) without
// ever leaving half of it behind: the new content goes to a temporary file in
// the same folder, which is renamed over the old one only when it is
// complete. Every temporary file is named ".<target name>.tmp-<6 characters>",
// hidden and without the target's extension, so that a file left by a crash
// is never taken for a map or a bookmark file.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orvela::text {

// How a write ended: the system's error number, 0 when it succeeded.
struct WriteResult {
  int error = 0;
  explicit operator bool() const { return error == 0; }
  // The system's words for the failure, e.g. "No space left on device".
  std::string reason() const;
};

// Writes all of `content` to the open file `fd`, again after interruptions;
// false with errno set when not all of it went in (ENOSPC for a write that
// took nothing without saying why).
bool write_all(int fd, std::string_view content);

// Writes `content` to a fresh temporary file beside `target`, flushes it to
// disk and renames it over `target`. On any failure the temporary file is
// removed, `target` keeps its old content and the result says why.
WriteResult write_file_atomically(const std::filesystem::path& target, std::string_view content);

// Puts the finished temporary file `temp` in the place of `target`: flushed
// to disk first, so that the rename never makes a file whose data is still
// only in memory. On failure `target` is untouched.
WriteResult replace_with_temp(const std::filesystem::path& temp,
                              const std::filesystem::path& target);

// A temporary name beside `target`, not yet taken by any file.
std::filesystem::path temp_path_beside(const std::filesystem::path& target);

// Creates a new empty file under a temporary name beside `target` (named as
// temp_path_beside names it, so a start after a crash clears it away); empty
// when it cannot be made.
std::filesystem::path create_temp_beside(const std::filesystem::path& target);

// Appends `line` and a line end to `file` as a whole or not at all: a full
// disk leaves no half line. For logs, whose failures have nowhere to go.
bool append_line(const std::filesystem::path& file, std::string_view line);

// True for a name that temp_path_beside() or write_file_atomically() makes,
// and for SQLite's journal files of such a name.
bool is_temp_name(const std::filesystem::path& p);

// Removes the files it holds when it goes out of scope, unless keep() was
// called first: a temporary file never outlives a failed, cancelled or
// interrupted write, whichever way the writer leaves.
class RemoveOnFailure {
 public:
  explicit RemoveOnFailure(std::vector<std::filesystem::path> files) : files_(std::move(files)) {}
  ~RemoveOnFailure();
  RemoveOnFailure(const RemoveOnFailure&) = delete;
  RemoveOnFailure& operator=(const RemoveOnFailure&) = delete;

  // The write succeeded (the files were renamed into place or are wanted).
  void keep() { kept_ = true; }

 private:
  std::vector<std::filesystem::path> files_;
  bool kept_ = false;
};

}  // namespace orvela::text
