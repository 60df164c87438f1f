// The main window's side of the clients database window: the Configuration page's "View"
// that shows it, and the file it chooses, loaded as the page's Load does.
#include "data/Settings.h"
#include "main/Main_Form.h"
#include "windows/DTB_Window.h"

void TForm_KardunGAS::Button_CFG_User_ViewClick(TObject* Sender)
{
    if (Form_DTB)
        Form_DTB->Show();
}

void TForm_KardunGAS::Bind_DTB()
{
    Button_CFG_User_View->OnClick = [this](TObject* Sender) { Button_CFG_User_ViewClick(Sender); };
    // The file lies in the configuration folder itself: the folder stays, the name is the
    // file's, and it is read from the two joined.
    Link_Hooks.Bind("DTB_Window_Hooks.Load_File", DTB_Window_Hooks.Load_File, [this](const std::string& Name) {
        CFG_Load_Chosen(Settings.CFG_File_Path, Name, Settings.CFG_File_Path + "/" + Name);
    });
}
