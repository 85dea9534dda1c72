#include <gtest/gtest.h>

#include "support/console_runner.h"
#include "support/test_env.h"

namespace orvela::test {
namespace {

TEST(Close, NoKeepsTheProgramRunningYesEndsIt) {
  TempDir home;
  ConsoleResult r = run_console(home.path(), ":quit\nn\n,\nIDM_CLOSE\nno\n:quit\ny\nIDM_SAYILEV\n");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  // The command after the final yes is never run.
  EXPECT_EQ(r.out,
            "ASK Really quit program?\n"
            "SAY One square 10 metres.\n"
            "ASK Really quit program?\n"
            "ASK Really quit program?\n");
}

TEST(Close, WithoutConfirmationQuitEndsAtOnce) {
  TempDir home;
  ConsoleResult r =
      run_console(home.path(), "IDM_SAVESETTINGSREMIND\nIDM_CONFIRMEXIT\nIDM_CLOSE\n,\n");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "");
}

}  // namespace
}  // namespace orvela::test
