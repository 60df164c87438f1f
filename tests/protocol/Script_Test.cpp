// The script sequencer driven by scripted replies: every armed frame is "written" (copied
// to Sent_Frame, as the transmit step does), answered by a small in-process controller,
// checked like a received reply and handed to Script_Run.
#include "protocol/Script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "protocol/Ident.h"
#include "protocol/Protocol_Fixture.h"

namespace {

using Bytes = std::vector<uint8_t>;

class Script_Test : public Protocol_Fixture {
protected:
    uint8_t ident_status = 1;
    uint8_t tab_cols = 13, tab_rows = 24;
    std::vector<Bytes> sent;         // frames written, in order
    std::vector<std::string> messages;
    int live_decodes = 0;

    void SetUp() override
    {
        Protocol_Fixture::SetUp();
        Settings.Save_Load_Data = true;
        Ident_Status = 0;

        Protocol_Hooks.Show_Message = [this](uint8_t type, const std::string& text, int32_t colour) {
            messages.push_back(text);
        };
        // Stand-ins for the decoders of other units: what the sequencer needs of them.
        Script_Set_Action(23, [] {
            Ident_Status = RX_Frame[2];
            Len_Current_Data = 62;
            Len_Configuration = 100;
            Len_Calibration_1 = 108;
            Len_Calibration_2 = 162;
        });
        Script_Set_Action(24, [] { Connected = true; });
        Script_Set_Action(26, [this] { ++live_decodes; });
        Script_Set_Condition(212, [] {
            RPM_Tab_Cols = RX_Frame[2];
            RPM_Tab_Rows = RX_Frame[3];
            return RPM_Tab_Cols <= 13 && RPM_Tab_Rows <= 24;
        });
    }

    // The controller's answer to a request: its data bytes.
    Bytes Answer(const Bytes& f)
    {
        switch (f[1]) {
        case 0x21: return {41};
        case 0x22: {
            Bytes d(41, ' ');
            d[0] = ident_status;
            return d;
        }
        case 0x26: return Bytes(62, 0);
        case 0x27: return Bytes(100, 0);
        case 0x28: return Bytes(108, 0);
        case 0x29: return Bytes(162, 0);
        case 0x2A: return {tab_cols, tab_rows};
        case 0x2B: return Bytes(f[2], 0x80);
        case 0x2C: return Bytes(64, 0xFF);
        case 0x2D: return Bytes(8, 0xFF);
        case 0x2E: return Bytes(6, 0);
        default: return {};   // writes: acknowledged
        }
    }

    // Writes the armed frame; returns false when nothing was armed.
    bool Transmit()
    {
        if (!Take_Armed_Frame())
            return false;
        sent.emplace_back(Sent_Frame, Sent_Frame + Frame_Length);
        return true;
    }

    // One exchange: write, answer, check, step the sequencer.
    bool Exchange()
    {
        if (!Transmit())
            return false;
        Bytes r{Sent_Frame[0], Sent_Frame[1]};
        Bytes d = Answer(sent.back());
        r.insert(r.end(), d.begin(), d.end());
        r.push_back(0);
        r.back() = Frame_Sum(r.data(), r.size());
        std::memcpy(RX_Frame, r.data(), r.size());
        EXPECT_TRUE(Reply_Valid(r.size())) << "reply to command " << int(Sent_Frame[1]);
        Script_Run();
        return true;
    }

    Bytes Commands(size_t from = 0) const
    {
        Bytes c;
        for (size_t i = from; i < sent.size(); ++i)
            c.push_back(sent[i][1]);
        return c;
    }

    void Run_Exchanges(int n)
    {
        for (int i = 0; i < n; ++i)
            ASSERT_TRUE(Exchange()) << "nothing armed after " << sent.size() << " frames";
    }

    // Connects and runs until the main poll has sent its first live-data read.
    void Connect()
    {
        Script_Connect();
        for (int i = 0; i < 100 && !(Connected && Script_Flag_27 == 0 && sent.size() > 9 &&
                                     sent.back()[1] == 0x26);
             ++i)
            ASSERT_TRUE(Exchange());
    }

