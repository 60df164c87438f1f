#include "windows/Drive_Window.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string>

#include "data/Globals.h"
#include "data/Key_File.h"
#include "data/Message_Types.h"
#include "data/Settings.h"
#include "language/Language.h"
#include "platform/system/Date_Time.h"
#include "windows/Form_Build.h"
#include "windows/MSG.h"

TForm_MV_Drive* Form_MV_Drive = nullptr;
bool Drive_Window_Open = false;

const English_Pair English_Text_Drive[] = {
    {"Form_Drive", "Test drive"},
    {"Label_Drive_Time", "Dispersal time (sec)"},
    {"Label_Drive_Speed", "Speed (Km/h)"},
    {"Label_Drive_RPM", "R.P.M."},
    {"Label_Drive_From", "From"},
    {"Label_Drive_To", "To"},
    {"Button_Drive_Set", "Set"},
    {"Button_Drive_Set_Hint",
     "For the coordination of R.P.M and speed press this button at achievement specified above speeds"},
    // Why "Set" took nothing.
    {"Drive_Set_Not_Connected", "Set: no connection with the ECU, the engine speed is unknown"},
    {"Drive_Set_RPM_Range", "Set: the engine speed must be from 800 to 8000 R.P.M."},
};
const std::size_t English_Text_Drive_Size = sizeof English_Text_Drive / sizeof English_Text_Drive[0];

void Drive_Window_Reset()
{
    Drive_Window_Open = false;
}

namespace {

constexpr int Timer_Interval_Ms = 100;
constexpr int Ms_Per_Tenth = 100;

// The spin edits: ranges, starting values and steps.
struct Spin_Row {
    TSpinEdit* TForm_MV_Drive::*Spin;
    const char* Name;
    int Left, Top;
    int Min, Max, Value, Increment;
};
constexpr int Speed_Min = 20, Speed_Max = 200, Speed_Step = 1;
constexpr int Rpm_Min = 800, Rpm_Max = 8000, Rpm_Step = 100;
// Least gaps the change handlers keep between the marks.
constexpr int Speed_Gap = 10;
constexpr int Rpm_From_Gap = 200;
constexpr int Rpm_To_Gap = 10;

// Layout: a time panel across the top, then the rows of the two modes (radio button and
// label, from, to) and the current engine speed with an arrow up to "Set".
constexpr int Margin = 8;
constexpr int Column_From = 132, Column_To = 218, Spin_Width = 76, Spin_Height = 22;
constexpr int Row_Titles = 60, Row_Speed = 78, Row_Rpm = 110, Row_Current = 144;
constexpr int Set_Left = 316, Set_Width = 100, Set_Height = 26;

const Spin_Row Spin_Rows[] = {
    {&TForm_MV_Drive::SpinEdit_Drive_Speed_From, "SpinEdit_Drive_Speed_From", Column_From, Row_Speed,
     Speed_Min, Speed_Max, 60, Speed_Step},
    {&TForm_MV_Drive::SpinEdit_Drive_Speed_To, "SpinEdit_Drive_Speed_To", Column_To, Row_Speed,
     Speed_Min, Speed_Max, 100, Speed_Step},
    {&TForm_MV_Drive::SpinEdit_Drive_RPM_From, "SpinEdit_Drive_RPM_From", Column_From, Row_Rpm,
     Rpm_Min, Rpm_Max, 2000, Rpm_Step},
    {&TForm_MV_Drive::SpinEdit_Drive_RPM_To, "SpinEdit_Drive_RPM_To", Column_To, Row_Rpm,
     Rpm_Min, Rpm_Max, 4000, Rpm_Step},
};

// Whole tenths of a duration in ms, to the nearest.
int32_t Tenths_Of(long long Ms)
{
    return static_cast<int32_t>(std::max(0LL, (Ms + Ms_Per_Tenth / 2) / Ms_Per_Tenth));
}

}  // namespace

