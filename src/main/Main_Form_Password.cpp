// The main window's side of the access password: the lock on the pages, the caption with
// the name of who set the password, the connect script's question whether to read the
// password block, and the Configuration page's button that opens the password window.
#include "data/Calibration.h"
#include "data/Configuration.h"
#include "language/Language.h"
#include "main/Main_Form.h"
#include "protocol/Script.h"
#include "windows/Password_Window.h"

namespace {

// Script condition: password checking is active (the block is read at connection).
constexpr int Condition_Check_Password = 210;
// The program's version and date as the caption shows them.
constexpr const char* Caption_Product = "Roz Izoder  ";
constexpr const char* Caption_Version = "0.36";
constexpr const char* Caption_Date = "2014.06.18";
// Between the date and the name of who set the password.
constexpr const char* Caption_Name_Gap = "               ";

// A text of the caption: English while the English menu is on.
std::string Menu_Text(const std::string& Key)
{
    std::string Text;
    Language_Text_Menu(Key, Text);
    return Text;
}

}  // namespace

void TForm_KardunGAS::Bind_Password()
{
    Script_Set_Condition(Condition_Check_Password, [this] { return Label_checkPassword->Enabled(); });
    Link_Hooks.Add("Script condition 210", [] { Script_Set_Condition(Condition_Check_Password, nullptr); },
                   [] { return static_cast<bool>(Script_Condition_Slot(Condition_Check_Password)); });
    Link_Hooks.Bind("Password_Window_Hooks.Main_Pages_Enabled", Password_Window_Hooks.Main_Pages_Enabled,
                    [this](bool Enabled) { Pages_Enabled(Enabled); });
    Link_Hooks.Bind("Password_Window_Hooks.Main_First_Page", Password_Window_Hooks.Main_First_Page,
                    [this] { PageControl_KardunGAS->ActivePageIndex(0); });
    Link_Hooks.Bind("Password_Window_Hooks.Update_Main_Caption", Password_Window_Hooks.Update_Main_Caption,
                    [this] { Update_Main_Caption(); });
    Link_Hooks.Bind("Password_Window_Hooks.Main_Check_Password", Password_Window_Hooks.Main_Check_Password,
                    [this] { CheckBox_checkPassword->Checked(true); });
    Link_Hooks.Bind("Password_Window_Hooks.Factory_Defaults", Password_Window_Hooks.Factory_Defaults, [this] {
        Set_Default_Configuration();
        Show_Configuration(*this);
        Set_Default_Calibration_All();
        Draw_Calibration_Chart();
    });
    Button_CFG_User_Password->OnClick = [this](TObject* Sender) { Button_CFG_User_PasswordClick(Sender); };
}

void TForm_KardunGAS::Button_CFG_User_PasswordClick(TObject* Sender)
{
    if (Form_PSW)
        Form_PSW->Show();
}

void TForm_KardunGAS::Update_Main_Caption()
{
    std::string Text = std::string(Caption_Product) + Menu_Text("Version") + " " +
                       Caption_Version + "  " + Menu_Text("Date") + " " + Caption_Date;
    const std::string Name = Form_PSW ? Form_PSW->Edit_PSW_Name->Text() : std::string();
    if (Label_checkPassword->Enabled() && Main_Form_Shown && !Name.empty())
        Text += Caption_Name_Gap + Menu_Text("Label_PSW_Name") + " - " + Name;
    Caption(Text);
}
