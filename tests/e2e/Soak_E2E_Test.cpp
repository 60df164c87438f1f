// A seeded soak: random technician actions through the controls, keys and service windows,
// against the emulator with faults at co-prime periods, a port that goes and comes back, and
// another controller answering after it came back.
//
// After every action the checker looks at the emulator's log and store and at the messages
// the program showed, never at the program's own routines:
// - what was asked reached the controller whole (a frame the controller took, carrying what
//   the page showed when it was asked) or a message shown after the asking names it;
// - the car file of each controller holds that controller's values once the program is idle;
// - the program reaches the main poll again within the bound after every action;
// - the status line does not keep a transfer that is over.
//
// KARDUN_SOAK_SEED, KARDUN_SOAK_ACTIONS and KARDUN_SOAK_SECONDS set the run (the fixed run:
// seed 1, 150 actions, 60 s); KARDUN_SOAK_PERIODS the fault periods ("23,29,31,37") and
// KARDUN_SOAK_REPLY_MS the controller's time to answer (0). KARDUN_SOAK_DEBUG=1 prints the
// frames behind each violation. Every violation prints a line "SOAK-VIOLATION seed=S action=I
// what=... trail=..." and the run ends with "SOAK-RUN seed=S actions=N violations=V"
// (scripts/soak.sh reads them). KARDUN_SOAK_TRAIL, a list of action names separated by
// commas, replays those actions in order instead of random ones (the faults stay as the
// seed sets them), which is how a violation is shrunk to its few steps.
#include <gtest/gtest.h>
#include <QTest>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "data/Key_File.h"
#include "e2e/Emulator_Window_Fixture.h"
#include "emulator/Emulator.h"
#include "language/Language.h"
#include "platform/ui/Runtime.h"
#include "protocol/Status_Queue.h"
#include "windows/Loader_Window.h"
#include "windows/MSG.h"
#include "windows/Password_Window.h"

namespace {

using namespace main_test;

// The wire's commands the checker reads.
constexpr uint8_t Probe = 0x21, Control = 0x23, Error_Control = 0x24, Live = 0x26, Config_Read = 0x27, Block_1_Read = 0x28,
                  Block_2_Read = 0x29, Table_Chunk_Read = 0x2B, Letter_List = 0x2F, Block_1_Write = 0x30,
                  Block_2_Write = 0x31, Table_Chunk_Write = 0x33, Password_Write = 0x34, Service_Write = 0x36;
constexpr uint8_t RPM_Letter = 'K';
constexpr uint8_t Loader_Poll = 0x81;
constexpr size_t Table_Bytes = 13 * 24 + 2 * 13 + 24;   // every controller's table of the run   // with the boot loader's mode byte
constexpr double RPM_Constant = 1500000.0;   // the controllers' 'F' of 1500
constexpr int Hang_Bound_Ms = 15000;         // the program must be back at the main poll by then
constexpr int Settle_Polls = 3;              // live-data polls in a row that mean "idle"
constexpr int Reconnect_Bound_Ms = 60000;
constexpr size_t Settle_Grace_Polls = 12;    // for a run of connects, each given the bound
constexpr int Fixed_Seed = 1, Fixed_Actions = 150, Fixed_Seconds = 60;
// The co-prime periods of the faults (requests between two of a kind): no reply, wrong sum,
// short reply, wrong echo. KARDUN_SOAK_PERIODS="7,11,13,17" sets them; a lost reply in the
// connect starts it over, so periods much shorter than a connect's 20 frames keep a link
// from ever reaching the poll.
constexpr int Default_Periods[4] = {23, 29, 31, 37};
constexpr const char* Car_Folder = "Config";

int Env_Int(const char* Name, int Default)
{
    const char* V = std::getenv(Name);
    return V && *V ? std::atoi(V) : Default;
}

// Whether a message shown names one of the text keys: a message of one key is stored as
// the key, one of several (or a question, a dialog) shows their texts.
bool Message_Names(const std::string& Message, const std::vector<std::string>& Keys)
{
    for (const std::string& Key : Keys) {
        const std::string Text = Language_Text(Key);
        if (Message == Key || (!Text.empty() && Text != Key && Message.find(Text) != std::string::npos))
            return true;
    }
    return false;
}

// The engine speed a controller's period word stands for.
double RPM_Of_Period(unsigned Period)
{
    return Period == 0 ? 0 : RPM_Constant / Period;
}

bool Near_RPM(double Held, double Asked)
{
    return Asked > 0 && std::abs(Held - Asked) <= Asked * 0.01 + 1;
}

// The value of a key in a key file's text ("Key<pad>value {comment}"); empty when absent.
std::string Key_Value(const std::string& Text, const std::string& Key)
{
    std::istringstream In(Text);
    std::string Line;
    while (std::getline(In, Line)) {
        if (Line.rfind(Key, 0) != 0 || Line.size() <= Key.size() || Line[Key.size()] != ' ')
            continue;
        std::string Rest = Line.substr(Key.size());
        const size_t Brace = Rest.find('{');
        Rest = Rest.substr(0, Brace);
        Rest.erase(0, Rest.find_first_not_of(' '));
        Rest.erase(Rest.find_last_not_of(" \r") + 1);
        return Rest;
    }
    return {};
}

// One thing the technician asked, and how the checker knows it went or was named.
struct Ask {
    std::string What;
    int Action = 0;
    size_t Log_At = 0;        // the emulator's log when asked
    size_t Message_At = 0;    // the messages seen when asked
    std::vector<std::string> Names;   // the text keys of a message that names it
    std::function<bool(const emu::Log_Entry&)> Frame;   // a frame that carries it
    std::function<bool()> Here;       // or a state on the test's side that shows it done
    std::string Supersedes;           // a later ask of this key replaces this one
    std::function<std::string()> Detail;   // what the checker saw instead, for the report
    bool Done = false;
    bool Loader_Open = false;         // asked while the loader window held the link
};

// The controllers that take turns on the port: their stores while away.
struct Controller_Slot {
    std::string Car;   // empty: no car number
    emu::Controller_Store Store;
};

class Soak_E2E : public Emulator_Window_Fixture {
protected:
    void SetUp() override
    {
        Emulator_Window_Fixture::SetUp();
        Seed = static_cast<uint64_t>(Env_Int("KARDUN_SOAK_SEED", Fixed_Seed));
        Action_Count = Env_Int("KARDUN_SOAK_ACTIONS", Fixed_Actions);
        Seconds = Env_Int("KARDUN_SOAK_SECONDS", Fixed_Seconds);
        if (const char* T = std::getenv("KARDUN_SOAK_TRAIL")) {
            std::stringstream S(T);
            std::string Name;
            while (std::getline(S, Name, ','))
                if (!Name.empty())
                    Replay.push_back(Name);
        }
        Random.seed(Seed);
        Send_Now = Random() % 2 == 0;
        ASSERT_NO_FATAL_FAILURE(Start_Emulator(Key_File_Pad_Key("Transmit_Now") + (Send_Now ? "True" : "False") +
                                               " {}\r\n" + Key_File_Pad_Key("CFG_File_Path") +
                                               Folder->File(Car_Folder) + " {}\r\n"));
        std::filesystem::create_directories(Folder->File(Car_Folder));
        Emu.Set_Loader({5, 'D'});
        Emu.Set_Loader_Auto(true);
        // Two controllers: their own car numbers (the second one may have none), engine
        // speeds and tables.
        Emu.Set_RPM_Table(13, 24, emu::Bytes(13 * 24 * 2 + 13 + 24, 100));
        Emu.Set_Car_Number({'C', 'A', 'R', '1', 0, 0, 0, 0});
        Set_RPM(Emu, 600);
        Slots[0] = {"CAR1", Emu.Store()};
        emu::Controller_Store Other = Emu.Store();
        const bool Named = Random() % 2 == 0;
        Other.Car_Number = Named ? emu::Bytes{'C', 'A', 'R', '2', 0, 0, 0, 0} : emu::Bytes(8, 0xFF);
        Other.Tab_Image.assign(Other.Tab_Image.size(), 90);
        Other.Service_Time = 40;
        const unsigned Period = static_cast<unsigned>(RPM_Constant / 900);
        Other.Config[(RPM_Letter - 'A') * 2] = static_cast<uint8_t>(Period & 0xFF);
        Other.Config[(RPM_Letter - 'A') * 2 + 1] = static_cast<uint8_t>(Period >> 8);
        Slots[1] = {Named ? "CAR2" : "", Other};
        ui::Hooks.On_Unexpected_Dialog = [this](const std::string& What) { Messages.push_back("dialog: " + What); };
    }
    void TearDown() override
    {
        ui::Hooks.On_Unexpected_Dialog = nullptr;
        Emulator_Window_Fixture::TearDown();
    }

