// The Configuration page after connecting to a controller whose configuration is not the
// factory one, with and without the VAC input: the page shows the controller's values in
// their units and marks them light red.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "data/Conversions.h"
#include "data/Injectors.h"
#include "e2e/Emulator_Window_Fixture.h"
#include "emulator/Emulator.h"
#include "protocol/Ident.h"

namespace {

using namespace main_test;

class Configuration_E2E : public Emulator_Window_Fixture {
protected:
    void SetUp() override
    {
        Emulator_Window_Fixture::SetUp();
        ASSERT_NO_FATAL_FAILURE(Start_Emulator());
        With_Table();
    }

};

struct Model {
    const char* Version;
    bool VAC;
};

class Configuration_E2E_Model : public Configuration_E2E, public ::testing::WithParamInterface<Model> {};

TEST_P(Configuration_E2E_Model, ThePageShowsTheControllersConfiguration)
{
    {
        const Model M = GetParam();
        emu::Ident_Settings Ident = Emu.Ident();
        Ident.Program_Version = M.Version;
        Emu.Set_Ident(Ident);
        // Pairs as the controller replies them: words low byte first.
        Emu.Set_Config_Pair('B', 0x78, 0x05);   // 1400 mV at 1 bar
        Emu.Set_Config_Pair('F', 0x08, 0x07);   // R.P.M. source 1800000
        Emu.Set_Config_Pair('I', 0xEF, 0x01);   // 45 degrees
        Emu.Set_Config_Pair('O', 20, 0x80);     // delay 20, time 0
        Emu.Set_Config_Pair(']', 3, 0x05);      // HANA
        Emu.Set_Config_Pair('j', 0x78, 0x05);   // supply support
        Emu.Set_Config_Pair('k', 45, 16);       // supply influence 35
        Emu.Set_Config_Pair('S', 8, 4);         // injector type 8, four cylinders
        Create();
        Start_Up();
        ASSERT_TRUE(Pump_Until([] { return Connected; }, 15000));
        ASSERT_TRUE(Pump_Until([&] { return Count_Of(0x28) >= 1; }, 15000));
        Pump_For(200);
        TForm_KardunGAS* F = Main();
        EXPECT_EQ(Has_VAC(), M.VAC);
        EXPECT_EQ(F->PG_Temper.Edit->Text(), "45");
        EXPECT_EQ(F->Pressure_1_Bar.Edit->Text(), "1.4");
        EXPECT_EQ(F->ComboBox_CFG_Map_Type->Text(), "ANOTHER");
        EXPECT_EQ(F->RPM_Source.Edit->Text(), "1800000");
        EXPECT_EQ(F->PG_Delay.Edit->Text(), "20");
        EXPECT_EQ(F->GP_Time.Edit->Text(), "0");
        EXPECT_EQ(F->ComboBox_CFG_Level_Type->Text(), "HANA");
        EXPECT_TRUE(F->CheckBox_CFG_Level_Invert->Checked());
        EXPECT_EQ(F->Infl_Power.Edit->Text(), Format_General(Configuration.Infl_Power / 100.0, 10));
        EXPECT_EQ(Configuration.Infl_Power, 35);
        for (TControl* C : std::initializer_list<TControl*>{F->PG_Temper.Edit, F->Pressure_1_Bar.Edit,
                                                            F->PG_Delay.Edit, F->GP_Time.Edit, F->Infl_Power.Edit})
            EXPECT_EQ(C->Color(), CFG_Changed_Colour) << C->Name();
        // A preset injector type: its name, one phase bar per cylinder, drive values 0 and greyed.
        EXPECT_EQ(F->ComboBox_CFG_Inject_Type->Text(), Injector_Names[8]);
        EXPECT_EQ(F->Injection_Bars.size(), 4u);
        EXPECT_EQ(F->Inject_PWM_Freq.Edit->Text(), "0");
        EXPECT_FALSE(F->Inject_PWM_Freq.Edit->Enabled());
        // The About page shows the controller's program.
        EXPECT_EQ(F->Edit_About_Ver->Text(), M.Version);
        if (const char* Keep = std::getenv("KARDUN_SHOT_DIR")) {
            F->Show();
            F->PageControl_KardunGAS->ActivePageIndex(1);
            for (int I = 1; I <= Main_Form_Configuration::Options_Count; ++I) {
                auto* Row = dynamic_cast<TLabel*>(F->Find_Component_Deep("Label_CFG_" + std::to_string(I)));
                ASSERT_NE(Row, nullptr);
                Row->Click();
                Pump_For(30);
                EXPECT_TRUE(ui::Render_To_PNG(F, std::string(Keep) + "/configuration_read_" + M.Version + "_" +
                                                     std::to_string(I) + ".png"));
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(VAC_And_Not, Configuration_E2E_Model,
                         ::testing::Values(Model{"2.07", true}, Model{"2.05", false}),
                         [](const ::testing::TestParamInfo<Model>& I) { return I.param.VAC ? "VAC" : "No_VAC"; });

}  // namespace
