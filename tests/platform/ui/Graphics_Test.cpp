// Off-screen drawing: pen caps, rectangle edges, opaque text, transparency, pixel reads,
// JPEG decoding, image controls.
#include "Fixture.h"
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>

using Drawing = UI_Test;

TEST_F(Drawing, Wide_Pens_Draw_Round_Caps_And_Pixels_Read_Back_Exact_Colours)
{
    TBitmap B(30, 30);
    TCanvas* C = B.Canvas();
    C->Pen.Color = clRed;
    C->Pen.Width = 7;
    C->MoveTo(10, 15);
    C->LineTo(20, 15);
    EXPECT_EQ(C->Pixels(15, 15), clRed);
    EXPECT_EQ(C->Pixels(7, 15), clRed);      // the cap reaches past the end point ...
    EXPECT_EQ(C->Pixels(7, 12), clWhite);    // ... round, not square
    EXPECT_EQ(C->PenPos().X, 20);
    EXPECT_EQ(C->Pixels(-1, 3), clNone);
    EXPECT_EQ(C->Pixels(30, 3), clNone);
}

TEST_F(Drawing, Rectangles_Exclude_Right_And_Bottom_Edges_And_Clear_Brush_Leaves_The_Inside)
{
    TBitmap B(20, 20);
    TCanvas* C = B.Canvas();
    C->Brush.Color = clBlue;
    C->FillRect(Rect(0, 0, 20, 20));
    C->Brush.Style = TBrush_Style::Clear;
    C->Pen.Color = clBlack;
    C->Rectangle(2, 2, 8, 8);
    EXPECT_EQ(C->Pixels(2, 2), clBlack);
    EXPECT_EQ(C->Pixels(7, 7), clBlack);
    EXPECT_EQ(C->Pixels(8, 8), clBlue);
    EXPECT_EQ(C->Pixels(4, 4), clBlue);
    C->Brush.Style = TBrush_Style::Solid;
    C->Brush.Color = clLime;
    C->Rectangle(10, 10, 16, 16);
    EXPECT_EQ(C->Pixels(12, 12), clLime);
    C->Brush.Color = clYellow;
    C->FillRect(Rect(0, 18, 20, 20));
    EXPECT_EQ(C->Pixels(0, 18), clYellow);
    EXPECT_EQ(C->Pixels(0, 17), clBlue);
}

TEST_F(Drawing, Text_Out_Fills_Its_Cell_With_A_Solid_Brush_Only)
{
    TBitmap B(100, 40);
    TCanvas* C = B.Canvas();
    C->Font.Pixels(13);
    const int W = C->TextWidth("ii");
    const int H = C->TextHeight("ii");
    ASSERT_GT(W, 0);
    ASSERT_GT(H, 5);
    C->Brush.Color = clYellow;
    C->TextOut(0, 0, "ii");
    EXPECT_EQ(C->Pixels(W - 1, 0), clYellow);
    EXPECT_EQ(C->Pixels(W + 2, 0), clWhite);
    EXPECT_EQ(C->PenPos().X, W);
    C->Brush.Style = TBrush_Style::Clear;
    C->TextOut(0, 20, "ii");
    EXPECT_EQ(C->Pixels(W - 1, 20), clWhite);
    EXPECT_EQ(ui::Text_Width(C->Font, "ii"), W);
    EXPECT_GT(ui::Text_Width(C->Font, "iiii"), W);
}

TEST_F(Drawing, Transparent_Bitmaps_Let_The_Background_Show_Through)
{
    TBitmap Needle(10, 10);                   // white background
    Needle.Canvas()->Pixels(3, 3, clRed);
    Needle.Transparent(true);
    EXPECT_EQ(Needle.TransparentColor(), clWhite);
    TBitmap Dial(20, 20);
    Dial.Canvas()->Brush.Color = clBlue;
    Dial.Canvas()->FillRect(Rect(0, 0, 20, 20));
    Dial.Canvas()->Draw(5, 5, Needle);
    EXPECT_EQ(Dial.Canvas()->Pixels(5, 5), clBlue);
    EXPECT_EQ(Dial.Canvas()->Pixels(8, 8), clRed);
    Needle.Transparent(false);
    Dial.Canvas()->Draw(5, 5, Needle);
    EXPECT_EQ(Dial.Canvas()->Pixels(5, 5), clWhite);
}

TEST_F(Drawing, JPEG_Pictures_Decode_And_Bad_Files_Fail_Cleanly)
{
    QTemporaryDir Dir;
    ASSERT_TRUE(Dir.isValid());
    QImage Source(24, 16, QImage::Format_RGB32);
    Source.fill(QColor(200, 30, 40));
    const QString Path = Dir.filePath("dial.jpg");
    ASSERT_TRUE(Source.save(Path, "JPG", 95));
    TBitmap B;
    std::string Error;
    ASSERT_TRUE(B.LoadFromFile(Path.toStdString(), &Error)) << Error;
    EXPECT_EQ(B.Width(), 24);
    EXPECT_EQ(B.Height(), 16);
    const TRGB P = Color_To_RGB(B.Canvas()->Pixels(12, 8));
    EXPECT_NEAR(P.R, 200, 8);
    EXPECT_NEAR(P.G, 30, 8);
    EXPECT_NEAR(P.B, 40, 8);

    QFile Whole(Path);
    ASSERT_TRUE(Whole.open(QIODevice::ReadOnly));
    const QByteArray Bytes = Whole.readAll();
    QImage Out;
    EXPECT_FALSE(Decode_JPEG(Bytes.left(40).toStdString(), &Out, &Error));
    EXPECT_FALSE(Error.empty());
    EXPECT_FALSE(Decode_JPEG("\xFF\xD8 not a picture", &Out, &Error));
    EXPECT_FALSE(Decode_JPEG("", &Out, &Error));
    TPicture From_Memory;
    EXPECT_TRUE(From_Memory.Load_From_Bytes(Bytes.toStdString(), &Error)) << Error;
    EXPECT_EQ(From_Memory.Width(), 24);
    EXPECT_FALSE(From_Memory.Load_From_Bytes("BM garbage", &Error));
    TBitmap Missing;
    EXPECT_FALSE(Missing.LoadFromFile(Dir.filePath("none.jpg").toStdString(), &Error));
    EXPECT_TRUE(Missing.Empty());
}

