// The gas-diesel options on the Configuration page: their controls, how the record's fields
// are shown, which controls each switch enables, and the light red of values off their
// defaults.
#include <algorithm>
#include <cctype>

#include "data/Configuration.h"
#include "data/Conversions.h"
#include "data/GD_Options.h"
#include "data/Globals.h"
#include "data/Injectors.h"
#include "language/Language.h"
#include "main/Main_Form.h"
#include "protocol/Ident.h"
#include "windows/Form_Build.h"

namespace {

// ---- geometry (design pixels) ----
constexpr int Group_Width = 420;
constexpr int Row_Height = 26;
constexpr int Row_First = 22;
constexpr int Caption_Left = 10;
constexpr int Indent = 28;               // captions of values under their switch
constexpr int GD_Edit_Left = 300;        // the gas-diesel groups' value column
constexpr int Edit_Width = 56;
constexpr int UpDown_Width = 17;
constexpr int Check_Label_Gap = 20;      // a check box's caption right of the box
constexpr int Panel_Lines = 5;           // lines of the limit and cut-off panels
// The "not exist" panel over the TPS emulation group.
constexpr int Not_Exist_Left = 4;
constexpr int Not_Exist_Top = 16;
constexpr int Not_Exist_Font_Size = 24;
// The width of the idle-run value, as the other values of its group.
constexpr int Sensor_Edit_Width = 70;

// Font colours of the TPS captions: those of the matching calibration curves.
constexpr TColor TPS_Gas_Colour = static_cast<TColor>(0x0000FF);
constexpr TColor TPS_Out_Colours[3] = {static_cast<TColor>(0x800080), static_cast<TColor>(0x000080),
                                       static_cast<TColor>(0x800000)};

// Defaults the marking compares against.
constexpr int32_t DS_Timer_Default = 5;
constexpr int32_t DS_High_Level_Default = 250;
constexpr int32_t DS_High_Step_Default = 1;
constexpr int32_t Snake_Default = 10;
constexpr int32_t Limit_Temperature_Default = 600;
constexpr int32_t Virtual_Timer_Default = 20;

constexpr const char* Degree = "\xB0";

std::string T(const char* Key) { return Language_Text(Key); }
std::string Hundredths(int32_t Value) { return Format_Fixed(Value / 100.0, 10, 2); }

std::string Trim_Blanks(const std::string& Text)
{
    const size_t First = Text.find_first_not_of(' ');
    if (First == std::string::npos)
        return "";
    return Text.substr(First, Text.find_last_not_of(' ') - First + 1);
}

// A value row: caption, edit, up-down (range, step) and unit. An associated edit shows
// the up-down's position itself; the others show a scaled text.
struct Row_Spec {
    CFG_Value_Row CFG_GD_Controls::*Row;
    const char* Caption;
    const char* Edit;
    const char* UpDown;
    const char* Unit;
    int Min, Max, Step;
    bool Associated;
};

CFG_Value_Row Make_Row(TComponent* Owner, TControl* Parent, const Row_Spec& S, int Caption_X, int Edit_X,
                       int Width, int Top)
{
    CFG_Value_Row R;
    if (S.Caption)
        R.Caption = build::Label(Owner, Parent, S.Caption, "", Caption_X, Top + 3);
    R.Edit = build::Make<TEdit>(Owner, Parent, S.Edit, Edit_X, Top, Width, 22);
    R.Edit->ReadOnly(true);
    R.UpDown = build::Make<TUpDown>(Owner, Parent, S.UpDown, Edit_X + Width, Top, UpDown_Width, 22);
    R.UpDown->Min(S.Min);
    R.UpDown->Max(S.Max);
    R.UpDown->Increment(S.Step);
    if (S.Associated)
        R.UpDown->Associate(R.Edit);
    if (S.Unit)
        R.Unit = build::Label(Owner, Parent, std::string(S.Caption ? S.Caption : S.Edit) + "_Dim", S.Unit,
                              Edit_X + Width + UpDown_Width + 5, Top + 3);
    return R;
}

// A check box whose caption is a label beside it (the label toggles the box).
struct Check_Spec {
    TCheckBox* CFG_GD_Controls::*Box;
    TLabel* CFG_GD_Controls::*Label;
    const char* Box_Name;
    const char* Label_Name;
};

void Set_Enabled(std::initializer_list<TControl*> Controls, bool On)
{
    for (TControl* C : Controls)
        if (C)
            C->Enabled(On);
}

void Row_Enabled(const CFG_Value_Row& R, bool On)
{
    Set_Enabled({R.Caption, R.Edit, R.UpDown, R.Unit}, On);
}

void Mark(TControl* C, bool Changed, TColor Normal) { C->Color(Changed ? CFG_Changed_Colour : Normal); }

// Where a panel or group's lines start.
int Line_Top(int Line) { return Row_First + Line * Row_Height; }

}  // namespace

// ---------------------------------------------------------------- controls

