// Configuration page: its controls in setting groups, the record put on the page and the
// marking of values that differ from the factory defaults.
#include "main/Main_Form_Configuration.h"

#include <algorithm>

#include "data/Configuration.h"
#include "data/Conversions.h"
#include "data/Globals.h"
#include "data/Injectors.h"
#include "data/Key_File.h"
#include "data/Settings.h"
#include "language/Language.h"
#include "main/Main_Form.h"
#include "main/Read_Guard.h"
#include "platform/system/Date_Time.h"
#include "windows/Form_Build.h"
#include "protocol/CFG_File.h"
#include "protocol/Live_Data.h"
#include "protocol/Param_Codecs.h"
#include "windows/Control_Text.h"
#include "windows/RPM_Window.h"

namespace {

// ---- geometry of the page (design pixels) ----
constexpr int List_Width = 233;             // the group list on the left
constexpr int List_Height = 450;
constexpr int Options_Left = 240;           // the shown setting group's panel
constexpr int Options_Width = 433;
constexpr int Options_Height = 360;
constexpr int Buttons_Left = Options_Left + Options_Width + 6;
constexpr int Button_Width = 86;
constexpr int Row_Height = 26;
constexpr int Row_First = 22;
constexpr int Caption_Left = 10;
constexpr int Edit_Left = 230;
constexpr int Edit_Width = 70;
constexpr int Group_Width = 420;
constexpr int Phase_Gap = 3;                // between two cylinders' bars
// The influence buttons on the options panel's bottom row (the panel's top is the page's).
constexpr int Infl_Button_Left = 8, Infl_Button_Width = 100, Infl_Button_Gap = 6, Infl_Button_Height = 25;
constexpr int Infl_Buttons_Top = Options_Height - 30;
// The car group (13): four rows, the dates box and the service-time box, within the options
// panel above the search row (Options_Height - 30).
constexpr int Car_Row_First = 20;
constexpr int Car_Row_Pitch = 25;
constexpr int Car_Edit_Left = 150;
constexpr int Car_Edit_Width = 260;
constexpr int Inner_Row_First = 16;         // rows of a box inside the car group
constexpr int Inner_Row_Pitch = 24;
constexpr int Car_Date_Top = Car_Row_First + 4 * Car_Row_Pitch + 1;
constexpr int Car_Date_Height = Inner_Row_First + 2 * Inner_Row_Pitch + 4;
constexpr int Car_Service_Top = Car_Date_Top + Car_Date_Height + 2;
constexpr int Car_Group_Height = 290;
constexpr int Date_Save_Left = 220;         // the last save, right half of the dates' first row
constexpr int Date_Value_Width = 80;

// Level marks: raw 10-bit readings 0..1023 shown in volts.
constexpr int Level_Full_Scale = 1023;
constexpr double Level_Volts = 5.0;
// The MAP preset recognised within this many mV of its 1-bar output.
constexpr int MAP_Tolerance_mV = 30;
constexpr uint8_t Level_Mode_Software_Working = 128;
constexpr double Etalon_To_Display = 0.1864135;

constexpr TColor Marker_Colour = RGB_Color(0, 255, 0);

// Yellow-wire function codes and their combo text keys.
struct Yellow_Wire_Row {
    uint8_t Code;
    const char* Key;
};
constexpr Yellow_Wire_Row Yellow_Wire_Table[] = {
    {1, "YW_Petrol_Valve_OFF"}, {2, "YW_Dublication_Gas_Valve"}, {4, "YW_Clear_Petrol_Sensor"}};
constexpr uint8_t Yellow_Wire_Timed = 4;   // the code with delay and impulse

const char* const Injection_Type_Items[] = {"1 = 1", "1 / 2", "1 * 2", "1 * 4"};

// The start impulse's arrow: a thin line down to a head at the image's foot.
constexpr int Start_Arrow_Width = 5;
void Draw_Start_Arrow(TImage* Image)
{
    TCanvas* C = Image->Canvas();
    const int W = Image->Width();
    const int H = Image->Height();
    C->Brush.Color = clBtnFace;
    C->FillRect(TRect{0, 0, W, H});
    C->Pen.Color = clBlack;
    C->Pen.Width = 1;
    const int X = W / 2;
    C->MoveTo(X, 0);
    C->LineTo(X, H - 1);
    C->MoveTo(0, H - 4);
    C->LineTo(X, H - 1);
    C->LineTo(W, H - 5);
}

// Shortest decimal text of a value.
std::string Decimal(double Value) { return Format_General(Value, 10); }
std::string One_Decimal(double Value) { return Format_Fixed(Value, 10, 1); }

// A value row: caption, edit (with an up-down unless Plain) and unit.
CFG_Value_Row Row(TComponent* Owner, TControl* Parent, const std::string& Name,
                  const std::string& Caption, const std::string& Unit, int Line, bool Plain = false,
                  int Left = Caption_Left)
{
    CFG_Value_Row R;
    const int Top = Row_First + Line * Row_Height;
    R.Caption = build::Label(Owner, Parent, "Label_CFG_" + Name, Caption, Left, Top + 3);
    R.Edit = build::Make<TEdit>(Owner, Parent, "Edit_CFG_" + Name, Edit_Left, Top, Edit_Width, 22);
    if (!Plain) {
        R.UpDown = build::Make<TUpDown>(Owner, Parent, "UpDown_CFG_" + Name, Edit_Left + Edit_Width, Top,
                                        17, 22);
        R.UpDown->Min(0);
        R.UpDown->Max(32767);
        R.UpDown->Associate(R.Edit);
    }
    R.Unit = build::Label(Owner, Parent, "Label_CFG_" + Name + "_Dim", Unit, Edit_Left + Edit_Width + 24,
                          Top + 3);
    return R;
}

void Row_Enable(const CFG_Value_Row& R, bool On)
{
    for (TControl* C : {static_cast<TControl*>(R.Caption), static_cast<TControl*>(R.Edit),
                        static_cast<TControl*>(R.UpDown), static_cast<TControl*>(R.Unit)})
        if (C) C->Enabled(On);
}

void Row_Visible(const CFG_Value_Row& R, bool On)
{
    for (TControl* C : {static_cast<TControl*>(R.Caption), static_cast<TControl*>(R.Edit),
                        static_cast<TControl*>(R.UpDown), static_cast<TControl*>(R.Unit)})
        if (C) C->Visible(On);
}

// Up-down position (low 16 bits of the field) and the edit's own text.
void Show_Row(const CFG_Value_Row& R, int32_t Field, const std::string& Text)
{
    if (R.UpDown) R.UpDown->Position(Low_16(Field));
    R.Edit->Text(Text);
}

void Mark(TControl* C, bool Changed, TColor Normal)
{
    C->Color(Changed ? CFG_Changed_Colour : Normal);
}

TGroupBox* Group(TComponent* Owner, TControl* Parent, const std::string& Name, const std::string& Caption,
                 int Lines)
{
    return build::Group(Owner, Parent, Name, Caption, 0, 0, Group_Width, Row_First + Lines * Row_Height + 8);
}

}  // namespace

void Main_Form_Configuration::Create_Sheet(TComponent* Owner, TPageControl* Pages)
{
    TabSheet_Configuration = build::Sheet(Owner, Pages, "TabSheet_Configuration", "Configuration");
}

