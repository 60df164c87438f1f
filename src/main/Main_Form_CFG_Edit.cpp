// Configuration page editing: every value goes through one cycle (store, show, cross
// limits, send now, colour), the switches and their caption labels, idle-run calibration,
// the TPS emulation combos and the service time. The value controls are one table; rows
// whose controls another part builds are bound once those controls exist.
#include <algorithm>
#include <cstdint>
#include <string>

#include "data/Calibration.h"
#include "data/Call_Hook.h"
#include "data/Configuration.h"
#include "data/Conversions.h"
#include "data/GD_Options.h"
#include "data/Globals.h"
#include "data/Key_File.h"
#include "data/Message_Types.h"
#include "language/Language.h"
#include "main/Main_Form.h"
#include "main/Main_Form_Configuration.h"
#include "protocol/Ident.h"
#include "protocol/Live_Data.h"
#include "protocol/Param_Codecs.h"
#include "protocol/Script.h"
#include "protocol/Status_Queue.h"
#include "windows/MSG.h"
#include "windows/RPM_Window.h"
#include "protocol/Request_Codes.h"

// How a value is shown in its read-only edit.
enum class CFG_Show {
    Plain,              // the integer
    Tenths,             // x / 10, shortest decimal
    Tenths_Fixed1,      // x / 10, one decimal
    Hundredths,         // x / 100, shortest decimal
    Hundredths_Fixed2,  // x / 100, two decimals
    Thousandths,        // x / 1000, shortest decimal
    PWM_Freq,           // the injector drive frequency
};
// The colouring a change ends with.
enum class CFG_Mark { None, Configuration, GD };
// What a value does besides its own field.
enum class CFG_Also {
    None,
    PG_Pressure_Cross,       // low switch-back pressure stays below it
    GP_PressDiff_Low_Cross,  // switch-to-gas pressure stays above it
    MAP_Type,                // the MAP type follows the 1-bar output
    Start_Both,              // both start impulses take the value
    Duty,                    // GI_Duty from the per cent
    Duty_Kept,               // GI_Duty again at the new period, per cent kept
    Inject_Num,              // phase bars for the new count
    Virtual_Labels,          // phase labels in milliseconds
    Limits_DiffPress,        // both pressure-difference factors within their limits
    Limits_DiffPress_S,      // the factor itself within its limit
    Limits_DiffPress_B,
    Limits_TempGas,          // both gas-temperature factors within their limits
    Limits_TempGas_S,        // the factor itself within its limit (0 under a support of 0)
    Limits_TempGas_B,
    Limits_Power,            // the supply factor within its limit
};
// Which event runs the row.
enum class CFG_Source {
    Click,         // the up-down's click handler
    Edit_Change,   // the edit's change handler, reading its text
    Special,       // a handler of its own (sensitivity, vaporizer temperatures)
    Range_Only,    // nothing is stored by the control itself
};

struct Main_Form_Configuration::CFG_Value_Spec {
    const char* UpDown;
    int32_t Configuration_Class::*Field;   // nullptr: the Also step stores
    CFG_Show Show;
    int Min, Max, Increment;
    uint8_t Code;                          // 0: nothing is sent
    CFG_Mark Mark;
    CFG_Also Also;
    CFG_Source Source;
    bool Arrow_Keys;                       // its edit steps the value by the arrow keys
};

