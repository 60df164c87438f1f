#include "platform/ui/Graphics.h"
#include "platform/ui/Internal.h"
#include <QFile>
#include <QFontMetrics>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cstring>

namespace {

QPen To_QPen(const TPen& Pen)
{
    if (Pen.Style == TPen_Style::Clear) return QPen(Qt::NoPen);
    Qt::PenStyle S = Qt::SolidLine;
    switch (Pen.Style) {
    case TPen_Style::Dash: S = Qt::DashLine; break;
    case TPen_Style::Dot: S = Qt::DotLine; break;
    case TPen_Style::Dash_Dot: S = Qt::DashDotLine; break;
    case TPen_Style::Dash_Dot_Dot: S = Qt::DashDotDotLine; break;
    default: break;
    }
    const int Width = std::max(1, Pen.Width);
    // Wide pens draw with round caps and joins.
    if (Width > 1) return QPen(ui::To_QColor(Pen.Color), Width, S, Qt::RoundCap, Qt::RoundJoin);
    return QPen(ui::To_QColor(Pen.Color), 1, S, Qt::SquareCap, Qt::MiterJoin);
}

QBrush To_QBrush(const TBrush& Brush)
{
    if (Brush.Style == TBrush_Style::Clear) return QBrush(Qt::NoBrush);
    return QBrush(ui::To_QColor(Brush.Color));
}

QPolygon To_Polygon(const std::vector<TPoint>& Points)
{
    QPolygon P;
    for (const TPoint& Pt : Points) P << QPoint(Pt.X, Pt.Y);
    return P;
}

// The bitmap's image with its transparent colour made see-through.
QImage Drawable(const TBitmap& Bitmap)
{
    if (!Bitmap.Transparent() || Bitmap.Empty()) return Bitmap.Image();
    return ui::Colour_Keyed(Bitmap.Image(), Bitmap.TransparentColor());
}

}  // namespace

// ---------------------------------------------------------------- TCanvas

TCanvas::TCanvas(QImage* Target) : FTarget(Target) {}
TCanvas::~TCanvas() = default;

int TCanvas::Charset_For_Text() const { return Font.Charset(); }

template <class F>
void TCanvas::Paint(const TRect& Area, F&& Operation)
{
    if (!FTarget || FTarget->isNull()) return;
    {
        QPainter P(FTarget);
        P.setRenderHint(QPainter::Antialiasing, false);
        P.setRenderHint(QPainter::TextAntialiasing, false);
        Operation(P);
    }
    if (On_Changed) On_Changed(Area);
}

// The box around the points and what the pen draws beyond them: half its width, round
// caps and a pixel of rounding on every side.
TRect TCanvas::Stroke_Area(const std::vector<TPoint>& Points) const
{
    if (Points.empty()) return TRect{};
    TRect Box{Points[0].X, Points[0].Y, Points[0].X, Points[0].Y};
    for (const TPoint& P : Points) {
        Box.Left = std::min(Box.Left, P.X);
        Box.Top = std::min(Box.Top, P.Y);
        Box.Right = std::max(Box.Right, P.X);
        Box.Bottom = std::max(Box.Bottom, P.Y);
    }
    const int Margin = (Pen.Style == TPen_Style::Clear ? 0 : std::max(1, Pen.Width) / 2) + 2;
    return Rect(Box.Left - Margin, Box.Top - Margin, Box.Right + 1 + Margin, Box.Bottom + 1 + Margin);
}

void TCanvas::MoveTo(int X, int Y) { FPen_Pos = {X, Y}; }

void TCanvas::LineTo(int X, int Y)
{
    const TPoint From = FPen_Pos;
    Paint(Stroke_Area({From, {X, Y}}), [&](QPainter& P) {
        P.setPen(To_QPen(Pen));
        P.drawLine(From.X, From.Y, X, Y);
    });
    FPen_Pos = {X, Y};
}

void TCanvas::Polyline(const std::vector<TPoint>& Points)
{
    if (Points.empty()) return;
    Paint(Stroke_Area(Points), [&](QPainter& P) {
        P.setPen(To_QPen(Pen));
        P.drawPolyline(To_Polygon(Points));
    });
}

