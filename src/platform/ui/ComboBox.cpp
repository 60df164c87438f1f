#include "platform/ui/ComboBox.h"
#include "platform/ui/Internal.h"
#include "platform/ui/Runtime.h"
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace {
QComboBox* C(QWidget* W) { return static_cast<QComboBox*>(W); }
}

TComboBox::TComboBox(TComponent* Owner, TControl* Parent) : TControl(Owner, new QComboBox)
{
    FColor = clWindow;
    Apply_Color();
    FWidget->resize(145, 21);
    C(FWidget)->setInsertPolicy(QComboBox::NoInsert);
    C(FWidget)->setMaxVisibleItems(FDrop_Down_Count);
    QObject::connect(C(FWidget), &QComboBox::activated, FWidget, [this](int Index) {
        ui::Dispatch([this, Index] { User_Selected(Index); });
    });
    FItems.On_Change = [this] { Show_Items(); };
    Style(TCombo_Style::Drop_Down);
    if (Parent) this->Parent(Parent);
}

void TComboBox::Style(TCombo_Style Value)
{
    FStyle = Value;
    QSignalBlocker Block(FWidget);
    const bool Editable = Value == TCombo_Style::Drop_Down;
    if (C(FWidget)->isEditable() == Editable && (!Editable || C(FWidget)->lineEdit())) return;
    C(FWidget)->setEditable(Editable);
    if (Editable) {
        QLineEdit* Line = C(FWidget)->lineEdit();
        C(FWidget)->setCompleter(nullptr);
        QObject::connect(Line, &QLineEdit::textEdited, FWidget, [this] {
            ui::Dispatch([this] { User_Typed(); });
        });
        Line->setText(ui::To_Q(FText_Bytes, Text_Charset()));
        Watch_Inner_Widget(Line);
    }
}

void TComboBox::Show_Items()
{
    if (!FWidget) return;
    QSignalBlocker Block(FWidget);
    const int Old_Index = C(FWidget)->currentIndex();
    C(FWidget)->clear();
    for (const auto& Item : FItems.Items()) C(FWidget)->addItem(ui::To_Q(Item, Text_Charset()));
    if (FItems.Count() == 0) {
        FText_Bytes.clear();
        C(FWidget)->setCurrentIndex(-1);
        if (C(FWidget)->lineEdit()) C(FWidget)->lineEdit()->clear();
        return;
    }
    if (FStyle == TCombo_Style::Drop_Down_List) {
        C(FWidget)->setCurrentIndex(Old_Index < FItems.Count() ? Old_Index : -1);
    } else {
        C(FWidget)->setCurrentIndex(FItems.IndexOf(FText_Bytes));
        C(FWidget)->lineEdit()->setText(ui::To_Q(FText_Bytes, Text_Charset()));
    }
}

void TComboBox::Refresh_Texts() { Show_Items(); }

int TComboBox::ItemIndex() const
{
    if (!FWidget) return -1;
    const int Index = C(FWidget)->currentIndex();
    if (Index < 0 || Index >= FItems.Count()) return -1;
    if (FStyle == TCombo_Style::Drop_Down && C(FWidget)->lineEdit() &&
        C(FWidget)->lineEdit()->text() != C(FWidget)->itemText(Index))
        return -1;
    return Index;
}

void TComboBox::ItemIndex(int Value)
{
    if (Value < -1 || Value >= FItems.Count()) Value = -1;
    QSignalBlocker Block(FWidget);
    C(FWidget)->setCurrentIndex(Value);
    FText_Bytes = Value >= 0 ? FItems[Value] : std::string();
    if (C(FWidget)->lineEdit()) C(FWidget)->lineEdit()->setText(ui::To_Q(FText_Bytes, Text_Charset()));
}

std::string TComboBox::Text() const
{
    if (!FWidget) return FText_Bytes;
    if (FStyle == TCombo_Style::Drop_Down_List) {
        const int Index = C(FWidget)->currentIndex();
        return Index >= 0 && Index < FItems.Count() ? FItems[Index] : std::string();
    }
    const QString Shown = C(FWidget)->lineEdit() ? C(FWidget)->lineEdit()->text() : QString();
    if (Shown == ui::To_Q(FText_Bytes, Text_Charset())) return FText_Bytes;
    for (const auto& Item : FItems.Items())
        if (Shown == ui::To_Q(Item, Text_Charset())) return Item;
    return ui::From_Q(Shown, Text_Charset());
}

void TComboBox::Text(const std::string& Value)
{
    QSignalBlocker Block(FWidget);
    const int Index = FItems.IndexOf(Value);
    if (FStyle == TCombo_Style::Drop_Down_List) {
        C(FWidget)->setCurrentIndex(Index);
        FText_Bytes = Index >= 0 ? Value : std::string();
        return;
    }
    FText_Bytes = Value;
    C(FWidget)->setCurrentIndex(Index);
    C(FWidget)->lineEdit()->setText(ui::To_Q(Value, Text_Charset()));
}

void TComboBox::DropDownCount(int Value)
{
    FDrop_Down_Count = Value;
    C(FWidget)->setMaxVisibleItems(std::max(1, Value));
}

void TComboBox::User_Selected(int Index)
{
    if (Index >= 0 && Index < FItems.Count()) FText_Bytes = FItems[Index];
    const TAlive Alive(this);
    if (OnClick) OnClick(this);
    if (Alive && OnChange) OnChange(this);
}

void TComboBox::User_Typed()
{
    FText_Bytes = Text();
    if (OnChange) OnChange(this);
}
