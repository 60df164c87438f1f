// Settings page: the controls the program settings are shown in.
#include "main/Main_Form_Settings.h"

#include "data/Settings.h"
#include "main/Main_Form.h"
#include "windows/Form_Build.h"

namespace {

// The reply delay the controller is made for; another delay is marked light red.
constexpr int Default_Reply_Delay = 60;
constexpr TColor Colour_Changed_Value = 0xB0B0FF;
// The controls whose value the settings file filled, marked light green.
constexpr TColor Colour_From_File = 0x95FF95;

}  // namespace

void Main_Form_Settings::Create_Sheet(TComponent* Owner, TPageControl* Pages)
{
    TabSheet_Settings = build::Sheet(Owner, Pages, "TabSheet_Settings", "Settings");
}

void Main_Form_Settings::Create_Part(TComponent* Owner, TControl* Content)
{
    TControl* S = TabSheet_Settings;
    Button_INI_Default = build::Button(Owner, S, "Button_INI_Default", "&Default", 8, 8, 90, 25);
    Button_INI_Load = build::Button(Owner, S, "Button_INI_Load", "&Load", 102, 8, 90, 25);
    Button_INI_Save = build::Button(Owner, S, "Button_INI_Save", "&Save", 196, 8, 90, 25);

    CheckBox_Full_Screen = build::Check(Owner, S, "CheckBox_Full_Screen", Label_Full_Screen,
                                        "Label_Full_Screen", "Full Screen", 8, 48);
    CheckBox_Form_Style = build::Check(Owner, S, "CheckBox_Form_Style", Label_Form_Style,
                                       "Label_Form_Style", "Stay On Top", 8, 72);
    CheckBox_Show_Hint = build::Check(Owner, S, "CheckBox_Show_Hint", Label_Show_Hint,
                                      "Label_Show_Hint", "Show hints", 8, 96);
    CheckBox_checkPassword = build::Check(Owner, S, "CheckBox_checkPassword", Label_checkPassword,
                                          "Label_checkPassword", "Check password", 8, 120);
    CheckBox_Show_Auxiliary =
        build::Check(Owner, S, "CheckBox_Show_Auxiliary", Label_Show_Auxiliary,
                     "Label_Show_Auxiliary", "Show auxiliary parameters ", 8, 144);

    GroupBox_Language = build::Group(Owner, S, "GroupBox_Language", "Language", 8, 180, 360, 96);
    ComboBox_Language = build::Make<TComboBox>(Owner, GroupBox_Language, "ComboBox_Language", 10, 24, 200, 22);
    ComboBox_Language->Style(TCombo_Style::Drop_Down);
    Button_Setup_Font = build::Button(Owner, GroupBox_Language, "Button_Setup_Font", "Font", 220, 22, 80, 25);
    CheckBox_English_Menu =
        build::Check(Owner, GroupBox_Language, "CheckBox_English_Menu", Label_English_Menu,
                     "Label_English_Menu", "English menu", 10, 60);

    GroupBox_Config_Files =
        build::Group(Owner, S, "GroupBox_Config_Files", "Configuration Files", 8, 286, 360, 80);
    CheckBox_SaveLoadData =
        build::Check(Owner, GroupBox_Config_Files, "CheckBox_SaveLoadData", Label_SaveLoadData,
                     "Label_SaveLoadData", "Save/Load now CFG and CLB information", 10, 24);
    CheckBox_Transmit_Now =
        build::Check(Owner, GroupBox_Config_Files, "CheckBox_Transmit_Now", Label_Transmit_Now,
                     "Label_Transmit_Now", "Transmit Now After Change", 10, 48);

    GroupBox_Setup_Ports = build::Group(Owner, S, "GroupBox_Setup_Ports", "Setup Ports", 384, 48, 380, 96);
    Label_Port_Name = build::Label(Owner, GroupBox_Setup_Ports, "Label_Port_Name", "Port Name", 10, 26);
    Edit_Port_Name = build::Make<TEdit>(Owner, GroupBox_Setup_Ports, "Edit_Port_Name", 90, 22, 180, 22);
    Button_Setup_Port = build::Button(Owner, GroupBox_Setup_Ports, "Button_Setup_Port", "Setup Port", 278, 20, 92, 25);
    CheckBox_Search_Port =
        build::Check(Owner, GroupBox_Setup_Ports, "CheckBox_Search_Port", Label_Search_Port,
                     "Label_Search_Port", "Auto Search", 10, 60);

    GroupBox_Reply_Delay =
        build::Group(Owner, S, "GroupBox_Reply_Delay", "Reply Delay", 384, 154, 380, 60);
    // An edit with its up-down at its right edge, 1..999 in steps of 5.
    auto Delay_Edit = [this, Owner](TEdit*& Edit, const std::string& Edit_Name, TUpDown*& Up_Down,
                             const std::string& Up_Down_Name, int Left, int Position) {
        Edit = build::Make<TEdit>(Owner, GroupBox_Reply_Delay, Edit_Name, Left, 24, 60, 22);
        Up_Down = build::Make<TUpDown>(Owner, GroupBox_Reply_Delay, Up_Down_Name, Left + 60, 24, 17, 22);
        Up_Down->Min(1);
        Up_Down->Max(999);
        Up_Down->Increment(5);
        Up_Down->Associate(Edit);
        Up_Down->Position(Position);
    };
    Delay_Edit(Edit_Reply_Delay, "Edit_Reply_Delay", UpDown_Reply_Delay, "UpDown_Reply_Delay", 10, 60);
    Delay_Edit(Edit_INI_Delay_Compensation, "Edit_INI_Delay_Compensation",
               UpDown_INI_Delay_Compensation, "UpDown_INI_Delay_Compensation", 120, 100);

    // A label beside a check box toggles it.
    auto Toggle = [](TLabel* Label, TCheckBox* Box) {
        Label->OnClick = [Box](TObject*) { Box->Checked(!Box->Checked()); };
    };
    Toggle(Label_Full_Screen, CheckBox_Full_Screen);
    Toggle(Label_Form_Style, CheckBox_Form_Style);
    Toggle(Label_Show_Hint, CheckBox_Show_Hint);
    Toggle(Label_checkPassword, CheckBox_checkPassword);
    Toggle(Label_Show_Auxiliary, CheckBox_Show_Auxiliary);
    Toggle(Label_English_Menu, CheckBox_English_Menu);
    Toggle(Label_SaveLoadData, CheckBox_SaveLoadData);
    Toggle(Label_Transmit_Now, CheckBox_Transmit_Now);
    Toggle(Label_Search_Port, CheckBox_Search_Port);
}