namespace {

using C = Configuration_Class;
constexpr auto M_None = CFG_Mark::None;
constexpr auto M_Cfg = CFG_Mark::Configuration;
constexpr auto M_GD = CFG_Mark::GD;
constexpr auto Click = CFG_Source::Click;

using CFG_Value_Spec = Main_Form_Configuration::CFG_Value_Spec;

// The value controls of the page by group (1 R.P.M. signal .. 16 TPS emulation).
const CFG_Value_Spec Value_Table[] = {
    {"UpDown_CFG_RPM_Sensitiv", &C::RPM_Sensitiv, CFG_Show::Hundredths, 5, 2000, 10, 'E', M_None, CFG_Also::None,
     CFG_Source::Special, false},
    {"UpDown_CFG_RPM_IdleRun", nullptr, CFG_Show::Plain, 500, 3000, 50, 0, M_None, CFG_Also::None,
     CFG_Source::Range_Only, false},
    {"UpDown_CFG_PG_Temper", &C::PG_TempVap, CFG_Show::Plain, 5, 110, 5, 'I', M_Cfg, CFG_Also::None,
     CFG_Source::Special, false},
    {"UpDown_CFG_PG_Pressure", &C::PG_PressDiff, CFG_Show::Tenths, 2, 16, 1, 'J', M_Cfg,
     CFG_Also::PG_Pressure_Cross, Click, true},
    {"UpDown_CFG_PG_RPM", &C::PG_RPM, CFG_Show::Plain, 600, 8000, 100, 'K', M_Cfg, CFG_Also::None, Click, false},
    {"UpDown_CFG_PG_Delay", &C::PG_Delay, CFG_Show::Plain, 3, 60, 1, 'O', M_Cfg, CFG_Also::None,
     CFG_Source::Edit_Change, false},
    {"UpDown_CFG_PG_Preheating", &C::PG_Preheating, CFG_Show::Plain, 3, 32, 1, 'L', M_Cfg, CFG_Also::None, Click,
     false},
    {"UpDown_CFG_PG_YW_Delay", &C::PG_YW_Delay, CFG_Show::Tenths_Fixed1, 1, 250, 1, 'N', M_None, CFG_Also::None,
     Click, false},
    {"UpDown_CFG_PG_YW_Impulse", &C::PG_YW_Impulse, CFG_Show::Tenths_Fixed1, 1, 250, 1, 'N', M_None,
     CFG_Also::None, Click, false},
    {"UpDown_CFG_GP_PressDiff_Low", &C::GP_PressDiff_Low, CFG_Show::Tenths, 1, 15, 1, 'J', M_Cfg,
     CFG_Also::GP_PressDiff_Low_Cross, Click, true},
    {"UpDown_CFG_GP_PressDiff_High", &C::GP_PressDiff_High, CFG_Show::Tenths, 15, 40, 1, 'Q', M_Cfg,
     CFG_Also::None, Click, true},
    {"UpDown_CFG_GP_Time", &C::GP_Time, CFG_Show::Tenths, 5, 50, 1, 'O', M_Cfg, CFG_Also::None, Click, true},
    {"UpDown_CFG_GP_TempVap", &C::GP_TempVap, CFG_Show::Plain, 0, 110, 5, 'R', M_Cfg, CFG_Also::None,
     CFG_Source::Special, false},
    // By its click: the model's maximum, set by code, must not change the record's count.
    {"UpDown_CFG_Inject_Num", &C::GI_Num, CFG_Show::Plain, 2, 6, 1, 'S', M_None, CFG_Also::Inject_Num, Click,
     false},
    {"UpDown_CFG_Inject_Range", &C::GI_Range, CFG_Show::Plain, 20, 32, 1, 'T', M_Cfg, CFG_Also::None,
     CFG_Source::Edit_Change, false},
    {"UpDown_CFG_Inject_Start", &C::GI_Start_S, CFG_Show::Plain, 0, 32767, 100, 'V', M_Cfg, CFG_Also::Start_Both,
     Click, false},
    {"UpDown_CFG_Inject_PWM_DutyCycle", nullptr, CFG_Show::Plain, 1, 100, 1, 'W', M_Cfg, CFG_Also::Duty, Click,
     false},
    {"UpDown_CFG_Inject_PWM_Freq", &C::GI_Period, CFG_Show::PWM_Freq, 1, 32000, 10, 'W', M_Cfg,
     CFG_Also::Duty_Kept, Click, false},
    {"UpDown_CFG_Inject_Auto", &C::GI_AutoTempGas, CFG_Show::Plain, 0, 40, 1, 'Y', M_Cfg, CFG_Also::None, Click,
     false},
    {"UpDown_CFG_Injection_Type_Virtual", &C::Virtual_Injection_Timer, CFG_Show::Plain, 1, 255, 1, 0, M_GD,
     CFG_Also::Virtual_Labels, Click, false},
    {"UpDown_CFG_Pressure_1_Bar", &C::Pressure_1_Bar, CFG_Show::Thousandths, 500, 3000, 5, 'B', M_Cfg,
     CFG_Also::MAP_Type, Click, true},
    // Influence factors: a support value narrows its factors (a support of 0 leaves them 0).
    {"UpDown_CFG_Supp_DiffPress", &C::Supp_DiffPress, CFG_Show::Hundredths, 1, 250, 1, 'd', M_Cfg,
     CFG_Also::Limits_DiffPress, Click, true},
    {"UpDown_CFG_Infl_DiffPress_S", &C::Infl_DiffPress_S, CFG_Show::Hundredths, -95, 95, 5, 'e', M_Cfg,
     CFG_Also::Limits_DiffPress_S, Click, true},
    {"UpDown_CFG_Infl_DiffPress_B", &C::Infl_DiffPress_B, CFG_Show::Hundredths, -95, 95, 5, 'f', M_Cfg,
     CFG_Also::Limits_DiffPress_B, Click, true},
    {"UpDown_CFG_Supp_TempGas", &C::Supp_TempGas, CFG_Show::Plain, 1, 155, 1, 'g', M_Cfg,
     CFG_Also::Limits_TempGas, CFG_Source::Edit_Change, false},
    // The record takes what the limit returns: a shown range that no limit narrowed yet
    // (a file's support of 0) never lets a factor past it.
    {"UpDown_CFG_Infl_TempGas_S", &C::Infl_TempGas_S, CFG_Show::Hundredths, -95, 95, 5, 'h', M_Cfg,
     CFG_Also::Limits_TempGas_S, Click, true},
    {"UpDown_CFG_Infl_TempGas_B", &C::Infl_TempGas_B, CFG_Show::Hundredths, -95, 95, 5, 'i', M_Cfg,
     CFG_Also::Limits_TempGas_B, Click, true},
    {"UpDown_CFG_Supp_Power", &C::Supp_Power, CFG_Show::Hundredths, 10, 2046, 5, 'j', M_Cfg,
     CFG_Also::Limits_Power, Click, true},
    {"UpDown_CFG_Infl_Power", &C::Infl_Power, CFG_Show::Hundredths, 0, 95, 5, 'k', M_Cfg, CFG_Also::Limits_Power,
     Click, true},
    {"UpDown_CFG_Clock_Timer", &C::Clock_Timer, CFG_Show::Plain, 1, 255, 5, 'l', M_GD, CFG_Also::None, Click,
     false},
    {"UpDown_DS_Timer", &C::DS_Timer, CFG_Show::Plain, 1, 255, 1, 'l', M_GD, CFG_Also::None, Click, false},
    {"UpDown_DS_High_Level", &C::DS_High_Level, CFG_Show::Hundredths_Fixed2, 10, 500, 10, 'm', M_GD,
     CFG_Also::None, Click, false},
    {"UpDown_DS_High_Step", &C::DS_High_Step, CFG_Show::Hundredths_Fixed2, 0, 10, 1, 'n', M_GD, CFG_Also::None,
     Click, false},
    {"UpDown_Limit_TPS_Snake", &C::Limit_TPS_Snake, CFG_Show::Plain, 1, 32, 1, 'o', M_GD, CFG_Also::None, Click,
     false},
    {"UpDown_Limit_TPS_Range_RPM", &C::Limit_TPS_Range_RPM, CFG_Show::Hundredths_Fixed2, 1, 199, 1, 0, M_GD,
     CFG_Also::None, Click, false},
    {"UpDown_Limit_RPM_Snake", &C::Limit_RPM_Snake, CFG_Show::Plain, 1, 32, 1, 'p', M_GD, CFG_Also::None, Click,
     false},
    {"UpDown_Limit_Temperature", &C::Limit_Temperature, CFG_Show::Plain, 200, 1000, 50, 'q', M_GD,
     CFG_Also::None, Click, false},
    {"UpDown_CFG_Cut_Off_Time", &C::Cut_Off_Time, CFG_Show::Plain, 100, 1000, 100, 's', M_GD, CFG_Also::None,
     Click, false},
    {"UpDown_CFG_Cut_Off_Volt", &C::Cut_Off_Volt, CFG_Show::Hundredths_Fixed2, 10, 500, 10, 't', M_GD,
     CFG_Also::None, Click, false},
    {"UpDown_CFG_Cut_Off_Factor", &C::Cut_Off_Factor, CFG_Show::Hundredths_Fixed2, 1, 199, 1, 's', M_Cfg,
     CFG_Also::None, Click, false},
    {"UpDown_CFG_ST_Set", &C::Service_Time, CFG_Show::Plain, 0, 32000, 1, 0, M_None, CFG_Also::None, Click, false},
    {"UpDown_CFG_Filter_TPS_Time", &C::Filter_TPS_Time, CFG_Show::Plain, 1, 255, 1, 0, M_None, CFG_Also::None,
     Click, false},
};

// Step sizes of the R.P.M. sensitivity: 1 below 10, 10 from 10 to 300, 50 above.
constexpr int Sensitiv_Fine_End = 10;
constexpr int Sensitiv_Coarse_Start = 300;
constexpr int Sensitiv_Step_Fine = 1, Sensitiv_Step_Middle = 10, Sensitiv_Step_Coarse = 50;

// Idle-run calibration: the period word counts 4 us ticks; 0 and 0xFFFF mean no engine.
constexpr int32_t Period_Engine_Off = 0xFFFF;
constexpr double Idle_Div_Numerator = 15000000.0;
constexpr int64_t Source_Rounding = 1000;

// Service time: hours on the page, minutes in the controller.
constexpr int32_t Minutes_Per_Hour = 60;

// Letters and codes of the switches.
// The two gas-temperature influence factors a gas kind starts from.
constexpr int32_t TempGas_Factor_LPG = 10, TempGas_Factor_CNG = 20;

// The setting group of the RPM-dependence table.
constexpr int Group_RPM_Table = 10;

std::string Value_Text(CFG_Show Show, int32_t V)
{
    switch (Show) {
    case CFG_Show::Plain: return std::to_string(V);
    case CFG_Show::Tenths: return Format_General(V / 10.0, 10);
    case CFG_Show::Tenths_Fixed1: return Format_Fixed(V / 10.0, 4, 1);
    case CFG_Show::Hundredths: return Format_General(V / 100.0, 10);
    case CFG_Show::Hundredths_Fixed2: return Format_Fixed(V / 100.0, 3, 2);
    case CFG_Show::Thousandths: return Format_General(V / 1000.0, 10);
    case CFG_Show::PWM_Freq: return PWM_Freq_Text();
    }
    return std::to_string(V);
}

std::string Edit_Name_Of(const std::string& UpDown_Name)
{
    return "Edit_" + UpDown_Name.substr(UpDown_Name.find('_') + 1);
}

template <class T>
T* Find_Named(const TControl* Anchor, const std::string& Name)
{
    return Anchor && Anchor->Owner() ? dynamic_cast<T*>(Anchor->Owner()->Find_Component_Deep(Name)) : nullptr;
}

}  // namespace