void Main_Form_Configuration::Create_Part(TComponent* Owner, TControl* Content)
{
    TControl* S = TabSheet_Configuration;
    Panel_CFG_Options = build::Panel(Owner, S, "Panel_CFG_Options", "", Options_Left, 0, Options_Width,
                                     Options_Height);
    TPanel* Options = Panel_CFG_Options;
    Panel_CFG_Options_List = build::Panel(Owner, S, "Panel_CFG_Options_List", "", 0, 0, List_Width, List_Height);
    // The help line fills the page below the options panel.
    const int Help_Height = std::max(24, S->Height() - Options_Height - 5);
    Panel_CFG_Options_Help = build::Panel(Owner, S, "Panel_CFG_Options_Help", "", Options_Left,
                                          Options_Height + 5, Options_Width, Help_Height);
    Label_CFG_Help = build::Label(Owner, Panel_CFG_Options_Help, "Label_CFG_Help", "", 4, 4);
    Label_CFG_Help->AutoSize(false);
    Label_CFG_Help->WordWrap(true);
    Label_CFG_Help->SetBounds(4, 4, Options_Width - 8, Help_Height - 8);
    Label_CFG_Help->Alignment(TAlignment::Center);
    Label_CFG_Help->Layout(TText_Layout::Center);

    // Transfer, file and set-up buttons in a column right of the groups.
    int Top = 4;
    auto Column_Button = [&](const std::string& Name, const std::string& Caption) {
        TButton* B = build::Button(Owner, S, Name, Caption, Buttons_Left, Top, Button_Width, 25);
        Top += 29;
        return B;
    };
    Button_CFG_Receiv = Column_Button("Button_CFG_Receiv", "Receive");
    Button_CFG_Transmitt = Column_Button("Button_CFG_Transmitt", "Transmit");
    Top += 8;
    Button_CFG_Default = Column_Button("Button_CFG_Default", "Default");
    Button_CFG_Load = Column_Button("Button_CFG_Load", "Load");
    Button_CFG_Save = Column_Button("Button_CFG_Save", "Save");
    Top += 8;
    Button_CFG_User_Password = Column_Button("Button_CFG_User_Password", "Password");
    Label_CFG_Pult_Name = build::Label(Owner, S, "Label_CFG_Pult_Name", "", Buttons_Left, Top + 8);

    // ---- 1: the R.P.M. signal ----
    GroupBox_CFG_RPM_Source = Group(Owner, Options, "GroupBox_CFG_RPM_Source", "R.P.M. signal", 5);
    TControl* G = GroupBox_CFG_RPM_Source;
    RPM_Source = Row(Owner, G, "RPM_Source", "R.P.M. source", "", 0, true);
    RPM_Source.Edit->Width(90);
    RPM_Sensitiv = Row(Owner, G, "RPM_Sensitiv", "R.P.M. sensitivity", "V", 1);
    Button_CFG_RPM_set = build::Button(Owner, G, "Button_CFG_RPM_set", "Sweep", Edit_Left,
                                       Row_First + 2 * Row_Height - 2, 140, 25);
    Button_CFG_RPM_set->GroupIndex(1);
    Button_CFG_RPM_set->AllowAllUp(true);
    Button_CFG_RPM_IdleRun = build::Button(Owner, G, "Button_CFG_RPM_IdleRun", "Setting", Edit_Left,
                                           Row_First + 4 * Row_Height - 2, 140, 25);

    // ---- 2: switching to gas ----
    GroupBox_CFG_SwitchPG = Group(Owner, Options, "GroupBox_CFG_SwitchPG", "Switching to gas", 9);
    G = GroupBox_CFG_SwitchPG;
    PG_Temper = Row(Owner, G, "PG_Temper", "Vaporizer temperature", "\xB0" "C", 0);
    PG_Pressure = Row(Owner, G, "PG_Pressure", "Pressure difference", "bar", 1);
    PG_RPM = Row(Owner, G, "PG_RPM", "R.P.M.", "rpm", 2);
    PG_Delay = Row(Owner, G, "PG_Delay", "Delay", "sec", 3);
    PG_Preheating = Row(Owner, G, "PG_Preheating", "", "sec", 4);
    // The check box's label names the value; the row's own caption is not used.
    PG_Preheating.Caption->Name("Label_CFG_PG_Preheating_Row");
    PG_Preheating.Caption->Visible(false);
    CheckBox_CFG_PG_Preheating = build::Check(Owner, G, "CheckBox_CFG_PG_Preheating", Label_CFG_PG_Preheating,
                                              "Label_CFG_PG_Preheating", "Preheating", Caption_Left,
                                              Row_First + 4 * Row_Height + 2);
    Label_CFG_PG_Yellow_Wire =
        build::Label(Owner, G, "Label_CFG_PG_Yellow_Wire", "Yellow wire", Caption_Left, Row_First + 5 * Row_Height + 3);
    // The functions' long texts take a line of their own under the caption, whose length
    // depends on the language.
    ComboBox_CFG_PG_Yellow_Wire = build::Make<TComboBox>(Owner, G, "ComboBox_CFG_PG_Yellow_Wire", Caption_Left + 12,
                                                         Row_First + 6 * Row_Height, Group_Width - 2 * Caption_Left - 12,
                                                         22);
    // Not a list-only box: a code outside the list shows "Error" (a typed text is put back).
    PG_YW_Delay = Row(Owner, G, "PG_YW_Delay", "Yellow wire delay", "sec", 7);
    PG_YW_Impulse = Row(Owner, G, "PG_YW_Impulse", "Yellow wire impulse", "sec", 8);
    for (const CFG_Value_Row* R : {&PG_YW_Delay, &PG_YW_Impulse}) {
        R->UpDown->Min(1);
        R->UpDown->Max(250);
    }

    // ---- 3: switching back to petrol ----
    GroupBox_CFG_SwitchGP = Group(Owner, Options, "GroupBox_CFG_SwitchGP", "Switching to petrol", 5);
    G = GroupBox_CFG_SwitchGP;
    GP_PressDiff_Low = Row(Owner, G, "GP_PressDiff_Low", "Pressure difference low", "bar", 0);
    GP_PressDiff_High = Row(Owner, G, "GP_PressDiff_High", "Pressure difference high", "bar", 1);
    GP_TempVap = Row(Owner, G, "GP_TempVap", "Vaporizer temperature", "\xB0" "C", 2);
    GP_Time = Row(Owner, G, "GP_Time", "Time", "sec", 3);
    CheckBox_CFG_GP_Buzzer = build::Check(Owner, G, "CheckBox_CFG_GP_Buzzer", Label_CFG_GP_Buzzer,
                                          "Label_CFG_GP_Buzzer", "Buzzer", Caption_Left,
                                          Row_First + 4 * Row_Height + 2);

    // ---- 4: gas injectors ----
    GroupBox_CFG_Gas_Injectors = Group(Owner, Options, "GroupBox_CFG_Gas_Injectors", "Gas injectors", 8);
    G = GroupBox_CFG_Gas_Injectors;
    Label_CFG_Inject_Type = build::Label(Owner, G, "Label_CFG_Inject_Type", "Type", Caption_Left, Row_First + 3);
    ComboBox_CFG_Inject_Type =
        build::Make<TComboBox>(Owner, G, "ComboBox_CFG_Inject_Type", 120, Row_First, 200, 22);
    ComboBox_CFG_Inject_Type->DropDownCount(Injector_Type_Count);
    Inject_Num = Row(Owner, G, "Inject_Num", "Number of injectors", "", 1);
    // The caption keeps the name its texts and the help line know it by.
    Inject_Num.Caption->Name("Label_CFG_Inject_Number");
    Inject_Num.UpDown->Min(1);
    Inject_Num.UpDown->Max(Injector_Num_Max);
    Inject_Range = Row(Owner, G, "Inject_Range", "Injection time range", "ms", 2);
    Label_CFG_Inject_PWM = build::Label(Owner, G, "Label_CFG_Inject_PWM", "Injector drive", Caption_Left,
                                        Row_First + 3 * Row_Height + 3);
    Inject_Start = Row(Owner, G, "Inject_Start", "Start impulse", "\xB5" "s", 4, false, Caption_Left + 12);
    Inject_PWM_DutyCycle = Row(Owner, G, "Inject_PWM_DutyCycle", "Duty cycle", "%", 5, false, Caption_Left + 12);
    Inject_PWM_Freq = Row(Owner, G, "Inject_PWM_Freq", "Frequency", "kHz", 6, false, Caption_Left + 12);
    Inject_Auto = Row(Owner, G, "Inject_Auto", "", "\xB0" "C", 7);
    Inject_Auto.Caption->Name("Label_CFG_Inject_Auto_Row");
    Inject_Auto.Caption->Visible(false);
    // Right of the check box's long caption.
    Inject_Auto.Edit->SetBounds(300, Inject_Auto.Edit->Top(), 50, 22);
    Inject_Auto.UpDown->Left(350);
    Inject_Auto.Unit->Left(372);
    CheckBox_CFG_Inject_Auto = build::Check(Owner, G, "CheckBox_CFG_Inject_Auto", Label_CFG_Inject_Auto,
                                            "Label_CFG_Inject_Auto", "Winter / summer switching",
                                            Caption_Left, Row_First + 7 * Row_Height + 2);

    // ---- 5: injection type and phases ----
    GroupBox_CFG_Injection_Type = Group(Owner, Options, "GroupBox_CFG_Injection_Type", "Injection type", 11);
    G = GroupBox_CFG_Injection_Type;
    ComboBox_CFG_Injection_Type =
        build::Make<TComboBox>(Owner, G, "ComboBox_CFG_Injection_Type", Caption_Left, Row_First, 90, 22);
    // Not a list-only box: an injection type outside the list shows "Error".
    for (const char* Item : Injection_Type_Items)
        ComboBox_CFG_Injection_Type->Items().Add(Item);
    Label_CFG_IT_Max_Angle = build::Label(Owner, G, "Label_CFG_IT_Max_Angle", "", 120, Row_First + 3);
    // The bars' panel under a row that names where the bars start: the start impulse.
    const int Bars_Top = Row_First + 2 * Row_Height;
    Panel_CFG_Injection_Type = build::Panel(Owner, G, "Panel_CFG_Injection_Type", "", Caption_Left, Bars_Top,
                                            Group_Width - 2 * Caption_Left, 9 * Row_Height);
    Panel_CFG_Injection_Type->BevelOuter(TBevel_Cut::Lowered);
    // Placed over the bars' left end whenever the bars are built.
    CFG_Inject_Type_Start_Impuls =
        build::Label(Owner, G, "CFG_Inject_Type_Start_Impuls", "Start impulse", 0, Bars_Top - Row_Height + 3);
    CFG_Inject_Type_Start_Impuls_Arrow = build::Make<TImage>(Owner, G, "CFG_Inject_Type_Start_Impuls_Arrow", 0,
                                                             Bars_Top - Row_Height + 4, Start_Arrow_Width,
                                                             Row_Height - 4);

    // ---- 6: gas level ----
    GroupBox_CFG_GasLevel_Sensor = Group(Owner, Options, "GroupBox_CFG_GasLevel_Sensor", "Gas level sensor", 12);
    G = GroupBox_CFG_GasLevel_Sensor;
    ComboBox_CFG_Level_Type =
        build::Make<TComboBox>(Owner, G, "ComboBox_CFG_Level_Type", Caption_Left, Row_First, 130, 22);
    CheckBox_CFG_Level_Invert = build::Check(Owner, G, "CheckBox_CFG_Level_Invert", Label_CFG_Level_Invert,
                                             "Label_CFG_Level_Invert", "Invert", 160, Row_First + 2);
    CheckBox_CFG_Level_90 = build::Check(Owner, G, "CheckBox_CFG_Level_90", LabelCFG_Level_90,
                                         "LabelCFG_Level_90", "90 Om", 240, Row_First + 2);
    CheckBox_CFG_Level_Low = build::Check(Owner, G, "CheckBox_CFG_Level_Low", Label_CFG_Level_Low,
                                          "Label_CFG_Level_Low", "Low level buzzer", 160, Row_First + Row_Height + 2);
    const int Marks_Top = Row_First + 2 * Row_Height + 4;
    Panel_CFG_Gas_Level_Switch =
        build::Panel(Owner, G, "Panel_CFG_Gas_Level_Switch", "", Caption_Left, Marks_Top, 330, 9 * Row_Height);
    Panel_CFG_Gas_Level_Soft =
        build::Panel(Owner, G, "Panel_CFG_Gas_Level_Soft", "", Caption_Left, Marks_Top, 330, 9 * Row_Height);
    TControl* P = Panel_CFG_Gas_Level_Switch;
    // The bars hold their minimum at the top: the scale reads 0 V at the top.
    Label_CFG_Level_0 = build::Label(Owner, P, "Label_CFG_Level_0", "0", 4, 4);
    Label_CFG_Level_5 = build::Label(Owner, P, "Label_CFG_Level_5", "2.5", 4, 90);
    Label_CFG_Level_10 = build::Label(Owner, P, "Label_CFG_Level_10", "5.0", 4, 176);
    Image_CFG_Level_Sensor_Current =
        build::Make<TImage>(Owner, P, "Image_CFG_Level_Sensor_Current", 30, 8, 20, 180);
    Label_CFG_Level_Sensor_Current = build::Label(Owner, P, "Label_CFG_Level_Sensor_Current", "V", 4, 194);
    Edit_CFG_Level[0] = build::Make<TEdit>(Owner, P, "Edit_CFG_Level0", 4, 210, 56, 22);
    Edit_CFG_Level[0]->ReadOnly(true);
    for (int I = 0; I < 5; ++I) {
        const std::string N = std::to_string(I + 1);
        const int Left = 70 + I * 52;
        TrackBar_CFG_Level[static_cast<size_t>(I)] =
            build::Make<TTrackBar>(Owner, P, "TrackBar_CFG_Level" + N, Left, 4, 40, 186);
        TTrackBar* T = TrackBar_CFG_Level[static_cast<size_t>(I)];
        T->Orientation(TTrack_Orientation::Vertical);
        T->Min(0);
        T->Max(Level_Full_Scale);
        T->TickStyle(TTick_Style::None);
        Edit_CFG_Level[static_cast<size_t>(I + 1)] = build::Make<TEdit>(Owner, P, "Edit_CFG_Level" + N, Left, 210, 44, 22);
        Edit_CFG_Level[static_cast<size_t>(I + 1)]->ReadOnly(true);
    }
    Level_Etalon = Row(Owner, Panel_CFG_Gas_Level_Soft, "Level_Etalon", "Full tank", "", 0, false, 4);
    Level_Etalon.Edit->Left(150);
    Level_Etalon.UpDown->Left(220);
    Level_Etalon.UpDown->Max(1200);
    Level_Etalon.Unit->Visible(false);
    Button_CFG_LevelSensor_Set = build::Button(Owner, Panel_CFG_Gas_Level_Soft, "Button_CFG_LevelSensor_Set", "Set", 4,
                                               Row_First + Row_Height, 80, 25);
    Button_CFG_LevelSensor_Clr = build::Button(Owner, Panel_CFG_Gas_Level_Soft, "Button_CFG_LevelSensor_Clr",
                                               "Clear", 90, Row_First + Row_Height, 80, 25);
    static const char* const Led_Names[7] = {"Image_CFG_Red",    "Image_CFG_Green1", "Image_CFG_Green2",
                                             "Image_CFG_Green3", "Image_CFG_Green4", "Image_CFG_Green5",
                                             "Image_CFG_Yellow"};
    // Red at the bottom (empty tank), yellow at the top.
    for (int I = 0; I < 7; ++I)
        Level_Leds[static_cast<size_t>(I)] =
            build::Make<TImage>(Owner, G, Led_Names[I], 356, Marks_Top + 200 - I * 32, 24, 24);

    // ---- 7: pressure sensor ----
    GroupBox_CFG_Pressure_Sensor = Group(Owner, Options, "GroupBox_CFG_Pressure_Sensor", "Pressure sensor", 2);
    G = GroupBox_CFG_Pressure_Sensor;
    Label_CFG_Map_Type = build::Label(Owner, G, "Label_CFG_Map_Type", "MAP sensor", Caption_Left, Row_First + 3);
    ComboBox_CFG_Map_Type = build::Make<TComboBox>(Owner, G, "ComboBox_CFG_Map_Type", Edit_Left, Row_First, 110, 22);
    ComboBox_CFG_Map_Type->Style(TCombo_Style::Drop_Down_List);
    Pressure_1_Bar = Row(Owner, G, "Pressure_1_Bar", "Output at 1 bar", "V", 1);

    // ---- 11: influence factors ----
    // Three boxes (pressure difference, gas temperature, supply voltage), each one row in
    // three columns under the heads: the factor below the support point, the factor above
    // it, the support point with its unit. The voltage has one factor, in the first column.
    GroupBox_CFG_Infl_Factor = Group(Owner, Options, "GroupBox_CFG_Infl_Factor", "Influence factors", 8);
    G = GroupBox_CFG_Infl_Factor;
    constexpr int Infl_Box_Left = 8, Infl_Box_Height = 50, Infl_Box_Gap = 8;
    constexpr int Infl_Column[3] = {20, 150, 280};   // in the boxes; the heads sit over them
    const int Infl_Box_Width = Group_Width - 2 * Infl_Box_Left;
    Label_CFG_Infl_Smaller =
        build::Label(Owner, G, "Label_CFG_Infl_Smaller", "Below", Infl_Box_Left + Infl_Column[0], Row_First);
    Label_CFG_Infl_Bigger =
        build::Label(Owner, G, "Label_CFG_Infl_Bigger", "Above", Infl_Box_Left + Infl_Column[1], Row_First);
    Label_CFG_Support =
        build::Label(Owner, G, "Label_CFG_Support", "Support point", Infl_Box_Left + Infl_Column[2], Row_First);
    auto Infl_Box = [&](const std::string& Name, const std::string& Caption, int N) {
        return build::Group(Owner, G, Name, Caption, Infl_Box_Left,
                            Row_First + 22 + N * (Infl_Box_Height + Infl_Box_Gap), Infl_Box_Width, Infl_Box_Height);
    };
    GroupBox_CFG_DiffPress = Infl_Box("GroupBox_CFG_DiffPress", "Pressure difference", 0);
    GroupBox_CFG_TempGas = Infl_Box("GroupBox_CFG_TempGas", "Gas temperature", 1);
    GroupBox_CFG_Power = Infl_Box("GroupBox_CFG_Power", "Supply voltage", 2);
    // One value of a box: its edit and up-down in a column, the unit (supports only) right
    // of the up-down.
    auto Infl_Value = [&](TGroupBox* Box, const std::string& Name, int Column, const char* Unit) {
        CFG_Value_Row R;
        const int Left = Infl_Column[Column], Top = 20;
        R.Edit = build::Make<TEdit>(Owner, Box, "Edit_CFG_" + Name, Left, Top, Edit_Width - 10, 22);
        R.UpDown = build::Make<TUpDown>(Owner, Box, "UpDown_CFG_" + Name, Left + Edit_Width - 10, Top, 17, 22);
        R.UpDown->Min(0);
        R.UpDown->Max(32767);
        R.UpDown->Associate(R.Edit);
        if (Unit)
            R.Unit = build::Label(Owner, Box, "Label_CFG_" + Name + "_Dim", Unit, Left + Edit_Width + 12, Top + 3);
        return R;
    };
    Infl_DiffPress_S = Infl_Value(GroupBox_CFG_DiffPress, "Infl_DiffPress_S", 0, nullptr);
    Infl_DiffPress_B = Infl_Value(GroupBox_CFG_DiffPress, "Infl_DiffPress_B", 1, nullptr);
    Supp_DiffPress = Infl_Value(GroupBox_CFG_DiffPress, "Supp_DiffPress", 2, "bar");
    Infl_TempGas_S = Infl_Value(GroupBox_CFG_TempGas, "Infl_TempGas_S", 0, nullptr);
    Infl_TempGas_B = Infl_Value(GroupBox_CFG_TempGas, "Infl_TempGas_B", 1, nullptr);
    Supp_TempGas = Infl_Value(GroupBox_CFG_TempGas, "Supp_TempGas", 2, "\xB0" "C");
    Infl_Power = Infl_Value(GroupBox_CFG_Power, "Infl_Power", 0, nullptr);
    Supp_Power = Infl_Value(GroupBox_CFG_Power, "Supp_Power", 2, "V");
    for (const CFG_Value_Row* R : {&Infl_DiffPress_S, &Infl_DiffPress_B, &Infl_TempGas_S, &Infl_TempGas_B})
        R->UpDown->Min(-95);

    // ---- 9: gas kind; 12: sensor check ----
    GroupBox_CFG_GasType = Group(Owner, Options, "GroupBox_CFG_GasType", "Gas type", 1);
    RadioGroup_CFG_Check_Sensors = Group(Owner, Options, "RadioGroup_CFG_Check_Sensors", "Sensor check", 4);
    // Each pair of radio buttons on its own panel, so that the pairs do not exclude each other.
    TPanel* Kind = build::Panel(Owner, GroupBox_CFG_GasType, "Panel_CFG_Gas_Kind", "", Caption_Left, Row_First,
                                390, Row_Height);
    G = RadioGroup_CFG_Check_Sensors;
    Kind->BevelOuter(TBevel_Cut::None);
    RadioButton_CFG_LPG = build::Make<TRadioButton>(Owner, Kind, "RadioButton_CFG_LPG", 0, 4, 16, 17);
    Label_CFG_LPG = build::Label(Owner, Kind, "Label_CFG_LPG", "LPG", 20, 5);
    RadioButton_CFG_CNG = build::Make<TRadioButton>(Owner, Kind, "RadioButton_CFG_CNG", 120, 4, 16, 17);
    Label_CFG_CNG = build::Label(Owner, Kind, "Label_CFG_CNG", "CNG", 140, 5);
    TPanel* Check = build::Panel(Owner, G, "Panel_CFG_Check_Sensors", "", Caption_Left, Row_First, 390,
                                 2 * Row_Height);
    Check->BevelOuter(TBevel_Cut::None);
    RadioButton_CFG_Check_Sensors1 =
        build::Make<TRadioButton>(Owner, Check, "RadioButton_CFG_Check_Sensors1", 0, 4, 16, 17);
    RadioGroup_CFG_Check_Sensors1 =
        build::Label(Owner, Check, "RadioGroup_CFG_Check_Sensors1", "Check the sensors", 20, 5);
    RadioButton_CFG_Check_Sensors2 =
        build::Make<TRadioButton>(Owner, Check, "RadioButton_CFG_Check_Sensors2", 0, 4 + Row_Height, 16, 17);
    RadioGroup_CFG_Check_Sensors2 =
        build::Label(Owner, Check, "RadioGroup_CFG_Check_Sensors2", "Do not check the sensors", 20, 5 + Row_Height);
    CheckBox_CFG_Sensor_OFF = build::Check(Owner, G, "CheckBox_CFG_Sensor_OFF", Label_CFG_Sensor_OFF,
                                           "Label_CFG_Sensor_OFF", "Sensors OFF", Caption_Left,
                                           Row_First + 2 * Row_Height + 8);
    for (TRadioButton* R : {RadioButton_CFG_LPG, RadioButton_CFG_CNG, RadioButton_CFG_Check_Sensors1,
                            RadioButton_CFG_Check_Sensors2})
        R->Caption("");

    // ---- 13: car (its dates and service time inside); 14: client; 15: comments ----
    // The car group keeps clear of the search row along the bottom of the options panel: its
    // rows are a little closer than the other groups' and the boxes inside it are compact.
    GroupBox_CFG_Car = build::Group(Owner, Options, "GroupBox_CFG_Car", "Car", 0, 0, Group_Width, Car_Group_Height);
    GroupBox_CFG_User = Group(Owner, Options, "GroupBox_CFG_User", "Client", 3);
    GroupBox_CFG_Comments = Group(Owner, Options, "GroupBox_CFG_Comments", "Comments", 4);
    const int Inner_Width = Group_Width - 2 * Caption_Left;
    GroupBox_CFG_Car_Date = build::Group(Owner, GroupBox_CFG_Car, "GroupBox_CFG_Car_Date", "Dates", Caption_Left,
                                         Car_Date_Top, Inner_Width, Car_Date_Height);
    struct Car_Row {
        TEdit** Edit;
        const char* Name;
        const char* Caption;
        TGroupBox* Box;
        int Top;
    };
    const Car_Row Car_Rows[] = {
        {&Edit_Car_Num, "Edit_Car_Num", "Car number", GroupBox_CFG_Car, Car_Row_First},
        {&Edit_Car_Model, "Edit_Car_Model", "Model", GroupBox_CFG_Car, Car_Row_First + Car_Row_Pitch},
        {&Edit_Car_Engine, "Edit_Car_Engine", "Engine", GroupBox_CFG_Car, Car_Row_First + 2 * Car_Row_Pitch},
        {&Edit_Car_Jet, "Edit_Car_Jet", "Injectors", GroupBox_CFG_Car, Car_Row_First + 3 * Car_Row_Pitch},
        {&Edit_Date_Mounting_set, "Edit_Date_Mounting_set", "Mounted", GroupBox_CFG_Car_Date,
         Inner_Row_First + Inner_Row_Pitch},
        {&Edit_User_Name, "Edit_User_Name", "Client", GroupBox_CFG_User, Row_First},
        {&Edit_User_Phone, "Edit_User_Phone", "Phone", GroupBox_CFG_User, Row_First + Row_Height},
        {&Edit_User_Address, "Edit_User_Address", "Address", GroupBox_CFG_User, Row_First + 2 * Row_Height},
    };
    for (const Car_Row& R : Car_Rows) {
        // The caption is named after the value, not its edit ("Label_Date_Mounting").
        std::string Label_Name = std::string("Label_") + (R.Name + 5);
        if (Label_Name.size() > 4 && Label_Name.compare(Label_Name.size() - 4, 4, "_set") == 0)
            Label_Name.resize(Label_Name.size() - 4);
        build::Label(Owner, R.Box, Label_Name, R.Caption, Caption_Left, R.Top + 3);
        // Inside the dates box the edit keeps the column of the car's edits above it.
        const int Left = R.Box == GroupBox_CFG_Car_Date ? Car_Edit_Left - Caption_Left : Car_Edit_Left;
        *R.Edit = build::Make<TEdit>(Owner, R.Box, R.Name, Left, R.Top, Car_Edit_Width, 22);
    }
    // Today and the last save share the first row of the dates box.
    const int Dates_Top = Inner_Row_First + 3;
    build::Label(Owner, GroupBox_CFG_Car_Date, "Label_Date_Current", "Today", Caption_Left, Dates_Top);
    Label_Date_Current_set = build::Label(Owner, GroupBox_CFG_Car_Date, "Label_Date_Current_set", "",
                                          Car_Edit_Left - Caption_Left, Dates_Top);
    build::Label(Owner, GroupBox_CFG_Car_Date, "Label_Date_Save", "Saved", Date_Save_Left, Dates_Top);
    Label_Date_Save_set = build::Label(Owner, GroupBox_CFG_Car_Date, "Label_Date_Save_set", "",
                                       Inner_Width - Caption_Left - Date_Value_Width, Dates_Top);
    Label_Date_Save_set->AutoSize(false);
    Label_Date_Save_set->Width(Date_Value_Width);
    Label_Date_Save_set->Alignment(TAlignment::Right_Justify);
    Memo_Car_Comments = build::Make<TMemo>(Owner, GroupBox_CFG_Comments, "Memo_Car_Comments", Caption_Left,
                                           Row_First, 400, 4 * Row_Height - 8);

    // The service time inside the car group, under the dates; its rows and buttons are placed
    // with its values (Create_Service_Controls).
    GroupBox_CFG_Service_Time = build::Group(Owner, GroupBox_CFG_Car, "GroupBox_CFG_Service_Time", "Service time",
                                             Caption_Left, Car_Service_Top, Inner_Width,
                                             Car_Group_Height - Car_Service_Top - 5);
    Button_CFG_ST_Clr = build::Button(Owner, GroupBox_CFG_Service_Time, "Button_CFG_ST_Clr", "Clear", 8, 40, 80, 25);
    Button_CFG_ST_Set = build::Button(Owner, GroupBox_CFG_Service_Time, "Button_CFG_ST_Set", "Set", 94, 40, 80, 25);
    Button_CFG_ST_Refresh =
        build::Button(Owner, GroupBox_CFG_Service_Time, "Button_CFG_ST_Refresh", "Refresh", 180, 40, 80, 25);

    // Shown with groups 11 and 10 (influence) and 13 to 15 (the search over saved files),
    // along the bottom of the options panel. The influence buttons stand on the page: with
    // group 10 the table covers the options panel and they move beside it.
    const int Bottom_Top = Options_Height - 30;
    Button_CFG_Infl_Clear = build::Button(Owner, S, "Button_CFG_Infl_Clear", "Clear", Options_Left + Infl_Button_Left,
                                          Infl_Buttons_Top, Infl_Button_Width, Infl_Button_Height);
    Button_CFG_Infl_Default = build::Button(Owner, S, "Button_CFG_Infl_Default", "Default",
                                            Options_Left + Infl_Button_Left + Infl_Button_Width + Infl_Button_Gap,
                                            Infl_Buttons_Top, Infl_Button_Width, Infl_Button_Height);
    Button_CFG_User_Find = build::Button(Owner, Options, "Button_CFG_User_Find", "Find", 8, Bottom_Top, 80, 25);
    Button_CFG_User_Find->GroupIndex(2);
    Button_CFG_User_Find->AllowAllUp(true);
    Button_CFG_User_Find_Again =
        build::Button(Owner, Options, "Button_CFG_User_Find_Again", "Again", 92, Bottom_Top, 80, 25);
    Button_CFG_User_New = build::Button(Owner, Options, "Button_CFG_User_New", "New", 176, Bottom_Top, 80, 25);
    Button_CFG_User_View = build::Button(Owner, Options, "Button_CFG_User_View", "View", 260, Bottom_Top, 80, 25);
    Edit_CFG_User_Find = build::Make<TEdit>(Owner, Options, "Edit_CFG_User_Find", 344, Bottom_Top + 1, 80, 22);

    // The save and open dialogs of the configuration files.
    SaveDialog_Configuration = new TSaveDialog(Owner);
    SaveDialog_Configuration->Name("SaveDialog_Configuration");
    OpenDialog_Configuration = new TOpenDialog(Owner);
    OpenDialog_Configuration->Name("OpenDialog_Configuration");
    for (TFile_Dialog* D : {static_cast<TFile_Dialog*>(SaveDialog_Configuration),
                            static_cast<TFile_Dialog*>(OpenDialog_Configuration)}) {
        D->Filter("Configuration (*.cfg)|*.cfg");
        D->DefaultExt("cfg");
    }

    // ---- gas-diesel options, TPS emulation and the service-time values ----
    Create_GD_Controls(Owner, Options);
    Create_Service_Controls(Owner);
    Create_Sensor_Controls(Owner);
    Create_Car_Controls(Owner);

    Options_Create(Owner);
}

