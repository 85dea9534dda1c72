#include "text/speech_speechd.h"

#include <libspeechd.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace orvela::text {

struct SpeechDispatcher::Connection {
  SPDConnection* spd = nullptr;
  ~Connection() {
    if (spd) spd_close(spd);
  }
};

namespace {

// Takes over a string that libspeechd allocated with malloc.
std::string take_error(char* err, const char* fallback) {
  std::string s = err ? err : fallback;
  std::free(err);
  return s;
}

SPDConnectionAddress* address_for(const std::string& socket_path, std::string& error) {
  if (socket_path.empty()) {
    char* err = nullptr;
    SPDConnectionAddress* addr = spd_get_default_address(&err);
    if (addr)
      std::free(err);
    else
      error = take_error(err, "no speech-dispatcher address");
    return addr;
  }
  auto* addr = static_cast<SPDConnectionAddress*>(std::calloc(1, sizeof(SPDConnectionAddress)));
  addr->method = SPD_METHOD_UNIX_SOCKET;
  addr->unix_socket_name = strdup(socket_path.c_str());
  return addr;
}

// How long a reply from the speech server may take. libspeechd itself waits
// for ever, so a server that hangs would freeze the program in the middle of
// a keystroke; past this the text is lost and the next one connects anew.
constexpr timeval kReplyTimeout{3, 0};

void bound_waits(int fd) {
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &kReplyTimeout, sizeof kReplyTimeout);
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &kReplyTimeout, sizeof kReplyTimeout);
}

// Whether a server on the Unix socket `path` answers: it must take a
// connection and reply to QUIT in time. Asked before libspeechd tries,
// because its failed open leaks and gives a vaguer reason, and its greeting
// would wait for ever on a server that accepts but never replies.
bool server_answers(const char* path, std::string& error) {
  sockaddr_un sa{};
  sa.sun_family = AF_UNIX;
  if (!path || std::strlen(path) >= sizeof sa.sun_path) {
    error = "invalid speech-dispatcher socket path";
    return false;
  }
  std::strcpy(sa.sun_path, path);
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0 || connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
    if (fd >= 0) close(fd);
    error = std::string("no speech-dispatcher listens on ") + path;
    return false;
  }
  bound_waits(fd);
  static constexpr char kQuit[] = "QUIT\r\n";
  bool ok = send(fd, kQuit, sizeof kQuit - 1, MSG_NOSIGNAL) == sizeof kQuit - 1;
  std::string reply;
  char chunk[256];
  while (ok && reply.find('\n') == std::string::npos) {
    ssize_t n = recv(fd, chunk, sizeof chunk, 0);
    if (n <= 0) break;
    reply.append(chunk, static_cast<std::size_t>(n));
  }
  close(fd);
  ok = ok && reply.size() >= 3 && reply[0] == '2';
  if (!ok) error = std::string("the speech-dispatcher on ") + path + " does not answer";
  return ok;
}

SPDConnection* connect_to(const std::string& client_name, const std::string& socket_path,
                          std::string& error) {
  SPDConnectionAddress* addr = address_for(socket_path, error);
  if (!addr) return nullptr;
  if (addr->method == SPD_METHOD_UNIX_SOCKET && !server_answers(addr->unix_socket_name, error)) {
    SPDConnectionAddress__free(addr);
    return nullptr;
  }
  char* err = nullptr;
  // No autospawn: when nobody runs a speech server, we do not start one
  // behind the user's back.
  SPDConnection* spd =
      spd_open2(client_name.c_str(), "main", nullptr, SPD_MODE_SINGLE, addr, 0, &err);
  SPDConnectionAddress__free(addr);
  if (!spd) {
    error = take_error(err, "cannot connect to speech-dispatcher");
    return nullptr;
  }
  std::free(err);
  bound_waits(spd->socket);
  return spd;
}

// libspeechd writes to its socket without MSG_NOSIGNAL: if the server has
// died, the write raises SIGPIPE, which would end the whole program. While
// one of these lives, SIGPIPE is held back for this thread and any raised
// meanwhile is discarded.
class SigpipeGuard {
 public:
  SigpipeGuard() {
    sigemptyset(&pipe_);
    sigaddset(&pipe_, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    was_pending_ = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipe_, &old_);
  }
  ~SigpipeGuard() {
    if (!was_pending_) {
      timespec zero{0, 0};
      while (sigtimedwait(&pipe_, nullptr, &zero) == SIGPIPE) {
      }
    }
    pthread_sigmask(SIG_SETMASK, &old_, nullptr);
  }
  SigpipeGuard(const SigpipeGuard&) = delete;
  SigpipeGuard& operator=(const SigpipeGuard&) = delete;

 private:
  sigset_t pipe_;
  sigset_t old_;
  bool was_pending_ = false;
};

}  // namespace

std::unique_ptr<SpeechDispatcher> SpeechDispatcher::open(const std::string& client_name,
                                                         std::string& error,
                                                         const std::string& socket_path) {
  SPDConnection* spd = connect_to(client_name, socket_path, error);
  if (!spd) return nullptr;
  std::unique_ptr<SpeechDispatcher> sd(new SpeechDispatcher(client_name, socket_path));
  sd->conn_->spd = spd;
  return sd;
}

SpeechDispatcher::SpeechDispatcher(std::string client_name, std::string socket_path)
    : client_name_(std::move(client_name)),
      socket_path_(std::move(socket_path)),
      conn_(std::make_unique<Connection>()) {}

SpeechDispatcher::~SpeechDispatcher() {
  SigpipeGuard guard;
  conn_.reset();
}

void SpeechDispatcher::SAYSTR(std::string_view text, bool interrupt) {
  std::lock_guard lock(mutex_);
  SigpipeGuard guard;
  if (!conn_->spd) {
    std::string ignored;
    conn_->spd = connect_to(client_name_, socket_path_, ignored);
    if (!conn_->spd) return;
  }
  if (!speak(text, interrupt)) conn_ = std::make_unique<Connection>();  // closes the dead link
}

bool SpeechDispatcher::speak(std::string_view text, bool interrupt) {
  // Message priority queues behind other messages; a cancel first makes it
  // cut off whatever is still being said.
  if (interrupt && spd_cancel(conn_->spd) != 0) return false;
  if (text.empty()) return true;
  std::string s(text);
  return spd_say(conn_->spd, SPD_MESSAGE, s.c_str()) >= 0;
}

std::unique_ptr<Speech> open_system_speech(const std::string& client_name, std::string& note) {
  std::string error;
  if (auto sd = SpeechDispatcher::open(client_name, error)) return sd;
  note = "Speaking nothing: " + error;
  return std::make_unique<SilentSpeech>();
}

}  // namespace orvela::text
