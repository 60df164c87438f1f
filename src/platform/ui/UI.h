#pragma once
// The window layer: forms and controls with the behaviour the system's windows rely on,
// drawn by Qt. Include this one header.
//
// Conventions
// - Properties are method pairs with the property's name: Button->Caption("Start") sets,
//   Button->Caption() reads. Values read back exactly what was set: Enabled() and Visible()
//   are the control's own flags (not whether it shows under its parents), colours the
//   $BBGGRR or system colour value given (clBtnFace, clWindow), Interval() the interval.
//   Sub-objects are reached by reference: Label->Font().Color(clRed), Memo->Lines().Add("x"),
//   ComboBox->Items().Clear(), Image->Canvas()->LineTo(10, 10).
// - Controls are created in code: new TButton(Owner, Parent). The owner (a form) deletes
//   what it owns; a parent deletes its child controls. Name("Button_Start") also becomes the
//   Qt object name; Owner->FindComponent(name) and ui::Find_Control(name) find controls.
//   Tag(n) is free for the caller. Free a component with X->Free() (a form runs OnDestroy
//   first, while everything still exists, and the forms it owns after it); a handler may free
//   its own control or form. Freeing runs no other handler: no change, click, focus or timer
//   handler of the freed controls runs during or after it. Layer code that runs a handler
//   which may free the component looks at a TAlive taken before it. Positions
//   and sizes are pixels relative to the parent: SetBounds(Left, Top, Width, Height) or
//   Left()/Top()/Width()/Height().
// - Events are std::function members named like the component model's (OnClick, OnChange,
//   OnTimer, OnMouseDown, OnKeyDown, OnShow, OnActivate, OnClose, OnDestroy, OnCanResize),
//   assigned with a lambda; the first argument is always the Sender:
//     Button->OnClick = [this](TObject* Sender) { Button_StartClick(Sender); };
//   Up-downs report the direction: UpDown->OnClick = [](TObject*, TUD_Button B) {...}.
// - Setting a property from code fires a handler only when the value really changes, and
//   only for: CheckBox/RadioButton Checked (OnClick; radio only when it becomes checked),
//   Edit and Memo text (OnChange), TrackBar Position and SpinEdit Value (OnChange), and an
//   UpDown's associated edit (its OnChange). UpDown Position, ComboBox Text/ItemIndex,
//   PageControl ActivePageIndex and a speed button's Down never fire. Form Show() fires
//   OnShow, then OnActivate.
// - Texts are byte strings, shown through the code page of the control's font character set
//   (Font().Charset(); 1 follows ui::Charset.Current). "&" in a caption marks the
//   accelerator ("&&" shows "&"); LF CR (also CR LF, LF, CR) is one line break.
// - Hint(text) is kept as data whether or not ShowHint(true) shows it as a tool-tip; the
//   whole text is shown ('|' does not split it), line breaks as above.
// - A page control asked for a page it does not have keeps its active page.
// - Keys are virtual-key codes (VK_F10, VK_RETURN, 'A', '0', VK_NUMPAD0, VK_MULTIPLY).
//   A form with KeyPreview(true) sees every key first; the focused control still gets it
//   unless the form's handler sets Key to 0.
// - An exception thrown by a handler run from the event loop is reported (stderr and
//   ui::Hooks.On_Exception) and the program goes on. When code sets a property whose
//   handler throws, the exception reaches that code, as any call would.
// - Forms: Application->CreateForm(Form_X) in order (the first is the main form; OnCreate
//   runs after the constructor), Create_Form<T>(Owner) for further instances;
//   Application->Run() shows the main form and runs the loop; closing the main form ends it.
// - Tests: TTimer::Fire_Tick(), ui::Answer_Next_Dialog(...) before a dialog or message box
//   appears (an unexpected one calls ui::Hooks.On_Unexpected_Dialog), ui::Find_Control(name),
//   ui::Render_To_PNG(control, path).
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Component.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Font.h"
#include "platform/ui/Form.h"
#include "platform/ui/Gauge.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Memo.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/Panel.h"
#include "platform/ui/Runtime.h"
#include "platform/ui/SpinEdit.h"
#include "platform/ui/StringGrid.h"
#include "platform/ui/Strings.h"
#include "platform/ui/Text.h"
#include "platform/ui/Timer.h"
#include "platform/ui/TrackBar.h"
#include "platform/ui/Types.h"
#include "platform/ui/UpDown.h"

namespace ui {
// Paint a control (a form with all its controls) into a PNG file; false on failure.
bool Render_To_PNG(TControl* Control, const std::string& Path);
}  // namespace ui
