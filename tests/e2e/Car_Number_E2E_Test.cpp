// The car number between the program and the controller emulator: the number reported at
// connection selects its file, one that cannot name a file selects nothing, and Transmitt
// with a new number writes it before the configuration.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "data/Key_File.h"
#include "e2e/Emulator_Window_Fixture.h"
#include "protocol/CFG_File.h"

namespace {

using namespace main_test;

constexpr uint8_t Announce = 0x25, Car_Write = 0x35, Letter_List = 0x2F;

class Car_Number_E2E : public Emulator_Window_Fixture {
protected:
    // Connects with the controller holding `Number` (padded with 0) and a car file AB123.cfg.
    void Connect(const std::string& Number)
    {
        ASSERT_NO_FATAL_FAILURE(Start_Emulator(Key_File_Pad_Key("CFG_File_Path") + Folder->File("Config") + " {}\r\n"));
        std::filesystem::create_directories(Folder->File("Config"));
        Folder->Write("Config/AB123.cfg", Key_File_Pad_Key("Car_Model") + "Van 2.0 {}\r\n" +
                                              Key_File_Pad_Key("User_Name") + "Ann {}\r\n");
        emu::Bytes Eight(8, 0);
        std::copy(Number.begin(), Number.end(), Eight.begin());
        Emu.Set_Car_Number(Eight);
        With_Table();
        Start_Program();
        ASSERT_TRUE(Pump_Until([] { return Connected; }, 15000));
        ASSERT_TRUE(Wait_Command(0x26, 2, 30000));
    }
};

TEST_F(Car_Number_E2E, AReportedNumberSelectsItsFileAndLoadsItsCarData)
{
    ASSERT_NO_FATAL_FAILURE(Connect("AB123"));
    EXPECT_EQ(Settings.CFG_File_Name, "AB123.cfg");
    EXPECT_EQ(Configuration.Car_Model, "Van 2.0");
    EXPECT_EQ(Main()->Edit_User_Name->Text(), "Ann");
    EXPECT_EQ(Main()->Edit_Car_Num->Text(), "AB123");
}

TEST_F(Car_Number_E2E, ANumberThatCannotNameAFileSelectsNothing)
{
    ASSERT_NO_FATAL_FAILURE(Connect("../x"));
    EXPECT_EQ(Configuration.Car_Number, "../x");
    EXPECT_FALSE(CFG_File_Name_Valid(Settings.CFG_File_Name));
    EXPECT_EQ(Main()->Edit_Car_Num->Text(), "");
    EXPECT_FALSE(CFG_File_Named);
    EXPECT_FALSE(std::filesystem::exists(Folder->File("x.cfg")));
}

TEST_F(Car_Number_E2E, TransmittWithANewNumberWritesItBeforeTheConfiguration)
{
    ASSERT_NO_FATAL_FAILURE(Connect("AB123"));
    Main()->Edit_Car_Num->Text("NEW7");
    Emu.Clear_Log();
    Main()->Button_CFG_Transmitt->Click();
    EXPECT_EQ(Request_Code, 17);
    ASSERT_TRUE(Pump_Until([&] { return Count_Of(Letter_List) > 0 && Request_Code == 0; }, 30000));
    EXPECT_EQ(Emu.Car_Number(), (emu::Bytes{'N', 'E', 'W', '7', 0xFF, 0xFF, 0xFF, 0xFF}));
    const emu::Bytes C = Emu.Commands();
    const auto Car = std::find(C.begin(), C.end(), Car_Write);
    ASSERT_NE(Car, C.end());
    EXPECT_EQ(Car[-1], Announce);
    EXPECT_NE(std::find(Car, C.end(), Letter_List), C.end());
    EXPECT_EQ(Configuration.Car_Number, "NEW7");
}

}  // namespace
