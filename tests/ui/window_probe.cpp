// A window with a small menu, driven from outside by the window test: every
// event the app would get is written to the log file named on the command
// line, one line each, so the test can check what reached the app.
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <thread>

#include "ui/single_instance.h"
#include "ui/wx/wx_ui.h"

namespace {

using namespace orvela::ui;

enum : int {
  IDM_FILEOPEN = 101,
  IDM_CLOSE = 100,
  IDM_GOFORWARD = 211,
  IDM_INCSQMETERS = 221,
  IDM_GOTOCORDS = 270,
  IDM_AREAPOINTS = 251,
  IDM_SAYTYPE = 302,
  IDM_SAYDIRECTION = 303,
  IDM_SAYHLEVEL = 307,
  IDM_SAYUDIR = 305,
  IDM_MUTE = 406,
  IDM_BOOKMARKGOTO = 502,
  IDM_OSMIMPORTFILE = 165,
  IDM_TASK = 110,
  IDM_ASK = 604,
  IDM_USEMOUSE = 281,
  IDM_MONO = 407,
  IDM_HELPMANUAL = 901,
  IDM_BOOKMARKLOAD = 505,
  IDM_BOOKMARKSAVEAS = 512,
  IDM_HELPWWW = 903,
  IDM_HELPMAIL = 904,
};

MenuBar probe_menu() {
  MenuBuilder b;
  b.MKMENU_START();
  b.MKMENU_POPUP("&Map");
  b.MKMENU_ADD(IDM_FILEOPEN, "IDM_FILEOPEN", "&Open...", "Ctrl+O", key('O', MOD_CTRL));
  b.MKMENU_ADD(IDM_TASK, "IDM_SELSTARTPOINT", "Select start point...", "Ctrl+T",
               key('T', MOD_CTRL));
  b.MKMENU_POPUP("&Import OpenStreetMap");
  b.MKMENU_ADD(IDM_OSMIMPORTFILE, "IDM_OSMIMPORTFILE", "From OSM XML &file...", "",
               key('I', MOD_CTRL));
  b.MKMENU_ENDPOPUP();
  b.MKMENU_ADD(IDM_CLOSE, "IDM_CLOSE", "&Quit", "alt+f4");
  b.MKMENU_ENDPOPUP();
  b.MKMENU_POPUP("&Navigation");
  b.MKMENU_ADD(IDM_GOFORWARD, "IDM_GOFORWARD", "Go forward", "Up arrow", key(Key::Up));
  b.MKMENU_ADD(212, "IDM_GOBACK", "Go back", "Down arrow", key(Key::Down));
  b.MKMENU_ADD(IDM_INCSQMETERS, "IDM_INCSQMETERS", "Increase square size", "Ctrl+PGUP",
               key(Key::PageUp, MOD_CTRL));
  b.MKMENU_ADD(IDM_GOTOCORDS, "IDM_GOTOCORDS", "&Go to coordinates...", "Ctrl+G",
               key('G', MOD_CTRL));
  b.MKMENU_ADDCHECK(IDM_USEMOUSE, "IDM_USEMOUSE", "Use mouse", "Ctrl+Y", key('Y', MOD_CTRL));
  b.MKMENU_ENDPOPUP();
  b.MKMENU_POPUP("&Area");
  b.MKMENU_ADD(IDM_AREAPOINTS, "IDM_AREAPOINTS", "&Points in area...", "P", key('P'));
  b.MKMENU_ENDPOPUP();
  b.MKMENU_POPUP("&Bookmarks");
  b.MKMENU_ADD(IDM_BOOKMARKGOTO, "IDM_BOOKMARKGOTO", "&Go to bookmark...", "U", key('U'));
  b.MKMENU_ADD(IDM_BOOKMARKLOAD, "IDM_BOOKMARKLOAD", "L&oad bookmarks...", "Ctrl+L",
               key('L', MOD_CTRL));
  b.MKMENU_ADD(IDM_BOOKMARKSAVEAS, "IDM_BOOKMARKSAVEAS", "Save bookmarks &as...", "",
               key('S', MOD_CTRL | MOD_SHIFT));
  b.MKMENU_ENDPOPUP();
  b.MKMENU_POPUP("&Sound");
  b.MKMENU_ADDCHECK(IDM_MUTE, "IDM_MUTE", "&Mute", "Ctrl+Space", key(Key::Space, MOD_CTRL));
  // Declared as a plain item; checking it turns it into a check item.
  b.MKMENU_ADD(IDM_MONO, "IDM_MONO", "Mono mode", "Ctrl+M", key('M', MOD_CTRL));
  b.MKMENU_ENDPOPUP();
  b.MKMENU_POPUP("&Say");
  b.MKMENU_ADD(IDM_SAYTYPE, "IDM_SAYTYPE", "Current object type", "Space", key(' '));
  b.MKMENU_ADD(IDM_SAYDIRECTION, "IDM_SAYDIRECTION", "&Current object direction", "/", key('/'));
  b.MKMENU_ADD(IDM_SAYUDIR, "IDM_SAYUDIR", "&User direction", ".", key('.'));
  b.MKMENU_ADD(IDM_SAYHLEVEL, "IDM_SAYHLEVEL", "Current height level", "H", key('H'));
  b.MKMENU_ENDPOPUP();
  b.MKMENU_POPUP("&Help");
  b.MKMENU_ADD(IDM_HELPMANUAL, "IDM_HELPMANUAL", "&User manual", "F1", key(Key::F1));
  b.MKMENU_ADD(IDM_HELPWWW, "IDM_HELPWWW", "&Home page", "", key('H', MOD_CTRL));
  b.MKMENU_ADD(IDM_HELPMAIL, "IDM_HELPMAIL", "&Mail to author", "", key('E', MOD_CTRL));
  b.MKMENU_ENDPOPUP();
  b.MKMENU_POPUP("&Settings");
  b.MKMENU_ADDCHECK(IDM_ASK, "IDM_CONFIRMEXIT", "Confirm program exit");
  b.MKMENU_ENDPOPUP();
  // Keys without a menu item of their own.
  b.MKACCEL_ADD(key('T', MOD_SHIFT), 308);
  b.MKACCEL_ADD(key(Key::Enter), 501);
  b.MKACCEL_ADD(key(Key::Delete), 503);
  b.MKACCEL_ADD(key(Key::Left, MOD_ALT), 712);
  b.MKACCEL_ADD(key('.', MOD_CTRL), 621);
  return b.MKMENU_END();
}

class Probe final : public EventHandler {
 public:
  Probe(Ui& ui, const char* log_path) : ui_(ui), log_(log_path) {}

