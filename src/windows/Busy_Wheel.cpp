#include "windows/Busy_Wheel.h"

#include <cmath>


TPoint Dial_Point(int Centre_X, int Centre_Y, double Angle_Radians, int Radius)
{
    return TPoint{Centre_X + static_cast<int>(std::trunc(std::sin(Angle_Radians) * Radius)),
                  Centre_Y + static_cast<int>(std::trunc(std::cos(Angle_Radians) * Radius))};
}

int Draw_Busy_Wheel(TBitmap& Bitmap, int Inset, int Angle_Start, int Angle_End,
                    TColor Colour_Current, TColor Colour_Other, int Index, int Height,
                    int Width, int Pen_Width, int Spokes)
{
    const int C = Width / 2;
    const int R = C - Inset;
    Index = Index < Spokes ? Index + 1 : 0;
    Bitmap.SetSize(Width, Height);
    TCanvas* Canvas = Bitmap.Canvas();
    Canvas->Brush.Color = clWhite;
    Canvas->Brush.Style = TBrush_Style::Solid;
    Canvas->FillRect(Rect(0, 0, Width, Height));
    Canvas->Pen.Width = Pen_Width;
    Canvas->Pen.Style = TPen_Style::Solid;
    if (Spokes <= 0)
        return 0;
    auto Spoke = [&](int I) {
        const double Theta =
            (Angle_End - static_cast<double>(I) * (Angle_End - Angle_Start) / Spokes) * M_PI / 180.0;
        const TPoint End = Dial_Point(C, C, Theta, R);
        Canvas->MoveTo(C, C);
        Canvas->LineTo(End.X, End.Y);
    };
    Canvas->Pen.Color = Colour_Other;
    for (int I = 0; I <= Spokes; ++I)
        Spoke(I);
    Canvas->Pen.Color = Colour_Current;
    Spoke(Index);
    return Index;
}
