// The main window without a controller: its make-up, the settings on it, the connection
// states on the status row, the watchdog's report, the scaling, the start-up order and
// the settings file written at shutdown.
#include <gtest/gtest.h>

#include <array>
#include <vector>
#include <QImage>
#include <clocale>
#include <cstdlib>
#include <sstream>
#include <string>

#include <algorithm>
#include <atomic>
#include <thread>
#include <unistd.h>
#include <cstring>

#include "data/Text_Util.h"
#include "main/Main_Test_Support.h"
#include "platform/system/Catalogues.h"
#include "platform/system/Files.h"
#include "platform/system/Single_Instance.h"
#include "windows/DTB_Window.h"
#include "windows/Drive_Window.h"
#include "windows/RPM_Window.h"

extern "C" int _nl_msg_cat_cntr;   // bumped to make the catalogues re-read the language

namespace {

using namespace main_test;

class Main_Window : public Main_Window_Fixture {
protected:
    // Shows a normal main window that writes its geometry report; returns the report's path.
    std::string Show_Reporting(TForm_KardunGAS*& F)
    {
        Folder->Write("KardunGD.ini", Settings_With_Port("ttyTEST3", false));
        const std::string File = Folder->File("geometry");
        setenv("KARDUN_GEOMETRY_FILE", File.c_str(), 1);
        Create();
        F = Main();
        F->Show();
        unsetenv("KARDUN_GEOMETRY_FILE");
        return File;
    }
};

TEST_F(Main_Window, MakeUpPagesStatusRowForcingStripAndTimers)
{
    TForm_KardunGAS* F = new TForm_KardunGAS(nullptr);
    EXPECT_EQ(F->ClientWidth(), 780);
    EXPECT_EQ(F->ClientHeight(), 520);
    ASSERT_EQ(F->PageControl_KardunGAS->PageCount(), 7);
    const char* Sheets[7] = {"TabSheet_General", "TabSheet_Configuration", "TabSheet_Calibration",
                             "TabSheet_Oscilloscope", "TabSheet_Errors", "TabSheet_Settings",
                             "TabSheet_About"};
    for (int I = 0; I < 7; ++I)
        EXPECT_EQ(F->PageControl_KardunGAS->Pages(I)->Name(), Sheets[I]);
    EXPECT_EQ(F->Panel_PortStatus->Caption(), "Port close");
    EXPECT_EQ(F->Panel_ConnectStatus->Caption(), "Not connect");
    EXPECT_EQ(F->Panel_ConnectStatus_PerCent->Caption(), "100%");
    EXPECT_EQ(F->Button_Select_ComPort->Caption(), "I");
    for (int k = 1; k <= 8; ++k)
        EXPECT_EQ(F->Gas_Fors_Button(k)->Caption(), std::to_string(k));
    EXPECT_EQ(F->Gas_Fors_Button(0), nullptr);
    EXPECT_EQ(F->Gas_Fors_Button(9), nullptr);
    EXPECT_EQ(F->Button_Gas_Fors_All->Caption(), "*");
    EXPECT_EQ(F->Button_WorkMode->Caption(), "&Mode");
    // Every link button sits on the page that will hold it.
    EXPECT_EQ(F->Button_CFG_Receiv->Parent(), F->TabSheet_Configuration);
    EXPECT_EQ(F->Button_CLB_Transmitt->Parent(), F->TabSheet_Calibration);
    EXPECT_EQ(F->Button_ERR_Clear->Parent(), F->TabSheet_Errors);

    const std::pair<const char*, int> Timers[] = {
        {"Timer_Sending", 100}, {"Timer_Connect", 5000}, {"Timer_Check_Tx", 500},
        {"Timer_Error", 2000}, {"Timer_After_Connect", 3000}, {"Timer_Transmit_Now", 700},
        {"Timer_Transmit_Save", 1000}, {"Timer_Wait", 1000}, {"Timer_Connect_Stabil", 1000},
        {"Timer_Led_Automat", 500}, {"Timer_Resize", 10}, {"Timer_CFG_RPM_Tail", 500},
        {"Timer_OSC_Record", 2000}};
    for (const auto& [Name, Interval] : Timers) {
        auto* T = dynamic_cast<TTimer*>(F->FindComponent(Name));
        ASSERT_NE(T, nullptr) << Name;
        EXPECT_EQ(T->Interval(), Interval) << Name;
        EXPECT_FALSE(T->Enabled()) << Name;
    }
    // The port component as the window describes it.
    EXPECT_EQ(F->ComPort->BaudRate(), br9600);
    EXPECT_EQ(F->ComPort->DataBits(), dbEight);
    EXPECT_EQ(F->ComPort->Parity().Bits(), prNone);
    EXPECT_EQ(F->ComPort->FlowControl().FlowControl(), fcNone);
    EXPECT_EQ(F->ComPort->Timeouts().ReadInterval(), 2000);
    EXPECT_EQ(F->ComPort->Events(), AllComEvents());
    EXPECT_FALSE(F->ComPort->Connected());
    // The protocol's timers are this window's.
    Link_Timer_Sending.Interval(77);
    EXPECT_EQ(F->Timer_Sending->Interval(), 77);
    F->Free();
    EXPECT_FALSE(Link_Timer_Sending.Bound());
}

TEST_F(Main_Window, CreationAppliesTheSettingsFile)
{
    std::string Ini = Settings_With_Port("ttyTEST9");
    Ini += Key_File_Pad_Key("Reply_Delay") + "75 {}\r\n";
    Ini += Key_File_Pad_Key("Search_Port") + "True {}\r\n";
    Ini += Key_File_Pad_Key("Show_Auxiliary") + "True {}\r\n";
    Ini += Key_File_Pad_Key("Page_Number") + "4 {}\r\n";
    Folder->Write("KardunGD.ini", Ini);
    Create();
    EXPECT_EQ(Main()->Edit_Port_Name->Text(), "ttyTEST9");
    EXPECT_TRUE(Main()->CheckBox_Search_Port->Checked());
    EXPECT_EQ(Main()->UpDown_Reply_Delay->Position(), 75);
    EXPECT_EQ(Main()->Edit_Reply_Delay->Color(), 0xB0B0FF);
    EXPECT_TRUE(Main()->Label_GEN_In_0->Visible());
    EXPECT_TRUE(Main()->Button_INI_Load->Enabled());
    EXPECT_FALSE(Main()->Edit_INI_Delay_Compensation->Visible());
    EXPECT_EQ(Main()->PageControl_KardunGAS->ActivePageIndex(), 4);
    EXPECT_EQ(Main()->Edit_Port_Name->Color(), 0x95FF95);
    EXPECT_EQ(Main()->ComboBox_Language->Text(), "English");
    EXPECT_EQ(Work_Mode, 2);
    // The link buttons start disabled; the window's own title.
    EXPECT_FALSE(Main()->Button_CFG_Receiv->Enabled());
    EXPECT_FALSE(Main()->Button_WorkMode->Enabled());
    EXPECT_EQ(Main()->Caption(), Product_Title);
    EXPECT_EQ(Main()->TabSheet_Errors->Caption(), "F6 Errors");
}

TEST_F(Main_Window, WithoutASettingsFileTheDefaultsShow)
{
    Create();
    EXPECT_EQ(Main()->Edit_Port_Name->Text(), "ttyUSB0");
    EXPECT_EQ(Main()->UpDown_Reply_Delay->Position(), 60);
    EXPECT_EQ(Main()->Edit_Reply_Delay->Color(), clWindow);
    EXPECT_FALSE(Main()->Button_INI_Load->Enabled());
    EXPECT_FALSE(Main()->Label_GEN_In_0->Visible());
    EXPECT_EQ(Main()->WindowState(), TWindow_State::Maximized);
    // The program's own name: the built-in branding boxes are shown.
    EXPECT_TRUE(Main()->GroupBox_About_KardunAddress->Visible());
    EXPECT_NE(Main()->Label_About_Site->Caption().find(".example"), std::string::npos);
}

TEST_F(Main_Window, SettingsFileWrittenAtShutdownKeepsAHandWrittenKey)
{
    Create();
    Settings.Port_Name = "ttyTEST1";
    Main()->PageControl_KardunGAS->ActivePageIndex(5);
    Main()->PageControl_KardunGASChange(Main()->PageControl_KardunGAS);
    W->Destroy();
    // The shutdown goes through the settings save, whose keys and their order the settings
    // tests check. Letter case does not count: the file is searched upper-cased.
    const std::string Ini = Upper_Case(Folder->Read("KardunGD.ini"));
    EXPECT_NE(Ini.find("PORT_NAME                    TTYTEST1"), std::string::npos);
    EXPECT_NE(Ini.find("PAGE_NUMBER                  5"), std::string::npos);

    // A key written by hand survives the next shutdown.
    Folder->Write("KardunGD.ini", Folder->Read("KardunGD.ini") + Key_File_Pad_Key("My_Own_Key") +
                                      "kept {}\r\n");
    Reset_All_State();
    Create();
    EXPECT_EQ(Settings.Port_Name, "ttyTEST1");
    W->Destroy();
    EXPECT_NE(Upper_Case(Folder->Read("KardunGD.ini")).find("MY_OWN_KEY                   KEPT"),
              std::string::npos);
}

TEST_F(Main_Window, ConnectionStatesOnTheStatusRow)
{
    Create();
    TForm_KardunGAS* F = Main();
    Settings.Port_Name = "ttyTEST2";
    Configuration.Program_Name = "MerivantGD2";
    Configuration.GI_Num = 4;

    F->Set_Connected();
    EXPECT_TRUE(Connected);
    EXPECT_EQ(F->Panel_ConnectStatus->Caption(), "MerivantGD2");
    EXPECT_EQ(F->Panel_ConnectStatus->Color(), 0x00FF00);
    EXPECT_EQ(F->Panel_ConnectStatus->Font().Color(), 0xFF0000);
    EXPECT_TRUE(F->Panel_ProtokolStatus->Visible());
    EXPECT_FALSE(F->Button_Select_ComPort->Visible());
    EXPECT_TRUE(F->Timer_After_Connect->Enabled());
    EXPECT_TRUE(F->Timer_Check_Tx->Enabled());
    EXPECT_TRUE(F->Timer_Connect->Enabled());
    for (TButton* B : {F->Button_WorkMode, F->Button_CFG_Receiv, F->Button_CFG_Transmitt,
                       F->Button_CFG_RPM_set, F->Button_CFG_RPM_IdleRun, F->Button_CLB_Receiv,
                       F->Button_CLB_Transmitt, F->Button_ERR_Clear, F->Button_CFG_User_Password,
                       F->Button_CFG_ST_Clr, F->Button_CFG_ST_Set, F->Button_CFG_ST_Refresh})
        EXPECT_TRUE(B->Enabled()) << B->Name();
    // Forcing buttons only for existing cylinders.
    for (int k = 1; k <= 8; ++k)
        EXPECT_EQ(F->Gas_Fors_Button(k)->Enabled(), k <= 4) << k;

    F->Label_ERR_CPU_Freq_MHz->Caption("16");
    F->Label_ERR_Quartz_Freq_Err->Visible(true);
    Request_Code = 3;
    F->Set_Not_Connected();
    EXPECT_FALSE(Connected);
    EXPECT_EQ(Request_Code, 0);
    EXPECT_EQ(F->Panel_ConnectStatus->Color(), 0x0000FF);
    EXPECT_EQ(F->Panel_ConnectStatus->Font().Color(), 0xFFFFFF);
    EXPECT_EQ(F->Panel_ConnectStatus->Caption(), Language_Text("Panel_ConnectStatus_Not_Connect"));
    EXPECT_EQ(F->Panel_ConnectStatus_PerCent->Caption(), "0%");
    EXPECT_EQ(F->Panel_ConnectStatus_PerCent->Color(), 0x0000FF);
    EXPECT_FALSE(F->Panel_ProtokolStatus->Visible());
    EXPECT_TRUE(F->Button_Select_ComPort->Visible());
    EXPECT_FALSE(F->Button_CFG_Receiv->Enabled());
    EXPECT_EQ(F->Label_ERR_CPU_Freq_MHz->Caption(), "0");
    EXPECT_FALSE(F->Label_ERR_Quartz_Freq_Err->Visible());
    EXPECT_FALSE(F->Timer_Connect->Enabled());

    // A controller of a refused version disabled the window: losing the link enables it.
    F->Enabled(false);
    F->Set_Not_Connected();
    EXPECT_TRUE(F->Enabled());

    Port_Open = true;
    F->Set_Port_Closed();
    EXPECT_FALSE(Port_Open);
    EXPECT_EQ(F->Panel_PortStatus->Caption(), "ttyTEST2");
    EXPECT_EQ(F->Panel_PortStatus->Color(), 0x0000FF);
    EXPECT_EQ(F->Panel_PortStatus->Font().Color(), 0xFFFFFF);
    EXPECT_TRUE(F->Timer_Sending->Enabled());
    EXPECT_FALSE(F->Timer_Check_Tx->Enabled());
}

TEST_F(Main_Window, WatchdogReportsByTheLastCommandAndGivesItsGuardBack)
{
    Create();
    TForm_KardunGAS* F = Main();
    auto Run_After = [&](uint8_t Command) {
        Connected = true;
        Sent_Frame[0] = 0x61;
        Sent_Frame[1] = Command;
        Form_MSG->Stored = MSG_Message{};
        Form_MSG->Pending = false;
        F->Timer_ConnectTimer(F->Timer_Connect);
        return Form_MSG->Pending ? Form_MSG->Stored.Text : std::string("<none>");
    };
    EXPECT_EQ(Run_After(0x26), "<none>");   // a live-data read reports nothing ...
    EXPECT_FALSE(Connected);
    EXPECT_FALSE(F->Watchdog_Report_Busy);
    // ... and does not keep later runs from reporting.
    EXPECT_EQ(Run_After(0x25), "Error_Data_Transmitt");
    EXPECT_EQ(Form_MSG->Stored.Type, 7);
    EXPECT_EQ(Form_MSG->Stored.Colour, 0x0000FF);
    EXPECT_EQ(Run_After(0x27), "Error_CFG_Receiv");
    EXPECT_EQ(Run_After(0x2D), "Error_CFG_Receiv");
    EXPECT_EQ(Run_After(0x28), "Error_CLB_Receiv");
    EXPECT_EQ(Run_After(0x23), "Error_CFG_Transmitt");
    EXPECT_EQ(Run_After('A'), "Error_CFG_Transmitt");
    EXPECT_EQ(Run_After(0x29), "<none>");
    EXPECT_EQ(Request_Code, 0);
}

TEST_F(Main_Window, LinkQualityFallsFromAFullReplyTowardsTheWatchdog)
{
    Create();
    TForm_KardunGAS* F = Main();
    F->Link_Quality_Full();
    EXPECT_EQ(F->Panel_ConnectStatus_PerCent->Caption(), "100%");
    EXPECT_EQ(F->Panel_ConnectStatus_PerCent->Color(), 0x00FF00);
    EXPECT_EQ(F->Timer_Connect_Stabil->Interval(), 60 + 20);
    ASSERT_TRUE(F->Timer_Connect_Stabil->Fire_Tick());   // first tick: re-tuned only
    EXPECT_EQ(F->Timer_Connect_Stabil->Interval(), 93);
    EXPECT_TRUE(F->Timer_Connect_Stabil->Enabled());
    EXPECT_EQ(F->Panel_ConnectStatus_PerCent->Caption(), "100%");
    ASSERT_TRUE(F->Timer_Connect_Stabil->Fire_Tick());
    EXPECT_EQ(F->Panel_ConnectStatus_PerCent->Caption(), "98%");
    for (int I = 0; I < 60; ++I)
        F->Timer_Connect_Stabil->Fire_Tick();
    EXPECT_EQ(F->Panel_ConnectStatus_PerCent->Caption(), "0%");
    EXPECT_EQ(F->Panel_ConnectStatus_PerCent->Color(), 0x0000FF);
}

TEST_F(Main_Window, APortThatIsNotListedIsNeitherOpenedNorWritten)
{
    Settings_Reset();
    Create();
    TForm_KardunGAS* F = Main();
    Settings.Port_Name = "/nonexistent/ttyNONE";
    EXPECT_FALSE(Port_Exists());
    ComPortError = true;
    F->Timer_Connect->Enabled(false);
    F->Timer_Sending->Enabled(true);
    ASSERT_TRUE(F->Timer_Sending->Fire_Tick());
    EXPECT_FALSE(F->ComPort->Connected());
    EXPECT_TRUE(ComPortError);   // not cleared: no reopen was tried

    // A frame armed while the port is closed is not written and the port stays closed.
    ComPortError = false;
    Port_Open = false;
    Send_Connect();
    F->Transmit_Frame();
    EXPECT_FALSE(Frame_Pending);
    EXPECT_EQ(Sent_Frame[1], 0x21);
    EXPECT_FALSE(F->ComPort->Connected());
}

TEST_F(Main_Window, MaximisedTheContentFillsTheClientAreaRestoredEverythingHasItsDesignSizeAtEverySwitch)
{
    Folder->Write("KardunGD.ini", Settings_With_Port("ttyTEST3", false));
    Create();
    TForm_KardunGAS* F = Main();
    F->Show();
    F->Timer_Resize->Enabled(true);
    ASSERT_TRUE(F->Timer_Resize->Fire_Tick());   // nothing changed: keeps watching
    EXPECT_TRUE(F->Timer_Resize->Enabled());
    EXPECT_EQ(F->Panel_KardunGAS->Width(), 780);
    // Every control's place and size on the pages, and its font.
    auto Layout = [F] {
        std::vector<std::array<int, 5>> All;
        std::vector<TControl*> Stack{F->Panel_KardunGAS};
        while (!Stack.empty()) {
            TControl* C = Stack.back();
            Stack.pop_back();
            All.push_back({C->Left(), C->Top(), C->Width(), C->Height(), C->Font().Pixels()});
            for (int I = 0; I < C->ControlCount(); ++I)
                Stack.push_back(C->Controls(I));
        }
        return All;
    };
    const auto Design_Layout = Layout();
    std::vector<std::array<int, 4>> Maximised;
    for (int Switch = 0; Switch < 3; ++Switch) {
        SCOPED_TRACE(Switch);
        // Maximised: the state and the window manager's size hold once the timer's tick has
        // rescaled; the content fills the client area's height, or its width where that is
        // the narrower (the test screen is square), and lies within it.
        F->WindowState(TWindow_State::Maximized);
        ASSERT_TRUE(Pump_Until([F] { return F->ClientHeight() > 520 && F->Remembered_Height == F->ClientHeight(); }, 2000));
        EXPECT_EQ(F->WindowState(), TWindow_State::Maximized);
        const TControl* P = F->Panel_KardunGAS;
        EXPECT_TRUE(std::abs(P->Height() - F->ClientHeight()) <= 1 || std::abs(P->Width() - F->ClientWidth()) <= 1)
            << P->Width() << "x" << P->Height();
        EXPECT_TRUE(P->Width() <= F->ClientWidth() && P->Height() <= F->ClientHeight());
        Maximised.push_back({F->ClientWidth(), F->ClientHeight(), P->Width(), P->Height()});
        EXPECT_EQ(Maximised.back(), Maximised.front());
        // The phase bars were built again for their taller place: thumbs fill them.
        ASSERT_FALSE(F->Injection_Bars.empty());
        EXPECT_EQ(F->Injection_Bars[0]->ThumbLength(), F->Injection_Bars[0]->Height() - 5);
        // Restored: the design client size, every control at its design place, size and font.
        F->WindowState(TWindow_State::Normal);
        ASSERT_TRUE(Pump_Until([F] { return F->ClientHeight() == 520 && F->Remembered_Height == 520; }, 2000));
        EXPECT_EQ(F->ClientWidth(), 780);
        EXPECT_EQ(Layout(), Design_Layout);
    }
}

// The report's line for each control of the status row and the forcing strip: drawn or
// not, where, where at the design size (the same in a normal window), and what it writes. A
// panel hidden on purpose is reported as not drawn.
TEST_F(Main_Window, GeometryReportHasEveryControlOfTheStatusRowDrawnWithItsText)
{
    TForm_KardunGAS* F = nullptr;
    const std::string File = Show_Reporting(F);
    // The words of the control's line after "control NAME" (empty while it has none).
    auto Line_Of = [&File](const std::string& Name) {
        std::istringstream Report(Read_File(File));
        for (std::string Line; std::getline(Report, Line);)
            if (Line.rfind("control " + Name + " ", 0) == 0) return Line.substr(9 + Name.size());
        return std::string();
    };
    const struct {
        TControl* Control;
        const char* Shown_Text;   // "shown S at L T W H design L T W H text TEXT"
    } Rows[] = {
        {F->Button_Gas_Fors1, "shown 1 at 74 473 24 22 design 74 473 24 22 text 1"},
        {F->Button_Gas_Fors8, "shown 1 at 256 473 24 22 design 256 473 24 22 text 8"},
        {F->Button_Gas_Fors_All, "shown 1 at 282 473 24 22 design 282 473 24 22 text *"},
        {F->Button_Select_ComPort, "shown 1 at 449 497 21 21 design 449 497 21 21 text I"},
    };
    ASSERT_TRUE(Pump_Until([&] { return !Line_Of("Button_Select_ComPort").empty(); }, 2000));
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Control->Name());
        EXPECT_EQ(Line_Of(R.Control->Name()), R.Shown_Text);
    }
    // The link panel writes its caption, whatever the language.
    EXPECT_EQ(Line_Of("Panel_ConnectStatus"),
              "shown 1 at 176 497 190 21 design 176 497 190 21 text " + F->Panel_ConnectStatus->Caption());
    EXPECT_EQ(Line_Of("Panel_ErrorStatus").rfind("shown 0 ", 0), 0u) << "the error line waits for a message";
    // Every control of the row has its line.
    for (const TControl* C : F->Status_Row_Controls())
        EXPECT_NE(Line_Of(C->Name()), "") << C->Name();
    F->Panel_ConnectStatus->Visible(false);
    EXPECT_TRUE(Pump_Until([&] { return Line_Of("Panel_ConnectStatus").rfind("shown 0 ", 0) == 0; }, 2000))
        << Line_Of("Panel_ConnectStatus");
}