  void on_command(int id) override {
    log("command " + std::to_string(id));
    if (id == IDM_GOTOCORDS) {
      const auto s = ui_.WGREADSTR("Go to coordinates", "Latitude and longitude:", "52.1 21.0");
      log(s ? "entered " + *s : std::string("cancelled"));
    } else if (id == IDM_BOOKMARKGOTO) {
      const auto i =
          ui_.WGREADLIST("Go to bookmark", "Choose a bookmark:", {"Home", "Work", "Park"}, 1);
      log(i ? "chosen " + std::to_string(*i) : std::string("cancelled"));
    } else if (id == IDM_TASK) {
      run_task();
    } else if (id == IDM_OSMIMPORTFILE) {
      // Work that is over before its dialog can appear must still close it.
      int sum = 0;
      for (int i = 0; i < 20; ++i)
        sum += ui_.BGPROCES({{"Import", "File:", ""},
                             [i](BgProgress&) {
                               return BgResult{i, "", false};
                             },
                             {}})
                   .LASTERR;
      log("instant tasks " + std::to_string(sum));
    } else if (id == IDM_USEMOUSE) {
      use_mouse_ = !use_mouse_;
      log(ui_.set_mouse_capture(use_mouse_) ? "capture ok" : "capture failed");
    } else if (id == IDM_MUTE) {
      muted_ = !muted_;
    } else if (id == IDM_BOOKMARKLOAD || id == IDM_BOOKMARKSAVEAS) {
      const bool load = id == IDM_BOOKMARKLOAD;
      const auto p = ui_.WGWYBORPLI(
          load ? WGFOPEN : WGFSAVEAS, load ? "Load bookmarks" : "Save bookmarks",
          {{"Loadstone Checkpoints file *.lscp", "*.lscp"}, {"All files", "*"}}, {}, ".lscp");
      log(p ? "file " + p->string() : std::string("cancelled"));
    } else if (id == IDM_HELPMANUAL) {
      log(ui_.WGSHELLEXE("/tmp/orvela help/help.en.html") ? "opened" : "not opened");
    } else if (id == IDM_HELPWWW) {
      log(ui_.RUNWEB("orvela.example.org/start") ? "opened" : "not opened");
    } else if (id == IDM_HELPMAIL) {
      log(ui_.RUNMAIL("author@example.org") ? "opened" : "not opened");
    } else if (id == IDM_CLOSE) {
      ui_.request_close();
    } else if (id == IDM_SAYHLEVEL) {
      // A failure nobody foresaw, in a command and in a call posted to the
      // window's thread: both reach the app, and the window goes on.
      ui_.post([] { throw std::runtime_error("posted failure"); });
      throw std::runtime_error("command failure");
    } else if (id == IDM_SAYTYPE) {
      ui_.show_spoken("Crossing of \u017b\u00f3\u0142ta street\nPark lane");
    }
  }
  void on_focus(bool gained) override { log(gained ? "focus on" : "focus off"); }
  void on_init_menu() override {
    log("init menu");
    ui_.set_item_checked(IDM_MUTE, muted_);
    ui_.set_item_checked(IDM_MONO, true);
    ui_.set_item_enabled(IDM_AREAPOINTS, false);
  }
  void on_menu_loop(bool entered) override { log(entered ? "menu open" : "menu closed"); }
  void on_mouse_move(int dx, int dy) override {
    log("mouse " + std::to_string(dx) + " " + std::to_string(dy));
  }
  void on_mouse_click(MouseButton b, uint32_t) override {
    log(b == MouseButton::Left ? "click left" : "click right");
  }
  void on_unexpected_error(const std::string& what) override { log("unexpected " + what); }
  bool on_close_requested() override {
    log("close");
    return ui_.WGTN("Really quit program");
  }

