// Questions and notices above the window that asks them, and windows placed where the
// technician looks: the program's windows on a real X server with openbox, read back from
// the X server (stacking order, active window, frames) with xprop and xwininfo. Run by
// tests/scripts/Window_Stacking_Test.sh, never offscreen.
#include <QApplication>
#include <QTimer>
#include <QWindow>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "main/Main_Test_Support.h"
#include "platform/system/Serial_Ports.h"
#include "windows/DTB_Window.h"
#include "windows/Drive_Window.h"
#include "windows/MiniCFG_Window.h"
#include "windows/Port_Window.h"
#include "windows/RPM_Window.h"

namespace {

using namespace main_test;

// How long the window manager may take to map, frame, stack and focus a window.
constexpr int Settle_Ms = 5000;

std::string Shell(const std::string& Command)
{
    std::string Out;
    if (FILE* Pipe = ::popen(Command.c_str(), "r")) {
        char Buffer[512];
        while (size_t N = std::fread(Buffer, 1, sizeof Buffer, Pipe))
            Out.append(Buffer, N);
        ::pclose(Pipe);
    }
    return Out;
}

// The numbers after Key in what a command printed ("0x" numbers are hexadecimal).
std::vector<long> Numbers(const std::string& Text, const std::string& Key = "")
{
    std::vector<long> Out;
    const size_t At = Text.find(Key);
    if (At == std::string::npos)
        return Out;
    std::istringstream In(Text.substr(At + Key.size(), Text.find('\n', At) - At - Key.size()));
    for (std::string Word; In >> Word;)
        if (const size_t Digit = Word.find_first_of("0123456789"); Digit != std::string::npos)
            Out.push_back(std::stol(Word.substr(Digit), nullptr, Word.find("0x") != std::string::npos ? 16 : 10));
    return Out;
}

// The clients bottom to top and the active one, as the window manager announces them.
struct X_State {
    std::vector<long> Stacking;
    long Active = 0;
    size_t Level(long Id) const   // 1-based from the bottom, 0 when not listed
    {
        const auto At = std::find(Stacking.begin(), Stacking.end(), Id);
        return At == Stacking.end() ? 0 : static_cast<size_t>(At - Stacking.begin()) + 1;
    }
    // Asked shown above Asking (0: any) and focused.
    bool Above(long Asking, long Asked) const
    {
        return Asked != 0 && Active == Asked && Level(Asked) > Level(Asking) && (Asking == 0 || Level(Asking) > 0);
    }
    // What the X server says of both windows: why one is not above the other.
    std::string Said(long Asking, long Asked) const;
};

// A property of a window as xprop prints it, without the property's name.
std::string Property(long Id, const char* Name)
{
    std::string Out = Shell("xprop -id " + std::to_string(Id) + " " + Name);
    if (const size_t At = Out.find_first_of(":=", std::strlen(Name)); At != std::string::npos)
        Out = Out.substr(At + 1);
    while (!Out.empty() && (Out.back() == '\n' || Out.back() == ' '))
        Out.pop_back();
    return Out;
}

std::string X_State::Said(long Asking, long Asked) const
{
    std::ostringstream Out;
    Out << std::hex << "stacking bottom to top:";
    for (long Id : Stacking)
        Out << " 0x" << Id;
    Out << "; active 0x" << Active;
    for (const auto& [Role, Id] : {std::pair{"below", Asking}, std::pair{"above", Asked}}) {
        Out << "; " << Role << " 0x" << Id << " at " << std::dec << Level(Id) << std::hex;
        if (Id != 0)
            Out << " (WM_TRANSIENT_FOR" << Property(Id, "WM_TRANSIENT_FOR") << ", _NET_WM_STATE "
                << Property(Id, "_NET_WM_STATE") << ")";
    }
    return Out.str();
}

// The clients bottom to top as the X server stacks their frames (the root's children), for
// a window manager that does not announce the stacking (xfwm4).
std::vector<long> Stacked_Frames()
{
    std::vector<long> Frames;   // top first, as xwininfo lists them
    std::istringstream Lines(Shell("xwininfo -root -children"));
    for (std::string Line; std::getline(Lines, Line);)
        if (const size_t At = Line.find_first_not_of(' '); At != std::string::npos && Line.compare(At, 2, "0x") == 0)
            Frames.push_back(std::stol(Line.substr(At), nullptr, 16));
    std::vector<std::pair<size_t, long>> Placed;   // the frame's place from the top, the client
    for (long Client : Numbers(Shell("xprop -root _NET_CLIENT_LIST"), "#")) {
        long Window = Client;
        for (int Depth = 0; Depth < 8; ++Depth) {
            const std::string Tree = Shell("xwininfo -tree -id " + std::to_string(Window));
            const std::vector<long> Parent = Numbers(Tree, "Parent window id:"), Root = Numbers(Tree, "Root window id:");
            if (Parent.empty() || Root.empty() || Parent.front() == Root.front())
                break;
            Window = Parent.front();
        }
        if (const auto At = std::find(Frames.begin(), Frames.end(), Window); At != Frames.end())
            Placed.emplace_back(static_cast<size_t>(At - Frames.begin()), Client);
    }
    std::sort(Placed.rbegin(), Placed.rend());
    std::vector<long> Stacking;
    for (const auto& [Place, Client] : Placed)
        Stacking.push_back(Client);
    return Stacking;
}

X_State Look()
{
    X_State S;
    S.Stacking = Numbers(Shell("xprop -root _NET_CLIENT_LIST_STACKING"), "#");
    if (S.Stacking.empty())
        S.Stacking = Stacked_Frames();
    const std::vector<long> Active = Numbers(Shell("xprop -root _NET_ACTIVE_WINDOW"), "#");
    S.Active = Active.empty() ? 0 : Active.front();
    return S;
}

// A window's outer frame on the screen (x, y, width, height), empty until it is framed.
std::vector<long> Frame_Of(long Id)
{
    const std::string Window = "-id " + std::to_string(Id);
    const std::vector<long> Extents = Numbers(Shell("xprop " + Window + " _NET_FRAME_EXTENTS"), "=");
    if (Extents.size() != 4)
        return {};
    const std::string Info = Shell("xwininfo " + Window);
    return {Numbers(Info, "Absolute upper-left X:").at(0) - Extents[0],
            Numbers(Info, "Absolute upper-left Y:").at(0) - Extents[2],
            Numbers(Info, "Width:").at(0) + Extents[0] + Extents[1],
            Numbers(Info, "Height:").at(0) + Extents[2] + Extents[3]};
}

// Whether Asked() came above Asking (0: any) and focused, with the event loop running.
bool Wait_Above(long Asking, const std::function<long()>& Asked)
{
    X_State S;
    const bool Above = Pump_Until([&] { return (S = Look()).Above(Asking, Asked()); }, Settle_Ms);
    EXPECT_TRUE(Above) << S.Said(Asking, Asked());
    return Above;
}

long Screen(const char* Side)
{
    return Numbers(Shell("xwininfo -root"), Side).at(0);
}

// A frame wholly within the screen.
bool On_Screen(const std::vector<long>& F)
{
    return F.size() == 4 && F[0] >= 0 && F[1] >= 0 && F[0] + F[2] <= Screen("Width:") &&
           F[1] + F[3] <= Screen("Height:");
}

std::string Text(const std::vector<long>& F)
{
    return F.size() == 4 ? std::to_string(F[2]) + "x" + std::to_string(F[3]) + " at " + std::to_string(F[0]) + "," +
                               std::to_string(F[1])
                         : "no frame";
}

long Modal_Box()
{
    // The native window's own id: the widget's copy is not renewed with a new native window.
    QWidget* Box = QApplication::activeModalWidget();
    return Box && Box->isVisible() && Box->windowHandle() ? static_cast<long>(Box->windowHandle()->winId()) : 0;
}

long Notice()
{
    return Form_MSG->Visible() ? static_cast<long>(Form_MSG->Native_Window()) : 0;
}

std::string Line(const char* Key, const std::string& Value)
{
    return Key_File_Pad_Key(Key) + Value + " {}\r\n";
}

class Window_Stacking_X : public Main_Window_Fixture {
protected:
    void SetUp() override
    {
        Main_Window_Fixture::SetUp();
        ui::Hooks.On_Unexpected_Dialog = [](const std::string& What) { ADD_FAILURE() << What; };
        // No serial port: the search waits for one, and nothing answers.
        for (const char* Dir : {"class", "dev"})
            std::filesystem::create_directories(Folder->File(Dir));
        sys::Serial_Ports.Class_Dir = Folder->File("class");
        sys::Serial_Ports.Device_Dir = Folder->File("dev");
    }
    void TearDown() override
    {
        End_Program();
        Main_Window_Fixture::TearDown();
    }
    // The program's windows as it makes them, with real dialogs and the settings given.
    void Make_Program(const std::string& Settings_Lines)
    {
        Folder->Write("KardunGD.ini", Line("Port_Name", Folder->File("ttyNONE")) + Settings_Lines);
        App = std::make_unique<TApplication>();
        Application->Initialize();
        Create_Windows();
    }
    void End_Program()
    {
        if (!App)
            return;
        Application->Shutdown();
        App.reset();
        Reset_All_State();
    }
    std::unique_ptr<TApplication> App;
};

// The main window normal, or staying on top (a setting): the windows it opens and their
// questions must show above it either way.
class Window_Stacking_Main_X : public Window_Stacking_X, public ::testing::WithParamInterface<bool> {};

INSTANTIATE_TEST_SUITE_P(Main_Window, Window_Stacking_Main_X, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& Info) {
                             return std::string(Info.param ? "Stay_On_Top" : "Normal");
                         });

