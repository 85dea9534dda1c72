#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <map>
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
  for (const fs::path& f : {p.maps_dir(), p.program_ini(), p.user_ini(), p.alsoft_ini(),
                            p.start_pos_file(), p.update_dat(), p.errdb_log(), p.temp_dir()}) {
    SCOPED_TRACE(f);
    EXPECT_TRUE(under(f, home.path()));
  }
  EXPECT_EQ(p.program_dir(), Paths::running_program_dir());
  EXPECT_EQ(p.help_file("pl").filename(), "help.pl.html");
}

TEST(Paths, ReadOnlyProgramFolderUsesTheXdgFolders) {
  struct Case {
    std::map<std::string, std::string> env;
    const char *config, *data, *temp;
  };
  const Case cases[] = {
      {{{"HOME", "/home/ann"}},
       "/home/ann/.config/orvela",
       "/home/ann/.local/share/orvela",
       "/home/ann/.cache/orvela/tmp"},
      {{{"HOME", "/home/ann"},
        {"XDG_CONFIG_HOME", "/cfg"},
        {"XDG_DATA_HOME", "/data"},
        {"XDG_CACHE_HOME", "/c"}},
       "/cfg/orvela",
       "/data/orvela",
       "/c/orvela/tmp"},
      // Relative XDG folders are not to be used.
      {{{"HOME", "/home/ann"}, {"XDG_DATA_HOME", "rel/data"}},
       "/home/ann/.config/orvela",
       "/home/ann/.local/share/orvela",
       "/home/ann/.cache/orvela/tmp"},
  };
  const fs::path prog = "/nonexistent/orvela-program";  // cannot be written to
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config);
    auto env = [&](const char* name) -> const char* {
      auto it = c.env.find(name);
      return it == c.env.end() ? nullptr : it->second.c_str();
    };
    Paths p = Paths::detect(prog, std::nullopt, env);
    EXPECT_EQ(p.user_ini(), fs::path(c.config) / "user.ini");
    EXPECT_EQ(p.maps_dir(), fs::path(c.data) / "maps");
    EXPECT_EQ(p.temp_dir(), fs::path(c.temp));
    EXPECT_EQ(p.sounds_ini(), prog / "sounds.ini");
    // --home wins over everything.
    EXPECT_EQ(Paths::detect(prog, fs::path("/h"), env).user_ini(), fs::path("/h/user.ini"));
  }
  test::TempDir writable;
  EXPECT_EQ(
      Paths::detect(writable.path(), std::nullopt, [](const char*) { return nullptr; }).maps_dir(),
      writable / "maps");
}

// The build tree and a portable copy carry their assets beside the program;
// an installation keeps them in <prefix>/share/orvela and its writable state
// in the XDG folders even when the prefix is the user's own, writable one.
TEST(Paths, InstalledProgramFindsItsAssetsUnderThePrefixAndKeepsStateInXdg) {
  test::TempDir root;
  auto touch = [](const fs::path& f) {
    fs::create_directories(f.parent_path());
    std::ofstream(f) << "x";
  };
  touch(root / "prefix/bin/orvela");
  touch(root / "prefix/share/orvela/osm.rules");
  touch(root / "portable/orvela");
  touch(root / "portable/osm.rules");
  const std::string home = (root / "home").string();
  auto env = [&](const char* name) -> const char* {
    return std::string(name) == "HOME" ? home.c_str() : nullptr;
  };
  struct Case {
    const char* program;
    const char* assets;
    const char* config;  // relative to root
  };
  const Case cases[] = {
      {"prefix/bin", "prefix/share/orvela", "home/.config/orvela"},
      {"portable", "portable", "portable"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program);
    Paths p = Paths::detect(root / c.program, std::nullopt, env);
    EXPECT_EQ(p.assets_dir(), root / c.assets);
    EXPECT_EQ(p.osm_rules(), root / c.assets / "osm.rules");
    EXPECT_EQ(p.help_file("pl"), root / c.assets / "help.pl.html");
    EXPECT_EQ(p.lang_dir(), root / c.assets / "lang");
    EXPECT_EQ(p.demo_maps_dir(), root / c.assets / "maps");
    EXPECT_EQ(p.user_ini().parent_path(), root / c.config);
    // --home moves the state, never the assets.
    Paths h = Paths::detect(root / c.program, root / "elsewhere", env);
    EXPECT_EQ(h.assets_dir(), root / c.assets);
    EXPECT_EQ(h.maps_dir(), root / "elsewhere/maps");
  }
  EXPECT_EQ(Paths::detect(root / "prefix/bin", std::nullopt, env).maps_dir(),
            root / "home/.local/share/orvela/maps");
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
