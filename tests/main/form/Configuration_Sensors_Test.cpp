// The sensor, influence-factor and injector groups of the Configuration page at work: level
// presets and marks, the full-tank reference, the LED row, the MAP presets, the factor
// limits with Clear and Default, the injector type, phase bars and yellow wire.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "data/Calibration.h"
#include "data/Conversions.h"
#include "data/Injectors.h"
#include "main/Main_Test_Support.h"
#include "protocol/Param_Codecs.h"
#include "protocol/Write_Lists.h"

namespace {

using namespace main_test;

class Configuration_Sensors : public Main_Window_Fixture {
protected:
    void SetUp() override
    {
        Main_Window_Fixture::SetUp();
        Create();
        // A controller on the link and sending at once; the timers are not left to run.
        Connected = true;
        Settings.Transmit_Now = true;
    }
    TForm_KardunGAS* F() { return Main(); }
    void Forget_Sends()
    {
        CFG_Marks_Clear();
        Transmit_Now_Code = 0;
        Enable_CFG_Param_All(true);
    }
    static void Click(TUpDown* U, int Position)
    {
        U->Position(Position);
        U->OnClick(U, TUD_Button::Up);
    }
    // A choice from the list as the user makes it: the list moves, then the events.
    static void Choose(TComboBox* Combo, int Index)
    {
        Combo->ItemIndex(Index);
        Combo->User_Selected(Index);
    }
    void Type(TComboBox* Combo, const std::string& Text)
    {
        Combo->Text(Text);
        Combo->User_Typed();
    }
    std::string Leds() { return Level_Led_Row(*F()); }
    // The gas-level group as a picture (set KARDUN_SHOT_DIR to keep it).
    void Shot(const std::string& Name)
    {
        const char* Keep = std::getenv("KARDUN_SHOT_DIR");
        if (!Keep)
            return;
        F()->Show();
        F()->PageControl_KardunGAS->ActivePageIndex(1);
        F()->Options_Select(6);
        Pump_For(30);
        EXPECT_TRUE(ui::Render_To_PNG(F(), std::string(Keep) + "/" + Name + ".png"));
    }
};

// ---------------------------------------------------------------- level sensor and MAP

TEST_F(Configuration_Sensors, LevelPresetsMarksAndTheFullTankReference)
{
    struct Row {
        const char* Typed;
        const char* Shown;
    };
    // A name that is no preset puts back the stored type and leaves its marks.
    for (const Row& R : {Row{"AEB 1050", "AEB 1050"}, Row{"NO SENSOR", "AEB 1050"}}) {
        SCOPED_TRACE(R.Typed);
        Forget_Sends();
        Type(F()->ComboBox_CFG_Level_Type, R.Typed);
        EXPECT_EQ(F()->ComboBox_CFG_Level_Type->Text(), R.Shown);
        EXPECT_EQ(Configuration.GL_Type, R.Shown);
        EXPECT_TRUE(Configuration.GL_Invert_ON);
        EXPECT_FALSE(Configuration.GL_90_ON);
        const int32_t Marks[5] = {806, 512, 306, 213, 47};
        const double Volts[5] = {3.94, 2.50, 1.50, 1.04, 0.23};
        for (size_t I = 0; I < 5; ++I) {
            EXPECT_EQ(F()->TrackBar_CFG_Level[I]->Position(), Marks[I]);
            EXPECT_EQ(F()->Edit_CFG_Level[I + 1]->Text(), Format_Fixed(Volts[I], 10, 2));
        }
        EXPECT_EQ(Transmit_Now_Code, ']');
    }
    // A mark moved: its field, its volts, its own letter.
    Forget_Sends();
    F()->TrackBar_CFG_Level[2]->Position(1023);
    EXPECT_EQ(Configuration.GL_Pos_3, 1023);
    EXPECT_EQ(F()->Edit_CFG_Level[3]->Text(), Format_Fixed(5.0, 10, 2));
    EXPECT_EQ(Transmit_Now_Code, 'a');

    // The software level: its panel instead of the marks, which no bar changes now.
    Type(F()->ComboBox_CFG_Level_Type, "SOFTWARE");
    EXPECT_TRUE(F()->Panel_CFG_Gas_Level_Soft->Visible());
    EXPECT_FALSE(F()->Panel_CFG_Gas_Level_Switch->Visible());
    const int32_t Mark_1 = Configuration.GL_Pos_1;
    F()->TrackBar_CFG_Level[0]->Position(Mark_1 + 100);
    EXPECT_EQ(Configuration.GL_Pos_1, Mark_1);
    // Every full-tank position shows itself again from the stored reference.
    TUpDown* Etalon = F()->Level_Etalon.UpDown;
    for (int Position = 0; Position <= 1200; ++Position) {
        Click(Etalon, Position);
        F()->Level_Sensor_Show();
        ASSERT_EQ(Etalon->Position(), Position);
        if (Position == 10) {
            EXPECT_EQ(Configuration.GL_Etalon, 54);
            EXPECT_EQ(F()->Level_Etalon.Edit->Text(), Format_General(1.0, 10));
        }
    }
    // Set at 0 greys itself and sends nothing; Clear sends the level letter at once.
    Forget_Sends();
    Click(Etalon, 0);
    F()->Button_CFG_LevelSensor_Set->Click();
    EXPECT_FALSE(F()->Button_CFG_LevelSensor_Set->Enabled());
    EXPECT_EQ(Transmit_Now_Code, 0);
    Click(Etalon, 25);
    F()->Button_CFG_LevelSensor_Clr->Click();
    EXPECT_EQ(Configuration.GL_Etalon, 0);
    EXPECT_EQ(Transmit_Now_Code, ']');

    // The MAP preset is recognised within 30 mV of its 1-bar output.
    struct MAP_Row {
        int Millivolts;
        const char* Shown;
    };
    for (const MAP_Row& M : {MAP_Row{1284, "ANOTHER"}, MAP_Row{1285, "MAP 4 Bar"}, MAP_Row{1345, "MAP 4 Bar"},
                             MAP_Row{1346, "ANOTHER"}}) {
        Click(F()->Pressure_1_Bar.UpDown, M.Millivolts);
        EXPECT_EQ(F()->ComboBox_CFG_Map_Type->Text(), M.Shown) << M.Millivolts;
    }
    EXPECT_EQ(F()->MAP_Type_Select("MAP 4 Bar"), 1);
    EXPECT_EQ(Configuration.Pressure_1_Bar, 1315);
    EXPECT_EQ(F()->MAP_Type_Select("no sensor"), 0);
}

TEST_F(Configuration_Sensors, TheLedRowFollowsTheLiveLevelInGasModeAndBlinksInAutomaticMode)
{
    Type(F()->ComboBox_CFG_Level_Type, "AEB 1050");   // marks 806, 512, 306, 213, 47
    struct Row {
        int32_t Level;
        bool Invert;
        uint8_t Mode;
        const char* Leds;   // red, green 1..5, yellow
    };
    const Row Rows[] = {
        {300, true, 4, "0111000"},  {900, true, 4, "1000000"}, {300, false, 4, "0000110"},
        {900, false, 4, "0111110"}, {10, false, 4, "1000000"},
        // Outside gas mode the row keeps the work mode's LEDs.
        {300, true, 1, "0000001"},  {900, false, 1, "0000001"},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(std::to_string(R.Level) + (R.Invert ? " inverted" : "") + " mode " + std::to_string(R.Mode));
        F()->Show_Work_Mode(0, 0);
        F()->Show_Work_Mode(R.Mode, 0);
        Live_Values.Live_Gas_Level = R.Level;
        F()->CheckBox_CFG_Level_Invert->Checked(R.Invert);
        F()->Level_Leds_Show();
        EXPECT_EQ(Leds(), R.Leds);
    }
    // Automatic mode: yellow lit, green 5 blinking with the timer.
    F()->Show_Work_Mode(2, 0);
    EXPECT_TRUE(F()->Timer_Led_Automat->Enabled());
    EXPECT_EQ(Leds(), "0000001");
    F()->Timer_Led_Automat->Fire_Tick();
    EXPECT_EQ(Leds(), "0000011");
    F()->Timer_Led_Automat->Fire_Tick();
    EXPECT_EQ(Leds(), "0000001");
    F()->Show_Work_Mode(4, 0);
    EXPECT_FALSE(F()->Timer_Led_Automat->Enabled());
    Shot("cfg_level_switch");
    // The software level's modes in gas mode, with their caption.
    Type(F()->ComboBox_CFG_Level_Type, "SOFTWARE");
    Live_Data_Hooks.Show_Level_Mode(32);
    EXPECT_EQ(Leds(), "1111110");
    EXPECT_EQ(F()->Label_CFG_Level_Mode->Caption(), Language_Text("Mode_Level_Etalon"));
    Live_Data_Hooks.Show_Level_Mode(128);
    EXPECT_EQ(Leds(), "0111111");
    Shot("cfg_level_software");
}

// ---------------------------------------------------------------- factors

TEST_F(Configuration_Sensors, FactorsKeepTheirCoefficientLimitAndClearAndDefaultFollowTheGroupShown)
{
    // A temperature support lowered to 10 takes its factors into -62..62 by steps of 5.
    Configuration.Supp_TempGas = 40;
    Configuration.Infl_TempGas_S = 95;
    Configuration.Infl_TempGas_B = -95;
    F()->Show_Configuration(*F());
    F()->Supp_TempGas.Edit->Text("10");
    EXPECT_EQ(Configuration.Supp_TempGas, 10);
    EXPECT_EQ(Configuration.Infl_TempGas_S, 60);
    EXPECT_EQ(Configuration.Infl_TempGas_B, -60);
    EXPECT_EQ(F()->Infl_TempGas_S.UpDown->Min(), -62);
    EXPECT_EQ(F()->Infl_TempGas_S.UpDown->Max(), 62);
    EXPECT_EQ(F()->Infl_TempGas_S.Edit->Text(), Format_General(0.6, 10));
    // A file's support of 0: a click on its factor stores 0, whatever the range showed.
    Configuration.Supp_TempGas = 0;
    Configuration.Infl_TempGas_S = 30;
    F()->Show_Configuration(*F());
    Click(F()->Infl_TempGas_S.UpDown, 35);
    EXPECT_EQ(Configuration.Infl_TempGas_S, 0);

    int Table_Cleared = 0, Table_Default = 0, MiniCFG_View = 0;
    F()->RPM_Tab_Clear_All = [&] { ++Table_Cleared; };
    F()->RPM_Tab_Default = [&] { ++Table_Default; };
    F()->MiniCFG_View_Shown = [&] { return MiniCFG_View; };
    struct Row {
        const char* What;
        bool LPG;
        int Group, View;
        bool Default;
        int32_t Factors[5];   // pressure S, B, temperature S, B, supply
        int Cleared, Defaulted;
    };
    const Row Rows[] = {
        {"Default with LPG", true, 11, 0, true, {50, 30, 10, 10, 50}, 0, 0},
        {"Default with CNG", false, 11, 0, true, {50, 30, 20, 20, 50}, 0, 0},
        {"Clear", true, 11, 0, false, {0, 0, 0, 0, 0}, 0, 0},
        {"Clear in the table's group", true, 10, 0, false, {35, 35, 35, 35, 35}, 1, 0},
        {"Default in the table's group", false, 10, 0, true, {35, 35, 35, 35, 35}, 0, 1},
        {"Default from the compact table view", true, 11, 10, true, {35, 35, 35, 35, 35}, 0, 1},
        {"Clear from the compact table view", true, 11, 10, false, {35, 35, 35, 35, 35}, 1, 0},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.What);
        Set_Default_Configuration();
        Configuration.LPG_on = R.LPG;
        F()->RadioButton_CFG_CNG->Enabled(true);   // a model with natural gas
        Configuration.Infl_DiffPress_S = Configuration.Infl_DiffPress_B = 35;
        Configuration.Infl_TempGas_S = Configuration.Infl_TempGas_B = Configuration.Infl_Power = 35;
        F()->Show_Configuration(*F());
        F()->Options_Select(R.Group);
        MiniCFG_View = R.View;
        Table_Cleared = Table_Default = 0;
        Forget_Sends();
        (R.Default ? F()->Button_CFG_Infl_Default : F()->Button_CFG_Infl_Clear)->Click();
        const int32_t Now[5] = {Configuration.Infl_DiffPress_S, Configuration.Infl_DiffPress_B,
                                Configuration.Infl_TempGas_S, Configuration.Infl_TempGas_B, Configuration.Infl_Power};
        for (size_t I = 0; I < 5; ++I)
            EXPECT_EQ(Now[I], R.Factors[I]) << I;
        EXPECT_EQ(Table_Cleared, R.Cleared);
        EXPECT_EQ(Table_Default, R.Defaulted);
        // The factors' letters go together when they changed.
        EXPECT_EQ(CFG_Marked_Letters().size(), R.Group == 11 && R.View == 0 ? 5u : 0u);
    }
}