void TCanvas::Polygon(const std::vector<TPoint>& Points)
{
    if (Points.empty()) return;
    Paint(Stroke_Area(Points), [&](QPainter& P) {
        P.setPen(To_QPen(Pen));
        P.setBrush(To_QBrush(Brush));
        P.drawPolygon(To_Polygon(Points));
    });
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2)
{
    if (X2 <= X1 || Y2 <= Y1) return;
    Paint(Stroke_Area({{X1, Y1}, {X2, Y2}}), [&](QPainter& P) {
        if (Brush.Style == TBrush_Style::Solid)
            P.fillRect(QRect(X1, Y1, X2 - X1, Y2 - Y1), ui::To_QColor(Brush.Color));
        P.setPen(To_QPen(Pen));
        P.setBrush(Qt::NoBrush);
        P.drawRect(QRect(X1, Y1, X2 - X1 - 1, Y2 - Y1 - 1));
    });
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2)
{
    if (X2 <= X1 || Y2 <= Y1) return;
    Paint(Stroke_Area({{X1, Y1}, {X2, Y2}}), [&](QPainter& P) {
        P.setPen(To_QPen(Pen));
        P.setBrush(To_QBrush(Brush));
        P.drawEllipse(QRect(X1, Y1, X2 - X1 - 1, Y2 - Y1 - 1));
    });
}

void TCanvas::FillRect(const TRect& R)
{
    if (Brush.Style == TBrush_Style::Clear || R.Width() <= 0 || R.Height() <= 0) return;
    Paint(R, [&](QPainter& P) {
        P.fillRect(QRect(R.Left, R.Top, R.Width(), R.Height()), ui::To_QColor(Brush.Color));
    });
}

void TCanvas::FrameRect(const TRect& R)
{
    if (R.Width() <= 0 || R.Height() <= 0) return;
    Paint(R, [&](QPainter& P) {
        P.setPen(QPen(ui::To_QColor(Brush.Color), 1));
        P.setBrush(Qt::NoBrush);
        P.drawRect(QRect(R.Left, R.Top, R.Width() - 1, R.Height() - 1));
    });
}

void TCanvas::TextOut(int X, int Y, const std::string& Text)
{
    const QString S = ui::To_Q(Text, Font.Charset());
    const QFont F = ui::To_QFont(Font);
    const QFontMetrics M(F);
    const int W = M.horizontalAdvance(S);
    // Glyphs may reach out of their cell (slanted or overhanging letters): a margin of the
    // line's height on every side covers them.
    const int H = M.height();
    Paint(Rect(X - H, Y - H, X + W + H, Y + 2 * H), [&](QPainter& P) {
        if (Brush.Style == TBrush_Style::Solid)
            P.fillRect(QRect(X, Y, W, M.height()), ui::To_QColor(Brush.Color));
        P.setFont(F);
        P.setPen(ui::To_QColor(Font.Color()));
        P.drawText(X, Y + M.ascent(), S);
    });
    FPen_Pos = {X + W, Y};
}

void TCanvas::Text_Centered(const TRect& R, const std::string& Text)
{
    const QString S = ui::To_Q(Text, Font.Charset());
    Paint(R, [&](QPainter& P) {
        const QRect Box(R.Left, R.Top, R.Width(), R.Height());
        P.setClipRect(Box);
        P.setFont(ui::To_QFont(Font));
        P.setPen(ui::To_QColor(Font.Color()));
        P.drawText(Box, Qt::AlignCenter | Qt::TextSingleLine, S);
    });
}

int TCanvas::TextWidth(const std::string& Text) const { return ui::Text_Width(Font, Text); }
int TCanvas::TextHeight(const std::string& Text) const { return ui::Text_Height(Font, Text); }

void TCanvas::Draw(int X, int Y, const TBitmap& Bitmap)
{
    if (Bitmap.Empty()) return;
    const QImage Image = Drawable(Bitmap);
    Paint(Rect(X, Y, X + Image.width(), Y + Image.height()), [&](QPainter& P) { P.drawImage(X, Y, Image); });
}

void TCanvas::StretchDraw(const TRect& R, const TBitmap& Bitmap)
{
    if (Bitmap.Empty()) return;
    const QImage Image = Drawable(Bitmap);
    Paint(R, [&](QPainter& P) { P.drawImage(QRect(R.Left, R.Top, R.Width(), R.Height()), Image); });
}

