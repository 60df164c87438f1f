// The Calibration page without a controller: the Default button and the curve boxes.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "data/Calibration.h"
#include "main/Main_Test_Support.h"

namespace {

using namespace main_test;

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
        CLB_Curve Edited;
        Edited.In.fill(7);
        Edited.Out.fill(1234);
        Edited.Selected = 3;
        Edited.Anchor = 2;
        for (int I = 0; I < 6; ++I) {
            *Settings_Of[I] = R.Shown[I];
            *Curves[I] = Edited;
        }
        F->Button_CLB_Default->Click();
        for (int I = 0; I < 6; ++I) {
            const CLB_Curve& C = *Curves[I];
            EXPECT_TRUE(C.Selected == -1 && C.Anchor == -1) << I;
            if (!R.Shown[I]) {
                EXPECT_TRUE(C.In == Edited.In && C.Out == Edited.Out) << I;
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
    TCheckBox* P::*const Boxes[6] = {&P::CheckBox_CLB_Diagram_Gas,   &P::CheckBox_CLB_Diagram_TPS_1,
                                     &P::CheckBox_CLB_Diagram_TPS_2, &P::CheckBox_CLB_Diagram_TPS_3,
                                     &P::CheckBox_CLB_Diagram_RPM,   &P::CheckBox_CLB_Diagram_VAC};
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
    const Settings_Class& S = Settings;
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Name);
        F->Edit_CLB_Gas->Text("1.25");
        (F->*R.Box)->Checked(R.Checked);
        EXPECT_EQ((std::array<bool, 6>{S.CLB_Diagram_GAS, S.CLB_Diagram_TPS_1, S.CLB_Diagram_TPS_2,
                                       S.CLB_Diagram_TPS_3, S.CLB_Diagram_RPM, S.CLB_Diagram_VAC}),
                  R.Shown);
        for (size_t I = 0; I < 6; ++I)
            EXPECT_EQ((F->*Boxes[I])->Checked(), R.Shown[I]) << I;
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

}  // namespace
