#pragma once
// Speech through speech-dispatcher, the speech server that Orca also uses.
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "text/speech.h"

namespace orvela::text {

class SpeechDispatcher final : public Speech {
 public:
  // Connects to the server named by SPEECHD_ADDRESS or the user's default
  // socket; with `socket_path`, to that Unix socket. Never starts a server.
  // Nothing, with the reason in `error`, when no server answers: the program
  // then goes on without speech.
  static std::unique_ptr<SpeechDispatcher> open(const std::string& client_name, std::string& error,
                                                const std::string& socket_path = {});
  ~SpeechDispatcher() override;
  SpeechDispatcher(const SpeechDispatcher&) = delete;
  SpeechDispatcher& operator=(const SpeechDispatcher&) = delete;

  // Interrupting speech cancels what is queued, then speaks; otherwise the
  // text is queued behind what is being said. If the server has gone away
  // the text is lost and the next text tries to connect again.
  void SAYSTR(std::string_view text, bool interrupt) override;

 private:
  struct Connection;
  SpeechDispatcher(std::string client_name, std::string socket_path);
  bool speak(std::string_view text, bool interrupt);

  std::string client_name_;
  std::string socket_path_;
  std::unique_ptr<Connection> conn_;
  std::mutex mutex_;  // libspeechd's single-threaded mode wants one caller at a time
};

// The program's voice: speech-dispatcher when a server answers, otherwise
// silence, with the reason in `note` (the program carries on either way and
// the last message can still be shown).
std::unique_ptr<Speech> open_system_speech(const std::string& client_name, std::string& note);

}  // namespace orvela::text