void TCanvas::CopyRect(const TRect& Dest, const TCanvas& Canvas, const TRect& Source)
{
    if (!Canvas.FTarget || Canvas.FTarget->isNull() || Canvas.FTarget == FTarget) return;
    if (Dest.Width() <= 0 || Dest.Height() <= 0 || Source.Width() <= 0 || Source.Height() <= 0) return;
    const QRect From(Source.Left, Source.Top, Source.Width(), Source.Height());
    const QRect To(Dest.Left, Dest.Top, Dest.Width(), Dest.Height());
    if (!FTarget || FTarget->isNull()) return;
    // The same place of a picture of the same size and kind (a dial face restored under a
    // moving needle): its rows are copied as they are, without a painter.
    if (From == To && Canvas.FTarget->size() == FTarget->size() &&
        Canvas.FTarget->format() == FTarget->format() && FTarget->depth() == 32) {
        const QRect Rows = To.intersected(FTarget->rect());
        if (Rows.isEmpty()) return;
        const QImage& Source_Image = *Canvas.FTarget;
        for (int Y = Rows.top(); Y <= Rows.bottom(); ++Y)
            std::memcpy(FTarget->scanLine(Y) + Rows.left() * 4, Source_Image.constScanLine(Y) + Rows.left() * 4,
                        static_cast<std::size_t>(Rows.width()) * 4);
        if (On_Changed) On_Changed(Dest);
        return;
    }
    Paint(Dest, [&](QPainter& P) {
        P.setCompositionMode(QPainter::CompositionMode_Source);
        P.drawImage(To, *Canvas.FTarget, From);
    });
}

TColor TCanvas::Pixels(int X, int Y) const
{
    if (!FTarget || !FTarget->valid(X, Y)) return clNone;
    const QRgb C = FTarget->pixel(X, Y);
    return RGB_Color(qRed(C), qGreen(C), qBlue(C));
}

void TCanvas::Pixels(int X, int Y, TColor Color)
{
    if (!FTarget || !FTarget->valid(X, Y)) return;
    FTarget->setPixel(X, Y, ui::To_QColor(Color).rgb());
    if (On_Changed) On_Changed(Rect(X, Y, X + 1, Y + 1));
}

// ---------------------------------------------------------------- TBitmap

TBitmap::TBitmap() : FImage(std::make_unique<QImage>()), FCanvas(std::make_unique<TCanvas>(FImage.get()))
{
    Hook_Canvas();
}

TBitmap::TBitmap(int Width, int Height) : TBitmap() { SetSize(Width, Height); }

TBitmap::~TBitmap() = default;

TBitmap::TBitmap(const TBitmap& Other)
    : FImage(std::make_unique<QImage>(*Other.FImage)), FCanvas(std::make_unique<TCanvas>(FImage.get())),
      FTransparent(Other.FTransparent), FTransparent_Color(Other.FTransparent_Color)
{
    Hook_Canvas();
}

TBitmap& TBitmap::operator=(const TBitmap& Other)
{
    if (this == &Other) return *this;
    *FImage = *Other.FImage;
    FTransparent = Other.FTransparent;
    FTransparent_Color = Other.FTransparent_Color;
    if (On_Changed) On_Changed(Whole_Picture);
    return *this;
}

void TBitmap::Hook_Canvas()
{
    FCanvas->On_Changed = [this](const TRect& Area) {
        if (On_Changed) On_Changed(Area);
    };
}

int TBitmap::Width() const { return FImage->isNull() ? 0 : FImage->width(); }
int TBitmap::Height() const { return FImage->isNull() ? 0 : FImage->height(); }
void TBitmap::Width(int Value) { SetSize(Value, Height()); }
void TBitmap::Height(int Value) { SetSize(Width(), Value); }
std::int64_t TBitmap::Content_Key() const { return FImage->cacheKey(); }
bool TBitmap::Empty() const { return FImage->isNull() || FImage->width() == 0 || FImage->height() == 0; }

void TBitmap::SetSize(int Width, int Height)
{
    Width = std::max(0, Width);
    Height = std::max(0, Height);
    if (Width == this->Width() && Height == this->Height()) return;
    if (Width == 0 || Height == 0) {
        *FImage = QImage();
    } else {
        QImage Next(Width, Height, QImage::Format_RGB32);
        Next.fill(Qt::white);
        if (!FImage->isNull()) {
            QPainter P(&Next);
            P.drawImage(0, 0, *FImage);
        }
        *FImage = Next;
    }
    if (On_Changed) On_Changed(Whole_Picture);
}