TEST_P(Window_Stacking_Main_X, EveryQuestionAndNoticeShowsAboveAndFocusedOverTheWindowThatAsksIt)
{
    // The main window stands at the screen's right edge, where the windows centred on it
    // and their questions would leave the screen.
    const long Screen_W = Screen("Width:"), Screen_H = Screen("Height:");
    ASSERT_NO_FATAL_FAILURE(Make_Program(Line("Full_Screen", "False") + Line("Form_Style", GetParam() ? "True" : "False") +
                                         Line("Position_Left", std::to_string(Screen_W - 450)) +
                                         Line("Position_Top", std::to_string(Screen_H - 500))));
    TForm_KardunGAS* M = Form_KardunGAS;
    M->Show();
    const std::string Recording = Folder->File("rec.osc");
    auto Tell = [] { Show_Message(Message_Type::Language_Key, "Error_CFG_Transmitt", clRed); };
    // A question is a modal box, answered by Return through the X server (only the focused
    // window gets it); a notice is the message window.
    struct Row {
        const char* Window;
        TForm* Asking;
        std::function<void()> Ask;
        bool Question;
        std::function<void()> After;   // after Return answered the question
    };
    const Row Rows[] = {
        {"password", Form_PSW,
         [] {
             Form_PSW->Button_PSW_SettingClick(nullptr);
             Form_PSW->Edit_PSW_pass1->Text("Q7x");
             Form_PSW->Edit_PSW_pass2->Text("Q7x");
             Connected = true;   // a Yes would write at once
             Form_PSW->Button_PSW_Set->Click();
         },
         true,
         [] {
             EXPECT_NE(Request_Code, 26) << "Return wrote the password";
             Connected = false;
             Request_Code = 0;
         }},
        {"RPM sweep", Form_RPM, Tell, false, nullptr},
        {"test drive", Form_MV_Drive, [] { Form_MV_Drive->Button_Drive_Set->Click(); }, false, nullptr},
        {"loader", Form_Loader, [] { Form_Loader->Show_File_Error("main_.hex", "Error_File_not_found"); }, true,
         nullptr},
        {"compact view", Form_MiniCFG, Tell, false, nullptr},
        {"port search", Form_Port, Tell, false, nullptr},
        {"main window", M,
         [M, Recording] {
             ui::Answer_Next_File_Dialog(Recording);
             M->Button_OSC_Record->Down(true);
             M->Button_OSC_RecordClick(nullptr);
         },
         true, [Recording] { EXPECT_TRUE(std::filesystem::exists(Recording)) << "Return deleted the recording"; }},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Window);
        Put_File(Recording, std::string(64, '\x01'));
        if (R.Asking == Form_MiniCFG)
            M->Show_MiniCFG(2);
        else if (R.Asking == Form_Port)
            Form_Port->Search_Ports();
        else
            R.Asking->Show();
        const long Asking = static_cast<long>(R.Asking->Native_Window());
        const long Main = static_cast<long>(M->Native_Window());
        // Up, active, and above the main window that stays on top, before it asks.
        Wait_Above(R.Asking == M ? 0 : Main, [&] { return Asking; });
        const std::function<long()> Asked = R.Question ? Modal_Box : Notice;
        auto Check_Asked = [&] {
            Wait_Above(Asking, Asked);
            // Within the screen once the window manager has framed it.
            std::vector<long> F;
            EXPECT_TRUE(Pump_Until([&] { return On_Screen(F = Frame_Of(Asked())); }, Settle_Ms)) << Text(F);
        };
        if (R.Question) {
            bool By_Key = false;
            QTimer::singleShot(50, [&] {   // in the box's own loop
                Check_Asked();
                Shell("xdotool key Return");
                By_Key = Pump_Until([] { return Modal_Box() == 0; }, Settle_Ms);
                if (QWidget* Left_Open = QApplication::activeModalWidget())
                    Left_Open->close();
            });
            R.Ask();
            EXPECT_TRUE(By_Key) << "Return did not reach the question";
            if (R.After)
                R.After();
        } else {
            R.Ask();
            Check_Asked();
            Form_MSG->Close();
        }
        // Back to the main window, active, before the next window opens.
        if (R.Asking != M)
            R.Asking->Close();
        M->Show();
        Pump_Until([&] { return Look().Above(0, Main); }, Settle_Ms);
        Pump_For(500);   // the window system's own activations of it are in
    }
}