// The report a check outside the program holds against the X server: written from the
// first show (a normal window that nothing resizes included), and the pages and the status
// row's port panel are drawn at their design rectangles times the content's scale.
TEST_F(Main_Window, GeometryReportFromTheFirstShowHasThePagesAndStatusRowDrawnAtTheirDesignPlacesTimesTheScale)
{
    TForm_KardunGAS* F = nullptr;
    const std::string File = Show_Reporting(F);
    // The Count numbers after the Nth Key of the report (empty while it has none).
    auto Numbers = [&File](const std::string& Key, int Count, int Nth = 1) {
        std::istringstream Line(Read_File(File));
        std::vector<long long> Found;
        for (std::string Word; Line >> Word;) {
            if (Word != Key || --Nth > 0)
                continue;
            for (long long Value; Count-- > 0 && Line >> Value;)
                Found.push_back(Value);
            break;
        }
        return Found;
    };
    using Rect = std::vector<long long>;
    const Rect Pages_Design{0, 0, 780, 470}, Port_Status_Design{4, 497, 170, 21};
    ASSERT_TRUE(Pump_Until([&] { return !Numbers("window", 1).empty(); }, 2000)) << "no report after the first show";
    EXPECT_NE(Numbers("window", 1), Rect{0});
    EXPECT_EQ(Numbers("client", 2), (Rect{780, 520}));
    EXPECT_EQ(Numbers("pages", 4), Pages_Design);
    EXPECT_EQ(Numbers("design", 4, 1), Pages_Design);
    EXPECT_EQ(Numbers("port_status", 4), Port_Status_Design);
    EXPECT_EQ(Numbers("design", 4, 2), Port_Status_Design);
    EXPECT_EQ(Numbers("tabs_fit", 1), Rect{1});

    // Maximised: each drawn rectangle is its design rectangle times the content panel's
    // scale, within rounding.
    F->WindowState(TWindow_State::Maximized);
    ASSERT_TRUE(Pump_Until([&] {
        return F->ClientHeight() > 520 && Numbers("client", 2) == Rect{F->ClientWidth(), F->ClientHeight()};
    }, 2000));
    const long long Scaled_Height = F->Panel_KardunGAS->Height();
    ASSERT_GT(Scaled_Height, 520);
    for (const auto& [Key, Design] : {std::pair{"pages", Pages_Design}, std::pair{"port_status", Port_Status_Design}}) {
        const Rect Shown = Numbers(Key, 4);
        ASSERT_EQ(Shown.size(), 4u) << Key;
        for (int I = 0; I < 4; ++I)
            EXPECT_NEAR(Shown[I], Design[I] * Scaled_Height / 520, 2) << Key << " field " << I;
    }
    EXPECT_EQ(Numbers("tabs_fit", 1), Rect{1});
}

