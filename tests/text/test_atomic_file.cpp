#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "support/file_bytes.h"
#include "support/small_disk.h"
#include "support/test_env.h"
#include "text/atomic_file.h"

namespace orvela::text {
namespace {

using orvela::test::file_bytes;
namespace fs = std::filesystem;

size_t entries(const fs::path& dir) {
  size_t n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++n;
  return n;
}

TEST(AtomicFile, ReplacesWholeContentAndLeavesNoTemporary) {
  test::TempDir dir;
  std::ofstream(dir / "user.ini") << std::string(5000, 'o');
  ASSERT_TRUE(write_file_atomically(dir / "user.ini", "new=1\n"));
  EXPECT_EQ(file_bytes(dir / "user.ini"), "new=1\n");
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
  EXPECT_EQ(file_bytes(dir / "user.ini"), "old=1\n");
  EXPECT_EQ(entries(dir.path()), 1u);
}

std::vector<std::string> names(const fs::path& dir) {
  std::vector<std::string> v;
  for (const auto& e : fs::directory_iterator(dir)) v.push_back(e.path().filename().string());
  std::sort(v.begin(), v.end());
  return v;
}

TEST(AtomicFile, FullDiskKeepsTheOldFileLeavesNoHalfFileAndSaysWhy) {
  test::SmallDisk disk;
  ASSERT_EQ(disk.error(), "");
  std::ofstream(disk / "user.ini") << "old=1\n";
  disk.fill();
  // Larger than anything the last partial page could still take.
  const WriteResult w = write_file_atomically(disk / "user.ini", std::string(64 * 1024, 'n'));
  EXPECT_FALSE(w);
  EXPECT_EQ(w.reason(), "No space left on device");
  EXPECT_EQ(file_bytes(disk / "user.ini"), "old=1\n");
  EXPECT_EQ(names(disk.path()), (std::vector<std::string>{"filler", "user.ini"}));
}

TEST(AtomicFile, AppendedLineGoesInWholeOrNotAtAll) {
  test::SmallDisk disk;
  ASSERT_EQ(disk.error(), "");
  ASSERT_TRUE(append_line(disk / "error.log", "first"));
  ASSERT_TRUE(append_line(disk / "error.log", "second"));
  EXPECT_EQ(file_bytes(disk / "error.log"), "first\nsecond\n");
  disk.fill();
  EXPECT_FALSE(append_line(disk / "error.log", std::string(64 * 1024, 'x')));
  EXPECT_EQ(file_bytes(disk / "error.log"), "first\nsecond\n");
}

TEST(AtomicFile, TemporaryFileIsCreatedUnderATemporaryName) {
  test::TempDir dir;
  const fs::path a = create_temp_beside(dir / "download.dat");
  const fs::path b = create_temp_beside(dir / "download.dat");
  ASSERT_FALSE(a.empty());
  EXPECT_NE(a, b);
  EXPECT_TRUE(fs::is_regular_file(a));
  EXPECT_TRUE(is_temp_name(a)) << a;
  EXPECT_TRUE(create_temp_beside(dir / "absent" / "download.dat").empty());
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

TEST(AtomicFile, TemporaryNamesAreHiddenAndRecognised) {
  test::TempDir dir;
  const fs::path a = temp_path_beside(dir / "home.orvel");
  const fs::path b = temp_path_beside(dir / "home.orvel");
  EXPECT_EQ(a.parent_path(), dir.path());
  EXPECT_NE(a, b);
  EXPECT_TRUE(a.filename().string().starts_with(".home.orvel.tmp-")) << a;
  EXPECT_NE(a.extension(), ".orvel");
  struct Case {
    const char* name;
    bool temp;
  };
  const Case cases[] = {
      {".home.orvel.tmp-ab12cd", true},
      {".user.ini.tmp-XXXXXX", true},
      {"home.orvel", false},
      {".home.orvel.tmp-ab12", false},
      {"home.orvel.tmp-ab12cd", false},
      {".tmp-ab12cd", false},
      {".home.orvel.tmp-ab12cd-journal", true},
      {".home.orvel.tmp-ab12cd-wal", true},
      {".home.orvel.tmp-ab12cd-other", false},
  };
  for (const Case& c : cases) EXPECT_EQ(is_temp_name(dir / c.name), c.temp) << c.name;
  EXPECT_TRUE(is_temp_name(a));
}

TEST(AtomicFile, RemoveOnFailureRemovesUnlessKept) {
  test::TempDir dir;
  std::ofstream(dir / "a") << "a";
  std::ofstream(dir / "a-journal") << "j";
  std::ofstream(dir / "b") << "b";
  { RemoveOnFailure failed({dir / "a", dir / "a-journal", dir / "never-made"}); }
  {
    RemoveOnFailure done({dir / "b"});
    done.keep();
  }
  EXPECT_FALSE(fs::exists(dir / "a"));
  EXPECT_FALSE(fs::exists(dir / "a-journal"));
  EXPECT_TRUE(fs::exists(dir / "b"));
}

}  // namespace
}  // namespace orvela::text
