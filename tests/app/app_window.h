#pragma once
// The whole program on a console front end fed with the person's answers,
// its home in a scratch folder: what a command says and asks is read back
// from the console's lines.
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "app/startup.h"
#include "support/test_env.h"
#include "ui/console_ui.h"

namespace orvela::app::test {

// The command items under `items`, submenus opened, in menu order.
inline void collect_items(const std::vector<ui::MenuItem>& items,
                          std::vector<const ui::MenuItem*>& out) {
  for (const ui::MenuItem& it : items) {
    if (it.is_popup())
      collect_items(it.children, out);
    else
      out.push_back(&it);
  }
}

class Window {
 public:
  explicit Window(const std::string& answers, const std::string& lang = "en")
      : in_(answers),
        ui_(in_, out_, err_),
        app_(ui_, ui_.speech(), Paths(Paths::running_program_dir(), home_.path()), lang) {
    INIT(app_.paths(), ui_);
    ui_.set_menu(app_.menu_bar());
  }
  App& app() { return app_; }
  ui::ConsoleUi& ui() { return ui_; }
  int id(const char* name) { return app_.commands().id_of(name); }
  // Runs the command named `name` as the menu or its key would.
  void command(const char* name) { app_.on_command(id(name)); }
  // What the program printed since the last call.
  std::string out() {
    std::string s = out_.str();
    out_.str("");
    return s;
  }

 private:
  orvela::test::TempDir home_;
  std::istringstream in_;
  std::ostringstream out_, err_;
  ui::ConsoleUi ui_;
  App app_;
};

}  // namespace orvela::app::test
