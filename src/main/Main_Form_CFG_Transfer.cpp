// The Configuration and Calibration pages' transfer and file buttons, and the send-now
// entry of the page editors. A button never writes to the port: it sets the request code
// the sequencer serves at its next check point.
#include <string>

#include "data/Car_Search.h"
#include "data/Configuration.h"
#include "data/Globals.h"
#include "data/Key_File.h"
#include "data/Settings.h"
#include "main/Main_Form.h"
#include "platform/system/Files.h"
#include "protocol/CFG_File.h"
#include "protocol/Script.h"
#include "protocol/Write_Lists.h"
#include "protocol/Request_Codes.h"

namespace {

constexpr const char* History_Subfolder = "/History";
// A file named so from an earlier save without a car number is offered as this instead.
constexpr const char* Bare_Extension = ".cfg";
constexpr const char* Temp_File = "Temp.cfg";

}  // namespace

void TForm_KardunGAS::CFG_Parameter_Changed(uint8_t Code)
{
    // A change in the compact window is sent at once, whatever the setting.
    if (MiniCFG_Open) {
        MiniCFG_Parameter_Changed(Code);
        return;
    }
    // Values loaded by code, a setting that sends only on Transmitt, no controller or a
    // window held by a message: the change stays on the page until it is written whole.
    if (!UI_Ready || !Settings.Transmit_Now || !Connected || !Enabled())
        return;
    MiniCFG_Parameter_Changed(Code);
    // A new stamp must reach the controller with the write it belongs to: the letters' list
    // write closes with 'A' and carries it, the table's write carries none. Stamped for the
    // table, the car file (saved after that write) would name an identity the controller
    // never got, and the next read would report the configuration as changed.
    if (Code != RPM_Tab_Request_Code)
        Date_Save_Stamp();
}

void TForm_KardunGAS::CFG_Transmit()
{
    if (!Connected)
        return;
    CFG_Transmit_Request();
    CFG_Transmit_Car_Number();
}

void TForm_KardunGAS::CFG_Transmit_Request()
{
    Ask_Request(Request_Write_All);
    Work_Script_Select = Request_Write_All;
    Date_Save_Stamp();
}

void TForm_KardunGAS::Button_CFG_TransmittClick(TObject* Sender)
{
    if (Connected)
        CFG_Transmit();
}

void TForm_KardunGAS::Button_CFG_ReceivClick(TObject* Sender)
{
    CFG_Loaded_For_Write = false;
    if (Connected)
        Ask_Request(Request_Read_All);
}

void TForm_KardunGAS::Button_CFG_DefaultClick(TObject* Sender)
{
    Set_Default_Configuration();
    Show_Configuration(*this);
    if (Settings.Save_Load_Data)
        Button_CLB_DefaultClick(Sender);
    RPM_Tab_Default();
}

void TForm_KardunGAS::Button_CFG_SaveClick(TObject* Sender)
{
    const std::string History = Settings.CFG_File_Path + History_Subfolder;
    if (sys::Folder_Exists(History))
        sys::Set_Folder_Hidden(History, true);
    SaveDialog_Configuration->InitialDir(Settings.CFG_File_Path);
    SaveDialog_Configuration->FileName(Settings.CFG_File_Name == CFG_No_File ? "" : Settings.CFG_File_Name);
    if (!SaveDialog_Configuration->Execute() || !Split_Path(SaveDialog_Configuration->FileName()))
        return;
    const CFG_File_Choice File{Split_Dir, Split_File_Name, ""};
    if (Connected) {
        // The file goes with the request and becomes the current one when it runs: a Save
        // and a Load waiting together each keep their own file.
        Ask_Request(Request_Save, File);
        Enable_Link_Buttons(false);
        return;
    }
    CFG_File_Commit(Request_Save, File);
    Save_CFG_File();
}

void TForm_KardunGAS::Button_CFG_LoadClick(TObject* Sender)
{
    const std::string History = Settings.CFG_File_Path + History_Subfolder;
    if (sys::Folder_Exists(History))
        sys::Set_Folder_Hidden(History, false);
    OpenDialog_Configuration->InitialDir(Settings.CFG_File_Path);
    OpenDialog_Configuration->FileName("");
    if (Settings.CFG_File_Name != CFG_No_File) {
        const std::string Name = Settings.CFG_File_Name == Bare_Extension ? Temp_File : Settings.CFG_File_Name;
        if (sys::File_Exists(Settings.CFG_File_Path + "/" + Name))
            OpenDialog_Configuration->FileName(Name);
    }
    if (!OpenDialog_Configuration->Execute())
        return;
    const std::string Chosen = OpenDialog_Configuration->FileName();
    if (!Split_Path(Chosen))
        return;
    // A copy chosen inside the History tree is read from where it lies; a later save goes
    // to its car's own file.
    const History_Split_Class File = Split_History_Path(Split_Dir, Split_File_Name);
    CFG_Load_Chosen(File.Path, File.Name, File.Load_Path);
}

void TForm_KardunGAS::CFG_Load_Chosen(const std::string& Dir, const std::string& Name, const std::string& Path)
{
    const CFG_File_Choice File{Dir, Name, Path};
    if (Connected) {
        Ask_Request(Request_Load, File);
        Enable_Link_Buttons(false);
        return;
    }
    CFG_File_Commit(Request_Load, File);
    Load_CFG_File();
}

void TForm_KardunGAS::Button_CFG_ST_RefreshClick(TObject* Sender)
{
    Ask_Request(Request_Service_Time_Read);
}

// ---------------------------------------------------------------- the Calibration page

void TForm_KardunGAS::Button_CLB_LoadClick(TObject* Sender) { Button_CFG_LoadClick(Sender); }

void TForm_KardunGAS::Button_CLB_SaveClick(TObject* Sender) { Button_CFG_SaveClick(Sender); }

void TForm_KardunGAS::Button_CLB_TransmittClick(TObject* Sender)
{
    // With Save_Load_Data the configuration goes with the curves.
    if (Settings.Save_Load_Data)
        Button_CFG_TransmittClick(Sender);
    else
        CLB_Transmit_Script();
}

void TForm_KardunGAS::CLB_Transmit_Script()
{
    if (!Connected)
        return;
    Ask_Request(Request_Write_CLB_First);
    Work_Script_Select = Request_Write_CLB_First;
    Date_Save_Stamp();
    CFG_Transmit_Car_Number();
}