TEST_F(Main_Window, WindowsAreCreatedInTheirOrder)
{
    TApplication App;
    Create_Windows();
    const std::vector<TForm*> Forms = ui::All_Forms();
    const std::vector<TForm*> Expected = {Form_KardunGAS, Form_DTB, Form_Loader,  Form_RPM, Form_MV_Drive,
                                          Form_Port,      Form_PSW, Form_MiniCFG, Form_MSG};
    ASSERT_GE(Forms.size(), Expected.size());
    EXPECT_EQ(Application->MainForm(), Form_KardunGAS);
    for (std::size_t I = 0; I < Expected.size(); ++I) {
        EXPECT_NE(Expected[I], nullptr) << "window " << I;
        EXPECT_EQ(Forms[I], Expected[I]) << "window " << I;
    }
    EXPECT_EQ(Application->Title(), Product_Title);   // the main window replaced it
    Application->Shutdown();
    for (const TForm* Gone : std::initializer_list<const TForm*>{Form_KardunGAS, Form_DTB, Form_Loader, Form_RPM,
                                                                 Form_MV_Drive, Form_Port, Form_PSW, Form_MiniCFG,
                                                                 Form_MSG})
        EXPECT_EQ(Gone, nullptr);
    // The shutdown wrote the settings file.
    EXPECT_NE(Upper_Case(Folder->Read("KardunGD.ini")).find("PORT_NAME"), std::string::npos);
}

