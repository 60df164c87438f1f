// The program's link end to end: the main window, its real port component and the
// controller emulator on a pseudo-terminal named in the settings file.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "data/Conversions.h"
#include "data/Settings.h"
#include "e2e/Emulator_Window_Fixture.h"
#include "emulator/Emulator.h"
#include "language/Language.h"
#include "main/Gauges.h"
#include "main/Main_Test_Support.h"
#include "protocol/CFG_File.h"
#include "protocol/Param_Codecs.h"
#include "protocol/Request_Codes.h"
#include "protocol/Script.h"
#include "protocol/Write_Lists.h"
#include "windows/Loader_Window.h"
#include "windows/MSG.h"

namespace {

using namespace main_test;

std::string Command_List(const emu::Bytes& C)
{
    std::string Text;
    char Buf[8];
    for (uint8_t X : C) {
        std::snprintf(Buf, sizeof Buf, "%02X ", X);
        Text += Buf;
    }
    return Text;
}
using Ms = std::chrono::milliseconds;

// Whether the needle image shows the needle of Value: its pixels are there, and none of
// the needle at Other is (where the two needles differ).
::testing::AssertionResult Needle_Shows(TImage* Image, const Gauge_Parameters& Gauge, int Value,
                                        int Other)
{
    const auto Expected = Draw_Gauge_Needle(Gauge, Value, Image->Width(), Image->Height());
    const auto Wrong = Draw_Gauge_Needle(Gauge, Other, Image->Width(), Image->Height());
    int Same = 0, Missing = 0, Stray = 0;
    for (int Y = 0; Y < Expected->Height(); ++Y)
        for (int X = 0; X < Expected->Width(); ++X) {
            const bool Shown = Image->Canvas()->Pixels(X, Y) == Gauge.Colour;
            if (Expected->Canvas()->Pixels(X, Y) == Gauge.Colour)
                (Shown ? Same : Missing) += 1;
            else if (Wrong->Canvas()->Pixels(X, Y) == Gauge.Colour)
                Stray += Shown;
        }
    if (Same > 100 && Missing == 0 && Stray == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "value " << Value << ": " << Same << " shown, "
                                         << Missing << " missing, " << Stray << " stray";
}

class Link_E2E : public Emulator_Window_Fixture {
protected:
    void SetUp() override
    {
        Emulator_Window_Fixture::SetUp();
        ASSERT_NO_FATAL_FAILURE(Start_Emulator());
        With_Table();
    }

    bool Wait_Connected(int Timeout_Ms = 15000)
    {
        return Pump_Until([] { return Connected; }, Timeout_Ms);
    }
    // Receive times of the complete frames of one command.
    std::vector<emu::Clock::time_point> Times_Of(uint8_t Command) const
    {
        std::vector<emu::Clock::time_point> T;
        for (const emu::Log_Entry& E : Emu.Log())
            if (E.complete && E.request.size() > 1 && E.request[1] == Command)
                T.push_back(E.received);
        return T;
    }
    static long Gap_Ms(emu::Clock::time_point A, emu::Clock::time_point B)
    {
        return static_cast<long>(std::chrono::duration_cast<Ms>(B - A).count());
    }

};

TEST_F(Link_E2E, TheFirstFrameIsTheProbeAndItRepeatsEvery1500msWithoutAnswer)
{
    Emu.Set_Silent(true);
    Start_Program();
    EXPECT_TRUE(Port_Open);
    EXPECT_EQ(Main()->Panel_PortStatus->Color(), 0x00FF00);
    ASSERT_TRUE(Wait_Command(0x21, 3, 10000));
    const std::vector<emu::Log_Entry> Log = Emu.Log();
    ASSERT_FALSE(Log.empty());
    EXPECT_EQ(Log.front().request, (emu::Bytes{0x61, 0x21, 0x21, 0x21, 0xC4}));
    const auto T = Times_Of(0x21);
    for (size_t I = 1; I < T.size(); ++I) {
        EXPECT_GE(Gap_Ms(T[I - 1], T[I]), 1300) << I;
        EXPECT_LE(Gap_Ms(T[I - 1], T[I]), 6000) << I;
    }
    EXPECT_FALSE(Connected);
    for (uint8_t C : Emu.Commands())
        EXPECT_EQ(C, 0x21);
}

TEST_F(Link_E2E, AValidProbeReplyArmsTheIdentificationWithItsLengthAndTheLinkConnects)
{
    emu::Ident_Settings Ident = Emu.Ident();
    Ident.Data_Length = 45;
    Emu.Set_Ident(Ident);
    Emu.Inject_Fault(emu::Fault::No_Reply, 1, 0x22);
    Start_Program();
    ASSERT_TRUE(Wait_Command(0x22, 1, 10000));
    Pump_For(100);
    EXPECT_EQ(Reply_Length, 45 + 3);
    EXPECT_EQ(Sent_Frame[1], 0x22);
    // The lost request is sent again and the connect script goes on.
    ASSERT_TRUE(Wait_Connected());
    EXPECT_GE(Count_Of(0x22), 2u);
    EXPECT_EQ(Main()->Panel_ConnectStatus->Color(), 0x00FF00);
    EXPECT_TRUE(Main()->Button_CFG_Receiv->Enabled());
    EXPECT_FALSE(Main()->Button_Select_ComPort->Visible());
    ASSERT_TRUE(Wait_Command(0x26, 2, 10000));
    EXPECT_EQ(Main()->Panel_ConnectStatus_PerCent->Caption().back(), '%');
    // The live data filled the error memory list: no error.
    ASSERT_EQ(Main()->Memo_ERR_Current->Lines().Count(), 1);
    EXPECT_EQ(Main()->Memo_ERR_Current->Lines()[0], Language_Text("Memo_ERR_OK"));
    // The work mode the controller reports is on its panel.
    EXPECT_EQ(Main()->Panel_WorkMode->Caption(), Language_Text("Panel_WorkMode_Petrol"));
}

TEST_F(Link_E2E, AReceiveEventDeliveredInsideTheReceiveHandlerIsIgnored)
{
    Start_Program();
    ASSERT_TRUE(Wait_Connected());
    // A decoder that, like a modal box, lets the receive event run again inside itself.
    int Nested = 0;
    long Longest_Ms = 0;
    Script_Set_Action(26, [&] {
        Receiv_Current_Data();
        uint8_t Before[Frame_Buffer_Size];
        std::memcpy(Before, RX_Frame, sizeof Before);
        const auto Start = std::chrono::steady_clock::now();
        Main()->ComPortRxChar(Main()->ComPort.get(), 5);
        Longest_Ms = std::max<long>(Longest_Ms, static_cast<long>(
            std::chrono::duration_cast<Ms>(std::chrono::steady_clock::now() - Start).count()));
        EXPECT_EQ(std::memcmp(Before, RX_Frame, sizeof Before), 0);
        ++Nested;
    });
    const size_t Polls = Count_Of(0x26);
    ASSERT_TRUE(Wait_Command(0x26, Polls + 3, 15000));
    EXPECT_GE(Nested, 2);
    EXPECT_LT(Longest_Ms, 1000);   // returned at once: nothing was read
    EXPECT_TRUE(Connected);
}

// A spoilt identification reply (another command byte, too short, a wrong sum) is not taken:
// the frame goes out again after the time-out, with no other frame in between.
class Link_E2E_Spoilt_Reply : public Link_E2E, public ::testing::WithParamInterface<emu::Fault> {};

TEST_P(Link_E2E_Spoilt_Reply, IsIgnoredAndTheFrameResentAfterTheTimeOut)
{
    Emu.Inject_Fault(GetParam(), 1, 0x22);
    Start_Program();
    ASSERT_TRUE(Wait_Command(0x22, 2, 12000));
    const auto T = Times_Of(0x22);
    EXPECT_GE(Gap_Ms(T[0], T[1]), 1300);
    const emu::Bytes C = Emu.Commands();
    EXPECT_EQ(emu::Bytes(C.begin(), C.begin() + 3), (emu::Bytes{0x21, 0x22, 0x22}));
    EXPECT_TRUE(Wait_Connected());
}

INSTANTIATE_TEST_SUITE_P(Faults, Link_E2E_Spoilt_Reply,
                         ::testing::Values(emu::Fault::Wrong_Command, emu::Fault::Short_Reply,
                                           emu::Fault::Wrong_Sum));

TEST_F(Link_E2E, ATimeOutAfterAnAnnounceRunsTheAnnounceAgain)
{
    Start_Program();
    ASSERT_TRUE(Wait_Connected());
    // Wait until the connect script has fallen into the poll.
    ASSERT_TRUE(Pump_Until([&] { return Count_Of(0x26) >= 3; }, 30000));
    Emu.Inject_Fault(emu::Fault::No_Reply, 1, 0x25);
    Emu.Clear_Log();
    Request_Code = 29;   // write the service time: announce, then the write
    ASSERT_TRUE(Wait_Command(0x36, 1, 15000));
    const emu::Bytes C = Emu.Commands();
    std::vector<uint8_t> Writes;
    for (uint8_t X : C)
        if (X == 0x25 || X == 0x36)
            Writes.push_back(X);
    EXPECT_EQ(Writes, (std::vector<uint8_t>{0x25, 0x25, 0x36}));
    EXPECT_TRUE(Connected);
}

TEST_F(Link_E2E, OnceTheVersionMessageWasClosedTheNextReplyClosesTheMainWindow)
{
    Start_Program();
    ASSERT_TRUE(Wait_Connected());
    Main()->Show();
    // Replies alone leave the window open ...
    ASSERT_TRUE(Wait_Command(0x26, Count_Of(0x26) + 2, 10000));
    EXPECT_TRUE(Main()->Visible());
    // ... until the version message was closed: the next reply closes it.
    Version_Error_Closed = true;
    EXPECT_TRUE(Pump_Until([this] { return !Main()->Visible(); }, 10000));
}

TEST_F(Link_E2E, TheWatchdogDropsASilentLinkAndRestartsTheConnectScript)
{
    Start_Program();
    ASSERT_TRUE(Wait_Connected());
    ASSERT_TRUE(Wait_Command(0x26, 2, 10000));
    Emu.Set_Silent(true);
    const auto Silent_Since = std::chrono::steady_clock::now();
    ASSERT_TRUE(Pump_Until([] { return !Connected; }, 15000));
    const long Took = static_cast<long>(
        std::chrono::duration_cast<Ms>(std::chrono::steady_clock::now() - Silent_Since).count());
    EXPECT_GE(Took, 4000);
    EXPECT_EQ(Main()->Panel_ConnectStatus->Color(), 0x0000FF);
    // The last command was a live-data read: no message.
    EXPECT_FALSE(Form_MSG->Pending);
    EXPECT_FALSE(Form_MSG->Visible());
    // The connect script starts again with the probe, and the link comes back.
    Emu.Clear_Log();
    Emu.Set_Silent(false);
    ASSERT_TRUE(Wait_Connected());
    const emu::Bytes C = Emu.Commands();
    ASSERT_FALSE(C.empty());
    EXPECT_EQ(C.front(), 0x21);
}

// A user request still waiting when the watchdog drops the link: a save, which needs no
// link, is done; anything else is named in the watchdog's message, and nothing of it goes
// out after the reconnect.
TEST_F(Link_E2E, ARequestTheWatchdogOrALostPortDropsIsDoneOrNamed)
{
    // Requests: asked in this order while the controller is silent. Port_Lost: the port goes
    // away then, before the watchdog runs. Keys: what the message names (one key is shown
    // as itself, several in one message by their texts).
    struct Row {
        const char* What;
        std::vector<uint8_t> Requests;
        bool Port_Lost;
        std::vector<std::string> Keys;
    };
    const std::vector<Row> Rows{
        {"loader entry", {Request_Loader_Entry}, false, {"Error_Loader_Not_Started"}},
        {"save", {Request_Save}, false, {}},
        {"load", {Request_Load}, false, {"Error_CFG_Not_Loaded"}},
        {"work mode", {Request_Next_Work_Mode}, false, {"Error_Mode"}},
        {"clear errors", {Request_Clear_Errors}, false, {"Error_Errors_Not_Cleared"}},
        {"work mode, then clear errors", {Request_Next_Work_Mode, Request_Clear_Errors}, false,
         {"Error_Mode", "Error_Errors_Not_Cleared"}},
        {"work mode, then save", {Request_Next_Work_Mode, Request_Save}, false, {"Error_Mode"}},
        {"port lost: clear errors, then work mode", {Request_Clear_Errors, Request_Next_Work_Mode}, true,
         {"Error_Errors_Not_Cleared", "Error_Mode"}},
    };
    std::filesystem::create_directories(Folder->File("cfg"));
    Start_Program();
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.What);
        ASSERT_TRUE(Pump_Until([] { return Connected && Script_Flag_27 == 0; }, 20000));
        ASSERT_TRUE(Wait_Command(0x26, Count_Of(0x26) + 2));
        MSG_Reset();
        const bool Save = std::count(R.Requests.begin(), R.Requests.end(), Request_Save) > 0;
        const std::string Name = Save ? "Saved.cfg" : "Loaded.cfg";
        std::filesystem::remove(Folder->File("cfg/" + Name));
        // What the file dialog chose goes with a Save or Load.
        const CFG_File_Choice File{Folder->File("cfg"), Name, Folder->File("cfg/" + Name)};
        Emu.Set_Silent(true);
        Pump_For(300);   // a reply on its way when the controller fell silent is handled
        for (uint8_t Request : R.Requests)
            Ask_Request(Request, File);
        if (R.Port_Lost) {
            Emu.Vanish();
            ASSERT_TRUE(Pump_Until([] { return !Port_Open; }, 3000));
            EXPECT_FALSE(Connected);
            Pump_For(300);
            std::string Error;
            ASSERT_TRUE(Emu.Reappear(&Error)) << Error;
        }
        ASSERT_TRUE(Pump_Until([] { return !Connected; }, 15000));
        Emu.Clear_Log();
        Emu.Set_Silent(false);
        ASSERT_TRUE(Pump_Until([] { return Connected && Script_Flag_27 == 0; }, 20000));
        ASSERT_TRUE(Wait_Command(0x26, 3));
        Pump_For(300);
        EXPECT_EQ(Count_Of(0x23) + Count_Of(0x24), 0u);
        EXPECT_FALSE(Form_Loader->Visible());
        EXPECT_EQ(Form_MSG->Visible(), !R.Keys.empty());
        if (R.Keys.size() == 1) {
            EXPECT_EQ(Form_MSG->Shown.Text, R.Keys.front());
        }
        if (R.Keys.size() > 1) {
            for (const std::string& Key : R.Keys)
                EXPECT_NE(Form_MSG->Shown.Text.find(Language_Text(Key)), std::string::npos) << Key;
        }
        EXPECT_EQ(std::filesystem::exists(Folder->File("cfg/" + Name)), Save);
    }
}

