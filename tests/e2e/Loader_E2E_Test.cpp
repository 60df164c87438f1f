// The firmware loader end to end: the main and loader windows, the real port and the
// emulator's boot loader on a pseudo-terminal.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "common/Firmware_Writer.h"
#include "e2e/Emulator_Window_Fixture.h"
#include "emulator/Emulator.h"
#include "main/Main_Test_Support.h"
#include "protocol/Loader.h"
#include "windows/Loader_Window.h"

namespace {

using namespace main_test;

// A type 'D' file of several records of every kind.
fw::Writer Firmware_Set()
{
    fw::Writer W('D');
    W.Record(0x60, fw::Info_Data("GD_MAIN_PROGRAM", "21.04.2021", "3.47"));
    for (uint8_t I = 0; I < 4; ++I) {
        W.Short(fw::Counting(3 + I, I));
        W.Record(static_cast<uint8_t>(0x05 + 3 * I), fw::Counting(7 + 3 * I, static_cast<uint8_t>(40 + I)));
        W.Scrambled(static_cast<uint8_t>(0x85 + I), fw::Counting(7 + I, static_cast<uint8_t>(90 + I)));
    }
    W.Scrambled(0xE0, fw::Counting(98, 3));
    return W;
}

// The records as the boot loader must receive them: kind, T and the data frame's bytes.
std::vector<emu::Loader_Record> Records_Of(const fw::Writer& W)
{
    std::vector<emu::Loader_Record> Out;
    size_t At = 1;
    int Previous = -1;
    while (At < W.File.size()) {
        uint8_t Kind = 0;
        int D = 0;
        EXPECT_TRUE(Firmware_Record_Head(W.File[At], 'D', Previous, Kind, D));
        emu::Loader_Record R;
        R.Kind = Kind;
        if (Kind == Record_Kind_Scrambled) {
            R.Data.assign(W.File.begin() + At + 2, W.File.begin() + At + 2 + D);
            R.Data.push_back(W.File[At + 1]);
        } else {
            R.Data.assign(W.File.begin() + At + 1, W.File.begin() + At + 1 + D);
        }
        R.Frame_Length = static_cast<uint8_t>(R.Data.size() + 3);
        Out.push_back(R);
        At += D + 2;
        Previous = D;
    }
    return Out;
}

class Loader_E2E : public Emulator_Window_Fixture {
protected:
    void SetUp() override
    {
        Emulator_Window_Fixture::SetUp();
        ASSERT_NO_FATAL_FAILURE(Start_Emulator());
        Emu.Set_Loader({5, 'D'});
        With_Table();
        std::filesystem::create_directories(Folder->File("HEX"));
        Hex = Folder->File("HEX/Main_.hex");
        Folder->Write("HEX/Main_.hex", Set.Text());
    }
    // The loader window open, not connected, with the boot loader answering.
    void Enter_Loader_Directly()
    {
        Start_Program();
        Emu.Set_Loader_Mode(true);
        Main()->Button_HEX_LoaderClick(nullptr);
        ASSERT_TRUE(Form_Loader->Visible());
        ASSERT_TRUE(Pump_Until([] { return Loader_Connected; }, 10000));
    }
    void Browse()
    {
        ui::Answer_Next_File_Dialog(Hex);
        Form_Loader->Button_Loader_Browse->Click();
    }
    bool Transfer_Done(int Timeout_Ms = 30000)
    {
        return Pump_Until([] { return !Loader_File_Open && Loader_Progress == Loader_Progress_Max; },
                          Timeout_Ms);
    }

