// The Configuration page's help line follows the pointer and the keyboard: moving over a
// setting's label or any of its companion controls highlights that label and shows its hint;
// moving over a control that explains itself shows its own hint and highlights nothing; the
// car and owner edits show their label's hint when entered and when typed in. Also: the
// clients database window's caption follows the English menu.
#include <QTest>
#include <cstdlib>
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
        const char* Shown;   // the label highlighted, or the control whose own hint shows
        bool Label;
        std::vector<const char*> Bound;
        int Group = 0;   // the group of a car or owner edit: entering it and typing in it show the hint too
    };
    const std::vector<Row> Rows = {
        {"Label_CFG_PG_Temper", true, {"Label_CFG_PG_Temper", "Edit_CFG_PG_Temper", "UpDown_CFG_PG_Temper"}},
        {"Label_CFG_PG_Pressure", true, {"Label_CFG_PG_Pressure", "Edit_CFG_PG_Pressure", "UpDown_CFG_PG_Pressure"}},
        {"Label_CFG_PG_RPM", true, {"Label_CFG_PG_RPM", "Edit_CFG_PG_RPM", "UpDown_CFG_PG_RPM"}},
        {"Label_CFG_PG_Delay", true, {"Label_CFG_PG_Delay", "Edit_CFG_PG_Delay", "UpDown_CFG_PG_Delay"}},
        {"Label_CFG_GP_PressDiff_Low", true,
         {"Label_CFG_GP_PressDiff_Low", "Edit_CFG_GP_PressDiff_Low", "UpDown_CFG_GP_PressDiff_Low"}},
        {"Label_CFG_GP_TempVap", true, {"Label_CFG_GP_TempVap", "Edit_CFG_GP_TempVap", "UpDown_CFG_GP_TempVap"}},
        {"Label_CFG_GP_Time", true, {"Label_CFG_GP_Time", "Edit_CFG_GP_Time", "UpDown_CFG_GP_Time"}},
        {"Label_CFG_RPM_Sensitiv", true,
         {"Label_CFG_RPM_Sensitiv", "Edit_CFG_RPM_Sensitiv", "UpDown_CFG_RPM_Sensitiv"}},
        {"Label_CFG_Inject_Range", true,
         {"Label_CFG_Inject_Range", "Edit_CFG_Inject_Range", "UpDown_CFG_Inject_Range"}},
        {"Label_CFG_Inject_Start", true,
         {"Label_CFG_Inject_Start", "Edit_CFG_Inject_Start", "UpDown_CFG_Inject_Start"}},
        {"Label_CFG_Inject_PWM_DutyCycle", true,
         {"Label_CFG_Inject_PWM_DutyCycle", "Edit_CFG_Inject_PWM_DutyCycle", "UpDown_CFG_Inject_PWM_DutyCycle"}},
        {"Label_CFG_Inject_PWM_Freq", true,
         {"Label_CFG_Inject_PWM_Freq", "Edit_CFG_Inject_PWM_Freq", "UpDown_CFG_Inject_PWM_Freq"}},
        {"Label_CFG_Pressure_1_Bar", true,
         {"Label_CFG_Pressure_1_Bar", "Edit_CFG_Pressure_1_Bar", "UpDown_CFG_Pressure_1_Bar"}},
        {"Label_CFG_Level_Etalon", true,
         {"Label_CFG_Level_Etalon", "Edit_CFG_Level_Etalon", "UpDown_CFG_Level_Etalon"}},
        {"Label_CFG_Inject_Number", true,
         {"Label_CFG_Inject_Number", "Edit_CFG_Inject_Num", "UpDown_CFG_Inject_Num"}},
        {"Label_CFG_PG_Preheating", true,
         {"Label_CFG_PG_Preheating", "CheckBox_CFG_PG_Preheating", "Edit_CFG_PG_Preheating",
          "UpDown_CFG_PG_Preheating"}},
        {"Label_CFG_Inject_Auto", true,
         {"Label_CFG_Inject_Auto", "CheckBox_CFG_Inject_Auto", "Edit_CFG_Inject_Auto", "UpDown_CFG_Inject_Auto"}},
        {"Label_CFG_GP_Buzzer", true, {"Label_CFG_GP_Buzzer", "CheckBox_CFG_GP_Buzzer"}},
        {"Label_CFG_Level_Low", true, {"Label_CFG_Level_Low", "CheckBox_CFG_Level_Low"}},
        {"Label_CFG_Level_Invert", true, {"Label_CFG_Level_Invert", "CheckBox_CFG_Level_Invert"}},
        {"Label_CFG_Sensor_OFF", true, {"Label_CFG_Sensor_OFF", "CheckBox_CFG_Sensor_OFF"}},
        {"LabelCFG_Level_90", true, {"LabelCFG_Level_90", "CheckBox_CFG_Level_90"}},
        {"Label_CFG_LPG", true, {"Label_CFG_LPG", "RadioButton_CFG_LPG"}},
        {"Label_CFG_CNG", true, {"Label_CFG_CNG", "RadioButton_CFG_CNG"}},
        {"RadioGroup_CFG_Check_Sensors1", true, {"RadioGroup_CFG_Check_Sensors1", "RadioButton_CFG_Check_Sensors1"}},
        {"RadioGroup_CFG_Check_Sensors2", true, {"RadioGroup_CFG_Check_Sensors2", "RadioButton_CFG_Check_Sensors2"}},
        {"Label_CFG_Level_Sensor_Current", true, {"Label_CFG_Level_Sensor_Current", "Edit_CFG_Level0"}},
        {"Label_CFG_Level_Current", true, {"Label_CFG_Level_Current", "Edit_CFG_Level_Current"}},
        {"Label_CFG_PressureVap", true, {"Label_CFG_PressureVap", "Edit_CFG_PressureVap"}},
        {"Label_CFG_PressureCol", true, {"Label_CFG_PressureCol", "Edit_CFG_PressureCol"}},
        {"Label_CFG_Supp_DiffPress_Dim", true,
         {"Label_CFG_Supp_DiffPress_Dim", "Edit_CFG_Supp_DiffPress", "UpDown_CFG_Supp_DiffPress"}},
        {"Label_CFG_Supp_TempGas_Dim", true,
         {"Label_CFG_Supp_TempGas_Dim", "Edit_CFG_Supp_TempGas", "UpDown_CFG_Supp_TempGas"}},
        {"Label_CFG_Supp_Power_Dim", true,
         {"Label_CFG_Supp_Power_Dim", "Edit_CFG_Supp_Power", "UpDown_CFG_Supp_Power"}},
        {"Label_CFG_Inject_Type", true, {"Label_CFG_Inject_Type"}},
        {"Label_CFG_Inject_PWM", true, {"Label_CFG_Inject_PWM"}},
        {"Label_CFG_Level_Mode", true, {"Label_CFG_Level_Mode"}},
        {"Label_CFG_Map_Type", true, {"Label_CFG_Map_Type"}},
        {"Label_CFG_Infl_Smaller", true, {"Label_CFG_Infl_Smaller"}},
        {"Label_CFG_Infl_Bigger", true, {"Label_CFG_Infl_Bigger"}},
        {"Label_CFG_Support", true, {"Label_CFG_Support"}},
        {"Label_Date_Save", true, {"Label_Date_Save", "Label_Date_Save_set"}},
        {"Label_Date_Mounting", true, {"Label_Date_Mounting", "Edit_Date_Mounting_set"}, 13},
        {"Label_Car_Num", true, {"Label_Car_Num", "Edit_Car_Num"}, 13},
        {"Label_Car_Model", true, {"Label_Car_Model", "Edit_Car_Model"}, 13},
        {"Label_Car_Engine", true, {"Label_Car_Engine", "Edit_Car_Engine"}, 13},
        {"Label_Car_Jet", true, {"Label_Car_Jet", "Edit_Car_Jet"}, 13},
        {"Label_User_Name", true, {"Label_User_Name", "Edit_User_Name"}, 14},
        {"Label_User_Phone", true, {"Label_User_Phone", "Edit_User_Phone"}, 14},
        {"Label_User_Address", true, {"Label_User_Address", "Edit_User_Address"}, 14},
        {"UpDown_CFG_Infl_DiffPress_B", false, {"UpDown_CFG_Infl_DiffPress_B", "Edit_CFG_Infl_DiffPress_B"}},
        {"UpDown_CFG_Infl_DiffPress_S", false, {"UpDown_CFG_Infl_DiffPress_S", "Edit_CFG_Infl_DiffPress_S"}},
        {"UpDown_CFG_Infl_TempGas_B", false, {"UpDown_CFG_Infl_TempGas_B", "Edit_CFG_Infl_TempGas_B"}},
        {"UpDown_CFG_Infl_TempGas_S", false, {"UpDown_CFG_Infl_TempGas_S", "Edit_CFG_Infl_TempGas_S"}},
        {"UpDown_CFG_Infl_Power", false, {"UpDown_CFG_Infl_Power", "Edit_CFG_Infl_Power"}},
        {"GroupBox_CFG_Comments", false, {"GroupBox_CFG_Comments", "Memo_Car_Comments"}},
        {"Button_Gas_Fors1", false, {"Button_Gas_Fors1", "Button_Gas_Fors7", "Button_Gas_Fors8"}},
        {"Button_CFG_RPM_set", false, {"Button_CFG_RPM_set"}},
        {"Button_CFG_LevelSensor_Clr", false, {"Button_CFG_LevelSensor_Clr"}},
        {"Button_CFG_LevelSensor_Set", false, {"Button_CFG_LevelSensor_Set"}},
        {"Button_CFG_Infl_Clear", false, {"Button_CFG_Infl_Clear"}},
        {"Button_CFG_Infl_Default", false, {"Button_CFG_Infl_Default"}},
        {"Button_CFG_Clear_Comments", false, {"Button_CFG_Clear_Comments"}},
        {"Button_CFG_User_View", false, {"Button_CFG_User_View"}},
        {"Button_CFG_User_New", false, {"Button_CFG_User_New"}},
        {"Button_CFG_User_Find_Again", false, {"Button_CFG_User_Find_Again"}},
        {"Button_CFG_User_Find", false, {"Button_CFG_User_Find"}},
        {"Edit_CFG_User_Find", false, {"Edit_CFG_User_Find"}},
        {"Button_CFG_Transmitt", false, {"Button_CFG_Transmitt"}},
        {"Button_CFG_Receiv", false, {"Button_CFG_Receiv"}},
        {"Button_CFG_Save", false, {"Button_CFG_Save"}},
        {"Button_CFG_Load", false, {"Button_CFG_Load"}},
        {"Button_CFG_Default", false, {"Button_CFG_Default"}},
        {"Button_Gas_Fors2", false, {"Button_Gas_Fors2"}},
        {"Button_Gas_Fors3", false, {"Button_Gas_Fors3"}},
        {"Button_Gas_Fors4", false, {"Button_Gas_Fors4"}},
        {"Button_Gas_Fors5", false, {"Button_Gas_Fors5"}},
        {"Button_Gas_Fors6", false, {"Button_Gas_Fors6"}},
        {"Button_Gas_Fors_All", false, {"Button_Gas_Fors_All"}},
        {"Button_WorkMode", false, {"Button_WorkMode"}},
    };
    // Each control's hint is its own name, so the text shown tells whose hint it is.
    std::vector<TControl*> Labels;
    for (const Row& R : Rows)
        for (const char* Name : R.Bound)
            if (TControl* C = Named(Name)) {
                C->Hint(Name);
                if (R.Label && Name == std::string(R.Shown))
                    Labels.push_back(C);
            }
    // A label of the page outside the table, lit before each move.
    TControl* Lit_Before = F()->GP_PressDiff_High.Caption;
    F()->Show();
    F()->PageControl_KardunGAS->ActivePageIndex(1);

    for (const Row& R : Rows) {
        for (const char* Name : R.Bound) {
            SCOPED_TRACE(Name);
            TControl* C = Named(Name);
            EXPECT_NE(C, nullptr) << "missing";
            if (!C)
                continue;
            ASSERT_TRUE(C->OnMouseMove) << "not bound";
            std::vector<std::function<void()>> Ways = {[C] { C->OnMouseMove(C, TShiftState{}, 2, 2); }};
            if (R.Group && Name != std::string(R.Shown)) {
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

// Tabbing into the owner's phone edit shows its label's hint without any mouse movement;
// typing there keeps the hint and still reaches the field, and Enter moves on as before.
TEST_F(Hover_Help, TheHelpFollowsTheKeyboardFocus)
{
    F()->Show();
    F()->PageControl_KardunGAS->ActivePageIndex(1);
    F()->Options_Select(14);
    Pump_For(30);
    TControl* Phone_Label = Named("Label_User_Phone");
    ASSERT_NE(Phone_Label, nullptr);
    const std::string Phone_Hint = Phone_Label->Hint();
    const std::string Address_Hint = Named("Label_User_Address")->Hint();
    ASSERT_FALSE(Phone_Hint.empty());
    ASSERT_NE(Phone_Hint, Address_Hint);
    F()->Edit_User_Name->SetFocus();
    ASSERT_TRUE(Pump_Until([&] { return F()->Edit_User_Name->Focused(); }, 2000));
    F()->Help_Show_Text("");
    QTest::keyClick(F()->Edit_User_Name->Widget(), Qt::Key_Tab);
    ASSERT_TRUE(Pump_Until([&] { return F()->Edit_User_Phone->Focused(); }, 2000));
    EXPECT_EQ(F()->Label_CFG_Help->Caption(), Phone_Hint);
    EXPECT_EQ(Phone_Label->Color(), Highlight);
    if (const char* Keep = std::getenv("KARDUN_SHOT_DIR")) {
        EXPECT_TRUE(ui::Render_To_PNG(F(), std::string(Keep) + "/hover_help_phone.png"));
    }
    F()->Help_Show_Text("");
    QTest::keyClicks(F()->Edit_User_Phone->Widget(), "555");
    EXPECT_EQ(F()->Label_CFG_Help->Caption(), Phone_Hint);
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
