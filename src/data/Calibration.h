// The six calibration curves of the controller as data: gas, RPM, TPS 1..3 and VAC, nine
// points each, with their units, ranges and factory defaults.
//
// Units: gas In = input counts 0..1023, Out = gas time in microseconds; RPM In = rpm,
// Out = correction factor x 10000; TPS In = input counts, Out = output counts up to
// TPS_Full_Scale; VAC In = manifold pressure in 0.001 bar, Out = factor x 10000. K holds
// the segment slopes, derived from In and Out before each write and each save.
//
// The chart, the point editing and the page's buttons are built on this unit.
#pragma once

#include <array>
#include <cstdint>

constexpr int CLB_Points = 9;

struct CLB_Curve {
  int32_t Selected = -1;                    // point being edited, -1 for none
  int32_t Anchor = -1;                      // second marked point 1..7, -1 for none
  std::array<int32_t, CLB_Points> In{};     // X of each point
  std::array<int32_t, CLB_Points> Out{};    // Y of each point
  std::array<int32_t, CLB_Points> Backup{}; // Out as it was before an edit step
  std::array<double, CLB_Points> K{};       // segment slopes (K[k]: point k-1 to k)
};

extern CLB_Curve CLB_Gas, CLB_RPM, CLB_TPS1, CLB_TPS2, CLB_TPS3, CLB_VAC;

// The curves in wire order (sub-blocks 0x81..0x86).
enum class CLB_Curve_Id { Gas, RPM, TPS1, TPS2, TPS3, VAC };
constexpr int CLB_Curve_Count = 6;
CLB_Curve& CLB_Curve_Of(CLB_Curve_Id id);

// Ranges of the curves' axes.
constexpr int32_t CLB_Input_Max = 1023;       // gas and TPS inputs, counts
constexpr int32_t CLB_Gas_Out_Max = 32000;    // microseconds
constexpr int32_t CLB_RPM_In_Max = 5000;      // rpm
constexpr int32_t CLB_VAC_In_Max = 1800;      // 0.001 bar
constexpr int32_t CLB_Factor_Max = 19900;     // factor x 10000
constexpr int32_t CLB_Factor_One = 10000;     // factor 1.00

// Gas curve's output full scale (microseconds) and the chart's TPS scale offset (pixels).
extern int32_t Gas_Full_Scale;
extern int32_t CLB_Label_Offset;

// Default X values.
extern const std::array<int32_t, CLB_Points> CLB_Default_Input;  // gas and TPS
extern const std::array<int32_t, CLB_Points> CLB_Default_RPM;
extern const std::array<int32_t, CLB_Points> CLB_Default_VAC;

// One curve to its factory default, computed from the record's injector type (gas: the
// type's gas-time scale; TPS: TPS_Full_Scale).
void Set_Default_Curve(CLB_Curve_Id id);
// Defaults for the curves whose diagram the settings show (the page's Default button and
// a file without calibration); curves not shown keep their values.
void Set_Default_Calibration();
// All six curves to their defaults (start-up, so that no curve is ever all zero).
void Set_Default_Calibration_All();

void CLB_Selection_Clear();
void CLB_Anchor_Clear();

// Page start values, all curves zeroed with nothing selected (tests).
void Calibration_Reset();