std::vector<TButton*> Main_Form_Configuration::Part_Link_Buttons() const
{
    return {Button_CFG_Receiv, Button_CFG_Transmitt, Button_CFG_RPM_set, Button_CFG_RPM_IdleRun,
            Button_CFG_User_Password, Button_CFG_ST_Clr, Button_CFG_ST_Set, Button_CFG_ST_Refresh};
}

std::vector<TControl*> Main_Form_Configuration::Part_Buffered_Controls() const
{
    return {TabSheet_Configuration, Panel_CFG_Injection_Type, GroupBox_CFG_GasLevel_Sensor};
}

// ---------------------------------------------------------------- set-up

void Main_Form_Configuration::CFG_Page_Setup(const std::string& Program_Base)
{
    Label_CFG_Pult_Name->Caption(Program_Base == "KardunGAS" || Program_Base == "Brondale" ? "KARDUN"
                                                                                           : Program_Base);
    Level_Marker_Width = Image_CFG_Level_Sensor_Current->Width();
    Level_Marker_Height = Image_CFG_Level_Sensor_Current->Height();
    Level_Sensor_Current_Draw(Level_Full_Scale, 0);
    Yellow_Wire_Codes.clear();
    for (const Yellow_Wire_Row& Row_ : Yellow_Wire_Table)
        Yellow_Wire_Codes.push_back(Row_.Code);
    Yellow_Wire_List_Fill();
    ComboBox_CFG_Inject_Type->Items().Clear();
    const int Count = Injector_Names.empty() ? 0 : std::stoi(Injector_Names[0]);
    for (int I = 1; I <= Count && I < static_cast<int>(Injector_Names.size()); ++I)
        ComboBox_CFG_Inject_Type->Items().Add(Injector_Names[static_cast<size_t>(I)]);
    Level_Sensor_Box_Fill(Level_Sensor_Box_Count);
    ComboBox_CFG_Map_Type->Items().Clear();
    for (const MAP_Sensor_Box_Class& Box : MAP_Sensor_Box)
        ComboBox_CFG_Map_Type->Items().Add(Box.Name);
    // The LEDs: a disc of half the image's width on the button face.
    Level_Led_Width = Level_Leds[0]->Width();
    for (TImage* Led : Level_Leds) {
        TCanvas* C = Led->Canvas();
        C->Pen.Width = Level_Led_Width / 2;
        C->Brush.Color = clBtnFace;
        C->Pen.Color = clBtnFace;
        C->FillRect(TRect{0, 0, Led->Width(), Led->Height()});
    }
    Level_Led_Colours.fill(0);
    Level_Leds_Set({true, true, true, true, true, true, true});
    for (TControl* C : CFG_Setup_Controls())
        C->Color(CFG_Setup_Colour);
}