bool UpDown_Arrow_Step(std::uint16_t Key, TUpDown* UpDown)
{
    if (!UpDown || (Key != VK_UP && Key != VK_DOWN))
        return false;
    const int Low = std::min(UpDown->Min(), UpDown->Max());
    const int High = std::max(UpDown->Min(), UpDown->Max());
    const int Old = UpDown->Position();
    const int Next = std::clamp(Old + (Key == VK_UP ? 1 : -1), Low, High);
    if (Next == Old)
        return false;
    UpDown->Position(Next);
    return true;
}

// ---------------------------------------------------------------- binding

void Main_Form_Configuration::CFG_Edit_Bind(TForm_KardunGAS& Form)
{
    CFG_Form = &Form;
    Value_Bindings.clear();
    for (const CFG_Value_Spec& S : Value_Table) {
        auto* U = Find_Named<TUpDown>(Panel_CFG_Options, S.UpDown);
        if (!U)
            continue;
        auto* E = Find_Named<TEdit>(Panel_CFG_Options, Edit_Name_Of(S.UpDown));
        // A scaled value is shown by its apply routine: the up-down does not write its
        // plain position into the edit, and the edit's arrows are its own key handler's.
        if (S.Show != CFG_Show::Plain && U->Associate() == E)
            U->Associate(nullptr);
        // The ranges before the handlers: clamping now changes nothing in the record.
        U->Min(S.Min);
        U->Max(S.Max);
        U->Increment(S.Increment);
        if (E)
            E->ReadOnly(true);
        Value_Bindings.push_back({&S, U, E});
    }
    for (size_t I = 0; I < Value_Bindings.size(); ++I) {
        const CFG_Value_Binding& B = Value_Bindings[I];
        switch (B.Spec->Source) {
        case CFG_Source::Click:
            B.UpDown->OnClick = [this, I](TObject*, TUD_Button) { CFG_Value_Apply(Value_Bindings[I]); };
            break;
        case CFG_Source::Edit_Change:
            if (B.Edit)
                B.Edit->OnChange = [this, I](TObject*) {
                    // The text is the up-down's; anything else (not an integer, out of
                    // range) takes the up-down's position, so 0 is never stored.
                    // A record being shown is not changed by its own texts (a file's
                    // value outside the range stays as it is).
                    if (!UI_Ready)
                        return;
                    const CFG_Value_Binding& R = Value_Bindings[I];
                    int32_t V = 0;
                    if (!Key_File_Text_To_Int(R.Edit->Text(), V) || V < R.Spec->Min || V > R.Spec->Max) {
                        // Shown as stored; the edit's change comes back here with it.
                        R.Edit->Text(std::to_string(R.UpDown->Position()));
                        return;
                    }
                    CFG_Value_Store(R, V);
                };
            break;
        case CFG_Source::Special:
        case CFG_Source::Range_Only: break;
        }
        if (B.Spec->Arrow_Keys && B.Edit)
            B.Edit->OnKeyDown = [this, I](TObject*, std::uint16_t& Key, TShiftState) {
                if (UpDown_Arrow_Step(Key, Value_Bindings[I].UpDown))
                    CFG_Value_Apply(Value_Bindings[I]);
            };
    }
    RPM_Sensitiv.UpDown->OnClick = [this](TObject*, TUD_Button B) { UpDown_CFG_RPM_SensitivClick(B); };
    PG_Temper.UpDown->OnClick = [this](TObject*, TUD_Button) { Vaporizer_Temperature_Click(false); };
    GP_TempVap.UpDown->OnClick = [this](TObject*, TUD_Button) { Vaporizer_Temperature_Click(true); };
    // These two do not step by the keys: the arrow re-applies the position in its
    // direction (the sensitivity's step size may change on the way).
    RPM_Sensitiv.Edit->OnKeyDown = [this](TObject*, std::uint16_t& Key, TShiftState) {
        if (Key == VK_UP || Key == VK_DOWN)
            UpDown_CFG_RPM_SensitivClick(Key == VK_UP ? TUD_Button::Up : TUD_Button::Down);
    };
    Inject_PWM_Freq.Edit->OnKeyDown = [this](TObject*, std::uint16_t& Key, TShiftState) {
        if (Key == VK_UP || Key == VK_DOWN)
            CFG_Value_Apply("UpDown_CFG_Inject_PWM_Freq");
    };
    Button_CFG_RPM_IdleRun->OnClick = [this](TObject*) { Button_CFG_RPM_IdleRunClick(); };
    CheckBox_CFG_PG_Preheating->OnEnter = [this](TObject*) { Label_CFG_PG_Preheating->Visible(true); };
    Button_CFG_ST_Clr->OnClick = [this](TObject*) { Button_CFG_ST_ClrClick(); };
    Button_CFG_ST_Set->OnClick = [this](TObject*) { Button_CFG_ST_SetClick(); };
    CFG_Switches_Bind();
}

