#pragma once
// The console's stdout: one event per line ("SAY text", "INFO text", ...),
// line breaks inside a text written as "\n", each line flushed at once so a
// program on the other end of a pipe sees it.
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>

#include "text/speech.h"

namespace orvela::ui {

// `text` with every line break (LF, CR LF or CR) written as the two
// characters "\n".
std::string escape_line_breaks(std::string_view text);

class ConsoleOutput {
 public:
  explicit ConsoleOutput(std::ostream& out) : out_(&out) {}
  // Writes `prefix`, a blank and the escaped `text`.
  void event(std::string_view prefix, std::string_view text);
  // Writes `line` as it is.
  void raw(std::string_view line);

 private:
  std::mutex mutex_;  // speech may come from another thread than the dialogs
  std::ostream* out_;
};

// Speech for the console: every spoken text becomes a "SAY" line.
class ConsoleSpeech final : public text::Speech {
 public:
  explicit ConsoleSpeech(ConsoleOutput& out) : out_(&out) {}
  void SAYSTR(std::string_view text, bool interrupt) override;

 private:
  ConsoleOutput* out_;
};

}  // namespace orvela::ui
