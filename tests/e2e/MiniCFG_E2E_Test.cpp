// A value stepped in the compact configuration window reaches the controller emulator at
// once, without the send-now setting, and reads back; a link that drops closes the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "data/Key_File.h"
#include "e2e/Emulator_Window_Fixture.h"
#include "windows/MiniCFG_Window.h"

namespace {

using namespace main_test;

constexpr uint8_t Live = 0x26, Letter_List = 0x2F, Read_All_Last = 0x27, Table_Chunk = 0x2B;

class MiniCFG_E2E : public Emulator_Window_Fixture {
protected:
    void TearDown() override
    {
        if (Form_MiniCFG)
            Form_MiniCFG->Free();
        Emulator_Window_Fixture::TearDown();
    }
    size_t Polls_After(uint8_t Command) const
    {
        const emu::Bytes C = Emu.Commands();
        const auto Last = std::find(C.rbegin(), C.rend(), Command);
        return Last == C.rend() ? 0 : static_cast<size_t>(std::count(C.rbegin(), Last, Live));
    }
};

TEST_F(MiniCFG_E2E, AStepInTheCompactWindowIsSentAtOnceAndReadsBack)
{
    ASSERT_NO_FATAL_FAILURE(Start_Emulator(Key_File_Pad_Key("Transmit_Now") + "False {}\r\n"));
    Emu.Set_RPM_Table(13, 24, emu::Bytes(13 * 24 * 2 + 13 + 24, 100));
    With_Table();
    Form_MiniCFG = Create_Form<TForm_MiniCFG>(nullptr);
    Start_Program();
    ASSERT_TRUE(Pump_Until([] { return Connected; }, 15000));
    ASSERT_TRUE(Pump_Until([&] { return Polls_After(Table_Chunk) >= 2; }, 30000));
    TForm_KardunGAS* F = Main();
    ASSERT_FALSE(Settings.Transmit_Now);
    F->Show_MiniCFG(18);
    TUpDown* RPM = F->PG_RPM.UpDown;
    ASSERT_EQ(RPM->Parent_Form(), Form_MiniCFG);
    const int32_t Start = RPM->Position();
    Emu.Clear_Log();
    RPM->Step(TUD_Button::Up);
    // The letter list goes out and two polls follow it.
    ASSERT_TRUE(Pump_Until([&] { return Polls_After(Letter_List) >= 2; }, 15000));
    Form_MiniCFG->Close();

    Configuration.PG_RPM = 0;
    Emu.Clear_Log();
    F->Button_CFG_Receiv->Click();
    ASSERT_TRUE(Pump_Until([&] { return Request_Code == 0 && Polls_After(Read_All_Last) >= 1; }, 20000));
    EXPECT_EQ(Configuration.PG_RPM, Start + 100);
}

// The port-settings view, opened by the right click on the port's panel, closes when the
// link drops: the controller stops answering (the watchdog's way) or the port goes away.
// Opened without a link, it outlasts the port's reopen attempts.
TEST_F(MiniCFG_E2E, TheCompactWindowClosesWhenTheLinkDrops)
{
    enum class Drop { Silent, Vanish, Not_Connected };   // traced as 0, 1, 2
    ASSERT_NO_FATAL_FAILURE(Start_Emulator());
    With_Table();
    Form_MiniCFG = Create_Form<TForm_MiniCFG>(nullptr);
    Start_Program();
    TForm_KardunGAS* F = Main();
    const auto Go_Silent = [this] {
        Emu.Set_Silent(true);
        ASSERT_TRUE(Pump_Until([] { return !Connected; }, 15000));
    };
    for (const Drop How : {Drop::Silent, Drop::Vanish, Drop::Not_Connected}) {
        SCOPED_TRACE(static_cast<int>(How));
        if (How == Drop::Not_Connected) {
            ASSERT_NO_FATAL_FAILURE(Go_Silent());
        } else {
            ASSERT_TRUE(Pump_Until([] { return Connected && Script_Flag_27 == 0; }, 20000));
            ASSERT_TRUE(Wait_Command(Live, Count_Of(Live) + 2));
        }
        F->Panel_PortStatusMouseDown(F->Panel_PortStatus, TMouseButton::Right, 0, 5, 5);
        ASSERT_TRUE(Pump_Until([] { return MiniCFG_Open && Form_MiniCFG->Visible(); }, 3000));
        if (How == Drop::Vanish) {
            Emu.Vanish();
            ASSERT_TRUE(Pump_Until([] { return !Port_Open; }, 15000));
        } else if (How == Drop::Silent) {
            ASSERT_NO_FATAL_FAILURE(Go_Silent());
        } else {
            F->Set_Port_Closed();
        }
        Pump_For(200);
        const bool Open = How == Drop::Not_Connected;
        EXPECT_EQ(MiniCFG_Open, Open);
        EXPECT_EQ(Form_MiniCFG->Visible(), Open);
        if (How == Drop::Vanish) {
            std::string Error;
            ASSERT_TRUE(Emu.Reappear(&Error)) << Error;
        }
        Emu.Set_Silent(false);
    }
}

}  // namespace
