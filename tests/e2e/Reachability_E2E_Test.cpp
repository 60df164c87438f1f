// Everything a technician can open, reached the way the technician reaches it: the program
// created in its window order against the controller emulator, the port found by the search at
// start, then the pages by their function keys and each service window from its entry, all
// through the window layer's key and mouse events. With KARDUN_SHOT_DIR set, every screen on
// the way is kept as a picture.
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "e2e/Emulator_Window_Fixture.h"
#include "platform/system/Serial_Ports.h"
#include "serial/CPort_Setup.h"
#include "windows/DTB_Window.h"
#include "windows/Drive_Window.h"
#include "windows/ICO_Window.h"
#include "windows/MiniCFG_Window.h"
#include "windows/Port_Window.h"
#include "windows/RPM_Window.h"

namespace {

using namespace main_test;

// RPM of a period word at the default RPM constant; 600 rpm is below what "Set" accepts.
constexpr uint32_t Rpm_Constant = 1500000;
constexpr int Idle_Rpm = 600;

void Shot(TControl* Control, const std::string& Name)
{
    if (const char* Keep = std::getenv("KARDUN_SHOT_DIR")) {
        Pump_For(80);
        EXPECT_TRUE(ui::Render_To_PNG(Control, std::string(Keep) + "/reach_" + Name + ".png"));
    }
}

void Click(TControl* Control)
{
    ASSERT_NE(Control, nullptr);
    ASSERT_TRUE(Control->Enabled()) << Control->Name();
    QTest::mouseClick(Control->Widget(), Qt::LeftButton);
}

class Reachability_E2E : public Emulator_Window_Fixture {
protected:
    void SetUp() override
    {
        Emulator_Window_Fixture::SetUp();
        ui::Hooks.On_Unexpected_Dialog = [](const std::string& What) { ADD_FAILURE() << What; };
        // No machine port is listed: the search finds the emulator named in the settings.
        std::filesystem::create_directories(Folder->File("class"));
        std::filesystem::create_directories(Folder->File("dev"));
        sys::Serial_Ports.Class_Dir = Folder->File("class");
        sys::Serial_Ports.Device_Dir = Folder->File("dev");
        ASSERT_NO_FATAL_FAILURE(Start_Emulator(Key_File_Pad_Key("Reply_Delay") + "1 {}\r\n" +
                                               Key_File_Pad_Key("Search_Port") + "True {}\r\n"));
        With_Table();
        emu::Live_Settings Live = Emu.Live();
        Live.Moving = false;
        Live.RPM_Period = static_cast<uint16_t>(Rpm_Constant / Idle_Rpm);
        Emu.Set_Live(Live);
    }
    void TearDown() override
    {
        if (App) {
            Application->Shutdown();
            App.reset();
        }
        Emulator_Window_Fixture::TearDown();
    }
    void Key(Qt::Key K) { QTest::keyClick(Form_KardunGAS->Widget(), K); }
    std::unique_ptr<TApplication> App;
};

TEST_F(Reachability_E2E, EveryPageByItsKeyAndEveryWindowFromItsEntry)
{
    App = std::make_unique<TApplication>();
    Create_Windows();
    TForm_KardunGAS* M = Form_KardunGAS;
    ASSERT_TRUE(M && Form_Port && Form_PSW && Form_RPM && Form_MV_Drive && Form_DTB && Form_Loader && Form_MSG);
    M->Show();

    // Port search: the settings ask for it at start; it finds the emulator and goes.
    Start_Up();
    Shot(Form_Port, "port_search");
    // Connected, and the connect script's reads over: the pages are usable.
    ASSERT_TRUE(Pump_Until([M] { return Connected && Live_Values.Live_RPM > 0 && M->Button_CFG_Transmitt->Enabled(); },
                           20000));
    UI_Ready = true;

    // Every page by its key (F5 is the automatic calibration, no page).
    for (Qt::Key K : {Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F6, Qt::Key_F7, Qt::Key_F8, Qt::Key_F1}) {
        Key(K);
        Shot(M, "page_" + std::to_string(M->PageControl_KardunGAS->ActivePageIndex()));
    }

    // A big-digit window from a clicked display of the General page.
    QTest::mouseClick(M->Label_GEN_RPM_Dig->Widget(), Qt::LeftButton);
    TForm_ICO* Digits = ICO_State.ICO_Windows[0];
    ASSERT_NE(Digits, nullptr);
    EXPECT_TRUE(Digits->Visible());
    Shot(Digits, "big_digits");
    Digits->Close();

    // Configuration: each group by the Down key from the first.
    Key(Qt::Key_F2);
    for (int I = 0; I < Main_Form_Configuration::Options_Count; ++I) {
        Shot(M, "group_" + std::to_string(M->Options_Current));
        Key(Qt::Key_Down);
    }

    // Group 1: the RPM sweep, opened and closed by its toggle.
    QTest::mouseClick(M->Options_Label[1]->Widget(), Qt::LeftButton);
    ASSERT_EQ(M->Options_Current, 1);
    Click(M->Button_CFG_RPM_set);
    EXPECT_TRUE(Form_RPM->Visible());
    Shot(Form_RPM, "rpm_sweep");
    Click(M->Button_CFG_RPM_set);
    EXPECT_FALSE(Form_RPM->Visible());

    // Group 13: the clients database from its View button.
    QTest::mouseClick(M->Options_Label[13]->Widget(), Qt::LeftButton);
    ASSERT_EQ(M->Options_Current, 13);
    Click(M->Button_CFG_User_View);
    EXPECT_TRUE(Form_DTB->Visible());
    // Its columns show their captions whole within the list.
    int Columns_Width = 0;
    for (int C = 0; C < DTB_Comments_Column; ++C) {
        const TListColumn& Column = Form_DTB->ListView_DTB->Column(C);
        EXPECT_GE(Column.Width, Form_DTB->ListView_DTB->Header_Width(Column.Caption)) << Column.Caption;
        Columns_Width += Column.Width;
    }
    EXPECT_LE(Columns_Width, Form_DTB->ListView_DTB->Rows_Width());
    Shot(Form_DTB, "clients_database");
    Form_DTB->Close();

    // The password window from the page's column of buttons.
    Click(M->Button_CFG_User_Password);
    EXPECT_TRUE(Form_PSW->Visible());
    Shot(Form_PSW, "password");
    Form_PSW->Close();

    // The compact window: a right click on the port panel lends the port settings to it;
    // closed, they are back on the Settings page.
    TControl* Ports_Parent = M->GroupBox_Setup_Ports->Parent();
    QTest::mouseClick(M->Panel_PortStatus->Widget(), Qt::RightButton);
    ASSERT_TRUE(Pump_Until([] { return Form_MiniCFG->Visible(); }, 5000));
    EXPECT_EQ(MiniCFG_View_Type, 26);
    EXPECT_NE(M->GroupBox_Setup_Ports->Parent(), Ports_Parent);
    Shot(Form_MiniCFG, "compact_window");
    Form_MiniCFG->Close();
    EXPECT_EQ(M->GroupBox_Setup_Ports->Parent(), Ports_Parent);

    // Oscilloscope: the test drive; "Set" at idle speed is refused in the message window.
    Key(Qt::Key_F4);
    Click(M->Button_OSC_Test_Drive);
    EXPECT_TRUE(Form_MV_Drive->Visible());
    Click(Form_MV_Drive->RadioButton_Drive_Speed);
    Click(Form_MV_Drive->Button_Drive_Set);
    EXPECT_TRUE(Pump_Until([] { return Form_MSG->Visible(); }, 5000));
    EXPECT_EQ(Form_MSG->Shown.Text, "Drive_Set_RPM_Range");
    Shot(Form_MV_Drive, "test_drive");
    Shot(Form_MSG, "message");
    Form_MSG->Close();
    Form_MV_Drive->Close();

    // Settings: the port setup dialog, cancelled.
    Key(Qt::Key_F7);
    bool Setup_Seen = false;
    ui::TDialog_Answer Answer;
    Answer.Result = mrCancel;
    Answer.On_Form = [&](TForm* F) {
        Setup_Seen = dynamic_cast<TComSetupFrm*>(F) != nullptr;
        Shot(F, "port_setup");
    };
    ui::Answer_Next_Dialog(Answer);
    Click(M->Button_Setup_Port);
    EXPECT_TRUE(Setup_Seen);

    // About: the loader, entered from the running controller.
    Key(Qt::Key_F8);
    Click(M->Button_HEX_Loader);
    ASSERT_TRUE(Pump_Until([] { return Form_Loader->Visible(); }, 15000));
    Shot(Form_Loader, "loader");
}

}  // namespace