TEST_F(Drawing, Image_Control_Keeps_Its_Own_Size_Bitmap_And_Is_Drawn_In_One_Step)
{
    auto* Image = new TImage(Form, Form);
    Image->SetBounds(0, 0, 60, 40);
    TCanvas* C = Image->Canvas();
    EXPECT_EQ(Image->Picture().Width(), 60);
    EXPECT_EQ(Image->Picture().Height(), 40);
    TBitmap Frame(30, 20);
    Frame.Canvas()->Brush.Color = clGreen;
    Frame.Canvas()->FillRect(Rect(0, 0, 30, 20));
    C->Draw(30, 20, Frame);
    EXPECT_EQ(C->Pixels(31, 21), clGreen);
    EXPECT_EQ(C->Pixels(29, 19), clWhite);
    Image->Stretch(true);
    Image->SetBounds(0, 0, 120, 80);                // the control grows, the picture keeps its size
    EXPECT_EQ(Image->Picture().Width(), 60);
    QTemporaryDir Dir;
    const QString Png = Dir.filePath("image.png");
    ASSERT_TRUE(ui::Render_To_PNG(Image, Png.toStdString()));
    const QImage Shown(Png);
    ASSERT_EQ(Shown.width(), 120);
    EXPECT_EQ(QColor(Shown.pixel(100, 70)), QColor(0, 128, 0));   // stretched picture
}

TEST_F(Drawing, A_Transparent_Image_Shows_Each_New_Picture_And_Key_Colour_Over_Its_Parent)
{
    auto* Panel = new TPanel(Form, Form);
    Panel->SetBounds(0, 0, 100, 100);
    Panel->Color(clBlue);
    auto* Image = new TImage(Form, Panel);
    Image->SetBounds(10, 10, 40, 40);
    Image->Transparent(true);
    TCanvas* C = Image->Canvas();                    // white: the see-through colour
    C->Brush.Color = clRed;
    C->FillRect(Rect(0, 0, 10, 10));
    Form->Show();
    const auto Shown = [Panel](int X, int Y) { return QColor(Panel->Widget()->grab().toImage().pixel(X, Y)); };
    EXPECT_EQ(Shown(15, 15), QColor(Qt::red));
    EXPECT_EQ(Shown(35, 35), QColor(Qt::blue));

    // The picture changes: the old needle goes, the new one shows, the rest stays clear.
    C->Brush.Color = clWhite;
    C->FillRect(Rect(0, 0, 40, 40));
    C->Brush.Color = clRed;
    C->FillRect(Rect(20, 20, 30, 30));
    EXPECT_EQ(Shown(15, 15), QColor(Qt::blue));
    EXPECT_EQ(Shown(35, 35), QColor(Qt::red));

    // A pixel drawn alone and a new see-through colour are honoured at the next paint.
    C->Pixels(2, 2, clGreen);
    EXPECT_EQ(Shown(12, 12), QColor(0, 128, 0));
    Image->Picture().Bitmap().TransparentColor(clRed);
    EXPECT_EQ(Shown(35, 35), QColor(Qt::blue));
    EXPECT_EQ(Shown(15, 15), QColor(Qt::white));
    Image->Transparent(false);
    EXPECT_EQ(Shown(35, 35), QColor(Qt::red));
}

TEST_F(Drawing, Only_An_Opaque_Picture_Over_The_Whole_Image_Hides_What_Lies_Beneath)
{
    auto* Panel = new TPanel(Form, Form);
    Panel->SetBounds(0, 0, 100, 100);
    Panel->Color(clBlue);
    auto* Image = new TImage(Form, Panel);
    Image->SetBounds(0, 0, 40, 40);
    Form->Show();
    const auto Covers = [Image] { return Image->Widget()->testAttribute(Qt::WA_OpaquePaintEvent); };
    EXPECT_FALSE(Covers());                          // no picture yet
    Image->Canvas()->Pixels(0, 0, clRed);            // a picture of the control's size
    EXPECT_TRUE(Covers());
    Image->SetBounds(0, 0, 60, 60);                  // the control outgrows its picture
    EXPECT_FALSE(Covers());
    const QImage Shown = Panel->Widget()->grab().toImage();
    EXPECT_EQ(QColor(Shown.pixel(50, 50)), QColor(Qt::blue));
    EXPECT_EQ(QColor(Shown.pixel(0, 0)), QColor(Qt::red));
    Image->Stretch(true);
    EXPECT_TRUE(Covers());
    Image->Transparent(true);
    EXPECT_FALSE(Covers());
    Image->Transparent(false);
    Image->Picture().Clear();
    EXPECT_FALSE(Covers());
}