void Main_Form_Configuration::Create_GD_Controls(TComponent* Owner, TControl* Options)
{
    CFG_GD_Controls& G = *this;
    // ---- the gas-diesel group: cycle time, detonation correction, temperature limit,
    // then the limits or the cut-off mode in one place ----
    const int Panel_Top = Line_Top(7) + 4;
    const int Panel_Height = Panel_Lines * Row_Height + 4;
    GroupBox_CFG_GasDiesel = build::Group(Owner, Options, "GroupBox_CFG_GasDiesel", "", 0, 0, Group_Width,
                                          Panel_Top + Panel_Height + 8);
    TControl* GD = GroupBox_CFG_GasDiesel;
    GroupBox_CFG_Clock_Timer =
        build::Group(Owner, GD, "GroupBox_CFG_Clock_Timer", "", 6, 20, Group_Width - 12, Row_Height + 22);
    Panel_CFG_GD_Limit = build::Panel(Owner, GD, "Panel_CFG_GD_Limit", "", 2, Panel_Top, Group_Width - 4,
                                      Panel_Height);
    Panel_CFG_GD_Cut_Off = build::Panel(Owner, GD, "Panel_CFG_GD_Cut_Off", "", 2, Panel_Top, Group_Width - 4,
                                        Panel_Height);
    for (TPanel* P : {Panel_CFG_GD_Limit, Panel_CFG_GD_Cut_Off})
        P->BevelOuter(TBevel_Cut::None);
    Panel_CFG_GD_Cut_Off->Visible(false);
    TControl* Limit = Panel_CFG_GD_Limit;
    TControl* Cut = Panel_CFG_GD_Cut_Off;
    // Panel lines start at the top of the panel.
    auto Panel_Line = [](int Line) { return 2 + Line * Row_Height; };

    struct Placed_Row {
        Row_Spec Spec;
        TControl* Parent;
        int Caption_X;
        int Top;
    };
    const Placed_Row Rows[] = {
        {{&CFG_GD_Controls::Clock_Timer, "Label_CFG_Clock_Timer", "Edit_CFG_Clock_Timer", "UpDown_CFG_Clock_Timer",
          nullptr, 1, 255, 5, true},
         GroupBox_CFG_Clock_Timer, Caption_Left - 6, 18},
        {{&CFG_GD_Controls::DS_Timer, "Label_DS_Timer", "Edit_DS_Timer", "UpDown_DS_Timer", nullptr, 1, 255, 1, true},
         GD, Indent, Line_Top(3)},
        {{&CFG_GD_Controls::DS_High_Level, "Label_DS_High_Level", "Edit_DS_High_Level", "UpDown_DS_High_Level", "V",
          10, 500, 10, false},
         GD, Indent, Line_Top(4)},
        {{&CFG_GD_Controls::DS_High_Step, "Label_DS_High_Step", "Edit_DS_High_Step", "UpDown_DS_High_Step", "V", 0,
          10, 1, false},
         GD, Indent, Line_Top(5)},
        {{&CFG_GD_Controls::Limit_Temperature, "Label_Limit_Temperature", "Edit_Limit_Temperature",
          "UpDown_Limit_Temperature", nullptr, 200, 1000, 50, true},
         GD, Caption_Left + Check_Label_Gap, Line_Top(6)},
        {{&CFG_GD_Controls::Limit_TPS_Snake, "Label_Limit_TPS_Snake", "Edit_Limit_TPS_Snake", "UpDown_Limit_TPS_Snake",
          nullptr, 1, 32, 1, false},
         Limit, Indent, Panel_Line(1)},
        {{&CFG_GD_Controls::Limit_TPS_Range_RPM, "Label_Limit_TPS_Range_RPM", "Edit_Limit_TPS_Range_RPM",
          "UpDown_Limit_TPS_Range_RPM", nullptr, 1, 199, 1, false},
         Limit, Indent, Panel_Line(2)},
        {{&CFG_GD_Controls::Limit_RPM_Snake, "Label_Limit_RPM_Snake", "Edit_Limit_RPM_Snake", "UpDown_Limit_RPM_Snake",
          nullptr, 1, 32, 1, false},
         Limit, Indent, Panel_Line(4)},
        {{&CFG_GD_Controls::Cut_Off_Time, "Label_CFG_Cut_Off_Time", "Edit_CFG_Cut_Off_Time", "UpDown_CFG_Cut_Off_Time",
          nullptr, 100, 1000, 100, true},
         Cut, Indent, Panel_Line(2)},
        {{&CFG_GD_Controls::Cut_Off_Volt, "Label_CFG_Cut_Off_Volt", "Edit_CFG_Cut_Off_Volt", "UpDown_CFG_Cut_Off_Volt",
          nullptr, 10, 500, 10, false},
         Cut, Indent, Panel_Line(3)},
        {{&CFG_GD_Controls::Cut_Off_Factor, "Label_CFG_Cut_Off_Factor", "Edit_CFG_Cut_Off_Factor",
          "UpDown_CFG_Cut_Off_Factor", nullptr, 1, 199, 1, false},
         Cut, Indent, Panel_Line(4)},
    };
    for (const Placed_Row& R : Rows) {
        // Panels sit 2 pixels right of the group's edge: their columns line up with it.
        const int Shift = R.Parent == GD ? 0 : (R.Parent == GroupBox_CFG_Clock_Timer ? 6 : 2);
        G.*R.Spec.Row = Make_Row(Owner, R.Parent, R.Spec, R.Caption_X, GD_Edit_Left - Shift, Edit_Width, R.Top);
    }
    Limit_Temperature.Unit = build::Label(Owner, GD, "Label_Limit_Temperature_Dim", std::string(Degree) + "C",
                                          GD_Edit_Left + Edit_Width + UpDown_Width + 5, Line_Top(6) + 3);

    struct Placed_Check {
        Check_Spec Spec;
        TControl* Parent;
        int Left;
        int Top;
    };
    const Placed_Check Checks[] = {
        {{&CFG_GD_Controls::CheckBox_DS_Correction_ON, &CFG_GD_Controls::Label_DS_Correction_ON,
          "CheckBox_DS_Correction_ON", "Label_DS_Correction_ON"},
         GD, Caption_Left, Line_Top(2) + 2},
        {{&CFG_GD_Controls::CheckBox_Limit_TPS_ON, &CFG_GD_Controls::Label_Limit_TPS_ON, "CheckBox_Limit_TPS_ON",
          "Label_Limit_TPS_ON"},
         Limit, Caption_Left - 2, Panel_Line(0) + 2},
        {{&CFG_GD_Controls::CheckBox_Limit_RPM_ON, &CFG_GD_Controls::Label_Limit_RPM_ON, "CheckBox_Limit_RPM_ON",
          "Label_Limit_RPM_ON"},
         Limit, Caption_Left - 2, Panel_Line(3) + 2},
        {{&CFG_GD_Controls::CheckBox_CFG_Cut_Off_ON, &CFG_GD_Controls::Label_CFG_Cut_Off_ON, "CheckBox_CFG_Cut_Off_ON",
          "Label_CFG_Cut_Off_ON"},
         Cut, Caption_Left - 2, Panel_Line(0) + 2},
    };
    for (const Placed_Check& C : Checks)
        G.*C.Spec.Box = build::Check(Owner, C.Parent, C.Spec.Box_Name, G.*C.Spec.Label, C.Spec.Label_Name, "", C.Left,
                                     C.Top);
    // The temperature limit's caption is its value row's caption, right of the box.
    CheckBox_Limit_Temperature_ON =
        build::Make<TCheckBox>(Owner, GD, "CheckBox_Limit_Temperature_ON", Caption_Left, Line_Top(6) + 2, 16, 17);
    CheckBox_Limit_Temperature_ON->Caption("");
    // The two edges of the cut-off mode, side by side.
    RadioButton_CFG_Cut_Off_Rising =
        build::Make<TRadioButton>(Owner, Cut, "RadioButton_CFG_Cut_Off_Rising", Indent, Panel_Line(1) + 2, 16, 17);
    Label_CFG_Cut_Off_Rising =
        build::Label(Owner, Cut, "Label_CFG_Cut_Off_Rising", "", Indent + Check_Label_Gap, Panel_Line(1) + 3);
    RadioButton_CFG_Cut_Off_Falling =
        build::Make<TRadioButton>(Owner, Cut, "RadioButton_CFG_Cut_Off_Falling", 220, Panel_Line(1) + 2, 16, 17);
    Label_CFG_Cut_Off_Falling =
        build::Label(Owner, Cut, "Label_CFG_Cut_Off_Falling", "", 220 + Check_Label_Gap, Panel_Line(1) + 3);
    RadioButton_CFG_Cut_Off_Rising->Caption("");
    RadioButton_CFG_Cut_Off_Falling->Caption("");

    // ---- idle run: in the R.P.M. signal group, its long caption on a line of its own
    // and the value beside the button that takes it ----
    RPM_IdleRun = Make_Row(Owner, GroupBox_CFG_RPM_Source,
                           {&CFG_GD_Controls::RPM_IdleRun, "Label_CFG_RPM_IdleRun", "Edit_CFG_RPM_IdleRun",
                            "UpDown_CFG_RPM_IdleRun", "rpm", 500, 3000, 50, true},
                           Caption_Left, Caption_Left, Sensor_Edit_Width, Row_First + 4 * Row_Height);
    RPM_IdleRun.Caption->Top(Row_First + 3 * Row_Height + 3);

    // ---- beside the R.P.M.-dependence table: shown with that table, on the page (the
    // table covers the options panel) ----
    CheckBox_DS_Correction_ON_rpm =
        build::Make<TCheckBox>(Owner, TabSheet_Configuration, "CheckBox_DS_Correction_ON_rpm", 8, 300, 16, 17);
    CheckBox_DS_Correction_ON_rpm->Caption("");
    Label_DS_Correction_ON_Help =
        build::Label(Owner, TabSheet_Configuration, "Label_DS_Correction_ON_Help", "", 28, 296);
    Label_DS_Correction_ON_Help->AutoSize(false);
    Label_DS_Correction_ON_Help->WordWrap(true);
    Label_DS_Correction_ON_Help->SetBounds(28, 296, Group_Width - 40, 40);
    CheckBox_DS_Correction_ON_rpm->Visible(false);
    Label_DS_Correction_ON_Help->Visible(false);

    // ---- virtual pulse: its switch under the injection type, its timer in the combo's place ----
    TGroupBox* Injection = GroupBox_CFG_Injection_Type;
    CheckBox_CFG_Injection_Type_Virtual =
        build::Check(Owner, Injection, "CheckBox_CFG_Injection_Type_Virtual", Label_CFG_Injection_Type_Virtual,
                     "Label_CFG_Injection_Type_Virtual", "", Caption_Left, Line_Top(1) + 2);
    Injection_Type_Virtual = Make_Row(Owner, Injection,
                                      {&CFG_GD_Controls::Injection_Type_Virtual, nullptr,
                                       "Edit_CFG_Injection_Type_Virtual", "UpDown_CFG_Injection_Type_Virtual",
                                       nullptr, 1, 255, 1, true},
                                      Caption_Left, ComboBox_CFG_Injection_Type->Left(), Edit_Width, Line_Top(0));
    Injection_Type_Virtual.Edit->Visible(false);
    Injection_Type_Virtual.UpDown->Visible(false);
    // The phase bars move one line down for the switch.
    Panel_CFG_Injection_Type->SetBounds(Panel_CFG_Injection_Type->Left(),
                                        Panel_CFG_Injection_Type->Top() + Row_Height,
                                        Panel_CFG_Injection_Type->Width(),
                                        Panel_CFG_Injection_Type->Height() - Row_Height);

    // ---- the TPS emulation group: a source per diagram and output, their filters ----
    GroupBox_CFG_Emulation_TPS =
        build::Group(Owner, Options, "GroupBox_CFG_Emulation_TPS", "", 0, 0, Group_Width, Line_Top(7) + 8);
    TControl* E = GroupBox_CFG_Emulation_TPS;
    constexpr int Combo_Left = 150;
    constexpr int Combo_Width = 130;
    constexpr int Filter_Left = 320;
    Label_CFG_TPS_Inputs = build::Label(Owner, E, "Label_CFG_TPS_Inputs", "", Combo_Left, Line_Top(0) + 3);
    Label_CFG_Filter_TPS_ON = build::Label(Owner, E, "Label_CFG_Filter_TPS_ON", "", Filter_Left - 6, Line_Top(0) + 3);
    Label_CFG_TPS_Outputs = build::Label(Owner, E, "Label_CFG_TPS_Outputs", "", Caption_Left, Line_Top(2) + 3);
    struct TPS_Row {
        TLabel* CFG_GD_Controls::*Label;
        TComboBox* CFG_GD_Controls::*Combo;
        TCheckBox* CFG_GD_Controls::*Filter;
        const char* Label_Name;
        const char* Combo_Name;
        const char* Filter_Name;
        int Line;
        TColor Colour;
    };
    const TPS_Row TPS_Rows[] = {
        {&CFG_GD_Controls::Label_CFG_TPS_Gas, &CFG_GD_Controls::ComboBox_CFG_TPS_Gas,
         &CFG_GD_Controls::CheckBox_CFG_Filter_Out_0, "Label_CFG_TPS_Gas", "ComboBox_CFG_TPS_Gas",
         "CheckBox_CFG_Filter_Out_0", 1, TPS_Gas_Colour},
        {&CFG_GD_Controls::Label_CFG_TPS_out_1, &CFG_GD_Controls::ComboBox_CFG_TPS_out_1,
         &CFG_GD_Controls::CheckBox_CFG_Filter_Out_1, "Label_CFG_TPS_out_1", "ComboBox_CFG_TPS_out_1",
         "CheckBox_CFG_Filter_Out_1", 3, TPS_Out_Colours[0]},
        {&CFG_GD_Controls::Label_CFG_TPS_out_2, &CFG_GD_Controls::ComboBox_CFG_TPS_out_2,
         &CFG_GD_Controls::CheckBox_CFG_Filter_Out_2, "Label_CFG_TPS_out_2", "ComboBox_CFG_TPS_out_2",
         "CheckBox_CFG_Filter_Out_2", 4, TPS_Out_Colours[1]},
        {&CFG_GD_Controls::Label_CFG_TPS_out_3, &CFG_GD_Controls::ComboBox_CFG_TPS_out_3,
         &CFG_GD_Controls::CheckBox_CFG_Filter_Out_3, "Label_CFG_TPS_out_3", "ComboBox_CFG_TPS_out_3",
         "CheckBox_CFG_Filter_Out_3", 5, TPS_Out_Colours[2]},
    };
    for (const TPS_Row& R : TPS_Rows) {
        const int Top = Line_Top(R.Line);
        TLabel* L = build::Label(Owner, E, R.Label_Name, "", Caption_Left, Top + 3);
        L->Font().Color(R.Colour);
        G.*R.Label = L;
        TComboBox* C = build::Make<TComboBox>(Owner, E, R.Combo_Name, Combo_Left, Top, Combo_Width, 22);
        C->Style(TCombo_Style::Drop_Down_List);
        G.*R.Combo = C;
        TCheckBox* F = build::Make<TCheckBox>(Owner, E, R.Filter_Name, Filter_Left, Top + 2, 16, 17);
        F->Caption("");
        G.*R.Filter = F;
    }
    Filter_TPS_Time = Make_Row(Owner, E,
                               {&CFG_GD_Controls::Filter_TPS_Time, "Label_CFG_Filter_TPS_Time",
                                "Edit_CFG_Filter_TPS_Time", "UpDown_CFG_Filter_TPS_Time", nullptr, 1, 255, 1, true},
                               Caption_Left, GD_Edit_Left, Edit_Width, Line_Top(6));
    Panel_CFG_TPS_not_exist = build::Panel(Owner, E, "Panel_CFG_TPS_not_exist", "", Not_Exist_Left, Not_Exist_Top,
                                           Group_Width - 2 * Not_Exist_Left, E->Height() - 20);
    Panel_CFG_TPS_not_exist->Visible(false);
}

