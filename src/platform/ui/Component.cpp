#include "platform/ui/Component.h"
#include "platform/ui/Form.h"
#include "platform/ui/Internal.h"
#include "platform/ui/Runtime.h"
#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

int Mul_Div(int Value, int Multiplier, int Divisor)
{
    if (Divisor == 0) return -1;
    const long long Product = static_cast<long long>(Value) * Multiplier;
    const long long Half = std::llabs(static_cast<long long>(Divisor)) / 2;
    long long Result;
    if ((Product < 0) != (Divisor < 0)) Result = (Product - (Divisor < 0 ? -Half : Half)) / Divisor;
    else Result = (Product + (Divisor < 0 ? -Half : Half)) / Divisor;
    return static_cast<int>(Result);
}

// ---------------------------------------------------------------- TComponent

TComponent::TComponent(TComponent* Owner) : FOwner(Owner)
{
    if (FOwner) FOwner->FComponents.push_back(this);
}

TComponent::~TComponent()
{
    Expire();
    FDestroying = true;
    Destroy_Owned(this);
    if (FOwner) FOwner->Remove_Owned(this);
}

void Destroy_Owned(TComponent* Owner)
{
    while (!Owner->FComponents.empty()) {
        TComponent* Child = Owner->FComponents.back();
        Child->Expire();
        Child->Before_Destruction();
        // The handler may have freed components; take the child only if still owned.
        auto Found = std::find(Owner->FComponents.begin(), Owner->FComponents.end(), Child);
        if (Found == Owner->FComponents.end()) continue;
        Owner->FComponents.erase(Found);
        Child->FOwner = nullptr;
        delete Child;
    }
}

void TComponent::Free()
{
    if (!FAlive) return;   // already being freed (a handler run by its destruction)
    Expire();
    Before_Destruction();
    delete this;
}

void TComponent::Remove_Owned(TComponent* Component)
{
    auto Found = std::find(FComponents.begin(), FComponents.end(), Component);
    if (Found != FComponents.end()) FComponents.erase(Found);
}

void TComponent::Name(const std::string& Value) { FName = Value; }

TComponent* TComponent::FindComponent(const std::string& Name) const
{
    for (TComponent* C : FComponents)
        if (C->FName == Name) return C;
    return nullptr;
}

TComponent* TComponent::Find_Component_Deep(const std::string& Name) const
{
    for (TComponent* C : FComponents) {
        if (C->FName == Name) return C;
        if (TComponent* Found = C->Find_Component_Deep(Name)) return Found;
    }
    return nullptr;
}

// ---------------------------------------------------------------- event filter

