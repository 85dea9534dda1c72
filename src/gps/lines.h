#pragma once
// Cuts a byte stream (a log file, a serial port) into text lines. Line ends
// are LF or CR LF; the last line may end without one. A line longer than
// any NMEA sentence can be (binary garbage, the wrong file) is dropped
// rather than kept growing.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvela::gps {

class LineSplitter {
 public:
  static constexpr std::size_t kMaxLine = 1024;

  // Adds bytes; returns the lines they completed, without their line ends.
  std::vector<std::string> feed(std::string_view bytes);
  // The unterminated rest at the end of the stream, if any.
  std::vector<std::string> finish();

 private:
  std::string partial_;
  bool overlong_ = false;  // the current line passed kMaxLine: skip to its end
};

}  // namespace orvela::gps
