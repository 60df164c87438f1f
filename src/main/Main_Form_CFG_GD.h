// The Configuration page's controls of the gas-diesel options (detonation correction, TPS
// and R.P.M. limits, cut-off mode, exhaust temperature limit, cycle time, idle run, the
// virtual synchronisation pulse and the TPS emulation) and of the service time. The
// Configuration part is made of these controls; its routines that show, enable and mark
// them are declared with the part (Main_Form_Configuration.h) and built in
// Main_Form_CFG_GD.cpp and Main_Form_CFG_Service.cpp.
#pragma once

#include <array>

#include "main/Main_Form_CFG_Row.h"
#include "platform/ui/UI.h"

struct CFG_GD_Controls {
    // ---- the gas-diesel setting group ----
    TGroupBox* GroupBox_CFG_GasDiesel = nullptr;
    TGroupBox* GroupBox_CFG_Clock_Timer = nullptr;
    CFG_Value_Row Clock_Timer;   // Label_CFG_Clock_Timer, Edit_, UpDown_CFG_Clock_Timer
    TCheckBox* CheckBox_DS_Correction_ON = nullptr;
    TLabel* Label_DS_Correction_ON = nullptr;
    CFG_Value_Row DS_Timer, DS_High_Level, DS_High_Step;
    CFG_Value_Row Limit_Temperature;
    TCheckBox* CheckBox_Limit_Temperature_ON = nullptr;
    // Without the VAC input the limits show; with it the cut-off mode in their place.
    TPanel* Panel_CFG_GD_Limit = nullptr;
    TCheckBox* CheckBox_Limit_TPS_ON = nullptr;
    TLabel* Label_Limit_TPS_ON = nullptr;
    CFG_Value_Row Limit_TPS_Snake, Limit_TPS_Range_RPM;
    TCheckBox* CheckBox_Limit_RPM_ON = nullptr;
    TLabel* Label_Limit_RPM_ON = nullptr;
    CFG_Value_Row Limit_RPM_Snake;
    TPanel* Panel_CFG_GD_Cut_Off = nullptr;
    TCheckBox* CheckBox_CFG_Cut_Off_ON = nullptr;
    TLabel* Label_CFG_Cut_Off_ON = nullptr;
    TRadioButton* RadioButton_CFG_Cut_Off_Rising = nullptr;
    TRadioButton* RadioButton_CFG_Cut_Off_Falling = nullptr;
    TLabel* Label_CFG_Cut_Off_Rising = nullptr;
    TLabel* Label_CFG_Cut_Off_Falling = nullptr;
    CFG_Value_Row Cut_Off_Time, Cut_Off_Volt, Cut_Off_Factor;

    // ---- idle run (with the R.P.M. source) ----
    CFG_Value_Row RPM_IdleRun;   // Label_CFG_RPM_IdleRun, Edit_, UpDown_CFG_RPM_IdleRun

    // ---- beside the R.P.M.-dependence table ----
    TCheckBox* CheckBox_DS_Correction_ON_rpm = nullptr;
    TLabel* Label_DS_Correction_ON_Help = nullptr;

    // ---- the virtual synchronisation pulse (with the injection type) ----
    TCheckBox* CheckBox_CFG_Injection_Type_Virtual = nullptr;
    TLabel* Label_CFG_Injection_Type_Virtual = nullptr;
    CFG_Value_Row Injection_Type_Virtual;   // edit and up-down over the injection-type combo

    // ---- the TPS emulation setting group ----
    TGroupBox* GroupBox_CFG_Emulation_TPS = nullptr;
    // Over the group on models without the TPS emulation.
    TPanel* Panel_CFG_TPS_not_exist = nullptr;
    TLabel* Label_CFG_TPS_Inputs = nullptr;
    TLabel* Label_CFG_TPS_Outputs = nullptr;
    TLabel* Label_CFG_Filter_TPS_ON = nullptr;
    TLabel* Label_CFG_TPS_Gas = nullptr;
    TLabel* Label_CFG_TPS_out_1 = nullptr;
    TLabel* Label_CFG_TPS_out_2 = nullptr;
    TLabel* Label_CFG_TPS_out_3 = nullptr;
    TComboBox* ComboBox_CFG_TPS_Gas = nullptr;
    TComboBox* ComboBox_CFG_TPS_out_1 = nullptr;
    TComboBox* ComboBox_CFG_TPS_out_2 = nullptr;
    TComboBox* ComboBox_CFG_TPS_out_3 = nullptr;
    TCheckBox* CheckBox_CFG_Filter_Out_0 = nullptr;
    TCheckBox* CheckBox_CFG_Filter_Out_1 = nullptr;
    TCheckBox* CheckBox_CFG_Filter_Out_2 = nullptr;
    TCheckBox* CheckBox_CFG_Filter_Out_3 = nullptr;
    CFG_Value_Row Filter_TPS_Time;

    // ---- service time ----
    CFG_Value_Row ST_Set;   // Label_CFG_ST_Set, Edit_, UpDown_CFG_ST_Set (hours)
    TLabel* Label_CFG_ST_Remains = nullptr;
    TLabel* Label_CFG_ST_Remains_Hours = nullptr;

    // The four TPS combos in their order (gas, out 1, out 2, out 3) and the filter box of
    // the same place.
    std::array<TComboBox*, 4> TPS_Combos() const
    {
        return {ComboBox_CFG_TPS_Gas, ComboBox_CFG_TPS_out_1, ComboBox_CFG_TPS_out_2,
                ComboBox_CFG_TPS_out_3};
    }
    std::array<TCheckBox*, 4> TPS_Filter_Boxes() const
    {
        return {CheckBox_CFG_Filter_Out_0, CheckBox_CFG_Filter_Out_1, CheckBox_CFG_Filter_Out_2,
                CheckBox_CFG_Filter_Out_3};
    }
};
