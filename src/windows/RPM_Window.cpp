#include "windows/RPM_Window.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "data/Call_Hook.h"
#include "data/Configuration.h"
#include "data/Globals.h"
#include "data/Settings.h"
#include "language/Language.h"
#include "language/Language_Fonts.h"
#include "protocol/Frames.h"
#include "protocol/Param_Codecs.h"
#include "protocol/Script.h"
#include "windows/Form_Build.h"
#include "protocol/Request_Codes.h"

TForm_RPM* Form_RPM = nullptr;
RPM_Window_Hooks_Class RPM_Window_Hooks;
RPM_Sample_Array RPM_Samples{};
int RPM_Level_Index = RPM_Levels;
bool RPM_Sweep_On = false;
RPM_Graph_Class RPM_Graph;

namespace {

// Request codes the sweep sets: the controller's control word 0x23 (00 01), and one
// trigger level with the sweep mark.
constexpr uint8_t Letter_RPM_Sensitiv = 'E';
// Commands whose answer acknowledges the restored level: the list write and the letter.
constexpr uint8_t Command_List_Write = 0x2F;

// The phase timing in ms (before division by the poll cycle).
constexpr int Settle_Ms = 4000;
constexpr int First_Level_Ms = 10000;
constexpr int Default_Step_Ms = 4000;
constexpr int Reset_Step_Ms = 960;
constexpr int Min_T1_T2 = 5;
constexpr int Min_T3 = 3;

// The sensitivity up-down: range and where its step grows.
constexpr int Sensitiv_Min = 1;
constexpr int Sensitiv_Start = 90;
constexpr int Step_Change_Low = 10;
constexpr int Step_Change_High = 300;
constexpr int Timer_Min_Ms = 300;
constexpr int Timer_Max_Ms = 10000;
constexpr int Proc_Default = 5;

// Colours of the plot ($BBGGRR).
constexpr TColor Curve_Colour = 0xFF0000;
constexpr TColor Selection_Colour = 0x0000FF;

// X-axis labels at their levels, with how far each is shifted left.
struct X_Label {
    int Level;
    const char* Text;
    int Shift;
};
constexpr X_Label X_Labels[] = {{10, "0.1", 8}, {19, "1", 4},   {29, "2", 4},   {39, "3", 4},
                                {43, "5", 4},   {53, "10", 6},  {63, "15", 6},  {73, "20", 6}};
// Y-axis label shift by the number of digits (1..5).
constexpr int Y_Label_Shift[] = {13, 13, 20, 27, 34, 41};
constexpr int Y_Ticks = 10;

// The step of the sensitivity up-down that suits a position (1 below 10, 10 up to 300,
// 50 from 300 on).
int Increment_For(int Position)
{
    if (Position < Step_Change_Low)
        return 1;
    return Position < Step_Change_High ? 10 : 50;
}

int Cycle_Ms()
{
    return Settings.Reply_Delay + Settings.Delay_Compensation;
}

// The levels the range choice and the hit test look at: the last measured one.
int Last_Measured_Level()
{
    for (int Level = RPM_Levels; Level >= 1; --Level)
        if (RPM_Samples[Level] != 0)
            return Level;
    return 0;
}


}  // namespace

// 0.01 V as the window shows it: "0.01", "0.5", "20".
std::string Hundredths_Text(int32_t Value)
{
    const bool Negative = Value < 0;
    const int32_t V = std::abs(Value);
    std::string Text = std::to_string(V / 100);
    const int32_t Fraction = V % 100;
    if (Fraction != 0) {
        Text += '.';
        Text += static_cast<char>('0' + Fraction / 10);
        if (Fraction % 10 != 0)
            Text += static_cast<char>('0' + Fraction % 10);
    }
    return Negative ? "-" + Text : Text;
}

void RPM_Window_Reset()
{
    RPM_Samples.fill(0);
    RPM_Level_Index = RPM_Levels;
    RPM_Sweep_On = false;
    RPM_Graph = RPM_Graph_Class{};
    RPM_Window_Hooks = RPM_Window_Hooks_Class{};
}

// ---------------------------------------------------------------- levels and timing

int32_t RPM_Level_Value(int Index)
{
    if (Index >= 1 && Index <= 10)
        return Index;
    if (Index >= 11 && Index <= 39)
        return (Index - 9) * 10;
    if (Index >= 40 && Index <= RPM_Level_Index_Max)
        return 350 + (Index - 40) * 50;
    return 0;
}

int RPM_Level_Of(int32_t Value, int Current)
{
    if (Value <= 0 || Value > 2500)
        return Current;
    if (Value <= 10)
        return static_cast<int>(Value);
    if (Value <= 15)
        return 10;
    if (Value <= 295)
        return 10 + static_cast<int>((Value - 6) / 10);
    if (Value <= 325)
        return 39;
    return 40 + static_cast<int>((Value - 326) / 50);
}

std::string RPM_Level_Volts(int Index)
{
    return Hundredths_Text(RPM_Level_Value(Index));
}