    static void Set_RPM(emu::Controller_Emulator& E, double RPM)
    {
        const unsigned Period = static_cast<unsigned>(RPM_Constant / RPM);
        E.Set_Config_Pair(RPM_Letter, static_cast<uint8_t>(Period & 0xFF), static_cast<uint8_t>(Period >> 8));
    }
    static double Held_RPM(const emu::Controller_Store& S)
    {
        const size_t K = (RPM_Letter - 'A') * 2;
        return RPM_Of_Period(S.Config[K] | S.Config[K + 1] << 8);
    }

    // ---- the program's run ----
    void Start()
    {
        With_Table();
        Create();
        Main()->Show();
        Start_Up();
        Running = true;
        Pump_Until([] { return Connected; }, Hang_Bound_Ms);
        Main()->PageControl_KardunGAS->ActivePageIndex(1);
        Main()->RPM_Tab_Show(true);
    }

    // The event loop turns; the messages shown, the dialogs answered and the asks done or
    // named are noted as they come.
    void Pump(int Ms)
    {
        Pump_Until([this] { Watch(); return false; }, Ms);
        Watch();
    }
    bool Pump_While(const std::function<bool()>& Done, int Ms)
    {
        return Pump_Until([&] { Watch(); return Done(); }, Ms);
    }
    void Watch()
    {
        if (Running && Form_MSG) {
            const MSG_Message& S = Form_MSG->Stored;
            const bool Rose = Form_MSG->Pending && !Was_Pending;
            if (Rose || S.Text != Last_Stored.Text || S.Type != Last_Stored.Type) {
                if (!S.Text.empty())
                    Messages.push_back(S.Text);
                Last_Stored = S;
            }
            Was_Pending = Form_MSG->Pending;
            if (Form_PSW && Form_PSW->Visible()) {
                const std::string L = Form_PSW->Label_PSW_Ok->Caption();
                if (Form_PSW->Label_PSW_Ok->Font().Color() == clRed && L != Last_PSW_Red) {
                    Messages.push_back("password window: " + L);
                    Last_PSW_Red = L;
                }
            }
        }
        while (Asked_Seen < ui::Hooks.Asked.size())
            Messages.push_back("asked: " + ui::Hooks.Asked[Asked_Seen++].Text);
        const std::vector<emu::Log_Entry> New = Emu.Log_From(Log_Seen);
        Log_Seen += New.size();
        for (const emu::Log_Entry& E : New)
            if (E.complete && E.request.size() > 1 && E.applied)
                Taken.push_back(E);
        for (Ask& A : Asks) {
            if (A.Done)
                continue;
            if (A.Here && Running && A.Here()) {
                A.Done = true;
                continue;
            }
            if (A.Frame)
                for (size_t I = A.Log_At; I < Taken.size() && !A.Done; ++I)
                    A.Done = A.Frame(Taken[I]);
            for (size_t I = A.Message_At; I < Messages.size() && !A.Done; ++I)
                A.Done = Message_Names(Messages[I], A.Names);
        }
    }