void Main_Form_Configuration::Level_Sensor_Box_Fill(int Count)
{
    Sensor_Boxes_Init();
    ComboBox_CFG_Level_Type->Items().Clear();
    for (int I = 0; I < Count && I < Level_Sensor_Box_Count; ++I)
        ComboBox_CFG_Level_Type->Items().Add(Level_Sensor_Box[I].Name);
}

std::vector<TControl*> Main_Form_Configuration::CFG_Setup_Controls() const
{
    return {RPM_Source.Edit,     RPM_Sensitiv.Edit, Inject_Num.Edit,         Pressure_1_Bar.Edit,
            Supp_DiffPress.Edit, Supp_TempGas.Edit, Supp_Power.Edit,         ComboBox_CFG_Level_Type,
            ComboBox_CFG_Inject_Type, ComboBox_CFG_Map_Type};
}

std::vector<TControl*> Main_Form_Configuration::CFG_Marked_Controls() const
{
    return {PG_Temper.Edit,          PG_Pressure.Edit,           PG_RPM.Edit,
            PG_Delay.Edit,           CheckBox_CFG_PG_Preheating, PG_Preheating.Edit,
            CheckBox_CFG_GP_Buzzer,  GP_PressDiff_Low.Edit,      GP_TempVap.Edit,
            GP_Time.Edit,            Inject_Range.Edit,          Inject_Start.Edit,
            Inject_PWM_DutyCycle.Edit, Inject_PWM_Freq.Edit,     Pressure_1_Bar.Edit,
            RadioButton_CFG_Check_Sensors1, RadioButton_CFG_Check_Sensors2, CheckBox_CFG_Sensor_OFF,
            Infl_DiffPress_B.Edit,   Infl_DiffPress_S.Edit,      Infl_TempGas_B.Edit,
            Infl_TempGas_S.Edit,     Infl_Power.Edit,            CheckBox_CFG_Inject_Auto,
            Inject_Auto.Edit,        GP_PressDiff_High.Edit};
}

