// The handlers of the three thin pages: the Settings page (save, load and reset the program
// settings, the language, the font and the boxes that store a setting), the Errors page (the
// clear request, the read-only list) and the About page (help documents, the installation
// diagram, the read-only program edits).
#include <string>

#include "data/Configuration.h"
#include "data/Globals.h"
#include "data/Settings.h"
#include "main/Main_Form.h"
#include "platform/system/Files.h"
#include "platform/system/Shell.h"
#include "protocol/CFG_File.h"
#include "protocol/Script.h"
#include "windows/RPM_Window.h"
#include "protocol/Request_Codes.h"

namespace {

// Bit 0 of the error control word asks the controller to clear its error memory.
constexpr uint16_t Error_Clear_Bit = 0x0001;
// How many characters of the language name end a diagram's file name ("_Ger").
constexpr std::size_t Diagram_Language_Chars = 3;
// The diagram in English is the one every controller program has.
constexpr const char* Diagram_English_Suffix = "_Eng";
constexpr const char* Diagram_Extension = ".jpg";
// The dialogs' filters, as the technician has always seen them.
constexpr const char* Help_Filter = "Help (Documentation) files (*.pdf)|*.pdf|All files (*.*)|*.*";
constexpr const char* Diagram_Filter = "Scheme (Diagram) files (*.ipg)|*.jpg|All files (*.*)|*.*";

// An open dialog in Folder; the chosen file is handed to the desktop. Nothing when cancelled.
void Open_Chosen_File(TComponent* Owner, const std::string& Folder, const std::string& Filter)
{
    TOpenDialog Dialog(Owner);
    Dialog.InitialDir(Folder);
    Dialog.Filter(Filter);
    if (Dialog.Execute())
        sys::Shell_Open(Dialog.FileName());
}

}  // namespace

// ---------------------------------------------------------------- Settings page

void TForm_KardunGAS::Button_INI_SaveClick(TObject* Sender)
{
    Settings_Save_Begin();
    Settings_Save();
    OSC_Settings_Write();
    Settings_Save_End();
}

void TForm_KardunGAS::Button_INI_LoadClick(TObject* Sender)
{
    Settings_Load();
    Settings_To_Form();
}

void TForm_KardunGAS::Button_INI_DefaultClick(TObject* Sender)
{
    Settings_Default();
    Settings_To_Form();
    OSC_Settings_To_Controls();
    OSC_Rescale();
}

void TForm_KardunGAS::Button_Setup_FontClick(TObject* Sender)
{
    TFontDialog Dialog(this);
    Dialog.Font().Name(Settings.Font_Name);
    Dialog.Font().Charset(Settings.Font_Charset);
    if (!Dialog.Execute())
        return;
    Settings.Font_Name = Dialog.Font().Name();
    Settings.Font_Charset = Dialog.Font().Charset();
    Language_Fonts_Apply();
}

void TForm_KardunGAS::CheckBox_Form_StyleClick(TObject* Sender)
{
    Settings.Form_Style = CheckBox_Form_Style->Checked();
    FormStyle(Settings.Form_Style ? TForm_Style::Stay_On_Top : TForm_Style::Normal);
}

void TForm_KardunGAS::CheckBox_Show_AuxiliaryClick(TObject* Sender)
{
    Settings.Show_Auxiliary = CheckBox_Show_Auxiliary->Checked();
    Show_Auxiliary_Labels();
}

void TForm_KardunGAS::Reply_Delay_Changed()
{
    // The sweep's step timing follows both delays while its window exists.
    if (Form_RPM)
        Form_RPM->Calc_RPM_Timing();
}

void TForm_KardunGAS::UpDown_Reply_DelayClick(TObject* Sender, TUD_Button Button)
{
    Settings.Reply_Delay = UpDown_Reply_Delay->Position();
    Reply_Delay_Changed();
    Settings_Reply_Delay_Colour();
}

void TForm_KardunGAS::UpDown_INI_Delay_CompensationClick(TObject* Sender, TUD_Button Button)
{
    Settings.Delay_Compensation = UpDown_INI_Delay_Compensation->Position();
    Reply_Delay_Changed();
}

// ---------------------------------------------------------------- Errors page

