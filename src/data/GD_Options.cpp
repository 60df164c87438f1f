#include "data/GD_Options.h"

#include <vector>

#include "data/CFG_Keys.h"
#include "data/Configuration.h"
#include "data/Globals.h"
#include "language/Language.h"
#include "language/Language_En.h"

std::array<std::string, GD_Caption_Count + 1> GD_Captions;

namespace {

// One key of the group and its field (exactly one pointer is set), in file order.
struct GD_Key {
  const char* Key;
  CFG_Comment Comment;
  int32_t* Int = nullptr;
  bool* Flag = nullptr;
  uint8_t* Byte = nullptr;
  GD_Key(const char* key, int32_t* field, CFG_Comment comment) : Key(key), Comment(comment), Int(field) {}
  GD_Key(const char* key, bool* field, CFG_Comment comment) : Key(key), Comment(comment), Flag(field) {}
  GD_Key(const char* key, uint8_t* field, CFG_Comment comment) : Key(key), Comment(comment), Byte(field) {}
};

std::vector<GD_Key> Keys() {
  Configuration_Class& c = Configuration;
  const CFG_Comment L = CFG_Comment::Language;
  const CFG_Comment N = CFG_Comment::None;
  return {
      {"RPM_Idle_Run", &c.RPM_Idle_Run, L},
      {"Clock_Timer", &c.Clock_Timer, L},
      {"Snake_Length", &c.Snake_Length, L},
      {"GI_Pos_1", &c.GI_Pos_1, L},
      {"GI_Pos_2", &c.GI_Pos_2, L},
      {"GI_Pos_3", &c.GI_Pos_3, L},
      {"GI_Pos_4", &c.GI_Pos_4, L},
      {"GI_Pos_5", &c.GI_Pos_5, L},
      {"GI_Pos_6", &c.GI_Pos_6, L},
      {"DS_Correction_ON", &c.DS_Correction_ON, L},
      {"DS_Timer", &c.DS_Timer, L},
      {"DS_High_Level", &c.DS_High_Level, L},
      {"DS_High_Step", &c.DS_High_Step, L},
      {"Limit_TPS_ON", &c.Limit_TPS_ON, L},
      {"Limit_TPS_Snake", &c.Limit_TPS_Snake, L},
      {"Limit_TPS_Range_RPM", &c.Limit_TPS_Range_RPM, L},
      {"Limit_RPM_ON", &c.Limit_RPM_ON, L},
      {"Limit_RPM_Snake", &c.Limit_RPM_Snake, L},
      {"Limit_Temperature_ON", &c.Limit_Temperature_ON, L},
      {"Limit_Temperature", &c.Limit_Temperature, L},
      {"Virtual_Injection_ON", &c.Virtual_Injection_ON, L},
      {"Virtual_Injection_Timer", &c.Virtual_Injection_Timer, L},
      {"Emulation_TPS_Config_H", &c.Emulation_TPS_Config_H, L},
      {"Emulation_TPS_Config_L", &c.Emulation_TPS_Config_L, L},
      {"Filter_TPS_Time", &c.Filter_TPS_Time, N},
      {"Filter_TPS_1_ON", &c.Filter_TPS_1_ON, N},
      {"Filter_TPS_2_ON", &c.Filter_TPS_2_ON, N},
      {"Filter_TPS_3_ON", &c.Filter_TPS_3_ON, N},
      {"Cut_Off_ON", &c.Cut_Off_ON, N},
      {"Cut_Off_Time", &c.Cut_Off_Time, N},
      {"Cut_Off_Volt", &c.Cut_Off_Volt, N},
  };
}

const English_Pair English_GD[] = {
    {"Label_GD_Diagram", "Diagram"},
    {"Label_GD_Diagram_Input", "Input voltage"},
    {"Label_GD_Diagram_Gas", "Gas"},
    {"Label_GD_Diagram_Output", "Output voltage"},
    {"Label_GD_Diagram_RPM", "R.P.M."},
    {"Label_GD_Diagram_RPM_K", "Factor"},
    {"Label_GD_Diagram_VAC", "Vacuum"},
    {"Label_CFG_RPM_IdleRun", "Set the idle run R.P.M. and enter the value"},
    {"Button_CFG_RPM_IdleRun", "Setting"},
    {"CFG_RPM_IdleRun_Hint",
     "To configure the idle run set the idle run R.P.M. and enter the data tachometer, and then "
     "click \"Setting\""},
    {"Label_GD_CFG_Options", "Roz Izoder"},
    {"GroupBox_CFG_Clock_Timer", "Clock Timer"},
    {"Label_CFG_Clock_Timer", "Cycle time"},
    {"Label_DS_Correction_ON", "Correction to the detonation sensor"},
    {"Label_DS_Timer", "Cycle time"},
    {"Label_DS_High_Level", "If more than the level"},
    {"Label_DS_Low_Level", "If less than the level"},
    {"Label_DS_Step_Level", "Step"},
    {"DS_Correction_ON_Hint", "Correction of the sensor detonation (on / Off)"},
    {"DS_Correction_ON_Help", "Access to manual control of the table is closed"},
    {"DS_High_Level_Hint",
     "If the detonation sensor readings greater than the set level, then decrease by one step "
     "correction factor table"},
    {"DS_High_Step_Hint", "A step decrease in the correction table factor"},
    {"DS_Low_Level_Hint",
     "If the detonation sensor reading is less than the set level, then increases by one step "
     "correction factor table"},
    {"DS_Low_Step_Hint", "A step increase in the correction table factor"},
    {"Label_Limit_TPS_ON", "TPS limit"},
    {"Label_Limit_TPS_Range_RPM", "Activation at a factor of engine revolutions"},
    {"Limit_TPS_ON_Hint", "TPS limit (on / Off)"},
    {"Limit_TPS_Snake_Hint",
     "The value of buffer averaging. The larger the buffer, the smoother the response to the "
     "accelerator pedal"},
    {"Limit_TPS_Range_RPM_Hint",
     "Activation of limitations TPS ascending speed (coefficient range desc)"},
    {"Label_Limit_RPM_ON", "RPM limit"},
    {"Limit_RPM_ON_Hint", "RPM limit (on / Off)"},
    {"Limit_RPM_Snake_Hint",
     "The value of buffer averaging. The larger the buffer, the smoother the response to an "
     "increase in engine RPM"},
    {"CFG_Inject_Type_Start_Impuls", "Start impulse"},
    {"CFG_Inject_Type_Switch_Hint", "Turn on after"},
    {"CFG_Inject_Type_Time_Hint", "time turn on gas injector"},
    {"CFG_Inject_Type_Angle_Hint", "angle turn on gas injector"},
    {"CFG_Inject_Type_Start_Hint", "gas injector after start impulse"},
    {"CFG_Inject_Type_Work_Hint", "Inclusion  of all the gas injectors for"},
    {"CFG_Inject_Type_1_1_Hint", "an engine revolution"},
    {"CFG_Inject_Type_div_2_Hint", "two engine revolution"},
    {"CFG_Inject_Type_mul_2_Hint", "half engine revolution"},
    {"Label_GD_CFG_Limit_Temperature", "Limiting temperature exhaust"},
    {"GD_CFG_Limit_Temperature_Hint",
     "The limit exhaust temperature at which the excess occurs, gradual decline in gas supply."},
    {"Label_GD_TempCouple", "Thermocouple"},
    {"GroupBox_CFG_Motor", "Motor control restrictor"},
    {"CFG_Motor_Auto_Switch", "Auto switching"},
    {"CFG_Motor_Gas_Pos_Hint", "The position of the motor when switching to gas"},
    {"CFG_Motor_Petrol_Pos_Hint", "The position of the motor when switching to petrol"},
    {"CFG_Motor_Position_Hint", "The current position of the motor"},
    {"CFG_Motor_Up_Hint", "Run the motor for movement to the top point"},
    {"CFG_Motor_Down_Hint", "Run the motor for movement to the lowest point"},
    {"CFG_Motor_Stop_Hint", "Stopping the motor"},
    {"CFG_Inject_Type_Virtual", "Virtual synchronization pulse"},
    {"CFG_Inject_Type_Virtual_Hint",
     "Independent of the R.P.M. synchronization pulse for control of gas injectors"},
    {"CFG_Inject_Type_Virtual_T_Hint",
     "Timer (ms) synchronization pulse for control of gas injectors"},
    {"Label_TPS_CFG_Options", "Emulation TPS"},
    {"Panel_CFG_TPS_not_exist", "Not exist"},
    {"Label_CFG_TPS_Inputs", "Inputs"},
    {"Label_CFG_TPS_Outputs", "Outputs"},
    {"Label_CFG_TPS_Gas", "Gas diagram"},
    {"Label_CFG_TPS_Input", "Input"},
    {"Label_CFG_TPS_Output", "Output"},
    {"Panel_CFG_Filter_TPS_ON", "Filter"},
    {"Panel_CFG_Filter_TPS_Time", "Discrete digital filter"},
    {"Label_CFG_Cut_Off_ON", "Cut-Off mode"},
    {"Label_CFG_Cut_Off_Rising", "on rising edge"},
    {"Label_CFG_Cut_Off_Falling", "on falling edge"},
    {"Label_CFG_Cut_Off_Time", "Measuring timer (mc)"},
    {"Label_CFG_Cut_Off_Volt", "Measuring range (v)"},
    {"Label_CFG_Cut_Off_Factor", "Factor of gas pulse"},
    {"Cut_Off_ON_Hint", "Activating tracing mode Cut-Off (on/off)"},
    {"Cut_Off_Rising_Hint", "Activating Cut-Off mode on rising edge TPS"},
    {"Cut_Off_Falling_Hint", "Activating Cut-Off mode on falling edge TPS"},
    {"Cut_Off_Time_Hint", "Clocks TPS measurements for mode decision Cut-Off"},
    {"Cut_Off_Volt_Hint",
     "The difference between measurements TPS, exceeding which believe that there was a Cut-Off"},
    {"Cut_Off_Factor_Hint", "The factor of gas pulse duration in Cut-Off mode"},
};
constexpr std::size_t English_GD_Count = sizeof(English_GD) / sizeof(English_GD[0]);

// TPS source code of each input 0..3.
constexpr uint8_t TPS_Codes[4] = {1, 2, 4, 8};

}  // namespace

