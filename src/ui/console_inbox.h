#pragma once
// What the console's window thread waits for: calls posted from any thread
// (Ui::post, the background worker) and the next input line. Lines are read
// on a thread of their own, one at a time and only when asked for, so the
// window's thread can wait for a line and still handle a task's progress or
// a GPS update the moment it arrives.
#include <chrono>
#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <string>

namespace orvela::ui {

class ConsoleInbox {
 public:
  using Clock = std::chrono::steady_clock;

  explicit ConsoleInbox(std::istream& in);
  ~ConsoleInbox();
  ConsoleInbox(const ConsoleInbox&) = delete;
  ConsoleInbox& operator=(const ConsoleInbox&) = delete;

  // Any thread. Calls run in the order they were posted.
  void post(std::function<void()> fn);

  struct Item {
    enum Kind { Call, Line, EndOfInput, Timeout } kind;
    std::function<void()> call;
    std::string line;
  };
  // Waits for a posted call or, with `want_line`, the next input line (a
  // trailing CR removed) or the end of input; gives up at `deadline`.
  // Posted calls come first.
  Item wait(bool want_line, std::optional<Clock::time_point> deadline = std::nullopt);
  // The next input line, ignoring posted calls; nothing at the end of input.
  std::optional<std::string> read_line();
  // Puts a line back: the next wait or read_line returns it again.
  void unread(std::string line);

 private:
  struct State;
  std::shared_ptr<State> state_;
};

}  // namespace orvela::ui
