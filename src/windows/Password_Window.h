// The access password window: it sets, clears and checks the password the controller keeps.
// While this PC does not know the controller's password the main window's pages stay
// locked; a password entered correctly (and ticked to be remembered) or set here goes to
// the password list beside the program, so that a known controller unlocks without asking.
//
// Four faces on one place: warning (no password; offer to set one), set (enter and confirm,
// with who set it), check (enter the controller's password), result (two seconds, then
// closed). A write (Set, Clear, Clear and Default) changes nothing of the password state
// until the controller has acknowledged it: meanwhile the window shows the transmission
// text; a link that drops first fails the write, reported in red.
//
// Created once at start-up, shown by the connect script and the Configuration page's
// password button, non-modal. Everything runs on the user-interface thread.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "data/Password_List.h"
#include "language/Language_En.h"
#include "platform/ui/UI.h"

// The password state, one set for the program's life.
struct Password_State_Class {
    // The password last read from or written to the controller (empty: none).
    std::string Controller_Password;
    // The info text last written or remembered.
    std::string Password_Info;
    // The pages may be used: no password, a remembered one, a correct entry or one set here.
    bool Access_Granted = true;
    // The prompt of the field that has the focus (caption, ".", LF CR, "Remaining ...").
    std::string Password_Prompt;
};
extern Password_State_Class Password_State;

// What the window asks of the main window, bound by it at creation; unbound, nothing.
struct Password_Window_Hooks_Class {
    // The main page control enabled or locked.
    std::function<void(bool enabled)> Main_Pages_Enabled;
    // The main page control to its first page.
    std::function<void()> Main_First_Page;
    // The main window's caption, with the name of who set the password.
    std::function<void()> Update_Main_Caption;
    // The main window's password-checking box ticked.
    std::function<void()> Main_Check_Password;
    // Clear and Default: the configuration record, the calibration curves and the RPM table
    // to their factory defaults, shown on the pages.
    std::function<void()> Factory_Defaults;
};
extern Password_Window_Hooks_Class Password_Window_Hooks;

// State and hooks back to their start.
void Password_Window_Reset();

// The window's built-in English texts, registered behind the main table when it is built.
extern const English_Pair English_Text_Password[];
extern const std::size_t English_Text_Password_Size;

// Stored-info display: lines of caption, " : " and value, 45 characters wide.
struct Password_Memo_Source {
    std::string Name_Caption, Phone_Caption, Date_Caption, Comment_Caption;
    std::string Name, Phone, Date;
    std::vector<std::string> Comment_Lines;
};
constexpr int Password_Memo_Width = 45;
std::vector<std::string> Password_Memo_Lines(const Password_Memo_Source& Source);

class TForm_PSW : public TForm {
public:
    explicit TForm_PSW(TComponent* Owner);
    ~TForm_PSW() override;
    using TControl::Enabled;
    using TControl::Visible;

    static constexpr int Design_Client_Width = 401;
    static constexpr int Design_Client_Height = 329;

    TPanel* Panel_PSW_Set = nullptr;
    TLabel* Label_PSW_pass1 = nullptr;
    TEdit* Edit_PSW_pass1 = nullptr;
    TLabel* Label_PSW_pass2 = nullptr;
    TEdit* Edit_PSW_pass2 = nullptr;
    TLabel* Label_PSW_Name = nullptr;
    TEdit* Edit_PSW_Name = nullptr;
    TLabel* Label_PSW_Phone = nullptr;
    TEdit* Edit_PSW_Phone = nullptr;
    TLabel* Label_PSW_Comm = nullptr;
    TMemo* Memo_PSW_Comm = nullptr;
    TLabel* Label_PSW_Date = nullptr;
    TLabel* Label_PSW_Date_Set = nullptr;
    TLabel* Label_PSW_Cnt = nullptr;
    TButton* Button_PSW_Set = nullptr;
    TButton* Button_PSW_Clr = nullptr;

    TPanel* Panel_PSW_Check = nullptr;
    TLabel* Label_PSW_Input = nullptr;
    TEdit* Edit_PSW_Input = nullptr;
    TButton* Button_PSW_Check = nullptr;
    TButton* Button_PSW_Default = nullptr;
    TCheckBox* CheckBox_PSW_Save = nullptr;
    TLabel* Label_PSW_Save = nullptr;
    TMemo* Memo_PSW = nullptr;

