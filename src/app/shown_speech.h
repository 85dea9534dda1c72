#pragma once
// Speech that also shows each text in the main window, so a message reaches
// the person even when no speech server answers.
#include "text/speech.h"
#include "ui/ui.h"

namespace orvela::app {

class ShownSpeech final : public text::Speech {
 public:
  ShownSpeech(ui::Ui& ui, text::Speech& voice) : ui_(&ui), voice_(&voice) {}
  void SAYSTR(std::string_view text, bool interrupt) override {
    ui_->show_spoken(std::string(text));
    voice_->SAYSTR(text, interrupt);
  }

 private:
  ui::Ui* ui_;
  text::Speech* voice_;
};

}  // namespace orvela::app
