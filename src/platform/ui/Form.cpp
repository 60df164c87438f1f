#include "platform/ui/Form.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Internal.h"
#include "platform/ui/Runtime.h"
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QMoveEvent>
#include <QLineEdit>
#include <QPointer>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <optional>
#include <utility>

namespace {

// The control that receives the key being dispatched (see ui::Key_Control).
TControl* Key_Receiver = nullptr;

std::vector<TForm*>& Forms()
{
    static std::vector<TForm*> List;
    return List;
}
TForm* Active_Window = nullptr;

// A press on a window that is not the active one makes the window system activate that
// window: before the press reaches the program, after it, or after the release, as the
// window manager does it (on a bare X server the toolkit asks for it at the press). When
// that activation arrives after the press showed another window, it is the click's own,
// not the user going back to the pressed window: the window shown keeps the activation and
// the pressed window's activation handler does not run. The next press or key ends this.
struct Click_State {
    int Presses = 0;                 // presses being dispatched (a handler may run a loop)
    QPointer<QWidget> Pressed;       // the window of the press being dispatched
    bool Pressed_Was_Active = true;
    QPointer<QWidget> Shown;         // the window that press showed
    QPointer<QWidget> Expected;      // the pressed window: its coming activation is the click's
};
Click_State Press_Click;

// The click's own activation of Window: the shown window takes the activation back.
bool Click_Activation(QWidget* Window)
{
    if (!Press_Click.Expected || Window != Press_Click.Expected || !Press_Click.Shown ||
        !Press_Click.Shown->isVisible())
        return false;
    QPointer<QWidget> Shown = Press_Click.Shown;
    QTimer::singleShot(0, Shown, [Shown] {
        if (Shown && Shown->isVisible()) Shown->activateWindow();
    });
    return true;
}

// A window shown while the main form was not yet on the screen (the port search at start):
// when the main form appears, and when the window system activates it then, the activation
// goes back to that window, for a while after the main form appeared and until the
// technician presses a key or a mouse button.
QPointer<QWidget> Shown_Before_Main;
constexpr int Main_Appearing_Ms = 3000;

bool Main_Form_Widget(const QWidget* Window)
{
    return Application && Application->MainForm() && Window == Application->MainForm()->Widget();
}

// The window system's activation of the main form while a window shown before it is up:
// that window takes the activation back.
bool Before_Main_Activation(QWidget* Window)
{
    if (!Shown_Before_Main || !Shown_Before_Main->isVisible() || !Main_Form_Widget(Window)) return false;
    QPointer<QWidget> Back = Shown_Before_Main;
    QTimer::singleShot(0, Back, [Back] {
        if (Back && Back->isVisible()) {
            Back->raise();
            Back->activateWindow();
        }
    });
    return true;
}

class Form_Widget : public QWidget {
public:
    TForm* Form = nullptr;

protected:
    void closeEvent(QCloseEvent* Event) override
    {
        Event->ignore();
        if (Form && TControl::From_Widget(this)) ui::Dispatch([&] { Form->Close_Requested(); });
    }
    void resizeEvent(QResizeEvent* Event) override
    {
        QWidget::resizeEvent(Event);
        if (!Form || !TControl::From_Widget(this)) return;
        // A frame that arrived corrects the size first; the resize it makes comes back here.
        if (Form->Frame_Check()) return;
        if (Event->oldSize().isValid())
            Form->Resized_By_System(Event->oldSize().width(), Event->oldSize().height());
    }
    void moveEvent(QMoveEvent* Event) override
    {
        QWidget::moveEvent(Event);
        if (Form && TControl::From_Widget(this)) Form->Frame_Check();
    }
    void changeEvent(QEvent* Event) override
    {
        QWidget::changeEvent(Event);
        if (Event->type() == QEvent::WindowStateChange && Form && TControl::From_Widget(this)) {
            Form->State_Changed_By_System();
            // A window manager may take a window from full screen to maximised through a
            // normal state of the same size: the change of state alone is reported as a
            // resize too, so that what is laid out by the state follows it.
            if (isVisible()) Form->Resized_By_System(width(), height());
        }
    }
};

// A frame that is not dragged to another size but is still maximised: the window manager
// is told that the window grows only in steps larger than any screen from the size the
// program gives it (size increments from a base size). Maximised and full-screen windows
// are sized without the steps; a frame of fixed size (minimum = maximum) would lose its
// maximise box and function.
constexpr int No_Drag_Step = 1 << 14;

// How often and how long a shown window is looked at for the frame the window manager
// puts around it (on an X server without one it never comes).
constexpr int Frame_Watch_Ms = 20;
constexpr int Frame_Watch_Tries = 150;   // the toolkit keeps it in 16 bits

// Keys (key preview, virtual-key codes, default and cancel buttons) and window activation.
class Global_Filter : public QObject {
public:
    bool eventFilter(QObject* Object, QEvent* Event) override
    {
        const QEvent::Type Type = Event->type();
        if (Type == QEvent::WindowActivate && Object->isWidgetType()) {
            auto* Window = static_cast<QWidget*>(Object);
            if (auto* Form = dynamic_cast<TForm*>(TControl::From_Widget(Window)))
                if (!Click_Activation(Window) && !Before_Main_Activation(Window)) Form->Activated_By_System();
            return false;
        }
        if ((Type == QEvent::KeyPress || Type == QEvent::KeyRelease) && Object->isWidgetType())
            return Key(static_cast<QWidget*>(Object), static_cast<QKeyEvent*>(Event));
        return false;
    }

private:
    bool Key(QWidget* Receiver, QKeyEvent* Event)
    {
        // A key to an open drop-down list (or a menu) is the list's alone: Return picks and
        // closes it, Escape closes it, and neither goes further (no default or cancel
        // button of the dialog, no key handler of the window or the control).
        if (QWidget* Window = Receiver->window(); Window && Window->windowType() == Qt::Popup) return false;
        if (Event->type() == QEvent::KeyPress) {
            Press_Click.Expected = nullptr;
            Shown_Before_Main = nullptr;
        }
        // The same event travelling up to a parent was handled at its first receiver. A new
        // event may be built where the last one was (a key sent from the stack), so the
        // address alone does not tell: its key, type and time must match too.
        const Key_Identity Identity{Event, Event->type(), Event->key(), Event->modifiers(), Event->timestamp()};
        if (Identity == Last_Key && Last_Receiver && Receiver != Last_Receiver && Receiver->isAncestorOf(Last_Receiver))
            return false;
        Last_Key = Identity;
        Last_Receiver = Receiver;

        TControl* Control = nullptr;
        for (QWidget* W = Receiver; W && !Control; W = W->parentWidget()) {
            if (ui::Widget_Gone(W)) return true;   // a freed control's key: nobody sees it
            Control = TControl::From_Widget(W);
        }
        if (!Control) return false;
        TForm* Form = Control->Parent_Form();
        const bool Down = Event->type() == QEvent::KeyPress;
        std::uint16_t Key = ui::Virtual_Key(Event->key(), Event->modifiers());
        const TShiftState Shift = ui::Shift_State(Event->modifiers(), Qt::NoButton);
        bool Consumed = false;
        // Receiver and control may be freed by a handler (the widget only later).
        struct Still_There {
            QPointer<QWidget> Widget;
            TAlive Control_Alive;
            explicit operator bool() const { return Widget && Control_Alive; }
        } Guard{Receiver, TAlive(Control)};

        if (Key != 0) {
            if (Form && Form->KeyPreview()) {
                const TKey_Event& Handler = Down ? Form->OnKeyDown : Form->OnKeyUp;
                // The form's handler may ask which control the key is going to; a nested
                // key dispatch (a modal loop) restores the outer one's answer.
                TControl* const Outer = Key_Receiver;
                Key_Receiver = Control;
                if (Handler) ui::Dispatch([&] { Handler(Form, Key, Shift); });
                Key_Receiver = Outer;
                if (Key == 0) return true;
            }
            if (!Guard) return true;
            if (Control != Form || !Form->KeyPreview()) {
                const TKey_Event& Handler = Down ? Control->OnKeyDown : Control->OnKeyUp;
                if (Handler) ui::Dispatch([&] { Handler(Control, Key, Shift); });
                if (Key == 0) return true;
            }
            if (!Guard) return true;
            if (Down) {
                bool Handled = false;
                ui::Dispatch([&] { Handled = Control->Default_Key_Down(Key, Shift); });
                if (Handled || !Guard) return true;
                if (Form && (Key == VK_RETURN || Key == VK_ESCAPE) && Default_Button(Form, Control, Key))
                    return true;
            }
        }
        if (!Guard) return true;
        if (Down && !Event->text().isEmpty()) {
            const std::string Bytes = ui::From_Q(Event->text().left(1), Control->Text_Charset());
            if (Bytes.size() == 1) {
                char Char = Bytes[0];
                const char Original = Char;
                if (Form && Form->KeyPreview() && Form != Control && Form->OnKeyPress)
                    ui::Dispatch([&] { Form->OnKeyPress(Form, Char); });
                if (Char != 0 && Guard && Control->OnKeyPress)
                    ui::Dispatch([&] { Control->OnKeyPress(Control, Char); });
                if (Char == 0) return true;
                if (Char != Original && Guard) {
                    if (auto* Line = qobject_cast<QLineEdit*>(Receiver)) {
                        if (!Line->isReadOnly()) Line->insert(ui::To_Q(std::string(1, Char), Control->Text_Charset()));
                        Consumed = true;
                    }
                }
            }
        }
        return Consumed;
    }