RPM_Timing_Class RPM_Timing_Of(int Cycle, int Step_Ms)
{
    // A cycle of 0 (an edited settings file) stays out of the divisions.
    const int C = std::max(Cycle, 1);
    RPM_Timing_Class T;
    T.T1 = std::max(Settle_Ms / C, Min_T1_T2);
    T.T2 = std::max(First_Level_Ms / C, Min_T1_T2);
    T.T3 = std::max(Step_Ms / C, Min_T3);
    T.Change_Time = C * T.T3;
    T.Gauge_Max = 3 * T.T1 + 2 * T.T2 + (RPM_Levels - 1) * T.T3;
    return T;
}

RPM_Range_Class Choose_RPM_Range(const RPM_Sample_Array& S, int From, int To, int Percent,
                                 RPM_Range_Mode Mode)
{
    RPM_Range_Class R;
    From = std::clamp(From, 1, RPM_Levels);
    To = std::clamp(To, 1, RPM_Levels);
    std::string Texts;
    int Min_Diff = 32767;
    int Best_Points = 0;
    bool In_Run = false;
    int Run_First = 0, Points = 0;

    const auto End_Run = [&](int Last) {
        if (!In_Run)
            return;
        In_Run = false;
        if (Mode == RPM_Range_Mode::Min_Diff) {
            R.First = Run_First;
            R.Last = Last;
            R.Found = true;
            Texts += " [Min " + RPM_Level_Volts(Run_First) + " Diff " + std::to_string(Min_Diff) +
                     " Max " + RPM_Level_Volts(Last) + "]";
        } else if (Points > Best_Points) {
            Best_Points = Points;
            R.First = Run_First;
            R.Last = Last;
            R.Found = true;
            ++R.Runs;
            Texts += " [Min " + RPM_Level_Volts(Run_First) + " P " + std::to_string(Points) +
                     " Max " + RPM_Level_Volts(Last) + "]";
        }
    };

    for (int i = From; i < To; ++i) {
        const int Sample = S[i];
        const int Diff = std::abs(Sample - static_cast<int>(S[i + 1]));
        const bool Stable = Sample != 0 && Sample * Percent / 100 >= Diff;
        if (!Stable) {
            End_Run(i);
            continue;
        }
        if (Mode == RPM_Range_Mode::Min_Diff) {
            if (!In_Run) {
                if (Diff < Min_Diff) {
                    In_Run = true;
                    ++R.Runs;
                    Min_Diff = Diff;
                    Run_First = i;
                }
            } else if (Diff < Min_Diff) {
                Min_Diff = Diff;
            }
        } else if (!In_Run) {
            In_Run = true;
            Run_First = i;
            Points = 2;
        } else {
            ++Points;
        }
    }
    End_Run(To);
    R.Prompt = "Num " + std::to_string(R.Runs) + " " + Texts;
    return R;
}

// ---------------------------------------------------------------- the window

