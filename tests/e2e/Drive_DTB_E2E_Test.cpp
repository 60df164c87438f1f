// The test drive and the clients database against the controller emulator, entered from
// their buttons: a road test timed from the engine speeds of the real live-data replies, and
// a car file chosen in the database and loaded by the sequencer's request.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "data/Configuration.h"
#include "data/Settings.h"
#include "e2e/Emulator_Window_Fixture.h"
#include "emulator/Emulator.h"
#include "protocol/CFG_File.h"
#include "protocol/Live_Data.h"
#include "windows/DTB_Window.h"
#include "windows/Drive_Window.h"

namespace {

using namespace main_test;

// Saves the window as a technician sees it, when a folder for the pictures is given.
void Shot(TForm* Form, const std::string& Name)
{
    if (const char* Keep = std::getenv("KARDUN_SHOT_DIR")) {
        Pump_For(50);
        EXPECT_TRUE(ui::Render_To_PNG(Form, std::string(Keep) + "/" + Name + ".png"));
    }
}

// RPM of a period word at the default RPM constant (800 rpm at 1875).
constexpr uint32_t Rpm_Constant = 1500000;

class Drive_DTB_E2E : public Emulator_Window_Fixture {
protected:
    void SetUp() override
    {
        Emulator_Window_Fixture::SetUp();
        ui::Hooks.On_Unexpected_Dialog = [](const std::string& What) { ADD_FAILURE() << What; };
        ASSERT_NO_FATAL_FAILURE(Start_Emulator(Key_File_Pad_Key("Reply_Delay") + "1 {}\r\n"));
        With_Table();
        Engine(1500);
    }
    void TearDown() override
    {
        if (Form_MV_Drive)
            Form_MV_Drive->Free();
        if (Form_DTB)
            Form_DTB->Free();
        Emulator_Window_Fixture::TearDown();
    }
    void Start()
    {
        Create();
        Form_DTB = Create_Form<TForm_DTB>(nullptr);
        Form_MV_Drive = Create_Form<TForm_MV_Drive>(nullptr);
        Start_Up();
        ASSERT_TRUE(Pump_Until([] { return Connected && Live_Values.Live_RPM > 0; }, 15000));
        UI_Ready = true;
    }
    // The emulated engine held at a speed.
    void Engine(int Rpm)
    {
        emu::Live_Settings Live = Emu.Live();
        Live.Moving = false;
        Live.RPM_Period = static_cast<uint16_t>(Rpm_Constant / static_cast<uint32_t>(Rpm));
        Emu.Set_Live(Live);
    }
};

TEST_F(Drive_DTB_E2E, AnEngineRampTakesTheTestDriveThroughArmedTimingAndDone)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    Main()->Button_OSC_Test_Drive->Click();
    TForm_MV_Drive* D = Form_MV_Drive;
    ASSERT_TRUE(D->Visible());
    ASSERT_TRUE(Drive_Window_Open);
    // RPM mode, marks 2000 and 4000.
    ASSERT_TRUE(Pump_Until([&] { return D->Panel_Drive_Time->Color() == Drive_Panel_Armed && !D->Waiting; }, 10000))
        << D->Label_Drive_RPM_Current->Caption() << " " << Live_Values.Live_RPM << " " << D->Panel_Drive_Time->Enabled();
    EXPECT_EQ(D->Label_Drive_RPM_Current->Caption(), "1500");

    Engine(3000);
    ASSERT_TRUE(Pump_Until([&] { return D->Panel_Drive_Time->Color() == Drive_Panel_Timing; }, 10000));
    Pump_For(1000);
    Shot(D, "test_drive_timing");
    Engine(4500);
    ASSERT_TRUE(Pump_Until([&] { return D->Panel_Drive_Time->Color() == Drive_Panel_Done; }, 10000));
    // About a second at 3000 rpm between the marks, counted by the real display timer, and
    // the result stays while the replies go on above the top mark.
    EXPECT_GE(D->Tick_Count, 9);
    EXPECT_LE(D->Tick_Count, 60);
    const std::string Result = D->Label_Drive_Current_Time->Caption();
    Pump_For(500);
    EXPECT_EQ(D->Label_Drive_Current_Time->Caption(), Result);
    Shot(D, "test_drive_done");

    D->Close();
    EXPECT_FALSE(Drive_Window_Open);
}

TEST_F(Drive_DTB_E2E, ACarChosenInTheDatabaseIsLoadedByTheControllersRequest)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    Settings.CFG_File_Path = Folder->File("Config");
    std::filesystem::create_directories(Settings.CFG_File_Path);
    Folder->Write("Config/K777.cfg", Key_File_Line("Car_Model", "Volga", "") + Key_File_Line("User_Name", "Petr", ""));
    Folder->Write("Config/M100.cfg", Key_File_Line("Car_Model", "Niva", ""));
    const std::string Name_Before = Settings.CFG_File_Name;

    Main()->Button_CFG_User_View->Click();
    TForm_DTB* T = Form_DTB;
    ASSERT_TRUE(T->Visible());
    ASSERT_EQ(T->ListView_DTB->Item_Count(), 2);
    T->ListView_DTBColumnClick(T->ListView_DTB, 6);   // by owner: M100 (none) first
    ASSERT_EQ(T->ListView_DTB->Items(1)->Caption, "K777");
    T->ListView_DTB->Selected(T->ListView_DTB->Items(1));
    Shot(T, "clients_database");
    T->Button_DTB_Load->Click();
    EXPECT_FALSE(T->Visible());
    EXPECT_EQ(Settings.CFG_File_Name, Name_Before);   // until the request runs
    ASSERT_TRUE(Pump_Until([] { return Settings.CFG_File_Name == "K777.cfg"; }, 15000));
    EXPECT_EQ(Load_Path, Folder->File("Config/K777.cfg"));
    EXPECT_EQ(Configuration.Car_Model, "Volga");
    EXPECT_EQ(Configuration.User_Name, "Petr");
}

}  // namespace
