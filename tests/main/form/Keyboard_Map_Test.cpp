// The keyboard map judged by what each key does (request left for the sequencer, forcing
// buttons down, page, window, help file opened), on a page where it acts and where it does
// not, locked, and held by a focused edit; then the strip's right clicks.
#include <gtest/gtest.h>

#include <QTest>
#include <filesystem>
#include <tuple>

#include "main/Main_Test_Support.h"
#include "platform/system/Shell.h"

namespace {

using namespace main_test;
using Form = TForm_KardunGAS;
using Keyboard_Map = Main_Window_Fixture;

std::vector<std::string> Opened;
void Locked(Form& F) { Password_State.Access_Granted = false; F.PageControl_KardunGAS->Enabled(false); }

TEST_F(Keyboard_Map, EachKeyActsWhereTheMapSays)
{
    struct Row {
        int Page, Injectors;
        bool Link;
        std::function<void(Form&)> Arrange;
        Qt::Key K;
        Qt::KeyboardModifiers Mods;
        int Request;
        std::string Fors;   // buttons down: "1".."6", "*" the all-button
        std::function<bool(Form&)> Also;
    };
    const auto No = Qt::NoModifier;
    const std::vector<Row> Rows = {
        {0, 1, true, nullptr, Qt::Key_Z, No, 6, "1*", nullptr},
        {0, 1, true, [](Form& F) { F.Gas_Fors_All_Set(true); }, Qt::Key_Z, No, 7, "", nullptr},
        {0, 1, true, nullptr, Qt::Key_Z, Qt::AltModifier, 0, "", nullptr},
        {0, 1, true, Locked, Qt::Key_Z, No, 6, "1*", nullptr},
        {1, 1, true, [](Form& F) { F.Edit_Car_Num->Text("AB1"); F.Edit_Car_Num->SetFocus(); }, Qt::Key_Z, No, 0, "",
         [](Form& F) { return F.Edit_Car_Num->Text() == "AB1z"; }},
        {0, 4, true, nullptr, Qt::Key_B, No, 0, "", nullptr},
        {0, 6, true, nullptr, Qt::Key_B, No, 6, "5*", nullptr},
        {5, 6, true, [](Form& F) { F.Edit_Port_Name->Text(""); F.Edit_Port_Name->SetFocus(); }, Qt::Key_B, No, 0, "",
         [](Form& F) { return F.Edit_Port_Name->Text() == "b"; }},
        {0, 4, true, nullptr, Qt::Key_A, No, 6, "1234*", nullptr},
        {0, 4, true, nullptr, Qt::Key_Asterisk, Qt::KeypadModifier, 6, "1234*", nullptr},
        // The car number differs from the file's: the write carries it too (request 17).
        {1, 1, true, nullptr, Qt::Key_T, No, 17, "", nullptr},
        {0, 1, true, nullptr, Qt::Key_T, No, 0, "", nullptr},
        {1, 1, true, Locked, Qt::Key_T, No, 0, "", nullptr},
        {3, 1, false, nullptr, Qt::Key_S, No, 0, "", [](Form& F) { return F.Button_OSC_StartStop->Down(); }},
        {2, 1, false, Locked, Qt::Key_H, No, 0, "", [](Form&) { return Opened == std::vector<std::string>{"F3_Eng.pdf"}; }},
        {0, 1, false, nullptr, Qt::Key_H, No, 0, "", [](Form&) { return Opened.empty(); }},
        {0, 1, false, [](Form& F) { F.WindowState(TWindow_State::Normal); }, Qt::Key_F, No, 0, "",
         [](Form& F) { return F.WindowState() == TWindow_State::Maximized; }},
    };
    std::filesystem::create_directories(Folder->File("Help"));
    Folder->Write("Help/F3_Eng.pdf", "%PDF");
    sys::Set_Shell_Open_Hook([](const std::string& Path) {
        Opened.push_back(std::filesystem::path(Path).filename().string());
        return true;
    });
    for (const Row& R : Rows) {
        SCOPED_TRACE(QKeySequence(R.K).toString().toStdString() + " on page " + std::to_string(R.Page));
        W.reset();
        Password_State.Access_Granted = true;
        Request_Code = 0;
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
        std::string Fors;
        for (int k = 1; k <= 6; ++k)
            Fors += F.Gas_Fors_Button(k)->Down() ? std::to_string(k) : "";
        EXPECT_EQ(Fors + (F.Button_Gas_Fors_All->Down() ? "*" : ""), R.Fors);
        EXPECT_EQ(Request_Code, R.Request);
        EXPECT_EQ(F.PageControl_KardunGAS->ActivePageIndex(), R.Page);
        EXPECT_TRUE(!R.Also || R.Also(F));
    }
}

TEST_F(Keyboard_Map, RightClicksOnTheStripOpenTheirCompactViews)
{
    Create();
    Form& F = *Main();
    const std::tuple<TControl*, uint8_t, Qt::MouseButton, int> Clicks[] = {
        {F.Button_Gas_Fors3, 2, Qt::RightButton, 4}, {F.Button_Gas_Fors_All, 2, Qt::RightButton, 4},
        {F.Panel_WorkMode, 1, Qt::RightButton, 8},   {F.Panel_WorkMode, 2, Qt::RightButton, 2},
        {F.Panel_WorkMode, 4, Qt::RightButton, 11},  {F.Panel_WorkMode, 0, Qt::RightButton, 0},
        {F.Panel_WorkMode, 4, Qt::LeftButton, 0}};
    for (const auto& [Control, Mode, Button, View] : Clicks) {
        MiniCFG_View_Type = 0;
        Work_Mode = Mode;
        QTest::mousePress(Control->Widget(), Button, Qt::NoModifier, QPoint(2, 2));
        EXPECT_EQ(MiniCFG_View_Type, View) << Control->Name() << " in mode " << int(Mode);
    }
}

}  // namespace
