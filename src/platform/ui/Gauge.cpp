#include "platform/ui/Gauge.h"
#include "platform/ui/Internal.h"
#include <QPainter>
#include <QProgressBar>
#include <QWidget>
#include <algorithm>

namespace {

class Gauge_Widget : public QWidget {
public:
    TGauge* Gauge = nullptr;

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!Gauge || !TControl::From_Widget(this)) return;
        QPainter P(this);
        const QRect R = rect();
        P.fillRect(R, ui::To_QColor(Gauge->FBack));
        const int Range = Gauge->FMax - Gauge->FMin;
        const int Filled = Range > 0 ? static_cast<int>(static_cast<long long>(R.width()) *
                                                        (Gauge->FProgress - Gauge->FMin) / Range)
                                     : 0;
        P.fillRect(QRect(R.left(), R.top(), Filled, R.height()), ui::To_QColor(Gauge->FFore));
        P.setPen(ui::To_QColor(clBlack));
        P.drawRect(R.adjusted(0, 0, -1, -1));
        if (Gauge->FShow_Text) {
            P.setFont(font());
            P.setPen(ui::To_QColor(Gauge->Font().Color()));
            P.drawText(R, Qt::AlignCenter, QString::number(Gauge->PercentDone()) + "%");
        }
    }
};

}  // namespace

TGauge::TGauge(TComponent* Owner, TControl* Parent) : TControl(Owner, new Gauge_Widget)
{
    static_cast<Gauge_Widget*>(FWidget)->Gauge = this;
    FWidget->resize(100, 20);
    if (Parent) this->Parent(Parent);
}

void TGauge::Progress(int Value)
{
    FProgress = std::clamp(Value, FMin, std::max(FMin, FMax));
    Invalidate();
}

void TGauge::MinValue(int Value)
{
    FMin = Value;
    Progress(FProgress);
}

void TGauge::MaxValue(int Value)
{
    FMax = Value;
    Progress(FProgress);
}

void TGauge::ForeColor(TColor Value)
{
    FFore = Value;
    Invalidate();
}

void TGauge::BackColor(TColor Value)
{
    FBack = Value;
    Invalidate();
}

void TGauge::ShowText(bool Value)
{
    FShow_Text = Value;
    Invalidate();
}

int TGauge::PercentDone() const
{
    const long long Range = static_cast<long long>(FMax) - FMin;
    if (Range <= 0) return 0;
    return static_cast<int>((static_cast<long long>(FProgress) - FMin) * 100 / Range);
}

// ---------------------------------------------------------------- TProgressBar

TProgressBar::TProgressBar(TComponent* Owner, TControl* Parent) : TControl(Owner, new QProgressBar)
{
    static_cast<QProgressBar*>(FWidget)->setTextVisible(false);
    FWidget->resize(150, 17);
    Apply();
    if (Parent) this->Parent(Parent);
}

void TProgressBar::Apply()
{
    auto* Bar = static_cast<QProgressBar*>(FWidget);
    Bar->setRange(FMin, std::max(FMin, FMax));
    Bar->setValue(FPosition);
}

void TProgressBar::Position(int Value)
{
    FPosition = std::clamp(Value, FMin, std::max(FMin, FMax));
    Apply();
}

void TProgressBar::Min(int Value)
{
    FMin = Value;
    FPosition = std::clamp(FPosition, FMin, std::max(FMin, FMax));
    Apply();
}

void TProgressBar::Max(int Value)
{
    FMax = Value;
    FPosition = std::clamp(FPosition, FMin, std::max(FMin, FMax));
    Apply();
}