// The second start: run by ALaterStartAsksTheRunningProgramToClose in a process of its own.
TEST(Main_Window_Second_Start, DISABLED_AsksTheRunningProgramToClose)
{
    const char* Suffix = std::getenv("KARDUN_TEST_INSTANCE_SUFFIX");
    ASSERT_NE(Suffix, nullptr);
    sys::Single_Instance.Name_Suffix = Suffix;
    EXPECT_EQ(sys::Close_Running_Program(), "TForm_KardunGAS");
}

TEST_F(Main_Window, ALaterStartAsksTheRunningProgramToClose)
{
    // A name of the tests' own, so that no running program is ever reached.
    const std::string Suffix = ".main_test." + std::to_string(::getpid());
    sys::Single_Instance.Name_Suffix = Suffix;
    Create();
    Main()->Show();
    Announce_Main_Window();
    ASSERT_TRUE(Pump_Until([] { return sys::Window_Class_Announced("TForm_KardunGAS"); }, 5000));
    const std::string Command =
        "KARDUN_TEST_INSTANCE_SUFFIX='" + Suffix + "' /proc/" + std::to_string(::getpid()) +
        "/exe --gtest_also_run_disabled_tests "
        "--gtest_filter=Main_Window_Second_Start.DISABLED_AsksTheRunningProgramToClose "
        ">/dev/null 2>&1";
    int Result = -1;
    std::atomic<bool> Done{false};
    std::thread Second([&] {
        Result = std::system(Command.c_str());
        Done = true;
    });
    // The close request arrives through this program's event loop.
    const bool Closed = Pump_Until([this] { return !Main()->Visible(); }, 20000);
    Pump_Until([&] { return Done.load(); }, 20000);
    Second.join();
    EXPECT_TRUE(Closed);
    EXPECT_EQ(Result, 0);
    Withdraw_Main_Window();
    sys::Reset_Single_Instance();
}