// ---------------------------------------------------------------- showing

void Main_Form_Configuration::Show_Configuration(TForm_KardunGAS& Form)
{
    Configuration_Class& C = Configuration;
    UI_Ready = false;
    Form.About_Program_Show();

    // Switching thresholds and the other up-down values.
    Show_Row(PG_Temper, C.PG_TempVap, std::to_string(C.PG_TempVap));
    Show_Row(PG_Pressure, C.PG_PressDiff, Decimal(C.PG_PressDiff / 10.0));
    Show_Row(PG_RPM, C.PG_RPM, std::to_string(C.PG_RPM));
    Show_Row(PG_Delay, C.PG_Delay, std::to_string(C.PG_Delay));
    Show_Row(PG_Preheating, C.PG_Preheating, std::to_string(C.PG_Preheating));
    Show_Row(GP_PressDiff_Low, C.GP_PressDiff_Low, Decimal(C.GP_PressDiff_Low / 10.0));
    Show_Row(GP_PressDiff_High, C.GP_PressDiff_High, Decimal(C.GP_PressDiff_High / 10.0));
    Show_Row(GP_TempVap, C.GP_TempVap, std::to_string(C.GP_TempVap));
    Show_Row(GP_Time, C.GP_Time, Decimal(C.GP_Time / 10.0));
    Show_Row(Inject_Num, C.GI_Num, std::to_string(C.GI_Num));
    Show_Row(Inject_Range, C.GI_Range, std::to_string(C.GI_Range));
    Show_Row(Inject_Auto, C.GI_AutoTempGas, std::to_string(C.GI_AutoTempGas));
    Show_Row(Supp_DiffPress, C.Supp_DiffPress, Decimal(C.Supp_DiffPress / 100.0));
    Show_Row(Supp_TempGas, C.Supp_TempGas, std::to_string(C.Supp_TempGas));
    Show_Row(Supp_Power, C.Supp_Power, Decimal(C.Supp_Power / 100.0));
    Show_Row(Infl_DiffPress_B, C.Infl_DiffPress_B, Decimal(C.Infl_DiffPress_B / 100.0));
    Show_Row(Infl_DiffPress_S, C.Infl_DiffPress_S, Decimal(C.Infl_DiffPress_S / 100.0));
    Show_Row(Infl_TempGas_B, C.Infl_TempGas_B, Decimal(C.Infl_TempGas_B / 100.0));
    Show_Row(Infl_TempGas_S, C.Infl_TempGas_S, Decimal(C.Infl_TempGas_S / 100.0));
    Show_Row(Infl_Power, C.Infl_Power, Decimal(C.Infl_Power / 100.0));
    Show_Row(Pressure_1_Bar, C.Pressure_1_Bar, Decimal(C.Pressure_1_Bar / 1000.0));
    Show_Row(RPM_Sensitiv, C.RPM_Sensitiv, Decimal(C.RPM_Sensitiv / 100.0));
    RPM_Source.Edit->Text(std::to_string(C.RPM_Source));

    // Switches.
    CheckBox_CFG_PG_Preheating->Checked(C.PG_Preheating_ON);
    PG_Preheating.Edit->Enabled(C.PG_Preheating_ON);
    PG_Preheating.UpDown->Enabled(C.PG_Preheating_ON);
    CheckBox_CFG_GP_Buzzer->Checked(C.GP_Buzzer_ON);
    CheckBox_CFG_Inject_Auto->Checked(C.GI_AutoTempGas_ON);
    Inject_Auto.Edit->Enabled(C.GI_AutoTempGas_ON);
    Inject_Auto.UpDown->Enabled(C.GI_AutoTempGas_ON);
    if (C.Check_Sensors_ON)
        RadioButton_CFG_Check_Sensors1->Checked(true);
    else
        RadioButton_CFG_Check_Sensors2->Checked(true);
    CheckBox_CFG_Sensor_OFF->Checked(C.Sensor_OFF);

    Infl_DiffPress_S_Limits();
    Infl_DiffPress_B_Limits();
    // Every factor's range follows the supports shown: a range left from the previous
    // record would hold a factor outside what this one allows.
    Infl_TempGas_S_Limits();
    Infl_TempGas_B_Limits();
    Infl_Power_Limits();

    ComboBox_CFG_Inject_Type->Text(C.GI_Type);
    // Shown, not chosen: the bars take the record's phases, not the defaults.
    Injection_Bars_Rebuild(Form);
    Injection_Type_Show_Angle();

    ComboBox_CFG_Level_Type->Text(C.GL_Type);
    CheckBox_CFG_Level_Invert->Checked(C.GL_Invert_ON);
    CheckBox_CFG_Level_90->Checked(C.GL_90_ON);
    CheckBox_CFG_Level_Low->Checked(C.GL_Buzzer_ON);
    Level_Sensor_Show();
    MAP_Type_Detect();

    // The R.P.M. sensitivity steps finer where the level is low.
    const int Sens = RPM_Sensitiv.UpDown->Position();
    if (Sens >= 2 && Sens <= 10)
        RPM_Sensitiv.UpDown->Increment(2);
    else if (Sens >= 12 && Sens <= 300)
        RPM_Sensitiv.UpDown->Increment(10);
    else if (Sens >= 310 && Sens <= 2000)
        RPM_Sensitiv.UpDown->Increment(50);

    if (!RadioButton_CFG_CNG->Enabled())
        C.LPG_on = true;
    if (C.LPG_on)
        RadioButton_CFG_LPG->Checked(true);
    else
        RadioButton_CFG_CNG->Checked(true);

    Show_Car_Data();
    Inject_Type_Show();
    Yellow_Wire_Show();
    UI_Ready = false;
    Show_GD_Options();
    // A loaded file's service time, so that the page shows what the service buttons send.
    Show_Service_Timer();
    UI_Ready = true;
    Mark_Changed_Configuration();
}

