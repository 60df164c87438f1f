#include "windows/Password_Window.h"

#include <algorithm>

#include "data/Call_Hook.h"
#include "data/Globals.h"
#include "data/Message_Types.h"
#include "data/Settings.h"
#include "data/Text_Util.h"
#include "language/Language.h"
#include "language/Language_Fonts.h"
#include "platform/system/Date_Time.h"
#include "protocol/Frames.h"
#include "protocol/Protocol_Hooks.h"
#include "protocol/Script.h"
#include "windows/Control_Text.h"
#include "windows/Form_Build.h"
#include "windows/MSG.h"
#include "protocol/Request_Codes.h"

TForm_PSW* Form_PSW = nullptr;
Password_State_Class Password_State;
Password_Window_Hooks_Class Password_Window_Hooks;

const English_Pair English_Text_Password[] = {
    {"Form_PSW", "Setting password and control"},
    {"Label_PSW_Prompt", "Remaining free symbols"},
    {"Label_PSW_Input", "Enter password"},
    {"Label_PSW_pass2", "Repeat password"},
    {"Label_PSW_Date", "Setting date"},
    {"Label_PSW_Name", "By setting"},
    {"Label_PSW_Phone", "Phone"},
    {"Label_PSW_Comm", "Comments"},
    {"Button_PSW_Clr", "Delete"},
    {"Button_PSW_Set", "Establish"},
    {"Label_PSW_Incorrect", "Invalid password, try once more"},
    {"Label_PSW_Recom1", "otherwise it will be blocked can configure the device"},
    {"Label_PSW_Recom2", "to gain access to configuration management"},
    {"Label_PSW_Save", "Remember the password in your computer"},
    {"Button_PSW_Check", "Check"},
    {"Button_PSW_Default", "Reset your password and set to factory settings"},
    {"Label_PSW_Warning", "The password is not installed or removed"},
    {"Button_PSW_Setting", "Setting"},
    {"Button_PSW_Cancel", "Cancel"},
    {"Label_PSW_Ok", "Correct password"},
    {"Label_PSW_Set", "Password establish"},
    {"Label_PSW_Clr", "Password canceled"},
    {"Label_PSW_Def", "Password canceled and set to factory settings"},
};
const std::size_t English_Text_Password_Size = std::size(English_Text_Password);

namespace {

// Script cells of the two writes (the sequencer's action, condition and control codes).
constexpr int Action_Save_Password = 82;
constexpr int Action_Receiv_Password = 83;
constexpr int Action_Status_Removed = 56;
// Control word, password write, list, chain back to the main poll.
constexpr int32_t Write_Password_Cells[] = {59, 79, 48, 80, 82, 56, 5, 0};
// As above, then the configuration list, the RPM-dependence table when it changed (in
// chunks) unless the DS correction is on, and both calibration blocks.
constexpr int32_t Password_Default_Cells[] = {59, 79, 48, 80, 82,              //
                                              44, 48, 50,                      //
                                              207, 9, 209, 7, 69, 68, 48, 71, 208, -4,
                                              45, 48, 51, 46, 48, 52, 56, 5, 0};

constexpr TColor Prompt_Colour = clBlue;
constexpr TColor Incorrect_Colour = clRed;
constexpr TColor Result_Colour = clGreen;
constexpr TColor Warning_Colour = clRed;
constexpr TColor Waiting_Colour = clBlue;
constexpr int Result_Ms = 2000;
// Text heights in pixels: the window, the counter and prompt, the big result texts.
constexpr int Form_Font_Pixels = 13;
constexpr int Prompt_Font_Pixels = 19;
constexpr int Big_Font_Pixels = 32;
constexpr int Memo_Font_Pixels = 12;
// The confirmation box's assumed size: six 12-pixel characters and 60 pixels of buttons
// wide, 115 pixels high.
constexpr int Confirm_Width = 6 * 12 + 60;
constexpr int Confirm_Height = 115;
// The pattern of the time stamp a remembered password gets in the list.
constexpr const char* List_Stamp_Pattern = "yyyy.mm.dd hh:nn:ss";

std::string Padded_Right(std::string Text, std::size_t Width)
{
    if (Text.size() < Width)
        Text.append(Width - Text.size(), ' ');
    return Text;
}

std::string Padded_Left(const std::string& Text, std::size_t Width)
{
    return Text.size() < Width ? std::string(Width - Text.size(), ' ') + Text : Text;
}

}  // namespace

void Password_Window_Reset()
{
    Password_State = Password_State_Class{};
    Password_Window_Hooks = Password_Window_Hooks_Class{};
}