    // Enter presses the form's default button, Escape its cancel button.
    static bool Default_Button(TForm* Form, TControl* Focused, std::uint16_t Key)
    {
        if (dynamic_cast<TButton*>(Focused) && Key == VK_RETURN) return false;
        std::vector<TControl*> Stack{Form};
        while (!Stack.empty()) {
            TControl* C = Stack.back();
            Stack.pop_back();
            if (auto* B = dynamic_cast<TButton*>(C)) {
                if (((Key == VK_RETURN && B->Default()) || (Key == VK_ESCAPE && B->Cancel())) &&
                    B->Showing()) {
                    ui::Dispatch([&] { B->Click(); });
                    return true;
                }
            }
            for (int I = 0; I < C->ControlCount(); ++I) Stack.push_back(C->Controls(I));
        }
        return false;
    }

    struct Key_Identity {
        const QEvent* Event = nullptr;
        QEvent::Type Type = QEvent::None;
        int Key = 0;
        Qt::KeyboardModifiers Modifiers;
        quint64 Time = 0;
        bool operator==(const Key_Identity&) const = default;
    };
    Key_Identity Last_Key;
    QPointer<QWidget> Last_Receiver;
};

}  // namespace

namespace ui {

void Press_Begins(QWidget* Window)
{
    ++Press_Click.Presses;
    Press_Click.Pressed = Window;
    Press_Click.Pressed_Was_Active = Window && Window->isActiveWindow();
    Press_Click.Shown = nullptr;
    Press_Click.Expected = nullptr;
    Shown_Before_Main = nullptr;
}

void Press_Ends()
{
    if (Press_Click.Presses > 0) --Press_Click.Presses;
}

void Ensure_Global_Filter()
{
    static Global_Filter* Filter = nullptr;
    if (Filter || !QApplication::instance()) return;
    Filter = new Global_Filter;
    QApplication::instance()->installEventFilter(Filter);
    Watch_Net_Wm_State([](unsigned long long Window) {
        for (TForm* Form : Forms())
            if (Form->Native_Window() == Window) Form->Net_State_Changed_By_System();
    });
}

TForm* Active_Form() { return Active_Window; }

bool Stays_On_Top(const QWidget* Window)
{
    const QWindow* Native = Window ? Window->windowHandle() : nullptr;
    return Native && (Native->flags() & Qt::WindowStaysOnTopHint);
}

TForm* Asking_Form()
{
    auto On_Screen = [](TForm* Form) { return Form && Form->Widget() && Form->Widget()->isVisible(); };
    if (On_Screen(Active_Window)) return Active_Window;
    TForm* Main = Application ? Application->MainForm() : nullptr;
    return On_Screen(Main) ? Main : nullptr;
}

TControl* Key_Control() { return Key_Receiver; }

std::vector<TForm*> All_Forms() { return Forms(); }

TComponent* Find_Control(const std::string& Name)
{
    for (TForm* Form : Forms()) {
        if (Form->Name() == Name) return Form;
        if (TComponent* Found = Form->Find_Component_Deep(Name)) return Found;
    }
    return nullptr;
}

}  // namespace ui

