// The Configuration page: the record on the page, the values that differ from the factory
// defaults marked light red (LPG and CNG), the letters' controls enabled one letter at a
// time, and pictures of every setting group for a person to look at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <set>
#include <string>

#include "data/Conversions.h"
#include "data/Injectors.h"
#include "main/Main_Test_Support.h"
#include "protocol/CFG_File.h"
#include "protocol/Param_Codecs.h"
#include "protocol/Write_Lists.h"

namespace {

using namespace main_test;

// Names of the page's marked controls that show light red now.
std::set<std::string> Light_Red(const TForm_KardunGAS& F)
{
    std::set<std::string> Names;
    for (TControl* C : F.CFG_Marked_Controls())
        if (C->Color() == CFG_Changed_Colour)
            Names.insert(C->Name());
    return Names;
}

class Configuration_Page : public Main_Window_Fixture {
protected:
    void SetUp() override
    {
        Main_Window_Fixture::SetUp();
        Create();
    }
    TForm_KardunGAS* F() { return Main(); }
};

TEST_F(Configuration_Page, AfterTheDefaultsNothingIsLightRedAndTheSetUpControlsAreLightGreen)
{
    EXPECT_EQ(Light_Red(*F()), std::set<std::string>{});
    for (TControl* C : F()->CFG_Setup_Controls())
        EXPECT_EQ(C->Color(), CFG_Setup_Colour) << C->Name();
    // Values in their units, the type names in the combos, one phase bar per cylinder.
    EXPECT_EQ(F()->PG_Pressure.Edit->Text(), "0.6");
    EXPECT_EQ(F()->Pressure_1_Bar.Edit->Text(), "1.315");
    EXPECT_EQ(F()->ComboBox_CFG_Inject_Type->Items().Count(), Injector_Type_Count);
    EXPECT_EQ(F()->ComboBox_CFG_Inject_Type->Text(), Injector_Name_First);
    EXPECT_EQ(F()->ComboBox_CFG_Map_Type->Text(), "MAP 4 Bar");
    EXPECT_EQ(F()->Injection_Bars.size(), 6u);
    EXPECT_EQ(F()->Label_CFG_Pult_Name->Caption().empty(), false);
    // A preset injector: drive values 0 and greyed.
    EXPECT_EQ(F()->Inject_Start.Edit->Text(), "0");
    EXPECT_FALSE(F()->Inject_Start.Edit->Enabled());
    EXPECT_TRUE(UI_Ready);
    // Every control of the page is found by its own name.
    for (TControl* C : F()->CFG_Marked_Controls())
        EXPECT_EQ(F()->Find_Component_Deep(C->Name()), C) << C->Name();
    EXPECT_EQ(F()->Find_Component_Deep("Label_CFG_Inject_Auto"), F()->Label_CFG_Inject_Auto);
    EXPECT_EQ(F()->Find_Component_Deep("Label_CFG_PG_Preheating"), F()->Label_CFG_PG_Preheating);
}

// A car file changes some values; loaded into fresh defaults it marks exactly those.
TEST_F(Configuration_Page, ALoadedFileMarksExactlyWhatItChanged)
{
    struct Case {
        const char* What;
        std::function<void(Configuration_Class&)> Change;
        std::set<std::string> Marked;
    };
    const Case Cases[] = {
        {"LPG: thresholds and a switch",
         [](Configuration_Class& C) {
             C.PG_TempVap = 45;
             C.GP_Time = 20;
             C.Sensor_OFF = true;
             C.GP_Buzzer_ON = false;
         },
         {"Edit_CFG_PG_Temper", "Edit_CFG_GP_Time", "CheckBox_CFG_Sensor_OFF", "CheckBox_CFG_GP_Buzzer"}},
        {"CNG with its own gas temperature defaults",
         [](Configuration_Class& C) {
             C.LPG_on = false;
             C.Infl_TempGas_B = C.Infl_TempGas_S = 20;
         },
         {}},
        {"CNG with LPG's gas temperature influences",
         [](Configuration_Class& C) { C.LPG_on = false; },
         {"Edit_CFG_Infl_TempGas_B", "Edit_CFG_Infl_TempGas_S"}},
        {"LPG with CNG's gas temperature influences",
         [](Configuration_Class& C) { C.Infl_TempGas_B = C.Infl_TempGas_S = 20; },
         {"Edit_CFG_Infl_TempGas_B", "Edit_CFG_Infl_TempGas_S"}},
        {"the sensor check off, preheating off (its value no longer counts)",
         [](Configuration_Class& C) {
             C.Check_Sensors_ON = false;
             C.PG_Preheating_ON = false;
             C.PG_Preheating = 30;
         },
         {"RadioButton_CFG_Check_Sensors1", "RadioButton_CFG_Check_Sensors2", "CheckBox_CFG_PG_Preheating"}},
        {"pressure sensor, influences and range",
         [](Configuration_Class& C) {
             C.Pressure_1_Bar = 2000;
             C.Infl_DiffPress_S = 40;
             C.Infl_Power = 20;
             C.GI_Range = 16;
         },
         {"Edit_CFG_Pressure_1_Bar", "Edit_CFG_Infl_DiffPress_S", "Edit_CFG_Infl_Power", "Edit_CFG_Inject_Range"}},
    };
    Settings.CFG_File_Path = Folder->File("Config");
    Settings.CFG_File_Name = "AB123.cfg";
    Settings.Save_Load_Data = true;
    for (const Case& K : Cases) {
        SCOPED_TRACE(K.What);
        Set_Default_Configuration();
        K.Change(Configuration);
        ASSERT_TRUE(Save_CFG_File());
        Set_Default_Configuration();
        F()->Show_Configuration(*F());
        ASSERT_TRUE(Light_Red(*F()).empty());
        Load_Path = CFG_File_Full_Path();
        ASSERT_TRUE(Load_CFG_File());
        EXPECT_EQ(Light_Red(*F()), K.Marked);
        // The set-up control among the marked ones keeps its light green while at its default.
        if (!K.Marked.count("Edit_CFG_Pressure_1_Bar")) {
            EXPECT_EQ(F()->Pressure_1_Bar.Edit->Color(), CFG_Setup_Colour);
        }
        EXPECT_EQ(F()->RadioButton_CFG_LPG->Checked(), Configuration.LPG_on);
    }
}

TEST_F(Configuration_Page, OnlyTheLettersControlsStayEnabled)
{
    const char Letters[] = {'B', 'C', 'E', 'I', 'O', 'S', 'W', '_', 'd', 'k'};
    for (char Letter : Letters) {
        SCOPED_TRACE(std::string(1, Letter));
        Enable_CFG_Param_Only(static_cast<uint8_t>(Letter), true, false);
        for (int Code = 'A'; Code <= 't'; ++Code)
            for (const std::string& Name : CFG_Param_Controls(static_cast<uint8_t>(Code))) {
                auto* C = dynamic_cast<TControl*>(F()->Find_Component_Deep(Name));
                if (!C)
                    continue;   // a control of a group the page does not hold yet
                // A control shared by two letters is enabled when either is the one.
                bool Own = false;
                for (const std::string& Mine : CFG_Param_Controls(static_cast<uint8_t>(Letter)))
                    Own = Own || Mine == Name;
                EXPECT_EQ(C->Enabled(), Own) << Name;
            }
        // Every control of the letter exists on the page.
        for (const std::string& Name : CFG_Param_Controls(static_cast<uint8_t>(Letter)))
            EXPECT_NE(F()->Find_Component_Deep(Name), nullptr) << Name;
    }
    Enable_CFG_Param_All(true);
    EXPECT_TRUE(F()->PG_Temper.UpDown->Enabled());
    EXPECT_TRUE(F()->ComboBox_CFG_Inject_Type->Enabled());
}

// Pictures of each setting group, centred in the options panel, from a loaded file (set
// KARDUN_SHOT_DIR to keep them); the phase labels and the comment checked here too.
TEST_F(Configuration_Page, AFileWithFourCylindersShowsItsPhasesAndComment)
{
    Settings.CFG_File_Path = Folder->File("Config");
    Settings.CFG_File_Name = "CD456.cfg";
    Settings.Save_Load_Data = true;
    Configuration_Class& C = Configuration;
    Inject_Num_Set(4);
    C.GI_Pos_1 = 10;
    C.GI_Pos_2 = 35;
    C.GI_Pos_3 = 60;
    C.GI_Pos_4 = 85;
    C.PG_Yellow_Wire = 4;
    C.PG_YW_Delay = 25;
    C.PG_YW_Impulse = 7;
    C.Car_Model = "Van";
    C.Car_Comments = std::string("first line") + char(29) + char(26) + "second line";
    C.PG_TempVap = 50;
    C.GL_Type = "AEB 1050";
    C.GL_Invert_ON = true;
    C.GL_Pos_1 = 806;
    C.GL_Pos_2 = 512;
    C.GL_Pos_3 = 306;
    C.GL_Pos_4 = 213;
    C.GL_Pos_5 = 47;
    ASSERT_TRUE(Save_CFG_File());
    Set_Default_Configuration();
    Set_Default_Inject_Level();
    Load_Path = CFG_File_Full_Path();
    ASSERT_TRUE(Load_CFG_File());

    ASSERT_EQ(F()->Injection_Bars.size(), 4u);
    EXPECT_EQ(F()->Injection_Bar_Labels[2]->Caption(), "216 \xB0");
    EXPECT_EQ(F()->Memo_Car_Comments->Lines().Count(), 2);
    EXPECT_EQ(F()->Edit_Car_Num->Text(), "CD456");
    EXPECT_EQ(F()->PG_YW_Delay.Edit->Text(), Format_Fixed(2.5, 10, 1));
    EXPECT_TRUE(F()->PG_YW_Delay.Edit->Visible());
    EXPECT_EQ(F()->ComboBox_CFG_Level_Type->Text(), "AEB 1050");
    EXPECT_EQ(F()->Edit_CFG_Level[2]->Text(), Format_Fixed(2.5, 10, 2));
    // The automatic mode of the start: the yellow LED alone lit (green 5 blinks with the timer).
    const TColor Off = Level_Led_Off;
    const TColor Lit[7] = {Off, Off, Off, Off, Off, Off, RGB_Color(255, 255, 0)};
    for (size_t I = 0; I < 7; ++I) {
        TImage* Led = F()->Level_Leds[I];
        EXPECT_EQ(Led->Canvas()->Pixels(Led->Width() / 2, Led->Width() / 2), Lit[I]) << Led->Name();
    }
    EXPECT_EQ(Light_Red(*F()), (std::set<std::string>{"Edit_CFG_PG_Temper"}));

    if (const char* Keep = std::getenv("KARDUN_SHOT_DIR")) {
        F()->Show();
        F()->PageControl_KardunGAS->ActivePageIndex(1);
        for (int I = 1; I <= Main_Form_Configuration::Options_Count; ++I) {
            auto* Row = dynamic_cast<TLabel*>(F()->Find_Component_Deep("Label_CFG_" + std::to_string(I)));
            ASSERT_NE(Row, nullptr);
            Row->Click();
            Pump_For(30);
            EXPECT_TRUE(ui::Render_To_PNG(F(), std::string(Keep) + "/configuration_file_" + std::to_string(I) + ".png"));
        }
    }
}

}  // namespace
