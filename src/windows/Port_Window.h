// The serial port search: finds the port on which the controller answers. The window lists
// the machine's serial ports, builds the order in which to try them and opens them one
// after another on the main window's port object; the main window's connect probing
// decides which one answers (two unanswered probes on an entry, and the next probe opens
// the next entry). While no serial port exists it waits, turning a busy wheel and
// rescanning ten times a second.
//
// Started at program start (setting Search_Port), by the main window's "I" button and after
// a port error; ended by the connected state (the main window closes the window) or by the
// user closing it, which leaves the current port as it is.
//
// Created once at start-up, shown non-modal above the main window. User-interface thread
// only: the timer and the connect probe both run there.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/UI.h"

// ---- the search state (one set for the program's life) ----
struct Port_Search_Class {
    // The order in which ports are tried; the preferred port comes first and again after
    // every other port but the last. Never holds an empty name.
    std::vector<std::string> Try_List;
    int32_t Try_Count = 0;         // entries of Try_List
    int32_t Try_Pos = -1;          // the entry now tried (-1 before the first)
    int32_t Previous_Count = 0;    // during a scan: the list length before it
    bool Preferred_Found = false;  // a preferred port was met in the last scan
    bool Port_Search_On = false;   // the window is shown (read by the connect probe)
    int32_t Ports_Found = 0;       // ports the last scan found
};
extern Port_Search_Class Port_Search;

// What the search asks of the main window, bound by it at creation; unbound, nothing (a
// port then never opens).
struct Port_Window_Hooks_Class {
    // Opens the port named by Settings.Port_Name on the main port object (closed first
    // when open, the port error flag cleared before the open). True when the port is open
    // without a port error; a failed open leaves the port closed.
    std::function<bool()> Main_Open_Port;
    // The main window's port name edit and port status panel show a text (no colours).
    std::function<void(const std::string& text)> Main_Port_Name_Show;
    std::function<void(const std::string& text)> Main_Port_Status_Show;
    // No serial port at all: "No_port" on red in the port status, the "I" button shown,
    // the frame indicator hidden, the port name emptied, the setup button disabled.
    std::function<void()> Main_No_Port;
    // The Settings page's "Setup Port" button.
    std::function<void(bool enabled)> Main_Setup_Port_Enable;
};
extern Port_Window_Hooks_Class Port_Window_Hooks;

// Search state and hooks back to their start (the window's timer is left as it is).
void Port_Window_Reset();

// Whether the configured port (Settings.Port_Name) is one of the machine's serial ports,
// compared exactly. The port remembered from the settings file (Preferred_Port) stays
// listed as well while a search rewrites the configured name.
bool Port_Exists();

// Whether `Name` comes first in the try order: on a first scan (no previous list) the port
// remembered from the settings file, on later scans a port not in the previous list.
bool Port_Is_Preferred(const std::string& Name);

// Scans the machine's serial ports into the try order: a preferred port goes in front and
// becomes Settings.Port_Name, the others follow in list order. Sets Try_Count to the ports
// found, Previous_Count to the list length before, Preferred_Found; each name found is
// added to `Found_Lines` when given, in list order. An unreadable list counts as no port.
std::vector<std::string> Enum_Serial_Ports(TStrings* Found_Lines = nullptr);

// The try list of a scan's order: with a preferred port (the first name, equal to
// `Port_Name`) and more than one name, it is tried again after every other name but the
// last (P, A, P, B, P, C); otherwise the order as it stands.
std::vector<std::string> Build_Try_List(const std::vector<std::string>& Order, bool Preferred_Found,
                                        const std::string& Port_Name);

class TForm_Port : public TForm {
public:
    explicit TForm_Port(TComponent* Owner);
    ~TForm_Port() override;
    using TControl::Enabled;
    using TControl::Visible;

    static constexpr int Design_Client_Width = 329;
    static constexpr int Design_Client_Height = 129;

    // Waiting face (no port yet).
    TPanel* Panel_Port_Search = nullptr;
    TLabel* Label_Port_Search = nullptr;
    TImage* Image_Port_Wait = nullptr;
    // Trying face.
    TPanel* Panel_Port = nullptr;
    TLabel* Label_Port_Quantity = nullptr;
    TPanel* Panel_Port_Quantity = nullptr;
    TLabel* Label_Port_Name = nullptr;
    TPanel* Panel_Port_Name = nullptr;
    TLabel* Label_Port_Number = nullptr;
    TProgressBar* ProgressBar_Port = nullptr;
    TMemo* Memo_Ports_Name = nullptr;
    // Rescan and retry pacing: 100 ms while waiting for a port, 1000 ms for a pause.
    TTimer* Timer_Select_ComPort = nullptr;

    // The next frame of the busy wheel.
    int Wheel_Index = 0;

    // Scans, builds the try list and starts trying (or shows the waiting face).
    void Search_Ports();
    // Switches the main port object to the next entry of the try list that opens; an entry
    // that does not open is skipped at once. With the list exhausted: the port fields
    // emptied and a 1000 ms pause, after which the next tick scans and starts again.
    // Resets Probe_Count.
    void Open_Next_Port();
    // After a port error on the main window: the next tick comes in 1000 ms; it is armed
    // when the setting Search_Port is on or a search runs.
    void Port_Error_Pause();

    void FormCreate(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TClose_Action& Action);
    void Timer_Select_ComPortTimer(TObject* Sender);
    void Memo_Ports_NameClick(TObject* Sender);

private:
    void Show_Waiting_Face();
    void Clear_Try_Fields();
};

extern TForm_Port* Form_Port;
