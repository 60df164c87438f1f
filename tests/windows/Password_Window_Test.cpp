// The password window on its own: the stored-info layout, the counter and field limits,
// what a block read does to the window and the lock, and its four faces as pictures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "main/Main_Test_Support.h"
#include "platform/ui/Runtime.h"
#include "protocol/Frames.h"
#include "protocol/Script.h"
#include "windows/Password_Window.h"

namespace {

using namespace main_test;

std::string Blanks(std::size_t N)
{
    return std::string(N, ' ');
}

TEST(Password_Memo, Lines_Are_Laid_Out_In_Columns_Of_45)
{
    const Password_Memo_Source English{"By setting", "Phone", "Setting date", "Comments", "", "", "", {}};
    auto With = [&](std::string Name, std::string Phone, std::string Date, std::vector<std::string> Comment) {
        Password_Memo_Source S = English;
        S.Name = std::move(Name);
        S.Phone = std::move(Phone);
        S.Date = std::move(Date);
        S.Comment_Lines = std::move(Comment);
        return S;
    };
    struct Row {
        const char* Case;
        Password_Memo_Source Source;
        std::vector<std::string> Lines;
    };
    // Captions up to 12 characters, values up to 10: the column is 25 characters in.
    const std::vector<Row> Rows = {
        {"all fields, a short comment", With("Ivan", "555", "07.12.2026", {"hello"}),
         {Blanks(12) + "By setting : Ivan" + Blanks(16), Blanks(17) + "Phone : 555" + Blanks(17),
          Blanks(10) + "Setting date : 07.12.2026" + Blanks(10), Blanks(14) + "Comments : hello" + Blanks(15)}},
        {"a long comment of two lines", With("", "", "07.12.2026", {std::string(30, 'x'), "ab"}),
         {Blanks(10) + "Setting date : 07.12.2026" + Blanks(10), Blanks(14) + "Comments : ",
          std::string(30, 'x'), Blanks(22) + "ab" + Blanks(22)}},
        {"a value too wide for columns", With(std::string(40, 'n'), "", "07.12.2026", {"c"}),
         {"By setting : " + std::string(40, 'n'), "Setting date : 07.12.2026", "Comments : c"}},
        {"date alone", With("", "", "07.12.2026", {}), {Blanks(10) + "Setting date : 07.12.2026" + Blanks(10)}},
        {"no captions", Password_Memo_Source{"", "", "", "", "Ivan", "", "07.12.2026", {"c"}}, {}},
    };
    for (const Row& R : Rows)
        EXPECT_EQ(Password_Memo_Lines(R.Source), R.Lines) << R.Case;
}

class Password_Window : public Main_Window_Fixture {
protected:
    void SetUp() override
    {
        Main_Window_Fixture::SetUp();
        Create();
        F = Form_PSW;
    }
    // A password block in the receive buffer, decoded as the connect script does.
    void Read_Block(const std::string& Password, const std::string& Info)
    {
        ASSERT_LE(Password.size(), Password_Max_Length);
        ASSERT_LE(Info.size(), Password_Block_Size - Password_Max_Length);
        std::memset(RX_Frame + 2, 0xFF, Password_Block_Size);
        std::memcpy(RX_Frame + 2, Password.data(), Password.size());
        std::memcpy(RX_Frame + 2 + Password_Max_Length, Info.data(), Info.size());
        Script_Action_Slot(83)();
    }
    TForm_PSW* F = nullptr;
};

TEST_F(Password_Window, Each_Block_Read_Starts_Afresh_And_Decides_The_Lock)
{
    struct Row {
        const char* Case;
        std::string Password, Info;
        bool Check_Setting;
        bool Shown;
        TPanel* TForm_PSW::*Face;
        bool Granted;
        const char* Name;
    };
    Folder->Write(Password_List_File, Key_File_Line("known", "2026.01.01 00:00:00", ""));
    const std::vector<Row> Rows = {
        {"unknown password", "Abc1", "07.12.2026/Ivan//555", false, true, &TForm_PSW::Panel_PSW_Check, false, "Ivan"},
        {"no password, checking off", "", "07.12.2026/Olga", false, false, nullptr, true, ""},
        {"no password, checking on", "", "", true, true, &TForm_PSW::Panel_PSW_Warning, true, ""},
        {"remembered in other letters", "KNOWN", "07.12.2026/P", false, false, nullptr, true, "P"},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Case);
        F->Hide();
        F->Edit_PSW_pass1->Text("stale");
        F->Memo_PSW_Comm->Text("stale");
        Settings.CheckPassword = R.Check_Setting;
        Read_Block(R.Password, R.Info);
        EXPECT_EQ(F->Visible(), R.Shown);
        if (R.Face) {
            EXPECT_TRUE((F->*R.Face)->Visible());
        }
        EXPECT_EQ(Password_State.Access_Granted, R.Granted);
        EXPECT_EQ(Main()->PageControl_KardunGAS->Enabled(), R.Granted);
        EXPECT_EQ(Password_State.Controller_Password, R.Password);
        EXPECT_EQ(F->Edit_PSW_Name->Text(), R.Name);
        EXPECT_EQ(F->Memo_PSW_Comm->Text(), "");
        EXPECT_EQ(F->Edit_PSW_pass1->Text(), R.Granted ? R.Password : "");
    }
}

