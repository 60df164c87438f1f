#include "windows/Loader_Window.h"

#include <algorithm>
#include <climits>

#include "data/Call_Hook.h"
#include "data/Globals.h"
#include "data/Settings.h"
#include "language/Language.h"
#include "language/Language_Fonts.h"
#include "platform/system/Files.h"
#include "protocol/Frames.h"
#include "protocol/Loader.h"
#include "protocol/Protocol_Hooks.h"
#include "protocol/Script.h"
#include "windows/Form_Build.h"
#include "windows/MSG.h"

TForm_Loader* Form_Loader = nullptr;
Loader_Window_Hooks_Class Loader_Window_Hooks;

const English_Pair English_Text_Loader[] = {
    {"Form_Loader", "Loader"},
    {"Label_Connect_Loader", "Connect with loader"},
    {"Panel_Connect_Loader", "Connection, version"},
    {"Panel_Desconnect_Loader", "No connection"},
    {"GroupBox_Loader", "Loaded file inforamation"},
    {"Label_Loader_File_Name", "Name"},
    {"Label_Loader_File_Data", "Data"},
    {"Label_Loader_File_Ver", "Version"},
    {"Label_Loader_Prompt", "The present ECU cannot change the program. Available only from version"},
    {"Label_Loader_Check_Version", "auto cheking version"},
    {"Loader_Save_CFG", "Configuration data is saved to a file"},
    {"Loader_File_Error", "Error in file"},
    {"Compatible_File_Error", "Not compatible system and HEX file"},
    {"Loader_Error_Version_From",
     "It is possible to download the program into ECU to beginning with versions"},
    {"Loader_Error_Version_To", "and up to"},
    {"Button_Loader_Browse", "Browse"},
    {"Button_Loader_Load", "Load"},
    {"Button_Loader_Exit", "Exit"},
    {"Label_Loader_Prompt_off",
     "Turn the ignition off and wait desconnect of the program. PROGRAM DOES NOT CLOSE ! NOT "
     "DISCONNECT ADAPTER !"},
    {"Label_Loader_Prompt_on",
     "Switch on the ignition and after the connection, select the file by clicking \"Browse\""},
    {"Loader_Load_Not_Complete", "The load did not complete. Load the file again"},
    {"Loader_Load_Resumes", "The load was interrupted. It starts again from the first record when the loader answers"},
};
const std::size_t English_Text_Loader_Size = sizeof English_Text_Loader / sizeof English_Text_Loader[0];

namespace {

constexpr int Prompt_Blink_Ms = 1000;
// Boot loaders below this version cannot take a program while the controller was running.
constexpr int Loader_Version_Entry_Min = 5;
// The error box's place: a character of its text taken as 6 pixels wide, the box as 115
// pixels high.
constexpr int Box_Char_Width = 6;
constexpr int Box_Margin = 20;
constexpr int Box_Height = 115;

const char* const Dialog_Title = "Open HEX file";
const char* const Dialog_Filter =
    "Loader HEX files (*_.hex)|*_.hex|All HEX files (*.hex)|*.hex|All files (*.*)|*.*";

// Layout: one column of rows, 12 pixels from the edges.
constexpr int Margin = 12;
constexpr int Inner_Width = TForm_Loader::Design_Client_Width - 2 * Margin;

}  // namespace

