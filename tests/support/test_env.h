#pragma once
// Where a test finds the source tree, the built program and the third-party
// data, and a scratch folder that cleans up after itself.
#include <filesystem>
#include <optional>
#include <string>

namespace orvela::test {

// ORVELA_SOURCE_DIR, set by CTest.
std::filesystem::path source_dir();
// ORVELA_PROGRAM_DIR: the build folder holding the orvela binary and its assets.
std::filesystem::path program_dir();
// ../shared/data, or nothing when it is absent (tests then GTEST_SKIP()).
std::optional<std::filesystem::path> shared_data_dir();

// A fresh empty folder under the system's temp folder, removed on destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

}  // namespace orvela::test
