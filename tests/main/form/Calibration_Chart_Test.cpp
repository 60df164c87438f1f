// The calibration chart read back pixel by pixel (image 545 x 361, plot 485 x 321 at
// (30, 20)), the editing of its points by mouse events on the image and by keys, and the
// page's Default button and curve boxes.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "data/Calibration.h"
#include "data/Conversions.h"
#include "data/Injectors.h"
#include "main/Main_Test_Support.h"

namespace {

using namespace main_test;

constexpr TColor Background = RGB_Color(192, 220, 192);
constexpr TColor Factor_Axis = RGB_Color(26, 173, 210);
constexpr TColor Purple = RGB_Color(128, 0, 128);
constexpr TColor Fuchsia = RGB_Color(255, 0, 255);
constexpr TColor Lime = RGB_Color(0, 255, 0);
constexpr TColor Blue = RGB_Color(0, 0, 255);
constexpr TColor Teal = RGB_Color(0, 128, 128);
constexpr TColor Red = RGB_Color(255, 0, 0);
// A curve of factor 1.00 throughout: RPM and VAC at their defaults.
constexpr std::array<int32_t, 9> Flat{10000, 10000, 10000, 10000, 10000, 10000, 10000, 10000, 10000};

class Calibration_Chart : public Main_Window_Fixture {
protected:
    void SetUp() override
    {
        Main_Window_Fixture::SetUp();
        With_Table();
        Create();
        F = Main();
        F->PageControl_KardunGAS->ActivePageIndex(2);
    }
    // Which curves show: gas, RPM, TPS 1, TPS 2, TPS 3, VAC, and the grid.
    void Show(std::array<bool, 7> On)
    {
        Settings_Class& S = Settings;
        S.CLB_Diagram_GAS = On[0];
        S.CLB_Diagram_RPM = On[1];
        S.CLB_Diagram_TPS_1 = On[2];
        S.CLB_Diagram_TPS_2 = On[3];
        S.CLB_Diagram_TPS_3 = On[4];
        S.CLB_Diagram_VAC = On[5];
        S.CLB_View_Grid = On[6];
    }
    TColor Pixel(int X, int Y) { return F->Image_CLB->Picture().Bitmap().Canvas()->Pixels(X, Y); }
    // Pixels of a colour in a rectangle of the image (right and bottom excluded).
    int Count(TColor Colour, int Left, int Top, int Right, int Bottom)
    {
        int N = 0;
        for (int Y = Top; Y < Bottom; ++Y)
            for (int X = Left; X < Right; ++X)
                N += Pixel(X, Y) == Colour;
        return N;
    }
    // The colours along a row with repeats folded: the title's pieces read left to right.
    std::vector<TColor> Runs(int Y, const std::vector<TColor>& Kept)
    {
        std::vector<TColor> R;
        for (int X = 1; X < F->Image_CLB->Picture().Width() - 1; ++X) {
            const TColor C = Pixel(X, Y);
            if (std::find(Kept.begin(), Kept.end(), C) != Kept.end() && (R.empty() || R.back() != C))
                R.push_back(C);
        }
        return R;
    }
    TForm_KardunGAS* F = nullptr;
};

TEST_F(Calibration_Chart, TheChartReadsByPixelForEachSetOfCurves)
{
    struct Probe {
        const char* What;
        int X, Y;
        TColor Colour;
        // A dotted line: some pixel of the colour along this many pixels right or down.
        int Along_X = 1, Along_Y = 1;
    };
    struct Row {
        const char* Name;
        std::array<bool, 7> Shown;
        std::vector<TColor> Title;   // background and piece colours along the title's top
        std::vector<Probe> Probes;
        // A scale label: its text's colour inside its cell, none just left of it.
        int Label_X, Label_Y, Label_W;
        TColor Label_Colour;
    };
    // Live values: gas 2.00 ms at input 512; 1000 rpm at factor 1.50; TPS 1 input 300 to
    // output 600; VAC 0.60 bar at factor 0.80.
    Live_Values_Class& L = Live_Values;
    L.Live_TPS_Raw = 512;
    L.Live_Gas_Time = 2000;
    L.Live_RPM = 1000;
    L.Live_Factor_RPM = 15000;
    L.Live_Input_1_Raw = 300;
    L.Live_Output_1_Raw = 600;
    L.Live_PressColl = 60;
    L.Live_Factor_VAC = 8000;
    TPS_Full_Scale = 1072;
    const Row Rows[] = {
        {"gas with TPS (the default settings)",
         {true, false, true, true, true, false, true},
         {Background, Lime, Background, Purple, Background, Fuchsia, Background},
         {{"plot background", 35, 25, Background},
          {"plot outline", 30, 100, clBlack},
          {"left band", 15, 25, Lime},
          {"right band", 530, 25, Fuchsia},
          {"bottom band", 200, 342, Purple},
          {"image outline", 0, 0, clBlack},
          {"image outline", 544, 360, clBlack},
          // Gas point 4 (400 counts): px 190; the live gas point: input 512 at 2.00 ms.
          {"live gas dot", 30 + 243, 20 + 301, RGB_Color(0, 128, 0)},
          {"live gas ring", 30 + 243, 20 + 301 - 7, clWhite},
          // TPS 1 input 300 at output 600 of 1072: (142, 141).
          {"live TPS 1 dot", 30 + 142, 20 + 141, RGB_Color(182, 12, 88)},
          // Grid: a dotted vertical line at 0.5 V (px 48) and a horizontal one at 5 ms.
          {"grid at 0.5 V", 30 + 48, 20 + 10, clBlack, 1, 8},
          {"grid at 5 ms", 30 + 11, 20 + 271, clBlack, 8, 1}},
         // The right band's output volts "0.8" at 5 ms: (W + 6 + 28, y - 8).
         485 + 34, 20 + 271 - 8, 12, clWhite},
        {"RPM",
         {false, true, false, false, false, false, true},
         {Background, Factor_Axis, Background, Blue, Background, Factor_Axis, Background},
         {{"plot background", 35, 25, Background},
          {"left band", 15, 25, Factor_Axis},
          {"right band", 530, 25, Factor_Axis},
          {"bottom band", 200, 342, Blue},
          // Point 3 (1500 rpm, 1.00): (145, 160); the live point 1000 rpm at 1.50: (97, 80).
          {"curve dot", 30 + 145, 20 + 160, Blue},
          {"curve ring", 30 + 145, 20 + 160 + 7, clBlack},
          {"live dot", 30 + 97, 20 + 80, Blue},
          {"live ring", 30 + 97 + 7, 20 + 80, clWhite},
          {"grid at 500 rpm", 30 + 48, 20 + 11, clBlack, 1, 8},
          {"grid at 0.20", 30 + 11, 20 + 289, clBlack, 8, 1}},
         // "2500" under the plot at 30 + 242 - 18.
         254, 344, 28, clWhite},
        {"VAC",
         {false, false, false, false, false, true, false},
         {Background, Factor_Axis, Background, Teal, Background, Factor_Axis, Background},
         {{"left band", 15, 25, Factor_Axis},
          {"bottom band", 200, 342, Teal},
          // Point 6 (1.30 bar): px 350; the live point 0.60 bar at 0.80: (161, 192).
          {"curve dot", 30 + 350, 20 + 160, Teal},
          {"live dot", 30 + 161, 20 + 192, Teal},
          {"no grid", 30 + 26, 20 + 31, Background}},
         // "0.2" at 30 + 53 - 12.
         71, 344, 20, clWhite},
        {"TPS only",
         {false, false, true, false, false, false, true},
         {Background, Fuchsia, Background, Purple, Background, Fuchsia, Background},
         {{"left band", 15, 25, Fuchsia},
          {"right band", 530, 25, Fuchsia},
          {"bottom band", 200, 342, Purple},
          {"grid at 4.5 V", 30 + 11, 20 + 33, clBlack, 8, 1}},
         // "4.5" on the left at (6, 20 + 33 - 8).
         6, 45, 18, clWhite},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Name);
        Show(R.Shown);
        Set_Default_Calibration_All();
        F->Draw_Calibration_Chart();
        ASSERT_EQ(F->Image_CLB->Picture().Width(), 545);
        ASSERT_EQ(F->Image_CLB->Picture().Height(), 361);
        EXPECT_EQ(Runs(3, {Background, Lime, Purple, Fuchsia, Factor_Axis, Blue, Teal}), R.Title);
        for (const Probe& P : R.Probes) {
            if (P.Along_X == 1 && P.Along_Y == 1)
                EXPECT_EQ(Pixel(P.X, P.Y), P.Colour) << P.What << " at " << P.X << ", " << P.Y;
            else
                EXPECT_GT(Count(P.Colour, P.X, P.Y, P.X + P.Along_X, P.Y + P.Along_Y), 0) << P.What;
        }
        EXPECT_GT(Count(R.Label_Colour, R.Label_X, R.Label_Y, R.Label_X + R.Label_W, R.Label_Y + 14), 5);
        EXPECT_EQ(Count(R.Label_Colour, R.Label_X - 3, R.Label_Y, R.Label_X, R.Label_Y + 14), 0);
    }
}

