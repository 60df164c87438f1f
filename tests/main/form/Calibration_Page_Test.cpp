// The Calibration page without a controller: its controls after start-up, the live values
// beside the chart, the Default and Receive buttons, the curve boxes, and the send-now
// timers of the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "data/Calibration.h"
#include "data/Conversions.h"
#include "main/Main_Test_Support.h"
#include "protocol/Param_Codecs.h"
#include "protocol/Write_Lists.h"

namespace {

using namespace main_test;

constexpr int Calibration_Page_Index = 2;

class Calibration_Page : public Main_Window_Fixture {
protected:
    void SetUp() override
    {
        Main_Window_Fixture::SetUp();
        With_Table();
        Create();
        F = Main();
    }
    TForm_KardunGAS* F = nullptr;
};

// A current-data reply in gas mode: 800 rpm, RPM factor 1.00, VAC factor 0.50, the three
// outputs at 512, 256 and 1023 counts, gas times 3000 and 3100 us on cylinders 1 and 2.
void Load_Live_Reply()
{
    std::memset(RX_Frame, 0, sizeof RX_Frame);
    uint8_t* X = RX_Frame;
    auto Word = [X](int At, uint16_t V) {
        X[At] = static_cast<uint8_t>(V & 0xFF);
        X[At + 1] = static_cast<uint8_t>(V >> 8);
    };
    X[0] = Mode_Controller;
    X[1] = 0x26;
    X[2] = 4;
    X[3] = 0x03;
    Word(8, 3000);
    Word(10, 3100);
    Word(24, 1875);
    X[26] = 128;
    X[27] = 64;
    Word(28, 600);
    Word(30, 550);
    Word(34, 409);
    Word(36, 456);
    Word(38, 228);
    Word(42, 1023);
    Word(44, 512);
    Word(52, 512);
    Word(54, 256);
    Word(56, 1023);
    Reply_Length = 62 + 3;
}

TEST_F(Calibration_Page, AfterStartUpThePageHoldsTheChartTheBoxesAsSetAndTheButtons)
{
    EXPECT_EQ(F->Image_CLB->Parent(), F->TabSheet_Calibration);
    EXPECT_EQ(F->Image_CLB->Width(), 545);
    EXPECT_EQ(F->Image_CLB->Height(), 361);
    EXPECT_EQ(F->CLB_Plot_Width, 485);
    EXPECT_EQ(F->CLB_Plot_Height, 321);
    // File buttons work without a controller, the transfer buttons do not.
    for (TButton* B : {F->Button_CLB_Default, F->Button_CLB_Load, F->Button_CLB_Save})
        EXPECT_TRUE(B->Enabled()) << B->Name();
    for (TButton* B : {F->Button_CLB_Receiv, F->Button_CLB_Transmitt})
        EXPECT_FALSE(B->Enabled()) << B->Name();
    // The boxes show the default settings: gas and the three TPS curves.
    EXPECT_TRUE(F->CheckBox_CLB_Diagram_Gas->Checked());
    EXPECT_TRUE(F->CheckBox_CLB_Diagram_TPS_1->Checked());
    EXPECT_TRUE(F->CheckBox_CLB_Diagram_TPS_3->Checked());
    EXPECT_FALSE(F->CheckBox_CLB_Diagram_RPM->Checked());
    EXPECT_FALSE(F->CheckBox_CLB_Diagram_VAC->Checked());
    EXPECT_FALSE(F->CheckBox_CLB_Diagram_VAC->Enabled());   // no VAC input known yet
    EXPECT_TRUE(F->CheckBox_CLB_Grid->Checked());
    // Display-only value boxes.
    for (TEdit* E : {F->Edit_x_pos_InVolt, F->Edit_y_pos_Gas, F->Edit_y_pos_OutVolt, F->Edit_CLB_InVolt,
                     F->Edit_CLB_Gas, F->Edit_CLB_OutVolt}) {
        EXPECT_EQ(E->Text(), "0") << E->Name();
        EXPECT_TRUE(E->ReadOnly()) << E->Name();
    }
    // Curve labels in the curves' colours ($BBGGRR).
    EXPECT_EQ(F->Label_CLB_Diagram_Gas->Font().Color(), 0x0000FF);
    EXPECT_EQ(F->Label_CLB_Diagram_RPM_Data->Font().Color(), 0xFF0000);
    EXPECT_EQ(F->Label_CLB_Diagram_TPS_2_Data->Font().Color(), 0x000080);
    EXPECT_EQ(F->Label_CLB_Diagram_VAC->Font().Color(), 0x808000);
    // No curve was left all zero, and none is selected.
    for (const CLB_Curve* C : {&CLB_Gas, &CLB_RPM, &CLB_TPS1, &CLB_TPS2, &CLB_TPS3, &CLB_VAC}) {
        EXPECT_NE(C->Out[CLB_Points - 1], 0);
        EXPECT_EQ(C->Selected, -1);
    }
}

TEST_F(Calibration_Page, TheLiveValuesShowOnlyWhileThePageIsShownAndTheChartFollows)
{
    int Draws = 0;
    F->Draw_Calibration_Chart = [&Draws] { ++Draws; };
    F->CheckBox_CLB_Diagram_VAC->Enabled(true);
    F->PageControl_KardunGAS->ActivePageIndex(0);
    Load_Live_Reply();
    Receiv_Current_Data();
    EXPECT_EQ(Draws, 0);
    EXPECT_EQ(F->Label_CLB_RPM_Dig->Caption(), "0");
    EXPECT_EQ(F->Label_CLB_Diagram_RPM_Data->Caption(), "");

    F->PageControl_KardunGAS->ActivePageIndex(Calibration_Page_Index);
    Receiv_Current_Data();
    EXPECT_EQ(Draws, 1);
    // The digits read as on the General page.
    const std::pair<TLabel*, TLabel*> Same[] = {
        {F->Label_CLB_RPM_Dig, F->Label_GEN_RPM_Dig},           {F->Label_CLB_Gas_Dig, F->Label_GEN_Gas_Dig},
        {F->Label_CLB_TPS_Dig, F->Label_GEN_TPS_Dig},           {F->Label_CLB_TempVap_Dig, F->Label_GEN_TempVap_Dig},
        {F->Label_CLB_TempGas_Dig, F->Label_GEN_TempGas_Dig},   {F->Label_CLB_TempCouple_Dig, F->Label_GEN_TempCouple_Dig},
        {F->Label_CLB_PressVap_Dig, F->Label_GEN_PressVap_Dig}, {F->Label_CLB_PressColl_Dig, F->Label_GEN_PressColl_Dig},
        {F->Label_CLB_PressDiff_Dig, F->Label_GEN_PressDiff_Dig}, {F->Label_CLB_Detonation_Dig, F->Label_GEN_Detonation_Dig},
    };
    for (const auto& [Page, General] : Same) {
        EXPECT_FALSE(Page->Caption().empty()) << Page->Name();
        EXPECT_EQ(Page->Caption(), General->Caption()) << Page->Name();
    }
    EXPECT_EQ(F->Label_CLB_RPM_Dig->Caption(), "800");
    EXPECT_EQ(F->Label_CLB_TempCouple_Dig->Caption(), "500");
    // Curve values: factors x 10000, outputs in 0.01 V (512, 256, 1023 counts).
    EXPECT_EQ(F->Label_CLB_Diagram_RPM_Data->Caption(), Format_Factor(10000));
    EXPECT_EQ(F->Label_CLB_Diagram_VAC_Data->Caption(), Format_Factor(5000));
    EXPECT_EQ(F->Label_CLB_Diagram_TPS_1_Data->Caption(), Format_Output(250));
    EXPECT_EQ(F->Label_CLB_Diagram_TPS_2_Data->Caption(), Format_Output(125));
    EXPECT_EQ(F->Label_CLB_Diagram_TPS_3_Data->Caption(), Format_Output(500));

    // Without the VAC input its value is not shown.
    F->CheckBox_CLB_Diagram_VAC->Enabled(false);
    F->Label_CLB_Diagram_VAC_Data->Caption("");
    Receiv_Current_Data();
    EXPECT_EQ(F->Label_CLB_Diagram_VAC_Data->Caption(), "");
    // An image without a plot draws nothing.
    F->CLB_Plot_Height = 0;
    Receiv_Current_Data();
    EXPECT_EQ(Draws, 2);
}

// Default gives the shown curves their defaults; the others keep what they hold.
TEST_F(Calibration_Page, DefaultResetsTheShownCurvesOnlyAndClearsTheSelection)
{
    struct Row {
        const char* Name;
        std::array<bool, 6> Shown;   // gas, TPS 1, TPS 2, TPS 3, RPM, VAC
    };
    const Row Rows[] = {
        {"RPM alone", {false, false, false, false, true, false}},
        {"VAC alone", {false, false, false, false, false, true}},
        {"gas and TPS 1", {true, true, false, false, false, false}},
        {"TPS 2 and 3", {false, false, true, true, false, false}},
        {"nothing shown", {false, false, false, false, false, false}},
    };
    CLB_Curve* Curves[6] = {&CLB_Gas, &CLB_TPS1, &CLB_TPS2, &CLB_TPS3, &CLB_RPM, &CLB_VAC};
    const std::array<int32_t, 9> Input{0, 100, 200, 300, 400, 500, 700, 900, 1023};
    const std::array<int32_t, 9> RPM{0, 500, 1000, 1500, 2000, 2500, 3000, 4000, 5000};
    const std::array<int32_t, 9> VAC{0, 200, 400, 600, 800, 1000, 1300, 1500, 1800};
    const int32_t TPS_Start[3] = {0, 50, 100};
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Name);
        bool* Settings_Of[6] = {&Settings.CLB_Diagram_GAS,   &Settings.CLB_Diagram_TPS_1,
                                &Settings.CLB_Diagram_TPS_2, &Settings.CLB_Diagram_TPS_3,
                                &Settings.CLB_Diagram_RPM,   &Settings.CLB_Diagram_VAC};
        const CLB_Curve Edited = [] {
            CLB_Curve C;
            for (int N = 0; N < CLB_Points; ++N) {
                C.In[N] = 7 + N;
                C.Out[N] = 1234;
            }
            C.Selected = 3;
            C.Anchor = 2;
            return C;
        }();
        for (int I = 0; I < 6; ++I) {
            *Settings_Of[I] = R.Shown[I];
            *Curves[I] = Edited;
        }
        F->Button_CLB_Default->Click();
        for (int I = 0; I < 6; ++I) {
            const CLB_Curve& C = *Curves[I];
            EXPECT_EQ(C.Selected, -1) << I;
            EXPECT_EQ(C.Anchor, -1) << I;
            if (!R.Shown[I]) {
                EXPECT_EQ(C.In, Edited.In) << I;
                EXPECT_EQ(C.Out, Edited.Out) << I;
                continue;
            }
            if (I == 4 || I == 5) {
                EXPECT_EQ(C.In, I == 4 ? RPM : VAC);
                for (int32_t Out : C.Out)
                    EXPECT_EQ(Out, 10000);
            } else {
                EXPECT_EQ(C.In, Input) << I;
                if (I > 0) {
                    EXPECT_EQ(C.Out[0], TPS_Start[I - 1]) << I;
                }
                for (int N = 1; N < CLB_Points; ++N)
                    EXPECT_GT(C.Out[N], C.Out[N - 1]) << I << " point " << N;
            }
        }
    }
}

