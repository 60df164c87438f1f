// Dial gauges: where the needle points for a value, the built-in dial faces, a needle over
// its dial as the General page shows it, and the colours of the live views.
#include <QColor>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>

#include "main/Gauges.h"
#include "platform/ui/Fixture.h"
#include "platform/ui/UI.h"
#include "main/Process_State.h"

namespace {

constexpr double Pi = 3.14159265358979323846;

// Where a needle was drawn: the needle-coloured pixel farthest from the centre, as the
// needle's angle (degrees, 0..360) and its distance; Count is the number of such pixels.
struct Needle_Seen {
    int Count = 0;
    double Angle = 0;
    double Length = 0;
    int Tip_X = 0, Tip_Y = 0;
};

Needle_Seen Find_Needle(TBitmap& Bitmap, TColor Colour)
{
    Needle_Seen Seen;
    const int C = Bitmap.Width() / 2;
    for (int Y = 0; Y < Bitmap.Height(); ++Y)
        for (int X = 0; X < Bitmap.Width(); ++X) {
            if (Bitmap.Canvas()->Pixels(X, Y) != Colour) continue;
            ++Seen.Count;
            const double D = std::hypot(X - C, Y - C);
            if (D <= Seen.Length) continue;
            Seen.Length = D;
            Seen.Tip_X = X;
            Seen.Tip_Y = Y;
        }
    // The needle's angle a points toward (sin a, cos a).
    double A = std::atan2(Seen.Tip_X - C, Seen.Tip_Y - C) * 180.0 / Pi;
    if (A < 0) A += 360.0;
    Seen.Angle = A;
    return Seen;
}

// Pixels of a colour other than white and the needle's.
int Foreign_Pixels(TBitmap& Bitmap, TColor Colour)
{
    int Count = 0;
    for (int Y = 0; Y < Bitmap.Height(); ++Y)
        for (int X = 0; X < Bitmap.Width(); ++X) {
            const TColor P = Bitmap.Canvas()->Pixels(X, Y);
            if (P != Colour && P != clWhite) ++Count;
        }
    return Count;
}

double Angle_Gap(double A, double B) { return std::fabs(std::fmod(A - B + 540.0, 360.0) - 180.0); }

// The dial face of 165 pixels: centre 82, needle length 82 - 12 = 70.
constexpr int Size = Dial_Face_Size;
constexpr double Needle_Length = 70;

TEST(Gauge_Needle, Points_Where_The_Value_Says_On_All_Three_Scales_And_Past_Their_Ends)
{
    struct Case {
        const Gauge_Parameters* Gauge;
        int Value;
        double Angle;
    };
    const Case Cases[] = {
        {&Gauge_RPM, 0, 300},    {&Gauge_RPM, 2500, 180}, {&Gauge_RPM, 5000, 60},
        {&Gauge_RPM, 1000, 252}, {&Gauge_RPM, 4000, 108}, {&Gauge_TPS, 0, 300},
        {&Gauge_TPS, 250, 180},  {&Gauge_TPS, 500, 60},   {&Gauge_Gas, 0, 300},
        {&Gauge_Gas, 16000, 180}, {&Gauge_Gas, 32000, 60}, {&Gauge_Gas, 8000, 240},
        // Beyond the scale the needle points past its ends: 300 - 6000 * 240 / 5000 = 12
        // degrees, below the right end; -1000 rpm at 348, below the left end.
        {&Gauge_RPM, 6000, 12},  {&Gauge_RPM, -1000, 348},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(std::string(C.Gauge->Image_Name) + " at " + std::to_string(C.Value));
        const std::unique_ptr<TBitmap> Needle = Draw_Gauge_Needle(*C.Gauge, C.Value, Size, Size);
        ASSERT_TRUE(Needle);
        ASSERT_EQ(Needle->Width(), Size);
        ASSERT_EQ(Needle->Height(), Size);
        const Needle_Seen Seen = Find_Needle(*Needle, C.Gauge->Colour);
        EXPECT_GT(Seen.Count, 300);     // a filled triangle, not an outline
        EXPECT_LT(Angle_Gap(Seen.Angle, C.Angle), 3.0) << "needle at " << Seen.Angle;
        EXPECT_NEAR(Seen.Length, Needle_Length, 2.5);
        // White everywhere else: the dial shows through all of it.
        EXPECT_EQ(Foreign_Pixels(*Needle, C.Gauge->Colour), 0);
    }
}

TEST(Gauge_Needle, Edge_Positions_Of_The_Engine_Speed_Dial_Pixel_By_Pixel)
{
    // 2500 rpm: straight up, tip at (82, 12).
    auto Up = Draw_Gauge_Needle(Gauge_RPM, 2500, Size, Size);
    TCanvas* C = Up->Canvas();
    EXPECT_EQ(C->Pixels(82, 14), Gauge_RPM.Colour);
    EXPECT_EQ(C->Pixels(82, 50), Gauge_RPM.Colour);
    EXPECT_EQ(C->Pixels(82, 6), clWhite);                 // beyond the tip
    EXPECT_EQ(C->Pixels(82, 130), clWhite);               // the opposite side
    // 0 rpm: lower left, tip at (82 - 60, 82 + 35) = (22, 117).
    auto Low = Draw_Gauge_Needle(Gauge_RPM, 0, Size, Size);
    EXPECT_EQ(Low->Canvas()->Pixels(26, 114), Gauge_RPM.Colour);
    EXPECT_EQ(Low->Canvas()->Pixels(15, 121), clWhite);
    EXPECT_EQ(Low->Canvas()->Pixels(138, 114), clWhite);
    // 5000 rpm: lower right, the mirror image, tip at (142, 117).
    auto High = Draw_Gauge_Needle(Gauge_RPM, 5000, Size, Size);
    EXPECT_EQ(High->Canvas()->Pixels(138, 114), Gauge_RPM.Colour);
    EXPECT_EQ(High->Canvas()->Pixels(149, 121), clWhite);
    EXPECT_EQ(High->Canvas()->Pixels(26, 114), clWhite);
    // The two ends mirror each other about the vertical through the centre.
    const Needle_Seen L = Find_Needle(*Low, Gauge_RPM.Colour);
    const Needle_Seen H = Find_Needle(*High, Gauge_RPM.Colour);
    EXPECT_EQ(L.Count, H.Count);
    EXPECT_NEAR(L.Tip_X + H.Tip_X, 2 * 82, 2);
    EXPECT_EQ(L.Tip_Y, H.Tip_Y);
    // The corner points are cut toward zero on both sides of the centre.
    const TPoint Left_End = Dial_Point(82, 82, 300 * Pi / 180, 70);
    EXPECT_EQ(Left_End.X, 82 - 60);     // -60.6 cut to -60, not -61
    EXPECT_EQ(Left_End.Y, 82 + 35);
}

TEST(Gauge_Needle, Sizes_Offsets_And_Degenerate_Scales)
{
    // The picture takes the given size; the needle turns about (width div 2, width div 2).
    auto Wide = Draw_Gauge_Needle(15, 7, clRed, 100, 240, 2500, 5000, 0, 300, 60, 0, 0);
    ASSERT_EQ(Wide->Width(), 240);
    ASSERT_EQ(Wide->Height(), 100);
    EXPECT_EQ(Wide->Canvas()->Pixels(120, 60), clRed);     // up from (120, 120): inside
    EXPECT_EQ(Wide->Canvas()->Pixels(120, 14), clWhite);    // beyond the tip at (120, 18)
    // An offset moves the whole needle by its share of the half width (10 % of 82 = 8).
    auto Plain = Draw_Gauge_Needle(15, 7, clRed, Size, Size, 2500, 5000, 0, 300, 60, 0, 0);
    auto Moved = Draw_Gauge_Needle(15, 7, clRed, Size, Size, 2500, 5000, 0, 300, 60, -10, 10);
    const Needle_Seen P = Find_Needle(*Plain, clRed);
    const Needle_Seen M = Find_Needle(*Moved, clRed);
    EXPECT_EQ(M.Count, P.Count);
    EXPECT_EQ(Moved->Canvas()->Pixels(82 + 8, 14 - 8), clRed);
    EXPECT_EQ(Moved->Canvas()->Pixels(82, 50), clWhite);
    // A scale without range rests at its start instead of dividing by zero.
    auto Flat = Draw_Gauge_Needle(15, 7, clRed, Size, Size, 123, 100, 100, 300, 60, 0, 0);
    EXPECT_LT(Angle_Gap(Find_Needle(*Flat, clRed).Angle, 300), 3.0);
    auto Still = Draw_Gauge_Needle(15, 7, clRed, Size, Size, 4000, 5000, 0, 90, 90, 0, 0);
    EXPECT_LT(Angle_Gap(Find_Needle(*Still, clRed).Angle, 90), 3.0);
    // No size, no picture.
    EXPECT_TRUE(Draw_Gauge_Needle(15, 7, clRed, 0, Size, 0, 5000, 0, 300, 60, 0, 0)->Empty());
    EXPECT_TRUE(Draw_Gauge_Needle(15, 7, clRed, Size, -5, 0, 5000, 0, 300, 60, 0, 0)->Empty());
}

// ---------------------------------------------------------------- window tests

class Gauge_Window : public ::testing::Test {
protected:
    void SetUp() override
    {
        Reset_All_State();
        ui::Hooks.On_Unexpected_Dialog = [](const std::string& What) { ADD_FAILURE() << What; };
        App = std::make_unique<TApplication>();
        App->CreateForm(Form);
        Form->Name("Form_Gauges");
        Form->ClientWidth(560);
        Form->ClientHeight(200);
    }
    void TearDown() override
    {
        App.reset();
        Reset_All_State();
    }
    std::unique_ptr<TApplication> App;
    TForm* Form = nullptr;
};

bool Near(QColor A, QColor B, int Tolerance)
{
    return std::abs(A.red() - B.red()) <= Tolerance && std::abs(A.green() - B.green()) <= Tolerance &&
           std::abs(A.blue() - B.blue()) <= Tolerance;
}

QColor Colour_Of(TColor C)
{
    const TRGB V = Color_To_RGB(C);
    return QColor(V.R, V.G, V.B);
}

TEST_F(Gauge_Window, Built_In_Dial_Faces_Decode_To_Their_Size_White_Outside_The_Face)
{
    for (const Gauge_Parameters* G : {&Gauge_RPM, &Gauge_TPS, &Gauge_Gas}) {
        SCOPED_TRACE(G->Dial_Resource);
        const std::string Bytes = Dial_Face_JPEG(*G);
        ASSERT_GT(Bytes.size(), 1000u);
        EXPECT_EQ(static_cast<unsigned char>(Bytes[0]), 0xFF);
        EXPECT_EQ(static_cast<unsigned char>(Bytes[1]), 0xD8);
    }
    auto* RPM = new TImage(Form, Form);
    auto* TPS = new TImage(Form, Form);
    auto* Gas = new TImage(Form, Form);
    std::string Error = "untouched";
    ASSERT_TRUE(Dial_Faces_Load(RPM, TPS, Gas, &Error)) << Error;
    EXPECT_EQ(Error, "");
    for (TImage* Dial : {RPM, TPS, Gas}) {
        ASSERT_EQ(Dial->Picture().Width(), Size);
        ASSERT_EQ(Dial->Picture().Height(), Size);
        const QImage& I = Dial->Picture().Bitmap().Image();
        for (const QPoint Corner : {QPoint(1, 1), QPoint(163, 1), QPoint(1, 163), QPoint(163, 163)})
            EXPECT_TRUE(Near(I.pixel(Corner), Qt::white, 6)) << Corner.x() << "," << Corner.y();
        EXPECT_TRUE(Near(I.pixel(82, 82), QColor(60, 60, 60), 40));   // the hub at the pivot
    }
    // The faces differ: each carries its own scale.
    EXPECT_NE(RPM->Picture().Bitmap().Image(), Gas->Picture().Bitmap().Image());
}

TEST_F(Gauge_Window, A_Dial_Face_That_Cannot_Be_Loaded_Is_Reported_And_Leaves_The_Image_Alone)
{
    auto* Dial = new TImage(Form, Form);
    Dial->SetBounds(0, 0, 20, 10);
    Dial->Canvas()->Pixels(3, 3, clRed);
    const Gauge_Parameters Unknown = {"Image_X", "Image_X_jpg", "no_such_face.jpg", 0, 10, clRed};
    std::string Error;
    EXPECT_FALSE(Dial_Face_Load(Dial, Unknown, &Error));
    EXPECT_NE(Error.find("no_such_face.jpg"), std::string::npos) << Error;
    EXPECT_EQ(Dial->Picture().Width(), 20);
    EXPECT_EQ(Dial->Canvas()->Pixels(3, 3), clRed);
    EXPECT_FALSE(Dial_Face_Load(nullptr, Gauge_RPM, &Error));
    EXPECT_FALSE(Error.empty());
    // Missing images are skipped; the others load.
    auto* Gas = new TImage(Form, Form);
    EXPECT_TRUE(Dial_Faces_Load(nullptr, nullptr, Gas, &Error));
    EXPECT_EQ(Gas->Picture().Width(), Size);
}

TEST_F(Gauge_Window, Needle_Over_Its_Dial_Shows_Both_Where_The_Values_Say)
{
    struct Shown_Gauge {
        const Gauge_Parameters* Gauge;
        int Value;
        TImage* Dial = nullptr;
        TImage* Needle = nullptr;
        TPanel* Panel = nullptr;
    };
    Shown_Gauge Gauges[] = {{&Gauge_RPM, 3200}, {&Gauge_TPS, 120}, {&Gauge_Gas, 30000}};
    int Left = 5;
    for (Shown_Gauge& S : Gauges) {
        S.Panel = new TPanel(Form, Form);
        S.Panel->SetBounds(Left, 5, Size + 10, Size + 10);
        S.Panel->Color(clWhite);
        S.Dial = new TImage(Form, S.Panel);
        S.Dial->SetBounds(5, 5, Size, Size);
        S.Needle = new TImage(Form, S.Panel);
        S.Needle->SetBounds(5, 5, Size, Size);
        S.Needle->Transparent(true);
        ASSERT_TRUE(Dial_Face_Load(S.Dial, *S.Gauge));
        Gauge_Show(S.Needle, *S.Gauge, S.Value, Size, Size);
        Left += Size + 15;
    }
    Form->Show();
    QTemporaryDir Keep;
    Keep.setAutoRemove(false);
    const std::string Path = QDir(Keep.path()).filePath("gauges.png").toStdString();
    ASSERT_TRUE(ui::Render_To_PNG(Form, Path));
    const QImage Shot(QString::fromStdString(Path));
    ASSERT_FALSE(Shot.isNull());
    for (const Shown_Gauge& S : Gauges) {
        SCOPED_TRACE(S.Gauge->Image_Name);
        const double Angle =
            (300.0 - (S.Value - S.Gauge->Min) * 240.0 / (S.Gauge->Max - S.Gauge->Min)) * Pi / 180;
        auto On_Screen = [&](double Radius) {
            return S.Needle->Widget()->mapTo(
                Form->Widget(), QPoint(82 + static_cast<int>(std::sin(Angle) * Radius),
                                       82 + static_cast<int>(std::cos(Angle) * Radius)));
        };
        // Needle along its line, in its own colour.
        EXPECT_EQ(QColor(Shot.pixel(On_Screen(40))), Colour_Of(S.Gauge->Colour));
        EXPECT_EQ(QColor(Shot.pixel(On_Screen(60))), Colour_Of(S.Gauge->Colour));
        // The dial shows through the needle picture: its grey ring at the bottom of the face
        // and its white outside.
        const QPoint Ring = S.Needle->Widget()->mapTo(Form->Widget(), QPoint(82, 82 + 80));
        EXPECT_TRUE(Near(Shot.pixel(Ring), QColor(90, 90, 90), 60)) << QColor(Shot.pixel(Ring)).name().toStdString();
        const QPoint Outside = S.Needle->Widget()->mapTo(Form->Widget(), QPoint(2, 2));
        EXPECT_TRUE(Near(Shot.pixel(Outside), Qt::white, 6));
    }
    std::printf("gauges over their dials: %s\n", Path.c_str());
}

TEST_F(Gauge_Window, A_Needle_Drawn_On_Its_Face_Looks_As_The_Needle_Over_The_Face)
{
    // Two displays side by side: the see-through needle over its dial, and the needle drawn
    // onto a copy of the face. Both show the same pixels, for each gauge and value.
    struct Display {
        TPanel* Panel = nullptr;
        TImage* Dial = nullptr;
        TImage* Needle = nullptr;
    };
    auto Make = [this](int Left) {
        Display D;
        D.Panel = new TPanel(Form, Form);
        D.Panel->SetBounds(Left, 5, Size + 10, Size + 10);
        D.Panel->Color(clWhite);
        D.Dial = new TImage(Form, D.Panel);
        D.Dial->SetBounds(5, 5, Size, Size);
        D.Needle = new TImage(Form, D.Panel);
        D.Needle->SetBounds(5, 5, Size, Size);
        D.Needle->Transparent(true);
        return D;
    };
    const Display Layered = Make(5);
    const Display Composed = Make(Size + 20);
    Form->Show();
    struct Case {
        const Gauge_Parameters* Gauge;
        int Value;
    };
    for (const Case C : {Case{&Gauge_RPM, 0}, Case{&Gauge_RPM, 3200}, Case{&Gauge_TPS, 120},
                         Case{&Gauge_Gas, 32000}, Case{&Gauge_Gas, 40000}}) {
        SCOPED_TRACE(std::string(C.Gauge->Image_Name) + " " + std::to_string(C.Value));
        ASSERT_TRUE(Dial_Face_Load(Layered.Dial, *C.Gauge));
        ASSERT_TRUE(Dial_Face_Load(Composed.Dial, *C.Gauge));
        Gauge_Show(Layered.Needle, *C.Gauge, C.Value, Size, Size);
        Gauge_Show_On_Face(Composed.Needle, Composed.Dial, *C.Gauge, C.Value, Size, Size);
        EXPECT_FALSE(Composed.Needle->Transparent());
        const QImage A = Layered.Panel->Widget()->grab().toImage();
        const QImage B = Composed.Panel->Widget()->grab().toImage();
        ASSERT_EQ(A.size(), B.size());
        int Different = 0;
        for (int Y = 0; Y < A.height(); ++Y)
            for (int X = 0; X < A.width(); ++X) Different += A.pixel(X, Y) != B.pixel(X, Y);
        EXPECT_EQ(Different, 0);
        // The dial face itself is left as it was.
        EXPECT_EQ(Composed.Dial->Picture().Bitmap().Image(), Layered.Dial->Picture().Bitmap().Image());
    }
    // A face that does not lie under the needle image: the needle alone, see-through.
    Composed.Dial->SetBounds(0, 0, Size, Size);
    Gauge_Show_On_Face(Composed.Needle, Composed.Dial, Gauge_RPM, 2500, Size, Size);
    EXPECT_TRUE(Composed.Needle->Transparent());
    EXPECT_EQ(Composed.Needle->Canvas()->Pixels(2, 2), clWhite);
    Gauge_Show_On_Face(Composed.Needle, nullptr, Gauge_RPM, 2500, Size, Size);
    EXPECT_TRUE(Composed.Needle->Transparent());
}

TEST_F(Gauge_Window, A_Moving_Needle_Repaints_Where_It_Was_And_Is_And_The_Screen_Shows_Face_And_Needle)
{
    // The needle over its face as the General page shows it, step after step; beside it a
    // fresh pair per step draws the value from scratch. The screens must match.
    auto Pair = [this](int Left, const Gauge_Parameters& Face, TImage*& Dial, TImage*& Needle) {
        for (TImage** I : {&Dial, &Needle}) {
            *I = new TImage(Form, Form);
            (*I)->SetBounds(Left, 5, Size, Size);
        }
        ASSERT_TRUE(Dial_Face_Load(Dial, Face));
    };
    TImage *Dial = nullptr, *Needle = nullptr;
    ASSERT_NO_FATAL_FAILURE(Pair(5, Gauge_RPM, Dial, Needle));
    Form->Show();
    struct Step {
        const char* What;
        int Value;
        const Gauge_Parameters* Face;   // loaded before the step
        bool Whole;                      // the whole image repainted
    };
    const Step Steps[] = {
        {"first needle: drawn whole", 800, &Gauge_RPM, true},
        {"a small move", 950, &Gauge_RPM, false},
        {"past the end of the scale", 7000, nullptr, false},
        {"back to zero", 0, nullptr, false},
        {"a new face under it: drawn whole", 2500, &Gauge_TPS, true},
        {"and moving on it", 3000, nullptr, false},
    };
    const Gauge_Parameters* Face = &Gauge_RPM;
    for (const Step& S : Steps) {
        SCOPED_TRACE(S.What);
        if (S.Face && S.Face != Face) {
            Face = S.Face;
            ASSERT_TRUE(Dial_Face_Load(Dial, *Face));
        }
        Run_Loop(20);
        {
            Paint_Watch Watch(Needle);
            Gauge_Show_On_Face(Needle, Dial, Gauge_RPM, S.Value, Size, Size);
            Run_Loop(20);
            EXPECT_EQ((QRegion(0, 0, Size, Size) - Watch.Painted).isEmpty(), S.Whole);
        }
        TImage *Fresh_Dial = nullptr, *Fresh = nullptr;
        ASSERT_NO_FATAL_FAILURE(Pair(Size + 15, *Face, Fresh_Dial, Fresh));
        Gauge_Show_On_Face(Fresh, Fresh_Dial, Gauge_RPM, S.Value, Size, Size);
        Run_Loop(20);
        EXPECT_EQ(Shown_On_Screen(Needle), Shown_On_Screen(Fresh));
        Fresh->Free();
        Fresh_Dial->Free();
    }
}

TEST_F(Gauge_Window, Colour_Scheme_Colours_The_Controls_That_Exist_And_Skips_The_Rest)
{
    auto* Page = new TPanel(Form, Form);
    auto* Display = new TPanel(Form, Page);
    Display->Name("Panel_GEN_Display_RPM");
    auto* Other_Panel = new TPanel(Form, Page);
    Other_Panel->Name("Panel_GEN_Display_Temp");
    Other_Panel->Color(clBtnFace);
    auto* RPM = new TLabel(Form, Display);
    RPM->Name("Label_GEN_RPM_Dig");
    auto* Temperature = new TLabel(Form, Page);
    Temperature->Name("Label_GEN_TempVap");
    auto* Level = new TLabel(Form, Page);
    Level->Name("Label_GEN_GasLevel");
    auto* Channel = new TEdit(Form, Page);
    Channel->Name("Edit_OSC_TempGas");
    auto* Box = new TGroupBox(Form, Page);
    Box->Name("GroupBox_OSC_Injection");
    auto* Unrelated = new TLabel(Form, Page);
    Unrelated->Name("Label_GEN_Work_Mode");
    const TColor Unrelated_Colour = Unrelated->Font().Color();

    Colour_Scheme_Apply(Form);

    EXPECT_EQ(Display->Color(), clWhite);
    EXPECT_EQ(Other_Panel->Color(), clBtnFace);
    EXPECT_EQ(RPM->Font().Color(), RGB_Color(0, 0, 255));
    EXPECT_EQ(Temperature->Font().Color(), RGB_Color(128, 0, 0));
    EXPECT_EQ(Level->Font().Color(), RGB_Color(128, 128, 0));
    EXPECT_EQ(Channel->Font().Color(), RGB_Color(255, 128, 0));
    EXPECT_EQ(Box->Font().Color(), RGB_Color(91, 126, 56));
    EXPECT_EQ(Unrelated->Font().Color(), Unrelated_Colour);
    Colour_Scheme_Apply(nullptr);     // no form: nothing to do
}

}  // namespace
