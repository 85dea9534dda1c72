#pragma once
// 7z archives written by the tests with libarchive: maps at the root or in
// folders, and the entries a hostile server could send (climbing names,
// absolute names, links).
#include <filesystem>
#include <string>
#include <vector>

namespace orvela::online::test {

struct ArchiveEntry {
  enum Kind { File, Folder, Symlink, Hardlink };
  std::string name;
  Kind kind = File;
  // The content of a file, or the target of a link.
  std::string data;
};

// Writes `entries` as the 7z archive `out`; throws when libarchive fails.
void write_7z(const std::filesystem::path& out, const std::vector<ArchiveEntry>& entries);

// The bytes of a file.
std::string file_bytes(const std::filesystem::path& file);

}  // namespace orvela::online::test
