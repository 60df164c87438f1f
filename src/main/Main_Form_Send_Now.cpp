// The send-now timers of the main window: a parameter changed on the pages is sent once,
// 700 ms after its last change, and its controls are usable again a second later.
#include "main/Main_Form.h"
#include "protocol/Param_Codecs.h"
#include "protocol/Script.h"
#include "protocol/Write_Lists.h"

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
    Request_Code = Transmit_Now_Code;
    Enable_CFG_Param_Control(Transmit_Now_Code, false);
    Enable_CFG_Param_Marked(false);
}

void TForm_KardunGAS::Timer_Transmit_SaveTimer(TObject* Sender)
{
    Timer_Transmit_Save->Enabled(false);
    Enable_CFG_Param_All(true);
}
