// The port search and the port setup end to end: the main window, its real port component,
// the search window and controller emulators on pseudo-terminals, listed through a port
// list of the test's own (a device table and a device folder of links to the terminals).
#include <gtest/gtest.h>

#include <asm/termbits.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "emulator/Emulator.h"
#include "main/Main_Test_Support.h"
#include "main/Program.h"
#include "platform/comm/Pty_Pair.h"
#include "platform/comm/Serial_Device.h"
#include "serial/CPort_Setup.h"
#include "windows/Port_Window.h"

namespace {

using namespace main_test;
using Names = std::vector<std::string>;

constexpr uint8_t Probe = 0x21;

class Port_Search_E2E : public Main_Window_Fixture {
protected:
    void SetUp() override
    {
        Main_Window_Fixture::SetUp();
        std::filesystem::create_directories(Folder->File("class"));
        std::filesystem::create_directories(Folder->File("dev"));
        sys::Serial_Ports.Class_Dir = Folder->File("class");
        sys::Serial_Ports.Device_Dir = Folder->File("dev");
    }
    void TearDown() override
    {
        if (Form_Port)
            Form_Port->Free();
        W.reset();
        for (auto& E : Emulators)
            E->Stop();
        Main_Window_Fixture::TearDown();
    }
    // A port in the list: its device-table entry and its device file, a link to `Target`
    // (none: the caller makes the link).
    void List(const std::string& Name, const std::string& Target = "")
    {
        std::filesystem::create_directories(Folder->File("class/" + Name + "/device"));
        if (!Target.empty())
            std::filesystem::create_symlink(Target, Folder->File("dev/" + Name));
    }
    // An emulator listed as `Name`; silent ones never answer.
    emu::Controller_Emulator& Emulator(const std::string& Name, bool Silent)
    {
        Emulators.push_back(std::make_unique<emu::Controller_Emulator>());
        emu::Controller_Emulator& E = *Emulators.back();
        std::string Error;
        EXPECT_TRUE(E.Start(&Error)) << Error;
        EXPECT_TRUE(E.Set_Link_Path(Folder->File("dev/" + Name), &Error)) << Error;
        E.Set_Silent(Silent);
        List(Name);
        return E;
    }
    // The settings file: the port, the search switch.
    void Settings_File(const std::string& Port, bool Search)
    {
        Folder->Write("KardunGD.ini", Settings_With_Port(Port) + Key_File_Pad_Key("Search_Port") +
                                          (Search ? "True" : "False") + " {}\r\n");
    }
    // The windows as the program makes them (the search window among them), every open of
    // the port recorded (with `Also` run at each), then the start.
    void Start(std::function<void()> Also = nullptr)
    {
        Create();
        Form_Port = Create_Form<TForm_Port>(nullptr);
        Main()->ComPort->OnBeforeOpen = [this, Also](TCustomComPort* Port) {
            Opens.push_back(Port->Port());
            if (Also)
                Also();
        };
        Start_Up();
    }
    // The ports opened, a port opened again at once counted once.
    Names Open_Order() const
    {
        Names Order;
        for (const std::string& Name : Opens)
            if (Order.empty() || Order.back() != Name)
                Order.push_back(Name);
        return Order;
    }
    static size_t Count_Of(const emu::Controller_Emulator& E, uint8_t Command)
    {
        size_t N = 0;
        for (uint8_t C : E.Commands())
            N += C == Command;
        return N;
    }
    void Keep_Shot(TControl* Control, const std::string& Name)
    {
        const std::string Png = Folder->File(Name);
        ASSERT_TRUE(ui::Render_To_PNG(Control, Png));
        if (const char* Keep = std::getenv("KARDUN_SHOT_DIR")) {
            std::error_code Ignored;
            std::filesystem::copy_file(Png, std::string(Keep) + "/" + Name,
                                       std::filesystem::copy_options::overwrite_existing, Ignored);
        }
    }

