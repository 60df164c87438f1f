#include "platform/ui/Memo.h"
#include "platform/ui/Internal.h"
#include "platform/ui/Runtime.h"
#include <QPlainTextEdit>
#include <QSignalBlocker>

namespace {
QPlainTextEdit* M(QWidget* W) { return static_cast<QPlainTextEdit*>(W); }
}

TMemo::TMemo(TComponent* Owner, TControl* Parent) : TControl(Owner, new QPlainTextEdit)
{
    FColor = clWindow;
    Apply_Color();
    FWidget->resize(185, 89);
    M(FWidget)->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    M(FWidget)->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FLines.On_Change = [this] {
        Show_Lines();
        if (OnChange) OnChange(this);
    };
    QObject::connect(M(FWidget), &QPlainTextEdit::textChanged, FWidget, [this] {
        if (FShowing_Lines) return;
        ui::Dispatch([this] { User_Edited(); });
    });
    Watch_Inner_Widget(M(FWidget)->viewport());
    if (Parent) this->Parent(Parent);
}

void TMemo::Show_Lines()
{
    if (!FWidget) return;
    QStringList Lines;
    for (const auto& Line : FLines.Items()) Lines << ui::To_Q(Line, Text_Charset());
    FShowing_Lines = true;
    M(FWidget)->setPlainText(Lines.join('\n'));
    FShowing_Lines = false;
}

std::string TMemo::Text() const
{
    std::string Out;
    for (int I = 0; I < FLines.Count(); ++I) {
        if (I) Out += "\r\n";
        Out += FLines.Items()[I];
    }
    return Out;
}

void TMemo::Text(const std::string& Value)
{
    std::vector<std::string> Lines = Split_Lines(Value);
    if (!Value.empty() && (Value.back() == '\n' || Value.back() == '\r')) Lines.push_back("");
    if (Lines == FLines.Items()) return;
    FLines.Assign(Lines);
}

void TMemo::User_Edited()
{
    const QStringList Shown = M(FWidget)->toPlainText().split('\n');
    std::vector<std::string> Lines;
    for (int I = 0; I < Shown.size(); ++I) {
        // Lines whose screen text is unchanged keep their exact bytes.
        if (I < FLines.Count() && ui::To_Q(FLines.Items()[I], Text_Charset()) == Shown[I])
            Lines.push_back(FLines.Items()[I]);
        else
            Lines.push_back(ui::From_Q(Shown[I], Text_Charset()));
    }
    if (Lines.size() == 1 && Lines[0].empty()) Lines.clear();
    FLines.Set_Silently(Lines);
    if (OnChange) OnChange(this);
}

void TMemo::Refresh_Texts() { Show_Lines(); }

void TMemo::ReadOnly(bool Value)
{
    FRead_Only = Value;
    M(FWidget)->setReadOnly(Value);
}

void TMemo::ScrollBars(TScroll_Style Value)
{
    FScroll_Bars = Value;
    const bool V = Value == TScroll_Style::Vertical || Value == TScroll_Style::Both;
    const bool H = Value == TScroll_Style::Horizontal || Value == TScroll_Style::Both;
    M(FWidget)->setVerticalScrollBarPolicy(V ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    M(FWidget)->setHorizontalScrollBarPolicy(H ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TMemo::WordWrap(bool Value)
{
    FWord_Wrap = Value;
    M(FWidget)->setLineWrapMode(Value ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}
