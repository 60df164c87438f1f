#pragma once
// Drawing: pen, brush, canvas, bitmap, picture, icon. A canvas draws into an off-screen image
// (a bitmap's, an image control's or a grid's). Wide pens draw with round caps and joins;
// no anti-aliasing, so pixels read back exactly the colours drawn. Rectangles and ellipses
// take corner coordinates with the right and bottom edges excluded.
#include "platform/ui/Font.h"
#include "platform/ui/Types.h"
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QImage;
class QPainter;
class QIcon;

struct TPoint {
    int X = 0, Y = 0;
};
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
};
inline TPoint Point(int X, int Y) { return TPoint{X, Y}; }
inline TRect Rect(int Left, int Top, int Right, int Bottom) { return TRect{Left, Top, Right, Bottom}; }

// The area a change notice gives when all of a picture may have changed (its size too).
inline constexpr TRect Whole_Picture{-(1 << 28), -(1 << 28), 1 << 28, 1 << 28};

enum class TPen_Style { Solid, Dash, Dot, Dash_Dot, Dash_Dot_Dot, Clear };
enum class TBrush_Style { Solid, Clear };

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPen_Style Style = TPen_Style::Solid;
};
struct TBrush {
    TColor Color = clWhite;
    TBrush_Style Style = TBrush_Style::Solid;
};

class TBitmap;

class TCanvas {
public:
    explicit TCanvas(QImage* Target = nullptr);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen Pen;
    TBrush Brush;
    TFont Font;

    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    TPoint PenPos() const { return FPen_Pos; }
    void Polyline(const std::vector<TPoint>& Points);
    void Polygon(const std::vector<TPoint>& Points);     // filled with the brush
    void Rectangle(int X1, int Y1, int X2, int Y2);     // outline with the pen, inside brush
    void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void FillRect(const TRect& R);                       // the brush only
    void FrameRect(const TRect& R);                      // one-pixel frame in the brush colour
    // Text at (X, Y) as its top-left corner; with a solid brush the text cell is filled
    // with the brush colour first (opaque), with a clear brush it is not.
    void TextOut(int X, int Y, const std::string& Text);
    // One line of text centred in R, clipped to it.
    void Text_Centered(const TRect& R, const std::string& Text);
    int TextWidth(const std::string& Text) const;
    int TextHeight(const std::string& Text) const;
    void Draw(int X, int Y, const TBitmap& Bitmap);      // honours the bitmap's transparency
    void StretchDraw(const TRect& R, const TBitmap& Bitmap);
    // The pixels of Source (of another canvas's image) into Dest of this one, stretched
    // when the sizes differ; transparency plays no part. Nothing happens without a source
    // image or with this canvas as the source.
    void CopyRect(const TRect& Dest, const TCanvas& Canvas, const TRect& Source);
    TColor Pixels(int X, int Y) const;                   // clNone outside the image
    void Pixels(int X, int Y, TColor Color);

    // Layer use.
    QImage* Target() const { return FTarget; }
    void Target(QImage* Value) { FTarget = Value; }
    // After every drawing operation, with the part of the image it may have changed (never
    // less than that; Whole_Picture when it is not known).
    std::function<void(const TRect& Area)> On_Changed;
    int Charset_For_Text() const;

private:
    template <class F> void Paint(const TRect& Area, F&& Operation);
    TRect Stroke_Area(const std::vector<TPoint>& Points) const;
    QImage* FTarget;
    TPoint FPen_Pos;
};

class TBitmap {
public:
    TBitmap();
    TBitmap(int Width, int Height);
    ~TBitmap();
    TBitmap(const TBitmap& Other);
    TBitmap& operator=(const TBitmap& Other);

    int Width() const;
    void Width(int Value);
    int Height() const;
    void Height(int Value);
    void SetSize(int Width, int Height);      // new pixels are white
    bool Empty() const;
    TCanvas* Canvas() { return FCanvas.get(); }
    // Changes whenever the pixels may have changed (drawn on, loaded, assigned, resized):
    // a key taken after drawing tells later whether the bitmap still shows that drawing.
    std::int64_t Content_Key() const;
    // Transparent: pixels of TransparentColor are not drawn (the bottom-left pixel's colour
    // unless one was set).
    bool Transparent() const { return FTransparent; }
    void Transparent(bool Value) { FTransparent = Value; }
    TColor TransparentColor() const;
    void TransparentColor(TColor Value) { FTransparent_Color = Value; }

    bool LoadFromFile(const std::string& Path, std::string* Error = nullptr);  // JPEG, BMP, PNG
    bool Load_From_Bytes(const std::string& Bytes, std::string* Error = nullptr);  // the same, in memory
    bool SaveToFile(const std::string& Path) const;     // by extension: .png or .bmp

    // Layer use.
    QImage& Image() { return *FImage; }
    const QImage& Image() const { return *FImage; }
    void Assign_Image(const QImage& Image);
    std::function<void(const TRect& Area)> On_Changed;   // as the canvas's, for the bitmap

private:
    void Hook_Canvas();
    std::unique_ptr<QImage> FImage;
    std::unique_ptr<TCanvas> FCanvas;
    bool FTransparent = false;
    TColor FTransparent_Color = clDefault;
};

// A picture of an image control: a bitmap that may come from a JPEG, BMP or PNG file.
class TPicture {
public:
    TPicture();
    TBitmap& Bitmap() { return FBitmap; }
    const TBitmap& Bitmap() const { return FBitmap; }
    bool LoadFromFile(const std::string& Path, std::string* Error = nullptr);
    bool Load_From_Bytes(const std::string& Bytes, std::string* Error = nullptr);
    void Assign(const TBitmap& Bitmap);
    void Clear();
    int Width() const { return FBitmap.Width(); }
    int Height() const { return FBitmap.Height(); }
    bool Empty() const { return FBitmap.Empty(); }
    std::function<void(const TRect& Area)> On_Changed;   // as the bitmap's

private:
    TBitmap FBitmap;
};

// A window or application icon, loaded from an .ico file.
class TIcon {
public:
    TIcon();
    ~TIcon();
    TIcon(const TIcon& Other);
    TIcon& operator=(const TIcon& Other);
    bool LoadFromFile(const std::string& Path);
    bool Empty() const;
    const QIcon& Icon() const { return *FIcon; }      // layer use

private:
    std::unique_ptr<QIcon> FIcon;
};

// Decode JPEG bytes (libjpeg) into an image; false with a reason on failure.
bool Decode_JPEG(const std::string& Bytes, QImage* Image, std::string* Error);

namespace ui {
// Width and height in pixels of a text drawn in a font on the screen.
int Text_Width(const TFont& Font, const std::string& Text);
int Text_Height(const TFont& Font, const std::string& Text);
// Height in pixels of a text broken at blanks and at its own line breaks into lines of at
// most Width pixels, as a word-wrapped label draws it; a word wider than Width takes a
// line of its own and runs over.
int Wrapped_Text_Height(const TFont& Font, const std::string& Text, int Width);
}  // namespace ui
