// Synchronous hand-over of a call from a worker thread to the user-interface thread (the
// thread of the application object): the user-interface thread runs the call while the
// worker waits for it.
//
// The wait can be ended by a stop descriptor, so that the user-interface thread can stop
// the worker (and wait for it) without a deadlock while a hand-over is pending: a call
// that has not started when the stop comes is dropped and never runs.
#pragma once

#include <functional>
#include <string>

namespace comm {

enum class Sync_Result {
  Done,      // the call ran to its end
  Dropped,   // the stop came first (or there is no application object): the call never runs
  Detached   // the stop came while the call was running; the worker did not wait for its end
};

// Runs `call` on the user-interface thread and waits. `stop_fd` (-1: none) ends the wait
// when it becomes readable. Called on the user-interface thread itself, `call` runs at once.
// An exception thrown by `call` is reported as at every dispatch point of the window
// layer and goes no further.
Sync_Result Run_On_UI_Thread(std::function<void()> call, int stop_fd);

// Where an exception thrown by a handed-over call is reported: the window layer sets the
// report of its dispatch points when it is linked in; unset, the text goes to standard
// error. Any thread.
using Exception_Report = void (*)(const std::string& message);
void Set_Exception_Report(Exception_Report report);

// A stop event for a worker's waits: once signalled it stays readable (nothing reads it).
// Fd() is -1 when the descriptor could not be made.
class Stop_Event {
public:
  Stop_Event();
  ~Stop_Event();
  Stop_Event(const Stop_Event&) = delete;
  Stop_Event& operator=(const Stop_Event&) = delete;
  void Signal();
  int Fd() const { return Fd_; }

private:
  int Fd_ = -1;
};

}  // namespace comm
