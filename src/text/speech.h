#pragma once
// The speech seam: hands a text to the screen reader or the system voice.
// Backends: speech-dispatcher (the real one), the console front end, and
// recorders in tests.
#include <string_view>

namespace orvela::text {

class Speech {
 public:
  virtual ~Speech() = default;
  // Speaks `text`. With `interrupt`, speech still in progress is cut off;
  // without it, the text is queued behind what is being said.
  virtual void SAYSTR(std::string_view text, bool interrupt) = 0;
};

// Speaks nothing; for tools and tests that only need the last message.
class SilentSpeech final : public Speech {
 public:
  void SAYSTR(std::string_view, bool) override {}
};

}  // namespace orvela::text