TForm_RPM::TForm_RPM(TComponent* Owner) : TForm(Owner)
{
    Name("Form_RPM");
    Caption("RPM settings");
    BorderIcons(biSystemMenu);
    BorderStyle(TBorder_Style::Single);
    Position(TPosition::Main_Form_Center);
    FormStyle(TForm_Style::Stay_On_Top);
    ClientWidth(Design_Client_Width);
    ClientHeight(Design_Client_Height);
    // No engine speed is known at start.
    RPM_Samples.fill(0);
    RPM_Level_Index = RPM_Levels;

    // The plot over the whole width, the sweep's progress and its button below it.
    Image_RPM = build::Make<TImage>(this, this, "Image_RPM", 8, 8, 772, 336);
    Gauge_RPM_Diagnistics = build::Make<TGauge>(this, this, "Gauge_RPM_Diagnistics", 8, 354, 560, 20);
    Gauge_RPM_Diagnistics->ForeColor(clBlue);
    Gauge_RPM_Diagnistics->ShowText(false);
    Edit_RPM_Gauge_Cnt = build::Make<TEdit>(this, this, "Edit_RPM_Gauge_Cnt", 576, 353, 64, 22);
    Edit_RPM_Gauge_Cnt->ReadOnly(true);
    Button_RPM_StartStop = build::Make<TButton>(this, this, "Button_RPM_StartStop", 648, 350, 132, 28);
    Button_RPM_StartStop->GroupIndex(1);
    Button_RPM_StartStop->AllowAllUp(true);

    // What the engine does now, the level, the step time and the transmit.
    const int Row1 = 392;
    Label_RPM_Current = build::Label(this, this, "Label_RPM_Current", "", 8, Row1 + 3);
    Edit_RPM_Current = build::Make<TEdit>(this, this, "Edit_RPM_Current", 80, Row1, 64, 22);
    Edit_RPM_Current->ReadOnly(true);
    Label_RPM_Sensitiv = build::Label(this, this, "Label_RPM_Sensitiv", "", 160, Row1 + 3);
    Edit_RPM_Sensitiv = build::Make<TEdit>(this, this, "Edit_RPM_Sensitiv", 250, Row1, 56, 22);
    Edit_RPM_Sensitiv->ReadOnly(true);
    UpDown_RPM_Sensitiv = build::Make<TUpDown>(this, this, "UpDown_RPM_Sensitiv", 306, Row1, 17, 22);
    UpDown_RPM_Sensitiv->Min(Sensitiv_Min);
    UpDown_RPM_Sensitiv->Max(RPM_Sensitiv_Top);
    UpDown_RPM_Sensitiv->Position(Sensitiv_Start);
    UpDown_RPM_Sensitiv->Increment(Increment_For(Sensitiv_Start));
    Label_RPM_Time = build::Label(this, this, "Label_RPM_Time", "", 340, Row1 + 3);
    Edit_RPM_Timer = build::Make<TEdit>(this, this, "Edit_RPM_Timer", 420, Row1, 56, 22);
    Edit_RPM_Timer->ReadOnly(true);
    UpDown_RPM_Timer = build::Make<TUpDown>(this, this, "UpDown_RPM_Timer", 476, Row1, 17, 22);
    UpDown_RPM_Timer->Min(Timer_Min_Ms);
    UpDown_RPM_Timer->Max(Timer_Max_Ms);
    UpDown_RPM_Timer->Increment(100);
    UpDown_RPM_Timer->Associate(Edit_RPM_Timer);
    UpDown_RPM_Timer->Position(1000);
    Label_RPM_Time_ms = build::Label(this, this, "Label_RPM_Time_ms", "", 500, Row1 + 3);
    Button_RPM_Transmitt = build::Make<TButton>(this, this, "Button_RPM_Transmitt", 648, Row1 - 3, 132, 28);

    // The chosen level: its RPM, the level and the stable range around it.
    const int Row2 = 428;
    Label_RPM_Selected = build::Label(this, this, "Label_RPM_Selected", "", 8, Row2 + 3);
    Label_RPM_RPM = build::Label(this, this, "Label_RPM_RPM", "", 80, Row2 + 3);
    Edit_RPM_Cursor = build::Make<TEdit>(this, this, "Edit_RPM_Cursor", 140, Row2, 64, 22);
    Edit_RPM_Cursor->ReadOnly(true);
    Label_RPM_Level_From = build::Label(this, this, "Label_RPM_Level_From", "", 220, Row2 + 3);
    Label_RPM_New_Sensitiv_Min = build::Label(this, this, "Label_RPM_New_Sensitiv_Min", "", 300, Row2 + 3);
    Edit_RPM_Sensitiv_Cursor = build::Make<TEdit>(this, this, "Edit_RPM_Sensitiv_Cursor", 350, Row2, 56, 22);
    Edit_RPM_Sensitiv_Cursor->ReadOnly(true);
    Label_RPM_Level_To = build::Label(this, this, "Label_RPM_Level_To", "", 420, Row2 + 3);
    Label_RPM_New_Sensitiv_Max = build::Label(this, this, "Label_RPM_New_Sensitiv_Max", "", 500, Row2 + 3);
    for (TLabel* L : {Label_RPM_New_Sensitiv_Min, Label_RPM_New_Sensitiv_Max})
        L->Caption("0");

    // Hidden selection tools: the right-drag uses their defaults.
    Label_RPM_Prompt = build::Make<TLabel>(this, this, "Label_RPM_Prompt", 8, 458, 560, 16);
    Label_RPM_Prompt->Caption("");
    Label_RPM_Prompt->Visible(false);
    Button_RPM_Clear = build::Make<TButton>(this, this, "Button_RPM_Clear", 576, 428, 64, 24);
    Button_RPM_Clear->Caption("Clear");
    Button_RPM_Clear->Visible(false);
    Panel_RPM = build::Make<TPanel>(this, this, "Panel_RPM", 560, 380, 220, 80);
    Panel_RPM->Caption("");
    Panel_RPM->Visible(false);
    Button_RPM_AutoSelect = build::Make<TButton>(this, Panel_RPM, "Button_RPM_AutoSelect", 4, 4, 80, 24);
    Button_RPM_AutoSelect->Caption("Auto");
    Edit_RPM_Proc = build::Make<TEdit>(this, Panel_RPM, "Edit_RPM_Proc", 90, 4, 40, 22);
    UpDown_RPM_Proc = build::Make<TUpDown>(this, Panel_RPM, "UpDown_RPM_Proc", 130, 4, 17, 22);
    UpDown_RPM_Proc->Min(1);
    UpDown_RPM_Proc->Max(100);
    UpDown_RPM_Proc->Associate(Edit_RPM_Proc);
    UpDown_RPM_Proc->Position(Proc_Default);
    RadioButton_RPM_Min_Diff = build::Make<TRadioButton>(this, Panel_RPM, "RadioButton_RPM_Min_Diff", 4, 34, 100, 17);
    RadioButton_RPM_Min_Diff->Caption("Min diff");
    RadioButton_RPM_Min_Point = build::Make<TRadioButton>(this, Panel_RPM, "RadioButton_RPM_Min_Point", 4, 54, 100, 17);
    RadioButton_RPM_Min_Point->Caption("Max point");
    RadioButton_RPM_Min_Point->Checked(true);

    Translate_Form_RPM();

    OnClose = [this](TObject* Sender, TClose_Action& Action) { FormClose(Sender, Action); };
    UpDown_RPM_Sensitiv->OnClick = [this](TObject* Sender, TUD_Button B) { UpDown_RPM_SensitivClick(Sender, B); };
    UpDown_RPM_Timer->OnClick = [this](TObject* Sender, TUD_Button B) { UpDown_RPM_TimerClick(Sender, B); };
    Button_RPM_StartStop->OnClick = [this](TObject* Sender) { Button_RPM_StartStopClick(Sender); };
    Button_RPM_Transmitt->OnClick = [this](TObject* Sender) { Button_RPM_TransmittClick(Sender); };
    Button_RPM_AutoSelect->OnClick = [this](TObject* Sender) { Button_RPM_AutoSelectClick(Sender); };
    Button_RPM_Clear->OnClick = [this](TObject* Sender) { Button_RPM_ClearClick(Sender); };
    Image_RPM->OnMouseDown = [this](TObject* Sender, TMouseButton B, TShiftState S, int X, int Y) {
        Image_RPMMouseDown(Sender, B, S, X, Y);
    };
    Image_RPM->OnMouseMove = [this](TObject* Sender, TShiftState S, int X, int Y) {
        Image_RPMMouseMove(Sender, S, X, Y);
    };
    Image_RPM->OnMouseUp = [this](TObject* Sender, TMouseButton B, TShiftState S, int X, int Y) {
        Image_RPMMouseUp(Sender, B, S, X, Y);
    };
    // Every 'E' written while the start button is down carries the sweep mark.
    CFG_Codec_Hooks.RPM_StartStop_Down = [this] { return Button_RPM_StartStop->Down(); };
}