// The curve boxes: gas and TPS share the chart, RPM and VAC are shown alone, and some
// curve is always shown.
TEST_F(Calibration_Page, ACheckedCurveBoxUnchecksTheCurvesOfOtherScales)
{
    struct Row {
        const char* Name;
        TCheckBox* Main_Form_Calibration::*Box;
        bool Checked;
        std::array<bool, 6> Shown;   // settings after: gas, TPS 1, TPS 2, TPS 3, RPM, VAC
    };
    using P = Main_Form_Calibration;
    const Row Rows[] = {
        {"VAC checked", &P::CheckBox_CLB_Diagram_VAC, true, {false, false, false, false, false, true}},
        {"gas checked", &P::CheckBox_CLB_Diagram_Gas, true, {true, false, false, false, false, false}},
        {"TPS 2 checked", &P::CheckBox_CLB_Diagram_TPS_2, true, {true, false, true, false, false, false}},
        {"RPM checked", &P::CheckBox_CLB_Diagram_RPM, true, {false, false, false, false, true, false}},
        {"last one unchecked", &P::CheckBox_CLB_Diagram_RPM, false, {true, false, false, false, false, false}},
        {"TPS 1 checked", &P::CheckBox_CLB_Diagram_TPS_1, true, {true, true, false, false, false, false}},
        {"gas unchecked", &P::CheckBox_CLB_Diagram_Gas, false, {false, true, false, false, false, false}},
    };
    F->CheckBox_CLB_Diagram_VAC->Enabled(true);
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Name);
        F->Edit_CLB_Gas->Text("1.25");
        (F->*R.Box)->Checked(R.Checked);
        const std::array<bool, 6> Settings_Now{Settings.CLB_Diagram_GAS,   Settings.CLB_Diagram_TPS_1,
                                               Settings.CLB_Diagram_TPS_2, Settings.CLB_Diagram_TPS_3,
                                               Settings.CLB_Diagram_RPM,   Settings.CLB_Diagram_VAC};
        EXPECT_EQ(Settings_Now, R.Shown);
        const std::array<bool, 6> Boxes{F->CheckBox_CLB_Diagram_Gas->Checked(),   F->CheckBox_CLB_Diagram_TPS_1->Checked(),
                                        F->CheckBox_CLB_Diagram_TPS_2->Checked(), F->CheckBox_CLB_Diagram_TPS_3->Checked(),
                                        F->CheckBox_CLB_Diagram_RPM->Checked(),   F->CheckBox_CLB_Diagram_VAC->Checked()};
        EXPECT_EQ(Boxes, R.Shown);
        EXPECT_EQ(F->Edit_CLB_Gas->Text(), "0");
    }
    // The captions over the value boxes follow the last curve checked: TPS 1.
    EXPECT_EQ(F->Label_CLB_OutVolt_Point->Caption(), " " + Language_Text("Label_GD_Diagram_Output") + ", " +
                                                         Language_Text("Dim_Volt_Short") + " ");
    F->CheckBox_CLB_Diagram_RPM->Checked(true);
    EXPECT_EQ(F->Label_CLB_InVolt_Point->Caption(), Language_Text("Dim_RPM_Short"));
    EXPECT_EQ(F->Label_CLB_OutVolt_Point->Caption(), " " + Language_Text("Label_GD_Diagram_RPM_K"));
    // A click on a curve's label toggles its box; the grid box keeps its setting.
    F->Label_CLB_Diagram_TPS_3->Click();
    EXPECT_TRUE(Settings.CLB_Diagram_TPS_3);
    EXPECT_FALSE(Settings.CLB_Diagram_RPM);
    F->Label_CLB_Grid->Click();
    EXPECT_FALSE(Settings.CLB_View_Grid);
}

