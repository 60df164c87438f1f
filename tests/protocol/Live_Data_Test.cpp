// Live-data reply decoding, work and level modes, status and error bytes.
#include "data/Configuration.h"
#include "data/Conversions.h"
#include "data/Globals.h"
#include "data/Settings.h"
#include "protocol/Status_Queue.h"
#include "language/Language.h"
#include "protocol/Frames.h"
#include "protocol/Live_Data.h"
#include "main/Process_State.h"

#include <gtest/gtest.h>

#include "common/Test_Folder.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

class Live_Data_Test : public ::testing::Test {
protected:
  void SetUp() override {
    Reset_All_State();
    Configuration_Create();
    ASSERT_TRUE(Folder.Made());
    Program_Dir = Folder.Path();
    Temperature_File_Name = "KardunGD.dat";
    // Table: record i holds i tenths of a degree.
    std::ofstream f(Temperature_File_Path(), std::ios::binary);
    for (int i = 0; i < 1024; ++i) {
      f.put(static_cast<char>(i & 0xFF));
      f.put(static_cast<char>(i >> 8));
    }
    Rx.assign(65, 0);
    Rx[0] = 0x61;
    Rx[1] = 0x26;
  }
  void TearDown() override { Reset_All_State(); }
  void Word(std::size_t pos, int value) {
    Rx[pos] = static_cast<uint8_t>(value & 0xFF);
    Rx[pos + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
  }
  void Decode() { Decode_Live_Values(Rx.data(), Rx.size()); }
  std::vector<std::string> Queued() const {
    std::vector<std::string> out;
    for (int i = 1; i <= Status_Queue.Count; ++i) out.push_back(Status_Queue.Text[i]);
    return out;
  }
  Test_Folder Folder{"live"};
  std::vector<uint8_t> Rx;  // a 62-byte block: 65 bytes with mode, command and sum
};

TEST_F(Live_Data_Test, RpmFromPeriodAndNoSignal) {
  Word(24, 2500);
  Decode();
  EXPECT_EQ(Live_Values.Live_RPM, 600);
  EXPECT_EQ(Live_Values.Live_Word_24, 2500);
  Word(24, 0);
  Decode();
  EXPECT_EQ(Live_Values.Live_RPM, 0);
  EXPECT_EQ(Live_Values.Live_Word_24, 0);
  Word(24, 0xFFFF);
  Decode();
  EXPECT_EQ(Live_Values.Live_RPM, 0);
  EXPECT_EQ(Live_Values.Live_Word_24, 65535);  // still shown: T = 262140 mks
}

TEST_F(Live_Data_Test, GasTimeAveragesTheActiveCylindersInGasModeOnly) {
  Rx[2] = 4;
  Rx[3] = 0x05;  // cylinders 1 and 3
  Word(8, 3000);
  Word(10, 9999);
  Word(12, 3100);
  Word(14, 8888);
  Decode();
  EXPECT_EQ(Live_Values.Live_Gas_Time, 3050);
  Rx[3] = 0x80;  // cylinder 8 alone
  Word(22, 2000);
  Decode();
  EXPECT_EQ(Live_Values.Live_Gas_Time, 2000);
  Rx[3] = 0x00;  // no injector active: no division
  Decode();
  EXPECT_EQ(Live_Values.Live_Gas_Time, 0);
  Rx[2] = 1;
  Rx[3] = 0x05;
  Decode();
  EXPECT_EQ(Live_Values.Live_Gas_Time, 0);
  Rx[2] = 2;
  Decode();
  EXPECT_EQ(Live_Values.Live_Gas_Time, 0);
}

TEST_F(Live_Data_Test, FactorsAndGasPercentFollowTheMode) {
  Rx[26] = 128;
  Rx[27] = 64;
  Word(46, 1023);  // input 1: 5.00 V
  Word(52, 512);   // output 1: 2.50 V
  Rx[2] = 4;
  Decode();
  EXPECT_EQ(Live_Values.Live_Factor_RPM, 10000);
  EXPECT_EQ(Live_Values.Live_Factor_VAC, 5000);
  EXPECT_EQ(Live_Values.Live_Gas_PerCent, 50);
  Rx[2] = 1;
  Decode();
  EXPECT_EQ(Live_Values.Live_Factor_RPM, 0);
  EXPECT_EQ(Live_Values.Live_Gas_PerCent, 100);
  Rx[2] = 4;
  Word(46, 0);
  Decode();
  EXPECT_EQ(Live_Values.Live_Gas_PerCent, 100);
}

TEST_F(Live_Data_Test, SensorsThroughTheirConversions) {
  Word(28, 0x0100 | 0xFC00);  // high bits beyond 10 masked: count 256
  Word(30, 40);
  Word(32, 1023);
  Word(34, 818);
  Word(36, 456);  // two bar
  Word(38, 228);  // one bar
  Word(40, 700);
  Word(42, 1023);
  Word(44, 512);
  Word(50, 0x0401);  // input 3: count 1
  Word(56, 1023);
  Decode();
  const Live_Values_Class& v = Live_Values;
  EXPECT_EQ(v.Live_TempVap, 256);
  EXPECT_EQ(v.Live_TempGas, 40);
  EXPECT_EQ(v.Live_TempInside, 1023);
  EXPECT_EQ(v.Live_TempCouple, 1000);
  EXPECT_EQ(v.Live_PressVap, 200);
  EXPECT_EQ(v.Live_PressColl, 100);
  EXPECT_EQ(v.Live_PressDiff, 100);
  EXPECT_EQ(v.Live_Power, 1400);
  EXPECT_EQ(v.Live_Detonation, 500);
  EXPECT_EQ(v.Live_TPS, 250);
  EXPECT_EQ(v.Live_TPS_Raw, 512);
  EXPECT_EQ(v.Live_Input_3, 0);
  EXPECT_EQ(v.Live_Input_3_Raw, 0x0401);
  EXPECT_EQ(v.Live_Output_3, 500);
}

TEST_F(Live_Data_Test, LabelTextsOfTheGeneralPage) {
  Set_Decimal_Separator('.');
  Rx[2] = 4;
  Rx[3] = 0x01;
  Rx[26] = 128;
  Word(8, 3059);
  Word(24, 0xFFFF);
  Word(46, 1023);
  Word(52, 512);
  Decode();
  const Live_Texts t = Live_Label_Texts();
  EXPECT_EQ(t.RPM, "0");
  EXPECT_EQ(t.Rpm_Timer, "65535");
  EXPECT_EQ(t.RPM_Period, "T = 262140 mks");
  EXPECT_EQ(t.Gas, "3.05");
  EXPECT_EQ(t.Rpm_K, "Factor RPM = 1.00");
  EXPECT_EQ(t.PerCent, "50 %");
  EXPECT_EQ(t.In[1], "I1 = 5.00");
  EXPECT_EQ(t.Out[0], "O1 = 2.50");
  EXPECT_EQ(t.TempVap, "0.0");
}

TEST_F(Live_Data_Test, PressureDifferenceIsNeverNegative) {
  Word(36, 228);
  Word(38, 456);
  Decode();
  EXPECT_EQ(Live_Values.Live_PressDiff, 0);
}

TEST_F(Live_Data_Test, MissingTemperatureTableReadsUnknown) {
  std::filesystem::remove(Temperature_File_Path());
  Word(28, 100);
  Decode();
  EXPECT_EQ(Live_Values.Live_TempVap, Temperature_Unknown);
  EXPECT_EQ(Format_Temperature(Live_Values.Live_TempVap), "");
}

TEST_F(Live_Data_Test, GasLevelByteAndLevelCounterByteOrder) {
  Rx[58] = 0x10;
  Rx[59] = 0x83;
  Rx[60] = 0x01;
  Decode();
  EXPECT_EQ(Live_Values.Live_Gas_Level, 0x310);
  EXPECT_EQ(*Reply_Level_Mode(Rx.data(), Rx.size()), 128);
  EXPECT_EQ(Live_Values.Level_Counter, 65536u);
  Rx[60] = 0x22;
  Rx[61] = 0x11;
  Rx[62] = 0x44;
  Rx[63] = 0x33;
  Decode();
  EXPECT_EQ(Live_Values.Level_Counter, 0x11223344u);
}

TEST_F(Live_Data_Test, ShortBlockLeavesTheUpperFieldsUnchanged) {
  Live_Values.Live_Gas_Level = 77;
  Live_Values.Level_Counter = 99;
  Live_Values.Live_Output_3 = 55;
  Word(24, 2500);
  Word(56, 1023);
  Rx[58] = 5;
  // 54 data bytes: bytes 2..55 (outputs 3 and beyond are missing).
  Decode_Live_Values(Rx.data(), 57);
  EXPECT_EQ(Live_Values.Live_RPM, 600);
  EXPECT_EQ(Live_Values.Live_Output_3, 55);
  EXPECT_EQ(Live_Values.Live_Gas_Level, 77);
  EXPECT_EQ(Live_Values.Level_Counter, 99u);
  EXPECT_FALSE(Reply_Level_Mode(Rx.data(), 57).has_value());
}

TEST_F(Live_Data_Test, WorkModesLevelModesAndLeds) {
  Work_Mode = 2;
  EXPECT_FALSE(Work_Mode_Changed(2));
  EXPECT_TRUE(Work_Mode_Changed(4));
  EXPECT_EQ(Work_Mode, 4);
  EXPECT_TRUE(Work_Mode_Display(4)->Buttons_Follow_Injectors);
  EXPECT_FALSE(Work_Mode_Display(2)->Buttons_Follow_Injectors);
  EXPECT_FALSE(Work_Mode_Display(3).has_value());  // panel left as it is
  EXPECT_EQ(Level_Mode_Keys(0)->Caption_Key, "");
  EXPECT_FALSE(Level_Mode_Keys(48).has_value());

  auto leds = [](uint8_t w, bool s, uint8_t l) {
    const Mode_Leds_State m = Mode_Leds(w, s, l);
    return std::string(m.Red ? "R" : "-") + (m.Green ? "G" : "-") + (m.Yellow ? "Y" : "-");
  };
  EXPECT_EQ(leds(1, true, 128), "--Y");
  EXPECT_EQ(leds(2, false, 0), "--Y");
  EXPECT_EQ(leds(4, false, 64), "-G-");
  EXPECT_EQ(leds(4, true, 32), "RG-");
  EXPECT_EQ(leds(4, true, 64), "R--");
  EXPECT_EQ(leds(4, true, 128), "-GY");
  EXPECT_EQ(leds(4, true, 16), "-G-");
}

TEST_F(Live_Data_Test, SoftwareLevelCounterDrivesTheLedRow) {
  Configuration.GL_Etalon = 1200;  // one LED step: 200
  Work_Mode = 4;
  EXPECT_TRUE(Level_Mode_Changed(128));
  EXPECT_FALSE(Level_Mode_Changed(128));
  Live_Values.Level_Counter = 350u << 21;
  Software_Level_View view = Software_Level_Update(true);
  EXPECT_EQ(view.Level_Current_Text, "6.52447");
  EXPECT_EQ(Live_Values.Level_Counter, 350u);
  EXPECT_EQ(Live_Values.Live_Gas_Level, 350);
  EXPECT_EQ(view.Scale, 1200);
  ASSERT_TRUE(view.Leds_From_Counter);
  EXPECT_FALSE(view.Green[4]);  // green 5: below one step
  EXPECT_TRUE(view.Green[3]);   // green 4: below two steps
  EXPECT_TRUE(view.Green[0]);
  EXPECT_FALSE(view.Red);

  Live_Values.Level_Counter = 1100u << 21;  // beyond five steps: red
  view = Software_Level_Update(true);
  EXPECT_FALSE(view.Green[0]);
  EXPECT_TRUE(view.Red);

  Level_Mode_Changed(64);
  Live_Values.Level_Counter = 5u << 21;
  view = Software_Level_Update(true);
  EXPECT_FALSE(view.Leds_From_Counter);
  EXPECT_EQ(Live_Values.Live_Gas_Level, 5);

  Work_Mode = 1;  // outside gas mode the counter reads 0
  Live_Values.Level_Counter = 12345;
  view = Software_Level_Update(true);
  EXPECT_EQ(Live_Values.Live_Gas_Level, 0);
  EXPECT_EQ(Live_Values.Level_Counter, 0u);

  Live_Values.Live_Gas_Level = 700;  // other level types keep the sensor value
  view = Software_Level_Update(false);
  EXPECT_EQ(view.Scale, 1023);
  EXPECT_EQ(Live_Values.Live_Gas_Level, 700);
  EXPECT_TRUE(view.Level_Current_Text.empty());
}

TEST_F(Live_Data_Test, StatusBitsActInBitOrderOnlyOnChangeWhileConnected) {
  const std::string engine_off = Language_Text("Error_Engine_off");
  const std::string low = Language_Text("Error_Low_pressure");
  const std::string normal = Language_Text("Error_Normal_pressure");
  ASSERT_FALSE(engine_off.empty());

  Status_Bits_Changed(0x10);  // not connected: nothing
  EXPECT_EQ(Status_Queue.Count, 0);
  EXPECT_EQ(Status_Word, 0);

  Connected = true;
  Add_Status_Message(clRed, engine_off);
  Add_Status_Message(clRed, low);
  std::vector<std::string> shown;
  Status_Line_Hooks.Line_Changed = [&](const Status_Line_State& s) { shown.push_back(s.Text); };
  Status_Bits_Changed(0x03);
  EXPECT_EQ(Status_Queue.Count, 0);
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back(), normal);  // bit 1 acts after bit 0
  EXPECT_EQ(Status_Word, 0x03);
  shown.clear();
  Status_Bits_Changed(0x03);
  EXPECT_TRUE(shown.empty());

