// The settings of the program itself and the settings file (Program_Dir/Settings_File_Name,
// a key file written with a comment for every key from the language texts).
//
// Start-up: Settings_Create (defaults, the file, the window side, the branding).
// Save: Settings_Save_Begin, Settings_Save, the oscilloscope's keys, Settings_Save_End.
//
// The data side lives here; what the settings do on the main window (copying them into
// the Settings page, the About page boxes, colours, the Load button) is supplied by the
// main window through Settings_Hooks. Unset hooks are skipped.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

constexpr int Language_Names_Count = 20;

class Settings_Class {
public:
    // Display names of the three controller models.
    std::string Name_Block_PIC_1 = "GD2";
    std::string Name_Block_PIC_2 = "GD6";
    std::string Name_Block_PIC_3 = "GD8";
    // Branding boxes of the About page.
    bool Tech_Box_Show = false;
    std::string Tech_Box_Name;
    bool Firm_Box_Show = false;
    std::string Firm_Box_Name, Firm_Address, Firm_Phone, Firm_eMail, Firm_Site;

    std::string Port_Name = "ttyUSB0";  // the first USB serial adapter
    bool Search_Port = false;
    int32_t Reply_Delay = 60;           // ms before a prepared frame is sent (1..999)
    int32_t Delay_Compensation = 100;   // ms added in the RPM sensitivity sweep (1..999)
    bool Save_Load_Data = true;
    std::string CFG_File_Path;          // Program_Dir + "/Config"
    std::string CFG_File_Name;          // Exe_Name + ".cfg"; "Default" means none
    std::string OSC_File_Path;          // Program_Dir + "/Oscilloscope"
    std::string OSC_File_Name;          // Exe_Name + ".osc"
    int32_t Position_Top = 0;
    int32_t Position_Left = 0;
    bool Full_Screen = true;
    bool Transmit_Now = false;
    int32_t Page_Number = 0;            // page shown at start, 0..6
    bool Form_Style = false;            // main window stays on top
    bool Show_Hint = true;
    int32_t Hint_Length = 40;           // characters per hint line, at least 1
    std::string Language = "English";
    bool English_Menu = false;
    std::array<std::string, Language_Names_Count> Language_Names{};
    std::string Font_Name = "Tahoma";   // settings key: Language + "_N"
    int32_t Font_Charset = 1;           // settings key: Language + "_C"
    bool CheckPassword = false;
    bool Show_Auxiliary = false;
    int32_t RPM_Change_Time = 1000;     // ms per step of the RPM sensitivity sweep, at least 1
    bool CLB_View_Grid = true;
    bool CLB_Diagram_GAS = true, CLB_Diagram_RPM = false, CLB_Diagram_TPS_1 = true,
         CLB_Diagram_TPS_2 = true, CLB_Diagram_TPS_3 = true, CLB_Diagram_VAC = false;
    int32_t OSC_Max_mls = 32, OSC_Max_RPM = 5000, OSC_Max_Deg = 1000, OSC_Max_Bar = 200,
            OSC_Max_Volt = 500;
    bool OSC_View_RPM = false, OSC_View_Gas = true, OSC_View_TPS = true, OSC_View_DegVap = false,
         OSC_View_DegGas = false, OSC_View_PressDiff = true, OSC_View_PressColl = true,
         OSC_View_Detonation = true;
    bool OSC_View_Grid = true;
    int32_t OSC_Step_Grid = 4;
    bool OSC_Negativ_Degree = true;
    int32_t OSC_Degree_Volt_Pos = 5;
};

// The one settings record.
extern Settings_Class Settings;
// The settings file could be read (or has been written): the Load button is enabled then.
extern bool Settings_File_Readable;

// What the settings do on the windows; the main window plugs these in.
struct Settings_Hooks_Class {
    std::function<void()> To_Form;                  // Settings_To_Form: settings into the Settings page
    std::function<void()> Mark_Controls;            // language box and port-name edit light green
    std::function<void()> About_Apply;              // About page boxes from the branding fields
    std::function<void(bool)> Load_Button_Enable;   // the Settings page's Load button
    std::function<void()> Reply_Delay_Colour;       // Settings_Reply_Delay_Colour
    std::function<void()> ICO_Load;                 // big-digit windows' keys, from the open file
    std::function<void()> ICO_Save;                 // big-digit windows' keys, into the open file
};
extern Settings_Hooks_Class Settings_Hooks;

// Full path of the settings file.
std::string Settings_File_Path();

// The program runs under its own name: its built-in branding applies.
bool Settings_Own_Branding();

// Creates the settings: start values, language list, defaults, the settings file, the
// window side (To_Form, Mark_Controls), then the branding rule and the About page.
void Settings_Create();
// Every field from Search_Port to OSC_Degree_Volt_Pos to its default, except the language,
// its names, the font and CheckPassword; RPM_Idle_Run_Default := 600.
void Settings_Default();
// Reads the settings file over the current fields; remembers whether it could be read.
// Values out of range are replaced by their defaults. Returns Settings_File_Readable.
bool Settings_Load();
// Under the program's own name: the built-in model names and maker data, both boxes shown.
// Under another name the branding keys of the file stay as loaded.
void Settings_Branding_Apply();
// Reads the font name and character set of the current language from the settings file.
void Settings_Language_Font_Read();

// The save sequence.
void Settings_Save_Begin();
void Settings_Save();
// Writes the file, releases the language texts, puts the language back and rewrites the
// key Language with the real language. False when the file could not be written (the old
// file stays; the failure has been reported).
bool Settings_Save_End();

// Process priority by name ("RealTime", "High", "Normal", "Idle"; another name changes
// nothing), then the calling thread becomes time-critical. Best effort: without the
// privilege nothing changes and nothing is said. Returns Priority_Text.
std::string Set_Priority(const std::string& name);
// The priority class in force as one of the four names (empty for another); refreshes the
// reply-delay colour.
std::string Priority_Text();

// Fresh settings record, file not read, hooks cleared (tests).
void Settings_Reset();
