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

#include "data/Settings_Record.h"

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

// Breaks a text into lines of about equal length (about Settings.Hint_Length characters),
// joined by line feeds; used for hints.
std::string Wrap_Text_Chars(const std::string& text);

// Fresh settings record, file not read, hooks cleared (tests).
void Settings_Reset();