TForm_MV_Drive::TForm_MV_Drive(TComponent* Owner) : TForm(Owner)
{
    Name("Form_MV_Drive");
    Caption("Test Drive");
    BorderIcons(biSystemMenu);
    BorderStyle(TBorder_Style::Single);
    FormStyle(TForm_Style::Stay_On_Top);
    Position(TPosition::Main_Form_Center);
    ClientWidth(Design_Client_Width);
    ClientHeight(Design_Client_Height);

    Panel_MV_Drive = build::Panel(this, this, "Panel_MV_Drive", "", 0, 0, Design_Client_Width,
                                  Design_Client_Height);

    // The time.
    Panel_Drive_Time = build::Panel(this, Panel_MV_Drive, "Panel_Drive_Time", "", Margin, Margin,
                                    Design_Client_Width - 2 * Margin, 44);
    Panel_Drive_Time->Color(Drive_Panel_Armed);
    Label_Drive_Time = build::Label(this, Panel_Drive_Time, "Label_Drive_Time", "", 12, 14);
    Label_Drive_Current_Time = build::Make<TLabel>(this, Panel_Drive_Time, "Label_Drive_Current_Time",
                                                   220, 4, Design_Client_Width - 2 * Margin - 232, 36);
    Label_Drive_Current_Time->AutoSize(false);
    Label_Drive_Current_Time->Alignment(TAlignment::Right_Justify);
    Label_Drive_Current_Time->Layout(TText_Layout::Center);
    Label_Drive_Current_Time->Font().Size(20);
    Label_Drive_Current_Time->Font().Style(fsBold);
    Label_Drive_Current_Time->Caption("0");

    // The two modes.
    Label_Drive_From = build::Label(this, Panel_MV_Drive, "Label_Drive_From", "", Column_From + 4, Row_Titles);
    Label_Drive_To = build::Label(this, Panel_MV_Drive, "Label_Drive_To", "", Column_To + 4, Row_Titles);
    RadioButton_Drive_Speed = build::Make<TRadioButton>(this, Panel_MV_Drive, "RadioButton_Drive_Speed",
                                                        Margin, Row_Speed + 2, 16, 17);
    RadioButton_Drive_Speed->Caption("");
    Label_Drive_Speed = build::Label(this, Panel_MV_Drive, "Label_Drive_Speed", "", Margin + 20, Row_Speed + 3);
    RadioButton_Drive_RPM = build::Make<TRadioButton>(this, Panel_MV_Drive, "RadioButton_Drive_RPM",
                                                      Margin, Row_Rpm + 2, 16, 17);
    RadioButton_Drive_RPM->Caption("");
    RadioButton_Drive_RPM->Checked(true);
    Label_Drive_RPM = build::Label(this, Panel_MV_Drive, "Label_Drive_RPM", "", Margin + 20, Row_Rpm + 3);
    for (const Spin_Row& R : Spin_Rows) {
        TSpinEdit* S = build::Make<TSpinEdit>(this, Panel_MV_Drive, R.Name, R.Left, R.Top, Spin_Width, Spin_Height);
        S->MinValue(R.Min);
        S->MaxValue(R.Max);
        S->Value(R.Value);
        S->Increment(R.Increment);
        this->*R.Spin = S;
    }
    SpinEdit_Drive_RPM_To->Enabled(false);

    // "Set" and the arrow from the current engine speed up to it.
    Button_Drive_Set = build::Button(this, Panel_MV_Drive, "Button_Drive_Set", "", Set_Left, Row_Speed - 2,
                                     Set_Width, Set_Height);
    Panel_Drive_RPM_Current = build::Panel(this, Panel_MV_Drive, "Panel_Drive_RPM_Current", "", Column_From,
                                           Row_Current, Column_To + Spin_Width - Column_From, 26);
    Label_Drive_RPM_Current = build::Make<TLabel>(this, Panel_Drive_RPM_Current, "Label_Drive_RPM_Current", 2, 2,
                                                  Column_To + Spin_Width - Column_From - 4, 22);
    Label_Drive_RPM_Current->AutoSize(false);
    Label_Drive_RPM_Current->Alignment(TAlignment::Center);
    Label_Drive_RPM_Current->Layout(TText_Layout::Center);
    Label_Drive_RPM_Current->Font().Style(fsBold);
    Label_Drive_RPM_Current->Caption("0");
    const int Arrow_X = Set_Left + Set_Width / 2;
    Label_Drive_Set_Right = build::Make<TLabel>(this, Panel_MV_Drive, "Label_Drive_Set_Right",
                                                Column_To + Spin_Width + 2, Row_Current + 5,
                                                Arrow_X - Column_To - Spin_Width, 16);
    Label_Drive_Set_Right->AutoSize(false);
    Label_Drive_Set_Right->Caption("-------------------->");
    Label_Drive_Set_Up2 = build::Make<TLabel>(this, Panel_MV_Drive, "Label_Drive_Set_Up2", Arrow_X, Row_Rpm, 8,
                                              Row_Current - Row_Rpm + 8);
    Label_Drive_Set_Up2->AutoSize(false);
    Label_Drive_Set_Up2->Caption("|\n|\n|");
    Label_Drive_Set_Up1 = build::Label(this, Panel_MV_Drive, "Label_Drive_Set_Up1", "^", Arrow_X - 2,
                                       Row_Speed + Set_Height);

    Timer_MV_Drive = build::Timer(this, "Timer_MV_Drive", Timer_Interval_Ms);

    English_Table_Register(English_Window_Table::Test_Drive, English_Text_Drive, English_Text_Drive_Size);

    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnActivate = [this](TObject* Sender) { FormActivate(Sender); };
    OnClose = [this](TObject* Sender, TClose_Action& Action) { FormClose(Sender, Action); };
    OnDestroy = [this](TObject* Sender) { FormDestroy(Sender); };
    Button_Drive_Set->OnClick = [this](TObject* Sender) { Button_Drive_SetClick(Sender); };
    Timer_MV_Drive->OnTimer = [this](TObject* Sender) { Timer_MV_DriveTimer(Sender); };
    RadioButton_Drive_Speed->OnClick = [this](TObject* Sender) { RadioButton_Drive_SpeedClick(Sender); };
    RadioButton_Drive_RPM->OnClick = [this](TObject* Sender) { RadioButton_Drive_SpeedClick(Sender); };
    Label_Drive_Speed->OnClick = [this](TObject* Sender) { Label_Drive_SpeedClick(Sender); };
    Label_Drive_RPM->OnClick = [this](TObject* Sender) { Label_Drive_RPMClick(Sender); };
    SpinEdit_Drive_Speed_From->OnChange = [this](TObject* Sender) { SpinEdit_Drive_Speed_FromChange(Sender); };
    SpinEdit_Drive_Speed_To->OnChange = [this](TObject* Sender) { SpinEdit_Drive_Speed_ToChange(Sender); };
    SpinEdit_Drive_RPM_From->OnChange = [this](TObject* Sender) { SpinEdit_Drive_RPM_FromChange(Sender); };
    SpinEdit_Drive_RPM_To->OnChange = [this](TObject* Sender) { SpinEdit_Drive_RPM_ToChange(Sender); };
}

