#pragma once
// A console front end on string streams, and an event handler that records
// what the window told the app.
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "ui/console_ui.h"

namespace orvela::ui::test {

struct Console {
  explicit Console(std::string input) : in(std::move(input)), ui(in, out, err) {}

  std::vector<std::string> lines(const std::ostringstream& s) const {
    std::vector<std::string> v;
    std::istringstream split(s.str());
    for (std::string l; std::getline(split, l);) v.push_back(l);
    return v;
  }
  std::vector<std::string> out_lines() const { return lines(out); }
  std::vector<std::string> err_lines() const { return lines(err); }

  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  ConsoleUi ui;
};

class Recorder : public EventHandler {
 public:
  void on_command(int id) override {
    events.push_back("command " + std::to_string(id));
    if (auto it = actions.find(id); it != actions.end()) it->second();
  }
  void on_focus(bool gained) override { events.push_back(gained ? "focus on" : "focus off"); }
  void on_init_menu() override { events.push_back("init menu"); }
  void on_menu_loop(bool entered) override {
    events.push_back(entered ? "menu open" : "menu closed");
  }
  bool on_close_requested() override {
    events.push_back("close");
    return close_answer ? close_answer() : true;
  }
  void on_mouse_move(int dx, int dy) override {
    events.push_back("mouse " + std::to_string(dx) + " " + std::to_string(dy));
  }
  void on_mouse_click(MouseButton b, uint32_t time_ms) override {
    events.push_back((b == MouseButton::Left ? "click left at " : "click right at ") +
                     std::to_string(time_ms));
  }

  void on_unexpected_error(const std::string& what) override {
    events.push_back("unexpected " + what);
  }

  std::vector<std::string> events;
  std::map<int, std::function<void()>> actions;
  std::function<bool()> close_answer;
};

}  // namespace orvela::ui::test