const Main_Form_Configuration::CFG_Value_Binding* Main_Form_Configuration::CFG_Value_Find(
    const std::string& UpDown_Name) const
{
    for (const CFG_Value_Binding& B : Value_Bindings)
        if (UpDown_Name == B.Spec->UpDown)
            return &B;
    return nullptr;
}

// ---------------------------------------------------------------- the edit cycle

void Main_Form_Configuration::CFG_Value_Apply(const std::string& UpDown_Name)
{
    if (const CFG_Value_Binding* B = CFG_Value_Find(UpDown_Name))
        CFG_Value_Apply(*B);
}

void Main_Form_Configuration::CFG_Value_Apply(const CFG_Value_Binding& Row)
{
    CFG_Value_Store(Row, Row.UpDown->Position());
}

void Main_Form_Configuration::CFG_Value_Store(const CFG_Value_Binding& Row, int32_t Value)
{
    const CFG_Value_Spec& S = *Row.Spec;
    Configuration_Class& Cfg = Configuration;
    if (S.Field)
        Cfg.*S.Field = Value;
    if (Row.Edit && S.Source != CFG_Source::Edit_Change)
        Row.Edit->Text(Value_Text(S.Show, Value));
    switch (S.Also) {
    case CFG_Also::None: break;
    case CFG_Also::PG_Pressure_Cross:
        if (Cfg.GP_PressDiff_Low > Cfg.PG_PressDiff - 1) {
            GP_PressDiff_Low.UpDown->Position(Cfg.PG_PressDiff - 1);
            GP_PressDiff_Low_Apply();
        }
        break;
    case CFG_Also::GP_PressDiff_Low_Cross:
        if (Cfg.GP_PressDiff_Low > Cfg.PG_PressDiff - 1) {
            PG_Pressure.UpDown->Position(Cfg.GP_PressDiff_Low + 1);
            PG_Pressure_Apply();
        }
        break;
    case CFG_Also::MAP_Type: MAP_Type_Detect(); break;
    case CFG_Also::Start_Both: Cfg.GI_Start_2 = Cfg.GI_Start_S; break;
    case CFG_Also::Duty: PWM_Duty_Set(Value); break;
    case CFG_Also::Duty_Kept: PWM_Duty_Set(Inject_PWM_DutyCycle.UpDown->Position()); break;
    case CFG_Also::Inject_Num:
        if (CFG_Form)
            Inject_Num_Apply(*CFG_Form);
        break;
    case CFG_Also::Virtual_Labels: Injection_Bar_Labels_Show(); break;
    case CFG_Also::Limits_DiffPress:
        Infl_DiffPress_S_Limits();
        Infl_DiffPress_B_Limits();
        break;
    case CFG_Also::Limits_DiffPress_S: Infl_DiffPress_S_Limits(); break;
    case CFG_Also::Limits_DiffPress_B: Infl_DiffPress_B_Limits(); break;
    case CFG_Also::Limits_TempGas:
        Infl_TempGas_S_Limits();
        Infl_TempGas_B_Limits();
        break;
    case CFG_Also::Limits_TempGas_S: Infl_TempGas_S_Limits(); break;
    case CFG_Also::Limits_TempGas_B: Infl_TempGas_B_Limits(); break;
    case CFG_Also::Limits_Power: Infl_Power_Limits(); break;
    }
    if (S.Code != 0 && CFG_Form)
        CFG_Form->CFG_Parameter_Changed(S.Code);
    if (S.Mark == CFG_Mark::Configuration)
        Mark_Changed_Configuration();
    else if (S.Mark == CFG_Mark::GD)
        Mark_Changed_GD_Options();
}