TEST_F(Password_Window, Set_Stays_Disabled_Unless_The_Entries_Are_A_Valid_Pair)
{
    F->Show();
    F->Button_PSW_SettingClick(nullptr);
    ASSERT_TRUE(F->Panel_PSW_Set->Visible());
    EXPECT_EQ(F->Label_PSW_Date_Set->Caption().size(), 10u);
    struct Row {
        std::string First, Second;
        std::string Name;
        bool Enabled;
    };
    const Row Rows[] = {
        {"Q7x", "Q7x", "", true},         {"Q7x", "q7x", "", false},        {"", "", "", false},
        {"a b", "a b", "", false},        {"a=b", "a=b", "", false},        {"{x", "{x", "", false},
        {"12345678", "12345678", "", true},
        // The edits take eight characters: a ninth is cut, the pair stays valid.
        {"123456789", "123456789", "", true},
        {"Q7x", "Q7x", std::string(46, 'n'), false},
    };
    for (const Row& R : Rows) {
        F->Edit_PSW_Name->Text(R.Name);
        F->Edit_PSW_pass1->Text(R.First);
        F->Edit_PSW_pass2->Text(R.Second);
        EXPECT_EQ(F->Button_PSW_Set->Enabled(), R.Enabled) << R.First << " / " << R.Second;
    }
}

TEST_F(Password_Window, Counter_And_Limits_Follow_The_Budget)
{
    F->Show();
    F->Button_PSW_SettingClick(nullptr);
    // The prompt of the field with the focus, then what is left.
    F->Edit_PSW_pass1->Text("abc");
    EXPECT_EQ(F->Label_PSW_Cnt->Caption(), "Enter password.\n\rRemaining free symbols : 5");
    // "/" separates the fields: it cannot be typed into one.
    F->Edit_PSW_Name->Text("Iv/an");
    EXPECT_EQ(F->Edit_PSW_Name->Text(), "Ivan");
    F->Memo_PSW_Comm->Text("a/b");
    EXPECT_EQ(F->Memo_PSW_Comm->Text(), "ab");
    struct Row {
        std::string Name, Phone, Comment;
        TControl* Field;
        std::string Counter;
        int Max_Length;
        bool Read_Only;
    };
    const Row Rows[] = {
        // Too long for the budget (more bytes than characters): the counter stays at 0.
        {std::string(50, 'n'), "", "", F->Edit_PSW_Name, "By setting.\n\rRemaining free symbols : 0", 50, false},
        {"Ivan", "", "", F->Edit_PSW_Name, "By setting.\n\rRemaining free symbols : 41", 45, false},
        {"Ivan", "", "", F->Edit_PSW_Phone, "Phone.\n\rRemaining free symbols : 41", 40, false},
        {std::string(45, 'n'), "", "", F->Edit_PSW_Phone, "Phone.\n\rRemaining free symbols : 0", 0, true},
        {std::string(44, 'n'), "", "", F->Edit_PSW_Phone, "Phone.\n\rRemaining free symbols : 1", 0, true},
        {std::string(45, 'n'), "", "", F->Edit_PSW_Name, "By setting.\n\rRemaining free symbols : 0", 45, false},
    };
    for (const Row& R : Rows) {
        F->Edit_PSW_Name->Text(R.Name);
        F->Edit_PSW_Phone->Text(R.Phone);
        F->Memo_PSW_Comm->Text(R.Comment);
        F->Focus_Field(R.Field);
        EXPECT_EQ(F->Label_PSW_Cnt->Caption(), R.Counter) << R.Name.size();
        auto* E = dynamic_cast<TEdit*>(R.Field);
        ASSERT_NE(E, nullptr);
        EXPECT_EQ(E->MaxLength(), R.Max_Length) << R.Name.size();
        EXPECT_EQ(E->ReadOnly(), R.Read_Only) << R.Name.size();
    }
}