void Password_Link_Dropped()
{
    if (Form_PSW)
        Form_PSW->Write_Failed(true);
}

// ---------------------------------------------------------------- stored-info display

std::vector<std::string> Password_Memo_Lines(const Password_Memo_Source& S)
{
    std::vector<std::string> Lines;
    const std::size_t W = Password_Memo_Width;
    const std::size_t L = std::max({S.Name_Caption.size(), S.Phone_Caption.size(),
                                    S.Date_Caption.size(), S.Comment_Caption.size()});
    const std::size_t V = std::max({S.Name.size(), S.Phone.size(), S.Date.size()});
    if (L == 0)
        return Lines;
    const std::size_t C = L + V + 3 > W ? W + 1 : L + (W - 3 - L - V) / 2 + 3;
    const bool Wide = C + V > W;
    auto Padded_Line = [&](const std::string& Caption, const std::string& Value) {
        return Padded_Right(Padded_Left(Caption + " : ", C) + Trim(Value), W);
    };
    const std::pair<const std::string*, const std::string*> Rows[] = {
        {&S.Name_Caption, &S.Name}, {&S.Phone_Caption, &S.Phone}, {&S.Date_Caption, &S.Date}};
    for (const auto& [Caption, Value] : Rows) {
        if (Value->empty())
            continue;
        Lines.push_back(Wide ? *Caption + " : " + *Value : Padded_Line(*Caption, *Value));
    }
    if (S.Comment_Lines.empty())
        return Lines;
    const std::string& First = S.Comment_Lines.front();
    if (First.size() + C < W + 1)
        Lines.push_back(Padded_Line(S.Comment_Caption, First));
    else if (Wide)
        Lines.push_back(S.Comment_Caption + " : " + First);
    else {
        Lines.push_back(Padded_Left(S.Comment_Caption + " : ", C));
        Lines.push_back(First);
    }
    for (std::size_t I = 1; I < S.Comment_Lines.size(); ++I) {
        std::string Line = S.Comment_Lines[I];
        while (Line.size() < W)
            Line = " " + Line + " ";
        Lines.push_back(Line);
    }
    return Lines;
}

// ---------------------------------------------------------------- construction