// ---------------------------------------------------------------- special values

void Main_Form_Configuration::UpDown_CFG_RPM_SensitivClick(TUD_Button Button)
{
    TUpDown* U = RPM_Sensitiv.UpDown;
    const bool Up = Button == TUD_Button::Up;
    if (U->Position() == Sensitiv_Fine_End)
        U->Increment(Up ? Sensitiv_Step_Middle : Sensitiv_Step_Fine);
    else if (U->Position() == Sensitiv_Coarse_Start)
        U->Increment(Up ? Sensitiv_Step_Coarse : Sensitiv_Step_Middle);
    RPM_Sensitiv_Apply();
}

void Main_Form_Configuration::RPM_Sensitiv_Apply()
{
    CFG_Value_Apply("UpDown_CFG_RPM_Sensitiv");
    // The sweep window, when open, follows the page.
    if (Button_CFG_RPM_set->Down() && Form_RPM) {
        Form_RPM->UpDown_RPM_Sensitiv->Increment(RPM_Sensitiv.UpDown->Increment());
        Form_RPM->UpDown_RPM_Sensitiv->Position(RPM_Sensitiv.UpDown->Position());
        Form_RPM->Edit_RPM_Sensitiv->Text(Value_Text(CFG_Show::Hundredths, Configuration.RPM_Sensitiv));
    }
}

void Main_Form_Configuration::Vaporizer_Temperature_Click(bool Gas_To_Petrol)
{
    TUpDown* Own = Gas_To_Petrol ? GP_TempVap.UpDown : PG_Temper.UpDown;
    TUpDown* Other = Gas_To_Petrol ? PG_Temper.UpDown : GP_TempVap.UpDown;
    // Pushed away by its own step; at its range end it stays (the control clamps).
    if (Own->Position() == Other->Position())
        Other->Position(Other->Position() + (Gas_To_Petrol ? Other->Increment() : -Other->Increment()));
    Configuration.PG_TempVap = PG_Temper.UpDown->Position();
    Configuration.GP_TempVap = GP_TempVap.UpDown->Position();
    PG_Temper.Edit->Text(std::to_string(Configuration.PG_TempVap));
    GP_TempVap.Edit->Text(std::to_string(Configuration.GP_TempVap));
    if (CFG_Form)
        CFG_Form->CFG_Parameter_Changed(Gas_To_Petrol ? 'R' : 'I');
    Mark_Changed_Configuration();
}

