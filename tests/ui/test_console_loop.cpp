#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "support/console_fixture.h"

namespace orvela::ui {
namespace {

using test::Console;
using test::Recorder;
using Lines = std::vector<std::string>;

MenuBar menu() {
  MenuBuilder b;
  b.MKMENU_START();
  b.MKMENU_POPUP("&Map");
  b.MKMENU_ADD(101, "IDM_FILEOPEN", "&Open...", "", key('O', MOD_CTRL));
  b.MKMENU_ADD(100, "IDM_CLOSE", "&Quit", "alt+f4");
  b.MKMENU_ENDPOPUP();
  b.MKMENU_POPUP("&Navigation");
  b.MKMENU_ADD(211, "IDM_GOFORWARD", "Go forward", "Up arrow", key(Key::Up));
  b.MKMENU_ADD(221, "IDM_INCSQMETERS", "Increase square size", "Ctrl+PGUP",
               key(Key::PageUp, MOD_CTRL));
  b.MKMENU_ENDPOPUP();
  b.MKMENU_POPUP("&Say");
  b.MKMENU_ADD(302, "IDM_SAYTYPE", "Current object type", "", key(' '));
  b.MKMENU_ADD(303, "IDM_SAYDIRECTION", "&Current object direction", "", key('/'));
  b.MKMENU_ADD(251, "IDM_AREAPOINTS", "&Points in area...", "", key('P'));
  b.MKMENU_ENDPOPUP();
  return b.MKMENU_END();
}

struct Session {
  explicit Session(std::string input) : c(std::move(input)) { c.ui.set_menu(menu()); }
  void go() { c.ui.run(rec); }
  Console c;
  Recorder rec;
};

TEST(ConsoleLoop, CommandsByNameOrKeyAsTheMenuShowsIt) {
  Session r(
      "IDM_GOFORWARD\nUp\nup arrow\nCtrl+Page Up\nctrl+pgup\nSpace\n/\np\nCtrl+O\nIDM_FILEOPEN\n");
  r.go();
  EXPECT_EQ(r.rec.events, (Lines{"command 211", "command 211", "command 211", "command 221",
                                 "command 221", "command 302", "command 303", "command 251",
                                 "command 101", "command 101", "close"}));
  EXPECT_TRUE(r.c.err_lines().empty());
}

TEST(ConsoleLoop, CommentsBlanksAndUnknownCommands) {
  Session r("# a comment\n\n   \nIDM_NOSUCH\nCtrl+Z\n:dance\n:wait\nIDM_GOFORWARD\n");
  r.go();
  EXPECT_EQ(r.rec.events, (Lines{"command 211", "close"}));
  const Lines err = r.c.err_lines();
  ASSERT_EQ(err.size(), 4u);
  EXPECT_NE(err[0].find("IDM_NOSUCH"), std::string::npos);
  EXPECT_NE(err[1].find("Ctrl+Z"), std::string::npos);
  EXPECT_TRUE(r.c.out_lines().empty());
}

TEST(ConsoleLoop, WindowEventsFromDirectives) {
  Session r(
      ":focus off\n:focus on\n:mouse 12 -3\n:click left\n:wait 20\n:click right\n"
      ":focus sideways\n");
  r.go();
  EXPECT_EQ(r.rec.events, (Lines{"focus off", "focus on", "mouse 12 -3", "click left at 0",
                                 "click right at 20", "close"}));
  EXPECT_EQ(r.c.err_lines().size(), 1u);
}

TEST(ConsoleLoop, MouseLinesWhileADialogWaitsAreMouseInputAndTheDialogGoesOnWaiting) {
  Session r("Ctrl+O\n:mouse -40 0\n:click left\n:click right\nok\nIDM_GOFORWARD\n");
  r.rec.actions[101] = [&] {
    const auto a = r.c.ui.WGREADMULTILINESTR("Setting mouse sensitivity", "Instruction", "", false);
    r.rec.events.push_back("answer " + a.value_or("none"));
  };
  r.go();
  EXPECT_EQ(r.rec.events, (Lines{"command 101", "mouse -40 0", "click left at 0",
                                 "click right at 0", "answer ok", "command 211", "close"}));
}

TEST(ConsoleLoop, QuitGoesThroughTheHandlersVeto) {
  Session r(":quit\nIDM_GOFORWARD\nalt+f4\nIDM_SAYTYPE\n");
  int asked = 0;
  r.rec.close_answer = [&] { return ++asked > 1; };  // refuse once, then agree
  r.rec.actions[100] = [&] { r.c.ui.request_close(); };
  r.go();
  // After the close was accepted nothing more is read.
  EXPECT_EQ(r.rec.events, (Lines{"close", "command 211", "command 100", "close"}));
}

TEST(ConsoleLoop, EndOfInputClosesWithQuestionsTakingTheirDefaults) {
  Session r("IDM_GOFORWARD\n");
  r.rec.close_answer = [&] {
    const bool save = r.c.ui.WGTN("Save bookmarks");       // default Yes
    const bool quit = r.c.ui.WGNT("Really quit program");  // default No: refused,
    return save && quit;                                   // but input has ended
  };
  r.go();
  EXPECT_EQ(r.rec.events, (Lines{"command 211", "close"}));
  EXPECT_EQ(r.c.out_lines(), (Lines{"ASK Save bookmarks?", "ASK Really quit program?"}));
  EXPECT_EQ(r.c.err_lines().size(), 1u);
}

TEST(ConsoleLoop, QuestionsInsideACommandReadTheFollowingLines) {
  Session r("Ctrl+O\n/maps/city.omap\nIDM_GOFORWARD\n");
  r.rec.actions[101] = [&] {
    const auto p = r.c.ui.WGWYBORPLI(WGFOPEN, "Open map", {{"Map files", "*.omap"}});
    r.rec.events.push_back("opened " + (p ? p->string() : std::string("nothing")));
  };
  r.go();
  EXPECT_EQ(r.rec.events, (Lines{"command 101", "opened /maps/city.omap", "command 211", "close"}));
}

TEST(ConsoleLoop, WaitHandlesWhatOtherThreadsPost) {
  Session r(":wait 300\nIDM_GOFORWARD\n");
  r.rec.actions[211] = [&] { r.rec.events.push_back("forward"); };
  std::thread gps([&] {
    for (int i = 0; i < 3; ++i)
      r.c.ui.post([&r, i] { r.rec.events.push_back("fix " + std::to_string(i)); });
  });
  gps.join();
  r.go();
  EXPECT_EQ(r.rec.events, (Lines{"fix 0", "fix 1", "fix 2", "command 211", "forward", "close"}));
}

TEST(ConsoleLoop, WaitLetsTimePassForPostsThatComeLater) {
  Session r(":wait 400\nIDM_GOFORWARD\n");
  std::thread late;
  r.rec.actions[211] = [] {};
  // The post arrives while :wait is waiting: it is handled before the next command.
  r.c.ui.post([&] {
    late = std::thread([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      r.c.ui.post([&] { r.rec.events.push_back("late fix"); });
    });
  });
  r.go();
  late.join();
  EXPECT_EQ(r.rec.events, (Lines{"late fix", "command 211", "close"}));
}

TEST(ConsoleLoop, AnErrorEscapingACommandIsReportedAndTheLoopGoesOn) {
  Session r("IDM_FILEOPEN\nIDM_GOFORWARD\nIDM_SAYTYPE\n");
  r.rec.actions[101] = [] { throw std::runtime_error("disk on fire"); };
  r.rec.actions[211] = [] { throw 42; };
  r.go();
  EXPECT_EQ(r.rec.events, (Lines{"command 101", "unexpected disk on fire", "command 211",
                                 "unexpected unknown error", "command 302", "close"}));
  ASSERT_EQ(r.c.err_lines().size(), 2u);
  EXPECT_NE(r.c.err_lines()[0].find("disk on fire"), std::string::npos);
}

TEST(ConsoleLoop, MenuStateIsKeptPerCommand) {
  Console c("");
  c.ui.set_menu(menu());
  EXPECT_TRUE(c.ui.is_item_enabled(211));
  c.ui.WGMNUDIS(211);
  c.ui.WGMNUCHK(302);
  EXPECT_FALSE(c.ui.is_item_enabled(211));
  EXPECT_TRUE(c.ui.is_item_checked(302));
  c.ui.WGMNUEN(211);
  c.ui.WGMNUUNCHK(302);
  EXPECT_TRUE(c.ui.is_item_enabled(211));
  EXPECT_FALSE(c.ui.is_item_checked(302));
}

}  // namespace
}  // namespace orvela::ui