TForm_PSW::TForm_PSW(TComponent* Owner) : TForm(Owner)
{
    Form_PSW = this;
    Name("Form_PSW");
    Caption("Setting password");
    BorderIcons(biSystemMenu);
    BorderStyle(TBorder_Style::Single);
    Position(TPosition::Main_Form_Center);
    FormStyle(TForm_Style::Stay_On_Top);
    ClientWidth(Design_Client_Width);
    ClientHeight(Design_Client_Height);
    Font().Name("MS Sans Serif");
    Font().Pixels(Form_Font_Pixels);
    Font().Style(fsBold);
    English_Table_Register(English_Window_Table::Password, English_Text_Password,
                           English_Text_Password_Size);

    // The four faces in one place.
    auto Face = [this](const std::string& Name) {
        TPanel* P = build::Panel(this, this, Name, "", 8, 8, 385, 313);
        P->Visible(false);
        return P;
    };
    Panel_PSW_Set = Face("Panel_PSW_Set");
    Panel_PSW_Check = Face("Panel_PSW_Check");
    Panel_PSW_Warning = Face("Panel_PSW_Warning");
    Panel_PSW_Ok = Face("Panel_PSW_Ok");

    // Set: the two entries, who set it, the date, the counter and the two writes.
    TPanel* S = Panel_PSW_Set;
    auto Row_Edit = [this, S](const std::string& Label_Name, TLabel*& Label_Out,
                              const std::string& Edit_Name, int Top, int Width) {
        Label_Out = build::Label(this, S, Label_Name, "", 12, Top + 3);
        return build::Make<TEdit>(this, S, Edit_Name, 176, Top, Width, 21);
    };
    Edit_PSW_pass1 = Row_Edit("Label_PSW_pass1", Label_PSW_pass1, "Edit_PSW_pass1", 10, 120);
    Edit_PSW_pass2 = Row_Edit("Label_PSW_pass2", Label_PSW_pass2, "Edit_PSW_pass2", 38, 120);
    Edit_PSW_Name = Row_Edit("Label_PSW_Name", Label_PSW_Name, "Edit_PSW_Name", 66, 197);
    Edit_PSW_Phone = Row_Edit("Label_PSW_Phone", Label_PSW_Phone, "Edit_PSW_Phone", 94, 197);
    for (TEdit* E : {Edit_PSW_pass1, Edit_PSW_pass2}) {
        E->PasswordChar('*');
        E->MaxLength(static_cast<int>(Password_Max_Length));
    }
    Label_PSW_Date = build::Label(this, S, "Label_PSW_Date", "", 12, 125);
    Label_PSW_Date_Set = build::Label(this, S, "Label_PSW_Date_Set", "", 176, 125);
    Label_PSW_Comm = build::Label(this, S, "Label_PSW_Comm", "", 12, 148);
    Memo_PSW_Comm = build::Make<TMemo>(this, S, "Memo_PSW_Comm", 12, 166, 361, 58);
    Memo_PSW_Comm->ScrollBars(TScroll_Style::Vertical);
    Label_PSW_Cnt = build::Make<TLabel>(this, S, "Label_PSW_Cnt", 12, 228, 361, 46);
    Label_PSW_Cnt->AutoSize(false);
    Label_PSW_Cnt->WordWrap(true);
    Label_PSW_Cnt->Caption("");
    Button_PSW_Set = build::Button(this, S, "Button_PSW_Set", "", 12, 278, 170, 27);
    Button_PSW_Clr = build::Button(this, S, "Button_PSW_Clr", "", 203, 278, 170, 27);

    // Check: the prompt, the entry, remembering it, the stored info and the factory reset.
    TPanel* K = Panel_PSW_Check;
    Label_PSW_Input = build::Make<TLabel>(this, K, "Label_PSW_Input", 12, 8, 361, 70);
    Label_PSW_Input->AutoSize(false);
    Label_PSW_Input->WordWrap(true);
    Label_PSW_Input->Alignment(TAlignment::Center);
    Label_PSW_Input->Caption("");
    Edit_PSW_Input = build::Make<TEdit>(this, K, "Edit_PSW_Input", 12, 84, 200, 24);
    Edit_PSW_Input->PasswordChar('*');
    Button_PSW_Check = build::Button(this, K, "Button_PSW_Check", "", 222, 82, 151, 28);
    CheckBox_PSW_Save = build::Check(this, K, "CheckBox_PSW_Save", Label_PSW_Save,
                                     "Label_PSW_Save", "", 12, 118);
    Memo_PSW = build::Make<TMemo>(this, K, "Memo_PSW", 12, 142, 361, 108);
    Memo_PSW->ReadOnly(true);
    Memo_PSW->WordWrap(false);
    // The stored info is laid out in columns of blanks: a font of one width per character.
    Memo_PSW->ParentFont(false);
    Memo_PSW->Font().Name("Courier New");
    Memo_PSW->Font().Pixels(Memo_Font_Pixels);
    Button_PSW_Default = build::Button(this, K, "Button_PSW_Default", "", 12, 258, 361, 46);
    Button_PSW_Default->WordWrap(true);

    // Warning: no password; set one or leave.
    TPanel* N = Panel_PSW_Warning;
    Label_PSW_Warning = build::Make<TLabel>(this, N, "Label_PSW_Warning", 12, 40, 361, 150);
    Button_PSW_Setting = build::Button(this, N, "Button_PSW_Setting", "", 40, 230, 140, 32);
    Button_PSW_Cancel = build::Button(this, N, "Button_PSW_Cancel", "", 205, 230, 140, 32);

    // Result.
    Label_PSW_Ok = build::Make<TLabel>(this, Panel_PSW_Ok, "Label_PSW_Ok", 12, 80, 361, 150);

    for (TLabel* L : {Label_PSW_Warning, Label_PSW_Ok}) {
        L->AutoSize(false);
        L->WordWrap(true);
        L->Alignment(TAlignment::Center);
        L->Layout(TText_Layout::Center);
        L->Caption("");
        L->ParentFont(false);
        L->Font() = Font();
        L->Font().Pixels(Big_Font_Pixels);
    }
    Label_PSW_Warning->Font().Color(Warning_Colour);
    Label_PSW_Ok->Font().Color(Result_Colour);
    for (TLabel* L : {Label_PSW_Cnt, Label_PSW_Input}) {
        L->ParentFont(false);
        L->Font() = Font();
        L->Font().Pixels(Prompt_Font_Pixels);
        L->Font().Color(Prompt_Colour);
    }

    Timer_PSW_OK = build::Timer(this, "Timer_PSW_OK", Result_Ms);
    Apply_Texts();

    // ---- handlers ----
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnActivate = [this](TObject* Sender) { FormActivate(Sender); };
    OnClose = [this](TObject* Sender, TClose_Action& Action) { FormClose(Sender, Action); };
    Button_PSW_Set->OnClick = [this](TObject* Sender) { Button_PSW_SetClick(Sender); };
    Button_PSW_Clr->OnClick = [this](TObject* Sender) { Button_PSW_ClrClick(Sender); };
    Button_PSW_Default->OnClick = [this](TObject* Sender) { Button_PSW_DefaultClick(Sender); };
    Button_PSW_Setting->OnClick = [this](TObject* Sender) { Button_PSW_SettingClick(Sender); };
    Button_PSW_Cancel->OnClick = [this](TObject* Sender) { Button_PSW_CancelClick(Sender); };
    Button_PSW_Check->OnClick = [this](TObject* Sender) { Button_PSW_CheckClick(Sender); };
    Label_PSW_Save->OnClick = [this](TObject* Sender) { Label_PSW_SaveClick(Sender); };
    Timer_PSW_OK->OnTimer = [this](TObject* Sender) { Timer_PSW_OKTimer(Sender); };
    Edit_PSW_Input->OnKeyDown = [this](TObject* Sender, std::uint16_t& Key, TShiftState) {
        if (Key == VK_RETURN)
            Button_PSW_CheckClick(Sender);
    };
    for (TEdit* E : {Edit_PSW_pass1, Edit_PSW_pass2})
        E->OnChange = [this, E](TObject*) { Password_Changed(E); };
    for (TEdit* E : {Edit_PSW_Name, Edit_PSW_Phone})
        E->OnChange = [this, E](TObject*) { Info_Changed(E); };
    Memo_PSW_Comm->OnChange = [this](TObject*) { Info_Changed(Memo_PSW_Comm); };
    for (TControl* C : std::initializer_list<TControl*>{Edit_PSW_pass1, Edit_PSW_pass2, Edit_PSW_Name,
                                                        Edit_PSW_Phone, Memo_PSW_Comm}) {
        C->OnEnter = [this, C](TObject*) { Focus_Field(C); };
        if (C != Memo_PSW_Comm)
            C->OnKeyDown = [this, C](TObject*, std::uint16_t& Key, TShiftState) { Field_Key_Down(C, Key); };
    }

    // ---- the script's ways in ----
    Script_Set_Action(Action_Receiv_Password, [this] { Receiv_Password_Block(); });
    Script_Set_Action(Action_Save_Password, [this] { Save_Password_To_PC(); });
    Previous_Action_56 = Script_Action_Slot(Action_Status_Removed);
    Script_Set_Action(Action_Status_Removed, [this] {
        if (Previous_Action_56)
            Previous_Action_56();
        Script_End();
    });
    Protocol_Hooks.Script_Write_Password = [this] { Script_Write_Password(); };
    Protocol_Hooks.Script_Password_Default = [this] { Script_Password_Default(); };
}

