#include "platform/ui/SpinEdit.h"
#include "platform/ui/Internal.h"
#include "platform/ui/Runtime.h"
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <algorithm>
#include <climits>

namespace {
QSpinBox* S(QWidget* W) { return static_cast<QSpinBox*>(W); }
}

TSpinEdit::TSpinEdit(TComponent* Owner, TControl* Parent) : TControl(Owner, new QSpinBox)
{
    FColor = clWindow;
    Apply_Color();
    FWidget->resize(121, 22);
    Apply_Range();
    QObject::connect(S(FWidget), &QSpinBox::valueChanged, FWidget, [this](int V) {
        ui::Dispatch([this, V] { User_Changed(V); });
    });
    if (QLineEdit* Line = FWidget->findChild<QLineEdit*>()) Watch_Inner_Widget(Line);
    if (Parent) this->Parent(Parent);
}

int TSpinEdit::Clamp(int V) const
{
    if (FMin == FMax) return V;
    return std::clamp(V, std::min(FMin, FMax), std::max(FMin, FMax));
}

void TSpinEdit::Apply_Range()
{
    QSignalBlocker Block(FWidget);
    if (FMin == FMax) S(FWidget)->setRange(INT_MIN, INT_MAX);
    else S(FWidget)->setRange(std::min(FMin, FMax), std::max(FMin, FMax));
    S(FWidget)->setValue(FValue);
}

void TSpinEdit::Value(int New_Value)
{
    New_Value = Clamp(New_Value);
    if (New_Value == FValue) return;
    FValue = New_Value;
    {
        QSignalBlocker Block(FWidget);
        S(FWidget)->setValue(FValue);
    }
    if (OnChange) OnChange(this);
}

void TSpinEdit::User_Changed(int New_Value)
{
    if (New_Value == FValue) return;
    FValue = New_Value;
    if (OnChange) OnChange(this);
}

void TSpinEdit::MinValue(int Value)
{
    FMin = Value;
    FValue = Clamp(FValue);
    Apply_Range();
}

void TSpinEdit::MaxValue(int Value)
{
    FMax = Value;
    FValue = Clamp(FValue);
    Apply_Range();
}

void TSpinEdit::Increment(int Value)
{
    FIncrement = Value;
    S(FWidget)->setSingleStep(Value);
}

void TSpinEdit::ReadOnly(bool Value)
{
    FRead_Only = Value;
    S(FWidget)->setReadOnly(Value);
}
