// The main window's commands and events, driven through the console front
// end with the person's answers as input lines.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/app.h"
#include "app/commands.h"
#include "app/startup.h"
#include "support/test_env.h"
#include "text/string_consts.h"
#include "ui/console_ui.h"

namespace orvela::app {
namespace {
namespace fs = std::filesystem;

class Window {
 public:
  explicit Window(const std::string& answers, Settings settings = {})
      : in_(answers),
        ui_(in_, out_, err_),
        msg_(ui_.speech()),
        paths_(Paths::running_program_dir(), home_.path()),
        settings_(std::move(settings)),
        db_(paths_.errdb_log()),
        loader_(db_, grid_, user_, ui_, msg_, paths_.maps_dir()),
        explorer_(grid_, user_, loader_, ui_, msg_, consts_),
        app_({ui_, msg_, paths_, settings_, db_, grid_, user_, loader_, explorer_, nullptr, "en"}) {
    INIT(paths_, ui_);
    ui_.set_menu(BUILDMAINMENU("en"));
  }
  App& app() { return app_; }
  map::UserState& user() { return user_; }
  map::Grid& grid() { return grid_; }
  map::MapLoader& loader() { return loader_; }
  Settings& settings() { return settings_; }
  ui::Ui& ui() { return ui_; }
  const Paths& paths() { return paths_; }
  std::string out() { return std::exchange(out_str_, "") + take(); }