// ---------------------------------------------------------------- TForm

TForm::TForm(TComponent* Owner) : TControl(Owner, new Form_Widget)
{
    static_cast<Form_Widget*>(FWidget)->Form = this;
    FVisible = false;
    FWidget->setAttribute(Qt::WA_DeleteOnClose, false);
    FWidget->resize(400, 300);
    Apply_Color();
    Apply_Flags();
    Forms().push_back(this);
}

TForm::~TForm()
{
    Expire();
    Fire_Destroy();
    // Forms this form owns run their OnDestroy while this form and its controls and
    // timers still exist; then the whole form goes without running another handler.
    std::vector<TForm*> Owned_Forms;
    for (int I = 0; I < ComponentCount(); ++I)
        if (auto* Owned = dynamic_cast<TForm*>(Components(I))) Owned_Forms.push_back(Owned);
    for (auto Owned = Owned_Forms.rbegin(); Owned != Owned_Forms.rend(); ++Owned) {
        bool Still_Owned = false;
        for (int I = 0; I < ComponentCount() && !Still_Owned; ++I) Still_Owned = Components(I) == *Owned;
        if (Still_Owned) (*Owned)->Fire_Destroy();
    }
    if (FWidget) ui::Silence_Widgets(FWidget);
    if (FModal_Loop) static_cast<QEventLoop*>(FModal_Loop)->quit();
    if (Active_Window == this) Active_Window = nullptr;
    for (TForm* Form : Forms())
        if (Form->FShown_Above == this) Form->FShown_Above = nullptr;
    Forms().erase(std::remove(Forms().begin(), Forms().end(), this), Forms().end());
}

void TForm::Fire_Create()
{
    if (FCreated) return;
    FCreated = true;
    if (OnCreate) OnCreate(this);
}

void TForm::Fire_Destroy()
{
    if (FDestroyed) return;
    FDestroyed = true;
    if (OnDestroy) ui::Dispatch([&] { OnDestroy(this); });
}

void TForm::Caption(const std::string& Value)
{
    FCaption = Value;
    if (FWidget) FWidget->setWindowTitle(ui::To_Q(Value, Text_Charset()));
}

void TForm::Icon(const TIcon& Value)
{
    FIcon = std::make_unique<TIcon>(Value);
    if (FWidget) FWidget->setWindowIcon(Value.Icon());
}

static bool Fixed_Border(TBorder_Style S)
{
    return S == TBorder_Style::Single || S == TBorder_Style::Dialog || S == TBorder_Style::None ||
           S == TBorder_Style::Tool_Window;
}

// A single frame with a maximise box is maximised and restored but never resized by hand;
// any other single, dialog or borderless frame keeps the size the program gives it.
bool TForm::Maximisable_Single() const
{
    return FBorder_Style == TBorder_Style::Single && (FBorder_Icons & biMaximize);
}

bool TForm::Fixed_Size() const { return Fixed_Border(FBorder_Style) && !Maximisable_Single(); }

// Maximised and full-screen sizes belong to the window manager (a resize by the program
// would also take the window out of its state): a size set then is kept for the restore.
bool TForm::In_Held_State() const
{
    return FWidget && (FHalf_Maximised || (FWidget->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)));
}

// A window manager may pass through the normal state on its way between two others (out
// of full screen into maximised, say): the size stays held until the restore has arrived,
// or a size set meanwhile would reach the window manager as the client's wish to leave its
// state, at the full-screen place. Nor is a size sent while the window manager holds the
// window maximised and the toolkit has not learnt it yet: it would keep it and the
// toolkit would count the size it asked for.
bool TForm::Size_Held_By_State() const
{
    if (In_Held_State() || FRestore_Pending) return true;
    if (!FWidget || !FWidget->isVisible()) return false;
    const ui::Net_Wm_State Net = ui::Read_Net_Wm_State(Native_Window());
    return Net.Full_Screen || Net.Maximised_Vert || Net.Maximised_Horz;
}

