#include "platform/ui/CheckBox.h"
#include "platform/ui/Internal.h"
#include "platform/ui/Runtime.h"
#include <QCheckBox>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {

class Check_Widget : public QCheckBox {
public:
    TCheckBox* Box = nullptr;
};

// A radio button that never unchecks itself on a click; the layer keeps siblings exclusive.
class Radio_Widget : public QRadioButton {
public:
    TRadioButton* Radio = nullptr;
    bool Became_Checked = false;

protected:
    void nextCheckState() override
    {
        Became_Checked = !isChecked();
        if (Became_Checked && Radio && TControl::From_Widget(this)) Radio->Checked_From_User();
    }
};

}  // namespace

// ---------------------------------------------------------------- TCheckBox

TCheckBox::TCheckBox(TComponent* Owner, TControl* Parent) : TControl(Owner, new Check_Widget)
{
    static_cast<Check_Widget*>(FWidget)->Box = this;
    FWidget->resize(97, 17);
    QObject::connect(static_cast<QCheckBox*>(FWidget), &QCheckBox::clicked, FWidget, [this] {
        ui::Dispatch([this] { User_Clicked(); });
    });
    if (Parent) this->Parent(Parent);
}

void TCheckBox::Checked(bool Value)
{
    if (Value == FChecked) return;
    FChecked = Value;
    {
        QSignalBlocker Block(FWidget);
        static_cast<QCheckBox*>(FWidget)->setChecked(Value);
    }
    Click();
}

void TCheckBox::User_Clicked()
{
    FChecked = static_cast<QCheckBox*>(FWidget)->isChecked();
    Click();
}

void TCheckBox::Click()
{
    if (OnClick) OnClick(this);
}

void TCheckBox::Caption(const std::string& Value)
{
    FCaption = Value;
    Refresh_Texts();
}

void TCheckBox::Refresh_Texts()
{
    if (FWidget) static_cast<QCheckBox*>(FWidget)->setText(ui::Caption_Text(FCaption, Text_Charset()));
}

void TCheckBox::Alignment(TAlignment Value)
{
    FAlignment = Value;
    FWidget->setLayoutDirection(Value == TAlignment::Left_Justify ? Qt::RightToLeft : Qt::LeftToRight);
}

// ---------------------------------------------------------------- TRadioButton

TRadioButton::TRadioButton(TComponent* Owner, TControl* Parent) : TControl(Owner, new Radio_Widget)
{
    auto* W = static_cast<Radio_Widget*>(FWidget);
    W->Radio = this;
    W->setAutoExclusive(false);
    FWidget->resize(113, 17);
    QObject::connect(W, &QRadioButton::clicked, FWidget, [this, W] {
        if (!W->Became_Checked) return;
        W->Became_Checked = false;
        ui::Dispatch([this] { User_Clicked(); });
    });
    if (Parent) this->Parent(Parent);
}

void TRadioButton::Set_Unchecked_Silently()
{
    FChecked = false;
    QSignalBlocker Block(FWidget);
    static_cast<QRadioButton*>(FWidget)->setChecked(false);
}

void TRadioButton::Checked_From_User()
{
    FChecked = true;
    {
        QSignalBlocker Block(FWidget);
        static_cast<QRadioButton*>(FWidget)->setChecked(true);
    }
    if (!FParent) return;
    for (int I = 0; I < FParent->ControlCount(); ++I) {
        auto* Other = dynamic_cast<TRadioButton*>(FParent->Controls(I));
        if (Other && Other != this && Other->FChecked) Other->Set_Unchecked_Silently();
    }
}

void TRadioButton::Checked(bool Value)
{
    if (Value == FChecked) return;
    if (!Value) {
        Set_Unchecked_Silently();
        return;
    }
    Checked_From_User();
    Click();
}

void TRadioButton::User_Clicked() { Click(); }

void TRadioButton::Click()
{
    if (OnClick) OnClick(this);
}

void TRadioButton::Caption(const std::string& Value)
{
    FCaption = Value;
    Refresh_Texts();
}

void TRadioButton::Refresh_Texts()
{
    if (FWidget) static_cast<QRadioButton*>(FWidget)->setText(ui::Caption_Text(FCaption, Text_Charset()));
}
