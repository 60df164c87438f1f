// Questions and notices above the window that asks them, and windows placed where the
// technician looks: the program's windows on a real X server with openbox, read back from
// the X server (stacking order, active window, frames) with xprop and xwininfo. Run by
// tests/scripts/Window_Stacking_Test.sh, never offscreen.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "main/Main_Test_Support.h"
#include "platform/system/Serial_Ports.h"
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
    std::string Said(long Asking, long Asked) const
    {
        std::ostringstream Out;
        Out << std::hex << "asking 0x" << Asking << " at " << Level(Asking) << ", asked 0x" << Asked << " at "
            << Level(Asked) << ", active 0x" << Active;
        return Out.str();
    }
};

X_State Look()
{
    X_State S;
    S.Stacking = Numbers(Shell("xprop -root _NET_CLIENT_LIST_STACKING"), "#");
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
    QWidget* Box = QApplication::activeModalWidget();
    return Box && Box->isVisible() ? static_cast<long>(Box->winId()) : 0;
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

TEST_F(Window_Stacking_X, EveryQuestionAndNoticeShowsAboveAndFocusedOverTheWindowThatAsksIt)
{
    // The main window stays on top (a setting): the windows it opens and their questions
    // must still show above it. It stands at the screen's right edge, where the windows
    // centred on it and their questions would leave the screen.
    const long Screen_W = Screen("Width:"), Screen_H = Screen("Height:");
    ASSERT_NO_FATAL_FAILURE(Make_Program(Line("Full_Screen", "False") + Line("Form_Style", "True") +
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

}  // namespace
