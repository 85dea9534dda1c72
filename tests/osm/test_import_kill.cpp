// The real program killed (SIGKILL) in the middle of a large import over an
// existing map: the map stays byte for byte what it was, and the next start
// clears away what the killed import left.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "support/console_runner.h"
#include "support/file_bytes.h"
#include "support/test_env.h"
#include "text/atomic_file.h"

namespace orvela::osm {
namespace {

using orvela::test::file_bytes;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A town of n x n crossings: every row and column a named street, a
// restaurant on every seventh corner. Large n makes an import of seconds.
void write_grid(const fs::path& file, int n) {
  std::ofstream out(file, std::ios::binary);
  out << "<?xml version='1.0' encoding='UTF-8'?>\n<osm version=\"0.6\">\n";
  auto id = [n](int r, int c) { return int64_t{r} * n + c + 1; };
  for (int r = 0; r < n; ++r) {
    for (int c = 0; c < n; ++c) {
      out << " <node id=\"" << id(r, c) << "\" lat=\"" << 47.0 + r * 0.0005 << "\" lon=\""
          << 9.5 + c * 0.0005 << "\"";
      if (id(r, c) % 7 == 0) {
        out << ">\n  <tag k=\"amenity\" v=\"restaurant\"/>\n  <tag k=\"name\" v=\"Inn " << id(r, c)
            << "\"/>\n </node>\n";
      } else {
        out << "/>\n";
      }
    }
  }
  int64_t way = 1;
  for (int line = 0; line < 2 * n; ++line) {
    out << " <way id=\"" << way++ << "\">\n";
    for (int i = 0; i < n; ++i)
      out << "  <nd ref=\"" << (line < n ? id(line, i) : id(i, line - n)) << "\"/>\n";
    out << "  <tag k=\"highway\" v=\"residential\"/>\n  <tag k=\"name\" v=\""
        << (line < n ? "Row " : "Column ") << line << "\"/>\n </way>\n";
  }
  out << "</osm>\n";
}

// `orvela --home HOME --import IN OUT`, running; its progress lines go to a
// file the test reads while it waits.
class RunningImport {
 public:
  RunningImport(const fs::path& home, const fs::path& in, const fs::path& out)
      : err_(io_ / "err.txt") {
    std::vector<std::string> args = {test::orvela_binary().string(),
                                     "--home",
                                     home.string(),
                                     "--import",
                                     in.string(),
                                     out.string()};
    std::vector<std::string> env = test::console_environment({});
    std::vector<char*> argv, envp;
    for (auto& a : args) argv.push_back(a.data());
    for (auto& e : env) envp.push_back(e.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 2, err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (::posix_spawn(&pid_, argv[0], &fa, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&fa);
  }
  ~RunningImport() {
    if (pid_ > 0) kill_now();
  }

  bool started() const { return pid_ > 0; }
  std::string progress() const { return file_bytes(err_); }

  // Waits until `ready` holds while the program still runs; false when it
  // ended first or nothing came within the time-out.
  bool wait_until(const std::function<bool()>& ready) {
    const auto end = Clock::now() + std::chrono::seconds(120);
    while (Clock::now() < end) {
      if (ready()) return true;
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return false;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
  }

  // SIGKILL; true when that is what ended it (it had not finished before).
  bool kill_now() {
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
  }

 private:
  test::TempDir io_;
  fs::path err_;
  pid_t pid_ = -1;
};

std::vector<fs::path> temp_files(const fs::path& dir) {
  std::vector<fs::path> found;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    if (text::is_temp_name(e.path())) found.push_back(e.path());
  return found;
}

uintmax_t largest_temp_file(const fs::path& dir) {
  uintmax_t size = 0;
  std::error_code ec;
  for (const fs::path& p : temp_files(dir)) size = std::max(size, fs::file_size(p, ec));
  return size;
}

TEST(ImportKilled, ThePreviousMapStaysAndTheNextStartClearsTheLeftovers) {
  test::TempDir work;
  const fs::path home = work / "home";
  const fs::path maps = home / "maps";
  fs::create_directories(maps);
  const fs::path map = maps / "town.orvel";
  write_grid(work / "small.osm", 12);
  write_grid(work / "large.osm", 300);
  test::ConsoleRun first;
  first.args = {"--home", home.string(), "--import", (work / "small.osm").string(), map.string()};
  ASSERT_EQ(test::run_console(home, first).exit_code, 0);
  const std::string previous = file_bytes(map);
  ASSERT_FALSE(previous.empty());

  struct KillPoint {
    const char* what;
    std::function<bool(const RunningImport&)> reached;
  };
  // SQLite keeps the new map in its cache until the closing: the file only
  // grows past its first pages then.
  const auto said = [](const char* text) {
    return [text](const RunningImport& r) { return r.progress().find(text) != std::string::npos; };
  };
  const KillPoint points[] = {
      {"the new map is created", [&](const RunningImport&) { return !temp_files(maps).empty(); }},
      {"the reading", said("percent done")},
      {"the search for crossings", said("Detecting intersections...")},
      {"the closing of the map", said("Closing map...")},
      {"the writing of the closed map",
       [&](const RunningImport&) { return largest_temp_file(maps) > 1u << 20; }},
  };
  for (const KillPoint& p : points) {
    RunningImport run(home, work / "large.osm", map);
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.wait_until([&] { return p.reached(run); }))
        << p.what << " was never seen running:\n"
        << run.progress();
    ASSERT_TRUE(run.kill_now()) << p.what << ": the import ended before the kill";
    EXPECT_EQ(file_bytes(map), previous) << p.what;
    EXPECT_FALSE(temp_files(maps).empty()) << p.what;

    // A start in console mode, which ends at once for want of input.
    EXPECT_EQ(test::run_console(home, "").exit_code, 0) << p.what;
    EXPECT_EQ(temp_files(home), std::vector<fs::path>{}) << p.what;
    EXPECT_EQ(file_bytes(map), previous) << p.what;
  }
}

}  // namespace
}  // namespace orvela::osm
