#include "ui/console_ui.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <sstream>
#include <stdexcept>

#include "text/strutil.h"
#include "ui/bg_runner.h"
#include "ui/file_choice.h"

namespace orvela::ui {

namespace {

std::string trim(const std::string& s) { return std::string(text::trim(s)); }

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::string cur;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.push_back(std::move(cur));
      cur.clear();
    } else {
      cur += text[i];
    }
  }
  if (!cur.empty() || lines.empty()) lines.push_back(std::move(cur));
  return lines;
}

// "\n" written in an answer line stands for a line break.
std::string unescape_line_breaks(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 'n') {
      out += '\n';
      ++i;
    } else {
      out += s[i];
    }
  }
  return out;
}

template <class T>
std::optional<T> number(const std::string& s) {
  T v{};
  const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || p != s.data() + s.size()) return std::nullopt;
  return v;
}

}  // namespace

// The progress dialog of a background task: a "PROGRESS" line when it opens
// and whenever one of its texts changes.
class ConsoleUi::ProgressLines final : public BgView {
 public:
  ProgressLines(ConsoleOutput& out, BgTexts texts) : out_(&out), texts_(std::move(texts)) {
    print();
  }
  void set_text(BgTarget target, const std::string& text) override {
    (target == BGPROCESTYT     ? texts_.title
     : target == BGPROCESNAZWA ? texts_.label
                               : texts_.text) = text;
    print();
  }
  void close() override {}

 private:
  void print() { out_->event("PROGRESS", texts_.title + ": " + texts_.label + ": " + texts_.text); }
  ConsoleOutput* out_;
  BgTexts texts_;
};

ConsoleUi::ConsoleUi(std::istream& in, std::ostream& out, std::ostream& err)
    : out_(out), err_(&err), speech_(out_), inbox_(in) {}

ConsoleUi::~ConsoleUi() = default;

std::optional<std::string> ConsoleUi::read_answer() {
  while (true) {
    auto line = inbox_.read_line();
    // The mouse keeps working while a dialog waits (the calibration of the
    // mouse listens to it); the dialog goes on waiting for its answer.
    if (line && handle_mouse(trim(*line))) continue;
    return line;
  }
}

bool ConsoleUi::handle_mouse(const std::string& line) {
  std::istringstream words(line);
  std::string verb, a, b, extra;
  words >> verb >> a >> b >> extra;
  if (!extra.empty()) return false;
  if (verb == ":mouse" && number<int>(a) && number<int>(b)) {
    if (handler_) handler_->on_mouse_move(*number<int>(a), *number<int>(b));
  } else if (verb == ":click" && b.empty() && (a == "left" || a == "right")) {
    if (handler_)
      handler_->on_mouse_click(a == "left" ? MouseButton::Left : MouseButton::Right, script_ms_);
  } else {
    return false;
  }
  return true;
}

void ConsoleUi::complain(const std::string& what) {
  *err_ << what << '\n';
  err_->flush();
}

// ---- dialogs ---------------------------------------------------------------

void ConsoleUi::message_box(const std::string& /*title*/, const std::string& text) {
  out_.event("INFO", text);
}

bool ConsoleUi::ask(const std::string& /*title*/, const std::string& question, bool default_yes) {
  out_.event("ASK", question);
  while (true) {
    const auto line = read_answer();
    if (!line) return default_yes;
    const std::string a = lower(trim(*line));
    if (a.empty()) return default_yes;
    if (a == "y" || a == "yes") return true;
    if (a == "n" || a == "no") return false;
    complain("Answer y or n: " + *line);
  }
}

std::optional<std::string> ConsoleUi::read_string(const std::string& title,
                                                  const std::string& prompt,
                                                  const std::string& initial, bool /*password*/) {
  out_.event("INPUT", title + ": " + prompt + " [" + initial + "]");
  const auto line = read_answer();
  // After the end of input only questions take their default; every other
  // dialog is cancelled, so that no answer is ever made up.
  if (!line || *line == ":cancel") return std::nullopt;
  if (*line == ":default") return initial;
  return *line;
}