// The start-up path binds the message catalogues: with a German catalogue beside the
// program, port error texts and dialog captions come out in German.
// A settings file that is there but cannot be read (as a file of mode 000 for an ordinary
// user): the failure shows in the message window once it exists, the file is not written
// over at shutdown, and that is said in a box before the program ends.
TEST_F(Main_Window, ASettingsFileThatCannotBeReadIsShownAndKept)
{
    const std::string Old = Settings_With_Port("ttyS3") + Key_File_Pad_Key("HAND_KEY") + "7 {mine}\r\n";
    Folder->Write("KardunGD.ini", Old);
    sys::Set_Read_Hook([](int Fd, void* Data, size_t Count) -> ssize_t {
        char Path[512] = {};
        const std::string Link = "/proc/self/fd/" + std::to_string(Fd);
        const ssize_t N = ::readlink(Link.c_str(), Path, sizeof Path - 1);
        if (N > 0 && std::string(Path, static_cast<size_t>(N)).find("KardunGD.ini") != std::string::npos) {
            errno = EACCES;
            return -1;
        }
        return ::read(Fd, Data, Count);
    });
    Create();
    ASSERT_TRUE(Pump_Until([] { return Form_MSG->Visible(); }, 3000));
    EXPECT_NE(Form_MSG->Label_Text->Caption().find("KardunGD.ini"), std::string::npos);

    ui::Answer_Next_Dialog(mrOk);
    W.reset();
    sys::Reset_File_Hooks();
    ASSERT_FALSE(ui::Hooks.Asked.empty());
    EXPECT_NE(ui::Hooks.Asked.back().Text.find("not written over"), std::string::npos);
    EXPECT_EQ(Folder->Read("KardunGD.ini"), Old);
}