TForm_PSW::~TForm_PSW()
{
    Timer_PSW_OK->Enabled(false);
    Script_Set_Action(Action_Receiv_Password, nullptr);
    Script_Set_Action(Action_Save_Password, nullptr);
    Script_Set_Action(Action_Status_Removed, Previous_Action_56);
    Protocol_Hooks.Script_Write_Password = nullptr;
    Protocol_Hooks.Script_Password_Default = nullptr;
    if (Form_PSW == this)
        Form_PSW = nullptr;
}

// ---------------------------------------------------------------- texts

std::string TForm_PSW::Text_Of(const std::string& Key) const
{
    return Language_Text(Key);
}

void TForm_PSW::Apply_Texts()
{
    Language_Load_File();
    auto T = [](const std::string& Key) { return Language_Find_Text(Key); };
    Caption(T("Form_PSW"));
    Label_PSW_pass1->Caption(T("Label_PSW_Input"));
    for (TLabel* L : {Label_PSW_pass2, Label_PSW_Date, Label_PSW_Name, Label_PSW_Phone,
                      Label_PSW_Comm, Label_PSW_Save, Label_PSW_Warning})
        L->Caption(T(L->Name()));
    for (TButton* B : {Button_PSW_Clr, Button_PSW_Set, Button_PSW_Check, Button_PSW_Setting,
                       Button_PSW_Cancel})
        B->Caption(T(B->Name()));
    Button_PSW_Default->Caption(
        Wrap_Text_Pixels(Button_PSW_Default->Width(), T("Button_PSW_Default"), Button_PSW_Default->Font()));
    Label_PSW_Input->Caption(Input_Incorrect
                                 ? T("Label_PSW_Incorrect") + " " + T("Label_PSW_Recom1")
                                 : T("Label_PSW_Input") + " " + T("Label_PSW_Recom2"));
    Language_Release();
    std::string English;
    if (English_Menu_Caption("Form_PSW", English))
        Caption(English);
}

