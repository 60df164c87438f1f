// The Errors page's Clear against the emulator: the clear request on the wire and the list
// rebuilt from the next live data.
#include <gtest/gtest.h>

#include "e2e/Emulator_Window_Fixture.h"

namespace {

using namespace main_test;

class Pages_E2E : public Emulator_Window_Fixture {};

TEST_F(Pages_E2E, ClearErrorsConnectedSendsTheClearBitAndTheListShowsNoErrorAfterTheNextPoll)
{
    ASSERT_NO_FATAL_FAILURE(Start_Emulator());
    With_Table();
    emu::Live_Settings Live = Emu.Live();
    Live.Error_Bits = 0x05;   // two sensors in error
    Emu.Set_Live(Live);
    Start_Program();
    ASSERT_TRUE(Pump_Until([] { return Connected; }, 15000));
    TMemo* Memo = Main()->Memo_ERR_Current;
    ASSERT_TRUE(Pump_Until([&] { return Memo->Lines().Count() == 2; }, 10000));
    const std::string With_Errors = Memo->Lines().Text();

    Main()->Button_ERR_Clear->Click();
    ASSERT_TRUE(Pump_Until([&] { return (Emu.Error_Control() & 1) != 0; }, 10000));
    EXPECT_EQ(Emu.Live().Error_Bits, 0);
    ASSERT_TRUE(Pump_Until([&] { return Memo->Lines().Count() == 1; }, 10000));
    EXPECT_NE(Memo->Lines().Text(), With_Errors);
    EXPECT_TRUE(Connected);
}

}  // namespace