TColor TBitmap::TransparentColor() const
{
    if (FTransparent_Color != clDefault) return FTransparent_Color;
    if (Empty()) return clWhite;
    const QRgb C = FImage->pixel(0, FImage->height() - 1);
    return RGB_Color(qRed(C), qGreen(C), qBlue(C));
}

void TBitmap::Assign_Image(const QImage& Image)
{
    *FImage = Image.convertToFormat(QImage::Format_RGB32);
    if (On_Changed) On_Changed(Whole_Picture);
}

bool TBitmap::LoadFromFile(const std::string& Path, std::string* Error)
{
    QFile File(QString::fromStdString(Path));
    if (!File.open(QIODevice::ReadOnly)) {
        if (Error) *Error = "cannot open " + Path;
        return false;
    }
    std::string Reason;
    if (Load_From_Bytes(File.readAll().toStdString(), &Reason)) return true;
    if (Error) *Error = Path + ": " + Reason;
    return false;
}

bool TBitmap::Load_From_Bytes(const std::string& Bytes, std::string* Error)
{
    QImage Image;
    if (Bytes.size() >= 2 && static_cast<unsigned char>(Bytes[0]) == 0xFF &&
        static_cast<unsigned char>(Bytes[1]) == 0xD8) {
        if (!Decode_JPEG(Bytes, &Image, Error)) return false;
    } else if (!Image.loadFromData(reinterpret_cast<const uchar*>(Bytes.data()), static_cast<int>(Bytes.size()))) {
        if (Error) *Error = "not a picture this program reads";
        return false;
    }
    Assign_Image(Image);
    return true;
}

bool TBitmap::SaveToFile(const std::string& Path) const
{
    return !FImage->isNull() && FImage->save(QString::fromStdString(Path));
}

// ---------------------------------------------------------------- TPicture

TPicture::TPicture()
{
    FBitmap.On_Changed = [this](const TRect& Area) {
        if (On_Changed) On_Changed(Area);
    };
}

bool TPicture::LoadFromFile(const std::string& Path, std::string* Error)
{
    return FBitmap.LoadFromFile(Path, Error);
}

bool TPicture::Load_From_Bytes(const std::string& Bytes, std::string* Error)
{
    return FBitmap.Load_From_Bytes(Bytes, Error);
}

void TPicture::Assign(const TBitmap& Bitmap) { FBitmap = Bitmap; }

void TPicture::Clear() { FBitmap.SetSize(0, 0); }

// ---------------------------------------------------------------- TIcon

TIcon::TIcon() : FIcon(std::make_unique<QIcon>()) {}
TIcon::~TIcon() = default;
TIcon::TIcon(const TIcon& Other) : FIcon(std::make_unique<QIcon>(*Other.FIcon)) {}

TIcon& TIcon::operator=(const TIcon& Other)
{
    *FIcon = *Other.FIcon;
    return *this;
}

bool TIcon::LoadFromFile(const std::string& Path)
{
    const QPixmap Probe(QString::fromStdString(Path));
    if (Probe.isNull()) return false;
    *FIcon = QIcon(QString::fromStdString(Path));
    return true;
}

bool TIcon::Empty() const { return FIcon->isNull(); }

// ---------------------------------------------------------------- text measurement

namespace ui {

int Text_Width(const TFont& Font, const std::string& Text)
{
    return QFontMetrics(To_QFont(Font)).horizontalAdvance(To_Q(Text, Font.Charset()));
}

int Text_Height(const TFont& Font, const std::string& Text)
{
    return QFontMetrics(To_QFont(Font)).height();
}

int Wrapped_Text_Height(const TFont& Font, const std::string& Text, int Width)
{
    constexpr int Unbounded = 1 << 20;
    const QRect Box(0, 0, std::max(1, Width), Unbounded);
    return QFontMetrics(To_QFont(Font))
        .boundingRect(Box, Qt::TextWordWrap | Qt::TextExpandTabs, Caption_Text(Text, Font.Charset()))
        .height();
}

}  // namespace ui
