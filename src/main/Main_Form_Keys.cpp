// The main window's keyboard map: with key preview on, the window sees every key before
// the focused control. One key press does one thing: a key the focused control takes
// itself is left to it, and a key the map acted on goes no further.
#include <cstdint>

#include "data/Settings.h"
#include "main/Main_Form.h"

namespace {

constexpr int Configuration_Page_Index = 1;
constexpr int Calibration_Page_Index = 2;
constexpr int Last_Point_Digit = 8;

// The point digit of a key of either keyboard ('0'..'8'), or -1.
int Point_Digit(std::uint16_t Key)
{
    if (Key >= '0' && Key <= '0' + Last_Point_Digit)
        return Key - '0';
    if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD0 + Last_Point_Digit)
        return Key - VK_NUMPAD0;
    return -1;
}

// What the focused control does with keys of its own.
struct Key_Focus {
    bool Typed_Text = false;   // letters and digits are typed into it
    bool Own_Arrows = false;   // the arrow keys step or move it
};

Key_Focus Focus_Of(const TControl* C)
{
    Key_Focus F;
    if (!C)
        return F;
    if (const auto* E = dynamic_cast<const TEdit*>(C)) {
        F.Typed_Text = !E->ReadOnly();
        // An edit steps its value by the arrows when an up-down is paired with it or its
        // own key handler steps one; a plain text edit moves its caret.
        F.Own_Arrows = F.Typed_Text || E->Associated_UpDown != nullptr || static_cast<bool>(E->OnKeyDown);
    } else if (const auto* M = dynamic_cast<const TMemo*>(C)) {
        F.Typed_Text = !M->ReadOnly();
        F.Own_Arrows = true;
    } else if (dynamic_cast<const TComboBox*>(C) || dynamic_cast<const TStringGrid*>(C)) {
        F.Typed_Text = true;
        F.Own_Arrows = true;
    } else if (dynamic_cast<const TUpDown*>(C) || dynamic_cast<const TTrackBar*>(C) ||
               dynamic_cast<const TRadioButton*>(C) || dynamic_cast<const TListView*>(C)) {
        F.Own_Arrows = true;
    }
    return F;
}

}  // namespace

bool TForm_KardunGAS::Page_Key(std::uint16_t Key)
{
    int Page = -1;
    if (Key >= VK_F1 && Key <= VK_F4)
        Page = Key - VK_F1;
    else if (Key == VK_F5 || Key == VK_F6)
        Page = 4;   // the Errors page
    else if (Key == VK_F7)
        Page = 5;   // Settings
    else if (Key == VK_F8)
        Page = 6;   // About
    if (Page < 0)
        return false;
    // A page control held disabled (a controller password unknown here) is not bypassed.
    if (!PageControl_KardunGAS->Enabled())
        return true;
    PageControl_KardunGAS->ActivePageIndex(Page);
    PageControl_KardunGASChange(PageControl_KardunGAS);
    return true;
}

void TForm_KardunGAS::FormKeyDown(TObject* Sender, std::uint16_t& Key, TShiftState Shift)
{
    if (RPM_Tab_Edit_Mode)
        return;
    if (Page_Key(Key)) {
        Key = 0;
        return;
    }
    const Key_Focus Focus = Focus_Of(ui::Key_Control());
    // The digits pick the gas curve's points while that curve is shown (acting on the
    // Calibration page only).
    if (const int Digit = Point_Digit(Key); Digit >= 0) {
        if (Focus.Typed_Text || !Settings.CLB_Diagram_GAS)
            return;
        CLB_Digit_Key(static_cast<char>('0' + Digit));
        Key = 0;
        return;
    }
    const bool Arrow = Key == VK_UP || Key == VK_DOWN || Key == VK_LEFT || Key == VK_RIGHT;
    if (Arrow && (Focus.Own_Arrows || Focus.Typed_Text))
        return;
    const int Page = PageControl_KardunGAS->ActivePageIndex();
    if ((Key == VK_UP || Key == VK_DOWN) && Page == Configuration_Page_Index) {
        Options_Step(Key == VK_UP ? 'U' : 'D');
        Key = 0;
    } else if (Page == Calibration_Page_Index && (Arrow || Key == VK_ESCAPE)) {
        // The picked point moves by its curve's key step; Escape drops the pick.
        if (Key == VK_ESCAPE)
            CLB_Edit_Cancel();
        else
            CLB_Arrow_Key(Key);
        Key = 0;
    }
}
