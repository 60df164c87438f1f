#include "platform/ui/Image.h"
#include "platform/ui/Internal.h"
#include <QImage>
#include <QPainter>
#include <QResizeEvent>
#include <QWidget>

namespace {

class Image_Widget : public QWidget {
public:
    TImage* Image = nullptr;

    // The picture, its transparency or its placement changed: forget the see-through copy
    // and tell whether the control paints every pixel itself (an opaque picture over all of
    // it), so that nothing beneath it is painted first.
    void Picture_Changed()
    {
        Keyed = QImage();
        Update_Opaque();
    }

    void Update_Opaque()
    {
        bool Opaque = false;
        if (Image && !Image->Transparent() && !Image->Picture().Empty()) {
            const int W = Image->Picture().Width();
            const int H = Image->Picture().Height();
            Opaque = Image->Stretch() || (W >= width() && H >= height());
        }
        if (Opaque != testAttribute(Qt::WA_OpaquePaintEvent)) setAttribute(Qt::WA_OpaquePaintEvent, Opaque);
    }

protected:
    void resizeEvent(QResizeEvent* Event) override
    {
        QWidget::resizeEvent(Event);
        Update_Opaque();
    }

    void paintEvent(QPaintEvent*) override
    {
        if (!Image || !TControl::From_Widget(this) || Image->Picture().Empty()) return;
        const TBitmap& B = Image->Picture().Bitmap();
        QPainter P(this);
        const QImage& Source = Image->Transparent() ? Keyed_Image(B) : B.Image();
        if (Image->Stretch()) {
            P.drawImage(rect(), Source);
        } else if (Image->Center()) {
            P.drawImage((width() - Source.width()) / 2, (height() - Source.height()) / 2, Source);
        } else {
            P.drawImage(0, 0, Source);
        }
    }

private:
    // The picture with its transparent colour made see-through, made again only when the
    // picture's pixels or that colour changed since the last paint (any change to an image
    // gives it a new cache key).
    const QImage& Keyed_Image(const TBitmap& B)
    {
        const TColor Key = B.TransparentColor();
        const qint64 Source_Key = B.Image().cacheKey();
        if (Keyed.isNull() || Source_Key != Keyed_Source || Key != Keyed_Colour) {
            Keyed = ui::Colour_Keyed(B.Image(), Key);
            Keyed_Source = Source_Key;
            Keyed_Colour = Key;
        }
        return Keyed;
    }

    QImage Keyed;
    qint64 Keyed_Source = 0;
    TColor Keyed_Colour = clNone;
};

}  // namespace

TImage::TImage(TComponent* Owner, TControl* Parent) : TControl(Owner, new Image_Widget)
{
    static_cast<Image_Widget*>(FWidget)->Image = this;
    FWidget->resize(105, 105);
    FPicture.On_Changed = [this](const TRect& Area) { Picture_Changed(Area); };
    if (Parent) this->Parent(Parent);
}

// Only the part of the control that shows the changed pixels is painted again (a needle
// moving over its dial face repaints the needle's old and new places, not the face);
// a stretched picture, or a change of the whole picture, repaints all of it.
void TImage::Picture_Changed(const TRect& Area)
{
    if (!FWidget) return;
    auto* W = static_cast<Image_Widget*>(FWidget);
    W->Picture_Changed();
    const int Picture_Width = FPicture.Width(), Picture_Height = FPicture.Height();
    const bool Whole = Area.Left <= 0 && Area.Top <= 0 && Area.Right >= Picture_Width &&
                       Area.Bottom >= Picture_Height;
    if (Whole || FStretch) {
        Invalidate();
        return;
    }
    const QPoint Origin = FCenter ? QPoint((W->width() - Picture_Width) / 2,
                                           (W->height() - Picture_Height) / 2)
                                  : QPoint(0, 0);
    const QRect Changed = QRect(Area.Left, Area.Top, Area.Width(), Area.Height())
                              .intersected(QRect(0, 0, Picture_Width, Picture_Height));
    if (!Changed.isEmpty()) W->update(Changed.translated(Origin));
}

TCanvas* TImage::Canvas()
{
    if (FPicture.Empty()) FPicture.Bitmap().SetSize(std::max(1, Width()), std::max(1, Height()));
    return FPicture.Bitmap().Canvas();
}

void TImage::Stretch(bool Value)
{
    FStretch = Value;
    if (FWidget) static_cast<Image_Widget*>(FWidget)->Update_Opaque();
    Invalidate();
}

void TImage::Transparent(bool Value)
{
    if (Value == FTransparent) return;
    FTransparent = Value;
    if (FWidget) static_cast<Image_Widget*>(FWidget)->Picture_Changed();
    Invalidate();
}

void TImage::Center(bool Value)
{
    FCenter = Value;
    Invalidate();
}
