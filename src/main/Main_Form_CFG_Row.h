// A value of the Configuration page: its caption, its read-only edit, the up-down that
// changes it (absent for a plain edit) and its unit.
#pragma once

#include "platform/ui/UI.h"

struct CFG_Value_Row {
    TLabel* Caption = nullptr;
    TEdit* Edit = nullptr;
    TUpDown* UpDown = nullptr;
    TLabel* Unit = nullptr;
};
