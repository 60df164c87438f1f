// A value stepped in the compact configuration window reaches the controller emulator at
// once, without the send-now setting, and reads back.
#include <gtest/gtest.h>

#include <algorithm>

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

}  // namespace
