// Configuration record: creation, factory defaults and the sensor presets.
#include "data/Configuration.h"
#include "data/Globals.h"
#include "data/Settings.h"
#include "protocol/Ident.h"
#include "main/Process_State.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Configuration_Test : public ::testing::Test {
protected:
  void SetUp() override { Reset_All_State(); }
  void TearDown() override { Reset_All_State(); }
};

TEST_F(Configuration_Test, CreationSetsDefaultsInjectorAndLevelPreset) {
  std::vector<std::string> calls;
  Configuration_Hooks.Inject_Num_Set = [&](int n) { calls.push_back("num " + std::to_string(n)); };
  Configuration_Hooks.Injection_Type_Bars_Show = [&] { calls.push_back("bars"); };
  Configuration_Hooks.RPM_Tab_Default_Axes = [&] { calls.push_back("axes"); };
  Configuration_Create();
  const Configuration_Class& c = Configuration;
  EXPECT_DOUBLE_EQ(Pressure_Factor, 0.8479);
  EXPECT_EQ(c.Pressure_1_Bar, 1315);
  EXPECT_EQ(c.RPM_Source, 1500000u);
  EXPECT_EQ(c.RPM_Idle_Run, 600);
  EXPECT_EQ(c.GI_Type, "VALTEK 3 Om");
  EXPECT_EQ(c.GI_Num, 6);
  EXPECT_EQ(c.GI_Div, 0);  // until a configuration is read or the type is chosen
  EXPECT_EQ(c.GL_Type, "RESERVE");
  EXPECT_EQ(c.GL_Pos_3, 100);  // the first level preset's marks
  EXPECT_EQ(c.GL_Pos_5, Level_Sensor_Box[0].Pos_5);
  EXPECT_EQ(Level_Sensor_Box[Level_Sensor_Software].Name, "SOFTWARE");
  EXPECT_EQ(MAP_Sensor_Box[0].Pressure_1_Bar, c.Pressure_1_Bar);
  EXPECT_FALSE(c.GL_Invert_ON);
  EXPECT_TRUE(c.GL_Buzzer_ON);
  EXPECT_EQ(c.GL_Etalon, 1288);
  EXPECT_EQ(c.PG_Yellow_Wire, 1);
  EXPECT_FLOAT_EQ(c.Thermocouple_Factor, 0.8184f);
  EXPECT_TRUE(c.Filter_TPS_2_ON);
  EXPECT_FALSE(c.Cut_Off_Edge);
  EXPECT_EQ(c.Supp_Power, 1400);
  EXPECT_EQ(calls, (std::vector<std::string>{"bars", "axes", "num 6"}));
}

TEST_F(Configuration_Test, DefaultsKeepCarDataInjectorChoicesAndEmulation) {
  Configuration_Create();
  Configuration_Class& c = Configuration;
  c.Virtual_Injection_ON = true;
  c.Emulation_TPS_Config_H = 0x42;
  c.Emulation_TPS_Config_L = 0x18;
  c.Car_Number = "AB123";
  c.User_Name = "Owner";
  c.Car_ID = 0x1234;
  c.Service_Time = 250;
  c.GI_Num = 4;
  c.GI_Pos_2 = 33;
  c.GL_Type = "HANA";
  c.GL_Etalon = 900;
  c.RPM_Div = 3;
  c.PG_RPM = 1200;
  c.Pressure_1_Bar = 2000;
  c.DS_Correction_ON = true;
  Set_Default_Configuration();
  EXPECT_TRUE(c.Virtual_Injection_ON);
  EXPECT_EQ(c.Emulation_TPS_Config_H, 0x42);
  EXPECT_EQ(c.Emulation_TPS_Config_L, 0x18);
  EXPECT_EQ(c.Car_Number, "AB123");
  EXPECT_EQ(c.User_Name, "Owner");
  EXPECT_EQ(c.Car_ID, 0x1234);
  EXPECT_EQ(c.Service_Time, 250);
  EXPECT_EQ(c.GI_Num, 4);
  EXPECT_EQ(c.GI_Pos_2, 33);
  EXPECT_EQ(c.GL_Type, "HANA");
  EXPECT_EQ(c.GL_Etalon, 900);
  EXPECT_EQ(c.RPM_Div, 3);
  EXPECT_EQ(c.PG_RPM, 600);
  EXPECT_EQ(c.Pressure_1_Bar, 1315);
  EXPECT_FALSE(c.DS_Correction_ON);
}

TEST_F(Configuration_Test, InjectorTimingDefaultsOnlyForTheUserType) {
  Configuration_Create();
  Configuration_Class& c = Configuration;
  std::vector<bool> auto_enable;
  Configuration_Hooks.Inject_Auto_Enable = [&](bool on) { auto_enable.push_back(on); };
  c.GI_Type = "ANOTHER";
  c.GI_Start_S = c.GI_Start_2 = c.GI_Duty = c.GI_Period = 1;
  Set_Default_Configuration();
  EXPECT_EQ(c.GI_Start_S, 5000);
  EXPECT_EQ(c.GI_Start_2, 5000);
  EXPECT_EQ(c.GI_Duty, 560);
  EXPECT_EQ(c.GI_Period, 1120);
  EXPECT_TRUE(auto_enable.empty());
  c.GI_Type = "KEIHIN";
  c.GI_Start_S = 2500;
  c.GI_Start_2 = 5000;
  c.GI_Duty = 160;
  c.GI_Period = 528;
  Set_Default_Configuration();
  EXPECT_EQ(c.GI_Start_S, 2500);
  EXPECT_EQ(c.GI_Start_2, 5000);
  EXPECT_EQ(c.GI_Duty, 160);
  EXPECT_EQ(c.GI_Period, 528);
  EXPECT_EQ(auto_enable, std::vector<bool>{true});
}

TEST_F(Configuration_Test, IdentityResetOnlyWhileNotConnected) {
  Configuration_Create();
  Configuration_Class& c = Configuration;
  c.Program_Name = "Merivant GD 8";
  c.Program_Version = "8.07";
  c.Program_Date = "2026-01-15";
  c.Work_Gas = 300;
  c.Work_Petrol = 400;
  Connected = true;
  Set_Default_Configuration();
  EXPECT_EQ(c.Program_Name, "Merivant GD 8");
  EXPECT_EQ(c.Program_Version, "8.07");
  EXPECT_EQ(c.Work_Gas, 300);
  EXPECT_EQ(c.Work_Petrol, 400);

  Decode_Program_Version();
  ASSERT_EQ(Program_Version_Code, 807);
  Ident_Bind_Configuration();
  std::vector<bool> work;
  Ident_Hooks.About_Work_Visible = [&](bool v) { work.push_back(v); };
  Connected = false;
  Set_Default_Configuration();
  EXPECT_EQ(c.Program_Version, "");
  EXPECT_EQ(c.Program_Date, "");
  EXPECT_EQ(c.Work_Gas, 0);
  EXPECT_EQ(c.Work_Petrol, 0);
  EXPECT_EQ(Program_Version_Code, 0);
  EXPECT_EQ(Max_Injectors(), 2);
  EXPECT_EQ(work, std::vector<bool>{false});
}

TEST_F(Configuration_Test, RpmIdleDefaultFollowsTheSetting) {
  RPM_Idle_Run_Default = 750;
  Configuration_Create();
  EXPECT_EQ(Configuration.RPM_Idle_Run, 750);
}

}  // namespace
