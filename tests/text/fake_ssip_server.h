#pragma once
// A speech-dispatcher stand-in for tests: listens on a Unix socket, answers
// the SSIP commands libspeechd sends with the codes the real server gives,
// and records them. A spoken text is recorded as "SPEAK <priority> <text>".
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orvela::test {

class FakeSsipServer {
 public:
  explicit FakeSsipServer(std::string socket_path);
  ~FakeSsipServer();
  FakeSsipServer(const FakeSsipServer&) = delete;
  FakeSsipServer& operator=(const FakeSsipServer&) = delete;

  // Every command received so far, in order.
  std::vector<std::string> commands() const;

  // A hung server: it still takes connections and commands but answers
  // nothing until answering is turned on again.
  void set_answering(bool on) { answering_ = on; }

 private:
  void serve();
  void serve_client(int fd);
  void record(std::string line);

  std::string path_;
  int listen_fd_ = -1;
  int stop_pipe_[2] = {-1, -1};
  mutable std::mutex mutex_;
  std::vector<std::string> commands_;
  std::atomic<bool> answering_{true};
  std::thread thread_;
};

}  // namespace orvela::test
