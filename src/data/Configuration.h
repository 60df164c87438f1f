// The controller configuration record: one in-memory image of the controller's
// parameters, its identification texts and work counters, and the car and client data
// that are only filed. Exactly one instance exists (Configuration); the reply decoders,
// the configuration files and the Configuration page read and write its fields directly.
//
// Also here: the two preset tables of sensor types (gas level and MAP), the pressure
// factor of the pressure conversion, and the factory reset of the record.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class Configuration_Class {
public:
  // ---- controller identification (from the identification reply) ----
  std::string Program_Name;     // controller program name
  std::string Program_Version;  // "X.YY"
  std::string Program_Date;
  int32_t Work_Gas = 0;         // minutes of gas operation
  int32_t Work_Petrol = 0;      // minutes of diesel operation

  // ---- sensors and switch-over ----
  int32_t Pressure_1_Bar = 0;   // MAP sensor output at 1 bar, mV
  int32_t RPM_Idle_Run = 0;     // known idle speed, rpm
  int32_t RPM_Sensitiv = 0;     // RPM input trigger level, 0.01 V
  uint32_t RPM_Source = 0;      // rpm = RPM_Source / measured period
  int32_t RPM_Div = 0;
  int32_t PG_TempVap = 0;       // vaporizer temperature for the switch to gas, degrees
  int32_t PG_PressDiff = 0;     // 0.1 bar
  int32_t PG_RPM = 0;
  int32_t PG_Preheating = 0;
  int32_t PG_Yellow_Wire = 0;   // yellow-wire function code 1, 2 or 4
  int32_t PG_YW_Delay = 0;
  int32_t PG_YW_Impulse = 0;
  int32_t PG_Delay = 0;
  int32_t GP_Time = 0;          // 0.1 s
  int32_t GP_PressDiff_Low = 0; // 0.1 bar
  int32_t GP_PressDiff_High = 0;
  int32_t GP_TempVap = 0;

  // ---- gas injectors ----
  std::string GI_Type;          // one of the injector type names
  int32_t GI_Num = 0;           // number of gas injectors (cylinders)
  int32_t GI_Div = 0;           // injection type 1..4
  int32_t GI_Range = 0;         // injection time range, ms
  int32_t GI_Start_S = 0;       // start impulse, microseconds
  int32_t GI_Start_2 = 0;
  int32_t GI_Duty = 0;          // injector drive duty, timer ticks
  int32_t GI_Period = 0;        // injector drive period, timer ticks
  int32_t GI_AutoTempGas = 0;
  int32_t GI_Pos_1 = 0, GI_Pos_2 = 0, GI_Pos_3 = 0, GI_Pos_4 = 0, GI_Pos_5 = 0, GI_Pos_6 = 0;

  // ---- gas level sensor ----
  std::string GL_Type;          // a Level_Sensor_Box name
  uint16_t GL_Etalon = 0;       // software level reference
  int32_t GL_Pos_1 = 0, GL_Pos_2 = 0, GL_Pos_3 = 0, GL_Pos_4 = 0, GL_Pos_5 = 0;

  // ---- influence factors and support points ----
  int32_t Supp_DiffPress = 0;   // 0.01 bar
  int32_t Infl_DiffPress_B = 0;
  int32_t Infl_DiffPress_S = 0;
  int32_t Supp_TempGas = 0;
  int32_t Infl_TempGas_B = 0;
  int32_t Infl_TempGas_S = 0;
  int32_t Supp_Power = 0;       // 0.01 V
  int32_t Infl_Power = 0;

  // ---- gas-diesel options ----
  int32_t Clock_Timer = 0;
  int32_t DS_Timer = 0;
  int32_t Snake_Length = 0;
  int32_t DS_High_Level = 0;
  int32_t DS_High_Step = 0;
  int32_t Filter_TPS_Time = 0;
  int32_t Limit_TPS_Snake = 0;
  int32_t Limit_TPS_Range_RPM = 0;
  int32_t Limit_RPM_Snake = 0;
  float Thermocouple_Factor = 0.0f;  // exhaust thermocouple raw units per degree
  int32_t Limit_Temperature = 0;
  int32_t Virtual_Injection_Timer = 0;
  uint8_t Emulation_TPS_Config_H = 0;
  uint8_t Emulation_TPS_Config_L = 0;

  // ---- switches ----
  bool PG_Preheating_ON = false;
  bool GP_Buzzer_ON = false;
  bool GI_AutoTempGas_ON = false;
  bool GL_Invert_ON = false;
  bool GL_90_ON = false;
  bool GL_Buzzer_ON = false;
  bool LPG_on = false;
  bool Check_Sensors_ON = false;
  bool Sensor_OFF = false;
  bool DS_Correction_ON = false;
  bool Limit_TPS_ON = false;
  bool Limit_RPM_ON = false;
  bool Limit_Temperature_ON = false;
  bool Virtual_Injection_ON = false;
  bool Filter_TPS_1_ON = false;
  bool Filter_TPS_2_ON = false;
  bool Filter_TPS_3_ON = false;
  bool Cut_Off_ON = false;
  bool Cut_Off_Edge = false;    // true rising, false falling
  int32_t Cut_Off_Time = 0;
  int32_t Cut_Off_Volt = 0;     // 0.01 V
  int32_t Cut_Off_Factor = 0;

  // ---- car and client data (filed only) ----
  int32_t Car_ID = 0;           // 0 and 0xFFFF: no identity
  std::string Car_Number;       // at most 8 characters; base name of the car's file
  std::string Car_Model, Car_Engine, Car_Jet, Date_Save, Date_Mounting;
  std::string User_Name, User_Phone, User_Address;
  std::string Car_Comments;     // line breaks held as the characters 29 (CR) and 26 (LF)
  int32_t Service_Time = 0;     // hours
  int32_t Service_Time_Cnt = 0; // minutes
};