TEST_F(Calibration_Chart, TheRPMPointsAndTheSelectionMarksLieWhereTheScalesPutThem)
{
    Show({false, true, false, false, false, false, false});
    Set_Default_Calibration_All();
    Live_Values.Live_RPM = 4500;
    Live_Values.Live_Factor_RPM = 5000;
    // A middle point picked: its band between the neighbours (1000 and 2000 rpm: px 97 and
    // 194) over the full height, and the point itself in the mark colour.
    CLB_RPM.Selected = 3;
    CLB_RPM.Anchor = 6;
    F->Draw_Calibration_Chart();
    EXPECT_EQ(Pixel(30 + 97, 20 + 40), Blue);
    EXPECT_EQ(Pixel(30 + 194, 20 + 280), Blue);
    EXPECT_EQ(Pixel(30 + 150, 20 + 40), Background);
    // The anchor (3000 rpm: px 291) is black at its centre.
    EXPECT_EQ(Pixel(30 + 291, 20 + 160), clBlack);

    // Gas with point 0 picked: the curve's box from point 0 to point 8, in lime.
    Show({true, false, false, false, false, false, false});
    CLB_RPM.Selected = -1;
    CLB_Gas.Selected = 0;
    F->Draw_Calibration_Chart();
    const int Top = F->CLB_Py(Main_Form_Calibration::Y_Axis::Gas, CLB_Gas.Out[8]);
    const int Bottom = F->CLB_Py(Main_Form_Calibration::Y_Axis::Gas, CLB_Gas.Out[0]);
    EXPECT_EQ(Pixel(30 + 240, 20 + Top), Lime);
    EXPECT_EQ(Pixel(30 + 484, 20 + (Top + Bottom) / 2), Lime);
    EXPECT_EQ(Pixel(30, 20 + Bottom), Lime);

    // Before the settings are on the window nothing is drawn.
    Settings_Applied = false;
    F->Image_CLB->Picture().Clear();
    F->Draw_Calibration_Chart();
    F->Button_CLB_Default->Click();
    EXPECT_TRUE(F->Image_CLB->Picture().Empty());

    if (const char* Keep = std::getenv("KARDUN_SHOT_DIR")) {
        Settings_Applied = true;
        Show({true, false, true, true, true, false, true});
        CLB_Gas.Selected = 4;
        CLB_Gas.Anchor = 2;
        F->Draw_Calibration_Chart();
        EXPECT_TRUE(F->Image_CLB->Picture().Bitmap().SaveToFile(std::string(Keep) + "/calibration_chart.png"));
    }
}

