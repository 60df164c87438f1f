// The sensor, influence-factor and injector groups of the Configuration page at work: level
// presets, marks and full-tank reference, the LED row, the MAP presets, the factor limits
// with Clear and Default, the injector type, phase bars and yellow wire.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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
    static void Type(TComboBox* Combo, const std::string& Text)
    {
        Combo->Text(Text);
        Combo->User_Typed();
    }
    std::string Leds() { return Level_Led_Row(*F()); }
};

TEST_F(Configuration_Sensors, LevelPresetsMarksFullTankReferenceAndMAPType)
{
    // A name that is no preset puts back the stored type and leaves its marks.
    for (const char* Typed : {"AEB 1050", "NO SENSOR"}) {
        SCOPED_TRACE(Typed);
        Forget_Sends();
        Type(F()->ComboBox_CFG_Level_Type, Typed);
        EXPECT_EQ(F()->ComboBox_CFG_Level_Type->Text(), "AEB 1050");
        EXPECT_TRUE(Configuration.GL_Invert_ON && !Configuration.GL_90_ON);
        const int32_t Marks[5] = {806, 512, 306, 213, 47};
        const double Volts[5] = {3.94, 2.50, 1.50, 1.04, 0.23};
        for (size_t I = 0; I < 5; ++I) {
            EXPECT_EQ(F()->TrackBar_CFG_Level[I]->Position(), Marks[I]);
            EXPECT_EQ(F()->Edit_CFG_Level[I + 1]->Text(), Format_Fixed(Volts[I], 10, 2));
        }
        EXPECT_EQ(Transmit_Now_Code, ']');
    }
    // The software level: its own panel; the bars change no mark.
    Type(F()->ComboBox_CFG_Level_Type, "SOFTWARE");
    EXPECT_TRUE(F()->Panel_CFG_Gas_Level_Soft->Visible() && !F()->Panel_CFG_Gas_Level_Switch->Visible());
    const int32_t Mark_3 = Configuration.GL_Pos_3;
    F()->TrackBar_CFG_Level[2]->Position(Mark_3 + 100);
    EXPECT_EQ(Configuration.GL_Pos_3, Mark_3);
    // Every full-tank position shows itself again from the stored reference.
    TUpDown* Etalon = F()->Level_Etalon.UpDown;
    for (int Position = 0; Position <= 1200; ++Position) {
        Click(Etalon, Position);
        F()->Level_Sensor_Show();
        ASSERT_EQ(Etalon->Position(), Position);
        if (Position == 10) {
            EXPECT_EQ(Configuration.GL_Etalon, 54);
        }
    }
    // The MAP preset is recognised within 30 mV of its 1-bar output.
    for (const auto& [Millivolts, Shown] : {std::pair{1284, "ANOTHER"}, std::pair{1285, "MAP 4 Bar"},
                                            std::pair{1345, "MAP 4 Bar"}, std::pair{1346, "ANOTHER"}}) {
        Click(F()->Pressure_1_Bar.UpDown, Millivolts);
        EXPECT_EQ(F()->ComboBox_CFG_Map_Type->Text(), Shown) << Millivolts;
    }
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
        {900, true, 4, "1000000"}, {300, false, 4, "0000110"}, {900, false, 4, "0111110"},
        {10, false, 4, "1000000"},
        // Outside gas mode the row keeps the work mode's LEDs.
        {300, true, 1, "0000001"},
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
    EXPECT_EQ(Leds(), "0000001");
    for (const char* Blink : {"0000011", "0000001"}) {
        F()->Timer_Led_Automat->Fire_Tick();
        EXPECT_EQ(Leds(), Blink);
    }
}