void Set_Default_GD_Options() {
  Configuration_Class& c = Configuration;
  c.Thermocouple_Factor = 0.8184f;
  c.Clock_Timer = 2;
  c.Snake_Length = 10;
  c.DS_Correction_ON = false;
  c.DS_Timer = 5;
  c.DS_High_Level = 250;
  c.DS_High_Step = 1;
  c.Limit_TPS_ON = false;
  c.Limit_TPS_Snake = 10;
  c.Limit_TPS_Range_RPM = 100;
  c.Limit_RPM_ON = false;
  c.Limit_RPM_Snake = 10;
  c.Limit_Temperature_ON = false;
  c.Limit_Temperature = 600;
  c.Virtual_Injection_Timer = 20;
  c.Filter_TPS_Time = 100;
  c.Filter_TPS_1_ON = true;
  c.Filter_TPS_2_ON = true;
  c.Filter_TPS_3_ON = true;
  c.Cut_Off_ON = false;
  c.Cut_Off_Edge = false;
  c.Cut_Off_Time = 1;
  c.Cut_Off_Volt = 10;
  c.Cut_Off_Factor = 1;
}

void GD_Options_Save_Keys() {
  for (const GD_Key& k : Keys()) {
    if (k.Int) CFG_Key_Write_Int(k.Key, *k.Int, k.Comment);
    else if (k.Flag) CFG_Key_Write_Bool(k.Key, *k.Flag, k.Comment);
    else CFG_Key_Write_Int(k.Key, *k.Byte, k.Comment);
  }
}

