#include "data/Injectors.h"

#include <algorithm>
#include <array>

#include "data/Call_Hook.h"
#include "data/Configuration.h"

std::vector<std::string> Injector_Names;
int32_t Injector_Max_Time = Injector_Max_Time_Start;
int32_t Injector_Max_Time_2 = Injector_Max_Time_Start / 100;
int32_t TPS_Full_Scale = Injector_Max_Time_Start;
int32_t TPS_Step = Injector_Max_Time_Start / 100;
int32_t Inject_Max_Angle = 360;

namespace {

// Time limit rule of a type: a fixed limit, or the record's drive period.
constexpr int32_t Limit_From_Period = -1;

struct Injector_Type_Row {
  const char* Name;
  int32_t Start_S;      // microseconds
  int32_t Start_2;      // microseconds
  int32_t Duty;         // preset duty; stored doubled
  int32_t Period;       // preset period; stored times 8
  int32_t Max_Time;     // fixed limit, or Limit_From_Period
  double Gas_Offset;    // ms added to the default gas curve
};

// Types 1..5 have no drive preset (their rows hold 0); 18 is the user's own.
constexpr std::array<Injector_Type_Row, Injector_Type_Count> Types{{
    {"VALTEK 3 Om", 0, 0, 0, 0, 1072, 2.0},
    {"MATRIX", 0, 0, 0, 0, 800, 2.0},
    {"REG", 0, 0, 0, 0, 800, 2.0},
    {"MEMBRANE", 0, 0, 0, 0, 65535, 2.0},
    {"ZAVOLI", 0, 0, 0, 0, 1072, 2.0},
    {"VALTEK 1 Om", 2000, 4000, 120, 100, Limit_From_Period, 1.0},
    {"PLANIjet", 3000, 6000, 168, 140, Limit_From_Period, 1.0},
    {"RAIL IG1 3 Om", 4000, 6000, 168, 140, Limit_From_Period, 2.0},
    {"KEIHIN", 2500, 5000, 80, 66, Limit_From_Period, 1.0},
    {"RAIL IG3 2.8 Om", 2800, 5000, 168, 140, Limit_From_Period, 1.5},
    {"Tartarini EVO 07", 3000, 6000, 280, 140, Limit_From_Period, 2.0},
    {"VALTEK 34", 2500, 5000, 120, 100, Limit_From_Period, 2.0},
    {"CGS", 3000, 6000, 120, 100, Limit_From_Period, 1.0},
    {"A.E.B.", 3000, 6000, 120, 100, Limit_From_Period, 2.0},
    {"RAIL IG5 3 Om", 4000, 6000, 168, 140, Limit_From_Period, 2.0},
    {"DYMCO", 2800, 5000, 80, 66, Limit_From_Period, 1.5},
    {"OMVL 3 Om", 2800, 5600, 168, 140, Limit_From_Period, 1.8},
    {"ANOTHER", 0, 0, 0, 0, Limit_From_Period, 2.0},
}};

constexpr int First_Preset = 6;
constexpr int Last_Preset = 17;
constexpr int32_t Duty_Store_Factor = 2;
constexpr int32_t Period_Store_Factor = 8;
constexpr double Unknown_Type_Offset = 2.0;

// Default phases of 1..6 cylinders (row n - 1 holds n values).
constexpr std::array<std::array<int32_t, 6>, 6> Bar_Defaults{{
    {50},
    {30, 60},
    {20, 40, 80},
    {20, 40, 60, 80},
    {20, 40, 60, 80, 90},
    {15, 30, 45, 60, 75, 95},
}};

// The limit a type gives; false when the limit is to stay as it was.
bool Type_Limit(int type, int32_t& limit) {
  if (type < 1 || type > Injector_Type_Count) return false;
  const int32_t fixed = Types[static_cast<std::size_t>(type - 1)].Max_Time;
  if (fixed != Limit_From_Period) {
    limit = fixed;
    return true;
  }
  // A period of 0 would make every TPS curve flat at 0 and its step 0.
  if (Configuration.GI_Period <= 0) return false;
  limit = Configuration.GI_Period;
  return true;
}

}  // namespace

