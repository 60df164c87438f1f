// The send-now timers of the main window: a parameter changed on the pages is sent once,
// 700 ms after its last change, and its controls are usable again a second later.
#include "data/Globals.h"
#include "main/Main_Form.h"
#include "protocol/Param_Codecs.h"
#include "protocol/Script.h"
#include "protocol/Write_Lists.h"

namespace {
// The code of the RPM-dependence table's write.
constexpr uint8_t RPM_Tab_Code = 25;
}  // namespace

void TForm_KardunGAS::Timer_Transmit_NowTimer(TObject* Sender)
{
    Timer_Transmit_Now->Enabled(false);
    Timer_Transmit_Save->Enabled(true);
    // Without a changed letter there is nothing to send, and a request already waiting
    // must not be cancelled.
    if (Transmit_Now_Code == 0)
        return;
    // The sequencer serves the letter's code with the changed list, which takes every
    // marked letter; all of them stay disabled while they are on their way.
    Ask_Request(Transmit_Now_Code);
    Enable_CFG_Param_Control(Transmit_Now_Code, false);
    Enable_CFG_Param_Marked(false);
    // Handed on: the next change starts a new burst.
    Transmit_Now_Code = 0;
}

void TForm_KardunGAS::Timer_Transmit_SaveTimer(TObject* Sender)
{
    // A table changed in the same burst as letters goes once their write was taken up
    // (the request is served at the poll's check point, after that write).
    if (RPM_Tab_Send_Pending && !Connected)
        RPM_Tab_Send_Pending = false;   // the link went: nothing more of this burst goes
    if (RPM_Tab_Send_Pending) {
        if (Request_Code != 0)
            return;   // the letters are not on their way yet: the timer comes again
        RPM_Tab_Send_Pending = false;
        Ask_Request(RPM_Tab_Code);
    }
    Timer_Transmit_Save->Enabled(false);
    Enable_CFG_Param_All(true);
}