std::optional<std::string> ConsoleUi::read_multiline(const std::string& title,
                                                     const std::string& prompt,
                                                     const std::string& text, bool read_only) {
  out_.event("TEXT", title + ": " + prompt);
  for (const std::string& l : split_lines(text)) out_.raw("| " + l);
  while (true) {
    const auto line = read_answer();
    if (!line || *line == ":cancel") return std::nullopt;
    if (line->empty()) return text;
    // An editable text may be replaced by one answer line ("\n" for breaks).
    if (!read_only) return unescape_line_breaks(*line);
    complain("The text is read-only: press Enter (an empty line) or :cancel");
  }
}

std::optional<std::size_t> ConsoleUi::read_list(const std::string& title, const std::string& prompt,
                                                const std::vector<std::string>& entries,
                                                std::size_t preselect) {
  if (preselect >= entries.size()) preselect = 0;
  out_.event("LIST", title + ": " + prompt);
  for (std::size_t i = 0; i < entries.size(); ++i)
    out_.event(i == preselect ? "*" : " ", std::to_string(i + 1) + ". " + entries[i]);
  while (true) {
    const auto line = read_answer();
    if (!line) return std::nullopt;
    const std::string a = trim(*line);
    if (a == "0" || a == ":cancel" || entries.empty()) return std::nullopt;
    if (a.empty()) return preselect;
    const auto n = number<std::size_t>(a);
    if (n && *n >= 1 && *n <= entries.size()) return *n - 1;
    complain("No such entry: " + a);
  }
}

std::optional<std::filesystem::path> ConsoleUi::choose_file(
    FileMode mode, const std::string& title, const std::vector<FileFilter>& filters,
    const std::filesystem::path& /*initial*/, const std::string& default_ext) {
  out_.event("FILE", title + " [" + filter_text(filters) + "]");
  const auto line = read_answer();
  // Without a typed path there is nothing to choose: like Cancel.
  if (!line || line->empty() || *line == ":cancel") return std::nullopt;
  return with_default_ext(*line, mode, default_ext);
}

// ---- background task -------------------------------------------------------

BgResult ConsoleUi::BGPROCES(BgTask task) {
  ProgressLines view(out_, task.texts);
  BgRunner runner(
      std::move(task), [this](std::function<void()> fn) { inbox_.post(std::move(fn)); }, view);
  runner.start();
  // Only ":cancel" is for the dialog; any other line waits for the task's end.
  bool line_held = false;
  while (!runner.ended()) {
    ConsoleInbox::Item item = inbox_.wait(!line_held);
    if (item.kind == ConsoleInbox::Item::Call) {
      item.call();
    } else if (item.kind == ConsoleInbox::Item::Line) {
      if (trim(item.line) == ":cancel") {
        runner.cancel();
      } else {
        inbox_.unread(std::move(item.line));
        line_held = true;
      }
    } else {
      line_held = true;  // end of input: the task runs to its end
    }
  }
  return runner.finish();
}

// ---- the desktop and the window --------------------------------------------

bool ConsoleUi::WGSHELLEXE(const std::string& target) {
  out_.event("OPEN", target);
  return true;
}

bool ConsoleUi::copy_files_to_clipboard(const std::vector<std::filesystem::path>& files) {
  for (const auto& f : files) out_.event("CLIPBOARD", f.string());
  return !files.empty();
}

bool ConsoleUi::show_file_in_folder(const std::filesystem::path& file) {
  out_.event("OPEN", file.parent_path().string());
  return true;
}

void ConsoleUi::WGSETWINTEXTSTR(const std::string& title) { out_.event("TITLE", title); }

void ConsoleUi::set_menu(MenuBar bar) { menu_ = std::move(bar); }

void ConsoleUi::set_item_enabled(int id, bool enabled) {
  if (enabled)
    disabled_.erase(id);
  else
    disabled_.insert(id);
}

void ConsoleUi::set_item_checked(int id, bool checked) {
  if (checked)
    checked_.insert(id);
  else
    checked_.erase(id);
}

