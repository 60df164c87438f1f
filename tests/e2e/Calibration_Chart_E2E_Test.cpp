// A gas point shaped on the chart reaches the controller emulator when the mouse is
// released (Transmit_Now on), and reading the curves back puts it on the chart again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/Calibration.h"
#include "e2e/Emulator_Window_Fixture.h"
#include "emulator/Emulator.h"

namespace {

using namespace main_test;

class Calibration_Chart_E2E : public Emulator_Window_Fixture {
protected:
    // Live-data polls since the last frame of Command.
    size_t Polls_After(uint8_t Command) const
    {
        const emu::Bytes C = Emu.Commands();
        const auto Last = std::find(C.rbegin(), C.rend(), Command);
        return Last == C.rend() ? 0 : static_cast<size_t>(std::count(C.rbegin(), Last, uint8_t{0x26}));
    }
};

TEST_F(Calibration_Chart_E2E, ADraggedGasPointGoesOutOnReleaseAndIsReadBack)
{
    ASSERT_NO_FATAL_FAILURE(Start_Emulator());
    // The live operating point stays clear of the points looked at.
    emu::Live_Settings Live = Emu.Live();
    Live.Moving = false;
    Live.In[0] = 1000;
    Emu.Set_Live(Live);
    With_Table();
    Start_Program();
    TForm_KardunGAS* F = Main();
    ASSERT_TRUE(Pump_Until([] { return Connected; }, 15000));
    // The connect script has read the curves when the main poll runs.
    ASSERT_TRUE(Pump_Until([&] { return Polls_After(0x29) >= 2; }, 30000));
    UI_Ready = true;
    Settings.Transmit_Now = true;
    F->PageControl_KardunGAS->ActivePageIndex(2);
    // Gas alone (RPM shows alone, gas then takes its place), at its default curve.
    F->CheckBox_CLB_Diagram_RPM->Checked(true);
    F->CheckBox_CLB_Diagram_Gas->Checked(true);
    ASSERT_TRUE(Settings.CLB_Diagram_GAS && !Settings.CLB_Diagram_TPS_1);
    F->Button_CLB_Default->Click();
    const CLB_Curve Default = CLB_Gas;

    // Point 4 dragged 40 pixels up: about 4 ms more, in steps of 50 us.
    using Axis = Main_Form_Calibration;
    const int X = 30 + F->CLB_Px(Axis::X_Axis::Input, CLB_Gas.In[4]);
    const int Y = 20 + F->CLB_Py(Axis::Y_Axis::Gas, CLB_Gas.Out[4]);
    Emu.Clear_Log();
    F->Image_CLB->OnMouseDown(F->Image_CLB, TMouseButton::Left, 0, X, Y);
    F->Image_CLB->OnMouseMove(F->Image_CLB, 0, X, Y - 20);
    F->Image_CLB->OnMouseMove(F->Image_CLB, 0, X, Y - 40);
    const int32_t Dragged = CLB_Gas.Out[4];
    EXPECT_GT(Dragged, Default.Out[4] + 3500);
    EXPECT_EQ((Dragged - Default.Out[4]) % 50, 0);
    // Nothing leaves while the button is held.
    Pump_For(300);
    EXPECT_EQ(Count_Of(0x30), 0u);
    F->Image_CLB->OnMouseUp(F->Image_CLB, TMouseButton::Left, 0, X, Y - 40);
    ASSERT_TRUE(Wait_Command(0x30, 1));
    ASSERT_TRUE(Pump_Until([&] { return Polls_After(0x30) >= 2; }, 15000));
    std::vector<int> Announced;
    for (const emu::Log_Entry& E : Emu.Log())
        if (E.complete && E.request.size() > 3 && E.request[1] == 0x25)
            Announced.push_back(E.request[3]);
    EXPECT_NE(std::find(Announced.begin(), Announced.end(), 116), Announced.end());

    // The curve on the chart is put back to its default; the controller's is read again.
    F->Button_CLB_Default->Click();
    ASSERT_EQ(CLB_Gas.Out[4], Default.Out[4]);
    Emu.Clear_Log();
    F->Button_CLB_Receiv->Click();
    ASSERT_TRUE(Wait_Command(0x28, 1));
    ASSERT_TRUE(Pump_Until([&] { return Polls_After(0x29) >= 2; }, 15000));
    EXPECT_EQ(CLB_Gas.Out[4], Dragged);
    EXPECT_EQ(CLB_Gas.In, Default.In);
    // The chart shows the point read back: its dot at its new height in the gas colour.
    const TColor Red = RGB_Color(255, 0, 0);
    EXPECT_EQ(F->Image_CLB->Picture().Bitmap().Canvas()->Pixels(X, 20 + F->CLB_Py(Axis::Y_Axis::Gas, Dragged)), Red);
    EXPECT_NE(F->Image_CLB->Picture().Bitmap().Canvas()->Pixels(X, Y), Red);

    // The page as the technician sees it, with point 4 picked by its key, kept when a
    // folder for pictures is named.
    if (const char* Keep = std::getenv("KARDUN_SHOT_DIR")) {
        F->CLB_Digit_Key('4');
        F->Show();
        Pump_For(50);
        EXPECT_TRUE(ui::Render_To_PNG(F, std::string(Keep) + "/calibration_chart_page.png"));
    }
}

}  // namespace