namespace {

const char* const Control_Property = "kardun_ui_control";
const char* const Gone_Property = "kardun_ui_gone";   // the widget's control was freed

TControl* Control_Of(const QObject* Object)
{
    if (!Object || !Object->isWidgetType()) return nullptr;
    const QVariant V = Object->property(Control_Property);
    return V.isValid() ? reinterpret_cast<TControl*>(V.value<quintptr>()) : nullptr;
}

// The control a widget belongs to: itself or its nearest ancestor with a control.
TControl* Owning_Control(const QWidget* Widget)
{
    for (const QWidget* W = Widget; W; W = W->parentWidget())
        if (TControl* C = Control_Of(W)) return C;
    return nullptr;
}

TMouseButton Button_Of(Qt::MouseButton B)
{
    if (B == Qt::RightButton) return TMouseButton::Right;
    if (B == Qt::MiddleButton) return TMouseButton::Middle;
    return TMouseButton::Left;
}

// Mouse and focus events of every control widget (and the inner widgets of composite
// controls). A mouse event fires the control's handlers only on the deepest widget under
// the pointer, so an event a child ignores does not reach its parent's handlers again.
class Control_Filter : public QObject {
public:
    bool eventFilter(QObject* Object, QEvent* Event) override
    {
        switch (Event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            return Mouse(static_cast<QWidget*>(Object), static_cast<QMouseEvent*>(Event));
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            Focus(static_cast<QWidget*>(Object), Event->type() == QEvent::FocusIn);
            return false;
        default:
            return false;
        }
    }

private:
    bool Mouse(QWidget* W, QMouseEvent* E)
    {
        TControl* C = Owning_Control(W);
        if (!C || !C->Widget()) return false;
        const QPoint Local = E->position().toPoint();
        QWidget* Deepest = W->childAt(Local);
        if (Deepest && Deepest != W) {
            // A visible child under the pointer got (or will get) this event first.
            return false;
        }
        const QPoint P = W == C->Widget() ? Local : W->mapTo(C->Widget(), Local);
        const TShiftState Shift = ui::Shift_State(E->modifiers(), E->buttons());
        const TAlive Alive(C);   // a handler may free the control (its widget goes later)
        // The window the press went to, for the activation it may bring (see Form.cpp).
        const bool Press = E->type() == QEvent::MouseButtonPress || E->type() == QEvent::MouseButtonDblClick;
        if (Press) ui::Press_Begins(W->window());
        struct Press_End {
            bool On;
            ~Press_End()
            {
                if (On) ui::Press_Ends();
            }
        } End{Press};
        switch (E->type()) {
        case QEvent::MouseButtonPress:
            if (E->button() == Qt::LeftButton) C->Mouse_Pressed_Left = true;
            ui::Dispatch([&] { C->Before_Mouse_Down(Button_Of(E->button()), P.x(), P.y()); });
            if (Alive && C->OnMouseDown)
                ui::Dispatch([&] { C->OnMouseDown(C, Button_Of(E->button()), Shift, P.x(), P.y()); });
            break;
        case QEvent::MouseButtonDblClick:
            if (C->OnMouseDown)
                ui::Dispatch([&] {
                    C->OnMouseDown(C, Button_Of(E->button()), Shift | ssDouble, P.x(), P.y());
                });
            if (Alive && E->button() == Qt::LeftButton && C->OnDblClick)
                ui::Dispatch([&] { C->OnDblClick(C); });
            break;
        case QEvent::MouseButtonRelease: {
            const bool Was_Pressed = C->Mouse_Pressed_Left && E->button() == Qt::LeftButton;
            if (E->button() == Qt::LeftButton) C->Mouse_Pressed_Left = false;
            if (C->OnMouseUp)
                ui::Dispatch([&] { C->OnMouseUp(C, Button_Of(E->button()), Shift, P.x(), P.y()); });
            if (Alive && Was_Pressed && C->Clicks_From_Mouse() && C->Widget()->rect().contains(P))
                ui::Dispatch([&] { C->Click(); });
            break;
        }
        default:
            if (C->OnMouseMove) ui::Dispatch([&] { C->OnMouseMove(C, Shift, P.x(), P.y()); });
            break;
        }
        return false;
    }

    void Focus(QWidget* W, bool In)
    {
        TControl* C = Owning_Control(W);
        if (!C || !C->Widget()) return;
        if (In) {
            if (Has_Focus(C)) return;
            Focused_Controls.push_back(C);
            if (C->OnEnter) ui::Dispatch([&] { C->OnEnter(C); });
        } else {
            QWidget* Now = QApplication::focusWidget();
            if (Now && (Now == C->Widget() || C->Widget()->isAncestorOf(Now))) return;
            if (!Has_Focus(C)) return;
            Focused_Controls.erase(std::find(Focused_Controls.begin(), Focused_Controls.end(), C));
            if (C->OnExit) ui::Dispatch([&] { C->OnExit(C); });
        }
    }

    bool Has_Focus(TControl* C) const
    {
        return std::find(Focused_Controls.begin(), Focused_Controls.end(), C) != Focused_Controls.end();
    }

public:
    std::vector<TControl*> Focused_Controls;
};

Control_Filter& Filter()
{
    static Control_Filter* Instance = new Control_Filter;
    return *Instance;
}

}  // namespace