TEST_F(Password_Window, Enter_In_The_Second_Entry_Goes_On_Only_When_They_Match)
{
    F->Show();
    F->Button_PSW_SettingClick(nullptr);
    F->Edit_PSW_pass1->Text("Q7x");
    F->Edit_PSW_pass2->Text("Q7y");
    std::uint16_t Key = VK_RETURN;
    F->Edit_PSW_pass2->OnKeyDown(F->Edit_PSW_pass2, Key, 0);
    EXPECT_EQ(Password_State.Password_Prompt.rfind("Enter password.", 0), 0u) << Password_State.Password_Prompt;
    F->Edit_PSW_pass2->Text("Q7x");
    F->Edit_PSW_pass2->OnKeyDown(F->Edit_PSW_pass2, Key, 0);
    EXPECT_EQ(Password_State.Password_Prompt.rfind("By setting.", 0), 0u) << Password_State.Password_Prompt;
    Key = VK_DOWN;
    F->Edit_PSW_Name->OnKeyDown(F->Edit_PSW_Name, Key, 0);
    EXPECT_EQ(Password_State.Password_Prompt.rfind("Phone.", 0), 0u);
    Key = VK_UP;
    F->Edit_PSW_Phone->OnKeyDown(F->Edit_PSW_Phone, Key, 0);
    EXPECT_EQ(Password_State.Password_Prompt.rfind("By setting.", 0), 0u);
}

// A write whose request another one replaces before the sequencer takes it has failed; one
// still waiting for its turn, or already under way, waits on.
TEST_F(Password_Window, A_Replaced_Write_Request_Fails_At_The_Next_Tick)
{
    struct Row {
        const char* Case;
        uint8_t Request_Then;    // Request_Code at the tick
        bool Script_Started;
        bool Still_Waiting;
    };
    const Row Rows[] = {
        {"replaced", 'A', false, false},
        {"waiting for its turn", 26, false, true},
        {"script under way", 0, true, true},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Case);
        Connected = true;
        F->Show();
        F->Button_PSW_SettingClick(nullptr);
        F->Edit_PSW_pass1->Text("Q7x");
        F->Edit_PSW_pass2->Text("Q7x");
        Form_MSG->Stored = MSG_Message{};
        ui::Answer_Next_Dialog(mrYes);
        F->Button_PSW_Set->Click();
        ASSERT_TRUE(F->Write_Pending());
        EXPECT_EQ(Request_Code, 26);
        if (R.Script_Started)
            Protocol_Hooks.Script_Write_Password();
        Request_Code = R.Request_Then;
        F->Timer_PSW_OK->OnTimer(nullptr);
        EXPECT_EQ(F->Write_Pending(), R.Still_Waiting);
        EXPECT_EQ(F->Panel_PSW_Set->Visible(), !R.Still_Waiting);
        EXPECT_EQ(Form_MSG->Stored.Text, R.Still_Waiting ? "" : "Error_CFG_Transmitt");
        EXPECT_EQ(Password_State.Controller_Password, "");
        F->Write_Failed(true);   // the next row starts without a write
        Request_Code = 0;
    }
}

// The four faces as a technician sees them.
TEST_F(Password_Window, Four_Faces_Render)
{
    Settings.CheckPassword = true;
    Read_Block("", "");
    ASSERT_TRUE(F->Panel_PSW_Warning->Visible());
    std::vector<std::string> Faces;
    auto Shot = [&](const std::string& Name) {
        Pump_For(30);
        const std::string Path = Folder->File(Name + ".png");
        EXPECT_TRUE(ui::Render_To_PNG(F, Path)) << Name;
        EXPECT_GT(std::filesystem::file_size(Path), 0u);
        if (const char* Keep = std::getenv("KARDUN_SHOT_DIR"))
            std::filesystem::copy_file(Path, std::string(Keep) + "/password_" + Name + ".png",
                                       std::filesystem::copy_options::overwrite_existing);
    };
    Shot("warning");
    F->Button_PSW_SettingClick(nullptr);
    F->Edit_PSW_pass1->Text("Q7x");
    F->Edit_PSW_pass2->Text("Q7x");
    F->Edit_PSW_Name->Text("Ivan Petrov");
    F->Edit_PSW_Phone->Text("555 123");
    F->Memo_PSW_Comm->Text("Station 4\r\nline 2");
    F->Focus_Field(F->Edit_PSW_Phone);
    Shot("set");
    F->Hide();
    Read_Block("Abc1", "07.12.2026/Ivan Petrov//555 123///Station 4\r\nline 2");
    ASSERT_TRUE(F->Panel_PSW_Check->Visible());
    F->Edit_PSW_Input->Text("wrong");
    F->Button_PSW_Check->Click();
    Shot("check");
    F->Edit_PSW_Input->Text("Abc1");
    F->Button_PSW_Check->Click();
    ASSERT_TRUE(F->Panel_PSW_Ok->Visible());
    Shot("result");
}

}  // namespace