// A window maximised in one direction only is neither of the two states the program lays
// itself out for (the toolkit reports it as normal, at a size the program did not give):
// it is taken as a step towards the other state. From the normal state the window manager
// is asked to maximise it in both directions, from the maximised state to restore it, so
// that a middle or right click on the maximise button, or a drag at one edge of a
// maximised window, toggles the window as a left click does. While that answer is on its
// way the window manager's size stands and a size the program sets is kept for the restore.
// Runs before the toolkit handles the change: its resize and state change find the window
// already on its way.
void TForm::Net_State_Changed_By_System()
{
    if (!FWidget) return;
    const ui::Net_Wm_State State = ui::Read_Net_Wm_State(Native_Window());
    if (!State.Read) return;
    if (!State.Full_Screen && State.Maximised_Vert != State.Maximised_Horz) {
        if (!FHalf_Maximised) ui::Ask_Net_Wm_Maximised(Native_Window(), !FWas_Maximised);
        FHalf_Maximised = true;
        return;
    }
    FWas_Maximised = State.Maximised_Vert && State.Maximised_Horz;
    // Back to normal from one direction: the toolkit saw no state change (it took the
    // window for normal all along), so the size held meanwhile is applied here.
    if (std::exchange(FHalf_Maximised, false) && !FWas_Maximised && !State.Full_Screen) State_Changed_By_System();
}

// The size steps of a frame that is not dragged: based on the client size the program set
// (Program_Size; an invalid size keeps the base), never on a size the window manager gave.
void TForm::Hold_Size_Steps(QSize Program_Size)
{
    if (!FWidget) return;
    if (Maximisable_Single()) {
        if (Program_Size.isValid()) FWidget->setBaseSize(Program_Size);
        else if (FWidget->baseSize().isEmpty()) FWidget->setBaseSize(FWidget->size());
        FWidget->setSizeIncrement(No_Drag_Step, No_Drag_Step);
    } else if (FWidget->sizeIncrement() != QSize(0, 0)) {
        FWidget->setSizeIncrement(0, 0);
        FWidget->setBaseSize(0, 0);
    }
    // The native window takes the hints at once (a widget passes them on only when they
    // change, and not to a window made after they were set).
    if (QWindow* Window = FWidget->windowHandle()) {
        Window->setBaseSize(FWidget->baseSize());
        Window->setSizeIncrement(FWidget->sizeIncrement());
    }
}

// The frame is the window manager's: known once it has framed the shown window. Until then
// the layer counts none, and the outer place and sizes the program set are set again when
// the frame arrives.
bool TForm::Framed() const
{
    return FWidget && FWidget->isVisible() && FWidget->frameGeometry() != FWidget->geometry();
}

// The widget takes the native window's frame on the window's next move or resize; a frame
// that arrived without either (the window manager kept the client's place) is passed on
// here, through the move the window would have reported.
void TForm::Take_Native_Frame()
{
    QWindow* Window = FWidget ? FWidget->windowHandle() : nullptr;
    if (!Window || !FWidget->isVisible() || Framed() || Window->frameMargins().isNull()) return;
    QMoveEvent Move(Window->position(), Window->position());
    QCoreApplication::sendEvent(Window, &Move);
}

bool TForm::Frame_Check()
{
    Take_Native_Frame();
    if (!FWidget) return false;
    Note_Normal_Size();
    if (In_Held_State()) {
        // Moved or resized in the held state: that is the geometry a restore leaves, unless
        // the window manager has already taken the window out of the state.
        const ui::Net_Wm_State Net = ui::Read_Net_Wm_State(Native_Window());
        if (!Net.Read || Net.Full_Screen || Net.Maximised_Vert || Net.Maximised_Horz)
            Note_Held_Geometry();
        return false;
    }
    // A restore and a place waiting for the frame (a window started maximised) may arrive
    // in one event.
    const bool Restored = Apply_Held_Restore();
    if (FRestore_Pending || !Framed()) return Restored;
    if (!FOuter_Place && !FOuter_Width && !FOuter_Height) return Restored;
    if (std::exchange(FCentre_On_Frame, false) && FOuter_Place) FOuter_Place = Centred_Place();
    const QSize Extra = FWidget->frameGeometry().size() - FWidget->size();
    const QSize Client(FOuter_Width ? std::max(1, *FOuter_Width - Extra.width()) : FWidget->width(),
                       FOuter_Height ? std::max(1, *FOuter_Height - Extra.height()) : FWidget->height());
    const std::optional<QPoint> Place = std::exchange(FOuter_Place, std::nullopt);
    FOuter_Width.reset();
    FOuter_Height.reset();
    // A place set for the start may lie off the screen (a screen smaller than the last
    // one, a place saved from elsewhere): it is taken onto the work area.
    if (Place) FWidget->move(Within_Work_Area(*Place, Client + Extra));
    if (Client != FWidget->size()) {
        if (Fixed_Size()) FWidget->setFixedSize(Client);
        FWidget->resize(Client);
        Hold_Size_Steps(Client);
    }
    return true;
}

// The client size of the normal state is taken from the X server as it stands: the toolkit's
// own idea of the window lags behind a change of state.
void TForm::Note_Normal_Size()
{
    if (!FWidget || !FWidget->isVisible() || FHalf_Maximised || FRestore_Pending ||
        (FWidget->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)))
        return;
    const ui::Native_Place Native = ui::Read_Native_Place(Native_Window());
    if (!Native.Read) {
        if (!Framed()) return;
        FLast_Normal_Size = FWidget->size();
        return;
    }
    const ui::Net_Wm_State Net = ui::Read_Net_Wm_State(Native_Window());
    if (!Native.Framed || Net.Full_Screen || Net.Maximised_Vert || Net.Maximised_Horz) return;
    FLast_Normal_Size = QSize(Native.Client_Width, Native.Client_Height);
}

