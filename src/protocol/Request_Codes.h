#pragma once
// The user requests the sequencer serves (Request_Code): buttons, keys and windows set one,
// the sequencer runs its script at the next fixed point and clears it. A parameter letter
// 'A'..'t' as request code writes the letters marked for sending.
#include <cstdint>

// Served at the start of the next script run; while a write script runs, at the first
// run after it has handed back to the main poll.
inline constexpr uint8_t Request_Next_Work_Mode = 1;
inline constexpr uint8_t Request_Gas_Fors = 6;        // the forcing bits of the strip
inline constexpr uint8_t Request_Control_0_1 = 7;     // control frame (0, 1): nothing forced, sweep mode
inline constexpr uint8_t Request_Control_0_2 = 8;     // control frame (0, 2)
inline constexpr uint8_t Request_Clear_Errors = 24;   // the error control word

// Served when the main poll ends.
inline constexpr uint8_t Request_Write_All = 2;
inline constexpr uint8_t Request_Read_All = 3;
inline constexpr uint8_t Request_Write_CLB_First = 4;
inline constexpr uint8_t Request_Read_Calibration = 5;
inline constexpr uint8_t Request_Load = 9;            // the chosen car file, without the wire
inline constexpr uint8_t Request_Save = 10;
inline constexpr uint8_t Request_Write_Car = 17;      // the car number, then the configuration
inline constexpr uint8_t Request_Read_Car = 18;
inline constexpr uint8_t Request_Sweep_Level = 20;    // the R.P.M. sensitivity with the sweep mark
inline constexpr uint8_t Request_Loader_Entry = 22;
inline constexpr uint8_t Request_Write_RPM_Tab = 25;
inline constexpr uint8_t Request_Write_Password = 26;
inline constexpr uint8_t Request_Password_Default = 27;
inline constexpr uint8_t Request_Service_Time_Write = 29;
inline constexpr uint8_t Request_Service_Time_Read = 30;
