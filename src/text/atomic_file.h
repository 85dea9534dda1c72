#pragma once
// Writing a file the user cares about (settings, bookmarks, maps) without
// ever leaving half of it behind: the new content goes to a temporary file in
// the same folder, which is renamed over the old one only when it is
// complete. Every temporary file is named ".<target name>.tmp-<6 characters>",
// hidden and without the target's extension, so that a file left by a crash
// is never taken for a map or a bookmark file.
#include <filesystem>
#include <string_view>
#include <vector>

namespace orvela::text {

// Writes `content` to a fresh temporary file beside `target`, flushes it to
// disk and renames it over `target`. On any failure the temporary file is
// removed, `target` keeps its old content and the result is false.
bool write_file_atomically(const std::filesystem::path& target, std::string_view content);

// A temporary name beside `target`, not yet taken by any file.
std::filesystem::path temp_path_beside(const std::filesystem::path& target);

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
