#include "language/Language_Fonts.h"

#include "data/Settings_Record.h"
#include "platform/ui/UI.h"

namespace {

void Set_Language_Font(TControl* control)
{
    if (!control) return;
    control->Font().Name(Settings.Font_Name);
    control->Font().Charset(Settings.Font_Charset);
}

}  // namespace

void Font_Set_Form(TForm* form) { Set_Language_Font(form); }
void Font_Set_Panel(TPanel* panel) { Set_Language_Font(panel); }
void Font_Set_Label(TLabel* label) { Set_Language_Font(label); }
void Font_Set_GroupBox(TGroupBox* group) { Set_Language_Font(group); }
void Font_Set_Edit(TEdit* edit) { Set_Language_Font(edit); }
void Font_Set_Control(TControl* control) { Set_Language_Font(control); }
void Font_Set_ListView(TListView* list) { Set_Language_Font(list); }
void Font_Set_Memo(TMemo* memo) { Set_Language_Font(memo); }