// An announce that is never answered: its time-outs step the script back and send it
// again, but no resend counts as a valid reply, so the watchdog drops the link with its
// report once 5000 ms passed without one (all through the real send timer and port).
TEST_F(Link_E2E, UnansweredWritesRunTheWatchdogWhateverTheStepBacks)
{
    Start_Program();
    ASSERT_TRUE(Wait_Connected());
    ASSERT_TRUE(Pump_Until([&] { return Count_Of(0x26) >= 3; }, 30000));
    Emu.Inject_Fault(emu::Fault::No_Reply, 1000, 0x25);
    Emu.Clear_Log();
    Request_Code = 29;   // write the service time: announce, then the write
    ASSERT_TRUE(Pump_Until([] { return !Connected; }, 15000));
    // The announce went out again after each time-out before the link was dropped.
    EXPECT_GE(Count_Of(0x25), 3u);
    EXPECT_EQ(Count_Of(0x36), 0u);
    EXPECT_EQ(Main()->Panel_ConnectStatus->Color(), 0x0000FF);
    EXPECT_EQ(Form_MSG->Stored.Type, 7);
    ASSERT_TRUE(Pump_Until([] { return Form_MSG->Visible(); }, 3000));
    EXPECT_EQ(Form_MSG->Label_Text->Caption(), Language_Text("Error_Data_Transmitt"));
}