 private:
  std::string take() {
    std::string s = out_.str();
    out_.str("");
    return s;
  }
  test::TempDir home_;
  std::istringstream in_;
  std::ostringstream out_, err_;
  ui::ConsoleUi ui_;
  text::Messages msg_;
  Paths paths_;
  Settings settings_;
  map::MapDb db_;
  map::Grid grid_;
  map::UserState user_;
  map::MapLoader loader_;
  text::StringConsts consts_;
  explore::Explorer explorer_;
  App app_;
  std::string out_str_;
};

const std::string kReminder = "INFO Remember to save settings, to make this change permanent.\n";

TEST(CloseSequence, QuestionsInOrderAndNoKeepsTheWindow) {
  struct Case {
    bool bookmarks_modified;
    bool confirm_exit;
    const char* answers;
    const char* expected_out;
    bool closes;
  };
  const Case cases[] = {
      {false, false, "", "", true},
      {false, true, "y\n", "ASK Really quit program?\n", true},
      {false, true, "n\n", "ASK Really quit program?\n", false},
      {true, true, "y\nn\n", "ASK Save bookmarks?\nASK Really quit program?\n", false},
      {true, true, "n\ny\n", "ASK Save bookmarks?\nASK Really quit program?\n", true},
      {true, false, "n\n", "ASK Save bookmarks?\n", true},
      // End of input counts as the default answer: Yes.
      {false, true, "", "ASK Really quit program?\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answers);
    Window w(c.answers);
    w.settings().CONFIRMEXIT = c.confirm_exit;
    w.app().state().BOOKMARKSMODIFIED = c.bookmarks_modified;
    EXPECT_EQ(w.app().on_close_requested(), c.closes);
    EXPECT_EQ(w.out(), c.expected_out);
  }
}

TEST(SettingsMenu, SwitchesFlipAndRemind) {
  struct Case {
    int id;
    bool Settings::*flag;
  };
  const Case cases[] = {
      {IDM_AUTOUPDATECHECK, &Settings::CHECKAUTOUPDATE},
      {IDM_CONFIRMEXIT, &Settings::CONFIRMEXIT},
      {IDM_NMEALOG_OMITSTOPS, &Settings::NMEALOG_OMITSTOPS},
      {IDM_GPS_AUTOUDIRCHANGE, &Settings::GPS_AUTOUDIRCHANGE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    Window w("");
    const bool before = w.settings().*c.flag;
    w.app().on_command(c.id);
    EXPECT_NE(w.settings().*c.flag, before);
    EXPECT_EQ(w.out(), kReminder);
    w.app().on_init_menu();
    EXPECT_EQ(w.ui().is_item_checked(c.id), w.settings().*c.flag);
    w.app().on_command(c.id);
    EXPECT_EQ(w.settings().*c.flag, before);
  }
}

TEST(SettingsMenu, ReminderSwitchRemindsOnlyWhenSwitchedOn) {
  Window w("");
  w.app().on_command(IDM_SAVESETTINGSREMIND);
  EXPECT_FALSE(w.settings().SAVESETTINGSREMIND);
  EXPECT_EQ(w.out(), "");
  w.app().on_command(IDM_CONFIRMEXIT);
  EXPECT_EQ(w.out(), "");
  w.app().on_command(IDM_SAVESETTINGSREMIND);
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
    Window w(c.answer);
    w.app().state().LASTBOOKMARKSFN = "/x/a.lscp";
    w.app().state().LASTSAVEDBOOKMARKSFN = "/x/a.lscp";
    w.app().on_command(IDM_SELECTBOOKMARKSAVEFORMAT);
    EXPECT_EQ(w.settings().BOOKMARKSAVEFORMAT, c.format);
    EXPECT_EQ(w.app().state().LASTBOOKMARKSFN.empty(), c.names_forgotten);
    EXPECT_EQ(w.app().state().LASTSAVEDBOOKMARKSFN.empty(), c.names_forgotten);
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
  w.app().on_command(IDM_READUSERINI);
  EXPECT_EQ(w.out(), "INFO No saved user settings found.\n");
  fs::create_directory(w.paths().user_ini());  // a folder in the way
  w.app().on_command(IDM_SAVEUSERINI);
  EXPECT_EQ(w.out(), "INFO Can not save file user.ini\n");
}

TEST(InitMenu, ItemsFollowTheState) {
  Window w("");
  w.app().on_init_menu();
  for (int id :
       {IDM_SELSTARTPOINT, IDM_SAVESTARTPOS, IDM_AREAALL, IDM_WEATHERCURRENT, IDM_SETUPMOUSE,
        IDM_SAYTAGS, IDM_GPSSAYTIME, IDM_NMEADISCONNECT, IDM_GPSGOTOEND, IDM_BOOKMARKCLIPCPY})
    EXPECT_FALSE(w.ui().is_item_enabled(id)) << id;
  for (int id : {IDM_GPSLOGOPEN, IDM_GPSOPEN, IDM_FILEOPEN, IDM_HELPABOUT})
    EXPECT_TRUE(w.ui().is_item_enabled(id)) << id;
  EXPECT_TRUE(w.ui().is_item_checked(IDM_SOUNDHRTFMODE));
  EXPECT_TRUE(w.ui().is_item_checked(IDM_CONFIRMEXIT));
  EXPECT_FALSE(w.ui().is_item_checked(IDM_MUTE));

  ShellState& st = w.app().state();
  w.loader().set_FN("/maps/a.orvel");
  w.user().ULATLONSET = true;
  st.NMEAMODE = NMEAMODE_LOG;
  st.LASTBOOKMARKSFN = "/b/a.lscp";
  st.CUROBJHASTAGS = true;
  w.settings().USEMOUSE = true;
  w.settings().SOUNDMUTED = true;
  w.app().on_init_menu();
  for (int id :
       {IDM_SELSTARTPOINT, IDM_SAVESTARTPOS, IDM_AREAALL, IDM_WEATHERCURRENT, IDM_SETUPMOUSE,
        IDM_SAYTAGS, IDM_GPSSAYTIME, IDM_NMEADISCONNECT, IDM_GPSGOTOEND, IDM_BOOKMARKCLIPCPY})
    EXPECT_TRUE(w.ui().is_item_enabled(id)) << id;
  EXPECT_FALSE(w.ui().is_item_enabled(IDM_GPSLOGOPEN));
  EXPECT_TRUE(w.ui().is_item_checked(IDM_MUTE));
  EXPECT_TRUE(w.ui().is_item_checked(IDM_USEMOUSE));
  st.NMEAMODE = NMEAMODE_DEVICE;
  w.app().on_init_menu();
  EXPECT_FALSE(w.ui().is_item_enabled(IDM_GPSGOBACK1));
  EXPECT_TRUE(w.ui().is_item_enabled(IDM_GPSPLAYPAUSE));
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
  w.settings().services.home_page = "example.org/orvela";
  w.app().on_command(IDM_HELPWWW);
  w.app().on_command(IDM_HELPMAIL);
  w.app().on_command(IDM_HELPMAIL);
  EXPECT_EQ(w.out(),
            "ASK Do you want to open web page example.org/orvela in default browser?\n"
            "OPEN http://example.org/orvela\n"
            "ASK Do you want to create message to author@orvela.org in default mail client?\n"
            "ASK Do you want to create message to author@orvela.org in default mail client?\n"
            "OPEN mailto:author@orvela.org\n");
  w.app().on_command(IDM_HELPABOUT);
  EXPECT_EQ(w.out().rfind("INFO Orvela 1.01\\n", 0), 0u);
}

TEST(HelpMenu, ManualMissingIsSaidNotOpened) {
  // The test programs' folder holds no manual.
  Window w("");
  w.app().on_command(IDM_HELPMANUAL);
  EXPECT_EQ(w.out(),
            "INFO The user manual " + w.paths().help_file("en").string() + " is missing.\n");
}

TEST(SayMenu, LastMessageAndNoMapReload) {
  Window w("\n");
  w.app().on_command(IDM_MAPREFRESH);
  w.app().on_command(IDM_SHOWLASTSAY);
  EXPECT_EQ(w.out(),
            "SAY No map selected.\nTEXT Last message: Last spoken message\n| No map selected.\n");
}

}  // namespace
}  // namespace orvela::app