void Injector_List_Init() {
  Injector_Names.assign(1, std::to_string(Injector_Type_Count));
  for (const Injector_Type_Row& row : Types) Injector_Names.emplace_back(row.Name);
}

int Injector_Type_Index(const std::string& name) {
  for (std::size_t i = 0; i < Types.size(); ++i)
    if (name == Types[i].Name) return static_cast<int>(i) + 1;
  return 0;
}

int Injector_Type_Current() { return Injector_Type_Index(Configuration.GI_Type); }

void Injector_Preset_Set(int type) {
  if (type < First_Preset || type > Last_Preset) return;
  const Injector_Type_Row& row = Types[static_cast<std::size_t>(type - 1)];
  Configuration_Class& c = Configuration;
  c.GI_Start_S = row.Start_S;
  c.GI_Start_2 = row.Start_2;
  c.GI_Duty = row.Duty;
  c.GI_Period = row.Period;
}

void Injector_Max_Time_Set(int type) {
  Type_Limit(type, Injector_Max_Time);
  Injector_Max_Time_2 = Injector_Max_Time / 100;
}

void TPS_Full_Scale_Set(int type) {
  Type_Limit(type, TPS_Full_Scale);
  TPS_Step = std::max(TPS_Full_Scale / 100, 1);
}

Gas_Time_Scale Injector_Time_Scale_Get() {
  const int type = Injector_Type_Current();
  Gas_Time_Scale scale;
  scale.Offset = type >= 1 ? Types[static_cast<std::size_t>(type - 1)].Gas_Offset : Unknown_Type_Offset;
  return scale;
}

int Injector_Type_Apply() {
  const int type = Injector_Type_Current();
  if (type < Injector_Type_Another) {
    Configuration_Class& c = Configuration;
    c.GI_Start_S = 0;
    c.GI_Start_2 = 0;
    c.GI_Duty = 0;
    c.GI_Period = 0;
    Injector_Preset_Set(type);
    c.GI_Duty *= Duty_Store_Factor;
    c.GI_Period *= Period_Store_Factor;
  }
  Injector_Max_Time_Set(type);
  TPS_Full_Scale_Set(type);
  return type;
}

int32_t Injection_Bar_Default(int n, int i) {
  if (n < 1 || n > Injector_Num_Max || i < 1 || i > n) return 0;
  if (n <= static_cast<int>(Bar_Defaults.size()))
    return Bar_Defaults[static_cast<std::size_t>(n - 1)][static_cast<std::size_t>(i - 1)];
  return i * 100 / (n + 1);
}

int32_t* Injection_Pos_Field(int i) {
  Configuration_Class& c = Configuration;
  switch (i) {
    case 1: return &c.GI_Pos_1;
    case 2: return &c.GI_Pos_2;
    case 3: return &c.GI_Pos_3;
    case 4: return &c.GI_Pos_4;
    case 5: return &c.GI_Pos_5;
    case 6: return &c.GI_Pos_6;
    default: return nullptr;
  }
}

void Injection_Bar_Defaults_To_Record() {
  const int n = Configuration.GI_Num;
  for (int i = 1; i <= std::min(n, Injector_Pos_Fields); ++i)
    *Injection_Pos_Field(i) = Injection_Bar_Default(n, i);
}

int32_t Inject_Max_Angle_Of(int32_t gi_div) {
  switch (gi_div) {
    case 1: return 360;
    case 2: return 720;
    case 3: return 180;
    case 4: return 90;
    default: return 0;
  }
}

void Inject_Num_Set(int32_t n) {
  Configuration.GI_Num = std::clamp(n, 0, Injector_Num_Max);
  Call_Hook(Configuration_Hooks.Inject_Num_Set, Configuration.GI_Num);
}

void Injectors_Reset() {
  Injector_Names.clear();
  Injector_Max_Time = Injector_Max_Time_Start;
  Injector_Max_Time_2 = Injector_Max_Time_Start / 100;
  TPS_Full_Scale = Injector_Max_Time_Start;
  TPS_Step = Injector_Max_Time_Start / 100;
  Inject_Max_Angle = 360;
}