    std::string Hex;
    fw::Writer Set = Firmware_Set();
};

struct Entry_Row {
    const char* Name;
    bool From_Connected;
    uint8_t Version;
    bool Prompt;
    bool Right_Click;   // on the connection panel, else the About page's Loader button
};

class Loader_Entry : public Loader_E2E, public ::testing::WithParamInterface<Entry_Row> {};

TEST_P(Loader_Entry, ShowsTheWindowPollsTheBootLoaderAndPromptsOnlyForAnOldOneEnteredRunning)
{
    const Entry_Row& R = GetParam();
    Emu.Set_Loader({R.Version, 'D'});
    Start_Program();
    if (R.From_Connected) {
        ASSERT_TRUE(Pump_Until([] { return Connected; }, 15000));
        ASSERT_TRUE(Wait_Command(0x26, Count_Of(0x26) + 2));
    }
    Emu.Clear_Log();
    if (R.Right_Click)
        Main()->Panel_ConnectStatus->OnMouseDown(Main()->Panel_ConnectStatus, TMouseButton::Right, {}, 5, 5);
    else
        Main()->Button_HEX_Loader->Click();
    EXPECT_EQ(Form_Loader->CheckBox_Loader_Check_Version->Checked(), R.From_Connected);
    ASSERT_TRUE(Pump_Until([] { return Form_Loader->Visible(); }, 15000));
    Emu.Set_Loader_Mode(true);   // the ignition brings the boot loader up
    EXPECT_FALSE(Main()->Enabled());
    ASSERT_TRUE(Pump_Until([] { return Loader_Connected; }, 10000));
    const std::vector<emu::Log_Entry> Log = Emu.Log();
    if (R.From_Connected) {
        // The entry: work mode (00 01), eight live-data reads, then only loader polls.
        size_t At = 0;
        while (At < Log.size() && !(Log[At].complete && Log[At].request[1] == 0x23))
            ++At;
        ASSERT_LT(At + 9, Log.size());
        EXPECT_EQ(Log[At].request, (emu::Bytes{0x61, 0x23, 0x00, 0x01, 0x85}));
        for (size_t I = At + 1; I < At + 9; ++I)
            EXPECT_EQ(Log[I].request[1], 0x26) << I;
        for (size_t I = At + 9; I < Log.size(); ++I)
            EXPECT_EQ(Log[I].request, (emu::Bytes{0xF1, 0x81, 0x81, 0x81, 0x74})) << I;
    } else {
        for (const emu::Log_Entry& E : Log)
            EXPECT_EQ(E.request[0], 0xF1);
    }
    EXPECT_EQ(Form_Loader->Panel_Connect_Loader->Color(), clLime);
    EXPECT_EQ(Form_Loader->Label_Loader_Prompt->Visible(), R.Prompt);
    EXPECT_EQ(Form_Loader->Button_Loader_Browse->Enabled(), !R.Prompt);
    EXPECT_EQ(Form_Loader->Timer_Loader->Enabled(), R.Prompt);
    // The link quality shows on the loader window while the main window is disabled.
    EXPECT_TRUE(Pump_Until([] { return Form_Loader->Panel_Connect_Loader_PerCent->Caption() == "100%"; },
                           5000));
}

INSTANTIATE_TEST_SUITE_P(Entries, Loader_Entry,
                         ::testing::Values(Entry_Row{"RunningOldLoader", true, 4, true, false},
                                           Entry_Row{"RunningNewLoader", true, 5, false, true},
                                           Entry_Row{"NotConnectedOldLoader", false, 4, false, true}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(Loader_E2E, LoadSendsTheFileInOrderAndExitHandsTheLinkBack)
{
    Enter_Loader_Directly();
    Browse();
    EXPECT_EQ(Form_Loader->Edit_Loader_File->Text(), Hex);
    EXPECT_EQ(Form_Loader->Edit_Loader_File_Name->Text(), "GD_MAIN_PROGRAM");
    EXPECT_EQ(Form_Loader->Edit_Loader_File_Ver->Text(), "3.47");
    ASSERT_TRUE(Form_Loader->Button_Loader_Load->Enabled());
    const std::string Car_File = Settings.CFG_File_Name;
    Form_Loader->Button_Loader_Load->Click();
    EXPECT_EQ(Form_MSG->Stored.Type, Message_Type::Saved_Before_Loading);
    ASSERT_TRUE(Transfer_Done());
    EXPECT_EQ(Form_Loader->Gauge_Loader_Transmit->Progress(), static_cast<int>(Set.Size()));
    EXPECT_EQ(Form_Loader->Gauge_Loader_Transmit->MaxValue(), static_cast<int>(Set.Size()));
    EXPECT_EQ(Form_Loader->Gauge_Loader_Transmit->ForeColor(), clLime);
    EXPECT_EQ(Emu.Loader_Records(), Records_Of(Set));
    // Header and data frames alternate, random bits 0..62, then polling resumes.
    ASSERT_TRUE(Wait_Command(0x81, Count_Of(0x81) + 2));
    for (const emu::Log_Entry& E : Emu.Log()) {
        if (E.complete && E.request[1] == 0x83) {
            EXPECT_LE(E.request[2] & 0x3F, 62);
        }
    }
    // The configuration was kept in "Temp.cfg" with its history copy (when the program
    // holds the configuration file routines).
    if (Protocol_Hooks.Save_CFG_File) {
        EXPECT_TRUE(std::filesystem::exists(Settings.CFG_File_Path + "/Temp.cfg"));
        EXPECT_TRUE(std::filesystem::exists(Settings.CFG_File_Path + "/History/Temp"));
        EXPECT_EQ(Settings.CFG_File_Name, Car_File);
    }

    // Exit: 'Q' waits for the next reply, then the connect script starts with the probe.
    Form_Loader->Button_Loader_Exit->Click();
    ASSERT_TRUE(Pump_Until([] { return !Loader_Mode; }, 10000));
    EXPECT_TRUE(Main()->Enabled());
    EXPECT_FALSE(Form_Loader->Visible());
    Emu.Set_Loader_Mode(false);
    ASSERT_TRUE(Wait_Command(0x21, 1));
    const std::vector<emu::Log_Entry> Log = Emu.Log();
    size_t First_Probe = 0;
    while (First_Probe < Log.size() && !(Log[First_Probe].complete && Log[First_Probe].request[1] == 0x21))
        ++First_Probe;
    ASSERT_LT(First_Probe, Log.size());
    EXPECT_EQ(Log[First_Probe].request, (emu::Bytes{0x61, 0x21, 0x21, 0x21, 0xC4}));
    EXPECT_TRUE(Pump_Until([] { return Connected; }, 15000));
}

TEST_F(Loader_E2E, ASilentBootLoaderHasTheTransferStartAgainAndTheWindowSaysSoUntilItCompletes)
{
    // Silent from the third record's data frame on, for 2 s, or for 7 s (past the 5-s
    // watchdog, which closes the file): when the loader answers again the transfer starts
    // again from the first record and completes. Meanwhile the window says it will, never
    // that the load did not complete, and never offers Browse or Load.
    const struct {
        int Silent_Ms;
        bool File_Closed;
    } Rows[] = {{2000, false}, {7000, true}};
    Enter_Loader_Directly();
    Settings.Reply_Delay = 200;
    TLabel* Prompt = Form_Loader->Label_Loader_Prompt;
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Silent_Ms);
        Browse();
        Form_Loader->Button_Loader_Load->Click();
        const size_t Third_Header = Count_Of(0x83) + 3;
        int Offered = 0, Said_Not_Complete = 0, Said_Resumes = 0;
        const auto Watch = [&] {
            Offered += Form_Loader->Button_Loader_Browse->Enabled() || Form_Loader->Button_Loader_Load->Enabled();
            if (Prompt->Visible()) {
                Said_Not_Complete += Prompt->Caption() == "The load did not complete. Load the file again";
                Said_Resumes += Prompt->Caption() ==
                                "The load was interrupted. It starts again from the first record when the loader answers";
            }
        };
        ASSERT_TRUE(Pump_Until([&] { return Watch(), Count_Of(0x83) >= Third_Header; }, 15000));
        Emu.Set_Silent(true);
        const auto Since = std::chrono::steady_clock::now();
        EXPECT_TRUE(Pump_Until([&] { return Watch(), Loader_Resume; }, 5000));
        EXPECT_FALSE(Loader_Connected);
        Pump_Until([&] {
            Watch();
            return std::chrono::steady_clock::now() - Since > std::chrono::milliseconds(Row.Silent_Ms);
        }, Row.Silent_Ms + 1000);
        EXPECT_EQ(Loader_File_Open, !Row.File_Closed);
        EXPECT_GT(Said_Resumes, 0);
        Emu.Set_Silent(false);
        ASSERT_TRUE(Pump_Until([&] { return Watch(), Loader_Connected; }, 15000));
        ASSERT_TRUE(Pump_Until([&] { return Watch(), !Loader_File_Open && Loader_Progress == Loader_Progress_Max; },
                               60000));
        EXPECT_EQ(Offered, 0);
        EXPECT_EQ(Said_Not_Complete, 0);
        EXPECT_EQ(Emu.Loader_Records(), Records_Of(Set));
        EXPECT_EQ(Form_Loader->Gauge_Loader_Transmit->Progress(), static_cast<int>(Set.Size()));
        EXPECT_EQ(Form_Loader->Gauge_Loader_Transmit->ForeColor(), clLime);
        EXPECT_FALSE(Prompt->Visible());
        EXPECT_FALSE(Form_MSG->Pending && Form_MSG->Stored.Text == Loader_Transmit_Error_Key);
    }
    // A completed transfer is not sent again when the loader falls silent past the watchdog
    // and answers later.
    const size_t Headers = Count_Of(0x83);
    Emu.Set_Silent(true);
    ASSERT_TRUE(Pump_Until([] { return !Loader_Connected; }, 10000));
    Emu.Set_Silent(false);
    ASSERT_TRUE(Pump_Until([] { return Loader_Connected; }, 10000));
    Pump_For(1000);
    EXPECT_EQ(Count_Of(0x83), Headers);
    EXPECT_FALSE(Prompt->Visible());
}

TEST_F(Loader_E2E, APortVanishingMidTransferClosesTheFileSaysSoAndANewLoadCompletesOnceItIsBack)
{
    Enter_Loader_Directly();
    Browse();
    Form_Loader->Button_Loader_Load->Click();
    ASSERT_TRUE(Wait_Command(0x86, 3));
    Emu.Vanish();
    ASSERT_TRUE(Pump_Until([] { return !Port_Open; }, 15000));
    EXPECT_FALSE(Loader_File_Open);
    EXPECT_EQ(Form_Loader->Gauge_Loader_Transmit->Progress(), 0);
    EXPECT_FALSE(Main()->Enabled());
    EXPECT_TRUE(Form_Loader->Visible());
    EXPECT_TRUE(Loader_Mode);
    // The controller holds part of the program: the window says so, and keeps saying it
    // while the boot loader is polled again and answers.
    TLabel* Prompt = Form_Loader->Label_Loader_Prompt;
    const auto Says_Not_Complete = [Prompt] {
        return Prompt->Visible() && Prompt->Caption() == "The load did not complete. Load the file again";
    };
    EXPECT_TRUE(Says_Not_Complete());
    EXPECT_EQ(Prompt->Font().Color(), clRed);

    std::string Error;
    ASSERT_TRUE(Emu.Reappear(&Error)) << Error;
    ASSERT_TRUE(Pump_Until([] { return Port_Open && Loader_Connected; }, 15000));
    EXPECT_FALSE(Main()->Enabled());
    EXPECT_TRUE(Says_Not_Complete());
    ASSERT_TRUE(Form_Loader->Button_Loader_Load->Enabled());
    Form_Loader->Button_Loader_Load->Click();
    EXPECT_FALSE(Prompt->Visible());
    ASSERT_TRUE(Transfer_Done());
    EXPECT_EQ(Emu.Loader_Records(), Records_Of(Set));
}

TEST_F(Loader_E2E, AFirmwareFileCutShortOnDiskEndsTheTransferWithAMessage)
{
    Enter_Loader_Directly();
    Settings.Reply_Delay = 150;
    Browse();
    Form_Loader->Button_Loader_Load->Click();
    ASSERT_TRUE(Wait_Command(0x86, 2));
    Folder->Write("HEX/Main_.hex", Set.Text().substr(0, 60));
    ASSERT_TRUE(Pump_Until([] { return Form_MSG->Stored.Text == Loader_Transmit_Error_Key; }, 15000));
    EXPECT_EQ(Form_MSG->Stored.Type, 7);
    EXPECT_FALSE(Loader_File_Open);
    EXPECT_EQ(Form_Loader->Gauge_Loader_Transmit->Progress(), 0);
    const size_t Polls = Count_Of(0x81);
    EXPECT_TRUE(Wait_Command(0x81, Polls + 2));
    EXPECT_TRUE(Loader_Connected);
}

TEST_F(Loader_E2E, AFileOfAnotherTypeIsRefusedAtBrowseAndAtLoadAndNothingIsSent)
{
    Folder->Write("HEX/Other_.hex", fw::Writer('K').Short({1, 2, 3}).Text());
    const std::string Other = Folder->File("HEX/Other_.hex");
    auto Refused = [&] {
        ASSERT_FALSE(ui::Hooks.Asked.empty());
        EXPECT_EQ(ui::Hooks.Asked.back().Kind, "information");
        EXPECT_EQ(ui::Hooks.Asked.back().Text, Other + " Not compatible system and HEX file");
        EXPECT_EQ(Form_Loader->Edit_Loader_File->Text(), "");
        EXPECT_FALSE(Form_Loader->Button_Loader_Load->Enabled());
        EXPECT_FALSE(Form_Loader->Gauge_Loader_Transmit->Visible());
    };
    // Chosen while the boot loader answers: checked at once.
    Enter_Loader_Directly();
    ui::Answer_Next_File_Dialog(Other);
    ui::Answer_Next_Dialog(mrOk);
    Form_Loader->Button_Loader_Browse->Click();
    Refused();
    // Chosen while it does not answer: taken unchecked, checked when Load is pressed.
    Emu.Set_Silent(true);
    ASSERT_TRUE(Pump_Until([] { return !Loader_Connected; }, 15000));
    ui::Answer_Next_File_Dialog(Other);
    Form_Loader->Button_Loader_Browse->Click();
    EXPECT_EQ(Form_Loader->Edit_Loader_File->Text(), Other);
    EXPECT_FALSE(Form_Loader->Button_Loader_Load->Enabled());
    Emu.Set_Silent(false);
    ASSERT_TRUE(Pump_Until([] { return Loader_Connected; }, 10000));
    ASSERT_TRUE(Form_Loader->Button_Loader_Load->Enabled());
    ui::Answer_Next_Dialog(mrOk);
    Form_Loader->Button_Loader_Load->Click();
    Refused();
    EXPECT_FALSE(Loader_File_Open);
    EXPECT_NE(Request_Code, Loader_Request_Start);
    Pump_For(300);
    EXPECT_EQ(Count_Of(0x83), 0u);
}

}  // namespace
