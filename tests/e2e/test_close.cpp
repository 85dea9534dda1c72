#include <gtest/gtest.h>

#include <algorithm>

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

// A script may stop in the middle of any dialog. The dialog is then
// cancelled (a question takes its default), the program closes as at the end
// of any script, and no dialog is shown twice: the sound presentation once
// showed its list again for ever, confirming the preselected sound each time.
TEST(Close, InputEndingInsideADialogEndsTheProgram) {
  struct Case {
    const char* script;
    const char* dialog;  // the dialog's first line, shown exactly once
  };
  const Case cases[] = {
      {"IDM_SOUNDPRESENTATION\n", "LIST All sounds presentation: Select sound"},
      {"IDM_SELECTUDIRMODE\n",
       "LIST Direction announcement mode: Select direction announcement mode"},
      {"IDM_FILEOPEN\n", "LIST Open map: Select map"},
      {"IDM_GOTOCORDS\n",
       "INPUT Go to coordinates: Enter decimal latitude and longitude separated by space []"},
      {"IDM_OSMIMPORTFILE\n",
       "FILE OpenStreetMap import [OSM XML file *.xml, *.osm|*.osm;*.xml|OpenStreetMap data *.osm, "
       "*.xml, *.bz2, *.gz, *.pbf|*.osm;*.xml;*.bz2;*.gz;*.pbf]"},
      {"IDM_CHANGESPEAKERS\n", "ASK Exchange sound channels?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    TempDir home;
    ConsoleRun run;
    run.script = c.script;
    run.timeout = std::chrono::seconds(30);
    ConsoleResult r = run_console(home.path(), run);
    ASSERT_EQ(r.exit_code, 0) << r.err;
    const std::vector<std::string> lines = r.lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), c.dialog), 1) << r.out;
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "ASK Really quit program?");
  }
}

}  // namespace
}  // namespace orvela::test