TForm_RPM::~TForm_RPM()
{
    CFG_Codec_Hooks.RPM_StartStop_Down = nullptr;
    if (Form_RPM == this)
        Form_RPM = nullptr;
}

// ---------------------------------------------------------------- opening and texts

void TForm_RPM::Init_Form_RPM()
{
    Font_Set_Form(this);
    Font_Set_Panel(Panel_RPM);
    Translate_Form_RPM();
}

void TForm_RPM::Translate_Form_RPM()
{
    Language_Load_File();
    Caption(Language_Find_Text("Form_RPM"));
    for (TLabel* L : {Label_RPM_Current, Label_RPM_Selected, Label_RPM_RPM, Label_RPM_Sensitiv,
                      Label_RPM_Level_From, Label_RPM_Level_To, Label_RPM_Time, Label_RPM_Time_ms})
        L->Caption(Language_Find_Text(L->Name()));
    Button_RPM_Transmitt->Caption(Language_Find_Text(Button_RPM_Transmitt->Name()));
    Button_RPM_StartStop->Caption(
        Language_Find_Text(Button_RPM_StartStop->Down() ? "Button_RPM_Stop" : "Button_RPM_Start"));
    Language_Release();
    std::string English;
    if (English_Menu_Caption("Form_RPM", English))
        Caption(English);
}

void TForm_RPM::FormClose(TObject* Sender, TClose_Action& Action)
{
    // A running sweep goes on to its end and restores the saved level; it records no more.
    Button_RPM_StartStop->Down(false);
    Call_Hook(RPM_Window_Hooks.Main_RPM_Set_Up);
    RPM_Graph.Open = false;
}

// ---------------------------------------------------------------- timing and plot

void TForm_RPM::Calc_RPM_Timing()
{
    const int Step = RPM_Graph.Open ? UpDown_RPM_Timer->Position() : Default_Step_Ms;
    Timing = RPM_Timing_Of(Cycle_Ms(), Step);
    Settings.RPM_Change_Time = Timing.Change_Time;
    UpDown_RPM_Timer->Increment(std::max(Cycle_Ms(), 1));
    UpDown_RPM_Timer->Position(Timing.Change_Time);
    Gauge_RPM_Diagnistics->MinValue(0);
    Gauge_RPM_Diagnistics->MaxValue(Timing.Gauge_Max);
    Gauge_RPM_Diagnistics->Progress(0);
    Edit_RPM_Gauge_Cnt->Text(std::to_string(Timing.Gauge_Max));
}

