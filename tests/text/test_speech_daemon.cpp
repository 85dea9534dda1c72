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
  ~Daemon() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  std::string socket() const { return (dir_ / "sock").string(); }
  fs::path spoken() const { return dir_ / "spoken.txt"; }
  bool running() const { return pid_ > 0; }

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
    if (posix_spawn(&pid_, kDaemon, nullptr, nullptr, const_cast<char**>(argv), envp.data()) != 0)
      pid_ = 0;
    for (int i = 0; i < 250 && pid_ > 0 && !fs::exists(socket()); ++i)
      std::this_thread::sleep_for(20ms);
  }

  test::TempDir dir_;
  pid_t pid_ = 0;
};

TEST(SpeechDaemon, QueuedTextsFollowAndInterruptingTextsCutOff) {
  if (!fs::exists(kDaemon)) GTEST_SKIP() << "speech-dispatcher is not installed";
  Daemon daemon;
  ASSERT_TRUE(daemon.running());
  ASSERT_TRUE(fs::exists(daemon.socket())) << "speech-dispatcher did not start";
  std::string error;
  auto speech = SpeechDispatcher::open("orvela", error, daemon.socket());
  ASSERT_NE(speech, nullptr) << error;
  Messages msg(*speech);

  msg.EDANOINT("alpha");
  msg.EDA("bravo");  // queued behind alpha
  ASSERT_TRUE(daemon.wait_for("START bravo"));
  msg.EDA("charlie");  // cuts bravo off
  ASSERT_TRUE(daemon.wait_for("START charlie"));
  ASSERT_TRUE(daemon.wait_for("START charlie\nEND\n"));

  EXPECT_EQ(read_file(daemon.spoken()), "START alpha\nEND\nSTART bravo\nSTART charlie\nEND\n");
}

}  // namespace
}  // namespace orvela::text
