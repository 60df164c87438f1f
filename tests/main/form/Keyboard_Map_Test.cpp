// The keyboard map judged by what each key does: the page shown, the request left for the
// sequencer, the forcing buttons' state, the window state and the help file opened; each
// key on a page where it acts and where it does not, locked, and held by a focused edit.
// Then the General page's and the strip's clicks and the windows they ask for.
#include <gtest/gtest.h>

#include <QTest>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "main/Main_Test_Support.h"
#include "platform/system/Shell.h"

namespace {

using namespace main_test;

std::vector<std::string> Opened;
bool Record_Open(const std::string& Path)
{
    Opened.push_back(std::filesystem::path(Path).filename().string());
    return true;
}

class Keyboard_Map : public Main_Window_Fixture {
protected:
    void SetUp() override
    {
        Main_Window_Fixture::SetUp();
        std::filesystem::create_directories(Folder->File("Help"));
        Folder->Write("Help/F3_Eng.pdf", "%PDF");
        Create();
        Main()->Show();
        Opened.clear();
        sys::Set_Shell_Open_Hook(Record_Open);
    }
    // The forcing buttons down, as "1".."6" and "*" for the all-button.
    std::string Fors_Down()
    {
        std::string S;
        for (int k = 1; k <= 6; ++k)
            if (Main()->Gas_Fors_Button(k)->Down())
                S += std::to_string(k);
        return S + (Main()->Button_Gas_Fors_All->Down() ? "*" : "");
    }
    void Key(Qt::Key K, Qt::KeyboardModifiers Mods = Qt::NoModifier)
    {
        QWidget* To = Main()->Widget()->focusWidget();
        QTest::keyClick(To ? To : Main()->Widget(), K, Mods);
    }
};

void Lock(TForm_KardunGAS& F)
{
    Password_State.Access_Granted = false;
    F.PageControl_KardunGAS->Enabled(false);
}

TEST_F(Keyboard_Map, EachKeyActsWhereTheMapSays)
{
    struct Row {
        const char* Name;
        int Page;
        bool Link;
        int Injectors;
        std::function<void(TForm_KardunGAS&)> Arrange;
        Qt::Key K;
        Qt::KeyboardModifiers Mods;
        int Page_After, Request;
        std::string Fors, Help;
        std::function<bool(TForm_KardunGAS&)> Also;
    };
    const Qt::KeyboardModifiers No = Qt::NoModifier;
    const std::vector<Row> Rows = {
        {"F3 shows Calibration", 0, true, 1, nullptr, Qt::Key_F3, No, 2, 0, "", "", nullptr},
        {"F6 shows Errors", 0, true, 1, nullptr, Qt::Key_F6, No, 4, 0, "", "", nullptr},
        {"F3 locked", 0, true, 1, Lock, Qt::Key_F3, No, 0, 0, "", "", nullptr},
        {"Z forces 1", 0, true, 1, nullptr, Qt::Key_Z, No, 0, 6, "1*", "", nullptr},
        {"Z again releases", 0, true, 1,
         [](TForm_KardunGAS& F) { F.Button_Gas_Fors1->Down(true); F.Button_Gas_Fors_All->Down(true); },
         Qt::Key_Z, No, 0, 7, "", "", nullptr},
        {"Shift+Z is Z", 5, true, 1, nullptr, Qt::Key_Z, Qt::ShiftModifier, 5, 6, "1*", "", nullptr},
        {"Alt+Z is an accelerator", 0, true, 1, nullptr, Qt::Key_Z, Qt::AltModifier, 0, 0, "", "", nullptr},
        {"Z locked still forces", 0, true, 1, Lock, Qt::Key_Z, No, 0, 6, "1*", "", nullptr},
        {"B, four injectors: 5 disabled", 0, true, 4, nullptr, Qt::Key_B, No, 0, 0, "", "", nullptr},
        {"B, six injectors", 0, true, 6, nullptr, Qt::Key_B, No, 0, 6, "5*", "", nullptr},
        {"A forces all four", 0, true, 4, nullptr, Qt::Key_A, No, 0, 6, "1234*", "", nullptr},
        {"pad * is A", 0, true, 4, nullptr, Qt::Key_Asterisk, Qt::KeypadModifier, 0, 6, "1234*", "", nullptr},
        {"Shift+8 is not *", 0, true, 4, nullptr, Qt::Key_Asterisk, Qt::ShiftModifier, 0, 0, "", "", nullptr},
        {"A unconnected", 0, false, 4, nullptr, Qt::Key_A, No, 0, 0, "*", "", nullptr},
        {"M next mode", 0, true, 1, nullptr, Qt::Key_M, No, 0, 1, "", "", nullptr},
        {"M unconnected", 0, false, 1, nullptr, Qt::Key_M, No, 0, 0, "", "", nullptr},
        {"T on Configuration", 1, true, 1, nullptr, Qt::Key_T, No, 1, 2, "", "", nullptr},
        {"T on General", 0, true, 1, nullptr, Qt::Key_T, No, 0, 0, "", "", nullptr},
        {"T locked", 1, true, 1, Lock, Qt::Key_T, No, 1, 0, "", "", nullptr},
        {"R on Configuration", 1, true, 1, nullptr, Qt::Key_R, No, 1, 3, "", "", nullptr},
        {"R on Errors", 4, true, 1, nullptr, Qt::Key_R, No, 4, 0, "", "", nullptr},
        {"S on Oscilloscope", 3, false, 1, nullptr, Qt::Key_S, No, 3, 0, "", "",
         [](TForm_KardunGAS& F) { return F.Button_OSC_StartStop->Down(); }},
        {"S on General", 0, false, 1, nullptr, Qt::Key_S, No, 0, 0, "", "",
         [](TForm_KardunGAS& F) { return !F.Button_OSC_StartStop->Down(); }},
        {"H on Calibration", 2, false, 1, nullptr, Qt::Key_H, No, 2, 0, "", "F3_Eng.pdf", nullptr},
        {"H locked", 2, false, 1, Lock, Qt::Key_H, No, 2, 0, "", "F3_Eng.pdf", nullptr},
        {"H, no such file", 0, false, 1, nullptr, Qt::Key_H, No, 0, 0, "", "", nullptr},
        {"F maximises", 0, false, 1, [](TForm_KardunGAS& F) { F.WindowState(TWindow_State::Normal); },
         Qt::Key_F, No, 0, 0, "", "",
         [](TForm_KardunGAS& F) { return F.WindowState() == TWindow_State::Maximized; }},
        {"F restores", 0, false, 1, [](TForm_KardunGAS& F) { F.WindowState(TWindow_State::Maximized); },
         Qt::Key_F, No, 0, 0, "", "",
         [](TForm_KardunGAS& F) { return F.WindowState() == TWindow_State::Normal; }},
        {"Z, car number focused", 1, true, 1, [](TForm_KardunGAS& F) { F.Edit_Car_Num->SetFocus(); },
         Qt::Key_Z, No, 1, 0, "", "", [](TForm_KardunGAS& F) { return F.Edit_Car_Num->Text() == "KardunGDz"; }},
        {"F2, car number focused", 1, true, 1, [](TForm_KardunGAS& F) { F.Edit_Car_Num->SetFocus(); },
         Qt::Key_F2, No, 1, 0, "", "", nullptr},
        {"Z in table edit mode", 0, true, 1, [](TForm_KardunGAS& F) { F.RPM_Tab_Edit_Mode = true; },
         Qt::Key_Z, No, 0, 0, "", "", nullptr},
        {"F10 closes", 0, true, 1, nullptr, Qt::Key_F10, No, 0, 0, "", "",
         [](TForm_KardunGAS& F) { return !F.Visible(); }},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Name);
        W.reset();
        Reset_All_State();
        sys::Set_Shell_Open_Hook(Record_Open);
        Create();
        Main()->Show();
        Opened.clear();
        Connected = R.Link;
        Request_Code = 0;
        Configuration.GI_Num = R.Injectors;
        Password_State.Access_Granted = true;
        Main()->Gas_Fors_Buttons_Enable(true);
        Main()->PageControl_KardunGAS->ActivePageIndex(R.Page);
        if (R.Arrange)
            R.Arrange(*Main());
        Key(R.K, R.Mods);
        EXPECT_EQ(Main()->PageControl_KardunGAS->ActivePageIndex(), R.Page_After);
        EXPECT_EQ(Request_Code, R.Request);
        EXPECT_EQ(Fors_Down(), R.Fors);
        EXPECT_EQ(Opened, R.Help.empty() ? std::vector<std::string>{} : std::vector<std::string>{R.Help});
        if (R.Also) {
            EXPECT_TRUE(R.Also(*Main()));
        }
    }
}