// Each window within the screen and centred on the main window as it stands; the port search
// at start (shown before the main window) above it and focused.
TEST_F(Window_Stacking_X, WindowsOpenWithinTheScreenCentredOnTheMainWindowAsItStands)
{
    const long Screen_W = Screen("Width:"), Screen_H = Screen("Height:");
    struct Row {
        const char* Case;
        std::string Settings;
        std::function<TForm*()> Window;   // read once the windows exist
        bool At_Start;   // the port search at start, shown before the main window
    };
    const std::string Restored = Line("Full_Screen", "False") + Line("Position_Top", "0");
    const Row Rows[] = {
        {"RPM sweep on a restored main window at the screen's left", Restored + Line("Position_Left", "0"),
         [] { return static_cast<TForm*>(Form_RPM); }, false},
        {"password on a restored main window at the screen's right",
         Restored + Line("Position_Left", std::to_string(Screen_W - 500)),
         [] { return static_cast<TForm*>(Form_PSW); }, false},
        {"port search at start on a maximised main window", Line("Full_Screen", "True") + Line("Search_Port", "True"),
         [] { return static_cast<TForm*>(Form_Port); }, true},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Case);
        ASSERT_NO_FATAL_FAILURE(Make_Program(R.Settings));
        auto Check = [&] {
            const long Id = static_cast<long>(R.Window()->Native_Window());
            const long Main = static_cast<long>(Form_KardunGAS->Native_Window());
            Pump_Until([&] { return !Frame_Of(Id).empty() && !Frame_Of(Main).empty(); }, Settle_Ms);
            Pump_For(1000);   // placed again with its frame
            const std::vector<long> F = Frame_Of(Id), Of_Main = Frame_Of(Main);
            ASSERT_EQ(Of_Main.size(), 4u);
            ASSERT_TRUE(On_Screen(F)) << Text(F);
            const long X = F[0], Y = F[1], W = F[2], H = F[3];
            // Centred, as far as the screen leaves room.
            EXPECT_NEAR(X, std::clamp(Of_Main[0] + Of_Main[2] / 2 - W / 2, 0L, Screen_W - W), 1);
            EXPECT_NEAR(Y, std::clamp(Of_Main[1] + Of_Main[3] / 2 - H / 2, 0L, Screen_H - H), 1);
            const X_State S = Look();
            EXPECT_TRUE(S.Above(Main, Id)) << S.Said(Main, Id);
            EXPECT_EQ(Shell("xprop -id " + std::to_string(Main) + " _NET_WM_STATE").find("MAXIMIZED_HORZ") !=
                          std::string::npos,
                      R.At_Start);
        };
        if (R.At_Start) {
            // As the program starts: the search, then the main window and its event loop.
            Start_Up();
            QTimer::singleShot(0, [&] {
                Check();
                Application->Terminate();
            });
            Application->Run();
        } else {
            Form_KardunGAS->Show();
            Pump_For(1000);
            R.Window()->Show();
            Check();
        }
        End_Program();
    }
}