    void Asked(Ask A, std::vector<std::string> Names)
    {
        A.Action = Index;
        A.Log_At = Taken.size();
        A.Message_At = Messages.size();
        A.Names = std::move(Names);
        A.Loader_Open = Form_Loader && Form_Loader->Visible();
        if (!A.Supersedes.empty())
            for (Ask& Old : Asks)
                if (!Old.Done && Old.Supersedes == A.Supersedes)
                    Old.Done = true;
        Asks.push_back(std::move(A));
    }

    void Violation(const std::string& What)
    {
        ++Violations;
        std::string Trail;
        for (const std::string& T : Trail_Done)
            Trail += (Trail.empty() ? "" : ",") + T;
        std::ostringstream Line;
        Line << "SOAK-VIOLATION seed=" << Seed << " action=" << Index << " what=" << What << " trail=" << Trail;
        std::cout << Line.str() << std::endl;
        ADD_FAILURE() << "action " << Index << ": " << What;
    }

    // ---- idle: the main poll again ----
    // Polls of this command at the end of the log, in a row.
    size_t Polls_At_End(uint8_t Poll) const
    {
        size_t N = 0;
        const std::vector<emu::Log_Entry> Log = Emu.Log_From(Log_Seen > 40 ? Log_Seen - 40 : 0);
        for (auto It = Log.rbegin(); It != Log.rend(); ++It) {
            if (!It->complete)
                continue;
            if (It->request[1] != Poll)
                break;
            ++N;
        }
        return N;
    }
    size_t Count_Polls() const
    {
        return static_cast<size_t>(std::count_if(Taken.begin(), Taken.end(), [](const emu::Log_Entry& E) {
            return E.request[1] == Live || E.request[1] == Loader_Poll;
        }));
    }
    // At the main poll; or, with the loader window up, at the boot loader's poll.
    bool Idle() const
    {
        if (Form_Loader && Form_Loader->Visible())
            return Polls_At_End(Loader_Poll) >= Settle_Polls;
        // The send-now delay and the table's turn after it are part of the asking.
        return Connected && Polls_At_End(Live) >= Settle_Polls && !Main()->Timer_Transmit_Now->Enabled() &&
               !Main()->Timer_Transmit_Save->Enabled();
    }
    TForm_KardunGAS* Main() const { return W->Main; }

    // Waits for the main poll; checks the asks, the car files and the status line there.
    void Checkpoint(bool Final = false)
    {
        if (!Running)
            return;
        if (Emu.Vanished())
            Plug_Back(false);
        const auto Start_Wait = std::chrono::steady_clock::now();
        auto Bound = Start_Wait + std::chrono::milliseconds(Hang_Bound_Ms);
        bool Settled = false;
        while (!(Settled = Pump_While([this] { return Idle(); }, 100))) {
            const auto Now = std::chrono::steady_clock::now();
            // A script that keeps going (a new connect included) is not a hang: the bound
            // runs from its latest frame, for a run of them at most Reconnect_Bound_Ms.
            if (Taken.size() > Progress_Seen) {
                for (size_t I = Progress_Seen; I < Taken.size(); ++I)
                    if (Taken[I].request[1] != Live)
                        Bound = std::min(Now + std::chrono::milliseconds(Hang_Bound_Ms),
                                         Start_Wait + std::chrono::milliseconds(Reconnect_Bound_Ms));
                Progress_Seen = Taken.size();
            }
            if (Now > Bound)
                break;
        }
        if (!Settled) {
            std::string Status;
            for (int I = 1; I <= Status_Queue.Count; ++I)
                Status += std::string(I > 1 ? "|" : "") + Status_Queue.Text[I];
            std::string Last;
            if (std::getenv("KARDUN_SOAK_DEBUG")) {
                const auto Now = std::chrono::steady_clock::now();
                for (const emu::Log_Entry& E : Emu.Log_From(Log_Seen > 80 ? Log_Seen - 80 : 0))
                    std::cout << std::chrono::duration_cast<std::chrono::milliseconds>(E.received - Now).count() << " "
                              << std::hex << int(E.request.size() > 1 ? E.request[1] : 0) << std::dec
                              << (E.applied ? "" : " lost") << (E.reply.empty() ? " noreply" : "") << "\n";
            }
            const std::vector<emu::Log_Entry> Log = Emu.Log_From(Log_Seen > 12 ? Log_Seen - 12 : 0);
            for (const emu::Log_Entry& E : Log) {
                char Hex[8];
                std::snprintf(Hex, sizeof Hex, "%02X%s ", E.request.size() > 1 ? E.request[1] : 0, E.applied ? "" : "?");
                Last += Hex;
            }
            Violation("no main poll within the bound (connected=" + std::to_string(Connected) + ", last frames " + Last +
                      ", status=" + Status +
                      ", loader window=" + std::to_string(Form_Loader && Form_Loader->Visible()) + ")");
            return;
        }
        // What waits for its turn at the poll (a loader entry reads a few polls first) has
        // Settle_Grace_Polls more to show.
        const size_t Polls_Before = Count_Polls();
        Pump_While(
            [&] {
                return Count_Polls() >= Polls_Before + Settle_Grace_Polls ||
                       std::all_of(Asks.begin(), Asks.end(), [](const Ask& A) { return A.Done; });
            },
            Hang_Bound_Ms);
        // While the loader window holds the link, what the main window asked waits for it to
        // close: it is looked at by a later checkpoint (the run's last one at the latest).
        const bool Link_Held = Form_Loader && Form_Loader->Visible() && !Final;
        for (Ask& A : Asks)
            if (!A.Done && !(Link_Held && Loader_Held(A))) {
                Violation("lost without a word: '" + A.What + "' (asked at action " + std::to_string(A.Action) +
                          ")" + (A.Detail ? " " + A.Detail() : ""));
                if (std::getenv("KARDUN_SOAK_DEBUG")) {
                    // What went on the wire after the asking, and the messages shown.
                    for (size_t I = A.Log_At; I < Taken.size(); ++I) {
                        std::cout << "  taken";
                        for (uint8_t B : Taken[I].request)
                            std::cout << " " << std::hex << int(B) << std::dec;
                        std::cout << "\n";
                    }
                    for (size_t I = A.Message_At; I < Messages.size(); ++I)
                        std::cout << "  message " << Messages[I] << " (names it: " << Message_Names(Messages[I], A.Names)
                                  << ")\n";
                }
                A.Done = true;
            }
        std::vector<std::string> Now;
        for (int I = 1; I <= Status_Queue.Count; ++I)
            if (Status_Queue.Text[I] == "Data transmission" || Status_Queue.Text[I] == "Receiv data")
                Now.push_back("the status line keeps '" + Status_Queue.Text[I] + "' at the main poll");
        if (Form_PSW && Form_PSW->Visible() && Form_PSW->Panel_PSW_Ok->Visible() &&
            Form_PSW->Label_PSW_Ok->Caption() == Language_Text("Error_Transmission"))
            Now.push_back("the password window keeps 'Data transmission' at the main poll");
        Check_Car_Files(Now);
        // A state that stays wrong is one violation, told when it first shows.
        for (const std::string& V : Now)
            if (std::find(Standing.begin(), Standing.end(), V) == Standing.end())
                Violation(V);
        Standing = Now;
    }

