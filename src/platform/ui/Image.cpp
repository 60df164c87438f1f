#include "platform/ui/Image.h"
#include "platform/ui/Internal.h"
#include <QImage>
#include <QPainter>
#include <QWidget>

namespace {

class Image_Widget : public QWidget {
public:
    TImage* Image = nullptr;

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!Image || !TControl::From_Widget(this) || Image->Picture().Empty()) return;
        const TBitmap& B = Image->Picture().Bitmap();
        QPainter P(this);
        QImage Source = B.Image();
        if (Image->Transparent()) {
            Source = Source.convertToFormat(QImage::Format_ARGB32);
            const QRgb Key = ui::To_QColor(B.TransparentColor()).rgb() & 0xFFFFFF;
            for (int Y = 0; Y < Source.height(); ++Y) {
                auto* Line = reinterpret_cast<QRgb*>(Source.scanLine(Y));
                for (int X = 0; X < Source.width(); ++X)
                    if ((Line[X] & 0xFFFFFF) == Key) Line[X] = 0;
            }
        }
        if (Image->Stretch()) {
            P.drawImage(rect(), Source);
        } else if (Image->Center()) {
            P.drawImage((width() - Source.width()) / 2, (height() - Source.height()) / 2, Source);
        } else {
            P.drawImage(0, 0, Source);
        }
    }
};

}  // namespace

TImage::TImage(TComponent* Owner, TControl* Parent) : TControl(Owner, new Image_Widget)
{
    static_cast<Image_Widget*>(FWidget)->Image = this;
    FWidget->resize(105, 105);
    FPicture.On_Changed = [this] { Invalidate(); };
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
    Invalidate();
}

void TImage::Transparent(bool Value)
{
    FTransparent = Value;
    Invalidate();
}

void TImage::Center(bool Value)
{
    FCenter = Value;
    Invalidate();
}
