// The oscilloscope recording against the controller emulator: the real port, the poll
// script and the live-data decoding feed the file.
#include <gtest/gtest.h>

#include "e2e/Emulator_Window_Fixture.h"
#include "emulator/Emulator.h"
#include "main/Oscilloscope.h"

namespace {

using namespace main_test;

class Oscilloscope_E2E : public Emulator_Window_Fixture {
protected:
    void SetUp() override
    {
        Emulator_Window_Fixture::SetUp();
        ui::Hooks.On_Unexpected_Dialog = [](const std::string& What) { ADD_FAILURE() << What; };
        // The shortest reply delay: many samples in little time.
        ASSERT_NO_FATAL_FAILURE(Start_Emulator(Key_File_Pad_Key("Reply_Delay") + "1 {}\r\n"));
        With_Table();
    }
};

// A user's click on a speed button: its down state flips, then its handler runs.
void Press(TButton* B)
{
    ASSERT_TRUE(B->Enabled()) << B->Name();
    B->Next_Down_State();
    B->Click();
}

TEST_F(Oscilloscope_E2E, ARecordingHoldsEverySampleDecodedWhileItRanTailIncluded)
{
    constexpr int Wanted = 250;
    Create();
    Start_Up();
    ASSERT_TRUE(Pump_Until([] { return Connected; }, 15000));
    UI_Ready = true;
    TForm_KardunGAS* F = Main();

    // Every sample decoded while Record and Start are down, in the file's order and units;
    // Start is released right after the 250th.
    std::string Expected;
    int Samples = 0;
    bool Record_Enabled_While_Running = false;
    const auto Window_Step = Live_Data_Hooks.Show_Live_Values;
    Live_Data_Hooks.Show_Live_Values = [&] {
        const bool Recording = F->Button_OSC_Record->Down() && F->Button_OSC_StartStop->Down();
        Window_Step();
        if (!Recording)
            return;
        const Live_Values_Class& L = Live_Values;
        for (int V : {L.Live_RPM, L.Live_Gas_Time / 10, L.Live_TPS, L.Live_TempVap, L.Live_TempGas,
                      L.Live_PressDiff, L.Live_Detonation, L.Live_PressColl}) {
            Expected.push_back(static_cast<char>(V & 0xFF));
            Expected.push_back(static_cast<char>((V >> 8) & 0xFF));
        }
        Record_Enabled_While_Running = Record_Enabled_While_Running || F->Button_OSC_Record->Enabled();
        if (++Samples == Wanted)
            Press(F->Button_OSC_StartStop);
    };

    // A new file in the oscilloscope folder, which the dialog's start makes.
    const std::string Path = Folder->File("Oscilloscope/run.osc");
    ui::Answer_Next_File_Dialog(Path);
    Press(F->Button_OSC_Record);
    Press(F->Button_OSC_StartStop);
    EXPECT_EQ(F->Button_OSC_StartStop->Caption(), "Stop");
    ASSERT_TRUE(Pump_Until([&] { return Samples >= Wanted; }, 90000)) << Samples;
    const int Traced = F->OSC_Slots[0].Count;
    Pump_For(500);   // more replies: nothing more is recorded
    Live_Data_Hooks.Show_Live_Values = Window_Step;

    EXPECT_EQ(Samples, Wanted);
    EXPECT_TRUE(Record_Enabled_While_Running);   // after the first block it can be released
    EXPECT_EQ(F->Button_OSC_StartStop->Caption(), "Start");
    EXPECT_EQ(F->OSC_Slots[0].Count, Traced);
    EXPECT_EQ(Traced, F->OSC_Data.N);   // the live plot filled and scrolled
    const std::string Recorded = Folder->Read("Oscilloscope/run.osc");
    EXPECT_EQ(Recorded.size(), static_cast<std::size_t>(Wanted * OSC_Record_Bytes));
    EXPECT_TRUE(Recorded == Expected) << "the file differs from the decoded samples";
    EXPECT_FALSE(W->MSG->Pending) << W->MSG->Stored.Text;
}

}  // namespace