    void Load(std::initializer_list<int32_t> cells)
    {
        Script_PC = 0;
        for (int32_t v : cells) Script_Add(v);
        Script_PC = 0;
    }
};

TEST_F(Script_Test, Connect_Reads_Everything_Then_Polls)
{
    Script_Connect();
    Run_Exchanges(17);
    Bytes expect{0x21, 0x22, 0x26, 0x2E, 0x2D, 0x27, 0x28, 0x29, 0x2A};
    // 13 x 24 table: 362 image bytes in chunks of 64, the last one 42.
    for (int i = 0; i < 6; ++i) expect.push_back(0x2B);
    expect.push_back(0x26);
    expect.push_back(0x26);
    EXPECT_EQ(Commands(), expect);
    EXPECT_TRUE(Connected);
    EXPECT_EQ(Script_Flag_27, 0);
    EXPECT_EQ(sent[9][2], 64);
    EXPECT_EQ(sent[14][2], 42);
    EXPECT_EQ(live_decodes, 3);
    EXPECT_TRUE(messages.empty());
    // Every step ends with the watchdog running and a frame paced by the reply delay.
    EXPECT_TRUE(Link_Timer_Connect.Enabled());
    EXPECT_TRUE(Link_Timer_Sending.Enabled());
    EXPECT_EQ(Link_Timer_Sending.Interval(), 60u);
}

TEST_F(Script_Test, Refused_Identification_Only_Polls_Live_Data)
{
    ident_status = 2;
    Script_Connect();
    Run_Exchanges(6);
    EXPECT_EQ(Commands(), (Bytes{0x21, 0x22, 0x26, 0x26, 0x26, 0x26}));
    EXPECT_FALSE(Connected);
    // The live-only script has no request point: a poll request is never served.
    Request_Code = 3;
    Run_Exchanges(2);
    EXPECT_EQ(Commands(6), (Bytes{0x26, 0x26}));
    EXPECT_EQ(Request_Code, 3);
}

TEST_F(Script_Test, Oversized_Table_Ends_The_Connect_By_Writing_The_Table)
{
    tab_cols = 14;
    bool table_changed = true;
    Script_Set_Condition(209, [&] {
        // The table is set to its defaults; its image is what gets written.
        RPM_Tab_Cols = 13;
        RPM_Tab_Rows = 24;
        RPM_Tab_Image_Length = RPM_Tab_Length_Of(13, 24) + 2;
        RPM_Tab_Position = 0;
        return table_changed;
    });
    Script_Connect();
    Run_Exchanges(9);
    EXPECT_EQ(sent.back()[1], 0x2A);
    Run_Exchanges(1);
    EXPECT_EQ(sent.back()[1], 0x32);   // size frame
    Run_Exchanges(12);                 // announce and chunk, six times (364 bytes)
    Bytes writes = Commands(10);
    EXPECT_EQ(writes, (Bytes{0x25, 0x33, 0x25, 0x33, 0x25, 0x33, 0x25, 0x33, 0x25, 0x33, 0x25, 0x33}));
    EXPECT_EQ(sent[10][3], 67);        // announce of a full chunk
    EXPECT_EQ(sent[20][3], 364 - 5 * 64 + 3);
    Run_Exchanges(1);
    EXPECT_EQ(sent.back()[1], 0x26);   // back to the main poll
}

TEST_F(Script_Test, Start_Requests_Wait_For_A_Read_And_Act_At_Once_Beside_The_Poll)
{
    Script_Connect();
    Run_Exchanges(4);   // in the middle of the connect script
    EXPECT_EQ(sent.back()[1], 0x2E);
    const size_t mark = sent.size();
    Work_Mode = 2;
    Ask_Request(1);
    // The connect script reads every block to its end; the main poll's check point then
    // serves the request.
    for (int i = 0; i < 100 && sent.back()[1] != 0x23; ++i)
        Run_Exchanges(1);
    ASSERT_EQ(sent.back()[1], 0x23);
    EXPECT_EQ(sent.back()[3], 4);
    EXPECT_EQ(Request_Code, 0);
    const Bytes Read = Commands(mark);
    for (uint8_t Block : {0x27, 0x28, 0x29})
        EXPECT_NE(std::find(Read.begin(), Read.end(), Block), Read.end()) << int(Block);
    Run_Exchanges(1);
    EXPECT_EQ(sent.back()[1], 0x26);

    Request_Code = 24;
    Error_Control_Word = 1;
    Run_Exchanges(3);
    EXPECT_EQ(Commands(sent.size() - 3), (Bytes{0x26, 0x24, 0x26}));
}

TEST_F(Script_Test, Poll_Requests_Wait_For_The_Check_Point)
{
    Connect();
    size_t mark = sent.size();
    Request_Code = 30;   // service timer refresh
    Run_Exchanges(3);
    EXPECT_EQ(Commands(mark), (Bytes{0x26, 0x2E, 0x26}));
    EXPECT_EQ(Request_Code, 0);

    // The write-car request: announce, car number, then the car number is read back.
    mark = sent.size();
    Configuration.Car_Number = "AB12";
    Request_Code = 17;
    Run_Exchanges(3);
    EXPECT_EQ(Commands(mark), (Bytes{0x26, 0x25, 0x35}));
    EXPECT_EQ(sent[mark + 1][3], 11);
    EXPECT_EQ(Bytes(sent[mark + 2].begin() + 2, sent[mark + 2].begin() + 6),
              (Bytes{'A', 'B', '1', '2'}));
}

TEST_F(Script_Test, Request_Without_Entry_Is_Cleared_At_The_Check_Point)
{
    Connect();
    size_t mark = sent.size();
    Request_Code = 11;
    Run_Exchanges(1);
    EXPECT_EQ(Request_Code, 0);
    Run_Exchanges(2);
    EXPECT_EQ(Commands(mark), (Bytes{0x26, 0x26, 0x26}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(Script_Test, File_Requests_Run_Their_Action_And_The_Poll_Goes_On)
{
    int loads = 0, saves = 0;
    std::vector<bool> enabled;
    Protocol_Hooks.Load_CFG_File = [&] { ++loads; };
    Protocol_Hooks.Save_CFG_File = [&] { ++saves; };
    Protocol_Hooks.Enable_Link_Buttons = [&](bool on) { enabled.push_back(on); };
    Connect();
    size_t mark = sent.size();
    Request_Code = 9;
    Run_Exchanges(1);
    Request_Code = 10;
    Run_Exchanges(1);
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(enabled, (std::vector<bool>{true, true}));
    EXPECT_EQ(Commands(mark), (Bytes{0x26, 0x26}));
}

TEST_F(Script_Test, Transmit_All_Writes_Calibration_Then_Configuration)
{
    Protocol_Hooks.Build_CLB_List_1 = [] { return 3; };
    Protocol_Hooks.Build_CLB_List_2 = [] { return 4; };
    Protocol_Hooks.Build_Full_List = [] { return 50; };
    Script_Set_Condition(209, [] { return false; });   // table unchanged
    Connect();
    size_t mark = sent.size();
    Request_Code = 2;
    Run_Exchanges(8);   // the poll's armed read first, then the request
    EXPECT_EQ(Commands(mark), (Bytes{0x26, 0x25, 0x30, 0x25, 0x31, 0x25, 0x2F, 0x26}));
    EXPECT_EQ(sent[mark + 1][3], 116);
    EXPECT_EQ(sent[mark + 2].size(), 116u);
    EXPECT_EQ(sent[mark + 3][3], 171);
    EXPECT_EQ(sent[mark + 4].size(), 171u);
    EXPECT_EQ(sent[mark + 5][3], 153);
    EXPECT_EQ(sent[mark + 6].size(), 153u);

    Settings.Save_Load_Data = false;
    mark = sent.size();
    Request_Code = 2;
    Run_Exchanges(4);
    EXPECT_EQ(Commands(mark), (Bytes{0x26, 0x25, 0x2F, 0x26}));
}

TEST_F(Script_Test, Time_Outs_Step_Back_Over_Announce_And_Write)
{
    Protocol_Hooks.Build_CLB_List_1 = [] { return 3; };
    Protocol_Hooks.Build_CLB_List_2 = [] { return 4; };
    Protocol_Hooks.Build_Full_List = [] { return 50; };
    Script_Set_Condition(209, [] { return false; });
    Connect();
    size_t mark = sent.size();
    Request_Code = 4;   // calibration first
    Run_Exchanges(2);   // the poll's armed read, then the announce: 0x30 is armed
    ASSERT_TRUE(Transmit());
    EXPECT_EQ(sent.back()[1], 0x30);
    Time_Out();          // no reply to 0x30: announce again, then the write
    Run_Exchanges(2);
    ASSERT_TRUE(Transmit());
    EXPECT_EQ(sent.back()[1], 0x25);
    Time_Out();          // no reply to the announce: only the announce again
    Run_Exchanges(3);
    ASSERT_TRUE(Transmit());
    EXPECT_EQ(sent.back()[1], 0x2F);
    Time_Out();          // no reply to the list: announce and list again
    Run_Exchanges(3);
    EXPECT_EQ(Commands(mark), (Bytes{0x26, 0x25, 0x30, 0x25, 0x30, 0x25, 0x25, 0x31, 0x25, 0x2F,
                                     0x25, 0x2F, 0x26}));
    EXPECT_EQ(sent[mark + 9].size(), 153u);
}

TEST_F(Script_Test, Loader_Entry_Polls_Eight_Times_Then_Hands_Over)
{
    int shown = 0;
    Protocol_Hooks.Show_Loader_Window = [&] { ++shown; };
    Connect();
    size_t mark = sent.size();
    Request_Code = 22;
    Run_Exchanges(10);
    Bytes expect{0x26, 0x23};
    for (int i = 0; i < 8; ++i) expect.push_back(0x26);
    EXPECT_EQ(Commands(mark), expect);
    EXPECT_EQ(sent[mark + 1][3], 1);
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(Frame_Pending);   // the loader owns the link now
}

TEST_F(Script_Test, Invalid_Chain_Operand_Is_Reported_Once)
{
    Load({54, 5, 3, 0});
    Script_Run();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Error In Script\n\rScript number : 3\n\rScript : 3");
    Load({54, 5, 3, 0});
    Script_Run();
    Load({54, 7, 0});   // a gap in the table
    Script_Run();
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(Script_Test, Program_Counter_And_Cells_Stay_Inside_The_Script)
{
    Script_PC = 1;
    Script_Step_Back(2);
    EXPECT_EQ(Script_PC, 0);

    // Filling never writes past cell 100.
    Script_PC = 0;
    for (int i = 0; i < 150; ++i) Script_Add(54);
    EXPECT_EQ(Script_PC, Script_Cells);

    // A script that never pauses runs off its end: reported, stopped, no frame.
    Script_PC = 0;
    Script_Run();
    EXPECT_FALSE(Frame_Pending);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_LE(Script_PC, Script_Cells);

    // A jump outside the cells and an endless loop without a request both stop.
    Load({1, 500});
    Script_Run();
    EXPECT_LE(Script_PC, Script_Cells);
    Load({54, 1, 1});
    Script_Run();
    EXPECT_FALSE(Frame_Pending);
    EXPECT_TRUE(Link_Timer_Connect.Enabled());   // the watchdog takes over
}

TEST_F(Script_Test, Nested_Run_Is_Ignored)
{
    int nested_frames = -1;
    Script_Set_Action(26, [&] {
        bool before = Frame_Pending;
        Script_Run();   // as from a modal box's event loop inside the step
        nested_frames = Frame_Pending != before;
    });
    Connect();
    EXPECT_EQ(nested_frames, 0);
    size_t mark = sent.size();
    Run_Exchanges(2);
    EXPECT_EQ(Commands(mark), (Bytes{0x26, 0x26}));
}

TEST_F(Script_Test, Unplugged_Actions_Do_Nothing_And_Own_Slots_Are_Kept)
{
    EXPECT_FALSE(Script_Set_Action(90, [] {}));
    EXPECT_FALSE(Script_Set_Action(37, [] {}));
    EXPECT_FALSE(Script_Set_Condition(201, [] { return true; }));
    EXPECT_TRUE(Script_Set_Action(89, [] {}));
    Script_Set_Action(89, nullptr);
    Load({89, 25});
    Script_Run();
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(Frame_Pending);
    EXPECT_EQ(TX_Frame[1], 0x26);
}

TEST_F(Script_Test, Wait_Operation_Arms_The_Wait_Timer)
{
    Load({4, 250, 205, 3, 25, 0, 88});
    Script_Run();
    EXPECT_TRUE(Link_Timer_Wait.Enabled());
    EXPECT_EQ(Link_Timer_Wait.Interval(), 250u);
    EXPECT_EQ(TX_Frame[1], 0x2E);   // the timer still runs: condition 205 does not hold
}

TEST_F(Script_Test, Each_Request_Sends_Its_Frames_Then_The_Poll_Goes_On)
{
    Protocol_Hooks.Build_Changed_List = [] { return 2; };
    Set_CFG_Encoder('E', [] {
        Begin_Frame('E');
        Send_Frame();
    });
    Connect();

    Bytes read_all{0x2D, 0x28, 0x29, 0x27, 0x2A};
    for (int i = 0; i < 6; ++i) read_all.push_back(0x2B);
    Bytes read_car{0x2D};
    read_car.insert(read_car.end(), read_all.begin(), read_all.end());
    struct Case {
        uint8_t code;
        Bytes frames;   // between the poll's armed live read and the next one
    };
    const Case cases[] = {
        {3, read_all},  {5, read_all},   {18, read_car},        {29, {0x25, 0x36}},
        {20, {'E'}},    {'C', {0x25, 0x2F}}, {6, {0x23}},       {7, {0x23}},
        {8, {0x23}},    {24, {0x24}},
    };
    for (const Case& c : cases) {
        size_t mark = sent.size();
        Request_Code = c.code;
        Bytes expect{0x26};
        expect.insert(expect.end(), c.frames.begin(), c.frames.end());
        expect.push_back(0x26);
        Run_Exchanges(static_cast<int>(expect.size()));
        EXPECT_EQ(Commands(mark), expect) << "request " << int(c.code);
        EXPECT_EQ(Request_Code, 0) << "request " << int(c.code);
        EXPECT_TRUE(messages.empty()) << "request " << int(c.code);
        messages.clear();
        if (c.code == 29) {
            EXPECT_EQ(sent[mark + 1][3], 9);   // announce of the service time
        }
        if (c.code == 'C') {
            EXPECT_EQ(sent[mark + 1][3], 9);   // two letters
            EXPECT_EQ(sent[mark + 2].size(), 9u);
        }
        if (c.code == 7 || c.code == 8) {
            EXPECT_EQ(sent[mark + 1][3], c.code - 6);
        }
    }
    EXPECT_EQ(Sweep_Flag, 1);
}

TEST_F(Script_Test, Detonation_Watch_Reads_The_Table_Between_Live_Reads)
{
    Connect();
    Configuration.DS_Correction_ON = true;
    size_t mark = sent.size();
    Bytes expect{0x26, 0x2A};
    for (int i = 0; i < 6; ++i) {
        expect.push_back(0x26);
        expect.push_back(0x2B);
    }
    expect.push_back(0x26);
    Run_Exchanges(static_cast<int>(expect.size()));
    EXPECT_EQ(Commands(mark), expect);
}

TEST_F(Script_Test, Password_Checking_Reads_The_Block_Before_Connecting)
{
    Script_Set_Condition(210, [] { return true; });
    Script_Connect();
    Run_Exchanges(2);
    EXPECT_EQ(TX_Frame[1], 0x2C);   // armed after the identification
    EXPECT_EQ(Reply_Length, 67);
    EXPECT_FALSE(Connected);
    Run_Exchanges(2);
    EXPECT_EQ(Commands(), (Bytes{0x21, 0x22, 0x2C, 0x26}));
    EXPECT_TRUE(Connected);
}

TEST_F(Script_Test, Status_Bit_Condition_Reads_Byte_30_Of_The_Last_Reply)
{
    // Byte 30 of the receive buffer, whatever the length of the last reply.
    Reply_Length = 3;
    RX_Frame[30] = 0xEF;
    Load({204, 3, 25, 0, 88});
    Script_Run();
    EXPECT_EQ(TX_Frame[1], 0x26);   // bit 0x10 clear: holds
    RX_Frame[30] = 0x10;
    Load({204, 3, 25, 0, 88});
    Script_Run();
    EXPECT_EQ(TX_Frame[1], 0x2E);   // bit set: skips
}

}  // namespace