void TForm_RPM::Reset_RPM_Diagram()
{
    UpDown_RPM_Timer->Position(Reset_Step_Ms);
    Calc_RPM_Timing();
    const int W = Image_RPM->Width(), H = Image_RPM->Height();
    RPM_Graph.X0 = W * 7 / 100;
    RPM_Graph.X1 = W - W * 3 / 100;
    RPM_Graph.Y0 = H * 7 / 100;
    RPM_Graph.Y1 = H - H * 7 / 100;
    RPM_Graph.X_Step = static_cast<double>(RPM_Graph.X1 - RPM_Graph.X0) / RPM_Levels;
    // The level shown is the record's; the up-down only shows it.
    const int32_t Value = Configuration.RPM_Sensitiv;
    const int Position = RPM_Window_Hooks.Main_Sensitiv_Position
                             ? RPM_Window_Hooks.Main_Sensitiv_Position()
                             : std::clamp<int32_t>(Value, Sensitiv_Min, RPM_Sensitiv_Top);
    UpDown_RPM_Sensitiv->Position(Position);
    UpDown_RPM_Sensitiv->Increment(Ask_Hook(RPM_Window_Hooks.Main_Sensitiv_Increment,
                                            Increment_For(UpDown_RPM_Sensitiv->Position())));
    Edit_RPM_Sensitiv->Text(Hundredths_Text(Value));
    RPM_Graph.Selection_Shown = RPM_Graph.Selecting = RPM_Graph.Cursor_On = false;
    Draw_RPM_Diagram();
}

bool TForm_RPM::Plot_Usable() const
{
    return RPM_Graph.X1 - RPM_Graph.X0 >= RPM_Levels && RPM_Graph.Y1 > RPM_Graph.Y0;
}

int TForm_RPM::Level_X(int Level) const
{
    return RPM_Graph.X0 + static_cast<int>(Level * RPM_Graph.X_Step);
}

int TForm_RPM::Level_At(int X) const
{
    if (RPM_Graph.X_Step <= 0)
        return 0;
    return static_cast<int>((X - RPM_Graph.X0) / RPM_Graph.X_Step + 0.5);
}

void TForm_RPM::Draw_RPM_Diagram()
{
    RPM_Graph_Class& G = RPM_Graph;
    TBitmap Bitmap(std::max(Image_RPM->Width(), 1), std::max(Image_RPM->Height(), 1));
    TCanvas& C = *Bitmap.Canvas();
    C.Font = Font();
    C.Font.Style(fsBold);
    C.Brush.Style = TBrush_Style::Clear;
    // A plot narrower than one pixel per level is left empty.
    if (!Plot_Usable()) {
        Image_RPM->Picture().Assign(Bitmap);
        return;
    }
    // The scale first, so that the curve fits the plot as drawn.
    uint16_t Max_Sample = 0;
    for (int L = 1; L <= RPM_Levels; ++L)
        Max_Sample = std::max(Max_Sample, RPM_Samples[L]);
    if (Max_Sample != 0) {
        G.Y_Scale = static_cast<double>(G.Y1 - G.Y0) / Max_Sample;
        G.Y_Tick = Max_Sample / static_cast<double>(Y_Ticks);
    } else {
        G.Y_Tick = 0;
    }
    const auto Y_Of = [](int Rpm) { return RPM_Graph.Y1 - static_cast<int>(Rpm * RPM_Graph.Y_Scale); };

    if (G.Selection_Shown) {
        C.Pen = TPen{Selection_Colour, 1, TPen_Style::Solid};
        C.Rectangle(std::min(G.Select_X1, G.Select_X2), G.Y0 - 6, std::max(G.Select_X1, G.Select_X2),
                    G.Y1 - 6);
    }
    // The curve up to the current level.
    const int Last = std::min(RPM_Level_Index, RPM_Levels);
    C.Pen = TPen{Curve_Colour, 2, TPen_Style::Solid};
    for (int L = 1; L <= Last; ++L) {
        const int X = Level_X(L), Y = Y_Of(RPM_Samples[L]);
        if (L == 1)
            C.MoveTo(X, Y);
        else
            C.LineTo(X, Y);
    }
    C.Pen = TPen{Curve_Colour, 4, TPen_Style::Solid};
    C.Brush.Style = TBrush_Style::Solid;
    C.Brush.Color = Curve_Colour;
    for (int L = 1; L <= Last; ++L) {
        const int X = Level_X(L), Y = Y_Of(RPM_Samples[L]);
        C.Ellipse(X - 2, Y - 2, X + 2, Y + 2);
    }
    C.Brush.Style = TBrush_Style::Clear;
    // Dotted markers at the current level and at the cursor.
    C.Pen = TPen{clBlack, 1, TPen_Style::Dot};
    const auto Marker = [&](int Level) {
        if (Level < 1 || Level > RPM_Levels)
            return;
        const int X = Level_X(Level), Y = Y_Of(RPM_Samples[Level]);
        C.MoveTo(X, G.Y1);
        C.LineTo(X, Y);
        C.LineTo(G.X0, Y);
    };
    if (RPM_Level_Index <= RPM_Levels)
        Marker(RPM_Level_Index);
    if (G.Cursor_On)
        Marker(G.Cursor_Level);

    // Y axis: ten ticks with their RPM.
    C.Pen = TPen{clBlack, 1, TPen_Style::Solid};
    if (G.Y_Tick > 0) {
        for (int i = 1; i <= Y_Ticks; ++i) {
            const int Y = Y_Of(static_cast<int>(i * G.Y_Tick));
            C.MoveTo(G.X0 - 3, Y);
            C.LineTo(G.X0 + 3, Y);
            const std::string Text = std::to_string(static_cast<int>(i * G.Y_Tick));
            const int Digits = std::clamp(static_cast<int>(Text.size()), 1, 5);
            C.TextOut(G.X0 - Y_Label_Shift[Digits], Y - 6, Text);
        }
    }
    C.TextOut(G.X0 - 41, G.Y0 - 20, "R.P.M.");
    C.TextOut(G.X0 - 4, G.Y1 + 6, "0");
    // X axis: a tick per level, longer ones with their volts.
    for (int L = 1; L <= RPM_Levels; ++L) {
        const int X = Level_X(L);
        C.MoveTo(X, G.Y1 - 3);
        C.LineTo(X, G.Y1 + 3);
    }
    for (const X_Label& Label : X_Labels) {
        const int X = Level_X(Label.Level);
        C.MoveTo(X, G.Y1 - 6);
        C.LineTo(X, G.Y1 + 6);
        C.TextOut(X - Label.Shift, G.Y1 + 7, Label.Text);
    }
    C.TextOut(G.X1 + 6, G.Y1 - 6, "V");
    C.Pen = TPen{clBlack, 2, TPen_Style::Solid};
    C.MoveTo(G.X0, G.Y0);
    C.LineTo(G.X0, G.Y1);
    C.LineTo(G.X1, G.Y1);
    Image_RPM->Picture().Assign(Bitmap);
}

