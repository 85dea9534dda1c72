#include "text/messages.h"

namespace orvela::text {

void Messages::EDA(const std::string& s) {
  lastsay_ = s;
  if (s.empty()) return;
  speech_->SAYSTR(s, speakinterrupt_);
  speakinterrupt_ = true;
}

void Messages::EDANOINT(const std::string& s) {
  EDA(s);
  speakinterrupt_ = false;
}

}  // namespace orvela::text
