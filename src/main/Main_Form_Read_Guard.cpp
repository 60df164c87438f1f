// What a read overwrites stays unusable while the read waits or runs: the Configuration
// page's setting groups, the RPM-dependence table, the calibration chart, the buttons that
// set values at once (Default, the influence factors' Clear and Default) and Transmit.
#include <utility>
#include <vector>

#include "data/Globals.h"
#include "main/Main_Form.h"
#include "main/Read_Guard.h"
#include "protocol/Request_Codes.h"
#include "protocol/Script.h"

bool Read_In_Progress()
{
    // Once connected, the connect script reads every block.
    const Script_Kind Kind = Script_Running_Kind();
    return Connected && (Request_Waiting(Request_Read_All) || Request_Waiting(Request_Read_Calibration) ||
                         Kind == Script_Kind::Read || Kind == Script_Kind::Connect);
}

std::vector<TControl*> TForm_KardunGAS::Read_Locked_Controls() const
{
    std::vector<TControl*> Controls;
    for (TControl* Box : Options_Box)
        if (Box)
            Controls.push_back(Box);
    for (TControl* C : {static_cast<TControl*>(Panel_CFG_Depend), static_cast<TControl*>(Image_CLB),
                        static_cast<TControl*>(Button_CFG_Default), static_cast<TControl*>(Button_CLB_Default),
                        static_cast<TControl*>(Button_CFG_Infl_Clear),
                        static_cast<TControl*>(Button_CFG_Infl_Default)})
        if (C)
            Controls.push_back(C);
    return Controls;
}

void TForm_KardunGAS::Read_Guard_Refresh()
{
    const bool Reading = Read_In_Progress();
    // Transmit follows the link buttons (Receive is one of them) except while a read runs.
    for (auto [Transmit, Link_Button] : {std::pair{Button_CFG_Transmitt, Button_CFG_Receiv},
                                         std::pair{Button_CLB_Transmitt, Button_CLB_Receiv}}) {
        const bool Usable = Link_Button->Enabled() && !Reading;
        if (Transmit->Enabled() != Usable)
            Transmit->Enabled(Usable);
    }
    if (Reading == Read_Guard_Holding)
        return;
    Read_Guard_Holding = Reading;
    for (TControl* C : Read_Locked_Controls())
        C->Enabled(!Reading);
}
