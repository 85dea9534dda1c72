#pragma once
// The real orvela binary in console mode, fed line by line while it runs:
// a test sends a command, waits with a time-out for what it expects the
// program to say, and only then goes on. For behaviour that unfolds in
// time while the program waits for input (GPS playback, a receiver).
#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/test_env.h"

namespace orvela::test {

class ConsoleSession {
 public:
  // Starts orvela --console with its writable state in `home`.
  explicit ConsoleSession(const std::filesystem::path& home,
                          const std::map<std::string, std::string>& env = {});
  ~ConsoleSession();
  ConsoleSession(const ConsoleSession&) = delete;
  ConsoleSession& operator=(const ConsoleSession&) = delete;

  // Sends one input line.
  void send(const std::string& line);
  // The index of the first output line at or after `from` that `match`
  // accepts, once it has been printed; nothing when none came within
  // `timeout` or the program ended without it.
  std::optional<std::size_t> wait_for(const std::function<bool(const std::string&)>& match,
                                      std::size_t from = 0,
                                      std::chrono::milliseconds timeout = std::chrono::seconds(60));
  // The same for a line equal to `line`.
  std::optional<std::size_t> wait_for(const std::string& line, std::size_t from = 0,
                                      std::chrono::milliseconds timeout = std::chrono::seconds(60));

  // The output lines so far, and how many there are.
  std::vector<std::string> lines() const;
  std::size_t size() const;
  // Everything printed so far, and the diagnostics, for failure messages.
  std::string out() const;
  std::string err() const;

  // Ends the input and waits for the program to close; its exit status, or
  // -1 when it had to be killed after `timeout`.
  int finish(std::chrono::seconds timeout = std::chrono::seconds(60));

 private:
  void read_output(int fd);

  TempDir io_;
  pid_t pid_ = -1;
  int in_ = -1;
  int exit_code_ = -1;
  std::thread reader_;
  mutable std::mutex mu_;
  std::condition_variable cv_;
  std::vector<std::string> lines_;
  bool ended_ = false;  // stdout closed
};

}  // namespace orvela::test