TForm_MV_Drive::~TForm_MV_Drive()
{
    Drive_Window_Open = false;
    if (Form_MV_Drive == this)
        Form_MV_Drive = nullptr;
}

// ---------------------------------------------------------------- opening and closing

void TForm_MV_Drive::FormCreate(TObject* Sender)
{
    Tick_Count = 0;
    Ratio_Captured = false;
    Apply_Texts();
    Apply_Mode();
    Show_Time();
}

void TForm_MV_Drive::FormActivate(TObject* Sender)
{
    Waiting = true;
    Reply_Seen = false;
    Drive_Window_Open = true;
    Apply_Texts();
    Apply_Mode();
}

void TForm_MV_Drive::FormClose(TObject* Sender, TClose_Action& Action)
{
    Drive_Window_Open = false;
    Timer_MV_Drive->Enabled(false);
}

void TForm_MV_Drive::FormDestroy(TObject* Sender)
{
    Timer_MV_Drive->Enabled(false);
}

void TForm_MV_Drive::Apply_Texts()
{
    Font().Name(Settings.Font_Name);
    Font().Charset(Settings.Font_Charset);
    for (TControl* C : {static_cast<TControl*>(Panel_MV_Drive), static_cast<TControl*>(Label_Drive_Set_Right),
                        static_cast<TControl*>(Label_Drive_Current_Time),
                        static_cast<TControl*>(Label_Drive_RPM_Current)}) {
        C->Font().Name(Settings.Font_Name);
        C->Font().Charset(Settings.Font_Charset);
    }
    Language_Load_File();
    Caption(Language_Find_Text("Form_Drive"));
    for (TLabel* L : {Label_Drive_Time, Label_Drive_Speed, Label_Drive_RPM, Label_Drive_From, Label_Drive_To})
        L->Caption(Language_Find_Text(L->Name()));
    Button_Drive_Set->Caption(Language_Find_Text("Button_Drive_Set"));
    Button_Drive_Set->Hint(Wrap_Text_Chars(Language_Find_Text("Button_Drive_Set_Hint"), Settings.Hint_Length));
    Language_Release();
    Button_Drive_Set->ShowHint(Settings.Show_Hint);
    std::string English;
    if (English_Menu_Caption("Form_Drive", English))
        Caption(English);
}