// The labels beside the plot stand where the scales put them, each whole in its band: the
// factor labels of the RPM and VAC charts at a size below the frame's 10 points.
TEST_F(Calibration_Chart, TheSideLabelsFitTheirBandsWhole)
{
    // The lowest label on the left and its left edge (the right band's 485 + 28 further), and
    // whether the labels are written below 10 points.
    struct Row { const char* Name; std::array<bool, 7> Shown; const char* First; int Left; bool Smaller; };
    const Row Rows[] = {
        {"RPM", {false, true, false, false, false, false, true}, "0.20", 2, true},
        {"VAC", {false, false, false, false, false, true, true}, "0.20", 2, true},
        {"gas", {true, false, false, false, false, false, true}, "5", 12, false},
        {"TPS only", {false, false, true, false, false, false, true}, "0.5", 6, false},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Name);
        Show(R.Shown);
        const auto Labels = F->CLB_Side_Labels();
        ASSERT_GE(Labels.size(), 2u);
        EXPECT_EQ(Labels[0].Text, R.First);
        EXPECT_EQ(Labels[0].Left, R.Left);
        EXPECT_EQ(Labels[1].Left, R.Left + 485 + 28);
        // The bands end at the plot's outline on the left and at the image's on the right.
        EXPECT_EQ(Labels[0].Band.Right, 30);
        EXPECT_EQ(Labels[1].Band.Right, 544);
        const int Points = F->CLB_Side_Label_Points();
        EXPECT_EQ(Points < 10, R.Smaller);
        TFont Font;
        Font.Name(Settings.Font_Name);
        Font.Size(Points);
        Font.Style(fsBold);
        for (const auto& L : Labels) {
            EXPECT_GE(L.Left, L.Band.Left) << L.Text;
            EXPECT_LE(L.Left + ui::Text_Width(Font, L.Text), L.Band.Right) << L.Text << " at " << L.Left;
        }
    }
}

