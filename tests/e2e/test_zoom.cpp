#include <gtest/gtest.h>

#include <fstream>

#include "support/console_runner.h"
#include "support/test_env.h"

namespace orvela::test {
namespace {

TEST(Zoom, TheConsoleContractExample) {
  TempDir home;
  // Without the exit question the output is exactly the documented one.
  std::ofstream(home / "user.ini") << "confirmexit=0\n";
  ConsoleResult r = run_console(home.path(), "IDM_SAYILEV\nCtrl+Page Up\n");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "SAY One square 10 metres.\nSAY One square 20 metres.\nSAY No map selected.\n");
}

TEST(Zoom, KeysToTheEndsAndBeyond) {
  TempDir home;
  std::ofstream(home / "user.ini") << "confirmexit=0\n";
  ConsoleResult r = run_console(home.path(),
                                "Ctrl+Shift+Page Up\n"  // largest
                                "Ctrl+Page Up\n"        // already largest: spoken, no reload
                                "IDM_DECSQMETERS\n"
                                "Ctrl+Shift+Page Down\n"  // smallest
                                "Ctrl+Page Down\n"        // already smallest
                                ",\n");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out,
            "SAY One square 10 kilometres.\nSAY No map selected.\n"
            "SAY One square 10 kilometres.\n"
            "SAY One square 4 kilometres.\nSAY No map selected.\n"
            "SAY One square 2 metres.\nSAY No map selected.\n"
            "SAY One square 2 metres.\n"
            "SAY One square 2 metres.\n");
}

TEST(Zoom, LevelIsNotKeptBetweenRuns) {
  TempDir home;
  std::ofstream(home / "user.ini") << "confirmexit=0\n";
  run_console(home.path(), "Ctrl+Page Up\nIDM_SAVEUSERINI\n");
  ConsoleResult r = run_console(home.path(), ",\n");
  EXPECT_EQ(r.out, "SAY One square 10 metres.\n");
}

}  // namespace
}  // namespace orvela::test
