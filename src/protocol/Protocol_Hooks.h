// What the frame builders and the script sequencer reach outside the protocol: the main
// window's three dialogue timers, and the windows and file routines that report, save,
// load or search. The main window binds its timers at creation; every other hook is set
// by the code that owns it. An unset hook is skipped (a query then answers its default).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// One of the main window's timers as the protocol switches it. Unbound, it only keeps
// what was set (tests read it back); bound, every call goes to the real timer.
class Link_Timer {
public:
    void Enabled(bool on);
    bool Enabled() const;
    void Interval(uint32_t ms);
    uint32_t Interval() const;

    // Binds the timer; all four are needed.
    void Bind(std::function<void(bool)> set_enabled, std::function<bool()> get_enabled,
              std::function<void(uint32_t)> set_interval, std::function<uint32_t()> get_interval);
    void Unbind();
    bool Bound() const { return static_cast<bool>(set_enabled_); }

    // Counts of switch-ons since the last Unbind/Reset (for tests of the pacing).
    int Switched_On = 0;

private:
    bool enabled_ = false;
    uint32_t interval_ = 0;
    std::function<void(bool)> set_enabled_;
    std::function<bool()> get_enabled_;
    std::function<void(uint32_t)> set_interval_;
    std::function<uint32_t()> get_interval_;
};

extern Link_Timer Link_Timer_Sending;   // Timer_Sending: frame pacing and reply time-out
extern Link_Timer Link_Timer_Connect;   // Timer_Connect: the connection watchdog
extern Link_Timer Link_Timer_Wait;      // Timer_Wait: the script's wait operation

struct Protocol_Hooks_Class {
    // Typed message window (windows/MSG.h): type (Message_Type), text, colour ($BBGGRR).
    std::function<void(uint8_t type, const std::string& text, int32_t colour)> Show_Message;
    // Configuration file of the car: save (clears New_Frame) and load.
    std::function<void()> Save_CFG_File;
    std::function<void()> Load_CFG_File;
    // The car file is due for its automatic save (it is the file of the car the controller
    // holds; see CFG_Auto_Save_Due).
    std::function<bool()> Car_File_Auto_Save_Due;
    // The automatic save of the car file waits (a service procedure has the controller
    // on values that are not the car's); the save comes at the first poll after it.
    std::function<bool()> Auto_Save_Held;
    // The link buttons of the main window.
    std::function<void(bool enabled)> Enable_Link_Buttons;
    // Port search: its window is shown; switch to the next port (resets Probe_Count).
    std::function<bool()> Port_Search_On;
    std::function<void()> Open_Next_Port;
    // Gas-forcing button k (1..8) is down.
    std::function<bool(int k)> Gas_Fors_Down;
    // Scripts that the password window builds (requests 26 and 27).
    std::function<void()> Script_Write_Password;
    std::function<void()> Script_Password_Default;
    // Write lists (the list is built and its code count returned).
    std::function<int()> Build_Full_List;
    std::function<int()> Build_CLB_List_1;
    std::function<int()> Build_CLB_List_2;
    std::function<int()> Build_Changed_List;
    // Packs the current list into TX_Frame from byte 2 on.
    std::function<void()> Pack_Block_List;
    // A write request that must not be served (it is dropped, nothing is sent).
    std::function<bool(uint8_t request)> Write_Refused;
    // Calibration slopes, recomputed before a calibration write.
    std::function<void()> Calc_CLB_K_Gas_RPM;
    std::function<void()> Calc_CLB_K_TPS_VAC;
    // The loader window takes over the link.
    std::function<void()> Show_Loader_Window;
};
extern Protocol_Hooks_Class Protocol_Hooks;

// Unbinds the timers (their state cleared) and clears every hook.
void Protocol_Hooks_Reset();
