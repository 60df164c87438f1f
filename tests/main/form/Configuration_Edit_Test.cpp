// The Configuration page at work: the options list walked by key and click, each value
// control stepped to both ends of its range (text, field, the code marked for sending,
// the colour), the page's edge cases, and the send-now entry's conditions.
#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "data/Calibration.h"
#include "data/Conversions.h"
#include "main/Main_Test_Support.h"
#include "protocol/CFG_File.h"
#include "protocol/Param_Codecs.h"
#include "protocol/Write_Lists.h"
#include "windows/RPM_Window.h"

namespace {

using namespace main_test;

class Configuration_Edit : public Main_Window_Fixture {
protected:
    void SetUp() override
    {
        Main_Window_Fixture::SetUp();
        Create();
    }
    TForm_KardunGAS* F() { return Main(); }
    template <class T>
    T* Named(const std::string& Name)
    {
        T* C = dynamic_cast<T*>(F()->Find_Component_Deep(Name));
        EXPECT_NE(C, nullptr) << Name;
        return C;
    }
    // A controller on the link and sending at once; timers are not left to run.
    void Send_Now_On()
    {
        Connected = true;
        Settings.Transmit_Now = true;
    }
    void Forget_Sends()
    {
        CFG_Marks_Clear();
        Transmit_Now_Code = 0;
        F()->Timer_Transmit_Now->Enabled(false);
        Enable_CFG_Param_All(true);
    }
    bool Marked(uint8_t Code) const
    {
        const auto& M = CFG_Marked_Letters();
        return std::find(M.begin(), M.end(), Code) != M.end();
    }
    void Key(TControl* To, Qt::Key K) { QTest::keyClick(To->Widget(), K); }
};

// ---------------------------------------------------------------- options list

TEST_F(Configuration_Edit, TheGroupsAreWalkedByDownAndUpWithoutWrapAndByClick)
{
    F()->PageControl_KardunGAS->ActivePageIndex(1);
    F()->PageControl_KardunGASChange(F()->PageControl_KardunGAS);
    EXPECT_EQ(F()->Options_Current, 1);
    TControl* Sheet = F()->TabSheet_Configuration;
    const std::vector<int> Down_Walk = {2, 3, 4, 5, 6, 7, 8, 16, 9, 10, 11, 12, 13, 14, 15, 15};
    for (int Expected : Down_Walk) {
        Key(Sheet, Qt::Key_Down);
        EXPECT_EQ(F()->Options_Current, Expected);
        // Only the selected row shows its _on image; only its box shows.
        for (int N = 1; N <= Main_Form_Configuration::Options_Count; ++N) {
            const size_t I = static_cast<size_t>(N);
            EXPECT_EQ(F()->Options_Image_On[I]->Visible(), N == Expected) << N;
            EXPECT_EQ(F()->Options_Image_Off[I]->Visible(), N != Expected) << N;
            if (F()->Options_Box[I]) {
                EXPECT_EQ(F()->Options_Box[I]->Visible(), N == Expected) << N;
            }
        }
    }
    for (int Expected : {14, 13, 12, 11, 10, 9, 16, 8, 7, 6, 5, 4, 3, 2, 1, 1}) {
        Key(Sheet, Qt::Key_Up);
        EXPECT_EQ(F()->Options_Current, Expected);
    }
    // By click on a row's label or either image: group 10 has no box but the influence
    // buttons; group 11 keeps the buttons and shows its box.
    Named<TImage>("Image_CFG_10_off")->Click();
    EXPECT_EQ(F()->Options_Current, 10);
    EXPECT_EQ(F()->Options_Position, 11);
    EXPECT_TRUE(F()->Button_CFG_Infl_Clear->Visible());
    EXPECT_FALSE(F()->GroupBox_CFG_Infl_Factor->Visible());
    Named<TLabel>("Label_CFG_11")->Click();
    EXPECT_TRUE(F()->Button_CFG_Infl_Default->Visible());
    EXPECT_TRUE(F()->GroupBox_CFG_Infl_Factor->Visible());
    Named<TLabel>("Label_CFG_13")->Click();
    EXPECT_FALSE(F()->Button_CFG_Infl_Clear->Visible());
    EXPECT_TRUE(F()->Button_CFG_User_Find->Visible());
    EXPECT_FALSE(F()->Edit_CFG_User_Find->Visible());
    // Another page and back: the same group again.
    Key(Sheet, Qt::Key_F1);
    EXPECT_EQ(F()->PageControl_KardunGAS->ActivePageIndex(), 0);
    Key(F()->Edit_Car_Model, Qt::Key_F2);
    EXPECT_EQ(F()->PageControl_KardunGAS->ActivePageIndex(), 1);
    EXPECT_EQ(F()->Options_Current, 13);
    EXPECT_TRUE(F()->GroupBox_CFG_Car->Visible());
}

TEST_F(Configuration_Edit, ArrowsInAControlThatStepsStayThereAndFKeysChooseThePage)
{
    F()->PageControl_KardunGAS->ActivePageIndex(1);
    F()->Options_Select(3);
    Configuration.GP_Time = 10;
    F()->GP_Time.UpDown->Position(10);
    Key(F()->GP_Time.Edit, Qt::Key_Up);
    EXPECT_EQ(F()->Options_Current, 3);
    EXPECT_EQ(Configuration.GP_Time, 11);
    EXPECT_EQ(F()->GP_Time.Edit->Text(), "1.1");
    // Keys into a car edit stay there; from a value's edit F-keys still act.
    Key(F()->Edit_Car_Model, Qt::Key_Down);
    EXPECT_EQ(F()->Options_Current, 3);
    Key(F()->Edit_Car_Model, Qt::Key_F3);
    EXPECT_EQ(F()->PageControl_KardunGAS->ActivePageIndex(), 1);
    struct Page_Row {
        Qt::Key Key;
        int Page;
    };
    F()->GP_Time.Edit->SetFocus();
    for (const Page_Row& R : {Page_Row{Qt::Key_F3, 2}, Page_Row{Qt::Key_F4, 3}, Page_Row{Qt::Key_F5, 4},
                              Page_Row{Qt::Key_F6, 4}, Page_Row{Qt::Key_F7, 5}, Page_Row{Qt::Key_F8, 6}}) {
        Key(F()->GP_Time.Edit, R.Key);
        EXPECT_EQ(F()->PageControl_KardunGAS->ActivePageIndex(), R.Page);
    }
    // A page control held disabled is not bypassed by the keys.
    F()->PageControl_KardunGAS->Enabled(false);
    Key(F()->GP_Time.Edit, Qt::Key_F1);
    EXPECT_EQ(F()->PageControl_KardunGAS->ActivePageIndex(), 6);
    F()->PageControl_KardunGAS->Enabled(true);
    // While a table edit mode is on the map does nothing.
    F()->RPM_Tab_Edit_Mode = true;
    Key(F()->GP_Time.Edit, Qt::Key_F2);
    EXPECT_EQ(F()->PageControl_KardunGAS->ActivePageIndex(), 6);
}

TEST_F(Configuration_Edit, AMaximisedWindowScalesTheRowsAndTheHelpLineFollowsTheMouse)
{
    F()->Show();
    F()->WindowState(TWindow_State::Maximized);
    F()->Panel_CFG_Options_List->SetBounds(0, 0, 350, 675);
    F()->Options_Order_Init();
    EXPECT_EQ(F()->Options_Scale_Y, 1500);
    EXPECT_EQ(F()->Options_Scale_X, 1502);
    TLabel* First = Named<TLabel>("Label_CFG_1");
    EXPECT_EQ(First->Top(), 25);
    EXPECT_EQ(First->Left(), 108);
    EXPECT_EQ(First->Width(), 229);

    // The help line: a label's hint with the label highlighted, a button's own hint.
    F()->GP_PressDiff_High.Caption->Hint("high pressure");
    F()->GP_PressDiff_High.UpDown->OnMouseMove(nullptr, TShiftState{}, 1, 1);
    EXPECT_EQ(F()->Label_CFG_Help->Caption(), "high pressure");
    EXPECT_EQ(F()->GP_PressDiff_High.Caption->Color(), RGB_Color(255, 198, 0));
    F()->Button_CFG_ST_Clr->Hint("clear the time");
    F()->Button_CFG_ST_Clr->OnMouseMove(nullptr, TShiftState{}, 1, 1);
    EXPECT_EQ(F()->Label_CFG_Help->Caption(), "clear the time");
    EXPECT_EQ(F()->GP_PressDiff_High.Caption->Color(), clBtnFace);
}

// ---------------------------------------------------------------- value controls

// One value control stepped to its top and to its bottom.
struct Value_Row {
    const char* UpDown;
    int32_t Configuration_Class::*Field;
    const char* Top_Text;      // empty: not checked
    const char* Bottom_Text;
    uint8_t Code;              // 0: nothing marked for sending
    bool Red_At_Top, Red_At_Bottom;
    int32_t Top, Bottom;
};

TEST_F(Configuration_Edit, EveryValueControlAtBothEndsOfItsRange)
{
    using C = Configuration_Class;
    const Value_Row Rows[] = {
        {"UpDown_CFG_PG_Temper", &C::PG_TempVap, "110", "5", 'I', true, true, 110, 5},
        {"UpDown_CFG_PG_Pressure", &C::PG_PressDiff, "1.6", "0.2", 'J', true, true, 16, 2},
        {"UpDown_CFG_PG_RPM", &C::PG_RPM, "8000", "600", 'K', true, false, 8000, 600},
        {"UpDown_CFG_PG_Delay", &C::PG_Delay, "60", "3", 'O', true, true, 60, 3},
        {"UpDown_CFG_PG_YW_Delay", &C::PG_YW_Delay, "25.0", "0.1", 'N', false, false, 250, 1},
        {"UpDown_CFG_GP_PressDiff_Low", &C::GP_PressDiff_Low, "1.5", "0.1", 'J', true, true, 15, 1},
        {"UpDown_CFG_GP_PressDiff_High", &C::GP_PressDiff_High, "4", "1.5", 'Q', true, true, 40, 15},
        {"UpDown_CFG_GP_Time", &C::GP_Time, "5", "0.5", 'O', true, true, 50, 5},
        {"UpDown_CFG_GP_TempVap", &C::GP_TempVap, "110", "0", 'R', true, true, 110, 0},
        {"UpDown_CFG_Inject_Range", &C::GI_Range, "32", "20", 'T', false, true, 32, 20},
        {"UpDown_CFG_Inject_Start", &C::GI_Start_S, "32767", "0", 'V', false, false, 32767, 0},
        {"UpDown_CFG_Inject_Auto", &C::GI_AutoTempGas, "40", "0", 'Y', true, true, 40, 0},
        {"UpDown_CFG_Pressure_1_Bar", &C::Pressure_1_Bar, "3", "0.5", 'B', true, true, 3000, 500},
        {"UpDown_CFG_RPM_Sensitiv", &C::RPM_Sensitiv, "20", "0.05", 'E', false, false, 2000, 5},
    };
    Send_Now_On();
    for (const Value_Row& R : Rows) {
        SCOPED_TRACE(R.UpDown);
        TUpDown* U = Named<TUpDown>(R.UpDown);
        ASSERT_NE(U, nullptr);
        TEdit* E = Named<TEdit>(std::string("Edit_") + (R.UpDown + 7));
        EXPECT_TRUE(E->ReadOnly());
        struct End {
            bool Up;
            int32_t Value;
            const char* Text;
            bool Red;
        };
        for (const End& Side : {End{true, R.Top, R.Top_Text, R.Red_At_Top},
                                End{false, R.Bottom, R.Bottom_Text, R.Red_At_Bottom}}) {
            Forget_Sends();
            U->Position(Side.Up ? U->Max() - 1 : U->Min() + 1);
            ASSERT_TRUE(U->Step(Side.Up ? TUD_Button::Up : TUD_Button::Down));
            EXPECT_EQ(Configuration.*R.Field, Side.Value);
            EXPECT_EQ(E->Text(), Side.Text);
            EXPECT_EQ(Marked(R.Code), R.Code != 0);
            EXPECT_TRUE(F()->Timer_Transmit_Now->Enabled());
            if (R.Code != 'E') {
                EXPECT_EQ(E->Color() == CFG_Changed_Colour, Side.Red) << (Side.Up ? "top" : "bottom");
            }
        }
    }
}

// Edge cases of the page: what is done, then what must hold.
struct Edge_Row {
    const char* Name;
    std::function<void(TForm_KardunGAS&)> Do;
    std::function<void(TForm_KardunGAS&)> Check;
};

TEST_F(Configuration_Edit, EdgeCasesOfThePage)
{
    auto Step = [](TUpDown* U, int From, bool Up) {
        U->Position(From);
        U->Step(Up ? TUD_Button::Up : TUD_Button::Down);
    };
    const Edge_Row Rows[] = {
        {"low pressure up to the switch-to-gas pressure pushes it up",
         [&](TForm_KardunGAS& F) {
             Step(F.PG_Pressure.UpDown, 9, true);
             Step(F.GP_PressDiff_Low.UpDown, 9, true);
         },
         [](TForm_KardunGAS& F) {
             EXPECT_EQ(Configuration.PG_PressDiff, 11);
             EXPECT_EQ(F.PG_Pressure.Edit->Text(), "1.1");
             EXPECT_EQ(Configuration.GP_PressDiff_Low, 10);
         }},
        {"switch-to-gas pressure down to the low pressure pushes it down",
         [&](TForm_KardunGAS& F) {
             Step(F.GP_PressDiff_Low.UpDown, 8, true);
             Step(F.PG_Pressure.UpDown, 10, false);
         },
         [](TForm_KardunGAS& F) {
             EXPECT_EQ(Configuration.PG_PressDiff, 9);
             EXPECT_EQ(Configuration.GP_PressDiff_Low, 8);
             EXPECT_EQ(F.GP_PressDiff_Low.Edit->Text(), "0.8");
         }},
        {"vaporizer: gas-to-petrol up to the other pushes it up by its step",
         [&](TForm_KardunGAS& F) {
             F.PG_Temper.UpDown->Position(30);
             Step(F.GP_TempVap.UpDown, 25, true);
         },
         [](TForm_KardunGAS&) {
             EXPECT_EQ(Configuration.GP_TempVap, 30);
             EXPECT_EQ(Configuration.PG_TempVap, 35);
         }},
        {"vaporizer: the push is clamped at the range end",
         [&](TForm_KardunGAS& F) {
             F.GP_TempVap.UpDown->Position(5);
             Step(F.PG_Temper.UpDown, 10, false);
         },
         [](TForm_KardunGAS&) {
             EXPECT_EQ(Configuration.PG_TempVap, 5);
             EXPECT_EQ(Configuration.GP_TempVap, 0);
         }},
        {"sensitivity: up from 9 reaches 10, then steps of 10",
         [&](TForm_KardunGAS& F) {
             F.RPM_Sensitiv.UpDown->Increment(1);
             Step(F.RPM_Sensitiv.UpDown, 9, true);
             F.RPM_Sensitiv.UpDown->Step(TUD_Button::Up);
         },
         [](TForm_KardunGAS& F) {
             EXPECT_EQ(Configuration.RPM_Sensitiv, 20);
             EXPECT_EQ(F.RPM_Sensitiv.Edit->Text(), "0.2");
         }},
        {"sensitivity: down from 20 to 10 falls back to steps of 1",
         [&](TForm_KardunGAS& F) {
             F.RPM_Sensitiv.UpDown->Increment(10);
             Step(F.RPM_Sensitiv.UpDown, 20, false);
             F.RPM_Sensitiv.UpDown->Step(TUD_Button::Down);
         },
         [](TForm_KardunGAS&) { EXPECT_EQ(Configuration.RPM_Sensitiv, 9); }},
        {"sensitivity: above 300 the steps are 50, the arrow key only re-applies",
         [&](TForm_KardunGAS& F) {
             F.RPM_Sensitiv.UpDown->Increment(10);
             Step(F.RPM_Sensitiv.UpDown, 290, true);
             std::uint16_t K = VK_UP;
             F.RPM_Sensitiv.Edit->OnKeyDown(nullptr, K, TShiftState{});
             F.RPM_Sensitiv.UpDown->Step(TUD_Button::Up);
         },
         [](TForm_KardunGAS& F) {
             EXPECT_EQ(F.RPM_Sensitiv.UpDown->Increment(), 50);
             EXPECT_EQ(Configuration.RPM_Sensitiv, 350);
         }},
        {"idle run 600 with a period word of 2500",
         [](TForm_KardunGAS& F) {
             Live_Values.Live_Word_24 = 2500;
             // The controller holds the file's car number: the write needs no car number.
             Configuration.Car_Number = Strip_Extension(Settings.CFG_File_Name);
             F.RPM_IdleRun.UpDown->Position(600);
             F.Button_CFG_RPM_IdleRun->Click();
         },
         [](TForm_KardunGAS& F) {
             EXPECT_EQ(Configuration.RPM_Source, 1500000u);
             EXPECT_EQ(Configuration.RPM_Div, Float_To_Int(10.5));
             EXPECT_EQ(Configuration.RPM_Idle_Run, 600);
             EXPECT_EQ(F.RPM_Source.Edit->Text(), "1500000");
             EXPECT_EQ(Request_Code, 2);
         }},
        {"idle run refused while the engine stands (period 0xFFFF)",
         [](TForm_KardunGAS& F) {
             Live_Values.Live_Word_24 = 0xFFFF;
             F.Button_CFG_RPM_IdleRun->Click();
         },
         [](TForm_KardunGAS&) {
             EXPECT_EQ(Configuration.RPM_Source, 123u);
             EXPECT_EQ(Request_Code, 0);
             EXPECT_EQ(Form_MSG->Stored.Text, "Error_Engine_off");
         }},
        {"idle run refused without a controller",
         [](TForm_KardunGAS& F) {
             Connected = false;
             Live_Values.Live_Word_24 = 2500;
             F.Button_CFG_RPM_IdleRun->Click();
         },
         [](TForm_KardunGAS&) {
             EXPECT_EQ(Configuration.RPM_Source, 123u);
             EXPECT_EQ(Request_Code, 0);
         }},
        {"service time set with 200 hours",
         [](TForm_KardunGAS& F) {
             Configuration.Service_Time = 200;
             F.Button_CFG_ST_Set->Click();
         },
         [](TForm_KardunGAS&) {
             EXPECT_EQ(Configuration.Service_Time_Cnt, 12000);
             EXPECT_EQ(Request_Code, 29);
         }},
        {"a letter in a read-only value edit changes nothing",
         [](TForm_KardunGAS& F) { QTest::keyClick(F.PG_RPM.Edit->Widget(), Qt::Key_X); },
         [](TForm_KardunGAS& F) {
             EXPECT_EQ(F.PG_RPM.Edit->Text(), "600");
             EXPECT_EQ(Configuration.PG_RPM, 600);
         }},
        {"a delay text that is no integer in range takes the up-down's position",
         [](TForm_KardunGAS& F) {
             F.PG_Delay.UpDown->Position(7);
             F.PG_Delay.Edit->Text("x1");
             F.PG_Delay.Edit->Text("0");
         },
         [](TForm_KardunGAS& F) {
             EXPECT_EQ(Configuration.PG_Delay, 7);
             EXPECT_EQ(F.PG_Delay.Edit->Text(), "7");
         }},
    };
    for (const Edge_Row& R : Rows) {
        SCOPED_TRACE(R.Name);
        Set_Default_Configuration();
        Configuration.RPM_Source = 123;
        F()->Show_Configuration(*F());
        Send_Now_On();
        Request_Code = 0;
        Form_MSG->Stored = {};
        R.Do(*F());
        R.Check(*F());
    }
}

// ---------------------------------------------------------------- send-now entry

TEST_F(Configuration_Edit, AFileChosenWhileConnectedWaitsForItsRequest)
{
    Connected = true;
    Settings.CFG_File_Path = Folder->File("cfg");
    Settings.CFG_File_Name = "Old.cfg";
    ui::Answer_Next_File_Dialog(Folder->File("cfg/New.cfg"));
    F()->Button_CFG_SaveClick(nullptr);
    EXPECT_EQ(Request_Code, 10);
    EXPECT_FALSE(F()->Button_CFG_Transmitt->Enabled());
    EXPECT_EQ(Settings.CFG_File_Name, "Old.cfg");
    // The request dropped on the way, then a load chosen and served: only the load's file
    // becomes the current one.
    Drop_Requests();
    ui::Answer_Next_File_Dialog(Folder->File("cfg/Other.cfg"));
    F()->Button_CFG_LoadClick(nullptr);
    EXPECT_EQ(Request_Code, 9);
    EXPECT_EQ(Settings.CFG_File_Name, "Old.cfg");
    CFG_File_Commit(9, Request_State.Current_File);
    EXPECT_EQ(Settings.CFG_File_Name, "Other.cfg");
    EXPECT_EQ(Load_Path, Folder->File("cfg/Other.cfg"));
    EXPECT_EQ(F()->Edit_Car_Num->Text(), "Other");
}


TEST_F(Configuration_Edit, ABurstSendsEveryCodeItMarkedOnceAndOnlyWhenConnected)
{
    struct Row {
        const char* Name;
        bool Link;
        std::vector<uint8_t> Codes;
        uint8_t First;   // the request when the count runs out (0: nothing remembered)
        uint8_t Then;    // the request once the first was taken up (0: none)
    };
    const Row Rows[] = {
        {"one value stepped three times", true, {'K', 'K', 'K'}, 'K', 0},
        {"letters, then the table", true, {'K', 'J', 25}, 'J', 25},
        {"the table, then a letter", true, {25, 'K'}, 'K', 25},
        {"the table alone", true, {25, 25}, 25, 0},
        {"not connected", false, {'K', 25}, 0, 0},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Name);
        Forget_Sends();
        Send_Now_On();
        Connected = R.Link;
        Request_Code = 0;
        for (uint8_t Code : R.Codes)
            F()->CFG_Parameter_Changed(Code);
        // Until the send is done only the changed parameter's controls can be used.
        EXPECT_EQ(F()->PG_Temper.UpDown->Enabled(), !R.Link);
        EXPECT_EQ(F()->Timer_Transmit_Now->Enabled(), R.Link);
        F()->Timer_Transmit_Now->Fire_Tick();
        EXPECT_EQ(Request_Code, R.First);
        if (R.Then != 0) {
            // Not taken up yet: the table waits for the letters' write.
            F()->Timer_Transmit_Save->Fire_Tick();
            EXPECT_EQ(Request_Code, R.First);
            EXPECT_TRUE(F()->Timer_Transmit_Save->Enabled());
        }
        Request_Code = 0;   // the poll took the request up
        F()->Timer_Transmit_Save->Fire_Tick();
        EXPECT_EQ(Request_Code, R.Then);
        EXPECT_FALSE(F()->Timer_Transmit_Save->Enabled());
        EXPECT_TRUE(F()->PG_Temper.UpDown->Enabled());
    }
}

