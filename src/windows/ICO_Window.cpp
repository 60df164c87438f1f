#include "windows/ICO_Window.h"

#include <algorithm>

#include "data/Call_Hook.h"
#include "data/Conversions.h"
#include "data/Key_File.h"
#include "data/Settings.h"
#include "language/Language.h"
#include "language/Language_Fonts.h"
#include "protocol/Live_Data.h"
#include "windows/Form_Build.h"

ICO_State_Class ICO_State;
ICO_Window_Hooks_Class ICO_Window_Hooks;
TForm_ICO* Form_ICO = nullptr;

namespace {

const char* const Temperature_Ending = ",  \xB0" "C";

// Colours of the digits ($BBGGRR).
constexpr TColor Colour_RPM = 0xFF0000;
constexpr TColor Colour_TPS = 0x800080;
constexpr TColor Colour_Gas = 0x008000;
constexpr TColor Colour_Temperature = 0x000080;
constexpr TColor Colour_Pressure = 0x808000;
constexpr TColor Colour_Power = 0x800000;
constexpr TColor Colour_Detonation = 0xD2AD1A;
constexpr TColor Colour_Output = 0xFF00FF;

// The RPM window's right click walks through the RPM views while one of them is open.
constexpr int View_RPM_Source = 17;
constexpr int View_RPM_Next = 18;
constexpr int View_RPM_Last = 10;

const ICO_Row_Class ICO_Rows[ICO_Count] = {
    {"Label_GEN_RPM", Colour_RPM, "Dim_RPM_Short", nullptr, nullptr, true, View_RPM_Source},
    {"Label_GEN_TPS", Colour_TPS, "Label_GEN_TPS", "Dim_Volt_Long", nullptr, true, 25},
    {"Label_GEN_GAS", Colour_Gas, "Label_GEN_GAS", "Dim_MS_Short", nullptr, true, 5},
    {"Label_GEN_Temp", Colour_Temperature, "Label_GEN_TempVap", nullptr, Temperature_Ending, true, 21},
    {"Label_GEN_Temp", Colour_Temperature, "Label_GEN_TempGas", nullptr, Temperature_Ending, true, 20},
    {"Label_GEN_Temp", Colour_Temperature, "Label_GEN_TempInside", nullptr, Temperature_Ending, false, 0},
    {"Label_GEN_Temp", Colour_Temperature, "Label_GEN_TempCouple", nullptr, Temperature_Ending, false, 24},
    {"Label_GEN_Pressure", Colour_Pressure, "Label_GEN_PressureVap", "Dim_Bar_Long", nullptr, false, 0},
    {"Label_GEN_Pressure", Colour_Pressure, "Label_GEN_PressureCollector", "Dim_Bar_Long", nullptr, true, 0},
    {"Label_GEN_Pressure", Colour_Pressure, "Label_GEN_PressureDifferent", "Dim_Bar_Long", nullptr, true, 19},
    {"Label_GEN_Voltage", Colour_Power, "Label_GEN_Power", "Dim_Volt_Long", nullptr, false, 22},
    {"Label_GEN_Voltage", Colour_Detonation, "Label_GEN_Detonation", "Dim_Volt_Long", nullptr, true, 23},
    {"Label_GEN_Voltage", Colour_Output, "Label_GEN_Out_PWM", "Dim_Volt_Long", nullptr, false, 0},
    {"Label_GEN_PerCent", Colour_Output, nullptr, nullptr, "%", false, 0},
};

// The live value of each window as it shows it (index = number - 1).
using Live_Format = std::string (*)(const Live_Values_Class&);
const Live_Format Live_Formats[ICO_Count] = {
    [](const Live_Values_Class& V) { return std::to_string(V.Live_RPM); },
    [](const Live_Values_Class& V) { return Format_Input(V.Live_TPS); },
    [](const Live_Values_Class& V) { return Format_Gas_Time(V.Live_Gas_Time); },
    [](const Live_Values_Class& V) { return Format_Temperature(V.Live_TempVap); },
    [](const Live_Values_Class& V) { return Format_Temperature(V.Live_TempGas); },
    [](const Live_Values_Class& V) { return Format_Temperature(V.Live_TempInside); },
    [](const Live_Values_Class& V) { return std::to_string(V.Live_TempCouple); },
    [](const Live_Values_Class& V) { return Format_Pressure(V.Live_PressVap); },
    [](const Live_Values_Class& V) { return Format_Pressure(V.Live_PressColl); },
    [](const Live_Values_Class& V) { return Format_Pressure(V.Live_PressDiff); },
    [](const Live_Values_Class& V) { return Format_Power(V.Live_Power); },
    [](const Live_Values_Class& V) { return Format_Detonation(V.Live_Detonation); },
    [](const Live_Values_Class& V) { return Format_Output(V.Live_Output_1); },
    [](const Live_Values_Class& V) { return std::to_string(V.Live_Gas_PerCent); },
};

// Margins of the fit: a text counts as filling the width with 10 pixels to spare and the
// height with 2.
constexpr int Width_Margin = 10;
constexpr int Height_Margin = 2;

// Room beside "OSC" in the digits' top right corner.
constexpr int OSC_Mark_Gap = 4;

bool Valid_Number(int n) { return n >= 1 && n <= ICO_Count; }

TForm_ICO* Window(int n) { return Valid_Number(n) ? ICO_State.ICO_Windows[n - 1] : nullptr; }

bool Is_Open(int n) { return Valid_Number(n) && ICO_State.ICO_Open[n - 1] && Window(n); }

// Creates window n and applies its texts; layout stays off meanwhile.
void Create_ICO_Window(int n)
{
    if (!Valid_Number(n) || ICO_State.ICO_Open[n - 1])
        return;
    ICO_State.ICO_Width = ICO_Open_Width;
    ICO_State.ICO_Height = ICO_Open_Height;
    // Owned by the application where there is one, so that the program's end frees it
    // after the main window has saved its place.
    TForm_ICO* F = Create_Form<TForm_ICO>(Application);
    const bool Layout_Was = ICO_State.ICO_Layout_On;
    ICO_State.ICO_Layout_On = false;
    F->SetBounds(0, 0, ICO_Open_Width, ICO_Open_Height);
    F->Label_ICO_Num->Tag(n);
    F->Panel_ICO_Dig->Font().Size(ICO_Dig_Size);
    F->Panel_ICO_Dim->Font().Size(ICO_Dim_Size);
    ICO_State.ICO_Windows[n - 1] = F;
    ICO_State.ICO_Open[n - 1] = true;
    F->Show();
    ICO_State.ICO_Any_Open = true;
    F->Apply_Texts();
    ICO_State.ICO_Layout_On = Layout_Was;
}

}  // namespace