// The one configuration record.
extern Configuration_Class Configuration;

// Fixed factor of the pressure conversion; set with the configuration defaults.
extern double Pressure_Factor;

// ---- sensor presets ----
class Level_Sensor_Box_Class {
public:
  std::string Name;
  bool Invert = false;
  bool Ninety = false;
  int32_t Pos_1 = 0, Pos_2 = 0, Pos_3 = 0, Pos_4 = 0, Pos_5 = 0;
};

class MAP_Sensor_Box_Class {
public:
  std::string Name;
  int32_t Pressure_1_Bar = 0;  // mV
};

constexpr int Level_Sensor_Box_Count = 7;
constexpr int MAP_Sensor_Box_Count = 2;
// Index of the software level preset ("SOFTWARE") in Level_Sensor_Box.
constexpr int Level_Sensor_Software = 4;

extern Level_Sensor_Box_Class Level_Sensor_Box[Level_Sensor_Box_Count];
extern MAP_Sensor_Box_Class MAP_Sensor_Box[MAP_Sensor_Box_Count];

// Builds both preset tables (start-up and model set-up); the combo boxes are filled from
// them by the Configuration page.
void Sensor_Boxes_Init();
// 1-based place of the level preset named exactly `name`; 0 when no preset has that name.
uint8_t Level_Sensor_Box_Index(const std::string& name);
// Name of level preset `index` (1-based); "Error" outside 1..count.
std::string Level_Sensor_Box_Name(int index);

// Injector type names the defaults refer to: the first of the list and the user-defined one.
inline constexpr const char* Injector_Name_First = "VALTEK 3 Om";
inline constexpr const char* Injector_Name_Another = "ANOTHER";

// ---- what the defaults do on the windows ----
// The Configuration page and the identification plug these in; unset hooks are skipped.
struct Configuration_Hooks_Class {
  std::function<void(bool)> Inject_Auto_Enable;     // winter/summer switching controls
  std::function<void()> Injection_Type_Bars_Show;   // phase bars to their default positions
  std::function<void()> RPM_Tab_Default_Axes;       // RPM-dependence table to default axes
  std::function<void(int)> Inject_Num_Set;          // injector count on the page
  // The identification fields of the record were reset: the protocol decodes the version
  // again and shows or hides the work hours (bound by Ident_Bind_Configuration).
  std::function<void()> Identification_Decode;
};
extern Configuration_Hooks_Class Configuration_Hooks;

// Factory reset of the record (default buttons and start-up). Keeps the injector and
// level sensor choices, the car and client data, Car_ID and the service counters. While
// not connected also resets the identification and decodes the version again.
void Set_Default_Configuration();
// For the user-defined injector type: its default timings; for the others the
// winter/summer switching controls are enabled instead.
void Set_Default_Inject_Timing();
// At creation only: first injector type, six injectors, the first level preset.
void Set_Default_Inject_Level();

// Start-up creation: a zero-filled record with the yellow wire at 1, the preset tables,
// then the defaults and the injector and level defaults.
void Configuration_Create();

// Zero-fills the record, the presets and the pressure factor, and removes the hooks.
void Configuration_Reset();
