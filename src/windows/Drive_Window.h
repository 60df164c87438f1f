// The test drive window: a stopwatch for a road test. It measures the time the engine takes
// to accelerate from one engine speed to another, started and stopped by the engine speed
// of the controller's live-data replies. The marks are given in RPM or as road speeds in
// km/h, turned into RPM with a ratio captured once ("Set") while driving steadily at the
// lower speed. It sends nothing to the controller and writes no file.
//
// The time is measured on the monotonic clock: the start is the time of the reply that
// crosses RPM-from, the stop that of the first reply above RPM-to; the 100 ms timer only
// refreshes the running display. A run is discarded when the link drops or two replies
// during it are more than a second apart (time 0; the engine must then come back below
// RPM-from - 200 before the next run).
//
// Created once at start-up, shown non-modal above the main window by the Oscilloscope
// page's button. Everything runs on the user-interface thread.
#pragma once

#include <cstddef>
#include <cstdint>

#include "language/Language_En.h"
#include "platform/ui/UI.h"

// The window is open: the live-data decoding hands each reply's engine speed to
// Update_Drive_Timing. Set by the window's activation, cleared when it closes.
extern bool Drive_Window_Open;

// Colours of the time panel and the time ($BBGGRR).
constexpr TColor Drive_Panel_Armed = 0x80FFFF;
constexpr TColor Drive_Panel_Timing = 0x01FE9F;
constexpr TColor Drive_Panel_Done = 0x8C8CFF;
constexpr TColor Drive_Time_Result = 0x0000FF;   // red: a run or an earlier result
constexpr TColor Drive_Time_Zero = 0x008000;     // green: armed, nothing measured
constexpr TColor Drive_Time_Done = 0xFFFF00;     // aqua: a run has ended

// Two replies further apart than this during a run discard it (ms).
constexpr long long Drive_Max_Reply_Gap_Ms = 1000;
// The engine must be this far below RPM-from before a run can start (RPM).
constexpr int32_t Drive_Arm_Margin = 200;

class TForm_MV_Drive : public TForm {
public:
    explicit TForm_MV_Drive(TComponent* Owner);
    ~TForm_MV_Drive() override;
    using TControl::Enabled;
    using TControl::Visible;

    static constexpr int Design_Client_Width = 425;
    static constexpr int Design_Client_Height = 177;

    TPanel* Panel_MV_Drive = nullptr;
    TPanel* Panel_Drive_Time = nullptr;
    TLabel* Label_Drive_Time = nullptr;
    TLabel* Label_Drive_Current_Time = nullptr;
    TPanel* Panel_Drive_RPM_Current = nullptr;
    TLabel* Label_Drive_RPM_Current = nullptr;
    TRadioButton* RadioButton_Drive_Speed = nullptr;
    TRadioButton* RadioButton_Drive_RPM = nullptr;
    TLabel* Label_Drive_Speed = nullptr;
    TLabel* Label_Drive_RPM = nullptr;
    TSpinEdit* SpinEdit_Drive_Speed_From = nullptr;
    TSpinEdit* SpinEdit_Drive_Speed_To = nullptr;
    TSpinEdit* SpinEdit_Drive_RPM_From = nullptr;
    TSpinEdit* SpinEdit_Drive_RPM_To = nullptr;
    TLabel* Label_Drive_From = nullptr;
    TLabel* Label_Drive_To = nullptr;
    TButton* Button_Drive_Set = nullptr;
    TLabel* Label_Drive_Set_Right = nullptr;
    TLabel* Label_Drive_Set_Up1 = nullptr;
    TLabel* Label_Drive_Set_Up2 = nullptr;
    TTimer* Timer_MV_Drive = nullptr;

    // ---- handlers ----
    void FormCreate(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormClose(TObject* Sender, TClose_Action& Action);
    void FormDestroy(TObject* Sender);
    // Speed mode, driving steadily at speed-from: captures the ratio of the live engine
    // speed to speed-from. Only while connected with a live engine speed of 800..8000 RPM;
    // otherwise nothing changes and the message window says why.
    void Button_Drive_SetClick(TObject* Sender);
    void Timer_MV_DriveTimer(TObject* Sender);
    void RadioButton_Drive_SpeedClick(TObject* Sender);
    void Label_Drive_SpeedClick(TObject* Sender);
    void Label_Drive_RPMClick(TObject* Sender);
    void SpinEdit_Drive_Speed_FromChange(TObject* Sender);
    void SpinEdit_Drive_Speed_ToChange(TObject* Sender);
    void SpinEdit_Drive_RPM_FromChange(TObject* Sender);
    void SpinEdit_Drive_RPM_ToChange(TObject* Sender);

    // One current-data reply's engine speed (RPM): the display, and the run's arm, start
    // and stop.
    void Update_Drive_Timing(int32_t Rpm);
    // The enabled controls of the chosen mode.
    void Apply_Mode();
    // Texts by their keys and fonts from the settings.
    void Apply_Texts();

    // The run's state (read by tests).
    int32_t Tick_Count = 0;            // the time shown, tenths of a second
    bool Ratio_Captured = false;
    bool Waiting = true;               // the engine has not yet been below RPM-from - 200
    int32_t Ratio_Numerator = 0;       // RPM at "Set"
    int32_t Ratio_Denominator = 0;     // km/h at "Set"
    int32_t Live_Rpm = 0;              // the engine speed shown

private:
    // A spin edit's value held to its range.
    static int Spin_Read(const TSpinEdit* Spin);
    // RPM of a road speed by the captured ratio; `Current` while no ratio can divide.
    int Speed_To_Rpm(int Speed, int Current) const;
    static void Keep_Gap(TSpinEdit* From, TSpinEdit* To, int Gap, int Step, bool Raise_To_First);
    void Show_Time();
    void Time_Colour(TColor Colour);
    // The run so far is dropped: time 0, waiting for the engine to come back down.
    void Discard_Run();
    long long Start_Ms = 0;            // monotonic time of the reply that started the run
    long long Last_Reply_Ms = 0;       // ... of the last reply
    bool Reply_Seen = false;           // a reply came since the window was activated
};

extern TForm_MV_Drive* Form_MV_Drive;

// The window's built-in English texts, registered when the window is built.
extern const English_Pair English_Text_Drive[];
extern const std::size_t English_Text_Drive_Size;

// The window's state outside it back to its start.
void Drive_Window_Reset();