// ---------------------------------------------------------------- table

const ICO_Row_Class& ICO_Row(int n)
{
    static const ICO_Row_Class None = {"", clBlack, nullptr, nullptr, nullptr, false, 0};
    return Valid_Number(n) ? ICO_Rows[n - 1] : None;
}

std::string ICO_Unit_Text(int n)
{
    const ICO_Row_Class& Row = ICO_Row(n);
    std::string Text = Row.Unit_Key ? Language_Text(Row.Unit_Key) : "";
    if (Row.Unit_Dim_Key)
        Text += ",  " + Language_Text(Row.Unit_Dim_Key);
    if (Row.Unit_Ending)
        Text += Row.Unit_Ending;
    return Text;
}

int ICO_Compact_View(int n, int Current_View_Type)
{
    const int View = ICO_Row(n).Compact_View;
    if (View != View_RPM_Source)
        return View;
    if (Current_View_Type == View_RPM_Source)
        return View_RPM_Next;
    if (Current_View_Type == View_RPM_Next)
        return View_RPM_Last;
    return View_RPM_Source;
}

// ---------------------------------------------------------------- font fit

int ICO_Font_Held(int Size) { return std::clamp(Size, ICO_Font_Min, ICO_Font_Max); }

int ICO_Fit_Font(int Size, int W, int H, bool Empty_Text, const ICO_Measure& Measure)
{
    Size = ICO_Font_Held(Size);
    if (Empty_Text || !Measure)
        return Size;
    auto Grow = [&](auto Done) {
        while (Size < ICO_Font_Max && !Done(Measure(Size)))
            ++Size;
    };
    auto Shrink = [&](auto Done) {
        while (Size > ICO_Font_Min && !Done(Measure(Size)))
            --Size;
    };
    auto Wide_Enough = [W](ICO_Text_Size T) { return T.Width - Width_Margin >= W; };
    auto Narrow_Enough = [W](ICO_Text_Size T) { return W - Width_Margin >= T.Width; };
    auto High_Enough = [H](ICO_Text_Size T) { return T.Height - Height_Margin >= H; };
    auto Low_Enough = [H](ICO_Text_Size T) { return H - Height_Margin >= T.Height; };
    if (W < H) {
        if (Measure(Size).Width < W)
            Grow(Wide_Enough);
        else
            Shrink(Narrow_Enough);
        if (Measure(Size).Height > H)
            Shrink(Low_Enough);
    } else {
        if (Measure(Size).Height < H)
            Grow(High_Enough);
        else
            Shrink(Low_Enough);
        if (Measure(Size).Width > W)
            Shrink(Narrow_Enough);
    }
    return Size;
}

