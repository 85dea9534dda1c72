#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "app/atomic_file.h"
#include "support/test_env.h"

namespace orvela::app {
namespace {
namespace fs = std::filesystem;

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

size_t entries(const fs::path& dir) {
  size_t n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++n;
  return n;
}

TEST(AtomicFile, ReplacesWholeContentAndLeavesNoTemporary) {
  test::TempDir dir;
  std::ofstream(dir / "user.ini") << std::string(5000, 'o');
  ASSERT_TRUE(write_file_atomically(dir / "user.ini", "new=1\n"));
  EXPECT_EQ(slurp(dir / "user.ini"), "new=1\n");
  EXPECT_EQ(entries(dir.path()), 1u);
}

TEST(AtomicFile, FailureKeepsTheOldFileAndLeavesNothingBehind) {
  if (::geteuid() == 0) {
    // root writes into read-only folders; use a path whose folder is a file.
    test::TempDir dir;
    std::ofstream(dir / "plain") << "x";
    EXPECT_FALSE(write_file_atomically(dir / "plain" / "user.ini", "a=1\n"));
    EXPECT_EQ(entries(dir.path()), 1u);
    return;
  }
  test::TempDir dir;
  std::ofstream(dir / "user.ini") << "old=1\n";
  fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_FALSE(write_file_atomically(dir / "user.ini", "new=1\n"));
  fs::permissions(dir.path(), fs::perms::owner_all);
  EXPECT_EQ(slurp(dir / "user.ini"), "old=1\n");
  EXPECT_EQ(entries(dir.path()), 1u);
}

TEST(AtomicFile, TargetThatIsAFolderIsLeftAlone) {
  // The rename fails after the data has been written: the temporary file
  // must go away again.
  test::TempDir dir;
  fs::create_directory(dir / "user.ini");
  std::ofstream(dir / "user.ini" / "keep") << "k";
  EXPECT_FALSE(write_file_atomically(dir / "user.ini", "a=1\n"));
  EXPECT_TRUE(fs::is_directory(dir / "user.ini"));
  EXPECT_EQ(entries(dir.path()), 1u);
}

}  // namespace
}  // namespace orvela::app
