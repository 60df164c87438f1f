// Opening a document with the program the desktop associates with it.
#pragma once

#include <string>

namespace sys {

// Asks the desktop to open the file; a failure is left to the desktop (no message here).
// Returns whether the desktop accepted the request.
bool Shell_Open(const std::string& path);

// Test hook: when set, receives the requests instead of the desktop.
void Set_Shell_Open_Hook(bool (*hook)(const std::string& path));

}  // namespace sys
