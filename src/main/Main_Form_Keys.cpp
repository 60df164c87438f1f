// The main window's keyboard map: with key preview on, the window sees every key before
// the focused control. One key press does one thing: a key the focused control takes
// itself is left to it, and a key the map acted on goes no further.
#include <cstdint>

#include "main/Main_Form.h"

namespace {

constexpr int Configuration_Page_Index = 1;

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
    const bool Arrow = Key == VK_UP || Key == VK_DOWN || Key == VK_LEFT || Key == VK_RIGHT;
    if (Arrow && (Focus.Own_Arrows || Focus.Typed_Text))
        return;
    if ((Key == VK_UP || Key == VK_DOWN) && PageControl_KardunGAS->ActivePageIndex() == Configuration_Page_Index) {
        Options_Step(Key == VK_UP ? 'U' : 'D');
        Key = 0;
    }
}