// ---------------------------------------------------------------- injectors

TEST_F(Configuration_Sensors, InjectorTypePhaseBarsAndYellowWire)
{
    struct Row {
        const char* Stored;
        const char* Typed;   // nullptr: the record shown only
        const char* Shown;
        bool Drive;
    };
    const Row Rows[] = {
        {Injector_Name_First, Injector_Name_Another, Injector_Name_Another, true},
        {Injector_Name_Another, "NO INJECTOR", Injector_Name_Another, true},
        {"NO INJECTOR", nullptr, "NO INJECTOR", false},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Stored);
        Configuration.GI_Type = R.Stored;
        CLB_Gas.Out[4] = 12345;
        F()->Show_Configuration(*F());
        // Showing a configuration keeps the curves; a type chosen here brings the defaults.
        EXPECT_EQ(CLB_Gas.Out[4], 12345);
        if (R.Typed) {
            Type(F()->ComboBox_CFG_Inject_Type, R.Typed);
            EXPECT_NE(CLB_Gas.Out[4], 12345);
        }
        EXPECT_EQ(F()->ComboBox_CFG_Inject_Type->Text(), R.Shown);
        EXPECT_EQ(F()->Inject_Start.Edit->Enabled(), R.Drive);
        // Winter/summer switching only for a preset type.
        EXPECT_EQ(F()->CheckBox_CFG_Inject_Auto->Enabled(), !R.Drive);
        if (R.Drive) {
            EXPECT_FALSE(F()->CheckBox_CFG_Inject_Auto->Checked());
        }
    }

    // One bar per cylinder; bars 7 and 8 show their phase but store and send nothing.
    UI_Ready = true;
    for (int N = 1; N <= 8; ++N) {
        SCOPED_TRACE(N);
        Inject_Num_Set(N);
        F()->Inject_Num_Apply(*F());
        ASSERT_EQ(F()->Injection_Bars.size(), static_cast<size_t>(N));
        Forget_Sends();
        const int32_t* Field = Injection_Pos_Field(N);
        const int32_t Before = Field ? *Field : 0;
        F()->Injection_Bars[static_cast<size_t>(N - 1)]->Position(Before == 50 ? 40 : 50);
        EXPECT_EQ(F()->Injection_Bar_Labels[static_cast<size_t>(N - 1)]->Caption(),
                  std::to_string((Before == 50 ? 40 : 50) * Inject_Max_Angle / 100) + " \xC2\xB0");
        if (N <= 6) {
            EXPECT_EQ(*Field, Before == 50 ? 40 : 50);
            EXPECT_EQ(Transmit_Now_Code, (N <= 2 ? 'Z' : N <= 4 ? '[' : '\\'));
        } else {
            EXPECT_EQ(Transmit_Now_Code, 0);
        }
    }
    // Cylinder 3 at 50 under "1 = 1": 180 degrees; on the virtual pulse of 20 ms, 10.0 ms.
    Inject_Num_Set(4);
    F()->Inject_Num_Apply(*F());
    Choose(F()->ComboBox_CFG_Injection_Type, 0);
    EXPECT_EQ(Configuration.GI_Div, 1);
    F()->Injection_Bars[2]->Position(50);
    EXPECT_EQ(F()->Injection_Bar_Labels[2]->Caption(), "180 \xC2\xB0");
    Configuration.Virtual_Injection_ON = true;
    Configuration.Virtual_Injection_Timer = 20;
    F()->Injection_Bar_Labels_Show();
    EXPECT_EQ(F()->Injection_Bar_Labels[2]->Caption(),
              Format_Fixed(10.0, 10, 1) + " " + Language_Text("Dim_MS_Short"));
    F()->Injection_Cylinder_MouseMove(3);
    EXPECT_NE(F()->Label_CFG_Help->Caption().find(F()->Injection_Bar_Labels[2]->Caption() + " 3 "),
              std::string::npos);

    // The yellow wire: an unknown code shows "Error"; the timed code shows its fields.
    Configuration.PG_Yellow_Wire = 3;
    F()->Yellow_Wire_Show();
    EXPECT_EQ(F()->ComboBox_CFG_PG_Yellow_Wire->Text(), "Error");
    EXPECT_FALSE(F()->PG_YW_Delay.Edit->Visible());
    EXPECT_EQ(F()->Yellow_Wire_Hint(), "");
    Forget_Sends();
    Choose(F()->ComboBox_CFG_PG_Yellow_Wire, 2);
    EXPECT_EQ(Configuration.PG_Yellow_Wire, 4);
    EXPECT_TRUE(F()->PG_YW_Delay.Edit->Visible());
    EXPECT_EQ(F()->Label_CFG_Help->Caption(), Language_Text("YW_Clear_Petrol_Sensor_Hint"));
    EXPECT_EQ(Transmit_Now_Code, 'M');
}

}  // namespace
