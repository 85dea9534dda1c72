#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <sstream>
#include <streambuf>
#include <thread>

#include "ui/console_inbox.h"

namespace orvela::ui {
namespace {

using Item = ConsoleInbox::Item;

TEST(ConsoleInbox, LinesComeOneAtATimeAndCanBePutBack) {
  std::istringstream in("first\r\nsecond\nthird");
  ConsoleInbox inbox(in);
  EXPECT_EQ(inbox.read_line(), "first");
  Item item = inbox.wait(true);
  ASSERT_EQ(item.kind, Item::Line);
  EXPECT_EQ(item.line, "second");
  inbox.unread("second");
  EXPECT_EQ(inbox.read_line(), "second");
  EXPECT_EQ(inbox.read_line(), "third");
  EXPECT_EQ(inbox.read_line(), std::nullopt);
  EXPECT_EQ(inbox.wait(true).kind, Item::EndOfInput);
}

TEST(ConsoleInbox, PostedCallsComeBeforeLinesAndInOrder) {
  std::istringstream in("line\n");
  ConsoleInbox inbox(in);
  std::thread t([&] {
    for (int i = 0; i < 3; ++i) inbox.post([] {});
  });
  t.join();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(inbox.wait(true).kind, Item::Call);
  EXPECT_EQ(inbox.wait(true).kind, Item::Line);
  // Without wanting a line, an empty inbox times out.
  EXPECT_EQ(inbox.wait(false, ConsoleInbox::Clock::now()).kind, Item::Timeout);
}

// A pipe whose writer takes a moment for every line.
class SlowText : public std::streambuf {
 public:
  explicit SlowText(std::string text) : text_(std::move(text)) {}

 protected:
  int_type underflow() override {
    if (pos_ >= text_.size()) return traits_type::eof();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const std::size_t end = std::min(text_.size(), text_.find('\n', pos_) + 1);
    chunk_ = text_.substr(pos_, end - pos_);
    pos_ = end;
    setg(chunk_.data(), chunk_.data(), chunk_.data() + chunk_.size());
    return traits_type::to_int_type(chunk_[0]);
  }

 private:
  std::string text_, chunk_;
  std::size_t pos_ = 0;
};

TEST(ConsoleInbox, GoingAwayWhileALineIsBeingReadWaitsForIt) {
  // The stream dies right after the inbox; a reader left running on it
  // would read freed memory (the sanitizer run catches that).
  for (int i = 0; i < 20; ++i) {
    auto buf = std::make_unique<SlowText>("first\nsecond\n");
    auto in = std::make_unique<std::istream>(buf.get());
    {
      ConsoleInbox inbox(*in);
      inbox.wait(true, ConsoleInbox::Clock::now() + std::chrono::milliseconds(i % 2 ? 10 : 0));
    }
    in.reset();
    buf.reset();
  }
}

}  // namespace
}  // namespace orvela::ui
