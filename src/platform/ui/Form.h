#pragma once
// A top-level window. Forms start hidden; Show() fires OnShow and then OnActivate.
// A form is never a Qt child of another form: service windows stay usable while the main
// form is disabled, and stay above it through their transient parent.
//
// Outer and client sizes under a window manager. Left/Top/Width/Height are the outer frame,
// ClientWidth/ClientHeight the inside; outer = client + the frame the window manager put
// around the shown window (_NET_FRAME_EXTENTS, read through the toolkit). Until that frame is
// known (before showing, and on an X server without a window manager, where it never comes)
// the frame counts as none, and an outer place or size set meanwhile is set again once the
// frame arrives; since a window manager may frame a window without moving or resizing it, a
// shown window is looked at for its frame for a few seconds. Maximised and full-screen states
// belong to the window manager (_NET_WM_STATE, seen as the toolkit's window-state change): a
// size or place set while the window is in one of them is held and applied when it is
// restored, once the toolkit has the place and size the window manager restored (never
// after a guessed delay), and that restore is reported as a resize. A window maximised in one direction
// only (the window manager's maximise button's middle and right clicks, a drag at one edge of
// a maximised window) is taken to the other whole state: maximised from normal, normal from
// maximised; full screen counts as maximised. A Single frame with a maximise box is
// maximised and restored but not dragged to another size: the window manager is given size
// steps larger than any screen (WM_NORMAL_HINTS), which it ignores for a maximised window.
#include "platform/ui/Component.h"
#include <QPoint>
#include <QRect>
#include <QSize>
#include <memory>
#include <optional>
#include <vector>

class TCanvas;
class TIcon;

enum class TBorder_Style { Sizeable, Single, Dialog, None, Tool_Window, Size_Tool_Window };
enum TBorder_Icon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };
using TBorderIcons = unsigned;
enum class TWindow_State { Normal, Minimized, Maximized };
enum class TForm_Style { Normal, Stay_On_Top };
enum class TPosition { Designed, Screen_Center, Main_Form_Center };
enum class TClose_Action { None, Hide, Free, Minimize };

using TClose_Event = std::function<void(TObject* Sender, TClose_Action& Action)>;
using TCan_Resize_Event = std::function<void(TObject* Sender, int& New_Width, int& New_Height,
                                             bool& Resize)>;

class TForm : public TControl {
public:
    explicit TForm(TComponent* Owner);
    ~TForm() override;

    std::string Caption() const { return FCaption; }
    void Caption(const std::string& Value);
    void Icon(const TIcon& Value);
    // The icon last set on the window; nullptr while it shows the program's default.
    const TIcon* Icon() const { return FIcon.get(); }

    // Outer position and size (frame included) and the client area.
    void SetBounds(int Left, int Top, int Width, int Height) override;
    int ClientWidth() const override;
    void ClientWidth(int Value) override;
    int ClientHeight() const override;
    void ClientHeight(int Value) override;

    // A window the window manager holds full screen reads as maximised (its size is the
    // window manager's, as a maximised one's); Normal takes it out of full screen as well.
    TWindow_State WindowState() const;
    void WindowState(TWindow_State Value);
    TForm_Style FormStyle() const { return FForm_Style; }
    void FormStyle(TForm_Style Value);          // may be switched while shown
    // Screen_Center and Main_Form_Center place the window each time it is shown: centred on
    // the screen's free area, or on the main form as it stands then (maximised or full
    // screen: the screen it is on), moved into the screen's free area where it would leave
    // it; an unframed window is placed again with its frame once the frame is known.
    TPosition Position() const { return FPosition; }
    void Position(TPosition Value) { FPosition = Value; }
    // Places the window, at its size, centred on the work area of the screen (the screen
    // without the desktop's panels) as Screen_Center does at a show, once: a window about
    // to be shown maximised gets a normal place of its own to be restored to.
    void Centre_On_Work_Area();
    // The outer place of the window (the place the program set while it has not been framed
    // yet), moved onto the work area as a window manager would: the place to keep for the
    // next start. A place set before the window is first framed is moved onto the work area
    // too.
    void Normal_Place(int& Left, int& Top) const;
    // A window is shown above the main form (its transient parent, told to the window
    // manager, which keeps it above the main form also when the main form is clicked), and
    // stays on top while the main form does. A notice shown for whichever window the
    // technician works in (the message window) is shown above the window it is asked from
    // instead (ui::Asking_Form), and stays on top while that window does. A modal form is
    // shown above the window it is asked from, on top while any window of the program
    // stays on top.
    bool Above_Asking_Form() const { return FAbove_Asking; }
    void Above_Asking_Form(bool Value) { FAbove_Asking = Value; }
    TBorder_Style BorderStyle() const { return FBorder_Style; }
    void BorderStyle(TBorder_Style Value);
    TBorderIcons BorderIcons() const { return FBorder_Icons; }
    void BorderIcons(TBorderIcons Value);
    bool KeyPreview() const { return FKey_Preview; }
    void KeyPreview(bool Value) { FKey_Preview = Value; }
    bool Scaled() const { return FScaled; }       // sizes are pixels either way
    void Scaled(bool Value) { FScaled = Value; }
    bool AutoSize() const { return FAuto_Size; }
    void AutoSize(bool Value);                    // on: client size fits the children

