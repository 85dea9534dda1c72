#pragma once
// A pseudo-terminal pair standing in for a receiver's serial port: the
// program reads the slave by its path, the test writes sentences to the
// master and closes it to "unplug" the receiver.
#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

namespace orvela::gps::test {

class Pty {
 public:
  Pty() {
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
      throw std::runtime_error("openpty failed");
    // Neither end may leak into a program the test starts: a copy of the
    // master there would keep the "receiver" plugged in.
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
    // A reader that has gone must fail the test, not hang it on a full buffer.
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    path_ = name;
  }
  ~Pty() {
    unplug();
    if (slave_ >= 0) ::close(slave_);
  }
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;

  const std::string& path() const { return path_; }
  // The test's own descriptor of the slave, to look at its settings.
  int slave() const { return slave_; }
  // Like a receiver sending: false once the master is closed.
  bool write(const std::string& bytes) {
    return master_ >= 0 &&
           ::write(master_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }
  // Closes the master: the device is gone for whoever reads the slave.
  void unplug() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }
  // Closes the test's slave descriptor, so that the reader's is the last.
  void close_slave() {
    if (slave_ >= 0) ::close(slave_);
    slave_ = -1;
  }

 private:
  int master_ = -1, slave_ = -1;
  std::string path_;
};

}  // namespace orvela::gps::test
