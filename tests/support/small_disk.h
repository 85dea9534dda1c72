#pragma once
// A folder on a file system of its own, a few pages large, for what a full
// disk does to a writer: a tmpfs mounted over a scratch folder (the tests
// run as root) and unmounted again when the test ends.
#include <cstddef>
#include <filesystem>
#include <string>

#include "support/test_env.h"

namespace orvela::test {

class SmallDisk {
 public:
  explicit SmallDisk(std::size_t bytes = 256 * 1024);
  ~SmallDisk();
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  // Empty when the file system is there; otherwise why it could not be made
  // (a test then fails: it cannot show anything without it).
  const std::string& error() const { return error_; }
  const std::filesystem::path& path() const { return dir_.path(); }
  std::filesystem::path operator/(const std::string& name) const { return dir_ / name; }

  // Takes the free room down to `leave` bytes (nothing by default) with a
  // filler file, named "filler" in the folder.
  void fill(std::size_t leave = 0);

 private:
  TempDir dir_;
  std::string error_;
  bool mounted_ = false;
};

}  // namespace orvela::test
