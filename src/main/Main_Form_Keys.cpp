// The main window's keyboard map: with key preview on, the window sees every key before
// the focused control. One key press does one thing: a key the focused control takes
// itself is left to it, and a key the map acted on goes no further. The map is of single
// keys (Shift alone included): a key held with Ctrl, Alt or the system key is an editing
// or system shortcut (Ctrl+A, Ctrl+C, Alt+F4) and must never force an injector or switch
// the fuel, so it goes on to the focused control and the toolkit untouched.
#include <cstdint>
#include <string>

#include "data/Globals.h"
#include "data/Settings.h"
#include "main/Main_Form.h"
#include "platform/system/Files.h"
#include "platform/system/Shell.h"
#include "windows/Password_Window.h"

namespace {

constexpr int Configuration_Page_Index = 1;
constexpr int Calibration_Page_Index = 2;
constexpr int Oscilloscope_Page_Index = 3;
constexpr int Settings_Page_Index = 5;
constexpr int Any_Page = -1;
// Characters of the language name in a help file's name ("F3_Eng.pdf").
constexpr std::string::size_type Help_Language_Letters = 3;

constexpr int Last_Point_Digit = 8;

// Modifiers that make a key a shortcut, never a key of the map.
constexpr TShiftState Shortcut_Modifiers = ssCtrl | ssAlt | ssSystem;

// The point digit of a key of either keyboard ('0'..'8'), or -1.
int Point_Digit(std::uint16_t Key)
{
    if (Key >= '0' && Key <= '0' + Last_Point_Digit)
        return Key - '0';
    if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD0 + Last_Point_Digit)
        return Key - VK_NUMPAD0;
    return -1;
}

// A key that clicks a button: on one page, or on every page for the buttons outside the
// pages (these act while the controller's password is not granted as well).
struct Button_Key {
    std::uint16_t Key;
    int Page;
    TButton* TForm_KardunGAS::*Button;
    bool Toggle;         // a speed button: its down state flips before the click
    bool Only_Enabled;   // a disabled button ignores its key
};

const Button_Key Button_Keys[] = {
    // The forcing strip and the work mode.
    {'A', Any_Page, &TForm_KardunGAS::Button_Gas_Fors_All, true, true},
    {VK_MULTIPLY, Any_Page, &TForm_KardunGAS::Button_Gas_Fors_All, true, true},
    {'Z', Any_Page, &TForm_KardunGAS::Button_Gas_Fors1, true, true},
    {'X', Any_Page, &TForm_KardunGAS::Button_Gas_Fors2, true, true},
    {'C', Any_Page, &TForm_KardunGAS::Button_Gas_Fors3, true, true},
    {'V', Any_Page, &TForm_KardunGAS::Button_Gas_Fors4, true, true},
    {'B', Any_Page, &TForm_KardunGAS::Button_Gas_Fors5, true, true},
    {'N', Any_Page, &TForm_KardunGAS::Button_Gas_Fors6, true, true},
    {'M', Any_Page, &TForm_KardunGAS::Button_WorkMode, false, false},
    // The installation diagram of the About page, from any page.
    {'I', Any_Page, &TForm_KardunGAS::Button_About_Diagram, false, false},
    // The page's own buttons; each handler checks its own preconditions.
    {'D', Configuration_Page_Index, &TForm_KardunGAS::Button_CFG_Default, false, false},
    {'L', Configuration_Page_Index, &TForm_KardunGAS::Button_CFG_Load, false, false},
    {'S', Configuration_Page_Index, &TForm_KardunGAS::Button_CFG_Save, false, false},
    {'R', Configuration_Page_Index, &TForm_KardunGAS::Button_CFG_Receiv, false, false},
    {'T', Configuration_Page_Index, &TForm_KardunGAS::Button_CFG_Transmitt, false, false},
    {'D', Calibration_Page_Index, &TForm_KardunGAS::Button_CLB_Default, false, false},
    {'L', Calibration_Page_Index, &TForm_KardunGAS::Button_CLB_Load, false, false},
    {'S', Calibration_Page_Index, &TForm_KardunGAS::Button_CLB_Save, false, false},
    {'R', Calibration_Page_Index, &TForm_KardunGAS::Button_CLB_Receiv, false, false},
    {'T', Calibration_Page_Index, &TForm_KardunGAS::Button_CLB_Transmitt, false, false},
    {'S', Oscilloscope_Page_Index, &TForm_KardunGAS::Button_OSC_StartStop, true, false},
    {'D', Settings_Page_Index, &TForm_KardunGAS::Button_INI_Default, false, false},
    {'L', Settings_Page_Index, &TForm_KardunGAS::Button_INI_Load, false, false},
    {'S', Settings_Page_Index, &TForm_KardunGAS::Button_INI_Save, false, false},
};