// The chart keeps its picture without the live points and makes it again only when what
// it shows changes; each drawing is pixel for pixel the chart drawn whole.
TEST_F(Calibration_Chart, TheKeptPictureDrawsWhatAWholeDrawingDraws)
{
    // Gas at input X, TPS 1 at (X, Y), RPM at (X * 4, Y * 16).
    auto Live = [&L = Live_Values](int32_t X, int32_t Y) {
        L.Live_TPS_Raw = L.Live_Input_1_Raw = X;
        L.Live_Gas_Time = Y * 30;
        L.Live_Output_1_Raw = Y;
        L.Live_RPM = X * 4;
        L.Live_Factor_RPM = Y * 16;
    };
    TPS_Full_Scale = 1072;
    Show({true, false, true, true, false, false, true});
    Set_Default_Calibration_All();
    Live(512, 600);
    const std::pair<const char*, std::function<void()>> Steps[] = {
        {"the first drawing", [] {}},
        {"a live update", [&] { Live(530, 590); }},
        {"the live points far away", [&] { Live(20, 1000); }},
        {"the same values again", [] {}},
        {"the live points at the plot's corner", [&] { Live(1023, 1072); }},
        {"a curve edit", [] { CLB_Gas.Out[4] += 3000; }},
        {"a point picked and an anchor", [] { CLB_Gas.Selected = 4, CLB_Gas.Anchor = 2; }},
        {"a live update with the point picked", [&] { Live(400, 300); }},
        {"a view change: RPM alone, no grid", [this] { Show({false, true, false, false, false, false, false}); }},
        {"a live update of the RPM", [&] { Live(1220, 1180); }},
        {"a resize", [this] { F->CLB_Image_Width = 601, F->CLB_Image_Height = 420, F->CLB_Plot_Width = 541, F->CLB_Plot_Height = 380; }},
        {"a live update after the resize", [&] { Live(500, 500); }},
        {"the image cleared by someone else", [this] { F->Image_CLB->Picture().Clear(); }},
    };
    for (const auto& [What, Change] : Steps) {
        SCOPED_TRACE(What);
        Change();
        F->Draw_Calibration_Chart();
        const QImage Kept = F->Image_CLB->Picture().Bitmap().Image();
        F->CLB_Chart_Forget();
        F->Draw_Calibration_Chart();
        EXPECT_EQ(Kept.size(), QSize(F->CLB_Image_Width, F->CLB_Image_Height));
        EXPECT_TRUE(Kept == F->Image_CLB->Picture().Bitmap().Image());
    }
}

// One user action on the chart: mouse events at image pixels, or a key to the window.
struct Action {
    enum Kind { Left_Down, Right_Down, Move, Up, Key } What;
    int X = 0, Y = 0;   // image pixels; for Key the key
};

