// Configuration page, injectors: the injector type chosen, the injection type, the phase
// bars of the cylinders with their help texts, and the yellow wire's function.
#include <cstdint>
#include <string>

#include "data/Calibration.h"
#include "data/Configuration.h"
#include "data/Injectors.h"
#include "data/Globals.h"
#include "language/Language.h"
#include "main/Main_Form.h"
#include "main/Main_Form_Configuration.h"

namespace {

// Letters of the injector group, the injection type, the phases (two cylinders each) and
// the yellow wire.
constexpr uint8_t Code_Injectors = 'S';
constexpr uint8_t Code_Injection_Type = 'H';
constexpr uint8_t Code_Phase[3] = {'Z', '[', '\\'};
constexpr uint8_t Code_Yellow_Wire = 'M';
// Cylinders whose phase the record holds.
constexpr int Phase_Fields = 6;
constexpr uint8_t Yellow_Wire_Timed = 4;   // the code with delay and impulse
// Injection types 1..3 have a help sentence; type 4 ("1 * 4") shows none.
const char* const Injection_Type_Hint_Keys[] = {"CFG_Inject_Type_1_1_Hint", "CFG_Inject_Type_div_2_Hint",
                                                "CFG_Inject_Type_mul_2_Hint"};
// A line break in a help text.
constexpr const char* Help_Break = ".\n\r";
// Yellow-wire codes and their help text keys.
struct Yellow_Wire_Help {
    uint8_t Code;
    const char* Key;
};
constexpr Yellow_Wire_Help Yellow_Wire_Helps[] = {
    {1, "YW_Petrol_Valve_OFF_Hint"}, {2, "YW_Dublication_Gas_Valve_Hint"}, {4, "YW_Clear_Petrol_Sensor_Hint"}};

std::string T(const char* Key) { return Language_Text(Key); }

}  // namespace

void Main_Form_Configuration::Inject_Bind()
{
    ComboBox_CFG_Inject_Type->OnChange = [this](TObject*) { ComboBox_CFG_Inject_TypeChange(); };
    ComboBox_CFG_Injection_Type->OnChange = [this](TObject*) { ComboBox_CFG_Injection_TypeChange(); };
    ComboBox_CFG_Injection_Type->OnClick = [this](TObject*) { ComboBox_CFG_Injection_TypeChange(); };
    Panel_CFG_Injection_Type->OnMouseMove = [this](TObject*, TShiftState, int, int) {
        Panel_CFG_Injection_TypeMouseMove();
    };
    Label_CFG_IT_Max_Angle->OnMouseMove = [this](TObject*, TShiftState, int, int) {
        Label_CFG_IT_Max_AngleMouseMove();
    };
    ComboBox_CFG_PG_Yellow_Wire->OnChange = [this](TObject*) { Yellow_Wire_Select(); };
    Label_CFG_PG_Yellow_Wire->OnMouseMove = [this](TObject*, TShiftState, int, int) {
        Label_CFG_PG_Yellow_WireMouseMove();
    };
    Injection_Bars_Bind();
}

// ---------------------------------------------------------------- injector type

void Main_Form_Configuration::ComboBox_CFG_Inject_TypeChange()
{
    if (Injector_Type_Index(ComboBox_CFG_Inject_Type->Text()) > 0)
        Configuration.GI_Type = ComboBox_CFG_Inject_Type->Text();
    else
        ComboBox_CFG_Inject_Type->Text(Configuration.GI_Type);
    Set_Default_Inject_Timing();
    Inject_Type_Show();
    // Only a type chosen here brings the type's default curves; a configuration shown,
    // received or loaded keeps its own. No point stays selected on the new curves.
    for (int Id = 0; Id < CLB_Curve_Count; ++Id)
        CLB_Curve_Of(static_cast<CLB_Curve_Id>(Id)).Selected = -1;
    Set_Default_Calibration();
    if (CFG_Form) {
        CFG_Form->Draw_Calibration_Chart();
        CFG_Form->CFG_Parameter_Changed(Code_Injectors);
    }
    Mark_Changed_Configuration();
}

void Main_Form_Configuration::ComboBox_CFG_Injection_TypeChange()
{
    Injection_Type_Changed();
    if (CFG_Form)
        CFG_Form->CFG_Parameter_Changed(Code_Injection_Type);
}

// ---------------------------------------------------------------- phase bars

void Main_Form_Configuration::Injection_Bars_Bind()
{
    for (TTrackBar* Bar : Injection_Bars) {
        const int Cylinder = Bar->Tag();
        Bar->OnChange = [this, Cylinder](TObject*) { Injection_Bar_Change(Cylinder); };
    }
    for (TPanel* P : Injection_Bar_Panels) {
        const int Cylinder = P->Tag();
        P->OnMouseMove = [this, Cylinder](TObject*, TShiftState, int, int) {
            Injection_Cylinder_MouseMove(Cylinder);
        };
    }
}

