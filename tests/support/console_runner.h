#pragma once
// Runs the real orvela binary in console mode with a script on its standard
// input and collects what it printed and how it ended. Any test that wants
// to drive the whole program uses this.
#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace orvela::test {

struct ConsoleResult {
  std::string out;     // stdout: the SAY/INFO/ASK/... lines
  std::string err;     // stderr: diagnostics
  int exit_code = -1;  // -1 when it did not end by itself in time (then killed)

  // stdout split into lines.
  std::vector<std::string> lines() const;
};

struct ConsoleRun {
  // Command-line arguments after the program name; empty means
  // {"--console", "--home", home}.
  std::vector<std::string> args;
  // Lines fed to standard input (each should end in "\n").
  std::string script;
  // Environment on top of ours. The language variables default to "C" so
  // the program speaks English unless a test asks otherwise.
  std::map<std::string, std::string> env;
  std::chrono::seconds timeout{60};
};

// The orvela executable under test.
std::filesystem::path orvela_binary();

// Our environment ("NAME=value") with `extra` on top, for running orvela:
// the language variables "C" unless `extra` says otherwise, no sound device,
// no speech server.
std::vector<std::string> console_environment(const std::map<std::string, std::string>& extra);

// Runs orvela_binary() in console mode with all writable state in `home`.
ConsoleResult run_console(const std::filesystem::path& home, const ConsoleRun& run);
// The same with just a script.
ConsoleResult run_console(const std::filesystem::path& home, const std::string& script);

}  // namespace orvela::test