void GD_Options_Load_Keys() {
  for (const GD_Key& k : Keys()) {
    if (k.Int) CFG_Key_Read(k.Key, *k.Int);
    else if (k.Flag) CFG_Key_Read(k.Key, *k.Flag);
    else CFG_Key_Read_Byte(k.Key, *k.Byte);
  }
  // A file loaded to be written must not switch the table correction on before the
  // table itself has been written: the value waits until then.
  Configuration_Class& c = Configuration;
  if (CFG_Loaded_For_Write) {
    DS_Correction_Parked = c.DS_Correction_ON;
    c.DS_Correction_ON = false;
  }
}

void GD_Captions_Build() {
  auto T = [](const char* key) { return Language_Text(key); };
  GD_Captions[0].clear();
  GD_Captions[1] = " " + T("Label_GD_Diagram") + " ";
  GD_Captions[2] = " " + T("Label_GD_Diagram_Input") + ", " + T("Dim_Volt_Short") + " ";
  GD_Captions[3] = " " + T("Label_GD_Diagram_Gas") + ", " + T("Dim_MS_Short") + " ";
  GD_Captions[4] = " " + T("Label_GD_Diagram_Output") + ", " + T("Dim_Volt_Short") + " ";
  GD_Captions[5] = " " + T("Label_GD_Diagram_RPM") + ", " + T("Dim_RPM_Short") + " ";
  GD_Captions[6] = " " + T("Label_GD_Diagram_RPM_K");
  GD_Captions[7] = T("Dim_RPM_Short");
  GD_Captions[8] = T("Dim_MS_Short");
  GD_Captions[9] = T("Dim_Volt_Short");
  GD_Captions[10] = T("Label_CFG_TPS_Input");
  GD_Captions[11] = " " + T("Label_GD_Diagram_VAC") + ", " + T("Dim_Bar_Long") + " ";
  GD_Captions[12] = T("Dim_Bar_Long");
}

void English_Text_GD_Register() {
  English_Table_Register(English_Window_Table::Gas_Diesel_Options, English_GD, English_GD_Count);
}

void English_Text_GD(const std::string& key, std::string& text) {
  for (const English_Pair& pair : English_GD)
    if (key == pair.Key) {
      text = pair.Text;
      return;
    }
}

uint8_t TPS_Code_From_Index(int index, bool has_input_0) {
  const int input = has_input_0 ? index : index + 1;
  return input >= 1 && input <= 3 ? TPS_Codes[input] : TPS_Codes[0];
}

int TPS_Index_From_Code(uint8_t code, bool has_input_0) {
  int input = 0;
  for (int i = 0; i < 4; ++i)
    if (TPS_Codes[i] == code) input = i;
  return has_input_0 ? input : input - 1;
}

void GD_Options_Reset() {
  for (std::string& caption : GD_Captions) caption.clear();
}
