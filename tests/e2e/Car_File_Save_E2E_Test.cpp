// The car file's automatic save against the controller emulator: it follows a read of the
// controller's configuration and a write to it, and a table the controller changed under
// detonation correction; the table watched every cycle without news writes nothing.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "data/Key_File.h"
#include "e2e/Emulator_Window_Fixture.h"
#include "protocol/CFG_File.h"
#include "protocol/RPM_Tab_Codec.h"

namespace {

using namespace main_test;

constexpr uint8_t Live = 0x26;
constexpr uint8_t Request_Write_All = 2, Request_Read_All = 3;
constexpr int Car_ID = 29948;
// Live-data polls waited after a step: three cycles of the table watch (six chunk reads
// and a live read each, after a size read).
constexpr size_t Polls_Watched = 22;
constexpr int Seconds_Per_Minute = 60;

class Car_File_Save_E2E : public Emulator_Window_Fixture {
protected:
    std::string File() const { return Folder->File("Config/AB123.cfg"); }
    // History copies filed so far.
    size_t Copies() const
    {
        const std::string Dir = Folder->File("Config/History");
        size_t N = 0;
        if (std::filesystem::exists(Dir))
            for (const auto& E : std::filesystem::recursive_directory_iterator(Dir))
                N += E.is_regular_file();
        return N;
    }
    // The table's cells as the file holds them, in the order of rpm_tab::Texts::Cell.
    std::vector<std::string> File_Cells(const rpm_tab::Texts& Shape) const
    {
        std::vector<std::string> Cells;
        EXPECT_TRUE(Key_File_Load(File()));
        for (int C = 0; C < Shape.Cols; ++C)
            for (int R = 0; R < Shape.Rows; ++R)
                Cells.push_back(Key_File_Find("Cell_" + std::to_string(C) + "_" + std::to_string(R)) ? Key_Value
                                                                                                    : "");
        Key_File_Discard();
        return Cells;
    }
    // Serves a request (or none) and lets the main poll run Polls live reads after it.
    bool Run_After(uint8_t Request, size_t Polls)
    {
        Emu.Clear_Log();
        Request_Code = Request;
        return Pump_Until([&] { return Request_Code == 0 && Count_Of(Live) >= Polls; }, 30000);
    }
    std::time_t Minute = 1'800'000'000;
};

TEST_F(Car_File_Save_E2E, TheFileIsSavedForWhatTheControllerHoldsAndNotForAWatchWithoutNews)
{
    ASSERT_NO_FATAL_FAILURE(Start_Emulator(Key_File_Pad_Key("CFG_File_Path") + Folder->File("Config") + " {}\r\n"));
    std::filesystem::create_directories(Folder->File("Config"));
    Folder->Write("Config/AB123.cfg", Key_File_Pad_Key("Car_ID") + std::to_string(Car_ID) + " {}\r\n");
    Emu.Set_Car_Number({'A', 'B', '1', '2', '3', 0, 0, 0});
    Emu.Set_Config_Pair('A', Car_ID & 0xFF, Car_ID >> 8);
    With_Table();
    Create();
    // Every save files a copy of a minute of its own, so each save shows in the history.
    CFG_File_Hooks.Clock = [&] { return Minute += Seconds_Per_Minute; };
    Start_Up();
    ASSERT_TRUE(Pump_Until([] { return Connected; }, 15000));
    ASSERT_TRUE(Wait_Command(Live, 4, 30000));
    ASSERT_TRUE(CFG_File_Named);
    TForm_KardunGAS* F = Main();

    enum class Step { None, Table_Changed, Write };
    struct Row {
        const char* Name;
        bool Detonation;   // detonation correction on in the controller
        Step Then;
        size_t Saves;      // saves (history copies) after the step
    };
    const Row Rows[] = {
        {"off, nothing new", false, Step::None, 0},
        {"off, table changed in the controller", false, Step::Table_Changed, 0},
        {"off, after a write", false, Step::Write, 1},
        {"on, nothing new", true, Step::None, 0},
        {"on, table changed in the controller", true, Step::Table_Changed, 1},
        {"on, after a write", true, Step::Write, 1},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Name);
        Emu.Set_Config_Pair('C', 0, R.Detonation ? 1 : 0);
        // The read of the controller's configuration is filed once.
        const size_t Before_Read = Copies();
        ASSERT_TRUE(Run_After(Request_Read_All, Polls_Watched));
        ASSERT_EQ(Configuration.DS_Correction_ON, R.Detonation);
        EXPECT_EQ(Copies(), Before_Read + 1);
        EXPECT_EQ(File_Cells(F->RPM_Tab_Texts()), F->RPM_Tab_Texts().Cell);

        const std::string Bytes = Folder->Read("Config/AB123.cfg");
        const auto Time = std::filesystem::last_write_time(File());
        const size_t Before = Copies();
        const rpm_tab::Texts Table = F->RPM_Tab_Texts();
        if (R.Then == Step::Table_Changed) {
            // The controller adapts one cell of its table, between factors the page shows
            // exactly (0.50 and 0.75 of 128).
            emu::Bytes Image = Emu.RPM_Table_Image();
            Image.back() = Image.back() == 64 ? 96 : 64;
            Emu.Set_RPM_Table(Emu.RPM_Table_Cols(), Emu.RPM_Table_Rows(), Image);
        }
        ASSERT_TRUE(Run_After(R.Then == Step::Write ? Request_Write_All : 0, Polls_Watched));

        EXPECT_EQ(Copies(), Before + R.Saves);
        EXPECT_EQ(std::filesystem::last_write_time(File()) != Time, R.Saves > 0);
        const bool Table_Read = R.Detonation && R.Then == Step::Table_Changed;
        EXPECT_EQ(F->RPM_Tab_Texts() != Table, Table_Read);
        EXPECT_EQ(File_Cells(Table), F->RPM_Tab_Texts().Cell);
        if (!Table_Read) {
            EXPECT_TRUE(Folder->Read("Config/AB123.cfg") == Bytes) << "the file's contents changed";
        }
    }
}

}  // namespace
