// Injector types: what applying a type stores, the limits that follow it, the injector
// count and the default phases; and the start-up curves that follow the type.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/Calibration.h"
#include "data/Configuration.h"
#include "data/Globals.h"
#include "data/Injectors.h"
#include "data/Settings.h"
#include "protocol/Ident.h"

namespace {

class Injectors_Test : public ::testing::Test {
 protected:
  void SetUp() override {
    Globals_Reset();
    Settings_Reset();
    Configuration_Reset();
    Ident_Reset();
    Injectors_Reset();
    Calibration_Reset();
    Configuration_Create();
    Injector_List_Init();
  }
  void TearDown() override {
    Configuration_Reset();
    Injectors_Reset();
    Calibration_Reset();
  }
};

struct Type_Row {
  const char* Type;
  int32_t Period_Before;   // GI_Period the record holds before the type is applied
  int32_t Start_S, Start_2, Duty, Period, Max_Time, TPS_Step;
};

TEST_F(Injectors_Test, ApplyingATypeStoresItsPresetAndLimits) {
  const std::vector<Type_Row> rows = {
      {"KEIHIN", 0, 2500, 5000, 160, 528, 528, 5},
      {"VALTEK 1 Om", 0, 2000, 4000, 240, 800, 800, 8},
      {"MATRIX", 0, 0, 0, 0, 0, 800, 8},
      {"MEMBRANE", 0, 0, 0, 0, 0, 65535, 655},
      // The user's own type keeps its values and takes its period as the limit ...
      {"ANOTHER", 50, 5000, 5000, 560, 50, 50, 1},
      // ... but a period of 0 leaves the limits as they were.
      {"ANOTHER", 0, 5000, 5000, 560, 0, 1072, 10},
      // A name that is no type is applied as a preset without one; the limits stay.
      {"NOSUCH", 0, 0, 0, 0, 0, 1072, 10},
  };
  for (const Type_Row& row : rows) {
    SCOPED_TRACE(std::string(row.Type) + " " + std::to_string(row.Period_Before));
    Injectors_Reset();
    Injector_List_Init();
    Configuration_Class& c = Configuration;
    c.GI_Type = row.Type;
    c.GI_Start_S = c.GI_Start_2 = 5000;
    c.GI_Duty = 560;
    c.GI_Period = row.Period_Before;
    Injector_Type_Apply();
    EXPECT_EQ(c.GI_Start_S, row.Start_S);
    EXPECT_EQ(c.GI_Start_2, row.Start_2);
    EXPECT_EQ(c.GI_Duty, row.Duty);
    EXPECT_EQ(c.GI_Period, row.Period);
    EXPECT_EQ(Injector_Max_Time, row.Max_Time);
    EXPECT_EQ(Injector_Max_Time_2, row.Max_Time / 100);
    EXPECT_EQ(TPS_Full_Scale, row.Max_Time);
    EXPECT_EQ(TPS_Step, row.TPS_Step);
  }
  EXPECT_EQ(Injector_Names.size(), 19u);
  EXPECT_EQ(Injector_Names[0], "18");
  EXPECT_EQ(Injector_Type_Index("ANOTHER"), Injector_Type_Another);
  EXPECT_EQ(Injector_Type_Index("keihin"), 0);   // letter case counts
}

TEST_F(Injectors_Test, InjectorCountIsHeldToEightAndPhasesAreSpreadEvenly) {
  std::vector<int> page;
  Configuration_Hooks.Inject_Num_Set = [&](int n) { page.push_back(n); };
  const std::vector<std::pair<int32_t, int32_t>> counts = {{4, 4}, {8, 8}, {9, 8}, {200, 8}, {0, 0}, {-3, 0}};
  for (const auto& [given, stored] : counts) {
    Inject_Num_Set(given);
    EXPECT_EQ(Configuration.GI_Num, stored) << given;
  }
  EXPECT_EQ(page, (std::vector<int>{4, 8, 8, 8, 0, 0}));

  const std::vector<std::pair<int, std::vector<int32_t>>> phases = {
      {1, {50}},
      {4, {20, 40, 60, 80}},
      {6, {15, 30, 45, 60, 75, 95}},
      {7, {12, 25, 37, 50, 62, 75, 87}},
      {8, {11, 22, 33, 44, 55, 66, 77, 88}},
  };
  for (const auto& [n, expected] : phases) {
    std::vector<int32_t> got;
    for (int i = 1; i <= n; ++i) got.push_back(Injection_Bar_Default(n, i));
    EXPECT_EQ(got, expected) << n << " cylinders";
  }
  EXPECT_EQ(Injection_Bar_Default(9, 1), 0);
  Configuration.GI_Num = 8;
  Injection_Bar_Defaults_To_Record();
  EXPECT_EQ(Configuration.GI_Pos_6, 66);   // cylinders 7 and 8 have no field
}

TEST_F(Injectors_Test, DefaultCurvesFollowTheTypeAndOnlyTheShownOnesChange) {
  Set_Default_Calibration_All();
  // VALTEK 3 Om: gas from 2.0 ms to 25.0 ms; TPS 1 to half its 1072 full scale.
  EXPECT_EQ(CLB_Gas.Out[0], 2000);
  EXPECT_EQ(CLB_Gas.Out[8], 25000);
  EXPECT_EQ(CLB_TPS1.Out[8], 536);
  EXPECT_EQ(CLB_TPS3.Out[0], 100);
  EXPECT_EQ(CLB_RPM.In[8], 5000);
  EXPECT_EQ(CLB_VAC.In[6], 1300);
  EXPECT_EQ(CLB_VAC.Out[6], 10000);

  Configuration.GI_Type = "KEIHIN";
  Injector_Type_Apply();
  CLB_RPM.Out.fill(1);
  Settings.CLB_Diagram_TPS_1 = false;
  Set_Default_Calibration();
  EXPECT_EQ(CLB_Gas.Out[0], 1000);    // the type's 1.0 ms offset
  EXPECT_EQ(CLB_TPS2.Out[8], 314);    // 528 / 2 + 50
  EXPECT_EQ(CLB_TPS1.Out[8], 536);    // not shown: kept
  EXPECT_EQ(CLB_RPM.Out[0], 1);       // not shown: kept
}

}  // namespace