// ---------------------------------------------------------------- captions

void Main_Form_Configuration::Set_GD_Page_Captions()
{
    const std::string MS = T("Dim_MS_Short");
    RPM_IdleRun.Caption->Caption(T("Label_CFG_RPM_IdleRun"));
    RPM_IdleRun.Caption->Hint(T("CFG_RPM_IdleRun_Hint"));
    Button_CFG_RPM_IdleRun->Caption(T("Button_CFG_RPM_IdleRun"));
    // A language without the group box's own text names it as its options row does.
    const std::string GD_Caption = T("GroupBox_GD_CFG_GasDiesel");
    GroupBox_CFG_GasDiesel->Caption(GD_Caption.empty() ? T("Label_GD_CFG_Options") : GD_Caption);
    GroupBox_CFG_Clock_Timer->Caption(T("GroupBox_CFG_Clock_Timer") + " TPS, RPM (" + MS + ")");
    Clock_Timer.Caption->Caption(T("Label_CFG_Clock_Timer"));
    Label_DS_Correction_ON->Caption(T("Label_DS_Correction_ON"));
    Label_DS_Correction_ON->Hint(T("DS_Correction_ON_Hint"));
    Label_DS_Correction_ON_Help->Caption(Label_DS_Correction_ON->Caption() + ".\n\r" + T("DS_Correction_ON_Help"));
    DS_Timer.Caption->Caption(T("Label_CFG_Clock_Timer") + " (" + MS + ")");
    GroupBox_CFG_Emulation_TPS->Caption(T("Label_TPS_CFG_Options"));
    Panel_CFG_TPS_not_exist->Caption(T("Panel_CFG_TPS_not_exist"));
    Label_CFG_Injection_Type_Virtual->Caption(T("CFG_Inject_Type_Virtual") + " (" + MS + ")");
    Label_CFG_Injection_Type_Virtual->Hint(T("CFG_Inject_Type_Virtual_Hint"));
    // Its text is the group's own: the page's caption pass at creation runs before the group's
    // table is known.
    CFG_Inject_Type_Start_Impuls->Caption(T("CFG_Inject_Type_Start_Impuls"));
    Limit_Temperature.Unit->Caption(T("Text_Degree"));
    // Captions and hints of the other labels: (label, caption key, hint key or none).
    struct Caption_Row {
        TLabel* Label;
        std::string Caption;
        const char* Hint;
    };
    const Caption_Row Rows[] = {
        {DS_High_Level.Caption, T("Label_DS_High_Level"), "DS_High_Level_Hint"},
        {DS_High_Step.Caption, "- " + T("Label_DS_Step_Level"), "DS_High_Step_Hint"},
        {Label_Limit_TPS_ON, T("Label_Limit_TPS_ON"), "Limit_TPS_ON_Hint"},
        {Limit_TPS_Snake.Caption, T("Averaging"), "Limit_TPS_Snake_Hint"},
        {Limit_TPS_Range_RPM.Caption, T("Label_Limit_TPS_Range_RPM"), "Limit_TPS_Range_RPM_Hint"},
        {Label_Limit_RPM_ON, T("Label_Limit_RPM_ON"), "Limit_RPM_ON_Hint"},
        {Limit_RPM_Snake.Caption, T("Averaging"), "Limit_RPM_Snake_Hint"},
        {Limit_Temperature.Caption, T("Label_GD_CFG_Limit_Temperature"), "GD_CFG_Limit_Temperature_Hint"},
        {Label_CFG_TPS_Inputs, T("Label_CFG_TPS_Inputs"), nullptr},
        {Label_CFG_TPS_Outputs, T("Label_CFG_TPS_Outputs"), nullptr},
        {Label_CFG_TPS_Gas, T("Label_CFG_TPS_Gas"), nullptr},
        {Label_CFG_TPS_out_1, "TPS " + T("Label_CFG_TPS_Output") + " 1", nullptr},
        {Label_CFG_TPS_out_2, "TPS " + T("Label_CFG_TPS_Output") + " 2", nullptr},
        {Label_CFG_TPS_out_3, "TPS " + T("Label_CFG_TPS_Output") + " 3", nullptr},
        {Label_CFG_Filter_TPS_ON, T("Panel_CFG_Filter_TPS_ON"), nullptr},
        {Filter_TPS_Time.Caption, T("Panel_CFG_Filter_TPS_Time"), nullptr},
        {Label_CFG_Cut_Off_ON, T("Label_CFG_Cut_Off_ON"), "Cut_Off_ON_Hint"},
        {Label_CFG_Cut_Off_Rising, T("Label_CFG_Cut_Off_Rising"), "Cut_Off_Rising_Hint"},
        {Label_CFG_Cut_Off_Falling, T("Label_CFG_Cut_Off_Falling"), "Cut_Off_Falling_Hint"},
        {Cut_Off_Time.Caption, T("Label_CFG_Cut_Off_Time"), "Cut_Off_Time_Hint"},
        {Cut_Off_Volt.Caption, T("Label_CFG_Cut_Off_Volt"), "Cut_Off_Volt_Hint"},
        {Cut_Off_Factor.Caption, T("Label_CFG_Cut_Off_Factor"), "Cut_Off_Factor_Hint"},
    };
    for (const Caption_Row& R : Rows) {
        R.Label->Caption(R.Caption);
        if (R.Hint)
            R.Label->Hint(T(R.Hint));
    }
}

