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

#include "emulator/Emulator.h"
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

}  // namespace
