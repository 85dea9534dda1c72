#pragma once
// The port of a GPS receiver: opened for reading with the speed and framing
// it already has (set them with the system's tools; USB receivers ignore
// them), its input made raw so that sentences arrive unchanged, and read a
// line at a time with a time-out, so that a reader can stop at once.
// serial_posix.cpp holds the POSIX version.
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "gps/lines.h"

namespace orvela::gps {

// The device a typed port names: a path as typed, or a number n as the
// n-th serial device of a receiver (on Linux /dev/ttyUSB{n-1} when it
// exists, else /dev/ttyACM{n-1}; `devdir` is "/dev" except in tests).
// Nothing when the text is neither a path nor a number from 1 on.
std::optional<std::filesystem::path> GPSPORTPATH(std::string_view typed,
                                                 const std::filesystem::path& devdir = "/dev");

class SerialPort {
 public:
  // Opens `path`; on failure nothing, with the system's error code in `err`.
  static std::unique_ptr<SerialPort> open(const std::filesystem::path& path, int& err);
  ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  enum class Read { Line, Timeout, Closed };
  // The next line (without its line end) into `line`; Timeout when none
  // was complete within `timeout`; Closed when the device went away (a
  // receiver unplugged) or the stream ended.
  Read read_line(std::string& line, std::chrono::milliseconds timeout);

 private:
  explicit SerialPort(int fd) : fd_(fd) {}

  int fd_;
  LineSplitter splitter_;
  std::vector<std::string> ready_;  // complete lines not yet returned
  std::size_t next_ = 0;
};

}  // namespace orvela::gps
