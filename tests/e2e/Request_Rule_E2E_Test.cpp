// What the technician asks while the link is busy, end to end through the real port: a
// request never cuts a read or write of any window, each Save and Load keeps its own file,
// one message names everything a drop loses, and a controller met after a link loss never
// has its values filed in another car's file.
#include <gtest/gtest.h>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "data/Configuration.h"
#include "data/Globals.h"
#include "data/Key_File.h"
#include "data/Settings.h"
#include "e2e/Emulator_Window_Fixture.h"
#include "language/Language.h"
#include "platform/ui/Runtime.h"
#include "protocol/CFG_File.h"
#include "protocol/Loader.h"
#include "windows/Loader_Window.h"
#include "windows/MSG.h"
#include "windows/Password_Window.h"

namespace {

using namespace main_test;

constexpr uint8_t Control = 0x23, Announce = 0x25, Live = 0x26, Read_Block_27 = 0x27, Read_Block_28 = 0x28,
                  Table_Chunk_Read = 0x2B, Letter_List = 0x2F, Write_Password = 0x34;

class Request_Rule_E2E : public Emulator_Window_Fixture {
protected:
    void Connect(const std::string& Extra_Settings = "")
    {
        ASSERT_NO_FATAL_FAILURE(Start_Emulator(Key_File_Pad_Key("CFG_File_Path") + Folder->File("Config") +
                                               " {}\r\n" + Extra_Settings));
        std::filesystem::create_directories(Folder->File("Config"));
        Emu.Set_RPM_Table(13, 24, emu::Bytes(13 * 24 * 2 + 13 + 24, 1));
        With_Table();
        Create();
        Main()->Show();
        Start_Up();
        ASSERT_TRUE(Polling());
    }
    // Connected, the connect script through and the main poll running.
    bool Polling()
    {
        return Pump_Until([] { return Connected && Script_Flag_27 == 0; }, 30000) &&
               Wait_Command(Live, Count_Of(Live) + 3);
    }
    // Whether Command was logged, and After (when given) after it.
    bool Logged(uint8_t Command, int After = -1) const
    {
        const emu::Bytes C = Emu.Commands();
        const auto First = std::find(C.begin(), C.end(), Command);
        return First != C.end() && (After < 0 || std::find(First, C.end(), static_cast<uint8_t>(After)) != C.end());
    }
    void Mode_Key() { QTest::keyClick(Main()->Widget(), Qt::Key_M); }
    void Choose_Save(const std::string& Name)
    {
        ui::Answer_Next_File_Dialog(Folder->File("Config/" + Name));
        Main()->Button_CFG_Save->Click();
    }
    void Choose_Load(const std::string& Name)
    {
        ui::Answer_Next_File_Dialog(Folder->File("Config/" + Name));
        Main()->Button_CFG_Load->Click();
    }
    // The password window's Set with a new password, confirmed.
    void Set_Password(const std::string& Word)
    {
        Main()->Button_CFG_User_Password->Click();
        if (Form_PSW->Panel_PSW_Warning->Visible())
            Form_PSW->Button_PSW_Setting->Click();
        Form_PSW->Edit_PSW_pass1->Text(Word);
        Form_PSW->Edit_PSW_pass2->Text(Word);
        ui::Answer_Next_Dialog(mrYes);
        Form_PSW->Button_PSW_Set->Click();
    }
    bool Message_Names(const std::string& Key) const
    {
        const std::string& Shown = Form_MSG->Shown.Text;
        return Shown == Key || Shown.find(Language_Text(Key)) != std::string::npos;
    }
    // The key file's integer under Key, -1 when the file or the key is missing.
    static int Key_In(const std::string& Path, const std::string& Key)
    {
        if (!Key_File_Load(Path))
            return -1;
        const int Value = Key_File_Find_Int(Key) ? Key_Int_Value : -1;
        Key_File_Discard();
        return Value;
    }
};

TEST_F(Request_Rule_E2E, ARequestWaitsForTheReadOrWriteOfAnyWindowToEnd)
{
    ASSERT_NO_FATAL_FAILURE(Connect());
    Emu.Set_Reply_Delay(120);
    TForm_KardunGAS* F = Main();
    struct Row {
        const char* What;
        std::function<void()> Start;
        uint8_t Started_At;          // the script runs once this frame went
        std::function<bool()> Done;  // the script ended soundly
    };
    const std::vector<Row> Rows{
        {"the password window's write",
         [&] {
             F->Button_CFG_User_Password->Click();
             Form_PSW->Button_PSW_Setting->Click();
             Form_PSW->Edit_PSW_pass1->Text("Q7x");
             Form_PSW->Edit_PSW_pass2->Text("Q7x");
             ui::Answer_Next_Dialog(mrYes);
             Form_PSW->Button_PSW_Set->Click();
         },
         Announce,
         [&] {
             return Logged(Write_Password, Control) && Form_PSW->Label_PSW_Ok->Caption() == "Password establish";
         }},
        {"Receive", [&] { F->Button_CFG_Receiv->Click(); }, Read_Block_28,
         [&] { return Logged(Read_Block_27) && Logged(Table_Chunk_Read, Control); }},
        // The entry's own control frame goes first; the work mode waits behind the window.
        {"the loader entry", [&] { F->Button_HEX_Loader->Click(); }, Control,
         [&] { return Form_Loader->Visible(); }},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.What);
        ASSERT_TRUE(Polling());
        Emu.Clear_Log();
        R.Start();
        ASSERT_TRUE(Wait_Command(R.Started_At, 1));
        Mode_Key();
        EXPECT_TRUE(Pump_Until(R.Done, 20000));
        if (Form_PSW->Visible())
            Form_PSW->Close();
    }
}

