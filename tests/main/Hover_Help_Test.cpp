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
        std::vector<std::string> Bound;   // Shown first, then its companions
        int Group;   // the group of a car or owner edit: entering it and typing in it show the hint too
    };
    std::vector<Row> Rows;
    auto Add = [&Rows](bool Label, const std::string& Shown, std::vector<std::string> Others = {}, int Group = 0) {
        Others.insert(Others.begin(), Shown);
        Rows.push_back({Shown, Label, Others, Group});
    };
    const std::string L = "Label_CFG_";
    // A setting's label with its edit and up-down, or with the one control beside it.
    for (std::string Name : {"PG_Temper", "PG_Pressure", "PG_RPM", "PG_Delay", "GP_PressDiff_Low", "GP_TempVap",
                             "GP_Time", "RPM_Sensitiv", "Inject_Range", "Inject_Start", "Inject_PWM_DutyCycle",
                             "Inject_PWM_Freq", "Pressure_1_Bar", "Level_Etalon"})
        Add(true, L + Name, {"Edit_CFG_" + Name, "UpDown_CFG_" + Name});
    for (std::string Name : {"Supp_DiffPress", "Supp_TempGas", "Supp_Power"})
        Add(true, L + Name + "_Dim", {"Edit_CFG_" + Name, "UpDown_CFG_" + Name});
    Add(true, L + "Inject_Number", {"Edit_CFG_Inject_Num", "UpDown_CFG_Inject_Num"});
    for (std::string Name : {"PG_Preheating", "Inject_Auto"})
        Add(true, L + Name, {"Edit_CFG_" + Name, "UpDown_CFG_" + Name, "CheckBox_CFG_" + Name});
    for (std::string Name : {"GP_Buzzer", "Level_Low", "Level_Invert", "Sensor_OFF"})
        Add(true, L + Name, {"CheckBox_CFG_" + Name});
    Add(true, "LabelCFG_Level_90", {"CheckBox_CFG_Level_90"});
    for (std::string Name : {"LPG", "CNG"})
        Add(true, L + Name, {"RadioButton_CFG_" + Name});
    for (std::string Name : {"Check_Sensors1", "Check_Sensors2"})
        Add(true, "RadioGroup_CFG_" + Name, {"RadioButton_CFG_" + Name});
    Add(true, L + "Level_Sensor_Current", {"Edit_CFG_Level0"});
    for (std::string Name : {"Level_Current", "PressureVap", "PressureCol"})
        Add(true, L + Name, {"Edit_CFG_" + Name});
    for (std::string Name :
         {"Inject_Type", "Inject_PWM", "Level_Mode", "Map_Type", "Infl_Smaller", "Infl_Bigger", "Support"})
        Add(true, L + Name);
    Add(true, "Label_Date_Save", {"Label_Date_Save_set"});
    Add(true, "Label_Date_Mounting", {"Edit_Date_Mounting_set"}, 13);
    for (std::string Name : {"Car_Num", "Car_Model", "Car_Engine", "Car_Jet"})
        Add(true, "Label_" + Name, {"Edit_" + Name}, 13);
    for (std::string Name : {"User_Name", "User_Phone", "User_Address"})
        Add(true, "Label_" + Name, {"Edit_" + Name}, 14);
    Add(false, "GroupBox_CFG_Comments", {"Memo_Car_Comments"});
    Add(false, "Button_Gas_Fors1", {"Button_Gas_Fors7", "Button_Gas_Fors8"});
    // The influence factors' up-downs explain themselves, over their edits too.
    for (std::string Name : {"DiffPress_B", "DiffPress_S", "TempGas_B", "TempGas_S", "Power"})
        Add(false, "UpDown_CFG_Infl_" + Name, {"Edit_CFG_Infl_" + Name});
    for (const char* Name :
         {"Button_CFG_RPM_set", "Button_CFG_LevelSensor_Clr", "Button_CFG_LevelSensor_Set", "Button_CFG_Infl_Clear",
          "Button_CFG_Infl_Default", "Button_CFG_Clear_Comments", "Button_CFG_User_View", "Button_CFG_User_New",
          "Button_CFG_User_Find_Again", "Button_CFG_User_Find", "Edit_CFG_User_Find", "Button_CFG_Transmitt",
          "Button_CFG_Receiv", "Button_CFG_Save", "Button_CFG_Load", "Button_CFG_Default", "Button_Gas_Fors2",
          "Button_Gas_Fors3", "Button_Gas_Fors4", "Button_Gas_Fors5", "Button_Gas_Fors6", "Button_Gas_Fors_All",
          "Button_WorkMode"})
        Add(false, Name);
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