TEST_F(Calibration_Chart, PointsAreEditedByMouseAndKeys)
{
    using A = Action;
    constexpr std::array<int32_t, 9> No_Change{};
    struct Row {
        const char* Name;
        std::array<bool, 7> Shown;        // gas, RPM, TPS 1..3, VAC, grid
        CLB_Curve* Curve;                 // the curve edited and checked
        std::array<int32_t, 9> Out;       // its Y before, all 0: the default curve
        std::vector<Action> Actions;
        // Expected: Y after (Relative: the change from before), X of the one point that
        // moved (index, value; -1: none), the picked point, the anchor.
        std::array<int32_t, 9> Out_After;
        bool Relative;
        int Moved_Point, Moved_X;
        int Selected, Anchor;
        bool Maximised = false;
    };
    // RPM at its defaults: point k at (30 + px, 180), px 0, 48, 97, 145, 194, 242, 291, 388,
    // 485; image y 148 reads the factor 11965, y 67 reads 16986, y 40 reads 18660.
    const Row Rows[] = {
        {"point 0 without an anchor shifts the whole curve",
         {false, true, false, false, false, false, false}, &CLB_RPM, Flat,
         {{A::Left_Down, 30, 180}, {A::Move, 30, 148}, {A::Up}},
         {11965, 11965, 11965, 11965, 11965, 11965, 11965, 11965, 11965}, false, -1, 0, 0, -1},
        {"a shift that would take a factor past 1.99 is refused",
         {false, true, false, false, false, false, false}, &CLB_RPM,
         {10000, 10000, 10000, 10000, 10000, 19000, 10000, 10000, 10000},
         {{A::Left_Down, 30, 180}, {A::Move, 30, 148}, {A::Up}},
         No_Change, true, -1, 0, 0, -1},
        {"point 8 without an anchor scales points 1..8 about point 0",
         {false, true, false, false, false, false, false}, &CLB_RPM,
         {5000, 6000, 7000, 8000, 9000, 10000, 11000, 12000, 13000},
         {{A::Left_Down, 515, 132}, {A::Move, 515, 67}, {A::Up}},
         {5000, 6498, 7997, 9495, 10993, 12491, 13990, 15488, 16986}, false, -1, 0, 8, -1},
        {"a point scaled out of 0..19900 keeps its value",
         {false, true, false, false, false, false, false}, &CLB_RPM,
         {10000, 2000, 10000, 10000, 10000, 10000, 10000, 10000, 12000},
         {{A::Left_Down, 515, 148}, {A::Move, 515, 40}, {A::Up}},
         {10000, 2000, 10000, 10000, 10000, 10000, 10000, 10000, 18660}, false, -1, 0, 8, -1},
        {"level with point 0, point 8 pulls a straight ramp",
         {false, true, false, false, false, false, false}, &CLB_RPM, Flat,
         {{A::Left_Down, 515, 180}, {A::Move, 515, 148}, {A::Up}},
         {10000, 10197, 10393, 10590, 10786, 10983, 11179, 11572, 11965}, false, -1, 0, 8, -1},
        {"the anchor limits the reshape to the points past it",
         {false, true, false, false, false, false, false}, &CLB_RPM, Flat,
         {{A::Right_Down, 224, 180}, {A::Up}, {A::Left_Down, 515, 180}, {A::Move, 515, 148}, {A::Up}},
         {10000, 10000, 10000, 10000, 10000, 10328, 10655, 11310, 11965}, false, -1, 0, 8, 4},
        {"a second right click moves the anchor; moving with the button held changes nothing",
         {false, true, false, false, false, false, false}, &CLB_RPM, Flat,
         {{A::Right_Down, 224, 180}, {A::Up}, {A::Right_Down, 321, 180}, {A::Move, 322, 181}, {A::Up}},
         No_Change, true, -1, 0, -1, 6},
        {"a right click on the anchor unmarks it",
         {false, true, false, false, false, false, false}, &CLB_RPM, Flat,
         {{A::Right_Down, 224, 180}, {A::Up}, {A::Right_Down, 224, 180}, {A::Up}},
         No_Change, true, -1, 0, -1, -1},
        {"a middle gas point stops one count short of its neighbour",
         {true, false, false, false, false, false, false}, &CLB_Gas, {},
         {{A::Key, '4'}, {A::Key, VK_RIGHT}, {A::Key, VK_RIGHT}, {A::Key, VK_RIGHT}, {A::Key, VK_RIGHT},
          {A::Key, VK_RIGHT}, {A::Key, VK_RIGHT}, {A::Key, VK_RIGHT}, {A::Key, VK_RIGHT}, {A::Key, VK_RIGHT},
          {A::Key, VK_RIGHT}, {A::Key, VK_RIGHT}},
         No_Change, true, 4, 490, 4, -1},
        {"keys move a gas point by 10 counts and 50 us",
         {true, false, false, false, false, false, false}, &CLB_Gas, {},
         {{A::Key, '4'}, {A::Key, VK_UP}, {A::Key, VK_UP}, {A::Key, VK_LEFT}, {A::Key, VK_DOWN}},
         {0, 0, 0, 0, 50, 0, 0, 0, 0}, true, 4, 390, 4, -1},
        {"the digit of the picked gas point drops it; arrows then do nothing",
         {true, false, false, false, false, false, false}, &CLB_Gas, {},
         {{A::Key, '4'}, {A::Key, '4'}, {A::Key, VK_UP}}, No_Change, true, -1, 0, -1, -1},
        {"Escape drops the pick, Up then moves nothing",
         {true, false, false, false, false, false, false}, &CLB_Gas, {},
         {{A::Key, '4'}, {A::Key, VK_ESCAPE}, {A::Key, VK_UP}}, No_Change, true, -1, 0, -1, -1},
        {"hovering a TPS point picks it while nothing is chosen",
         {true, false, true, false, false, false, false}, &CLB_TPS1, {},
         {{A::Move, 362, 231}}, No_Change, true, -1, 0, 6, -1},
        {"while a gas point is chosen no TPS point can be hit",
         {true, false, true, false, false, false, false}, &CLB_TPS1, {},
         {{A::Key, '2'}, {A::Move, 362, 231}}, No_Change, true, -1, 0, -1, -1},
        {"a maximised window's mouse is scaled back to the chart",
         {false, true, false, false, false, false, false}, &CLB_RPM, Flat,
         {{A::Left_Down, 544, 360}, {A::Up}}, No_Change, true, -1, 0, 5, -1, true},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Name);
        Show(R.Shown);
        TPS_Full_Scale = 1072;
        TPS_Step = 10;
        Set_Default_Calibration_All();
        F->CLB_Edit_Cancel();
        CLB_Anchor_Clear();
        if (R.Out != std::array<int32_t, 9>{})
            R.Curve->Out = R.Out;
        const CLB_Curve Before = *R.Curve;
        F->WindowState(R.Maximised ? TWindow_State::Maximized : TWindow_State::Normal);
        F->Image_CLB->Width(R.Maximised ? 2 * 545 : 545);
        F->Image_CLB->Height(R.Maximised ? 2 * 361 : 361);
        for (const Action& Do : R.Actions) {
            switch (Do.What) {
            case Action::Left_Down:
            case Action::Right_Down:
                F->Image_CLB->OnMouseDown(F->Image_CLB,
                                          Do.What == Action::Left_Down ? TMouseButton::Left : TMouseButton::Right,
                                          0, Do.X, Do.Y);
                break;
            case Action::Move:
                F->Image_CLB->OnMouseMove(F->Image_CLB, 0, Do.X, Do.Y);
                break;
            case Action::Up:
                F->Image_CLB->OnMouseUp(F->Image_CLB, TMouseButton::Left, 0, Do.X, Do.Y);
                break;
            case Action::Key: {
                uint16_t Key = static_cast<uint16_t>(Do.X);
                F->FormKeyDown(F, Key, 0);
                EXPECT_EQ(Key, 0) << "not taken: " << Do.X;
                break;
            }
            }
        }
        std::array<int32_t, 9> Out = R.Out_After;
        if (R.Relative)
            for (size_t K = 0; K < Out.size(); ++K)
                Out[K] += Before.Out[K];
        EXPECT_EQ(R.Curve->Out, Out);
        std::array<int32_t, 9> In = Before.In;
        if (R.Moved_Point >= 0)
            In[static_cast<size_t>(R.Moved_Point)] = R.Moved_X;
        EXPECT_EQ(R.Curve->In, In);
        EXPECT_EQ(R.Curve->Selected, R.Selected);
        EXPECT_EQ(R.Curve->Anchor, R.Anchor);
    }
}