TEST_F(Main_Window, StartUpBindsTheMessageCatalogues)
{
    const std::string Saved_Locale = std::setlocale(LC_MESSAGES, nullptr);
    const char* Language = std::getenv("LANGUAGE");
    const std::string Saved_Language = Language ? Language : "";
    ASSERT_NE(std::setlocale(LC_MESSAGES, "C.UTF-8"), nullptr);
    ::setenv("LANGUAGE", "de", 1);
    ++_nl_msg_cat_cntr;
    Catalogue_Folder = sys::Program_Folder() + "/../locale";   // the build's catalogues
    Folder->Write("KardunGD.ini", Settings_With_Port("/nonexistent/ttyNONE"));
    Create();
    Start_Up();
    EXPECT_EQ(ComPort_Error_Text(1), "Serielle Schnittstelle kann nicht ge\xC3\xB6" "ffnet werden");
    EXPECT_EQ(sys::Catalogue_Text("default", "Yes"), "Ja");

    Catalogue_Folder.clear();
    if (Language) ::setenv("LANGUAGE", Saved_Language.c_str(), 1);
    else ::unsetenv("LANGUAGE");
    ++_nl_msg_cat_cntr;
    std::setlocale(LC_MESSAGES, Saved_Locale.c_str());
}

TEST_F(Main_Window, StartUpWithoutAListedPortArmsTheProbe)
{
    Folder->Write("KardunGD.ini", Settings_With_Port("/nonexistent/ttyNONE"));
    Create();
    Start_Up();
    EXPECT_FALSE(Main()->ComPort->Connected());
    EXPECT_TRUE(Frame_Pending);
    EXPECT_EQ(std::vector<uint8_t>(TX_Frame, TX_Frame + 5),
              (std::vector<uint8_t>{0x61, 0x21, 0x21, 0x21, 0xC4}));
    EXPECT_EQ(Reply_Length, 4);
    EXPECT_TRUE(Main()->Timer_Sending->Enabled());
}

