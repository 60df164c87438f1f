// Termination requests from the system (log-out, kill, Ctrl+C): SIGTERM and SIGINT are
// turned into a call on the user-interface thread, woken by the request itself (nothing
// polls for it).
#pragma once

#include <functional>

namespace sys {

// From now on SIGTERM and SIGINT run `on_stop` on the event loop's thread (once per
// signal) instead of ending the process. Call on the user-interface thread once the
// application object exists; a second call replaces the handler. False when the wake-up
// channel cannot be made (the signals then keep their default action).
bool Watch_Stop_Signals(std::function<void()> on_stop);

// The signals back to their default action; the handler is dropped.
void Stop_Watching_Signals();

}  // namespace sys
