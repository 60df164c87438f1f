// The main window's side of the port search and the port setup: the "I" button that starts
// a search, the Settings page's "Setup Port" button, and what the search window asks of
// this window (open a port, show its name, the no-port face).
#include "data/Globals.h"
#include "data/Settings.h"
#include "language/Language.h"
#include "main/Main_Form.h"
#include "windows/Port_Window.h"

void TForm_KardunGAS::Button_Select_ComPortClick(TObject* Sender)
{
    if (Form_Port)
        Form_Port->Search_Ports();
}

void TForm_KardunGAS::Button_Setup_PortClick(TObject* Sender)
{
    // Cancel changes nothing: the link stays as it is.
    if (!ComPort->RunSetupDialog())
        return;
    Edit_Port_Name->Text(ComPort->Port());
    Settings.Port_Name = ComPort->Port();
    Preferred_Port = Settings.Port_Name;
    // A port that is not listed is kept in the settings but not opened.
    if (Port_Exists()) {
        Panel_PortStatus->Caption(Settings.Port_Name);
        Reopen_Port();
    }
}

bool TForm_KardunGAS::Open_Search_Port()
{
    Reopen_Port();
    if (ComPort->Connected() && !ComPortError)
        return true;
    // The device did not open: the port is shown closed, not as an open port in error.
    ComPort->Close();
    return false;
}

void TForm_KardunGAS::Show_No_Port()
{
    Panel_PortStatus->Caption(Language_Text("No_port"));
    Panel_PortStatus->Color(clRed);
    Button_Select_ComPort->Visible(true);
    Panel_ProtokolStatus->Visible(false);
    Edit_Port_Name->Text("");
    Button_Setup_Port->Enabled(false);
}

void TForm_KardunGAS::Bind_Port_Search()
{
    Button_Select_ComPort->OnClick = [this](TObject* Sender) { Button_Select_ComPortClick(Sender); };
    Button_Setup_Port->OnClick = [this](TObject* Sender) { Button_Setup_PortClick(Sender); };
    Link_Hooks.Bind("Port_Window_Hooks.Main_Open_Port", Port_Window_Hooks.Main_Open_Port,
                    [this] { return Open_Search_Port(); });
    Link_Hooks.Bind("Port_Window_Hooks.Main_Port_Name_Show", Port_Window_Hooks.Main_Port_Name_Show,
                    [this](const std::string& Text) { Edit_Port_Name->Text(Text); });
    Link_Hooks.Bind("Port_Window_Hooks.Main_Port_Status_Show", Port_Window_Hooks.Main_Port_Status_Show,
                    [this](const std::string& Text) { Panel_PortStatus->Caption(Text); });
    Link_Hooks.Bind("Port_Window_Hooks.Main_No_Port", Port_Window_Hooks.Main_No_Port,
                    [this] { Show_No_Port(); });
    Link_Hooks.Bind("Port_Window_Hooks.Main_Setup_Port_Enable", Port_Window_Hooks.Main_Setup_Port_Enable,
                    [this](bool On) { Button_Setup_Port->Enabled(On); });
}
