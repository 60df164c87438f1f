#include "platform/ui/Button.h"
#include "platform/ui/Form.h"
#include "platform/ui/Internal.h"
#include "platform/ui/Runtime.h"
#include <QPushButton>
#include <QSignalBlocker>

namespace {

class Button_Widget : public QPushButton {
public:
    TButton* Button = nullptr;

protected:
    // A click's down state follows the speed-button rules, not Qt's toggle.
    void nextCheckState() override
    {
        if (Button && TControl::From_Widget(this)) Button->Next_Down_State();
    }
};

QPushButton* B(QWidget* W) { return static_cast<QPushButton*>(W); }

}  // namespace

TButton::TButton(TComponent* Owner, TControl* Parent) : TControl(Owner, new Button_Widget)
{
    static_cast<Button_Widget*>(FWidget)->Button = this;
    B(FWidget)->setAutoDefault(false);
    FWidget->setFocusPolicy(Qt::StrongFocus);
    FWidget->resize(75, 25);
    QObject::connect(B(FWidget), &QPushButton::clicked, FWidget, [this] {
        ui::Dispatch([this] { User_Clicked(); });
    });
    if (Parent) this->Parent(Parent);
}

void TButton::Caption(const std::string& Value)
{
    FCaption = Value;
    Update_Text();
}

void TButton::Update_Text()
{
    if (FWidget) B(FWidget)->setText(ui::Caption_Text(FCaption, Text_Charset()));
}

void TButton::Refresh_Texts() { Update_Text(); }

void TButton::GroupIndex(int Value)
{
    FGroup_Index = Value;
    B(FWidget)->setCheckable(Value != 0);
    if (Value == 0) Set_Down(false);
}

void TButton::Down(bool Value)
{
    if (FGroup_Index == 0) Value = false;
    if (Value == FDown) return;
    if (FDown && !FAllow_All_Up) return;   // an exclusive group keeps one button down
    Set_Down(Value);
}

void TButton::Set_Down(bool Value)
{
    FDown = Value;
    {
        QSignalBlocker Block(FWidget);
        B(FWidget)->setChecked(Value);
    }
    if (!Value || !FParent) return;
    for (int I = 0; I < FParent->ControlCount(); ++I) {
        auto* Other = dynamic_cast<TButton*>(FParent->Controls(I));
        if (Other && Other != this && Other->FGroup_Index == FGroup_Index && Other->FDown)
            Other->Set_Down(false);
    }
}

void TButton::Next_Down_State()
{
    if (FGroup_Index == 0) return;
    if (!FDown) Set_Down(true);
    else if (FAllow_All_Up) Set_Down(false);
    else Set_Down(true);   // stays down
}

void TButton::Flat(bool Value)
{
    FFlat = Value;
    B(FWidget)->setFlat(Value);
}

void TButton::WordWrap(bool Value) { FWord_Wrap = Value; }

void TButton::Default(bool Value)
{
    FDefault = Value;
    B(FWidget)->setDefault(Value);
}

void TButton::Click()
{
    const TAlive Alive(this);
    if (FModal_Result != mrNone)
        if (TForm* Form = Parent_Form()) Form->ModalResult(FModal_Result);   // may close and free it
    if (Alive && OnClick) OnClick(this);
}

void TButton::User_Clicked() { Click(); }
