// Keys on the real link: Z forces injector 1, Z again releases it, M asks for the next work
// mode; F10 closes the window, whose settings are written once, when it goes. A key held
// with Ctrl, Alt or the system key is a shortcut: nothing leaves for it, whatever control
// has the focus, while Shift alone leaves a key as it is.
#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "e2e/Emulator_Window_Fixture.h"
#include "platform/ui/Runtime.h"
#include "protocol/Script.h"

namespace {

using namespace main_test;
using Control_Bytes = std::array<uint8_t, 2>;
using Keyboard_E2E = Emulator_Window_Fixture;

constexpr uint8_t Live = 0x26, Control = 0x23;
// Polls in a row that show the link idle.
constexpr size_t Polls_To_Serve = 3;

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

TEST_F(Keyboard_E2E, ShortcutsSendNothingWhateverHasTheFocusAndShiftedKeysAct)
{
    ASSERT_NO_FATAL_FAILURE(Start_Emulator());
    Emu.Set_Config_Pair('S', 1, 6);   // six cylinders: every forcing button can act
    With_Table();                     // the temperature letters of a write need it
    Start_Program();
    ASSERT_TRUE(Pump_Until([] { return Connected && Work_Mode == 1; }, 15000));
    // No request is left and only polls go out: the connect script, or what a key asked
    // for, is over.
    const auto Quiet = [&] {
        const emu::Bytes C = Emu.Commands();
        return Request_Code == 0 && !Script_Write_In_Progress() && C.size() >= Polls_To_Serve &&
               std::all_of(C.end() - Polls_To_Serve, C.end(), [](uint8_t B) { return B == Live; });
    };
    ASSERT_TRUE(Pump_Until(Quiet, 30000));
    // Ctrl+S would ask for a file: a dialog is a failure here, not a hang.
    ui::Hooks.On_Unexpected_Dialog = [](const std::string& What) { ADD_FAILURE() << What; };
    TForm_KardunGAS* F = Main();
    QTest::keyClick(F->Widget(), Qt::Key_F2);
    ASSERT_EQ(F->PageControl_KardunGAS->ActivePageIndex(), 1);
    ASSERT_FALSE(F->Injection_Bars.empty());

    // The focused control: a read-only value edit, a phase bar, or none (the page).
    TControl* const Idle_RPM = F->RPM_IdleRun.Edit;
    TControl* const Vaporizer = F->PG_Temper.Edit;
    TControl* const Bar = F->Injection_Bars[0];
    TControl* const Page = F;
    const auto Ctrl = Qt::ControlModifier, Alt = Qt::AltModifier, System = Qt::MetaModifier,
               Shift = Qt::ShiftModifier, None = Qt::NoModifier;
    struct Row {
        Qt::KeyboardModifiers Mods;
        Qt::Key Key;
        TControl* To;
        std::vector<Control_Bytes> Sent;   // the control frames on the wire, nothing else
    };
    const std::vector<Row> Rows = {
        {Ctrl, Qt::Key_A, Idle_RPM, {}},          {Ctrl, Qt::Key_C, Vaporizer, {}},
        {Ctrl, Qt::Key_S, Idle_RPM, {}},          {Ctrl, Qt::Key_R, Bar, {}},
        {Ctrl, Qt::Key_T, Page, {}},              {Alt, Qt::Key_T, Bar, {}},
        {Ctrl | Shift, Qt::Key_Z, Idle_RPM, {}},  {Ctrl | Qt::KeypadModifier, Qt::Key_Asterisk, Page, {}},
        {Alt, Qt::Key_A, Bar, {}},                {Alt, Qt::Key_M, Page, {}},
        {Alt, Qt::Key_R, Idle_RPM, {}},           {System, Qt::Key_A, Idle_RPM, {}},
        {System, Qt::Key_N, Bar, {}},             {System, Qt::Key_R, Page, {}},
        // Shift alone and plain keys act as ever.
        {Shift, Qt::Key_A, Idle_RPM, {{0x34, 0xF4}}}, {None, Qt::Key_A, Bar, {{0x00, 0x01}}},
        {Shift, Qt::Key_C, Vaporizer, {{0x04, 0x44}}}, {None, Qt::Key_C, Page, {{0x00, 0x01}}},
        {Shift, Qt::Key_M, Bar, {{0x00, 0x02}}},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(QKeySequence(QKeyCombination(R.Mods, R.Key)).toString().toStdString() + " to " +
                     R.To->Name());
        Emu.Clear_Log();
        R.To->SetFocus();
        QTest::keyClick(R.To->Widget(), R.Key, R.Mods);
        ASSERT_TRUE(Pump_Until(Quiet, 20000));
        std::vector<Control_Bytes> Sent;
        std::vector<uint8_t> Others;
        for (const emu::Log_Entry& E : Emu.Log())
            if (E.complete && E.request.size() > 3 && E.request[1] == Control)
                Sent.push_back({E.request[2], E.request[3]});
            else if (E.complete && E.request.size() > 1 && E.request[1] != Live)
                Others.push_back(E.request[1]);
        EXPECT_EQ(Sent, R.Sent);
        EXPECT_EQ(Others, std::vector<uint8_t>{});
    }
}

}  // namespace