// ---------------------------------------------------------------- routines

void Open_ICO_Window(int n)
{
    if (Valid_Number(n) && !ICO_State.ICO_Open[n - 1]) {
        ICO_State.ICO_Current = static_cast<uint8_t>(n);
        Create_ICO_Window(n);
        ICO_Layout(n);
    }
    ICO_State.ICO_Layout_On = true;
}

void ICO_Layout(int n)
{
    if (!Is_Open(n))
        return;
    TForm_ICO* F = Window(n);
    const int W = ICO_State.ICO_Width;
    const int H = ICO_State.ICO_Height;
    // The panels fill the client area: the outer size less the frame the window manager
    // put around the window (none before it has framed it; the layout is made again when
    // the frame arrives).
    const int Frame_Width = F->Width() - F->ClientWidth();
    const int Frame_Height = F->Height() - F->ClientHeight();
    const int Dig_Height = (H - Frame_Height) * ICO_Dig_Share / 100;
    const int Dim_Height = H - Dig_Height - Frame_Height;
    F->Panel_ICO_Dig->SetBounds(0, 0, W - Frame_Width, Dig_Height);
    F->Panel_ICO_Dim->SetBounds(0, Dig_Height, W - Frame_Width, Dim_Height);
    F->Panel_ICO->SetBounds(0, 0, W - Frame_Width, Dig_Height + Dim_Height);
    F->Laid_Out_Width = W;
    F->Laid_Out_Height = H;
    F->Laid_Out_Frame_Width = Frame_Width;
    F->Laid_Out_Frame_Height = Frame_Height;
    F->Label_ICO_OSC->Left(
        std::max(0, W - Frame_Width - F->Label_ICO_OSC->Width() - OSC_Mark_Gap));
    F->Label_ICO_OSC->Top(OSC_Mark_Gap);
    for (TPanel* P : {F->Panel_ICO_Dig, F->Panel_ICO_Dim})
        P->Font().Size(F->Fit_Panel_Font(P, P->Font().Size()));
}

ICO_Texts ICO_Live_Texts()
{
    ICO_Texts Texts;
    for (int n = 1; n <= ICO_Count; ++n)
        Texts[n] = Live_Formats[n - 1](Live_Values);
    return Texts;
}

void ICO_Show_Values(const ICO_Texts& Live, bool Playback, const ICO_Texts& Readouts)
{
    for (int n = 1; n <= ICO_Count; ++n) {
        if (!Is_Open(n))
            continue;
        const bool From_File = Playback && ICO_Row(n).Follows_Playback;
        Window(n)->Show_Value(From_File ? Readouts[n] : Live[n], From_File);
    }
}

std::array<std::string, 7> ICO_Keys(int n)
{
    const std::string N = std::to_string(n);
    return {"Form_ICO_Flag_" + N,   "Form_ICO_Top_" + N,      "Form_ICO_Left_" + N,
            "Form_ICO_Width_" + N,  "Form_ICO_Height_" + N,   "Form_ICO_Size_Dig_" + N,
            "Form_ICO_Size_Dim_" + N};
}

void ICO_Settings_Save()
{
    for (int n = 1; n <= ICO_Count; ++n) {
        if (!Is_Open(n))
            continue;
        const TForm_ICO* F = Window(n);
        const auto Keys = ICO_Keys(n);
        const int Values[6] = {F->Top(), F->Left(), F->Width(), F->Height(),
                               F->Panel_ICO_Dig->Font().Size(), F->Panel_ICO_Dim->Font().Size()};
        Key_File_Set(Keys[0], "True", "");
        for (int k = 0; k < 6; ++k)
            Key_File_Set(Keys[k + 1], std::to_string(Values[k]), "");
    }
}