void Main_Form_Configuration::Injection_Bar_Change(int Cylinder)
{
    if (!UI_Ready || Cylinder < 1 || Cylinder > static_cast<int>(Injection_Bars.size()))
        return;
    // Cylinders past the record's fields show their phase but keep nothing.
    if (Cylinder <= Phase_Fields)
        if (int32_t* Field = Injection_Pos_Field(Cylinder))
            *Field = Injection_Bars[static_cast<size_t>(Cylinder - 1)]->Position();
    Injection_Bar_Labels_Show();
    if (Cylinder <= Phase_Fields && CFG_Form)
        CFG_Form->CFG_Parameter_Changed(Code_Phase[(Cylinder - 1) / 2]);
}

// ---------------------------------------------------------------- help texts

std::string Main_Form_Configuration::Injection_Type_Work_Text() const
{
    const int32_t Div = Configuration.GI_Div;
    if (Div < 1 || Div > 3)
        return "";
    return T("CFG_Inject_Type_Work_Hint") + " " + T(Injection_Type_Hint_Keys[Div - 1]);
}

void Main_Form_Configuration::Panel_CFG_Injection_TypeMouseMove()
{
    if (Configuration.Virtual_Injection_ON) {
        Help_Show_Text(T("CFG_Inject_Type_Time_Hint") + " " + T("CFG_Inject_Type_Start_Hint"));
        return;
    }
    const std::string Work = Injection_Type_Work_Text();
    if (!Work.empty())
        Help_Show_Text(Work + Help_Break + T("CFG_Inject_Type_Angle_Hint") + " " + T("CFG_Inject_Type_Start_Hint"));
}

void Main_Form_Configuration::Injection_Cylinder_MouseMove(int Cylinder)
{
    if (Cylinder < 1 || Cylinder > static_cast<int>(Injection_Bar_Labels.size()))
        return;
    const std::string Value = Injection_Bar_Labels[static_cast<size_t>(Cylinder - 1)]->Caption();
    const std::string Number = std::to_string(Cylinder);
    if (Configuration.Virtual_Injection_ON) {
        Help_Show_Text(T("CFG_Inject_Type_Switch_Hint") + " " + Value + " " + Number + " " +
                       T("CFG_Inject_Type_Start_Hint"));
        return;
    }
    const std::string Work = Injection_Type_Work_Text();
    if (!Work.empty())
        Help_Show_Text(Work + Help_Break + Value + " " + T("CFG_Inject_Type_Angle_Hint") + " " + Number + " " +
                       T("CFG_Inject_Type_Start_Hint"));
}

void Main_Form_Configuration::Label_CFG_IT_Max_AngleMouseMove()
{
    const std::string Work = T("CFG_Inject_Type_Work_Hint");
    if (Configuration.Virtual_Injection_ON) {
        const TEdit* Virtual = Injection_Type_Virtual.Edit;
        Help_Show_Text(Work + " " + (Virtual ? Virtual->Text() : std::string()) + " " + T("Dim_MS_Short"));
        return;
    }
    const std::string Text = Injection_Type_Work_Text();
    if (!Text.empty())
        Help_Show_Text(Text);
}

// ---------------------------------------------------------------- yellow wire

void Main_Form_Configuration::Yellow_Wire_Select()
{
    const int Item = ComboBox_CFG_PG_Yellow_Wire->Items().IndexOf(ComboBox_CFG_PG_Yellow_Wire->Text());
    if (Item >= 0 && Item < static_cast<int>(Yellow_Wire_Codes.size())) {
        Configuration.PG_Yellow_Wire = Yellow_Wire_Codes[static_cast<size_t>(Item)];
        Yellow_Wire_Fields_Show(Configuration.PG_Yellow_Wire == Yellow_Wire_Timed);
        Label_CFG_Help->Caption(Yellow_Wire_Hint());
        if (CFG_Form)
            CFG_Form->CFG_Parameter_Changed(Code_Yellow_Wire);
    }
    Yellow_Wire_Show();
}

std::string Main_Form_Configuration::Yellow_Wire_Hint()
{
    const int32_t Code = Configuration.PG_Yellow_Wire;
    if (Code == Yellow_Wire_Timed) {
        PG_YW_Delay.Caption->Hint(T("PG_YW_Delay_Hint"));
        PG_YW_Impulse.Caption->Hint(T("PG_YW_Impulse_Hint"));
    }
    for (const Yellow_Wire_Help& H : Yellow_Wire_Helps)
        if (H.Code == Code)
            return T(H.Key);
    return "";
}

void Main_Form_Configuration::Label_CFG_PG_Yellow_WireMouseMove()
{
    Help_Show_Hint(Label_CFG_PG_Yellow_Wire);
    Label_CFG_Help->Caption(Label_CFG_PG_Yellow_Wire->Hint() + ". " + Yellow_Wire_Hint());
}