void TForm_RPM::Clear_RPM_Diagram()
{
    RPM_Samples.fill(0);
    RPM_Level_Index = RPM_Levels;
    RPM_Graph.Selection_Shown = RPM_Graph.Selecting = RPM_Graph.Cursor_On = false;
    Draw_RPM_Diagram();
}

void TForm_RPM::Show_Cursor(int Level)
{
    RPM_Graph.Cursor_On = true;
    RPM_Graph.Cursor_Level = Level;
    Edit_RPM_Cursor->Text(std::to_string(RPM_Samples[Level]));
}

void TForm_RPM::Auto_Select_RPM_Range(int From, int To)
{
    const RPM_Range_Mode Mode = RadioButton_RPM_Min_Diff->Checked() ? RPM_Range_Mode::Min_Diff
                                                                     : RPM_Range_Mode::Max_Point;
    Label_RPM_Prompt->Caption("");
    const RPM_Range_Class R = Choose_RPM_Range(RPM_Samples, From, To, UpDown_RPM_Proc->Position(), Mode);
    Label_RPM_Prompt->Caption(R.Prompt);
    if (!R.Found) {
        for (TEdit* E : {Edit_RPM_Cursor, Edit_RPM_Sensitiv_Cursor})
            E->Text("0");
        for (TLabel* L : {Label_RPM_New_Sensitiv_Min, Label_RPM_New_Sensitiv_Max})
            L->Caption("0");
        return;
    }
    const int Chosen = R.First + std::abs(R.Last - R.First) / 2;
    Show_Cursor(Chosen);
    Label_RPM_New_Sensitiv_Min->Caption(RPM_Level_Volts(R.First));
    Edit_RPM_Sensitiv_Cursor->Text(RPM_Level_Volts(Chosen));
    Label_RPM_New_Sensitiv_Max->Caption(RPM_Level_Volts(R.Last));
    RPM_Graph.Select_X1 = Level_X(R.First) - 2;
    RPM_Graph.Select_X2 = Level_X(R.Last) + 2;
    RPM_Graph.Selection_Shown = true;
    Draw_RPM_Diagram();
}

// ---------------------------------------------------------------- handlers

void TForm_RPM::Sensitiv_Step_Increment(TUD_Button Button)
{
    const int P = UpDown_RPM_Sensitiv->Position();
    const bool Up = Button == TUD_Button::Up;
    if (P == Step_Change_Low)
        UpDown_RPM_Sensitiv->Increment(Up ? 10 : 1);
    else if (P == Step_Change_High)
        UpDown_RPM_Sensitiv->Increment(Up ? 50 : 10);
}

void TForm_RPM::UpDown_RPM_SensitivClick(TObject* Sender, TUD_Button Button)
{
    Sensitiv_Step_Increment(Button);
    Configuration.RPM_Sensitiv = UpDown_RPM_Sensitiv->Position();
    Edit_RPM_Sensitiv->Text(Hundredths_Text(Configuration.RPM_Sensitiv));
    Call_Hook(RPM_Window_Hooks.Main_Sensitiv_Show, UpDown_RPM_Sensitiv->Increment(),
              UpDown_RPM_Sensitiv->Position());
}

void TForm_RPM::UpDown_RPM_TimerClick(TObject* Sender, TUD_Button Button)
{
    Settings.RPM_Change_Time = UpDown_RPM_Timer->Position();
    Calc_RPM_Timing();
}

void TForm_RPM::Button_RPM_TransmittClick(TObject* Sender)
{
    Call_Hook(RPM_Window_Hooks.Transmitt);
}

void TForm_RPM::Button_RPM_AutoSelectClick(TObject* Sender)
{
    Auto_Select_RPM_Range(1, RPM_Levels);
}

