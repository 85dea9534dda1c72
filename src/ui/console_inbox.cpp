#include "ui/console_inbox.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

namespace orvela::ui {

struct ConsoleInbox::State : std::enable_shared_from_this<State> {
  explicit State(std::istream& s) : in(&s) {}
  std::istream* in;
  std::mutex mutex;
  std::condition_variable cv;
  std::deque<std::function<void()>> calls;
  std::optional<std::string> line;  // read and not yet taken
  bool eof = false;
  bool want = false;  // the reader has been asked for a line
  bool stop = false;
  std::thread reader;

  // The reader thread: one line per request, so nothing is read ahead of
  // what the program asks for.
  static void read_loop(std::shared_ptr<State> s) {
    std::unique_lock lock(s->mutex);
    while (true) {
      s->cv.wait(lock, [&] { return s->want || s->stop; });
      if (s->stop) {
        s->want = false;  // the request dies with the inbox
        s->cv.notify_all();
        return;
      }
      lock.unlock();
      std::string text;
      const bool ok = static_cast<bool>(std::getline(*s->in, text));
      lock.lock();
      s->want = false;
      if (!ok) {
        s->eof = true;
        s->cv.notify_all();
        return;
      }
      if (!text.empty() && text.back() == '\r') text.pop_back();
      s->line = std::move(text);
      s->cv.notify_all();
    }
  }

  void ask_reader() {
    if (want) return;
    want = true;
    if (!reader.joinable()) reader = std::thread(read_loop, shared_from_this());
    cv.notify_all();
  }
};

ConsoleInbox::ConsoleInbox(std::istream& in) : state_(std::make_shared<State>(in)) {}

ConsoleInbox::~ConsoleInbox() {
  std::unique_lock lock(state_->mutex);
  state_->stop = true;
  state_->cv.notify_all();
  // A line asked for and not yet read: from a file, a pipe or a string it
  // comes at once; a terminal may never send it, and that reader is left to
  // end with the process (it owns its state; the stream is std::cin).
  const bool answered =
      state_->cv.wait_for(lock, std::chrono::milliseconds(500), [&] { return !state_->want; });
  lock.unlock();
  if (!state_->reader.joinable()) return;
  if (answered)
    state_->reader.join();
  else
    state_->reader.detach();
}

void ConsoleInbox::post(std::function<void()> fn) {
  std::lock_guard lock(state_->mutex);
  state_->calls.push_back(std::move(fn));
  state_->cv.notify_all();
}

ConsoleInbox::Item ConsoleInbox::wait(bool want_line, std::optional<Clock::time_point> deadline) {
  State& s = *state_;
  std::unique_lock lock(s.mutex);
  while (true) {
    if (!s.calls.empty()) {
      Item item{Item::Call, std::move(s.calls.front()), {}};
      s.calls.pop_front();
      return item;
    }
    if (want_line) {
      if (s.line) return Item{Item::Line, {}, *std::exchange(s.line, std::nullopt)};
      if (s.eof) return Item{Item::EndOfInput, {}, {}};
      s.ask_reader();
    }
    if (!deadline) {
      s.cv.wait(lock);
    } else if (s.cv.wait_until(lock, *deadline) == std::cv_status::timeout) {
      return Item{Item::Timeout, {}, {}};
    }
  }
}

std::optional<std::string> ConsoleInbox::read_line() {
  State& s = *state_;
  std::unique_lock lock(s.mutex);
  while (true) {
    if (s.line) return std::exchange(s.line, std::nullopt);
    if (s.eof) return std::nullopt;
    s.ask_reader();
    s.cv.wait(lock);
  }
}

void ConsoleInbox::unread(std::string line) {
  std::lock_guard lock(state_->mutex);
  state_->line = std::move(line);
}

}  // namespace orvela::ui