void TForm::Normal_Place(int& Left, int& Top) const
{
    if (!FWidget) return;
    const QPoint Place = FOuter_Place ? *FOuter_Place : FWidget->pos();
    const QPoint Within = Within_Work_Area(Place, FWidget->frameGeometry().size());
    Left = Within.x();
    Top = Within.y();
}

// As a window manager keeps a window it places: its outer frame within the work area of
// the screen it is on (or the main screen), the top left corner first where it is larger.
QPoint TForm::Within_Work_Area(QPoint Place, QSize Size) const
{
    QScreen* Screen = QGuiApplication::screenAt(Place + QPoint(Size.width() / 2, Size.height() / 2));
    if (!Screen) Screen = QGuiApplication::primaryScreen();
    if (!Screen) return Place;
    const QRect Free = Screen->availableGeometry();
    return QPoint(std::max(Free.left(), std::min(Place.x(), Free.x() + Free.width() - Size.width())),
                  std::max(Free.top(), std::min(Place.y(), Free.y() + Free.height() - Size.height())));
}

// The window manager frames a window after it is shown, without a move or a resize of the
// client when it keeps the client's place: the frame is looked for a while after showing.
void TForm::Watch_Frame(int Tries)
{
    if (!FWidget || (!FOuter_Place && !FOuter_Width && !FOuter_Height)) return;
    QTimer::singleShot(Frame_Watch_Ms, FWidget, [this, Tries, Alive = TAlive(this)] {
        if (!Alive || Frame_Check() || Tries <= 1 || !FVisible) return;
        Watch_Frame(Tries - 1);
    });
}

void TForm::SetBounds(int Left, int Top, int Width, int Height)
{
    if (!FWidget) return;
    FCentre_On_Frame = false;   // the program's own place stands
    if (!Framed()) {
        // An outer place and a changed outer size, to be set again with the frame.
        FOuter_Place = QPoint(Left, Top);
        if (Width != this->Width()) FOuter_Width = Width;
        if (Height != this->Height()) FOuter_Height = Height;
    } else {
        // Set with the frame known: what was set before it is outdated.
        FOuter_Place.reset();
        FOuter_Width.reset();
        FOuter_Height.reset();
    }
    const QSize Extra = FWidget->frameGeometry().size() - FWidget->size();
    const int W = std::max(1, Width - Extra.width());
    const int H = std::max(1, Height - Extra.height());
    if (Size_Held_By_State()) {
        FRestore_Place = QPoint(Left, Top);
        FRestore_Size = QSize(W, H);
        return;
    }
    if (Fixed_Size()) FWidget->setFixedSize(W, H);
    FWidget->move(Left, Top);
    FWidget->resize(W, H);
    Hold_Size_Steps(QSize(W, H));
}

int TForm::ClientWidth() const { return FWidget ? FWidget->width() : 0; }
int TForm::ClientHeight() const { return FWidget ? FWidget->height() : 0; }

void TForm::ClientWidth(int Value)
{
    if (!FWidget) return;
    FOuter_Width.reset();   // a client size needs no frame
    if (Size_Held_By_State()) {
        Hold_Restore_Size(Value, std::nullopt);
        return;
    }
    if (Fixed_Size()) FWidget->setFixedSize(Value, FWidget->height());
    FWidget->resize(Value, FWidget->height());
    Hold_Size_Steps(FWidget->size());
}

void TForm::ClientHeight(int Value)
{
    if (!FWidget) return;
    FOuter_Height.reset();
    if (Size_Held_By_State()) {
        Hold_Restore_Size(std::nullopt, Value);
        return;
    }
    if (Fixed_Size()) FWidget->setFixedSize(FWidget->width(), Value);
    FWidget->resize(FWidget->width(), Value);
    Hold_Size_Steps(FWidget->size());
}

// Restored: a size or place the program set while the window was maximised applies once
// the toolkit has the place and size the window manager restored (it may learn them after
// the state, or before): a resize before that would send the held place back and move the
// restored window there.
void TForm::State_Changed_By_System()
{
    if (!FWidget) return;
    if (In_Held_State()) {
        Note_Held_Geometry();
        return;
    }
    if (FHeld_Geometries.empty()) return;
    FRestore_Pending = true;
    Apply_Held_Restore();
}

// Only a geometry the window manager gave counts: the place a window shown maximised asked
// for before it was managed is the one it is restored to.
void TForm::Note_Held_Geometry()
{
    const QRect Now = FWidget->geometry();
    const ui::Native_Place Native = ui::Read_Native_Place(Native_Window());
    if (Native.Read && (!Native.Managed || Now != QRect(Native.Client_Left, Native.Client_Top,
                                                        Native.Client_Width, Native.Client_Height)))
        return;
    if (std::find(FHeld_Geometries.begin(), FHeld_Geometries.end(), Now) == FHeld_Geometries.end())
        FHeld_Geometries.push_back(Now);
}

// A client size set while the size is held is kept for the restore, unless it is the size
// the window manager restores the window to anyway (the last normal one): then nothing is
// sent at all.
void TForm::Hold_Restore_Size(std::optional<int> Width, std::optional<int> Height)
{
    const QSize Base = FRestore_Size.isValid() ? FRestore_Size
                       : FLast_Normal_Size.isValid() ? FLast_Normal_Size
                                                     : FWidget->normalGeometry().size();
    const QSize Size(Width.value_or(Base.width()), Height.value_or(Base.height()));
    FRestore_Size = Size == FLast_Normal_Size ? QSize() : Size;
}

