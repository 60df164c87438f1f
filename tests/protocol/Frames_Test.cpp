// Request frames: layout, sum, mode byte, reply lengths and every builder's data bytes.
#include "protocol/Frames.h"

#include <gtest/gtest.h>

#include <vector>

#include "protocol/Protocol_Fixture.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Armed()
{
    return Bytes(TX_Frame, TX_Frame + Frame_Length);
}

class Frames_Test : public Protocol_Fixture {
protected:
    void SetUp() override
    {
        Protocol_Fixture::SetUp();
        Sent_Frame[0] = Mode_Controller;
    }
    void Put_Reply(const Bytes& r)
    {
        std::copy(r.begin(), r.end(), RX_Frame);
    }
};

TEST_F(Frames_Test, Probe_Is_Armed_Not_Written_And_Its_Reply_Sets_The_Ident_Length)
{
    Sent_Frame[0] = Mode_Loader;   // the probe brings the link back to the controller
    Send_Connect();
    EXPECT_EQ(Armed(), (Bytes{0x61, 0x21, 0x21, 0x21, 0xC4}));
    EXPECT_EQ(Reply_Length, 4);
    EXPECT_TRUE(Frame_Pending);
    EXPECT_TRUE(Script_Pause);
    EXPECT_TRUE(Link_Timer_Sending.Enabled());
    EXPECT_EQ(Link_Timer_Sending.Interval(), 60u);

    Sent_Frame[0] = 0x61;
    Sent_Frame[1] = 0x21;
    Put_Reply({0x61, 0x21, 45, static_cast<uint8_t>(0x61 + 0x21 + 45)});
    ASSERT_TRUE(Reply_Valid(4));
    Send_Ident_Request();
    EXPECT_EQ(Reply_Length, 48);
    EXPECT_EQ(Armed(), (Bytes{0x61, 0x22, 0x22, 0x22, 0xC7}));

    // The largest data length still gives a reply the buffers hold.
    RX_Frame[2] = 255;
    Send_Ident_Request();
    EXPECT_EQ(Reply_Length, 258);
    EXPECT_TRUE(Frame_Pending);
}

TEST_F(Frames_Test, New_Frames_Carry_The_Mode_Byte_Of_The_Last_Sent_Frame)
{
    Sent_Frame[0] = Mode_Loader;
    Send_Control_0_1();
    EXPECT_EQ(TX_Frame[0], Mode_Loader);
    Len_Current_Data = 62;
    Send_Read_Block_26();
    EXPECT_EQ(TX_Frame[0], Mode_Loader);
    EXPECT_EQ(Reply_Length, 65);
}

TEST_F(Frames_Test, Requests_After_A_Long_Write_Are_Five_Bytes)
{
    Write_Frame_Length = 11;
    Configuration.Car_Number = "AB";
    Send_Car_Num();
    ASSERT_EQ(Frame_Length, 11);
    Send_Car_Num_Request();
    EXPECT_EQ(Armed(), (Bytes{0x61, 0x2D, 0x08, 0x08, 0x9E}));
    Send_Car_Num();
    Len_Configuration = 100;
    Send_Read_Block_27();
    EXPECT_EQ(Armed(), (Bytes{0x61, 0x27, 0x27, 0x27, 0xD6}));
    EXPECT_EQ(Reply_Length, 103);
}