TEST_F(Link_E2E, AVanishedPortShowsPortClosedAndReopensWhenListedAgain)
{
    Start_Program();
    ASSERT_TRUE(Wait_Connected());
    Emu.Vanish();
    ASSERT_TRUE(Pump_Until([] { return !Port_Open; }, 15000));
    EXPECT_EQ(Main()->Panel_PortStatus->Color(), 0x0000FF);
    EXPECT_EQ(Main()->Panel_PortStatus->Caption(), Link);
    EXPECT_FALSE(Connected);
    Pump_For(500);
    EXPECT_FALSE(Port_Open);   // not listed: stays closed

    std::string Error;
    ASSERT_TRUE(Emu.Reappear(&Error)) << Error;
    ASSERT_TRUE(Pump_Until([] { return Port_Open; }, 15000));
    EXPECT_EQ(Main()->Panel_PortStatus->Color(), 0x00FF00);
    ASSERT_TRUE(Wait_Connected());
    const emu::Bytes C = Emu.Commands();
    ASSERT_FALSE(C.empty());
    EXPECT_EQ(C.front(), 0x21);
}

TEST_F(Link_E2E, WithThePortErrorFlagSetNothingIsWritten)
{
    Start_Program();
    ASSERT_TRUE(Wait_Connected());
    Pump_For(200);
    // A frame written by the last poll may still be on its way to the emulator: with no
    // event loop running nothing more is sent, so once it has arrived the log can be cleared.
    std::this_thread::sleep_for(Ms(300));
    ComPortError = true;
    Emu.Clear_Log();
    Send_Connect();
    Main()->Transmit_Frame();
    // No event loop runs here, so nothing can reopen the port meanwhile.
    std::this_thread::sleep_for(Ms(400));
    EXPECT_EQ(Emu.Log_Size(), 0u);
    EXPECT_FALSE(Port_Open);
    EXPECT_EQ(Main()->Panel_PortStatus->Color(), 0x0000FF);
    // The port is opened again with the flag cleared and the probe goes out.
    ASSERT_TRUE(Pump_Until([] { return Port_Open && !ComPortError; }, 10000));
    EXPECT_TRUE(Wait_Command(0x21, 1, 10000));
}

