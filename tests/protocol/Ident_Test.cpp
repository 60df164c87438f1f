// Identification reply decoding, model names and the feature gates of each model.
#include "data/Configuration.h"
#include "data/Globals.h"
#include "data/Settings.h"
#include "protocol/Frames.h"
#include "protocol/Ident.h"
#include "main/Process_State.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class Ident_Test : public ::testing::Test {
protected:
  void SetUp() override {
    Reset_All_State();
    Ident_Hooks.About_Program_Visible = [this](bool v) { About_Program.push_back(v); };
    Ident_Hooks.About_Work_Visible = [this](bool v) { About_Work.push_back(v); };
  }
  void TearDown() override { Reset_All_State(); }

  // A whole identification reply (44 bytes: 41 data bytes).
  static std::vector<uint8_t> Reply(uint8_t status, const std::string& name, const std::string& version,
                                    std::vector<uint8_t> work = {0, 0, 0, 0, 0, 0},
                                    std::vector<uint8_t> lengths = {62, 120, 110, 220}) {
    std::vector<uint8_t> r = {0x61, 0x22, status};
    auto put = [&](const std::string& s, std::size_t width) {
      for (std::size_t i = 0; i < width; ++i) r.push_back(i < s.size() ? s[i] : ' ');
    };
    put(name, 16);
    put("2026-01-15", 10);
    put(version, 4);
    r.insert(r.end(), work.begin(), work.end());
    r.insert(r.end(), lengths.begin(), lengths.end());
    r.push_back(Frame_Sum(r.data(), r.size() + 1));
    return r;
  }

  void Decode_Version(const std::string& name, const std::string& version) {
    Configuration.Program_Name = name;
    Configuration.Program_Version = version;
    Decode_Program_Version();
  }

  std::vector<bool> About_Program, About_Work;
};

TEST_F(Ident_Test, FeatureGatesAtEachVersionBoundary) {
  struct Row {
    int32_t v;
    int injectors;
    bool emulation, tps_zero, vac;
  };
  const Row rows[] = {
      {0, 2, true, false, false},     {199, 2, true, false, false},   {200, 2, true, false, false},
      {206, 2, true, false, false},   {207, 2, true, false, true},    {599, 2, true, false, true},
      {600, 6, false, false, false},  {606, 6, false, false, false},  {607, 6, false, false, true},
      {799, 6, false, false, true},   {800, 8, true, true, false},    {806, 8, true, true, false},
      {807, 8, true, true, true},     {899, 8, true, true, true},     {900, 2, true, false, false},
      {1207, 2, true, false, false},
  };
  for (const Row& row : rows) {
    Program_Version_Code = row.v;
    EXPECT_EQ(Max_Injectors(), row.injectors) << row.v;
    EXPECT_EQ(Has_TPS_Emulation(), row.emulation) << row.v;
    EXPECT_EQ(Has_TPS_Zero(), row.tps_zero) << row.v;
    EXPECT_EQ(Has_VAC(), row.vac) << row.v;
  }
}

TEST_F(Ident_Test, TpsComboItemsFollowTheInputZeroGate) {
  Program_Version_Code = 807;
  std::vector<std::string> items = TPS_Input_Items();
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[0].substr(0, 4), "TPS ");
  EXPECT_EQ(items[0].back(), '0');
  EXPECT_EQ(items[3].back(), '3');
  Program_Version_Code = 207;
  items = TPS_Input_Items();
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].back(), '1');
}