// The window's keyboard map takes the digits of both keyboards for the gas curve's points
// while that curve is shown (they pick only on the Calibration page); other keys pass on.
TEST_F(Calibration_Chart, TheKeyboardMapTakesTheDigitsOfTheGasPoints)
{
    struct Row {
        const char* Name;
        int Page;
        bool Gas_Shown;
        uint16_t Key;
        int Selected;      // the gas curve's picked point after
        bool Taken;        // the map took the key
    };
    const Row Rows[] = {
        {"4 of the numeric pad picks point 4", 2, true, VK_NUMPAD4, 4, true},
        {"9 is no point", 2, true, '9', -1, false},
        {"the gas curve hidden: digits are left alone", 2, false, '4', -1, false},
        {"another page: the digit picks nothing", 0, true, '4', -1, true},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Name);
        Show({R.Gas_Shown, !R.Gas_Shown, false, false, false, false, false});
        F->CLB_Edit_Cancel();
        F->PageControl_KardunGAS->ActivePageIndex(R.Page);
        uint16_t Key = R.Key;
        F->FormKeyDown(F, Key, 0);
        EXPECT_EQ(CLB_Gas.Selected, R.Selected);
        EXPECT_EQ(Key == 0, R.Taken);
    }
}

// At a TPS full scale of 65535 the reshape's products pass 2^31.
TEST_F(Calibration_Chart, AReshapeAtTheLargestTPSScaleKeepsItsProportions)
{
    Show({false, false, true, false, false, false, false});
    TPS_Full_Scale = 65535;
    TPS_Step = 655;
    Set_Default_Calibration_All();
    for (int K = 0; K < CLB_Points; ++K)
        CLB_TPS1.Out[static_cast<size_t>(K)] = K * 8125;
    F->Draw_Calibration_Chart();
    // Point 8 (1023, 65000) stands at plot (485, 3); picked, then one step down.
    F->Image_CLB->OnMouseDown(F->Image_CLB, TMouseButton::Left, 0, 515, 23);
    F->Image_CLB->OnMouseUp(F->Image_CLB, TMouseButton::Left, 0, 515, 23);
    ASSERT_EQ(CLB_TPS1.Selected, 8);
    F->CLB_Arrow_Key(VK_DOWN);
    EXPECT_EQ(CLB_TPS1.Out, (std::array<int32_t, 9>{0, 8043, 16086, 24129, 32173, 40216, 48259, 56302, 64345}));
}

