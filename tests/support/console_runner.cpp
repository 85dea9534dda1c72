#include "support/console_runner.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "support/file_bytes.h"
#include "support/test_env.h"

extern char** environ;

namespace orvela::test {
namespace fs = std::filesystem;

namespace {}  // namespace

std::vector<std::string> console_environment(const std::map<std::string, std::string>& extra) {
  std::map<std::string, std::string> env = {
      {"LANGUAGE", ""},
      {"LC_ALL", "C"},
      {"LC_MESSAGES", "C"},
      {"LANG", "C"},
      {"ALSOFT_DRIVERS", "null"},
      // No speech server is ever reached from a test.
      {"SPEECHD_ADDRESS", "unix_socket:/nonexistent/orvela-test-speechd"}};
  for (const auto& [k, v] : extra) env[k] = v;
  std::vector<std::string> out;
  for (char** e = environ; *e; ++e) {
    std::string kv = *e;
    std::string key = kv.substr(0, kv.find('='));
    if (!env.count(key)) out.push_back(kv);
  }
  for (const auto& [k, v] : env) out.push_back(k + "=" + v);
  return out;
}

namespace {

std::vector<char*> c_strings(std::vector<std::string>& v) {
  std::vector<char*> out;
  for (std::string& s : v) out.push_back(s.data());
  out.push_back(nullptr);
  return out;
}

int wait_for(pid_t pid, std::chrono::seconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  int status = 0;
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 128 + WTERMSIG(status);
}

}  // namespace

fs::path orvela_binary() { return ORVELA_BINARY; }

std::vector<std::string> ConsoleResult::lines() const {
  std::vector<std::string> out;
  std::istringstream in(this->out);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

ConsoleResult run_console(const fs::path& home, const ConsoleRun& run) {
  TempDir io;
  { std::ofstream(io / "in.txt", std::ios::binary) << run.script; }
  std::vector<std::string> argv = {orvela_binary().string()};
  if (run.args.empty()) {
    argv.insert(argv.end(), {"--console", "--home", home.string()});
  } else {
    argv.insert(argv.end(), run.args.begin(), run.args.end());
  }
  std::vector<std::string> envv = console_environment(run.env);
  auto cargv = c_strings(argv);
  auto cenv = c_strings(envv);

  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_addopen(&fa, 0, (io / "in.txt").c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&fa, 1, (io / "out.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&fa, 2, (io / "err.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  pid_t pid = 0;
  int rc = ::posix_spawn(&pid, cargv[0], &fa, nullptr, cargv.data(), cenv.data());
  posix_spawn_file_actions_destroy(&fa);
  if (rc != 0) throw std::runtime_error("cannot start " + argv[0]);

  ConsoleResult r;
  r.exit_code = wait_for(pid, run.timeout);
  r.out = file_bytes(io / "out.txt");
  r.err = file_bytes(io / "err.txt");
  return r;
}

ConsoleResult run_console(const fs::path& home, const std::string& script) {
  ConsoleRun run;
  run.script = script;
  return run_console(home, run);
}

}  // namespace orvela::test