// The restore has arrived when the window is normal on the X server and for the toolkit,
// the toolkit's geometry is the X server's, and it is no longer the held one (true when
// applied).
bool TForm::Apply_Held_Restore()
{
    if (!FRestore_Pending || !FWidget || In_Held_State()) return false;
    const QRect Now = FWidget->geometry();
    const ui::Native_Place Native = ui::Read_Native_Place(Native_Window());
    if (Native.Read && Now != QRect(Native.Client_Left, Native.Client_Top, Native.Client_Width, Native.Client_Height))
        return false;   // the toolkit has not had the window manager's last word yet
    const ui::Net_Wm_State Net = ui::Read_Net_Wm_State(Native_Window());
    if (Net.Full_Screen || Net.Maximised_Vert || Net.Maximised_Horz) return false;   // passing through
    // Nor has the window manager restored it yet: it gives the maximised or full-screen
    // geometry while it passes through the normal state, never a restored one.
    if (std::find(FHeld_Geometries.begin(), FHeld_Geometries.end(), Now) != FHeld_Geometries.end()) return false;
    FRestore_Pending = false;
    const QSize Before = FHeld_Geometries.back().size();
    FHeld_Geometries.clear();
    const std::optional<QPoint> Place = std::exchange(FRestore_Place, std::nullopt);
    const QSize Size = std::exchange(FRestore_Size, QSize());
    // The frame the toolkit counts is taken afresh from the window manager (the restored
    // frame is not the full-screen one): a place counted with a stale frame moves the
    // window by the frame's width and height.
    if (QWindow* Window = FWidget->windowHandle()) static_cast<void>(Window->frameMargins());
    if (Place) FWidget->move(*Place);
    if (Size.isValid() && Size != FWidget->size()) {
        if (Fixed_Size()) FWidget->setFixedSize(Size);
        FWidget->resize(Size);
        Hold_Size_Steps(Size);
    }
    // The window system does not always report a resize of its own for a restore (not when
    // the restored size is already the widget's): the restore is reported here.
    if (FWidget->size() != Before) Resized_By_System(Before.width(), Before.height());
    return true;
}

TWindow_State TForm::WindowState() const
{
    if (!FWidget) return TWindow_State::Normal;
    if (FWidget->windowState() & Qt::WindowMinimized) return TWindow_State::Minimized;
    if (FWidget->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) return TWindow_State::Maximized;
    return TWindow_State::Normal;
}

