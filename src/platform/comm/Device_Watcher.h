// Port events watched on the user-interface thread's event loop: the loop wakes when
// bytes arrive (or when a line signal or the end of a transmission is due for a look),
// and the handler runs right there. No thread and no hand-over stand between a reply's
// bytes and the handler that reads them.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace comm {

class Serial_Device;

// True when the calling thread runs the application's event loop (an application object
// exists and this is its thread): only there can a Device_Watcher be made.
bool On_Event_Loop_Thread();

class Device_Watcher {
 public:
  // Watches `device` (its event mask set) from now on. `on_events` gets the events found
  // (Ev_ bits) and may close the port, destroying this watcher; `on_failed` runs once when
  // the device fails or goes away, after which nothing more is watched.
  Device_Watcher(Serial_Device& device, std::function<void(uint32_t events)> on_events,
                 std::function<void()> on_failed);
  ~Device_Watcher();
  Device_Watcher(const Device_Watcher&) = delete;
  Device_Watcher& operator=(const Device_Watcher&) = delete;

 private:
  struct State;
  std::shared_ptr<State> State_;
};

}  // namespace comm
