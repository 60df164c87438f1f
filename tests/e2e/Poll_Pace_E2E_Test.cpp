// The live poll's pace on the screen, end to end against the controller emulator.
#include <gtest/gtest.h>

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QWidget>

#include "e2e/Emulator_Window_Fixture.h"

namespace {

using namespace main_test;
using Poll_Pace_E2E = Emulator_Window_Fixture;

// The lamp's middle as the window system was given it.
QColor Shown_Lamp_Colour(TControl* Lamp)
{
    QWidget* W = Lamp->Widget();
    const QPoint At = W->mapTo(W->window(), QPoint(W->width() / 2, W->height() / 2));
    return QGuiApplication::primaryScreen()->grabWindow(W->window()->winId(), At.x(), At.y(), 1, 1).toImage().pixelColor(0, 0);
}

// Blue while a frame is out, green once its reply came, each on the screen at once, also
// around a lost reply (at 9600 baud the live reply takes 68 ms on the line). On the
// Calibration page the chart drawn for a reply finds the next frame armed and its delay
// running; the frames on the wire stay the live poll's.
TEST_F(Poll_Pace_E2E, TheLampShowsEveryFrameAndTheChartIsDrawnAfterTheNextFrameIsArmed)
{
    ASSERT_NO_FATAL_FAILURE(Start_Emulator());
    With_Table();
    Emu.Set_Line_Baud(9600);
    Start_Program();
    ASSERT_TRUE(Pump_Until([] { return Connected; }, 15000));
    TForm_KardunGAS* F = Main();
    F->Show();
    ASSERT_TRUE(Wait_Command(0x26, Count_Of(0x26) + 3, 10000));
    TPanel* Lamp = F->Panel_ProtokolStatus;
    ASSERT_TRUE(Lamp->Visible());
    Emu.Inject_Fault(emu::Fault::No_Reply, 1, 0x26);
    ASSERT_TRUE(Wait_Command(0x26, Count_Of(0x26) + 2, 10000));   // the lost request and its resend
    int Blue = 0, Green = 0;
    Pump_Until(
        [&] {
            const QColor C = Shown_Lamp_Colour(Lamp);
            Blue += C == QColor(0, 0, 255);
            Green += C == QColor(0, 255, 0);
            return false;
        },
        1500);
    EXPECT_GT(Blue, 0);
    EXPECT_GT(Green, 0);

    F->PageControl_KardunGAS->ActivePage(F->TabSheet_Calibration);
    F->PageControl_KardunGASChange(nullptr);
    int From_Receives = 0;
    TPicture& Chart = F->Image_CLB->Picture();
    const auto Repaint = Chart.On_Changed;
    Chart.On_Changed = [&](const TRect& Area) {
        if (F->Receive_Busy) {
            ++From_Receives;
            EXPECT_TRUE(Frame_Pending);
            EXPECT_TRUE(F->Timer_Sending->Enabled() && F->Timer_Sending->Interval() == Settings.Reply_Delay);
        }
        Repaint(Area);
    };
    const size_t First = Emu.Commands().size();
    ASSERT_TRUE(Wait_Command(0x26, Count_Of(0x26) + 5, 10000));
    Chart.On_Changed = Repaint;
    EXPECT_GE(From_Receives, 3);
    const emu::Bytes Commands = Emu.Commands();
    for (size_t I = First; I < Commands.size(); ++I)
        EXPECT_EQ(Commands[I], 0x26) << I;
}

}  // namespace
