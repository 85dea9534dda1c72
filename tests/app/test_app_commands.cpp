// The main window's commands and events, driven through the console front
// end with the person's answers as input lines.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "app/app_window.h"
#include "app/settings_menu.h"
#include "explore/first_start.h"
#include "support/small_disk.h"

namespace orvela::app {
namespace {
namespace fs = std::filesystem;

using test::Window;

const std::string kReminder = "INFO Remember to save settings, to make this change permanent.\n";

// The demo map opened at its centre and a bookmark made there with the
// proposed name (the first answer): the list has unsaved changes.
void add_bookmark(Window& w) {
  App& a = w.app();
  ASSERT_TRUE(explore::open_demo_map(a.explorer(), a.loader(), a.db(),
                                     orvela::test::program_dir() / "maps", a.paths().maps_dir()));
  w.command("IDM_BOOKMARKEDIT");
  ASSERT_TRUE(a.bookmarks().BOOKMARKSMODIFIED());
  w.out();
}

TEST(CloseSequence, QuestionsInOrderAndNoKeepsTheWindow) {
  orvela::test::TempDir dir;
  const std::string file = (dir / "b.lscp").string();
  const std::string save_dialog =
      "FILE Save bookmarks [Loadstone Checkpoints file *.lscp|*.lscp|GPX waypoints *.gpx|*.gpx]\n";
  struct Case {
    bool bookmarks_modified;
    bool confirm_exit;
    std::string answers;
    std::string expected_out;
    bool closes;
  };
  const Case cases[] = {
      {false, false, "", "", true},
      {false, true, "y\n", "ASK Really quit program?\n", true},
      {false, true, "n\n", "ASK Really quit program?\n", false},
      // Saved, then the quit question.
      {true, true, "y\n" + file + "\nn\n",
       "ASK Save bookmarks?\n" + save_dialog + "ASK Really quit program?\n", false},
      {true, true, "n\ny\n", "ASK Save bookmarks?\nASK Really quit program?\n", true},
      {true, false, "n\n", "ASK Save bookmarks?\n", true},
      // A save that did not happen keeps the window and the bookmarks.
      {true, true, "y\n:cancel\n", "ASK Save bookmarks?\n" + save_dialog, false},
      // End of input counts as the default answer: Yes.
      {false, true, "", "ASK Really quit program?\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answers);
    Window w((c.bookmarks_modified ? ":default\n" : "") + c.answers);
    if (c.bookmarks_modified) add_bookmark(w);
    w.app().settings().CONFIRMEXIT = c.confirm_exit;
    EXPECT_EQ(w.app().on_close_requested(), c.closes);
    EXPECT_EQ(w.out(), c.expected_out);
  }
  EXPECT_TRUE(fs::exists(file));
}

TEST(SettingsMenu, SwitchesFlipAndRemind) {
  struct Case {
    const char* name;
    bool& (*flag)(Settings&);
  };
  const Case cases[] = {
      {"IDM_AUTOUPDATECHECK", [](Settings& s) -> bool& { return s.CHECKAUTOUPDATE; }},
      {"IDM_CONFIRMEXIT", [](Settings& s) -> bool& { return s.CONFIRMEXIT; }},
      {"IDM_NMEALOG_OMITSTOPS", [](Settings& s) -> bool& { return s.gps.NMEALOG_OMITSTOPS; }},
      {"IDM_GPS_AUTOUDIRCHANGE", [](Settings& s) -> bool& { return s.gps.GPS_AUTOUDIRCHANGE; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Window w("");
    const int id = w.id(c.name);
    const bool before = c.flag(w.app().settings());
    w.app().on_command(id);
    EXPECT_NE(c.flag(w.app().settings()), before);
    EXPECT_EQ(w.out(), kReminder);
    w.app().on_init_menu();
    EXPECT_EQ(w.ui().is_item_checked(id), c.flag(w.app().settings()));
    w.app().on_command(id);
    EXPECT_EQ(c.flag(w.app().settings()), before);
  }
}

TEST(SettingsMenu, ReminderSwitchRemindsOnlyWhenSwitchedOn) {
  Window w("");
  w.command("IDM_SAVESETTINGSREMIND");
  EXPECT_FALSE(w.app().settings().SAVESETTINGSREMIND);
  EXPECT_EQ(w.out(), "");
  w.command("IDM_CONFIRMEXIT");
  EXPECT_EQ(w.out(), "");
  w.command("IDM_SAVESETTINGSREMIND");
  EXPECT_EQ(w.out(), kReminder);
}

TEST(SettingsMenu, BookmarkFormatChoice) {
  struct Case {
    const char* answer;
    int format;
    bool names_forgotten;
    bool reminded;
  };
  const Case cases[] = {
      {"2\n", 1, true, true},   // the other format
      {"\n", 0, false, false},  // the preselected (current) one
      {"1\n", 0, false, false}, {":cancel\n", 0, false, false}, {"0\n", 0, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    orvela::test::TempDir dir;
    std::ofstream(dir / "a.lscp", std::ios::binary) << "#!lscp\r\n522296760,210122290,\"A\",1\r\n";
    // Loaded, then saved under its own name: both names are known.
    Window w((dir / "a.lscp").string() + "\n" + c.answer);
    bookmarks::Bookmarks& bm = w.app().bookmarks();
    bm.load_file(dir / "a.lscp");
    ASSERT_TRUE(bm.SAVEBOOKMARKS(false));
    ASSERT_FALSE(bm.LASTSAVEDBOOKMARKSFN().empty());
    w.out();
    w.command("IDM_SELECTBOOKMARKSAVEFORMAT");
    EXPECT_EQ(w.app().settings().bookmarks.BOOKMARKSAVEFORMAT, c.format);
    EXPECT_EQ(bm.LASTBOOKMARKSFN().empty(), c.names_forgotten);
    EXPECT_EQ(bm.LASTSAVEDBOOKMARKSFN().empty(), c.names_forgotten);
    std::string out = w.out();
    EXPECT_EQ(out.rfind("LIST Bookmarks save format: Select bookmarks file save format \n"
                        "* 1. Loadstone-GPS checkpoints file\n"
                        "  2. Loadstone-GPS database text file\n",
                        0),
              0u)
        << out;
    EXPECT_EQ(out.find(kReminder) != std::string::npos, c.reminded);
  }
}

TEST(SettingsMenu, LoadAndSaveReportFailures) {
  Window w("");
  w.command("IDM_READUSERINI");
  EXPECT_EQ(w.out(), "INFO No saved user settings found.\n");
  fs::create_directory(w.app().paths().user_ini());  // a folder in the way
  w.command("IDM_SAVEUSERINI");
  EXPECT_EQ(w.out(), "INFO Can not save file user.ini: Is a directory\n");
}

TEST(SettingsMenu, FullDiskKeepsTheSavedSettingsAndSaysWhy) {
  orvela::test::SmallDisk disk;
  ASSERT_EQ(disk.error(), "");
  const Paths paths(Paths::running_program_dir(), disk.path());
  std::istringstream in;
  std::ostringstream out, err;
  ui::ConsoleUi ui(in, out, err);
  Settings s;
  ASSERT_TRUE(SAVEUSERINI(s, paths, ui));
  const auto read = [&] {
    std::ifstream f(paths.user_ini(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
  };
  const std::string saved = read();
  disk.fill();
  // More than the last partial page of the disk could still take.
  s.CONFIRMEXIT = !s.CONFIRMEXIT;
  s.unknown_user_keys.emplace_back("note", std::string(64 * 1024, 'n'));
  EXPECT_FALSE(SAVEUSERINI(s, paths, ui));
  EXPECT_EQ(out.str(), "INFO Can not save file user.ini: No space left on device\n");
  EXPECT_EQ(read(), saved);
  for (const auto& e : fs::directory_iterator(disk.path()))
    EXPECT_TRUE(e.path().filename() == "user.ini" || e.path().filename() == "filler") << e.path();
}

TEST(InitMenu, ItemsFollowTheState) {
  Window w("");
  auto enabled = [&](const char* name) { return w.ui().is_item_enabled(w.id(name)); };
  auto checked = [&](const char* name) { return w.ui().is_item_checked(w.id(name)); };
  // The GPS items follow the source; the gps tests open one.
  const char* const follow_state[] = {"IDM_SELSTARTPOINT", "IDM_SAVESTARTPOS",
                                      "IDM_AREAALL",       "IDM_WEATHERCURRENT",
                                      "IDM_SETUPMOUSE",    "IDM_BOOKMARKCLIPCPY"};
  w.app().on_init_menu();
  for (const char* name : follow_state) EXPECT_FALSE(enabled(name)) << name;
  // No object under the user yet, so none with tags.
  EXPECT_FALSE(enabled("IDM_SAYTAGS"));
  EXPECT_FALSE(enabled("IDM_SHOWTAGS"));
  for (const char* name : {"IDM_GPSLOGOPEN", "IDM_GPSOPEN", "IDM_FILEOPEN", "IDM_HELPABOUT"})
    EXPECT_TRUE(enabled(name)) << name;
  EXPECT_TRUE(checked("IDM_SOUNDHRTFMODE"));
  EXPECT_TRUE(checked("IDM_CONFIRMEXIT"));
  EXPECT_FALSE(checked("IDM_MUTE"));

  w.app().loader().set_FN("/maps/a.orvel");
  w.app().user().ULATLONSET = true;
  w.app().bookmarks().load_file("/nonexistent/a.lscp");  // the name is kept though unreadable
  w.app().settings().mouse.USEMOUSE = true;
  w.app().settings().sound.scape.SOUNDMUTED = true;
  w.app().on_init_menu();
  for (const char* name : follow_state) EXPECT_TRUE(enabled(name)) << name;
  EXPECT_TRUE(checked("IDM_MUTE"));
  EXPECT_TRUE(checked("IDM_USEMOUSE"));
}

TEST(WindowEvents, FocusAndMenuLoopMarkTheProgramAway) {
  Window w("");
  w.app().on_focus(false);
  EXPECT_TRUE(w.app().state().PROGRAMLOSTFOCUS);
  w.app().on_focus(true);
  EXPECT_FALSE(w.app().state().PROGRAMLOSTFOCUS);
  w.app().on_menu_loop(true);
  EXPECT_TRUE(w.app().state().PROGRAMLOSTFOCUS);
  w.app().on_menu_loop(false);
  EXPECT_FALSE(w.app().state().PROGRAMLOSTFOCUS);
  EXPECT_EQ(w.out(), "");  // speech is not affected
}

TEST(HelpMenu, AddressesAndAboutBox) {
  Window w("y\nn\ny\n");
  // No address is made up: until orvela.ini names them, the items say which
  // key to set, and so does the about box.
  w.command("IDM_HELPWWW");
  w.command("IDM_HELPMAIL");
  EXPECT_EQ(w.out(),
            "INFO No home page configured: set home_page in orvela.ini.\n"
            "INFO No mail address configured: set author_mail in orvela.ini.\n");
  w.command("IDM_HELPABOUT");
  EXPECT_EQ(w.out(),
            "INFO Orvela 1.01\\nA map explorer for blind and visually impaired people.\\n"
            "No home page configured: set home_page in orvela.ini.\\n"
            "No mail address configured: set author_mail in orvela.ini.\n");
  w.app().settings().services.home_page = "example.org/orvela";
  w.app().settings().services.author_mail = "author@example.org";
  w.command("IDM_HELPWWW");
  w.command("IDM_HELPMAIL");
  w.command("IDM_HELPMAIL");
  EXPECT_EQ(w.out(),
            "ASK Do you want to open web page example.org/orvela in default browser?\n"
            "OPEN http://example.org/orvela\n"
            "ASK Do you want to create message to author@example.org in default mail client?\n"
            "ASK Do you want to create message to author@example.org in default mail client?\n"
            "OPEN mailto:author@example.org\n");
  w.command("IDM_HELPABOUT");
  EXPECT_EQ(w.out().rfind("INFO Orvela 1.01\\n", 0), 0u);
}

TEST(HelpMenu, ManualMissingIsSaidNotOpened) {
  // The test programs' folder holds no manual.
  Window w("");
  w.command("IDM_HELPMANUAL");
  EXPECT_EQ(w.out(),
            "INFO The user manual " + w.app().paths().help_file("en").string() + " is missing.\n");
}

TEST(SayMenu, LastMessageAndNoMapReload) {
  Window w("\n");
  w.command("IDM_MAPREFRESH");
  w.command("IDM_SHOWLASTSAY");
  EXPECT_EQ(w.out(),
            "SAY No map selected.\nTEXT Last message: Last spoken message\n| No map selected.\n");
}

}  // namespace
}  // namespace orvela::app

namespace orvela::app {
namespace {

// An exception nobody foresaw, escaping a command: the person hears and sees
// what failed and that the program goes on, the home keeps a record, and the
// next command works.
TEST(UnexpectedError, IsSpokenShownLoggedAndTheProgramGoesOn) {
  test::Window w("IDM_BROKEN\nIDM_SAYILEV\n");
  w.app().commands().add({.id = 990,
                          .name = "IDM_BROKEN",
                          .menu = ui::Menu::Help,
                          .order = 99,
                          .text = "Broken",
                          .run = [] { throw std::runtime_error("disk on fire"); }});
  w.ui().set_menu(w.app().menu_bar());
  w.app().settings().CONFIRMEXIT = false;
  w.ui().run(w.app());
  const std::string said =
      "Unexpected error: disk on fire. The command was stopped; the program goes on.";
  EXPECT_EQ(w.out(), "SAY " + said + "\nINFO " + said + "\nSAY One square 10 metres.\n");
  std::ifstream log(w.app().paths().error_log());
  std::string line;
  ASSERT_TRUE(std::getline(log, line));
  EXPECT_TRUE(line.ends_with(" disk on fire")) << line;
  EXPECT_EQ(line.size(), std::string("2026-12-08 10:00:00 disk on fire").size()) << line;
}

// The Sound menu's failures are the app's words.
TEST(SoundMenu, EngineFailuresAreShown) {
  test::Window w("");
  fs::create_directories(w.app().paths().alsoft_ini());  // a folder in the way
  w.command("IDM_SOUNDHRTFMODE");
  EXPECT_EQ(w.out(),
            "INFO This change will take effect after restarting the program.\n"
            "INFO Can not create alsoft.ini\n");
  EXPECT_FALSE(w.app().settings().sound.engine.SOUNDHRTFMODE);
  w.command("IDM_MONO");
  EXPECT_EQ(w.out(), "SAY On mono mode\n");
  w.command("IDM_MONO");
  EXPECT_EQ(w.out(), "SAY Off mono mode\n");
}

}  // namespace
}  // namespace orvela::app
