// A value of the Configuration page: its caption, its read-only edit, the up-down that
// changes it (absent for a plain edit) and its unit.
#pragma once

#include <cstdint>

#include "platform/ui/UI.h"

// Letters the page's switches send: the check boxes and radio buttons of 'C', the level
// sensor's switches with its type (']').
constexpr std::uint8_t Code_Switches = 'C';
constexpr std::uint8_t Code_Level = ']';

struct CFG_Value_Row {
    TLabel* Caption = nullptr;
    TEdit* Edit = nullptr;
    TUpDown* UpDown = nullptr;
    TLabel* Unit = nullptr;
};