void TForm_MV_Drive::Apply_Mode()
{
    const bool Speed = RadioButton_Drive_Speed->Checked();
    for (TControl* C : {static_cast<TControl*>(SpinEdit_Drive_Speed_From), static_cast<TControl*>(Button_Drive_Set),
                        static_cast<TControl*>(Label_Drive_Set_Right), static_cast<TControl*>(Label_Drive_Set_Up1),
                        static_cast<TControl*>(Label_Drive_Set_Up2)})
        C->Enabled(Speed);
    SpinEdit_Drive_Speed_To->Enabled(Speed && Ratio_Captured);
    SpinEdit_Drive_RPM_From->Enabled(!Speed);
    SpinEdit_Drive_RPM_To->Enabled(!Speed);
    // No timing in speed mode until a ratio turns the speeds into engine speeds.
    const bool Timing = !Speed || Ratio_Captured;
    Panel_Drive_Time->Enabled(Timing);
    Label_Drive_Time->Enabled(Timing);
    Label_Drive_Current_Time->Enabled(Timing);
}

// ---------------------------------------------------------------- timing

int TForm_MV_Drive::Spin_Read(const TSpinEdit* Spin)
{
    return std::clamp(Spin->Value(), Spin->MinValue(), Spin->MaxValue());
}

void TForm_MV_Drive::Time_Colour(TColor Colour)
{
    Label_Drive_Current_Time->Font().Color(Colour);
}

void TForm_MV_Drive::Show_Time()
{
    char Text[32];
    std::snprintf(Text, sizeof Text, "%.1f", Tick_Count / 10.0);
    Label_Drive_Current_Time->Caption(Text);
}

void TForm_MV_Drive::Discard_Run()
{
    Timer_MV_Drive->Enabled(false);
    Tick_Count = 0;
    Waiting = true;
    Panel_Drive_Time->Color(Drive_Panel_Armed);
    Time_Colour(Drive_Time_Zero);
    Show_Time();
}

void TForm_MV_Drive::Update_Drive_Timing(int32_t Rpm)
{
    const long long Now = sys::Monotonic_Ms();
    const bool Gap = Reply_Seen && Now - Last_Reply_Ms > Drive_Max_Reply_Gap_Ms;
    Reply_Seen = true;
    Last_Reply_Ms = Now;
    Live_Rpm = Rpm;
    Label_Drive_RPM_Current->Caption(std::to_string(Rpm));
    if (!Panel_Drive_Time->Enabled())
        return;
    // Replies too far apart leave the run without a trustworthy end.
    if (Timer_MV_Drive->Enabled() && Gap)
        Discard_Run();
    const int From = Spin_Read(SpinEdit_Drive_RPM_From);
    const int To = Spin_Read(SpinEdit_Drive_RPM_To);
    // Arm: the engine is well below the start mark.
    if (Rpm + Drive_Arm_Margin < From) {
        if (Timer_MV_Drive->Enabled())
            Tick_Count = 0;
        Time_Colour(Tick_Count != 0 ? Drive_Time_Result : Drive_Time_Zero);
        Waiting = false;
        Timer_MV_Drive->Enabled(false);
        Panel_Drive_Time->Color(Drive_Panel_Armed);
    }
    // Start: the start mark is passed upward.
    if (Rpm > From && !Waiting) {
        Tick_Count = 0;
        Start_Ms = Now;
        Waiting = true;
        Timer_MV_Drive->Enabled(true);
        Panel_Drive_Time->Color(Drive_Panel_Timing);
        Time_Colour(Drive_Time_Result);
    }
    // Stop: the first reply above the end mark ends the run.
    if (Rpm > To) {
        if (Timer_MV_Drive->Enabled())
            Tick_Count = Tenths_Of(Now - Start_Ms);
        Timer_MV_Drive->Enabled(false);
        Panel_Drive_Time->Color(Drive_Panel_Done);
        Time_Colour(Drive_Time_Done);
    }
    Show_Time();
}

void TForm_MV_Drive::Timer_MV_DriveTimer(TObject* Sender)
{
    const long long Now = sys::Monotonic_Ms();
    if (!Connected || Now - Last_Reply_Ms > Drive_Max_Reply_Gap_Ms) {
        Discard_Run();
        return;
    }
    Tick_Count = Tenths_Of(Now - Start_Ms);
    Show_Time();
}

// ---------------------------------------------------------------- mode and marks

