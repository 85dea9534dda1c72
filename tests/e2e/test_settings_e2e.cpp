#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/console_runner.h"
#include "support/test_env.h"

namespace orvela::test {
namespace {
namespace fs = std::filesystem;

const std::string kReminder = "INFO Remember to save settings, to make this change permanent.\n";

std::string slurp(const fs::path& p) {
  std::ifstream in(p);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

TEST(SettingsMenu, EverySwitchReminds) {
  for (const char* cmd :
       {"IDM_AUTOUPDATECHECK", "IDM_NMEALOG_OMITSTOPS", "IDM_GPS_AUTOUDIRCHANGE"}) {
    SCOPED_TRACE(cmd);
    TempDir home;
    ConsoleResult r = run_console(home.path(), std::string(cmd) + "\n" + cmd + "\n");
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(r.out, kReminder + kReminder + "ASK Really quit program?\n");
  }
  TempDir home;
  // Switching exit confirmation off also drops the question at the end.
  EXPECT_EQ(run_console(home.path(), "IDM_CONFIRMEXIT\n").out, kReminder);
  // The reminder switch reminds only when it is switched back on.
  EXPECT_EQ(
      run_console(home.path(), "IDM_SAVESETTINGSREMIND\nIDM_CONFIRMEXIT\nIDM_SAVESETTINGSREMIND\n")
          .out,
      kReminder);
}

TEST(SettingsMenu, ListChoicesRemindOnlyOnChange) {
  TempDir home;
  ConsoleResult r = run_console(home.path(),
                                "IDM_SELECTBOOKMARKSAVEFORMAT\n2\n"
                                "IDM_SELECTBOOKMARKSAVEFORMAT\n\n"
                                "Ctrl+.\n:cancel\n"
                                "Ctrl+.\n6\n");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out,
            "LIST Bookmarks save format: Select bookmarks file save format \n"
            "* 1. Loadstone-GPS checkpoints file\n"
            "  2. Loadstone-GPS database text file\n" +
                kReminder +
                "LIST Bookmarks save format: Select bookmarks file save format \n"
                "  1. Loadstone-GPS checkpoints file\n"
                "* 2. Loadstone-GPS database text file\n"
                "LIST Direction announcement mode: Select direction announcement mode\n"
                "* 1. Clock face relative to user direction\n"
                "  2. Clock face relative to the north\n"
                "  3. Degrees relative to user direction\n"
                "  4. Degrees relative to the north\n"
                "  5. Simple compass (8 directions)\n"
                "  6. Advanced compass (32 directions)\n"
                "LIST Direction announcement mode: Select direction announcement mode\n"
                "* 1. Clock face relative to user direction\n"
                "  2. Clock face relative to the north\n"
                "  3. Degrees relative to user direction\n"
                "  4. Degrees relative to the north\n"
                "  5. Simple compass (8 directions)\n"
                "  6. Advanced compass (32 directions)\n" +
                kReminder + "ASK Really quit program?\n");
}

TEST(SettingsMenu, SavedSettingsAreReadAtTheNextStart) {
  TempDir home;
  ConsoleResult first = run_console(home.path(),
                                    "IDM_SAVESETTINGSREMIND\n"
                                    "IDM_CONFIRMEXIT\n"
                                    "IDM_SELECTUDIRMODE\n5\n"
                                    "IDM_SELECTBOOKMARKSAVEFORMAT\n2\n"
                                    "IDM_AUTOUPDATECHECK\n"
                                    "IDM_SAVEUSERINI\n");
  ASSERT_EQ(first.exit_code, 0) << first.err;
  const std::string saved = slurp(home / "user.ini");
  EXPECT_NE(saved.find("udirmode=cs\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("confirmexit=0\n"), std::string::npos) << saved;

  fs::remove(home / "user.ini.bak");
  ConsoleResult second = run_console(home.path(),
                                     "IDM_SELECTUDIRMODE\n\n"
                                     "IDM_SELECTBOOKMARKSAVEFORMAT\n\n"
                                     "IDM_SAVEUSERINI\n");
  ASSERT_EQ(second.exit_code, 0) << second.err;
  EXPECT_NE(second.out.find("* 5. Simple compass (8 directions)\n"), std::string::npos)
      << second.out;
  EXPECT_NE(second.out.find("* 2. Loadstone-GPS database text file\n"), std::string::npos);
  // No reminder (switched off) and no exit question (confirmation off).
  EXPECT_EQ(second.out.find("INFO"), std::string::npos);
  EXPECT_EQ(second.out.find("ASK"), std::string::npos);
  EXPECT_EQ(slurp(home / "user.ini"), saved);
}

TEST(SettingsMenu, BrokenSettingsFilesStillStart) {
  TempDir home;
  {
    std::ofstream bin(home / "user.ini", std::ios::binary);
    for (int i = 0; i < 100000; ++i) bin.put(static_cast<char>((i * 7919) & 0xff));
    std::ofstream prog(home / "orvela.ini", std::ios::binary);
    prog << "initial_volume=" << std::string(1 << 20, '7');  // truncated, no line end
  }
  ConsoleResult r = run_console(home.path(), ",\n");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("SAY One square 10 metres.\n"), std::string::npos) << r.out;
}

// The sound switches are kept once: choosing (or not choosing) how
// directions are spoken once put them back to what was last read or saved,
// so a muted soundscape came back and "Save user settings" stored it unmuted.
// (The HRTF switch unmutes by itself, so the mute comes last.)
TEST(SettingsMenu, SoundSwitchesSurviveOtherSettingsAndAreSavedAsSwitched) {
  struct Case {
    const char* direction_answer;
    const char* udirmode;
  };
  for (const Case c : {Case{":cancel", "rc"}, Case{"3", "rd"}, Case{"", "rc"}}) {
    SCOPED_TRACE(c.direction_answer);
    TempDir home;
    const std::string script =
        std::string(
            "IDM_SAVESETTINGSREMIND\nCtrl+M\nCtrl+I\ny\nIDM_SOUNDBEHINDLOWER\n"
            "IDM_SOUNDHRTFMODE\nCtrl+Space\nCtrl+.\n") +
        c.direction_answer + "\nIDM_SAVEUSERINI\n";
    ConsoleResult r = run_console(home.path(), script);
    ASSERT_EQ(r.exit_code, 0) << r.err;
    const std::string ini = slurp(home / "user.ini");
    for (const char* line : {"soundmuted=1\n", "soundmono=1\n", "soundspeakerschanged=1\n",
                             "soundbehindlower=0\n", "soundhrtfmode=0\n"})
      EXPECT_NE(ini.find(line), std::string::npos) << line << " in\n" << ini;
    EXPECT_NE(ini.find(std::string("udirmode=") + c.udirmode + "\n"), std::string::npos) << ini;
  }
}

}  // namespace
}  // namespace orvela::test
