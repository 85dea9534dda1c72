#include <gtest/gtest.h>

#include <fstream>

#include "support/console_runner.h"
#include "support/test_env.h"

namespace orvela::test {
namespace {
namespace fs = std::filesystem;

TEST(Startup, EmptyHomeStartsQuietlyAndQuitsAtEndOfInput) {
  TempDir home;
  ConsoleResult r = run_console(home.path(), "");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  // End of input closes the window; the exit question takes its default (yes).
  EXPECT_EQ(r.out, "ASK Really quit program?\n");
  EXPECT_TRUE(fs::is_directory(home / "maps"));
  EXPECT_TRUE(fs::is_regular_file(home / "orvela.ini"));
  EXPECT_FALSE(fs::exists(home / "user.ini"));  // only written on request
  EXPECT_TRUE(fs::is_empty(home / "tmp"));      // the temporary file is gone again
}

// A program killed while writing leaves its temporary files (and the folder
// a map installation unpacks into, and a download in the temp folder); the
// next start removes them, and only them.
TEST(Startup, TemporaryFilesOfAKilledProgramAreRemoved) {
  TempDir home;
  fs::create_directories(home / "maps" / ".vaduz.orvel.tmp-d4e5f6" / "sub");
  std::ofstream(home / "maps" / ".vaduz.orvel.tmp-d4e5f6" / "sub" / "vaduz.orvel") << "half";
  fs::create_directories(home / "tmp");
  const char* const stale[] = {
      "maps/.vaduz.orvel.tmp-a1b2c3", "maps/.vaduz.orvel.tmp-a1b2c3-journal",
      ".user.ini.tmp-zz9Z0x",         ".orvela.start.tmp-000000",
      "tmp/.download.dat.tmp-Q1w2E3", "tmp/.orvela.dat.tmp-r4T5y6"};
  const char* const kept[] = {"maps/vaduz.orvel", "maps/.notes", "maps/x.tmp-a1b2c3",
                              "maps/.vaduz.orvel.tmp-toolong7", "tmp/notes.dat"};
  for (const char* name : stale) std::ofstream(home / name) << "half";
  for (const char* name : kept) std::ofstream(home / name) << "whole";
  ConsoleResult r = run_console(home.path(), "");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  for (const char* name : stale) EXPECT_FALSE(fs::exists(home / name)) << name;
  for (const char* name : kept) EXPECT_TRUE(fs::exists(home / name)) << name;
  EXPECT_FALSE(fs::exists(home / "maps" / ".vaduz.orvel.tmp-d4e5f6"));
}

TEST(Startup, MapFolderInTheWayIsReportedAndTheProgramRuns) {
  TempDir home;
  std::ofstream(home / "maps") << "not a folder";
  ConsoleResult r = run_console(home.path(), "IDM_SAYILEV\n");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "INFO Can not create " + (home / "maps").string() +
                       " directory.\nSAY One square 10 metres.\nASK Really quit program?\n");
}

TEST(Startup, UnknownCommandIsReportedOnStderrAndIgnored) {
  TempDir home;
  ConsoleResult r = run_console(home.path(), "# a comment\n\nNO_SUCH_COMMAND\n,\n");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_NE(r.err.find("NO_SUCH_COMMAND"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "SAY One square 10 metres.\nASK Really quit program?\n");
}

TEST(Startup, CommandLineWithoutWindow) {
  TempDir home;
  struct Case {
    std::vector<std::string> args;
    int exit_code;
    const char* out_starts;
  };
  const Case cases[] = {
      {{"--version"}, 0, "Orvela 1.01\n"},
      {{"--help"}, 0, "Orvela 1.01\nUsage:"},
      {{"--bogus"}, 2, ""},
      {{"--console", "--home"}, 2, ""},
      {{"--console", "--lang"}, 2, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.front());
    ConsoleRun run;
    run.args = c.args;
    ConsoleResult r = run_console(home.path(), run);
    EXPECT_EQ(r.exit_code, c.exit_code);
    EXPECT_EQ(r.out.rfind(c.out_starts, 0), 0u) << r.out;
    if (c.exit_code != 0) {
      EXPECT_FALSE(r.err.empty());
    }
  }
}

TEST(Startup, ManualInTheUsersLanguageOrEnglish) {
  const fs::path english = orvela_binary().parent_path() / "help.en.html";
  if (!fs::exists(english)) GTEST_SKIP() << "no manual built at " << english;
  TempDir home;
  EXPECT_EQ(run_console(home.path(), "F1\n").out,
            "OPEN " + english.string() + "\nASK Really quit program?\n");
  ConsoleRun run;
  run.args = {"--console", "--home", home.path().string(), "--lang", "xx"};
  run.script = "F1\n";
  EXPECT_EQ(run_console(home.path(), run).out,
            "OPEN " + english.string() + "\nASK Really quit program?\n");
  // Polish has a manual of its own.
  const fs::path polish = english.parent_path() / "help.pl.html";
  ASSERT_TRUE(fs::exists(polish));
  run.args = {"--console", "--home", home.path().string(), "--lang", "pl"};
  const std::string out = run_console(home.path(), run).out;
  EXPECT_EQ(out.rfind("OPEN " + polish.string() + "\n", 0), 0u) << out;
}

TEST(Language, PolishTextsAndMapServerItems) {
  if (!fs::exists(orvela_binary().parent_path() / "lang" / "pl.orvela.mo"))
    GTEST_SKIP() << "no Polish catalogue built at "
                 << (orvela_binary().parent_path() / "lang" / "pl.orvela.mo");
  TempDir home;
  ConsoleRun run;
  run.args = {"--console", "--home", home.path().string(), "--lang", "pl"};
  // Ctrl+Enter says there is no map; the map update question is declined.
  run.script = "Ctrl+Enter\nIDM_UPDALLMAPS\nn\nIDM_CONFIRMEXIT\n";
  ConsoleResult r = run_console(home.path(), run);
  EXPECT_EQ(r.exit_code, 0);
  // The Polish-only items exist: no complaint about unknown commands.
  EXPECT_EQ(r.err.find("Ctrl+Enter"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("IDM_UPDALLMAPS"), std::string::npos) << r.err;
  // The reminder comes in Polish.
  std::vector<std::string> lines = r.lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back().rfind("INFO ", 0), 0u) << r.out;
  EXPECT_NE(lines.back(), "INFO Remember to save settings, to make this change permanent.");

  ConsoleResult en = run_console(home.path(), "Ctrl+Enter\nIDM_UPDALLMAPS\n");
  EXPECT_NE(en.err.find("Ctrl+Enter"), std::string::npos) << en.err;
  EXPECT_NE(en.err.find("IDM_UPDALLMAPS"), std::string::npos) << en.err;
}

}  // namespace
}  // namespace orvela::test