void Main_Form_Configuration::Show_Car_Data()
{
    const Configuration_Class& C = Configuration;
    const std::string& Name = Settings.CFG_File_Name;
    const size_t Dot = Name.rfind('.');
    Edit_Car_Num->Text(Dot == std::string::npos ? Name : Name.substr(0, Dot));
    Edit_Car_Model->Text(C.Car_Model);
    Edit_Car_Engine->Text(C.Car_Engine);
    Edit_Car_Jet->Text(C.Car_Jet);
    Label_Date_Save_set->Caption(C.Date_Save);
    Label_Date_Current_set->Caption(sys::Short_Date_Text(sys::Now()));
    Edit_Date_Mounting_set->Text(C.Date_Mounting);
    Edit_User_Name->Text(C.User_Name);
    Edit_User_Phone->Text(C.User_Phone);
    Edit_User_Address->Text(C.User_Address);
    Comment_To_Memo(*Memo_Car_Comments);
}

void Main_Form_Configuration::Mark_Changed_Configuration()
{
    const Configuration_Class& C = Configuration;
    Mark(PG_Temper.Edit, C.PG_TempVap != 40, clWindow);
    Mark(PG_Pressure.Edit, C.PG_PressDiff != 6, clWindow);
    Mark(PG_RPM.Edit, C.PG_RPM != 600, clWindow);
    Mark(PG_Delay.Edit, C.PG_Delay != 5, clWindow);
    Mark(CheckBox_CFG_PG_Preheating, !C.PG_Preheating_ON, clBtnFace);
    Mark(PG_Preheating.Edit, PG_Preheating.Edit->Enabled() && C.PG_Preheating != 10, clWindow);
    Mark(CheckBox_CFG_GP_Buzzer, !C.GP_Buzzer_ON, clBtnFace);
    Mark(GP_PressDiff_Low.Edit, C.GP_PressDiff_Low != 5, clWindow);
    Mark(GP_TempVap.Edit, GP_TempVap.UpDown->Enabled() && C.GP_TempVap != 20, clWindow);
    Mark(GP_Time.Edit, C.GP_Time != 10, clWindow);
    Mark(Inject_Range.Edit, C.GI_Range != 32, clWindow);
    // The drive values count only while the user sets them (a preset type greys them in
    // the normal colour, whatever a change marked before).
    const bool Drive = Label_CFG_Inject_PWM->Enabled();
    Mark(Inject_Start.Edit, Drive && C.GI_Start_S != 5000, clWindow);
    Mark(Inject_PWM_DutyCycle.Edit, Drive && C.GI_Duty != 560, clWindow);
    Mark(Inject_PWM_Freq.Edit, Drive && C.GI_Period != 1120, clWindow);
    Mark(Pressure_1_Bar.Edit, C.Pressure_1_Bar != 1315, CFG_Setup_Colour);
    Mark(RadioButton_CFG_Check_Sensors1, !C.Check_Sensors_ON, clBtnFace);
    Mark(RadioButton_CFG_Check_Sensors2, !C.Check_Sensors_ON, clBtnFace);
    Mark(CheckBox_CFG_Sensor_OFF, C.Sensor_OFF, clBtnFace);
    Mark(Infl_DiffPress_B.Edit, C.Infl_DiffPress_B != 30, clWindow);
    Mark(Infl_DiffPress_S.Edit, C.Infl_DiffPress_S != 50, clWindow);
    const int32_t TempGas_Default = C.LPG_on ? 10 : 20;
    Mark(Infl_TempGas_B.Edit, C.Infl_TempGas_B != TempGas_Default, clWindow);
    Mark(Infl_TempGas_S.Edit, C.Infl_TempGas_S != TempGas_Default, clWindow);
    Mark(Infl_Power.Edit, C.Infl_Power != 50, clWindow);
    Mark(CheckBox_CFG_Inject_Auto, Label_CFG_Inject_Auto->Enabled() && !C.GI_AutoTempGas_ON, clBtnFace);
    Mark(Inject_Auto.Edit, Inject_Auto.Edit->Enabled() && C.GI_AutoTempGas != 30, clWindow);
    Mark(GP_PressDiff_High.Edit, GP_PressDiff_High.Caption->Enabled() && C.GP_PressDiff_High != 30, clWindow);
    Mark_Changed_GD_Options();
}

// ---------------------------------------------------------------- gas level, MAP

void Main_Form_Configuration::Level_Sensor_Show()
{
    const Configuration_Class& C = Configuration;
    CheckBox_CFG_Level_90->Checked(C.GL_90_ON);
    CheckBox_CFG_Level_Invert->Checked(C.GL_Invert_ON);
    const int32_t Marks[5] = {C.GL_Pos_1, C.GL_Pos_2, C.GL_Pos_3, C.GL_Pos_4, C.GL_Pos_5};
    const bool Soft = Level_Software_Shown();
    for (size_t I = 0; I < 5; ++I) {
        TrackBar_CFG_Level[I]->Position(Marks[I]);
        if (!Soft)
            Edit_CFG_Level[I + 1]->Text(Format_Gas_Level(Marks[I]));
    }
    Level_Panel_Soft_Show(Soft);
    if (Soft) {
        Panel_CFG_Gas_Level_Soft->Left(Panel_CFG_Gas_Level_Switch->Left());
        Panel_CFG_Gas_Level_Soft->Top(Panel_CFG_Gas_Level_Switch->Top());
        Level_Etalon.UpDown->Position(Float_To_Int(C.GL_Etalon * Etalon_To_Display));
        const int E = Level_Etalon.UpDown->Position();
        Level_Etalon.Edit->Text(Decimal(E / 10.0));
        if (Level_Mode == Level_Mode_Software_Working) {
            Label_CFG_Level_0->Visible(true);
            const int Div[5] = {12, 15, 20, 30, 60};
            for (size_t I = 0; I < 5; ++I)
                Edit_CFG_Level[I + 1]->Text(Format_Fixed(E / static_cast<double>(Div[I]), 10, 2));
            Label_CFG_Level_5->Caption(Edit_CFG_Level[3]->Text());
            Label_CFG_Level_10->Caption(Level_Etalon.Edit->Text());
        } else {
            Label_CFG_Level_0->Visible(false);
        }
    }
    Panel_CFG_Gas_Level_Switch->Visible(!Panel_CFG_Gas_Level_Soft->Visible());
}

void Main_Form_Configuration::Level_Panel_Soft_Show(bool Soft)
{
    Panel_CFG_Gas_Level_Soft->Visible(Soft);
    Label_CFG_Level_Sensor_Current->Visible(!Soft);
    Edit_CFG_Level[0]->Visible(!Soft);
    Label_CFG_Level_0->Visible(!Soft);
    for (TTrackBar* T : TrackBar_CFG_Level)
        T->Enabled(!Soft);
    if (Soft) {
        for (TEdit* E : Edit_CFG_Level)
            E->Text("");
        Label_CFG_Level_5->Caption("");
        Label_CFG_Level_10->Caption("");
    } else {
        Label_CFG_Level_5->Caption(Format_Fixed(Level_Volts / 2, 10, 1));
        Label_CFG_Level_10->Caption(Format_Fixed(Level_Volts, 10, 1));
    }
}

void Main_Form_Configuration::MAP_Type_Detect()
{
    const int32_t P = Configuration.Pressure_1_Bar;
    const int32_t First = MAP_Sensor_Box[0].Pressure_1_Bar;
    const bool Is_First = P >= First - MAP_Tolerance_mV && P <= First + MAP_Tolerance_mV;
    ComboBox_CFG_Map_Type->Text(MAP_Sensor_Box[Is_First ? 0 : 1].Name);
}

void Main_Form_Configuration::Level_Leds_Set(const std::array<bool, 7>& Lit)
{
    for (size_t I = 0; I < Lit.size(); ++I)
        Level_Led_Draw(static_cast<int>(I), Lit[I] ? Level_Led_Lit[I] : Level_Led_Off);
}

void Main_Form_Configuration::Level_Led_Draw(int Index, TColor Colour)
{
    if (Index < 0 || Index >= static_cast<int>(Level_Leds.size()))
        return;
    const size_t I = static_cast<size_t>(Index);
    if (Level_Led_Colours[I] == Colour)
        return;
    Level_Led_Colours[I] = Colour;
    TCanvas* C = Level_Leds[I]->Canvas();
    const int W = Level_Led_Width;
    C->Pen.Color = Colour;
    C->Pen.Width = W / 2;
    C->Brush.Color = Colour;
    C->Ellipse(W / 4, W / 4, W - W / 4, W - W / 4);
}

