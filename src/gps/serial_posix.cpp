// The receiver's port on POSIX systems: a tty (serial, USB, Bluetooth
// RFCOMM, a pseudo-terminal) or anything else that can be read.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "gps/serial.h"
#include "text/strutil.h"

namespace orvela::gps {

std::optional<std::filesystem::path> GPSPORTPATH(std::string_view typed,
                                                 const std::filesystem::path& devdir) {
  const std::string_view s = text::trim(typed, text::kBlanks);
  if (s.starts_with('/')) return std::filesystem::path(s);
  const int64_t n = text::INT2(s);
  if (n <= 0) return std::nullopt;
  // USB serial bridges appear as ttyUSB, receivers that are USB modems
  // (CDC ACM) as ttyACM; each family counts from 0.
  const std::string index = text::STR2(n - 1);
  std::error_code ec;
  std::filesystem::path usb = devdir / ("ttyUSB" + index);
  if (std::filesystem::exists(usb, ec)) return usb;
  return devdir / ("ttyACM" + index);
}

namespace {

// Raw input: no echo, no line editing, no signals, no CR/LF translation, no
// flow-control characters. The speed and the framing stay as they are.
int make_input_raw(int fd) {
  termios t{};
  if (::tcgetattr(fd, &t) != 0) return errno;
  t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL |
                                      IXON | IXOFF);
  t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  // Without CLOCAL a port with no carrier would never deliver anything.
  t.c_cflag |= CLOCAL | CREAD;
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  if (::tcsetattr(fd, TCSANOW, &t) != 0) return errno;
  // What arrived before the switch went through the old line discipline.
  ::tcflush(fd, TCIFLUSH);
  return 0;
}

}  // namespace

std::unique_ptr<SerialPort> SerialPort::open(const std::filesystem::path& path, int& err) {
  // Non-blocking, so that neither the open (waiting for a carrier) nor a
  // read can hang; reads wait in poll() with a time-out instead.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    err = errno;
    return nullptr;
  }
  if (::isatty(fd)) {
    if (const int e = make_input_raw(fd)) {
      ::close(fd);
      err = e;
      return nullptr;
    }
  }
  err = 0;
  return std::unique_ptr<SerialPort>(new SerialPort(fd));
}

SerialPort::~SerialPort() { ::close(fd_); }

SerialPort::Read SerialPort::read_line(std::string& line, std::chrono::milliseconds timeout) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    if (next_ < ready_.size()) {
      line = std::move(ready_[next_++]);
      return Read::Line;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    pollfd p{fd_, POLLIN, 0};
    const int r = ::poll(&p, 1, static_cast<int>(std::max<int64_t>(0, left.count())));
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return Read::Closed;
    if (r == 0) return Read::Timeout;
    // A vanished device shows as a hang-up; data that came before it is
    // read first.
    if (!(p.revents & POLLIN)) return Read::Closed;
    std::array<char, 4096> buf;
    const ssize_t n = ::read(fd_, buf.data(), buf.size());
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
      if (Clock::now() >= deadline) return Read::Timeout;
      continue;
    }
    // The end of the stream, or EIO from a tty whose other side is gone.
    if (n <= 0) return Read::Closed;
    ready_ = splitter_.feed({buf.data(), static_cast<std::size_t>(n)});
    next_ = 0;
  }
}

}  // namespace orvela::gps
