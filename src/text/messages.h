#pragma once
// Spoken messages: every text the user hears goes through EDA or EDANOINT,
// which also keep it as the last message for the "Display last spoken
// message" command.
#include <string>

#include "text/speech.h"

namespace orvela::text {

class Messages {
 public:
  explicit Messages(Speech& speech) : speech_(&speech) {}

  // Speaks `s` and remembers it. An empty text is remembered but not spoken.
  void EDA(const std::string& s);
  // Speaks `s` like EDA; the next message is queued behind it instead of
  // cutting it off (only that one).
  void EDANOINT(const std::string& s);

  const std::string& LASTSAY() const { return lastsay_; }
  bool SPEAKINTERRUPT() const { return speakinterrupt_; }
  void clear() { lastsay_.clear(); }

  // Swaps the backend (start-up installs speech-dispatcher once it is reachable).
  void set_speech(Speech& speech) { speech_ = &speech; }

 private:
  Speech* speech_;
  std::string lastsay_;
  bool speakinterrupt_ = true;
};

}  // namespace orvela::text
