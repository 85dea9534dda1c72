#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "fake_ssip_server.h"
#include "support/test_env.h"
#include "text/messages.h"
#include "text/speech_speechd.h"

namespace orvela::text {
namespace {

// Sets an environment variable for the lifetime of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() { had_ ? setenv(name_, old_.c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  bool had_ = false;
  std::string old_;
};

// The commands that matter for speaking: cancels and spoken texts.
std::vector<std::string> speech_commands(const std::vector<std::string>& all) {
  std::vector<std::string> out;
  for (const auto& c : all)
    if (c.starts_with("SPEAK") || c.starts_with("CANCEL")) out.push_back(c);
  return out;
}

// A fake server on a fresh socket, and a connection to it.
struct Connected {
  test::TempDir dir;
  std::string socket = (dir / "speechd.sock").string();
  test::FakeSsipServer server{socket};
  std::string error;
  std::unique_ptr<SpeechDispatcher> speech = SpeechDispatcher::open("orvela", error, socket);
};

TEST(SpeechDispatcher, InterruptCancelsThenSpeaksAndQueuesOtherwise) {
  Connected c;
  ASSERT_NE(c.speech, nullptr) << c.error;

  Messages msg(*c.speech);
  msg.EDANOINT("Kraków, Rynek Główny");
  msg.EDA("queued behind");
  msg.EDA("line one\n.\nline three");  // a lone dot must not end the message early
  c.speech.reset();                    // closes the connection

  std::vector<std::string> expected = {
      "CANCEL SELF", "SPEAK message Kraków, Rynek Główny",    "SPEAK message queued behind",
      "CANCEL SELF", "SPEAK message line one\n.\nline three",
  };
  auto got = speech_commands(c.server.commands());
  ASSERT_EQ(got.size(), expected.size());
  for (std::size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], expected[i]) << i;
}

TEST(SpeechDispatcher, FindsTheServerThroughTheEnvironment) {
  test::TempDir dir;
  std::string socket = (dir / "speechd.sock").string();
  test::FakeSsipServer server(socket);
  std::string error;
  auto speech = [&] {
    ScopedEnv env("SPEECHD_ADDRESS", "unix_socket:" + socket);
    return SpeechDispatcher::open("orvela", error);
  }();
  ASSERT_NE(speech, nullptr) << error;
  speech->SAYSTR("hello", false);
  EXPECT_EQ(speech_commands(server.commands()), std::vector<std::string>{"SPEAK message hello"});
}

// The speech server going away mid-run (restarted, crashed) must not take
// the program with it: writing to the dead socket would raise SIGPIPE.
TEST(SpeechDispatcher, ServerGoneAwayLeavesTheProgramRunning) {
  test::TempDir dir;
  std::string socket = (dir / "speechd.sock").string();
  auto server = std::make_unique<test::FakeSsipServer>(socket);
  std::string error;
  auto speech = SpeechDispatcher::open("orvela", error, socket);
  ASSERT_NE(speech, nullptr) << error;
  speech->SAYSTR("before", true);
  server.reset();
  for (int i = 0; i < 3; ++i) {
    speech->SAYSTR("after", i % 2 == 0);
    speech->SAYSTR(std::string(100000, 'x'), false);
  }
  // A server back on the same socket gets the next text.
  server = std::make_unique<test::FakeSsipServer>(socket);
  speech->SAYSTR("back again", false);
  auto got = speech_commands(server->commands());
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.back(), "SPEAK message back again");
}

// Runs `call`, which must return. One still blocked after a minute never
// will: the test program ends there, as a frozen program would for its user.
template <class Call>
auto must_return(const char* what, Call call) {
  auto result = std::async(std::launch::async, call);
  if (result.wait_for(std::chrono::minutes(1)) != std::future_status::ready) {
    std::fprintf(stderr, "%s never returned\n", what);
    std::abort();
  }
  return result.get();
}

// A speech server that hangs must not freeze the program: a text it does
// not answer is lost after a few seconds, and once it answers again the
// next text is spoken.
TEST(SpeechDispatcher, HungServerDelaysButNeverFreezesTheProgram) {
  Connected c;
  ASSERT_NE(c.speech, nullptr) << c.error;

  c.server.set_answering(false);
  must_return("interrupting speech", [&] { c.speech->SAYSTR("unanswered", true); });
  must_return("queued speech", [&] { c.speech->SAYSTR("unanswered", false); });
  // Nor does a hung server keep a new connection waiting.
  std::string why;
  bool refused =
      must_return("connecting", [&] { return !SpeechDispatcher::open("orvela", why, c.socket); });
  EXPECT_TRUE(refused);
  EXPECT_NE(why.find("does not answer"), std::string::npos) << why;

  c.server.set_answering(true);
  c.speech->SAYSTR("answered", false);
  auto got = speech_commands(c.server.commands());
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.back(), "SPEAK message answered");
}

TEST(SpeechDispatcher, NoServerMeansNoSpeechAndNoWait) {
  test::TempDir dir;
  std::string missing = (dir / "nobody-listens.sock").string();
  std::string error;
  EXPECT_EQ(SpeechDispatcher::open("orvela", error, missing), nullptr);
  EXPECT_NE(error.find(missing), std::string::npos) << error;

  // The program's voice falls back to silence and says why.
  std::string note;
  auto voice = [&] {
    ScopedEnv env("SPEECHD_ADDRESS", "unix_socket:" + missing);
    return open_system_speech("orvela", note);
  }();
  ASSERT_NE(voice, nullptr);
  EXPECT_EQ(dynamic_cast<SpeechDispatcher*>(voice.get()), nullptr);
  EXPECT_NE(note.find(missing), std::string::npos) << note;
  Messages msg(*voice);
  msg.EDA("still here");
  EXPECT_EQ(msg.LASTSAY(), "still here");
}

}  // namespace
}  // namespace orvela::text
