// The port search's try order: which port comes first, how often it is retried, what a
// later scan prefers; scanned from a port list of the test's own.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/Test_Folder.h"
#include "data/Globals.h"
#include "data/Settings.h"
#include "main/Process_State.h"
#include "platform/comm/Pty_Pair.h"
#include "platform/system/Serial_Ports.h"
#include "windows/Port_Window.h"

namespace {

using Names = std::vector<std::string>;

// The search window alone, over a device table and a device folder in a scratch folder;
// without the main window no port ever opens, so each search runs through its list.
class Port_Search_Order : public ::testing::Test {
protected:
    void SetUp() override
    {
        Reset_All_State();
        std::filesystem::create_directories(Root / "class");
        std::filesystem::create_directories(Root / "dev");
        sys::Serial_Ports.Class_Dir = Root / "class";
        sys::Serial_Ports.Device_Dir = Root / "dev";
        Window = Create_Form<TForm_Port>(nullptr);
    }
    void TearDown() override
    {
        Window->Free();
        Reset_All_State();
    }
    // The list holds exactly these serial ports.
    void List(const Names& Ports)
    {
        std::filesystem::remove_all(Root / "class");
        std::filesystem::remove_all(Root / "dev");
        std::filesystem::create_directories(Root / "dev");
        for (const std::string& Name : Ports) {
            std::filesystem::create_directories(Root / ("class/" + Name + "/device"));
            std::filesystem::create_symlink("/dev/null", Root / ("dev/" + Name));
        }
    }
    Test_Folder Root{"port_order"};
    TForm_Port* Window = nullptr;
};

TEST_F(Port_Search_Order, PreferredPortFirstAndRetriedAfterEveryOtherButTheLast)
{
    struct Row {
        const char* Case;
        Names First_Scan;       // ports listed at the first search
        const char* Preferred;  // the port from the settings file
        Names Second_Scan;      // ports at a second search (none: one search only)
        Names Try_List;         // the order of the last search
        const char* Port_Name;  // the settings' port after the last scan ("kept" before it)
        int Quantity;           // ports found by the last scan
    };
    const Row Rows[] = {
        {"one port, not preferred", {"ttyS0"}, "ttyUSB0", {}, {"ttyS0"}, "kept", 1},
        {"one port, preferred", {"ttyS0"}, "ttyS0", {}, {"ttyS0"}, "ttyS0", 1},
        {"P and A", {"ttyS0", "ttyS1"}, "ttyS1", {}, {"ttyS1", "ttyS0"}, "ttyS1", 2},
        {"four ports, P read third", {"ttyS0", "ttyS1", "ttyS2", "ttyS3"}, "ttyS2", {},
         {"ttyS2", "ttyS0", "ttyS2", "ttyS1", "ttyS2", "ttyS3"}, "ttyS2", 4},
        {"no preferred: list order", {"ttyS10", "ttyS2", "ttyACM0"}, "ttyUSB0", {},
         {"ttyACM0", "ttyS2", "ttyS10"}, "kept", 3},
        {"later scan, nothing new: list order, name kept", {"ttyS0", "ttyS1"}, "ttyS1",
         {"ttyS0", "ttyS1"}, {"ttyS0", "ttyS1"}, "kept", 2},
        {"later scan, a new adapter first", {"ttyS0", "ttyS1"}, "ttyS1",
         {"ttyS0", "ttyS1", "ttyUSB0"}, {"ttyUSB0", "ttyS0", "ttyUSB0", "ttyS1"}, "ttyUSB0", 3},
        {"later scan, two new: the last read first", {"ttyS0"}, "ttyS0",
         {"ttyS0", "ttyUSB0", "ttyUSB1"}, {"ttyUSB1", "ttyUSB0", "ttyUSB1", "ttyS0"}, "ttyUSB1",
         3},
        {"no port at all", {}, "ttyS0", {}, {}, "kept", 0},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Case);
        Port_Window_Reset();
        // The port name as the scan leaves it (the search then tries the entries, each in
        // turn the port name), and the names the main window is shown.
        std::string After_Scan = "kept";
        Names Shown;
        Port_Window_Hooks.Main_Setup_Port_Enable = [&](bool) { After_Scan = Settings.Port_Name; };
        Port_Window_Hooks.Main_Port_Name_Show = [&](const std::string& Name) { Shown.push_back(Name); };
        Window->FormCreate(Window);
        Window->Timer_Select_ComPort->Interval(500);
        Preferred_Port = R.Preferred;
        Settings.Port_Name = "kept";
        List(R.First_Scan);
        Window->Search_Ports();
        if (!R.Second_Scan.empty()) {
            List(R.Second_Scan);
            Settings.Port_Name = After_Scan = "kept";
            Shown.clear();
            Window->Search_Ports();
        }
        EXPECT_EQ(Port_Search.Try_List, R.Try_List);
        EXPECT_EQ(After_Scan, R.Port_Name);
        // Every entry tried in order (none opens here), then the name emptied for the pause.
        Names Tried = R.Try_List;
        if (!Tried.empty())
            Tried.push_back("");
        EXPECT_EQ(Shown, Tried);
        EXPECT_EQ(Window->Panel_Port_Quantity->Caption(), std::to_string(R.Quantity));
        EXPECT_EQ(Window->Memo_Ports_Name->Lines().Count(), R.Quantity);
        // Next: the pause before a fresh scan, or the rescans while waiting for a port.
        EXPECT_EQ(Window->Timer_Select_ComPort->Interval(), R.Quantity > 0 ? 1000 : 100);
        EXPECT_TRUE(Window->Timer_Select_ComPort->Enabled());
        Window->Close();
    }
}

TEST_F(Port_Search_Order, TheRememberedTerminalStaysListedWhileTheSearchRenamesThePort)
{
    // A pseudo-terminal is listed only by name: the configured one and the remembered one.
    Pty_Pair Remembered;
    List({"ttyS0"});
    Preferred_Port = Remembered.Slave_Path;
    Settings.Port_Name = "ttyS0";
    EXPECT_TRUE(Port_Exists());
    Window->Search_Ports();
    EXPECT_EQ(Port_Search.Try_List, (Names{Remembered.Slave_Path, "ttyS0"}));
    // Another name that is no listed device stays unlisted.
    Settings.Port_Name = "ttyS7";
    EXPECT_FALSE(Port_Exists());
    Window->Close();
}

}  // namespace
