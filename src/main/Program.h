// The program entry: one running copy, the application's titles, the windows created in
// their order, and the start of the link.
#pragma once

#include <string>

// The program file as started (argv[0]); its base name names the settings file.
extern std::string Program_File;

// Application title while the main window is created, and the product title after.
inline constexpr const char* Application_Title = "KardunGD";
inline constexpr const char* Product_Title = "Roz Izoder  V0.36";

// Where the message catalogues ("default": dialog captions, "cport": port error texts) are
// bound at start-up; empty (the default): the folder "locale" beside the program file.
extern std::string Catalogue_Folder;

// Creates the program's windows in their order; the first is the main window.
void Create_Windows();
// After all windows exist: the message catalogues are bound, the branding icon, then the
// port is opened or the connect script started.
void Start_Up();
// Announces the main window's class so that a later start asks this program to close;
// such a request closes the main window (and so ends the program). Withdrawn at the end.
void Announce_Main_Window();
void Withdraw_Main_Window();
// The whole program: returns the exit code.
int Program_Run(int argc, char** argv);