void TForm_KardunGAS::Set_GD_Captions()
{
    GD_Captions_Build();
    Label_CLB_Gas_Point->Caption(Trim_Blanks(GD_Captions[3]));
    Label_CLB_InVolt_Point->Caption(Trim_Blanks(GD_Captions[2]));
    Label_CLB_OutVolt_Point->Caption(Trim_Blanks(GD_Captions[4]));
    Set_GD_Page_Captions();
}

// ---------------------------------------------------------------- showing

void Main_Form_Configuration::Show_GD_Options()
{
    const Configuration_Class& C = Configuration;
    // Each up-down takes the low 16 bits of its field; edits not tied to their up-down
    // show the value scaled.
    enum class Shown { Position, Hundredths, Integer };
    struct Value {
        const CFG_Value_Row& Row;
        int32_t Field;
        Shown As;
    };
    const Value Values[] = {
        {RPM_IdleRun, C.RPM_Idle_Run, Shown::Position},
        {Clock_Timer, C.Clock_Timer, Shown::Position},
        {DS_Timer, C.DS_Timer, Shown::Position},
        {DS_High_Level, C.DS_High_Level, Shown::Hundredths},
        {DS_High_Step, C.DS_High_Step, Shown::Hundredths},
        {Limit_TPS_Snake, C.Limit_TPS_Snake, Shown::Integer},
        {Limit_TPS_Range_RPM, C.Limit_TPS_Range_RPM, Shown::Hundredths},
        {Limit_RPM_Snake, C.Limit_RPM_Snake, Shown::Integer},
        {Limit_Temperature, C.Limit_Temperature, Shown::Position},
        {Injection_Type_Virtual, C.Virtual_Injection_Timer, Shown::Position},
        {Filter_TPS_Time, C.Filter_TPS_Time, Shown::Position},
        {Cut_Off_Time, C.Cut_Off_Time, Shown::Position},
        {Cut_Off_Volt, C.Cut_Off_Volt, Shown::Hundredths},
        {Cut_Off_Factor, C.Cut_Off_Factor, Shown::Hundredths},
    };
    for (const Value& V : Values) {
        V.Row.UpDown->Position(Low_16(V.Field));
        if (V.As == Shown::Hundredths)
            V.Row.Edit->Text(Hundredths(V.Field));
        else if (V.As == Shown::Integer)
            V.Row.Edit->Text(std::to_string(V.Field));
    }
    const std::pair<TCheckBox*, bool> Boxes[] = {
        {CheckBox_DS_Correction_ON, C.DS_Correction_ON},       {CheckBox_DS_Correction_ON_rpm, C.DS_Correction_ON},
        {CheckBox_Limit_TPS_ON, C.Limit_TPS_ON},               {CheckBox_Limit_RPM_ON, C.Limit_RPM_ON},
        {CheckBox_Limit_Temperature_ON, C.Limit_Temperature_ON},
        {CheckBox_CFG_Injection_Type_Virtual, C.Virtual_Injection_ON},
        {CheckBox_CFG_Cut_Off_ON, C.Cut_Off_ON},
    };
    for (const auto& [Box, On] : Boxes)
        Box->Checked(On);
    if (C.Cut_Off_Edge)
        RadioButton_CFG_Cut_Off_Rising->Checked(true);
    else
        RadioButton_CFG_Cut_Off_Falling->Checked(true);
    // Each combo's source code: one nibble of the two emulation bytes.
    const uint8_t Nibbles[4] = {
        static_cast<uint8_t>(C.Emulation_TPS_Config_L & 0x0F), static_cast<uint8_t>(C.Emulation_TPS_Config_L >> 4),
        static_cast<uint8_t>(C.Emulation_TPS_Config_H & 0x0F), static_cast<uint8_t>(C.Emulation_TPS_Config_H >> 4)};
    const std::array<TComboBox*, 4> Combos = TPS_Combos();
    for (size_t I = 0; I < Combos.size(); ++I) {
        const int Index = TPS_Index_From_Code(Nibbles[I], Has_TPS_Zero());
        if (Index >= 0 && Index < Combos[I]->Items().Count()) {
            Combos[I]->ItemIndex(Index);
        } else {
            Combos[I]->ItemIndex(-1);
            Combos[I]->Text("");
        }
    }
    DS_Group_Enable(C.DS_Correction_ON);
    Limit_TPS_Group_Enable(C.Limit_TPS_ON);
    Limit_RPM_Group_Enable(C.Limit_RPM_ON);
    Limit_Temperature_Group_Enable(C.Limit_Temperature_ON);
    Cut_Off_Group_Enable(C.Cut_Off_ON);
    Virtual_Injection_Show(C.Virtual_Injection_ON);
    TPS_Filter_Boxes_Show();
    Injection_Type_Bars_From_Record();
}