TEST_F(Keyboard_Map, PortNameTypedWhileConnectedChangesOnlyTheEdit)
{
    Connected = true;
    Configuration.GI_Num = 6;
    Main()->Gas_Fors_Buttons_Enable(true);
    Main()->PageControl_KardunGAS->ActivePageIndex(5);
    Main()->Edit_Port_Name->Text("");
    Main()->Edit_Port_Name->SetFocus();
    QTest::keyClicks(Main()->Edit_Port_Name->Widget(), "ttyUSB3");
    EXPECT_EQ(Main()->Edit_Port_Name->Text(), "ttyUSB3");
    EXPECT_EQ(Request_Code, 0);
    EXPECT_EQ(Fors_Down(), "");
    EXPECT_EQ(Main()->PageControl_KardunGAS->ActivePageIndex(), 5);
}

TEST_F(Keyboard_Map, ClicksAskForTheirWindowsAndViews)
{
    std::vector<int> Windows, Views;
    int Current_View = 0;
    Main()->Big_Digit_Window_Open = [&](int N) { Windows.push_back(N); };
    Main()->Compact_View_Show = [&](int V) { Views.push_back(V); Current_View = V; };
    Main()->Compact_View_Type = [&] { return Current_View; };
    struct Click {
        TControl* C;
        Qt::MouseButton Button;
    };
    TForm_KardunGAS& F = *Main();
    Work_Mode = 4;
    const Click Clicks[] = {
        {F.Label_GEN_RPM_Dig, Qt::RightButton},    {F.Image_GEN_RPM, Qt::RightButton},
        {F.Label_GEN_RPM, Qt::RightButton},        {F.Label_GEN_RPM, Qt::LeftButton},
        {F.Label_GEN_TempInside, Qt::RightButton}, {F.Label_GEN_PerCent_Dig, Qt::LeftButton},
        {F.Label_GEN_PressDiff, Qt::RightButton},  {F.Image_GEN_TPS_jpg, Qt::LeftButton},
        {F.Button_Gas_Fors3, Qt::RightButton},     {F.Panel_WorkMode, Qt::RightButton},
    };
    for (const Click& C : Clicks)
        QTest::mousePress(C.C->Widget(), C.Button, Qt::NoModifier, QPoint(2, 2));
    EXPECT_EQ(Windows, (std::vector<int>{1, 14, 2}));
    EXPECT_EQ(Views, (std::vector<int>{17, 18, 10, 19, 4, 11}));
}

}  // namespace
