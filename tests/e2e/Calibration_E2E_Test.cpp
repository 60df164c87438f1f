// The Calibration page and the send-now path against the controller emulator, through the
// real port: the page after start-up, its live values after the controller was read, and
// changed letters leaving once when the send-now timer fires.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "data/Calibration.h"
#include "data/Conversions.h"
#include "e2e/Emulator_Window_Fixture.h"
#include "emulator/Emulator.h"
#include "protocol/Param_Codecs.h"
#include "protocol/Write_Lists.h"

namespace {

using namespace main_test;

class Calibration_E2E : public Emulator_Window_Fixture {
protected:
    void SetUp() override
    {
        Emulator_Window_Fixture::SetUp();
        ui::Hooks.On_Unexpected_Dialog = [](const std::string& What) { ADD_FAILURE() << What; };
        ASSERT_NO_FATAL_FAILURE(Start_Emulator());
        With_Table();
        // A steady engine on gas: 800 rpm, factors 1.00 and 0.50, outputs 512, 256, 1023.
        emu::Live_Settings Live = Emu.Live();
        Live.Moving = false;
        Live.Factor_RPM = 128;
        Live.Factor_VAC = 64;
        Live.Out = {512, 256, 1023};
        Emu.Set_Live(Live);
        Emu.Set_Work_Mode(4);
    }
    bool Wait_Polls(size_t More)
    {
        const size_t Target = Count_Of(0x26) + More;
        return Pump_Until([&] { return Count_Of(0x26) >= Target; }, 15000);
    }
    // The list writes (0x2F) received, each as its letters.
    std::vector<emu::Bytes> Written_Lists() const
    {
        std::vector<emu::Bytes> Lists;
        for (const emu::Log_Entry& E : Emu.Log()) {
            if (!E.complete || E.request.size() < 3 || E.request[1] != 0x2F)
                continue;
            emu::Bytes Letters;
            for (size_t I = 2; I + 1 < E.request.size(); I += 3)
                Letters.push_back(E.request[I]);
            Lists.push_back(Letters);
        }
        return Lists;
    }
};

TEST_F(Calibration_E2E, AfterAReadThePageShowsTheLiveValuesAndChangedLettersLeaveOnce)
{
    Create();
    TForm_KardunGAS* F = Main();
    // After start-up: the chart's image and plot, the boxes as the default settings have
    // them (gas, TPS 1..3, grid), VAC unusable until a model with the VAC input, the curve
    // labels in the curves' colours ($BBGGRR), no curve all zero or selected.
    EXPECT_EQ((std::array<int, 4>{F->Image_CLB->Width(), F->Image_CLB->Height(), F->CLB_Plot_Width,
                                  F->CLB_Plot_Height}),
              (std::array<int, 4>{545, 361, 485, 321}));
    EXPECT_EQ((std::array<bool, 8>{F->CheckBox_CLB_Diagram_Gas->Checked(), F->CheckBox_CLB_Diagram_TPS_1->Checked(),
                                   F->CheckBox_CLB_Diagram_TPS_2->Checked(), F->CheckBox_CLB_Diagram_TPS_3->Checked(),
                                   F->CheckBox_CLB_Diagram_RPM->Checked(), F->CheckBox_CLB_Diagram_VAC->Checked(),
                                   F->CheckBox_CLB_Grid->Checked(), F->CheckBox_CLB_Diagram_VAC->Enabled()}),
              (std::array<bool, 8>{true, true, true, true, false, false, true, false}));
    EXPECT_EQ((std::array<TColor, 3>{F->Label_CLB_Diagram_Gas->Font().Color(), F->Label_CLB_Diagram_TPS_2_Data->Font().Color(),
                                     F->Label_CLB_Diagram_VAC->Font().Color()}),
              (std::array<TColor, 3>{0x0000FF, 0x000080, 0x808000}));
    for (const CLB_Curve* C : {&CLB_Gas, &CLB_RPM, &CLB_TPS1, &CLB_TPS2, &CLB_TPS3, &CLB_VAC})
        EXPECT_TRUE(C->Out[CLB_Points - 1] != 0 && C->Selected == -1);
    EXPECT_FALSE(F->Button_CLB_Receiv->Enabled() || F->Button_CLB_Transmitt->Enabled());

    Start_Up();
    ASSERT_TRUE(Pump_Until([] { return Connected; }, 15000));
    UI_Ready = true;
    // Another page is shown: the page's values wait.
    F->PageControl_KardunGAS->ActivePageIndex(0);
    ASSERT_TRUE(Wait_Polls(2));
    EXPECT_EQ(F->Label_CLB_RPM_Dig->Caption(), "0");
    F->PageControl_KardunGAS->ActivePageIndex(2);
    ASSERT_TRUE(Wait_Polls(2));
    Pump_For(100);
    // The emulator's model has the VAC input: its box is usable and its factor shown.
    EXPECT_TRUE(F->CheckBox_CLB_Diagram_VAC->Enabled());
    EXPECT_EQ(F->Label_CLB_RPM_Dig->Caption(), "800");
    EXPECT_EQ(F->Label_CLB_Gas_Dig->Caption(), Format_Gas_Time(3050));
    EXPECT_EQ(F->Label_CLB_Diagram_RPM_Data->Caption(), Format_Factor(10000));
    EXPECT_EQ(F->Label_CLB_Diagram_VAC_Data->Caption(), Format_Factor(5000));
    EXPECT_EQ(F->Label_CLB_Diagram_TPS_1_Data->Caption(), Format_Output(250));
    EXPECT_EQ(F->Label_CLB_Diagram_TPS_2_Data->Caption(), Format_Output(125));
    EXPECT_EQ(F->Label_CLB_Diagram_TPS_3_Data->Caption(), Format_Output(500));
    for (TLabel* L : {F->Label_CLB_TempVap_Dig, F->Label_CLB_PressVap_Dig, F->Label_CLB_PressDiff_Dig,
                      F->Label_CLB_Detonation_Dig})
        EXPECT_EQ(L->Caption(), dynamic_cast<TLabel*>(F->Find_Component_Deep(
                                    "Label_GEN_" + L->Name().substr(10)))->Caption())
            << L->Name();
    EXPECT_TRUE(F->Button_CLB_Receiv->Enabled());
    EXPECT_TRUE(F->Button_CLB_Transmitt->Enabled());

    // The page as a technician sees it, kept when a folder for pictures is named; TPS 1
    // shown again gives the value rows the input and output captions.
    F->CheckBox_CLB_Diagram_TPS_1->Checked(false);
    F->CheckBox_CLB_Diagram_TPS_1->Checked(true);
    F->Show();
    Pump_For(50);
    const std::string Png = Folder->File("calibration.png");
    ASSERT_TRUE(ui::Render_To_PNG(F, Png));
    if (const char* Keep = std::getenv("KARDUN_SHOT_DIR")) {
        std::error_code Ignored;
        std::filesystem::copy_file(Png, std::string(Keep) + "/calibration.png",
                                   std::filesystem::copy_options::overwrite_existing, Ignored);
    }
    TBitmap Shot;
    ASSERT_TRUE(Shot.LoadFromFile(Png));
    EXPECT_GE(Shot.Width(), 780);

    // Changed letters leave once when the send-now timer fires (fired here directly).
    ASSERT_TRUE(Written_Lists().empty());
    // The page controls of the letters, by name: disabled while on their way.
    std::set<std::string> Disabled;
    CFG_Codec_Hooks.Enable_Control = [&Disabled](const std::string& Name, bool On) {
        if (On)
            Disabled.erase(Name);
        else
            Disabled.insert(Name);
    };

    struct Row {
        std::vector<uint8_t> Changed;   // in the order of the changes
        emu::Bytes List;                // the one list written
        uint8_t Announced;              // the length announced before it
    };
    const Row Rows[] = {
        {{'B'}, {'B', 'A'}, 9},
        {{'C', 'h', 'i', 'k'}, {'C', 'g', 'h', 'i', 'k', 'A'}, 21},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(testing::Message() << R.Changed.size() << " letters");
        // Each change marks its letter and starts the timer afresh; it then fires once.
        for (uint8_t Letter : R.Changed) {
            CFG_Letter_Mark(Letter);
            F->Timer_Transmit_Now->Enabled(false);
            F->Timer_Transmit_Now->Enabled(true);
        }
        Emu.Clear_Log();
        F->Timer_Transmit_Now->OnTimer(F->Timer_Transmit_Now);
        EXPECT_FALSE(F->Timer_Transmit_Now->Enabled());
        ASSERT_TRUE(Pump_Until([&] { return !Written_Lists().empty(); }, 15000));
        // Polls go on; the list is not written again.
        ASSERT_TRUE(Wait_Polls(3));
        const std::vector<emu::Bytes> Lists = Written_Lists();
        ASSERT_EQ(Lists.size(), 1u);
        EXPECT_EQ(Lists[0], R.List);
        std::vector<uint8_t> Announces;
        for (const emu::Log_Entry& E : Emu.Log())
            if (E.complete && E.request.size() > 3 && E.request[1] == 0x25)
                Announces.push_back(E.request[3]);
        EXPECT_EQ(Announces, std::vector<uint8_t>{R.Announced});
        EXPECT_TRUE(CFG_Marked_Letters().empty());
        std::set<std::string> Of_Letters;
        for (uint8_t Letter : R.Changed)
            Of_Letters.insert(CFG_Param_Controls(Letter).begin(), CFG_Param_Controls(Letter).end());
        EXPECT_FALSE(Of_Letters.empty());
        EXPECT_EQ(Disabled, Of_Letters);
        // A second later the controls are usable again.
        EXPECT_TRUE(F->Timer_Transmit_Save->Enabled());
        F->Timer_Transmit_Save->OnTimer(F->Timer_Transmit_Save);
        EXPECT_FALSE(F->Timer_Transmit_Save->Enabled());
        EXPECT_TRUE(Disabled.empty());
    }
    CFG_Codec_Hooks.Enable_Control = nullptr;
}

}  // namespace
