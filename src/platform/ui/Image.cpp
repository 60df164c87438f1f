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
    FPicture.On_Changed = [this] {
        if (FWidget) static_cast<Image_Widget*>(FWidget)->Picture_Changed();
        Invalidate();
    };
    if (Parent) this->Parent(Parent);
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
