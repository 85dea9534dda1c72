// Speech through a real speech-dispatcher whose output module writes every
// text it would speak into a file instead of a sound card.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>

#include "support/test_env.h"
#include "text/messages.h"
#include "text/speech_speechd.h"

extern char** environ;

namespace orvela::text {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* kDaemon = "/usr/bin/speech-dispatcher";

void write_file(const fs::path& p, const std::string& text) { std::ofstream(p) << text; }

std::string read_file(const fs::path& p) {
  std::ifstream in(p);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// A private speech-dispatcher in a temporary folder, stopped on destruction.
class Daemon {
 public:
  Daemon() {
    fs::path conf = dir_ / "conf";
    fs::create_directories(conf / "modules");
    fs::create_directories(dir_ / "home");
    fs::create_directories(dir_ / "logs");
    write_file(dir_ / "home/.libao", "default_driver=null\n");
    write_file(conf / "speechd.conf",
               "CommunicationMethod \"unix_socket\"\nSocketPath \"" + socket() +
                   "\"\nLogLevel 3\nLogDir \"" + (dir_ / "logs").string() +
                   "\"\nAddModule \"fake\" \"sd_generic\" \"fake.conf\"\nDefaultModule fake\n"
                   "DefaultLanguage \"en\"\nAudioOutputMethod \"libao\"\n");
    // Each text takes 1.5 s to "speak": long enough to cut one off reliably
    // on a busy machine.
    std::string out = spoken().string();
    write_file(
        conf / "modules/fake.conf",
        "Debug 0\nGenericExecuteSynth \"printf 'START %s\\\\n' \\'$DATA\\' >> " + out +
            "; sleep 1.5; printf 'END\\\\n' >> " + out +
            "\"\nGenericLanguage \"en\" \"en\" \"utf-8\"\nAddVoice \"en\" \"MALE1\" \"fakevoice\"\n"
            "DefaultVoice \"fakevoice\"\n");
    start(conf);
  }
  // Stops the daemon and its output modules, which share its process group;
  // one that ignores the request for 5 s is killed.
  ~Daemon() {
    if (pid_ <= 0) return;
    kill(-pid_, SIGTERM);
    for (int i = 0; i < 250; ++i) {
      if (waitpid(pid_, nullptr, WNOHANG) == pid_) return;
      std::this_thread::sleep_for(20ms);
    }
    kill(-pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  std::string socket() const { return (dir_ / "sock").string(); }
  fs::path spoken() const { return dir_ / "spoken.txt"; }
  bool running() const { return pid_ > 0; }

  // The daemon's own logs, for telling why an attempt went wrong.
  std::string logs() const {
    std::string all;
    for (const auto& f : fs::directory_iterator(dir_ / "logs"))
      all += "--- " + f.path().filename().string() + "\n" + read_file(f.path());
    return all;
  }

  // Waits up to 10 s for the spoken log to contain `needle`.
  bool wait_for(const std::string& needle) const {
    for (auto end = std::chrono::steady_clock::now() + 10s;
         std::chrono::steady_clock::now() < end;) {
      if (read_file(spoken()).find(needle) != std::string::npos) return true;
      std::this_thread::sleep_for(20ms);
    }
    return false;
  }

 private:
  void start(const fs::path& conf) {
    std::string home = "HOME=" + (dir_ / "home").string();
    std::string conf_dir = conf.string();
    const char* argv[] = {kDaemon, "-s", "-C", conf_dir.c_str(), "-t", "5", nullptr};
    std::vector<std::string> env_store;
    for (char** e = environ; *e; ++e)
      if (std::string_view(*e).substr(0, 5) != "HOME=") env_store.emplace_back(*e);
    env_store.push_back(home);
    std::vector<char*> envp;
    for (auto& e : env_store) envp.push_back(e.data());
    envp.push_back(nullptr);
    // Its own process group, so that stopping it reaches its modules too.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attr, 0);
    if (posix_spawn(&pid_, kDaemon, nullptr, &attr, const_cast<char**>(argv), envp.data()) != 0)
      pid_ = 0;
    posix_spawnattr_destroy(&attr);
    for (int i = 0; i < 250 && pid_ > 0 && !fs::exists(socket()); ++i)
      std::this_thread::sleep_for(20ms);
  }

  test::TempDir dir_;
  pid_t pid_ = 0;
};

// Alpha is spoken whole, bravo waits for it and is cut off by charlie. Gives
// the spoken log, or why it could not be had.
std::string speak_three_texts(const Daemon& daemon) {
  if (!daemon.running() || !fs::exists(daemon.socket())) return "speech-dispatcher did not start";
  std::string error;
  auto speech = SpeechDispatcher::open("orvela", error, daemon.socket());
  if (!speech) return error;
  Messages msg(*speech);

  msg.EDANOINT("alpha");
  msg.EDA("bravo");  // queued behind alpha
  if (daemon.wait_for("START bravo")) {
    msg.EDA("charlie");  // cuts bravo off
    daemon.wait_for("START charlie\nEND\n");
  }
  return read_file(daemon.spoken());
}

TEST(SpeechDaemon, QueuedTextsFollowAndInterruptingTextsCutOff) {
  if (!fs::exists(kDaemon)) GTEST_SKIP() << "speech-dispatcher is not installed";
  const std::string expected = "START alpha\nEND\nSTART bravo\nSTART charlie\nEND\n";
  // The fake voice works in real time, and a machine busy with other tests
  // can stall the daemon now and then; a fault of ours shows every time.
  std::string spoken;
  for (int attempt = 1; attempt <= 3; ++attempt) {
    Daemon daemon;
    spoken = speak_three_texts(daemon);
    if (spoken == expected) return;
    std::cerr << "attempt " << attempt << " heard:\n" << spoken << "\n" << daemon.logs();
  }
  EXPECT_EQ(spoken, expected);
}

}  // namespace
}  // namespace orvela::text