TEST_F(Request_Rule_E2E, EachWaitingFileActionGoesToItsOwnFileInTheOrderAsked)
{
    ASSERT_NO_FATAL_FAILURE(Connect());
    Emu.Set_Reply_Delay(120);
    const std::string Loaded = Key_File_Pad_Key("PG_Delay") + "77 {}\r\n";
    struct Row {
        const char* What;
        std::vector<std::string> Actions;   // "S:<name>" save as, "L:<name>" load
        bool Silent;                        // the controller falls silent behind them
        std::vector<std::string> Saved;     // files that exist afterwards
        int Page_Delay;                     // the page's PG_Delay afterwards
        int Saved_Delay;                    // ... in the last file saved
    };
    // A file loaded names the car: a row's Transmit writes the file loaded in the row before
    // as its car's file. Each row loads its own.
    const std::vector<Row> Rows{
        {"save, then load", {"S:S1.cfg", "L:L1.cfg"}, false, {"S1.cfg"}, 77, 30},
        {"load, then save", {"L:L2.cfg", "S:S2.cfg"}, false, {"S2.cfg"}, 77, 77},
        {"two saves", {"S:S3.cfg", "S:S4.cfg"}, false, {"S3.cfg", "S4.cfg"}, 30, 30},
        {"save, then load, silent", {"S:S5.cfg", "L:L4.cfg"}, true, {"S5.cfg"}, 30, 30},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.What);
        ASSERT_TRUE(Polling());
        const std::string Load_File = "Config/L" + std::to_string(&R - Rows.data() + 1) + ".cfg";
        Folder->Write(Load_File, Loaded);
        MSG_Reset();
        Configuration.PG_Delay = 30;
        Main()->Button_CFG_Transmitt->Click();
        ASSERT_TRUE(Wait_Command(Announce, Count_Of(Announce) + 1));
        if (R.Silent)
            Emu.Set_Silent(true);
        for (const std::string& A : R.Actions) {
            if (A[0] == 'S')
                Choose_Save(A.substr(2));
            else
                Choose_Load(A.substr(2));
        }
        if (R.Silent) {
            ASSERT_TRUE(Pump_Until([] { return !Connected; }, 15000));
            Emu.Set_Silent(false);
        }
        ASSERT_TRUE(Polling());
        if (R.Silent) {
            EXPECT_TRUE(Message_Names("Error_CFG_Not_Loaded")) << Form_MSG->Shown.Text;
        }
        for (const std::string& Name : R.Saved)
            EXPECT_TRUE(std::filesystem::exists(Folder->File("Config/" + Name))) << Name;
        EXPECT_EQ(Configuration.PG_Delay, R.Page_Delay);
        EXPECT_EQ(Key_In(Folder->File("Config/" + R.Saved.back()), "PG_Delay"), R.Saved_Delay);
        EXPECT_TRUE(Folder->Read(Load_File) == Loaded) << "the file chosen for loading was written";
    }
}

