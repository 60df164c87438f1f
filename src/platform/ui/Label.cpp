#include "platform/ui/Label.h"
#include "platform/ui/Internal.h"
#include "platform/ui/Panel.h"
#include <QLabel>

namespace {
QLabel* L(QWidget* W) { return static_cast<QLabel*>(W); }
}

TLabel::TLabel(TComponent* Owner, TControl* Parent) : TControl(Owner, new QLabel)
{
    L(FWidget)->setTextInteractionFlags(Qt::NoTextInteraction);
    FWidget->setAutoFillBackground(false);
    FWidget->resize(40, 13);
    Layout(TText_Layout::Top);
    if (Parent) this->Parent(Parent);
}

void TLabel::Caption(const std::string& Value)
{
    if (Value == FCaption) return;
    FCaption = Value;
    Update_Text();
}

// A caption without "&" is shown as plain text, which keeps its blanks and breaks as they
// stand and is laid out without a text document; one with "&" needs the rich text that
// hides the marks and underlines the letters after them.
void TLabel::Update_Text()
{
    if (!FWidget) return;
    if (!Visible()) {
        FText_Stale = true;
        return;
    }
    FText_Stale = false;
    if (!FOwn_Backdrop) Update_Backdrop();
    if (FCaption.find('&') == std::string::npos) {
        L(FWidget)->setTextFormat(Qt::PlainText);
        L(FWidget)->setText(ui::Caption_Text(FCaption, Text_Charset()));
    } else {
        L(FWidget)->setTextFormat(Qt::RichText);
        L(FWidget)->setText(ui::Accel_Rich_Text(FCaption, Text_Charset(), FShow_Accel));
    }
    Fit_Size();
}

void TLabel::Visible(bool Value)
{
    if (Value && FText_Stale) {
        TControl::Visible(true);
        Update_Text();
        return;
    }
    TControl::Visible(Value);
}

void TLabel::Fit_Size()
{
    if (!FAuto_Size || !FWidget) return;
    const QSize Was = FWidget->size();
    if (FWord_Wrap) {
        const int H = L(FWidget)->heightForWidth(FWidget->width());
        if (H > 0) FWidget->resize(FWidget->width(), H);
    } else {
        FWidget->resize(L(FWidget)->sizeHint());
    }
    if (FWidget->size() != Was) {
        Tell_Siblings();
        Update_Backdrop();
    }
}

void TLabel::Backdrop_Changed() { Update_Backdrop(); }

// Where all the panel shows beneath the label is its plain colour, the label fills itself
// with that colour, and Qt, seeing an opaque control, paints nothing beneath it when its
// caption changes. Anything else beneath it (the panel's caption or bevels, another
// control, a parent that is no panel) leaves it see-through.
void TLabel::Update_Backdrop()
{
    if (!FWidget || FColor_Set) return;
    const auto* Panel = dynamic_cast<const TPanel*>(FParent);
    bool Own = Panel && Panel->Caption().empty();
    if (Own) {
        int Inset = Panel->Border_Single() ? 1 : 0;
        if (Panel->BevelOuter() != TBevel_Cut::None) Inset += Panel->BevelWidth();
        if (Panel->BevelInner() != TBevel_Cut::None) Inset += Panel->BevelWidth();
        const QRect Inside = QRect(0, 0, Panel->Width(), Panel->Height()).adjusted(Inset, Inset, -Inset, -Inset);
        const QRect Mine = FWidget->geometry();
        Own = Inside.contains(Mine);
        for (int I = 0; Own && I < Panel->ControlCount(); ++I) {
            const TControl* Sibling = Panel->Controls(I);
            if (Sibling != this && Sibling->Visible() && Sibling->Widget() &&
                Sibling->Widget()->geometry().intersects(Mine))
                Own = false;
        }
    }
    const QColor Fill = Own ? ui::To_QColor(Panel->Shown_Colour()) : QColor();
    if (Own == FOwn_Backdrop && (!Own || FWidget->palette().color(QPalette::Window) == Fill)) return;
    FOwn_Backdrop = Own;
    if (Own) {
        QPalette P = FWidget->palette();
        P.setColor(QPalette::Window, Fill);
        FWidget->setPalette(P);
    }
    FWidget->setAutoFillBackground(Own);
}

void TLabel::AutoSize(bool Value)
{
    FAuto_Size = Value;
    Fit_Size();
}

void TLabel::WordWrap(bool Value)
{
    FWord_Wrap = Value;
    L(FWidget)->setWordWrap(Value);
    Fit_Size();
}

void TLabel::Alignment(TAlignment Value)
{
    FAlignment = Value;
    Layout(FLayout);
}

void TLabel::Layout(TText_Layout Value)
{
    FLayout = Value;
    Qt::Alignment A;
    switch (FAlignment) {
    case TAlignment::Right_Justify: A = Qt::AlignRight; break;
    case TAlignment::Center: A = Qt::AlignHCenter; break;
    default: A = Qt::AlignLeft; break;
    }
    switch (FLayout) {
    case TText_Layout::Center: A |= Qt::AlignVCenter; break;
    case TText_Layout::Bottom: A |= Qt::AlignBottom; break;
    default: A |= Qt::AlignTop; break;
    }
    L(FWidget)->setAlignment(A);
}

void TLabel::ShowAccelChar(bool Value)
{
    FShow_Accel = Value;
    Update_Text();
}

void TLabel::Color(TColor Value)
{
    TControl::Color(Value);
}

void TLabel::Apply_Font()
{
    TControl::Apply_Font();
    Fit_Size();
}

// An auto-sized label takes the size of its scaled text; only its place scales.
void TLabel::Scale_Own(int M, int D, bool Move)
{
    if (!FAuto_Size || FWord_Wrap) {
        TControl::Scale_Own(M, D, Move);
        return;
    }
    if (Move) SetBounds(Mul_Div(Left(), M, D), Mul_Div(Top(), M, D), Width(), Height());
    Fit_Size();
}

void TLabel::Refresh_Texts() { Update_Text(); }