void TForm_PSW::Show_Input_Prompt(bool Incorrect)
{
    Input_Incorrect = Incorrect;
    Label_PSW_Input->Font().Color(Incorrect ? Incorrect_Colour : Prompt_Colour);
    Label_PSW_Input->Caption(Incorrect ? Text_Of("Label_PSW_Incorrect") + " " + Text_Of("Label_PSW_Recom1")
                                       : Text_Of("Label_PSW_Input") + " " + Text_Of("Label_PSW_Recom2"));
}

void TForm_PSW::Fill_Memo_PSW()
{
    Password_Memo_Source Source;
    Source.Name_Caption = Label_PSW_Name->Caption();
    Source.Phone_Caption = Label_PSW_Phone->Caption();
    Source.Date_Caption = Label_PSW_Date->Caption();
    Source.Comment_Caption = Label_PSW_Comm->Caption();
    Source.Name = Edit_PSW_Name->Text();
    Source.Phone = Edit_PSW_Phone->Text();
    Source.Date = Label_PSW_Date_Set->Caption();
    for (int I = 0; I < Memo_PSW_Comm->Lines().Count(); ++I)
        Source.Comment_Lines.push_back(Memo_PSW_Comm->Lines()[I]);
    while (!Source.Comment_Lines.empty() && Trim(Source.Comment_Lines.back()).empty())
        Source.Comment_Lines.pop_back();
    std::string Text;
    for (const std::string& Line : Password_Memo_Lines(Source))
        Text += (Text.empty() ? "" : "\r\n") + Line;
    Memo_PSW->Text(Text);
}

// ---------------------------------------------------------------- faces

void TForm_PSW::Show_Face(TPanel* Face)
{
    for (TPanel* P : {Panel_PSW_Set, Panel_PSW_Check, Panel_PSW_Warning, Panel_PSW_Ok})
        P->Visible(P == Face);
}

void TForm_PSW::Result_Text(const std::string& Key)
{
    Label_PSW_Ok->Font().Color(Result_Colour);
    Label_PSW_Ok->Caption(Text_Of(Key));
    Show_Face(Panel_PSW_Ok);
    Timer_PSW_OK->Enabled(false);   // the full two seconds from now
    Timer_PSW_OK->Enabled(true);
}

void TForm_PSW::Timer_PSW_OKTimer(TObject* Sender)
{
    if (Write_Pending()) {
        if (!Pending.Started && !Request_Waiting(Pending.Request))
            Write_Failed(false);
        return;
    }
    Timer_PSW_OK->Enabled(false);
    Close();
}

void TForm_PSW::FormShow(TObject* Sender)
{
    Apply_Texts();
    Button_PSW_Set->Enabled(Entries_Match());
    // A write still waiting for the controller keeps its face.
    if (Write_Pending()) {
        Show_Face(Panel_PSW_Ok);
    } else if (Password_State.Access_Granted) {
        Label_PSW_Cnt->Caption(Text_Of("Label_PSW_Input"));
        Show_Face(Password_State.Controller_Password.empty() ? Panel_PSW_Warning : Panel_PSW_Set);
    } else {
        Edit_PSW_Input->Text("");
        Show_Input_Prompt(false);
        Show_Face(Panel_PSW_Check);
    }
    Fill_Memo_PSW();
    SetFocus();
}

void TForm_PSW::FormActivate(TObject* Sender)
{
    Font_Set_Form(this);
    for (TLabel* L : {Label_PSW_Warning, Label_PSW_Input, Label_PSW_Cnt, Label_PSW_Ok})
        Font_Set_Label(L);
    Apply_Texts();
    Fill_Memo_PSW();
}

void TForm_PSW::FormClose(TObject* Sender, TClose_Action& Action)
{
    Timer_PSW_OK->Enabled(false);
    if (!Password_State.Access_Granted)
        Call_Hook(Password_Window_Hooks.Main_First_Page);
    Apply_Access();
}

void TForm_PSW::Apply_Access()
{
    Call_Hook(Password_Window_Hooks.Main_Pages_Enabled, Password_State.Access_Granted);
    Call_Hook(Password_Window_Hooks.Update_Main_Caption);
}

// ---------------------------------------------------------------- reading the block

