// Dates, times and pseudo-random numbers as the run-time library hands them out.
#pragma once

#include <ctime>
#include <string>

namespace sys {

// Formats local time by a pattern: "yyyy" four-digit year, "yy" two-digit year, "mm"/"m"
// month, "dd"/"d" day, "hh"/"h" hour (24-hour clock), "nn"/"n" minute, "ss"/"s" second;
// "mm"/"m" right after an hour (only separators between) is the minute. Text in single or
// double quotes is copied; every other character stands for itself. Letter case is ignored.
std::string Format_Date_Time(const std::string& pattern, std::time_t when);

// The current time: the system's clock, or the time a test set.
std::time_t Now();
// Holds Now() at `when` (tests); 0 gives it back to the system's clock.
void Set_Now(std::time_t when);

// The short date: ten characters, "dd.mm.yyyy".
std::string Short_Date_Text(std::time_t when);

// Milliseconds of a clock that only runs forward (changes of the system's time do not move
// it); what measures durations. Any thread.
long long Monotonic_Ms();
// Tests: the clock reads `ms` from now on, until Monotonic_Clock_Release.
void Monotonic_Clock_Set(long long ms);
void Monotonic_Clock_Release();

// A pseudo-random integer 0 .. range - 1 (0 when range < 1).
int Random_Below(int range);
// Starts the sequence again from `seed` (tests); the process starts from a random seed.
void Seed_Random(unsigned seed);

}  // namespace sys
