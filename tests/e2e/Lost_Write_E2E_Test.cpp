// A write cut off by a lost link (the port goes away, or the controller stops answering) is
// reported once the link is back, and so is a read cut off the same way. A request
// served at the sequencer's next step (work mode, forcing, control, clearing the errors)
// never cuts a running write: the controller ends with both.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "data/Configuration.h"
#include "data/Globals.h"
#include "data/Settings.h"
#include "e2e/Emulator_Window_Fixture.h"
#include "emulator/Emulator.h"
#include "language/Language.h"
#include "protocol/Frames.h"
#include "protocol/Request_Codes.h"
#include "protocol/Status_Queue.h"
#include "protocol/Script.h"
#include "protocol/Write_Lists.h"
#include "windows/MSG.h"

namespace {

using namespace main_test;

using Lost_Write_E2E = Emulator_Window_Fixture;

constexpr uint8_t Live = 0x26, Control = 0x23, Error_Control = 0x24, Letter_List = 0x2F, Block_2 = 0x31,
                  Table_Chunk = 0x33;

TEST_F(Lost_Write_E2E, AWriteCutOffByALostPortIsReportedOnceTheLinkIsBack)
{
    // Lost_At: the command the port goes away on or, Silent, the controller stops answering
    // (the watchdog's way).
    struct Row { const char* What; uint8_t Request, Lost_At; bool Silent; const char* Key; };
    const std::vector<Row> Rows{
        {"whole configuration", Request_Write_All, 0x2F, false, "Error_Data_Transmitt"},
        {"changed parameters", 'K', 0x2F, false, "Error_Data_Transmitt"},
        {"RPM-dependence table", Request_Write_RPM_Tab, 0x33, false, "Error_Data_Transmitt"},   // a cell changed first
        {"calibration", Request_Write_CLB_First, 0x30, false, "Error_Data_Transmitt"},
        {"a read", Request_Read_All, 0x27, false, "Error_CFG_Receiv"},
        {"RPM-dependence table, silent", Request_Write_RPM_Tab, 0x33, true, "Error_Data_Transmitt"},
        {"a read, silent", Request_Read_All, 0x29, true, "Error_CFG_Receiv"},
    };
    ASSERT_NO_FATAL_FAILURE(Start_Emulator());
    With_Table();
    Start_Program();
    // Connected, the connect script through and the main poll running.
    auto Polling = [this] {
        return Pump_Until([] { return Connected && Script_Flag_27 == 0; }, 20000) &&
               Wait_Command(0x26, Count_Of(0x26) + 3);
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.What);
        ASSERT_TRUE(Polling());
        MSG_Reset();
        Emu.Inject_Fault(R.Silent ? emu::Fault::No_Reply : emu::Fault::Vanish, R.Silent ? 1000 : 1, R.Lost_At);
        if (R.Request >= 'A' && R.Request <= 't')
            CFG_Letter_Mark(R.Request);
        if (R.Request == Request_Write_RPM_Tab)   // a table the controller does not hold yet
            Main()->Grid_RPM->Cells(3, 5, R.Silent ? "1.45" : "1.23");
        Request_Code = R.Request;
        if (R.Silent) {
            ASSERT_TRUE(Pump_Until([] { return !Connected; }, 15000));
            Emu.Clear_Faults();
        } else {
            ASSERT_TRUE(Pump_Until([] { return !Port_Open; }, 15000));
            ASSERT_TRUE(Emu.Vanished());
            Pump_For(300);
            std::string Error;
            ASSERT_TRUE(Emu.Reappear(&Error)) << Error;
        }
        ASSERT_TRUE(Polling());
        Pump_For(500);
        EXPECT_TRUE(Form_MSG->Visible());
        EXPECT_EQ(Form_MSG->Shown.Text, R.Key);
    }
}