void TForm_PSW::Receiv_Password_Block()
{
    // Nothing of an earlier controller stays.
    Free_Info_Fields();
    for (TEdit* E : {Edit_PSW_pass1, Edit_PSW_pass2, Edit_PSW_Name, Edit_PSW_Phone})
        E->Text("");
    Memo_PSW_Comm->Text("");
    Label_PSW_Date_Set->Caption("");
    Password_State.Access_Granted = true;

    const Password_Block_Content Block = Password_Block_Read(RX_Frame + 2);
    Password_State.Controller_Password = Block.Password;
    bool Show_Window = false;
    if (!Block.Password.empty()) {
        const Password_Fields Fields = Password_Info_Parse(Block.Info);
        Label_PSW_Date_Set->Caption(Fields.Date);
        Edit_PSW_Name->Text(Fields.Name);
        Edit_PSW_Phone->Text(Fields.Phone);
        Memo_PSW_Comm->Text(Fields.Comment);
        if (Password_List_Knows(Program_File_Path(Password_List_File), Block.Password)) {
            Edit_PSW_pass1->Text(Block.Password);
            Edit_PSW_pass2->Text(Block.Password);
        } else {
            Password_State.Access_Granted = false;
            Show_Window = true;
        }
    } else {
        Show_Window = Settings.CheckPassword;
    }
    if (Show_Window) {
        if (Visible())
            FormShow(this);
        else
            Show();
    }
    Fill_Memo_PSW();
    Apply_Access();
}

// ---------------------------------------------------------------- the list

void TForm_PSW::Save_Password_To_PC()
{
    if (Pending.Kind == Write_Kind::Set || Pending.Kind == Write_Kind::Clear) {
        Complete_Write();
        return;
    }
    if (Pending.Kind == Write_Kind::Default) {
        Pending.Block_Written = true;   // the rest of the script still has to go out
        return;
    }
    if (Password_State.Controller_Password.empty())
        return;
    Password_State.Password_Info = Password_Info_Text(Fields_Shown());
    Password_List_Save(Program_File_Path(Password_List_File), Password_State.Controller_Password,
                       sys::Format_Date_Time(List_Stamp_Pattern, sys::Now()),
                       Password_State.Password_Info);
}

// ---------------------------------------------------------------- writes

bool TForm_PSW::Confirmed()
{
    const int X = Left() + (Width() - Confirm_Width) / 2;
    const int Y = Top() + (Height() - Confirm_Height) / 2;
    // Yes writes to the controller (and Clear and Default resets the configuration): a
    // stray Return keeps things as they are.
    return Message_Box("Are you sure", TMsg_Kind::Warning, TMsg_Buttons::Yes_No, mrNo, X, Y) == mrYes;
}

std::string TForm_PSW::Comment_Text() const
{
    return Memo_PSW_Comm->Text();
}

Password_Fields TForm_PSW::Fields_Shown() const
{
    Password_Fields F;
    F.Date = Label_PSW_Date_Set->Caption();
    F.Name = Edit_PSW_Name->Text();
    F.Phone = Edit_PSW_Phone->Text();
    F.Comment = Comment_Text();
    return F;
}

void TForm_PSW::Start_Write(Write_Kind Kind, const std::string& Password,
                            const Password_Fields& Fields, uint8_t Request)
{
    TPanel* Face = Panel_PSW_Check->Visible() ? Panel_PSW_Check : Panel_PSW_Set;
    if (!Connected) {
        Show_Message(Message_Type::Language_Key, "Error_CFG_Transmitt", clRed);
        return;
    }
    Pending = Pending_Write{};
    Pending.Kind = Kind;
    Pending.Password = Password;
    Pending.Fields = Fields;
    Pending.Info = Password_Info_Text(Fields);
    Pending.Face = Face;
    Password_Write_Block = Password_Block_Build(Password, Pending.Info);
    Label_PSW_Ok->Font().Color(Waiting_Colour);
    Label_PSW_Ok->Caption(Text_Of(Transmission_Text_Key));
    Show_Face(Panel_PSW_Ok);
    Pending.Request = Request;
    Ask_Request(Request);
    // Watches that the request is not replaced before the sequencer takes it.
    Timer_PSW_OK->Enabled(false);
    Timer_PSW_OK->Enabled(true);
}

void TForm_PSW::Script_Write_Password()
{
    Pending.Started = Pending.Kind == Write_Kind::Set || Pending.Kind == Write_Kind::Clear;
    Script_Load(Write_Password_Cells, Script_Kind::Write);
}

void TForm_PSW::Script_Password_Default()
{
    Pending.Started = Pending.Kind == Write_Kind::Default;
    Script_Load(Password_Default_Cells, Script_Kind::Write);
}

void TForm_PSW::Script_End()
{
    if (Pending.Kind == Write_Kind::Default && Pending.Block_Written)
        Complete_Write();
}

