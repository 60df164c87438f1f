// The main window's texts in the chosen language, as tables: which control shows which text
// (key, letters before it, letters after it), which controls switch their tool-tips and the
// help cursor with the Show-hint setting, and which take the language's font by their class.
// The passes that apply them are members of the window (Main_Form.h, Main_Form_Texts.cpp).
//
// A row names its control by its object name; a control added to the window gets its text by
// a row added here. A row whose control the window lacks is skipped (the window's tests
// check that every row finds its control, of the class its list needs).
#pragma once

#include <span>

// One text of one control: Prefix + T(Key) + Suffix, and when Unit_Key is given
// + T(Unit_Key) + Unit_End (T(k) the text of key k in the language in force).
struct Text_Row {
    const char* Control;
    // nullptr: the control's own name for a caption, the own name + "_Hint" for a hint.
    const char* Key = nullptr;
    const char* Prefix = "";
    const char* Suffix = "";
    const char* Unit_Key = nullptr;
    const char* Unit_End = "";
    // Hints that are wrapped: the prefix goes in front of the wrapped text instead of being
    // wrapped with it.
    bool Prefix_Outside_Wrap = false;
};

// Rows applied in one step, in their order.
struct Text_Table {
    const char* Name;
    std::span<const Text_Row> Rows;
};

// The page captions with their function keys (no page has F5: it is the autocalibration key).
std::span<const Text_Row> Page_Caption_Rows();
// The captions of the pages' controls, page by page: first the tables before the RPM
// sensitivity window is re-texted, then the rest.
std::span<const Text_Table> Caption_Tables_Before_Sweep();
std::span<const Text_Table> Caption_Tables_After_Sweep();
// The hints of the forcing and work-mode buttons (also on every page change with the
// English menu on), then the rest of the wrapped hints.
std::span<const Text_Row> Gas_Fors_Hint_Rows();
std::span<const Text_Row> Hint_Rows();
// The Configuration page's hints (not wrapped: the page shows them in its help line).
std::span<const Text_Row> CFG_Hint_Rows();

// Names of the controls whose tool-tips follow the Show-hint setting on every page, those
// that follow it only away from the Configuration page, and those that show the help cursor
// (all of them; the Configuration page's alone).
std::span<const char* const> Show_Hint_Controls();
std::span<const char* const> Show_Hint_Option_Controls();
std::span<const char* const> Help_Cursor_Controls();
std::span<const char* const> Help_Cursor_CFG_Controls();

// The controls that take the language's font, by the class of their setter.
std::span<const char* const> Font_Panels();
std::span<const char* const> Font_Controls();
std::span<const char* const> Font_Labels();
std::span<const char* const> Font_Edits();
std::span<const char* const> Font_GroupBoxes();