void TForm_RPM::Button_RPM_ClearClick(TObject* Sender)
{
    Clear_RPM_Diagram();
}

void TForm_RPM::Button_RPM_StartStopClick(TObject* Sender)
{
    if (!Button_RPM_StartStop->Down()) {
        // Stopped by hand: the sweep ends at its next level step and restores.
        if (RPM_Sweep_On && Sweep_Phase <= 4) {
            Sweep_Phase = 4;
            UpDown_RPM_Sensitiv->Position(RPM_Sensitiv_Top);
        }
        Translate_Form_RPM();
        return;
    }
    Reset_RPM_Diagram();
    Sweep_Phase = 1;
    Ticks_Left = 1;
    Button_RPM_StartStop->Caption(Language_Find_Text("Button_RPM_Stop"));
    Reset_RPM_Diagram();
    Clear_RPM_Diagram();
    Sweep_Saved = Configuration.RPM_Sensitiv;
    Restore_Acknowledged = false;
    Restore_Sent = false;
    UpDown_RPM_Sensitiv->Increment(1);
    UpDown_RPM_Sensitiv->Position(Sensitiv_Min);
    UpDown_RPM_SensitivClick(UpDown_RPM_Sensitiv, TUD_Button::Up);
    RPM_Sweep_On = true;
}

void TForm_RPM::Image_RPMMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    Draw_RPM_Diagram();
    if (!Plot_Usable())
        return;
    const int Level = Level_At(X);
    if (Button == TMouseButton::Left) {
        const bool On_Curve = Image_RPM->Canvas()->Pixels(X, Y) == Curve_Colour;
        if (On_Curve && Level >= 1 && Level <= RPM_Levels) {
            Show_Cursor(Level);
            Edit_RPM_Sensitiv_Cursor->Text(RPM_Level_Volts(Level));
            Label_RPM_New_Sensitiv_Min->Caption(RPM_Level_Volts(std::max(Level - 1, 1)));
            Label_RPM_New_Sensitiv_Max->Caption(RPM_Level_Volts(std::min(Level + 1, RPM_Levels)));
        } else {
            RPM_Graph.Cursor_On = false;
        }
        Draw_RPM_Diagram();
        return;
    }
    if (Button == TMouseButton::Right) {
        const int Last = Last_Measured_Level();
        if (Last > 0 && Level >= 1 && Level <= Last && Y > 0 && Y < RPM_Graph.Y1) {
            RPM_Graph.Selecting = true;
            RPM_Graph.Select_X1 = RPM_Graph.Select_X2 = X;
        }
    }
}

void TForm_RPM::Image_RPMMouseMove(TObject* Sender, TShiftState Shift, int X, int Y)
{
    if (!RPM_Graph.Selecting || !Plot_Usable())
        return;
    RPM_Graph.Select_X2 = X;
    RPM_Graph.Selection_Shown = true;
    Draw_RPM_Diagram();
}

void TForm_RPM::Image_RPMMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button != TMouseButton::Right || !RPM_Graph.Selecting)
        return;
    RPM_Graph.Selecting = false;
    if (!Plot_Usable())
        return;
    RPM_Graph.Select_X2 = X;
    const int Left = std::min(RPM_Graph.Select_X1, RPM_Graph.Select_X2);
    const int Right = std::max(RPM_Graph.Select_X1, RPM_Graph.Select_X2);
    RPM_Graph.Select_X1 = Left;
    RPM_Graph.Select_X2 = Right;
    Auto_Select_RPM_Range(std::clamp(Level_At(Left), 1, RPM_Levels), std::clamp(Level_At(Right), 1, RPM_Levels));
}

// ---------------------------------------------------------------- live data and the sweep

void TForm_RPM::Live_RPM(int32_t Rpm)
{
    if (!RPM_Graph.Open)
        return;
    Edit_RPM_Current->Text(std::to_string(Rpm));
    if (!Button_RPM_StartStop->Down())
        return;
    RPM_Level_Index = RPM_Level_Of(Configuration.RPM_Sensitiv, RPM_Level_Index);
    // Levels above 20 V are not sampled.
    if (RPM_Level_Index >= 1 && RPM_Level_Index <= RPM_Levels)
        RPM_Samples[RPM_Level_Index] = static_cast<uint16_t>(std::clamp<int32_t>(Rpm, 0, 0xFFFF));
    Draw_RPM_Diagram();
}

void TForm_RPM::Enable_Sweep_Controls(bool Enable)
{
    UpDown_RPM_Timer->Enabled(Enable);
    UpDown_RPM_Sensitiv->Enabled(Enable);
    Button_RPM_Transmitt->Enabled(Enable);
    Call_Hook(RPM_Window_Hooks.Main_Sweep_Controls_Enable, Enable);
}

