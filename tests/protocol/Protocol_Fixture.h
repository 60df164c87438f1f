// Shared start of the sequencer and frame tests: the frames, the script, the protocol
// hooks, the status queue and the globals back to their start, an empty configuration and
// a reply delay of 60 ms.
#pragma once

#include <gtest/gtest.h>

#include "data/Configuration.h"
#include "data/Globals.h"
#include "data/Settings.h"
#include "data/Status_Queue.h"
#include "protocol/Frames.h"
#include "protocol/Protocol_Hooks.h"
#include "protocol/Script.h"

class Protocol_Fixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Frames_Reset();
        Script_Reset();
        Protocol_Hooks_Reset();
        Status_Queue_Reset();
        Globals_Reset();
        Configuration = Configuration_Class{};
        Settings.Reply_Delay = 60;
    }
    void TearDown() override
    {
        Script_Reset();
        Protocol_Hooks_Reset();
        Status_Queue_Reset();
    }
};
