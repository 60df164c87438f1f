// Two user requests asked one after the other, the second while the first still waits:
// both reach the controller, in the order asked, once each; the same request asked twice
// while it waits goes once.
#include <gtest/gtest.h>
#include <QTest>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "data/Configuration.h"
#include "data/Globals.h"
#include "data/Settings.h"
#include "e2e/Emulator_Window_Fixture.h"
#include "protocol/Script.h"

namespace {

using namespace main_test;

using Request_Queue_E2E = Emulator_Window_Fixture;

constexpr uint8_t Live = 0x26, Control = 0x23, Error_Control = 0x24, Read_Block_28 = 0x28, Letter_List = 0x2F,
                  Car_Write = 0x35;

TEST_F(Request_Queue_E2E, ASecondRequestWaitsBehindTheFirstAndBothReachTheController)
{
    ASSERT_NO_FATAL_FAILURE(Start_Emulator());
    With_Table();   // the whole configuration's write needs the table read
    Start_Program();
    ASSERT_TRUE(Pump_Until([] { return Connected && Script_Flag_27 == 0; }, 20000));
    Settings.Transmit_Now = true;
    TForm_KardunGAS* F = Main();
    int Value = 20;
    // What the technician does; each is one request.
    const std::function<void()> Transmit = [F] { F->Button_CFG_Transmitt->Click(); };
    // The same with a new car number: the car number's write, which ends with the whole
    // configuration's.
    const std::function<void()> Transmit_Car = [F] {
        F->Edit_Car_Num->Text("NEW7");
        F->Button_CFG_Transmitt->Click();
    };
    const std::function<void()> Work_Mode_Key = [F] { QTest::keyClick(F->Widget(), Qt::Key_M); };
    const std::function<void()> Clear_Errors = [F] { F->Button_ERR_Clear->Click(); };
    const std::function<void()> Receive = [F] { F->Button_CFG_Receiv->Click(); };
    // The first injector's forcing button put down, and up again.
    const std::function<void()> Forcing = [F] {
        TButton* B = F->Gas_Fors_Button(1);
        B->Down(true);
        B->OnClick(B);
    };
    const std::function<void()> Released = [F] {
        TButton* B = F->Gas_Fors_Button(1);
        B->Down(false);
        B->OnClick(B);
    };
    // A value changed with send-now on: its letter's request when the send-now timer fires
    // (at once here, while the write still runs).
    const std::function<void()> Send_Now = [F, &Value] {
        Configuration.PG_Delay = ++Value;
        F->CFG_Parameter_Changed('O');
        ASSERT_TRUE(F->Timer_Transmit_Now->Fire_Tick());
    };
    // Write_First: a Transmit is running when the first request is asked. Frames: the
    // commands that mark the requests, as the controller must see them (the other
    // commands filtered out).
    struct Row {
        const char* What;
        bool Write_First;
        std::function<void()> First, Second;
        std::vector<uint8_t> Frames;
        std::function<bool()> Held;   // what the controller holds afterwards, where it says more
    };
    const std::vector<Row> Rows{
        {"Transmit, then the work mode", false, Transmit, Work_Mode_Key, {Letter_List, Control}, nullptr},
        {"Transmit with a new car number, then the work mode", false, Transmit_Car, Work_Mode_Key,
         {Car_Write, Letter_List, Control}, nullptr},
        {"the work mode during a write, then send-now", true, Work_Mode_Key, Send_Now,
         {Letter_List, Control, Letter_List}, nullptr},
        {"clear errors, then Receive", false, Clear_Errors, Receive, {Error_Control, Read_Block_28}, nullptr},
        {"Receive, then clear errors", false, Receive, Clear_Errors, {Read_Block_28, Error_Control}, nullptr},
        {"Receive twice", false, Receive, Receive, {Read_Block_28}, nullptr},
        // Only the injectors' latest state goes: nothing forced.
        {"forcing, then released", false, Forcing, Released, {Control},
         [this] { return Emu.Last_Control() == std::array<uint8_t, 2>{0, 1}; }},
    };
    auto Marked = [this](const std::vector<uint8_t>& Marks) {
        std::vector<uint8_t> Seen;
        for (uint8_t C : Emu.Commands())
            if (std::find(Marks.begin(), Marks.end(), C) != Marks.end())
                Seen.push_back(C);
        return Seen;
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.What);
        ASSERT_TRUE(Pump_Until([] { return Request_Code == 0; }, 20000));
        ASSERT_TRUE(Wait_Command(Live, Count_Of(Live) + 2));
        Emu.Clear_Log();
        if (R.Write_First) {
            Transmit();
            ASSERT_TRUE(Pump_Until([] { return Script_Running_Kind() == Script_Kind::Write; }, 10000));
        }
        R.First();
        R.Second();
        EXPECT_TRUE(Pump_Until([&] { return Marked(R.Frames) == R.Frames; }, 20000));
        // Nothing more comes after them.
        ASSERT_TRUE(Wait_Command(Live, Count_Of(Live) + 4));
        EXPECT_EQ(Marked(R.Frames), R.Frames);
        EXPECT_EQ(Request_Code, 0);
        if (R.Held) {
            EXPECT_TRUE(R.Held());
        }
        if (R.Frames.back() == Letter_List) {
            EXPECT_EQ(Emu.Config_Pair('O')[0], Value);
        }
    }
}

}  // namespace