TEST_F(Configuration_Edit, NotConnectedSaveAndLoadActAtOnce)
{
    std::filesystem::create_directories(Folder->File("cfg"));
    Settings.CFG_File_Path = Folder->File("cfg");
    Settings.CFG_File_Name = "Old.cfg";
    Configuration.PG_RPM = 1800;
    ui::Answer_Next_File_Dialog(Folder->File("cfg/XY9.cfg"));
    F()->Button_CFG_Save->Click();
    EXPECT_EQ(Settings.CFG_File_Name, "XY9.cfg");
    EXPECT_EQ(Request_Code, 0);
    EXPECT_EQ(F()->Edit_Car_Num->Text(), "XY9");
    Configuration.PG_RPM = 900;
    ui::Answer_Next_File_Dialog(Folder->File("cfg/XY9.cfg"));
    F()->Button_CFG_Load->Click();
    EXPECT_EQ(Configuration.PG_RPM, 1800);
    EXPECT_EQ(Request_Code, 0);
}


TEST_F(Configuration_Edit, TheSensitivityFollowsIntoTheOpenSweepWindow)
{
    Form_RPM = Create_Form<TForm_RPM>(nullptr);
    F()->Button_CFG_RPM_set->Down(true);
    F()->RPM_Sensitiv.UpDown->Increment(10);
    F()->RPM_Sensitiv.UpDown->Position(290);
    F()->RPM_Sensitiv.UpDown->Step(TUD_Button::Up);
    EXPECT_EQ(Form_RPM->UpDown_RPM_Sensitiv->Increment(), 50);
    EXPECT_EQ(Form_RPM->UpDown_RPM_Sensitiv->Position(), 300);
    EXPECT_EQ(Form_RPM->Edit_RPM_Sensitiv->Text(), "3");
    // Closed, the window keeps what it had.
    F()->Button_CFG_RPM_set->Down(false);
    F()->RPM_Sensitiv.UpDown->Step(TUD_Button::Up);
    EXPECT_EQ(Configuration.RPM_Sensitiv, 350);
    EXPECT_EQ(Form_RPM->UpDown_RPM_Sensitiv->Position(), 300);
    Form_RPM->Free();
}

}  // namespace