    std::vector<std::unique_ptr<emu::Controller_Emulator>> Emulators;
    Names Opens;
};

TEST_F(Port_Search_E2E, TriesThePreferredPortBetweenTheOthersSkipsOneThatWillNotOpenAndConnects)
{
    // A: silent, the port of the settings; B: held by another user, so it does not open;
    // C: the controller.
    emu::Controller_Emulator& A = Emulator("ttyA", true);
    Pty_Pair B_Line;
    List("ttyB", B_Line.Slave_Path);
    comm::Serial_Device Holder;
    ASSERT_TRUE(Holder.Open(B_Line.Slave_Path));
    emu::Controller_Emulator& C = Emulator("ttyC", false);
    Settings_File("ttyA", true);

    std::vector<size_t> A_Probes;   // the probes A had at each open
    Start([&] { A_Probes.push_back(Count_Of(A, Probe)); });
    EXPECT_TRUE(Form_Port->Visible());
    EXPECT_TRUE(Form_Port->Panel_Port->Visible());
    EXPECT_EQ(Port_Search.Try_List, (Names{"ttyA", "ttyB", "ttyA", "ttyC"}));
    EXPECT_EQ(Form_Port->Panel_Port_Quantity->Caption(), "3");
    EXPECT_EQ(Form_Port->Panel_Port_Name->Caption(), "ttyA");
    EXPECT_EQ(Form_Port->Label_Port_Number->Caption(), "1");
    Keep_Shot(Form_Port, "port_search_trying.png");

    ASSERT_TRUE(Pump_Until([] { return Connected; }, 30000)) << ::testing::PrintToString(Opens);
    EXPECT_EQ(Open_Order(), (Names{"ttyA", "ttyB", "ttyA", "ttyC"}));
    // Each A entry kept its probes until two went unanswered.
    ASSERT_EQ(A_Probes.size(), Opens.size());
    ASSERT_GE(A_Probes.size(), 4u);
    EXPECT_GE(A_Probes[1] - A_Probes[0], 2u) << "first A entry";
    EXPECT_GE(A_Probes.back() - A_Probes[2], 2u) << "second A entry";
    // B was skipped at once: nothing ever reached it.
    char Byte;
    EXPECT_EQ(::read(B_Line.Master, &Byte, 1), -1);
    // Connected on C: the search window closed, the port named C everywhere.
    EXPECT_GT(Count_Of(C, 0x22), 0u);
    EXPECT_FALSE(Form_Port->Visible());
    EXPECT_FALSE(Port_Search.Port_Search_On);
    EXPECT_FALSE(Form_Port->Timer_Select_ComPort->Enabled());
    EXPECT_EQ(Settings.Port_Name, "ttyC");
    EXPECT_EQ(Main()->ComPort->Port(), "ttyC");
    EXPECT_EQ(Main()->Edit_Port_Name->Text(), "ttyC");
    EXPECT_EQ(Main()->Panel_PortStatus->Caption(), "ttyC");
    // The settings file keeps the port found.
    Form_Port->Free();
    W.reset();
    const std::string Ini = Folder->Read("KardunGD.ini");
    EXPECT_NE(Ini.find(Key_File_Pad_Key("PORT_NAME") + "ttyC {"), std::string::npos) << Ini;
}

TEST_F(Port_Search_E2E, ClosingTheWindowAfterASwitchLeavesTheCurrentPort)
{
    emu::Controller_Emulator& A = Emulator("ttyA", true);
    emu::Controller_Emulator& D = Emulator("ttyD", true);
    Settings_File("ttyA", false);
    Start();
    // Started by the "I" button while not connected.
    ASSERT_TRUE(Main()->Button_Select_ComPort->Visible());
    Main()->Button_Select_ComPort->Click();
    ASSERT_TRUE(Pump_Until([&] { return Open_Order().size() >= 2; }, 15000));
    ASSERT_EQ(Open_Order(), (Names{"ttyA", "ttyD"}));
    Form_Port->Close();
    EXPECT_FALSE(Port_Search.Port_Search_On);
    const size_t A_Before = Count_Of(A, Probe);
    const size_t D_Before = Count_Of(D, Probe);
    Pump_For(5000);
    // No further switch: D keeps its probes, A gets none.
    EXPECT_EQ(Open_Order(), (Names{"ttyA", "ttyD"}));
    EXPECT_GE(Count_Of(D, Probe), D_Before + 2);
    EXPECT_EQ(Count_Of(A, Probe), A_Before);
    EXPECT_TRUE(Main()->ComPort->Connected());
    EXPECT_EQ(Main()->ComPort->Port(), "ttyD");
    EXPECT_EQ(Settings.Port_Name, "ttyD");
    EXPECT_FALSE(Form_Port->Timer_Select_ComPort->Enabled());
    // A port error later: a fresh search a second on, only when the settings ask for it.
    Main()->Port_Error();
    EXPECT_EQ(Form_Port->Timer_Select_ComPort->Interval(), 1000);
    EXPECT_FALSE(Form_Port->Timer_Select_ComPort->Enabled());
    Settings.Search_Port = true;
    Main()->Port_Error();
    EXPECT_TRUE(Form_Port->Timer_Select_ComPort->Enabled());
}

TEST_F(Port_Search_E2E, WaitsForAPortAndOpensTheFirstOneAPauseAfterItAppears)
{
    Settings_File("ttyC", true);
    Start();
    // No port at all: the waiting face, and the main window says so.
    TForm_Port* P = Form_Port;
    EXPECT_TRUE(P->Visible());
    EXPECT_TRUE(P->Panel_Port_Search->Visible());
    EXPECT_FALSE(P->Panel_Port->Visible());
    EXPECT_EQ(P->Label_Port_Search->Caption(), "Search port connection");
    EXPECT_EQ(P->Label_Port_Search->Font().Color(), 0xFF0000);
    EXPECT_EQ(P->Timer_Select_ComPort->Interval(), 100);
    EXPECT_TRUE(P->Timer_Select_ComPort->Enabled());
    EXPECT_EQ(Main()->Panel_PortStatus->Caption(), "No port");
    EXPECT_EQ(Main()->Panel_PortStatus->Color(), clRed);
    EXPECT_FALSE(Main()->Button_Setup_Port->Enabled());
    EXPECT_EQ(Main()->Edit_Port_Name->Text(), "");
    EXPECT_TRUE(Main()->Button_Select_ComPort->Visible());
    // Each tick turns the wheel and looks again.
    P->Timer_Select_ComPort->Fire_Tick();
    EXPECT_GT(P->Image_Port_Wait->Picture().Width(), 0);
    EXPECT_TRUE(P->Panel_Port_Search->Visible());
    Keep_Shot(P, "port_search_waiting.png");
    EXPECT_TRUE(Opens.empty());

    // An adapter is plugged in: green at the next tick, no open yet.
    emu::Controller_Emulator& C = Emulator("ttyC", false);
    P->Timer_Select_ComPort->Fire_Tick();
    EXPECT_EQ(P->Label_Port_Search->Caption(), "Port finds are opening");
    EXPECT_EQ(P->Label_Port_Search->Font().Color(), 0x008000);
    EXPECT_EQ(P->Timer_Select_ComPort->Interval(), 1000);
    EXPECT_TRUE(P->Timer_Select_ComPort->Enabled());
    EXPECT_TRUE(Main()->Button_Setup_Port->Enabled());
    EXPECT_TRUE(Opens.empty());
    // After the pause: the trying face and the first open, which connects.
    P->Timer_Select_ComPort->Fire_Tick();
    EXPECT_TRUE(P->Panel_Port->Visible());
    EXPECT_FALSE(P->Panel_Port_Search->Visible());
    EXPECT_EQ(Opens, (Names{"ttyC"}));
    ASSERT_TRUE(Pump_Until([] { return Connected; }, 15000));
    EXPECT_GT(Count_Of(C, Probe), 0u);
    EXPECT_FALSE(P->Visible());
}

TEST_F(Port_Search_E2E, SetupPortMovesToAnotherListedPortAndCancelKeepsEverything)
{
    Pty_Pair First;
    List("ttyP", First.Slave_Path);
    emu::Controller_Emulator& C = Emulator("ttyC", false);
    Settings_File("ttyP", false);
    Start();
    ASSERT_TRUE(Main()->ComPort->Connected());
    ASSERT_FALSE(ComPortError);
    auto Setup = [](int Result, std::function<void(TComSetupFrm*)> Choose) {
        ui::TDialog_Answer Answer;
        Answer.Result = Result;
        Answer.On_Form = [Choose](TForm* F) {
            auto* D = dynamic_cast<TComSetupFrm*>(F);
            ASSERT_NE(D, nullptr);
            Choose(D);
        };
        ui::Answer_Next_Dialog(Answer);
    };
    auto Pick = [](TComboBox* Combo, const std::string& Text) {
        const int Index = Combo->Items().IndexOf(Text);
        ASSERT_GE(Index, 0) << Text;
        Combo->ItemIndex(Index);   // the list shows the choice, then the combo hears of it
        Combo->User_Selected(Index);
    };

    auto Line = [this] {
        termios2 T{};
        EXPECT_EQ(ioctl(Main()->ComPort->Handle(), TCGETS2, &T), 0);
        return T;
    };

    // The dialog itself, OK on the same port: the line settings change once, at the end of
    // the update, without a close (a pseudo-terminal keeps PARODD, not the parity enable).
    Setup(mrOk, [&](TComSetupFrm* D) {
        EXPECT_EQ(D->Combo1->Text(), "ttyP");
        EXPECT_EQ(D->Combo2->Text(), "9600");
        Pick(D->Combo2, "19200");
        Pick(D->Combo5, "Odd");
        Keep_Shot(D, "port_setup.png");
    });
    EXPECT_TRUE(Main()->ComPort->RunSetupDialog());
    EXPECT_EQ(Opens.size(), 1u);
    EXPECT_TRUE(Main()->ComPort->Connected());
    EXPECT_EQ(Line().c_ospeed, 19200u);
    EXPECT_TRUE(Line().c_cflag & PARODD);

    // Cancel on the button: name, line settings and open state stay; the link goes on.
    Setup(mrCancel, [&](TComSetupFrm* D) {
        Pick(D->Combo1, "ttyC");
        Pick(D->Combo2, "1200");
        Pick(D->Combo5, "None");
    });
    Main()->Button_Setup_Port->Click();
    EXPECT_EQ(Opens.size(), 1u);
    EXPECT_EQ(Main()->ComPort->Port(), "ttyP");
    EXPECT_TRUE(Main()->ComPort->Connected());
    EXPECT_EQ(Line().c_ospeed, 19200u);
    EXPECT_TRUE(Line().c_cflag & PARODD);
    EXPECT_EQ(Settings.Port_Name, "ttyP");

    // OK on another listed port: there it goes, and the controller answers there.
    Setup(mrOk, [&](TComSetupFrm* D) { Pick(D->Combo1, "ttyC"); });
    Main()->Button_Setup_Port->Click();
    EXPECT_EQ(Main()->ComPort->Port(), "ttyC");
    EXPECT_EQ(Main()->Edit_Port_Name->Text(), "ttyC");
    EXPECT_EQ(Settings.Port_Name, "ttyC");
    EXPECT_EQ(Preferred_Port, "ttyC");
    ASSERT_TRUE(Pump_Until([] { return Connected; }, 15000));
    EXPECT_GT(Count_Of(C, Probe), 0u);

    // A name the list does not have: no selection, OK keeps it, and it is not opened.
    const size_t Opened = Opens.size();
    Main()->ComPort->Close();
    Main()->ComPort->SetPort("ttyGONE");
    Setup(mrOk, [&](TComSetupFrm* D) {
        EXPECT_EQ(D->Combo1->ItemIndex(), -1);
        EXPECT_EQ(D->Combo1->Text(), "");
    });
    Main()->Button_Setup_Port->Click();
    EXPECT_EQ(Main()->ComPort->Port(), "ttyGONE");
    EXPECT_EQ(Settings.Port_Name, "ttyGONE");
    EXPECT_EQ(Preferred_Port, "ttyGONE");
    EXPECT_FALSE(Main()->ComPort->Connected());
    EXPECT_EQ(Opens.size(), Opened);
}

}  // namespace
