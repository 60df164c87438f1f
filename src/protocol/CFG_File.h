// The car's configuration file: one key file per car, named by the car number + ".cfg", in
// the configuration folder (Settings.CFG_File_Path). It holds the configuration record, the
// RPM-dependence table, the gas-diesel options and the six calibration curves; every save
// also files a dated history copy.
//
// Save and load run on the user-interface thread from the script sequencer (requests 10
// and 9, the automatic save after a write) and from the pages. Nothing is thrown: a name
// that names no file, a folder that cannot be made and a file that cannot be written are
// reported with the message window, and a failed history copy stays unreported.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

#include "protocol/Request_State.h"

// A file name was set by a car number: the car file is saved automatically after a write.
extern bool CFG_File_Named;
// Car-file status of the page; cleared by every load.
extern uint8_t Car_File_State;
// Full path of the file the next load reads (the file-open step sets it).
extern std::string Load_Path;

// Request 10 (save) or 9 (load) with the file it carries runs: the file becomes the current
// one (Settings' CFG_File_Path and CFG_File_Name, Load_Path for a load; Car_File_State 0),
// then the File_Chosen hook runs. A request dropped on the way leaves the current file as it
// was: no car's file gets another car's data. Without a file (a request asked with none) the
// current file stays; other requests: nothing.
void CFG_File_Commit(uint8_t request, const CFG_File_Choice& file);

// The settings' name that means "no file chosen".
inline constexpr const char* CFG_No_File = "Default";

// Whether a name may become a configuration file's path: not "Default", and a base name
// (the name without ".cfg" extension) that is not empty, ".", or "..", and no "/", "\" or
// control character anywhere. Letter case counts.
bool CFG_File_Name_Valid(const std::string& name);
// Settings.CFG_File_Path + "/" + Settings.CFG_File_Name.
std::string CFG_File_Full_Path();
// Whether the car file takes the automatic save that follows a read or a write: a car
// number names it (CFG_File_Named, a valid name) and that number is the one the controller
// holds (Configuration.Car_Number, read from it in this connection, or going to it with the
// configuration). A file named by a number only typed, chosen for another car, or of the
// controller before a link loss, is written only by an explicit save.
bool CFG_Auto_Save_Due();

// The page on which Save and Load were started decides the groups when neither a car
// number names the file nor Save_Load_Data is set.
enum class CFG_Page { Other, Configuration, Calibration };

// What the file routines do beyond the record (unset hooks are skipped).
struct CFG_File_Hooks_Class {
  std::function<CFG_Page()> Page_Shown;
  std::function<void()> Setup_Model_Controls;   // after the program keys were read
  std::function<void()> Show_Configuration;     // after a load of the configuration group
  std::function<void()> Draw_Calibration;       // after a load of the curves
  std::function<void()> RPM_Tab_Write_CFG;      // the RPM-dependence table's keys, into the open file
  std::function<void()> RPM_Tab_Read_CFG;       // ... and from it
  std::function<void()> File_Chosen;            // a chosen file became the current one
  // The clock of the history copies; unset: the system's clock.
  std::function<std::time_t()> Clock;
};
extern CFG_File_Hooks_Class CFG_File_Hooks;

// Saves the current configuration file (request 10, the automatic save, the firmware
// loader). False when nothing was written: no valid name ("Error_CFG_file_not_select"
// shown), a folder that cannot be made, or a failed write (both reported).
bool Save_CFG_File();
// Loads Load_Path (request 9). False when the file could not be read (nothing changed).
bool Load_CFG_File();

// Every configuration key in its order into the open key file, then the RPM-table keys
// and the gas-diesel option keys; ERROR_ keys whose error bit is clear are deleted.
void Write_CFG_Configuration();
// The program keys, every configuration key present, the car keys, the gas-diesel options
// and the RPM-table keys from the open key file.
void Read_CFG_Configuration();
// While not connected: the controller identification and work counters from the open file.
void Read_CFG_Program();
// Car_ID (0xFFFF when missing) and the nine car and client texts present in the open file.
void Read_CFG_Car();
// Empties the nine car and client texts (not Car_ID).
void Clear_Car_Data();
// Reads only the car keys of a file in the configuration folder; the car texts are emptied
// first in any case. False when the name is not valid or the file could not be read.
bool Load_CFG_Car_Data(const std::string& file_name);

// Curve keys: the slopes are recomputed and every curve's keys written into the open file;
// the gas point keys are written anew at the end of the file.
void Write_CFG_Calibration();
// Curve keys from the open file over the current curves. A file without all nine
// "Petrol_Point_" keys gives the shown curves their defaults instead.
void Read_CFG_Calibration();

// History copy of a saved file of folder F and name N:
// F/History/N'/yyyy.mm/dd_hh.mm.cfg (N' the name without extension), replacing a copy of
// the same minute. False when the copy could not be made (nobody is told).
bool Copy_CFG_To_History(const std::string& folder, const std::string& name);
// The path of that copy for a given time.
std::string History_Copy_Path(const std::string& folder, const std::string& name, std::time_t when);

// Start-up, after the record's creation: all six curves to their defaults, the injector
// type's limits, then the settings' file (when its name is valid and it reads): the
// configuration and car keys, the model's controls, the curve keys.
void CFG_Startup_Load();

// Registers the injector list, the gas-diesel English texts, the curve codecs and the file
// hooks of the protocol (Save_CFG_File, Load_CFG_File, CFG_File_Named).
void CFG_Data_Init();

// Flags, paths and hooks back to their start (tests).
void CFG_File_Reset();
