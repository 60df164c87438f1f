// The gas-level row against the controller emulator: in gas mode the live level read from
// the controller lights the LEDs against the chosen sensor's marks and moves the marker.
#include <gtest/gtest.h>

#include <string>

#include "data/Conversions.h"
#include "e2e/Emulator_Window_Fixture.h"
#include "emulator/Emulator.h"

namespace {

using namespace main_test;

class Sensors_E2E : public Emulator_Window_Fixture {};

TEST_F(Sensors_E2E, TheLiveLevelInGasModeLightsTheLedsAndTheMarker)
{
    ASSERT_NO_FATAL_FAILURE(Start_Emulator());
    emu::Live_Settings Live = Emu.Live();
    Live.Gas_Level = 300;
    Live.Moving = false;
    Emu.Set_Live(Live);
    Emu.Set_Work_Mode(4);
    Start_Program();
    ASSERT_TRUE(Pump_Until([] { return Connected; }, 15000));
    ASSERT_TRUE(Wait_Command(0x28, 1));
    TForm_KardunGAS* F = Main();
    F->PageControl_KardunGAS->ActivePageIndex(1);
    // The user chooses the sensor: marks 806, 512, 306, 213, 47, inverted.
    TComboBox* Type = F->ComboBox_CFG_Level_Type;
    Type->ItemIndex(Type->Items().IndexOf("AEB 1050"));
    Type->User_Selected(Type->ItemIndex());
    ASSERT_TRUE(Configuration.GL_Invert_ON);
    // Greens 1..3 lit (the level below their marks), 4 and 5 and red grey, yellow off in gas.
    const size_t Replies = Count_Of(0x26);
    ASSERT_TRUE(Wait_Command(0x26, Replies + 2));
    EXPECT_TRUE(Pump_Until([&] { return Level_Led_Row(*F) == "0111000"; }, 5000)) << Level_Led_Row(*F);
    EXPECT_EQ(F->Edit_CFG_Level[0]->Text(), Format_Gas_Level(300));
    // The marker: a green line at the level's height on the full scale of 1023.
    TImage* Marker = F->Image_CFG_Level_Sensor_Current;
    EXPECT_TRUE(Marker->Visible());
    const int Y = Marker->Height() * 300 / 1023;
    EXPECT_EQ(Marker->Canvas()->Pixels(Marker->Width() / 2, Y), RGB_Color(0, 255, 0));
}

}  // namespace
