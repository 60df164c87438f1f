// The main window's captions, hints and fonts in the chosen language: the tables of
// Main_Form_Texts.h and the passes that apply them. All of it runs on the user-interface
// thread.
//
// Every pass opens its own load/release bracket; brackets nest (a service window re-texted
// or a message looked up during a pass keeps the pass's lists). A pass that forces English
// keeps the language it replaced in its own scope, so no pass leaves the language changed.
#include "main/Main_Form_Texts.h"

#include <string>

#include "data/Configuration.h"
#include "data/Globals.h"
#include "data/Settings.h"
#include "language/Language.h"
#include "language/Language_Fonts.h"
#include "main/Main_Form.h"
#include "protocol/Live_Data.h"
#include "windows/DTB_Window.h"
#include "windows/RPM_Window.h"

namespace {

constexpr int Configuration_Page = 1;
// The connection panel's colour while not connected.
constexpr TColor Not_Connected_Colour = clRed;
// Two lines of a label: line feed, then carriage return.
#define LINE_BREAK "\n\r"
#define DEGREE_C "\xB0" "C"

// ---------------------------------------------------------------- captions

const Text_Row Page_Captions[] = {
    {"TabSheet_General", nullptr, "F1 "},      {"TabSheet_Configuration", nullptr, "F2 "},
    {"TabSheet_Calibration", nullptr, "F3 "},  {"TabSheet_Oscilloscope", nullptr, "F4 "},
    {"TabSheet_Errors", nullptr, "F6 "},       {"TabSheet_Settings", nullptr, "F7 "},
    {"TabSheet_About", nullptr, "F8 "},
};

const Text_Row General_Captions[] = {
    {"Button_WorkMode"},
    {"Label_GEN_RPM"},
    {"Label_GEN_GAS"},
    {"Label_GEN_TPS"},
    {"Label_GEN_TempVap"},
    {"Label_GEN_TempGas"},
    {"Label_GEN_TempInside"},
    {"Label_GEN_TempCouple"},
    {"Label_GEN_Power"},
    {"Label_GEN_Detonation"},
    {"Label_GEN_GasLevel"},
    {"Label_GEN_PerCent"},
    {"Label_GEN_Temperature", "Label_GEN_Temp", "", " (" DEGREE_C ")"},
    {"Label_GEN_Pressure", "Label_GEN_Pressure", "", " (", "Dim_Bar_Long", ")"},
    {"Label_GEN_Voltage", "Label_GEN_Voltage", "", " (", "Dim_Volt_Short", ")"},
    {"Label_GEN_PressVap", "Label_GEN_PressureVap"},
    {"Label_GEN_PressColl", "Label_GEN_PressureCollector"},
    {"Label_GEN_PressDiff", "Label_GEN_PressureDifferent"},
};

// Up to the gas-type group: the RPM sensitivity window's texts follow these.
const Text_Row CFG_Captions_Before_Sweep[] = {
    {"GroupBox_CFG_SwitchPG"},
    {"GroupBox_CFG_RPM_Source"},
    {"Label_CFG_RPM_Source"},
    {"Label_CFG_RPM_Sensitiv"},
    {"Button_CFG_RPM_set"},
    {"Label_CFG_PG_Delay"},
    {"Label_CFG_PG_Yellow_Wire"},
    {"Label_CFG_PG_YW_Delay"},
    {"Label_CFG_PG_YW_Impulse"},
    {"GroupBox_CFG_SwitchGP"},
    {"Label_CFG_GP_Time"},
    {"RadioGroup_CFG_Check_Sensors"},
    {"GroupBox_CFG_Injection_Type"},
    {"CFG_Inject_Type_Start_Impuls"},
    {"Label_CFG_Inject_Type"},
    {"Label_CFG_Inject_Number"},
    {"Label_CFG_Inject_Range"},
    {"Label_CFG_Inject_Start"},
    {"Label_CFG_Inject_PWM"},
    {"Label_CFG_Inject_PWM_DutyCycle"},
    {"Label_CFG_Inject_PWM_Freq"},
    {"Label_CFG_Map_Type"},
    {"Label_CFG_PressureVap"},
    {"Label_CFG_PressureCol"},
    {"Label_CFG_Pressure_1_Bar"},
    {"Label_CFG_Level_Sensor_Current"},
    {"Label_CFG_Level_Current"},
    {"Label_CFG_Level_Etalon"},
    {"Button_CFG_LevelSensor_Clr"},
    {"Button_CFG_LevelSensor_Set"},
    {"GroupBox_CFG_GasType"},
};

const Text_Row CFG_Captions_After_Sweep[] = {
    {"GroupBox_CFG_Infl_Factor"},
    {"Label_CFG_Infl_Bigger"},
    {"Label_CFG_Infl_Smaller"},
    {"Label_CFG_Support"},
    {"GroupBox_CFG_DiffPress"},
    {"Label_CFG_Supp_DiffPress_Dim"},
    {"GroupBox_CFG_TempGas"},
    {"Label_CFG_Supp_TempGas_Dim"},
    {"GroupBox_CFG_Power"},
    {"Label_CFG_Supp_Power_Dim"},
    {"Button_CFG_Infl_Clear"},
    {"Button_CFG_Infl_Default"},
    {"GroupBox_CFG_Car"},
    {"Label_Car_Num"},
    {"Label_Car_Model"},
    {"Label_Car_Engine"},
    {"Label_Car_Jet"},
    {"GroupBox_CFG_Car_Date"},
    {"Label_Date_Current"},
    {"Label_Date_Save"},
    {"Label_Date_Mounting"},
    {"Button_CFG_User_New"},
    {"GroupBox_CFG_User"},
    {"Label_User_Name"},
    {"Label_User_Phone"},
    {"Label_User_Address"},
    {"GroupBox_CFG_Comments"},
    {"Button_CFG_User_Find"},
    {"Button_CFG_User_Find_Again"},
    {"Button_CFG_Clear_Comments"},
    {"Button_CFG_User_View"},
    {"Button_CFG_User_Password"},
    {"GroupBox_CFG_Service_Time"},
    {"Label_CFG_ST_Set"},
    {"Label_CFG_ST_Remains"},
    {"Button_CFG_ST_Clr"},
    {"Button_CFG_ST_Set"},
    {"Button_CFG_ST_Refresh"},
    // Captions made of other keys and letters.
    {"Button_CFG_Receiv", "Receive"},
    {"Button_CFG_Transmitt", "Transmit"},
    {"Button_CFG_Save", "Save"},
    {"Button_CFG_Load", "Load"},
    {"Button_CFG_Default", "Default"},
    {"Label_CFG_PG_Temper", nullptr, "", " >"},
    {"Label_CFG_PG_Pressure", nullptr, "", " >"},
    {"Label_CFG_PG_RPM", nullptr, "", " >"},
    {"Label_CFG_PG_Preheating", nullptr, "", " < 5"},
    {"Label_CFG_GP_TempVap", nullptr, "", " <"},
    {"Label_CFG_Inject_Auto", nullptr, "", " <"},
    {"Label_CFG_GP_PressDiff_Low", "Label_CFG_GP_Pressure", "", " <"},
    {"Label_CFG_GP_PressDiff_High", "Label_CFG_GP_Pressure", "", " >"},
    {"Label_CFG_GP_Buzzer", "CheckBox_CFG_GP_Buzzer"},
    {"Label_CFG_Sensor_OFF", "CheckBox_CFG_Sensor_OFF"},
    {"Label_CFG_Level_Invert", "CheckBox_CFG_Level_Invert"},
    {"Label_CFG_Level_Low", "CheckBox_CFG_Level_Low"},
    {"RadioGroup_CFG_Check_Sensors1", "RadioGroup_CFG_Check_Sensor_Din"},
    {"RadioGroup_CFG_Check_Sensors2", "RadioGroup_CFG_Check_Sensor_Stat"},
    {"GroupBox_CFG_Gas_Injectors", "GroupBox_CFG_Injection"},
    // Controls of the page named otherwise than their texts' keys.
    {"LabelCFG_Level_90", "CheckBox_CFG_Level_90"},
    {"GroupBox_CFG_Pressure_Sensor", "GroupBox_CFG_PressureSensor"},
    {"GroupBox_CFG_GasLevel_Sensor", "GroupBox_CFG_Gas_Level_Set"},
};

const Text_Row CLB_Captions[] = {
    {"Label_CLB_Temperature", "Label_GEN_Temp", "", " (" DEGREE_C ")"},
    {"Label_CLB_Pressure", "Label_GEN_Pressure", "", " (", "Dim_Bar_Long", ")"},
    {"Label_CLB_PressVap", "Label_GEN_PressureVap"},
    {"Label_CLB_PressColl", "Label_GEN_PressureCollector"},
    {"Label_CLB_PressDiff", "Label_GEN_PressureDifferent"},
    {"Button_CLB_Receiv", "Receive"},
    {"Button_CLB_Transmitt", "Transmit"},
    {"Button_CLB_Save", "Save"},
    {"Button_CLB_Load", "Load"},
    {"Button_CLB_Default", "Default"},
    {"Label_CLB_RPM", "Label_GEN_RPM", "", LINE_BREAK "(", "Dim_RPM_Short", ")"},
    {"Label_CLB_Gas", "Label_GEN_GAS", "", LINE_BREAK "(", "Dim_MS_Short", ")"},
    {"Label_CLB_TPS", "Label_GEN_TPS", "", LINE_BREAK "(", "Dim_Volt_Long", ")"},
    {"Label_CLB_Detonation", "Label_GEN_Detonation", "", " (", "Dim_Volt_Long", ")"},
    {"Label_CLB_TempVap", "Label_GEN_TempVap"},
    {"Label_CLB_TempGas", "Label_GEN_TempGas"},
    {"Label_CLB_TempCouple", "Label_GEN_TempCouple"},
    {"Label_CLB_Grid", "Grid"},
};

const Text_Row OSC_Captions[] = {
    {"GroupBox_OSC_RPM"},
    {"GroupBox_OSC_Injection"},
    {"GroupBox_OSC_Temperature"},
    {"GroupBox_OSC_Pressure"},
    {"GroupBox_OSC_Voltage"},
    {"Button_OSC_FromFile"},
    {"Button_OSC_Test_Drive"},
    {"Label_OSC_Step_Grid", "Grid"},
    {"Label_OSC_Scale_Sec", "Text_Sec"},
    {"Label_OSC_Scale_RPM", "Text_RPM"},
    {"Label_OSC_Scale_mls", "Text_mls"},
    {"Label_OSC_Scale_Degree", "Text_Degree"},
    {"Label_OSC_Scale_Bar", "Text_Bar"},
    {"Label_OSC_Scale_Volt", "Text_Volt"},
    {"Label_OSC_RPM", "CheckBox_OSC_RPM"},
    {"Label_OSC_Gas", "CheckBox_OSC_Gas"},
    {"Label_OSC_TPS", "CheckBox_OSC_TPS"},
    {"Label_OSC_TempVap", "CheckBox_OSC_TempVap"},
    {"Label_OSC_TempGas", "CheckBox_OSC_TempGas"},
    {"Label_OSC_Detonation", "CheckBox_OSC_Detonation"},
    {"Label_OSC_File_Both", "CheckBox_OSC_File_Both"},
    {"Label_OSC_PressDiff", "CheckBox_OSC_Differential"},
    {"Label_OSC_PressColl", "CheckBox_OSC_Collector"},
    {"Button_OSC_Record", "Record"},
    {"Button_OSC_Clear", "Clear"},
};

const Text_Row ERR_Captions[] = {
    {"Label_ERR_Current"},
    {"Label_ERR_CPU_Freq"},
    {"Label_ERR_CPU_Freq_Dim"},
    {"Label_ERR_Quartz_Freq_Err"},
    {"Button_ERR_Clear", "Clear"},
};

const Text_Row Settings_Captions[] = {
    {"GroupBox_Setup_Ports"},
    {"Label_Port_Name"},
    {"Label_Search_Port"},
    {"Button_Setup_Port"},
    {"GroupBox_Language"},
    {"Label_English_Menu"},
    {"Button_Setup_Font"},
    {"GroupBox_Reply_Delay"},
    {"GroupBox_Config_Files"},
    {"Button_INI_Save", "Save"},
    {"Button_INI_Load", "Load"},
    {"Button_INI_Default", "Default"},
    {"Label_SaveLoadData", "CheckBox_SaveLoadData", "", " (F2, F3)"},
    {"Label_Transmit_Now", "CheckBox_Transmit_Now", "", " (F2, F3)"},
    {"Label_Full_Screen", "CheckBox_Full_Screen"},
    {"Label_Form_Style", "CheckBox_Form_Style"},
    {"Label_Show_Hint", "CheckBox_Show_Hint"},
    {"Label_checkPassword", "CheckBox_checkPassword"},
    {"Label_Show_Auxiliary", "CheckBox_Show_Auxiliary"},
};

const Text_Row About_Captions[] = {
    {"Label_About_Ver"},
    {"Label_About_Date"},
    {"GroupBox_About_Work"},
    {"Label_About_Work_Gas"},
    {"Label_About_Work_Petrol"},
    {"GroupBox_About_HotKey"},
    {"GroupBox_About_Technic"},
    {"Button_About_Diagram"},
    {"Button_About_Help"},
    {"Button_HEX_Loader"},
    {"Label_About_F1", nullptr, "F1  - "},
    {"Label_About_F2", nullptr, "F2  - "},
    {"Label_About_F3", nullptr, "F3  - "},
    {"Label_About_F4", nullptr, "F4  - "},
    {"Label_About_F5", nullptr, "F5  - "},
    {"Label_About_F6", nullptr, "F6  - "},
    {"Label_About_F7", nullptr, "F7  - "},
    {"Label_About_F8", nullptr, "F8  - "},
    {"Label_About_F10", nullptr, "F10 - "},
    {"Label_About_Letter_H", nullptr, "\"H\" - "},
    {"Label_About_Letter_I", nullptr, "\"I\" - "},
    {"Label_About_Letter_F", nullptr, "\"F\" - "},
    {"Label_About_Letter_M", nullptr, "\"M\" - "},
    {"Label_About_Letter_S", nullptr, "\"S\" - "},
    {"Label_About_Letter_L", nullptr, "\"L\" - "},
    {"Label_About_Letter_D", nullptr, "\"D\" - "},
    {"Label_About_Letter_Z", nullptr, "\"Z\" - "},
    {"Label_About_Letter_X", nullptr, "\"X\" - "},
    {"Label_About_Letter_C", nullptr, "\"C\" - "},
    {"Label_About_Letter_V", nullptr, "\"V\" - "},
    {"Label_About_Letter_B", nullptr, "\"B\" - "},
    {"Label_About_Letter_N", nullptr, "\"N\" - "},
    {"Label_About_Letter_A", nullptr, "\"A\" or \"*\" - "},
    {"GroupBox_About_Select_CLB_Point", nullptr, "\"F3\" - "},
    {"Label_About_Letter_012345", nullptr, "\"0\", \"1\", \"2\", \"3\", \"4\", \"5\" - "},
    {"Label_About_Letter_P_1234", nullptr, "\"P\" + \"point\" - "},
    {"Label_About_Letter_O_1234", nullptr, "\"O\" + \"point\" - "},
    {"Label_About_Letter_Esc", nullptr, "\"Esc\" - "},
    {"Label_About_Arrow_Key", nullptr, "\"Arrow key\" - "},
    {"Label_About_Mouse_Left", nullptr, "\"Mouse left button\" - "},
    {"Label_About_Mouse_Right", nullptr, "\"Mouse right button\" - "},
    {"Label_About_Technic", "Label_Abou_Technic"},
};

const Text_Table Tables_Before_Sweep[] = {
    {"General", General_Captions},
    {"Configuration", CFG_Captions_Before_Sweep},
};

const Text_Table Tables_After_Sweep[] = {
    {"Configuration", CFG_Captions_After_Sweep},
    {"Calibration", CLB_Captions},
    {"Oscilloscope", OSC_Captions},
    {"Errors", ERR_Captions},
    {"Settings", Settings_Captions},
    {"About", About_Captions},
};

// ---------------------------------------------------------------- hints

const Text_Row Gas_Fors_Hints[] = {
    {"Button_Gas_Fors_All", nullptr, "\"A\" or \"*\" - "},
    {"Button_Gas_Fors1", nullptr, "\"Z\" - "},
    {"Button_Gas_Fors2", nullptr, "\"X\" - "},
    {"Button_Gas_Fors3", nullptr, "\"C\" - "},
    {"Button_Gas_Fors4", nullptr, "\"V\" - "},
    {"Button_Gas_Fors5", nullptr, "\"B\" - "},
    {"Button_Gas_Fors6", nullptr, "\"N\" - "},
    {"Button_WorkMode", nullptr, "\"M\" - "},
};

const Text_Row Hints[] = {
    {"Button_Select_ComPort"},
    {"Button_CLB_Save", nullptr, "\"S\" - "},
    {"Button_CLB_Load", nullptr, "\"L\" - "},
    {"Button_CLB_Default", nullptr, "\"D\" - "},
    {"Label_OSC_Scale_mls", "OSC_Max_Mls_Hint"},
    {"UpDown_OSC_Scale_mls", "OSC_Max_Mls_Hint"},
    {"Label_OSC_Scale_RPM", "OSC_Max_RPM_Hint"},
    {"UpDown_OSC_Scale_RPM", "OSC_Max_RPM_Hint"},
    {"Label_OSC_Scale_Bar", "OSC_Max_Bar_Hint"},
    {"UpDown_OSC_Scale_Bar", "OSC_Max_Bar_Hint"},
    {"Label_OSC_Scale_Degree", "OSC_Max_Deg_Hint"},
    {"UpDown_OSC_Scale_Degree", "OSC_Max_Deg_Hint"},
    {"Label_OSC_PressDiff", "OSC_View_PressDiff_Hint"},
    {"CheckBox_OSC_PressDiff", "OSC_View_PressDiff_Hint"},
    {"Label_OSC_PressColl", "OSC_View_PressColl_Hint"},
    {"CheckBox_OSC_PressColl", "OSC_View_PressColl_Hint"},
    {"Label_OSC_Detonation", "OSC_View_Detonation_Hint"},
    {"CheckBox_OSC_Detonation", "OSC_View_Detonation_Hint"},
    {"Label_OSC_Gas", "OSC_View_Gas_Hint"},
    {"CheckBox_OSC_Gas", "OSC_View_Gas_Hint"},
    {"Label_OSC_TPS", "OSC_View_TPS_Hint"},
    {"CheckBox_OSC_TPS", "OSC_View_TPS_Hint"},
    {"Label_OSC_TempGas", "OSC_View_DegGas_Hint"},
    {"CheckBox_OSC_TempGas", "OSC_View_DegGas_Hint"},
    {"Label_OSC_TempVap", "OSC_View_DegVap_Hint"},
    {"CheckBox_OSC_TempVap", "OSC_View_DegVap_Hint"},
    {"Label_OSC_RPM", "OSC_View_RPM_Hint"},
    {"CheckBox_OSC_RPM", "OSC_View_RPM_Hint"},
    {"CheckBox_OSC_View_Grid", "OSC_View_Grid_Hint"},
    {"TrackBar_OSC_Step_Grid", "OSC_Step_Grid_Hint"},
    {"Label_OSC_Scale_Sec", "OSC_Step_Grid_Hint"},
    {"Button_OSC_FromFile"},
    {"Button_OSC_Record"},
    {"Button_OSC_Test_Drive"},
    {"Button_OSC_StartStop", nullptr, "\"S\" - ", "", nullptr, "", true},
    {"Button_OSC_Clear"},
    {"CheckBox_OSC_Negativ_Degree", "OSC_Negativ_Degree_Hint"},
    {"Button_ERR_Clear"},
    {"Label_SaveLoadData", "Save_Load_Data_Hint"},
    {"CheckBox_SaveLoadData", "Save_Load_Data_Hint"},
    {"Label_Transmit_Now", "Transmit_Now_Hint"},
    {"CheckBox_Transmit_Now", "Transmit_Now_Hint"},
    {"Label_English_Menu", "English_Menu_Hint"},
    {"CheckBox_English_Menu", "English_Menu_Hint"},
    {"ComboBox_Language", "Language_Hint"},
    {"Label_Port_Name", "Port_Name_Hint"},
    {"Edit_Port_Name", "Port_Name_Hint"},
    {"Label_Search_Port", "Search_Port_Hint"},
    {"CheckBox_Search_Port", "Search_Port_Hint"},
    {"UpDown_Reply_Delay", "Reply_Delay_Hint"},
    {"Label_Full_Screen", "Full_Screen_Hint"},
    {"CheckBox_Full_Screen", "Full_Screen_Hint"},
    {"Label_Form_Style", "Form_Style_Hint"},
    {"CheckBox_Form_Style", "Form_Style_Hint"},
    {"Label_Show_Hint", "Show_Hint_Hint"},
    {"CheckBox_Show_Hint", "Show_Hint_Hint"},
    {"Label_checkPassword", "checkPassword_Hint"},
    {"CheckBox_checkPassword", "checkPassword_Hint"},
    {"Button_Setup_Font"},
    {"Button_Setup_Port"},
    {"Button_INI_Save", nullptr, "\"S\" - "},
    {"Button_INI_Load", nullptr, "\"L\" - "},
    {"Button_INI_Default", nullptr, "\"D\" - "},
    {"Button_About_Diagram", nullptr, "\"I\" - "},
    {"Button_About_Help", nullptr, "\"H\" - "},
};

const Text_Row CFG_Hints[] = {
    {"Button_CFG_Save", nullptr, "\"S\" - "},
    {"Button_CFG_Load", nullptr, "\"L\" - "},
    {"Button_CFG_Default", nullptr, "\"D\" - "},
    {"Panel_CFG_Options_List", "Options_List_Hint"},
    {"Label_CFG_PG_Temper", "PG_Temper_Hint"},
    {"UpDown_CFG_PG_Temper", "PG_Temper_Hint"},
    {"Label_CFG_PG_Pressure", "PG_Pressure_Hint"},
    {"UpDown_CFG_PG_Pressure", "PG_Pressure_Hint"},
    {"Label_CFG_PG_RPM", "PG_RPM_Hint"},
    {"UpDown_CFG_PG_RPM", "PG_RPM_Hint"},
    {"Label_CFG_PG_Delay", "PG_Delay_Hint"},
    {"UpDown_CFG_PG_Delay", "PG_Delay_Hint"},
    {"CheckBox_CFG_PG_Preheating", "PG_Preheating_Hint"},
    {"Label_CFG_PG_Preheating", "PG_Preheating_Hint"},
    {"Label_CFG_PG_Yellow_Wire", "PG_Yellow_Wire_Hint"},
    {"Label_CFG_GP_Buzzer", "GP_Buzzer_Hint"},
    {"CheckBox_CFG_GP_Buzzer", "GP_Buzzer_Hint"},
    {"Label_CFG_GP_PressDiff_Low", "GP_Pressure_Hint"},
    {"UpDown_CFG_GP_PressDiff_Low", "GP_Pressure_Hint"},
    {"Label_CFG_GP_PressDiff_High", "GP_Pressure_High_Hint"},
    {"UpDown_CFG_GP_PressDiff_High", "GP_Pressure_High_Hint"},
    {"Label_CFG_GP_TempVap", "GP_TempVap_Hint"},
    {"UpDown_CFG_GP_TempVap", "GP_TempVap_Hint"},
    {"Label_CFG_GP_Time", "GP_Time_Hint"},
    {"UpDown_CFG_GP_Time", "GP_Time_Hint"},
    {"Label_CFG_RPM_Source", "RPM_Source_Hint"},
    {"Label_CFG_RPM_Sensitiv", "RPM_Sensitiv_Hint"},
    {"UpDown_CFG_RPM_Sensitiv", "RPM_Sensitiv_Hint"},
    {"Button_CFG_RPM_set", "RPM_set_Hint"},
    {"ComboBox_CFG_Inject_Type", "Inject_Type_Hint"},
    {"Label_CFG_Inject_Type", "Inject_Type_Hint"},
    {"Label_CFG_Inject_Number", "Inject_Num_Hint"},
    {"UpDown_CFG_Inject_Num", "Inject_Num_Hint"},
    {"Label_CFG_Inject_Range", "Inject_Range_Hint"},
    {"UpDown_CFG_Inject_Range", "Inject_Range_Hint"},
    {"Label_CFG_Inject_Start", "Inject_Start_Hint"},
    {"UpDown_CFG_Inject_Start", "Inject_Start_Hint"},
    {"Label_CFG_Inject_PWM", "Inject_PWM_Hint"},
    {"Label_CFG_Inject_PWM_DutyCycle", "Inject_Duty_Hint"},
    {"UpDown_CFG_Inject_PWM_DutyCycle", "Inject_Duty_Hint"},
    {"Label_CFG_Inject_PWM_Freq", "Inject_Period_Hint"},
    {"UpDown_CFG_Inject_PWM_Freq", "Inject_Period_Hint"},
    {"CheckBox_CFG_Inject_Auto", "Inject_Auto_Hint"},
    {"Label_CFG_Inject_Auto", "Inject_Auto_Hint"},
    {"UpDown_CFG_Inject_Auto", "Inject_Auto_Hint"},
    {"ComboBox_CFG_Level_Type", "Level_Type_Hint"},
    {"Label_CFG_Level_Invert", "Level_Invert_Hint"},
    {"CheckBox_CFG_Level_Invert", "Level_Invert_Hint"},
    {"LabelCFG_Level_90", "Level_90_Hint"},
    {"CheckBox_CFG_Level_90", "Level_90_Hint"},
    {"Label_CFG_Level_Sensor_Current", "Level_Sensor_Current_Hint"},
    {"Label_CFG_Level_Current", "Level_Current_Hint"},
    {"Edit_CFG_Level_Current", "Level_Current_Hint"},
    {"Label_CFG_Level_Low", "Level_Low_Hint"},
    {"CheckBox_CFG_Level_Low", "Level_Low_Hint"},
    {"TrackBar_CFG_Level1", "Level_Hint"},
    {"TrackBar_CFG_Level2", "Level_Hint"},
    {"TrackBar_CFG_Level3", "Level_Hint"},
    {"TrackBar_CFG_Level4", "Level_Hint"},
    {"TrackBar_CFG_Level5", "Level_Hint"},
    {"Edit_CFG_Level1", "Level_Hint"},
    {"Edit_CFG_Level2", "Level_Hint"},
    {"Edit_CFG_Level3", "Level_Hint"},
    {"Edit_CFG_Level4", "Level_Hint"},
    {"Edit_CFG_Level5", "Level_Hint"},
    {"Label_CFG_Level_Etalon", "Level_Etalon_Hint"},
    {"Edit_CFG_Level_Etalon", "Level_Etalon_Hint"},
    {"UpDown_CFG_Level_Etalon", "Level_Etalon_Hint"},
    {"Button_CFG_LevelSensor_Clr"},
    {"Button_CFG_LevelSensor_Set"},
    {"ComboBox_CFG_Map_Type", "Map_Type_Hint"},
    {"Label_CFG_Map_Type", "Map_Type_Hint"},
    {"Label_CFG_Pressure_1_Bar", "Pressure_1_Bar_Hint"},
    {"Label_CFG_PressureVap", "PressureVap_Hint"},
    {"Label_CFG_PressureCol", "PressureCol_Hint"},
    {"UpDown_CFG_Pressure_1_Bar", "Pressure_1_Bar_Hint"},
    {"Label_CFG_LPG", "LPG_Hint"},
    {"Label_CFG_CNG", "CNG_Hint"},
    {"RadioGroup_CFG_Check_Sensors1", "Check_Sensors1_Hint"},
    {"RadioButton_CFG_Check_Sensors1", "Check_Sensors1_Hint"},
    {"RadioGroup_CFG_Check_Sensors2", "Check_Sensors2_Hint"},
    {"RadioButton_CFG_Check_Sensors2", "Check_Sensors2_Hint"},
    {"Label_CFG_Sensor_OFF", "Sensor_OFF_Hint"},
    {"CheckBox_CFG_Sensor_OFF", "Sensor_OFF_Hint"},
    {"Label_CFG_Support", "Support_Hint"},
    {"Label_CFG_Infl_Smaller", "Infl_Smaller_Hint"},
    {"Label_CFG_Infl_Bigger", "Infl_Bigger_Hint"},
    {"Label_CFG_Supp_DiffPress_Dim", "Supp_DiffPress_Hint"},
    {"UpDown_CFG_Supp_DiffPress", "Supp_DiffPress_Hint"},
    {"UpDown_CFG_Infl_DiffPress_B", "Infl_DiffPress_B_Hint"},
    {"UpDown_CFG_Infl_DiffPress_S", "Infl_DiffPress_S_Hint"},
    {"Label_CFG_Supp_TempGas_Dim", "Supp_TempGas_Hint"},
    {"UpDown_CFG_Supp_TempGas", "Supp_TempGas_Hint"},
    {"UpDown_CFG_Infl_TempGas_B", "Infl_TempGas_B_Hint"},
    {"UpDown_CFG_Infl_TempGas_S", "Infl_TempGas_S_Hint"},
    {"Label_CFG_Supp_Power_Dim", "Supp_Power_Hint"},
    {"UpDown_CFG_Supp_Power", "Supp_Power_Hint"},
    {"UpDown_CFG_Infl_Power", "Infl_Power_Hint"},
    {"Button_CFG_Infl_Clear", "Infl_Clear_Hint"},
    {"Button_CFG_Infl_Default", "Infl_Default_Hint"},
    {"Label_Car_Num", "Car_Num_Hint"},
    {"Label_Car_Model", "Car_Model_Hint"},
    {"Label_Car_Engine", "Car_Engine_Hint"},
    {"Label_Car_Jet", "Car_Jet_Hint"},
    {"Label_Date_Save", "Date_Save_Hint"},
    {"Label_Date_Mounting", "Date_Mounting_Hint"},
    {"GroupBox_CFG_Comments", "Car_Comments_Hint"},
    {"Memo_Car_Comments", "Car_Comments_Hint"},
    {"Label_User_Name", "User_Name_Hint"},
    {"Label_User_Phone", "User_Phone_Hint"},
    {"Label_User_Address", "User_Address_Hint"},
    {"Button_CFG_User_View", "User_View_Hint"},
    {"Button_CFG_Clear_Comments", "Clear_Comments_Hint"},
    {"Button_CFG_User_New", "User_New_Hint"},
    {"Button_CFG_User_Find_Again", "User_Find_Again_Hint"},
    {"Button_CFG_User_Find", "User_Find_Hint"},
    {"Edit_CFG_User_Find", "User_Find_Hint"},
    {"Button_CFG_User_Password", "User_Password_Hint"},
    {"Label_CFG_ST_Set", "ST_Hour_Hint"},
    {"Edit_CFG_ST_Set", "ST_Hour_Hint"},
    {"UpDown_CFG_ST_Set", "ST_Hour_Hint"},
    {"Label_CFG_ST_Remains", "ST_Remains_Hint"},
    {"Label_CFG_ST_Remains_Hours", "ST_Remains_Hint"},
    {"Button_CFG_ST_Clr", "ST_Clr_Hint"},
    {"Button_CFG_ST_Set", "ST_Set_Hint"},
    {"Button_CFG_ST_Refresh", "ST_Refresh_Hint"},
};

// The Transmit and Receive buttons: their hints end in the controller program's name; the
// Calibration page's follow the English menu.
struct Transmit_Hint_Row {
    const char* Control;
    const char* Prefix;
    bool Menu_Lookup;
};
const Transmit_Hint_Row Transmit_Hints[] = {
    {"Button_CFG_Transmitt", "\"T\" - ", false},
    {"Button_CFG_Receiv", "\"R\" - ", false},
    {"Button_CLB_Transmitt", "\"T\" - ", true},
    {"Button_CLB_Receiv", "\"R\" - ", true},
};

// ---------------------------------------------------------------- tool-tips and cursor

const char* const Show_Hint_Names[] = {
    "Button_Select_ComPort", "Button_CLB_Transmitt", "Button_CLB_Receiv", "Button_CLB_Save",
    "Button_CLB_Load", "Button_CLB_Default", "Label_OSC_Scale_mls", "UpDown_OSC_Scale_mls",
    "Label_OSC_Scale_RPM", "UpDown_OSC_Scale_RPM", "Label_OSC_Scale_Bar", "UpDown_OSC_Scale_Bar",
    "Label_OSC_Scale_Degree", "UpDown_OSC_Scale_Degree", "Label_OSC_PressDiff",
    "CheckBox_OSC_PressDiff", "Label_OSC_PressColl", "CheckBox_OSC_PressColl",
    "Label_OSC_Detonation", "CheckBox_OSC_Detonation", "Label_OSC_Gas", "CheckBox_OSC_Gas",
    "Label_OSC_TPS", "CheckBox_OSC_TPS", "Label_OSC_TempGas", "CheckBox_OSC_TempGas",
    "Label_OSC_TempVap", "CheckBox_OSC_TempVap", "Label_OSC_RPM", "CheckBox_OSC_RPM",
    "Label_OSC_Step_Grid", "CheckBox_OSC_View_Grid", "TrackBar_OSC_Step_Grid",
    "Label_OSC_Scale_Sec", "Button_OSC_FromFile", "Button_OSC_Record", "Button_OSC_Test_Drive",
    "Button_OSC_StartStop", "Button_OSC_Clear", "CheckBox_OSC_Negativ_Degree", "Button_ERR_Clear",
    "Label_SaveLoadData", "CheckBox_SaveLoadData", "Label_Transmit_Now", "CheckBox_Transmit_Now",
    "Label_English_Menu", "CheckBox_English_Menu", "ComboBox_Language", "Label_Port_Name",
    "Edit_Port_Name", "Label_Search_Port", "CheckBox_Search_Port", "UpDown_Reply_Delay",
    "Label_Full_Screen", "CheckBox_Full_Screen", "Label_Form_Style", "CheckBox_Form_Style",
    "Label_Show_Hint", "CheckBox_Show_Hint", "Label_checkPassword", "CheckBox_checkPassword",
    "Button_Setup_Font", "Button_Setup_Port", "Button_INI_Save", "Button_INI_Load",
    "Button_INI_Default", "Button_About_Diagram", "Button_About_Help",
};

const char* const Show_Hint_Option_Names[] = {
    "Panel_CFG_Options_List", "Button_Gas_Fors_All", "Button_Gas_Fors1", "Button_Gas_Fors2",
    "Button_Gas_Fors3", "Button_Gas_Fors4", "Button_Gas_Fors5", "Button_Gas_Fors6",
    "Button_WorkMode", "Button_CFG_Transmitt", "Button_CFG_Receiv", "Button_CFG_Save",
    "Button_CFG_Load", "Button_CFG_Default", "Label_CFG_PG_Temper", "UpDown_CFG_PG_Temper",
    "Label_CFG_PG_Pressure", "UpDown_CFG_PG_Pressure", "Label_CFG_PG_RPM", "UpDown_CFG_PG_RPM",
    "Label_CFG_PG_Delay", "UpDown_CFG_PG_Delay", "Label_CFG_PG_Preheating",
    "UpDown_CFG_PG_Preheating", "CheckBox_CFG_PG_Preheating", "Label_CFG_GP_Buzzer",
    "CheckBox_CFG_GP_Buzzer", "Label_CFG_GP_PressDiff_Low", "UpDown_CFG_GP_PressDiff_Low",
    "Label_CFG_GP_PressDiff_High", "UpDown_CFG_GP_PressDiff_High", "Label_CFG_GP_TempVap",
    "UpDown_CFG_GP_TempVap", "Label_CFG_GP_Time", "UpDown_CFG_GP_Time", "Label_CFG_RPM_Source",
    "Label_CFG_RPM_Sensitiv", "UpDown_CFG_RPM_Sensitiv", "Button_CFG_RPM_set",
    "ComboBox_CFG_Inject_Type", "Label_CFG_Inject_Type", "Label_CFG_Inject_Number",
    "UpDown_CFG_Inject_Num", "Label_CFG_Inject_Range", "UpDown_CFG_Inject_Range",
    "Label_CFG_Inject_Start", "UpDown_CFG_Inject_Start", "Label_CFG_Inject_PWM",
    "Label_CFG_Inject_PWM_DutyCycle", "UpDown_CFG_Inject_PWM_DutyCycle",
    "Label_CFG_Inject_PWM_Freq", "UpDown_CFG_Inject_PWM_Freq", "CheckBox_CFG_Inject_Auto",
    "Label_CFG_Inject_Auto", "UpDown_CFG_Inject_Auto", "ComboBox_CFG_Level_Type",
    "Label_CFG_Level_Invert", "CheckBox_CFG_Level_Invert", "LabelCFG_Level_90",
    "CheckBox_CFG_Level_90", "Label_CFG_Level_Sensor_Current", "Label_CFG_Level_Low",
    "CheckBox_CFG_Level_Low", "TrackBar_CFG_Level1", "TrackBar_CFG_Level2", "TrackBar_CFG_Level3",
    "TrackBar_CFG_Level4", "TrackBar_CFG_Level5", "Edit_CFG_Level1", "Edit_CFG_Level2",
    "Edit_CFG_Level3", "Edit_CFG_Level4", "Edit_CFG_Level5", "Label_CFG_Level_Etalon",
    "Edit_CFG_Level_Etalon", "UpDown_CFG_Level_Etalon", "Button_CFG_LevelSensor_Clr",
    "Button_CFG_LevelSensor_Set", "Label_CFG_Map_Type", "ComboBox_CFG_Map_Type",
    "Label_CFG_Pressure_1_Bar", "UpDown_CFG_Pressure_1_Bar", "Label_CFG_LPG", "Label_CFG_CNG",
    "RadioGroup_CFG_Check_Sensors1", "RadioButton_CFG_Check_Sensors1",
    "RadioGroup_CFG_Check_Sensors2", "RadioButton_CFG_Check_Sensors2", "Label_CFG_Sensor_OFF",
    "CheckBox_CFG_Sensor_OFF", "Label_CFG_Support", "Label_CFG_Infl_Smaller", "Label_CFG_Infl_Bigger",
    "Label_CFG_Supp_DiffPress_Dim", "UpDown_CFG_Supp_DiffPress",
    "UpDown_CFG_Infl_DiffPress_B", "UpDown_CFG_Infl_DiffPress_S", "Label_CFG_Supp_TempGas_Dim",
    "UpDown_CFG_Supp_TempGas", "UpDown_CFG_Infl_TempGas_B", "UpDown_CFG_Infl_TempGas_S",
    "Label_CFG_Supp_Power_Dim", "UpDown_CFG_Supp_Power", "UpDown_CFG_Infl_Power",
    "Button_CFG_Infl_Clear", "Button_CFG_Infl_Default", "Label_Car_Num", "Label_Car_Model",
    "Label_Car_Engine", "Label_Car_Jet", "Label_Date_Save", "Label_Date_Mounting",
    "GroupBox_CFG_Comments", "Memo_Car_Comments", "Label_User_Name", "Label_User_Phone",
    "Label_User_Address", "Button_CFG_User_View", "Button_CFG_User_New",
    "Button_CFG_User_Find_Again", "Button_CFG_User_Find", "Edit_CFG_User_Find",
    "Button_CFG_User_Password",
};

const char* const Help_Cursor_Names[] = {
    "Label_OSC_Scale_mls", "Label_OSC_Scale_RPM", "Label_OSC_Scale_Bar", "Label_OSC_Scale_Degree",
    "CheckBox_OSC_Negativ_Degree", "Label_Port_Name",
};

const char* const Help_Cursor_CFG_Names[] = {
    "Label_CFG_PG_Temper", "Label_CFG_PG_Pressure", "Label_CFG_PG_RPM", "Label_CFG_PG_Delay",
    "Label_CFG_GP_PressDiff_Low", "Label_CFG_GP_PressDiff_High", "Label_CFG_GP_TempVap",
    "Label_CFG_GP_Time", "Label_CFG_RPM_Source", "Label_CFG_RPM_Sensitiv", "Label_CFG_Inject_Type",
    "Label_CFG_Inject_Number", "Label_CFG_Inject_Range", "Label_CFG_Inject_Start",
    "Label_CFG_Inject_PWM", "Label_CFG_Inject_PWM_DutyCycle", "Label_CFG_Inject_PWM_Freq",
    "Label_CFG_Level_Etalon", "Label_CFG_Map_Type", "Label_CFG_Pressure_1_Bar",
    "Label_CFG_Supp_DiffPress_Dim", "Label_CFG_Supp_TempGas_Dim", "Label_CFG_Supp_Power_Dim",
    "Label_Car_Num", "Label_Car_Model", "Label_Car_Engine", "Label_Car_Jet", "Label_Date_Save",
    "Label_Date_Mounting", "Label_User_Name", "Label_User_Phone", "Label_User_Address",
};

// ---------------------------------------------------------------- fonts

const char* const Panel_Names[] = {
    "Panel_KardunGAS", "Panel_PortStatus", "Panel_ConnectStatus", "Panel_ConnectStatus_PerCent",
    "Panel_ErrorStatus", "Panel_WorkMode",
};

const char* const Control_Names[] = {
    "Button_Gas_Fors1", "Button_Gas_Fors2", "Button_Gas_Fors3", "Button_Gas_Fors4",
    "Button_Gas_Fors5", "Button_Gas_Fors6", "Button_Gas_Fors7", "Button_Gas_Fors8",
    "Button_Gas_Fors_All",
};

const char* const Label_Names[] = {
    "Label_GEN_RPM", "Label_GEN_GAS", "Label_GEN_Temperature", "Label_GEN_TempVap",
    "Label_GEN_TempGas", "Label_GEN_TempInside", "Label_GEN_TempCouple", "Label_GEN_Pressure",
    "Label_GEN_PressVap", "Label_GEN_PressColl", "Label_GEN_PressDiff", "Label_GEN_Voltage",
    "Label_GEN_Power", "Label_GEN_Detonation", "Label_GEN_TPS", "Label_GEN_RPM_Dig",
    "Label_GEN_Gas_Dig", "Label_GEN_TempVap_Dig", "Label_GEN_TempGas_Dig",
    "Label_GEN_TempInside_Dig", "Label_GEN_TempCouple_Dig", "Label_GEN_PressVap_Dig",
    "Label_GEN_PressColl_Dig", "Label_GEN_PressDiff_Dig", "Label_GEN_Power_Dig",
    "Label_GEN_Detonation_Dig", "Label_GEN_TPS_Dig", "Label_Car_Num", "Label_Car_Model",
    "Label_Car_Engine", "Label_Car_Jet", "Label_Date_Mounting", "Label_User_Name",
    "Label_User_Phone", "Label_User_Address", "Label_CLB_Point_Num", "Label_CLB_RPM",
    "Label_CLB_Gas", "Label_CLB_Temperature", "Label_CLB_TempVap", "Label_CLB_TempGas",
    "Label_CLB_TempCouple", "Label_CLB_Pressure", "Label_CLB_PressVap", "Label_CLB_PressColl",
    "Label_CLB_PressDiff", "Label_CLB_Detonation", "Label_CLB_TPS", "Label_CLB_RPM_Dig",
    "Label_CLB_Gas_Dig", "Label_CLB_TempVap_Dig", "Label_CLB_TempGas_Dig",
    "Label_CLB_TempCouple_Dig", "Label_CLB_PressVap_Dig", "Label_CLB_PressColl_Dig",
    "Label_CLB_PressDiff_Dig", "Label_CLB_Detonation_Dig", "Label_CLB_TPS_Dig",
    "Label_OSC_Scale_mls", "Label_OSC_Scale_RPM", "Label_OSC_Scale_Bar", "Label_OSC_Scale_Degree",
    "Label_OSC_PressDiff", "Label_OSC_PressColl", "Label_OSC_Detonation", "Label_OSC_Gas",
    "Label_OSC_TPS", "Label_OSC_TempGas", "Label_OSC_TempVap", "Label_OSC_RPM",
    "Label_ERR_Quartz_Freq_Err",
};

const char* const Edit_Names[] = {
    "Edit_CFG_Pressure_1_Bar", "Edit_OSC_Scale_mls", "Edit_OSC_Scale_RPM", "Edit_OSC_Scale_Bar",
    "Edit_OSC_Scale_Degree", "Edit_OSC_PressDiff", "Edit_OSC_PressColl", "Edit_OSC_Detonation",
    "Edit_OSC_Gas", "Edit_OSC_TPS", "Edit_OSC_TempGas", "Edit_OSC_TempVap", "Edit_OSC_RPM",
};

const char* const GroupBox_Names[] = {
    "GroupBox_CFG_Car", "GroupBox_CFG_User", "GroupBox_CFG_Comments", "GroupBox_OSC_Pressure",
    "GroupBox_OSC_Voltage", "GroupBox_OSC_Injection", "GroupBox_OSC_Temperature",
    "GroupBox_OSC_RPM",
};

#undef LINE_BREAK
#undef DEGREE_C

// ---------------------------------------------------------------- applying

// The text of a key in the language in force (inside a bracket).
std::string T(const std::string& Key)
{
    std::string Text;
    Language_Find_Text(Key, Text);
    return Text;
}

std::string Row_Text(const Text_Row& Row, const std::string& Default_Key)
{
    std::string Text = Row.Prefix + T(Row.Key ? Row.Key : Default_Key) + Row.Suffix;
    if (Row.Unit_Key)
        Text += T(Row.Unit_Key) + Row.Unit_End;
    return Text;
}

void Set_Caption(TComponent* C, const std::string& Text)
{
    if (auto* L = dynamic_cast<TLabel*>(C))
        L->Caption(Text);
    else if (auto* B = dynamic_cast<TButton*>(C))
        B->Caption(Text);
    else if (auto* G = dynamic_cast<TGroupBox*>(C))
        G->Caption(Text);
    else if (auto* P = dynamic_cast<TPanel*>(C))
        P->Caption(Text);
    else if (auto* S = dynamic_cast<TTabSheet*>(C))
        S->Caption(Text);
    else if (auto* X = dynamic_cast<TCheckBox*>(C))
        X->Caption(Text);
    else if (auto* R = dynamic_cast<TRadioButton*>(C))
        R->Caption(Text);
}

template <class T>
T* Named(const TForm& Form, const char* Name)
{
    return dynamic_cast<T*>(Form.FindComponent(Name));
}

void Apply_Captions(const TForm& Form, std::span<const Text_Row> Rows)
{
    for (const Text_Row& Row : Rows)
        if (TComponent* C = Form.FindComponent(Row.Control))
            Set_Caption(C, Row_Text(Row, Row.Control));
}

enum class Wrap { None, Lines };

void Apply_Hints(const TForm& Form, std::span<const Text_Row> Rows, Wrap How)
{
    for (const Text_Row& Row : Rows) {
        auto* C = Named<TControl>(Form, Row.Control);
        if (!C)
            continue;
        const std::string Own_Key = std::string(Row.Control) + "_Hint";
        if (How == Wrap::None)
            C->Hint(Row_Text(Row, Own_Key));
        else if (Row.Prefix_Outside_Wrap)
            C->Hint(Row.Prefix + Wrap_Text_Chars(Row_Text({Row.Control, Row.Key, "", Row.Suffix,
                                                          Row.Unit_Key, Row.Unit_End},
                                                         Own_Key)));
        else
            C->Hint(Wrap_Text_Chars(Row_Text(Row, Own_Key)));
    }
}

void Show_Hints(const TForm& Form, std::span<const char* const> Names, bool On)
{
    for (const char* Name : Names)
        if (auto* C = Named<TControl>(Form, Name))
            C->ShowHint(On);
}

void Set_Cursors(const TForm& Form, std::span<const char* const> Names, TCursor Cursor)
{
    for (const char* Name : Names)
        if (auto* C = Named<TControl>(Form, Name))
            C->Cursor(Cursor);
}

template <class T>
void Set_Fonts(const TForm& Form, std::span<const char* const> Names, void (*Setter)(T*))
{
    for (const char* Name : Names)
        if (T* C = Named<T>(Form, Name))
            Setter(C);
}

}  // namespace