    // Each controller's car file holds its engine speed.
    void Check_Car_Files(std::vector<std::string>& Found)
    {
        for (int S = 0; S < 2; ++S) {
            const Controller_Slot& C = Slots[S];
            if (C.Car.empty())
                continue;
            const std::string Path = Folder->File(std::string(Car_Folder) + "/" + C.Car + ".cfg");
            if (!std::filesystem::exists(Path))
                continue;
            const std::string Value = Key_Value(Folder->Read(std::string(Car_Folder) + "/" + C.Car + ".cfg"), "PG_RPM");
            const double Held = Held_RPM(S == Current ? Emu.Store() : C.Store);
            if (Value.empty() || !Near_RPM(Held, std::atof(Value.c_str())))
                Found.push_back("car file " + C.Car + ".cfg holds PG_RPM " + Value + ", its controller " +
                                std::to_string(static_cast<int>(Held)));
        }
    }

    // An ask of the main window's, made while the loader window held the link.
    bool Loader_Held(const Ask& A) const { return A.Loader_Open; }

    // ---- the port ----
    void Pull_Port()
    {
        if (!Emu.Vanished())
            Emu.Vanish();
    }
    void Plug_Back(bool Other)
    {
        if (!Emu.Vanished())
            Emu.Vanish();
        Slots[Current].Store = Emu.Store();
        if (Other)
            Current = 1 - Current;
        ASSERT_TRUE(Emu.Reappear_As(Slots[Current].Store));
    }

    // ---- the actions ----
    struct Action {
        const char* Name;
        int Weight;
        std::function<bool()> Run;   // false: not possible now (a control disabled or hidden)
    };
    static bool Usable(TControl* C) { return C && C->Enabled() && C->Visible(); }
    bool Main_Usable() const { return Running && Main()->Enabled() && Main()->Visible(); }
    bool Click(TButton* B)
    {
        if (!Main_Usable() || !Usable(B))
            return false;
        B->Click();
        return true;
    }
    static bool Mode_Frame(const emu::Log_Entry& E)
    {
        return E.request[1] == Control && E.request[2] == 0 &&
               (E.request[3] == 1 || E.request[3] == 2 || E.request[3] == 4);
    }
    // A change on the page goes at once (the connection panel shows the link up).
    bool Sends_Now() const { return Send_Now && Connected; }
    std::string RPM_Shown() const { return Main()->PG_RPM.Edit->Text(); }
    Ask RPM_Ask(const std::string& What, const std::string& Shown)
    {
        Ask A;
        A.What = What + " (page " + Shown + " rpm)";
        const double Asked_RPM = std::atof(Shown.c_str());
        A.Frame = [Asked_RPM](const emu::Log_Entry& E) {
            const emu::Bytes& R = E.request;
            if (R[1] == RPM_Letter && R.size() == 5)
                return Near_RPM(RPM_Of_Period(R[2] << 8 | R[3]), Asked_RPM);
            if (R[1] != Letter_List)
                return false;
            for (size_t I = 2; I + 3 < R.size(); I += 3)
                if (R[I] == RPM_Letter && Near_RPM(RPM_Of_Period(R[I + 1] << 8 | R[I + 2]), Asked_RPM))
                    return true;
            return false;
        };
        return A;
    }
    static std::function<bool(const emu::Log_Entry&)> Command_Frame(uint8_t Command)
    {
        return [Command](const emu::Log_Entry& E) { return E.request[1] == Command; };
    }
    // All of the commands, each taken at least once after the asking.
    Ask All_Of(const std::string& What, std::vector<uint8_t> Commands)
    {
        Ask A;
        A.What = What;
        auto Seen = std::make_shared<std::vector<uint8_t>>();
        A.Frame = [Commands, Seen](const emu::Log_Entry& E) {
            if (std::find(Commands.begin(), Commands.end(), E.request[1]) != Commands.end() &&
                std::find(Seen->begin(), Seen->end(), E.request[1]) == Seen->end())
                Seen->push_back(E.request[1]);
            return Seen->size() == Commands.size();
        };
        return A;
    }
    // A request of the injectors' mode: its own text, or the watchdog's for its frame.
    static std::vector<std::string> Mode_Names() { return {"Error_Mode", "Error_CFG_Transmitt"}; }
    std::vector<std::string> Write_Names() const
    {
        return {"Error_Data_Transmitt", "Error_CFG_Transmitt", "Error_CLB_Transmitt"};
    }