TEST_F(Link_E2E, TheConnectScriptReadsEverythingInOrderThenPollsTheLiveData)
{
    // Status 1, no password (its block is read at every connection), a 13 x 24 table.
    emu::Bytes Image(13 * 24 * 2 + 13 + 24);
    for (size_t I = 0; I < Image.size(); ++I)
        Image[I] = static_cast<uint8_t>(I);
    Emu.Set_RPM_Table(13, 24, Image);
    Start_Program();
    ASSERT_TRUE(Wait_Connected());
    // The reads end and the main poll asks for the live data again and again.
    ASSERT_TRUE(Pump_Until(
        [&] {
            const emu::Bytes C = Emu.Commands();
            const auto Last_Chunk = std::find(C.rbegin(), C.rend(), 0x2B);
            return Last_Chunk != C.rend() &&
                   std::count(C.rbegin(), Last_Chunk, 0x26) >= 3;
        },
        30000)) << Command_List(Emu.Commands());
    // Consecutive repeats of one command collapse into one step of the order.
    emu::Bytes Steps;
    for (uint8_t C : Emu.Commands())
        if (Steps.empty() || Steps.back() != C)
            Steps.push_back(C);
    const emu::Bytes Expected{0x21, 0x22, 0x2C, 0x26, 0x2E, 0x2D, 0x27, 0x28, 0x29, 0x2A, 0x2B, 0x26};
    ASSERT_GE(Steps.size(), Expected.size());
    EXPECT_EQ(emu::Bytes(Steps.begin(), Steps.begin() + Expected.size()), Expected);
    // The table comes in several chunks; after them only live-data polls follow.
    EXPECT_GE(Count_Of(0x2B), 2u);
    for (size_t I = Expected.size(); I < Steps.size(); ++I)
        EXPECT_EQ(Steps[I], 0x26) << I;
    // The status row names the identified program (its colours: the probe test).
    EXPECT_EQ(Main()->Panel_ConnectStatus->Caption(), Configuration.Program_Name);
    EXPECT_EQ(Main()->Panel_ConnectStatus->Caption(), Settings.Name_Block_PIC_1);
    EXPECT_TRUE(Main()->Enabled());
    // A valid reply just came: the link quality is high and green to yellow-green.
    ASSERT_TRUE(Pump_Until([&] { return Main()->Panel_ConnectStatus_PerCent->Caption() == "100%"; },
                           5000));
    EXPECT_EQ(Main()->Panel_ConnectStatus_PerCent->Color(), 0x00FF00);
}