std::span<const Text_Row> Page_Caption_Rows() { return Page_Captions; }
std::span<const Text_Table> Caption_Tables_Before_Sweep() { return Tables_Before_Sweep; }
std::span<const Text_Table> Caption_Tables_After_Sweep() { return Tables_After_Sweep; }
std::span<const Text_Row> Gas_Fors_Hint_Rows() { return Gas_Fors_Hints; }
std::span<const Text_Row> Hint_Rows() { return Hints; }
std::span<const Text_Row> CFG_Hint_Rows() { return CFG_Hints; }
std::span<const char* const> Show_Hint_Controls() { return Show_Hint_Names; }
std::span<const char* const> Show_Hint_Option_Controls() { return Show_Hint_Option_Names; }
std::span<const char* const> Help_Cursor_Controls() { return Help_Cursor_Names; }
std::span<const char* const> Help_Cursor_CFG_Controls() { return Help_Cursor_CFG_Names; }
std::span<const char* const> Font_Panels() { return Panel_Names; }
std::span<const char* const> Font_Controls() { return Control_Names; }
std::span<const char* const> Font_Labels() { return Label_Names; }
std::span<const char* const> Font_Edits() { return Edit_Names; }
std::span<const char* const> Font_GroupBoxes() { return GroupBox_Names; }

