// What a change repaints, checked on the pixels the window system was given: a new caption
// repaints the label alone only over a panel's plain colour; a lamp shows every colour at
// once.
#include "Fixture.h"

namespace {

using Repaints = UI_Test;

QColor Q(TColor C)
{
    const TRGB V = Color_To_RGB(C);
    return QColor(V.R, V.G, V.B);
}

}  // namespace

TEST_F(Repaints, A_New_Caption_Repaints_What_Lies_Beneath_The_Label_Unless_It_Is_A_Panel_Plain_Colour)
{
    struct Case {
        const char* What;
        const char* Panel_Caption;
        int Label_Left;   // within the panel (120 x 60, one-pixel bevel)
        bool Image_Beneath, Beneath_Repainted;
        TColor Panel_Colour;   // clBtnFace: never set, the panel's own default
    };
    const Case Cases[] = {
        {"inside a plain panel", "", 10, false, false, clWhite},
        {"inside a plain panel of the default colour", "", 10, false, false, clBtnFace},
        {"over the panel's bevel", "", 0, false, true, clWhite},
        {"over an image on the panel", "", 10, true, true, clWhite},
        {"over a panel with a caption", "Temp", 10, false, true, clWhite},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.What);
        auto* Panel = new TPanel(Form, Form);
        Panel->SetBounds(10, 10, 120, 60);
        Panel->Caption(C.Panel_Caption);
        if (C.Panel_Colour != clBtnFace)
            Panel->Color(C.Panel_Colour);
        TImage* Image = C.Image_Beneath ? new TImage(Form, Panel) : nullptr;
        if (Image) {
            Image->SetBounds(5, 5, 100, 40);
            Image->Canvas()->Brush.Color = clRed;
            Image->Canvas()->FillRect(Rect(0, 0, 100, 40));
        }
        auto* Label = new TLabel(Form, Panel);
        Label->AutoSize(false);
        Label->SetBounds(C.Label_Left, 10, 80, 20);
        Label->Caption("1500");
        Form->Show();
        Run_Loop(50);
        {
            Paint_Watch Beneath(Image ? static_cast<TControl*>(Image) : Panel), Own(Label);
            Label->Caption("2500");
            Run_Loop(50);
            EXPECT_GT(Own.Paints, 0);
            EXPECT_EQ(Beneath.Paints > 0, C.Beneath_Repainted);
        }
        // Right of the text the label shows what lies beneath it, and a new panel colour.
        EXPECT_EQ(QColor(Shown_On_Screen(Label).pixel(75, 10)), Q(Image ? clRed : C.Panel_Colour));
        Panel->Color(clAqua);
        Run_Loop(50);
        EXPECT_EQ(QColor(Shown_On_Screen(Label).pixel(75, 10)), Q(Image ? clRed : clAqua));
        Panel->Free();
        Run_Loop(20);
    }
}

TEST_F(Repaints, A_Lamp_Shows_Every_Colour_At_Once)
{
    // A frame lamp: blue as a frame goes out, green as its reply comes, each on the screen
    // by the next paint however short it stood; a hidden lamp shows its last colour.
    struct Case {
        const char* What;
        bool Hidden;
        std::vector<TColor> Colours;   // set one after the other on a green lamp
    };
    const Case Cases[] = {
        {"a frame sent", false, {clBlue}},
        {"its reply", false, {clBlue, clLime}},
        {"a reply overdue, then one in time", false, {clBlue, clRed, clBlue, clLime}},
        {"a hidden lamp", true, {clBlue, clRed}},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.What);
        auto* Lamp = new TPanel(Form, Form);
        Lamp->SetBounds(10, 10, 21, 21);
        Lamp->Color(clLime);
        Lamp->Visible(!C.Hidden);
        Form->Show();
        Run_Loop(30);
        for (TColor Colour : C.Colours) {
            Paint_Watch Watch(Lamp);
            Lamp->Color(Colour);
            EXPECT_EQ(Lamp->Color(), Colour);
            Run_Loop(5);
            if (!C.Hidden) {
                EXPECT_GT(Watch.Paints, 0);
                EXPECT_EQ(QColor(Shown_On_Screen(Lamp).pixel(10, 10)), Q(Colour));
            }
        }
        Lamp->Visible(true);
        Run_Loop(20);
        EXPECT_EQ(QColor(Shown_On_Screen(Lamp).pixel(10, 10)), Q(C.Colours.back()));
        Lamp->Free();
    }
}