    // Visible(true) is Show(), Visible(false) hides without the close event.
    void Visible(bool Value) override;
    using TControl::Visible;
    void Show();
    void Hide();
    void Close();                // OnClose decides: hide (default), free, minimise or stay
    int ShowModal();             // runs until ModalResult is set or the form closes
    int ModalResult() const { return FModal_Result; }
    void ModalResult(int Value);
    void SetFocus() override;
    bool Active() const;         // the program's active form
    void Enabled(bool Value) override;   // disables this window only, never the others
    using TControl::Enabled;

    // The window system's id of the shown window (an X11 window id); 0 while it has none.
    unsigned long long Native_Window() const;

    // A canvas in the form's font, for measuring text.
    TCanvas* Canvas();

    // ---- events ----
    TNotify_Event OnCreate;      // fired after construction (Application->CreateForm, Create_Form)
    TNotify_Event OnShow;
    TNotify_Event OnHide;
    TNotify_Event OnActivate;    // only when focus moves here from another form of the program
    TNotify_Event OnDeactivate;
    TClose_Event OnClose;
    TNotify_Event OnDestroy;     // before destruction, while every control still exists
    TCan_Resize_Event OnCanResize;
    TNotify_Event OnResize;

    // ---- layer use ----
    void Fire_Create();
    void Fire_Destroy();         // once only
    void Activated_By_System();  // Qt reports this window active
    void Close_Requested();      // the window's close box
    void Resized_By_System(int Old_Width, int Old_Height);
    void State_Changed_By_System();   // maximised, restored, ...
    // The window manager's state of the shown window changed on the X server (before the
    // toolkit reports it); a maximise in one direction only is turned into a whole one.
    void Net_State_Changed_By_System();
    // Moved or resized by the system: once the window manager has framed the window, the
    // outer place and size set before are set again counting the frame, and a size or place
    // held through a maximised state applies once the restore has arrived (true when done).
    bool Frame_Check();
    // The window manager has framed the shown window (its frame is known).
    bool Framed() const;
    bool Is_Modal() const { return FModal_Loop != nullptr; }

protected:
    void Before_Destruction() override { Fire_Destroy(); }
    void Apply_Color() override;

private:
    bool Maximisable_Single() const;
    bool Fixed_Size() const;
    bool In_Held_State() const;
    bool Size_Held_By_State() const;
    bool Apply_Held_Restore();
    void Note_Held_Geometry();
    void Hold_Restore_Size(std::optional<int> Width, std::optional<int> Height);
    void Note_Normal_Size();
    QPoint Within_Work_Area(QPoint Place, QSize Size) const;
    void Hold_Size_Steps(QSize Program_Size = QSize());
    void Watch_Frame(int Tries);
    void Take_Native_Frame();
    void Apply_Flags();
    void Place_On_Show();
    void Centre();
    QPoint Centred_Place() const;
    TForm* Shown_Above() const;
    void Tie_Above();
    void Tie_Those_Above();
    void Do_Activate();
    std::string FCaption;
    std::unique_ptr<TIcon> FIcon;
    TForm_Style FForm_Style = TForm_Style::Normal;
    TPosition FPosition = TPosition::Designed;
    TBorder_Style FBorder_Style = TBorder_Style::Sizeable;
    TBorderIcons FBorder_Icons = biSystemMenu | biMinimize | biMaximize;
    bool FKey_Preview = false;
    bool FScaled = true;
    bool FAuto_Size = false;
    int FModal_Result = 0;
    void* FModal_Loop = nullptr;
    bool FCreated = false;
    bool FDestroyed = false;
    bool FAbove_Asking = false;
    TForm* FShown_Above = nullptr;     // the window this one was last shown above
    bool FCentre_On_Frame = false;     // the centred place waits for the frame
    bool FIn_Resize = false;
    bool FApplying_Flags = false;
    std::unique_ptr<TCanvas> FCanvas;
    // Set while maximised: the client size and the outer place the restored window takes.
    QSize FRestore_Size;
    std::optional<QPoint> FRestore_Place;
    // The client geometries the window had in its maximised or full-screen state, and whether
    // the window manager has restored the window while a size or place was held: they apply
    // once the toolkit has a geometry other than the held ones.
    std::vector<QRect> FHeld_Geometries;
    bool FRestore_Pending = false;
    // The client size last seen in the normal state with the frame known.
    QSize FLast_Normal_Size;
    // The window manager holds the window maximised in one direction only; the last whole
    // state it held was maximised (such a window is then restored, else maximised).
    bool FHalf_Maximised = false;
    bool FWas_Maximised = false;
    // Set before the window was framed: the outer place and sizes the program gave.
    std::optional<QPoint> FOuter_Place;
    std::optional<int> FOuter_Width;
    std::optional<int> FOuter_Height;
};

// Create a form of class T owned by Owner and fire its OnCreate.
template <class T>
T* Create_Form(TComponent* Owner)
{
    T* Form = new T(Owner);
    Form->Fire_Create();
    return Form;
}

namespace ui {
TForm* Active_Form();                      // the program's active form (nullptr if none)
// The window a question or notice is asked from: the program's active form while it is on
// the screen, else the main form while it is; nullptr when neither is.
TForm* Asking_Form();
// While a form with key preview runs its key handler: the control the key goes to next (the
// focused control, or the form itself); nullptr outside such a handler.
TControl* Key_Control();
std::vector<TForm*> All_Forms();           // every existing form, in creation order
// A control by name on any existing form (the form itself included); nullptr if none.
TComponent* Find_Control(const std::string& Name);
}  // namespace ui
