#include "platform/system/Priority.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

int Nice_Of_Thread(pid_t thread) {
  errno = 0;
  const int nice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(thread));
  EXPECT_EQ(errno, 0);
  return nice;
}

pid_t This_Thread() { return static_cast<pid_t>(::syscall(SYS_gettid)); }

class Priority_Class : public ::testing::Test {
 protected:
  void SetUp() override {
    Start_Nice = Nice_Of_Thread(This_Thread());
    sys::Reset_Priority();
  }
  void TearDown() override {
    // Back to where the test program started (allowed: tests that raise run privileged).
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(This_Thread()), Start_Nice);
    sys::Reset_Priority();
  }
  int Start_Nice = 0;
};

// Whatever the privileges, the class read back is the one really in force.
TEST_F(Priority_Class, Read_Back_Follows_What_Took_Effect) {
  if (Start_Nice != 0) GTEST_SKIP() << "the test program was started at another level";
  EXPECT_EQ(sys::Priority_Class_Text(), "Normal");

  // A helper thread that lives through the changes must follow the class too.
  std::atomic<pid_t> helper_id{0};
  std::atomic<bool> stop{false};
  std::thread helper([&] {
    helper_id = This_Thread();
    while (!stop) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  });
  while (helper_id == 0) std::this_thread::yield();

  const bool raised = sys::Set_Priority_Class("High");
  EXPECT_EQ(sys::Priority_Class_Text(), raised ? "High" : "Normal");
  EXPECT_EQ(Nice_Of_Thread(helper_id), raised ? -10 : 0);
  EXPECT_EQ(raised, ::geteuid() == 0 || Nice_Of_Thread(This_Thread()) == -10);

  // Another name changes nothing.
  const std::string before = sys::Priority_Class_Text();
  EXPECT_FALSE(sys::Set_Priority_Class("AboveNormal"));
  EXPECT_FALSE(sys::Set_Priority_Class("high"));
  EXPECT_EQ(sys::Priority_Class_Text(), before);

  // Lowering is always allowed.
  EXPECT_TRUE(sys::Set_Priority_Class("Idle"));
  EXPECT_EQ(sys::Priority_Class_Text(), "Idle");
  EXPECT_EQ(Nice_Of_Thread(This_Thread()), 19);
  EXPECT_EQ(Nice_Of_Thread(helper_id), 19);
  const bool back = sys::Set_Priority_Class("Normal");
  EXPECT_EQ(sys::Priority_Class_Text(), back ? "Normal" : "Idle");

  stop = true;
  helper.join();
}

TEST_F(Priority_Class, Time_Critical_Thread_Keeps_Its_Level_And_Not_The_Class_Text) {
  if (::geteuid() != 0) GTEST_SKIP() << "raising a thread needs the privilege";
  ASSERT_TRUE(sys::Set_Priority_Class("High"));
  ASSERT_TRUE(sys::Set_Thread_Time_Critical());
  EXPECT_EQ(Nice_Of_Thread(This_Thread()), -20);
  EXPECT_EQ(sys::Priority_Class_Text(), "High");

  // A class change leaves the time-critical thread where it is.
  ASSERT_TRUE(sys::Set_Priority_Class("Normal"));
  EXPECT_EQ(sys::Priority_Class_Text(), "Normal");
  EXPECT_EQ(Nice_Of_Thread(This_Thread()), -20);

  // A thread it starts inherits the level and can go back to the class.
  int started_nice = 1, normal_nice = 1;
  bool normal = false;
  std::thread worker([&] {
    started_nice = Nice_Of_Thread(This_Thread());
    normal = sys::Set_Thread_Priority_Normal();
    normal_nice = Nice_Of_Thread(This_Thread());
  });
  worker.join();
  EXPECT_EQ(started_nice, -20);
  EXPECT_TRUE(normal);
  EXPECT_EQ(normal_nice, 0);
  EXPECT_TRUE(sys::Set_Thread_Priority_Normal());
  EXPECT_EQ(Nice_Of_Thread(This_Thread()), 0);
}

// Without the privilege a raise fails silently and the text stays true. The child starts
// from the normal class whatever level the suite was started at (under nice, say): it is
// put there while it still holds the privilege, and only then gives it up.
TEST_F(Priority_Class, Unprivileged_Raise_Fails_And_Reads_Back_Normal) {
  if (::geteuid() != 0) GTEST_SKIP() << "this run is unprivileged already (see the test above)";
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::setpriority(PRIO_PROCESS, 0, 0) != 0) std::_Exit(11);
    sys::Reset_Priority();
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) std::_Exit(10);
    struct rlimit limit {0, 0};
    ::setrlimit(RLIMIT_NICE, &limit);
    int code = 0;
    if (sys::Set_Priority_Class("High")) code |= 1;
    if (sys::Priority_Class_Text() != "Normal") code |= 2;
    if (sys::Set_Thread_Time_Critical()) code |= 4;
    if (sys::Set_Priority_Class("RealTime")) code |= 8;
    if (sys::Priority_Class_Text() != "Normal") code |= 16;
    if (!sys::Set_Priority_Class("Idle") || sys::Priority_Class_Text() != "Idle") code |= 32;
    if (sys::Set_Priority_Class("Normal") || sys::Priority_Class_Text() != "Idle") code |= 64;
    std::_Exit(code);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