TEST_F(Request_Rule_E2E, OneMessageNamesTheCutScriptAndEveryRequestDroppedWithIt)
{
    ASSERT_NO_FATAL_FAILURE(Connect());
    TForm_KardunGAS* F = Main();
    struct Row {
        const char* What;
        std::function<void()> Start;
        uint8_t Started_At;
        std::function<void()> Then;   // asked while it runs
        bool Port_Lost;               // else the controller falls silent
        std::vector<std::string> Keys;
    };
    const std::vector<Row> Rows{
        {"Receive cut at the configuration block, four requests behind it",
         [&] {
             Emu.Inject_Fault(emu::Fault::No_Reply, 1000, Read_Block_27);
             F->Button_CFG_Receiv->Click();
         },
         Read_Block_28,
         [&] {
             Configuration.PG_Delay = 44;
             F->Button_CFG_Transmitt->Click();
             F->Button_CFG_ST_Set->Click();
             F->Button_ERR_Clear->Click();
             Mode_Key();
         },
         false, {"Error_CFG_Receiv", "Error_Data_Transmitt", "Error_Errors_Not_Cleared", "Error_Mode"}},
        {"Transmit cut by a lost port, a Load behind it",
         [&] {
             Folder->Write("Config/L.cfg", Key_File_Pad_Key("PG_Delay") + "77 {}\r\n");
             Emu.Inject_Fault(emu::Fault::Vanish, 1, Letter_List);
             F->Button_CFG_Transmitt->Click();
         },
         Announce, [&] { Choose_Load("L.cfg"); }, true, {"Error_Data_Transmitt", "Error_CFG_Not_Loaded"}},
        {"the loader entry, its frame gone out",
         [&] {
             Emu.Inject_Fault(emu::Fault::No_Reply, 1000, Control);
             F->Button_HEX_Loader->Click();
         },
         Control, [] {}, false, {"Error_Loader_Not_Started"}},
        {"a send-now change inside its delay, port lost", [] {}, Live,
         [&] {
             Settings.Transmit_Now = true;
             Configuration.PG_Delay = 45;
             F->CFG_Parameter_Changed('O');
             Emu.Vanish();
         },
         true, {"Error_Data_Transmitt"}},
        {"the password window's write cut by a lost port, Mode behind it",
         [&] { Set_Password("Q7x"); }, Announce,
         [&] {
             Mode_Key();
             Emu.Vanish();
         },
         true, {"Error_Data_Transmitt", "Error_Mode"}},
        {"Mode, its frame gone out, port lost", [&] { Emu.Inject_Fault(emu::Fault::Vanish, 1, Control); }, Live,
         [&] { Mode_Key(); }, true, {"Error_Mode"}},
        {"Transmit cut by a lost port, a password write behind it",
         [&] {
             Emu.Inject_Fault(emu::Fault::Vanish, 1, Letter_List);
             F->Button_CFG_Transmitt->Click();
         },
         Announce, [&] { Set_Password("Q8y"); }, true, {"Error_Data_Transmitt", "Error_CFG_Transmitt"}},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.What);
        ASSERT_TRUE(Polling());
        MSG_Reset();
        Emu.Clear_Log();
        R.Start();
        ASSERT_TRUE(Wait_Command(R.Started_At, 1));
        R.Then();
        if (R.Port_Lost) {
            ASSERT_TRUE(Pump_Until([] { return !Port_Open; }, 15000));
            Pump_For(300);
            std::string Error;
            ASSERT_TRUE(Emu.Reappear(&Error)) << Error;
        } else {
            ASSERT_TRUE(Pump_Until([] { return !Connected; }, 15000));
        }
        Emu.Clear_Faults();
        Settings.Transmit_Now = false;
        ASSERT_TRUE(Polling());
        EXPECT_FALSE(Form_Loader->Visible());
        ASSERT_TRUE(Form_MSG->Visible());
        const std::string& Shown = Form_MSG->Shown.Text;
        for (const std::string& Key : R.Keys) {
            EXPECT_TRUE(Message_Names(Key)) << Key << " in: " << Shown;
            const std::string Text = Language_Text(Key);
            EXPECT_EQ(Shown.find(Text), Shown.rfind(Text)) << Key << " named twice";
        }
        Form_PSW->Close();
    }
}

TEST_F(Request_Rule_E2E, ALoaderExitIsDoneWhenTheBootLoaderFallsSilent)
{
    ASSERT_NO_FATAL_FAILURE(Connect());
    Main()->Button_HEX_Loader->Click();
    ASSERT_TRUE(Pump_Until([] { return Form_Loader->Visible(); }, 15000));
    Emu.Set_Loader_Mode(true);   // the ignition brings the boot loader up
    ASSERT_TRUE(Pump_Until([] { return Form_Loader->Visible() && Loader_Connected; }, 30000));
    Emu.Set_Silent(true);
    Pump_For(200);
    Form_Loader->Button_Loader_Exit->Click();
    EXPECT_TRUE(Pump_Until([] { return !Loader_Mode && !Form_Loader->Visible(); }, 15000));
}

TEST_F(Request_Rule_E2E, AnotherControllerAfterALinkLossNeverTouchesThePreviousCarsFile)
{
    Emu.Set_Car_Number({'L', 'T', '1', 0, 0, 0, 0, 0});
    ASSERT_NO_FATAL_FAILURE(Connect());
    ASSERT_EQ(Settings.CFG_File_Name, "LT1.cfg");
    Configuration.PG_Delay = 33;
    Main()->Button_CFG_Transmitt->Click();
    ASSERT_TRUE(Pump_Until([&] { return Key_In(Folder->File("Config/LT1.cfg"), "PG_Delay") == 33; }, 30000));
    const std::string Car_File = Folder->Read("Config/LT1.cfg");

    // A write cut by a lost port; another controller, without a car number, comes back.
    Configuration.PG_Delay = 66;
    Emu.Inject_Fault(emu::Fault::Vanish, 1, Letter_List);
    Main()->Button_CFG_Transmitt->Click();
    ASSERT_TRUE(Pump_Until([] { return !Port_Open; }, 15000));
    Emu.Set_Car_Number({0, 0, 0, 0, 0, 0, 0, 0});
    Pump_For(300);
    std::string Error;
    ASSERT_TRUE(Emu.Reappear(&Error)) << Error;
    ASSERT_TRUE(Polling());
    ASSERT_TRUE(Wait_Command(Live, Count_Of(Live) + 3));
    EXPECT_TRUE(Folder->Read("Config/LT1.cfg") == Car_File) << "the previous car's file was written";
}

}  // namespace
