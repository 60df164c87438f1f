// Shared start of the tests that talk to the controller emulator over a real
// pseudo-terminal: the emulator started, the port end opened raw, and one exchange step
// that writes the armed frame and hands the reply to the sequencer as the receive path does.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "emulator/Emulator.h"
#include "protocol/Protocol_Fixture.h"

class Protocol_Emulator_Fixture : public Protocol_Fixture {
protected:
    emu::Controller_Emulator emulator;
    int fd = -1;
    size_t written = 0;   // frames written to the emulator
    std::vector<std::string> messages;

    void SetUp() override
    {
        Protocol_Fixture::SetUp();
        Settings.Save_Load_Data = true;
        Protocol_Hooks.Show_Message = [this](uint8_t, const std::string& t, int32_t) {
            messages.push_back(t);
        };
        // The table editor and the connected state are not part of this test.
        Script_Set_Action(24, [] { Connected = true; });
        Script_Set_Condition(212, [] {
            RPM_Tab_Cols = RX_Frame[2];
            RPM_Tab_Rows = RX_Frame[3];
            return RPM_Tab_Cols <= 13 && RPM_Tab_Rows <= 24;
        });

        std::string error;
        ASSERT_TRUE(emulator.Start(&error)) << error;
        fd = ::open(emulator.Slave_Path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(fd, 0);
        termios t{};
        ::tcgetattr(fd, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(fd, TCSANOW, &t);
    }
    void TearDown() override
    {
        if (fd >= 0) ::close(fd);
        emulator.Stop();
        Protocol_Fixture::TearDown();
    }

    // Reads up to n bytes; stops after a quiet time.
    size_t Read_Reply(size_t n, int quiet_ms = 1000)
    {
        size_t got = 0;
        while (got < n) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, quiet_ms) <= 0)
                break;
            ssize_t r = ::read(fd, RX_Frame + got, n - got);
            if (r <= 0)
                break;
            got += static_cast<size_t>(r);
        }
        return got;
    }

    // Writes the armed frame and hands a valid reply to the sequencer. A reply that is
    // missing or invalid is treated as the time-out does. False when nothing was armed.
    bool Exchange()
    {
        if (!Take_Armed_Frame())
            return false;
        EXPECT_EQ(::write(fd, Sent_Frame, Frame_Length), Frame_Length);
        ++written;
        size_t n = Read_Reply(Reply_Length);
        if (Reply_Valid(n)) {
            Script_Run();
        } else {
            ::tcflush(fd, TCIFLUSH);
            Time_Out();
        }
        return true;
    }

    // The emulator logs a request after its reply has gone out, so a reply can be read
    // before its request stands in the log: waits until every frame written is logged.
    size_t Logged_Size()
    {
        EXPECT_TRUE(emulator.Wait_For(
            [this](const std::vector<emu::Log_Entry>& log) { return log.size() >= written; }, 2000));
        return emulator.Log_Size();
    }

    void Connect()
    {
        Script_Connect();
        for (int i = 0; i < 60 && !(Connected && Script_Flag_27 == 0 && Sent_Frame[1] == 0x26 &&
                                    Request_Code == 0 && i > 10);
             ++i)
            ASSERT_TRUE(Exchange());
    }
};
