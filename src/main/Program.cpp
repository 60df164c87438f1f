#include "main/Program.h"

#include "data/Globals.h"
#include "data/Settings.h"
#include "data/Text_Util.h"
#include "main/Main_Form.h"
#include "platform/system/Catalogues.h"
#include "platform/system/Files.h"
#include "platform/system/Single_Instance.h"
#include "platform/system/Stop_Signals.h"
#include "protocol/Script.h"
#include "windows/DTB_Window.h"
#include "windows/Drive_Window.h"
#include "windows/ICO_Window.h"
#include "windows/Loader_Window.h"
#include "windows/MiniCFG_Window.h"
#include "windows/MSG.h"
#include "windows/Password_Window.h"
#include "windows/Port_Window.h"
#include "windows/RPM_Window.h"

std::string Program_File = Built_In_Exe_Name;
std::string Catalogue_Folder;

namespace {


// The program's windows in the order they are created (main window, clients database,
// loader, RPM sensitivity, test drive, port search, password, compact configuration,
// message, big-digit indicator), the first being the main window: how each is created and
// where it is found. A window takes its row at its place in the order.
struct Program_Window {
    void (*Create)();
    TForm* (*Instance)();
};
const Program_Window Program_Windows[] = {
    {[] { Application->CreateForm(Form_KardunGAS); }, []() -> TForm* { return Form_KardunGAS; }},
    {[] { Application->CreateForm(Form_DTB); }, []() -> TForm* { return Form_DTB; }},
    {[] { Application->CreateForm(Form_Loader); }, []() -> TForm* { return Form_Loader; }},
    {[] { Application->CreateForm(Form_RPM); }, []() -> TForm* { return Form_RPM; }},
    {[] { Application->CreateForm(Form_MV_Drive); }, []() -> TForm* { return Form_MV_Drive; }},
    {[] { Application->CreateForm(Form_Port); }, []() -> TForm* { return Form_Port; }},
    {[] { Application->CreateForm(Form_PSW); }, []() -> TForm* { return Form_PSW; }},
    {[] { Application->CreateForm(Form_MiniCFG); }, []() -> TForm* { return Form_MiniCFG; }},
    {[] { Application->CreateForm(Form_MSG); }, []() -> TForm* { return Form_MSG; }},
    // The big-digit windows keep the built-in icon.
    {[] { Application->CreateForm(Form_ICO); }, []() -> TForm* { return nullptr; }},
};

}  // namespace

void Create_Windows()
{
    for (const Program_Window& W : Program_Windows)
        W.Create();
}

void Start_Up()
{
    // Dialog captions and port error texts in the user's language from here on.
    sys::Bind_Catalogues(Catalogue_Folder);
    // A program file under another name may bring its own icon.
    if (!Same_Text(Exe_Name, Built_In_Exe_Name)) {
        const std::string Icon_Path = Program_File_Path(Exe_Name + ".ico");
        TIcon Icon;
        if (sys::File_Exists(Icon_Path) && Icon.LoadFromFile(Icon_Path)) {
            if (Application)
                Application->Icon(Icon);
            for (const Program_Window& W : Program_Windows)
                if (TForm* Form = W.Instance())
                    Form->Icon(Icon);
        }
    }
    // Search the ports when the settings ask for it; else open the configured port when it
    // is listed; otherwise the probe stays armed and the send timer reopens the port once
    // it is listed.
    if (Settings.Search_Port && Form_Port) {
        Form_Port->Search_Ports();
    } else if (Port_Exists()) {
        try {
            Form_KardunGAS->ComPort->SetPort(Settings.Port_Name);
            Form_KardunGAS->ComPort->Open();
        } catch (const EComPort&) {
            ComPortError = true;
            Form_KardunGAS->Set_Port_Closed();
        }
    } else {
        Script_Connect();
    }
}

void Announce_Main_Window()
{
    sys::Announce_Window_Class("TForm_KardunGAS", [] {
        if (Form_KardunGAS)
            Form_KardunGAS->Close();
    });
}

void Withdraw_Main_Window()
{
    sys::Withdraw_Window_Class("TForm_KardunGAS");
}

int Program_Run(int argc, char** argv)
{
    TApplication App(&argc, argv);
    Application->Initialize();
    if (argc > 0 && argv[0])
        Program_File = argv[0];
    // A running copy (or a sibling program) is asked to close.
    sys::Close_Running_Program();
    Application->Title(Application_Title);
    Create_Windows();
    Start_Up();
    Announce_Main_Window();
    // A termination request from the system (log-out, kill) closes the main window as the
    // user would, so that the settings are written.
    sys::Watch_Stop_Signals([] {
        if (Form_KardunGAS)
            Form_KardunGAS->Close();
    });
    const int Result = Application->Run();
    sys::Stop_Watching_Signals();
    Withdraw_Main_Window();
    return Result;
}