TForm_Loader::TForm_Loader(TComponent* Owner) : TForm(Owner)
{
    Name("Form_Loader");
    Caption("Loader");
    BorderIcons(biSystemMenu);
    BorderStyle(TBorder_Style::Single);
    Position(TPosition::Main_Form_Center);
    ClientWidth(Design_Client_Width);
    ClientHeight(Design_Client_Height);

    // The link: state and quality.
    Label_Connect_Loader = build::Label(this, this, "Label_Connect_Loader", "", Margin, 16);
    Panel_Connect_Loader = build::Make<TPanel>(this, this, "Panel_Connect_Loader", 150, 10, 232, 26);
    Panel_Connect_Loader->Caption("");
    Panel_Connect_Loader_PerCent =
        build::Make<TPanel>(this, this, "Panel_Connect_Loader_PerCent", 388, 10, Margin + Inner_Width - 388, 26);
    Panel_Connect_Loader_PerCent->Caption("0%");
    CheckBox_Loader_Check_Version =
        build::Make<TCheckBox>(this, this, "CheckBox_Loader_Check_Version", Margin, 46, 16, 17);
    CheckBox_Loader_Check_Version->Caption("");
    CheckBox_Loader_Check_Version->Enabled(false);   // shows, is not set by hand
    Label_Loader_Check_Version = build::Label(this, this, "Label_Loader_Check_Version", "", Margin + 20, 47);

    // The chosen file and what its information record says.
    Edit_Loader_File = build::Make<TEdit>(this, this, "Edit_Loader_File", Margin, 74, Inner_Width, 22);
    Edit_Loader_File->ReadOnly(true);
    GroupBox_Loader = build::Make<TGroupBox>(this, this, "GroupBox_Loader", Margin, 104, Inner_Width, 104);
    struct Info_Row {
        TLabel*& Label;
        const char* Label_Name;
        TEdit*& Edit;
        const char* Edit_Name;
    };
    const Info_Row Rows[] = {
        {Label_Loader_File_Name, "Label_Loader_File_Name", Edit_Loader_File_Name, "Edit_Loader_File_Name"},
        {Label_Loader_File_Data, "Label_Loader_File_Data", Edit_Loader_File_Data, "Edit_Loader_File_Data"},
        {Label_Loader_File_Ver, "Label_Loader_File_Ver", Edit_Loader_File_Ver, "Edit_Loader_File_Ver"},
    };
    int Top = 22;
    for (const Info_Row& R : Rows) {
        R.Label = build::Label(this, GroupBox_Loader, R.Label_Name, "", 12, Top + 3);
        R.Edit = build::Make<TEdit>(this, GroupBox_Loader, R.Edit_Name, 96, Top, Inner_Width - 96 - 12, 22);
        R.Edit->ReadOnly(true);
        Top += 26;
    }

    // The prompt, the progress and the buttons.
    Label_Loader_Prompt = build::Make<TLabel>(this, this, "Label_Loader_Prompt", Margin, 214, Inner_Width, 44);
    Label_Loader_Prompt->AutoSize(false);
    Label_Loader_Prompt->WordWrap(true);
    Label_Loader_Prompt->Alignment(TAlignment::Center);
    Label_Loader_Prompt->Layout(TText_Layout::Center);
    Gauge_Loader_Transmit = build::Make<TGauge>(this, this, "Gauge_Loader_Transmit", Margin, 264, Inner_Width, 20);
    Gauge_Loader_Transmit->ForeColor(clBlue);
    const int Button_Width = 110, Button_Top = 294, Button_Height = 30;
    Button_Loader_Browse = build::Make<TButton>(this, this, "Button_Loader_Browse", Margin, Button_Top,
                                         Button_Width, Button_Height);
    Button_Loader_Load = build::Make<TButton>(this, this, "Button_Loader_Load",
                                       (Design_Client_Width - Button_Width) / 2, Button_Top,
                                       Button_Width, Button_Height);
    Button_Loader_Exit = build::Make<TButton>(this, this, "Button_Loader_Exit",
                                       Design_Client_Width - Margin - Button_Width, Button_Top,
                                       Button_Width, Button_Height);

    Timer_Loader = new TTimer(this);
    Timer_Loader->Name("Timer_Loader");
    Timer_Loader->Enabled(false);
    Timer_Loader->Interval(Prompt_Blink_Ms);
    OpenDialog_Loader = new TOpenDialog(this);
    OpenDialog_Loader->Name("OpenDialog_Loader");

    English_Table_Register(English_Window_Table::Loader, English_Text_Loader, English_Text_Loader_Size);
    Apply_Texts();

    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnClose = [this](TObject* Sender, TClose_Action& Action) { FormClose(Sender, Action); };
    Button_Loader_Browse->OnClick = [this](TObject* Sender) { Button_Loader_BrowseClick(Sender); };
    Button_Loader_Load->OnClick = [this](TObject* Sender) { Button_Loader_LoadClick(Sender); };
    Button_Loader_Exit->OnClick = [this](TObject* Sender) { Button_Loader_ExitClick(Sender); };
    Label_Loader_Check_Version->OnClick = [this](TObject* Sender) { Label_Loader_Check_VersionClick(Sender); };
    Timer_Loader->OnTimer = [this](TObject* Sender) { Timer_LoaderTimer(Sender); };
    Bind_Loader();
}

TForm_Loader::~TForm_Loader()
{
    Loader_Hooks = Loader_Hooks_Class{};
    if (Form_Loader == this)
        Form_Loader = nullptr;
}

