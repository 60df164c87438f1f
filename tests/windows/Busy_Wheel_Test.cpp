// The busy wheel: which spoke each frame highlights and where the spokes run.
#include <gtest/gtest.h>

#include "windows/Busy_Wheel.h"
#include "platform/ui/Graphics.h"

namespace {

constexpr TColor Current = 0x0000FF;
constexpr TColor Other = 0x00FF00;

// Four spokes over the full circle on a 40 x 40 picture, radius 16 around (20, 20): spoke 1
// points left, 2 up, 3 right, 0 and 4 down. Returns the advanced index.
int Frame(TBitmap& Bitmap, int Index)
{
    return Draw_Busy_Wheel(Bitmap, 4, 0, 360, Current, Other, Index, 40, 40, 1, 4);
}

TEST(Busy_Wheel, Each_Frame_Highlights_The_Next_Spoke_And_Draws_The_Rest_In_The_Other_Colour)
{
    TBitmap Bitmap;
    ASSERT_EQ(Frame(Bitmap, 0), 1);
    EXPECT_EQ(Bitmap.Width(), 40);
    TCanvas* C = Bitmap.Canvas();
    EXPECT_EQ(C->Pixels(10, 20), Current);   // left
    EXPECT_EQ(C->Pixels(20, 10), Other);     // up
    EXPECT_EQ(C->Pixels(30, 20), Other);     // right
    EXPECT_EQ(C->Pixels(20, 30), Other);     // down
    EXPECT_EQ(C->Pixels(20, 2), clWhite);    // beyond the radius
    EXPECT_EQ(C->Pixels(10, 10), clWhite);   // between spokes

    ASSERT_EQ(Frame(Bitmap, 2), 3);
    EXPECT_EQ(Bitmap.Canvas()->Pixels(30, 20), Current);
    EXPECT_EQ(Bitmap.Canvas()->Pixels(10, 20), Other);

    // At the last spoke the index wraps to the first, which lies under the last one.
    ASSERT_EQ(Frame(Bitmap, 4), 0);
    EXPECT_EQ(Bitmap.Canvas()->Pixels(20, 30), Current);
    EXPECT_EQ(Bitmap.Canvas()->Pixels(20, 10), Other);
}

TEST(Busy_Wheel, Without_Spokes_The_Picture_Is_Blank)
{
    TBitmap Bitmap;
    EXPECT_EQ(Draw_Busy_Wheel(Bitmap, 4, 0, 360, Current, Other, 3, 20, 30, 1, 0), 0);
    EXPECT_EQ(Bitmap.Width(), 30);
    EXPECT_EQ(Bitmap.Height(), 20);
    EXPECT_EQ(Bitmap.Canvas()->Pixels(15, 10), clWhite);
}

}  // namespace