void TForm::WindowState(TWindow_State Value)
{
    if (!FWidget) return;
    // Normal leaves full screen too; maximised keeps it (it already reads as maximised).
    Qt::WindowStates S = FWidget->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (Value == TWindow_State::Normal) S &= ~Qt::WindowFullScreen;
    if (Value == TWindow_State::Maximized) S |= Qt::WindowMaximized;
    if (Value == TWindow_State::Minimized) S |= Qt::WindowMinimized;
    if (Fixed_Size() && Value == TWindow_State::Maximized) {
        FWidget->setMinimumSize(0, 0);
        FWidget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    FWidget->setWindowState(S);
}

void TForm::FormStyle(TForm_Style Value)
{
    if (Value == FForm_Style) return;
    FForm_Style = Value;
    Apply_Flags();
}

void TForm::BorderStyle(TBorder_Style Value)
{
    FBorder_Style = Value;
    Apply_Flags();
}

void TForm::BorderIcons(TBorderIcons Value)
{
    FBorder_Icons = Value;
    Apply_Flags();
}

// Window flags from border style, icons and stay-on-top. Changing flags hides a Qt window:
// show it again with its geometry, without the show events (it never stopped being shown).
void TForm::Apply_Flags()
{
    if (!FWidget) return;
    Qt::WindowFlags F;
    switch (FBorder_Style) {
    case TBorder_Style::Dialog: F = Qt::Dialog; break;
    case TBorder_Style::None: F = Qt::Window | Qt::FramelessWindowHint; break;
    case TBorder_Style::Tool_Window:
    case TBorder_Style::Size_Tool_Window: F = Qt::Tool; break;
    default: F = Qt::Window; break;
    }
    if (FBorder_Style != TBorder_Style::None) {
        F |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (FBorder_Icons & biSystemMenu) F |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if ((FBorder_Icons & biMinimize) && FBorder_Style != TBorder_Style::Dialog)
            F |= Qt::WindowMinimizeButtonHint;
        if ((FBorder_Icons & biMaximize) && (!Fixed_Border(FBorder_Style) || Maximisable_Single()))
            F |= Qt::WindowMaximizeButtonHint;
    }
    if (FForm_Style == TForm_Style::Stay_On_Top) F |= Qt::WindowStaysOnTopHint;
    if (FWidget->windowFlags() == F) return;
    const bool Was_Shown = FWidget->isVisible();
    const QRect Geometry = FWidget->geometry();
    const Qt::WindowStates State = FWidget->windowState();
    FApplying_Flags = true;
    FWidget->setWindowFlags(F);
    if (Was_Shown) {
        FWidget->setGeometry(Geometry);
        FWidget->setWindowState(State);
        FWidget->show();
        // Shown anew (perhaps as a new native window): the windows kept above one another
        // are told again.
        Tie_Above();
        Tie_Those_Above();
    }
    FApplying_Flags = false;
    Hold_Size_Steps();
    if (Fixed_Size()) FWidget->setFixedSize(FWidget->size());
    else {
        FWidget->setMinimumSize(0, 0);
        FWidget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
}

void TForm::AutoSize(bool Value)
{
    FAuto_Size = Value;
    if (!Value || !FWidget) return;
    int Right = 0, Bottom = 0;
    for (TControl* C : FControls) {
        if (!C->Visible()) continue;
        Right = std::max(Right, C->Left() + C->Width());
        Bottom = std::max(Bottom, C->Top() + C->Height());
    }
    if (Right > 0 && Bottom > 0) {
        ClientWidth(Right);
        ClientHeight(Bottom);
    }
}

void TForm::Apply_Color()
{
    if (!FWidget) return;
    QPalette P = FWidget->palette();
    P.setColor(QPalette::Window, ui::To_QColor(FColor));
    FWidget->setPalette(P);
    FWidget->setAutoFillBackground(true);
}

void TForm::Visible(bool Value)
{
    if (Value) Show();
    else Hide();
}

// The outer place that centres the window (its outer size as far as its frame is known)
// on the main form as it stands now or on the screen, kept within the screen's free area.
QPoint TForm::Centred_Place() const
{
    TForm* Main = Application ? Application->MainForm() : nullptr;
    QWidget* Main_Widget = Main && Main != this ? Main->Widget() : nullptr;
    QScreen* Screen = Main_Widget && Main_Widget->screen() ? Main_Widget->screen() : QApplication::primaryScreen();
    if (!Screen) return FWidget->frameGeometry().topLeft();
    const QRect Free = Screen->availableGeometry();
    QRect Area = Free;
    if (FPosition == TPosition::Main_Form_Center && Main_Widget) {
        // A maximised main form may not have its maximised size yet (the window manager
        // gives it later, as at start): it is counted as what it is about to be.
        if (Main_Widget->windowState() & Qt::WindowFullScreen) Area = Screen->geometry();
        else if (!(Main_Widget->windowState() & Qt::WindowMaximized)) Area = Main_Widget->frameGeometry();
    }
    const QSize Size = FWidget->frameGeometry().size();
    QPoint Place(Area.x() + (Area.width() - Size.width()) / 2, Area.y() + (Area.height() - Size.height()) / 2);
    Place.setX(std::max(Free.left(), std::min(Place.x(), Free.x() + Free.width() - Size.width())));
    Place.setY(std::max(Free.top(), std::min(Place.y(), Free.y() + Free.height() - Size.height())));
    return Place;
}

void TForm::Place_On_Show()
{
    if (FPosition != TPosition::Designed) Centre();
}

void TForm::Centre()
{
    if (!FWidget) return;
    const QPoint Place = Centred_Place();
    FWidget->move(Place);
    // Without its frame the window was centred by its client size: once the window manager
    // has framed it, it is centred again by its outer size.
    FCentre_On_Frame = !Framed();
    if (FCentre_On_Frame) FOuter_Place = Place;
}

void TForm::Centre_On_Work_Area()
{
    Centre();
    // The window manager learns the place only from the window's own size hints, which the
    // toolkit gives it for a place set on the native window: a window shown maximised keeps
    // it as the place to restore to.
    if (!FWidget || FWidget->isVisible()) return;
    FWidget->winId();
    if (QWindow* Window = FWidget->windowHandle()) Window->setFramePosition(FWidget->pos());
}

// The window this one is shown above: the main form, or for a notice and a modal form the
// window it is asked from (never itself).
TForm* TForm::Shown_Above() const
{
    TForm* Main = Application ? Application->MainForm() : nullptr;
    if (Main == this) return nullptr;
    TForm* Asking = FAbove_Asking || FModal_Loop ? ui::Asking_Form() : nullptr;
    return Asking && Asking != this ? Asking : Main;
}

// The window manager is told which window this shown one stays above.
void TForm::Tie_Above()
{
    if (FShown_Above && FWidget && FWidget->isVisible())
        ui::Set_Transient_For(Native_Window(), FShown_Above->Native_Window());
}

// This window was shown anew: the windows shown above it are tied to it again (the window
// manager may not have known it when they were tied, or it has a new native window).
void TForm::Tie_Those_Above()
{
    for (TForm* Form : Forms())
        if (Form->FShown_Above == this) Form->Tie_Above();
}

void TForm::Show()
{
    if (!FWidget) return;
    if (Press_Click.Presses > 0 && Press_Click.Pressed && Press_Click.Pressed != FWidget &&
        !Press_Click.Pressed_Was_Active) {
        Press_Click.Shown = FWidget;
        Press_Click.Expected = Press_Click.Pressed;
    }
    if (FVisible && FWidget->isVisible()) {
        FWidget->raise();
        FWidget->activateWindow();
        Do_Activate();
        return;
    }
    FVisible = true;
    const TAlive Alive(this);
    if (OnShow) OnShow(this);
    if (!Alive || !FVisible || !FWidget) return;   // closed or freed while showing
    TForm* Main = Application ? Application->MainForm() : nullptr;
    TForm* Above = Shown_Above();
    FShown_Above = Above && Above->Widget() ? Above : nullptr;
    if (Above && Above->Widget()) {
        FWidget->winId();
        Above->Widget()->winId();
        // A window shown above one that stays on top goes into that window's layer: a
        // window manager keeps a transient above its parent only within the transient's
        // own layer. Set first: the window system may make the hidden native window anew.
        const bool On_Top = FForm_Style == TForm_Style::Stay_On_Top || ui::Stays_On_Top(Above->Widget()) ||
                            (FModal_Loop && ui::Any_Shown_On_Top(FWidget));
        if (QWindow* Window = FWidget->windowHandle()) Window->setFlag(Qt::WindowStaysOnTopHint, On_Top);
        if (FWidget->windowHandle() && Above->Widget()->windowHandle())
            FWidget->windowHandle()->setTransientParent(Above->Widget()->windowHandle());
    }
    Place_On_Show();
    if (Maximisable_Single()) {
        FWidget->winId();
        Hold_Size_Steps();
    }
    // A window shown before the main form is on the screen (the port search at start) is
    // the one the technician is to look at when the main form appears.
    if (Main && Main != this && Main->Widget() && !Main->Widget()->isVisible()) Shown_Before_Main = FWidget;
    FWidget->show();
    Tie_Above();
    Tie_Those_Above();
    Watch_Frame(Frame_Watch_Tries);
    FWidget->raise();
    FWidget->activateWindow();
    Do_Activate();
    // The main form has appeared: a window shown before it keeps the activation.
    if (Main == this && Shown_Before_Main && Shown_Before_Main->isVisible()) {
        if (auto* Before = dynamic_cast<TForm*>(TControl::From_Widget(Shown_Before_Main))) Before->SetFocus();
        QTimer::singleShot(Main_Appearing_Ms, FWidget, [] { Shown_Before_Main = nullptr; });
    }
}

void TForm::Hide()
{
    const bool Was_Visible = FVisible;
    FVisible = false;
    if (FWidget) FWidget->hide();
    if (Was_Visible && OnHide) OnHide(this);
    if (FModal_Loop) static_cast<QEventLoop*>(FModal_Loop)->quit();
}

void TForm::Do_Activate()
{
    if (Active_Window == this || !FVisible) return;
    TForm* Previous = Active_Window;
    Active_Window = this;
    const TAlive Alive(this);
    if (Previous && Previous->OnDeactivate) Previous->OnDeactivate(Previous);
    if (Alive && OnActivate) OnActivate(this);
}

void TForm::Activated_By_System()
{
    ui::Dispatch([&] { Do_Activate(); });
}

bool TForm::Active() const { return Active_Window == this; }

void TForm::SetFocus()
{
    if (!FWidget) return;
    if (!FWidget->isVisible()) return;
    FWidget->raise();
    FWidget->activateWindow();
    Do_Activate();
}

void TForm::Enabled(bool Value) { TControl::Enabled(Value); }

void TForm::Close()
{
    TClose_Action Action = TClose_Action::Hide;
    if (FModal_Loop && FModal_Result == mrNone) FModal_Result = mrCancel;
    const TAlive Alive(this);
    if (OnClose) OnClose(this, Action);
    if (!Alive) return;   // the handler freed the form
    switch (Action) {
    case TClose_Action::None:
        if (FModal_Loop) FModal_Result = mrNone;
        return;
    case TClose_Action::Minimize:
        if (FWidget) FWidget->showMinimized();
        break;
    case TClose_Action::Free: {
        Hide();
        QTimer::singleShot(0, [this, Alive = TAlive(this)] {
            if (Alive) Free();
        });
        break;
    }
    default:
        Hide();
        break;
    }
    if (Application && Application->MainForm() == this) Application->Terminate();
}

void TForm::Close_Requested() { Close(); }

void TForm::ModalResult(int Value)
{
    FModal_Result = Value;
    if (Value != mrNone && FModal_Loop) Close();
}

int TForm::ShowModal()
{
    FModal_Result = mrNone;
    ui::TDialog_Answer Answer;
    if (ui::Take_Dialog_Answer(ui::TDialog_Record{"form", FCaption, -1, -1}, &Answer)) {
        const TAlive Alive(this);
        Show();
        if (Alive && Answer.On_Form) Answer.On_Form(this);
        if (!Alive) return Answer.Result;
        if (FModal_Result == mrNone) FModal_Result = Answer.Result;
        Hide();
        return FModal_Result;
    }
    ui::Modal_Scope Scope;
    QEventLoop Loop;
    FModal_Loop = &Loop;
    FWidget->setWindowModality(Qt::ApplicationModal);
    const TAlive Alive(this);
    Show();
    if (Alive && FVisible && FModal_Result == mrNone) Loop.exec();
    if (!Alive) return mrCancel;   // freed while shown: the loop was ended by its destruction
    FModal_Loop = nullptr;
    if (FWidget) {
        FWidget->hide();
        FWidget->setWindowModality(Qt::NonModal);
    }
    FVisible = false;
    ui::Back_From_Modal(FShown_Above ? FShown_Above->Widget() : nullptr);
    return FModal_Result;
}

void TForm::Resized_By_System(int Old_Width, int Old_Height)
{
    if (FIn_Resize || !FWidget) return;
    FIn_Resize = true;
    const TAlive Alive(this);
    ui::Dispatch([&] {
        if (OnCanResize) {
            const QSize Extra = FWidget->frameGeometry().size() - FWidget->size();
            int W = FWidget->width() + Extra.width();
            int H = FWidget->height() + Extra.height();
            const int Asked_W = W, Asked_H = H;
            bool Resize = true;
            OnCanResize(this, W, H, Resize);
            if (!Alive || !FWidget) return;
            if (Size_Held_By_State()) {
                // the window manager's size stands
            } else if (!Resize) FWidget->resize(Old_Width, Old_Height);
            else if (W != Asked_W || H != Asked_H)
                FWidget->resize(std::max(1, W - Extra.width()), std::max(1, H - Extra.height()));
        }
        if (Alive && OnResize) OnResize(this);
    });
    if (Alive) FIn_Resize = false;
}

unsigned long long TForm::Native_Window() const
{
    // The native window's own id: the widget's copy is not renewed when the window system
    // makes the native window anew (a changed stay-on-top hint).
    return FWidget && FWidget->windowHandle() ? static_cast<unsigned long long>(FWidget->windowHandle()->winId()) : 0;
}

TCanvas* TForm::Canvas()
{
    static QImage Measure_Image(1, 1, QImage::Format_RGB32);
    if (!FCanvas) FCanvas = std::make_unique<TCanvas>(&Measure_Image);
    FCanvas->Font = FFont;
    return FCanvas.get();
}
