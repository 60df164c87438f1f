// The RPM input sensitivity window: it steps the controller's RPM trigger level
// (RPM_Sensitiv, 0.01 V) through 73 levels from 0.01 V to 20 V while the engine runs,
// records the engine speed the controller reports at each level, draws RPM over level and
// helps choose a level inside the stable range (a right-drag across the plateau). After the
// sweep, or when it is stopped by hand, the level saved at its start is written back.
//
// Created once at start-up, shown by the Configuration page's toggle button, non-modal.
// Everything runs on the user-interface thread: the live-data decoding fills the samples,
// the main window's poll steps the sweep once per current-data reply.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/ui/UI.h"

// ---- the levels ----
constexpr int RPM_Levels = 73;          // levels the sweep visits and the plot shows
constexpr int RPM_Level_Index_Max = 83; // the level formula reaches 25.0 V
constexpr int32_t RPM_Sensitiv_Top = 2000;   // the sweep's last level, 0.01 V

// The trigger level of a level index in 0.01 V: 1..10 index x 1, 11..39 (index - 9) x 10,
// 40..83 350 + (index - 40) x 50; any other index 0.
int32_t RPM_Level_Value(int Index);
// The level of a trigger level v (0.01 V): 1..10 itself, 11..15 level 10, then the nearest
// level with a value half-way going down (296..325 is 3.0 V). A value of 0 or below, or
// above 2500, gives `Current` back unchanged.
int RPM_Level_Of(int32_t Value, int Current);
// A level in volts as the window shows it ("0.01", "0.5", "20").
std::string RPM_Level_Volts(int Index);
// 0.01 V as the window and the Configuration page show it: "0.01", "0.5", "20".
std::string Hundredths_Text(int32_t Value);

// ---- timing ----
struct RPM_Timing_Class {
    int T1 = 5, T2 = 5, T3 = 3;      // ticks (poll cycles) of the phases
    int Change_Time = 0;             // ms one level is held (cycle x T3)
    int Gauge_Max = 0;               // ticks of a whole sweep
};
// From the poll cycle (Reply_Delay + Delay_Compensation, ms) and the step time asked for
// (ms): T1 = 4000 / cycle, T2 = 10000 / cycle (each at least 5), T3 = step / cycle (at
// least 3). A cycle below 1 ms is taken as 1 ms.
RPM_Timing_Class RPM_Timing_Of(int Cycle_Ms, int Step_Ms);

// ---- the range choice ----
enum class RPM_Range_Mode { Min_Diff, Max_Point };
struct RPM_Range_Class {
    bool Found = false;
    int First = 0, Last = 0;         // levels of the chosen run
    int Runs = 0;                    // the run counter of the prompt
    std::string Prompt;              // "Num " + runs + the texts of the runs taken
};
using RPM_Sample_Array = std::array<uint16_t, RPM_Levels + 1>;   // levels 1..73 (0 unused)
// The stable runs of levels From..To (clamped to 1..73) of the samples: a step i is stable
// when sample i is not 0 and sample i x Percent / 100 >= |sample i - sample i+1|.
RPM_Range_Class Choose_RPM_Range(const RPM_Sample_Array& Samples, int From, int To, int Percent,
                                 RPM_Range_Mode Mode);

// ---- state of the window ----
// Engine speeds per level (0 = not measured); cleared at start and by each sweep start.
extern RPM_Sample_Array RPM_Samples;
// The level of the current RPM_Sensitiv (1..83; 73 after a clear).
extern int RPM_Level_Index;
// The sweep runs (phases 1 to 6).
extern bool RPM_Sweep_On;

struct RPM_Graph_Class {
    bool Open = false;               // the window is open (the Configuration page's button)
    int X0 = 0, X1 = 0, Y0 = 0, Y1 = 0;
    double X_Step = 0;               // pixels per level
    double Y_Scale = 0;              // pixels per RPM
    double Y_Tick = 0;               // RPM per y tick
    int Select_X1 = 0, Select_X2 = 0;
    bool Selecting = false;          // a right-drag runs
    bool Selection_Shown = false;
    bool Cursor_On = false;
    int Cursor_Level = 0;
};
extern RPM_Graph_Class RPM_Graph;

// What the window asks of the main window, bound by it at creation; unbound, nothing.
struct RPM_Window_Hooks_Class {
    // The Configuration page's sensitivity up-down: its position and increment.
    std::function<int()> Main_Sensitiv_Position;
    std::function<int()> Main_Sensitiv_Increment;
    // The page's up-down and edit follow (increment, position).
    std::function<void(int increment, int position)> Main_Sensitiv_Show;
    // The page's button that opens this window goes up.
    std::function<void()> Main_RPM_Set_Up;
    // The main window's controls that must not act during a sweep.
    std::function<void(bool enabled)> Main_Sweep_Controls_Enable;
    // The parameter of a letter is sent at once.
    std::function<void(uint8_t code)> Parameter_Changed;
    // A parameter sent at once still waits for its send timer (each Parameter_Changed
    // starts that wait again).
    std::function<bool()> Parameter_Send_Waiting;
    // The Configuration page's transmit.
    std::function<void()> Transmitt;
};
extern RPM_Window_Hooks_Class RPM_Window_Hooks;