namespace ui {

// A control going away runs no handler: the focus leaves its widgets without moving on to
// another control, and its widgets (inner ones included) emit no signal and pass no mouse,
// focus or key event to a handler from now on, also while they wait for deletion.
void Silence_Widgets(QWidget* Widget)
{
    QWidget* Focus = QApplication::focusWidget();
    if (Focus && (Focus == Widget || Widget->isAncestorOf(Focus))) {
        Focus->removeEventFilter(&Filter());
        Focus->clearFocus();
    }
    QList<QObject*> Objects = Widget->findChildren<QObject*>();
    Objects.prepend(Widget);
    for (QObject* Object : Objects) {
        Object->blockSignals(true);
        Object->removeEventFilter(&Filter());
        if (!Object->isWidgetType()) continue;
        Object->setProperty(Control_Property, QVariant());
        Object->setProperty(Gone_Property, true);
    }
}

bool Widget_Gone(const QWidget* Widget) { return Widget && Widget->property(Gone_Property).toBool(); }

}  // namespace ui

// ---------------------------------------------------------------- palette

namespace {

// The colours a control is given are those of an enabled control, in an active and in an
// inactive window. A control whose own Enabled flag is off shows the toolkit's disabled
// text and field colours instead, so it looks disabled; its background keeps the colour it
// was given. A control whose own flag is on keeps its colours under a disabled parent as
// well: it looks as an enabled one does.
void Set_Disabled_Colour(QPalette& P, QPalette::ColorRole Role, const QColor& Colour, bool Enabled,
                         const QWidget* Widget)
{
    const bool Background = Role == QPalette::Window || Role == QPalette::Button;
    if (Enabled || Background) P.setColor(QPalette::Disabled, Role, Colour);
    else P.setColor(QPalette::Disabled, Role, QApplication::palette(Widget).color(QPalette::Disabled, Role));
}

void Set_Colour(QPalette& P, QPalette::ColorRole Role, const QColor& Colour, bool Enabled, const QWidget* Widget,
                unsigned& Roles)
{
    P.setColor(QPalette::Active, Role, Colour);
    P.setColor(QPalette::Inactive, Role, Colour);
    Set_Disabled_Colour(P, Role, Colour, Enabled, Widget);
    Roles |= 1u << Role;
}

}  // namespace

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* Owner, QWidget* Widget) : TComponent(Owner), FWidget(Widget)
{
    ui::Ensure_Global_Filter();
    FWidget->setProperty(Control_Property, QVariant::fromValue(reinterpret_cast<quintptr>(this)));
    FWidget->installEventFilter(&Filter());
    FWidget->setMouseTracking(true);
    QObject::connect(FWidget, &QObject::destroyed, [this] { FWidget = nullptr; });
    FFont.On_Change = [this] { Font_Changed(); };
    TControl::Apply_Font();
}

TControl::~TControl()
{
    Expire();
    if (FWidget) ui::Silence_Widgets(FWidget);
    auto& Focused = Filter().Focused_Controls;
    Focused.erase(std::remove(Focused.begin(), Focused.end(), this), Focused.end());
    while (!FControls.empty()) {
        TControl* Child = FControls.back();
        delete Child;   // removes itself from FControls
    }
    if (FParent) FParent->Remove_Child(this);
    FParent = nullptr;
    if (FWidget) {
        QWidget* W = FWidget;
        W->setProperty(Control_Property, QVariant());
        W->removeEventFilter(&Filter());
        QObject::disconnect(W, nullptr, nullptr, nullptr);
        FWidget = nullptr;
        // A handler may free its own control while Qt still delivers the event that ran it:
        // the widget goes at once from the screen and is deleted when the loop comes back.
        W->hide();
        W->deleteLater();
    }
}

void TControl::Watch_Inner_Widget(QWidget* Inner)
{
    Inner->installEventFilter(&Filter());
    Inner->setMouseTracking(true);
}

TControl* TControl::From_Widget(const QWidget* Widget) { return Control_Of(Widget); }

void TControl::Name(const std::string& Value)
{
    TComponent::Name(Value);
    if (FWidget) FWidget->setObjectName(QString::fromStdString(Value));
}

int TControl::Left() const { return FWidget ? FWidget->x() : 0; }
int TControl::Top() const { return FWidget ? FWidget->y() : 0; }
int TControl::Width() const
{
    if (!FWidget) return 0;
    return FWidget->isWindow() ? FWidget->frameGeometry().width() : FWidget->width();
}
int TControl::Height() const
{
    if (!FWidget) return 0;
    return FWidget->isWindow() ? FWidget->frameGeometry().height() : FWidget->height();
}
void TControl::Left(int Value) { SetBounds(Value, Top(), Width(), Height()); }
void TControl::Top(int Value) { SetBounds(Left(), Value, Width(), Height()); }
void TControl::Width(int Value) { SetBounds(Left(), Top(), Value, Height()); }
void TControl::Height(int Value) { SetBounds(Left(), Top(), Width(), Value); }

