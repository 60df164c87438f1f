// The busy wheel: spokes around the centre of a square picture, one of them highlighted;
// each frame highlights the next spoke.
#pragma once

#include "platform/ui/Graphics.h"

// Draws one frame into a new bitmap of Width x Height and returns the advanced spoke
// index (Index + 1 while below Spokes, else 0). Spokes run from the centre to radius
// Width / 2 - Inset between the two angles (degrees); all are drawn in Colour_Other, then
// the spoke at the advanced index in Colour_Current.
int Draw_Busy_Wheel(TBitmap& Bitmap, int Inset, int Angle_Start, int Angle_End,
                    TColor Colour_Current, TColor Colour_Other, int Index, int Height,
                    int Width, int Pen_Width, int Spokes);

// The pixel at Radius from (Centre_X, Centre_Y) in the direction of a needle at the angle
// (radians): (Centre_X + Trunc(sin(angle) * Radius), Centre_Y + Trunc(cos(angle) * Radius)),
// cut toward zero. The needles of the dial gauges end at the same points.
TPoint Dial_Point(int Centre_X, int Centre_Y, double Angle_Radians, int Radius);