// ---------------------------------------------------------------- the passes

void TForm_KardunGAS::Settings_Language_Apply()
{
    CheckBox_English_Menu->Checked(Settings.English_Menu);
    // The language box: every listed language, the current one selected.
    ComboBox_Language->Items().Clear();
    ComboBox_Language->Text(Settings.Language);
    for (const std::string& Name : Language_List()) {
        const int Index = ComboBox_Language->Items().Add(Name);
        if (Name == Settings.Language)
            ComboBox_Language->ItemIndex(Index);
    }
    if (Settings_File_Readable)
        Settings_Language_Font_Read();
    Language_Fonts_Apply();
    Language_Apply();
    English_Menu_Apply();
    // The options list of the Configuration page in the new language.
    Options_Order_Init();
}

void TForm_KardunGAS::Language_Fonts_Apply()
{
    Font_Set_Form(this);
    Set_Fonts<TPanel>(*this, Font_Panels(), Font_Set_Panel);
    Set_Fonts<TControl>(*this, Font_Controls(), Font_Set_Control);
    Set_Fonts<TLabel>(*this, Font_Labels(), Font_Set_Label);
    Set_Fonts<TEdit>(*this, Font_Edits(), Font_Set_Edit);
    Set_Fonts<TGroupBox>(*this, Font_GroupBoxes(), Font_Set_GroupBox);
    // Every other control with a font of its own keeps its face, but reads its texts in the
    // language's character set: the language's texts would show garbled in another one.
    for (int I = 0; I < ComponentCount(); ++I) {
        auto* C = dynamic_cast<TControl*>(Components(I));
        if (C && !C->ParentFont())
            C->Font().Charset(Settings.Font_Charset);
    }
}

