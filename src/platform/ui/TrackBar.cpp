#include "platform/ui/TrackBar.h"
#include "platform/ui/Internal.h"
#include "platform/ui/Runtime.h"
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>

namespace {
QSlider* S(QWidget* W) { return static_cast<QSlider*>(W); }
}

TTrackBar::TTrackBar(TComponent* Owner, TControl* Parent) : TControl(Owner, new QSlider(Qt::Horizontal))
{
    FWidget->resize(150, 45);
    Apply_Range();
    Apply_Ticks();
    QObject::connect(S(FWidget), &QSlider::valueChanged, FWidget, [this](int V) {
        ui::Dispatch([this, V] { User_Moved(V); });
    });
    if (Parent) this->Parent(Parent);
}

void TTrackBar::Apply_Range()
{
    QSignalBlocker Block(FWidget);
    S(FWidget)->setRange(FMin, std::max(FMin, FMax));
    S(FWidget)->setValue(FPosition);
    S(FWidget)->setPageStep(FPage_Size);
    S(FWidget)->setSingleStep(FLine_Size);
}

void TTrackBar::Apply_Ticks()
{
    QSlider::TickPosition T = QSlider::NoTicks;
    if (FTick_Style != TTick_Style::None) {
        switch (FTick_Marks) {
        case TTick_Marks::Both: T = QSlider::TicksBothSides; break;
        case TTick_Marks::Top_Left: T = QSlider::TicksAbove; break;
        default: T = QSlider::TicksBelow; break;
        }
    }
    S(FWidget)->setTickPosition(T);
    S(FWidget)->setTickInterval(std::max(1, FFrequency));
}

void TTrackBar::Position(int Value)
{
    Value = std::clamp(Value, FMin, std::max(FMin, FMax));
    if (Value == FPosition) return;
    FPosition = Value;
    {
        QSignalBlocker Block(FWidget);
        S(FWidget)->setValue(Value);
    }
    if (OnChange) OnChange(this);
}

void TTrackBar::User_Moved(int Value)
{
    if (Value == FPosition) return;
    FPosition = Value;
    if (OnChange) OnChange(this);
}

void TTrackBar::Min(int Value)
{
    FMin = Value;
    FPosition = std::clamp(FPosition, FMin, std::max(FMin, FMax));
    Apply_Range();
}

void TTrackBar::Max(int Value)
{
    FMax = Value;
    FPosition = std::clamp(FPosition, FMin, std::max(FMin, FMax));
    Apply_Range();
}

void TTrackBar::Orientation(TTrack_Orientation Value)
{
    FOrientation = Value;
    const bool Vertical = Value == TTrack_Orientation::Vertical;
    S(FWidget)->setOrientation(Vertical ? Qt::Vertical : Qt::Horizontal);
    // A vertical bar has its minimum at the top.
    S(FWidget)->setInvertedAppearance(Vertical);
    S(FWidget)->setInvertedControls(Vertical);
}

void TTrackBar::Frequency(int Value)
{
    FFrequency = Value;
    Apply_Ticks();
}

void TTrackBar::TickMarks(TTick_Marks Value)
{
    FTick_Marks = Value;
    Apply_Ticks();
}

void TTrackBar::TickStyle(TTick_Style Value)
{
    FTick_Style = Value;
    Apply_Ticks();
}

void TTrackBar::PageSize(int Value)
{
    FPage_Size = Value;
    Apply_Range();
}

void TTrackBar::LineSize(int Value)
{
    FLine_Size = Value;
    Apply_Range();
}
