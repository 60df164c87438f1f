// The Configuration page's help line follows the pointer and the keyboard: moving over a
// setting's label or any of its companion controls highlights that label and shows its hint;
// moving over a control that explains itself shows its own hint and highlights nothing; the
// car and owner edits show their label's hint when entered and when typed in. Also: the
// clients database window's caption follows the English menu.
#include <QTest>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "main/Main_Test_Support.h"
#include "windows/DTB_Window.h"

namespace {

using namespace main_test;

constexpr TColor Highlight = RGB_Color(255, 198, 0);

class Hover_Help : public Main_Window_Fixture {
protected:
    void SetUp() override
    {
        Main_Window_Fixture::SetUp();
        Create();
    }
    TForm_KardunGAS* F() { return Main(); }
    TControl* Named(const std::string& Name) { return dynamic_cast<TControl*>(F()->Find_Component_Deep(Name)); }
};

// Every control of the help table exists and is bound; each move shows the right text, and
// exactly the row's label (none for a control explaining itself) is highlighted, whatever
// was highlighted before. The car and owner edits do the same when entered or typed in.
TEST_F(Hover_Help, EachControlShowsItsRowsHintAndHighlightsOnlyItsLabel)
{
    struct Row {
        std::string Shown;   // the label highlighted, or the control whose own hint shows
        bool Label;
        std::vector<std::string> Bound;
        int Group = 0;   // the group of a car or owner edit: entering it and typing in it show the hint too
    };
    // A setting's label with its edit and up-down, or with the one control beside it.
    auto Trio = [](const std::string& Label, const std::string& Name) {
        return Row{Label, true, {Label, "Edit_CFG_" + Name, "UpDown_CFG_" + Name}};
    };
    auto Pair = [](const std::string& Label, const std::string& Other, int Group = 0) {
        return Row{Label, true, {Label, Other}, Group};
    };
    auto Own = [](const std::string& Name) { return Row{Name, false, {Name}}; };
    std::vector<Row> Rows;
    for (const char* Name : {"PG_Temper", "PG_Pressure", "PG_RPM", "PG_Delay", "GP_PressDiff_Low", "GP_TempVap",
                             "GP_Time", "RPM_Sensitiv", "Inject_Range", "Inject_Start", "Inject_PWM_DutyCycle",
                             "Inject_PWM_Freq", "Pressure_1_Bar", "Level_Etalon"})
        Rows.push_back(Trio(std::string("Label_CFG_") + Name, Name));
    for (const char* Name : {"Supp_DiffPress", "Supp_TempGas", "Supp_Power"})
        Rows.push_back(Trio(std::string("Label_CFG_") + Name + "_Dim", Name));
    Rows.push_back(Trio("Label_CFG_Inject_Number", "Inject_Num"));
    for (const char* Name : {"PG_Preheating", "Inject_Auto"}) {
        Rows.push_back(Trio(std::string("Label_CFG_") + Name, Name));
        Rows.back().Bound.push_back(std::string("CheckBox_CFG_") + Name);
    }
    for (const char* Name : {"GP_Buzzer", "Level_Low", "Level_Invert", "Sensor_OFF"})
        Rows.push_back(Pair(std::string("Label_CFG_") + Name, std::string("CheckBox_CFG_") + Name));
    const std::vector<Row> Others = {
        Pair("LabelCFG_Level_90", "CheckBox_CFG_Level_90"),
        Pair("Label_CFG_LPG", "RadioButton_CFG_LPG"),
        Pair("Label_CFG_CNG", "RadioButton_CFG_CNG"),
        Pair("RadioGroup_CFG_Check_Sensors1", "RadioButton_CFG_Check_Sensors1"),
        Pair("RadioGroup_CFG_Check_Sensors2", "RadioButton_CFG_Check_Sensors2"),
        Pair("Label_CFG_Level_Sensor_Current", "Edit_CFG_Level0"),
        Pair("Label_CFG_Level_Current", "Edit_CFG_Level_Current"),
        Pair("Label_CFG_PressureVap", "Edit_CFG_PressureVap"),
        Pair("Label_CFG_PressureCol", "Edit_CFG_PressureCol"),
        {"Label_CFG_Inject_Type", true, {"Label_CFG_Inject_Type"}},
        {"Label_CFG_Inject_PWM", true, {"Label_CFG_Inject_PWM"}},
        {"Label_CFG_Level_Mode", true, {"Label_CFG_Level_Mode"}},
        {"Label_CFG_Map_Type", true, {"Label_CFG_Map_Type"}},
        {"Label_CFG_Infl_Smaller", true, {"Label_CFG_Infl_Smaller"}},
        {"Label_CFG_Infl_Bigger", true, {"Label_CFG_Infl_Bigger"}},
        {"Label_CFG_Support", true, {"Label_CFG_Support"}},
        Pair("Label_Date_Save", "Label_Date_Save_set"),
        Pair("Label_Date_Mounting", "Edit_Date_Mounting_set", 13),
        Pair("Label_Car_Num", "Edit_Car_Num", 13),
        Pair("Label_Car_Model", "Edit_Car_Model", 13),
        Pair("Label_Car_Engine", "Edit_Car_Engine", 13),
        Pair("Label_Car_Jet", "Edit_Car_Jet", 13),
        Pair("Label_User_Name", "Edit_User_Name", 14),
        Pair("Label_User_Phone", "Edit_User_Phone", 14),
        Pair("Label_User_Address", "Edit_User_Address", 14),
        {"GroupBox_CFG_Comments", false, {"GroupBox_CFG_Comments", "Memo_Car_Comments"}},
        {"Button_Gas_Fors1", false, {"Button_Gas_Fors1", "Button_Gas_Fors7", "Button_Gas_Fors8"}},
    };
    Rows.insert(Rows.end(), Others.begin(), Others.end());
    // The influence factors' up-downs explain themselves, over their edits too.
    for (const char* Name : {"DiffPress_B", "DiffPress_S", "TempGas_B", "TempGas_S", "Power"})
        Rows.push_back({std::string("UpDown_CFG_Infl_") + Name, false,
                        {std::string("UpDown_CFG_Infl_") + Name, std::string("Edit_CFG_Infl_") + Name}});
    for (const char* Name :
         {"Button_CFG_RPM_set", "Button_CFG_LevelSensor_Clr", "Button_CFG_LevelSensor_Set", "Button_CFG_Infl_Clear",
          "Button_CFG_Infl_Default", "Button_CFG_Clear_Comments", "Button_CFG_User_View", "Button_CFG_User_New",
          "Button_CFG_User_Find_Again", "Button_CFG_User_Find", "Edit_CFG_User_Find", "Button_CFG_Transmitt",
          "Button_CFG_Receiv", "Button_CFG_Save", "Button_CFG_Load", "Button_CFG_Default", "Button_Gas_Fors2",
          "Button_Gas_Fors3", "Button_Gas_Fors4", "Button_Gas_Fors5", "Button_Gas_Fors6", "Button_Gas_Fors_All",
          "Button_WorkMode"})
        Rows.push_back(Own(Name));
    // Each control's hint is its own name, so the text shown tells whose hint it is.
    std::vector<TControl*> Labels;
    for (const Row& R : Rows)
        for (const std::string& Name : R.Bound)
            if (TControl* C = Named(Name)) {
                C->Hint(Name);
                if (R.Label && Name == R.Shown)
                    Labels.push_back(C);
            }
    // A label of the page outside the table, lit before each move.
    TControl* Lit_Before = F()->GP_PressDiff_High.Caption;
    F()->Show();
    F()->PageControl_KardunGAS->ActivePageIndex(1);

    for (const Row& R : Rows) {
        for (const std::string& Name : R.Bound) {
            SCOPED_TRACE(Name);
            TControl* C = Named(Name);
            EXPECT_NE(C, nullptr) << "missing";
            if (!C)
                continue;
            ASSERT_TRUE(C->OnMouseMove) << "not bound";
            std::vector<std::function<void()>> Ways = {[C] { C->OnMouseMove(C, TShiftState{}, 2, 2); }};
            if (R.Group && Name != R.Shown) {
                F()->Options_Select(R.Group);
                Ways.push_back([C] {
                    C->SetFocus();
                    EXPECT_TRUE(Pump_Until([C] { return C->Widget()->hasFocus(); }, 2000)) << "no focus";
                });
                Ways.push_back([C] { QTest::keyClick(C->Widget(), '1'); });
            }
            for (size_t I = 0; I < Ways.size(); ++I) {
                SCOPED_TRACE(I == 0 ? "mouse move" : I == 1 ? "focus entered" : "key typed");
                F()->Help_Show_Hint(Lit_Before);
                Ways[I]();
                EXPECT_EQ(F()->Label_CFG_Help->Caption(), R.Shown);
                EXPECT_EQ(Lit_Before->Color(), clBtnFace);
                for (TControl* L : Labels)
                    EXPECT_EQ(L->Color() == Highlight, R.Label && L->Name() == R.Shown) << L->Name();
            }
        }
    }
}

// Showing the hint as keys are typed must not take the keys: the text still reaches the
// owner's phone, and Enter still moves on to the address, whose hint then shows.
TEST_F(Hover_Help, TypingKeepsReachingTheFieldAndEnterMovesOn)
{
    F()->Show();
    F()->PageControl_KardunGAS->ActivePageIndex(1);
    F()->Options_Select(14);
    Pump_For(30);
    const std::string Address_Hint = Named("Label_User_Address")->Hint();
    ASSERT_NE(Named("Label_User_Phone")->Hint(), Address_Hint);
    F()->Edit_User_Phone->SetFocus();
    ASSERT_TRUE(Pump_Until([&] { return F()->Edit_User_Phone->Focused(); }, 2000));
    QTest::keyClicks(F()->Edit_User_Phone->Widget(), "555");
    EXPECT_EQ(Configuration.User_Phone, "555");
    QTest::keyClick(F()->Edit_User_Phone->Widget(), Qt::Key_Return);
    ASSERT_TRUE(Pump_Until([&] { return F()->Edit_User_Address->Focused(); }, 2000));
    EXPECT_EQ(F()->Label_CFG_Help->Caption(), Address_Hint);
}

// The clients database window's caption: English while the English menu is on, the chosen
// language's text otherwise.
TEST_F(Hover_Help, TheClientsDatabaseCaptionFollowsTheEnglishMenu)
{
    std::filesystem::create_directory(Folder->File("Language"));
    Folder->Write("Language/Marked.lng", "Marked\r\nForm_DTB [Clients]\r\n");
    Settings.Language = "Marked";
    Form_DTB = Create_Form<TForm_DTB>(nullptr);
    F()->CheckBox_English_Menu->Checked(true);
    EXPECT_EQ(Form_DTB->Caption(), "Clients database");
    F()->CheckBox_English_Menu->Checked(false);
    EXPECT_EQ(Form_DTB->Caption(), "[Clients]");
    Form_DTB->Free();
}

}  // namespace
