// Calibration curves on the wire: each curve encoded as its sub-block, turned into the
// controller's reply form (words low byte first, as the emulator keeps them), decoded into
// fresh curves.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "Protocol_Fixture.h"
#include "data/Calibration.h"
#include "protocol/CLB_Codec.h"
#include "protocol/Ident.h"

namespace {

using Points = std::array<int32_t, CLB_Points>;

struct Curve_Row {
  const char* Name;
  uint8_t Code;
  Points In;
  Points Out;
  int Point;                      // the point whose wire bytes and decoded values are checked
  std::array<uint8_t, 6> Wire;    // slope, output, input words, high byte first
  int32_t In_Back, Out_Back;      // decoded values of that point
  double K_Back;
};

class CLB_Codec_Test : public Protocol_Fixture {
 protected:
  void SetUp() override {
    Protocol_Fixture::SetUp();
    Calibration_Reset();
    CLB_Codec_Reset();
    Ident_Reset();
    Configuration.RPM_Source = 1500000;
    Configuration.Pressure_1_Bar = 1315;
    Pressure_Factor = 0.8479;
    Program_Version_Code = 207;   // a model with the VAC input
    CLB_Codec_Init();
    Protocol_Hooks.Show_Message = [this](uint8_t, const std::string& text, int32_t) { Messages.push_back(text); };
  }
  void TearDown() override {
    Calibration_Reset();
    CLB_Codec_Reset();
    Ident_Reset();
    Protocol_Fixture::TearDown();
  }

  // The sub-block's 54 bytes as the controller hands them back, at the curve's place.
  void Reply_From_Sub_Block(uint8_t code) {
    const bool first_block = code <= 0x82;
    const int index = first_block ? code - 0x81 : code - 0x83;
    const uint8_t length = first_block ? 108 : 216;
    (first_block ? Len_Calibration_1 : Len_Calibration_2) = length;
    Reply_Length = static_cast<uint16_t>(length + 3);
    for (int k = 0; k < 54; k += 2) {
      RX_Frame[2 + index * 54 + k] = TX_Frame[2 + k + 1];
      RX_Frame[2 + index * 54 + k + 1] = TX_Frame[2 + k];
    }
  }

