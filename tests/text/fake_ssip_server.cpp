#include "fake_ssip_server.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <stdexcept>

namespace orvela::test {

namespace {

// Reads CRLF-terminated lines from a socket, giving up when the peer closes
// or the stop pipe becomes readable.
class LineReader {
 public:
  LineReader(int fd, int stop_fd) : fd_(fd), stop_fd_(stop_fd) {}
  bool next(std::string& line) {
    while (true) {
      auto eol = buffer_.find("\r\n");
      if (eol != std::string::npos) {
        line = buffer_.substr(0, eol);
        buffer_.erase(0, eol + 2);
        return true;
      }
      pollfd fds[2] = {{fd_, POLLIN, 0}, {stop_fd_, POLLIN, 0}};
      if (poll(fds, 2, -1) <= 0 || (fds[1].revents & POLLIN)) return false;
      char chunk[4096];
      ssize_t n = read(fd_, chunk, sizeof chunk);
      if (n <= 0) return false;
      buffer_.append(chunk, static_cast<std::size_t>(n));
    }
  }

 private:
  int fd_;
  int stop_fd_;
  std::string buffer_;
};

void send_all(int fd, const std::string& s) {
  std::size_t done = 0;
  while (done < s.size()) {
    ssize_t n = send(fd, s.data() + done, s.size() - done, MSG_NOSIGNAL);
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

std::string upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
  return s;
}

std::string reply_to(const std::string& cmd) {
  std::string up = upper(cmd);
  if (up.starts_with("SET SELF PRIORITY")) return "202 OK PRIORITY SET\r\n";
  if (up.starts_with("SET SELF CLIENT_NAME")) return "208 OK CLIENT NAME SET\r\n";
  if (up.starts_with("CANCEL")) return "210 OK CANCELED\r\n";
  if (up.starts_with("STOP")) return "210 OK STOPPED\r\n";
  if (up.starts_with("QUIT")) return "231 HAPPY HACKING\r\n";
  if (up.starts_with("SET")) return "203 OK SET\r\n";
  return "200 OK\r\n";
}

}  // namespace

FakeSsipServer::FakeSsipServer(std::string socket_path) : path_(std::move(socket_path)) {
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (path_.size() >= sizeof addr.sun_path) throw std::runtime_error("socket path too long");
  std::memcpy(addr.sun_path, path_.c_str(), path_.size() + 1);
  listen_fd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listen_fd_ < 0 || bind(listen_fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      listen(listen_fd_, 4) != 0 || pipe(stop_pipe_) != 0)
    throw std::runtime_error("cannot listen on " + path_);
  thread_ = std::thread([this] { serve(); });
}

FakeSsipServer::~FakeSsipServer() {
  if (write(stop_pipe_[1], "x", 1) != 1) {
  }
  thread_.join();
  close(listen_fd_);
  close(stop_pipe_[0]);
  close(stop_pipe_[1]);
  unlink(path_.c_str());
}

std::vector<std::string> FakeSsipServer::commands() const {
  std::lock_guard lock(mutex_);
  return commands_;
}

void FakeSsipServer::record(std::string line) {
  std::lock_guard lock(mutex_);
  commands_.push_back(std::move(line));
}

void FakeSsipServer::serve() {
  while (true) {
    pollfd fds[2] = {{listen_fd_, POLLIN, 0}, {stop_pipe_[0], POLLIN, 0}};
    if (poll(fds, 2, -1) <= 0 || (fds[1].revents & POLLIN)) return;
    int fd = accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    serve_client(fd);
    close(fd);
  }
}

void FakeSsipServer::serve_client(int fd) {
  LineReader in(fd, stop_pipe_[0]);
  std::string priority = "text", cmd;
  int next_id = 1;
  while (in.next(cmd)) {
    if (upper(cmd) == "SPEAK") {
      if (answering_) send_all(fd, "230 OK RECEIVING DATA\r\n");
      std::string body, line;
      while (in.next(line) && line != ".") {
        if (line.starts_with("..")) line.erase(0, 1);  // SSIP dot-stuffing
        body += (body.empty() ? "" : "\n") + line;
      }
      record("SPEAK " + priority + " " + body);
      if (answering_)
        send_all(fd, "225-" + std::to_string(next_id++) + "\r\n225 OK MESSAGE QUEUED\r\n");
      continue;
    }
    record(cmd);
    if (upper(cmd).starts_with("SET SELF PRIORITY")) {
      priority = cmd.substr(cmd.rfind(' ') + 1);
      std::transform(priority.begin(), priority.end(), priority.begin(),
                     [](unsigned char c) { return std::tolower(c); });
    }
    if (answering_) send_all(fd, reply_to(cmd));
    if (upper(cmd).starts_with("QUIT")) return;
  }
}

}  // namespace orvela::test
