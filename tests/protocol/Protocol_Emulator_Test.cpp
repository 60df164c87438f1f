// The sequencer and the frame builders against the controller emulator over a real
// pseudo-terminal, with the real identification and live-data decoders: what the
// program sends is what the controller understands, and what it answers is read back.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "data/Calibration.h"
#include "emulator/Emulator.h"
#include "protocol/CLB_Codec.h"
#include "protocol/Ident.h"
#include "protocol/Live_Data.h"
#include "protocol/Protocol_Emulator_Fixture.h"

namespace {

using Bytes = std::vector<uint8_t>;

class Protocol_Emulator_Test : public Protocol_Emulator_Fixture {};

TEST_F(Protocol_Emulator_Test, Connects_Reads_The_Table_And_Polls)
{
    emu::Ident_Settings id;
    id.Program_Version = "2.06";
    id.Len_Configuration = 100;
    id.Len_Calibration_2 = 162;
    emulator.Set_Ident(id);
    emu::Live_Settings live;
    live.Moving = false;
    live.RPM_Period = 2500;
    emulator.Set_Live(live);
    Configuration.RPM_Source = 1500000;

    Connect();
    EXPECT_TRUE(Connected);
    EXPECT_EQ(Len_Current_Data, 62);
    EXPECT_EQ(Len_Configuration, 100);
    EXPECT_EQ(Len_Calibration_2, 162);
    EXPECT_EQ(Program_Version_Code, 206);
    EXPECT_EQ(Live_Values.Live_RPM, 600);

    Bytes commands = emulator.Commands();
    Bytes head(commands.begin(), commands.begin() + 9);
    EXPECT_EQ(head, (Bytes{0x21, 0x22, 0x26, 0x2E, 0x2D, 0x27, 0x28, 0x29, 0x2A}));
    Bytes image = emulator.RPM_Table_Image();
    ASSERT_EQ(image.size(), 362u);
    EXPECT_EQ(Bytes(RPM_Tab_Image, RPM_Tab_Image + 362), image);
    for (const auto& e : emulator.Log()) EXPECT_TRUE(e.sum_ok);
    EXPECT_TRUE(messages.empty());
}

TEST_F(Protocol_Emulator_Test, Writes_Reach_The_Controller)
{
    Connect();
    Configuration.Car_Number = "CAR7";
    Configuration.Service_Time = 250;
    Work_Mode = 1;
    Request_Code = 29;   // service time
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(Exchange());
    EXPECT_EQ(emulator.Service_Time(), 250);
    EXPECT_EQ(emulator.Service_Count(), 15000u);

    Request_Code = 1;    // work mode, served at the next step
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(Exchange());
    EXPECT_EQ(emulator.Work_Mode(), 2);

    Request_Code = 17;   // car number (then the whole configuration)
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(Exchange());
    EXPECT_EQ(emulator.Car_Number(), (Bytes{'C', 'A', 'R', '7', 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST_F(Protocol_Emulator_Test, Lost_And_Spoilt_Replies_Are_Recovered)
{
    Connect();
    const size_t mark = Logged_Size();
    // A lost announce is announced again; after a spoilt reply the car-number write is
    // sent again on its own.
    emulator.Inject_Fault(emu::Fault::No_Reply, 1, 0x25);
    emulator.Inject_Fault(emu::Fault::Wrong_Sum, 1, 0x35);
    Configuration.Car_Number = "X1";
    Request_Code = 17;
    for (int i = 0; i < 6; ++i) ASSERT_TRUE(Exchange());
    Logged_Size();
    Bytes after;
    auto log = emulator.Log();
    for (size_t i = mark; i < log.size(); ++i) {
        EXPECT_TRUE(log[i].complete && log[i].sum_ok);
        after.push_back(log[i].request[1]);
    }
    ASSERT_GE(after.size(), 5u);
    EXPECT_EQ(Bytes(after.begin(), after.begin() + 5), (Bytes{0x26, 0x25, 0x25, 0x35, 0x35}));
    EXPECT_EQ(emulator.Car_Number()[1], '1');
    EXPECT_TRUE(messages.empty());
}

TEST_F(Protocol_Emulator_Test, Connecting_Reads_The_Controllers_Curves)
{
    // The controller's curves in its reply form, words low byte first: gas rising 1.5 us per
    // count, RPM factor 1.50 (192) at 1000 rpm (period 1500) throughout, TPS n rising by
    // 10 per point from n, VAC factor 1.00 (128) at 0.5 bar (raw 114 of a 1315 mV sensor).
    auto word = [](Bytes& b, size_t at, uint16_t w) {
        b[at] = static_cast<uint8_t>(w & 0xFF);
        b[at + 1] = static_cast<uint8_t>(w >> 8);
    };
    Bytes block_1(108), block_2(216);
    for (size_t i = 0; i < 9; ++i) {
        const uint16_t n = static_cast<uint16_t>(i);
        word(block_1, 6 * i, 192);
        word(block_1, 6 * i + 2, static_cast<uint16_t>(2000 + 150 * n));
        word(block_1, 6 * i + 4, static_cast<uint16_t>(100 * n));
        word(block_1, 54 + 6 * i, 0x8000);
        word(block_1, 54 + 6 * i + 2, 192);
        word(block_1, 54 + 6 * i + 4, 1500);
        for (size_t tps = 0; tps < 3; ++tps) {
            word(block_2, 54 * tps + 6 * i, 128);
            word(block_2, 54 * tps + 6 * i + 2, static_cast<uint16_t>(10 * n + tps + 1));
            word(block_2, 54 * tps + 6 * i + 4, static_cast<uint16_t>(100 * n));
        }
        word(block_2, 162 + 6 * i, 0x8000);
        word(block_2, 162 + 6 * i + 2, 128);
        word(block_2, 162 + 6 * i + 4, 114);
    }
    emulator.Set_Calibration(1, block_1);
    emulator.Set_Calibration(2, block_2);
    Configuration.RPM_Source = 1500000;
    Configuration.Pressure_1_Bar = 1315;
    Pressure_Factor = 0.8479;
    Calibration_Reset();
    CLB_Codec_Reset();
    CLB_Codec_Init();
    int drawn = 0;
    CLB_Codec_Hooks.Draw_Calibration = [&] { ++drawn; };

    Connect();
    EXPECT_EQ(Program_Version_Code, 207);
    EXPECT_EQ(CLB_Gas.In[3], 300);
    EXPECT_EQ(CLB_Gas.Out[3], 2450);
    EXPECT_DOUBLE_EQ(CLB_Gas.K[3], 1.5);
    EXPECT_EQ(CLB_RPM.In[8], 1000);
    EXPECT_EQ(CLB_RPM.Out[8], 15000);
    EXPECT_DOUBLE_EQ(CLB_RPM.K[0], 1.0);
    EXPECT_EQ(CLB_TPS1.Out[8], 81);
    EXPECT_EQ(CLB_TPS3.Out[2], 23);
    EXPECT_EQ(CLB_TPS2.In[5], 500);
    EXPECT_EQ(CLB_VAC.In[4], 500);
    EXPECT_EQ(CLB_VAC.Out[4], 10000);
    EXPECT_EQ(drawn, 1);
    EXPECT_TRUE(messages.empty());
    Calibration_Reset();
    CLB_Codec_Reset();
}

}  // namespace