void TControl::SetBounds(int Left, int Top, int Width, int Height)
{
    if (!FWidget) return;
    const QRect Was = FWidget->geometry();
    FWidget->setGeometry(Left, Top, std::max(0, Width), std::max(0, Height));
    if (FWidget->geometry() == Was) return;
    Tell_Siblings();
    Backdrop_Changed();
}

void TControl::Tell_Siblings()
{
    if (!FParent) return;
    for (TControl* Sibling : FParent->FControls)
        if (Sibling != this) Sibling->Backdrop_Changed();
}

int TControl::ClientWidth() const { return Client_Widget() ? Client_Widget()->width() : 0; }
int TControl::ClientHeight() const { return Client_Widget() ? Client_Widget()->height() : 0; }
void TControl::ClientWidth(int Value) { Width(Value + Width() - ClientWidth()); }
void TControl::ClientHeight(int Value) { Height(Value + Height() - ClientHeight()); }

void TControl::Add_Child(TControl* Child)
{
    FControls.push_back(Child);
    // A colour painted without the palette reaches the first child through it.
    if (FPalette_Deferred) Apply_Color();
}

void TControl::Remove_Child(TControl* Child)
{
    auto Found = std::find(FControls.begin(), FControls.end(), Child);
    if (Found != FControls.end()) FControls.erase(Found);
}

void TControl::Parent(TControl* Value)
{
    if (Value == FParent || Value == this) return;
    if (FParent) {
        FParent->Remove_Child(this);
        for (TControl* Sibling : FParent->FControls) Sibling->Backdrop_Changed();
    }
    FParent = Value;
    if (!FWidget) return;
    const QRect Geometry = FWidget->geometry();
    if (FParent) {
        FParent->Add_Child(this);
        FWidget->setParent(FParent->Client_Widget());
        FWidget->setGeometry(Geometry);
        if (FParentFont) {
            FFont_Updating = true;
            FFont = FParent->FFont;
            FFont_Updating = false;
        }
        FWidget->setVisible(FVisible);
        Tell_Siblings();
        Backdrop_Changed();
    } else {
        FWidget->hide();
        FWidget->setParent(nullptr);
        FWidget->setGeometry(Geometry);
    }
}

TForm* TControl::Parent_Form() const
{
    const TControl* C = this;
    while (C->FParent) C = C->FParent;
    return dynamic_cast<TForm*>(const_cast<TControl*>(C));
}

void TControl::Visible(bool Value)
{
    const bool Changed = Value != FVisible;
    FVisible = Value;
    if (FWidget && FParent) FWidget->setVisible(Value);
    if (Changed) Tell_Siblings();
}

void TControl::Enabled(bool Value)
{
    const bool Changed = Value != FEnabled;
    FEnabled = Value;
    if (!FWidget) return;
    FWidget->setEnabled(Value);
    if (!Changed || FPalette_Roles == 0) return;
    QPalette P = FWidget->palette();
    for (int R = 0; R < QPalette::NColorRoles; ++R) {
        const auto Role = static_cast<QPalette::ColorRole>(R);
        if (FPalette_Roles & (1u << R))
            Set_Disabled_Colour(P, Role, P.color(QPalette::Active, Role), FEnabled, FWidget);
    }
    FWidget->setPalette(P);
}

bool TControl::Showing() const { return FWidget && FWidget->isVisible() && FWidget->isEnabled(); }

void TControl::Color(TColor Value)
{
    if (FColor_Set && Value == FColor) return;     // nothing to paint again
    FColor = Value;
    FColor_Set = true;
    Apply_Color();
}

