// What a change repaints, checked on the screen's own pixels (what the window system was
// given, not a fresh rendering): a changed label over a plain panel repaints itself alone,
// a lamp shows a colour once it has stood, a drawing on an image repaints the part drawn.
#include "Fixture.h"
#include <QPaintEvent>
#include <QRegion>

namespace {

using Repaints = UI_Test;

// Counts the paint events of one widget and collects the regions they painted.
struct Paint_Watch : QObject {
    int Paints = 0;
    QRegion Painted;
    bool eventFilter(QObject*, QEvent* E) override
    {
        if (E->type() == QEvent::Paint) {
            ++Paints;
            Painted += static_cast<QPaintEvent*>(E)->region();
        }
        return false;
    }
    void Reset()
    {
        Paints = 0;
        Painted = QRegion();
    }
};

QColor Q(TColor C)
{
    const TRGB V = Color_To_RGB(C);
    return QColor(V.R, V.G, V.B);
}

}  // namespace

TEST_F(Repaints, A_Label_Over_A_Plain_Panel_Repaints_Alone_Anything_Else_Beneath_Repaints_Too)
{
    struct Case {
        const char* What;
        const char* Panel_Caption;
        TColor Panel_Colour;        // clNone: never set
        int Label_Left, Label_Top;  // within the panel (120 x 60, one-pixel bevel)
        bool Image_Beneath;
        bool Beneath_Repainted;     // what lies under the label: the panel or the image
    };
    const Case Cases[] = {
        {"label inside a panel of the button face", "", clNone, 10, 10, false, false},
        {"label inside a white panel", "", clWhite, 10, 10, false, false},
        {"label over the panel's bevel", "", clWhite, 0, 10, false, true},
        {"label over an image on the panel", "", clWhite, 10, 10, true, true},
        {"label over a panel with a caption", "Temp", clWhite, 10, 10, false, true},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.What);
        auto* Panel = new TPanel(Form, Form);
        Panel->SetBounds(10, 10, 120, 60);
        Panel->Caption(C.Panel_Caption);
        if (C.Panel_Colour != clNone) Panel->Color(C.Panel_Colour);
        TImage* Image = nullptr;
        if (C.Image_Beneath) {
            Image = new TImage(Form, Panel);
            Image->SetBounds(5, 5, 100, 40);
            Image->Canvas()->Brush.Color = clRed;
            Image->Canvas()->FillRect(Rect(0, 0, 100, 40));
        }
        auto* Label = new TLabel(Form, Panel);
        Label->AutoSize(false);
        Label->SetBounds(C.Label_Left, C.Label_Top, 80, 20);
        Label->Caption("1500");
        Form->Show();
        Run_Loop(50);
        TControl* Under = Image ? static_cast<TControl*>(Image) : Panel;
        Paint_Watch Form_Paints, Under_Paints, Label_Paints;
        Form->Widget()->installEventFilter(&Form_Paints);
        Under->Widget()->installEventFilter(&Under_Paints);
        Label->Widget()->installEventFilter(&Label_Paints);
        Label->Caption("2500");
        Run_Loop(50);
        EXPECT_GT(Label_Paints.Paints, 0);
        EXPECT_EQ(Under_Paints.Paints > 0, C.Beneath_Repainted);
        EXPECT_EQ(Form_Paints.Paints, 0);
        // Right of the text the label shows what lies beneath it.
        const QImage Shown = Shown_On_Screen(Label);
        const QColor Behind = Image ? Q(clRed) : Q(Panel->Color());
        EXPECT_EQ(QColor(Shown.pixel(75, 10)), Behind);
        // A new panel colour reaches the label's background too.
        if (!Image) {
            Panel->Color(clAqua);
            Run_Loop(50);
            const QImage Again = Shown_On_Screen(Label);
            EXPECT_EQ(QColor(Again.pixel(75, 10)), Q(clAqua));
            EXPECT_EQ(QColor(Shown_On_Screen(Panel).pixel(115, 55)), Q(clAqua));
        }
        Form->Widget()->removeEventFilter(&Form_Paints);
        Under->Widget()->removeEventFilter(&Under_Paints);
        Label->Widget()->removeEventFilter(&Label_Paints);
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
        std::vector<TColor> Colours;   // set one after the other, from green
        TColor Shown_At_Once;          // what the panel paints right after
        TColor Shown_Later;            // and once the settle time is over
    };
    const Case Cases[] = {
        {"no settle time: at once", 0, false, {clBlue}, clBlue, clBlue},
        {"a frame answered in time: stays green", 200, false, {clBlue, clLime}, clLime, clLime},
        {"a reply overdue: blue once it stood", 200, false, {clBlue}, clLime, clBlue},
        {"blue then red: the last colour", 200, false, {clBlue, clRed}, clLime, clRed},
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
        Paint_Watch Watch;
        Lamp->Widget()->installEventFilter(&Watch);
        for (TColor Colour : C.Colours) Lamp->Color(Colour);
        EXPECT_EQ(Lamp->Color(), C.Colours.back());   // reads back what was set, always
        EXPECT_EQ(Lamp->Shown_Colour(), C.Shown_At_Once);
        Run_Loop(C.Settle_Ms + 150);
        EXPECT_EQ(Lamp->Shown_Colour(), C.Shown_Later);
        if (!C.Hidden) {
            EXPECT_EQ(QColor(Shown_On_Screen(Lamp).pixel(10, 10)), Q(C.Shown_Later));
            EXPECT_EQ(Watch.Paints > 0, C.Shown_Later != clLime);
        }
        Lamp->Widget()->removeEventFilter(&Watch);
        Lamp->Free();
    }
}

