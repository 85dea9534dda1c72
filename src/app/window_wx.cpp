#include <iostream>

#include "app/paths.h"
#include "app/shell_state.h"
#include "app/startup.h"
#include "app/window.h"
#include "text/speech_speechd.h"
#include "ui/wx/wx_ui.h"

namespace orvela::app {

int run_window(int& argc, char** argv, const Options& options) {
  auto instance = claim_single_instance(options);
  if (!instance) return 0;
  std::unique_ptr<ui::Ui> ui = ui::wx::WGINIT(argc, argv, ui::wx::WindowOptions{APPNAME});
  if (!ui) {
    std::cerr << "orvela: the window cannot be opened (no display?); try --console\n";
    return 0;
  }
  instance->on_raise([&ui] { ui->post([&ui] { ui->raise(); }); });
  std::string why;
  std::unique_ptr<text::SpeechDispatcher> voice = text::SpeechDispatcher::open(APPNAME, why);
  if (voice) return run_program(*ui, *voice, options);
  // No speech server: every message still appears in the window.
  std::cerr << "orvela: speaking without speech-dispatcher: " << why << "\n";
  text::SilentSpeech silent;
  return run_program(*ui, silent, options);
}

}  // namespace orvela::app