TEST_F(Main_Window, AProgramFileUnderAnotherNameBringsItsIconAndItsOwnBranding)
{
    Program_File = "/opt/tools/Service.exe";
    Create();
    EXPECT_EQ(Exe_Name, "Service");
    EXPECT_EQ(Settings_File_Name, "Service.ini");
    // No branding keys in the file: both About boxes stay hidden.
    EXPECT_FALSE(Main()->GroupBox_About_KardunAddress->Visible());
    EXPECT_FALSE(Main()->GroupBox_About_Technic->Visible());
    Start_Up();   // no Service.ico yet: the built-in icon stays, nothing fails
    EXPECT_EQ(Main()->Icon(), nullptr);
    EXPECT_FALSE(Main()->ComPort->Connected());

    // With its own icon beside it, the program file shows that icon on its windows.
    QImage Picture(16, 16, QImage::Format_ARGB32);
    Picture.fill(Qt::red);
    ASSERT_TRUE(Picture.save(QString::fromStdString(Program_File_Path("Service.ico")), "ICO"));
    Start_Up();
    ASSERT_NE(Main()->Icon(), nullptr);
    EXPECT_FALSE(Main()->Icon()->Empty());
}

}  // namespace

namespace {

using namespace main_test;

class Main_Window_Texts : public Main_Window_Fixture {};

TEST_F(Main_Window_Texts, TheRenderedWindowShowsThePortClosedStateInRed)
{
    Folder->Write("KardunGD.ini", Settings_With_Port("ttyTEST5"));
    W = std::make_unique<Windows>();
    TForm_KardunGAS* F = W->Main;
    F->Set_Port_Closed();
    F->Show();
    Pump_For(50);
    const std::string Window_Png = Folder->File("main_window.png");
    ASSERT_TRUE(ui::Render_To_PNG(F, Window_Png));
    TBitmap Shot;
    ASSERT_TRUE(Shot.LoadFromFile(Window_Png));
    EXPECT_GE(Shot.Width(), 780);
    EXPECT_GE(Shot.Height(), 520);
    const std::string Panel_Png = Folder->File("port_panel.png");
    ASSERT_TRUE(ui::Render_To_PNG(F->Panel_PortStatus, Panel_Png));
    TBitmap Panel;
    ASSERT_TRUE(Panel.LoadFromFile(Panel_Png));
    const TRGB Pixel = Color_To_RGB(Panel.Canvas()->Pixels(4, Panel.Height() / 2));
    EXPECT_EQ(Pixel.R, 255);
    EXPECT_EQ(Pixel.G, 0);
    EXPECT_EQ(Pixel.B, 0);
}

}  // namespace