void Main_Form_Configuration::Button_CFG_RPM_IdleRunClick()
{
    const int32_t P = Live_Values.Live_Word_24;
    // Without a running engine there is no period to calibrate against: nothing changes.
    if (!Connected || P == 0 || P == Period_Engine_Off) {
        Show_Message(Message_Type::Language_Key, "Error_Engine_off", clRed);
        return;
    }
    Configuration_Class& Cfg = Configuration;
    Cfg.RPM_Idle_Run = RPM_IdleRun.UpDown->Position();
    const int64_t Source = static_cast<int64_t>(Cfg.RPM_Idle_Run) * P / Source_Rounding * Source_Rounding;
    Cfg.RPM_Source = static_cast<uint32_t>(Source);
    Cfg.RPM_Div = Cfg.RPM_Idle_Run == 0 ? Float_To_Int(1.0)
                                        : Float_To_Int(Idle_Div_Numerator / Cfg.RPM_Idle_Run / P + 0.5);
    RPM_Source.Edit->Text(std::to_string(Cfg.RPM_Source));
    Set_Default_Curve(CLB_Curve_Id::RPM);
    if (CFG_Form) {
        CFG_Form->Draw_Calibration_Chart();
        CFG_Form->CFG_Transmit();
        // The calibration is done: the compact window it may have been started from (the
        // R.P.M. source view lends this button) closes and gives its controls back.
        CFG_Form->MiniCFG_Close();
    }
}

// ---------------------------------------------------------------- service time

void Main_Form_Configuration::Button_CFG_ST_ClrClick()
{
    Configuration.Service_Time = 0;
    Configuration.Service_Time_Cnt = 0;
    if (auto* U = Find_Named<TUpDown>(Panel_CFG_Options, "UpDown_CFG_ST_Set"))
        U->Position(0);
    if (auto* L = Find_Named<TLabel>(Panel_CFG_Options, "Label_CFG_ST_Remains_Hours"))
        L->Caption("0");
    Ask_Request(Request_Service_Time_Write);
    Remove_Status_Message(Language_Text("ST_Message_Din_Indic"));
}

void Main_Form_Configuration::Button_CFG_ST_SetClick()
{
    Configuration.Service_Time_Cnt = Configuration.Service_Time * Minutes_Per_Hour;
    if (auto* L = Find_Named<TLabel>(Panel_CFG_Options, "Label_CFG_ST_Remains_Hours"))
        L->Caption(Format_Fixed(Configuration.Service_Time_Cnt / static_cast<double>(Minutes_Per_Hour), 8, 2));
    Ask_Request(Request_Service_Time_Write);
    Remove_Status_Message(Language_Text("ST_Message_Din_Indic"));
}

// ---------------------------------------------------------------- switches