void TForm_KardunGAS::Language_Apply()
{
    const bool Other_Language = Settings.Language != "English";
    CheckBox_English_Menu->Visible(Other_Language);
    Label_English_Menu->Visible(Other_Language);
    Language_Load_File();
    Language_Captions_Apply();
    Language_Release();
}

void TForm_KardunGAS::Language_Captions_Apply()
{
    // The status panels.
    Panel_PortStatus->Caption(Settings.Port_Name);
    Panel_ConnectStatus->Caption(Panel_ConnectStatus->Color() == Not_Connected_Colour
                                     ? T("Panel_ConnectStatus_Not_Connect")
                                     : Configuration.Program_Name);
    switch (Work_Mode) {
    case 1: Panel_WorkMode->Caption(T("Panel_WorkMode_Petrol")); break;
    case 2: Panel_WorkMode->Caption(T("Panel_WorkMode_Automat")); break;
    case 4: Panel_WorkMode->Caption(T("Panel_WorkMode_Gas")); break;
    default: break;
    }
    // The pages, then their controls page by page.
    Apply_Captions(*this, Page_Caption_Rows());
    for (const Text_Table& Table : Caption_Tables_Before_Sweep())
        Apply_Captions(*this, Table.Rows);
    if (Form_RPM && RPM_Graph.Open)
        Form_RPM->Translate_Form_RPM();
    for (const Text_Table& Table : Caption_Tables_After_Sweep())
        Apply_Captions(*this, Table.Rows);
    // Captions that follow a state: Start reads Stop while it is down, the program group
    // carries the controller program's name, the level mode its mode.
    Button_OSC_StartStop->Caption(T(Button_OSC_StartStop->Down() ? "Stop" : "Start"));
    GroupBox_About_Program->Caption(T("GroupBox_About_Program") + "  " + Program_Name_Text);
    if (auto* Level_Mode_Label = Named<TLabel>(*this, "Label_CFG_Level_Mode")) {
        struct Mode_Text {
            uint8_t Mode;
            const char* Caption;
            const char* Hint;
        };
        static const Mode_Text Modes[] = {{0, nullptr, nullptr},
                                          {16, "Mode_Level_Wait", "Level_Mode_Wait_Hint"},
                                          {32, "Mode_Level_Etalon", "Level_Mode_Etalon_Hint"},
                                          {64, "Mode_Level_Pause", "Level_Mode_Pause_Hint"},
                                          {128, "Mode_Level_Work", "Level_Mode_Work_Hint"}};
        for (const Mode_Text& M : Modes) {
            if (M.Mode != Level_Mode)
                continue;
            Level_Mode_Label->Caption(M.Caption ? T(M.Caption) : std::string());
            Level_Mode_Label->Hint(M.Hint ? T(M.Hint) : std::string());
        }
    }
    Hints_Apply();
    Hints_CFG_Apply();
    // The gas-diesel options and the diagram captions.
    Set_GD_Captions();
    // The car file's state in the new language.
    Car_File_Status_Show();
}