TEST_F(Ident_Test, VersionTextBecomesOneNumber) {
  EXPECT_EQ(Version_Text_To_Code("2.07"), 207);
  EXPECT_EQ(Version_Text_To_Code("2.06"), 206);
  EXPECT_EQ(Version_Text_To_Code("6.07"), 607);
  EXPECT_EQ(Version_Text_To_Code("8.00"), 800);
  EXPECT_EQ(Version_Text_To_Code("2.7"), 207);  // the minor part is a plain integer
  EXPECT_EQ(Version_Text_To_Code("abcd"), 0);
  EXPECT_EQ(Version_Text_To_Code("2.x"), 0);
  EXPECT_EQ(Version_Text_To_Code("5"), 5);
  EXPECT_EQ(Version_Text_To_Code(".5"), 0);
  EXPECT_EQ(Version_Text_To_Code(""), 0);
  // Texts longer than 4 characters, as a file may hold: no overflow, no wrapped code.
  EXPECT_EQ(Version_Text_To_Code("21474836.47"), 2147483647);
  EXPECT_EQ(Version_Text_To_Code("21474836.48"), 0);
  EXPECT_EQ(Version_Text_To_Code("2147483647.99"), 0);
  EXPECT_EQ(Version_Text_To_Code("-2147483648.00"), 0);
  EXPECT_EQ(Version_Text_To_Code("2.2147483647"), 0);

  Decode_Version("MerivantGD6", "6.07");
  EXPECT_EQ(Program_Version_Code, 607);
  EXPECT_EQ(Max_Injectors(), 6);
  Decode_Version("MerivantGD6", "");
  EXPECT_EQ(Program_Version_Code, 0);
  Decode_Version("", "8.07");  // no name: no version either
  EXPECT_EQ(Program_Version_Code, 0);
  EXPECT_EQ(About_Program.back(), false);
}

TEST_F(Ident_Test, ModelNamesIgnoreBlanksAndCaseAndDecodeTwiceTheSame) {
  Decode_Version("  Merivant GD 6 ", "6.07");
  EXPECT_EQ(Configuration.Program_Name, "GD6");
  EXPECT_EQ(Program_Name_Text, "\"GD6\"");
  Decode_Version("merivant gd2", "2.07");
  EXPECT_EQ(Configuration.Program_Name, "GD2");
  Decode_Version("Merivant GD4", "2.07");
  EXPECT_EQ(Configuration.Program_Name, "Unknow");

  // A display name (as a saved file holds it) keeps its model and its version.
  Decode_Version("Merivant GD 8", "8.07");
  Decode_Program_Version();
  EXPECT_EQ(Configuration.Program_Name, "GD8");
  EXPECT_EQ(Program_Version_Code, 807);
  Settings.Name_Block_PIC_2 = "Six Cylinder";
  Decode_Version("MERIVANTGD6", "6.00");
  EXPECT_EQ(Configuration.Program_Name, "Six Cylinder");
  Decode_Program_Version();
  EXPECT_EQ(Configuration.Program_Name, "Six Cylinder");
  Decode_Version("sixcylinder", "6.00");
  EXPECT_EQ(Configuration.Program_Name, "Six Cylinder");
}

TEST_F(Ident_Test, ReplyFillsRecordCountersAndBlockLengths) {
  const auto r = Reply(1, " Merivant GD 6", "6.07", {0x00, 0x01, 0x00, 0x01, 0x00, 0x02}, {62, 120, 110, 220});
  Ident_Block_Lengths lengths;
  ASSERT_TRUE(Decode_Ident_Reply(r.data(), r.size(), lengths));
  EXPECT_EQ(Ident_Status, 1);
  EXPECT_FALSE(Ident_Status_Failed());
  EXPECT_EQ(Configuration.Program_Name, "GD6");
  EXPECT_EQ(Configuration.Program_Date, "2026-01-15");
  EXPECT_EQ(Configuration.Program_Version, "6.07");
  EXPECT_EQ(Program_Version_Code, 607);
  EXPECT_EQ(Configuration.Work_Gas, 256);
  EXPECT_EQ(Configuration.Work_Petrol, 65538);  // high byte first
  EXPECT_EQ(About_Work, std::vector<bool>{true});
  EXPECT_EQ(lengths.Current_Data, 62);
  EXPECT_EQ(lengths.Configuration, 120);
  EXPECT_EQ(lengths.Calibration_1, 110);
  EXPECT_EQ(lengths.Calibration_2, 220);

  const auto idle = Reply(2, "MerivantGD2", "2.07");
  ASSERT_TRUE(Decode_Ident_Reply(idle.data(), idle.size(), lengths));
  EXPECT_TRUE(Ident_Status_Failed());
  EXPECT_EQ(About_Work.back(), false);
}