void TForm_RPM::Enter_Restore()
{
    Sweep_Phase = 5;
    // The saved value itself goes back, whatever range the up-down has.
    Configuration.RPM_Sensitiv = Sweep_Saved;
    if (!Button_RPM_StartStop->Down()) {
        Gauge_RPM_Diagnistics->MaxValue(Timing.T1 + Timing.T2);
        Gauge_RPM_Diagnistics->Progress(0);
        Edit_RPM_Gauge_Cnt->Text(std::to_string(Timing.T1 + Timing.T2));
    }
    Ticks_Left = Timing.T2;
    Button_RPM_StartStop->Down(false);
    Button_RPM_StartStop->Enabled(false);
    Button_RPM_StartStop->Caption(Language_Find_Text("Button_RPM_Start"));
    const int Position = std::clamp<int32_t>(Sweep_Saved, Sensitiv_Min, RPM_Sensitiv_Top);
    UpDown_RPM_Sensitiv->Position(Position);
    UpDown_RPM_Sensitiv->Increment(Increment_For(Position));
    Edit_RPM_Sensitiv->Text(Hundredths_Text(Sweep_Saved));
    Call_Hook(RPM_Window_Hooks.Main_Sensitiv_Show, UpDown_RPM_Sensitiv->Increment(), Position);
    Restore_Acknowledged = false;
    Restore_Sent = true;
    Restore_Connect_Count = Script_Connect_Count;
    Call_Hook(RPM_Window_Hooks.Parameter_Changed, Letter_RPM_Sensitiv);
}

void TForm_RPM::Step_RPM_Diagnostics()
{
    if (!RPM_Sweep_On || !Connected)
        return;
    // The link was lost before the restored level was answered: it is written again.
    if ((Sweep_Phase == 5 || Sweep_Phase == 6) && !Restore_Acknowledged &&
        Script_Connect_Count != Restore_Connect_Count) {
        Enter_Restore();
        return;
    }
    Gauge_RPM_Diagnistics->Progress(
        std::min(Gauge_RPM_Diagnistics->Progress() + 1, Gauge_RPM_Diagnistics->MaxValue()));
    Edit_RPM_Gauge_Cnt->Text(
        std::to_string(Gauge_RPM_Diagnistics->MaxValue() - Gauge_RPM_Diagnistics->Progress()));
    if (--Ticks_Left > 0)
        return;
    switch (Sweep_Phase) {
    case 1:
        Sweep_Phase = 2;
        Ticks_Left = Timing.T1;
        break;
    case 2:
        Sweep_Phase = 3;
        Ticks_Left = Timing.T1;
        Ask_Request(Request_Control_0_1);
        break;
    case 3:
        Sweep_Phase = 4;
        Enable_Sweep_Controls(false);
        Ticks_Left = Timing.T2;
        Ask_Request(Request_Sweep_Level);
        break;
    case 4:
        if (UpDown_RPM_Sensitiv->Position() < RPM_Sensitiv_Top) {
            Ticks_Left = Timing.T3;
            UpDown_RPM_Sensitiv->Position(UpDown_RPM_Sensitiv->Position() + UpDown_RPM_Sensitiv->Increment());
            UpDown_RPM_SensitivClick(UpDown_RPM_Sensitiv, TUD_Button::Up);
            Ask_Request(Request_Sweep_Level);
        } else {
            Enter_Restore();
        }
        break;
    case 5:
        Sweep_Phase = 6;
        Ticks_Left = Timing.T1;
        break;
    case 6:
        if (!Restore_Acknowledged) {
            // Still waiting for the send timer (the last phases can run through in less
            // than its interval): asking again would only start its wait again, so that
            // the level never went out. Looked at again next cycle.
            if (Ask_Hook(RPM_Window_Hooks.Parameter_Send_Waiting, false)) {
                Ticks_Left = 1;
                break;
            }
            // Sent but not answered (the link held but the write never came back): once more.
            Enter_Restore();
            break;
        }
        Sweep_Phase = 7;
        Gauge_RPM_Diagnistics->Progress(Gauge_RPM_Diagnistics->MaxValue());
        Edit_RPM_Gauge_Cnt->Text("0");
        Enable_Sweep_Controls(true);
        RPM_Sweep_On = false;
        Button_RPM_StartStop->Enabled(true);
        Button_RPM_StartStop->Caption(Language_Find_Text("Button_RPM_Start"));
        break;
    default:
        break;
    }
}

void TForm_RPM::Reply_Seen()
{
    if (!Restore_Sent || Restore_Acknowledged || (Sweep_Phase != 5 && Sweep_Phase != 6))
        return;
    const uint8_t Command = Sent_Frame[1];
    if (Sent_Frame[0] != Mode_Controller || RX_Frame[0] != Sent_Frame[0] || RX_Frame[1] != Command)
        return;
    if ((Command == Command_List_Write || Command == Letter_RPM_Sensitiv) &&
        Configuration.RPM_Sensitiv == Sweep_Saved)
        Restore_Acknowledged = true;
}

bool TForm_RPM::Restore_Pending() const
{
    return RPM_Sweep_On && (Sweep_Phase == 4 || ((Sweep_Phase == 5 || Sweep_Phase == 6) && !Restore_Acknowledged));
}