// Samples, level, sweep flag, plot state and hooks back to their start.
void RPM_Window_Reset();

class TForm_RPM : public TForm {
public:
    explicit TForm_RPM(TComponent* Owner);
    ~TForm_RPM() override;
    using TControl::Enabled;
    using TControl::Visible;

    static constexpr int Design_Client_Width = 788;
    static constexpr int Design_Client_Height = 467;

    TImage* Image_RPM = nullptr;
    TGauge* Gauge_RPM_Diagnistics = nullptr;
    TEdit* Edit_RPM_Gauge_Cnt = nullptr;
    TButton* Button_RPM_StartStop = nullptr;
    TButton* Button_RPM_Transmitt = nullptr;
    TEdit* Edit_RPM_Current = nullptr;
    TEdit* Edit_RPM_Sensitiv = nullptr;
    TUpDown* UpDown_RPM_Sensitiv = nullptr;
    TEdit* Edit_RPM_Timer = nullptr;
    TUpDown* UpDown_RPM_Timer = nullptr;
    TEdit* Edit_RPM_Cursor = nullptr;
    TEdit* Edit_RPM_Sensitiv_Cursor = nullptr;
    TLabel* Label_RPM_New_Sensitiv_Min = nullptr;
    TLabel* Label_RPM_New_Sensitiv_Max = nullptr;
    TLabel* Label_RPM_Current = nullptr;
    TLabel* Label_RPM_Selected = nullptr;
    TLabel* Label_RPM_RPM = nullptr;
    TLabel* Label_RPM_Sensitiv = nullptr;
    TLabel* Label_RPM_Level_From = nullptr;
    TLabel* Label_RPM_Level_To = nullptr;
    TLabel* Label_RPM_Time = nullptr;
    TLabel* Label_RPM_Time_ms = nullptr;
    // Hidden selection tools (the right-drag uses their defaults: 5 %, max point).
    TLabel* Label_RPM_Prompt = nullptr;
    TButton* Button_RPM_Clear = nullptr;
    TPanel* Panel_RPM = nullptr;
    TButton* Button_RPM_AutoSelect = nullptr;
    TEdit* Edit_RPM_Proc = nullptr;
    TUpDown* UpDown_RPM_Proc = nullptr;
    TRadioButton* RadioButton_RPM_Min_Diff = nullptr;
    TRadioButton* RadioButton_RPM_Min_Point = nullptr;

    // ---- opening and texts ----
    void Init_Form_RPM();
    void Translate_Form_RPM();
    void FormClose(TObject* Sender, TClose_Action& Action);

    // ---- the plot ----
    void Calc_RPM_Timing();
    void Reset_RPM_Diagram();
    void Draw_RPM_Diagram();
    void Clear_RPM_Diagram();
    void Auto_Select_RPM_Range(int From, int To);
    // x of a level; the level under an x.
    int Level_X(int Level) const;
    int Level_At(int X) const;
    // The plot is wide enough for a pixel per level.
    bool Plot_Usable() const;

    // ---- handlers ----
    void UpDown_RPM_SensitivClick(TObject* Sender, TUD_Button Button);
    void UpDown_RPM_TimerClick(TObject* Sender, TUD_Button Button);
    void Button_RPM_StartStopClick(TObject* Sender);
    void Button_RPM_TransmittClick(TObject* Sender);
    void Button_RPM_AutoSelectClick(TObject* Sender);
    void Button_RPM_ClearClick(TObject* Sender);
    void Image_RPMMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void Image_RPMMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void Image_RPMMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

    // ---- the sweep ----
    // One poll cycle of the sweep (only while the controller is connected).
    void Step_RPM_Diagnostics();
    // The main window's controls and this window's sweep controls on or off together.
    void Enable_Sweep_Controls(bool Enable);
    // Each current-data reply: the live RPM, and while the start button is down its sample.
    void Live_RPM(int32_t Rpm);
    // After each receive event: a write that carried the restored level was answered.
    void Reply_Seen();
    // The program closes while the controller may still hold a sweep level (phases 4 and
    // 5 with the restore not yet answered): the saved level to write first.
    bool Restore_Pending() const;
    int32_t Saved_Sensitiv() const { return Sweep_Saved; }

    // Sweep state (read by tests and the main window).
    int Sweep_Phase = 0;             // 1..7; 0 before the first sweep
    int Ticks_Left = 0;
    int32_t Sweep_Saved = 0;
    RPM_Timing_Class Timing;
    bool Restore_Acknowledged = true;

private:
    void Enter_Restore();
    void Sensitiv_Step_Increment(TUD_Button Button);
    void Show_Cursor(int Level);
    uint32_t Restore_Connect_Count = 0;   // the dialogue the restore was sent in
    bool Restore_Sent = false;            // the send-now for the restore was asked for
};

extern TForm_RPM* Form_RPM;
