// Gas-diesel options: their English texts behind the main table, the shared captions, and
// the TPS source codes of the emulation nibbles.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/Configuration.h"
#include "data/GD_Options.h"
#include "data/Globals.h"
#include "data/Settings.h"
#include "language/Language.h"
#include "language/Language_En.h"

namespace {

class GD_Options_Test : public ::testing::Test {
 protected:
  void SetUp() override {
    Settings_Reset();
    English_Tables_Reset();
    GD_Options_Reset();
  }
  void TearDown() override {
    English_Tables_Reset();
    GD_Options_Reset();
  }
};

TEST_F(GD_Options_Test, EnglishTextsAndCaptionsOnceRegistered) {
  std::string text = "kept";
  English_Text_GD("No_Such_Key", text);
  EXPECT_EQ(text, "kept");
  EXPECT_EQ(Language_Text("Label_CFG_Cut_Off_Time"), "");   // not registered yet

  English_Text_GD_Register();
  EXPECT_EQ(Language_Text("Label_CFG_Cut_Off_Time"), "Measuring timer (mc)");
  EXPECT_EQ(Language_Text("CFG_RPM_IdleRun_Hint"),
            "To configure the idle run set the idle run R.P.M. and enter the data tachometer, and "
            "then click \"Setting\"");
  GD_Captions_Build();
  EXPECT_EQ(GD_Captions[2], " Input voltage, v ");
  EXPECT_EQ(GD_Captions[6], " Factor");
  EXPECT_EQ(GD_Captions[10], "Input");
  EXPECT_EQ(GD_Captions[11], " Vacuum, bar ");
}

TEST_F(GD_Options_Test, TPSSourceCodesAndComboItems) {
  struct Row {
    uint8_t Code;
    bool Has_Input_0;
    int Index;
  };
  // Emulation_TPS_Config_L 0x42: gas diagram from input 1 (code 2), output 1 from input 2.
  const std::vector<Row> rows = {
      {2, false, 0}, {4, false, 1}, {8, false, 2}, {2, true, 1}, {4, true, 2}, {1, true, 0}, {8, true, 3},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(TPS_Index_From_Code(row.Code, row.Has_Input_0), row.Index) << int(row.Code) << row.Has_Input_0;
    EXPECT_EQ(TPS_Code_From_Index(row.Index, row.Has_Input_0), row.Code) << row.Index << row.Has_Input_0;
  }
  EXPECT_EQ(TPS_Index_From_Code(3, true), 0);     // no such code: the first item
  EXPECT_EQ(TPS_Code_From_Index(7, true), 1);     // no such item: input 0's code
}

TEST_F(GD_Options_Test, DefaultsKeepVirtualPulseAndEmulation) {
  Configuration_Class& c = Configuration;
  c = Configuration_Class{};
  c.Virtual_Injection_ON = true;
  c.Emulation_TPS_Config_H = 0x84;
  c.Limit_Temperature = 1;
  c.Filter_TPS_3_ON = false;
  Set_Default_GD_Options();
  EXPECT_TRUE(c.Virtual_Injection_ON);
  EXPECT_EQ(c.Emulation_TPS_Config_H, 0x84);
  EXPECT_EQ(c.Limit_Temperature, 600);
  EXPECT_TRUE(c.Filter_TPS_3_ON);
  EXPECT_FLOAT_EQ(c.Thermocouple_Factor, 0.8184f);
  c = Configuration_Class{};
}

}  // namespace
