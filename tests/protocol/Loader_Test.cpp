// Firmware files and the loader's dialogue without a port: the file check over a set of
// files, the record headers, the unscrambling, and what missed replies do to a transfer.
// The transfer itself runs end to end against the emulator's boot loader.
#include "protocol/Loader.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "common/Firmware_Writer.h"
#include "common/Test_Folder.h"
#include "protocol/Protocol_Fixture.h"
#include "protocol/Script.h"

namespace {

using fw::Bytes;

struct Check_Row {
    const char* Name;
    std::function<fw::Writer()> Make;
    uint8_t Loader_Type;
    bool Ok;
    const char* Error_Key;
    int Records;
};

// A type 'D' file: information record, short record, scrambled record.
fw::Writer D_File()
{
    fw::Writer W('D');
    W.Record(0x60, fw::Info_Data("GD_MAIN_PROGRAM", "21.04.2021", "3.47"));
    W.Short({0x11, 0x22, 0x33});
    W.Scrambled(0x85, fw::Counting(7, 0x90));
    return W;
}

// Another type whose 0x60-class headers take the length of the record before them.
fw::Writer Chained_File()
{
    fw::Writer W('K');
    W.Record(0x05, fw::Counting(7));          // D 7
    W.Record(0x60, fw::Counting(9, 3));       // L 7: D 9
    W.Scrambled(0xE0, fw::Counting(11, 5));   // L 9: D 11
    W.Scrambled(0xE0, fw::Counting(13, 1));   // L 11: D 13
    W.Short({});
    return W;
}

// Chained records growing by two until the data frame would pass 255 bytes.
fw::Writer Oversized_File()
{
    fw::Writer W('K');
    size_t D = 97;
    W.Record(0x5F, fw::Counting(D));
    while (D + 3 <= 255) {
        D += 2;
        W.Record(0x60, fw::Counting(D));
    }
    return W;
}

const Check_Row Check_Rows[] = {
    {"TypeDWithInformation", D_File, 'D', true, "", 3},
    {"ChainedLengths", Chained_File, 'K', true, "", 5},
    {"WrongType", D_File, 'K', false, Compatible_File_Error_Key, 0},
    {"Truncated", [] { return D_File().Cut(1); }, 'D', false, Loader_File_Error_Key, 0},
    {"ByteLeftOver", [] { return D_File().Raw({0xF2}); }, 'D', false, Loader_File_Error_Key, 0},
    {"OversizedRecord", Oversized_File, 'K', false, Loader_File_Error_Key, 0},
    {"ChainedFirstHasNoLength", [] { return fw::Writer('K').Record(0x60, fw::Counting(2)); }, 'K',
     false, Loader_File_Error_Key, 0},
    {"BadSum", [] { return fw::Writer('D').Short({1, 2}).Record(0x03, fw::Counting(5), 1); }, 'D',
     false, Compatible_File_Error_Key, 0},
    {"BadKey", [] { return fw::Writer('D').Scrambled(0x81, fw::Counting(3), 1); }, 'D', false,
     Compatible_File_Error_Key, 0},
    {"Empty", [] { return fw::Writer('D').Cut(1); }, 'D', false, Loader_File_Error_Key, 0},
    {"TypeByteOnly", [] { return fw::Writer('D'); }, 'D', false, Loader_File_Error_Key, 0},
};

class Firmware_Check_Test : public ::testing::TestWithParam<Check_Row> {};

TEST_P(Firmware_Check_Test, ChecksTheFileAgainstTheLoaderType)
{
    const Check_Row& Row = GetParam();
    Test_Folder Folder("loader");
    const std::string Path = Folder / "Main_.hex";
    const fw::Writer W = Row.Make();
    Put_File(Path, W.Text());
    File_Version_Code = 0;
    const Firmware_Check C = Check_Firmware_File(Path, Row.Loader_Type);
    EXPECT_EQ(C.Ok, Row.Ok);
    EXPECT_EQ(C.Error_Key, Row.Error_Key);
    EXPECT_EQ(C.Size, static_cast<int64_t>(W.Size()));
    if (Row.Ok) {
        EXPECT_EQ(C.Records, Row.Records);
    }
    if (std::string(Row.Name) == "TypeDWithInformation") {
        EXPECT_TRUE(C.Info.Present);
        EXPECT_EQ(C.Info.Name, "GD_MAIN_PROGRAM");
        EXPECT_EQ(C.Info.Date, "21.04.2021");
        EXPECT_EQ(C.Info.Version, "3.47");
        EXPECT_EQ(File_Version_Code, 347);
    } else if (Row.Ok) {
        EXPECT_FALSE(C.Info.Present);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, Firmware_Check_Test, ::testing::ValuesIn(Check_Rows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(Firmware_File, AMissingFileIsAFileError)
{
    const Firmware_Check C = Check_Firmware_File("/nonexistent/Main_.hex", 'D');
    EXPECT_FALSE(C.Ok);
    EXPECT_EQ(C.Error_Key, Loader_File_Error_Key);
}

TEST(Firmware_File, HeadersGiveKindAndDataCount)
{
    struct Row {
        uint8_t Header, Type;
        int Previous;
        bool Ok;
        uint8_t Kind;
        int D, T;
    };
    const Row Rows[] = {
        {0xF3, 'D', -1, true, Record_Kind_Short, 3, 6},
        {0xF0, 'K', -1, true, Record_Kind_Short, 0, 3},
        {0x05, 'D', -1, true, Record_Kind_Plain, 7, 10},
        {0x85, 'D', -1, true, Record_Kind_Scrambled, 7, 11},
        {0x60, 'D', -1, true, Record_Kind_Plain, 34, 37},
        {0xE0, 'D', -1, true, Record_Kind_Scrambled, 98, 102},
        {0xEF, 'D', -1, true, Record_Kind_Scrambled, 98, 102},
        {0x5F, 'K', -1, true, Record_Kind_Plain, 97, 100},
        {0x7F, 'K', 20, true, Record_Kind_Plain, 22, 25},
        {0x60, 'K', 10, true, Record_Kind_Plain, 12, 15},
        {0xE0, 'K', 0, true, Record_Kind_Scrambled, 2, 6},
        {0x60, 'K', -1, false, 0, 0, 0},
    };
    for (const Row& R : Rows) {
        uint8_t Kind = 0;
        int D = -5;
        ASSERT_EQ(Firmware_Record_Head(R.Header, R.Type, R.Previous, Kind, D), R.Ok) << int(R.Header);
        if (!R.Ok)
            continue;
        EXPECT_EQ(Kind, R.Kind) << int(R.Header);
        EXPECT_EQ(D, R.D) << int(R.Header);
        Firmware_Record Record;
        Record.Kind = Kind;
        Record.Data_Count = D;
        EXPECT_EQ(Record.Frame_Length(), R.T) << int(R.Header);
    }
}

TEST(Firmware_File, UnscramblingSubtractsThenRotatesTheStringRight)
{
    // Key 0x81: m = 1, one turn. 04 02 -> 03 02 -> 01 81.
    Bytes A{0x04, 0x02};
    Unscramble_Record(0x81, A.data(), A.size());
    EXPECT_EQ(A, (Bytes{0x01, 0x81}));
    // Key 0x00: m = 127, seven turns. 00 -> FD -> FB.
    Bytes B{0x00};
    Unscramble_Record(0x00, B.data(), B.size());
    EXPECT_EQ(B, (Bytes{0xFB}));
    // The writer's scrambling is undone for every key.
    for (int Key = 0; Key < 256; ++Key) {
        const Bytes Plain = fw::Counting(9, static_cast<uint8_t>(Key));
        Bytes Stored = fw::Scramble(Plain, static_cast<uint8_t>(Key));
        Unscramble_Record(static_cast<uint8_t>(Key), Stored.data(), Stored.size());
        ASSERT_EQ(Stored, Plain) << Key;
    }
}

// ---------------------------------------------------------------- the dialogue

class Loader_Dialogue : public Protocol_Fixture {
protected:
    void SetUp() override
    {
        Protocol_Fixture::SetUp();
        Loader_Reset();
        Loader_Mode = true;
    }
    void TearDown() override
    {
        Loader_Reset();
        Protocol_Fixture::TearDown();
    }

    // The boot loader's answer to the frame last sent: the poll with version and type, any
    // other frame acknowledged. Then the receive path for a valid reply.
    void Answer(uint8_t Version = 5, uint8_t Type = 'K')
    {
        ASSERT_TRUE(Take_Armed_Frame());
        Bytes Reply{Sent_Frame[0], Sent_Frame[1]};
        if (Sent_Frame[1] == Loader_Poll_Command) {
            Reply.push_back(Version);
            Reply.push_back(Type);
        }
        Reply.push_back(fw::Sum_Of(Reply));
        std::copy(Reply.begin(), Reply.end(), RX_Frame);
        ASSERT_TRUE(Reply_Valid(Reply.size()));
        Receiv_Loader_Data();
    }
    Bytes Armed() const { return Bytes(TX_Frame, TX_Frame + Frame_Length); }

    // Loads a file: checked, opened and rewound, the start request set.
    void Load(const fw::Writer& W)
    {
        Loader_File_Name = Folder / "Main_.hex";
        Put_File(Loader_File_Name, W.Text());
        Firmware_Check Check;
        ASSERT_TRUE(Loader_Open_File(Check)) << Check.Error_Key;
        Loader_Rewind_File();
        Ask_Request(Loader_Request_Start, Request_Target::Loader);
    }

    Test_Folder Folder{"loader"};
};

TEST_F(Loader_Dialogue, MissedRepliesDropToPollingAndLaterOnesRepeatTheWholeRecord)
{
    Send_Loader_Poll();
    Answer();
    Load(Chained_File());
    Answer();            // the start request: header of record 1
    Answer();            // data of record 1
    Answer();            // header of record 2 (0x60: D 9)
    Answer();            // data of record 2
    ASSERT_EQ(Armed()[1], 0x86);
    ASSERT_TRUE(Take_Armed_Frame());
    // The data frame is not answered: back to polling, disconnected.
    EXPECT_FALSE(Loader_Reply_Timeout());
    EXPECT_FALSE(Loader_Connected);
    EXPECT_TRUE(Loader_Resume);
    EXPECT_EQ(Armed()[1], 0x81);
    // The loader answers: the transfer starts again from the first record.
    Answer();
    EXPECT_EQ(Armed()[1], 0x83);
    EXPECT_EQ(Armed()[3], 7 + 3);
    EXPECT_EQ(Loader_Progress, 2);
    Answer();            // data of record 1
    Answer();            // header of record 2 again
    const Bytes Head_2 = Armed();
    EXPECT_EQ(Head_2[3], 9 + 3);
    Answer();            // data of record 2
    ASSERT_TRUE(Take_Armed_Frame());
    const int64_t Before = Loader_Progress;
    // Another miss while resuming: the whole record again, with its own length.
    EXPECT_FALSE(Loader_Reply_Timeout());
    EXPECT_EQ(Loader_Progress, Before - (9 + 2) + 1);
    EXPECT_EQ(Armed()[1], 0x83);
    EXPECT_EQ(Armed()[3], 9 + 3);
    // A missed header frame while resuming is sent again as it was.
    ASSERT_TRUE(Take_Armed_Frame());
    EXPECT_TRUE(Loader_Reply_Timeout());
}

TEST_F(Loader_Dialogue, TheWatchdogClosesTheFileAndAResumeChecksItAgain)
{
    Send_Loader_Poll();
    Answer();
    Load(Chained_File());
    Answer();
    ASSERT_TRUE(Take_Armed_Frame());
    EXPECT_FALSE(Loader_Reply_Timeout());   // header missed: resume at the next answer
    ASSERT_TRUE(Take_Armed_Frame());
    std::vector<bool> Ends;
    Loader_Hooks.Transfer_End = [&](bool Complete) { Ends.push_back(Complete); };
    Loader_Watchdog();
    EXPECT_FALSE(Loader_File_Open);
    EXPECT_EQ(Loader_Progress, 0);
    // Not given up: it still starts again when the loader answers.
    EXPECT_TRUE(Ends.empty());
    EXPECT_TRUE(Loader_Transfer_Running());
    // The file was replaced by one of another type meanwhile: refused, nothing sent, and
    // the transfer given up.
    Put_File(Loader_File_Name, fw::Writer('D').Short({1}).Text());
    std::string Refused;
    Loader_Hooks.File_Refused = [&](const std::string&, const std::string& Key) { Refused = Key; };
    Answer();
    EXPECT_EQ(Refused, Compatible_File_Error_Key);
    EXPECT_FALSE(Loader_File_Open);
    EXPECT_EQ(Armed()[1], 0x81);
    EXPECT_EQ(Ends, std::vector<bool>{false});
    EXPECT_FALSE(Loader_Transfer_Running());
}

}  // namespace
