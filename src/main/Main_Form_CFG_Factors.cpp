// Configuration page, influence factors: Clear and Default of the five factors, and the
// two buttons they share with the RPM-dependence table.
#include <cstdint>

#include "data/Call_Hook.h"
#include "data/Configuration.h"
#include "main/Main_Form.h"
#include "main/Main_Form_Configuration.h"

namespace {

// The setting groups and the compact window's view the two buttons serve.
constexpr int Group_RPM_Table = 10;
constexpr int Group_Factors = 11;

// A factor's up-down with the value Default gives it.
struct Factor_Default {
    CFG_Value_Row Main_Form_Configuration::*Row;
    void (Main_Form_Configuration::*Apply)();
    int32_t Default;
};
// In the order they are set: the last one applied is the letter a send-now remembers.
const Factor_Default Factor_Defaults[] = {
    {&Main_Form_Configuration::Infl_DiffPress_S, &Main_Form_Configuration::Infl_DiffPress_S_Apply, 50},
    {&Main_Form_Configuration::Infl_DiffPress_B, &Main_Form_Configuration::Infl_DiffPress_B_Apply, 30},
    {&Main_Form_Configuration::Infl_TempGas_S, &Main_Form_Configuration::Infl_TempGas_S_Apply, 10},
    {&Main_Form_Configuration::Infl_TempGas_B, &Main_Form_Configuration::Infl_TempGas_B_Apply, 10},
    {&Main_Form_Configuration::Infl_Power, &Main_Form_Configuration::Infl_Power_Apply, 50},
};
// The gas-temperature factors of CNG.
constexpr int32_t TempGas_Factor_CNG = 20;

}  // namespace

void Main_Form_Configuration::Factors_Bind()
{
    Button_CFG_Infl_Clear->OnClick = [this](TObject*) { Button_CFG_Infl_ClearClick(); };
    Button_CFG_Infl_Default->OnClick = [this](TObject*) { Button_CFG_Infl_DefaultClick(); };
}

void Main_Form_Configuration::Infl_Clear()
{
    for (const Factor_Default& F : Factor_Defaults) {
        (this->*F.Row).UpDown->Position(0);
        (this->*F.Apply)();
    }
    Mark_Changed_Configuration();
}

void Main_Form_Configuration::Infl_Default()
{
    for (const Factor_Default& F : Factor_Defaults) {
        (this->*F.Row).UpDown->Position(F.Default);
        (this->*F.Apply)();
    }
    Mark_Changed_Configuration();
}

void Main_Form_Configuration::Button_CFG_Infl_ClearClick()
{
    // The compact window showing the table takes the buttons for the table alone, even
    // while the page shows the factors.
    const bool Table_In_MiniCFG = Call_Hook(MiniCFG_View_Shown) == MiniCFG_View_RPM_Table;
    if (Table_In_MiniCFG || Options_Current == Group_RPM_Table)
        Call_Hook(Table_Clear_All);
    else if (Options_Current == Group_Factors)
        Infl_Clear();
}

void Main_Form_Configuration::Button_CFG_Infl_DefaultClick()
{
    const bool Table_In_MiniCFG = Call_Hook(MiniCFG_View_Shown) == MiniCFG_View_RPM_Table;
    if (Table_In_MiniCFG || Options_Current == Group_RPM_Table) {
        Call_Hook(Table_Default);
    } else if (Options_Current == Group_Factors) {
        Infl_Default();
        if (!Configuration.LPG_on) {
            Infl_TempGas_S.UpDown->Position(TempGas_Factor_CNG);
            Infl_TempGas_S_Apply();
            Infl_TempGas_B.UpDown->Position(TempGas_Factor_CNG);
            Infl_TempGas_B_Apply();
        }
    }
}
