// The machine's list of serial ports: the real serial devices of the system, plus the
// configured port and the kept port when they are absolute paths to existing terminal
// devices (so that a pseudo-terminal can stand in for an adapter). A machine without serial ports has an
// empty list; that is not an error.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace sys {

// Process-wide state of the port list. The folders are settable so that tests can point
// the scan at a tree of their own.
struct Serial_Port_State {
  std::string Class_Dir = "/sys/class/tty";  // one entry per terminal device of the kernel
  std::string Device_Dir = "/dev";           // where the device files live
  std::string Configured_Port;               // port name chosen in the settings
  std::string Kept_Port;                     // a second name that stays listed (see below)
};
extern Serial_Port_State Serial_Ports;
void Reset_Serial_Ports();

// The port name kept in the settings; listed when it is an absolute path to a terminal.
void Set_Configured_Port(const std::string& name);
// A port name listed beside the configured one on the same terms: the port remembered from
// the settings file, which stays listed while a port search rewrites the configured name.
void Set_Kept_Port(const std::string& name);

// A snapshot of the list, read once, then enumerated by index like a table of values.
class Serial_Port_Map {
 public:
  // Reads the list now. `Opened()` is false when the device table could not be read.
  Serial_Port_Map();
  bool Opened() const { return Opened_; }
  // The port name at `index` (0-based); false past the end.
  bool Value(std::size_t index, std::string& name) const;
  std::size_t Count() const { return Names_.size(); }
  const std::vector<std::string>& Names() const { return Names_; }

 private:
  bool Opened_ = false;
  std::vector<std::string> Names_;
};

// True when `name` is one of the listed ports, compared exactly (letter case matters).
bool Serial_Port_Listed(const std::string& name);

// The listed ports, sorted (numbers inside names in numeric order: ttyS2 before ttyS10).
// Returns false and sets `error_code` (an errno value) when the device table exists but
// cannot be read; a missing table is an empty list.
bool Serial_Ports_Sorted(std::vector<std::string>& names, int* error_code = nullptr);

}  // namespace sys