void Main_Form_Configuration::DS_Group_Enable(bool On)
{
    for (const CFG_Value_Row* R : {&DS_Timer, &DS_High_Level, &DS_High_Step})
        Set_Enabled({R->Caption, R->Edit, R->UpDown}, On);
}

void Main_Form_Configuration::Limit_TPS_Group_Enable(bool On)
{
    for (const CFG_Value_Row* R : {&Limit_TPS_Snake, &Limit_TPS_Range_RPM})
        Set_Enabled({R->Caption, R->Edit, R->UpDown}, On);
}

void Main_Form_Configuration::Limit_RPM_Group_Enable(bool On)
{
    Set_Enabled({Limit_RPM_Snake.Caption, Limit_RPM_Snake.Edit, Limit_RPM_Snake.UpDown}, On);
}

void Main_Form_Configuration::Limit_Temperature_Group_Enable(bool On)
{
    Set_Enabled({Limit_Temperature.Edit, Limit_Temperature.UpDown, Limit_Temperature.Unit}, On);
}

void Main_Form_Configuration::Cut_Off_Group_Enable(bool On)
{
    Set_Enabled({RadioButton_CFG_Cut_Off_Rising, RadioButton_CFG_Cut_Off_Falling, Label_CFG_Cut_Off_Rising,
                 Label_CFG_Cut_Off_Falling},
                On);
    for (const CFG_Value_Row* R : {&Cut_Off_Time, &Cut_Off_Volt, &Cut_Off_Factor})
        Row_Enabled(*R, On);
}

