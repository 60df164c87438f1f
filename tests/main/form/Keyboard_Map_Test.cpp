// The keyboard map judged by what each key does (page shown, request left for the
// sequencer, forcing buttons down, window state, help file opened), on a page where it acts
// and where it does not, locked, and held by a focused edit; then the displays' clicks.
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
using Form = TForm_KardunGAS;

std::vector<std::string> Opened;
bool Record_Open(const std::string& Path)
{
    Opened.push_back(std::filesystem::path(Path).filename().string());
    return true;
}
void Locked(Form& F)
{
    Password_State.Access_Granted = false;
    F.PageControl_KardunGAS->Enabled(false);
}
void Car_Focus(Form& F) { F.Edit_Car_Num->SetFocus(); }
// The forcing buttons down, as "1".."6" and "*" for the all-button.
std::string Fors_Down(Form& F)
{
    std::string S;
    for (int k = 1; k <= 6; ++k)
        S += F.Gas_Fors_Button(k)->Down() ? std::to_string(k) : "";
    return S + (F.Button_Gas_Fors_All->Down() ? "*" : "");
}

using Keyboard_Map = Main_Window_Fixture;

TEST_F(Keyboard_Map, EachKeyActsWhereTheMapSays)
{
    struct Row {
        const char* Name;
        int Page, Injectors;
        bool Link;
        std::function<void(Form&)> Arrange;
        Qt::Key K;
        Qt::KeyboardModifiers Mods;
        int Page_After, Request;
        std::string Fors;
        std::function<bool(Form&)> Also;
    };
    const auto No = Qt::NoModifier;
    const std::vector<Row> Rows = {
        {"F3", 0, 1, true, nullptr, Qt::Key_F3, No, 2, 0, "", nullptr},
        {"F3 locked", 0, 1, true, Locked, Qt::Key_F3, No, 0, 0, "", nullptr},
        {"F2, car edit focused", 1, 1, true, Car_Focus, Qt::Key_F2, No, 1, 0, "", nullptr},
        {"Z", 0, 1, true, nullptr, Qt::Key_Z, No, 0, 6, "1*", nullptr},
        {"Z again", 0, 1, true, [](Form& F) { F.Gas_Fors_All_Set(true); }, Qt::Key_Z, No, 0, 7, "", nullptr},
        {"Shift+Z", 5, 1, true, nullptr, Qt::Key_Z, Qt::ShiftModifier, 5, 6, "1*", nullptr},
        {"Alt+Z", 0, 1, true, nullptr, Qt::Key_Z, Qt::AltModifier, 0, 0, "", nullptr},
        {"Z locked", 0, 1, true, Locked, Qt::Key_Z, No, 0, 6, "1*", nullptr},
        {"Z, car edit focused", 1, 1, true, Car_Focus, Qt::Key_Z, No, 1, 0, "",
         [](Form& F) { return F.Edit_Car_Num->Text() == "KardunGDz"; }},
        {"Z, table edit mode", 0, 1, true, [](Form& F) { F.RPM_Tab_Edit_Mode = true; }, Qt::Key_Z, No, 0, 0, "", nullptr},
        {"B, four injectors", 0, 4, true, nullptr, Qt::Key_B, No, 0, 0, "", nullptr},
        {"B, six injectors", 0, 6, true, nullptr, Qt::Key_B, No, 0, 6, "5*", nullptr},
        {"B typed as a port name", 5, 6, true, [](Form& F) { F.Edit_Port_Name->Text(""); F.Edit_Port_Name->SetFocus(); },
         Qt::Key_B, No, 5, 0, "", [](Form& F) { return F.Edit_Port_Name->Text() == "b"; }},
        {"A", 0, 4, true, nullptr, Qt::Key_A, No, 0, 6, "1234*", nullptr},
        {"pad *", 0, 4, true, nullptr, Qt::Key_Asterisk, Qt::KeypadModifier, 0, 6, "1234*", nullptr},
        {"Shift+8", 0, 4, true, nullptr, Qt::Key_Asterisk, Qt::ShiftModifier, 0, 0, "", nullptr},
        {"M", 0, 1, true, nullptr, Qt::Key_M, No, 0, 1, "", nullptr},
        {"M unconnected", 0, 1, false, nullptr, Qt::Key_M, No, 0, 0, "", nullptr},
        {"T on Configuration", 1, 1, true, nullptr, Qt::Key_T, No, 1, 2, "", nullptr},
        {"T on General", 0, 1, true, nullptr, Qt::Key_T, No, 0, 0, "", nullptr},
        {"T locked", 1, 1, true, Locked, Qt::Key_T, No, 1, 0, "", nullptr},
        {"R on Configuration", 1, 1, true, nullptr, Qt::Key_R, No, 1, 3, "", nullptr},
        {"S on Oscilloscope", 3, 1, false, nullptr, Qt::Key_S, No, 3, 0, "",
         [](Form& F) { return F.Button_OSC_StartStop->Down(); }},
        {"H on Calibration, locked", 2, 1, false, Locked, Qt::Key_H, No, 2, 0, "",
         [](Form&) { return Opened == std::vector<std::string>{"F3_Eng.pdf"}; }},
        {"H, no such file", 0, 1, false, nullptr, Qt::Key_H, No, 0, 0, "", [](Form&) { return Opened.empty(); }},
        {"F", 0, 1, false, [](Form& F) { F.WindowState(TWindow_State::Normal); }, Qt::Key_F, No, 0, 0, "",
         [](Form& F) { return F.WindowState() == TWindow_State::Maximized; }},
        {"F10", 0, 1, true, nullptr, Qt::Key_F10, No, 0, 0, "", [](Form& F) { return !F.Visible(); }},
    };
    std::filesystem::create_directories(Folder->File("Help"));
    Folder->Write("Help/F3_Eng.pdf", "%PDF");
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Name);
        W.reset();
        Reset_All_State();
        sys::Set_Shell_Open_Hook(Record_Open);
        Create();
        Form& F = *Main();
        F.Show();
        Opened.clear();
        Connected = R.Link;
        Configuration.GI_Num = R.Injectors;
        F.Gas_Fors_Buttons_Enable(true);
        F.PageControl_KardunGAS->ActivePageIndex(R.Page);
        if (R.Arrange)
            R.Arrange(F);
        QWidget* To = F.Widget()->focusWidget();
        QTest::keyClick(To ? To : F.Widget(), R.K, R.Mods);
        EXPECT_EQ(F.PageControl_KardunGAS->ActivePageIndex(), R.Page_After);
        EXPECT_EQ(Request_Code, R.Request);
        EXPECT_EQ(Fors_Down(F), R.Fors);
        EXPECT_TRUE(!R.Also || R.Also(F));
    }
}

