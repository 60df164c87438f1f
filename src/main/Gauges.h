// The dial gauges of the General page and the colour scheme of the live views.
//
// Each gauge is two pictures on top of each other: the dial face (a JPEG built into the
// program, 165 x 165, white outside the face) and above it a transparent image into which
// the needle is drawn with every live-data reply. The needle bitmap's background is white,
// the transparent image's see-through colour, so the dial shows around the needle.
//
// Angles are degrees measured as the needle's: a needle at angle a points from the centre
// toward (sin a, cos a) with y growing downward, so 300 is lower left, 180 straight up and
// 60 lower right; the scales run clockwise from 300 at the minimum to 60 at the maximum.
#pragma once

#include <memory>
#include <string>

#include "platform/ui/Graphics.h"
#include "windows/Busy_Wheel.h"

class TComponent;
class TImage;

// One dial gauge: its images on the main window, its scale and needle colour.
struct Gauge_Parameters {
    const char* Image_Name;      // the transparent needle image
    const char* Dial_Name;       // the dial face image beneath it
    const char* Dial_Resource;   // the built-in JPEG of the dial face
    int Min, Max;                // scale range in the live value's unit
    TColor Colour;               // needle colour
};

// Engine speed in rpm, 0..5000, blue.
extern const Gauge_Parameters Gauge_RPM;
// Throttle signal in 0.01 V, 0..500, purple.
extern const Gauge_Parameters Gauge_TPS;
// Gas injection time in microseconds, 0..32000, green.
extern const Gauge_Parameters Gauge_Gas;

// Shared by all three gauges: needle length and base settings (per cent of the half
// width), the scale's angles at its minimum and maximum, and no offset of the centre.
constexpr int Gauge_Length_Setting = 15;
constexpr int Gauge_Base_Setting = 7;
constexpr int Gauge_Angle_At_Min = 300;
constexpr int Gauge_Angle_At_Max = 60;
constexpr int Gauge_Offset = 0;

// Dial_Point (the pixel at a radius in a needle's direction): windows/Busy_Wheel.h.

// Size of the dial face pictures and of the gauge images over them on the General page.
constexpr int Dial_Face_Size = 165;

// Draws a needle into a new Width x Height bitmap with a white background: a filled
// triangle in Colour from the tip to a base across the centre (Width div 2, Width div 2).
// Length and Base are per cent of the half width: the needle reaches (100 - Length) per
// cent of it, the base is 2 x Base per cent wide; the offsets (per cent) move the needle.
// The value's angle runs linearly from Angle_Min at Min to Angle_Max at Max; values
// outside Min..Max point beyond the scale's ends. A scale without range (Min = Max or
// Angle_Min = Angle_Max) points at Angle_Min. The caller draws the bitmap at (0, 0) of the
// gauge image. A size of 0 or less gives an empty bitmap.
std::unique_ptr<TBitmap> Draw_Gauge_Needle(int Length, int Base, TColor Colour, int Height,
                                           int Width, int Value, int Max, int Min,
                                           int Angle_Min, int Angle_Max, int Offset_Y,
                                           int Offset_X);

// The needle of a gauge at Value, with the shared settings.
std::unique_ptr<TBitmap> Draw_Gauge_Needle(const Gauge_Parameters& Gauge, int Value, int Width,
                                           int Height);

// Draws the needle of a gauge at Value onto its image in one step. Width and Height are
// the image's size taken at start-up. Nothing happens without an image.
void Gauge_Show(TImage* Image, const Gauge_Parameters& Gauge, int Value, int Width, int Height);

// Shows the needle of a gauge at Value over its dial face in one opaque picture: the
// needle is drawn onto a copy of Face's picture and Image shows that copy, which looks
// exactly as the transparent needle image over the face, without blending two pictures on
// the screen. Face must lie under Image with the same bounds and a picture of the image's
// size (Width x Height); otherwise the needle alone is drawn as by Gauge_Show, see-through.
void Gauge_Show_On_Face(TImage* Image, TImage* Face, const Gauge_Parameters& Gauge, int Value,
                        int Width, int Height);

// Forgets which needles the gauge images show (each is drawn whole again next time).
void Gauges_Reset();

// The built-in JPEG bytes of a dial face (empty when the program carries none by that name).
std::string Dial_Face_JPEG(const Gauge_Parameters& Gauge);

// Decodes a gauge's built-in dial face into the picture of Dial. False with a readable
// reason when there is no image, no built-in picture or the picture does not decode; the
// image then keeps what it showed.
bool Dial_Face_Load(TImage* Dial, const Gauge_Parameters& Gauge, std::string* Error = nullptr);

// Loads the three dial faces into their images (any of them may be null: skipped). False
// with the reasons, one a line, when a face could not be loaded; the others still load.
bool Dial_Faces_Load(TImage* RPM_Dial, TImage* TPS_Dial, TImage* Gas_Dial,
                     std::string* Error = nullptr);

// Sets the colours of the live views on Form: the General page's display panels get a
// white background, and each measured quantity's labels, edits and group boxes its own
// font colour on the General, Calibration and Oscilloscope pages. Controls are found by
// name among everything Form owns; names that do not exist on it are skipped.
void Colour_Scheme_Apply(TComponent* Form);