void TForm_MV_Drive::Button_Drive_SetClick(TObject* Sender)
{
    if (!Connected) {
        Show_Message(Message_Type::Language_Key, "Drive_Set_Not_Connected", clRed);
        return;
    }
    if (Live_Rpm < Rpm_Min || Live_Rpm > Rpm_Max) {
        Show_Message(Message_Type::Language_Key, "Drive_Set_RPM_Range", clRed);
        return;
    }
    Tick_Count = 0;
    Waiting = true;
    Timer_MV_Drive->Enabled(false);
    Panel_Drive_Time->Color(Drive_Panel_Done);
    Time_Colour(Drive_Time_Done);
    Show_Time();
    Ratio_Captured = true;
    Apply_Mode();
    SpinEdit_Drive_RPM_From->Value(Live_Rpm);
    Ratio_Numerator = Spin_Read(SpinEdit_Drive_RPM_From);
    Ratio_Denominator = Spin_Read(SpinEdit_Drive_Speed_From);
    SpinEdit_Drive_Speed_ToChange(Sender);
}

void TForm_MV_Drive::RadioButton_Drive_SpeedClick(TObject* Sender)
{
    Apply_Mode();
    if (RadioButton_Drive_Speed->Checked()) {
        SpinEdit_Drive_Speed_FromChange(Sender);
        SpinEdit_Drive_Speed_ToChange(Sender);
        return;
    }
    for (TSpinEdit* S : {SpinEdit_Drive_RPM_From, SpinEdit_Drive_RPM_To})
        S->Value((Spin_Read(S) + Rpm_Step / 2) / Rpm_Step * Rpm_Step);
    // Marks taken over from speed mode may lie together (both held at 8000): the gap the
    // RPM marks keep is restored even when rounding changed neither.
    SpinEdit_Drive_RPM_FromChange(Sender);
}

void TForm_MV_Drive::Label_Drive_SpeedClick(TObject* Sender)
{
    RadioButton_Drive_Speed->Checked(true);
}

void TForm_MV_Drive::Label_Drive_RPMClick(TObject* Sender)
{
    RadioButton_Drive_RPM->Checked(true);
}

int TForm_MV_Drive::Speed_To_Rpm(int Speed, int Current) const
{
    if (Ratio_Denominator <= 0)
        return Current;
    return static_cast<int>(static_cast<long long>(Speed) * Ratio_Numerator / Ratio_Denominator);
}

// Keeps To at least Gap above From: one of them steps by Step (To up or From down, the other
// way when the first is at its limit) until the gap holds. Each step runs the stepped
// edit's own handler again; both ways only widen the gap, so the loop ends.
void TForm_MV_Drive::Keep_Gap(TSpinEdit* From, TSpinEdit* To, int Gap, int Step, bool Raise_To_First)
{
    while (Spin_Read(To) - Gap < Spin_Read(From)) {
        const int F = Spin_Read(From), T = Spin_Read(To);
        const bool Can_Raise = T + Step <= To->MaxValue();
        const bool Can_Lower = F - Step >= From->MinValue();
        if (!Can_Raise && !Can_Lower)
            return;
        if (Raise_To_First ? Can_Raise : !Can_Lower)
            To->Value(T + Step);
        else
            From->Value(F - Step);
    }
}

void TForm_MV_Drive::SpinEdit_Drive_Speed_FromChange(TObject* Sender)
{
    if (!Ratio_Captured)
        return;
    SpinEdit_Drive_RPM_From->Value(
        Speed_To_Rpm(Spin_Read(SpinEdit_Drive_Speed_From), Spin_Read(SpinEdit_Drive_RPM_From)));
    Keep_Gap(SpinEdit_Drive_Speed_From, SpinEdit_Drive_Speed_To, Speed_Gap, Speed_Step, true);
}

void TForm_MV_Drive::SpinEdit_Drive_Speed_ToChange(TObject* Sender)
{
    if (!Ratio_Captured)
        return;
    SpinEdit_Drive_RPM_To->Value(Speed_To_Rpm(Spin_Read(SpinEdit_Drive_Speed_To), Spin_Read(SpinEdit_Drive_RPM_To)));
    Keep_Gap(SpinEdit_Drive_Speed_From, SpinEdit_Drive_Speed_To, Speed_Gap, Speed_Step, false);
}

void TForm_MV_Drive::SpinEdit_Drive_RPM_FromChange(TObject* Sender)
{
    if (!RadioButton_Drive_Speed->Checked())
        Keep_Gap(SpinEdit_Drive_RPM_From, SpinEdit_Drive_RPM_To, Rpm_From_Gap, Rpm_Step, true);
}

void TForm_MV_Drive::SpinEdit_Drive_RPM_ToChange(TObject* Sender)
{
    if (!RadioButton_Drive_Speed->Checked())
        Keep_Gap(SpinEdit_Drive_RPM_From, SpinEdit_Drive_RPM_To, Rpm_To_Gap, Rpm_Step, false);
}