  std::vector<std::string> Messages;
};

constexpr Points Rising{0, 100, 200, 300, 400, 500, 700, 900, 1023};

TEST_F(CLB_Codec_Test, CurvesComeBackFromTheirSubBlocks) {
  const std::vector<Curve_Row> rows = {
      // Gas rising 1.5 us per count: K 1.5 goes as 192.
      {"gas", 0x81, Rising, {2000, 2150, 2300, 2450, 2600, 2750, 3050, 3350, 3534}, 1,
       {0x00, 0xC0, 0x08, 0x66, 0x00, 0x64}, 100, 2150, 1.5},
      // RPM point 0: the input word FF FF reads back as 0; factor 1.00 goes as 128.
      {"rpm point 0", 0x82, {0, 500, 1000, 1500, 2000, 2500, 3000, 4000, 5000},
       {10000, 10000, 10000, 10000, 10000, 10000, 10000, 10000, 10000}, 0,
       {0x80, 0x00, 0x00, 0x80, 0xFF, 0xFF}, 0, 10000, 1.0},
      // RPM 1000 is the period 1500; factor 1.50 goes as 192 and comes back 15000; the
      // slope is 64 / 1500 on the converted values, 1398 on the wire.
      {"rpm factor", 0x82, {0, 500, 1000, 1500, 2000, 2500, 3000, 4000, 5000},
       {10000, 10000, 15000, 10000, 10000, 10000, 10000, 10000, 10000}, 2,
       {0x05, 0x76, 0x00, 0xC0, 0x05, 0xDC}, 1000, 15000, 1398.0 / 32768},
      // Steep gas: 32000 us over one count saturates the slope word at 65535.
      {"steep gas", 0x83, {0, 1, 2, 3, 4, 5, 6, 7, 8}, {0, 32000, 32000, 32000, 32000, 32000, 32000, 32000, 32000}, 1,
       {0xFF, 0xFF, 0x7D, 0x00, 0x00, 0x01}, 1, 32000, 65535 / 128.0},
      // Falling input: slope -1.5 goes as -192 (FF 40); the word reads back unsigned.
      {"falling gas", 0x84, {0, 100, 50, 60, 70, 80, 90, 95, 99}, {0, 100, 175, 175, 175, 175, 175, 175, 175}, 2,
       {0xFF, 0x40, 0x00, 0xAF, 0x00, 0x32}, 50, 175, 65344 / 128.0},
      // Steeply falling: -300 x 128 lies below -32768 and goes as 0x8000.
      {"steep falling", 0x85, {0, 100, 99, 98, 97, 96, 95, 94, 93}, {0, 0, 300, 300, 300, 300, 300, 300, 300}, 2,
       {0x80, 0x00, 0x01, 0x2C, 0x00, 0x63}, 99, 300, 256.0},
      // Equal inputs: every slope 1.0, 32768 on the factor scale; 0.5 bar is the raw
      // count 114 of a 1315 mV sensor (228.1 counts per bar).
      {"flat vac", 0x86, {500, 500, 500, 500, 500, 500, 500, 500, 500},
       {10000, 10000, 10000, 10000, 10000, 10000, 10000, 10000, 10000}, 4,
       {0x80, 0x00, 0x00, 0x80, 0x00, 0x72}, 500, 10000, 1.0},
  };
  for (const Curve_Row& row : rows) {
    SCOPED_TRACE(row.Name);
    const CLB_Curve_Id id = static_cast<CLB_Curve_Id>(row.Code - 0x81);
    CLB_Curve& curve = CLB_Curve_Of(id);
    curve = CLB_Curve{};
    curve.In = row.In;
    curve.Out = row.Out;
    if (row.Code <= 0x82) Calc_CLB_K_Gas_RPM(); else Calc_CLB_K_TPS_VAC();
    Set_CFG_Parameter(row.Code);
    EXPECT_EQ(TX_Frame[1], row.Code);
    EXPECT_FALSE(Frame_Pending);   // a sub-block is packed, never sent alone
    const std::array<uint8_t, 6> wire{TX_Frame[2 + row.Point * 6], TX_Frame[3 + row.Point * 6],
                                      TX_Frame[4 + row.Point * 6], TX_Frame[5 + row.Point * 6],
                                      TX_Frame[6 + row.Point * 6], TX_Frame[7 + row.Point * 6]};
    EXPECT_EQ(wire, row.Wire);

    Reply_From_Sub_Block(row.Code);
    curve = CLB_Curve{};
    curve.Selected = 3;
    Script[1] = row.Code <= 0x82 ? 34 : 36;
    Script_PC = 1;
    Script_Action();
    EXPECT_EQ(curve.In[row.Point], row.In_Back);
    EXPECT_EQ(curve.Out[row.Point], row.Out_Back);
    EXPECT_DOUBLE_EQ(curve.K[row.Point], row.K_Back);
    EXPECT_EQ(curve.Selected, -1);
    EXPECT_EQ(curve.Out, row.Out);
    EXPECT_EQ(curve.In, row.In);
  }
  EXPECT_TRUE(Messages.empty());
}

TEST_F(CLB_Codec_Test, ShortBlockKeepsTheCurvesBeyondItAndReportsOncePerConnection) {
  CLB_Gas.In = Rising;
  CLB_Gas.Out = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  CLB_RPM.Out.fill(12345);
  Set_CFG_Parameter(0x81);
  Reply_From_Sub_Block(0x81);
  CLB_Gas = CLB_Curve{};
  Len_Calibration_1 = 100;   // the gas curve fits, the RPM curve does not
  Reply_Length = 103;
  Receiv_CLB_Gas_RPM();
  Receiv_CLB_Gas_RPM();
  EXPECT_EQ(CLB_Gas.In, Rising);
  EXPECT_EQ(CLB_RPM.Out[4], 12345);
  EXPECT_EQ(Messages, std::vector<std::string>{"Error_CLB_Receiv"});

  // Without the VAC input three curves are read; a block of two gives a report again
  // only on a new connection.
  Program_Version_Code = 100;
  CLB_VAC.Out.fill(777);
  Len_Calibration_2 = 108;
  Reply_Length = 111;
  Receiv_CLB_TPS_VAC();
  EXPECT_EQ(Messages.size(), 1u);
  ++Script_Connect_Count;   // the connect script ran again
  Receiv_CLB_TPS_VAC();
  EXPECT_EQ(Messages.size(), 2u);
  EXPECT_EQ(CLB_VAC.Out[0], 777);
}

}  // namespace
