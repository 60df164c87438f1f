// The RPM-dependence table end to end: a cell edited on the page goes to the controller
// emulator in chunks, a write right after leaves it alone, a read brings it back, a table
// size the program cannot hold is replaced by the default table, which is written, edits
// sent at once leave the car file and the controller agreeing, and a table read from the
// controller goes back with the bytes it came with but for the edited cell.
#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "data/Conversions.h"
#include "data/Key_File.h"
#include "e2e/Emulator_Window_Fixture.h"
#include "emulator/Emulator.h"
#include "protocol/CFG_File.h"

namespace {

using namespace main_test;

constexpr uint8_t Announce = 0x25, Live = 0x26, Letter_List = 0x2F, Size_Read = 0x2A, Chunk_Read = 0x2B,
                  Size_Write = 0x32, Chunk_Write = 0x33;
constexpr uint8_t Request_Write_All = 2, Request_Read_All = 3;

// A table frame as the controller sees it: the command and its count byte (announced
// length, chunk size asked for, or data bytes written).
struct Table_Step {
    uint8_t Command;
    int Count;
    bool operator==(const Table_Step&) const = default;
};
std::ostream& operator<<(std::ostream& Out, const Table_Step& S)
{
    return Out << std::hex << int(S.Command) << std::dec << "(" << S.Count << ")";
}

class RPM_Tab_E2E : public Emulator_Window_Fixture {
protected:
    void SetUp() override
    {
        Emulator_Window_Fixture::SetUp();
        Set_Decimal_Separator('.');
        ASSERT_NO_FATAL_FAILURE(Start_Emulator(Key_File_Pad_Key("Transmit_Now") + "True {}\r\n"));
        With_Table();
        Start_Program();
        ASSERT_TRUE(Pump_Until([] { return Connected; }, 15000));
        ASSERT_TRUE(Pump_Until([&] { return Polls_After(Chunk_Read) >= 2; }, 30000));
        F = Main();
        F->Show();
        F->PageControl_KardunGAS->ActivePageIndex(1);
        F->RPM_Tab_Show(true);
    }
    void TearDown() override
    {
        Set_Decimal_Separator(0);
        Emulator_Window_Fixture::TearDown();
    }
    size_t Polls_After(uint8_t Command) const
    {
        const emu::Bytes C = Emu.Commands();
        const auto Last = std::find(C.rbegin(), C.rend(), Command);
        return Last == C.rend() ? 0 : static_cast<size_t>(std::count(C.rbegin(), Last, Live));
    }
    // The table frames of the log, in order.
    std::vector<Table_Step> Table_Steps() const
    {
        std::vector<Table_Step> S;
        for (const emu::Log_Entry& E : Emu.Log()) {
            if (!E.complete || E.request.size() < 4) continue;
            const uint8_t C = E.request[1];
            if (C == Announce || C == Chunk_Read) S.push_back({C, E.request[3]});
            if (C == Size_Read || C == Size_Write) S.push_back({C, 0});
            if (C == Chunk_Write) S.push_back({C, static_cast<int>(E.request.size()) - 3});
        }
        return S;
    }
    std::vector<Table_Step> Serve(uint8_t Request, uint8_t Last_Command)
    {
        Emu.Clear_Log();
        Request_Code = Request;
        EXPECT_TRUE(Pump_Until([&] { return Polls_After(Last_Command) >= 1; }, 20000)) << int(Request);
        return Table_Steps();
    }
    // The controller holds the table the page shows (a header the page leaves empty stands
    // for its default): both compared as the page writes a table afresh.
    void Expect_Controller_Holds_The_Page() const
    {
        const emu::Bytes Image = Emu.RPM_Table_Image();
        rpm_tab::Texts Held;
        ASSERT_TRUE(rpm_tab::Decode(Image.data(), Image.size(), Emu.RPM_Table_Cols(), Emu.RPM_Table_Rows(),
                                    Configuration.RPM_Source, Held));
        EXPECT_EQ(rpm_tab::Encode(Held, Configuration.RPM_Source),
                  rpm_tab::Encode(F->RPM_Tab_Texts(), Configuration.RPM_Source));
    }
    // The write of a whole 13 x 24 table: the size, five chunks of 64 and one of 44 bytes.
    static std::vector<Table_Step> Whole_Write()
    {
        std::vector<Table_Step> W{{Size_Write, 0}};
        for (int I = 0; I < 5; ++I) {
            W.push_back({Announce, 67});
            W.push_back({Chunk_Write, 64});
        }
        W.push_back({Announce, 47});
        W.push_back({Chunk_Write, 44});
        return W;
    }
    // Cells of the selection Range take Value as the user gives it: Enter in the grid,
    // the value typed, Enter.
    void Edit_Cells(const TRect& Range, const char* Value)
    {
        F->Grid_RPM->Selection(Range);
        QTest::keyClick(F->Grid_RPM->Widget(), Qt::Key_Return);
        F->Edit_CFG_Depend->SelectAll();
        QTest::keyClicks(F->Edit_CFG_Depend->Widget(), Value);
        QTest::keyClick(F->Edit_CFG_Depend->Widget(), Qt::Key_Return);
    }
    TForm_KardunGAS* F = nullptr;
};

TEST_F(RPM_Tab_E2E, AnEditedCellIsWrittenOnceAndReadBackUnchanged)
{
    // Cells of columns 3..4, rows 5..6 to 1.50 by mouse, the value typed, Enter.
    F->Grid_RPM->Selection(TRect{2, 4, 3, 5});
    Emu.Clear_Log();
    QTest::keyClick(F->Grid_RPM->Widget(), Qt::Key_Return);
    F->Edit_CFG_Depend->SelectAll();
    QTest::keyClicks(F->Edit_CFG_Depend->Widget(), "1.50");
    QTest::keyClick(F->Edit_CFG_Depend->Widget(), Qt::Key_Return);
    EXPECT_EQ(F->Grid_RPM->Cells(3, 5), "1.50");
    // Nothing goes out before the send-now timer fired.
    EXPECT_TRUE(Table_Steps().empty());
    ASSERT_TRUE(Pump_Until([&] { return Polls_After(Chunk_Write) >= 1; }, 20000));
    EXPECT_EQ(Table_Steps(), Whole_Write());
    // The size as the controller took it from the size frame, and the cells it holds.
    EXPECT_EQ(Emu.RPM_Table_Cols() * 100 + Emu.RPM_Table_Rows(), 13 * 100 + 24);
    Expect_Controller_Holds_The_Page();

    // A whole write right after: the table is what the controller holds, it stays out.
    const std::vector<Table_Step> Again = Serve(Request_Write_All, Letter_List);
    EXPECT_EQ(std::count_if(Again.begin(), Again.end(),
                            [](const Table_Step& S) { return S.Command == Size_Write || S.Command == Chunk_Write; }),
              0);

    // Read back: the size, then five chunks of 64 and one of 42 bytes; the same texts.
    const rpm_tab::Texts Shown = F->RPM_Tab_Texts();
    F->RPM_Tab_Default();
    std::vector<Table_Step> Read = Serve(Request_Read_All, Chunk_Read);
    std::vector<Table_Step> Expected{{Size_Read, 0}};
    for (int I = 0; I < 5; ++I) Expected.push_back({Chunk_Read, 64});
    Expected.push_back({Chunk_Read, 42});
    EXPECT_EQ(Read, Expected);
    EXPECT_EQ(F->RPM_Tab_Texts(), Shown);
}

// Bytes the page's texts do not tell apart from a neighbour (the controller adapts its
// table under detonation correction): read, then one cell edited and written, the
// controller gets back every other byte as it held it.
TEST_F(RPM_Tab_E2E, ATableReadFromTheControllerGoesBackAsItCameButForTheEditedCell)
{
    constexpr int Cols = 13, Rows = 24;
    constexpr size_t Cells_At = 2 * Cols + Rows;
    emu::Bytes Held = Emu.RPM_Table_Image();
    ASSERT_EQ(Held.size(), Cells_At + Cols * Rows);
    struct Odd_Byte { const char* Place; size_t At; int Byte; };
    const Odd_Byte Odd[] = {
        {"column 2's period word, low byte: one step off its RPM's word", 2, Held[2] + 1},
        {"row 3: 0.59 V shows 0.6, which writes 0.61 V", 2 * Cols + 2, 30},
        {"cell 1,1: 0.78125 shows 0.78, which writes 0.7734", Cells_At + Rows + 1, 100},
        {"cell 5,7: 0.8203 shows 0.82, which writes 0.8125", Cells_At + 4 * Rows + 6, 105},
    };
    for (const Odd_Byte& B : Odd)
        Held[B.At] = static_cast<uint8_t>(B.Byte);
    Emu.Set_RPM_Table(Cols, Rows, Held);
    Serve(Request_Read_All, Chunk_Read);
    ASSERT_EQ(F->Grid_RPM->Cells(1, 1), "0.78");

    Emu.Clear_Log();
    Edit_Cells(TRect{0, 0, 0, 0}, "1.50");
    ASSERT_TRUE(Pump_Until([&] { return Polls_After(Chunk_Write) >= 1; }, 20000));
    emu::Bytes Expected = Held;
    Expected[Cells_At] = rpm_tab::Cell_Byte(15000);
    const emu::Bytes Got = Emu.RPM_Table_Image();
    ASSERT_EQ(Got.size(), Expected.size());
    for (const Odd_Byte& B : Odd)
        EXPECT_EQ(int(Got[B.At]), int(Expected[B.At])) << B.Place;
    EXPECT_EQ(Got, Expected);
}

TEST_F(RPM_Tab_E2E, CellsSentAtOnceKeepTheCarFileAndTheControllerAgreeing)
{
    // The controller holds car AB123 under identity 29948, as its file does.
    constexpr int Car_ID = 29948;
    std::filesystem::create_directories(Folder->File("Config"));
    Settings.CFG_File_Path = Folder->File("Config");
    Folder->Write("Config/AB123.cfg", Key_File_Pad_Key("Car_ID") + std::to_string(Car_ID) + " {}\r\n");
    Emu.Set_Car_Number({'A', 'B', '1', '2', '3', 0, 0, 0});
    Emu.Set_Config_Pair('A', Car_ID & 0xFF, Car_ID >> 8);
    // The file's Car_ID and the cells it holds.
    auto File_Car_ID = [&] {
        EXPECT_TRUE(Key_File_Load(Folder->File("Config/AB123.cfg")));
        const int32_t ID = Key_File_Find_Int("Car_ID") ? Key_Int_Value : -1;
        Key_File_Discard();
        return ID;
    };
    auto File_Cell = [&](int Col, int Row) {
        EXPECT_TRUE(Key_File_Load(Folder->File("Config/AB123.cfg")));
        const std::string Key = "Cell_" + std::to_string(Col) + "_" + std::to_string(Row);
        const std::string Text = Key_File_Find(Key) ? Key_Value : "";
        Key_File_Discard();
        return Text;
    };
    Form_MSG->Stored = {};
    Serve(Request_Read_All, Chunk_Read);
    ASSERT_TRUE(Pump_Until([&] { return Polls_After(Chunk_Read) >= 2; }, 10000));
    ASSERT_EQ(Settings.CFG_File_Name, "AB123.cfg");
    ASSERT_EQ(Form_MSG->Stored.Text, "");
    ASSERT_EQ(File_Car_ID(), Car_ID);

    struct Cell_Edit {
        TRect Range;
        const char* Value;
    };
    const Cell_Edit Edits[] = {{{0, 0, 0, 0}, "0.80"}, {{4, 10, 5, 11}, "1.25"}, {{12, 23, 12, 23}, "1.99"}};
    for (const Cell_Edit& E : Edits) {
        SCOPED_TRACE(E.Value);
        Emu.Clear_Log();
        Edit_Cells(E.Range, E.Value);
        ASSERT_EQ(F->Grid_RPM->Cells(E.Range.Right, E.Range.Bottom), E.Value);
        ASSERT_TRUE(Pump_Until([&] { return Polls_After(Chunk_Write) >= 2; }, 20000));
        // The table's write went out without the identity; the file was saved after it.
        EXPECT_EQ(Count_Of(Letter_List), 0u);
        EXPECT_EQ(File_Cell(E.Range.Right, E.Range.Bottom), E.Value);
    }
    Expect_Controller_Holds_The_Page();
    EXPECT_EQ(File_Car_ID(), Car_ID);

    // Receive: the controller's configuration is the file's, nothing is reported changed.
    F->RPM_Tab_Default();
    Serve(Request_Read_All, Chunk_Read);
    ASSERT_TRUE(Pump_Until([&] { return Polls_After(Chunk_Read) >= 2; }, 10000));
    EXPECT_EQ(Form_MSG->Stored.Text, "");
    EXPECT_EQ(Configuration.Car_ID, Car_ID);
    EXPECT_EQ(File_Car_ID(), Car_ID);
    for (const Cell_Edit& E : Edits)
        EXPECT_EQ(File_Cell(E.Range.Left, E.Range.Top), E.Value);
}

TEST_F(RPM_Tab_E2E, OnlyASizeTheProgramCanHoldIsRead)
{
    struct Row {
        uint8_t Cols, Rows;
        bool Held;
    };
    const Row Rows[] = {{5, 10, true},   {14, 24, false}, {0, 24, false}, {1, 24, false},
                        {13, 23, false}, {13, 26, false}, {2, 2, true}};
    for (const Row& R : Rows) {
        SCOPED_TRACE(std::to_string(R.Cols) + " x " + std::to_string(R.Rows));
        // A held table comes back as the page writes cells: with the system's separator.
        rpm_tab::Texts Table = rpm_tab::Default_Texts(R.Cols, R.Rows);
        if (R.Held) {
            std::fill(Table.Cell.begin(), Table.Cell.end(), "1.00");
            Table.At(R.Cols - 1, R.Rows - 1) = "0.37";
        }
        const std::vector<uint8_t> Image = rpm_tab::Encode(Table, Configuration.RPM_Source);
        Emu.Set_RPM_Table(R.Cols, R.Rows, R.Held ? emu::Bytes(Image.begin() + 2, Image.end()) : emu::Bytes(400, 100));
        F->Grid_RPM->Cells(0, 0, "0.50");
        Form_MSG->Stored = {};
        const std::vector<Table_Step> Steps = Serve(Request_Read_All, R.Held ? Chunk_Read : Chunk_Write);
        ASSERT_FALSE(Steps.empty());
        EXPECT_EQ(Steps.front(), (Table_Step{Size_Read, 0}));
        if (R.Held) {
            EXPECT_EQ(F->RPM_Tab_Texts(), Table);
            EXPECT_EQ(Form_MSG->Stored.Text, "");
            continue;
        }
        // The read stops at the size and the default table is written in its place.
        EXPECT_EQ(std::vector<Table_Step>(Steps.begin() + 1, Steps.end()), Whole_Write());
        EXPECT_EQ(Form_MSG->Stored.Type, 9);
        EXPECT_EQ(Form_MSG->Stored.Text, "Error_RPM_Tab_Cells");
        EXPECT_EQ(F->RPM_Tab_Texts(), rpm_tab::Default_Texts(13, 24));
        EXPECT_EQ(Emu.RPM_Table_Cols() * 100 + Emu.RPM_Table_Rows(), 13 * 100 + 24);
        Expect_Controller_Holds_The_Page();
    }
}

}  // namespace
