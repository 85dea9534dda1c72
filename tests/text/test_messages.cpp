#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/distance.h"
#include "text/messages.h"
#include "text/translate.h"

namespace orvela::text {
namespace {

TEST(TokenReplace, FillsPlaceholders) {
  using Pairs = std::vector<std::string>;
  struct Case {
    const char* what;
    std::string text;
    Pairs pairs;
    std::string expected;
  };
  const Case cases[] = {
      {"one placeholder",
       "Can not create {dir} directory.",
       {"dir", "/home/ala/maps"},
       "Can not create /home/ala/maps directory."},
      {"pairs in any order", "{a} to {b}", {"b", "Kraków", "a", "Łódź"}, "Łódź to Kraków"},
      {"unknown name vanishes", "Go {nowhere}now.", {"dir", "x"}, "Go now."},
      {"closing brace repeats the last value", "{n}} items", {"n", "5"}, "55 items"},
      {"closing brace before any opening one", "a}b {n}", {"n", "1"}, "ab 1"},
      {"two opening braces count as one", "x{{n}y", {"n", "7"}, "x7y"},
      {"text before a second brace is dropped", "x{ab{n}y", {"n", "7"}, "x7y"},
      {"unclosed placeholder drops the rest", "start {n tail", {"n", "7"}, "start "},
      {"names are case-sensitive", "{N}", {"n", "7"}, ""},
      {"first pair of a name wins", "{n}", {"n", "1", "n", "2"}, "1"},
      {"multi-byte text passes through", "Północ {d}°", {"d", "12"}, "Północ 12°"},
      {"the empty name", "}", {"", "e"}, "e"},
      {"value with braces is not scanned again", "{a}", {"a", "{b}", "b", "x"}, "{b}"},
  };
  for (const auto& c : cases) EXPECT_EQ(STRTOKENREPLACE(c.text, c.pairs), c.expected) << c.what;
}

class RecordingSpeech final : public Speech {
 public:
  struct Said {
    std::string text;
    bool interrupt;
    bool operator==(const Said&) const = default;
  };
  void SAYSTR(std::string_view text, bool interrupt) override {
    said.push_back({std::string(text), interrupt});
  }
  std::vector<Said> said;
};

TEST(Messages, InterruptAndQueue) {
  using Said = RecordingSpeech::Said;
  enum Call { kEda, kNoInt };
  struct Step {
    Call call;
    std::string text;
  };
  struct Case {
    const char* what;
    std::vector<Step> steps;
    std::vector<Said> spoken;
    std::string last;
  };
  const Case cases[] = {
      {"the first message interrupts", {{kEda, "A"}}, {{"A", true}}, "A"},
      {"after EDANOINT one message queues",
       {{kNoInt, "A"}, {kEda, "B"}, {kEda, "C"}},
       {{"A", true}, {"B", false}, {"C", true}},
       "C"},
      {"empty text is remembered, not spoken, and keeps the queueing",
       {{kNoInt, "A"}, {kEda, ""}, {kEda, "B"}},
       {{"A", true}, {"B", false}},
       "B"},
      {"empty text as the last message", {{kEda, "A"}, {kEda, ""}}, {{"A", true}}, ""},
      {"two EDANOINT in a row queue each other",
       {{kNoInt, "A"}, {kNoInt, "B"}, {kEda, "C"}},
       {{"A", true}, {"B", false}, {"C", false}},
       "C"},
  };
  for (const auto& c : cases) {
    RecordingSpeech speech;
    Messages msg(speech);
    for (const auto& s : c.steps) s.call == kEda ? msg.EDA(s.text) : msg.EDANOINT(s.text);
    EXPECT_EQ(speech.said, c.spoken) << c.what;
    EXPECT_EQ(msg.LASTSAY(), c.last) << c.what;
  }
}

TEST(Distance, WordsForMetresAndKilometres) {
  struct Case {
    int32_t metres;
    std::string words;
  };
  const Case cases[] = {
      {0, "0 metres"},
      {1999, "1999 metres"},
      {2000, "2 kilometres"},
      {2345, "2.3 kilometres"},
      {2500, "2.5 kilometres"},
      {2050, "2.1 kilometres"},  // half a hundred rounds away from zero
      {2049, "2 kilometres"},
      {9999, "10 kilometres"},
      {10000, "10 kilometres"},
      {123456, "123.5 kilometres"},
      {20037508, "20037.5 kilometres"},
  };
  for (const auto& c : cases) EXPECT_EQ(DISTANCETOSTR(c.metres), c.words) << c.metres;
}

}  // namespace
}  // namespace orvela::text
