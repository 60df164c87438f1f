// Keys on the real link: Z forces injector 1, Z again releases it, M asks for the next work
// mode; F10 closes the window, whose settings are written once, when it goes.
#include <gtest/gtest.h>

#include <QTest>
#include <array>
#include <string>

#include "e2e/Emulator_Window_Fixture.h"

namespace {

using namespace main_test;
using Control_Bytes = std::array<uint8_t, 2>;
using Keyboard_E2E = Emulator_Window_Fixture;

TEST_F(Keyboard_E2E, KeysZZMSendTheirFramesAndF10SavesOnceOnClosing)
{
    ASSERT_NO_FATAL_FAILURE(Start_Emulator());
    Start_Program();
    ASSERT_TRUE(Pump_Until([] { return Connected && Work_Mode == 1; }, 15000));
    const std::pair<Qt::Key, Control_Bytes> Steps[] = {
        {Qt::Key_Z, {0x04, 0x14}}, {Qt::Key_Z, {0x00, 0x01}}, {Qt::Key_M, {0x00, 0x02}}};
    for (const auto& [Key, Bytes] : Steps) {
        const size_t Before = Count_Of(0x23);
        QTest::keyClick(Main()->Widget(), Key);
        EXPECT_TRUE(Wait_Command(0x23, Before + 1));
        EXPECT_EQ(Emu.Last_Control(), Bytes);
    }
    EXPECT_TRUE(Pump_Until([] { return Work_Mode == 2; }, 10000));

    // F10 writes nothing itself: the test's line stays alone until the window goes.
    const std::string Marker = "KEPT                         until the window goes {}\r\n";
    Folder->Write("KardunGD.ini", Marker);
    QTest::keyClick(Main()->Widget(), Qt::Key_F10);
    EXPECT_FALSE(Main()->Visible());
    Pump_For(300);
    EXPECT_EQ(Folder->Read("KardunGD.ini"), Marker);
    W.reset();
    EXPECT_NE(Folder->Read("KardunGD.ini").find("PORT_NAME"), std::string::npos);
}

}  // namespace