void Main_Form_Configuration::Level_Sensor_Current_Draw(int Full_Scale, int Level)
{
    if (Level_Marker_Width <= 0 || Level_Marker_Height <= 0 || Full_Scale <= 0)
        return;
    TBitmap B(Level_Marker_Width, Level_Marker_Height);
    TCanvas* C = B.Canvas();
    C->Brush.Color = clBtnFace;
    C->FillRect(TRect{0, 0, Level_Marker_Width, Level_Marker_Height});
    C->Pen.Color = Marker_Colour;
    C->Pen.Width = 3;
    const int Y = Level_Marker_Height * Level / Full_Scale;
    C->MoveTo(0, Y);
    C->LineTo(Level_Marker_Width, Y);
    C->MoveTo(0, Y);
    C->LineTo(9, Y - 3);
    C->MoveTo(0, Y);
    C->LineTo(9, Y + 3);
    Image_CFG_Level_Sensor_Current->Canvas()->Draw(0, 0, B);
}

// ---------------------------------------------------------------- injectors

void Main_Form_Configuration::Inject_Type_Show()
{
    UI_Ready = false;
    Inject_PWM_Freq.UpDown->Increment(10);
    const int K = Injector_Type_Current();
    if (K != Injector_Type_Another) {
        // A preset drives the injector: the page shows 0 and greys the drive values.
        Inject_Auto_Enable(true);
        Show_Row(Inject_Start, 0, "0");
        Show_Row(Inject_PWM_Freq, 0, "0");
        Show_Row(Inject_PWM_DutyCycle, 0, "0");
        Inject_Drive_Enable(false);
    } else {
        Inject_Drive_Enable(true);
        Show_Row(Inject_Start, Configuration.GI_Start_S, std::to_string(Configuration.GI_Start_S));
        Inject_PWM_Freq.UpDown->Position(Low_16(Configuration.GI_Period));
        Inject_PWM_Freq.Edit->Text(PWM_Freq_Text());
        const int32_t Duty = PWM_Duty_Percent();
        Show_Row(Inject_PWM_DutyCycle, Duty, std::to_string(Duty));
        Inject_Auto_Enable(false);
    }
    // The record's drive values, limits and TPS scale follow the type; the curves stay.
    Injector_Type_Apply();
    UI_Ready = true;
}

void Main_Form_Configuration::Inject_Drive_Enable(bool On)
{
    Label_CFG_Inject_PWM->Enabled(On);
    for (const CFG_Value_Row* R : {&Inject_Start, &Inject_PWM_DutyCycle, &Inject_PWM_Freq})
        Row_Enable(*R, On);
}

void Main_Form_Configuration::Inject_Auto_Enable(bool On)
{
    CheckBox_CFG_Inject_Auto->Enabled(On);
    Label_CFG_Inject_Auto->Enabled(On);
    Inject_Auto.Edit->Enabled(On);
    Inject_Auto.UpDown->Enabled(On);
    if (!On) {
        CheckBox_CFG_Inject_Auto->Checked(false);
        Configuration.GI_AutoTempGas_ON = false;
    }
}

void Main_Form_Configuration::Inject_Num_Set(int N)
{
    Configuration.GI_Num = std::clamp(N, 0, Injector_Num_Max);
    Inject_Num.UpDown->Enabled(true);
}

void Main_Form_Configuration::Inject_Num_Apply(TForm_KardunGAS& Form)
{
    if (Injection_Bars_Rebuild(Form))
        Injection_Type_Bars_Show();
}

bool Main_Form_Configuration::Injection_Bars_Rebuild(TForm_KardunGAS& Form)
{
    const int N = Configuration.GI_Num;
    if (N <= 0 || N == static_cast<int>(Injection_Bars.size()))
        return false;
    Injection_Type_Bars_Build();
    if (!Injection_Bars.empty() && Connected)
        Form.Gas_Fors_Buttons_Enable(true);
    return true;
}

void Main_Form_Configuration::Injection_Type_Bars_Build()
{
    for (TLabel* L : Injection_Bar_Labels)
        L->Free();
    for (TTrackBar* T : Injection_Bars)
        T->Free();
    for (TPanel* P : Injection_Bar_Panels)
        P->Free();
    Injection_Bar_Labels.clear();
    Injection_Bars.clear();
    Injection_Bar_Panels.clear();
    TPanel* Box = Panel_CFG_Injection_Type;
    const int Height = Box->Height();
    const int Panel_Width = Box->Width() / 4;
    Start_Impulse_Place(Panel_Width);
    const int N = std::min(Configuration.GI_Num, Injector_Num_Max);
    if (N <= 0)
        return;
    const int H = (Height - Phase_Gap * N - 7) / N;
    const int First = (Height + Phase_Gap - N * (H + Phase_Gap)) / 2;
    for (int I = 1; I <= N; ++I) {
        const int Top = First + (H + Phase_Gap) * (I - 1);
        TPanel* P = build::Panel(Box->Owner(), Box, "Panel_CFG_Inject_Cyl_" + std::to_string(I), "", 8, Top,
                                 Panel_Width, H);
        P->Tag(I);
        TTrackBar* T = build::Make<TTrackBar>(Box->Owner(), Box, "TrackBar_CFG_Inject_Cyl_" + std::to_string(I),
                                              8 + Panel_Width + 6, Top, Box->Width() - 4 - (14 + Panel_Width), H);
        T->Min(0);
        T->Max(100);
        T->TickStyle(TTick_Style::None);
        T->ThumbLength(std::max(1, H - 5));
        T->Tag(I);
        build::Label(Box->Owner(), P, "Label_CFG_Inject_Cyl_No_" + std::to_string(I), std::to_string(I), 6,
                     std::max(0, H / 2 - 8));
        TLabel* L = build::Label(Box->Owner(), P, "Label_CFG_Inject_Cyl_" + std::to_string(I), "", 30,
                                 std::max(0, H / 2 - 8));
        Injection_Bar_Panels.push_back(P);
        Injection_Bars.push_back(T);
        Injection_Bar_Labels.push_back(L);
    }
    // Each bar starts at its cylinder's default; those with a filed phase then show it.
    for (int I = 1; I <= N; ++I)
        Injection_Bars[static_cast<size_t>(I - 1)]->Position(Injection_Bar_Default(N, I));
    Injection_Type_Bars_From_Record();
    Injection_Bars_Bind();
}

void Main_Form_Configuration::Start_Impulse_Place(int Panel_Width)
{
    // The caption in the line over the bars' panel (wherever the panel has moved), from the
    // bars' left end; the arrow just left of it reaches down to the panel.
    TLabel* C = CFG_Inject_Type_Start_Impuls;
    TImage* A = CFG_Inject_Type_Start_Impuls_Arrow;
    const int Panel_Top = Panel_CFG_Injection_Type->Top();
    C->SetBounds(Panel_Width + 24, Panel_Top - Row_Height + 3, C->Width(), C->Height());
    A->SetBounds(C->Left() - Start_Arrow_Width, Panel_Top - Row_Height + 4, Start_Arrow_Width, Row_Height - 4);
    Draw_Start_Arrow(A);
}

void Main_Form_Configuration::Injection_Type_Bars_Show()
{
    const int N = static_cast<int>(Injection_Bars.size());
    for (int I = 1; I <= N; ++I)
        Injection_Bars[static_cast<size_t>(I - 1)]->Position(Injection_Bar_Default(N, I));
    // A bar already at its default fires no change, and none stores while values are
    // being shown: the record takes every phase here.
    Injection_Bars_To_Record();
    Injection_Bar_Labels_Show();
}

void Main_Form_Configuration::Injection_Bars_To_Record()
{
    for (size_t I = 0; I < Injection_Bars.size(); ++I)
        if (int32_t* Field = Injection_Pos_Field(static_cast<int>(I) + 1))
            *Field = Injection_Bars[I]->Position();
}

void Main_Form_Configuration::Injection_Bar_Labels_Show()
{
    const Configuration_Class& C = Configuration;
    for (size_t I = 0; I < Injection_Bars.size(); ++I) {
        const int Pos = Injection_Bars[I]->Position();
        std::string Text;
        if (C.Virtual_Injection_ON)
            Text = One_Decimal(Pos * C.Virtual_Injection_Timer / 100.0) + " " + Language_Text("Dim_MS_Short");
        else
            Text = std::to_string(Pos * Inject_Max_Angle / 100) + " \xB0";
        Injection_Bar_Labels[I]->Caption(Text);
    }
}

void Main_Form_Configuration::Injection_Type_Changed()
{
    // The item whose text the combo shows (chosen from the list or typed).
    TComboBox* Combo = ComboBox_CFG_Injection_Type;
    const int Item = Combo->Items().IndexOf(Combo->Text());
    if (Item < 0 || Item >= Combo->Items().Count()) {
        Injection_Type_Show_Angle();
        return;
    }
    Configuration.GI_Div = Item + 1;
    Inject_Max_Angle = Inject_Max_Angle_Of(Configuration.GI_Div);
    Label_CFG_IT_Max_Angle->Caption("Max = " + std::to_string(Inject_Max_Angle) + " \xB0");
    // Phases chosen for one angle mean nothing under another: every cylinder starts again
    // from its default, which the letter's write carries.
    Injection_Type_Bars_Show();
}

void Main_Form_Configuration::Injection_Type_Show_Angle()
{
    const int32_t Angle = Inject_Max_Angle_Of(Configuration.GI_Div);
    if (Angle == 0) {
        ComboBox_CFG_Injection_Type->ItemIndex(-1);
        ComboBox_CFG_Injection_Type->Text("Error");
    } else {
        ComboBox_CFG_Injection_Type->ItemIndex(Configuration.GI_Div - 1);
        Inject_Max_Angle = Angle;
    }
    Label_CFG_IT_Max_Angle->Caption("Max = " + std::to_string(Inject_Max_Angle) + " \xB0");
    Injection_Bar_Labels_Show();
}

// ---------------------------------------------------------------- yellow wire

