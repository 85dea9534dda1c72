#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "support/console_fixture.h"

namespace orvela::ui {
namespace {

using test::Console;
using test::Recorder;
using Lines = std::vector<std::string>;
using namespace std::chrono_literals;

BgTask task(std::function<BgResult(BgProgress&)> work) {
  return BgTask{{"Import", "Converting:", "Starting"}, std::move(work), {}};
}

TEST(BackgroundTask, ProgressTextsArriveInOrderAndTheResultComesBack) {
  Console c("");
  const BgResult r = c.ui.BGPROCES(task([](BgProgress& p) {
    p.BGPROCESINFO("10%");
    p.BGPROCESINFO("Reading ways", BGPROCESNAZWA);
    p.BGPROCESINFO("Import of city", BGPROCESTYT);
    p.BGPROCESINFO("line one\nline two");
    return BgResult{3, "Bad file", false};
  }));
  EXPECT_EQ(r.LASTERR, 3);
  EXPECT_EQ(r.LASTERRDESC, "Bad file");
  EXPECT_FALSE(r.cancelled);
  EXPECT_EQ(
      c.out_lines(),
      (Lines{"PROGRESS Import: Converting:: Starting", "PROGRESS Import: Converting:: 10%",
             "PROGRESS Import: Reading ways: 10%", "PROGRESS Import of city: Reading ways: 10%",
             "PROGRESS Import of city: Reading ways: line one\\nline two"}));
}

TEST(BackgroundTask, CancelRaisesTheFlagAndWaitsForTheWorkerToEnd) {
  Console c(":cancel\n");
  std::atomic<bool> worker_done{false};
  int on_cancel_calls = 0;
  BgTask t = task([&](BgProgress& p) {
    while (!p.BGPROCESCANCEL()) std::this_thread::sleep_for(1ms);
    // The work tidies up after noticing the flag; the dialog must wait.
    std::this_thread::sleep_for(150ms);
    worker_done = true;
    return BgResult{1, "Cancelled by user", false};
  });
  t.on_cancel = [&] { ++on_cancel_calls; };
  const BgResult r = c.ui.BGPROCES(std::move(t));
  EXPECT_TRUE(worker_done.load());
  EXPECT_TRUE(r.cancelled);
  EXPECT_EQ(r.LASTERR, 1);
  EXPECT_EQ(on_cancel_calls, 1);
  EXPECT_EQ(c.out_lines(), (Lines{"PROGRESS Import: Converting:: Starting",
                                  "PROGRESS Import: Converting:: Cancelling"}));
}

TEST(BackgroundTask, ASecondCancelIsIgnored) {
  Console c(":cancel\n:cancel\n");
  int on_cancel_calls = 0;
  BgTask t = task([](BgProgress& p) {
    while (!p.BGPROCESCANCEL()) std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(100ms);
    return BgResult{};
  });
  t.on_cancel = [&] { ++on_cancel_calls; };
  c.ui.BGPROCES(std::move(t));
  EXPECT_EQ(on_cancel_calls, 1);
}

TEST(BackgroundTask, AnExceptionFromTheWorkIsRethrownOnTheCallersThread) {
  Console c("");
  const auto caller = std::this_thread::get_id();
  std::thread::id worker;
  try {
    c.ui.BGPROCES(task([&](BgProgress& p) -> BgResult {
      worker = std::this_thread::get_id();
      p.BGPROCESINFO("half way");
      throw std::runtime_error("Database error");
    }));
    FAIL() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Database error");
  }
  EXPECT_NE(worker, caller);
  // The progress reported before the failure was still shown.
  EXPECT_EQ(c.out_lines().back(), "PROGRESS Import: Converting:: half way");
  // The runner is usable again afterwards.
  EXPECT_EQ(c.ui.BGPROCES(task([](BgProgress&) { return BgResult{0, "", false}; })).LASTERR, 0);
}

TEST(BackgroundTask, OtherLinesWaitUntilTheTaskHasEnded) {
  Console c("IDM_GOFORWARD\n");
  MenuBuilder b;
  b.MKMENU_START();
  b.MKMENU_POPUP("&Map");
  b.MKMENU_ADD(110, "IDM_SELSTARTPOINT", "Select start point...", "", key('T', MOD_CTRL));
  b.MKMENU_ADD(211, "IDM_GOFORWARD", "Go forward", "Up arrow", key(Key::Up));
  c.ui.set_menu(b.MKMENU_END());
  Recorder rec;
  std::atomic<bool> worker_done{false};
  rec.actions[211] = [&] { rec.events.push_back(worker_done ? "after task" : "during task"); };
  c.ui.post([&] {
    const BgResult r = c.ui.BGPROCES(task([&](BgProgress& p) {
      std::this_thread::sleep_for(200ms);
      worker_done = !p.BGPROCESCANCEL();
      return BgResult{};
    }));
    rec.events.push_back(r.cancelled ? "cancelled" : "finished");
  });
  c.ui.run(rec);
  EXPECT_EQ(rec.events, (Lines{"finished", "command 211", "after task", "close"}));
}

TEST(BackgroundTask, AWorkerThatEndsAtOnceStillClosesItsDialog) {
  Console c("IDM_X\n");
  for (int i = 0; i < 50; ++i) {
    const BgResult r = c.ui.BGPROCES(task([i](BgProgress&) { return BgResult{i, "", false}; }));
    EXPECT_EQ(r.LASTERR, i);
  }
  // The input line was not eaten by any of the tasks.
  EXPECT_EQ(c.ui.WGREADSTR("t", "p", "", false), "IDM_X");
}

TEST(BackgroundTask, AnErrorOnTheWindowsThreadStopsTheWorkAndWaitsForIt) {
  Console c("");
  std::atomic<bool> worker_done{false};
  EXPECT_THROW(c.ui.BGPROCES(task([&](BgProgress& p) {
    // A GPS update fails while the task runs.
    c.ui.post([] { throw std::logic_error("bad fix"); });
    while (!p.BGPROCESCANCEL()) std::this_thread::sleep_for(1ms);
    worker_done = true;
    return BgResult{};
  })),
               std::logic_error);
  EXPECT_TRUE(worker_done.load());
}

TEST(BackgroundTask, PostsFromOtherThreadsAreHandledWhileTheTaskRuns) {
  Console c("");
  std::vector<std::string> seen;
  c.ui.BGPROCES(task([&](BgProgress&) {
    std::atomic<bool> handled{false};
    c.ui.post([&] {
      seen.push_back("gps fix");
      handled = true;
    });
    while (!handled) std::this_thread::sleep_for(1ms);
    return BgResult{};
  }));
  EXPECT_EQ(seen, Lines{"gps fix"});
}

}  // namespace
}  // namespace orvela::ui
