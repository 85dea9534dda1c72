#include "online/test_server.h"

#include <fcntl.h>
#include <httplib.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace orvela::online::test {

TestServer::TestServer() : server_(std::make_unique<httplib::Server>()) { start(); }

TestServer::TestServer(const std::filesystem::path& cert, const std::filesystem::path& key)
    : server_(std::make_unique<httplib::SSLServer>(cert.c_str(), key.c_str())), tls_(true) {
  if (!server_->is_valid()) throw std::runtime_error("the https server cannot use its certificate");
  start();
}

TestServer::~TestServer() {
  stopping_ = true;
  // A stop that comes before the listening loop has begun is lost: wait
  // for the loop first.
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!server_->is_running() && std::chrono::steady_clock::now() < give_up)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  server_->stop();
  if (thread_.joinable()) thread_.join();
}

void TestServer::start() {
  server_->Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
    Route route;
    {
      std::lock_guard lock(mutex_);
      ++hits_[req.path];
      user_agent_ = req.get_header_value("User-Agent");
      target_ = req.target;
      auto it = routes_.find(req.path);
      if (it == routes_.end()) {
        res.status = 404;
        res.set_content("<html><body>Not Found</body></html>", "text/html");
        return;
      }
      route = it->second;
    }
    res.status = route.status;
    switch (route.kind) {
      case Kind::Body:
        res.set_content(route.body, "application/octet-stream");
        break;
      case Kind::Redirect:
        res.set_redirect(route.body);
        break;
      case Kind::Stall:
      case Kind::Trickle:
        res.set_chunked_content_provider(
            "application/octet-stream",
            [this, route, sent = false](size_t, httplib::DataSink& sink) mutable {
              if (stopping_) return false;
              if (!sent || route.kind == Kind::Trickle) {
                sink.write(route.body.data(), route.body.size());
                sent = true;
              }
              // Each call waits a little, so that stopping ends it soon.
              std::this_thread::sleep_for(std::chrono::milliseconds(20));
              return !stopping_.load();
            });
        break;
    }
  });
  // Listening starts here, before the thread runs: no wait for readiness.
  port_ = server_->bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("the test server cannot listen");
  thread_ = std::thread([this] { server_->listen_after_bind(); });
}

std::string TestServer::url(const std::string& path) const {
  return std::string(tls_ ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_) + path;
}

void TestServer::set(const std::string& path, Route r) {
  std::lock_guard lock(mutex_);
  routes_[path] = std::move(r);
}

void TestServer::serve(const std::string& path, std::string body, int status) {
  set(path, {Kind::Body, std::move(body), status});
}

void TestServer::serve_file(const std::string& path, const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  std::ostringstream s;
  s << in.rdbuf();
  serve(path, s.str());
}

void TestServer::redirect(const std::string& path, std::string to) {
  set(path, {Kind::Redirect, std::move(to), 302});
}

void TestServer::stall(const std::string& path, std::string prefix) {
  set(path, {Kind::Stall, std::move(prefix), 200});
}

void TestServer::trickle(const std::string& path, std::string chunk) {
  set(path, {Kind::Trickle, std::move(chunk), 200});
}

int TestServer::hits(const std::string& path) const {
  std::lock_guard lock(mutex_);
  auto it = hits_.find(path);
  return it == hits_.end() ? 0 : it->second;
}

std::string TestServer::last_user_agent() const {
  std::lock_guard lock(mutex_);
  return user_agent_;
}

std::string TestServer::last_target() const {
  std::lock_guard lock(mutex_);
  return target_;
}

RawServer::RawServer() {
  listen_fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  if (listen_fd_ < 0 || ::bind(listen_fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      ::listen(listen_fd_, 8) != 0 ||
      ::getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&a), &len) != 0 ||
      ::pipe2(stop_pipe_, O_CLOEXEC) != 0)
    throw std::runtime_error("the raw test server cannot listen");
  port_ = ntohs(a.sin_port);
  thread_ = std::thread([this] { serve(); });
}

RawServer::~RawServer() {
  const char c = 'x';
  (void)!::write(stop_pipe_[1], &c, 1);
  thread_.join();
  ::close(listen_fd_);
  ::close(stop_pipe_[0]);
  ::close(stop_pipe_[1]);
}

std::string RawServer::host() const { return "127.0.0.1:" + std::to_string(port_); }

void RawServer::answer(int status, std::string body) {
  std::lock_guard lock(mutex_);
  status_ = status;
  body_ = std::move(body);
  stall_ = false;
}

void RawServer::stall(std::string prefix) {
  std::lock_guard lock(mutex_);
  status_ = 200;
  body_ = std::move(prefix);
  stall_ = true;
}

std::string RawServer::last_target() const {
  std::lock_guard lock(mutex_);
  return target_;
}

int RawServer::hits() const {
  std::lock_guard lock(mutex_);
  return hits_;
}

void RawServer::serve() {
  while (true) {
    pollfd p[2] = {{listen_fd_, POLLIN, 0}, {stop_pipe_[0], POLLIN, 0}};
    if (::poll(p, 2, -1) < 0) continue;
    if (p[1].revents) return;
    const int client = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    handle(client);
    ::close(client);
  }
}

void RawServer::handle(int client) {
  std::string request;
  char buf[4096];
  while (request.find("\r\n\r\n") == std::string::npos) {
    pollfd p[2] = {{client, POLLIN, 0}, {stop_pipe_[0], POLLIN, 0}};
    if (::poll(p, 2, 5000) <= 0 || p[1].revents) return;
    const ssize_t n = ::read(client, buf, sizeof buf);
    if (n <= 0) return;
    request.append(buf, static_cast<size_t>(n));
  }
  std::string reply;
  bool stall = false;
  {
    std::lock_guard lock(mutex_);
    const std::size_t sp1 = request.find(' ');
    const std::size_t sp2 = request.find(' ', sp1 + 1);
    target_ = request.substr(sp1 + 1, sp2 - sp1 - 1);
    ++hits_;
    stall = stall_;
    const std::size_t length = stall ? body_.size() + 1000000 : body_.size();
    reply = "HTTP/1.1 " + std::to_string(status_) +
            " X\r\nContent-Length: " + std::to_string(length) + "\r\nConnection: close\r\n\r\n" +
            body_;
  }
  (void)!::write(client, reply.data(), reply.size());
  // Until the server stops or the client gives up.
  if (stall) {
    pollfd p[2] = {{client, POLLIN, 0}, {stop_pipe_[0], POLLIN, 0}};
    ::poll(p, 2, -1);
  }
}

TestCertificate::TestCertificate(const std::filesystem::path& dir)
    : cert(dir / "cert.pem"), key(dir / "key.pem") {
  const std::string cmd =
      "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1"
      " -addext subjectAltName=IP:127.0.0.1 -keyout '" +
      key.string() + "' -out '" + cert.string() + "' 2>/dev/null";
  if (std::system(cmd.c_str()) != 0 || !std::filesystem::exists(cert))
    throw std::runtime_error("openssl could not make a test certificate");
}

}  // namespace orvela::online::test
