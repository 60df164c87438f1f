// The gas-diesel options on the Configuration page: what each controller model shows of
// them, which values a switch enables and marks light red, the TPS sources and filters, the
// detonation correction a file holds back until it is written.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>

#include "data/Conversions.h"
#include "main/Main_Test_Support.h"
#include "protocol/CFG_File.h"
#include "protocol/Ident.h"
#include "protocol/Param_Codecs.h"
#include "protocol/Write_Lists.h"

namespace {

using namespace main_test;

class Configuration_GD : public Main_Window_Fixture {
protected:
    void SetUp() override
    {
        Main_Window_Fixture::SetUp();
        Create();
    }
    TForm_KardunGAS* F() { return Main(); }
    // The gas-diesel controls that show light red now.
    std::set<std::string> GD_Light_Red()
    {
        std::set<std::string> Names;
        for (TControl* C : std::initializer_list<TControl*>{
                 F()->CheckBox_DS_Correction_ON, F()->DS_Timer.Edit, F()->DS_High_Level.Edit,
                 F()->DS_High_Step.Edit, F()->CheckBox_Limit_TPS_ON, F()->Limit_TPS_Snake.Edit,
                 F()->CheckBox_Limit_RPM_ON, F()->Limit_RPM_Snake.Edit, F()->CheckBox_Limit_Temperature_ON,
                 F()->Limit_Temperature.Edit, F()->Injection_Type_Virtual.Edit})
            if (C->Color() == CFG_Changed_Colour)
                Names.insert(C->Name());
        return Names;
    }
};

constexpr const char* Input_1 = "TPS Input 1";
constexpr const char* Input_2 = "TPS Input 2";
constexpr const char* Input_3 = "TPS Input 3";

// One controller model and one record on the page. Filters: 1 ticked, 0 not, -1 hidden,
// 2 left as it was (its combo names no input with a filter).
struct GD_Case {
    const char* What;
    int32_t Version_Code;
    std::function<void(Configuration_Class&)> Change;
    std::array<const char*, 4> Sources;   // the four combos' texts
    std::array<int, 4> Filters;
    std::set<std::string> Light_Red;
    bool DS_Values_Enabled;
    bool Cut_Off_Shown;
    std::function<void(TForm_KardunGAS&)> Check;   // what else the row shows
};

TEST_F(Configuration_GD, EachModelShowsEnablesAndMarksTheGroup)
{
    const GD_Case Cases[] = {
        {"the factory defaults: no source chosen, nothing marked", 206, [](Configuration_Class&) {},
         {"", "", "", ""}, {2, 2, 2, 2}, {}, false, false,
         [](TForm_KardunGAS& F) {
             EXPECT_EQ(F.Clock_Timer.Edit->Text(), "2");
             EXPECT_EQ(F.Limit_Temperature.Edit->Text(), "600");
             EXPECT_FALSE(F.Limit_Temperature.Edit->Enabled());
             // A fresh start's six cylinders hold their default phases, as their bars show.
             ASSERT_EQ(F.Injection_Bars.size(), 6u);
             EXPECT_EQ(F.Injection_Bars[2]->Position(), 45);
         }},
        {"without input 0, 0x42: the gas on the first item, output 1 on the second", 206,
         [](Configuration_Class& C) {
             C.Emulation_TPS_Config_L = 0x42;
             C.DS_Correction_ON = true;
             C.DS_Timer = 7;
             C.DS_High_Level = 275;
         },
         {Input_1, Input_2, "", ""}, {1, 1, 2, 2},
         {"CheckBox_DS_Correction_ON", "Edit_DS_Timer", "Edit_DS_High_Level"}, true, false,
         [](TForm_KardunGAS& F) {
             EXPECT_EQ(F.DS_High_Level.Edit->Text(), Format_Fixed(2.75, 10, 2));
             EXPECT_TRUE(F.CheckBox_DS_Correction_ON_rpm->Checked());
         }},
        {"with input 0 each source is one item further down", 800,
         [](Configuration_Class& C) { C.Emulation_TPS_Config_L = 0x42; },
         {Input_1, Input_2, "TPS Input 0", "TPS Input 0"}, {1, 1, 2, 2}, {}, false, false, nullptr},
        {"input 3's filter off: the boxes of the combos on input 3 unticked", 206,
         [](Configuration_Class& C) {
             C.Emulation_TPS_Config_L = 0x82;   // gas input 1, output 1 input 3
             C.Emulation_TPS_Config_H = 0x28;   // output 2 input 3, output 3 input 1
             C.Filter_TPS_3_ON = false;
         },
         {Input_1, Input_3, Input_3, Input_1}, {1, 0, 0, 1}, {}, false, false, nullptr},
        {"a switch's values count only while it is on: snakes off their default", 206,
         [](Configuration_Class& C) {
             C.Limit_TPS_ON = true;
             C.Limit_TPS_Snake = 12;
             C.Limit_RPM_Snake = 12;   // its switch is off
             C.Limit_TPS_Range_RPM = 150;
         },
         {"", "", "", ""}, {2, 2, 2, 2}, {"CheckBox_Limit_TPS_ON", "Edit_Limit_TPS_Snake"}, false, false,
         [](TForm_KardunGAS& F) {
             EXPECT_TRUE(F.Limit_TPS_Snake.Edit->Enabled());
             EXPECT_FALSE(F.Limit_RPM_Snake.Edit->Enabled());
             EXPECT_EQ(F.Limit_TPS_Snake.Edit->Text(), "12");
             EXPECT_EQ(F.Limit_TPS_Range_RPM.Edit->Text(), Format_Fixed(1.5, 10, 2));
         }},
        {"with the VAC input the cut-off mode takes the limits' place, output filters hidden", 207,
         [](Configuration_Class& C) {
             C.Cut_Off_ON = true;
             C.Cut_Off_Edge = true;
             C.Cut_Off_Volt = 35;
             C.Emulation_TPS_Config_L = 0x22;
         },
         {Input_1, Input_1, "", ""}, {1, -1, -1, -1}, {}, false, true,
         [](TForm_KardunGAS& F) {
             EXPECT_TRUE(F.RadioButton_CFG_Cut_Off_Rising->Checked());
             EXPECT_TRUE(F.Cut_Off_Volt.Edit->Enabled());
             EXPECT_EQ(F.Cut_Off_Volt.Edit->Text(), Format_Fixed(0.35, 10, 2));
         }},
        {"the temperature limit and the virtual pulse, on and off their defaults", 206,
         [](Configuration_Class& C) {
             C.Limit_Temperature_ON = true;
             C.Limit_Temperature = 650;
             C.Virtual_Injection_ON = true;
             C.Virtual_Injection_Timer = 25;
             C.GI_Num = 4;
             C.GI_Pos_2 = 40;
         },
         {"", "", "", ""}, {2, 2, 2, 2},
         {"CheckBox_Limit_Temperature_ON", "Edit_Limit_Temperature", "Edit_CFG_Injection_Type_Virtual"}, false,
         false,
         [](TForm_KardunGAS& F) {
             EXPECT_FALSE(F.ComboBox_CFG_Injection_Type->Visible());
             EXPECT_TRUE(F.Injection_Type_Virtual.Edit->Visible());
             EXPECT_EQ(F.Injection_Type_Virtual.Edit->Text(), "25");
             EXPECT_EQ(F.Label_CFG_IT_Max_Angle->Caption(), "Max 25 ms");
             ASSERT_EQ(F.Injection_Bars.size(), 4u);
             EXPECT_EQ(F.Injection_Bar_Labels[1]->Caption(), Format_Fixed(10, 10, 1) + " ms");
         }},
        {"eight cylinders: six filed phases on their bars, bars 7 and 8 at their defaults", 806,
         [](Configuration_Class& C) {
             C.GI_Num = 8;
             C.GI_Pos_1 = 10;
             C.GI_Pos_2 = 20;
             C.GI_Pos_3 = 30;
             C.GI_Pos_4 = 40;
             C.GI_Pos_5 = 50;
             C.GI_Pos_6 = 0;   // as a controller may hold it: shown as it is
         },
         {"TPS Input 0", "TPS Input 0", "TPS Input 0", "TPS Input 0"}, {2, 2, 2, 2}, {}, false, false,
         [](TForm_KardunGAS& F) {
             ASSERT_EQ(F.Injection_Bars.size(), 8u);
             std::array<int, 8> Positions{};
             for (size_t I = 0; I < 8; ++I)
                 Positions[I] = F.Injection_Bars[I]->Position();
             EXPECT_EQ(Positions, (std::array<int, 8>{10, 20, 30, 40, 50, 0, 77, 88}));
             EXPECT_EQ(Configuration.GI_Pos_6, 0);
         }},
        {"a disabled switch is not marked, nor are its values", 206,
         [](Configuration_Class& C) {
             C.DS_Correction_ON = true;
             C.DS_Timer = 9;
         },
         {"", "", "", ""}, {2, 2, 2, 2}, {"CheckBox_DS_Correction_ON", "Edit_DS_Timer"}, true, false,
         [](TForm_KardunGAS& F) {
             // While another letter is being sent the switches of 'C' are greyed.
             Enable_CFG_Param_Only('B', true, false);
             F.Mark_Changed_GD_Options();
             EXPECT_EQ(F.CheckBox_DS_Correction_ON->Color(), clBtnFace);
             EXPECT_EQ(F.DS_Timer.Edit->Color(), clWindow);
             Enable_CFG_Param_All(true);
             F.Mark_Changed_GD_Options();
             EXPECT_EQ(F.CheckBox_DS_Correction_ON->Color(), CFG_Changed_Colour);
             EXPECT_EQ(F.DS_Timer.Edit->Color(), CFG_Changed_Colour);
         }},
    };
    for (const GD_Case& K : Cases) {
        SCOPED_TRACE(K.What);
        Set_Default_Configuration();
        // The defaults keep the virtual pulse and the emulation bytes: each row starts clear.
        Configuration.Virtual_Injection_ON = false;
        Configuration.Emulation_TPS_Config_L = Configuration.Emulation_TPS_Config_H = 0;
        K.Change(Configuration);
        Program_Version_Code = K.Version_Code;
        F()->Setup_Model_Controls();
        F()->Show_Configuration(*F());
        const std::array<TComboBox*, 4> Combos = F()->TPS_Combos();
        const std::array<TCheckBox*, 4> Filters = F()->TPS_Filter_Boxes();
        for (size_t I = 0; I < 4; ++I) {
            EXPECT_EQ(Combos[I]->Text(), K.Sources[I]) << Combos[I]->Name();
            EXPECT_EQ(Filters[I]->Visible(), K.Filters[I] >= 0) << Filters[I]->Name();
            if (K.Filters[I] == 0 || K.Filters[I] == 1) {
                EXPECT_EQ(Filters[I]->Checked(), K.Filters[I] == 1) << Filters[I]->Name();
            }
        }
        EXPECT_EQ(GD_Light_Red(), K.Light_Red);
        EXPECT_EQ(F()->DS_Timer.Edit->Enabled(), K.DS_Values_Enabled);
        EXPECT_EQ(F()->Panel_CFG_GD_Cut_Off->Visible(), K.Cut_Off_Shown);
        EXPECT_EQ(F()->Panel_CFG_GD_Limit->Visible(), !K.Cut_Off_Shown);
        EXPECT_TRUE(UI_Ready);
        if (K.Check)
            K.Check(*F());
    }
}

TEST_F(Configuration_GD, AModelWithoutTheEmulationCoversItsGroupAndKeepsTheSources)
{
    Configuration.Emulation_TPS_Config_L = 0x42;
    Program_Version_Code = 206;
    F()->Setup_Model_Controls();
    F()->Show_Configuration(*F());
    ASSERT_EQ(F()->ComboBox_CFG_TPS_out_1->Text(), Input_2);
    Program_Version_Code = 607;
    F()->Setup_Model_Controls();
    const TGroupBox* G = F()->GroupBox_CFG_Emulation_TPS;
    const TPanel* P = F()->Panel_CFG_TPS_not_exist;
    EXPECT_TRUE(P->Visible());
    EXPECT_EQ(P->Width(), G->Width() - 8);
    EXPECT_EQ(P->Height(), G->Height() - 20);
    EXPECT_EQ(P->Font().Size(), 24);
    EXPECT_EQ(P->Caption(), "Not exist");
    // The previous model's sources stay listed.
    EXPECT_EQ(F()->ComboBox_CFG_TPS_out_1->Items().Count(), 3);
    Program_Version_Code = 800;
    F()->Setup_Model_Controls();
    EXPECT_FALSE(P->Visible());
    EXPECT_EQ(F()->ComboBox_CFG_TPS_out_1->Items().Count(), 4);
}

// A click on a filter box sets the filter of the input its combo names; every box on that
// input follows.
TEST_F(Configuration_GD, AFilterClickSetsItsInputAndEveryBoxOnThatInputFollows)
{
    Set_Default_Configuration();
    Configuration.Emulation_TPS_Config_L = 0x82;   // gas input 1, output 1 input 3
    Configuration.Emulation_TPS_Config_H = 0x28;   // output 2 input 3, output 3 input 1
    Configuration.Filter_TPS_1_ON = Configuration.Filter_TPS_3_ON = true;
    Program_Version_Code = 206;
    F()->Setup_Model_Controls();
    F()->Show_Configuration(*F());
    const std::array<TCheckBox*, 4> Boxes = F()->TPS_Filter_Boxes();
    struct Step {
        size_t Clicked;
        bool Filter_1, Filter_3;
        std::array<bool, 4> Ticked;
    };
    const Step Steps[] = {
        {2, true, false, {true, false, false, true}},     // output 2's input 3 off
        {0, false, false, {false, false, false, false}},  // the gas input 1 off
        {2, false, true, {false, true, true, false}},
    };
    for (const Step& S : Steps) {
        SCOPED_TRACE(S.Clicked);
        Boxes[S.Clicked]->Checked(!Boxes[S.Clicked]->Checked());   // as a click toggles it
        std::array<bool, 4> Ticked{};
        for (size_t I = 0; I < 4; ++I)
            Ticked[I] = Boxes[I]->Checked();
        EXPECT_EQ(Ticked, S.Ticked);
        EXPECT_EQ(Configuration.Filter_TPS_1_ON, S.Filter_1);
        EXPECT_EQ(Configuration.Filter_TPS_3_ON, S.Filter_3);
    }
}

// A file loaded to be written holds its detonation correction back until the write-all
// restores it; showing the restored switch marks nothing for sending. The file's service
// time shows at once.
TEST_F(Configuration_GD, AFileLoadedForWritingSwitchesTheCorrectionOnOnlyWhenWritten)
{
    Settings.CFG_File_Path = Folder->File("Config");
    Settings.CFG_File_Name = "DS1.cfg";
    Configuration.DS_Correction_ON = true;
    Configuration.Service_Time = 300;
    Configuration.Service_Time_Cnt = 600;
    ASSERT_TRUE(Save_CFG_File());
    Set_Default_Configuration();
    Configuration.Service_Time = Configuration.Service_Time_Cnt = 0;
    CFG_Loaded_For_Write = true;
    Load_Path = CFG_File_Full_Path();
    ASSERT_TRUE(Load_CFG_File());
    EXPECT_FALSE(Configuration.DS_Correction_ON);
    EXPECT_FALSE(F()->CheckBox_DS_Correction_ON->Checked());
    EXPECT_EQ(F()->ST_Set.Edit->Text(), "300");
    EXPECT_EQ(F()->Label_CFG_ST_Remains_Hours->Caption(), Format_Fixed(10, 8, 2));

    Apply_DS_Correction();
    EXPECT_TRUE(Configuration.DS_Correction_ON);
    EXPECT_FALSE(CFG_Loaded_For_Write);
    EXPECT_TRUE(F()->CheckBox_DS_Correction_ON->Checked());
    EXPECT_EQ(F()->CheckBox_DS_Correction_ON->Color(), CFG_Changed_Colour);
    EXPECT_TRUE(CFG_Marked_Letters().empty());
}

// Pictures of the gas-diesel, TPS emulation, injection type and service-time groups, each
// centred in the options panel (set KARDUN_SHOT_DIR to keep them).
TEST_F(Configuration_GD, TheGroupsReadWellAsPictures)
{
    const char* Keep = std::getenv("KARDUN_SHOT_DIR");
    Configuration.Virtual_Injection_ON = true;
    Configuration.DS_Correction_ON = true;
    Configuration.Emulation_TPS_Config_L = 0x42;
    Configuration.Service_Time = 250;
    Configuration.Service_Time_Cnt = 90;
    Program_Version_Code = 207;
    F()->Setup_Model_Controls();
    F()->Show_Configuration(*F());
    EXPECT_FALSE(F()->Cut_Off_Time.Caption->Enabled());
    EXPECT_FALSE(F()->RadioButton_CFG_Cut_Off_Rising->Enabled());
    // Every group fits the options panel.
    TGroupBox* const Groups[] = {F()->GroupBox_CFG_GasDiesel, F()->GroupBox_CFG_Emulation_TPS,
                                 F()->GroupBox_CFG_Injection_Type, F()->GroupBox_CFG_Service_Time,
                                 F()->GroupBox_CFG_Pressure_Sensor};
    const TControl* Options = F()->GroupBox_CFG_GasDiesel->Parent();
    for (const TGroupBox* G : Groups) {
        EXPECT_LE(G->Top() + G->Height(), Options->Height()) << G->Name();
        EXPECT_GE(G->Top(), 0) << G->Name();
    }
    if (!Keep)
        return;
    F()->Show();
    F()->PageControl_KardunGAS->ActivePageIndex(1);
    for (const TGroupBox* Shown : Groups) {
        for (TGroupBox* G : Groups)
            G->Visible(G == Shown);
        F()->GroupBox_CFG_SwitchPG->Visible(false);
        Pump_For(30);
        EXPECT_TRUE(ui::Render_To_PNG(F(), std::string(Keep) + "/cfg_" + Shown->Name() + ".png"));
    }
}

}  // namespace
