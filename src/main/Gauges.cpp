#include "main/Gauges.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>
#include <string_view>

#include "platform/ui/Component.h"
#include "platform/ui/Image.h"

// The dial face pictures built into the program (generated from resources/dials).
std::string_view Dial_Face_Resource(std::string_view Name);

const Gauge_Parameters Gauge_RPM = {"Image_GEN_RPM", "Image_GEN_RPM_jpg", "dial_rpm.jpg",
                                    0, 5000, RGB_Color(0, 0, 255)};
const Gauge_Parameters Gauge_TPS = {"Image_GEN_TPS", "Image_GEN_TPS_jpg", "dial_tps.jpg",
                                    0, 500, RGB_Color(128, 0, 128)};
const Gauge_Parameters Gauge_Gas = {"Image_GEN_Gas", "Image_GEN_Gas_jpg", "dial_gas.jpg",
                                    0, 32000, RGB_Color(0, 128, 0)};

namespace {

constexpr double Degree = M_PI / 180.0;

// The needle's outline pen, and how far beyond its corners it may draw: half the pen's
// width, its round joins and a pixel of rounding, with room to spare.
constexpr int Needle_Pen_Width = 2;
constexpr int Needle_Margin = Needle_Pen_Width + 2;

// Per cent of the half width, rounded to the nearest pixel (halves to even).
int Per_Cent_Of(int Per_Cent, int Half_Width)
{
    return static_cast<int>(std::nearbyint(static_cast<double>(Per_Cent) * Half_Width / 100.0));
}

// The needle's triangle (tip, two base corners) for a picture Width wide.
std::array<TPoint, 3> Needle_Points(int Length, int Base, int Width, int Value, int Max, int Min,
                                    int Angle_Min, int Angle_Max, int Offset_Y, int Offset_X)
{
    const int C = Width / 2;
    const int L = C - Per_Cent_Of(Length, C);
    const int B = Per_Cent_Of(Base, C);
    const int Dx = Per_Cent_Of(Offset_X, C);
    const int Dy = Per_Cent_Of(Offset_Y, C);

    // A scale without range would divide by zero: the needle then rests at its start.
    double Angle = Angle_Min;
    if (Max != Min && Angle_Min != Angle_Max)
        Angle = Angle_Min - (static_cast<double>(Value) - Min) * (Angle_Min - Angle_Max) /
                                (static_cast<double>(Max) - Min);
    const double W = Angle * Degree;

    // Tip at the needle's length, base corners at right angles to it; all moved by the
    // offsets.
    const TPoint Tip = Dial_Point(C + Dx, C + Dy, W, L);
    const TPoint Corner_1 = Dial_Point(C + Dx, C + Dy, W - 90.0 * Degree, B);
    const TPoint Corner_2 = Dial_Point(C + Dx, C + Dy, W + 90.0 * Degree, B);
    return {Tip, Corner_1, Corner_2};
}

// The needle as a filled triangle in Colour on Canvas.
void Draw_Needle_On(TCanvas* Canvas, TColor Colour, const std::array<TPoint, 3>& Points)
{
    Canvas->Pen.Style = TPen_Style::Solid;
    Canvas->Pen.Width = Needle_Pen_Width;
    Canvas->Pen.Color = Colour;
    Canvas->Brush.Style = TBrush_Style::Solid;
    Canvas->Brush.Color = Colour;
    Canvas->Polygon({Points[0], Points[1], Points[2]});
}

void Draw_Needle_On(TCanvas* Canvas, int Length, int Base, TColor Colour, int Width, int Value,
                    int Max, int Min, int Angle_Min, int Angle_Max, int Offset_Y, int Offset_X)
{
    Draw_Needle_On(Canvas, Colour,
                   Needle_Points(Length, Base, Width, Value, Max, Min, Angle_Min, Angle_Max,
                                 Offset_Y, Offset_X));
}

// What a needle picture over its face shows, so that a poll whose needle lands on the same
// pixels draws nothing, and one whose needle moved draws only where it was and is. The
// content keys tell that neither picture changed since.
struct Needle_Shown {
    const TImage* Image = nullptr;
    const TImage* Face = nullptr;
    int Face_Width = 0, Face_Height = 0;
    TColor Colour = clNone;
    std::array<TPoint, 3> Points{};
    std::int64_t Face_Key = 0, Image_Key = 0;
};
std::vector<Needle_Shown> Needles_Shown;

bool Same_Points(const std::array<TPoint, 3>& A, const std::array<TPoint, 3>& B)
{
    for (std::size_t I = 0; I < A.size(); ++I)
        if (A[I].X != B[I].X || A[I].Y != B[I].Y) return false;
    return true;
}

// Every pixel a needle with these corners may have drawn.
TRect Needle_Area(const std::array<TPoint, 3>& Points)
{
    TRect Box{Points[0].X, Points[0].Y, Points[0].X + 1, Points[0].Y + 1};
    for (const TPoint& P : Points) {
        Box.Left = std::min(Box.Left, P.X);
        Box.Top = std::min(Box.Top, P.Y);
        Box.Right = std::max(Box.Right, P.X + 1);
        Box.Bottom = std::max(Box.Bottom, P.Y + 1);
    }
    return Rect(Box.Left - Needle_Margin, Box.Top - Needle_Margin, Box.Right + Needle_Margin,
                Box.Bottom + Needle_Margin);
}

}  // namespace