void Main_Form_Configuration::Virtual_Injection_Show(bool On)
{
    ComboBox_CFG_Injection_Type->Visible(!On);
    Injection_Type_Virtual.Edit->Visible(On);
    Injection_Type_Virtual.UpDown->Visible(On);
    Injector_Bar_Labels();
}

void Main_Form_Configuration::Injection_Type_Bars_From_Record()
{
    // Six phases are filed; bars 7 and 8 keep their positions. With a count of 0 the bars
    // built for the last count still stand for the phases a write sends, so they show them.
    for (size_t I = 0; I < Injection_Bars.size(); ++I)
        if (const int32_t* Field = Injection_Pos_Field(static_cast<int>(I) + 1))
            Injection_Bars[I]->Position(*Field);
    Injection_Bars_To_Record();
    Injector_Bar_Labels();
}

void Main_Form_Configuration::Injector_Bar_Labels()
{
    Injection_Bar_Labels_Show();
    const Configuration_Class& C = Configuration;
    if (C.Virtual_Injection_ON)
        Label_CFG_IT_Max_Angle->Caption("Max " + std::to_string(C.Virtual_Injection_Timer) + " " +
                                        T("Dim_MS_Short"));
    else
        Label_CFG_IT_Max_Angle->Caption("Max = " + std::to_string(Inject_Max_Angle) + " " + Degree);
}

