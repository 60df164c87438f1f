// The RPM sensitivity window's arithmetic: the levels both ways, the sweep's timing, the
// range choice; and the plot's safety on a narrow image.
#include <gtest/gtest.h>

#include <vector>

#include "main/Main_Test_Support.h"
#include "windows/RPM_Window.h"

namespace {

TEST(RPM_Levels, LevelOfATriggerValueAtItsBoundaries)
{
    struct Row {
        int32_t Value;
        int Current;
        int Level;
    };
    const Row Rows[] = {
        {0, 17, 17},     {-5, 17, 17},    {2501, 17, 17},  {1, 0, 1},      {10, 0, 10},
        {11, 0, 10},     {15, 0, 10},     {16, 0, 11},     {25, 0, 11},    {26, 0, 12},
        {285, 0, 37},    {286, 0, 38},    {295, 0, 38},    {296, 0, 39},   {325, 0, 39},
        {326, 0, 40},    {375, 0, 40},    {376, 0, 41},    {1975, 0, 72},  {1976, 0, 73},
        {2025, 0, 73},   {2026, 0, 74},   {2475, 0, 82},   {2476, 0, 83},  {2500, 0, 83},
    };
    for (const Row& R : Rows)
        EXPECT_EQ(RPM_Level_Of(R.Value, R.Current), R.Level) << "value " << R.Value;
}

TEST(RPM_Levels, TheSeventyThreeLevelsAndTheirVolts)
{
    // 1..10 by 1, 20..300 by 10, 350..2000 by 50; each value lies on its own level.
    std::vector<int32_t> Expected;
    for (int32_t V = 1; V <= 10; ++V)
        Expected.push_back(V);
    for (int32_t V = 20; V <= 300; V += 10)
        Expected.push_back(V);
    for (int32_t V = 350; V <= 2000; V += 50)
        Expected.push_back(V);
    ASSERT_EQ(Expected.size(), 73u);
    for (int Index = 1; Index <= 73; ++Index) {
        EXPECT_EQ(RPM_Level_Value(Index), Expected[Index - 1]) << Index;
        EXPECT_EQ(RPM_Level_Of(Expected[Index - 1], 0), Index);
    }
    EXPECT_EQ(RPM_Level_Value(83), 2500);
    EXPECT_EQ(RPM_Level_Value(0), 0);
    EXPECT_EQ(RPM_Level_Value(84), 0);
    EXPECT_EQ(RPM_Level_Volts(1), "0.01");
    EXPECT_EQ(RPM_Level_Volts(10), "0.1");
    EXPECT_EQ(RPM_Level_Volts(14), "0.5");
    EXPECT_EQ(RPM_Level_Volts(43), "5");
    EXPECT_EQ(RPM_Level_Volts(73), "20");
}

TEST(RPM_Timing, TicksOfThePhasesByPollCycle)
{
    struct Row {
        int Cycle, Step;
        int T1, T2, T3, Change, Gauge;
    };
    const Row Rows[] = {
        {160, 960, 25, 62, 6, 960, 3 * 25 + 2 * 62 + 72 * 6},
        {2000, 960, 5, 5, 3, 6000, 3 * 5 + 2 * 5 + 72 * 3},
        {2000, 4000, 5, 5, 3, 6000, 3 * 5 + 2 * 5 + 72 * 3},
        {100, 10000, 40, 100, 100, 10000, 3 * 40 + 2 * 100 + 72 * 100},
        {0, 960, 4000, 10000, 960, 960, 3 * 4000 + 2 * 10000 + 72 * 960},   // no division by 0
    };
    for (const Row& R : Rows) {
        const RPM_Timing_Class T = RPM_Timing_Of(R.Cycle, R.Step);
        EXPECT_EQ(T.T1, R.T1) << R.Cycle;
        EXPECT_EQ(T.T2, R.T2) << R.Cycle;
        EXPECT_EQ(T.T3, R.T3) << R.Cycle;
        EXPECT_EQ(T.Change_Time, R.Change) << R.Cycle;
        EXPECT_EQ(T.Gauge_Max, R.Gauge) << R.Cycle;
    }
}

RPM_Sample_Array Samples(const std::vector<std::pair<int, uint16_t>>& Set)
{
    RPM_Sample_Array S{};
    for (const auto& [Level, Rpm] : Set)
        S[Level] = Rpm;
    return S;
}

RPM_Sample_Array Plateau(int First, int Last, uint16_t Rpm, RPM_Sample_Array S = {})
{
    for (int L = First; L <= Last; ++L)
        S[L] = Rpm;
    return S;
}

TEST(RPM_Range, StableRunsByMode)
{
    struct Row {
        const char* Name;
        RPM_Sample_Array S;
        RPM_Range_Mode Mode;
        bool Found;
        int First, Last, Runs;
    };
    // Two plateaus of equal length, 1000 and 2000 rpm, apart by a gap.
    const RPM_Sample_Array Equal = Plateau(30, 35, 2000, Plateau(10, 15, 1000));
    // A short, very flat run, then a long run with small steps.
    RPM_Sample_Array Long_Later = Plateau(20, 40, 1000, Plateau(5, 7, 800));
    for (int L = 20; L <= 40; L += 2)
        Long_Later[L] = 1010;
    const Row Rows[] = {
        {"all zero", RPM_Sample_Array{}, RPM_Range_Mode::Max_Point, false, 0, 0, 0},
        {"all zero, min diff", RPM_Sample_Array{}, RPM_Range_Mode::Min_Diff, false, 0, 0, 0},
        {"equal runs, max point: the first", Equal, RPM_Range_Mode::Max_Point, true, 10, 15, 1},
        // The second equal run never starts: its difference is not below the first's.
        {"equal runs, min diff: the first", Equal, RPM_Range_Mode::Min_Diff, true, 10, 15, 1},
        {"longer later run, max point", Long_Later, RPM_Range_Mode::Max_Point, true, 20, 40, 2},
        {"flatter earlier run, min diff", Long_Later, RPM_Range_Mode::Min_Diff, true, 5, 7, 1},
        {"a run to the range end", Plateau(60, 73, 900), RPM_Range_Mode::Max_Point, true, 60, 73, 1},
        {"a single reading makes no run", Samples({{40, 900}}), RPM_Range_Mode::Max_Point, false, 0, 0, 0},
        // A jump of more than 5 % breaks the run.
        {"a jump splits", Samples({{1, 1000}, {2, 1000}, {3, 1100}, {4, 1100}, {5, 1100}}),
         RPM_Range_Mode::Max_Point, true, 3, 5, 2},
    };
    for (const Row& R : Rows) {
        const RPM_Range_Class C = Choose_RPM_Range(R.S, 1, 73, 5, R.Mode);
        EXPECT_EQ(C.Found, R.Found) << R.Name;
        EXPECT_EQ(C.Runs, R.Runs) << R.Name;
        if (R.Found) {
            EXPECT_EQ(C.First, R.First) << R.Name;
            EXPECT_EQ(C.Last, R.Last) << R.Name;
        }
    }
    const RPM_Range_Class Two = Choose_RPM_Range(Equal, 1, 73, 5, RPM_Range_Mode::Max_Point);
    EXPECT_EQ(Two.Prompt, "Num 1  [Min 0.1 P 6 Max 0.6]");
}

class RPM_Window_Plot : public main_test::Main_Window_Fixture {};

TEST_F(RPM_Window_Plot, ANarrowPlotDrawsAndHitsNothing)
{
    TForm_RPM* F = Create_Form<TForm_RPM>(nullptr);
    Form_RPM = F;
    RPM_Graph.Open = true;
    for (int L = 1; L <= 73; ++L)
        RPM_Samples[L] = 1500;
    // 70 pixels wide: 64 between x0 and x1, less than one per level.
    F->Image_RPM->Width(70);
    F->Reset_RPM_Diagram();
    EXPECT_FALSE(F->Plot_Usable());
    F->Image_RPMMouseDown(nullptr, TMouseButton::Right, 0, 40, 40);
    F->Image_RPMMouseMove(nullptr, 0, 60, 40);
    F->Image_RPMMouseUp(nullptr, TMouseButton::Right, 0, 60, 40);
    EXPECT_FALSE(RPM_Graph.Selection_Shown);
    EXPECT_EQ(F->Edit_RPM_Cursor->Text(), "");
    for (int X = 0; X < 70; ++X)
        for (int Y = 0; Y < F->Image_RPM->Height(); Y += 7)
            ASSERT_EQ(F->Image_RPM->Canvas()->Pixels(X, Y), clWhite) << X << "," << Y;

    // Wide enough: the curve is there and a right-drag across it chooses the plateau.
    F->Image_RPM->Width(772);
    F->Reset_RPM_Diagram();
    ASSERT_TRUE(F->Plot_Usable());
    for (int L = 1; L <= 73; ++L)
        RPM_Samples[L] = (L >= 14 && L <= 43) ? 1500 : 0;
    F->Draw_RPM_Diagram();
    F->Image_RPMMouseDown(nullptr, TMouseButton::Right, 0, F->Level_X(14), 100);
    F->Image_RPMMouseMove(nullptr, 0, F->Level_X(60), 100);
    F->Image_RPMMouseUp(nullptr, TMouseButton::Right, 0, F->Level_X(60), 100);
    EXPECT_EQ(F->Label_RPM_New_Sensitiv_Min->Caption(), "0.5");
    EXPECT_EQ(F->Label_RPM_New_Sensitiv_Max->Caption(), "5");
    EXPECT_EQ(F->Edit_RPM_Sensitiv_Cursor->Text(), RPM_Level_Volts(14 + (43 - 14) / 2));
    EXPECT_EQ(F->Edit_RPM_Cursor->Text(), "1500");
    F->Free();
}

}  // namespace