void Main_Form_Settings::Bind_Part(TForm_KardunGAS& Form)
{
    Part_Hooks.Bind("Settings_Hooks.To_Form", Settings_Hooks.To_Form,
                    [&Form] { Form.Settings_To_Form(); });
    Part_Hooks.Bind("Settings_Hooks.Mark_Controls", Settings_Hooks.Mark_Controls, [this] {
        ComboBox_Language->Color(Colour_From_File);
        Edit_Port_Name->Color(Colour_From_File);
    });
    Part_Hooks.Bind("Settings_Hooks.Load_Button_Enable", Settings_Hooks.Load_Button_Enable,
                    [this](bool On) { Button_INI_Load->Enabled(On); });
    Part_Hooks.Bind("Settings_Hooks.Reply_Delay_Colour", Settings_Hooks.Reply_Delay_Colour,
                    [this] { Settings_Reply_Delay_Colour(); });
    // The language, the English menu and the hints apply at once.
    ComboBox_Language->OnChange = [&Form](TObject* Sender) { Form.ComboBox_LanguageChange(Sender); };
    CheckBox_English_Menu->OnClick = [this, &Form](TObject*) {
        Settings.English_Menu = CheckBox_English_Menu->Checked();
        Form.English_Menu_Apply();
        Form.Update_Main_Caption();
    };
    CheckBox_Show_Hint->OnClick = [this, &Form](TObject*) {
        Settings.Show_Hint = CheckBox_Show_Hint->Checked();
        Form.Show_Hint_Apply();
    };
}

void Main_Form_Settings::Settings_Reply_Delay_Colour()
{
    Edit_Reply_Delay->Color(Settings.Reply_Delay == Default_Reply_Delay ? clWindow
                                                                        : Colour_Changed_Value);
}