void TForm_KardunGAS::Button_ERR_ClearClick(TObject* Sender)
{
    Error_Control_Word |= Error_Clear_Bit;
    if (Connected)
        Ask_Request(Request_Clear_Errors);
    Error_Memo_Shown = false;
}

void TForm_KardunGAS::Memo_ERR_HistoryClick(TObject* Sender)
{
    TabSheet_Errors->SetFocus();
}

// ---------------------------------------------------------------- About page

void TForm_KardunGAS::Button_About_HelpClick(TObject* Sender)
{
    Open_Chosen_File(this, Help_Dir, Help_Filter);
}

void TForm_KardunGAS::Button_About_DiagramClick(TObject* Sender)
{
    // A program name that could climb out of the language folder names no diagram.
    const std::string& Program = Configuration.Program_Name;
    if (CFG_File_Name_Valid(Program)) {
        const std::string Base = Language_Dir + "/" + Program;
        for (const std::string& Suffix :
             {"_" + Settings.Language.substr(0, Diagram_Language_Chars),
              std::string(Diagram_English_Suffix)}) {
            const std::string Path = Base + Suffix + Diagram_Extension;
            if (sys::File_Exists(Path)) {
                sys::Shell_Open(Path);
                return;
            }
        }
    }
    Open_Chosen_File(this, Language_Dir, Diagram_Filter);
}

void TForm_KardunGAS::Edit_About_VerClick(TObject* Sender)
{
    TabSheet_About->SetFocus();
}

// ---------------------------------------------------------------- bindings

void TForm_KardunGAS::Bind_Pages()
{
    // The boxes that only store their state.
    const std::pair<TCheckBox*, bool*> Stored_Boxes[] = {
        {CheckBox_Full_Screen, &Settings.Full_Screen},
        {CheckBox_Transmit_Now, &Settings.Transmit_Now},
        {CheckBox_SaveLoadData, &Settings.Save_Load_Data},
        {CheckBox_Search_Port, &Settings.Search_Port},
        {CheckBox_checkPassword, &Settings.CheckPassword},
    };
    // Captured by name, not as a structured binding (which clang before 16 cannot capture).
    for (const auto& Stored : Stored_Boxes)
        Stored.first->OnClick = [Box = Stored.first, Setting = Stored.second](TObject*) {
            *Setting = Box->Checked();
        };

    auto Click = [this](void (TForm_KardunGAS::*Handler)(TObject*)) {
        return [this, Handler](TObject* Sender) { (this->*Handler)(Sender); };
    };
    Button_INI_Save->OnClick = Click(&TForm_KardunGAS::Button_INI_SaveClick);
    Button_INI_Load->OnClick = Click(&TForm_KardunGAS::Button_INI_LoadClick);
    Button_INI_Default->OnClick = Click(&TForm_KardunGAS::Button_INI_DefaultClick);
    Button_Setup_Font->OnClick = Click(&TForm_KardunGAS::Button_Setup_FontClick);
    CheckBox_Form_Style->OnClick = Click(&TForm_KardunGAS::CheckBox_Form_StyleClick);
    CheckBox_Show_Auxiliary->OnClick = Click(&TForm_KardunGAS::CheckBox_Show_AuxiliaryClick);
    UpDown_Reply_Delay->OnClick = [this](TObject* Sender, TUD_Button Button) {
        UpDown_Reply_DelayClick(Sender, Button);
    };
    UpDown_INI_Delay_Compensation->OnClick = [this](TObject* Sender, TUD_Button Button) {
        UpDown_INI_Delay_CompensationClick(Sender, Button);
    };
    Button_ERR_Clear->OnClick = Click(&TForm_KardunGAS::Button_ERR_ClearClick);
    Memo_ERR_Current->OnClick = Click(&TForm_KardunGAS::Memo_ERR_HistoryClick);
    Button_About_Help->OnClick = Click(&TForm_KardunGAS::Button_About_HelpClick);
    Button_About_Diagram->OnClick = Click(&TForm_KardunGAS::Button_About_DiagramClick);
    for (TEdit* E : {Edit_About_Ver, Edit_About_Date, Edit_About_Work_Gas, Edit_About_Work_Petrol})
        E->OnClick = Click(&TForm_KardunGAS::Edit_About_VerClick);
}
