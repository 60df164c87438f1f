#include "platform/ui/Panel.h"
#include "platform/ui/Internal.h"
#include <QGroupBox>
#include <QPainter>
#include <QResizeEvent>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace {

class Panel_Widget : public QWidget {
public:
    Panel_Widget() { setAttribute(Qt::WA_OpaquePaintEvent); }
    TPanel* Panel = nullptr;
    QColor Fill = ui::To_QColor(clBtnFace);
    QTimer* Settle = nullptr;   // runs while a new colour waits to be shown

protected:
    void resizeEvent(QResizeEvent* Event) override
    {
        QWidget::resizeEvent(Event);
        if (Panel && TControl::From_Widget(this)) Panel->Tell_Children();
    }

    // The panel fills all of itself (it is marked so, and nothing beneath it is painted
    // first); once its control is freed it keeps its last colour until it goes.
    void paintEvent(QPaintEvent*) override
    {
        QPainter P(this);
        QRect R = rect();
        if (!Panel || !TControl::From_Widget(this)) {
            P.fillRect(R, Fill);
            return;
        }
        Fill = ui::To_QColor(Panel->Shown_Colour());
        P.fillRect(R, Fill);
        const QColor Light = ui::To_QColor(clBtnHighlight);
        const QColor Dark = ui::To_QColor(clBtnShadow);
        auto Frame = [&](bool Raised, int Width) {
            for (int I = 0; I < Width; ++I) {
                P.setPen(Raised ? Light : Dark);
                P.drawLine(R.left(), R.top(), R.right(), R.top());
                P.drawLine(R.left(), R.top(), R.left(), R.bottom());
                P.setPen(Raised ? Dark : Light);
                P.drawLine(R.left(), R.bottom(), R.right(), R.bottom());
                P.drawLine(R.right(), R.top(), R.right(), R.bottom());
                R.adjust(1, 1, -1, -1);
            }
        };
        if (Panel->Border_Single()) {
            P.setPen(ui::To_QColor(clBlack));
            P.drawRect(R.adjusted(0, 0, -1, -1));
            R.adjust(1, 1, -1, -1);
        }
        if (Panel->BevelOuter() == TBevel_Cut::Raised || Panel->BevelOuter() == TBevel_Cut::Lowered)
            Frame(Panel->BevelOuter() == TBevel_Cut::Raised, Panel->BevelWidth());
        else if (Panel->BevelOuter() == TBevel_Cut::Space)
            R.adjust(Panel->BevelWidth(), Panel->BevelWidth(), -Panel->BevelWidth(), -Panel->BevelWidth());
        if (Panel->BevelInner() == TBevel_Cut::Raised || Panel->BevelInner() == TBevel_Cut::Lowered)
            Frame(Panel->BevelInner() == TBevel_Cut::Raised, Panel->BevelWidth());
        if (Panel->Caption().empty()) return;
        int Flags = Qt::AlignVCenter | Qt::TextShowMnemonic;
        switch (Panel->Alignment()) {
        case TAlignment::Left_Justify: Flags |= Qt::AlignLeft; break;
        case TAlignment::Right_Justify: Flags |= Qt::AlignRight; break;
        default: Flags |= Qt::AlignHCenter; break;
        }
        P.setFont(font());
        P.setPen(ui::To_QColor(Panel->Font().Color()));
        P.drawText(R, Flags, ui::Caption_Text(Panel->Caption(), Panel->Text_Charset()));
    }
};

}  // namespace

TPanel::TPanel(TComponent* Owner, TControl* Parent) : TControl(Owner, new Panel_Widget)
{
    static_cast<Panel_Widget*>(FWidget)->Panel = this;
    FWidget->resize(185, 41);
    if (Parent) this->Parent(Parent);
}

void TPanel::Caption(const std::string& Value)
{
    if (Value == FCaption) return;
    FCaption = Value;
    Invalidate();
    Tell_Children();
}

void TPanel::Alignment(TAlignment Value)
{
    FAlignment = Value;
    Invalidate();
}

void TPanel::BevelOuter(TBevel_Cut Value)
{
    FBevel_Outer = Value;
    Invalidate();
    Tell_Children();
}

void TPanel::BevelInner(TBevel_Cut Value)
{
    FBevel_Inner = Value;
    Invalidate();
    Tell_Children();
}

void TPanel::BevelWidth(int Value)
{
    FBevel_Width = std::max(1, Value);
    Invalidate();
    Tell_Children();
}

void TPanel::Border_Single(bool Value)
{
    FBorder_Single = Value;
    Invalidate();
    Tell_Children();
}

void TPanel::Refresh_Texts() { Invalidate(); }

void TPanel::Tell_Children()
{
    for (TControl* Child : FControls) Child->Backdrop_Changed();
}

void TPanel::Apply_Color()
{
    Show_Colour();
    // A panel without children (a status lamp that changes colour twice per poll) only
    // paints itself again: setting the palette would propagate it through the widget tree.
    // The palette follows once a child comes.
    if (FControls.empty()) {
        FPalette_Deferred = true;
        return;
    }
    FPalette_Deferred = false;
    TControl::Apply_Color();
}

void TPanel::Colour_Settle_Ms(int Ms)
{
    FColour_Settle_Ms = std::max(0, Ms);
    Show_Colour();
}

// The colour set reaches the screen now, or once it has stood for the settle time.
void TPanel::Show_Colour()
{
    auto* W = static_cast<Panel_Widget*>(FWidget);
    if (FColor == FShown_Colour) {
        if (W && W->Settle) W->Settle->stop();
        return;
    }
    if (!W || FColour_Settle_Ms == 0 || !W->isVisible()) {
        if (W && W->Settle) W->Settle->stop();
        FShown_Colour = FColor;
        Invalidate();
        Tell_Children();
        return;
    }
    if (!W->Settle) {
        W->Settle = new QTimer(W);
        W->Settle->setSingleShot(true);
        QObject::connect(W->Settle, &QTimer::timeout, W, [W] {
            TPanel* Panel = W->Panel;
            if (!Panel || !TControl::From_Widget(W)) return;   // its control is gone
            Panel->FShown_Colour = Panel->FColor;
            W->update();
            Panel->Tell_Children();
        });
    }
    if (W->Settle->interval() != FColour_Settle_Ms) W->Settle->setInterval(FColour_Settle_Ms);
    if (!W->Settle->isActive()) W->Settle->start();
}

// ---------------------------------------------------------------- TGroupBox

TGroupBox::TGroupBox(TComponent* Owner, TControl* Parent) : TControl(Owner, new QGroupBox)
{
    FWidget->resize(185, 105);
    if (Parent) this->Parent(Parent);
}

void TGroupBox::Caption(const std::string& Value)
{
    FCaption = Value;
    Refresh_Texts();
}

void TGroupBox::Refresh_Texts()
{
    if (auto* Box = qobject_cast<QGroupBox*>(FWidget))
        Box->setTitle(ui::Caption_Text(FCaption, Text_Charset()));
}