// Letters marked together go out in one list, announced with its length.
TEST_F(Link_E2E, MarkedLettersGoBackInOneList)
{
    Start_Program();
    ASSERT_TRUE(Wait_Connected());
    ASSERT_TRUE(Pump_Until([&] { return Count_Of(0x26) >= 3; }, 30000));
    for (uint8_t Letter : {'C', 'h', 'i', 'k'})
        CFG_Letter_Mark(Letter);
    Request_Code = Transmit_Now_Code;
    ASSERT_TRUE(Wait_Command(0x2F, 1, 15000));
    Pump_For(100);
    std::vector<emu::Bytes> Writes;
    for (const emu::Log_Entry& E : Emu.Log())
        if (E.request[1] == 0x25 || E.request[1] == 0x2F)
            Writes.push_back(E.request);
    ASSERT_EQ(Writes.size(), 2u);
    EXPECT_EQ(Writes[0][3], 21);
    emu::Bytes Letters;
    for (size_t I = 2; I + 1 < Writes[1].size(); I += 3)
        Letters.push_back(Writes[1][I]);
    EXPECT_EQ(Letters, (emu::Bytes{'C', 'g', 'h', 'i', 'k', 'A'}));
}

TEST_F(Link_E2E, TheIdlingEngineShowsOnTheGeneralPage)
{
    emu::Live_Settings Live = Emu.Live();
    Live.Moving = false;   // a steady engine: 800 rpm
    Emu.Set_Live(Live);
    Emu.Set_Work_Mode(4);
    Start_Program();
    ASSERT_TRUE(Wait_Connected());
    const size_t Polls = Count_Of(0x26);
    ASSERT_TRUE(Wait_Command(0x26, Polls + 2, 10000));
    Pump_For(100);
    TForm_KardunGAS* F = Main();
    EXPECT_EQ(Live_Values.Live_RPM, 800);
    EXPECT_EQ(F->Label_GEN_RPM_Dig->Caption(), "800");
    // Cylinders 1 and 2 at 3000 and 3100 us.
    EXPECT_EQ(F->Label_GEN_Gas_Dig->Caption(), Format_Gas_Time(3050));
    EXPECT_EQ(F->Label_GEN_TPS_Dig->Caption(), Format_Input(97));       // 200 counts
    EXPECT_EQ(F->Label_GEN_Power_Dig->Caption(), Format_Power(1400));   // 700 counts
    EXPECT_FALSE(F->Label_GEN_TempVap_Dig->Caption().empty());
    EXPECT_EQ(F->Panel_WorkMode->Caption(), Language_Text("Panel_WorkMode_Gas"));
    // The RPM needle stands at 800 of 5000: 300 - 800 / 5000 * 240 = 261.6 degrees.
    EXPECT_TRUE(Needle_Shows(F->Image_GEN_RPM, Gauge_RPM, 800, 0));
}

