// Which window a window is kept above, told to the window manager on the X server, and the
// place of a modal dialog above the window it is asked from.
//
// The toolkit tells the window manager a transient parent (WM_TRANSIENT_FOR) only for
// dialog windows, and takes the property away each time it shows any other window: a
// window that is to stay above another is given the property here, after it was shown. A
// window manager keeps a transient above its parent, also when the parent is clicked.
#include "platform/ui/Form.h"
#include "platform/ui/Internal.h"
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

namespace {

xcb_connection_t* Connection()
{
    auto* App = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return App ? App->connection() : nullptr;
}

}  // namespace

namespace ui {

void Set_Transient_For(unsigned long long Window, unsigned long long Parent)
{
    xcb_connection_t* C = Connection();
    if (!C || Window == 0) return;
    const auto Id = static_cast<xcb_window_t>(Window);
    if (Parent == 0) {
        xcb_delete_property(C, Id, XCB_ATOM_WM_TRANSIENT_FOR);
    } else {
        const auto Parent_Id = static_cast<xcb_window_t>(Parent);
        xcb_change_property(C, XCB_PROP_MODE_REPLACE, Id, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 32, 1,
                            &Parent_Id);
    }
    xcb_flush(C);
}

bool Any_Shown_On_Top(const QWidget* Except)
{
    for (TForm* Form : All_Forms()) {
        const QWidget* Window = Form->Widget();
        if (Window && Window != Except && Window->isVisible() && Stays_On_Top(Window)) return true;
    }
    return false;
}

QWidget* Place_Modal(QWidget* Dialog)
{
    TForm* Asking = Asking_Form();
    QWidget* Parent = Asking ? Asking->Widget() : nullptr;
    if (Stays_On_Top(Parent) || Any_Shown_On_Top(Dialog)) Dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (!Parent) return nullptr;
    Dialog->winId();
    Parent->winId();
    if (Dialog->windowHandle() && Parent->windowHandle())
        Dialog->windowHandle()->setTransientParent(Parent->windowHandle());
    return Parent;
}

void Back_From_Modal(QWidget* Asking)
{
    // Some window managers give the focus to the topmost window left (one that stays on
    // top) rather than to the dialog's parent.
    if (!Asking || !Asking->isVisible()) return;
    if (auto* Form = dynamic_cast<TForm*>(TControl::From_Widget(Asking))) Form->SetFocus();
}

}  // namespace ui
