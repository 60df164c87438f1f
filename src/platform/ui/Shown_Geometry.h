#pragma once
// Where the window system draws a control, as the toolkit has laid it out: for a check from
// outside the program that holds what the technician sees against the design. The program's
// own Left/Top/Width/Height say where a control was put; these say where it is drawn.
// Main (user-interface) thread only; nothing here changes a control.
#include "platform/ui/Component.h"
#include <string>

class TPageControl;

struct TShown_Rect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const TShown_Rect&) const = default;
};

namespace ui {
// Control's rectangle in the client area of its top-level window; all zero when it has no
// widget. A hidden window's controls give the place they will be drawn at.
TShown_Rect Shown_Rect(const TControl* Control);
// The tab row of Pages in the client area of its window (all zero without one).
TShown_Rect Shown_Tab_Row(const TPageControl* Pages);
// Every tab of Pages' row is drawn: false when the row shows its scroll arrows (its tabs
// need more room than it has).
bool Tabs_Fit(const TPageControl* Pages);
// Control is drawn while its window is: it and every control it lies on are shown. False
// without a widget, and for every control of a window that is not shown.
bool Shown(const TControl* Control);
// The one line of text Control draws (a panel's or a button's caption) as the
// toolkit shows it: in the control's character set, as UTF-8, accelerator marks taken out
// and line breaks as blanks. Empty for a control that draws no text.
std::string Shown_Text(const TControl* Control);
}  // namespace ui
