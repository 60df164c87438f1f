// Synchronous hand-over of a call from a worker thread to the user-interface thread (the
// thread of the application object): the user-interface thread runs the call while the
// worker waits for it.
//
// The wait can be ended by a stop descriptor, so that the user-interface thread can stop
// the worker (and wait for it) without a deadlock while a hand-over is pending: a call
// that has not started when the stop comes is dropped and never runs.
#pragma once

#include <functional>

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

}  // namespace comm
