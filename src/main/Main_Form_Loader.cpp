// The main window's side of the firmware loader: the ways in (the About page's Loader
// button, a right click on the connection panel), what the loader window asks of the main
// window, and the configuration saved before a firmware transfer.
#include <cstdio>
#include <string>

#include "data/Globals.h"
#include "data/Settings.h"
#include "main/Main_Form.h"
#include "platform/system/Files.h"
#include "protocol/Loader.h"
#include "protocol/Protocol_Hooks.h"
#include "protocol/Script.h"
#include "windows/Loader_Window.h"
#include "protocol/Request_Codes.h"

namespace {

// Saves the configuration and calibration into `Name` in the configuration folder (made when
// missing), replacing an older copy, through the car file's save (which files the history
// copy): both groups whatever page is shown, the car's own file name kept.
bool Save_Loader_Configuration(const std::string& Name)
{
    if (!sys::Folder_Exists(Settings.CFG_File_Path)) {
        Settings.CFG_File_Path = Program_Dir + "/Config";
        if (!sys::Create_Folders(Settings.CFG_File_Path))
            return false;
    }
    if (!Protocol_Hooks.Save_CFG_File)
        return true;   // no configuration file routines: nothing to keep
    const std::string Path = Settings.CFG_File_Path + "/" + Name;
    if (sys::File_Exists(Path))
        std::remove(Path.c_str());
    const std::string Car_File = Settings.CFG_File_Name;
    const bool Both_Groups = Settings.Save_Load_Data;
    Settings.CFG_File_Name = Name;
    Settings.Save_Load_Data = true;
    Protocol_Hooks.Save_CFG_File();
    Settings.CFG_File_Name = Car_File;
    Settings.Save_Load_Data = Both_Groups;
    return sys::File_Exists(Path);
}

}  // namespace

void TForm_KardunGAS::Button_HEX_LoaderClick(TObject* Sender)
{
    FormStyle(TForm_Style::Normal);
    if (Form_Loader)
        Form_Loader->CheckBox_Loader_Check_Version->Checked(Connected);
    if (Connected)
        Ask_Request(Request_Loader_Entry);
    else if (Form_Loader)
        Form_Loader->Show();
}

void TForm_KardunGAS::Bind_Loader()
{
    Button_HEX_Loader->OnClick = [this](TObject* Sender) { Button_HEX_LoaderClick(Sender); };
    Panel_ConnectStatus->OnMouseDown = [this](TObject* Sender, TMouseButton Button, TShiftState,
                                              int, int) {
        if (Button == TMouseButton::Right)
            Button_HEX_LoaderClick(Sender);
    };
    Link_Hooks.Bind("Protocol_Hooks.Show_Loader_Window", Protocol_Hooks.Show_Loader_Window, [] {
        if (Form_Loader)
            Form_Loader->Show();
    });
    Link_Hooks.Bind("Loader_Window_Hooks.Main_Not_Connected", Loader_Window_Hooks.Main_Not_Connected,
                    [this] { Set_Not_Connected(); });
    Link_Hooks.Bind("Loader_Window_Hooks.Main_Enabled", Loader_Window_Hooks.Main_Enabled,
                    [this](bool On) { Enabled(On); });
    Link_Hooks.Bind("Loader_Window_Hooks.Main_Form_Style", Loader_Window_Hooks.Main_Form_Style, [this] {
        FormStyle(Settings.Form_Style ? TForm_Style::Stay_On_Top : TForm_Style::Normal);
    });
    Link_Hooks.Bind("Loader_Window_Hooks.Save_Configuration", Loader_Window_Hooks.Save_Configuration,
                    Save_Loader_Configuration);
}