 private:
  void run_task() {
    BgTask t;
    t.texts = {"Searching", "Start point:", "Starting"};
    t.work = [](BgProgress& p) {
      for (int i = 0; i < 600 && !p.BGPROCESCANCEL(); ++i) {
        if (i % 10 == 0) p.BGPROCESINFO("Step " + std::to_string(i / 10));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
      // Tidying up after Cancel takes a while: the dialog has to wait for it.
      if (p.BGPROCESCANCEL()) std::this_thread::sleep_for(std::chrono::milliseconds(4000));
      return BgResult{p.BGPROCESCANCEL() ? 1 : 0, "", false};
    };
    const BgResult r = ui_.BGPROCES(std::move(t));
    log(std::string("task ") + (r.cancelled ? "cancelled" : "finished") + " " +
        std::to_string(r.LASTERR));
  }

 public:
  void log(const std::string& line) { log_ << line << std::endl; }

 private:
  Ui& ui_;
  std::ofstream log_;
  bool muted_ = false;
  bool use_mouse_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: orvela_window_probe LOGFILE\n";
    return 2;
  }
  const char* log_path = argv[1];
  const char* home = std::getenv("HOME");
  auto instance =
      SingleInstance::ONEINSTCHECK(std::string(home ? home : "/tmp") + "/.orvela-probe.sock", true);
  if (!instance) return 3;  // the running copy has been brought forward
  auto ui = orvela::ui::wx::WGINIT(argc, argv, {"Orvela window test"});
  if (!ui) {
    std::cerr << "no display\n";
    return 77;
  }
  ui->set_menu(probe_menu());
  ui->show_spoken("Welcome to Orvela");
  Probe probe(*ui, log_path);
  Ui& window = *ui;
  instance->on_raise([&window, &probe] {
    window.post([&window, &probe] {
      window.raise();
      probe.log("raised");
    });
  });
  ui->run(probe);
  instance.reset();  // no more calls into the window once it is gone
  return 0;
}