    std::vector<Action> Actions()
    {
        std::vector<Action> A;
        A.push_back({"mode", 6, [this] {
                         TForm_KardunGAS* F = Main();
                         if (!Click(F->Button_WorkMode))
                             return false;
                         Ask K;
                         K.What = "Mode";
                         K.Frame = Mode_Frame;
                         Asked(K, Mode_Names());
                         return true;
                     }});
        A.push_back({"key_m", 3, [this] {
                         TForm_KardunGAS* F = Main();
                         if (!Main_Usable() || !Connected)
                             return false;
                         QTest::keyClick(F->Widget(), Qt::Key_M);
                         Ask K;
                         K.What = "key M";
                         K.Frame = Mode_Frame;
                         Asked(K, Mode_Names());
                         return true;
                     }});
        A.push_back({"forcing", 5, [this] {
                         TForm_KardunGAS* F = Main();
                         TButton* B = F->Gas_Fors_Button(1 + static_cast<int>(Random() % 2));
                         if (!Main_Usable() || !Usable(B))
                             return false;
                         B->Down(!B->Down());
                         B->OnClick(B);
                         // Not connected, a forcing click only sets the button: the connect
                         // script that comes next sends the controller's own state.
                         if (!Connected)
                             return true;
                         Ask K;
                         K.What = "forcing button";
                         K.Frame = Command_Frame(Control);
                         Asked(K, Mode_Names());
                         return true;
                     }});
        A.push_back({"clear_errors", 4, [this] {
                         TForm_KardunGAS* F = Main();
                         if (!Click(F->Button_ERR_Clear))
                             return false;
                         Ask K;
                         K.What = "clear errors";
                         K.Frame = [](const emu::Log_Entry& E) { return E.request[1] == Error_Control && (E.request[3] & 1); };
                         Asked(K, {"Error_Errors_Not_Cleared", "Error_CFG_Transmitt"});
                         return true;
                     }});
        A.push_back({"receive", 5, [this] {
                         TForm_KardunGAS* F = Main();
                         if (!Click(F->Button_CFG_Receiv))
                             return false;
                         // Whole: the configuration, then every byte of the table in chunks.
                         Ask K;
                         K.What = "Receive";
                         auto Got = std::make_shared<std::pair<bool, size_t>>(false, 0);
                         K.Frame = [Got](const emu::Log_Entry& E) {
                             if (E.request[1] == Config_Read)
                                 *Got = {true, 0};
                             else if (E.request[1] == Table_Chunk_Read && Got->first)
                                 Got->second += E.request[2];
                             return Got->first && Got->second >= Table_Bytes;
                         };
                         K.Detail = [Got] {
                             return "(configuration " + std::string(Got->first ? "read" : "not read") + ", " +
                                    std::to_string(Got->second) + " table bytes after it)";
                         };
                         Asked(K, {"Error_CFG_Receiv"});
                         return true;
                     }});
        A.push_back({"transmit", 6, [this] {
                         TForm_KardunGAS* F = Main();
                         const std::string Shown = RPM_Shown();
                         if (!Click(F->Button_CFG_Transmitt))
                             return false;
                         Ask K = RPM_Ask("Transmit", Shown);
                         K.Supersedes = "rpm";
                         Asked(K, Write_Names());
                         return true;
                     }});
        for (const bool Up : {true, false})
            A.push_back({Up ? "rpm_up" : "rpm_down", 6, [this, Up] {
                             TForm_KardunGAS* F = Main();
                             TUpDown* U = F->PG_RPM.UpDown;
                             if (!Main_Usable() || !Usable(U))
                                 return false;
                             const std::string Before = RPM_Shown();
                             U->Step(Up ? TUD_Button::Up : TUD_Button::Down);
                             // Sent at once only while the link is up; else it waits for Transmit.
                             if (Sends_Now() && RPM_Shown() != Before) {
                                 Ask K = RPM_Ask("send-now RPM step", RPM_Shown());
                                 K.Supersedes = "rpm";
                                 Asked(K, Write_Names());
                             }
                             return true;
                         }});
        A.push_back({"table_cell", 4, [this] {
                         TForm_KardunGAS* F = Main();
                         // As the technician sees it: a grid inside a disabled panel takes nothing.
                         if (!Main_Usable() || !F->Grid_RPM->Showing())
                             return false;
                         // A factor no table of the run holds yet, so its byte shows where it went.
                         static const char* Values[] = {"0.37", "0.41", "0.53", "1.23", "1.37", "1.71"};
                         const int V = static_cast<int>(Random() % 6);
                         const int Col = 1 + static_cast<int>(Random() % 3), Row = 1 + static_cast<int>(Random() % 3);
                         F->Grid_RPM->Selection(TRect{Col, Row, Col, Row});
                         QTest::keyClick(F->Grid_RPM->Widget(), Qt::Key_Return);
                         if (!F->Edit_CFG_Depend->Showing())
                             return false;
                         F->Edit_CFG_Depend->SelectAll();
                         QTest::keyClicks(F->Edit_CFG_Depend->Widget(), Values[V]);
                         QTest::keyClick(F->Edit_CFG_Depend->Widget(), Qt::Key_Return);
                         const int Byte = static_cast<int>(std::atof(Values[V]) * 128);
                         Ask K;
                         K.What = std::string("table cell ") + Values[V];
                         K.Supersedes = "cell" + std::to_string(Col) + "." + std::to_string(Row);
                         K.Here = [this, Byte] {
                             const emu::Bytes Image = Emu.RPM_Table_Image();
                             return std::any_of(Image.begin() + 13 * 2 + 24, Image.end(),
                                                [Byte](uint8_t B) { return B == Byte || B == Byte + 1; });
                         };
                         if (Sends_Now())
                             Asked(K, Write_Names());
                         else
                             Waiting_Cells.push_back(K);
                         return true;
                     }});
        A.push_back({"clb_receive", 3, [this] {
                         TForm_KardunGAS* F = Main();
                         if (!Click(F->Button_CLB_Receiv))
                             return false;
                         Asked(All_Of("calibration read", {Block_1_Read, Block_2_Read}),
                               {"Error_CLB_Receiv", "Error_CFG_Receiv"});
                         return true;
                     }});
        A.push_back({"clb_transmit", 3, [this] {
                         TForm_KardunGAS* F = Main();
                         ui::Answer_Next_Dialog(mrYes);
                         if (!Click(F->Button_CLB_Transmitt))
                             return false;
                         Asked(All_Of("calibration write", {Block_1_Write, Block_2_Write}), Write_Names());
                         return true;
                     }});
        A.push_back({"service_time", 3, [this] {
                         TForm_KardunGAS* F = Main();
                         TUpDown* U = F->ST_Set.UpDown;
                         if (!Main_Usable() || !Usable(U) || !Usable(F->Button_CFG_ST_Set))
                             return false;
                         for (int I = 1 + static_cast<int>(Random() % 3); I > 0; --I)
                             U->Step(Random() % 2 ? TUD_Button::Up : TUD_Button::Down);
                         const int Hours = std::atoi(F->ST_Set.Edit->Text().c_str());
                         F->Button_CFG_ST_Set->Click();
                         Ask K;
                         K.What = "service time " + std::to_string(Hours) + " h";
                         K.Supersedes = "service";
                         K.Frame = [Hours](const emu::Log_Entry& E) {
                             return E.request[1] == Service_Write && E.request.size() >= 9 &&
                                    (E.request[2] << 8 | E.request[3]) == Hours;
                         };
                         Asked(K, Write_Names());
                         return true;
                     }});
        A.push_back({"save", 3, [this] {
                         TForm_KardunGAS* F = Main();
                         const std::string Name = "S" + std::to_string(++Files) + ".cfg";
                         const std::string Path = Folder->File(std::string(Car_Folder) + "/" + Name);
                         const std::string Shown = RPM_Shown();
                         ui::Answer_Next_File_Dialog(Path);
                         ui::Answer_Next_Dialog(mrYes);
                         if (!Click(F->Button_CFG_Save))
                             return false;
                         Saved.push_back(Path);
                         Ask K;
                         K.What = "Save as " + Name + " (page " + Shown + " rpm)";
                         K.Here = [Path, Shown] {
                             std::ifstream In(Path, std::ios::binary);
                             std::stringstream S;
                             S << In.rdbuf();
                             return Near_RPM(std::atof(Key_Value(S.str(), "PG_RPM").c_str()), std::atof(Shown.c_str()));
                         };
                         K.Detail = [Path] {
                             if (!std::filesystem::exists(Path))
                                 return std::string("(no such file)");
                             std::ifstream In(Path, std::ios::binary);
                             std::stringstream S;
                             S << In.rdbuf();
                             return "(the file holds PG_RPM " + Key_Value(S.str(), "PG_RPM") + ")";
                         };
                         Asked(K, {"Error_Folder_not_exist", "Error_CFG_file_not_select"});
                         return true;
                     }});
        A.push_back({"load", 3, [this] {
                         TForm_KardunGAS* F = Main();
                         std::vector<std::string> Present;
                         for (const std::string& P : Saved)
                             if (std::filesystem::exists(P))
                                 Present.push_back(P);
                         if (Present.empty())
                             return false;
                         const std::string Path = Present[Random() % Present.size()];
                         std::ifstream In(Path, std::ios::binary);
                         std::stringstream S;
                         S << In.rdbuf();
                         const std::string Value = Key_Value(S.str(), "PG_RPM");
                         ui::Answer_Next_File_Dialog(Path);
                         ui::Answer_Next_Dialog(mrYes);
                         if (!Click(F->Button_CFG_Load))
                             return false;
                         Ask K;
                         K.What = "Load " + std::filesystem::path(Path).filename().string() + " (" + Value + " rpm)";
                         K.Supersedes = "rpm";
                         K.Here = [this, Value] { return RPM_Shown() == Value; };
                         K.Detail = [this] { return "(the page shows " + RPM_Shown() + ")"; };
                         Asked(K, {"Error_CFG_Not_Loaded", "Error_File_not_found", "Error_CFG_file_not_select"});
                         return true;
                     }});
        A.push_back({"password_set", 2, [this] {
                         TForm_KardunGAS* F = Main();
                         if (!Main_Usable() || !Usable(F->Button_CFG_User_Password))
                             return false;
                         F->Button_CFG_User_Password->Click();
                         if (Form_PSW->Panel_PSW_Warning->Visible())
                             Form_PSW->Button_PSW_Setting->Click();
                         const std::string Word = "P" + std::to_string(10 + Random() % 90);
                         if (Form_PSW->Panel_PSW_Set->Visible()) {
                             Form_PSW->Edit_PSW_pass1->Text(Word);
                             Form_PSW->Edit_PSW_pass2->Text(Word);
                         }
                         if (!Form_PSW->Panel_PSW_Set->Visible() || !Usable(Form_PSW->Button_PSW_Set)) {
                             Form_PSW->Close();
                             return false;
                         }
                         ui::Answer_Next_Dialog(mrYes);
                         Form_PSW->Button_PSW_Set->Click();
                         Ask K;
                         K.What = "password " + Word;
                         K.Supersedes = "password";
                         K.Frame = [Word](const emu::Log_Entry& E) {
                             return E.request[1] == Password_Write && E.request.size() > 2 + Word.size() &&
                                    std::equal(Word.begin(), Word.end(), E.request.begin() + 2);
                         };
                         Asked(K, Write_Names());
                         return true;
                     }});
        A.push_back({"password_clear", 1, [this] {
                         TForm_KardunGAS* F = Main();
                         if (!Main_Usable() || !Usable(F->Button_CFG_User_Password))
                             return false;
                         F->Button_CFG_User_Password->Click();
                         if (!Form_PSW->Panel_PSW_Set->Visible() || !Usable(Form_PSW->Button_PSW_Clr)) {
                             Form_PSW->Close();
                             return false;
                         }
                         ui::Answer_Next_Dialog(mrYes);
                         Form_PSW->Button_PSW_Clr->Click();
                         Ask K;
                         K.What = "password cleared";
                         K.Supersedes = "password";
                         K.Frame = [](const emu::Log_Entry& E) {
                             return E.request[1] == Password_Write && E.request.size() > 10 && E.request[2] == 0xFF;
                         };
                         Asked(K, Write_Names());
                         return true;
                     }});
        A.push_back({"password_default", 1, [this] {
                         if (!Running || !Form_PSW->Visible() || !Form_PSW->Panel_PSW_Check->Visible() ||
                             !Usable(Form_PSW->Button_PSW_Default))
                             return false;
                         ui::Answer_Next_Dialog(mrYes);
                         Form_PSW->Button_PSW_Default->Click();
                         Ask K = All_Of("Clear and Default", {Password_Write, Letter_List, Block_1_Write, Block_2_Write});
                         K.Supersedes = "password";
                         Asked(K, Write_Names());
                         return true;
                     }});
        A.push_back({"password_enter", 4, [this] {
                         if (!Running || !Form_PSW->Visible() || !Form_PSW->Panel_PSW_Check->Visible())
                             return false;
                         const emu::Bytes Block = Emu.Password_Block();
                         std::string Word;
                         for (size_t I = 0; I < 8 && Block[I] != 0xFF; ++I)
                             Word += static_cast<char>(Block[I]);
                         Form_PSW->Edit_PSW_Input->Text(Word);
                         Form_PSW->Button_PSW_Check->Click();
                         return true;
                     }});
        A.push_back({"password_close", 3, [this] {
                         if (!Running || !Form_PSW->Visible())
                             return false;
                         if (Form_PSW->Timer_PSW_OK->Enabled())
                             Form_PSW->Timer_PSW_OK->OnTimer(nullptr);
                         else
                             Form_PSW->Close();
                         return true;
                     }});
        A.push_back({"loader_entry", 2, [this] {
                         TForm_KardunGAS* F = Main();
                         if (!Click(F->Button_HEX_Loader))
                             return false;
                         Ask K;
                         K.What = "loader entry";
                         K.Here = [] { return Form_Loader && Form_Loader->Visible(); };
                         Asked(K, {"Error_Loader_Not_Started", "Error_Loader_Transmitt"});
                         return true;
                     }});
        A.push_back({"loader_exit", 4, [this] {
                         if (!Running || !Form_Loader->Visible() || !Usable(Form_Loader->Button_Loader_Exit))
                             return false;
                         Form_Loader->Button_Loader_Exit->Click();
                         Ask K;
                         K.What = "loader exit";
                         K.Here = [] { return !Form_Loader->Visible(); };
                         Asked(K, {"Error_Loader_Not_Started", "Error_Loader_Transmitt"});
                         return true;
                     }});
        A.push_back({"close", 1, [this] {
                         TForm_KardunGAS* F = Main();
                         if (!Running)
                             return false;
                         F->Close_Requested();
                         Pump_While([F] { return !F->Visible(); }, Hang_Bound_Ms);
                         // The program ends here: what it had not done by now is lost unless named.
                         Watch();
                         Running = false;
                         for (Ask& K : Asks)
                             if (!K.Done) {
                                 Violation("lost at the close without a word: '" + K.What + "' (asked at action " +
                                           std::to_string(K.Action) + ")");
                                 K.Done = true;
                             }
                         W.reset();
                         Reset_All_State();
                         Last_Stored = {};
                         Was_Pending = false;
                         Waiting_Cells.clear();
                         Start();
                         return true;
                     }});
        A.push_back({"port_pull", 2, [this] {
                         if (Emu.Vanished())
                             return false;
                         Pull_Port();
                         return true;
                     }});
        A.push_back({"port_back", 3, [this] {
                         if (!Emu.Vanished())
                             return false;
                         Plug_Back(false);
                         return true;
                     }});
        A.push_back({"other_controller", 2, [this] {
                         if (!Emu.Vanished())
                             return false;
                         Plug_Back(true);
                         return true;
                     }});
        A.push_back({"wait", 4, [this] {
                         Pump(500 + static_cast<int>(Random() % 2000));
                         return true;
                     }});
        A.push_back({"checkpoint", 3, [this] {
                         Checkpoint();
                         return true;
                     }});
        return A;
    }