std::unique_ptr<TBitmap> Draw_Gauge_Needle(int Length, int Base, TColor Colour, int Height,
                                           int Width, int Value, int Max, int Min,
                                           int Angle_Min, int Angle_Max, int Offset_Y,
                                           int Offset_X)
{
    auto Bitmap = std::make_unique<TBitmap>();
    if (Width <= 0 || Height <= 0) return Bitmap;
    Bitmap->SetSize(Width, Height);

    TCanvas* Canvas = Bitmap->Canvas();
    Canvas->Brush.Color = clWhite;
    Canvas->Brush.Style = TBrush_Style::Solid;
    Canvas->FillRect(Rect(0, 0, Width, Height));
    Draw_Needle_On(Canvas, Length, Base, Colour, Width, Value, Max, Min, Angle_Min, Angle_Max,
                   Offset_Y, Offset_X);
    return Bitmap;
}

std::unique_ptr<TBitmap> Draw_Gauge_Needle(const Gauge_Parameters& Gauge, int Value, int Width,
                                           int Height)
{
    return Draw_Gauge_Needle(Gauge_Length_Setting, Gauge_Base_Setting, Gauge.Colour, Height, Width,
                             Value, Gauge.Max, Gauge.Min, Gauge_Angle_At_Min, Gauge_Angle_At_Max,
                             Gauge_Offset, Gauge_Offset);
}

void Gauge_Show(TImage* Image, const Gauge_Parameters& Gauge, int Value, int Width, int Height)
{
    if (!Image) return;
    const std::unique_ptr<TBitmap> Needle = Draw_Gauge_Needle(Gauge, Value, Width, Height);
    if (Needle->Empty()) return;
    Image->Canvas()->Draw(0, 0, *Needle);
}

void Gauge_Show_On_Face(TImage* Image, TImage* Face, const Gauge_Parameters& Gauge, int Value,
                        int Width, int Height)
{
    if (!Image) return;
    const bool On_Face = Face && Width > 0 && Height > 0 && Face->Picture().Width() == Width &&
                         Face->Picture().Height() == Height && Face->Left() == Image->Left() &&
                         Face->Top() == Image->Top() && Face->Width() == Image->Width() &&
                         Face->Height() == Image->Height();
    if (!On_Face) {
        Image->Transparent(true);
        Gauge_Show(Image, Gauge, Value, Width, Height);
        return;
    }
    const std::array<TPoint, 3> Points =
        Needle_Points(Gauge_Length_Setting, Gauge_Base_Setting, Width, Value, Gauge.Max, Gauge.Min,
                      Gauge_Angle_At_Min, Gauge_Angle_At_Max, Gauge_Offset, Gauge_Offset);
    auto Found = std::find_if(Needles_Shown.begin(), Needles_Shown.end(),
                              [Image](const Needle_Shown& N) { return N.Image == Image; });
    if (Found == Needles_Shown.end()) Found = Needles_Shown.insert(Needles_Shown.end(), Needle_Shown{});
    Needle_Shown& Last = *Found;
    TBitmap& Picture = Image->Picture().Bitmap();
    TBitmap& Face_Picture = Face->Picture().Bitmap();
    if (Last.Face == Face && Last.Face_Width == Width && Last.Face_Height == Height &&
        Last.Colour == Gauge.Colour && !Image->Transparent() && Picture.Width() == Width &&
        Picture.Height() == Height && Last.Face_Key == Face_Picture.Content_Key() &&
        Last.Image_Key == Picture.Content_Key()) {
        if (Same_Points(Last.Points, Points)) return;
        // The picture shows the face with the last needle: the face comes back where that
        // needle was and the new one is drawn over it, so that only those two places are
        // drawn and shown again.
        const TRect Old = Needle_Area(Last.Points);
        Picture.Canvas()->CopyRect(Old, *Face_Picture.Canvas(), Old);
        Draw_Needle_On(Picture.Canvas(), Gauge.Colour, Points);
        Last.Points = Points;
        Last.Image_Key = Picture.Content_Key();
        return;
    }
    // The needle's pixels replace the face's; everywhere else the face shows, as it does
    // through the white of the see-through needle picture.
    TBitmap Shown(Face_Picture);
    Shown.Transparent(false);
    Draw_Needle_On(Shown.Canvas(), Gauge.Colour, Points);
    Image->Picture().Assign(Shown);
    Image->Transparent(false);
    Last = Needle_Shown{Image, Face, Width, Height, Gauge.Colour, Points,
                        Face_Picture.Content_Key(), Picture.Content_Key()};
}