TEST_F(Link_E2E, AnUnacceptedIdentificationLeavesOnlyTheLivePollWithTheWindowDisabled)
{
    emu::Ident_Settings Ident = Emu.Ident();
    Ident.Status = 2;
    Emu.Set_Ident(Ident);
    Start_Program();
    ASSERT_TRUE(Wait_Command(0x22, 1, 10000));
    ASSERT_TRUE(Pump_Until([&] { return Count_Of(0x26) >= 4; }, 15000));
    // Nothing but the probe, the identification and live-data polls went out.
    const emu::Bytes C = Emu.Commands();
    for (uint8_t X : C)
        EXPECT_TRUE(X == 0x21 || X == 0x22 || X == 0x26) << std::hex << int(X);
    EXPECT_FALSE(Connected);
    EXPECT_FALSE(Main()->Enabled());
    EXPECT_EQ(Form_MSG->Stored.Type, 8);
    ASSERT_TRUE(Pump_Until([] { return Form_MSG->Visible(); }, 3000));
    EXPECT_TRUE(Form_MSG->Enabled());
    EXPECT_EQ(Form_MSG->Label_Text->Caption(), Language_Text("Error_Version"));
    // The live values still come in.
    EXPECT_EQ(Main()->Label_GEN_RPM_Dig->Caption(), std::to_string(Live_Values.Live_RPM));
    EXPECT_GT(Live_Values.Live_RPM, 0);
}

