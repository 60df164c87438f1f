// A write cut off by a lost link (the port goes away, or the controller stops answering) is
// reported once the link is back; a read cut off the same way says nothing new.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/Emulator_Window_Fixture.h"
#include "emulator/Emulator.h"
#include "protocol/Request_Codes.h"
#include "protocol/Script.h"
#include "protocol/Write_Lists.h"
#include "windows/MSG.h"

namespace {

using namespace main_test;

using Lost_Write_E2E = Emulator_Window_Fixture;

TEST_F(Lost_Write_E2E, AWriteCutOffByALostPortIsReportedOnceTheLinkIsBack)
{
    // Lost_At: the command the port goes away on or, Silent, the controller stops answering
    // (the watchdog's way).
    struct Row { const char* What; uint8_t Request, Lost_At; bool Silent, Reported; };
    const std::vector<Row> Rows{
        {"whole configuration", Request_Write_All, 0x2F, false, true},
        {"changed parameters", 'K', 0x2F, false, true},
        {"RPM-dependence table", Request_Write_RPM_Tab, 0x33, false, true},   // a cell changed first
        {"calibration", Request_Write_CLB_First, 0x30, false, true},
        {"a read", Request_Read_All, 0x27, false, false},
        {"RPM-dependence table, silent", Request_Write_RPM_Tab, 0x33, true, true},
        {"a read, silent", Request_Read_All, 0x29, true, false},
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
        EXPECT_EQ(Form_MSG->Visible(), R.Reported);
        if (R.Reported) {
            EXPECT_EQ(Form_MSG->Shown.Text, "Error_Data_Transmitt");
        }
    }
}

}  // namespace