void TForm_KardunGAS::English_Menu_Apply()
{
    {
        English_Scope English(Settings.English_Menu);
        Language_Load_File();
        Apply_Captions(*this, Page_Caption_Rows());
        // The clients database window's caption follows the menu language as well.
        if (Form_DTB)
            Form_DTB->Caption(Language_Find_Text("Form_DTB"));
        Hints_Apply();
        Language_Release();
        // The oscilloscope's axis labels in the language now in force.
        Draw_OSC_Axes();
        Draw_OSC_Traces();
    }
    // The Configuration page's Transmit and Receive hints stay in the chosen language (the
    // Calibration page's follow the English menu): set again now that it is back.
    Language_Load_File();
    Hints_Transmit_Apply();
    Language_Release();
}

void TForm_KardunGAS::Hints_Apply()
{
    Apply_Hints(*this, Gas_Fors_Hint_Rows(), Wrap::Lines);
    Apply_Hints(*this, Hint_Rows(), Wrap::Lines);
    Hints_Transmit_Apply();
}

void TForm_KardunGAS::Hints_CFG_Apply() { Apply_Hints(*this, CFG_Hint_Rows(), Wrap::None); }

void TForm_KardunGAS::Hints_Transmit_Apply()
{
    auto Text_Of = [](const std::string& Key, bool Menu_Lookup) {
        std::string Text;
        if (Menu_Lookup)
            Language_Find_Text_Menu(Key, Text);
        else
            Language_Find_Text(Key, Text);
        return Text;
    };
    for (const Transmit_Hint_Row& Row : Transmit_Hints)
        if (auto* C = Named<TControl>(*this, Row.Control))
            C->Hint(Row.Prefix + Text_Of(std::string(Row.Control) + "_Hint", Row.Menu_Lookup) + " " +
                    Program_Name_Text);
    for (const auto& [Label, Prefix] : {std::pair{"Label_About_Letter_T", "\"T\" - "},
                                        std::pair{"Label_About_Letter_R", "\"R\" - "}})
        if (auto* L = Named<TLabel>(*this, Label))
            L->Caption(Prefix + Text_Of(Label, true) + "  " + Program_Name_Text);
}