TEST_F(Configuration_Sensors, FactorsKeepTheirCoefficientLimitAndClearAndDefaultFollowTheGroupShown)
{
    // A temperature support lowered to 10 takes its factors into -62..62 by steps of 5.
    Configuration.Supp_TempGas = 40;
    Configuration.Infl_TempGas_S = 95;
    Configuration.Infl_TempGas_B = -95;
    F()->Show_Configuration(*F());
    F()->Supp_TempGas.Edit->Text("10");
    EXPECT_EQ(Configuration.Infl_TempGas_S, 60);
    EXPECT_EQ(Configuration.Infl_TempGas_B, -60);
    EXPECT_EQ(F()->Infl_TempGas_S.UpDown->Min(), -62);
    EXPECT_EQ(F()->Infl_TempGas_S.UpDown->Max(), 62);
    // A file's support of 0: a click on its factor stores 0.
    Configuration.Supp_TempGas = 0;
    F()->Show_Configuration(*F());
    Click(F()->Infl_TempGas_S.UpDown, 35);
    EXPECT_EQ(Configuration.Infl_TempGas_S, 0);

    int Cleared = 0;
    F()->Table_Clear_All = [&] { ++Cleared; };
    struct Row {
        const char* What;
        bool LPG;
        int Group;
        bool Default;
        int32_t Factors[5];   // pressure S, B, temperature S, B, supply
        int Cleared;
    };
    const Row Rows[] = {
        {"Default with LPG", true, 11, true, {50, 30, 10, 10, 50}, 0},
        {"Default with CNG", false, 11, true, {50, 30, 20, 20, 50}, 0},
        {"Clear", true, 11, false, {0, 0, 0, 0, 0}, 0},
        {"Clear in the table's group", true, 10, false, {35, 35, 35, 35, 35}, 1},
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
        Cleared = 0;
        (R.Default ? F()->Button_CFG_Infl_Default : F()->Button_CFG_Infl_Clear)->Click();
        const Configuration_Class& C = Configuration;
        EXPECT_EQ((std::vector<int32_t>{C.Infl_DiffPress_S, C.Infl_DiffPress_B, C.Infl_TempGas_S, C.Infl_TempGas_B,
                                        C.Infl_Power, Cleared}),
                  (std::vector<int32_t>{R.Factors[0], R.Factors[1], R.Factors[2], R.Factors[3], R.Factors[4],
                                        R.Cleared}));
    }
}

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
        {"NO INJECTOR", nullptr, "NO INJECTOR", false},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Stored);
        Configuration.GI_Type = R.Stored;
        CLB_Gas.Out[4] = 12345;
        // Showing a configuration keeps the curves; a type chosen here brings the defaults.
        F()->Show_Configuration(*F());
        EXPECT_EQ(CLB_Gas.Out[4], 12345);
        if (R.Typed) {
            Type(F()->ComboBox_CFG_Inject_Type, R.Typed);
            EXPECT_NE(CLB_Gas.Out[4], 12345);
        }
        EXPECT_EQ(F()->ComboBox_CFG_Inject_Type->Text(), R.Shown);
        EXPECT_EQ(F()->Inject_Start.Edit->Enabled(), R.Drive);
        // Winter/summer switching only for a preset type.
        EXPECT_EQ(F()->CheckBox_CFG_Inject_Auto->Enabled(), !R.Drive);
    }
    // One bar per cylinder; bars 7 and 8 show their phase but store and send nothing.
    Choose(F()->ComboBox_CFG_Injection_Type, 0);
    EXPECT_EQ(Configuration.GI_Div, 1);
    const uint8_t Letter[9] = {0, 'Z', 'Z', '[', '[', '\\', '\\', 0, 0};   // by the bar moved
    for (int N = 1; N <= 8; ++N) {
        SCOPED_TRACE(N);
        Inject_Num_Set(N);
        F()->Inject_Num_Apply(*F());
        ASSERT_EQ(F()->Injection_Bars.size(), static_cast<size_t>(N));
        Forget_Sends();
        const int32_t Before = Configuration.GI_Pos_1;
        // Moved to 50 (to 25 from 50): 180 or 90 degrees of the 360 of "1 = 1".
        const int Phase = F()->Injection_Bars.back()->Position() == 50 ? 25 : 50;
        F()->Injection_Bars.back()->Position(Phase);
        EXPECT_EQ(F()->Injection_Bar_Labels.back()->Caption(), (Phase == 50 ? "180" : "90") + std::string(" \xB0"));
        EXPECT_EQ(N <= 6 ? *Injection_Pos_Field(N) : Configuration.GI_Pos_1, N <= 6 ? Phase : Before);
        EXPECT_EQ(Transmit_Now_Code, Letter[N]);
    }
    // The yellow wire: an unknown code shows "Error" without the timed code's fields.
    Configuration.PG_Yellow_Wire = 3;
    F()->Yellow_Wire_Show();
    EXPECT_EQ(F()->ComboBox_CFG_PG_Yellow_Wire->Text(), "Error");
    EXPECT_FALSE(F()->PG_YW_Delay.Edit->Visible());
    EXPECT_EQ(F()->Yellow_Wire_Hint(), "");
}

}  // namespace
