#pragma once
// Helpers shared by the layer's sources (Qt types); not for use outside src/platform/ui.
#include "platform/ui/Component.h"
#include "platform/ui/Types.h"
#include <QColor>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace ui {

// Bytes <-> screen text by a font character set (1 follows the current character set).
QString To_Q(const std::string& Bytes, int Font_Charset);
std::string From_Q(const QString& Text, int Font_Charset);
// Screen text of a caption: line breaks (LF CR, CR LF, LF, CR) become one '\n'.
QString Caption_Text(const std::string& Bytes, int Font_Charset);
// Rich text of a caption with '&' accelerators (hidden, next letter underlined).
QString Accel_Rich_Text(const std::string& Bytes, int Font_Charset, bool Show_Accel);
// Plain text of a caption with the accelerator marks removed ("&&" -> "&").
QString Strip_Accel(const QString& Text);

// Source with every pixel of the key colour (alpha ignored) made see-through, in the
// premultiplied format the painter blends without converting again.
QImage Colour_Keyed(const QImage& Source, TColor Key);

QColor To_QColor(TColor Color);
TColor From_QColor(const QColor& Color);
QFont To_QFont(const TFont& Font);
Qt::CursorShape To_Cursor(TCursor Cursor);

// Virtual-key code of a Qt key event's key (0 when none applies).
std::uint16_t Virtual_Key(int Qt_Key, Qt::KeyboardModifiers Modifiers);
TShiftState Shift_State(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons);

// Counts the modal loops run by the layer while it exists.
struct Modal_Scope {
    Modal_Scope();
    ~Modal_Scope();
};

// A window on the screen that stays on top: its own, or in the layer of the window it is
// shown above.
bool Stays_On_Top(const QWidget* Window);

// Tells the window manager that Window is kept above Parent (WM_TRANSIENT_FOR); Parent 0
// takes that away. Both are X11 window ids; no X server: nothing happens. Main thread only.
void Set_Transient_For(unsigned long long Window, unsigned long long Parent);
// Whether a window of the program other than Except is on the screen and stays on top.
bool Any_Shown_On_Top(const QWidget* Except);
// Readies a modal dialog not yet shown (a toolkit dialog) to show above the window it is
// asked from (ui::Asking_Form), focused, and on top when that window or any other window
// of the program stays on top. Returns the asking window's widget (nullptr when none).
QWidget* Place_Modal(QWidget* Dialog);
// A modal dialog asked from Asking (its widget, or nullptr) has closed: that window, when
// still shown, is active again.
void Back_From_Modal(QWidget* Asking);

// Show a non-modal warning about an exception (the real program only).
void Show_Exception_Box(const std::string& Message);

// Silence a widget tree whose control is going away: no signal, event or focus move from
// it runs a handler any more (its controls report nothing through From_Widget).
void Silence_Widgets(QWidget* Widget);
// True for a widget of a freed control that waits for deletion.
bool Widget_Gone(const QWidget* Widget);

// A mouse press on a control of Window is being dispatched (from its start to its end).
void Press_Begins(QWidget* Window);
void Press_Ends();

// Installs the application-wide filter (keys, activation) once a QApplication exists.
void Ensure_Global_Filter();

// The window manager's state of a top-level window as the X server holds it
// (_NET_WM_STATE). Read is false where there is no X server (offscreen) or no such window.
// Main thread only.
struct Net_Wm_State {
    bool Read = false;
    bool Maximised_Vert = false;
    bool Maximised_Horz = false;
    bool Full_Screen = false;
};
Net_Wm_State Read_Net_Wm_State(unsigned long long Window);
// Asks the window manager to maximise Window in both directions, or to take both away
// (the window manager decides; the answer comes as a change of the state). No X server:
// nothing happens.
void Ask_Net_Wm_Maximised(unsigned long long Window, bool Maximised);
// Where a top-level window is on the X server now: its client area on the screen and
// the frame the window manager put around it (_NET_FRAME_EXTENTS; Framed is false while it
// put none, or none that is drawn, as in full screen). Read is false where there is no X
// server (offscreen) or no such window. Main thread only.
struct Native_Place {
    bool Read = false;
    bool Managed = false;   // the window manager has published its frame (none in full screen)
    bool Framed = false;
    int Client_Left = 0;
    int Client_Top = 0;
    int Client_Width = 0;
    int Client_Height = 0;
    int Frame_Left = 0;   // the frame's width left of and above the client area
    int Frame_Top = 0;
};
Native_Place Read_Native_Place(unsigned long long Window);
// Changed runs, on the main thread, for each change of a window's state on the X server,
// before the toolkit handles that change. Installed once; no X server: never runs.
void Watch_Net_Wm_State(std::function<void(unsigned long long Window)> Changed);

}  // namespace ui