void ICO_Settings_Load()
{
    for (int n = 1; n <= ICO_Count; ++n) {
        const auto Keys = ICO_Keys(n);
        if (!Key_File_Find_Bool(Keys[0]) || !Key_Bool_Value)
            continue;
        ICO_State.ICO_Current = static_cast<uint8_t>(n);
        Create_ICO_Window(n);
        TForm_ICO* F = Window(n);
        if (!F)
            continue;
        auto Read = [](const std::string& Key, auto&& Apply) {
            if (Key_File_Find_Int(Key))
                Apply(static_cast<int>(Key_Int_Value));
        };
        Read(Keys[1], [F](int V) { F->Top(V); });
        Read(Keys[2], [F](int V) { F->Left(V); });
        Read(Keys[3], [F](int V) {
            ICO_State.ICO_Width = std::max(V, ICO_Min_Width);
            F->Width(ICO_State.ICO_Width);
        });
        Read(Keys[4], [F](int V) {
            ICO_State.ICO_Height = std::max(V, ICO_Min_Height);
            F->Height(ICO_State.ICO_Height);
        });
        Read(Keys[5], [F](int V) { F->Panel_ICO_Dig->Font().Size(ICO_Font_Held(V)); });
        Read(Keys[6], [F](int V) { F->Panel_ICO_Dim->Font().Size(ICO_Font_Held(V)); });
        ICO_Layout(n);
    }
    ICO_State.ICO_Layout_On = true;
}

void ICO_Closed(int n)
{
    if (!Valid_Number(n))
        return;
    ICO_State.ICO_Open[n - 1] = false;
    ICO_State.ICO_Any_Open =
        std::any_of(ICO_State.ICO_Open.begin(), ICO_State.ICO_Open.end(), [](bool Open) { return Open; });
    // Only a file that could be read is written back: a missing or unreadable one has no
    // keys of this window to lose, and must not be replaced by one holding nothing else.
    const std::string Path = Settings_File_Path();
    if (!Key_File_Load(Path))
        return;
    for (const std::string& Key : ICO_Keys(n))
        Key_File_Delete(Key);
    Key_File_Save(Path);
}

void ICO_Windows_Reset()
{
    for (TForm_ICO*& F : ICO_State.ICO_Windows) {
        TForm_ICO* Going = F;
        F = nullptr;
        if (Going)
            Going->Free();
    }
    if (Form_ICO)
        Form_ICO->Free();
    ICO_State = ICO_State_Class{};
    ICO_Window_Hooks = ICO_Window_Hooks_Class{};
}

// ---------------------------------------------------------------- the window

TForm_ICO::TForm_ICO(TComponent* Owner) : TForm(Owner)
{
    Name("Form_ICO");
    Caption("Form_ICO");
    ClientWidth(Design_Client_Width);
    ClientHeight(Design_Client_Height);
    FormStyle(TForm_Style::Stay_On_Top);
    BorderIcons(biSystemMenu | biMinimize);

    Panel_ICO = build::Panel(this, this, "Panel_ICO", "", 0, 0, Design_Client_Width, Design_Client_Height);
    Panel_ICO_Dig = build::Panel(this, Panel_ICO, "Panel_ICO_Dig", "", 0, 0, Design_Client_Width, 80);
    Panel_ICO_Dim = build::Panel(this, Panel_ICO, "Panel_ICO_Dim", "", 0, 80, Design_Client_Width, 25);
    Label_ICO_Num = build::Label(this, this, "Label_ICO_Num", "", 0, 0);
    Label_ICO_Num->Visible(false);
    Label_ICO_Width = build::Label(this, this, "Label_ICO_Width", "", 0, 0);
    Label_ICO_Width->Visible(false);
    Label_ICO_OSC = build::Label(this, Panel_ICO_Dig, "Label_ICO_OSC", "OSC", 150, OSC_Mark_Gap);
    Label_ICO_OSC->Visible(false);
    // The mark keeps the window's small font while the digits grow.
    Label_ICO_OSC->ParentFont(false);
    Label_ICO_OSC->Font(Font());
    for (TPanel* P : {Panel_ICO, Panel_ICO_Dig, Panel_ICO_Dim})
        P->DoubleBuffered(true);
    // The value panels write in the program's font.
    for (TPanel* P : {Panel_ICO_Dig, Panel_ICO_Dim}) {
        P->ParentFont(false);
        Font_Set_Panel(P);
    }
    Timer_ICO = build::Timer(this, "Timer_ICO", ICO_Timer_Ms);
    Timer_ICO->OnTimer = [this](TObject* Sender) { Timer_ICOTimer(Sender); };
    OnCanResize = [this](TObject* Sender, int& W, int& H, bool& Resize) {
        FormCanResize(Sender, W, H, Resize);
    };
    OnClose = [this](TObject* Sender, TClose_Action& Action) { FormClose(Sender, Action); };
    Panel_ICO_Dig->OnMouseDown = [this](TObject* Sender, TMouseButton Button, TShiftState Shift,
                                        int X, int Y) {
        Panel_ICO_DigMouseDown(Sender, Button, Shift, X, Y);
    };
}