TEST_F(Keyboard_Map, ClicksAskForTheirWindowsAndViews)
{
    Create();
    Form& F = *Main();
    std::vector<int> Windows, Views;
    F.Big_Digit_Window_Open = [&](int N) { Windows.push_back(N); };
    F.Compact_View_Show = [&](int V) { Views.push_back(V); };
    F.Compact_View_Type = [&] { return Views.empty() ? 0 : Views.back(); };
    Work_Mode = 4;
    const std::pair<TControl*, Qt::MouseButton> Clicks[] = {
        {F.Label_GEN_RPM_Dig, Qt::RightButton},    {F.Image_GEN_RPM, Qt::RightButton},
        {F.Label_GEN_RPM, Qt::RightButton},        {F.Label_GEN_RPM, Qt::LeftButton},
        {F.Label_GEN_TempInside, Qt::RightButton}, {F.Label_GEN_PerCent_Dig, Qt::LeftButton},
        {F.Label_GEN_PressDiff, Qt::RightButton},  {F.Image_GEN_TPS_jpg, Qt::LeftButton},
        {F.Button_Gas_Fors3, Qt::RightButton},     {F.Panel_WorkMode, Qt::RightButton}};
    for (const auto& [Control, Button] : Clicks)
        QTest::mousePress(Control->Widget(), Button, Qt::NoModifier, QPoint(2, 2));
    EXPECT_EQ(Windows, (std::vector<int>{1, 14, 2}));
    EXPECT_EQ(Views, (std::vector<int>{17, 18, 10, 19, 4, 11}));
}

}  // namespace
