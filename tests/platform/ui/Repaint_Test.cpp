// What a change repaints, checked on the pixels the window system was given: a new caption
// repaints the label alone only over a panel's plain colour; a lamp shows a colour once it
// has stood.
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

TEST_F(Repaints, A_Lamp_Shows_A_Colour_Once_It_Has_Stood_Its_Settle_Time)
{
    struct Case {
        const char* What;
        int Settle_Ms;
        bool Hidden;
        std::vector<TColor> Colours;   // set one after the other on a green lamp
        TColor Shown_At_Once, Shown_Later;
    };
    const Case Cases[] = {
        {"no settle time: at once", 0, false, {clBlue}, clBlue, clBlue},
        {"a frame answered in time: stays green", 200, false, {clBlue, clLime}, clLime, clLime},
        {"a reply overdue: blue once it stood", 200, false, {clBlue, clRed, clBlue}, clLime, clBlue},
        {"a hidden lamp takes it at once", 200, true, {clBlue}, clBlue, clBlue},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.What);
        auto* Lamp = new TPanel(Form, Form);
        Lamp->SetBounds(10, 10, 21, 21);
        Lamp->Color(clLime);
        Lamp->Colour_Settle_Ms(C.Settle_Ms);
        Lamp->Visible(!C.Hidden);
        Form->Show();
        Run_Loop(30);
        Paint_Watch Watch(Lamp);
        for (TColor Colour : C.Colours) Lamp->Color(Colour);
        EXPECT_EQ(Lamp->Color(), C.Colours.back());   // reads back what was set, always
        EXPECT_EQ(Lamp->Shown_Colour(), C.Shown_At_Once);
        Run_Loop(C.Settle_Ms + 150);
        EXPECT_EQ(Lamp->Shown_Colour(), C.Shown_Later);
        if (!C.Hidden) {
            EXPECT_EQ(QColor(Shown_On_Screen(Lamp).pixel(10, 10)), Q(C.Shown_Later));
            EXPECT_EQ(Watch.Paints > 0, C.Shown_Later != clLime);
        }
        Lamp->Free();
    }
}