void TForm_PSW::Complete_Write()
{
    const Pending_Write Done = Pending;
    Pending = Pending_Write{};
    switch (Done.Kind) {
    case Write_Kind::Set:
        Free_Info_Fields();
        Password_State.Access_Granted = true;
        Password_State.Controller_Password = Done.Password;
        Password_State.Password_Info = Done.Info;
        Edit_PSW_pass1->Text(Done.Password);
        Edit_PSW_pass2->Text(Done.Password);
        Label_PSW_Date_Set->Caption(Done.Fields.Date);
        Edit_PSW_Name->Text(Done.Fields.Name);
        Edit_PSW_Phone->Text(Done.Fields.Phone);
        Memo_PSW_Comm->Text(Done.Fields.Comment);
        Call_Hook(Password_Window_Hooks.Main_Check_Password);
        Apply_Access();
        Save_Password_To_PC();
        Result_Text("Label_PSW_Set");
        break;
    case Write_Kind::Clear:
        Clear_All();
        Label_PSW_Date_Set->Caption(Done.Fields.Date);
        Password_State.Password_Info = Done.Info;
        Result_Text("Label_PSW_Clr");
        break;
    case Write_Kind::Default:
        Clear_All();
        Result_Text("Label_PSW_Def");
        break;
    case Write_Kind::None:
        return;
    }
    Fill_Memo_PSW();
    Call_Hook(Password_Window_Hooks.Update_Main_Caption);
}

void TForm_PSW::Write_Failed(bool Named)
{
    if (!Write_Pending())
        return;
    TPanel* Face = Pending.Face;
    Pending = Pending_Write{};
    Timer_PSW_OK->Enabled(false);
    if (Visible() && Panel_PSW_Ok->Visible())
        Show_Face(Face);
    if (!Named)
        Show_Message(Message_Type::Language_Key, "Error_CFG_Transmitt", clRed);
}

void TForm_PSW::Free_Info_Fields()
{
    // The limits a focus set would cut a text set here.
    for (TEdit* E : {Edit_PSW_Name, Edit_PSW_Phone}) {
        E->MaxLength(0);
        E->ReadOnly(false);
    }
    Memo_PSW_Comm->MaxLength(0);
    Memo_PSW_Comm->ReadOnly(false);
}

void TForm_PSW::Clear_All()
{
    Free_Info_Fields();
    Password_State.Controller_Password.clear();
    Password_State.Access_Granted = true;
    for (TEdit* E : {Edit_PSW_pass1, Edit_PSW_pass2, Edit_PSW_Name, Edit_PSW_Phone})
        E->Text("");
    Label_PSW_Date_Set->Caption("");
    Memo_PSW_Comm->Text("");
    Apply_Access();
}

void TForm_PSW::Button_PSW_SetClick(TObject* Sender)
{
    if (!Entries_Match() || !Confirmed())
        return;
    // The block records when this password was set: today, whichever way the set face was
    // reached (it may still show the date of the password the controller holds).
    Password_Fields Fields = Fields_Shown();
    Fields.Date = sys::Short_Date_Text(sys::Now());
    Start_Write(Write_Kind::Set, Edit_PSW_pass1->Text(), Fields, Request_Write_Password);
}

void TForm_PSW::Button_PSW_ClrClick(TObject* Sender)
{
    if (!Confirmed())
        return;
    Password_Fields Today;
    Today.Date = sys::Short_Date_Text(sys::Now());
    Start_Write(Write_Kind::Clear, "", Today, Request_Write_Password);
}

void TForm_PSW::Button_PSW_DefaultClick(TObject* Sender)
{
    if (!Confirmed())
        return;
    // The configuration the script writes after the password is the factory one; with no
    // link nothing is written, so nothing is reset either.
    if (Connected)
        Call_Hook(Password_Window_Hooks.Factory_Defaults);
    Password_Fields Today;
    Today.Date = sys::Short_Date_Text(sys::Now());
    Start_Write(Write_Kind::Default, "", Today, Request_Password_Default);
    Apply_Access();
}

void TForm_PSW::Button_PSW_SettingClick(TObject* Sender)
{
    Show_Face(Panel_PSW_Set);
    Clear_All();
    Label_PSW_Date_Set->Caption(sys::Short_Date_Text(sys::Now()));
    Edit_PSW_pass1->SetFocus();
    Focus_Field(Edit_PSW_pass1);
    Button_PSW_Set->Enabled(false);
}

void TForm_PSW::Button_PSW_CancelClick(TObject* Sender)
{
    Close();
}

void TForm_PSW::Button_PSW_CheckClick(TObject* Sender)
{
    const std::string& Password = Password_State.Controller_Password;
    if (Edit_PSW_Input->Text() != Password) {
        // Tries are not counted.
        Password_State.Access_Granted = false;
        Edit_PSW_Input->Text("");
        Show_Input_Prompt(true);
        return;
    }
    Password_State.Access_Granted = true;
    Edit_PSW_pass1->Text(Password);
    Edit_PSW_pass2->Text(Password);
    Apply_Access();
    if (CheckBox_PSW_Save->Checked())
        Save_Password_To_PC();
    Result_Text("Label_PSW_Ok");
}