// A point of the main window's frame that Other's frame does not cover: where a click
// reaches the main window (its client area, off the title bar).
std::vector<long> Free_Point(const std::vector<long>& Main, const std::vector<long>& Other)
{
    const long Inset = 60;
    const std::vector<long> Candidates[] = {{Main[0] + Inset, Main[1] + Inset},
                                            {Main[0] + Main[2] - Inset, Main[1] + Inset},
                                            {Main[0] + Inset, Main[1] + Main[3] - Inset},
                                            {Main[0] + Main[2] - Inset, Main[1] + Main[3] - Inset}};
    for (const std::vector<long>& P : Candidates)
        if (Other.size() != 4 || P[0] < Other[0] || P[0] >= Other[0] + Other[2] || P[1] < Other[1] ||
            P[1] >= Other[1] + Other[3])
            return P;
    return {};
}

// A click of the technician on the main window while a service window is up: the main
// window becomes the active one, and the service window stays above it (a notice too).
TEST_F(Window_Stacking_X, EveryServiceWindowStaysAboveTheMaximisedMainWindowClickedBesideIt)
{
    ASSERT_NO_FATAL_FAILURE(Make_Program(Line("Full_Screen", "True") + Line("Form_Style", "False")));
    TForm_KardunGAS* M = Form_KardunGAS;
    M->Show();
    auto Tell = [] {
        Show_Message(Message_Type::Language_Key, "Error_CFG_Transmitt", clRed);
        Pump_Until([] { return Form_MSG->Visible(); }, Settle_Ms);
        return static_cast<TForm*>(Form_MSG);
    };
    struct Row {
        const char* Window;
        std::function<TForm*()> Open;   // the window it opened
    };
    const Row Rows[] = {
        {"message", Tell},
        {"clients database", [M] { M->Button_CFG_User_ViewClick(nullptr); return static_cast<TForm*>(Form_DTB); }},
        {"loader", [M] { M->Button_HEX_LoaderClick(nullptr); return static_cast<TForm*>(Form_Loader); }},
        {"RPM sweep", [] { Form_RPM->Show(); return static_cast<TForm*>(Form_RPM); }},
        {"test drive", [] { Form_MV_Drive->Show(); return static_cast<TForm*>(Form_MV_Drive); }},
        {"port search", [] { Form_Port->Search_Ports(); return static_cast<TForm*>(Form_Port); }},
        {"password", [] { Form_PSW->Show(); return static_cast<TForm*>(Form_PSW); }},
        {"compact view",
         [M] {
             M->Show_MiniCFG(2);
             Form_MiniCFG->CheckBox_MiniCFG->Checked(false);   // stays open when the main window is clicked
             return static_cast<TForm*>(Form_MiniCFG);
         }},
        {"big digits", [M] { M->Open_ICO_Window(1); return ui::All_Forms().back(); }},
    };
    const long Main = static_cast<long>(M->Native_Window());
    X_State Up;
    ASSERT_TRUE(Pump_Until([&] { return (Up = Look()).Above(0, Main) && !Frame_Of(Main).empty(); }, Settle_Ms))
        << Up.Said(0, Main);
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Window);
        TForm* Window = R.Open();
        ASSERT_TRUE(Window && Window->Visible());
        const long Id = static_cast<long>(Window->Native_Window());
        Wait_Above(Main, [Id] { return Id; });
        // The toolkit has taken the activation in (its own request for it, held until the
        // window was mapped, is out): a click comes after it.
        EXPECT_TRUE(Pump_Until([Window] { return QApplication::activeWindow() == Window->Widget(); }, Settle_Ms));
        std::vector<long> F;
        Pump_Until([&] { return !(F = Frame_Of(Id)).empty(); }, Settle_Ms);
        const std::vector<long> Click = Free_Point(Frame_Of(Main), F);
        ASSERT_EQ(Click.size(), 2u) << Text(F);
        // The X server takes the move and the click in this order (a move that waits for the
        // pointer to move would wait for good where it is already there).
        Shell("xdotool mousemove " + std::to_string(Click[0]) + " " + std::to_string(Click[1]) + " click 1");
        X_State S;
        EXPECT_TRUE(Pump_Until([&] { return (S = Look()).Active == Main; }, Settle_Ms))
            << "the click did not reach the main window; " << S.Said(Main, Id);
        Pump_For(300);   // the window manager's restacking for the click is in
        S = Look();
        EXPECT_TRUE(Window->Visible());
        EXPECT_GT(S.Level(Id), S.Level(Main)) << S.Said(Main, Id);
        EXPECT_EQ(Numbers(Property(Id, "WM_TRANSIENT_FOR"), "#"), std::vector<long>{Main}) << S.Said(Main, Id);
        Window->Close();
        M->Show();
        Pump_Until([&] { return Look().Above(0, Main); }, Settle_Ms);
    }
}