    TPanel* Panel_PSW_Warning = nullptr;
    TLabel* Label_PSW_Warning = nullptr;
    TButton* Button_PSW_Setting = nullptr;
    TButton* Button_PSW_Cancel = nullptr;

    TPanel* Panel_PSW_Ok = nullptr;
    TLabel* Label_PSW_Ok = nullptr;

    TTimer* Timer_PSW_OK = nullptr;

    // ---- the block from the controller (script action 83) and the list (action 82) ----
    void Receiv_Password_Block();
    // After the write of request 26 was acknowledged it completes that write; otherwise it
    // remembers Controller_Password in the list (nothing while it is empty). A list that
    // cannot be read or written is reported, never thrown.
    void Save_Password_To_PC();
    // Request codes 26 and 27: the write scripts.
    void Script_Write_Password();
    void Script_Password_Default();
    // A write not yet acknowledged has failed: the face it was asked from comes back. It
    // shows "Error_CFG_Transmitt" unless Named (a link drop's one message names it, and a
    // message of its own would replace that one). Nothing without a pending write.
    void Write_Failed(bool Named);
    // A write waits for the controller.
    bool Write_Pending() const { return Pending.Kind != Write_Kind::None; }

    // ---- access ----
    // Main page control enabled := Access_Granted; then the main caption.
    void Apply_Access();

    // ---- handlers ----
    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormClose(TObject* Sender, TClose_Action& Action);
    void Button_PSW_SetClick(TObject* Sender);
    void Button_PSW_ClrClick(TObject* Sender);
    void Button_PSW_DefaultClick(TObject* Sender);
    void Button_PSW_SettingClick(TObject* Sender);
    void Button_PSW_CancelClick(TObject* Sender);
    void Button_PSW_CheckClick(TObject* Sender);
    void Label_PSW_SaveClick(TObject* Sender);
    // After a result: closes the window. While a write waits: a request that another one
    // replaced before the sequencer took it has failed.
    void Timer_PSW_OKTimer(TObject* Sender);

    // ---- texts and the stored-info display ----
    void Apply_Texts();
    void Fill_Memo_PSW();
    // The counter step of a field that gets the focus (prompt, limits, counter).
    void Focus_Field(TControl* Field);

private:
    enum class Write_Kind { None, Set, Clear, Default };
    // A write confirmed and sent, waiting for the controller's acknowledgement.
    struct Pending_Write {
        Write_Kind Kind = Write_Kind::None;
        std::string Password;
        std::string Info;
        Password_Fields Fields;
        TPanel* Face = nullptr;          // the face to return to when it fails
        uint8_t Request = 0;             // its request code
        bool Started = false;            // the sequencer took the request and runs its script
        bool Block_Written = false;      // request 27: the password block is acknowledged
    };
    Pending_Write Pending;

    // The yes/no question before every write; true for Yes.
    bool Confirmed();
    // Sends a write with its request code, or fails it at once while not connected.
    void Start_Write(Write_Kind Kind, const std::string& Password, const Password_Fields& Fields,
                     uint8_t Request);
    void Complete_Write();
    // Action 56 ends the script of request 27.
    void Script_End();
    void Clear_All();
    // Name, phone and comment without the limits of their last focus.
    void Free_Info_Fields();
    void Show_Face(TPanel* Face);
    void Result_Text(const std::string& Key);
    void Show_Input_Prompt(bool Incorrect);
    bool Entries_Match() const;
    void Password_Changed(TEdit* Field);
    void Info_Changed(TControl* Field);
    void Show_Counter(const std::string& Value);
    void Field_Key_Down(TControl* Field, std::uint16_t& Key);
    std::string Comment_Text() const;
    Password_Fields Fields_Shown() const;
    std::string Text_Of(const std::string& Key) const;
    bool Input_Incorrect = false;         // the check face shows the wrong-password text
    std::function<void()> Previous_Action_56;
};

extern TForm_PSW* Form_PSW;

// The password window's completion when the link drops (the main window calls it from its
// not-connected state, after the drop's message named the write); nothing without the
// window or a pending write.
void Password_Link_Dropped();