void TControl::Apply_Color()
{
    if (!FWidget) return;
    QPalette P = FWidget->palette();
    const QColor C = ui::To_QColor(FColor);
    Set_Colour(P, QPalette::Window, C, FEnabled, FWidget, FPalette_Roles);
    Set_Colour(P, QPalette::Button, C, FEnabled, FWidget, FPalette_Roles);
    // Input fields paint their inside with it.
    Set_Colour(P, QPalette::Base, C, FEnabled, FWidget, FPalette_Roles);
    FWidget->setPalette(P);
    FWidget->setAutoFillBackground(true);
}

void TControl::ParentFont(bool Value)
{
    FParentFont = Value;
    if (Value && FParent) {
        FFont_Updating = true;
        FFont = FParent->FFont;
        FFont_Updating = false;
    }
}

void TControl::Font_Changed()
{
    if (!FFont_Updating) FParentFont = false;
    Apply_Font();
    for (TControl* Child : FControls) {
        if (!Child->FParentFont) continue;
        Child->FFont_Updating = true;
        Child->FFont = FFont;
        Child->FFont_Updating = false;
    }
}

void TControl::Apply_Font()
{
    if (!FWidget) return;
    FWidget->setFont(ui::To_QFont(FFont));
    QPalette P = FWidget->palette();
    const QColor C = ui::To_QColor(FFont.Color());
    Set_Colour(P, QPalette::WindowText, C, FEnabled, FWidget, FPalette_Roles);
    Set_Colour(P, QPalette::Text, C, FEnabled, FWidget, FPalette_Roles);
    Set_Colour(P, QPalette::ButtonText, C, FEnabled, FWidget, FPalette_Roles);
    FWidget->setPalette(P);
    Refresh_Texts();
}

int TControl::Text_Charset() const { return FFont.Charset(); }

void TControl::Hint(const std::string& Value)
{
    FHint = Value;
    if (FWidget) FWidget->setToolTip(FShowHint ? ui::Caption_Text(FHint, Text_Charset()) : QString());
}

void TControl::ShowHint(bool Value)
{
    FShowHint = Value;
    Hint(FHint);
}

void TControl::Cursor(TCursor Value)
{
    FCursor = Value;
    if (!FWidget) return;
    if (Value == TCursor::Default) FWidget->unsetCursor();
    else FWidget->setCursor(ui::To_Cursor(Value));
}

void TControl::SetFocus()
{
    if (!FWidget) return;
    if (QWidget* Window = FWidget->window(); Window && Window->isVisible()) Window->activateWindow();
    FWidget->setFocus(Qt::OtherFocusReason);
}

bool TControl::Focused() const
{
    if (!FWidget) return false;
    QWidget* F = FWidget->window()->focusWidget();
    return F && (F == FWidget || FWidget->isAncestorOf(F));
}

bool TControl::CanFocus() const { return FWidget && FWidget->isVisible() && FWidget->isEnabled(); }

void TControl::BringToFront()
{
    if (FWidget) FWidget->raise();
}

void TControl::SendToBack()
{
    if (FWidget) FWidget->lower();
}

void TControl::Invalidate()
{
    if (FWidget) FWidget->update();
}

void TControl::Repaint()
{
    if (FWidget) FWidget->repaint();
}

void TControl::Click()
{
    if (OnClick) OnClick(this);
}

void TControl::Scale_Own(int M, int D, bool Move)
{
    const int L = Move ? Mul_Div(Left(), M, D) : Left();
    const int T = Move ? Mul_Div(Top(), M, D) : Top();
    SetBounds(L, T, Mul_Div(Width(), M, D), Mul_Div(Height(), M, D));
}

void TControl::ScaleBy(int Multiplier, int Divisor)
{
    if (Multiplier == Divisor || Divisor == 0) return;
    struct Walk {
        static void Children(TControl* C, int M, int D)
        {
            for (TControl* Child : C->FControls) {
                Children(Child, M, D);
                if (!Child->FParentFont) {
                    Child->FFont_Updating = true;
                    Child->FFont.Pixels(Mul_Div(Child->FFont.Pixels(), M, D));
                    Child->FFont_Updating = false;
                }
                Child->Scale_Own(M, D, true);
            }
        }
    };
    Walk::Children(this, Multiplier, Divisor);
    FFont.Pixels(Mul_Div(FFont.Pixels(), Multiplier, Divisor));   // own font from now on
    Scale_Own(Multiplier, Divisor, false);
}