  Status_Bits_Changed(0x14);  // engine and pressure lost, data not saved, preheating
  EXPECT_EQ(Queued(), (std::vector<std::string>{engine_off, low, Language_Text("Error_Not_Save_Data"),
                                                Language_Text("Error_Preheating")}));
  EXPECT_EQ(Status_Queue.Colour[4], clLime);
  Status_Bits_Changed(0x08);  // saved: shown once; bits 2 and 4 cleared
  EXPECT_EQ(Queued(), (std::vector<std::string>{engine_off, low}));
}

TEST_F(Live_Data_Test, ErrorMemoFilledOnceUntilCleared) {
  EXPECT_TRUE(Error_Word_Changed(0x00));  // first reply fills "OK"
  EXPECT_EQ(Error_Memo_Keys(0x00), std::vector<std::string>{"Memo_ERR_OK"});
  EXPECT_FALSE(Error_Word_Changed(0x00));
  EXPECT_FALSE(Error_Word_Changed(0x00));
  EXPECT_TRUE(Error_Word_Changed(0x05));
  EXPECT_EQ(Error_Memo_Keys(0x05),
            (std::vector<std::string>{"Memo_ERR_TempVap_Current_1", "Memo_ERR_PressVap_Current_1"}));
  EXPECT_FALSE(Error_Word_Changed(0x05));
  Error_Memo_Shown = false;  // the error-clear button
  EXPECT_TRUE(Error_Word_Changed(0x05));
  EXPECT_EQ(Error_Memo_Keys(0x1F).size(), 5u);
  EXPECT_EQ(Error_Memo_Keys(0x1F).back(), "Memo_ERR_Press_Leakage_Gas");
}

