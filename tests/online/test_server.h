#pragma once
// A web server on 127.0.0.1 for the online tests: it serves what a test puts
// under a path (catalogues, archives, version files, OSM extracts, error
// pages), redirects, and answers that stall or trickle until it is stopped.
// With a certificate it speaks https.
#include <atomic>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

namespace orvela::online::test {

class TestServer {
 public:
  // Plain http.
  TestServer();
  // https with the certificate and key files given.
  TestServer(const std::filesystem::path& cert, const std::filesystem::path& key);
  ~TestServer();
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  // "http://127.0.0.1:PORT" (or https) followed by `path`.
  std::string url(const std::string& path = "/") const;

  // Answers `path` with `body` and `status`.
  void serve(const std::string& path, std::string body, int status = 200);
  // Answers `path` with the file's content.
  void serve_file(const std::string& path, const std::filesystem::path& file);
  // Redirects `path` to the absolute address `to`.
  void redirect(const std::string& path, std::string to);
  // Sends `prefix`, then nothing more until the server stops.
  void stall(const std::string& path, std::string prefix);
  // Sends `chunk` every few milliseconds until the server stops.
  void trickle(const std::string& path, std::string chunk);

  // How many requests came for `path`.
  int hits(const std::string& path) const;
  // The User-Agent of the last request.
  std::string last_user_agent() const;
  // The path and query of the last request, as sent.
  std::string last_target() const;

 private:
  enum class Kind { Body, Redirect, Stall, Trickle };
  struct Route {
    Kind kind = Kind::Body;
    std::string body;
    int status = 200;
  };
  void start();
  void set(const std::string& path, Route r);

  std::unique_ptr<httplib::Server> server_;
  bool tls_ = false;
  int port_ = 0;
  std::thread thread_;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::map<std::string, Route> routes_;
  std::map<std::string, int> hits_;
  std::string user_agent_;
  std::string target_;
};

// A bare HTTP server for requests that a stricter server refuses to parse:
// the XAPI query has a second "?" ("xapi?map?bbox=..."). It answers every
// request alike and keeps what was asked.
class RawServer {
 public:
  RawServer();
  ~RawServer();
  RawServer(const RawServer&) = delete;
  RawServer& operator=(const RawServer&) = delete;

  // "127.0.0.1:PORT".
  std::string host() const;
  // Every request gets `status` and `body`.
  void answer(int status, std::string body);
  // Every request gets its headers and `prefix`, then nothing until the
  // server stops.
  void stall(std::string prefix);
  // The target of the last request, as sent, and how many came.
  std::string last_target() const;
  int hits() const;

 private:
  void serve();
  void handle(int client);

  int listen_fd_ = -1;
  int stop_pipe_[2] = {-1, -1};
  int port_ = 0;
  mutable std::mutex mutex_;
  int status_ = 404;
  std::string body_;
  bool stall_ = false;
  std::string target_;
  int hits_ = 0;
  std::thread thread_;
};

// A self-signed certificate for 127.0.0.1 made with the openssl tool, and
// its key, in `dir`. Throws when they cannot be made.
struct TestCertificate {
  explicit TestCertificate(const std::filesystem::path& dir);
  std::filesystem::path cert, key;
};

}  // namespace orvela::online::test
