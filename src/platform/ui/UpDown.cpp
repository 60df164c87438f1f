#include "platform/ui/UpDown.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Internal.h"
#include "platform/ui/Runtime.h"
#include <QBoxLayout>
#include <QToolButton>
#include <QWidget>
#include <algorithm>

int Low_16(int Value) { return static_cast<std::int16_t>(static_cast<std::uint16_t>(Value & 0xFFFF)); }

namespace {

class UpDown_Widget : public QWidget {
public:
    QToolButton* Up = new QToolButton(this);
    QToolButton* Down = new QToolButton(this);
    bool Vertical = true;

    UpDown_Widget()
    {
        for (QToolButton* B : {Up, Down}) {
            B->setAutoRepeat(true);
            B->setAutoRepeatDelay(400);
            B->setAutoRepeatInterval(80);
            B->setFocusPolicy(Qt::NoFocus);
        }
        Arrange();
    }
    void Arrange()
    {
        Up->setArrowType(Vertical ? Qt::UpArrow : Qt::RightArrow);
        Down->setArrowType(Vertical ? Qt::DownArrow : Qt::LeftArrow);
        Layout_Buttons();
    }
    void Layout_Buttons()
    {
        const int W = width(), H = height();
        if (Vertical) {
            Up->setGeometry(0, 0, W, H / 2);
            Down->setGeometry(0, H / 2, W, H - H / 2);
        } else {
            Down->setGeometry(0, 0, W / 2, H);
            Up->setGeometry(W / 2, 0, W - W / 2, H);
        }
    }

protected:
    void resizeEvent(QResizeEvent*) override { Layout_Buttons(); }
};

UpDown_Widget* U(QWidget* W) { return static_cast<UpDown_Widget*>(W); }

}  // namespace

TUpDown::TUpDown(TComponent* Owner, TControl* Parent) : TControl(Owner, new UpDown_Widget)
{
    FWidget->resize(16, 24);
    auto* W = U(FWidget);
    QObject::connect(W->Up, &QToolButton::clicked, FWidget, [this] {
        ui::Dispatch([this] { Step(TUD_Button::Up); });
    });
    QObject::connect(W->Down, &QToolButton::clicked, FWidget, [this] {
        ui::Dispatch([this] { Step(TUD_Button::Down); });
    });
    Watch_Inner_Widget(W->Up);
    Watch_Inner_Widget(W->Down);
    if (Parent) this->Parent(Parent);
}

TUpDown::~TUpDown()
{
    if (FAssociate) FAssociate->Associated_UpDown = nullptr;
}

void TUpDown::Clamp_And_Show()
{
    const int Low = std::min(FMin, FMax), High = std::max(FMin, FMax);
    FPosition = std::clamp(FPosition, Low, High);
    Show_In_Associate();
}

void TUpDown::Show_In_Associate()
{
    if (FAssociate) FAssociate->Text(std::to_string(FPosition));
}

void TUpDown::Position(int Value)
{
    FPosition = Low_16(Value);
    Clamp_And_Show();
}

void TUpDown::Min(int Value)
{
    FMin = Low_16(Value);
    Clamp_And_Show();
}

void TUpDown::Max(int Value)
{
    FMax = Low_16(Value);
    Clamp_And_Show();
}

void TUpDown::Associate(TEdit* Edit)
{
    if (FAssociate) FAssociate->Associated_UpDown = nullptr;
    FAssociate = Edit;
    if (!Edit) return;
    Edit->Associated_UpDown = this;
    if (Edit->Parent() && Edit->Parent() != FParent) Parent(Edit->Parent());
    SetBounds(Edit->Left() + Edit->Width(), Edit->Top(), Width(), Edit->Height());
    Show_In_Associate();
}

void TUpDown::Orientation(TUD_Orientation Value)
{
    FOrientation = Value;
    U(FWidget)->Vertical = Value == TUD_Orientation::Vertical;
    U(FWidget)->Arrange();
}

bool TUpDown::Step(TUD_Button Button)
{
    const int Low = std::min(FMin, FMax), High = std::max(FMin, FMax);
    int Next = FPosition + (Button == TUD_Button::Up ? FIncrement : -FIncrement);
    if (Next > High) Next = FWrap ? Low : High;
    if (Next < Low) Next = FWrap ? High : Low;
    if (Next == FPosition) return false;
    FPosition = Next;
    const TAlive Alive(this);
    Show_In_Associate();   // runs the edit's OnChange, which may free this up-down
    if (Alive && OnClick) OnClick(this, Button);
    return true;
}
