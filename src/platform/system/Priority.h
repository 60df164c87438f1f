// Process priority classes and the time-critical thread priority, by name.
//
// Linux has no priority classes; a class is carried by the nice value of every thread of
// the process: "RealTime" -20, "High" -10, "Normal" 0, "Idle" 19. A time-critical thread
// runs at nice -20, the strongest level outside real-time scheduling. Raising a priority
// needs the privilege to do so; without it the request fails silently and what is read
// back stays what is in force.
#pragma once

#include <string>

namespace sys {

// Sets the class by name ("RealTime", "High", "Normal", "Idle"); another name changes
// nothing. True when the class is now in force.
bool Set_Priority_Class(const std::string& name);

// Makes the calling thread time-critical. True when that took effect.
bool Set_Thread_Time_Critical();

// Puts the calling thread back to the level of the class (a thread started by a
// time-critical thread inherits its level). True when that took effect.
bool Set_Thread_Priority_Normal();

// The class in force as one of the four names; empty for any other priority.
std::string Priority_Class_Text();

// Forgets which threads were made time-critical and what class was recorded (tests).
void Reset_Priority();

}  // namespace sys
