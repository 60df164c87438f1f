// The service time through the real port: the connect reads it onto the Configuration page
// (and queues the service text when the interval has run out), a refresh reads it again,
// and a write sets the interval and the minutes left in the controller.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "data/Conversions.h"
#include "e2e/Emulator_Window_Fixture.h"
#include "language/Language.h"
#include "protocol/Status_Queue.h"

namespace {

using namespace main_test;

constexpr uint8_t Request_Write_Service = 29, Request_Read_Service = 30;
constexpr uint8_t Service_Read = 0x2E, Service_Write = 0x36;

class Service_Time_E2E : public Emulator_Window_Fixture {
protected:
    void SetUp() override
    {
        Emulator_Window_Fixture::SetUp();
        ASSERT_NO_FATAL_FAILURE(Start_Emulator());
        With_Table();
    }
    bool Queued(const std::string& Text) const
    {
        const auto* First = Status_Queue.Text + 1;
        return std::find(First, First + Status_Queue.Count, Text) != First + Status_Queue.Count;
    }
};

TEST_F(Service_Time_E2E, ThePageShowsTheControllersServiceTimeAndSetsIt)
{
    Emu.Set_Service(250, 90);
    Start_Program();
    ASSERT_TRUE(Pump_Until([] { return Connected; }, 15000));
    ASSERT_TRUE(Wait_Command(Service_Read, 1));
    Pump_For(200);
    TForm_KardunGAS* F = Main();
    const std::string Service_Text = Language_Text("ST_Message_Din_Indic");
    // Read at connect with hours left, then by the refresh request with none left: only
    // then is the service text queued (and it stays queued).
    struct Read_Row {
        uint16_t Hours;
        uint32_t Minutes_Left;
        const char* Edit;
        double Hours_Left;
        bool Text_Queued;
    };
    const Read_Row Reads[] = {{250, 90, "250", 1.5, false}, {100, 0, "100", 0.0, true}, {40000, 600, "32000", 10.0, true}};
    for (const Read_Row& R : Reads) {
        SCOPED_TRACE(R.Hours);
        if (&R != &Reads[0]) {
            // The refresh button's request reads the timer again.
            Emu.Set_Service(R.Hours, R.Minutes_Left);
            const size_t Before = Count_Of(Service_Read);
            Request_Code = Request_Read_Service;
            ASSERT_TRUE(Wait_Command(Service_Read, Before + 1));
            ASSERT_TRUE(Pump_Until([&] { return Configuration.Service_Time == R.Hours; }, 5000));
        }
        EXPECT_EQ(Configuration.Service_Time_Cnt, static_cast<int32_t>(R.Minutes_Left));
        EXPECT_EQ(F->ST_Set.Edit->Text(), R.Edit);
        EXPECT_EQ(F->Label_CFG_ST_Remains_Hours->Caption(), Format_Fixed(R.Hours_Left, 8, 2));
        EXPECT_EQ(Queued(Service_Text), R.Text_Queued);
    }

    // Written: the controller holds 250 h and 250 x 60 minutes left.
    Configuration.Service_Time = 250;
    Request_Code = Request_Write_Service;
    ASSERT_TRUE(Wait_Command(Service_Write, 1));
    ASSERT_TRUE(Pump_Until([&] { return Emu.Service_Time() == 250; }, 5000));
    EXPECT_EQ(Emu.Service_Count(), 15000u);
}

}  // namespace
