// A pseudo-terminal pair for the serial tests: the slave is the port under test, the
// master plays the other end of the line.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

class Pty_Pair {
 public:
  Pty_Pair() {
    Master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (Master < 0 || grantpt(Master) != 0 || unlockpt(Master) != 0)
      throw std::runtime_error("no pseudo-terminal");
    char name[128];
    if (ptsname_r(Master, name, sizeof name) != 0) throw std::runtime_error("no slave name");
    Slave_Path = name;
  }
  ~Pty_Pair() { Close_Master(); }
  Pty_Pair(const Pty_Pair&) = delete;
  Pty_Pair& operator=(const Pty_Pair&) = delete;

  // The other end goes away (like a pulled adapter).
  void Close_Master() {
    if (Master >= 0) ::close(Master);
    Master = -1;
  }

  void Send(const std::string& bytes) {
    size_t put = 0;
    while (put < bytes.size()) {
      ssize_t n = ::write(Master, bytes.data() + put, bytes.size() - put);
      if (n > 0) {
        put += static_cast<size_t>(n);
      } else {
        pollfd p{Master, POLLOUT, 0};
        if (::poll(&p, 1, 2000) <= 0) throw std::runtime_error("master write stuck");
      }
    }
  }

  // Reads what the port sent, until `count` bytes came or `ms` passed without any.
  std::string Receive(size_t count, int ms = 2000) {
    std::string got;
    while (got.size() < count) {
      pollfd p{Master, POLLIN, 0};
      if (::poll(&p, 1, ms) <= 0) break;
      char buf[4096];
      ssize_t n = ::read(Master, buf, std::min(sizeof buf, count - got.size()));
      if (n <= 0) break;
      got.append(buf, static_cast<size_t>(n));
    }
    return got;
  }

  int Master = -1;
  std::string Slave_Path;
};

// Ends the test program with a message when a step does not finish in time (a deadlock
// would otherwise hang the run).
class Watchdog {
 public:
  Watchdog(const char* what, int seconds) : What_(what) {
    Thread_ = std::thread([this, seconds] {
      std::unique_lock<std::mutex> l(Lock_);
      if (!Cv_.wait_for(l, std::chrono::seconds(seconds), [this] { return Done_; })) {
        std::fprintf(stderr, "Watchdog: \"%s\" did not finish\n", What_);
        std::_Exit(3);
      }
    });
  }
  ~Watchdog() {
    {
      std::lock_guard<std::mutex> l(Lock_);
      Done_ = true;
    }
    Cv_.notify_all();
    Thread_.join();
  }

 private:
  const char* What_;
  std::mutex Lock_;
  std::condition_variable Cv_;
  bool Done_ = false;
  std::thread Thread_;
};

// CPU time the whole process has used, in milliseconds.
inline long Process_Cpu_Ms() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000L +
         (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000L;
}

inline long Elapsed_Ms(std::chrono::steady_clock::time_point since) {
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::steady_clock::now() - since)
                               .count());
}
