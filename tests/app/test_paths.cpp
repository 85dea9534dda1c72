#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "app/paths.h"
#include "app/startup.h"
#include "support/test_env.h"
#include "ui/console_ui.h"

namespace orvela::app {
namespace {
namespace fs = std::filesystem;

bool under(const fs::path& p, const fs::path& dir) {
  auto rel = p.lexically_relative(dir);
  return !rel.empty() && *rel.begin() != "..";
}

TEST(Paths, HomeHoldsEveryWritableFile) {
  test::TempDir home;
  Paths p = Paths::detect(home.path());
  for (const fs::path& f : {p.maps_dir(), p.program_ini(), p.user_ini(), p.alsoft_ini(), p.start_pos_file(),
                            p.update_dat(), p.errdb_log(), p.temp_dir()}) {
    SCOPED_TRACE(f);
    EXPECT_TRUE(under(f, home.path()));
  }
  EXPECT_EQ(p.program_dir(), Paths::running_program_dir());
  EXPECT_EQ(p.help_file("pl").filename(), "help.pl.html");
}

TEST(TempFile, UniquePrivateAndRemovedAfterUse) {
  test::TempDir dir;
  fs::path first;
  {
    TempFile a(dir.path());
    TempFile b(dir.path());
    ASSERT_FALSE(a.path().empty());
    ASSERT_FALSE(b.path().empty());
    EXPECT_NE(a.path(), b.path());
    EXPECT_EQ(a.path().parent_path(), dir.path());
    struct stat st {};
    ASSERT_EQ(::stat(a.path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 077, 0u);  // nobody else can read or swap it
    first = a.path();
  }
  EXPECT_FALSE(fs::exists(first));
  TempFile none(dir / "missing");
  EXPECT_TRUE(none.path().empty());
}

TEST(Init, CreatesTheFoldersOfAnEmptyHome) {
  test::TempDir home;
  Paths p(Paths::running_program_dir(), home / "deep" / "home");
  std::istringstream in;
  std::ostringstream out, err;
  ui::ConsoleUi ui(in, out, err);
  INIT(p, ui);
  EXPECT_TRUE(fs::is_directory(p.maps_dir()));
  EXPECT_TRUE(fs::is_directory(p.temp_dir()));
  EXPECT_TRUE(fs::is_regular_file(p.program_ini()));
  EXPECT_EQ(out.str(), "");
}

TEST(Init, MapFolderThatCannotBeCreatedIsReportedAndStartGoesOn) {
  test::TempDir home;
  std::ofstream(home / "maps") << "a file where the folder should be";
  Paths p(Paths::running_program_dir(), home.path());
  std::istringstream in;
  std::ostringstream out, err;
  ui::ConsoleUi ui(in, out, err);
  INIT(p, ui);
  EXPECT_EQ(out.str(), "INFO Can not create " + p.maps_dir().string() + " directory.\n");
  EXPECT_TRUE(fs::is_directory(p.temp_dir()));
}

}  // namespace
}  // namespace orvela::app
