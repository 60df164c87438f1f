// The sequencer and the curve decoder against the controller emulator over a real
// pseudo-terminal: the controller's curves read back at the connect.
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
