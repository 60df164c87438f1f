// Process-wide paths and state flags shared by the windows, the protocol and the timers.
// One instance of each; the main window gives them their start values when it is created
// (Globals_Set_Paths, Globals_Reset), and tests reset them with Globals_Reset.
//
// Flags held elsewhere, beside the code that owns them: the port error flag (serial
// link), the pending request code (script sequencer), the controller program version
// (identification) and the pressure factor (configuration record).
#pragma once

#include <cstdint>
#include <string>

// ---- paths: set once at start, never changed later ----
extern std::string Program_Dir;            // current directory at start; base of every data path
extern std::string Exe_Name;               // program file name without folder and extension
extern std::string Help_Dir;               // Program_Dir + "/Help"
extern std::string Language_Dir;           // Program_Dir + "/Language"
extern std::string Settings_File_Name;     // Exe_Name + ".ini" (a name only, in Program_Dir)
extern std::string Temperature_File_Name;  // Exe_Name + ".dat" (a name only, in Program_Dir)
extern std::string Program_Name_Text;      // the controller program's name once identified

// The name the program is shipped under; its own branding applies under this name.
inline constexpr const char* Built_In_Exe_Name = "KardunGD";

// ---- shared state ----
extern bool Port_Open;                 // the serial port is open
extern bool Connected;                 // the controller link is established
extern uint8_t Work_Mode;              // live work mode: 1 liquid fuel, 2 automatic, 4 gas
extern int32_t Ident_Status;           // identification status
extern uint16_t Error_Control_Word;    // error-memory control word; bit 0 asks for clearing
extern bool Temperature_File_Found;    // the temperature table could last be opened
extern bool UI_Ready;                  // controls are not being loaded by code
extern bool Error_Memo_Shown;          // the error memo was filled
extern bool Settings_Applied;          // the calibration controls hold the settings
extern std::string Preferred_Port;     // port name from the settings file, tried first by the search
extern int32_t RPM_Idle_Run_Default;   // 600; the settings key CFG_RPM_Idle_Run when non-zero
// A configuration file was loaded to be written to the controller: its detonation
// correction switch is parked until the configuration list goes out.
extern bool CFG_Loaded_For_Write;
extern bool DS_Correction_Parked;

// Fills the paths from the current directory and the program file (argv[0] or the
// executable's path): Program_Dir, Exe_Name, Help_Dir, Language_Dir, Settings_File_Name,
// Temperature_File_Name; Program_Name_Text becomes empty.
void Globals_Set_Paths(const std::string& program_file);

// Full path of a file that lies in Program_Dir ("Program_Dir/name").
std::string Program_File_Path(const std::string& name);

// Start values of every path and flag above (paths empty, Temperature_File_Found true,
// RPM_Idle_Run_Default 600, all other flags false or 0; the main window then sets
// Work_Mode to 2, automatic).
void Globals_Reset();