void TForm_PSW::Label_PSW_SaveClick(TObject* Sender)
{
    CheckBox_PSW_Save->Checked(!CheckBox_PSW_Save->Checked());
}

// ---------------------------------------------------------------- counter and limits

bool TForm_PSW::Entries_Match() const
{
    const std::string First = Edit_PSW_pass1->Text();
    return First == Edit_PSW_pass2->Text() && Password_Text_Valid(First) &&
           Password_Info_Fits(Edit_PSW_Name->Text(), Edit_PSW_Phone->Text(), Comment_Text());
}

void TForm_PSW::Show_Counter(const std::string& Value)
{
    Label_PSW_Cnt->Caption(Password_State.Password_Prompt + Value);
}

void TForm_PSW::Password_Changed(TEdit* Field)
{
    Button_PSW_Set->Enabled(Entries_Match());
    const int Left = static_cast<int>(Password_Max_Length) - static_cast<int>(Field->Text().size());
    Show_Counter(std::to_string(std::max(Left, 0)));
}

void TForm_PSW::Info_Changed(TControl* Field)
{
    // "/" separates the fields in the block and $FF is its padding: neither may be typed.
    if (Field == Memo_PSW_Comm) {
        const std::string Text = Memo_PSW_Comm->Text();
        if (!Password_Field_Valid(Text)) {
            Memo_PSW_Comm->Text(Password_Field_Clean(Text));
            return;   // the change handler runs again for the clean text
        }
    } else if (auto* E = dynamic_cast<TEdit*>(Field)) {
        const std::string Text = E->Text();
        if (!Password_Field_Valid(Text)) {
            E->Text(Password_Field_Clean(Text));
            return;
        }
    }
    Button_PSW_Set->Enabled(Entries_Match());
    Show_Counter(std::to_string(
        Password_Info_Budget(Edit_PSW_Name->Text(), Edit_PSW_Phone->Text(), Comment_Text())));
}

void TForm_PSW::Focus_Field(TControl* Field)
{
    TLabel* Label = Field == Edit_PSW_pass1   ? Label_PSW_pass1
                    : Field == Edit_PSW_pass2 ? Label_PSW_pass2
                    : Field == Edit_PSW_Name  ? Label_PSW_Name
                    : Field == Edit_PSW_Phone ? Label_PSW_Phone
                                              : Label_PSW_Comm;
    Password_State.Password_Prompt =
        Label->Caption() + "." + "\n\r" + Text_Of("Label_PSW_Prompt") + " : ";
    if (Field == Edit_PSW_pass1 || Field == Edit_PSW_pass2) {
        Password_Changed(static_cast<TEdit*>(Field));
        return;
    }
    const int Budget = Password_Info_Budget(Edit_PSW_Name->Text(), Edit_PSW_Phone->Text(), Comment_Text());
    const int Length = static_cast<int>(
        Field == Memo_PSW_Comm ? Trim(Comment_Text()).size() : static_cast<TEdit*>(Field)->Text().size());
    const int Most = Budget <= 0 ? Length : Length > 0 ? Length + Budget : Budget - 1;
    if (Field == Memo_PSW_Comm) {
        Memo_PSW_Comm->MaxLength(Most);
        Memo_PSW_Comm->ReadOnly(Most <= 0);
    } else {
        auto* E = static_cast<TEdit*>(Field);
        E->MaxLength(Most);
        E->ReadOnly(Most <= 0);
    }
    Show_Counter(std::to_string(Budget));
}

void TForm_PSW::Field_Key_Down(TControl* Field, std::uint16_t& Key)
{
    if (Key != VK_RETURN && Key != VK_DOWN && Key != VK_UP)
        return;
    const bool Up = Key == VK_UP;
    TControl* Target = nullptr;
    if (Field == Edit_PSW_pass1)
        Target = Up ? nullptr : Edit_PSW_pass2;
    else if (Field == Edit_PSW_pass2)
        Target = Up ? Edit_PSW_pass1 : Entries_Match() ? Edit_PSW_Name : Edit_PSW_pass1;
    else if (Field == Edit_PSW_Name)
        Target = Up ? Edit_PSW_pass2 : Edit_PSW_Phone;
    else if (Field == Edit_PSW_Phone)
        Target = Up ? static_cast<TControl*>(Edit_PSW_Name) : Memo_PSW_Comm;
    if (!Target)
        return;
    Target->SetFocus();
    Focus_Field(Target);
}