TEST_F(Live_Data_Test, ScriptActionDecodesTheReceiveBufferInOrder) {
  std::vector<std::string> calls;
  Live_Data_Hooks.Show_Work_Mode = [&](uint8_t m, uint8_t b) {
    calls.push_back("mode " + std::to_string(m) + " " + std::to_string(b));
  };
  Live_Data_Hooks.Show_Level_Mode = [&](uint8_t l) { calls.push_back("level " + std::to_string(l)); };
  Live_Data_Hooks.Show_Error_Memo = [&] { calls.push_back("memo"); };
  Live_Data_Hooks.Show_Live_Values = [&] { calls.push_back("values " + std::to_string(Live_Values.Live_RPM)); };
  Rx[2] = 4;
  Rx[3] = 0x03;
  Rx[59] = 0x20;
  Word(24, 1500);
  std::memcpy(RX_Frame, Rx.data(), Rx.size());
  Reply_Length = static_cast<uint16_t>(Rx.size());
  Receiv_Current_Data();
  EXPECT_EQ(calls, (std::vector<std::string>{"mode 4 3", "level 32", "memo", "values 1000"}));
  calls.clear();
  Receiv_Current_Data();
  EXPECT_EQ(calls, (std::vector<std::string>{"mode 4 3", "level 32", "values 1000"}));
}

TEST_F(Live_Data_Test, OscilloscopeSampleHoldsGasTimeInTensOfMicroseconds) {
  Live_Values.Live_RPM = 900;
  Live_Values.Live_Gas_Time = 3055;
  Live_Values.Live_PressColl = 95;
  uint16_t w[8];
  Live_OSC_Sample(w);
  EXPECT_EQ(w[0], 900);
  EXPECT_EQ(w[1], 305);
  EXPECT_EQ(w[7], 95);
}

}  // namespace
