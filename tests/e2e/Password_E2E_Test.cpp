// The access password end to end: the main and password windows, the real port component
// and the controller emulator holding a password block.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "e2e/Emulator_Window_Fixture.h"
#include "emulator/Emulator.h"
#include "platform/system/Date_Time.h"
#include "platform/ui/Runtime.h"
#include "windows/Password_Window.h"

namespace {

using namespace main_test;

constexpr uint8_t Read_Password = 0x2C, Write_Password = 0x34, Announce = 0x25, Control = 0x23,
                  Ident = 0x22, Live = 0x26;

emu::Bytes Block_Of(const std::string& Password, const std::string& Info)
{
    emu::Bytes B(Password.begin(), Password.end());
    B.resize(8, 0xFF);
    B.insert(B.end(), Info.begin(), Info.end());
    B.resize(64, 0xFF);
    return B;
}

class Password_E2E : public Emulator_Window_Fixture {
public:
    // What the rows of a table reach.
    using Emulator_Window_Fixture::Emu;
    using Emulator_Window_Fixture::Main;
    using Emulator_Window_Fixture::Wait_Command;

protected:
    void SetUp() override
    {
        Emulator_Window_Fixture::SetUp();
        ASSERT_NO_FATAL_FAILURE(Start_Emulator());
        Emu.Set_RPM_Table(13, 24, emu::Bytes(13 * 24 * 2 + 13 + 24, 1));
    }
    void Connect()
    {
        With_Table();
        Create();
        Main()->Show();
        Start_Up();
        ASSERT_TRUE(Pump_Until([] { return Connected; }, 15000));
        ASSERT_TRUE(Pump_Until([&] { return Polls_After(0x2B) >= 1; }, 30000));
    }
    size_t Polls_After(uint8_t Command) const
    {
        const emu::Bytes C = Emu.Commands();
        const auto Last = std::find(C.rbegin(), C.rend(), Command);
        return Last == C.rend() ? 0 : static_cast<size_t>(std::count(C.rbegin(), Last, Live));
    }
    // The watchdog's tick as the timer would fire it: the link starts again from the probe.
    void Reconnect()
    {
        Emu.Clear_Log();
        Main()->Timer_ConnectTimer(nullptr);
        ASSERT_TRUE(Pump_Until([&] { return Count_Of(Read_Password) > 0 && Connected; }, 15000));
        ASSERT_TRUE(Pump_Until([&] { return Polls_After(0x2B) >= 1; }, 30000));
    }
    // Frames other than the live-data polls since the log was cleared: command and data.
    std::vector<emu::Bytes> Writes() const
    {
        std::vector<emu::Bytes> W;
        for (const emu::Log_Entry& E : Emu.Log())
            if (E.complete && E.request.size() > 3 && E.request[1] != Live)
                W.emplace_back(E.request.begin() + 1, E.request.end() - 1);
        return W;
    }
    TForm_PSW* PSW() { return Form_PSW; }
    std::string List() const { return Folder->Read(Password_List_File); }
    bool Result_Shown(const std::string& Text)
    {
        return Pump_Until(
            [&] {
                return PSW()->Label_PSW_Ok->Caption() == Text && PSW()->Label_PSW_Ok->Font().Color() == clGreen &&
                       PSW()->Timer_PSW_OK->Enabled() && !PSW()->Write_Pending();
            },
            20000);
    }
    void Fill_Set_Face(const std::string& Password)
    {
        PSW()->Edit_PSW_pass1->Text(Password);
        PSW()->Edit_PSW_pass2->Text(Password);
        PSW()->Edit_PSW_Name->Text("Ivan");
        PSW()->Edit_PSW_Phone->Text("555");
        PSW()->Memo_PSW_Comm->Text("line one\r\nline two");
    }
    // Opens the set face on a controller without a password.
    void Open_Set_Face()
    {
        Main()->Button_CFG_User_Password->Click();
        ASSERT_TRUE(PSW()->Visible());
        ASSERT_TRUE(PSW()->Panel_PSW_Warning->Visible());
        PSW()->Button_PSW_Setting->Click();
        ASSERT_TRUE(PSW()->Panel_PSW_Set->Visible());
    }
};

TEST_F(Password_E2E, A_Locked_Controller_Opens_Only_With_Its_Password)
{
    Emu.Set_Password_Block(Block_Of("Abc1", "07.12.2026/Ivan//555"));
    ASSERT_NO_FATAL_FAILURE(Connect());
    // The block is read right after the identification.
    const emu::Bytes C = Emu.Commands();
    const auto Id = std::find(C.begin(), C.end(), Ident);
    ASSERT_NE(Id, C.end());
    EXPECT_EQ(*(Id + 1), Read_Password);
    // Locked: the check face with the stored info.
    ASSERT_TRUE(PSW()->Visible());
    EXPECT_TRUE(PSW()->Panel_PSW_Check->Visible());
    EXPECT_FALSE(Main()->PageControl_KardunGAS->Enabled());
    EXPECT_FALSE(Password_State.Access_Granted);
    const std::string Memo = PSW()->Memo_PSW->Text();
    EXPECT_NE(Memo.find("By setting : "), std::string::npos) << Memo;
    EXPECT_NE(Memo.find("Ivan"), std::string::npos);
    EXPECT_NE(Memo.find("555"), std::string::npos);
    EXPECT_NE(Memo.find("07.12.2026"), std::string::npos);

    // Letter case counts at the check; closing while locked goes back to the first page.
    PSW()->Edit_PSW_Input->Text("abc1");
    PSW()->Button_PSW_Check->Click();
    EXPECT_EQ(PSW()->Label_PSW_Input->Font().Color(), clRed);
    EXPECT_EQ(PSW()->Label_PSW_Input->Caption(),
              "Invalid password, try once more otherwise it will be blocked can configure the device");
    EXPECT_EQ(PSW()->Edit_PSW_Input->Text(), "");
    EXPECT_FALSE(Main()->PageControl_KardunGAS->Enabled());
    Main()->PageControl_KardunGAS->ActivePageIndex(2);
    PSW()->Close();
    EXPECT_EQ(Main()->PageControl_KardunGAS->ActivePageIndex(), 0);
    EXPECT_FALSE(Main()->PageControl_KardunGAS->Enabled());

    // The right password, remembered.
    PSW()->Show();
    ASSERT_TRUE(PSW()->Panel_PSW_Check->Visible());
    EXPECT_EQ(PSW()->Label_PSW_Input->Font().Color(), clBlue);
    PSW()->Edit_PSW_Input->Text("Abc1");
    PSW()->Label_PSW_Save->Click();
    EXPECT_TRUE(PSW()->CheckBox_PSW_Save->Checked());
    PSW()->Button_PSW_Check->Click();
    EXPECT_TRUE(PSW()->Panel_PSW_Ok->Visible());
    EXPECT_TRUE(Result_Shown("Correct password"));
    PSW()->Timer_PSW_OK->OnTimer(nullptr);
    EXPECT_FALSE(PSW()->Visible());
    EXPECT_TRUE(Main()->PageControl_KardunGAS->Enabled());
    EXPECT_EQ(Main()->Caption(), "Roz Izoder  Version 0.36  Date 2014.06.18               By setting - Ivan");
    const std::string Line = List();
    EXPECT_TRUE(std::regex_match(Line, std::regex("Abc1 {25}\\d{4}\\.\\d\\d\\.\\d\\d \\d\\d:\\d\\d:\\d\\d "
                                                  "\\{07\\.12\\.2026/Ivan//555\\}\r\n")))
        << Line;

    // The same password in other letters, as another controller keeps it: known, no question.
    Emu.Set_Password_Block(Block_Of("ABC1", "07.12.2026/Petr"));
    ASSERT_NO_FATAL_FAILURE(Reconnect());
    EXPECT_FALSE(PSW()->Visible());
    EXPECT_TRUE(Password_State.Access_Granted);
    EXPECT_EQ(Password_State.Controller_Password, "ABC1");
    EXPECT_EQ(PSW()->Edit_PSW_pass1->Text(), "ABC1");
    EXPECT_EQ(PSW()->Edit_PSW_Name->Text(), "Petr");
    EXPECT_EQ(List(), Line);
}

TEST_F(Password_E2E, Writes_Change_Nothing_Until_The_Controller_Acknowledges_Them)
{
    ASSERT_NO_FATAL_FAILURE(Connect());
    EXPECT_TRUE(Main()->PageControl_KardunGAS->Enabled());
    EXPECT_FALSE(PSW()->Visible());
    // No password, so no name: the caption is the program's own.
    EXPECT_EQ(Main()->Caption(), "Roz Izoder  Version 0.36  Date 2014.06.18");
    const std::string Today = sys::Short_Date_Text(sys::Now());

    // Set.
    ASSERT_NO_FATAL_FAILURE(Open_Set_Face());
    Fill_Set_Face("Q7x");
    ASSERT_TRUE(PSW()->Button_PSW_Set->Enabled());
    Emu.Clear_Log();
    ui::Answer_Next_Dialog(mrYes);
    PSW()->Button_PSW_Set->Click();
    EXPECT_EQ(PSW()->Label_PSW_Ok->Caption(), "Data transmission");
    EXPECT_EQ(Password_State.Controller_Password, "");
    EXPECT_FALSE(Main()->CheckBox_checkPassword->Checked());
    ASSERT_TRUE(Result_Shown("Password establish"));
    const std::string Info = Today + "/Ivan//555///line one\r\nline two";
    const std::vector<emu::Bytes> Expected = {
        {Control, 0x00, 0x01},
        {Announce, 0x25, 0x43},
        [&] {
            emu::Bytes W{Write_Password};
            const emu::Bytes B = Block_Of("Q7x", Info);
            W.insert(W.end(), B.begin(), B.end());
            return W;
        }()};
    EXPECT_EQ(Writes(), Expected);
    EXPECT_EQ(Emu.Password_Block(), Block_Of("Q7x", Info));
    EXPECT_EQ(Password_State.Controller_Password, "Q7x");
    EXPECT_TRUE(Password_State.Access_Granted);
    EXPECT_TRUE(Main()->CheckBox_checkPassword->Checked());
    EXPECT_NE(Main()->Caption().find("By setting - Ivan"), std::string::npos);
    EXPECT_NE(List().find(" {" + Today + "/Ivan//555///line one line two}\r\n"), std::string::npos) << List();
    PSW()->Timer_PSW_OK->OnTimer(nullptr);

    // The next connection asks nothing (the controller now holds the password with an
    // older date).
    Emu.Set_Password_Block(Block_Of("Q7x", "01.06.2014/Ivan"));
    ASSERT_NO_FATAL_FAILURE(Reconnect());
    EXPECT_FALSE(PSW()->Visible());
    EXPECT_TRUE(Main()->PageControl_KardunGAS->Enabled());

    // Set again on the face the window opens on for a known password: today's date goes.
    Main()->Button_CFG_User_Password->Click();
    ASSERT_TRUE(PSW()->Panel_PSW_Set->Visible());
    EXPECT_EQ(PSW()->Label_PSW_Date_Set->Caption(), "01.06.2014");
    PSW()->Edit_PSW_pass1->Text("Z9!");
    PSW()->Edit_PSW_pass2->Text("Z9!");
    ui::Answer_Next_Dialog(mrYes);
    PSW()->Button_PSW_Set->Click();
    ASSERT_TRUE(Result_Shown("Password establish"));
    EXPECT_EQ(Emu.Password_Block(), Block_Of("Z9!", Today + "/Ivan"));
    EXPECT_EQ(PSW()->Label_PSW_Date_Set->Caption(), Today);
    EXPECT_NE(List().find(" {" + Today + "/Ivan}\r\n"), std::string::npos) << List();
    PSW()->Timer_PSW_OK->OnTimer(nullptr);

    // Clear: eight $FF bytes and today's date.
    PSW()->Show();
    ASSERT_TRUE(PSW()->Panel_PSW_Set->Visible());
    ui::Answer_Next_Dialog(mrYes);
    PSW()->Button_PSW_Clr->Click();
    ASSERT_TRUE(Result_Shown("Password canceled"));
    EXPECT_EQ(Emu.Password_Block(), Block_Of("", Today));
    EXPECT_EQ(Password_State.Controller_Password, "");
    PSW()->Timer_PSW_OK->OnTimer(nullptr);

    // Clear and Default from the locked face: the password, then the factory configuration.
    Emu.Set_Password_Block(Block_Of("Lk", "01.01.2026"));
    ASSERT_NO_FATAL_FAILURE(Reconnect());
    ASSERT_TRUE(PSW()->Panel_PSW_Check->Visible());
    EXPECT_FALSE(Main()->PageControl_KardunGAS->Enabled());
    Emu.Clear_Log();
    ui::Answer_Next_Dialog(mrYes);
    PSW()->Button_PSW_Default->Click();
    ASSERT_TRUE(Result_Shown("Password canceled and set to factory settings"));
    std::vector<uint8_t> Commands;
    for (const emu::Bytes& W : Writes())
        Commands.push_back(W[0]);
    // The factory table differs from the controller's: it goes in six chunks after its size.
    std::vector<uint8_t> Default_Write{Control, Announce, Write_Password, Announce, 0x2F, 0x32};
    for (int Chunk = 0; Chunk < 6; ++Chunk)
        Default_Write.insert(Default_Write.end(), {Announce, 0x33});
    Default_Write.insert(Default_Write.end(), {Announce, 0x30, Announce, 0x31});
    EXPECT_EQ(Commands, Default_Write);
    EXPECT_EQ(Emu.Password_Block(), Block_Of("", Today));
    // Each of these writes was asked first, and Return would have kept things as they were.
    std::vector<int> Defaults;
    for (const ui::TDialog_Record& Asked : ui::Hooks.Asked)
        if (Asked.Text == "Are you sure")
            Defaults.push_back(Asked.Default);
    EXPECT_EQ(Defaults, std::vector<int>(4, mrNo));
    EXPECT_TRUE(Password_State.Access_Granted);
    EXPECT_TRUE(Main()->PageControl_KardunGAS->Enabled());
}

// How the link fails a write: before the click, and after it.
struct Failure_Row {
    const char* Case;
    void (*Before_Click)(Password_E2E& T);
    void (*After_Click)(Password_E2E& T);
    bool Block_Sent;
    const char* Said;   // the message's key: a lost port names the write by the cut script
};

class Password_Failure_E2E : public Password_E2E, public ::testing::WithParamInterface<Failure_Row> {};

const Failure_Row Failure_Rows[] = {
    {"Never_Acknowledged",
     [](Password_E2E& T) { T.Emu.Inject_Fault(emu::Fault::No_Reply, 0, Write_Password); },
     [](Password_E2E& T) {
         ASSERT_TRUE(T.Wait_Command(Write_Password, 2));
         T.Main()->Timer_ConnectTimer(nullptr);   // the watchdog's time is up
     },
     true, "Error_CFG_Transmitt"},
    {"Link_Dropped_During_The_Write",
     [](Password_E2E& T) { T.Emu.Inject_Fault(emu::Fault::Vanish, 1, Write_Password); },
     [](Password_E2E&) { ASSERT_TRUE(Pump_Until([] { return !Connected; }, 15000)); }, true,
     "Error_Data_Transmitt"},
    {"Not_Connected",
     [](Password_E2E& T) {
         T.Emu.Set_Silent(true);
         T.Main()->Timer_ConnectTimer(nullptr);
         ASSERT_FALSE(Connected);
     },
     [](Password_E2E&) {}, false, "Error_CFG_Transmitt"},
};

// A write that the controller never acknowledges changes neither the state nor the list.
TEST_P(Password_Failure_E2E, Changes_Nothing_And_Says_So_In_Red)
{
    const Failure_Row& R = GetParam();
    ASSERT_NO_FATAL_FAILURE(Connect());
    ASSERT_NO_FATAL_FAILURE(Open_Set_Face());
    Fill_Set_Face("Q7x");
    ASSERT_NO_FATAL_FAILURE(R.Before_Click(*this));
    Emu.Clear_Log();
    Form_MSG->Stored = MSG_Message{};
    ui::Answer_Next_Dialog(mrYes);
    PSW()->Button_PSW_Set->Click();
    ASSERT_NO_FATAL_FAILURE(R.After_Click(*this));
    EXPECT_FALSE(PSW()->Write_Pending());
    EXPECT_EQ(Count_Of(Write_Password) > 0, R.Block_Sent);
    EXPECT_EQ(Form_MSG->Stored.Text, R.Said);
    EXPECT_EQ(Form_MSG->Stored.Colour, clRed);
    EXPECT_TRUE(PSW()->Panel_PSW_Set->Visible());
    EXPECT_FALSE(PSW()->Timer_PSW_OK->Enabled());
    EXPECT_EQ(Password_State.Controller_Password, "");
    EXPECT_FALSE(Main()->CheckBox_checkPassword->Checked());
    EXPECT_FALSE(std::filesystem::exists(Folder->File(Password_List_File)));
}

INSTANTIATE_TEST_SUITE_P(Ways, Password_Failure_E2E, ::testing::ValuesIn(Failure_Rows),
                         [](const ::testing::TestParamInfo<Failure_Row>& I) { return std::string(I.param.Case); });

}  // namespace