bool ConsoleUi::is_item_enabled(int id) const { return !disabled_.contains(id); }
bool ConsoleUi::is_item_checked(int id) const { return checked_.contains(id); }

void ConsoleUi::post(std::function<void()> fn) { inbox_.post(std::move(fn)); }

// ---- the main loop -----------------------------------------------------------

void ConsoleUi::run(EventHandler& handler) {
  handler_ = &handler;
  closed_ = false;
  while (!closed_) {
    ConsoleInbox::Item item = inbox_.wait(true);
    // As in the window: the app reports its own failures; anything that
    // still escapes a command is logged and the program carries on.
    try {
      if (item.kind == ConsoleInbox::Item::Call)
        item.call();
      else if (item.kind == ConsoleInbox::Item::Line)
        handle_line(item.line);
      else
        close_at_end_of_input();
    } catch (const std::exception& e) {
      unexpected_error(e.what());
    } catch (...) {
      unexpected_error("unknown error");
    }
  }
  handler_ = nullptr;
}

void ConsoleUi::unexpected_error(const std::string& what) {
  complain("orvela: unhandled error in a command: " + what);
  if (!handler_) return;
  try {
    handler_->on_unexpected_error(what);
  } catch (...) {
    // Reporting failed as well; stderr has it.
  }
}

void ConsoleUi::request_close() {
  if (handler_ && !closed_ && handler_->on_close_requested()) closed_ = true;
}

void ConsoleUi::close_at_end_of_input() {
  // Questions on the way take their default answers (no more lines come).
  request_close();
  if (!closed_) complain("End of input: closing although the close was refused");
  closed_ = true;
}

void ConsoleUi::handle_line(const std::string& raw) {
  const std::string line = trim(raw);
  if (line.empty() || line.front() == '#') return;
  if (line.front() == ':' && line.size() > 1) {
    if (!handle_directive(line)) complain("Unknown command: " + line);
    return;
  }
  if (const int id = command_for(line))
    handler_->on_command(id);
  else
    complain("Unknown command: " + line);
}

bool ConsoleUi::handle_directive(const std::string& line) {
  std::istringstream words(line);
  std::string verb, a, b, extra;
  words >> verb >> a >> b >> extra;
  if (!extra.empty()) return false;
  if (handle_mouse(line)) return true;
  if (verb == ":quit" && a.empty()) {
    request_close();
  } else if (verb == ":wait" && b.empty() && number<long>(a)) {
    wait_ms(*number<long>(a));
  } else if (verb == ":focus" && b.empty() && (a == "on" || a == "off")) {
    handler_->on_focus(a == "on");
  } else if (verb == ":cancel" && a.empty()) {
    complain("No background task to cancel");
  } else {
    return false;
  }
  return true;
}

void ConsoleUi::wait_ms(long ms) {
  // Script time: what a click's time stamp counts in, so that a script says
  // exactly which clicks are quick ones, however busy the machine is.
  script_ms_ += static_cast<uint32_t>(std::max(0L, ms));
  const auto deadline = ConsoleInbox::Clock::now() + std::chrono::milliseconds(std::max(0L, ms));
  while (!closed_) {
    ConsoleInbox::Item item = inbox_.wait(false, deadline);
    if (item.kind != ConsoleInbox::Item::Call) return;
    item.call();
  }
}

int ConsoleUi::command_for(const std::string& line) const {
  if (const MenuItem* item = menu_.find(line)) return item->id;
  const auto accel = parse_accel(line);
  if (!accel) return 0;
  if (const int id = menu_.command_for(*accel)) return id;
  // A key the menu only shows, such as the system's Alt+F4 for Quit.
  int found = 0;
  auto visit = [&](const std::vector<MenuItem>& items, auto& self) -> void {
    for (const MenuItem& it : items) {
      if (found) return;
      if (!it.is_popup() && !it.key_text.empty() && parse_accel(it.key_text) == accel)
        found = it.id;
      self(it.children, self);
    }
  };
  visit(menu_.menus, visit);
  return found;
}

}  // namespace orvela::ui