void TForm_KardunGAS::Hints_Gas_Fors_Apply()
{
    if (!Settings.English_Menu)
        return;
    // English on every page but the Configuration page.
    English_Scope English(PageControl_KardunGAS->ActivePageIndex() != Configuration_Page);
    Language_Load_File();
    Apply_Hints(*this, Gas_Fors_Hint_Rows(), Wrap::Lines);
    Language_Release();
}

void TForm_KardunGAS::Show_Hint_Apply()
{
    Show_Hints(*this, Show_Hint_Controls(), Settings.Show_Hint);
    Show_Hint_Apply_Options(Settings.Show_Hint);
    Help_Cursor_Set(Settings.Show_Hint ? TCursor::Help : TCursor::Default);
}

void TForm_KardunGAS::Show_Hint_Apply_Options(bool On) { Show_Hints(*this, Show_Hint_Option_Controls(), On); }

void TForm_KardunGAS::Help_Cursor_Set(TCursor Cursor)
{
    Help_Cursor_Set_CFG(Cursor);
    Set_Cursors(*this, Help_Cursor_Controls(), Cursor);
}

void TForm_KardunGAS::Help_Cursor_Set_CFG(TCursor Cursor) { Set_Cursors(*this, Help_Cursor_CFG_Controls(), Cursor); }

