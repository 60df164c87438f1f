#include "platform/system/Priority.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <dirent.h>
#include <mutex>
#include <optional>
#include <set>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace sys {

namespace {

constexpr int Time_Critical_Nice = -20;

struct Priority_State {
  std::mutex Lock;
  std::optional<int> Class_Nice;  // nice of the class in force, read before any change
  std::set<pid_t> Time_Critical;  // threads raised above their class
};

Priority_State& State() {
  static Priority_State state;
  return state;
}

pid_t Thread_Id() { return static_cast<pid_t>(::syscall(SYS_gettid)); }

std::optional<int> Nice_Of(const std::string& name) {
  if (name == "RealTime") return -20;
  if (name == "High") return -10;
  if (name == "Normal") return 0;
  if (name == "Idle") return 19;
  return std::nullopt;
}

bool Read_Nice(pid_t thread, int& nice) {
  errno = 0;
  nice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(thread));
  return errno == 0;
}

// The class in force when nothing was set yet: the nice the process started with, read
// from the main thread unless that one was raised.
int Class_Nice_Locked(Priority_State& state) {
  if (!state.Class_Nice) {
    int nice = 0;
    state.Class_Nice = Read_Nice(::getpid(), nice) ? nice : 0;
  }
  return *state.Class_Nice;
}

}  // namespace

bool Set_Priority_Class(const std::string& name) {
  const auto wanted = Nice_Of(name);
  if (!wanted) return false;
  auto& state = State();
  std::lock_guard<std::mutex> guard(state.Lock);
  Class_Nice_Locked(state);
  // Every thread of the process takes the class, except those raised above it.
  bool all_done = true;
  if (DIR* tasks = ::opendir("/proc/self/task")) {
    while (const dirent* entry = ::readdir(tasks)) {
      if (entry->d_name[0] == '.') continue;
      const pid_t thread = static_cast<pid_t>(std::stol(entry->d_name));
      const bool raised = state.Time_Critical.count(thread) != 0;
      const int nice = raised ? std::min(*wanted, Time_Critical_Nice) : *wanted;
      // A thread that ended meanwhile needs nothing.
      if (::setpriority(PRIO_PROCESS, static_cast<id_t>(thread), nice) != 0 && errno != ESRCH)
        all_done = false;
    }
    ::closedir(tasks);
  } else {
    all_done = false;
  }
  if (!all_done) return false;
  state.Class_Nice = *wanted;
  return true;
}

bool Set_Thread_Time_Critical() {
  auto& state = State();
  std::lock_guard<std::mutex> guard(state.Lock);
  Class_Nice_Locked(state);
  const pid_t thread = Thread_Id();
  if (::setpriority(PRIO_PROCESS, static_cast<id_t>(thread), Time_Critical_Nice) != 0)
    return false;
  state.Time_Critical.insert(thread);
  return true;
}

bool Set_Thread_Priority_Normal() {
  auto& state = State();
  std::lock_guard<std::mutex> guard(state.Lock);
  const int nice = Class_Nice_Locked(state);
  const pid_t thread = Thread_Id();
  if (::setpriority(PRIO_PROCESS, static_cast<id_t>(thread), nice) != 0) return false;
  state.Time_Critical.erase(thread);
  return true;
}

std::string Priority_Class_Text() {
  auto& state = State();
  std::lock_guard<std::mutex> guard(state.Lock);
  switch (Class_Nice_Locked(state)) {
    case -20: return "RealTime";
    case -10: return "High";
    case 0: return "Normal";
    case 19: return "Idle";
    default: return "";
  }
}

void Reset_Priority() {
  auto& state = State();
  std::lock_guard<std::mutex> guard(state.Lock);
  state.Class_Nice.reset();
  state.Time_Critical.clear();
}

}  // namespace sys
