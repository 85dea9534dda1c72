#include "gps/lines.h"

namespace orvela::gps {

std::vector<std::string> LineSplitter::feed(std::string_view bytes) {
  std::vector<std::string> lines;
  while (!bytes.empty()) {
    const auto lf = bytes.find('\n');
    const std::string_view piece = bytes.substr(0, lf);
    if (!overlong_) {
      partial_.append(piece);
      if (partial_.size() > kMaxLine) {
        overlong_ = true;
        partial_.clear();
      }
    }
    if (lf == std::string_view::npos) break;
    bytes.remove_prefix(lf + 1);
    if (!overlong_) {
      if (!partial_.empty() && partial_.back() == '\r') partial_.pop_back();
      lines.push_back(std::move(partial_));
    }
    partial_.clear();
    overlong_ = false;
  }
  return lines;
}

std::vector<std::string> LineSplitter::finish() {
  std::vector<std::string> rest;
  if (!partial_.empty() && partial_.back() == '\r') partial_.pop_back();
  if (!overlong_ && !partial_.empty()) rest.push_back(std::move(partial_));
  partial_.clear();
  overlong_ = false;
  return rest;
}

}  // namespace orvela::gps