    // Runs the sequence; returns the number of actions done.
    int Run()
    {
        Start();
        Pump_While([this] { return Idle(); }, 30000);
        std::vector<Action> All = Actions();
        int Total_Weight = 0;
        for (const Action& A : All)
            Total_Weight += A.Weight;
        const auto End = std::chrono::steady_clock::now() + std::chrono::seconds(Seconds);
        int Done = 0;
        size_t Replayed = 0;
        for (Index = 1; Replay.empty() ? Index <= Action_Count && std::chrono::steady_clock::now() < End
                                       : Replayed < Replay.size();
             ++Index) {
            const Action* Chosen = nullptr;
            if (!Replay.empty()) {
                const std::string Name = Replay[Replayed++];
                for (const Action& A : All)
                    if (Name == A.Name)
                        Chosen = &A;
                if (!Chosen) {
                    ADD_FAILURE() << "no action " << Name;
                    continue;
                }
            } else {
                int Pick = static_cast<int>(Random() % static_cast<unsigned>(Total_Weight));
                for (const Action& A : All)
                    if ((Pick -= A.Weight) < 0) {
                        Chosen = &A;
                        break;
                    }
            }
            // A Transmit also takes the table cells edited without send-now.
            const bool Transmit = std::string(Chosen->Name) == "transmit";
            Watch();   // what came before the action is not taken for it
            const bool Ran = Chosen->Run();
            // An answer prepared for a question the program did not ask is not left for
            // the next dialog.
            ui::Hooks.Answers.clear();
            if (!Ran)
                continue;
            if (Transmit)
                for (Ask& K : Waiting_Cells)
                    Asked(K, Write_Names());
            if (Transmit)
                Waiting_Cells.clear();
            Trail_Done.push_back(Chosen->Name);
            ++Done;
            // Short gaps make actions overlap the scripts the earlier ones started.
            Pump(static_cast<int>(Random() % 900));
            if (Replay.empty() && Done % 10 == 0)
                Checkpoint();
        }
        if (Form_Loader && Form_Loader->Visible() && Usable(Form_Loader->Button_Loader_Exit))
            Form_Loader->Button_Loader_Exit->Click();
        Checkpoint(true);
        return Done;
    }