TEST_F(Calibration_Page, ReceiveAsksTheCurvesWithOrWithoutTheConfigurationWhenConnected)
{
    struct Row {
        bool Link;
        bool Save_Load_Data;
        uint8_t Request;
    };
    const Row Rows[] = {{false, true, 0}, {false, false, 0}, {true, true, 3}, {true, false, 5}};
    for (const Row& R : Rows) {
        SCOPED_TRACE(testing::Message() << "connected " << R.Link << " save/load " << R.Save_Load_Data);
        Connected = R.Link;
        Settings.Save_Load_Data = R.Save_Load_Data;
        Request_Code = 0;
        CFG_Loaded_For_Write = true;
        F->Button_CLB_ReceivClick(F->Button_CLB_Receiv);
        EXPECT_EQ(Request_Code, R.Request);
        EXPECT_FALSE(CFG_Loaded_For_Write);
    }
    Connected = false;
}

// The send-now timers, fired directly: the marked letters are requested once and their
// controls disabled, and a second later every parameter's controls are usable again.
TEST_F(Calibration_Page, TheSendNowTimerRequestsTheMarkedLettersOnceAndTheSaveTimerEnablesAll)
{
    std::vector<std::pair<std::string, bool>> Changes;
    CFG_Codec_Hooks.Enable_Control = [&Changes](const std::string& Name, bool On) {
        Changes.emplace_back(Name, On);
    };
    CFG_Letter_Mark('C');
    CFG_Letter_Mark('B');
    F->Timer_Transmit_Now->Enabled(true);
    F->Timer_Transmit_Now->OnTimer(F->Timer_Transmit_Now);
    EXPECT_FALSE(F->Timer_Transmit_Now->Enabled());
    EXPECT_TRUE(F->Timer_Transmit_Save->Enabled());
    EXPECT_EQ(Request_Code, 'B');
    // Both letters' controls, and only theirs, were disabled.
    std::vector<std::pair<std::string, bool>> Expected;
    for (uint8_t Letter : {'B', 'C'})
        for (const std::string& Name : CFG_Param_Controls(Letter))
            Expected.emplace_back(Name, false);
    ASSERT_FALSE(Expected.empty());
    std::sort(Changes.begin(), Changes.end());
    Changes.erase(std::unique(Changes.begin(), Changes.end()), Changes.end());
    std::sort(Expected.begin(), Expected.end());
    EXPECT_EQ(Changes, Expected);
    // The list the sequencer builds for the request holds both letters once.
    Build_Changed_List();
    std::vector<uint8_t> List(Block_List.Code + 1, Block_List.Code + 1 + Block_List.Count);
    EXPECT_EQ(List, (std::vector<uint8_t>{'C', 'g', 'B', 'A'}));

    Changes.clear();
    F->Timer_Transmit_Save->OnTimer(F->Timer_Transmit_Save);
    EXPECT_FALSE(F->Timer_Transmit_Save->Enabled());
    ASSERT_FALSE(Changes.empty());
    for (const auto& [Name, On] : Changes)
        EXPECT_TRUE(On) << Name;
    EXPECT_EQ(Changes.size(), [] {
        size_t N = 0;
        for (int L = 'A'; L <= 't'; ++L)
            N += CFG_Param_Controls(static_cast<uint8_t>(L)).size();
        return N;
    }());

    // Nothing changed since: a request already waiting stays.
    Write_Lists_Reset();
    Request_Code = 30;
    F->Timer_Transmit_Now->OnTimer(F->Timer_Transmit_Now);
    EXPECT_EQ(Request_Code, 30);
    Request_Code = 0;
    CFG_Codec_Hooks.Enable_Control = nullptr;
}

}  // namespace