TEST_F(Frames_Test, Reply_Is_Judged_Against_The_Sent_Frame)
{
    Sent_Frame[1] = 0x2D;
    Reply_Length = 11;
    Bytes r{0x61, 0x2D, 'K', 'A', '1', 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    r.push_back(Frame_Sum(r.data(), r.size() + 1));
    Put_Reply(r);
    TX_Frame[1] = 0x26;   // the next frame is already being built
    EXPECT_TRUE(Reply_Valid(11));
    EXPECT_FALSE(Reply_Valid(10));                 // short
    RX_Frame[10] ^= 1;
    EXPECT_FALSE(Reply_Valid(11));                 // wrong sum
    RX_Frame[10] ^= 1;
    RX_Frame[1] = 0x2E;
    RX_Frame[10] = Frame_Sum(RX_Frame, 11);
    EXPECT_FALSE(Reply_Valid(11));                 // correct sum, other command
    Reply_Length = 2;
    EXPECT_FALSE(Reply_Valid(2));                  // no reply is shorter than 3
}

TEST_F(Frames_Test, Gas_Forcing_Bits_Follow_Buttons_And_Injector_Count)
{
    bool down[9] = {false, true, true, true, true, true, true, true, true};
    Protocol_Hooks.Gas_Fors_Down = [&](int k) { return down[k]; };
    Configuration.GI_Num = 6;
    Send_Gas_Fors();
    EXPECT_EQ(Armed(), (Bytes{0x61, 0x23, 0x34, 0xF4, static_cast<uint8_t>(0x61 + 0x23 + 0x34 + 0xF4)}));
    EXPECT_EQ(Reply_Length, 3);
    EXPECT_TRUE(New_Frame);

    Configuration.GI_Num = 2;
    Send_Gas_Fors();
    EXPECT_EQ(TX_Frame[2], 0x04);
    EXPECT_EQ(TX_Frame[3], 0x34);

    // Button 1 counts even with no injectors configured; 7 and 8 have no bit.
    Configuration.GI_Num = 0;
    for (int k = 2; k <= 6; ++k) down[k] = false;
    Send_Gas_Fors();
    EXPECT_EQ(TX_Frame[2], 0x04);
    EXPECT_EQ(TX_Frame[3], 0x14);
}

TEST_F(Frames_Test, Work_Mode_Request_Cycles_Petrol_Automatic_Gas)
{
    const std::pair<uint8_t, uint8_t> cycle[] = {{1, 2}, {2, 4}, {4, 1}};
    for (auto [now, next] : cycle) {
        Work_Mode = now;
        Send_Work_Mode();
        EXPECT_EQ(TX_Frame[2], 0);
        EXPECT_EQ(TX_Frame[3], next) << "from mode " << int(now);
    }
    Error_Control_Word = 0x1234;
    Send_Error_Control();
    EXPECT_EQ(Armed(), (Bytes{0x61, 0x24, 0x12, 0x34, static_cast<uint8_t>(0x61 + 0x24 + 0x12 + 0x34)}));
}

TEST_F(Frames_Test, Car_Number_Is_Padded_To_Eight_Bytes)
{
    Set_Write_Length_Car_Num();
    Configuration.Car_Number = "K7B";
    Send_Car_Num();
    ASSERT_EQ(Frame_Length, 11);
    EXPECT_EQ(Bytes(TX_Frame + 1, TX_Frame + 10),
              (Bytes{0x35, 'K', '7', 'B', 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(TX_Frame[10], Frame_Sum(TX_Frame, 11));

    Configuration.Car_Number = "";
    Send_Car_Num();
    EXPECT_EQ(Bytes(TX_Frame + 2, TX_Frame + 10), Bytes(8, 0xFF));

    Configuration.Car_Number = "ABCDEFGHIJ";   // never more than 8 bytes
    Send_Car_Num();
    EXPECT_EQ(Bytes(TX_Frame + 2, TX_Frame + 10), (Bytes{'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'}));
    EXPECT_EQ(TX_Frame[10], Frame_Sum(TX_Frame, 11));
}

TEST_F(Frames_Test, List_And_Calibration_Write_Lengths)
{
    int count = 50;
    Protocol_Hooks.Build_Full_List = [&] { return count; };
    Prepare_CFG_Write();
    EXPECT_EQ(Write_Frame_Length, 153);
    count = 52;
    Prepare_CFG_Write();
    EXPECT_EQ(Write_Frame_Length, 159);

    Protocol_Hooks.Build_CLB_List_1 = [] { return 3; };
    Prepare_CLB_Write_1();
    EXPECT_EQ(Write_Frame_Length, 116);
    int clb2 = 4;
    Protocol_Hooks.Build_CLB_List_2 = [&] { return clb2; };
    Prepare_CLB_Write_2();
    EXPECT_EQ(Write_Frame_Length, 171);
    clb2 = 5;
    Prepare_CLB_Write_2();
    EXPECT_EQ(Write_Frame_Length, 226);

    // The list frame goes out with the announced length and the packed bytes.
    Protocol_Hooks.Pack_Block_List = [] { TX_Frame[2] = 0x81; };
    bool slopes = false;
    Protocol_Hooks.Calc_CLB_K_TPS_VAC = [&] { slopes = true; };
    Send_CLB_Block_2();
    EXPECT_TRUE(slopes);
    EXPECT_EQ(Frame_Length, 226);
    EXPECT_EQ(TX_Frame[1], 0x31);
    EXPECT_EQ(TX_Frame[2], 0x81);
    EXPECT_EQ(TX_Frame[225], Frame_Sum(TX_Frame, 226));
    EXPECT_EQ(Reply_Length, 3);
}

TEST_F(Frames_Test, Table_Chunks_Never_Pass_The_Image)
{
    RPM_Tab_Image_Length = 110;
    RPM_Tab_Position = 10;     // 100 left
    Set_Write_Length_RPM_Chunk();
    EXPECT_EQ(Write_Frame_Length, 67);
    Send_RPM_Tab_Chunk_Request();
    EXPECT_EQ(TX_Frame[2], 64);
    EXPECT_EQ(Reply_Length, 67);

    RPM_Tab_Position = 100;    // 10 left
    Set_Write_Length_RPM_Chunk();
    EXPECT_EQ(Write_Frame_Length, 13);
    Send_RPM_Tab_Chunk_Request();
    EXPECT_EQ(TX_Frame[2], 10);
    EXPECT_EQ(Reply_Length, 13);

    RPM_Tab_Position = 200;    // past the end: nothing more is asked for
    Send_RPM_Tab_Chunk_Request();
    EXPECT_EQ(TX_Frame[2], 0);
    EXPECT_EQ(Reply_Length, 3);

    // Writing: the chunk takes the next image bytes and advances the position.
    for (int i = 0; i < 110; ++i) RPM_Tab_Image[i] = static_cast<uint8_t>(i);
    RPM_Tab_Position = 100;
    Set_Write_Length_RPM_Chunk();
    Send_RPM_Tab_Chunk();
    EXPECT_EQ(Frame_Length, 13);
    EXPECT_EQ(TX_Frame[1], 0x33);
    EXPECT_EQ(TX_Frame[2], 100);
    EXPECT_EQ(TX_Frame[11], 109);
    EXPECT_EQ(RPM_Tab_Position, 110);
    EXPECT_TRUE(RPM_Tab_Transfer_Done());

    // Reading: a reply's data lands at the position; the image never overflows.
    RPM_Tab_Cols = 13;
    RPM_Tab_Rows = 24;
    RPM_Tab_Transfer_Start();
    EXPECT_EQ(RPM_Tab_Image_Length, 362);
    RPM_Tab_Position = RPM_Tab_Image_Size - 2;
    Reply_Length = 67;
    RX_Frame[2] = 0xAA;
    RX_Frame[3] = 0xBB;
    RPM_Tab_Frame_To_Image();
    EXPECT_EQ(RPM_Tab_Image[RPM_Tab_Image_Size - 1], 0xBB);
    EXPECT_TRUE(RPM_Tab_Transfer_Done());
}

TEST_F(Frames_Test, Service_Time_Frame_And_Transmission_Status)
{
    Send_Write_Announce();   // queues the transmission text
    EXPECT_EQ(Status_Queue.Count, 1);
    Write_Frame_Length = 9;
    Configuration.Service_Time = 250;
    Send_Service_Time();
    EXPECT_EQ(Armed(), (Bytes{0x61, 0x36, 0x00, 0xFA, 0x00, 0x00, 0x3A, 0x98,
                              Frame_Sum(TX_Frame, 9)}));
    EXPECT_EQ(Status_Queue.Count, 0);
}

TEST_F(Frames_Test, Announce_Carries_The_Write_Length)
{
    Write_Frame_Length = 153;
    Send_Write_Announce();
    EXPECT_EQ(Armed(), (Bytes{0x61, 0x25, 0x25, 153, static_cast<uint8_t>(0x61 + 0x25 + 0x25 + 153)}));
    EXPECT_EQ(Reply_Length, 3);
}

TEST_F(Frames_Test, Password_Block_Is_Text_Then_Info_Padded_To_64)
{
    Password_Write_Block = Password_Block_Build("1234", std::string(70, 'i'));   // cut at 64
    Set_Write_Length_Password();
    Send_Password();
    ASSERT_EQ(Frame_Length, 67);
    EXPECT_EQ(Bytes(TX_Frame + 2, TX_Frame + 10), (Bytes{'1', '2', '3', '4', 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(TX_Frame[10], 'i');
    EXPECT_EQ(TX_Frame[65], 'i');
    EXPECT_EQ(TX_Frame[66], Frame_Sum(TX_Frame, 67));
}

TEST_F(Frames_Test, Live_Read_Saves_The_Car_File_After_A_Frame_Changed_The_Controller)
{
    int saves = 0;
    bool named = true;
    Protocol_Hooks.Car_File_Auto_Save_Due = [&] { return named; };
    Protocol_Hooks.Save_CFG_File = [&] { ++saves; New_Frame = false; };
    Send_Read_Block_26();
    EXPECT_EQ(saves, 0);
    Send_Control_0_2();   // any frame started with Begin_Frame
    Send_Read_Block_26();
    EXPECT_EQ(saves, 1);
    Send_Read_Block_26();
    EXPECT_EQ(saves, 1);
    // A read of the table alone brings nothing for the file; a read of the configuration does.
    Send_RPM_Tab_Size_Request();
    Send_Read_Block_26();
    EXPECT_EQ(saves, 1);
    Send_Read_Block_27();
    Send_Read_Block_26();
    EXPECT_EQ(saves, 2);
    named = false;
    Send_Control_0_2();
    Send_Read_Block_26();
    EXPECT_EQ(saves, 2);
}

TEST_F(Frames_Test, Time_Out_And_Watchdog_Behaviour_By_Command)
{
    EXPECT_EQ(Timeout_Step_Back(0x61, 0x25), 1);
    EXPECT_EQ(Timeout_Step_Back(0x61, 0x2F), 2);
    EXPECT_EQ(Timeout_Step_Back(0x61, 0x30), 2);
    EXPECT_EQ(Timeout_Step_Back(0x61, 0x31), 0);
    EXPECT_EQ(Timeout_Step_Back(0x61, 0x35), 0);   // a short write is sent again on its own
    EXPECT_EQ(Timeout_Step_Back(0xF1, 0x25), 0);
    EXPECT_EQ(Watchdog_Message_Key(0x61, 0x25), "Error_Data_Transmitt");
    EXPECT_EQ(Watchdog_Message_Key(0x61, 0x26), "");
    EXPECT_EQ(Watchdog_Message_Key(0x61, 't'), "Error_CFG_Transmitt");
    EXPECT_EQ(Watchdog_Message_Key(0x61, 0x2D), "Error_CFG_Receiv");
    EXPECT_EQ(Watchdog_Message_Key(0x61, 0x28), "Error_CLB_Receiv");
    EXPECT_EQ(Watchdog_Message_Key(0x61, 0x29), "");
    EXPECT_EQ(Watchdog_Message_Key(0xF1, 0x23), "");
}

TEST_F(Frames_Test, Probe_Advances_The_Port_Search)
{
    bool searching = true;
    int switches = 0;
    Protocol_Hooks.Port_Search_On = [&] { return searching; };
    Protocol_Hooks.Open_Next_Port = [&] { ++switches; };
    Send_Connect();
    Send_Connect();
    EXPECT_EQ(switches, 0);
    Send_Connect();   // the third unanswered probe asks for the next port
    EXPECT_EQ(switches, 1);
    EXPECT_EQ(Probe_Count, 0);
    searching = false;
    for (int i = 0; i < 5; ++i) Send_Connect();
    EXPECT_EQ(switches, 1);
}

}  // namespace