namespace {

// A check box or radio button: its field (taken from the checked state, or its opposite),
// the code it sends and its colouring, and what follows the store.
struct CFG_Switch_Spec {
    const char* Control;
    bool Configuration_Class::*Field;
    bool Inverted;
    uint8_t Code;
    CFG_Mark Mark;
    void (*Then)(Main_Form_Configuration& Page, bool Checked);
};

void Enable_Pair(TControl* Anchor, const char* Edit, const char* UpDown, bool On)
{
    for (const char* Name : {Edit, UpDown})
        if (auto* C = Find_Named<TControl>(Anchor, Name))
            C->Enabled(On);
}

const CFG_Switch_Spec Switch_Table[] = {
    {"CheckBox_CFG_PG_Preheating", &C::PG_Preheating_ON, false, Code_Switches, M_Cfg,
     [](Main_Form_Configuration& P, bool On) {
         Enable_Pair(P.Panel_CFG_Options, "Edit_CFG_PG_Preheating", "UpDown_CFG_PG_Preheating", On);
     }},
    {"CheckBox_CFG_GP_Buzzer", &C::GP_Buzzer_ON, false, Code_Switches, M_Cfg, nullptr},
    {"CheckBox_CFG_Inject_Auto", &C::GI_AutoTempGas_ON, false, Code_Switches, M_Cfg,
     [](Main_Form_Configuration& P, bool On) {
         Enable_Pair(P.Panel_CFG_Options, "Edit_CFG_Inject_Auto", "UpDown_CFG_Inject_Auto", On);
     }},
    {"CheckBox_CFG_Sensor_OFF", &C::Sensor_OFF, false, Code_Switches, M_Cfg,
     [](Main_Form_Configuration& P, bool On) { P.Sensor_Controls_Enable(!On); }},
    {"RadioButton_CFG_Check_Sensors1", &C::Check_Sensors_ON, false, Code_Switches, M_Cfg, nullptr},
    {"RadioButton_CFG_Check_Sensors2", &C::Check_Sensors_ON, true, Code_Switches, M_Cfg, nullptr},
    {"CheckBox_CFG_Level_Invert", &C::GL_Invert_ON, false, Code_Level, M_None,
     [](Main_Form_Configuration& P, bool) { P.Level_Leds_Show(); }},
    {"CheckBox_CFG_Level_90", &C::GL_90_ON, false, Code_Level, M_None, nullptr},
    {"CheckBox_CFG_Level_Low", &C::GL_Buzzer_ON, false, Code_Level, M_None, nullptr},
    {"CheckBox_Limit_RPM_ON", &C::Limit_RPM_ON, false, Code_Switches, M_GD,
     [](Main_Form_Configuration& P, bool On) { P.Limit_RPM_Group_Enable(On); }},
    {"CheckBox_Limit_TPS_ON", &C::Limit_TPS_ON, false, Code_Switches, M_GD,
     [](Main_Form_Configuration& P, bool On) { P.Limit_TPS_Group_Enable(On); }},
    {"CheckBox_Limit_Temperature_ON", &C::Limit_Temperature_ON, false, Code_Switches, M_GD,
     [](Main_Form_Configuration& P, bool On) { P.Limit_Temperature_Group_Enable(On); }},
    {"CheckBox_DS_Correction_ON", &C::DS_Correction_ON, false, Code_Switches, M_GD,
     [](Main_Form_Configuration& P, bool On) {
         P.DS_Group_Enable(On);
         if (auto* Rpm = Find_Named<TCheckBox>(P.Panel_CFG_Options, "CheckBox_DS_Correction_ON_rpm"))
             Rpm->Checked(On);
     }},
    {"CheckBox_CFG_Cut_Off_ON", &C::Cut_Off_ON, false, Code_Switches, M_GD,
     [](Main_Form_Configuration& P, bool On) { P.Cut_Off_Group_Enable(On); }},
    {"RadioButton_CFG_Cut_Off_Rising", &C::Cut_Off_Edge, false, Code_Switches, M_GD,
     [](Main_Form_Configuration& P, bool) {
         if (auto* U = Find_Named<TUpDown>(P.Panel_CFG_Options, "UpDown_CFG_Cut_Off_Time"))
             Configuration.Cut_Off_Time = U->Position();
     }},
    {"RadioButton_CFG_Cut_Off_Falling", &C::Cut_Off_Edge, true, Code_Switches, M_GD,
     [](Main_Form_Configuration& P, bool) {
         if (auto* U = Find_Named<TUpDown>(P.Panel_CFG_Options, "UpDown_CFG_Cut_Off_Time"))
             Configuration.Cut_Off_Time = U->Position();
     }},
    {"CheckBox_CFG_Injection_Type_Virtual", &C::Virtual_Injection_ON, false, 0, M_None,
     [](Main_Form_Configuration& P, bool On) { P.Virtual_Injection_Show(On); }},
};

// Caption labels that toggle their check box (or check their radio button) by a click.
struct Caption_Toggle {
    const char* Label;
    const char* Control;
};
const Caption_Toggle Caption_Toggles[] = {
    {"Label_CFG_PG_Preheating", "CheckBox_CFG_PG_Preheating"},
    {"Label_CFG_GP_Buzzer", "CheckBox_CFG_GP_Buzzer"},
    {"Label_CFG_Inject_Auto", "CheckBox_CFG_Inject_Auto"},
    {"Label_CFG_Sensor_OFF", "CheckBox_CFG_Sensor_OFF"},
    {"Label_CFG_Level_Invert", "CheckBox_CFG_Level_Invert"},
    {"Label_CFG_Level_Low", "CheckBox_CFG_Level_Low"},
    {"LabelCFG_Level_90", "CheckBox_CFG_Level_90"},
    {"Label_Limit_RPM_ON", "CheckBox_Limit_RPM_ON"},
    {"Label_Limit_TPS_ON", "CheckBox_Limit_TPS_ON"},
    {"Label_DS_Correction_ON", "CheckBox_DS_Correction_ON"},
    {"Label_DS_Correction_ON_Help", "CheckBox_DS_Correction_ON"},
    {"Label_CFG_Injection_Type_Virtual", "CheckBox_CFG_Injection_Type_Virtual"},
    {"Label_CFG_Cut_Off_ON", "CheckBox_CFG_Cut_Off_ON"},
    {"Label_CFG_Cut_Off_Rising", "RadioButton_CFG_Cut_Off_Rising"},
    {"Label_CFG_Cut_Off_Falling", "RadioButton_CFG_Cut_Off_Falling"},
    {"RadioGroup_CFG_Check_Sensors1", "RadioButton_CFG_Check_Sensors1"},
    {"RadioGroup_CFG_Check_Sensors2", "RadioButton_CFG_Check_Sensors2"},
    {"Label_CFG_LPG", "RadioButton_CFG_LPG"},
    {"Label_CFG_CNG", "RadioButton_CFG_CNG"},
};

}  // namespace