void Gauges_Reset() { Needles_Shown.clear(); }

std::string Dial_Face_JPEG(const Gauge_Parameters& Gauge)
{
    return std::string(Dial_Face_Resource(Gauge.Dial_Resource));
}

bool Dial_Face_Load(TImage* Dial, const Gauge_Parameters& Gauge, std::string* Error)
{
    if (!Dial) {
        if (Error) *Error = std::string("no image for the dial face ") + Gauge.Dial_Resource;
        return false;
    }
    const std::string Bytes = Dial_Face_JPEG(Gauge);
    if (Bytes.empty()) {
        if (Error) *Error = std::string("the dial face ") + Gauge.Dial_Resource + " is missing";
        return false;
    }
    // Decoded by the window layer (JPEG through libjpeg) into a separate picture first,
    // so a face that does not decode leaves the image as it was.
    TPicture Face;
    std::string Reason;
    if (!Face.Load_From_Bytes(Bytes, &Reason)) {
        if (Error) *Error = std::string("the dial face ") + Gauge.Dial_Resource + ": " + Reason;
        return false;
    }
    Dial->Picture().Assign(Face.Bitmap());
    return true;
}

bool Dial_Faces_Load(TImage* RPM_Dial, TImage* TPS_Dial, TImage* Gas_Dial, std::string* Error)
{
    bool All = true;
    std::string Reasons;
    const std::pair<TImage*, const Gauge_Parameters*> Faces[] = {
        {RPM_Dial, &Gauge_RPM}, {TPS_Dial, &Gauge_TPS}, {Gas_Dial, &Gauge_Gas}};
    for (const auto& [Image, Gauge] : Faces) {
        if (!Image) continue;
        std::string Reason;
        if (Dial_Face_Load(Image, *Gauge, &Reason)) continue;
        All = false;
        if (!Reasons.empty()) Reasons += "\n";
        Reasons += Reason;
    }
    if (Error) *Error = Reasons;
    return All;
}

// ---------------------------------------------------------------- colour scheme

