// The car number between the program and the controller emulator: a reported number that
// cannot name a file selects nothing, one that can selects its file, and Transmitt with a
// new number writes it before the configuration.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "data/Key_File.h"
#include "e2e/Emulator_Window_Fixture.h"
#include "protocol/CFG_File.h"

namespace {

using namespace main_test;

constexpr uint8_t Announce = 0x25, Car_Write = 0x35, Letter_List = 0x2F;

class Car_Number_E2E : public Emulator_Window_Fixture {};

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

}  // namespace
