// The car number between the program and the controller emulator: a reported number that
// cannot name a file selects nothing, one that can selects its file, Transmitt with a new
// number writes it before the configuration, and a number typed writes no file of its own.
#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

#include "data/Key_File.h"
#include "e2e/Emulator_Window_Fixture.h"
#include "protocol/CFG_File.h"

namespace {

using namespace main_test;

constexpr uint8_t Announce = 0x25, Live = 0x26, Car_Write = 0x35, Letter_List = 0x2F, Table_Chunk = 0x2B;

class Car_Number_E2E : public Emulator_Window_Fixture {
protected:
    // Every file below Dir (history copies included), by its path there.
    static std::set<std::string> Files_Under(const std::string& Dir)
    {
        std::set<std::string> Files;
        for (const auto& E : std::filesystem::recursive_directory_iterator(Dir))
            if (E.is_regular_file())
                Files.insert(std::filesystem::relative(E.path(), Dir).string());
        return Files;
    }
    // Live-data polls since the last frame of Command.
    size_t Polls_After(uint8_t Command) const
    {
        const emu::Bytes C = Emu.Commands();
        const auto Last = std::find(C.rbegin(), C.rend(), Command);
        return Last == C.rend() ? 0 : static_cast<size_t>(std::count(C.rbegin(), Last, Live));
    }
};

TEST_F(Car_Number_E2E, TheReportedNumberSelectsItsFileAndANewOneIsWrittenFirst)
{
    ASSERT_NO_FATAL_FAILURE(Start_Emulator(Key_File_Pad_Key("CFG_File_Path") + Folder->File("Config") + " {}\r\n"));
    std::filesystem::create_directories(Folder->File("Config"));
    Folder->Write("Config/AB123.cfg", Key_File_Pad_Key("User_Name") + "Ann {}\r\n");
    Emu.Set_Car_Number({'.', '.', '/', 'x', 0, 0, 0, 0});
    With_Table();
    Start_Program();
    ASSERT_TRUE(Pump_Until([] { return Connected; }, 15000));
    ASSERT_TRUE(Wait_Command(0x26, 2, 30000));
    EXPECT_EQ(Configuration.Car_Number, "../x");
    EXPECT_FALSE(CFG_File_Named);

    Emu.Set_Car_Number({'A', 'B', '1', '2', '3', 0, 0, 0});
    Emu.Clear_Log();
    Main()->Button_CFG_Receiv->Click();
    ASSERT_TRUE(Pump_Until([&] { return Request_Code == 0 && Count_Of(0x26) >= 2; }, 30000));
    EXPECT_EQ(Settings.CFG_File_Name, "AB123.cfg");
    EXPECT_EQ(Main()->Edit_User_Name->Text(), "Ann");

    Main()->Edit_Car_Num->Text("NEW7");
    Emu.Clear_Log();
    Main()->Button_CFG_Transmitt->Click();
    ASSERT_TRUE(Pump_Until([&] { return Count_Of(Letter_List) > 0 && Request_Code == 0; }, 30000));
    EXPECT_EQ(Emu.Car_Number(), (emu::Bytes{'N', 'E', 'W', '7', 0xFF, 0xFF, 0xFF, 0xFF}));
    const emu::Bytes C = Emu.Commands();
    const auto Car = std::find(C.begin(), C.end(), Car_Write);
    ASSERT_NE(Car, C.end());
    EXPECT_EQ(Car[-1], Announce);
    EXPECT_NE(std::find(Car, C.end(), Letter_List), C.end());
}

TEST_F(Car_Number_E2E, ATypedNumberWritesNoFileUntilTheControllerHoldsIt)
{
    const std::string Config = Folder->File("Config");
    ASSERT_NO_FATAL_FAILURE(Start_Emulator(Key_File_Pad_Key("CFG_File_Path") + Config + " {}\r\n"));
    std::filesystem::create_directories(Config);
    // A client whose number is the first letter about to be typed.
    const std::string Client_A = Key_File_Pad_Key("User_Name") + "Ann {}\r\n";
    Folder->Write("Config/A.cfg", Client_A);
    With_Table();
    Start_Program();   // the emulator holds no car number
    ASSERT_TRUE(Pump_Until([] { return Connected; }, 15000));
    // The connect script's reads are over (the car fields are usable again after them).
    ASSERT_TRUE(Pump_Until([&] { return Polls_After(Table_Chunk) >= 2; }, 30000));
    ASSERT_EQ(Files_Under(Config), std::set<std::string>{"A.cfg"});
    TForm_KardunGAS* F = Main();
    F->Show();
    F->PageControl_KardunGAS->ActivePageIndex(1);

    // Key by key, each given the polls at which a due save would have come.
    const std::string Number = "AB1234CD";
    for (std::size_t I = 0; I < Number.size(); ++I) {
        SCOPED_TRACE(Number.substr(0, I + 1));
        QTest::keyClick(F->Edit_Car_Num->Widget(), Number[I]);
        ASSERT_EQ(Settings.CFG_File_Name, Number.substr(0, I + 1) + ".cfg");
        ASSERT_TRUE(Wait_Command(Live, Count_Of(Live) + 3));
        EXPECT_EQ(Files_Under(Config), std::set<std::string>{"A.cfg"});
        EXPECT_TRUE(Folder->Read("Config/A.cfg") == Client_A) << "client A's file was written over";
    }

    // Transmitt takes the number to the controller: now the file is its car's, and the
    // configuration written is filed in it with the identity the controller holds.
    Emu.Clear_Log();
    F->Button_CFG_Transmitt->Click();
    ASSERT_TRUE(Pump_Until([&] { return Request_Code == 0 && Polls_After(Letter_List) >= 2; }, 30000));
    EXPECT_EQ(Emu.Car_Number(), (emu::Bytes{'A', 'B', '1', '2', '3', '4', 'C', 'D'}));
    EXPECT_TRUE(Folder->Read("Config/A.cfg") == Client_A) << "client A's file was written over";
    ASSERT_TRUE(Key_File_Load(Config + "/AB1234CD.cfg"));
    const bool Has_ID = Key_File_Find_Int("Car_ID");
    Key_File_Discard();
    ASSERT_TRUE(Has_ID);
    const auto Pair = Emu.Config_Pair('A');
    EXPECT_EQ(Key_Int_Value, Pair[1] * 256 + Pair[0]);
}

}  // namespace
