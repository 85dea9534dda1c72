#include "support/console_session.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "support/console_runner.h"

namespace orvela::test {

ConsoleSession::ConsoleSession(const std::filesystem::path& home,
                               const std::map<std::string, std::string>& env) {
  // A program that ended early must fail the test, not kill it on write.
  ::signal(SIGPIPE, SIG_IGN);
  int in[2], out[2];
  if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0)
    throw std::runtime_error("cannot create pipes");
  std::vector<std::string> args = {orvela_binary().string(), "--console", "--home", home.string()};
  std::vector<std::string> envv = console_environment(env);
  std::vector<char*> argv, envp;
  for (std::string& s : args) argv.push_back(s.data());
  for (std::string& s : envv) envp.push_back(s.data());
  argv.push_back(nullptr);
  envp.push_back(nullptr);

  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_adddup2(&fa, in[0], 0);
  posix_spawn_file_actions_adddup2(&fa, out[1], 1);
  posix_spawn_file_actions_addopen(&fa, 2, (io_ / "err.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  const int rc = ::posix_spawn(&pid_, argv[0], &fa, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&fa);
  ::close(in[0]);
  ::close(out[1]);
  if (rc != 0) {
    ::close(in[1]);
    ::close(out[0]);
    throw std::runtime_error("cannot start " + args[0]);
  }
  in_ = in[1];
  reader_ = std::thread([this, fd = out[0]] { read_output(fd); });
}

ConsoleSession::~ConsoleSession() { finish(); }

void ConsoleSession::read_output(int fd) {
  std::string partial;
  char buf[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    partial.append(buf, static_cast<std::size_t>(n));
    std::lock_guard lock(mu_);
    for (std::size_t nl; (nl = partial.find('\n')) != std::string::npos;) {
      lines_.push_back(partial.substr(0, nl));
      partial.erase(0, nl + 1);
    }
    cv_.notify_all();
  }
  ::close(fd);
  std::lock_guard lock(mu_);
  if (!partial.empty()) lines_.push_back(partial);
  ended_ = true;
  cv_.notify_all();
}

void ConsoleSession::send(const std::string& line) {
  const std::string s = line + "\n";
  std::size_t done = 0;
  while (in_ >= 0 && done < s.size()) {
    const ssize_t n = ::write(in_, s.data() + done, s.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // the program has gone; wait_for reports it
    done += static_cast<std::size_t>(n);
  }
}

std::optional<std::size_t> ConsoleSession::wait_for(
    const std::function<bool(const std::string&)>& match, std::size_t from,
    std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::unique_lock lock(mu_);
  for (std::size_t i = from;; ++i) {
    if (!cv_.wait_until(lock, deadline, [&] { return i < lines_.size() || ended_; }))
      return std::nullopt;
    if (i >= lines_.size()) return std::nullopt;  // ended without it
    if (match(lines_[i])) return i;
  }
}

std::optional<std::size_t> ConsoleSession::wait_for(const std::string& line, std::size_t from,
                                                    std::chrono::milliseconds timeout) {
  return wait_for([&line](const std::string& l) { return l == line; }, from, timeout);
}

std::vector<std::string> ConsoleSession::lines() const {
  std::lock_guard lock(mu_);
  return lines_;
}

std::size_t ConsoleSession::size() const {
  std::lock_guard lock(mu_);
  return lines_.size();
}

std::string ConsoleSession::out() const {
  std::string s;
  for (const std::string& l : lines()) s += l + "\n";
  return s;
}

std::string ConsoleSession::err() const {
  std::ifstream in(io_ / "err.txt", std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

int ConsoleSession::finish(std::chrono::seconds timeout) {
  if (in_ >= 0) {
    ::close(in_);
    in_ = -1;
  }
  if (pid_ > 0) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    pid_t r = 0;
    // The end of input closes the program; the reader sees its output end.
    {
      std::unique_lock lock(mu_);
      cv_.wait_until(lock, deadline, [this] { return ended_; });
    }
    while ((r = ::waitpid(pid_, &status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() < deadline) {
      std::unique_lock lock(mu_);
      cv_.wait_for(lock, std::chrono::milliseconds(20));
    }
    if (r == 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
      exit_code_ = -1;
    } else {
      exit_code_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    pid_ = -1;
  }
  if (reader_.joinable()) reader_.join();
  return exit_code_;
}

}  // namespace orvela::test
