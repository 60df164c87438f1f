// One running copy per desktop: every program of the family announces its main window
// class under a local socket named after the class, the user and the desktop (the display
// it runs on), and a program that starts asks a running one on the same desktop to close.
// Copies of one user on other desktops (another display, a second session) go on running.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace sys {

// The window classes looked for at start, in the order they are looked for.
extern const std::vector<std::string> Program_Window_Classes;

struct Single_Instance_State {
  // Added to every socket name; tests use their own so they never meet a running program.
  std::string Name_Suffix;
};
extern Single_Instance_State Single_Instance;
// Closes every announced class and clears the state.
void Reset_Single_Instance();

// The desktop this process runs on: WAYLAND_DISPLAY, else DISPLAY without its screen
// number (":0.1" and ":0" are one desktop); empty without either.
std::string Desktop_Name();

// The local socket name of a window class for the current user and desktop.
std::string Window_Class_Socket_Name(const std::string& window_class);

// True when a running program of this user has announced a window of the class.
bool Window_Class_Running(const std::string& window_class);

// Looks for running windows of the classes in the given order; the one found last is
// asked once to close. Returns the class asked, or an empty text when none was running.
// The caller goes on starting either way.
std::string Close_Running_Program(const std::vector<std::string>& classes = Program_Window_Classes);

// Announces a window of the class owned by this program. A close request that arrives
// later runs `on_close` on the thread of the event loop. When a copy that was asked to close
// still holds the name, the announcement is retried until that copy has gone.
void Announce_Window_Class(const std::string& window_class, std::function<void()> on_close);
// True when the announcement is in place (the name is held by this process).
bool Window_Class_Announced(const std::string& window_class);
void Withdraw_Window_Class(const std::string& window_class);

}  // namespace sys
