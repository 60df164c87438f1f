// The Calibration page and the send-now path against the controller emulator, through the
// real port: the page's live values after the controller was read, and changed letters
// leaving once when the send-now timer fires.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "data/Conversions.h"
#include "emulator/Emulator.h"
#include "main/Main_Test_Support.h"
#include "protocol/Write_Lists.h"

namespace {

using namespace main_test;

class Calibration_E2E : public Main_Window_Fixture {
protected:
    void SetUp() override
    {
        Main_Window_Fixture::SetUp();
        ui::Hooks.On_Unexpected_Dialog = [](const std::string& What) { ADD_FAILURE() << What; };
        std::string Error;
        ASSERT_TRUE(Emu.Start(&Error)) << Error;
        const std::string Link = Folder->File("ttyEMU");
        ASSERT_TRUE(Emu.Set_Link_Path(Link, &Error)) << Error;
        Folder->Write("KardunGD.ini", Settings_With_Port(Link));
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
    void TearDown() override
    {
        W.reset();
        Emu.Stop();
        Main_Window_Fixture::TearDown();
    }
    size_t Count_Of(uint8_t Command) const
    {
        size_t N = 0;
        for (uint8_t C : Emu.Commands())
            N += C == Command;
        return N;
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
    emu::Controller_Emulator Emu;
};

TEST_F(Calibration_E2E, AfterAReadThePageShowsTheControllersLiveValues)
{
    Create();
    Start_Up();
    ASSERT_TRUE(Pump_Until([] { return Connected; }, 15000));
    TForm_KardunGAS* F = Main();
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

    // The page as a technician sees it, kept when a folder for pictures is named.
    // TPS 1 shown again: the value rows take the input and output captions.
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
}

TEST_F(Calibration_E2E, ChangedLettersLeaveOnceWhenTheSendNowTimerFires)
{
    Create();
    Start_Up();
    ASSERT_TRUE(Pump_Until([] { return Connected; }, 15000));
    UI_Ready = true;
    TForm_KardunGAS* F = Main();
    ASSERT_TRUE(Wait_Polls(2));
    ASSERT_TRUE(Written_Lists().empty());

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
        // A second later the controls are usable again.
        EXPECT_TRUE(F->Timer_Transmit_Save->Enabled());
        F->Timer_Transmit_Save->OnTimer(F->Timer_Transmit_Save);
        EXPECT_FALSE(F->Timer_Transmit_Save->Enabled());
    }
}

}  // namespace
