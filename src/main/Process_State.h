// The process-wide state of the whole program: every layer keeps its state global, one
// instance each, with its own reset; Reset_All_State calls all of them in one place, so a
// state added to the program is added here once and every test starts from the same
// ground.
//
// What a window binds (its hooks) it releases itself when it goes; the reset clears the
// hooks as well, for a test that bound them without a window.
#pragma once

// Every state back to its start: the platform's hooks, the serial port list, the character
// set and file hooks; globals, settings, key file, text lookup and its English tables,
// configuration record, conversions and temperature table; serial port state; frames,
// scripts, protocol hooks and timers, identification, live data, status queue and link
// quality, parameter codecs and write lists, calibration codecs, car files, the firmware
// loader; the message window's stored message, the loader window's hooks, the port
// search's state and the password state; the program file name. User-interface thread; no
// window is created or destroyed.
void Reset_All_State();