// Keys that act outside the pages: they work while the pages are locked by the
// controller's password. Every other key reaches a page (its buttons, its fields, a send
// to the controller) and does nothing then.
bool Outside_Pages(std::uint16_t Key)
{
    if (Key == 'F' || Key == 'H' || Key == VK_F10)
        return true;
    for (const Button_Key& Row : Button_Keys)
        if (Row.Key == Key && Row.Page == Any_Page)
            return true;
    return false;
}

// Keys that type a character into a text control.
bool Typing_Key(std::uint16_t Key)
{
    return (Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9') ||
           (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9) || Key == VK_MULTIPLY;
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

bool TForm_KardunGAS::User_Edit_Focused() const
{
    const TControl* User_Edits[] = {Edit_CFG_User_Find, Edit_Car_Num,   Edit_Car_Model,
                                    Edit_Car_Engine,    Edit_Car_Jet,   Edit_Date_Mounting_set,
                                    Edit_User_Name,     Edit_User_Phone, Edit_User_Address,
                                    Memo_Car_Comments};
    for (const TControl* C : User_Edits)
        if (C && C->Focused())
            return true;
    return false;
}

bool TForm_KardunGAS::Help_Open()
{
    const std::string Path = Help_Dir + "/F" +
                             std::to_string(PageControl_KardunGAS->ActivePageIndex() + 1) + "_" +
                             Settings.Language.substr(0, Help_Language_Letters) + ".pdf";
    return sys::File_Exists(Path) && sys::Shell_Open(Path);
}

void TForm_KardunGAS::FormKeyDown(TObject* Sender, std::uint16_t& Key, TShiftState Shift)
{
    if ((Shift & Shortcut_Modifiers) || RPM_Tab_Edit_Mode || User_Edit_Focused())
        return;
    if (!Password_State.Access_Granted && !Outside_Pages(Key))
        return;
    if (Key == VK_F10) {
        // The window closes; its destroy handler runs the shutdown once, when it goes.
        Key = 0;
        Close();
        return;
    }
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
        return;
    }
    if (Page == Calibration_Page_Index && (Arrow || Key == VK_ESCAPE)) {
        // The picked point moves by its curve's key step; Escape drops the pick.
        if (Key == VK_ESCAPE)
            CLB_Edit_Cancel();
        else
            CLB_Arrow_Key(Key);
        Key = 0;
        return;
    }
    if (Typing_Key(Key) && Focus.Typed_Text)
        return;

    for (const Button_Key& Row : Button_Keys) {
        if (Row.Key != Key || (Row.Page != Any_Page && Row.Page != Page))
            continue;
        TButton* Button = this->*Row.Button;
        if (Row.Only_Enabled && !Button->Enabled())
            return;
        if (Row.Toggle)
            Button->Down(!Button->Down());
        Key = 0;
        Button->Click();
        return;
    }
    switch (Key) {
    case 'F':
        WindowState(WindowState() == TWindow_State::Maximized ? TWindow_State::Normal
                                                              : TWindow_State::Maximized);
        Key = 0;
        break;
    case 'H':
        Help_Open();
        Key = 0;
        break;
    default:
        break;
    }
}
