// A panel writing its caption larger than the painter keeps glyphs for draws it from images
// of its glyphs: the pixels must be those the painter's own text drawing gives, after every
// change of text, colour, size or alignment.
#include "Fixture.h"
#include <QPainter>

namespace {

using Large_Captions = UI_Test;

struct Step {
    const char* Caption;
    TColor Colour;
    int Size;    // points
    int Width;   // of the panel (its height stays)
    TAlignment Alignment = TAlignment::Center;
};

// The inside of the panel (within its one-pixel bevel) as the painter writes the caption.
QImage Painter_Text(const TPanel* Panel, const Step& S)
{
    QImage Image(Panel->Width(), Panel->Height(), QImage::Format_ARGB32_Premultiplied);
    const TRGB Back = Color_To_RGB(clBtnFace), Pen = Color_To_RGB(S.Colour);
    Image.fill(QColor(Back.R, Back.G, Back.B));
    QPainter P(&Image);
    P.setFont(Panel->Widget()->font());
    P.setPen(QColor(Pen.R, Pen.G, Pen.B));
    int Flags = Qt::AlignVCenter | Qt::TextShowMnemonic;
    Flags |= S.Alignment == TAlignment::Right_Justify ? Qt::AlignRight
             : S.Alignment == TAlignment::Left_Justify ? Qt::AlignLeft
                                                       : Qt::AlignHCenter;
    P.drawText(Image.rect().adjusted(1, 1, -1, -1), Flags, QString::fromStdString(S.Caption));
    return Image;
}

int Differing_Pixels(const QImage& A, const QImage& B)
{
    int N = 0;
    for (int Y = 1; Y + 1 < A.height(); ++Y)
        for (int X = 1; X + 1 < A.width(); ++X)
            if (A.pixel(X, Y) != B.pixel(X, Y)) ++N;
    return N;
}

}  // namespace

TEST_F(Large_Captions, Are_Written_Pixel_For_Pixel_As_The_Painter_Writes_Them_After_Every_Change)
{
    struct Case {
        const char* What;
        std::vector<Step> Steps;   // applied one after the other to one panel
    };
    const Case Cases[] = {
        {"a value that changes, gains a digit and loses it",
         {{"812", clBlue, 60, 192}, {"813", clBlue, 60, 192}, {"1204", clBlue, 60, 192},
          {"95", clBlue, 60, 192}}},
        {"half-pixel centres: odd widths", {{"-12.5", 0x808000, 44, 201}, {"-12.5", 0x808000, 44, 203}}},
        {"a new colour and a new size", {{"27.3", clGreen, 52, 220}, {"27.3", clRed, 52, 220},
                                          {"27.3", clRed, 70, 220}}},
        {"wider than the panel: cut at its edges", {{"88888888", 0xD2AD1A, 60, 150}}},
        {"right and left aligned", {{"3.45", clNavy, 56, 230, TAlignment::Right_Justify},
                                    {"3.45", clNavy, 56, 230, TAlignment::Left_Justify}}},
        {"small text and a mnemonic, as before", {{"1500", clBlack, 10, 192}, {"A&B", clPurple, 60, 192}}},
    };
    Form->ClientWidth(300);
    Form->Show();
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.What);
        auto* Panel = new TPanel(Form, Form);
        Panel->ParentFont(false);
        for (const Step& S : C.Steps) {
            SCOPED_TRACE(S.Caption);
            Panel->SetBounds(4, 4, S.Width, 100);
            Panel->Alignment(S.Alignment);
            Panel->Font().Size(S.Size);
            Panel->Font().Color(S.Colour);
            Panel->Caption(S.Caption);
            Run_Loop(20);
            const QImage Shown = Panel->Widget()->grab().toImage().convertToFormat(
                QImage::Format_ARGB32_Premultiplied);
            const QImage Expected = Painter_Text(Panel, S);
            ASSERT_EQ(Shown.size(), Expected.size());
            // The text is there at all (the comparison would hold for two empty panels).
            EXPECT_NE(Differing_Pixels(Expected, Painter_Text(Panel, {"", S.Colour, S.Size, S.Width})), 0);
            EXPECT_EQ(Differing_Pixels(Shown, Expected), 0);
        }
        Panel->Free();
        Run_Loop(20);
    }
}