TEST_F(Link_E2E, TheStatusLineFollowsTheControllersStatusByte)
{
    emu::Live_Settings Live = Emu.Live();
    Live.Status_Bits = 0x03;   // engine on, pressure normal
    Emu.Set_Live(Live);
    Start_Program();
    ASSERT_TRUE(Wait_Connected());
    ASSERT_TRUE(Wait_Command(0x26, 2, 10000));
    TForm_KardunGAS* F = Main();
    const std::string Engine_Off = Language_Text("Error_Engine_off");
    const std::string Low_Pressure = Language_Text("Error_Low_pressure");
    auto Queued = [&](const std::string& Text) {
        for (int I = 1; I <= Status_Queue.Count; ++I)
            if (Status_Queue.Text[I] == Text)
                return true;
        return false;
    };
    // The engine stops and the pressure falls: both conditions queue in red.
    Live.Status_Bits = 0x00;
    Emu.Set_Live(Live);
    ASSERT_TRUE(Pump_Until([&] { return Queued(Engine_Off) && Queued(Low_Pressure); }, 5000));
    EXPECT_TRUE(F->Panel_ErrorStatus->Visible());
    EXPECT_EQ(F->Panel_ErrorStatus->Caption(), Low_Pressure);   // bit order: pressure last
    EXPECT_EQ(F->Panel_ErrorStatus->Color(), 0x0000FF);
    // The line rotates on the error timer.
    ASSERT_TRUE(F->Timer_Error->Fire_Tick());
    EXPECT_NE(F->Panel_ErrorStatus->Caption(), Low_Pressure);

    // The engine starts again: both leave, and the normal pressure shows once in lime.
    Live.Status_Bits = 0x03;
    Emu.Set_Live(Live);
    ASSERT_TRUE(Pump_Until([&] { return !Queued(Engine_Off) && !Queued(Low_Pressure); }, 5000));
    EXPECT_EQ(F->Panel_ErrorStatus->Caption(), Language_Text("Error_Normal_pressure"));
    EXPECT_EQ(F->Panel_ErrorStatus->Color(), 0x00FF00);
}