TEST_F(Repaints, Drawing_On_An_Image_Repaints_The_Part_Drawn_And_The_Screen_Shows_It_All)
{
    TBitmap Stamp(10, 10);
    Stamp.Canvas()->Brush.Color = clGreen;
    Stamp.Canvas()->FillRect(Rect(0, 0, 10, 10));
    TBitmap Face(100, 100);   // as big as the image: copied row by row
    Face.Canvas()->Brush.Color = clTeal;
    Face.Canvas()->FillRect(Rect(0, 0, 100, 100));
    Face.Canvas()->Pixels(45, 45, clRed);
    struct Case {
        const char* What;
        bool Stretch;
        std::function<void(TCanvas&)> Draw;
        bool Whole;   // the whole image repainted
    };
    const Case Cases[] = {
        {"filled rectangle", false, [](TCanvas& C) { C.FillRect(Rect(10, 10, 20, 20)); }, false},
        {"needle-like polygon", false,
         [](TCanvas& C) {
             C.Pen.Width = 2;
             C.Polygon({Point(50, 50), Point(80, 20), Point(55, 58)});
         },
         false},
        {"wide line", false,
         [](TCanvas& C) {
             C.Pen.Width = 5;
             C.MoveTo(5, 90);
             C.LineTo(30, 70);
         },
         false},
        {"pixels copied from a bitmap", false,
         [&Stamp](TCanvas& C) { C.CopyRect(Rect(60, 60, 70, 70), *Stamp.Canvas(), Rect(0, 0, 10, 10)); },
         false},
        {"the same place of a picture as big", false,
         [&Face](TCanvas& C) {
             C.CopyRect(Rect(40, 40, 60, 70), *Face.Canvas(), Rect(40, 40, 60, 70));
             EXPECT_EQ(C.Pixels(45, 45), clRed);
             EXPECT_EQ(C.Pixels(59, 69), clTeal);
             EXPECT_EQ(C.Pixels(39, 45), clYellow);
             EXPECT_EQ(C.Pixels(45, 70), clYellow);
         },
         false},
        {"the same place, partly outside", false,
         [&Face](TCanvas& C) {
             C.CopyRect(Rect(90, -5, 120, 8), *Face.Canvas(), Rect(90, -5, 120, 8));
             EXPECT_EQ(C.Pixels(99, 7), clTeal);
             EXPECT_EQ(C.Pixels(89, 0), clYellow);
             EXPECT_EQ(C.Pixels(95, 8), clYellow);
         },
         false},
        {"a copy within the image onto itself", false,
         [](TCanvas& C) { C.CopyRect(Rect(0, 0, 30, 30), C, Rect(5, 5, 35, 35)); }, false},
        {"one pixel", false, [](TCanvas& C) { C.Pixels(3, 3, clRed); }, false},
        {"bitmap drawn", false, [&Stamp](TCanvas& C) { C.Draw(85, 85, Stamp); }, false},
        {"text", false, [](TCanvas& C) { C.TextOut(40, 40, "88"); }, false},
        {"drawing on a stretched picture", true, [](TCanvas& C) { C.FillRect(Rect(10, 10, 20, 20)); },
         true},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.What);
        auto* Image = new TImage(Form, Form);
        Image->SetBounds(10, 10, 100, 100);
        Image->Stretch(C.Stretch);
        TCanvas* Canvas = Image->Canvas();
        Canvas->Brush.Color = clYellow;
        Canvas->FillRect(Rect(0, 0, 100, 100));
        Canvas->Pixels(20, 20, clBlue);
        Form->Show();
        Run_Loop(30);
        Paint_Watch Watch;
        Image->Widget()->installEventFilter(&Watch);
        Canvas->Brush.Color = clNavy;
        Canvas->Pen.Color = clMaroon;
        C.Draw(*Canvas);
        Run_Loop(30);
        EXPECT_GT(Watch.Paints, 0);
        EXPECT_EQ((QRegion(0, 0, 100, 100) - Watch.Painted).isEmpty(), C.Whole)
            << Watch.Painted.boundingRect().x() << "," << Watch.Painted.boundingRect().y() << " "
            << Watch.Painted.boundingRect().width() << "x" << Watch.Painted.boundingRect().height();
        // Whatever was repainted, the screen shows the picture pixel for pixel.
        const QImage Shown = Shown_On_Screen(Image);
        const QImage& Picture = Image->Picture().Bitmap().Image();
        int Different = 0;
        for (int Y = 0; Y < 100; ++Y)
            for (int X = 0; X < 100; ++X) Different += Shown.pixel(X, Y) != Picture.pixel(X, Y);
        EXPECT_EQ(Different, 0);
        Image->Widget()->removeEventFilter(&Watch);
        Image->Free();
    }
}
