// Gas injector types and the data side of the injection controls.
//
// The controller drives one of 18 named injector types. The chosen type (GI_Type of the
// configuration record) fixes the preset drive timings, the injector's time limit that
// scales the TPS calibration curves, and the gas-time offset of the default gas curve.
// The 1-based place of a name in Injector_Names is the type number; 0 means "not a type".
//
// The page side (combo boxes, phase bars, drive controls) is built on these routines; what
// they change on the page is reached through Configuration_Hooks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int Injector_Type_Count = 18;
// Type number of the user-defined type ("ANOTHER"): the user sets its drive values.
constexpr int Injector_Type_Another = 18;
// Most injectors (cylinders) the record and the page hold.
constexpr int Injector_Num_Max = 8;
// Phase positions the record holds (GI_Pos_1 .. GI_Pos_6).
constexpr int Injector_Pos_Fields = 6;
// Injector time limit and TPS full scale before any type has decided them.
constexpr int32_t Injector_Max_Time_Start = 1072;
// Full scale of the gas-time axis of the default gas curve, ms.
constexpr double Gas_Time_Full_Scale_Ms = 23.0;

// Counted list: element 0 holds the count as text ("18"), elements 1..18 the names.
extern std::vector<std::string> Injector_Names;

// The injector's time limit (scales the TPS curves) and that limit div 100.
extern int32_t Injector_Max_Time;
extern int32_t Injector_Max_Time_2;
// Output full scale of the three TPS curves and its editing step (at least 1).
extern int32_t TPS_Full_Scale;
extern int32_t TPS_Step;
// Maximum injection angle in degrees of the injection type GI_Div (360, 720, 180, 90).
extern int32_t Inject_Max_Angle;

// Fills Injector_Names (start-up).
void Injector_List_Init();
// Type number 1..18 of a name (letter case counts); 0 when it is no type.
int Injector_Type_Index(const std::string& name);
// Type number of the record's GI_Type.
int Injector_Type_Current();

// Writes the four preset drive values (GI_Start_S, GI_Start_2, GI_Duty, GI_Period) of a
// preset type 6..17 into the record, as the table holds them; other numbers write nothing.
void Injector_Preset_Set(int type);
// Time limit of a type: 1 and 5 give 1072, 2 and 3 give 800, 4 gives 65535, 6..18 take the
// record's GI_Period. A type that takes GI_Period while it is 0, or a number outside 1..18,
// leaves the limit as it was. Injector_Max_Time_2 is computed again in every case.
void Injector_Max_Time_Set(int type);
// The same rule for the TPS full scale; TPS_Step := full scale div 100, at least 1.
void TPS_Full_Scale_Set(int type);

// Gas-time scale of the default gas curve for the record's type: full scale (ms) and the
// type's offset (ms; 2.0 for a name that is no type).
struct Gas_Time_Scale {
  double Full_Scale = Gas_Time_Full_Scale_Ms;
  double Offset = 2.0;
};
Gas_Time_Scale Injector_Time_Scale_Get();

// Applies the record's injector type to its drive values and limits, as showing the
// configuration does: a preset type (or a name that is no type) zeroes the four drive
// fields, takes the preset and stores the duty doubled and the period times 8 (types 1..5
// keep all four at 0); "ANOTHER" keeps the user's values. Then the time limit and the TPS
// full scale follow the type. The calibration curves are not touched. Returns the type.
int Injector_Type_Apply();

// Default phase position (percent of the maximum angle) of cylinder i (1..n) of n
// cylinders (1..8). Up to 6 cylinders the fixed table; 7 and 8 cylinders are spaced
// evenly: i x 100 div (n + 1). 0 outside those ranges.
int32_t Injection_Bar_Default(int n, int i);
// The record's GI_Pos_1 .. GI_Pos_6 take the defaults of GI_Num cylinders (cylinders past
// 6 have no field; fields past GI_Num are left).
void Injection_Bar_Defaults_To_Record();
// Pointer to the record's phase field of cylinder i (1..6); nullptr for another number.
int32_t* Injection_Pos_Field(int i);

// Maximum angle of an injection type 1..4 (360, 720, 180, 90); 0 for another value.
int32_t Inject_Max_Angle_Of(int32_t gi_div);

// Stores the number of injectors (at most Injector_Num_Max, never below 0) and lets the
// page follow through Configuration_Hooks.Inject_Num_Set. Used by the letter 'S' decoder,
// the creation defaults and the file reader.
void Inject_Num_Set(int32_t n);

// Start values of the limits and scales; the list emptied (tests).
void Injectors_Reset();
