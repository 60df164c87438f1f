#include "platform/comm/Thread_Sync.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>

#include <dirent.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/comm/Pty_Pair.h"
#include "platform/ui/Runtime.h"

using comm::Run_On_UI_Thread;
using comm::Sync_Result;

namespace {

struct Stop_Fd {
  Stop_Fd() : Fd(eventfd(0, EFD_CLOEXEC)) {}
  ~Stop_Fd() { ::close(Fd); }
  void Signal() {
    uint64_t one = 1;
    ASSERT_EQ(::write(Fd, &one, sizeof one), 8);
  }
  int Fd;
};

bool On_UI_Thread() { return QThread::currentThread() == QCoreApplication::instance()->thread(); }

}  // namespace

TEST(Thread_Sync, Runs_The_Call_On_The_UI_Thread_While_The_Worker_Waits) {
  Watchdog dog("hand-over", 30);
  Stop_Fd stop;
  std::atomic<bool> ran_on_ui{false};
  std::atomic<bool> worker_back{false};
  std::atomic<bool> back_before_call_ended{false};
  auto worker = std::async(std::launch::async, [&] {
    Sync_Result r = Run_On_UI_Thread(
        [&] {
          ran_on_ui = On_UI_Thread();
          QThread::msleep(50);
          back_before_call_ended = worker_back.load();
        },
        stop.Fd);
    worker_back = true;
    return r;
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return worker_back.load(); }, 10000));
  EXPECT_EQ(worker.get(), Sync_Result::Done);
  EXPECT_TRUE(ran_on_ui);
  EXPECT_FALSE(back_before_call_ended);
}

TEST(Thread_Sync, A_Stop_Before_The_Call_Starts_Drops_It) {
  Watchdog dog("dropped hand-over", 30);
  Stop_Fd stop;
  std::atomic<int> runs{0};
  // The UI thread does not serve events here, as when it is busy closing the port.
  auto worker = std::async(std::launch::async,
                           [&] { return Run_On_UI_Thread([&] { ++runs; }, stop.Fd); });
  EXPECT_EQ(worker.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
  stop.Signal();
  ASSERT_EQ(worker.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(worker.get(), Sync_Result::Dropped);
  QTest::qWait(50);
  QCoreApplication::processEvents();
  EXPECT_EQ(runs.load(), 0);
}

TEST(Thread_Sync, The_Call_May_Stop_And_Wait_For_Its_Own_Worker) {
  // A handler that closes the port: it signals the stop and waits for the worker's end
  // while the worker is still inside its hand-over.
  Watchdog dog("stop from inside the call", 30);
  Stop_Fd stop;
  std::promise<Sync_Result> result;
  std::atomic<bool> done{false};
  std::thread worker;
  worker = std::thread([&] {
    result.set_value(Run_On_UI_Thread(
        [&] {
          stop.Signal();
          worker.join();
          done = true;
        },
        stop.Fd));
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 10000));
  EXPECT_EQ(result.get_future().get(), Sync_Result::Detached);
}

TEST(Thread_Sync, Direct_Call_On_The_UI_Thread_And_Exceptions_Are_Reported_There) {
  ui::Reset_Hooks();
  std::vector<std::string> reported;
  ui::Hooks.On_Exception = [&](const std::string& m) { reported.push_back(m); };
  int runs = 0;
  EXPECT_EQ(Run_On_UI_Thread([&] { ++runs; }, -1), Sync_Result::Done);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(Run_On_UI_Thread([] { throw std::runtime_error("handler failed"); }, -1),
            Sync_Result::Done);

  Watchdog dog("throwing hand-over", 30);
  std::atomic<bool> back{false};
  auto worker = std::async(std::launch::async, [&] {
    Sync_Result r = Run_On_UI_Thread([] { throw std::runtime_error("handler failed"); }, -1);
    back = true;
    return r;
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return back.load(); }, 10000));
  EXPECT_EQ(worker.get(), Sync_Result::Done);
  EXPECT_EQ(reported, std::vector<std::string>(2, "handler failed"));
  ui::Reset_Hooks();
}

namespace {

int Open_Descriptors() {
  int n = 0;
  if (DIR* d = opendir("/proc/self/fd")) {
    while (dirent* e = readdir(d))
      if (e->d_name[0] != '.') ++n;
    closedir(d);
  }
  return n;
}

}  // namespace

TEST(Thread_Sync, A_Worker_Hands_Over_Again_And_Again_Each_Call_Ending_Before_It_Returns) {
  Watchdog dog("repeated hand-overs", 60);
  Stop_Fd stop;
  std::atomic<int> runs{0};
  std::atomic<int> early{0};
  std::atomic<int> not_done{0};
  std::atomic<int> during{-1};
  std::atomic<bool> back{false};
  const int before = Open_Descriptors();
  auto worker = std::async(std::launch::async, [&] {
    for (int i = 0; i < 100; ++i) {
      Sync_Result r = Run_On_UI_Thread(
          [&, i] {
            if (i % 10 == 0) QThread::msleep(5);
            ++runs;
          },
          stop.Fd);
      if (r != Sync_Result::Done) ++not_done;
      if (runs.load() != i + 1) ++early;
      if (i == 50) during = Open_Descriptors();
    }
    back = true;
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return back.load(); }, 30000));
  worker.get();
  EXPECT_EQ(runs.load(), 100);
  EXPECT_EQ(not_done.load(), 0);
  EXPECT_EQ(early.load(), 0);
  // One descriptor serves all the hand-overs of a thread and goes with the thread.
  EXPECT_LE(during.load(), before + 1);
  EXPECT_LE(Open_Descriptors(), before);
}
