// Data on their way between the page and the controller, end to end: while a read waits or
// runs the page's values and Transmit are not usable (mouse and keys alike) and become so
// again however the read ends; a close waits until what is being sent has arrived, or stays
// open naming what the lost link kept back. Nothing the technician did is lost in silence.
#include <gtest/gtest.h>

#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <string>

#include "data/Conversions.h"
#include "data/Key_File.h"
#include "e2e/Emulator_Window_Fixture.h"
#include "language/Language.h"
#include "protocol/Status_Queue.h"
#include "windows/MSG.h"

namespace {

using namespace main_test;

constexpr uint8_t Announce = 0x25, Live = 0x26, Car_Number_Read = 0x2D, Table_Chunk = 0x2B;
constexpr int32_t Start_RPM = 900;   // the controller's speed of switching to gas
constexpr int Late_Reply_Ms = 200;   // a read lasts long enough for an action inside it
constexpr int Slow_Reply_Ms = 900;   // a controller on a slow line
constexpr int First_Frame = -1;

bool Usable(const TControl* C) { return C->Showing(); }
void Click(TControl* C) { QTest::mouseClick(C->Widget(), Qt::LeftButton); }
void Click_Up(TUpDown* U) { QTest::mouseClick(U->Widget()->findChildren<QToolButton*>().front(), Qt::LeftButton); }

class Pending_Data : public Emulator_Window_Fixture {
protected:
    // Connected with the controller at Start_RPM, the page showing it (group 2).
    void Connect(bool Send_Now)
    {
        ASSERT_NO_FATAL_FAILURE(Start_Emulator(Key_File_Pad_Key("Transmit_Now") + (Send_Now ? "True" : "False") + " {}\r\n"));
        With_Table();
        Start_Program();
        ASSERT_TRUE(Pump_Until([] { return Connected; }, 15000));
        ASSERT_TRUE(Read_Ended());
        F = Main();
        F->Show();
        F->PageControl_KardunGAS->ActivePageIndex(1);
        F->Options_Select(2);
        // The scale of the value is the R.P.M. source the connection read.
        const Byte_Pair P = RPM_To_Period_Bytes(Start_RPM);
        Emu.Set_Config_Pair('K', P.Low, P.High);
        Start_Read(0);
        ASSERT_TRUE(Read_Ended());
        ASSERT_EQ(F->PG_RPM.UpDown->Position(), Start_RPM);
    }
    int32_t Controller_RPM() const
    {
        const auto Pair = Emu.Config_Pair('K');
        return Period_Bytes_To_RPM(Pair[1], Pair[0]);
    }
    void Start_Read(int Reply_Delay_Ms)
    {
        Emu.Set_Reply_Delay(Reply_Delay_Ms);
        Emu.Clear_Log();
        Click(F->Button_CFG_Receiv);
    }
    // The read's last table chunk, followed by the main poll.
    bool Read_Ended()
    {
        return Pump_Until([&] {
            const emu::Bytes C = Emu.Commands();
            const auto Last = std::find(C.rbegin(), C.rend(), Table_Chunk);
            return Last != C.rend() && std::count(C.rbegin(), Last, Live) >= 2;
        }, 30000);
    }
    TForm_KardunGAS* F = nullptr;
};

// ---------------------------------------------------------------- an action inside a read

enum class Act { PG_RPM_Up, Transmit_Click, Transmit_Key, Calibration_Transmit_Click, Default_Key };
struct Read_Row {
    const char* Name;
    bool Send_Now;
    Act What;
    int After_Ms;   // after Receive; First_Frame: once the read's first frame went
};
const Read_Row Read_Rows[] = {
    {"PgRpmUpAfterTheFirstFrameSentAtOnce", true, Act::PG_RPM_Up, First_Frame},
    {"PgRpmUpAfterTheFirstFrameKeptOnThePage", false, Act::PG_RPM_Up, First_Frame},
    {"Transmit50MsAfterRead", false, Act::Transmit_Click, 50},
    {"Transmit300MsAfterRead", false, Act::Transmit_Click, 300},
    {"TKey50MsAfterRead", false, Act::Transmit_Key, 50},
    {"CalibrationTransmit50MsAfterRead", false, Act::Calibration_Transmit_Click, 50},
    {"DKey50MsAfterRead", false, Act::Default_Key, 50},
};
class Edit_During_Read : public Pending_Data, public ::testing::WithParamInterface<Read_Row> {};

TEST_P(Edit_During_Read, NothingTheTechnicianDidIsReplacedInSilence)
{
    const Read_Row& R = GetParam();
    ASSERT_NO_FATAL_FAILURE(Connect(R.Send_Now));
    TUpDown* RPM = F->PG_RPM.UpDown;
    if (R.What != Act::PG_RPM_Up)
        Click_Up(RPM);   // Transmit is asked for a value only the page holds
    Start_Read(Late_Reply_Ms);
    if (R.After_Ms == First_Frame)
        ASSERT_TRUE(Wait_Command(Car_Number_Read, 1, 10000));
    else
        Pump_For(R.After_Ms);
    ASSERT_EQ(Count_Of(Table_Chunk), 0u) << "the read ended before the action";
    const int32_t Shown = RPM->Position();
    const bool On_Calibration = R.What == Act::Calibration_Transmit_Click;
    F->PageControl_KardunGAS->ActivePageIndex(On_Calibration ? 2 : 1);
    TControl* Target = R.What == Act::PG_RPM_Up    ? static_cast<TControl*>(RPM)
                       : R.What == Act::Default_Key ? F->Button_CFG_Default
                       : On_Calibration            ? F->Button_CLB_Transmitt
                                                   : F->Button_CFG_Transmitt;
    EXPECT_FALSE(Usable(Target));
    switch (R.What) {
    case Act::PG_RPM_Up: Click_Up(RPM); break;
    case Act::Transmit_Key: QTest::keyClick(F->Widget(), Qt::Key_T); break;
    case Act::Default_Key: QTest::keyClick(F->Widget(), Qt::Key_D); break;
    default: Click(Target); break;
    }
    F->PageControl_KardunGAS->ActivePageIndex(1);
    const int32_t Edited = RPM->Position();
    ASSERT_TRUE(Read_Ended());
    Pump_For(2500);   // the send-now count and the controls' re-enabling after it
    ASSERT_TRUE(Pump_Until([] { return Request_Code == 0; }, 10000));
    const bool Written = Count_Of(Announce) > 0;
    if (Edited != Shown) {
        // An edit the page took stays on it, and goes out where the setting sends it.
        EXPECT_EQ(RPM->Position(), Edited);
        EXPECT_EQ(Controller_RPM(), R.Send_Now ? Edited : Start_RPM);
    } else {
        // A write that went carries what the page showed when Transmit was asked.
        EXPECT_EQ(Controller_RPM(), Written ? Shown : Start_RPM);
    }
    EXPECT_TRUE(Usable(RPM));
    EXPECT_TRUE(Usable(F->Button_CFG_Transmitt));
}
INSTANTIATE_TEST_SUITE_P(Rows, Edit_During_Read, ::testing::ValuesIn(Read_Rows),
                         [](const auto& I) { return std::string(I.param.Name); });

// ---------------------------------------------------------------- however a read ends

enum class Loss { None, Controller_Silent, Port_Vanishes };
void Lose_Link(emu::Controller_Emulator& Emu, Loss How)
{
    if (How == Loss::Controller_Silent)
        Emu.Set_Silent(true);
    else if (How == Loss::Port_Vanishes)
        Emu.Vanish();
}
struct End_Row {
    const char* Name;
    Loss How;
};
const End_Row End_Rows[] = {
    {"TheLastReplyCame", Loss::None},
    {"TheWatchdogDroppedIt", Loss::Controller_Silent},
    {"ThePortVanished", Loss::Port_Vanishes},
};
class Read_End : public Pending_Data, public ::testing::WithParamInterface<End_Row> {};

TEST_P(Read_End, ThePageIsUsableAgainAndTransmitFollowsTheLink)
{
    ASSERT_NO_FATAL_FAILURE(Connect(false));
    Start_Read(Late_Reply_Ms);
    ASSERT_TRUE(Wait_Command(Car_Number_Read, 1, 10000));
    EXPECT_FALSE(Usable(F->PG_RPM.UpDown));
    EXPECT_FALSE(Usable(F->Button_CFG_Transmitt));
    Lose_Link(Emu, GetParam().How);
    ASSERT_TRUE(Pump_Until([&] { return Usable(F->PG_RPM.UpDown); }, 15000));
    EXPECT_EQ(Connected, GetParam().How == Loss::None);
    EXPECT_EQ(Usable(F->Button_CFG_Transmitt), Connected);
}
INSTANTIATE_TEST_SUITE_P(Rows, Read_End, ::testing::ValuesIn(End_Rows),
                         [](const auto& I) { return std::string(I.param.Name); });

// ---------------------------------------------------------------- closing meanwhile

bool In_Status_Line(const std::string& Text)
{
    const auto Queued = Status_Queue.Text + 1;
    return std::find(Queued, Queued + Status_Queue.Count, Text) != Queued + Status_Queue.Count;
}
struct Close_Row {
    const char* Name;
    bool Write_Running;   // else a send-now change inside its delay
    int Reply_Delay_Ms;
    Loss Link;            // from the close on
    bool By_F10;          // else the close box
};
const Close_Row Close_Rows[] = {
    {"CloseBoxDuringAWrite", true, Slow_Reply_Ms, Loss::None, false},
    {"F10WithinTheSendNowDelay", false, 0, Loss::None, true},
    {"CloseBoxWithinTheSendNowDelaySlowController", false, Slow_Reply_Ms, Loss::None, false},
    {"CloseBoxWithTheControllerSilent", false, 0, Loss::Controller_Silent, false},
    {"CloseBoxDuringAWriteThenThePortVanishes", true, Slow_Reply_Ms, Loss::Port_Vanishes, false},
};
class Close_Pending : public Pending_Data, public ::testing::WithParamInterface<Close_Row> {};

TEST_P(Close_Pending, TheWindowClosesOnlyOnceTheDataAreSentOrTheirLossIsNamed)
{
    const Close_Row& R = GetParam();
    ASSERT_NO_FATAL_FAILURE(Connect(!R.Write_Running));
    Emu.Set_Reply_Delay(R.Reply_Delay_Ms);
    Emu.Clear_Log();
    Click_Up(F->PG_RPM.UpDown);
    const int32_t Edited = F->PG_RPM.UpDown->Position();
    if (R.Write_Running) {
        Click(F->Button_CFG_Transmitt);
        ASSERT_TRUE(Wait_Command(Announce, 1, 10000));
    }
    ASSERT_TRUE(R.Write_Running || F->Timer_Transmit_Now->Enabled());
    if (R.Link == Loss::Controller_Silent)
        Lose_Link(Emu, R.Link);
    if (R.By_F10)
        QTest::keyClick(F->Widget(), Qt::Key_F10);
    else
        F->Widget()->close();
    if (R.Link == Loss::Port_Vanishes)
        Lose_Link(Emu, R.Link);
    Pump_For(50);
    ASSERT_TRUE(F->Visible()) << "closed at once";
    EXPECT_TRUE(In_Status_Line(Language_Text("Close_Wait_Transmit")));

    // Whenever the window is gone, the controller holds the edit.
    bool Closed_Early = false;
    const auto Closed = [&] {
        Closed_Early = Closed_Early || (!F->Visible() && Controller_RPM() != Edited);
        return !F->Visible();
    };
    ASSERT_TRUE(Pump_Until([&] { return Closed() || !Connected; }, 20000));
    Pump_Until(Closed, 1500);
    EXPECT_FALSE(Closed_Early) << "closed before the controller had the edit";
    const bool Sent = R.Link == Loss::None;
    EXPECT_EQ(Controller_RPM(), Sent ? Edited : Start_RPM);
    EXPECT_EQ(F->Visible(), !Sent);
    if (!Sent) {
        ASSERT_TRUE(Pump_Until([] { return Form_MSG->Visible(); }, 3000));
        EXPECT_EQ(Form_MSG->Label_Text->Caption(), Language_Text("Error_Data_Transmitt"));
        EXPECT_FALSE(In_Status_Line(Language_Text("Close_Wait_Transmit")));
    }
}
INSTANTIATE_TEST_SUITE_P(Rows, Close_Pending, ::testing::ValuesIn(Close_Rows),
                         [](const auto& I) { return std::string(I.param.Name); });

}  // namespace
