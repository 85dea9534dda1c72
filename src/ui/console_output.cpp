#include "ui/console_output.h"

namespace orvela::ui {

std::string escape_line_breaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\\n";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

void ConsoleOutput::event(std::string_view prefix, std::string_view text) {
  std::string line(prefix);
  line += ' ';
  line += escape_line_breaks(text);
  raw(line);
}

void ConsoleOutput::raw(std::string_view line) {
  std::lock_guard lock(mutex_);
  *out_ << line << '\n';
  out_->flush();
}

void ConsoleSpeech::SAYSTR(std::string_view text, bool /*interrupt*/) { out_->event("SAY", text); }

}  // namespace orvela::ui