void TForm_Loader::Bind_Loader()
{
    Loader_Hooks.Connected_Show = [this] { Connected_Show(); };
    Loader_Hooks.Disconnected_Show = [this] { Disconnected_Show(); };
    Loader_Hooks.Show_Progress = [this] { Progress_Show(); };
    Loader_Hooks.Transfer_End = [this](bool Complete) { Transfer_End(Complete); };
    Loader_Hooks.File_Refused = [this](const std::string& File, const std::string& Key) {
        Show_File_Error(File, Key);
        Refuse_File();
    };
    Loader_Hooks.Exit = [this] {
        Call_Hook(Loader_Window_Hooks.Main_Enabled, true);
        if (!In_Close)
            Close();
    };
}

void TForm_Loader::Apply_Texts()
{
    Language_Load_File();
    Caption(Language_Find_Text("Form_Loader"));
    for (TLabel* L : {Label_Connect_Loader, Label_Loader_File_Name, Label_Loader_File_Data,
                      Label_Loader_File_Ver, Label_Loader_Prompt, Label_Loader_Check_Version})
        L->Caption(Language_Find_Text(L->Name()));
    GroupBox_Loader->Caption(Language_Find_Text(GroupBox_Loader->Name()));
    for (TButton* B : {Button_Loader_Browse, Button_Loader_Load, Button_Loader_Exit})
        B->Caption(Language_Find_Text(B->Name()));
    Language_Release();
    std::string English;
    if (English_Menu_Caption("Form_Loader", English))
        Caption(English);

    Font_Set_Form(this);
    for (TPanel* P : {Panel_Connect_Loader, Panel_Connect_Loader_PerCent})
        Font_Set_Panel(P);
    for (TLabel* L : {Label_Connect_Loader, Label_Loader_File_Name, Label_Loader_File_Data,
                      Label_Loader_File_Ver, Label_Loader_Prompt, Label_Loader_Check_Version})
        Font_Set_Label(L);
    Font_Set_GroupBox(GroupBox_Loader);
    for (TEdit* E : {Edit_Loader_File, Edit_Loader_File_Name, Edit_Loader_File_Data, Edit_Loader_File_Ver})
        Font_Set_Edit(E);
    for (TControl* C : std::initializer_list<TControl*>{Button_Loader_Browse, Button_Loader_Load,
                                                        Button_Loader_Exit, Gauge_Loader_Transmit})
        Font_Set_Control(C);
}

// ---------------------------------------------------------------- showing and leaving

void TForm_Loader::FormShow(TObject* Sender)
{
    Loader_Window_Active = true;
    Loader_Version_Text.clear();
    Apply_Texts();
    Loader_Mode = true;
    Button_Loader_Load->Enabled(false);
    Gauge_Loader_Transmit->Visible(false);
    GroupBox_Loader->Visible(false);
    Edit_Loader_File->Visible(false);
    // Entered from a running controller: its boot loader version decides the prompt at the
    // first poll reply.
    Loader_Prompt_State = Connected ? 0 : 1;
    Timer_Loader->Enabled(false);
    Label_Loader_Prompt->Visible(false);
    Button_Loader_Browse->Enabled(true);
    Link_Timer_Sending.Enabled(false);
    Call_Hook(Loader_Window_Hooks.Main_Not_Connected);
    Call_Hook(Loader_Window_Hooks.Main_Enabled, false);
    Label_Connect_Loader->Visible(true);
    Panel_Connect_Loader->Visible(true);
    Load_Note_Show(Load_Note::None);
    // A transfer left unfinished by an earlier Exit does not start again.
    Loader_Resume = false;
    Loader_Disconnected();
    Send_Loader_Poll();
    if (Loader_File_Open)
        Loader_Close_File();
}

void TForm_Loader::Button_Loader_ExitClick(TObject* Sender)
{
    Load_Note_Show(Load_Note::None);
    Loader_Close_File();
    Loader_Prompt_State = 0;
    Loader_Window_Active = false;
    Timer_Loader->Enabled(false);
    Call_Hook(Loader_Window_Hooks.Main_Form_Style);
    // Connected: the loader is left at its next reply; otherwise at once.
    if (Loader_Connected)
        Ask_Request(Loader_Request_Exit, Request_Target::Loader);
    else
        Loader_Exit_Normal();
}

void TForm_Loader::FormClose(TObject* Sender, TClose_Action& Action)
{
    // The close box leaves the loader as Exit does; while the loader still has to be told,
    // the window stays until its next reply.
    if (!Loader_Mode)
        return;
    In_Close = true;
    Button_Loader_ExitClick(Sender);
    In_Close = false;
    if (Loader_Mode)
        Action = TClose_Action::None;
}

