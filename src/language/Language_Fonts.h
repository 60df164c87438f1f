// The language's font on the windows: each setter gives one window or control the font name
// and character set of the current language (Settings.Font_Name, Settings.Font_Charset);
// size, style and colour stay as they are. The setters differ only in the class of control
// they accept, so a list of one class cannot take a control of another by mistake. A null
// control is skipped. A font name the system lacks is kept as set (it reads back so and is
// written to the settings so); the screen shows the nearest font the system has.
// User-interface thread only.
#pragma once

class TControl;
class TEdit;
class TForm;
class TGroupBox;
class TLabel;
class TListView;
class TMemo;
class TPanel;

void Font_Set_Form(TForm* form);
void Font_Set_Panel(TPanel* panel);
void Font_Set_Label(TLabel* label);
void Font_Set_GroupBox(TGroupBox* group);
void Font_Set_Edit(TEdit* edit);
// Any other control (buttons, check boxes, gauges).
void Font_Set_Control(TControl* control);
void Font_Set_ListView(TListView* list);
void Font_Set_Memo(TMemo* memo);