// A modal dialog opened from a window while the port search (a window that stays on top)
// is up: above both, focused, and answered by a key; the window it was opened from is
// still there, above the main window, when it closes.
TEST_F(Window_Stacking_X, EveryModalDialogShowsAboveTheWindowThatOpensItAndTheWindowsOnTop)
{
    ASSERT_NO_FATAL_FAILURE(Make_Program(Line("Full_Screen", "True") + Line("Form_Style", "False")));
    TForm_KardunGAS* M = Form_KardunGAS;
    M->Show();
    const long Main = static_cast<long>(M->Native_Window());
    X_State Up;
    ASSERT_TRUE(Pump_Until([&] { return (Up = Look()).Above(0, Main); }, Settle_Ms)) << Up.Said(0, Main);
    struct Row {
        const char* Dialog;
        std::function<TForm*()> Open_Window;   // the window the dialog is opened from
        std::function<void()> Open_Dialog;
    };
    auto Main_Window = [M] { return static_cast<TForm*>(M); };
    const Row Rows[] = {
        {"port settings from the Settings page", Main_Window, [M] { M->Button_Setup_Port->Click(); }},
        {"port settings from the compact port view",
         [M] {
             M->Panel_PortStatusMouseDown(nullptr, TMouseButton::Right, TShiftState(), 0, 0);
             return static_cast<TForm*>(Form_MiniCFG);
         },
         [M] { M->Button_Setup_Port->Click(); }},
        {"font", Main_Window, [M] { M->Button_Setup_Font->Click(); }},
        {"save", Main_Window, [M] { M->Button_CFG_Save->Click(); }},
        {"open from the loader window",
         [M] {
             M->Button_HEX_LoaderClick(nullptr);
             return static_cast<TForm*>(Form_Loader);
         },
         [] { Form_Loader->Button_Loader_Browse->Click(); }},
    };
    // The search waits for a port to appear, up all along.
    Form_Port->Search_Ports();
    ASSERT_TRUE(Form_Port->Visible());
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Dialog);
        const long On_Top = static_cast<long>(Form_Port->Native_Window());
        X_State S;
        EXPECT_TRUE(Pump_Until([&] { return (S = Look()).Level(On_Top) > S.Level(Main); }, Settle_Ms))
            << S.Said(Main, On_Top);
        TForm* Opener = R.Open_Window();
        ASSERT_TRUE(Opener && Opener->Visible());
        const long Asking = static_cast<long>(Opener->Native_Window());
        if (Opener != M)
            Wait_Above(Main, [Asking] { return Asking; });
        bool By_Key = false;
        QTimer::singleShot(50, [&] {   // in the dialog's own loop
            Wait_Above(Asking, Modal_Box);
            Wait_Above(On_Top, Modal_Box);
            Shell("xdotool key Escape");
            By_Key = Pump_Until([] { return Modal_Box() == 0; }, Settle_Ms);
            if (QWidget* Left_Open = QApplication::activeModalWidget())
                Left_Open->close();
        });
        R.Open_Dialog();
        EXPECT_TRUE(By_Key) << "Escape did not reach the dialog";
        // A service window it was opened from is active again, open, above the main window.
        if (Opener != M) {
            EXPECT_TRUE(Pump_Until([&] { return (S = Look()).Active == Asking; }, Settle_Ms)) << S.Said(Main, Asking);
            Pump_For(300);
            EXPECT_TRUE(Opener->Visible());
            S = Look();
            EXPECT_GT(S.Level(Asking), S.Level(Main)) << S.Said(Main, Asking);
            Opener->Close();
        }
        M->Show();
        Pump_Until([&] { return Look().Above(0, Main); }, Settle_Ms);
        Pump_For(500);
    }
}

}  // namespace