void TForm_Loader::Label_Loader_Check_VersionClick(TObject* Sender)
{
    CheckBox_Loader_Check_Version->Checked(!CheckBox_Loader_Check_Version->Checked());
}

void TForm_Loader::Timer_LoaderTimer(TObject* Sender)
{
    TFont& F = Label_Loader_Prompt->Font();
    F.Color(F.Color() == clRed ? clGreen : clRed);
}

// ---------------------------------------------------------------- link state

void TForm_Loader::Disconnected_Show()
{
    Button_Loader_Load->Enabled(false);
    Panel_Connect_Loader->Color(clRed);
    Panel_Connect_Loader->Font().Color(clWhite);
    Panel_Connect_Loader->Caption(Language_Text("Panel_Desconnect_Loader"));
    if (Loader_Resume)
        Load_Note_Show(Load_Note::Resumes);
    if (Loader_Prompt_State != 0 && Load_Note_Shown == Load_Note::None) {
        TFont& F = Label_Loader_Prompt->Font();
        F.Color(clBlue);
        F.Style(fsBold);
        Timer_Loader->Enabled(false);
        Label_Loader_Prompt->Caption(Language_Text("Label_Loader_Prompt_on"));
    }
}

void TForm_Loader::Connected_Show()
{
    Panel_Connect_Loader->Color(clLime);
    Panel_Connect_Loader->Font().Color(clBlue);
    Panel_Connect_Loader->Caption(Language_Text("Panel_Connect_Loader") + " : " + Loader_Version_Text);
    // While a transfer runs, or starts again now, its file stays as it is.
    Button_Loader_Browse->Enabled(!Loader_Transfer_Running());
    Button_Loader_Load->Enabled(Gauge_Loader_Transmit->Visible() && !Loader_Transfer_Running());
    if (Loader_Prompt_State != 0) {
        if (Load_Note_Shown == Load_Note::None)
            Label_Loader_Prompt->Visible(false);
        return;
    }
    Loader_Prompt_State = 1;
    if (Loader_Version < Loader_Version_Entry_Min) {
        // This boot loader cannot be entered from the running program: the ignition has to
        // go off and on again.
        Button_Loader_Browse->Enabled(false);
        TFont& F = Label_Loader_Prompt->Font();
        F.Color(clRed);
        F.Style(fsBold | fsUnderline);
        Label_Loader_Prompt->Caption(Language_Text("Label_Loader_Prompt_off"));
        Label_Loader_Prompt->Visible(true);
        Timer_Loader->Enabled(true);
    }
}

// ---------------------------------------------------------------- progress

void TForm_Loader::Progress_Show()
{
    // The gauge counts in ints: a file above their range is shown in proportion.
    int64_t Position = Loader_Progress, Maximum = std::max<int64_t>(Loader_Progress_Max, 1);
    while (Maximum > INT_MAX) {
        Position /= 2;
        Maximum /= 2;
    }
    Gauge_Loader_Transmit->MaxValue(static_cast<int>(Maximum));
    Gauge_Loader_Transmit->Progress(static_cast<int>(std::clamp<int64_t>(Position, 0, Maximum)));
}

void TForm_Loader::Transfer_End(bool Complete)
{
    if (Complete) {
        Gauge_Loader_Transmit->ForeColor(clLime);
        Load_Note_Show(Load_Note::None);
        return;
    }
    // Given up: the technician may choose and load again, and is told that the controller
    // holds only part of the program.
    Progress_Show();
    Button_Loader_Browse->Enabled(true);
    Button_Loader_Load->Enabled(Loader_Connected);
    Load_Note_Show(Load_Note::Not_Complete);
}

void TForm_Loader::Load_Note_Show(Load_Note Note)
{
    // The prompt line says it until the load completes, or until the technician browses,
    // loads or leaves; the link's prompts wait meanwhile.
    struct Note_Look {
        const char* Key;
        TColor Colour;
    };
    static const Note_Look Looks[] = {
        {nullptr, clBlack},
        {"Loader_Load_Not_Complete", clRed},
        {"Loader_Load_Resumes", clBlue},
    };
    if (Note == Load_Note::None) {
        if (Load_Note_Shown != Load_Note::None)
            Label_Loader_Prompt->Visible(false);
        Load_Note_Shown = Note;
        return;
    }
    Load_Note_Shown = Note;
    const Note_Look& Look = Looks[static_cast<int>(Note)];
    Timer_Loader->Enabled(false);
    TFont& F = Label_Loader_Prompt->Font();
    F.Color(Look.Colour);
    F.Style(fsBold);
    Label_Loader_Prompt->Caption(Language_Text(Look.Key));
    Label_Loader_Prompt->Visible(true);
}