void Main_Form_Configuration::Yellow_Wire_List_Fill()
{
    ComboBox_CFG_PG_Yellow_Wire->Items().Clear();
    for (uint8_t Code : Yellow_Wire_Codes)
        for (const Yellow_Wire_Row& Row_ : Yellow_Wire_Table)
            if (Row_.Code == Code)
                ComboBox_CFG_PG_Yellow_Wire->Items().Add(Language_Text(Row_.Key));
    Yellow_Wire_Show();
}

void Main_Form_Configuration::Yellow_Wire_Show()
{
    const Configuration_Class& C = Configuration;
    int Index = -1;
    for (size_t I = 0; I < Yellow_Wire_Codes.size(); ++I)
        if (Yellow_Wire_Codes[I] == C.PG_Yellow_Wire)
            Index = static_cast<int>(I);
    if (C.PG_Yellow_Wire == Yellow_Wire_Timed) {
        Show_Row(PG_YW_Delay, C.PG_YW_Delay, One_Decimal(C.PG_YW_Delay / 10.0));
        Show_Row(PG_YW_Impulse, C.PG_YW_Impulse, One_Decimal(C.PG_YW_Impulse / 10.0));
    }
    ComboBox_CFG_PG_Yellow_Wire->ItemIndex(Index);
    if (Index < 0)
        ComboBox_CFG_PG_Yellow_Wire->Text("Error");
    Yellow_Wire_Fields_Show(C.PG_Yellow_Wire == Yellow_Wire_Timed);
}

void Main_Form_Configuration::Yellow_Wire_Fields_Show(bool Visible)
{
    Row_Visible(PG_YW_Delay, Visible);
    Row_Visible(PG_YW_Impulse, Visible);
}

// ---------------------------------------------------------------- limits

void Main_Form_Configuration::Infl_Limits_Show(int Factor, int32_t Position, int32_t Minimum, int32_t Maximum)
{
    const CFG_Value_Row* Rows[] = {&Infl_DiffPress_S, &Infl_DiffPress_B, &Infl_TempGas_S, &Infl_TempGas_B,
                                   &Infl_Power};
    if (Factor < 0 || Factor >= 5)
        return;
    const CFG_Value_Row& R = *Rows[Factor];
    R.UpDown->Min(Minimum);
    R.UpDown->Max(Maximum);
    R.UpDown->Position(Position);
    R.Edit->Text(Decimal(Position / 100.0));
}

// ---------------------------------------------------------------- hooks

void Main_Form_Configuration::Bind_Part(TForm_KardunGAS& Form)
{
    TForm_KardunGAS* F = &Form;
    CFG_Edit_Bind(Form);
    Options_Bind();
    Sensors_Bind(Form);
    Factors_Bind();
    Inject_Bind();
    Car_Bind();
    // While a read waits or runs, Transmit and Default are unusable; their keys and the
    // sweep window's Transmitt do nothing either.
    Button_CFG_Transmitt->OnClick = [F](TObject* Sender) {
        if (!Read_In_Progress())
            F->Button_CFG_TransmittClick(Sender);
    };
    Button_CFG_Receiv->OnClick = [F](TObject* Sender) {
        F->Button_CFG_ReceivClick(Sender);
        F->Read_Guard_Refresh();
    };
    Button_CFG_Default->OnClick = [F](TObject* Sender) {
        if (!Read_In_Progress())
            F->Button_CFG_DefaultClick(Sender);
    };
    Button_CFG_Save->OnClick = [F](TObject* Sender) { F->Button_CFG_SaveClick(Sender); };
    Button_CFG_Load->OnClick = [F](TObject* Sender) { F->Button_CFG_LoadClick(Sender); };
    Button_CFG_ST_Refresh->OnClick = [F](TObject* Sender) { F->Button_CFG_ST_RefreshClick(Sender); };
    F->Button_CLB_Load->OnClick = [F](TObject* Sender) { F->Button_CLB_LoadClick(Sender); };
    F->Button_CLB_Save->OnClick = [F](TObject* Sender) { F->Button_CLB_SaveClick(Sender); };
    F->Button_CLB_Transmitt->OnClick = [F](TObject* Sender) {
        if (!Read_In_Progress())
            F->Button_CLB_TransmittClick(Sender);
    };
    // The sweep window's Transmitt is the page's.
    Part_Hooks.Bind("RPM_Window_Hooks.Transmitt", RPM_Window_Hooks.Transmitt,
                    [F] { F->Button_CFG_Transmitt->Click(); });
    // A file chosen by Save or Load names the car.
    Part_Hooks.Bind("CFG_File_Hooks.File_Chosen", CFG_File_Hooks.File_Chosen,
                    [this] {
                        Edit_Car_Num->Text(Strip_Extension(Settings.CFG_File_Name));
                        Car_File_Status_Show();
                    });
    Part_Hooks.Bind("CFG_Codec_Hooks.Show_Configuration", CFG_Codec_Hooks.Show_Configuration,
                    [this, F] { Show_Configuration(*F); });
    Part_Hooks.Bind("CFG_File_Hooks.Show_Configuration", CFG_File_Hooks.Show_Configuration,
                    [this, F] { Show_Configuration(*F); });
    Part_Hooks.Bind("CFG_File_Hooks.Setup_Model_Controls", CFG_File_Hooks.Setup_Model_Controls,
                    [F] { F->Setup_Model_Controls(); });
    Part_Hooks.Bind("CFG_Codec_Hooks.Show_Service_Timer", CFG_Codec_Hooks.Show_Service_Timer,
                    [this] { Show_Service_Timer(); });
    Part_Hooks.Bind("CFG_Codec_Hooks.DS_Correction_Show", CFG_Codec_Hooks.DS_Correction_Show,
                    [this](bool On) { DS_Correction_Show(On); });
    Part_Hooks.Bind("CFG_Codec_Hooks.Enable_Control", CFG_Codec_Hooks.Enable_Control,
                    [F](const std::string& Name, bool Enabled) {
                        if (auto* C = dynamic_cast<TControl*>(F->Find_Component_Deep(Name)))
                            C->Enabled(Enabled);
                    });
    Part_Hooks.Bind("CFG_Codec_Hooks.Infl_Limits_Show", CFG_Codec_Hooks.Infl_Limits_Show,
                    [this](Infl_Factor Factor, int32_t Position, int32_t Minimum, int32_t Maximum) {
                        Infl_Limits_Show(static_cast<int>(Factor), Position, Minimum, Maximum);
                    });
    Part_Hooks.Bind("Configuration_Hooks.Inject_Auto_Enable", Configuration_Hooks.Inject_Auto_Enable,
                    [this](bool On) { Inject_Auto_Enable(On); });
    Part_Hooks.Bind("Configuration_Hooks.Injection_Type_Bars_Show", Configuration_Hooks.Injection_Type_Bars_Show,
                    [this] { Injection_Type_Bars_Show(); });
    Part_Hooks.Bind("Configuration_Hooks.Inject_Num_Set", Configuration_Hooks.Inject_Num_Set,
                    [this](int N) { Inject_Num_Set(N); });
    // Save and Load read the groups of the page they were started on.
    Part_Hooks.Bind("CFG_File_Hooks.Page_Shown", CFG_File_Hooks.Page_Shown, [F] {
        const TTabSheet* Shown = F->PageControl_KardunGAS ? F->PageControl_KardunGAS->ActivePage() : nullptr;
        if (Shown && Shown == F->TabSheet_Configuration)
            return CFG_Page::Configuration;
        if (Shown && Shown == F->TabSheet_Calibration)
            return CFG_Page::Calibration;
        return CFG_Page::Other;
    });
}

void Main_Form_Configuration::Infl_Buttons_Leave_Home()
{
    if (Infl_Home.Away)
        return;
    const TPanel* P = Panel_CFG_Options;
    Infl_Home = {true, {P->Left(), P->Top(), P->Left() + P->Width(), P->Top() + P->Height()}, {}};
    const TButton* Buttons[] = {Button_CFG_Infl_Clear, Button_CFG_Infl_Default};
    for (size_t I = 0; I < Infl_Home.Buttons.size(); ++I) {
        const TButton* B = Buttons[I];
        Infl_Home.Buttons[I] = {B->Left(), B->Top(), B->Left() + B->Width(), B->Top() + B->Height()};
    }
}

void Main_Form_Configuration::Infl_Buttons_Home()
{
    if (!Infl_Home.Away)
        return;
    // Where they left, or, when the page was scaled since, at the same place of the panel.
    const TPanel* P = Panel_CFG_Options;
    const TRect Now{P->Left(), P->Top(), P->Left() + P->Width(), P->Top() + P->Height()};
    const TRect& Then = Infl_Home.Panel;
    const bool Same = Now.Left == Then.Left && Now.Top == Then.Top && Now.Right == Then.Right &&
                      Now.Bottom == Then.Bottom;
    const int Then_W = std::max(1, Then.Right - Then.Left), Then_H = std::max(1, Then.Bottom - Then.Top);
    auto Map_X = [&](int X) { return Same ? X : Now.Left + (X - Then.Left) * P->Width() / Then_W; };
    auto Map_Y = [&](int Y) { return Same ? Y : Now.Top + (Y - Then.Top) * P->Height() / Then_H; };
    TButton* Buttons[] = {Button_CFG_Infl_Clear, Button_CFG_Infl_Default};
    // Buttons lent to the compact window come back where the window took them: they stay
    // away from home until a later call finds them on the page.
    for (const TButton* B : Buttons)
        if (B->Parent_Form() != B->Owner())
            return;
    Infl_Home.Away = false;
    for (size_t I = 0; I < Infl_Home.Buttons.size(); ++I) {
        const TRect& R = Infl_Home.Buttons[I];
        const int Left = Map_X(R.Left), Top = Map_Y(R.Top);
        Buttons[I]->SetBounds(Left, Top, Map_X(R.Right) - Left, Map_Y(R.Bottom) - Top);
    }
}
