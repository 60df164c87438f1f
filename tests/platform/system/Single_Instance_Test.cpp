#include "platform/system/Single_Instance.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// ---- the other program: this test program started again with a window class to announce ----

constexpr const char* Helper_Class_Variable = "KARDUN_TEST_ANNOUNCE_CLASS";
constexpr const char* Helper_Suffix_Variable = "KARDUN_TEST_ANNOUNCE_SUFFIX";

// Runs before main when the variable is set: announces the class, says "ready", and ends
// with "closed" when asked to close (or by itself after a minute, should a test go wrong).
int Run_As_Helper_If_Asked() {
  const char* window_class = std::getenv(Helper_Class_Variable);
  if (!window_class) return 0;
  static int argc = 1;
  static char name[] = "helper";
  static char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  sys::Single_Instance.Name_Suffix = std::getenv(Helper_Suffix_Variable);
  sys::Announce_Window_Class(window_class, [] {
    std::printf("closed\n");
    std::fflush(stdout);
    QCoreApplication::quit();
  });
  QTimer ready;
  QObject::connect(&ready, &QTimer::timeout, [&ready, window_class] {
    if (!sys::Window_Class_Announced(window_class)) return;
    ready.stop();
    std::printf("ready\n");
    std::fflush(stdout);
  });
  ready.start(20);
  QTimer::singleShot(60000, [] { std::_Exit(3); });
  app.exec();
  std::_Exit(0);
}
const int Helper_Mode = Run_As_Helper_If_Asked();

// ---- the tests ----

// Processes events until `done` holds or a generous limit passes.
template <typename Condition>
bool Wait_For(Condition done, int limit_ms = 15000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > limit_ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ::usleep(5000);
  }
  return true;
}

class Single_Instance_Rule : public ::testing::Test {
 protected:
  void SetUp() override {
    sys::Reset_Single_Instance();
    // Names of this test run only: a real program of the user is never disturbed.
    Suffix = ".test" + std::to_string(::getpid()) + "." +
             ::testing::UnitTest::GetInstance()->current_test_info()->name();
    sys::Single_Instance.Name_Suffix = Suffix;
  }
  void TearDown() override {
    for (auto& helper : Helpers) {
      helper->kill();
      helper->waitForFinished(5000);
    }
    sys::Reset_Single_Instance();
  }

  // Starts another process that announces a window of the class; waits until it has.
  QProcess* Start(const std::string& window_class, const char* display = nullptr) {
    auto process = std::make_unique<QProcess>();
    auto environment = QProcessEnvironment::systemEnvironment();
    if (display) {
      environment.remove("WAYLAND_DISPLAY");
      environment.insert("DISPLAY", display);
    }
    environment.insert(Helper_Class_Variable, QString::fromStdString(window_class));
    environment.insert(Helper_Suffix_Variable, QString::fromStdString(Suffix));
    process->setProcessEnvironment(environment);
    process->start(QCoreApplication::applicationFilePath(), {});
    EXPECT_TRUE(process->waitForStarted(10000));
    EXPECT_TRUE(Wait_For([&] { return process->readAllStandardOutput().contains("ready"); }))
        << window_class << " did not announce itself";
    Helpers.push_back(std::move(process));
    return Helpers.back().get();
  }

  static bool Closed(QProcess* helper) {
    if (helper->state() != QProcess::NotRunning && !helper->waitForFinished(15000)) return false;
    return helper->exitStatus() == QProcess::NormalExit && helper->exitCode() == 0;
  }

  std::string Suffix;
  std::vector<std::unique_ptr<QProcess>> Helpers;
};

TEST_F(Single_Instance_Rule, Nothing_Running_Nothing_Asked) {
  for (const auto& window_class : sys::Program_Window_Classes)
    EXPECT_FALSE(sys::Window_Class_Running(window_class));
  EXPECT_EQ(sys::Close_Running_Program(), "");
}

TEST_F(Single_Instance_Rule, Running_Copy_Is_Found_And_Closed) {
  QProcess* running = Start("TForm_KardunGAS");
  EXPECT_TRUE(sys::Window_Class_Running("TForm_KardunGAS"));
  EXPECT_FALSE(sys::Window_Class_Running("TForm_Perlox"));
  // Being looked for does not close it.
  EXPECT_FALSE(running->waitForFinished(300));

  EXPECT_EQ(sys::Close_Running_Program(), "TForm_KardunGAS");
  EXPECT_TRUE(Closed(running));
  EXPECT_TRUE(running->readAllStandardOutput().contains("closed"));
}

