#include "platform/ui/Edit.h"
#include "platform/ui/Internal.h"
#include "platform/ui/Runtime.h"
#include "platform/ui/UpDown.h"
#include <QLineEdit>

namespace {
QLineEdit* E(QWidget* W) { return static_cast<QLineEdit*>(W); }
}

TEdit::TEdit(TComponent* Owner, TControl* Parent) : TControl(Owner, new QLineEdit)
{
    FColor = clWindow;
    Apply_Color();
    FWidget->resize(121, 21);
    QObject::connect(E(FWidget), &QLineEdit::textEdited, FWidget, [this] {
        ui::Dispatch([this] { User_Edited(); });
    });
    if (Parent) this->Parent(Parent);
}

TEdit::~TEdit()
{
    if (Associated_UpDown) Associated_UpDown->Associate_Destroyed();
}

std::string TEdit::Text() const
{
    if (!FWidget) return FBytes;
    const QString Shown = E(FWidget)->text();
    if (Shown == ui::To_Q(FBytes, Text_Charset())) return FBytes;
    return ui::From_Q(Shown, Text_Charset());
}

void TEdit::Text(const std::string& Value)
{
    if (Value == Text()) return;
    FBytes = Value;
    if (FWidget) E(FWidget)->setText(ui::To_Q(Value, Text_Charset()));
    if (OnChange) OnChange(this);
}

void TEdit::User_Edited()
{
    FBytes = Text();
    if (OnChange) OnChange(this);
}

void TEdit::Refresh_Texts()
{
    if (FWidget) E(FWidget)->setText(ui::To_Q(FBytes, Text_Charset()));
}

void TEdit::ReadOnly(bool Value)
{
    FRead_Only = Value;
    E(FWidget)->setReadOnly(Value);
    // A read-only edit is a readout: a right click on it runs its mouse-down handler and
    // pops up no menu of the toolkit's own (copy, select all).
    FWidget->setContextMenuPolicy(Value ? Qt::PreventContextMenu : Qt::DefaultContextMenu);
}

void TEdit::MaxLength(int Value)
{
    FMax_Length = Value < 0 ? 0 : Value;
    E(FWidget)->setMaxLength(FMax_Length == 0 ? 32767 : FMax_Length);
}

void TEdit::PasswordChar(char Value)
{
    FPassword_Char = Value;
    E(FWidget)->setEchoMode(Value ? QLineEdit::Password : QLineEdit::Normal);
}

void TEdit::SelectAll() { E(FWidget)->selectAll(); }

bool TEdit::Default_Key_Down(std::uint16_t Key, TShiftState Shift)
{
    if (Associated_UpDown && Associated_UpDown->ArrowKeys() && Associated_UpDown->Enabled() &&
        (Key == VK_UP || Key == VK_DOWN)) {
        Associated_UpDown->Step(Key == VK_UP ? TUD_Button::Up : TUD_Button::Down);
        return true;
    }
    return false;
}