// A picked point shows in the value boxes and the curve's box; with Transmit_Now on and
// the controller connected, releasing the mouse sends the curves.
TEST_F(Calibration_Chart, APickedPointShowsItsValuesAndTheReleaseSends)
{
    Show({false, true, false, false, false, false, false});
    Set_Default_Calibration_All();
    F->Draw_Calibration_Chart();
    int Sent = 0;
    F->Button_CLB_Transmitt->OnClick = [&Sent](TObject*) { ++Sent; };
    UI_Ready = true;
    Connected = true;
    struct Row {
        const char* Name;
        bool Transmit_Now, Connected;
        int Sent;
    };
    const Row Rows[] = {
        {"Transmit_Now off", false, true, 0},
        {"not connected", true, false, 0},
        {"Transmit_Now on and connected", true, true, 1},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Name);
        Settings.Transmit_Now = R.Transmit_Now;
        Connected = R.Connected;
        Sent = 0;
        F->Image_CLB->OnMouseDown(F->Image_CLB, TMouseButton::Left, 0, 272, 180);
        F->Image_CLB->OnMouseUp(F->Image_CLB, TMouseButton::Left, 0, 272, 180);
        EXPECT_EQ(Sent, R.Sent);
    }
    EXPECT_EQ(CLB_RPM.Selected, 5);
    EXPECT_EQ(F->Label_CLB_Point_Num->Caption(), "5");
    EXPECT_EQ(F->Label_CLB_Point_Num->Font().Color(), Blue);
    EXPECT_EQ(F->Edit_CLB_InVolt->Text(), "2500");
    EXPECT_EQ(F->Edit_CLB_InVolt->Color(), Blue);
    EXPECT_EQ(F->Edit_CLB_OutVolt->Color(), Factor_Axis);
    EXPECT_EQ(F->CheckBox_CLB_Diagram_RPM->Color(), RGB_Color(255, 255, 0));
    EXPECT_EQ(F->Label_CLB_Diagram_RPM_Data->Color(), RGB_Color(255, 255, 0));
    EXPECT_EQ(F->Image_CLB->Cursor(), TCursor::Size_All);
    EXPECT_EQ(F->Image_CLB->Hint(), "5 point");
    // Point 0 gives the vertical cursor.
    F->Image_CLB->OnMouseDown(F->Image_CLB, TMouseButton::Left, 0, 30, 180);
    EXPECT_EQ(F->Image_CLB->Cursor(), TCursor::Size_NS);
    F->Image_CLB->OnMouseUp(F->Image_CLB, TMouseButton::Left, 0, 30, 180);
    // Escape: nothing picked, colours and cursor back.
    F->CLB_Edit_Cancel();
    EXPECT_EQ(F->Edit_CLB_InVolt->Color(), clWhite);
    EXPECT_EQ(F->Label_CLB_Point_Num->Font().Color(), clBlack);
    EXPECT_EQ(F->CheckBox_CLB_Diagram_RPM->Color(), clBtnFace);
    EXPECT_EQ(F->Image_CLB->Cursor(), TCursor::Default);

    // Over the gas curve's red the cursor boxes take the gas colours; the cursor's place
    // reads in volts and milliseconds.
    Show({true, false, false, false, false, false, false});
    F->Draw_Calibration_Chart();
    // The line between points 4 and 5 at 450 counts (px 213), away from both points.
    const int X = 30 + 213;
    int Y = 20;
    while (Y < 20 + 321 && Pixel(X, Y) != Red)
        ++Y;
    ASSERT_LT(Y, 20 + 321);
    ASSERT_EQ(Pixel(X - 9, Y - 9), Background);
    F->Image_CLB->OnMouseMove(F->Image_CLB, 0, X, Y);
    EXPECT_EQ(F->Edit_y_pos_Gas->Color(), Lime);
    EXPECT_EQ(F->Edit_x_pos_InVolt->Color(), Purple);
    // 213 x 1023 / 485 = 449.3 counts.
    EXPECT_EQ(F->Edit_x_pos_InVolt->Text(), Format_Ratio(449 * 5, 1023, 15, 2));
    F->Image_CLB->OnMouseMove(F->Image_CLB, 0, X - 9, Y - 9);
    EXPECT_EQ(F->Edit_y_pos_Gas->Color(), clWhite);
}

// Default gives the shown curves their defaults; the others keep what they hold.
TEST_F(Calibration_Chart, DefaultResetsTheShownCurvesOnlyAndClearsTheSelection)
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
    CLB_Curve Edited;
    Edited.In.fill(7);
    Edited.Out.fill(1234);
    Edited.Selected = 3;
    Edited.Anchor = 2;
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Name);
        // The rows name gas, TPS 1..3, RPM, VAC; Show takes gas, RPM, TPS 1..3, VAC, grid.
        Show({R.Shown[0], R.Shown[4], R.Shown[1], R.Shown[2], R.Shown[3], R.Shown[5], false});
        for (CLB_Curve* C : Curves)
            *C = Edited;
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
                EXPECT_EQ(C.Out, Flat);
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
TEST_F(Calibration_Chart, ACheckedCurveBoxUnchecksTheCurvesOfOtherScales)
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