TForm_ICO::~TForm_ICO()
{
    // The slot forgets the window; its open flag stays, so that a window freed at the
    // program's end still counts as open for the settings written before.
    for (TForm_ICO*& F : ICO_State.ICO_Windows)
        if (F == this)
            F = nullptr;
    if (Form_ICO == this)
        Form_ICO = nullptr;
}

void TForm_ICO::Apply_Texts()
{
    const int n = Number();
    const ICO_Row_Class& Row = ICO_Row(n);
    Caption(Language_Text(Row.Title_Key));
    Panel_ICO_Dig->Font().Color(Row.Colour);
    Panel_ICO_Dim->Font().Color(Row.Colour);
    Panel_ICO_Dim->Caption(ICO_Unit_Text(n));
}

void TForm_ICO::Show_Value(const std::string& Text, bool Playback_Mark)
{
    Label_ICO_OSC->Visible(Playback_Mark);
    const std::string Old = Panel_ICO_Dig->Caption();
    if (Old == Text)
        return;
    Panel_ICO_Dig->Caption(Text);
    // A value that gains or loses characters ("950" to "1200") is fitted again at once, so
    // that it never runs past the window until the next resize.
    if (Old.size() != Text.size())
        Panel_ICO_Dig->Font().Size(Fit_Panel_Font(Panel_ICO_Dig, Panel_ICO_Dig->Font().Size()));
}

int TForm_ICO::Fit_Panel_Font(TPanel* Panel, int Size)
{
    const std::string Text = Panel->Caption();
    TCanvas* C = Canvas();
    C->Font = Panel->Font();
    const int Fitted = ICO_Fit_Font(Size, Panel->Width(), Panel->Height(), Text.empty(), [&](int S) {
        C->Font.Size(S);
        return ICO_Text_Size{C->TextWidth(Text), C->TextHeight(Text)};
    });
    if (Panel == Panel_ICO_Dig && !Text.empty()) {
        C->Font.Size(Fitted);
        Label_ICO_Width->Caption(std::to_string(C->TextWidth(Text)));
    }
    return Fitted;
}

void TForm_ICO::FormCanResize(TObject* Sender, int& New_Width, int& New_Height, bool& Resize)
{
    if (!ICO_State.ICO_Layout_On || Number() == 0)
        return;
    ICO_State.ICO_Current = static_cast<uint8_t>(Number());
    New_Width = std::max(New_Width, ICO_Min_Width);
    New_Height = std::max(New_Height, ICO_Min_Height);
    if (New_Width == Laid_Out_Width && New_Height == Laid_Out_Height &&
        Width() - ClientWidth() == Laid_Out_Frame_Width && Height() - ClientHeight() == Laid_Out_Frame_Height)
        return;
    Laid_Out_Width = New_Width;
    Laid_Out_Height = New_Height;
    ICO_State.ICO_Width = New_Width;
    ICO_State.ICO_Height = New_Height;
    Timer_ICO->Enabled(false);
    Timer_ICO->Interval(ICO_Timer_Ms);
    Timer_ICO->Enabled(true);
}

void TForm_ICO::Timer_ICOTimer(TObject* Sender)
{
    Timer_ICO->Enabled(false);
    // Each window lays itself out at the size it was given: two windows resized within the
    // same 200 ms keep their own sizes.
    ICO_State.ICO_Current = static_cast<uint8_t>(Number());
    ICO_State.ICO_Width = Laid_Out_Width;
    ICO_State.ICO_Height = Laid_Out_Height;
    ICO_Layout(Number());
}

void TForm_ICO::FormClose(TObject* Sender, TClose_Action& Action)
{
    // A closed window is freed: opening the number again makes a new one. Until it goes it
    // keeps its slot, so that a reset frees it even before its turn comes.
    Action = TClose_Action::Free;
    Timer_ICO->Enabled(false);
    ICO_Closed(Number());
}

void TForm_ICO::Panel_ICO_DigMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                       int Y)
{
    if (Button == TMouseButton::Right)
        Call_Hook(ICO_Window_Hooks.Right_Click, Number());
}