// ---------------------------------------------------------------- TPS sources and filters

namespace {

// The filter switch of TPS input 1..3; none for another input.
bool* Filter_Flag(int Input)
{
    Configuration_Class& C = Configuration;
    switch (Input) {
    case 1: return &C.Filter_TPS_1_ON;
    case 2: return &C.Filter_TPS_2_ON;
    case 3: return &C.Filter_TPS_3_ON;
    default: return nullptr;
    }
}

}  // namespace

int Main_Form_Configuration::TPS_Combo_Input(const TComboBox* Combo) const
{
    const std::string Text = Combo->Text();
    if (Text.empty() || !std::isdigit(static_cast<unsigned char>(Text.back())))
        return 0;
    return Text.back() - '0';
}

bool Main_Form_Configuration::TPS_Filter_Get(const TComboBox* Combo) const
{
    const bool* Flag = Filter_Flag(TPS_Combo_Input(Combo));
    return Flag && *Flag;
}

void Main_Form_Configuration::TPS_Filter_Set(const TComboBox* Combo, bool Value)
{
    if (bool* Flag = Filter_Flag(TPS_Combo_Input(Combo)))
        *Flag = Value;
    TPS_Filter_Boxes_Show();
}

void Main_Form_Configuration::TPS_Filter_Boxes_Show()
{
    const std::array<TComboBox*, 4> Combos = TPS_Combos();
    const std::array<TCheckBox*, 4> Boxes = TPS_Filter_Boxes();
    for (size_t I = 0; I < Combos.size(); ++I)
        if (const bool* Flag = Filter_Flag(TPS_Combo_Input(Combos[I])))
            Boxes[I]->Checked(*Flag);
}