// ---------------------------------------------------------------- the file

void TForm_Loader::Show_File_Error(const std::string& File, const std::string& Key)
{
    std::string Message;
    Language_Text_Menu(Key, Message);
    const std::string Text = File + " " + Message;
    const int X = Left() + (Width() - Box_Char_Width * static_cast<int>(Text.size()) - Box_Margin) / 2;
    const int Y = Top() + (Height() - Box_Height) / 2;
    Message_Box(Text, TMsg_Kind::Information, TMsg_Buttons::OK, mrOk, std::max(X, 0), std::max(Y, 0));
}

void TForm_Loader::Refuse_File()
{
    Gauge_Loader_Transmit->Visible(false);
    Edit_Loader_File->Text("");
    Loader_File_Name.clear();
    for (TEdit* E : {Edit_Loader_File_Name, Edit_Loader_File_Data, Edit_Loader_File_Ver})
        E->Text("");
    Button_Loader_Load->Enabled(false);
}

void TForm_Loader::Button_Loader_BrowseClick(TObject* Sender)
{
    Load_Note_Show(Load_Note::None);
    File_Version_Code = 0;
    OpenDialog_Loader->Title(Dialog_Title);
    OpenDialog_Loader->Filter(Dialog_Filter);
    OpenDialog_Loader->DefaultExt("hex");
    OpenDialog_Loader->InitialDir(Program_Dir + "/HEX");
    if (!OpenDialog_Loader->Execute())
        return;
    const std::string File = OpenDialog_Loader->FileName();
    Edit_Loader_File->Visible(true);
    GroupBox_Loader->Visible(true);
    Button_Loader_Load->Enabled(Loader_Connected);
    // Without the loader the type to check against is unknown: Load checks it later.
    Firmware_Check Check;
    if (Loader_Connected)
        Check = Check_Firmware_File(File, Loader_Type);
    if (!Loader_Connected || Check.Ok) {
        Gauge_Loader_Transmit->ForeColor(clBlue);
        Gauge_Loader_Transmit->Progress(0);
        Gauge_Loader_Transmit->Visible(true);
        Edit_Loader_File->Text(File);
        Loader_File_Name = File;
        Edit_Loader_File_Name->Text(Check.Info.Name);
        Edit_Loader_File_Data->Text(Check.Info.Date);
        Edit_Loader_File_Ver->Text(Check.Info.Version);
        return;
    }
    Show_File_Error(File, Check.Error_Key);
    Refuse_File();
}

void TForm_Loader::Button_Loader_LoadClick(TObject* Sender)
{
    const std::string File = Edit_Loader_File->Text();
    if (File.empty() || !sys::File_Exists(File)) {
        Show_File_Error(File, Loader_File_Error_Key);
        Refuse_File();
        return;
    }
    Load_Note_Show(Load_Note::None);
    Loader_Resume = false;
    // Checked again against the loader that answers now (Browse may have chosen it without).
    Loader_File_Name = File;
    Firmware_Check Check;
    if (!Loader_Open_File(Check)) {
        Show_File_Error(File, Check.Error_Key);
        Refuse_File();
        return;
    }
    Edit_Loader_File_Name->Text(Check.Info.Name);
    Edit_Loader_File_Data->Text(Check.Info.Date);
    Edit_Loader_File_Ver->Text(Check.Info.Version);
    // The configuration is kept before the controller's program is replaced.
    Show_Message(Message_Type::Saved_Before_Loading, "", clBlue);
    if (!Ask_Hook(Loader_Window_Hooks.Save_Configuration, true, std::string(Loader_Save_File_Name))) {
        Loader_Close_File();
        Show_Message(Message_Type::Language_Key, "Error_Not_Save_Data", clRed);
        return;
    }
    Loader_Rewind_File();
    Gauge_Loader_Transmit->ForeColor(clBlue);
    Gauge_Loader_Transmit->Visible(true);
    Progress_Show();
    Ask_Request(Loader_Request_Start, Request_Target::Loader);
    Button_Loader_Browse->Enabled(false);
    Button_Loader_Load->Enabled(false);
}
