#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <thread>

#include "support/test_env.h"
#include "ui/single_instance.h"

namespace orvela::ui {
namespace {

using namespace std::chrono_literals;

bool eventually(const std::atomic<int>& v, int expected) {
  for (int i = 0; i < 400 && v.load() != expected; ++i) std::this_thread::sleep_for(5ms);
  return v.load() == expected;
}

TEST(SingleInstance, ASecondStartAsksTheFirstToComeForwardAndEnds) {
  orvela::test::TempDir home;
  const auto sock = home / "orvela.sock";
  auto first = SingleInstance::ONEINSTCHECK(sock, true);
  ASSERT_NE(first, nullptr);
  std::atomic<int> raised{0};
  first->on_raise([&] { ++raised; });

  EXPECT_EQ(SingleInstance::ONEINSTCHECK(sock, true), nullptr);
  EXPECT_TRUE(eventually(raised, 1));
  // Without GOTOWIN the second copy still ends, but nothing is raised.
  EXPECT_EQ(SingleInstance::ONEINSTCHECK(sock, false), nullptr);
  EXPECT_EQ(SingleInstance::ONEINSTCHECK(sock, true), nullptr);
  EXPECT_TRUE(eventually(raised, 2));

  // Once the first copy has ended, the next start runs.
  first.reset();
  EXPECT_FALSE(std::filesystem::exists(sock));
  EXPECT_NE(SingleInstance::ONEINSTCHECK(sock, true), nullptr);
}

TEST(SingleInstance, ARequestBeforeTheWindowExistsIsDeliveredLater) {
  orvela::test::TempDir home;
  auto first = SingleInstance::ONEINSTCHECK(home / "s", true);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(SingleInstance::ONEINSTCHECK(home / "s", true), nullptr);
  std::this_thread::sleep_for(100ms);  // let the listener take the request
  std::atomic<int> raised{0};
  first->on_raise([&] { ++raised; });
  EXPECT_TRUE(eventually(raised, 1));
}

TEST(SingleInstance, LeftoversOfACrashedCopyDoNotBlockTheStart) {
  orvela::test::TempDir home;
  // A plain file, and a socket nobody listens on any more.
  std::ofstream(home / "file.sock") << "junk";
  EXPECT_NE(SingleInstance::ONEINSTCHECK(home / "file.sock", true), nullptr);

  const auto dead = home / "dead.sock";
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strncpy(addr.sun_path, dead.c_str(), sizeof addr.sun_path - 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ::close(fd);
  ASSERT_TRUE(std::filesystem::exists(dead));
  auto inst = SingleInstance::ONEINSTCHECK(dead, true);
  ASSERT_NE(inst, nullptr);
  EXPECT_EQ(SingleInstance::ONEINSTCHECK(dead, true), nullptr);  // and it really listens
}

TEST(SingleInstance, ASilentClientDoesNotStopTheListener) {
  orvela::test::TempDir home;
  const auto sock = home / "orvela.sock";
  auto first = SingleInstance::ONEINSTCHECK(sock, true);
  std::atomic<int> raised{0};
  first->on_raise([&] { ++raised; });
  // Connects and says nothing, holding the connection open.
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strncpy(addr.sun_path, sock.c_str(), sizeof addr.sun_path - 1);
  ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  EXPECT_EQ(SingleInstance::ONEINSTCHECK(sock, true), nullptr);
  EXPECT_TRUE(eventually(raised, 1));
  ::close(fd);
}

TEST(SingleInstance, NoCallIsInProgressOnceTheCallbackIsRemoved) {
  orvela::test::TempDir home;
  const auto sock = home / "orvela.sock";
  auto first = SingleInstance::ONEINSTCHECK(sock, true);
  std::atomic<bool> inside{false};
  std::atomic<int> calls{0};
  first->on_raise([&] {
    inside = true;
    std::this_thread::sleep_for(200ms);  // a slow hand-over to the window
    ++calls;
    inside = false;
  });
  std::thread second([&] { SingleInstance::ONEINSTCHECK(sock, true); });
  while (!inside) std::this_thread::sleep_for(1ms);
  first->on_raise({});
  EXPECT_FALSE(inside.load());
  EXPECT_EQ(calls.load(), 1);
  second.join();
}

TEST(SingleInstance, APathTooLongForASocketRunsWithoutTheCheck) {
  orvela::test::TempDir home;
  const auto sock = home / std::string(200, 'x');
  EXPECT_NE(SingleInstance::ONEINSTCHECK(sock, true), nullptr);
}

}  // namespace
}  // namespace orvela::ui
