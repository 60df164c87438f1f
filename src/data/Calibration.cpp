#include "data/Calibration.h"

#include <cmath>

#include "data/Injectors.h"
#include "data/Settings.h"

CLB_Curve CLB_Gas, CLB_RPM, CLB_TPS1, CLB_TPS2, CLB_TPS3, CLB_VAC;
int32_t Gas_Full_Scale = CLB_Gas_Out_Max;
int32_t CLB_Label_Offset = 12;

const std::array<int32_t, CLB_Points> CLB_Default_Input{0, 100, 200, 300, 400, 500, 700, 900, 1023};
const std::array<int32_t, CLB_Points> CLB_Default_RPM{0, 500, 1000, 1500, 2000, 2500, 3000, 4000, 5000};
const std::array<int32_t, CLB_Points> CLB_Default_VAC{0, 200, 400, 600, 800, 1000, 1300, 1500, 1800};

namespace {

// Start of the TPS 1, 2, 3 default lines (volts), so the three do not lie on each other.
constexpr double TPS_Default_Offset[3] = {0.0, 0.05, 0.1};
// The TPS defaults rise to half the full scale over the input range.
constexpr double TPS_Default_Span = 2000.0;

void Default_Gas(CLB_Curve& curve) {
  const Gas_Time_Scale scale = Injector_Time_Scale_Get();
  for (int n = 0; n < CLB_Points; ++n) {
    const double x = CLB_Default_Input[n];
    curve.In[n] = CLB_Default_Input[n];
    curve.Out[n] = static_cast<int32_t>(
        std::lround((x * scale.Full_Scale / CLB_Input_Max + scale.Offset) * 1000.0));
  }
}

void Default_TPS(CLB_Curve& curve, double offset) {
  for (int n = 0; n < CLB_Points; ++n) {
    const double x = CLB_Default_Input[n];
    curve.In[n] = CLB_Default_Input[n];
    curve.Out[n] = static_cast<int32_t>(
        std::lround((x * TPS_Full_Scale / TPS_Default_Span / CLB_Input_Max + offset) * 1000.0));
  }
}

void Default_Factor(CLB_Curve& curve, const std::array<int32_t, CLB_Points>& inputs) {
  curve.In = inputs;
  curve.Out.fill(CLB_Factor_One);
}

}  // namespace

CLB_Curve& CLB_Curve_Of(CLB_Curve_Id id) {
  switch (id) {
    case CLB_Curve_Id::Gas: return CLB_Gas;
    case CLB_Curve_Id::RPM: return CLB_RPM;
    case CLB_Curve_Id::TPS1: return CLB_TPS1;
    case CLB_Curve_Id::TPS2: return CLB_TPS2;
    case CLB_Curve_Id::TPS3: return CLB_TPS3;
    case CLB_Curve_Id::VAC: break;
  }
  return CLB_VAC;
}

void Set_Default_Curve(CLB_Curve_Id id) {
  switch (id) {
    case CLB_Curve_Id::Gas: Default_Gas(CLB_Gas); break;
    case CLB_Curve_Id::RPM: Default_Factor(CLB_RPM, CLB_Default_RPM); break;
    case CLB_Curve_Id::TPS1: Default_TPS(CLB_TPS1, TPS_Default_Offset[0]); break;
    case CLB_Curve_Id::TPS2: Default_TPS(CLB_TPS2, TPS_Default_Offset[1]); break;
    case CLB_Curve_Id::TPS3: Default_TPS(CLB_TPS3, TPS_Default_Offset[2]); break;
    case CLB_Curve_Id::VAC: Default_Factor(CLB_VAC, CLB_Default_VAC); break;
  }
}

void Set_Default_Calibration() {
  const Settings_Class& s = Settings;
  const std::pair<bool, CLB_Curve_Id> shown[] = {
      {s.CLB_Diagram_GAS, CLB_Curve_Id::Gas},    {s.CLB_Diagram_TPS_1, CLB_Curve_Id::TPS1},
      {s.CLB_Diagram_TPS_2, CLB_Curve_Id::TPS2}, {s.CLB_Diagram_TPS_3, CLB_Curve_Id::TPS3},
      {s.CLB_Diagram_RPM, CLB_Curve_Id::RPM},    {s.CLB_Diagram_VAC, CLB_Curve_Id::VAC},
  };
  for (const auto& [on, id] : shown)
    if (on) Set_Default_Curve(id);
}

void Set_Default_Calibration_All() {
  for (int i = 0; i < CLB_Curve_Count; ++i) Set_Default_Curve(static_cast<CLB_Curve_Id>(i));
}

void CLB_Selection_Clear() {
  for (int i = 0; i < CLB_Curve_Count; ++i) CLB_Curve_Of(static_cast<CLB_Curve_Id>(i)).Selected = -1;
}

void CLB_Anchor_Clear() {
  for (int i = 0; i < CLB_Curve_Count; ++i) CLB_Curve_Of(static_cast<CLB_Curve_Id>(i)).Anchor = -1;
}

void Calibration_Reset() {
  for (int i = 0; i < CLB_Curve_Count; ++i) CLB_Curve_Of(static_cast<CLB_Curve_Id>(i)) = CLB_Curve{};
  Gas_Full_Scale = CLB_Gas_Out_Max;
  CLB_Label_Offset = 12;
}
