#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "ui/single_instance.h"

namespace orvela::ui {

namespace {

constexpr char kRaise = 'R';
constexpr char kCheck = 'C';

std::optional<sockaddr_un> address(const std::filesystem::path& path) {
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  const std::string s = path.string();
  if (s.empty() || s.size() >= sizeof(addr.sun_path)) return std::nullopt;
  std::memcpy(addr.sun_path, s.c_str(), s.size() + 1);
  return addr;
}

// True when a running copy answered at `addr`; it is sent `request`.
bool tell_running_copy(const sockaddr_un& addr, char request) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
  if (connected) (void)!::write(fd, &request, 1);
  ::close(fd);
  return connected;
}

int listen_at(const sockaddr_un& addr) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 ||
      ::listen(fd, 4) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

struct SingleInstance::Listener {
  std::filesystem::path path;
  int fd = -1;
  int stop_pipe[2] = {-1, -1};
  std::thread thread;
  std::mutex mutex;
  std::function<void()> on_raise;
  bool raise_pending = false;

  void serve() {
    pollfd fds[2] = {{fd, POLLIN, 0}, {stop_pipe[0], POLLIN, 0}};
    while (::poll(fds, 2, -1) >= 0 || errno == EINTR) {
      if (fds[1].revents) return;
      if (!(fds[0].revents & POLLIN)) continue;
      const int client = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
      if (client < 0) continue;
      char request = 0;
      // A copy that connected but wrote nothing does not hold us up long.
      pollfd in{client, POLLIN, 0};
      if (::poll(&in, 1, 1000) > 0 && ::read(client, &request, 1) == 1 && request == kRaise)
        raise();
      ::close(client);
    }
  }

  // The callback runs under the lock, so that once on_raise({}) has
  // returned no call into the window is in progress or still to come.
  void raise() {
    std::lock_guard lock(mutex);
    if (on_raise)
      on_raise();
    else
      raise_pending = true;
  }

  ~Listener() {
    if (thread.joinable()) {
      (void)!::write(stop_pipe[1], "x", 1);
      thread.join();
    }
    for (int f : {fd, stop_pipe[0], stop_pipe[1]})
      if (f >= 0) ::close(f);
    if (fd >= 0) {
      std::error_code ec;
      std::filesystem::remove(path, ec);
    }
  }
};

std::unique_ptr<SingleInstance> SingleInstance::ONEINSTCHECK(
    const std::filesystem::path& socket_path, bool gotowin) {
  auto l = std::make_unique<Listener>();
  l->path = socket_path;
  const auto addr = address(socket_path);
  // A path too long for a socket cannot be checked: run without the check
  // rather than refuse to start.
  if (!addr) return std::unique_ptr<SingleInstance>(new SingleInstance(std::move(l)));
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (tell_running_copy(*addr, gotowin ? kRaise : kCheck)) return nullptr;
    // Nobody answers: whatever is there is left over from a crashed copy.
    std::error_code ec;
    std::filesystem::remove(socket_path, ec);
    l->fd = listen_at(*addr);
    if (l->fd >= 0) break;  // else another copy bound it just now: ask it
  }
  if (l->fd >= 0 && ::pipe2(l->stop_pipe, O_CLOEXEC) == 0)
    l->thread = std::thread([raw = l.get()] { raw->serve(); });
  return std::unique_ptr<SingleInstance>(new SingleInstance(std::move(l)));
}

SingleInstance::SingleInstance(std::unique_ptr<Listener> l) : listener_(std::move(l)) {}

SingleInstance::~SingleInstance() = default;

void SingleInstance::on_raise(std::function<void()> fn) {
  std::lock_guard lock(listener_->mutex);
  listener_->on_raise = std::move(fn);
  if (listener_->on_raise && std::exchange(listener_->raise_pending, false)) listener_->on_raise();
}

}  // namespace orvela::ui
