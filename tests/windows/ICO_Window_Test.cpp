// The big-digit windows' font fit and right-click views, without windows.
#include <gtest/gtest.h>

#include "windows/ICO_Window.h"

namespace {

// A text 10 pixels wide and 2 high per point, like a short number.
ICO_Text_Size Linear(int Size) { return {10 * Size, 2 * Size}; }

TEST(ICO_Font_Fit, GrowsAndShrinksToThePanelAndStopsAtFourAndOneThousand)
{
    struct Row {
        const char* What;
        int Size, W, H;
        bool Empty;
        ICO_Measure Measure;
        int Expected;
    };
    const ICO_Measure Nothing = [](int) { return ICO_Text_Size{0, 0}; };
    const ICO_Measure Huge = [](int) { return ICO_Text_Size{1000000, 1000000}; };
    const Row Rows[] = {
        // Narrow panel: the width leads (10 pixels over), then the height caps it.
        {"narrow, grows by width", 4, 100, 300, false, Linear, 11},
        {"narrow, shrinks by width", 48, 100, 300, false, Linear, 9},
        {"narrow, then shrinks by height", 4, 100, 203, false,
         [](int S) { return ICO_Text_Size{S, 20 * S}; }, 10},
        // Wide panel: the height leads (2 pixels over), then the width caps it.
        {"wide, grows by height then shrinks by width", 48, 300, 100, false, Linear, 29},
        {"wide, shrinks by height", 48, 1000, 50, false, Linear, 24},
        {"nothing measured: stops at the largest size", 48, 150, 100, false, Nothing, ICO_Font_Max},
        {"never fits: stops at the smallest size", 48, 150, 100, false, Huge, ICO_Font_Min},
        {"empty text is not fitted", 48, 142, 13, true, Nothing, 48},
        {"empty text, size from a file held up", 0, 142, 13, true, Nothing, ICO_Font_Min},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.What);
        int Calls = 0;
        const int Got = ICO_Fit_Font(R.Size, R.W, R.H, R.Empty, [&](int S) {
            ++Calls;
            EXPECT_GE(S, ICO_Font_Min);
            EXPECT_LE(S, ICO_Font_Max);
            return R.Measure(S);
        });
        EXPECT_EQ(Got, R.Expected);
        // Every run ends: at most one measure per size and step, plus the branch tests.
        EXPECT_LE(Calls, 2 * (ICO_Font_Max - ICO_Font_Min + 1) + 4);
        if (R.Empty) {
            EXPECT_EQ(Calls, 0);
        }
    }
}

TEST(ICO_Right_Click, OpensTheCompactViewOfTheWindowsValue)
{
    struct Row {
        int Window, Current, View;
    };
    const Row Rows[] = {{1, 0, 17}, {1, 17, 18}, {1, 18, 10}, {1, 10, 17}, {2, 17, 25}, {3, 0, 5},
                        {4, 0, 21}, {5, 0, 20}, {6, 0, 0}, {7, 0, 24}, {9, 0, 0}, {10, 0, 19},
                        {11, 0, 22}, {12, 0, 23}, {13, 0, 0}, {14, 0, 0}, {15, 17, 0}};
    for (const Row& R : Rows)
        EXPECT_EQ(ICO_Compact_View(R.Window, R.Current), R.View)
            << "window " << R.Window << " with view " << R.Current;
}

}  // namespace
