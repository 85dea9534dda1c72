#pragma once
// The console front end: the whole program on a pair of streams. Every
// dialog, spoken text and window change is one line on `out`; answers and
// commands are lines read from `in` (the contract is the console-mode page
// in the project documentation). Diagnostics go to `err`.
#include <cstdint>
#include <istream>
#include <ostream>
#include <set>
#include <string>

#include "ui/console_inbox.h"
#include "ui/console_output.h"
#include "ui/ui.h"

namespace orvela::ui {

class ConsoleUi final : public Ui {
 public:
  ConsoleUi(std::istream& in, std::ostream& out, std::ostream& err);
  ~ConsoleUi() override;

  // Speech that prints "SAY" lines in step with the other events.
  text::Speech& speech() { return speech_; }

  BgResult BGPROCES(BgTask task) override;
  bool WGSHELLEXE(const std::string& target) override;
  bool copy_files_to_clipboard(const std::vector<std::filesystem::path>& files) override;
  // Prints "OPEN" with the folder.
  bool show_file_in_folder(const std::filesystem::path& file) override;
  void WGSETWINTEXTSTR(const std::string& title) override;
  void show_spoken(const std::string&) override {}
  void raise() override {}
  void set_menu(MenuBar bar) override;
  void set_item_enabled(int id, bool enabled) override;
  void set_item_checked(int id, bool checked) override;
  bool is_item_enabled(int id) const override;
  bool is_item_checked(int id) const override;
  // The console's mouse is ":mouse DX DY" and ":click": nothing to capture.
  bool set_mouse_capture(bool) override { return true; }
  void MOUSETOCENTER() override {}
  void post(std::function<void()> fn) override;
  void run(EventHandler& handler) override;
  void request_close() override;

 protected:
  void message_box(const std::string& title, const std::string& text) override;
  bool ask(const std::string& title, const std::string& question, bool default_yes) override;
  std::optional<std::string> read_string(const std::string& title, const std::string& prompt,
                                         const std::string& initial, bool password) override;
  std::optional<std::string> read_multiline(const std::string& title, const std::string& prompt,
                                            const std::string& text, bool read_only) override;
  std::optional<std::size_t> read_list(const std::string& title, const std::string& prompt,
                                       const std::vector<std::string>& entries,
                                       std::size_t preselect) override;
  std::optional<std::filesystem::path> choose_file(FileMode mode, const std::string& title,
                                                   const std::vector<FileFilter>& filters,
                                                   const std::filesystem::path& initial,
                                                   const std::string& default_ext) override;

 private:
  class ProgressLines;

  void handle_line(const std::string& line);
  // The next answer line for a dialog; ":mouse" and ":click" lines on the
  // way are handed to the window's handler as mouse input.
  std::optional<std::string> read_answer();
  // Hands a ":mouse DX DY" or ":click left|right" line to the handler; false
  // for any other line.
  bool handle_mouse(const std::string& line);
  bool handle_directive(const std::string& line);
  int command_for(const std::string& line) const;
  void wait_ms(long ms);
  void close_at_end_of_input();
  void complain(const std::string& what);
  void unexpected_error(const std::string& what);

  ConsoleOutput out_;
  std::ostream* err_;
  ConsoleSpeech speech_;
  ConsoleInbox inbox_;
  MenuBar menu_;
  std::set<int> disabled_;
  std::set<int> checked_;
  EventHandler* handler_ = nullptr;
  bool closed_ = false;
  // Milliseconds of script time: the sum of the ":wait" lines so far.
  uint32_t script_ms_ = 0;
};

}  // namespace orvela::ui
