// Keys on the real link: Z forces injector 1, Z again releases it, M asks for the next work
// mode; F10 closes the window and the settings are written once, when it goes.
#include <gtest/gtest.h>

#include <QTest>
#include <array>
#include <cstdint>
#include <string>

#include "e2e/Emulator_Window_Fixture.h"

namespace {

using namespace main_test;

constexpr uint8_t Control = 0x23;

class Keyboard_E2E : public Emulator_Window_Fixture {
protected:
    // Presses a key and waits for the next control frame; its two data bytes.
    std::array<uint8_t, 2> Control_After(Qt::Key K)
    {
        const size_t Before = Count_Of(Control);
        QTest::keyClick(Main()->Widget(), K);
        EXPECT_TRUE(Wait_Command(Control, Before + 1));
        return Emu.Last_Control();
    }
};

TEST_F(Keyboard_E2E, ZForcesZReleasesMSwitchesAndF10SavesOnceOnClosing)
{
    ASSERT_NO_FATAL_FAILURE(Start_Emulator());
    Start_Program();
    ASSERT_TRUE(Pump_Until([] { return Connected && Work_Mode == 1; }, 15000));

    EXPECT_EQ(Control_After(Qt::Key_Z), (std::array<uint8_t, 2>{0x04, 0x14}));
    EXPECT_EQ(Emu.Forcing_Bits(), 0x01);
    EXPECT_TRUE(Main()->Button_Gas_Fors1->Down());
    EXPECT_EQ(Control_After(Qt::Key_Z), (std::array<uint8_t, 2>{0x00, 0x01}));
    EXPECT_FALSE(Main()->Button_Gas_Fors_All->Down());
    EXPECT_EQ(Control_After(Qt::Key_M), (std::array<uint8_t, 2>{0x00, 0x02}));
    EXPECT_TRUE(Pump_Until([] { return Work_Mode == 2; }, 10000));

    // F10 writes nothing itself: the file keeps what the test put there until the window goes.
    const std::string Marker = "written by the test\r\n";
    Folder->Write("KardunGD.ini", Marker);
    QTest::keyClick(Main()->Widget(), Qt::Key_F10);
    EXPECT_FALSE(Main()->Visible());
    Pump_For(300);
    EXPECT_EQ(Folder->Read("KardunGD.ini"), Marker);
    W.reset();
    const std::string Saved = Folder->Read("KardunGD.ini");
    EXPECT_NE(Saved.find("PORT_NAME"), std::string::npos) << Saved;
    EXPECT_NE(Saved.find(Link), std::string::npos);
}

}  // namespace