    uint64_t Seed = Fixed_Seed;
    int Action_Count = Fixed_Actions;
    int Seconds = Fixed_Seconds;
    std::vector<std::string> Replay;
    std::mt19937_64 Random;
    bool Send_Now = true;
    bool Running = false;
    int Index = 0;
    int Violations = 0;
    int Files = 0;
    int Current = 0;
    Controller_Slot Slots[2];
    std::vector<std::string> Saved;
    std::vector<std::string> Trail_Done;
    std::vector<std::string> Messages;
    std::vector<emu::Log_Entry> Taken;
    std::vector<Ask> Asks;
    std::vector<Ask> Waiting_Cells;
    size_t Log_Seen = 0;
    size_t Progress_Seen = 0;
    size_t Asked_Seen = 0;
    MSG_Message Last_Stored;
    bool Was_Pending = false;
    std::string Last_PSW_Red;
    std::vector<std::string> Standing;   // wrong states told at the last checkpoint
};

// Disabled until the request mechanism keeps its word: main still loses requests here.
TEST_F(Soak_E2E, DISABLED_RandomActionsKeepEveryRequestOrNameIt)
{
    int Periods[4] = {Default_Periods[0], Default_Periods[1], Default_Periods[2], Default_Periods[3]};
    if (const char* P = std::getenv("KARDUN_SOAK_PERIODS"))
        std::sscanf(P, "%d,%d,%d,%d", &Periods[0], &Periods[1], &Periods[2], &Periods[3]);
    const emu::Fault Faults[4] = {emu::Fault::No_Reply, emu::Fault::Wrong_Sum, emu::Fault::Short_Reply,
                                  emu::Fault::Wrong_Command};
    for (int I = 0; I < 4; ++I)
        Emu.Set_Fault_Period(Faults[I], Periods[I]);
    // A slow controller makes the actions overlap the scripts more often.
    Emu.Set_Reply_Delay(Env_Int("KARDUN_SOAK_REPLY_MS", 0));
    const int Done = Run();
    if (std::getenv("KARDUN_SOAK_DEBUG"))
        for (const std::string& M : Messages)
            std::cout << "  message " << M << "\n";
    if (std::getenv("KARDUN_SOAK_DEBUG"))
        for (const emu::Log_Entry& E : Emu.Log()) {
            std::cout << "  frame" << (E.complete ? "" : " (no frame)") << (E.sum_ok ? "" : " (bad sum)")
                      << (E.applied ? "" : " (not taken)") << " " << E.request.size() << " bytes:";
            for (size_t I = 0; I < std::min<size_t>(E.request.size(), 8); ++I)
                std::cout << " " << std::hex << int(E.request[I]) << std::dec;
            std::cout << "\n";
        }
    std::cout << "SOAK-RUN seed=" << Seed << " send_now=" << Send_Now << " periods=" << Periods[0] << ","
              << Periods[1] << "," << Periods[2] << "," << Periods[3] << " actions=" << Done
              << " violations=" << Violations << std::endl;
    EXPECT_EQ(Violations, 0);
}

}  // namespace