// One user on two desktops: a start on one display leaves the copy on the other running,
// and asks only the copy on its own display (whatever the screen) to close.
TEST_F(Single_Instance_Rule, Copies_On_Two_Displays_Both_Live) {
  const char* old_wayland = std::getenv("WAYLAND_DISPLAY");
  const char* old_display = std::getenv("DISPLAY");
  const std::string kept_wayland = old_wayland ? old_wayland : "";
  const std::string kept_display = old_display ? old_display : "";
  ::unsetenv("WAYLAND_DISPLAY");

  QProcess* first = Start("TForm_KardunGAS", ":91");
  QProcess* second = Start("TForm_KardunGAS", ":92.0");
  ::setenv("DISPLAY", ":93", 1);
  EXPECT_EQ(sys::Close_Running_Program(), "");
  ::setenv("DISPLAY", ":92", 1);
  EXPECT_EQ(sys::Close_Running_Program(), "TForm_KardunGAS");
  EXPECT_TRUE(Closed(second));
  EXPECT_FALSE(first->waitForFinished(500));
  ::setenv("DISPLAY", ":91.1", 1);
  EXPECT_TRUE(sys::Window_Class_Running("TForm_KardunGAS"));

  if (old_wayland) ::setenv("WAYLAND_DISPLAY", kept_wayland.c_str(), 1);
  if (old_display) ::setenv("DISPLAY", kept_display.c_str(), 1);
  else ::unsetenv("DISPLAY");
}

TEST_F(Single_Instance_Rule, Only_The_Last_Found_In_Order_Is_Asked) {
  QProcess* brondale = Start("TForm_Brondale");
  QProcess* lumbra = Start("TForm_Lumbra");
  EXPECT_EQ(sys::Close_Running_Program(), "TForm_Brondale");
  EXPECT_TRUE(Closed(brondale));
  // One request only: the other program keeps running.
  EXPECT_FALSE(lumbra->waitForFinished(500));
  EXPECT_TRUE(sys::Window_Class_Running("TForm_Lumbra"));
  EXPECT_FALSE(sys::Window_Class_Running("TForm_Brondale"));

  EXPECT_EQ(sys::Close_Running_Program(), "TForm_Lumbra");
  EXPECT_TRUE(Closed(lumbra));
}

TEST_F(Single_Instance_Rule, New_Start_Takes_Over_The_Class) {
  QProcess* old_copy = Start("TForm_KardunGAS");
  int close_requests = 0;
  EXPECT_EQ(sys::Close_Running_Program(), "TForm_KardunGAS");
  sys::Announce_Window_Class("TForm_KardunGAS", [&] { ++close_requests; });
  EXPECT_TRUE(Closed(old_copy));
  // Once the old copy has gone, this process holds the name.
  EXPECT_TRUE(Wait_For([] { return sys::Window_Class_Announced("TForm_KardunGAS"); }));
  // Its own window is not another running copy.
  EXPECT_EQ(sys::Close_Running_Program(), "");
  EXPECT_EQ(close_requests, 0);

  // The next start (another process of this user) asks this one to close.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Raw socket: no Qt in a forked copy.
    const std::string name = sys::Window_Class_Socket_Name("TForm_KardunGAS");
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    const bool sent = fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                      ::write(fd, "close\n", 6) == 6;
    std::_Exit(sent ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_TRUE(Wait_For([&] { return close_requests == 1; }));
}

// The names can be reached by every local user; only the same user may close a program.
TEST_F(Single_Instance_Rule, Another_User_Cannot_Close_The_Program) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  int close_requests = 0;
  sys::Announce_Window_Class("TForm_KardunGAS", [&] { ++close_requests; });
  ASSERT_TRUE(sys::Window_Class_Announced("TForm_KardunGAS"));
  const std::string name = sys::Window_Class_Socket_Name("TForm_KardunGAS");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) std::_Exit(2);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&address), length) != 0) std::_Exit(1);
    (void)!::write(fd, "close\n", 6);
    char byte;
    (void)!::read(fd, &byte, 1);  // until the program drops the connection
    std::_Exit(0);
  }
  int status = 0;
  while (::waitpid(child, &status, WNOHANG) == 0) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  for (int i = 0; i < 20; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_EQ(close_requests, 0);
  EXPECT_TRUE(sys::Window_Class_Announced("TForm_KardunGAS"));
}

}  // namespace