// A reply too short to hold the four block lengths is refused (reported as a version this
// program cannot work with), while the fields it does hold are shown on the About page.
TEST_F(Ident_Test, ShortReplyIsRefusedAndLeavesTheFieldsItCannotFill) {
  Ident_Block_Lengths lengths{11, 22, 33, 44};
  Configuration.Work_Gas = 77;
  Configuration.Work_Petrol = 88;
  auto r = Reply(1, "MerivantGD8", "8.07", {0, 0, 9, 0, 0, 9});
  // Only 33 data bytes: the version is the last whole field.
  std::vector<uint8_t> cut(r.begin(), r.begin() + 35);
  cut.push_back(0);
  EXPECT_FALSE(Decode_Ident_Reply(cut.data(), cut.size(), lengths));
  EXPECT_EQ(Ident_Status, Ident_Status_Refused);
  EXPECT_TRUE(Ident_Status_Failed());
  EXPECT_EQ(Program_Version_Code, 807);
  EXPECT_EQ(Configuration.Work_Gas, 77);
  EXPECT_EQ(Configuration.Work_Petrol, 88);
  EXPECT_EQ(lengths.Current_Data, 11);
  EXPECT_EQ(lengths.Calibration_2, 44);

  // Only the status and part of the name.
  Configuration.Program_Name = "kept";
  std::vector<uint8_t> tiny = {0x61, 0x22, 1, 'M', 'e', 0};
  EXPECT_FALSE(Decode_Ident_Reply(tiny.data(), tiny.size(), lengths));
  EXPECT_EQ(Ident_Status, Ident_Status_Refused);
  EXPECT_EQ(Configuration.Program_Name, "Unknow");  // the kept name still decoded
  EXPECT_EQ(lengths.Current_Data, 11);

  // Three of the four lengths: refused, none taken.
  const auto three = Reply(1, "MerivantGD8", "8.07", {0, 0, 9, 0, 0, 9}, {62, 120, 110});
  EXPECT_FALSE(Decode_Ident_Reply(three.data(), three.size(), lengths));
  EXPECT_EQ(lengths.Current_Data, 11);
  EXPECT_EQ(lengths.Calibration_1, 33);
}

TEST_F(Ident_Test, ReplyWithoutStatusIsRefused) {
  Ident_Block_Lengths lengths{11, 22, 33, 44};
  std::vector<uint8_t> r = {0x61, 0x22, 0x83};
  EXPECT_FALSE(Decode_Ident_Reply(r.data(), r.size(), lengths));
  EXPECT_EQ(Ident_Status, Ident_Status_Refused);
  EXPECT_TRUE(Ident_Status_Failed());
  EXPECT_EQ(lengths.Current_Data, 11);
}

TEST_F(Ident_Test, LongestBlockLengthsStillFitTheFrameBuffers) {
  const auto r = Reply(1, "MerivantGD2", "2.07", {0, 0, 0, 0, 0, 0}, {255, 255, 255, 255});
  Ident_Block_Lengths lengths;
  EXPECT_TRUE(Decode_Ident_Reply(r.data(), r.size(), lengths));
  EXPECT_EQ(lengths.Current_Data, 255);
  EXPECT_LE(lengths.Current_Data + 3u, Frame_Buffer_Size);
}

TEST_F(Ident_Test, ScriptActionTakesLengthsFromTheReceiveBuffer) {
  int windows = 0;
  Ident_Hooks.Ident_Windows = [&] { ++windows; };
  const auto r = Reply(1, "MerivantGD8", "8.00", {0, 0, 0, 0, 0, 0}, {64, 100, 110, 165});
  std::memcpy(RX_Frame, r.data(), r.size());
  Reply_Length = static_cast<uint16_t>(r.size());
  Receiv_Ident_Data();
  EXPECT_EQ(Len_Current_Data, 64);
  EXPECT_EQ(Len_Configuration, 100);
  EXPECT_EQ(Len_Calibration_1, 110);
  EXPECT_EQ(Len_Calibration_2, 165);
  EXPECT_EQ(Max_Injectors(), 8);
  EXPECT_TRUE(Has_TPS_Zero());
  EXPECT_FALSE(Has_VAC());
  EXPECT_EQ(windows, 1);

  Reply_Length = 3;  // refused: nothing taken, no window step
  Receiv_Ident_Data();
  EXPECT_EQ(Len_Current_Data, 64);
  EXPECT_EQ(windows, 1);
  EXPECT_TRUE(Ident_Status_Failed());
}

}  // namespace