void TForm_KardunGAS::Page_Panels_Refresh()
{
    Hints_Gas_Fors_Apply();
    // On the Configuration page the hints show in the page's own help line instead.
    if (PageControl_KardunGAS->ActivePageIndex() == Configuration_Page) {
        Help_Cursor_Set(TCursor::Default);
        Show_Hint_Apply_Options(false);
    } else {
        Help_Cursor_Set_CFG(Settings.Show_Hint ? TCursor::Help : TCursor::Default);
        Show_Hint_Apply_Options(Settings.Show_Hint);
    }
    // The Configuration page shows again the group it showed last.
    if (PageControl_KardunGAS->ActivePageIndex() == Configuration_Page && Options_Position >= 1 &&
        Options_Position <= Options_Order[0])
        Options_Select(Options_Order[static_cast<size_t>(Options_Position)]);
}

void TForm_KardunGAS::ComboBox_LanguageChange(TObject* Sender)
{
    if (ComboBox_Language->Items().IndexOf(ComboBox_Language->Text()) >= 0) {
        CheckBox_English_Menu->Checked(false);
        Settings.English_Menu = false;
        Settings.Language = ComboBox_Language->Text();
    }
    Settings_Language_Apply();
    Draw_OSC_Axes();
    Draw_OSC_Traces();
    Show_Error_Memo();
    Yellow_Wire_List_Fill();
}