namespace {

struct Colour_Group {
    TColor Colour;
    std::vector<const char*> Names;
};

const char* const Display_Panels[] = {"Panel_GEN_Display_RPM", "Panel_GEN_Display_PerCent",
                                      "Panel_GEN_Display_Detals", "Panel_GEN_Display_TPS",
                                      "Panel_GEN_Display_Gas"};

const Colour_Group Font_Colours[] = {
    // engine speed
    {RGB_Color(0, 0, 255),
     {"Label_GEN_RPM", "Label_GEN_RPM_Dig", "Label_CLB_RPM", "Label_CLB_RPM_Dig",
      "Label_OSC_Scale_RPM", "Edit_OSC_Scale_RPM", "GroupBox_OSC_RPM", "Label_OSC_RPM",
      "Edit_OSC_RPM"}},
    // gas injection time
    {RGB_Color(0, 128, 0),
     {"Label_GEN_GAS", "Label_GEN_Gas_Dig", "Label_CLB_Gas", "Label_CLB_Gas_Dig", "Label_OSC_Gas",
      "Edit_OSC_Gas"}},
    // temperatures
    {RGB_Color(128, 0, 0),
     {"Label_GEN_Temperature", "Label_GEN_TempVap", "Label_GEN_TempVap_Dig", "Label_GEN_TempGas",
      "Label_GEN_TempGas_Dig", "Label_GEN_TempInside", "Label_GEN_TempInside_Dig",
      "Label_GEN_TempCouple", "Label_GEN_TempCouple_Dig", "Label_CLB_Temperature",
      "Label_CLB_TempVap", "Label_CLB_TempVap_Dig", "Label_CLB_TempGas", "Label_CLB_TempGas_Dig",
      "Label_CLB_TempCouple", "Label_CLB_TempCouple_Dig", "Label_OSC_Scale_Degree",
      "Edit_OSC_Scale_Degree", "GroupBox_OSC_Temperature", "CheckBox_OSC_Negativ_Degree"}},
    // pressures
    {RGB_Color(0, 128, 128),
     {"Label_GEN_Pressure", "Label_GEN_PressVap", "Label_GEN_PressVap_Dig", "Label_GEN_PressColl",
      "Label_GEN_PressColl_Dig", "Label_GEN_PressDiff", "Label_GEN_PressDiff_Dig",
      "Label_CLB_Pressure", "Label_CLB_PressVap", "Label_CLB_PressVap_Dig", "Label_CLB_PressColl",
      "Label_CLB_PressColl_Dig", "Label_CLB_PressDiff", "Label_CLB_PressDiff_Dig",
      "Label_OSC_Scale_Bar", "Edit_OSC_Scale_Bar", "GroupBox_OSC_Pressure"}},
    // supply voltage
    {RGB_Color(0, 0, 128),
     {"Label_GEN_Voltage", "Label_GEN_Power", "Label_GEN_Power_Dig", "GroupBox_OSC_Voltage",
      "Label_OSC_Scale_Volt", "Edit_OSC_Scale_Volt"}},
    // knock sensor
    {RGB_Color(26, 173, 210),
     {"Label_GEN_Detonation", "Label_GEN_Detonation_Dig", "Label_CLB_Detonation",
      "Label_CLB_Detonation_Dig", "Label_OSC_Detonation", "Edit_OSC_Detonation"}},
    // throttle signal
    {RGB_Color(128, 0, 128),
     {"Label_GEN_TPS", "Label_GEN_TPS_Dig", "Label_CLB_TPS", "Label_CLB_TPS_Dig", "Label_OSC_TPS",
      "Edit_OSC_TPS"}},
    // gas level
    {RGB_Color(128, 128, 0), {"Label_GEN_GasLevel", "Label_GEN_GasLevel_Dig"}},
    // per cent
    {RGB_Color(255, 0, 255), {"Label_GEN_PerCent", "Label_GEN_PerCent_Dig"}},
    // injection time scale of the oscilloscope
    {RGB_Color(91, 126, 56), {"Label_OSC_Scale_mls", "Edit_OSC_Scale_mls", "GroupBox_OSC_Injection"}},
    // oscilloscope channels with colours of their own
    {RGB_Color(166, 54, 0), {"Label_OSC_TempVap", "Edit_OSC_TempVap"}},
    {RGB_Color(255, 128, 0), {"Label_OSC_TempGas", "Edit_OSC_TempGas"}},
    {RGB_Color(0, 89, 58), {"Label_OSC_PressDiff", "Edit_OSC_PressDiff"}},
    {RGB_Color(0, 89, 128), {"Label_OSC_PressColl", "Edit_OSC_PressColl"}},
};

TControl* Control_Named(TComponent* Form, const char* Name)
{
    return dynamic_cast<TControl*>(Form->Find_Component_Deep(Name));
}

}  // namespace

void Colour_Scheme_Apply(TComponent* Form)
{
    if (!Form) return;
    for (const char* Name : Display_Panels)
        if (TControl* Panel = Control_Named(Form, Name)) Panel->Color(clWhite);
    for (const Colour_Group& Group : Font_Colours)
        for (const char* Name : Group.Names)
            if (TControl* Control = Control_Named(Form, Name)) Control->Font().Color(Group.Colour);
}
