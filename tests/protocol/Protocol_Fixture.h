// Shared start of the sequencer and frame tests: the frames, the script, the protocol
// hooks, the status queue and the globals back to their start, an empty configuration and
// a reply delay of 60 ms; the transmit step and the send timer's answer to a reply that
// did not come.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "data/Configuration.h"
#include "data/Globals.h"
#include "data/Settings.h"
#include "protocol/Status_Queue.h"
#include "protocol/Frames.h"
#include "protocol/Protocol_Hooks.h"
#include "protocol/Script.h"
#include "main/Process_State.h"

class Protocol_Fixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Reset_All_State();
        Settings.Reply_Delay = 60;
    }
    void TearDown() override { Reset_All_State(); }

    // The transmit step: the armed frame becomes the sent one. False when nothing was armed.
    bool Take_Armed_Frame()
    {
        if (!Frame_Pending)
            return false;
        Frame_Pending = false;
        std::memcpy(Sent_Frame, TX_Frame, Frame_Length);
        return true;
    }

    // A reply time-out: the script steps back as the command asks, or the frame is armed
    // to be sent again.
    void Time_Out()
    {
        const int back = Timeout_Step_Back(Sent_Frame[0], Sent_Frame[1]);
        if (back > 0) {
            Script_Step_Back(back);
            Script_Run();
        } else {
            std::memcpy(TX_Frame, Sent_Frame, Frame_Length);
            Frame_Pending = true;
        }
    }
};
