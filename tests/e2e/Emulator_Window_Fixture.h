// The main window against the controller emulator: a fresh working folder (the state reset
// before and after), the emulator on a pseudo-terminal reached through "ttyEMU" in that
// folder, and a settings file naming it as the port.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "emulator/Emulator.h"
#include "main/Main_Test_Support.h"
#include "main/Program.h"

namespace main_test {

class Emulator_Window_Fixture : public Main_Window_Fixture {
protected:
    // Starts the emulator and writes the settings file: the port, then Extra_Settings
    // (key-file lines). Call it wrapped in ASSERT_NO_FATAL_FAILURE.
    void Start_Emulator(const std::string& Extra_Settings = "")
    {
        std::string Error;
        ASSERT_TRUE(Emu.Start(&Error)) << Error;
        Link = Folder->File("ttyEMU");
        ASSERT_TRUE(Emu.Set_Link_Path(Link, &Error)) << Error;
        Folder->Write("KardunGD.ini", Settings_With_Port(Link) + Extra_Settings);
    }
    // The windows go before the emulator, then the state and the folder.
    void TearDown() override
    {
        W.reset();
        Emu.Stop();
        Main_Window_Fixture::TearDown();
    }
    // Creates the windows and starts the link as the program does.
    void Start_Program()
    {
        Create();
        Start_Up();
    }
    // How many frames of Command the emulator has logged.
    size_t Count_Of(uint8_t Command) const
    {
        size_t N = 0;
        for (uint8_t C : Emu.Commands())
            N += C == Command;
        return N;
    }
    bool Wait_Command(uint8_t Command, size_t Count, int Timeout_Ms = 15000)
    {
        return Pump_Until([&] { return Count_Of(Command) >= Count; }, Timeout_Ms);
    }

    emu::Controller_Emulator Emu;
    std::string Link;
};

}  // namespace main_test