TEST_F(Lost_Write_E2E, ARequestForTheNextStepWaitsForARunningWriteToEnd)
{
    // A write: its request, the frames it has sent when the other request comes and the
    // last frame it always sends. Each carries a new value (PG_Delay, or a table cell).
    struct Write { const char* What; uint8_t Request; size_t Cut_After; uint8_t Last; };
    const std::vector<Write> Writes{
        {"whole configuration", Request_Write_All, 3, Letter_List},
        {"calibration", Request_Write_CLB_First, 3, Block_2},
        {"RPM-dependence table", Request_Write_RPM_Tab, 3, Table_Chunk},
        {"send-now list", 'O', 1, Letter_List},
    };
    // A request served at the next step: its frame, and what the controller holds after it.
    const emu::Controller_Emulator& E = Emu;
    struct Start { uint8_t Request; uint8_t Command; std::function<bool(uint8_t Mode_Before)> Held; };
    const std::vector<Start> Starts{
        {Request_Next_Work_Mode, Control, [&](uint8_t Before) { return E.Work_Mode() != Before; }},
        {Request_Gas_Fors, Control, [&](uint8_t) { return (E.Last_Control()[0] & E.Last_Control()[1] & 0x04) != 0; }},
        {Request_Control_0_1, Control, [&](uint8_t) { return E.Last_Control() == std::array<uint8_t, 2>{0, 1}; }},
        {Request_Control_0_2, Control, [&](uint8_t) { return E.Last_Control() == std::array<uint8_t, 2>{0, 2}; }},
        {Request_Clear_Errors, Error_Control, [&](uint8_t) { return E.Error_Control() == Error_Control_Word; }},
    };
    ASSERT_NO_FATAL_FAILURE(Start_Emulator());
    With_Table();
    Start_Program();
    ASSERT_TRUE(Pump_Until([] { return Connected && Script_Flag_27 == 0; }, 20000));
    Settings.Save_Load_Data = true;
    Error_Control_Word = 0x0001;
    auto Frames_Not_Polls = [this] {
        const emu::Bytes C = Emu.Commands();
        return static_cast<size_t>(std::count_if(C.begin(), C.end(), [](uint8_t X) { return X != Live; }));
    };
    auto Polls_After = [this](uint8_t Command) -> size_t {
        const emu::Bytes C = Emu.Commands();
        const auto Last = std::find(C.rbegin(), C.rend(), Command);
        return Last == C.rend() ? 0 : static_cast<size_t>(std::count(C.rbegin(), Last, Live));
    };
    const std::string Transmission = Language_Text(Transmission_Text_Key);
    int Value = 20;
    for (const Write& W : Writes) {
        for (const Start& S : Starts) {
            SCOPED_TRACE(std::string(W.What) + ", request " + std::to_string(S.Request));
            ASSERT_TRUE(Wait_Command(Live, Count_Of(Live) + 2));
            ++Value;
            Configuration.PG_Delay = Value;
            if (W.Request == 'O')
                CFG_Letter_Mark('O');
            const emu::Bytes Table_Before = Emu.RPM_Table_Image();
            if (W.Request == Request_Write_RPM_Tab)
                Main()->Grid_RPM->Cells(3, 5, "1." + std::to_string(Value));
            if (S.Request == Request_Gas_Fors)
                Main()->Gas_Fors_Button(1)->Down(true);
            const uint8_t Mode_Before = Emu.Work_Mode();
            Emu.Clear_Log();
            Request_Code = W.Request;
            ASSERT_TRUE(Pump_Until([&] { return Frames_Not_Polls() >= W.Cut_After; }, 10000));
            Request_Code = S.Request;
            EXPECT_TRUE(Pump_Until([&] {
                return Count_Of(W.Last) >= 1 && Polls_After(S.Command) >= 2 && Polls_After(W.Last) >= 2;
            }, 15000));
            EXPECT_EQ(Count_Of(S.Command), 1u);
            EXPECT_TRUE(S.Held(Mode_Before));
            if (W.Request == Request_Write_RPM_Tab) {
                EXPECT_NE(Emu.RPM_Table_Image(), Table_Before);
            } else {
                EXPECT_EQ(Emu.Config_Pair('O')[0], Value);
            }
            const auto* First = Status_Queue.Text + 1;
            EXPECT_EQ(std::count(First, First + Status_Queue.Count, Transmission), 0) << "status line";
            Main()->Gas_Fors_Button(1)->Down(false);
        }
    }
}

}  // namespace
