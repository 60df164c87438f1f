#include "data/Configuration.h"

#include "data/Call_Hook.h"
#include "data/GD_Options.h"
#include "data/Globals.h"
#include "data/Injectors.h"

Configuration_Class Configuration;
double Pressure_Factor = 0.0;
Level_Sensor_Box_Class Level_Sensor_Box[Level_Sensor_Box_Count];
MAP_Sensor_Box_Class MAP_Sensor_Box[MAP_Sensor_Box_Count];
Configuration_Hooks_Class Configuration_Hooks;

namespace {

void Set_Level_Box(int i, const char* name, bool invert, bool ninety, int32_t p1, int32_t p2,
                   int32_t p3, int32_t p4, int32_t p5) {
  Level_Sensor_Box_Class& box = Level_Sensor_Box[i];
  box.Name = name;
  box.Invert = invert;
  box.Ninety = ninety;
  box.Pos_1 = p1;
  box.Pos_2 = p2;
  box.Pos_3 = p3;
  box.Pos_4 = p4;
  box.Pos_5 = p5;
}

}  // namespace

void Sensor_Boxes_Init() {
  Set_Level_Box(0, "RESERVE", false, false, 100, 100, 100, 100, 100);
  Set_Level_Box(1, "AEB 1050", true, false, 806, 512, 306, 213, 47);
  Set_Level_Box(2, "HANA", true, true, 295, 238, 183, 148, 42);
  Set_Level_Box(3, "90 - 0 Om", false, true, 248, 184, 147, 104, 55);
  Set_Level_Box(4, "SOFTWARE", true, false, 850, 680, 510, 340, 170);
  Set_Level_Box(5, "AEB 806", true, false, 930, 773, 634, 429, 235);
  Set_Level_Box(6, "0 - 90 Om", false, true, 55, 104, 147, 184, 248);
  MAP_Sensor_Box[0].Name = "MAP 4 Bar";
  MAP_Sensor_Box[0].Pressure_1_Bar = 1315;
  MAP_Sensor_Box[1].Name = "ANOTHER";
  MAP_Sensor_Box[1].Pressure_1_Bar = 2000;
}

uint8_t Level_Sensor_Box_Index(const std::string& name) {
  for (int i = 0; i < Level_Sensor_Box_Count; ++i)
    if (Level_Sensor_Box[i].Name == name) return static_cast<uint8_t>(i + 1);
  return 0;
}

std::string Level_Sensor_Box_Name(int index) {
  if (index < 1 || index > Level_Sensor_Box_Count) return "Error";
  return Level_Sensor_Box[index - 1].Name;
}

void Set_Default_Inject_Timing() {
  Configuration_Class& c = Configuration;
  if (c.GI_Type == Injector_Name_Another) {
    c.GI_Start_S = 5000;
    c.GI_Start_2 = 5000;
    c.GI_Duty = 560;
    c.GI_Period = 1120;
  } else {
    Call_Hook(Configuration_Hooks.Inject_Auto_Enable, true);
  }
}

void Set_Default_Configuration() {
  Configuration_Class& c = Configuration;

  // Pressure conversion
  Pressure_Factor = 0.8479;
  c.Pressure_1_Bar = 1315;

  // Identification, only while no controller is connected
  if (!Connected) {
    c.Program_Name = "Lumbra";
    c.Program_Version.clear();
    c.Program_Date.clear();
    c.Work_Gas = 0;
    c.Work_Petrol = 0;
    Call_Hook(Configuration_Hooks.Identification_Decode);
  }

  // Every numeric and truth-value default
  c.RPM_Idle_Run = RPM_Idle_Run_Default;
  c.RPM_Sensitiv = 250;
  c.RPM_Source = 1500000;
  c.PG_TempVap = 40;
  c.PG_PressDiff = 6;
  c.PG_RPM = 600;
  c.PG_Preheating = 10;
  c.PG_Yellow_Wire = 1;
  c.PG_YW_Delay = 100;
  c.PG_YW_Impulse = 100;
  c.PG_Delay = 5;
  c.GP_Time = 10;
  c.GP_PressDiff_Low = 5;
  c.GP_PressDiff_High = 30;
  c.GP_TempVap = 20;
  c.GI_Range = 32;
  c.GI_AutoTempGas = 30;
  c.Supp_DiffPress = 100;
  c.Infl_DiffPress_B = 30;
  c.Infl_DiffPress_S = 50;
  c.Supp_TempGas = 40;
  c.Infl_TempGas_B = 10;
  c.Infl_TempGas_S = 10;
  c.Supp_Power = 1400;
  c.Infl_Power = 50;
  c.PG_Preheating_ON = true;
  c.GP_Buzzer_ON = true;
  c.GI_AutoTempGas_ON = true;
  c.LPG_on = true;
  c.Check_Sensors_ON = true;
  c.Sensor_OFF = false;

  // Injector timings, phase bars, RPM-dependence table, gas-diesel options (their values,
  // then what they show)
  Set_Default_Inject_Timing();
  Call_Hook(Configuration_Hooks.Injection_Type_Bars_Show);
  Call_Hook(Configuration_Hooks.RPM_Tab_Default_Axes);
  Set_Default_GD_Options();
}

void Set_Default_Inject_Level() {
  Configuration_Class& c = Configuration;
  c.GI_Type = Injector_Name_First;
  c.GI_Num = 6;
  Call_Hook(Configuration_Hooks.Inject_Num_Set, 6);
  // The six cylinders' default phases: the record starts as its bars show it.
  Injection_Bar_Defaults_To_Record();
  const Level_Sensor_Box_Class& box = Level_Sensor_Box[0];
  c.GL_Type = box.Name;
  c.GL_Invert_ON = box.Invert;
  c.GL_90_ON = box.Ninety;
  c.GL_Pos_1 = box.Pos_1;
  c.GL_Pos_2 = box.Pos_2;
  c.GL_Pos_3 = box.Pos_3;
  c.GL_Pos_4 = box.Pos_4;
  c.GL_Pos_5 = box.Pos_5;
  c.GL_Buzzer_ON = true;
  c.GL_Etalon = 1288;
}

void Configuration_Create() {
  Configuration = Configuration_Class{};
  Configuration.PG_Yellow_Wire = 1;
  Sensor_Boxes_Init();
  Set_Default_Configuration();
  Set_Default_Inject_Level();
}

void Configuration_Reset() {
  Configuration = Configuration_Class{};
  Pressure_Factor = 0.0;
  for (auto& box : Level_Sensor_Box) box = Level_Sensor_Box_Class{};
  for (auto& box : MAP_Sensor_Box) box = MAP_Sensor_Box_Class{};
  Configuration_Hooks = Configuration_Hooks_Class{};
}