bool Main_Form_Configuration::TPS_Not_Exist_Show()
{
    const bool Shown = !Has_TPS_Emulation();
    TPanel* P = Panel_CFG_TPS_not_exist;
    if (Shown) {
        const TGroupBox* G = GroupBox_CFG_Emulation_TPS;
        P->SetBounds(Not_Exist_Left, Not_Exist_Top, G->Width() - 2 * Not_Exist_Left, G->Height() - 20);
        P->Font().Size(Not_Exist_Font_Size);
        P->BringToFront();
    }
    P->Visible(Shown);
    return Shown;
}

void Main_Form_Configuration::Fill_TPS_Combos()
{
    const std::string Item = "TPS " + T("Label_CFG_TPS_Input") + " ";
    for (TComboBox* Combo : TPS_Combos()) {
        Combo->Items().Clear();
        for (int Input = Has_TPS_Zero() ? 0 : 1; Input <= 3; ++Input)
            Combo->Items().Add(Item + std::to_string(Input));
    }
}

void Main_Form_Configuration::GD_VAC_Controls_Show(bool VAC)
{
    Panel_CFG_GD_Cut_Off->Visible(VAC);
    Panel_CFG_GD_Limit->Visible(!VAC);
    for (TCheckBox* Box : {CheckBox_CFG_Filter_Out_1, CheckBox_CFG_Filter_Out_2, CheckBox_CFG_Filter_Out_3})
        Box->Visible(!VAC);
}

// ---------------------------------------------------------------- marking

void Main_Form_Configuration::Mark_Changed_GD_Options()
{
    const Configuration_Class& C = Configuration;
    // A switch is light red when on; its values are marked only while it is on and usable.
    struct Marked_Value {
        TEdit* Edit;
        int32_t Field;
        int32_t Default;
    };
    struct Switch {
        TCheckBox* Box;
        bool On;
        std::vector<Marked_Value> Values;
    };
    const Switch Switches[] = {
        {CheckBox_DS_Correction_ON,
         C.DS_Correction_ON,
         {{DS_Timer.Edit, C.DS_Timer, DS_Timer_Default},
          {DS_High_Level.Edit, C.DS_High_Level, DS_High_Level_Default},
          {DS_High_Step.Edit, C.DS_High_Step, DS_High_Step_Default}}},
        {CheckBox_Limit_TPS_ON, C.Limit_TPS_ON, {{Limit_TPS_Snake.Edit, C.Limit_TPS_Snake, Snake_Default}}},
        {CheckBox_Limit_RPM_ON, C.Limit_RPM_ON, {{Limit_RPM_Snake.Edit, C.Limit_RPM_Snake, Snake_Default}}},
        {CheckBox_Limit_Temperature_ON,
         C.Limit_Temperature_ON,
         {{Limit_Temperature.Edit, C.Limit_Temperature, Limit_Temperature_Default}}},
    };
    for (const Switch& S : Switches) {
        const bool Usable = S.Box->Enabled();
        Mark(S.Box, Usable && S.On, clBtnFace);
        const bool Values_Count = Usable && S.Box->Checked();
        for (const Marked_Value& V : S.Values)
            Mark(V.Edit, Values_Count && V.Field != V.Default, clWindow);
    }
    Mark(Injection_Type_Virtual.Edit,
         C.Virtual_Injection_ON && C.Virtual_Injection_Timer != Virtual_Timer_Default, clWindow);
}

void Main_Form_Configuration::GD_Labels_Reset_Colour()
{
    for (TLabel* L : {RPM_IdleRun.Caption, Label_CFG_IT_Max_Angle, Label_DS_Correction_ON, DS_Timer.Caption,
                      DS_High_Level.Caption, DS_High_Step.Caption, Label_Limit_TPS_ON, Limit_TPS_Snake.Caption,
                      Limit_TPS_Range_RPM.Caption, Label_Limit_RPM_ON, Limit_RPM_Snake.Caption,
                      Limit_Temperature.Caption, Label_CFG_Injection_Type_Virtual, Label_CFG_Cut_Off_ON,
                      Label_CFG_Cut_Off_Rising, Label_CFG_Cut_Off_Falling, Cut_Off_Time.Caption,
                      Cut_Off_Volt.Caption, Cut_Off_Factor.Caption})
        L->Color(clBtnFace);
}

void Main_Form_Configuration::DS_Correction_Show(bool On)
{
    // Showing a value the write itself restored marks nothing for sending.
    const bool Ready = UI_Ready;
    UI_Ready = false;
    CheckBox_DS_Correction_ON->Checked(On);
    CheckBox_DS_Correction_ON_rpm->Checked(On);
    DS_Group_Enable(On);
    UI_Ready = Ready;
    Mark_Changed_GD_Options();
}

// ---------------------------------------------------------------- temperature table

void Main_Form_Configuration::Show_Temperature_Part(bool Shown)
{
    // Without the table no vaporizer temperature can be set.
    Set_Enabled({PG_Temper.Caption, PG_Temper.Edit, PG_Temper.UpDown}, Shown);
}
