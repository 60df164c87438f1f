// A value stepped on the Configuration page reaches the controller emulator once, after the
// send-now count, with its last value; without the setting it waits for Transmitt; files
// chosen by Save and Load while connected are taken at the next poll.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "data/Key_File.h"
#include "e2e/Emulator_Window_Fixture.h"
#include "protocol/CFG_File.h"

namespace {

using namespace main_test;

constexpr uint8_t Announce = 0x25, Live = 0x26, Letter_List = 0x2F, Table_Chunk = 0x2B;

class Send_Now_E2E : public Emulator_Window_Fixture {
protected:
    void Connect(bool Transmit_Now)
    {
        ASSERT_NO_FATAL_FAILURE(
            Start_Emulator(Key_File_Pad_Key("Transmit_Now") + (Transmit_Now ? "True" : "False") + " {}\r\n"));
        emu::Bytes Table(13 * 24 * 2 + 13 + 24, 100);
        Emu.Set_RPM_Table(13, 24, Table);
        With_Table();
        Start_Program();
        ASSERT_TRUE(Pump_Until([] { return Connected; }, 15000));
        ASSERT_TRUE(Pump_Until([&] { return Polls_After(Table_Chunk) >= 2; }, 30000));
    }
    size_t Polls_After(uint8_t Command) const
    {
        const emu::Bytes C = Emu.Commands();
        const auto Last = std::find(C.rbegin(), C.rend(), Command);
        return Last == C.rend() ? 0 : static_cast<size_t>(std::count(C.rbegin(), Last, Live));
    }
    // Complete frames of a command, in order.
    std::vector<emu::Bytes> Frames_Of(uint8_t Command) const
    {
        std::vector<emu::Bytes> Out;
        for (const emu::Log_Entry& E : Emu.Log())
            if (E.complete && E.request.size() > 3 && E.request[1] == Command)
                Out.push_back(E.request);
        return Out;
    }
    void Step_PG_RPM_Up(int Times)
    {
        for (int I = 0; I < Times; ++I)
            Main()->PG_RPM.UpDown->Step(TUD_Button::Up);
    }
    // Reads the configuration back (R) and waits for the poll after it.
    void Read_Back()
    {
        Configuration.PG_RPM = 0;
        Emu.Clear_Log();
        Main()->Button_CFG_Receiv->Click();
        ASSERT_TRUE(Pump_Until([&] { return Request_Code == 0 && Polls_After(0x27) >= 1; }, 20000));
    }
};

TEST_F(Send_Now_E2E, ThreeStepsGoOutOnceAfterTheCountWithTheLastValue)
{
    ASSERT_NO_FATAL_FAILURE(Connect(true));
    TForm_KardunGAS* F = Main();
    size_t Log_At_Fire = 0;
    bool Fired = false;
    const TNotify_Event Own = F->Timer_Transmit_Now->OnTimer;
    F->Timer_Transmit_Now->OnTimer = [&](TObject* Sender) {
        Fired = true;
        Log_At_Fire = Emu.Log().size();
        Own(Sender);
    };
    Emu.Clear_Log();
    const int32_t Start = F->PG_RPM.UpDown->Position();
    Step_PG_RPM_Up(3);
    EXPECT_EQ(Configuration.PG_RPM, Start + 300);
    // Until the send is done only this parameter's controls can be used.
    EXPECT_FALSE(F->PG_Temper.UpDown->Enabled());
    EXPECT_TRUE(F->PG_RPM.UpDown->Enabled());
    EXPECT_TRUE(F->Timer_Transmit_Now->Enabled());

    ASSERT_TRUE(Wait_Command(Letter_List, 1));
    ASSERT_TRUE(Pump_Until([&] { return Polls_After(Letter_List) >= 2; }, 10000));
    ASSERT_TRUE(Fired);
    const auto Lists = Frames_Of(Letter_List);
    ASSERT_EQ(Lists.size(), 1u);
    EXPECT_EQ(Lists[0][2], 'K');
    EXPECT_EQ(Lists[0][5], 'A');
    const auto Announces = Frames_Of(Announce);
    ASSERT_EQ(Announces.size(), 1u);
    EXPECT_EQ(Announces[0][3], 9);
    // Nothing went before the count ran out.
    const auto& Log = Emu.Log();
    const auto First_Write = std::find_if(Log.begin(), Log.end(), [](const emu::Log_Entry& E) {
        return E.request.size() > 1 && E.request[1] == Announce;
    });
    EXPECT_GE(static_cast<size_t>(First_Write - Log.begin()), Log_At_Fire);
    ASSERT_TRUE(Pump_Until([&] { return F->PG_Temper.UpDown->Enabled(); }, 5000));
    F->Timer_Transmit_Now->OnTimer = Own;

    ASSERT_NO_FATAL_FAILURE(Read_Back());
    EXPECT_EQ(Configuration.PG_RPM, Start + 300);
}

TEST_F(Send_Now_E2E, AChoiceSendsTheValuesItSetsWithIt)
{
    ASSERT_NO_FATAL_FAILURE(Connect(true));
    TForm_KardunGAS* F = Main();
    // The controller first holds the page's defaults (LPG, gas-temperature factors 10, six
    // cylinders), under the file's car number: the write is the configuration's.
    // Default moves the phase bars off the controller's phases: they go out at once too,
    // and the controls are usable again when they have.
    F->Button_CFG_Default->Click();
    Configuration.Car_Number = Strip_Extension(Settings.CFG_File_Name);
    F->Button_CFG_Transmitt->Click();
    ASSERT_TRUE(Pump_Until([&] {
        return Request_Code == 0 && !F->Timer_Transmit_Now->Enabled() && F->PG_Temper.UpDown->Enabled() &&
               Polls_After(Announce) >= 2;
    }, 30000));
    // A user's step, sent at once; done when the controls are usable again.
    auto Send = [&](const std::function<void()>& Step) {
        Emu.Clear_Log();
        Step();
        ASSERT_TRUE(Pump_Until([&] { return Polls_After(Letter_List) >= 2 && F->PG_Temper.UpDown->Enabled(); },
                               10000));
    };
    auto Injection_Type = [F](const char* Text) {
        TComboBox* Combo = F->ComboBox_CFG_Injection_Type;
        Combo->ItemIndex(Combo->Items().IndexOf(Text));
        Combo->User_Selected(Combo->ItemIndex());
    };

    ASSERT_NO_FATAL_FAILURE(Send([F] { F->RadioButton_CFG_CNG->Checked(true); }));
    Configuration.Infl_TempGas_S = Configuration.Infl_TempGas_B = 0;
    ASSERT_NO_FATAL_FAILURE(Read_Back());
    EXPECT_FALSE(Configuration.LPG_on);
    EXPECT_EQ(Configuration.Infl_TempGas_S, 20);
    EXPECT_EQ(Configuration.Infl_TempGas_B, 20);

    // Bar 2 moved under "1 / 2", then "1 * 2" chosen: every phase back at its default.
    ASSERT_NO_FATAL_FAILURE(Send([&] { Injection_Type("1 / 2"); F->Injection_Bars[1]->Position(42); }));
    ASSERT_NO_FATAL_FAILURE(Send([&] { Injection_Type("1 * 2"); }));
    Configuration.GI_Pos_2 = 0;
    ASSERT_NO_FATAL_FAILURE(Read_Back());
    const Configuration_Class& C = Configuration;
    EXPECT_EQ(C.GI_Div, 3);
    EXPECT_EQ((std::vector<int32_t>{C.GI_Pos_1, C.GI_Pos_2, C.GI_Pos_3, C.GI_Pos_4, C.GI_Pos_5, C.GI_Pos_6}),
              (std::vector<int32_t>{15, 30, 45, 60, 75, 95}));
}

TEST_F(Send_Now_E2E, WithoutTheSettingNothingGoesUntilTransmitt)
{
    ASSERT_NO_FATAL_FAILURE(Connect(false));
    TForm_KardunGAS* F = Main();
    Emu.Clear_Log();
    const int32_t Start = F->PG_RPM.UpDown->Position();
    Step_PG_RPM_Up(2);
    EXPECT_TRUE(F->PG_Temper.UpDown->Enabled());
    EXPECT_FALSE(F->Timer_Transmit_Now->Enabled());
    Pump_For(1500);
    EXPECT_EQ(Count_Of(Announce), 0u);
    EXPECT_EQ(Count_Of(Letter_List), 0u);

    F->Button_CFG_Transmitt->Click();
    EXPECT_EQ(Request_Code, 2);
    ASSERT_TRUE(Pump_Until([&] { return Request_Code == 0 && Count_Of(Announce) > 0 && Polls_After(Announce) >= 2; },
                           20000));
    ASSERT_NO_FATAL_FAILURE(Read_Back());
    EXPECT_EQ(Configuration.PG_RPM, Start + 200);
}

TEST_F(Send_Now_E2E, SaveAndLoadWhileConnectedTakeTheFileAtTheNextPoll)
{
    ASSERT_NO_FATAL_FAILURE(Connect(false));
    TForm_KardunGAS* F = Main();
    std::filesystem::create_directories(Folder->File("cfg"));
    Settings.CFG_File_Path = Folder->File("cfg");
    Settings.CFG_File_Name = "Default";
    Configuration.PG_RPM = 1700;
    ui::Answer_Next_File_Dialog(Folder->File("cfg/AB123.cfg"));
    F->Button_CFG_Save->Click();
    EXPECT_EQ(Settings.CFG_File_Name, "Default");
    ASSERT_TRUE(Pump_Until([] { return Request_Code == 0; }, 10000));
    EXPECT_EQ(Settings.CFG_File_Name, "AB123.cfg");
    EXPECT_TRUE(std::filesystem::exists(Folder->File("cfg/AB123.cfg")));
    EXPECT_EQ(F->Edit_Car_Num->Text(), "AB123");
    EXPECT_TRUE(F->Button_CFG_Transmitt->Enabled());

    Configuration.PG_RPM = 2500;
    ui::Answer_Next_File_Dialog(Folder->File("cfg/AB123.cfg"));
    F->Button_CFG_Load->Click();
    EXPECT_EQ(Configuration.PG_RPM, 2500);
    ASSERT_TRUE(Pump_Until([] { return Request_Code == 0; }, 10000));
    EXPECT_EQ(Configuration.PG_RPM, 1700);
    EXPECT_EQ(F->PG_RPM.Edit->Text(), "1700");
}

}  // namespace