void Main_Form_Configuration::CFG_Switches_Bind()
{
    for (const CFG_Switch_Spec& S : Switch_Table) {
        TControl* Control = Find_Named<TControl>(Panel_CFG_Options, S.Control);
        auto* Box = dynamic_cast<TCheckBox*>(Control);
        auto* Radio = dynamic_cast<TRadioButton*>(Control);
        if (!Box && !Radio)
            continue;
        Control->OnClick = [this, &S, Box, Radio](TObject*) {
            const bool Checked = Box ? Box->Checked() : Radio->Checked();
            Configuration.*S.Field = S.Inverted ? !Checked : Checked;
            if (S.Then)
                S.Then(*this, Checked);
            if (S.Code != 0 && CFG_Form)
                CFG_Form->CFG_Parameter_Changed(S.Code);
            if (S.Mark == CFG_Mark::Configuration)
                Mark_Changed_Configuration();
            else if (S.Mark == CFG_Mark::GD)
                Mark_Changed_GD_Options();
        };
    }
    // The gas kind: the record changes only by the user; a change by code is still marked.
    for (TRadioButton* Radio : {RadioButton_CFG_LPG, RadioButton_CFG_CNG})
        Radio->OnClick = [this, Radio](TObject*) {
            const bool LPG = Radio == RadioButton_CFG_LPG;
            if (UI_Ready) {
                Configuration.LPG_on = LPG ? Radio->Checked() : !Radio->Checked();
                // The kind's factors go through their up-downs and apply routines, so they
                // are marked for sending like a step of the user.
                if (Radio->Checked()) {
                    const int32_t F = LPG ? TempGas_Factor_LPG : TempGas_Factor_CNG;
                    Infl_TempGas_S.UpDown->Position(F);
                    Infl_TempGas_S_Apply();
                    Infl_TempGas_B.UpDown->Position(F);
                    Infl_TempGas_B_Apply();
                }
                if (CFG_Form)
                    CFG_Form->CFG_Parameter_Changed(Code_Switches);
            }
            Mark_Changed_Configuration();
        };
    for (const Caption_Toggle& T : Caption_Toggles) {
        auto* Label = Find_Named<TLabel>(Panel_CFG_Options, T.Label);
        TControl* Control = Find_Named<TControl>(Panel_CFG_Options, T.Control);
        if (!Label || !Control)
            continue;
        if (auto* Box = dynamic_cast<TCheckBox*>(Control))
            Label->OnClick = [Box](TObject*) { Box->Checked(!Box->Checked()); };
        else if (auto* Radio = dynamic_cast<TRadioButton*>(Control))
            Label->OnClick = [Radio](TObject*) {
                if (!Radio->Checked())
                    Radio->Checked(true);
            };
    }
    // The temperature limit's caption sets its box against the stored switch.
    if (auto* L = Find_Named<TLabel>(Panel_CFG_Options, "Label_Limit_Temperature"))
        if (auto* Box = Find_Named<TCheckBox>(Panel_CFG_Options, "CheckBox_Limit_Temperature_ON"))
            L->OnClick = [Box](TObject*) { Box->Checked(!Configuration.Limit_Temperature_ON); };
    if (auto* Rpm = Find_Named<TCheckBox>(Panel_CFG_Options, "CheckBox_DS_Correction_ON_rpm"))
        Rpm->OnClick = [this](TObject*) { CheckBox_DS_Correction_ON_rpmClick(); };
    // The TPS emulation combos are in the order of their nibbles: low and high nibble of
    // Emulation_TPS_Config_L, then of Emulation_TPS_Config_H.
    for (int Output = 0; Output < 4; ++Output)
        TPS_Combos()[static_cast<size_t>(Output)]->OnChange = [this, Output](TObject*) { TPS_Combo_Change(Output); };
    // A filter box sets the filter of the input its combo names; the boxes of combos naming the
    // same input follow. Nothing is marked for sending: the filters travel with the next transmit.
    for (size_t Output = 0; Output < 4; ++Output)
        TPS_Filter_Boxes()[Output]->OnClick = [this, Output](TObject*) {
            TPS_Filter_Set(TPS_Combos()[Output], TPS_Filter_Boxes()[Output]->Checked());
        };
}

void Main_Form_Configuration::CheckBox_DS_Correction_ON_rpmClick()
{
    auto* Rpm = Find_Named<TCheckBox>(Panel_CFG_Options, "CheckBox_DS_Correction_ON_rpm");
    if (!Rpm)
        return;
    const bool On = Rpm->Checked();
    if (auto* Box = Find_Named<TCheckBox>(Panel_CFG_Options, "CheckBox_DS_Correction_ON"))
        Box->Checked(On);
    auto* Label = Find_Named<TLabel>(Panel_CFG_Options, "Label_CFG_Depend");
    if (On) {
        if (Label)
            Label->Caption(Language_Text("Detonation"));
    } else {
        if (auto* Edit = Find_Named<TEdit>(Panel_CFG_Options, "Edit_CFG_Depend"))
            Edit->Text("0");
        if (Label)
            Label->Caption(Language_Text("Label_CFG_Depend"));
    }
    // The help beside the table follows the box only where the table is shown (the page's
    // group or the compact window's table view); elsewhere the table's showing sets it.
    const bool Table_Shown =
        Options_Current == Group_RPM_Table || Call_Hook(MiniCFG_View_Shown) == MiniCFG_View_RPM_Table;
    if (auto* Help = Find_Named<TLabel>(Panel_CFG_Options, "Label_DS_Correction_ON_Help"); Help && Table_Shown)
        Help->Visible(On);
}

void Main_Form_Configuration::TPS_Combo_Change(int Output)
{
    if (Output < 0 || Output >= 4)
        return;
    TComboBox* Combo = TPS_Combos()[static_cast<size_t>(Output)];
    const bool Has_Zero = Has_TPS_Zero();
    uint8_t& Byte = Output < 2 ? Configuration.Emulation_TPS_Config_L : Configuration.Emulation_TPS_Config_H;
    const int Shift = Output % 2 == 0 ? 0 : 4;
    const int Index = Combo->Items().IndexOf(Combo->Text());
    if (Index >= 0) {
        const uint8_t Code = TPS_Code_From_Index(Index, Has_Zero);
        Byte = static_cast<uint8_t>((Byte & ~(0x0F << Shift)) | ((Code & 0x0F) << Shift));
    } else {
        // Not one of its items: the combo shows the stored source again.
        const int Stored = TPS_Index_From_Code(static_cast<uint8_t>((Byte >> Shift) & 0x0F), Has_Zero);
        Combo->ItemIndex(Stored);
    }
    // The filter box beside the combo shows the filter of the input it now names.
    TPS_Filter_Boxes_Show();
}
