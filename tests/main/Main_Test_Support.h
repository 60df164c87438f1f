// Shared set-up of the main-window tests: a scratch working folder, the process-wide
// state back to its start, the main and message windows created as the program creates
// them, a fixture holding these, and an event loop that runs until a condition holds.
#pragma once

#include <QCoreApplication>
#include <QEventLoop>
#include <chrono>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>

#include "common/Test_Folder.h"
#include "data/Configuration.h"
#include "data/Globals.h"
#include "data/Key_File.h"
#include "data/Settings.h"
#include "protocol/Status_Queue.h"
#include "language/Language.h"
#include "main/Main_Form.h"
#include "main/Process_State.h"
#include "main/Program.h"
#include "platform/system/Serial_Ports.h"
#include "protocol/Frames.h"
#include "protocol/Live_Data.h"
#include "protocol/Protocol_Hooks.h"
#include "protocol/Script.h"
#include "serial/CPort.h"
#include "windows/Loader_Window.h"
#include "windows/MSG.h"
#include "windows/Password_Window.h"

namespace main_test {

// Runs the event loop until Done() holds or Timeout_Ms pass; returns Done().
inline bool Pump_Until(const std::function<bool()>& Done, int Timeout_Ms)
{
    const auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(Timeout_Ms);
    while (!Done()) {
        if (std::chrono::steady_clock::now() > End)
            return Done();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

inline void Pump_For(int Ms)
{
    Pump_Until([] { return false; }, Ms);
}

// A fresh working folder; the previous current directory comes back at the end and the
// folder goes with everything in it. A folder that cannot be made fails the change of
// directory (the test errs) instead of working elsewhere.
class Scratch_Folder {
public:
    Scratch_Folder() : Old(std::filesystem::current_path())
    {
        std::filesystem::current_path(Folder.Path());
    }
    ~Scratch_Folder()
    {
        std::error_code Ignored;
        std::filesystem::current_path(Old, Ignored);
    }
    std::string File(const std::string& Name) const { return Folder / Name; }
    void Write(const std::string& Name, const std::string& Bytes) const { Put_File(File(Name), Bytes); }
    std::string Read(const std::string& Name) const { return Read_File(File(Name)); }

private:
    Test_Folder Folder{"main"};
    std::filesystem::path Old;
};

// Every process-wide state back to its start (the program's one reset).
using ::Reset_All_State;

// A settings file naming the port (other keys keep their defaults).
inline std::string Settings_With_Port(const std::string& Port, bool Full_Screen = false)
{
    std::string Text;
    Text += Key_File_Pad_Key("Port_Name") + Port + " {}\r\n";
    Text += Key_File_Pad_Key("Full_Screen") + (Full_Screen ? "True" : "False") + " {}\r\n";
    return Text;
}

// The Configuration page's level LED row as seven characters (red, green 1..5, yellow):
// '1' lit in its colour, '0' grey, '?' anything else.
inline std::string Level_Led_Row(const TForm_KardunGAS& F)
{
    std::string Row;
    for (size_t I = 0; I < F.Level_Leds.size(); ++I) {
        TImage* Led = F.Level_Leds[I];
        const TColor C = Led->Canvas()->Pixels(Led->Width() / 2, Led->Width() / 2);
        Row += C == Level_Led_Lit[I] ? '1' : C == Level_Led_Off ? '0' : '?';
    }
    return Row;
}

// The main, loader, password and message windows as the program creates them (creation handlers
// run).
class Windows {
public:
    Windows()
    {
        Form_KardunGAS = Create_Form<TForm_KardunGAS>(nullptr);
        Form_Loader = Create_Form<TForm_Loader>(nullptr);
        Form_PSW = Create_Form<TForm_PSW>(nullptr);
        Form_MSG = Create_Form<TForm_MSG>(nullptr);
        Main = Form_KardunGAS;
        Loader = Form_Loader;
        PSW = Form_PSW;
        MSG = Form_MSG;
    }
    ~Windows() { Destroy(); }
    // Destroys the windows, the last created first (the main window's destroy handler saves
    // the settings).
    void Destroy()
    {
        if (MSG) {
            MSG->Free();
            MSG = nullptr;
        }
        if (PSW) {
            PSW->Free();
            PSW = nullptr;
        }
        if (Loader) {
            Loader->Free();
            Loader = nullptr;
        }
        if (Main) {
            Main->Free();
            Main = nullptr;
        }
    }
    TForm_KardunGAS* Main = nullptr;
    TForm_Loader* Loader = nullptr;
    TForm_PSW* PSW = nullptr;
    TForm_MSG* MSG = nullptr;
};

// A test in a fresh working folder with the state reset before and after it; Create()
// makes the windows. The windows go before the state is reset and the folder removed.
class Main_Window_Fixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Reset_All_State();
        Folder = std::make_unique<Scratch_Folder>();
    }
    void TearDown() override
    {
        W.reset();
        Reset_All_State();
        Folder.reset();
    }
    void Create() { W = std::make_unique<Windows>(); }
    TForm_KardunGAS* Main() { return W->Main; }
    // The temperature table beside the program, as the program ships it.
    void With_Table()
    {
        std::error_code Ignored;
        std::filesystem::copy_file(std::string(KARDUN_RESOURCE_DIR) + "/KardunGD.dat",
                                   Folder->File("KardunGD.dat"), Ignored);
    }

    std::unique_ptr<Scratch_Folder> Folder;
    std::unique_ptr<Windows> W;
};

}  // namespace main_test