// A controller in automatic mode with the engine off: the work-mode panel shows the
// automatic mode from the start, and after the link was lost and came back the status line
// says "Engine off" again (the queue was emptied at the reopen).
TEST_F(Link_E2E, WorkModeAndStatusTextsShowFromTheStartAndAgainAfterAReconnect)
{
    emu::Live_Settings Live = Emu.Live();
    Live.Status_Bits = 0x02;   // engine off, pressure normal
    Emu.Set_Live(Live);
    Emu.Set_Work_Mode(2);
    Create();
    TForm_KardunGAS* F = Main();
    EXPECT_EQ(F->Panel_WorkMode->Caption(), Language_Text("Panel_WorkMode_Automat"));
    Start_Up();
    const std::string Engine_Off = Language_Text("Error_Engine_off");
    auto Queued = [&] {
        for (int I = 1; I <= Status_Queue.Count; ++I)
            if (Status_Queue.Text[I] == Engine_Off)
                return true;
        return false;
    };
    ASSERT_TRUE(Wait_Connected());
    ASSERT_TRUE(Pump_Until(Queued, 10000));
    EXPECT_EQ(F->Panel_WorkMode->Caption(), Language_Text("Panel_WorkMode_Automat"));

    Emu.Set_Silent(true);
    ASSERT_TRUE(Pump_Until([] { return !Connected; }, 15000));
    // The watchdog's reconnect empties the status queue.
    EXPECT_FALSE(Queued());
    Emu.Set_Silent(false);
    ASSERT_TRUE(Wait_Connected());
    EXPECT_TRUE(Pump_Until(Queued, 10000));
    EXPECT_EQ(F->Panel_WorkMode->Caption(), Language_Text("Panel_WorkMode_Automat"));
}

TEST_F(Link_E2E, TheNeedlesFollowTheEngineToTheMiddleAndTheEndsOfTheirDials)
{
    emu::Live_Settings Live = Emu.Live();
    Live.Moving = false;
    Live.RPM_Period = 600;            // 2500 rpm: straight up
    Live.In[0] = 1023;                // 5.00 V: lower right
    Live.Injector_Bits = 0x01;
    Live.Gas_Time = {16000, 0, 0, 0, 0, 0, 0, 0};   // 16 ms: straight up
    Emu.Set_Live(Live);
    Emu.Set_Work_Mode(4);
    Start_Program();
    ASSERT_TRUE(Wait_Connected());
    ASSERT_TRUE(Pump_Until([] { return Live_Values.Live_RPM == 2500; }, 10000));
    TForm_KardunGAS* F = Main();
    EXPECT_TRUE(Needle_Shows(F->Image_GEN_RPM, Gauge_RPM, 2500, 0));
    EXPECT_TRUE(Needle_Shows(F->Image_GEN_TPS, Gauge_TPS, 500, 0));
    EXPECT_TRUE(Needle_Shows(F->Image_GEN_Gas, Gauge_Gas, 16000, 0));

    // The engine stops (no period) and the throttle closes: both needles at lower left.
    Live.RPM_Period = 0xFFFF;
    Live.In[0] = 0;
    Emu.Set_Live(Live);
    ASSERT_TRUE(Pump_Until([] { return Live_Values.Live_RPM == 0 && Live_Values.Live_TPS == 0; },
                           10000));
    EXPECT_TRUE(Needle_Shows(F->Image_GEN_RPM, Gauge_RPM, 0, 2500));
    EXPECT_TRUE(Needle_Shows(F->Image_GEN_TPS, Gauge_TPS, 0, 500));
    EXPECT_EQ(F->Label_GEN_RPM_Dig->Caption(), "0");
    EXPECT_EQ(F->Label_RPM_Period_mks->Caption(), "T = 262140 mks");
}

}  // namespace
