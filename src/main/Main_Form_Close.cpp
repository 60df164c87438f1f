// Closing the main window while data are on their way to the controller: a write that runs
// or waits, or a send-now change still inside its delay. Ending the program then would leave
// the controller with part of what the technician set (a new car number over the old
// configuration) and the page's change never sent, without a word. So the close waits: the
// pending send-now change goes at once, the status line says the program closes once the
// data are written, and the window closes when nothing is left to send. The wait is bounded
// by the watchdog: a link that drops meanwhile ends it, the watchdog's message names what
// was not sent, and the window stays open so that the technician reads it and can send
// again once the controller answers.
#include "data/Globals.h"
#include "language/Language.h"
#include "main/Main_Form.h"
#include "protocol/Script.h"
#include "protocol/Status_Queue.h"
#include "protocol/Write_Lists.h"
#include "windows/Form_Build.h"
#include "windows/MSG.h"

namespace {

// How often a waiting close looks whether the data are written.
constexpr int Close_Check_Ms = 100;
constexpr const char* Close_Wait_Key = "Close_Wait_Transmit";

}  // namespace

bool TForm_KardunGAS::Close_Work_Pending() const
{
    const bool Send_Now_Pending =
        (Timer_Transmit_Now->Enabled() && Transmit_Now_Code != 0) || RPM_Tab_Send_Pending;
    return Connected && (Script_Write_In_Progress() || Send_Now_Pending);
}

void TForm_KardunGAS::FormClose(TObject* Sender, TClose_Action& Action)
{
    // A controller of a refused version ends the program whatever waits.
    if (Version_Error_Closed || !Close_Work_Pending()) {
        Close_Wait_End();
        MiniCFG_Close();
        return;
    }
    Action = TClose_Action::None;
    if (Close_Waiting)
        return;
    Close_Waiting = true;
    // The change counting its delay is handed to the sequencer now.
    if (Timer_Transmit_Now->Enabled())
        Timer_Transmit_NowTimer(Timer_Transmit_Now);
    Add_Status_Message(clYellow, Language_Text(Close_Wait_Key));
    Timer_Close_Wait->Enabled(true);
}

void TForm_KardunGAS::Timer_Close_WaitTimer(TObject* Sender)
{
    if (Connected && Close_Work_Pending())
        return;
    const bool Written = Connected;
    Close_Wait_End();
    // When the link went first, the watchdog's or the port error's message names what was
    // cut, and the window stays for the technician to read it.
    if (Written)
        Close();
}

void TForm_KardunGAS::Close_Wait_End()
{
    if (Timer_Close_Wait)
        Timer_Close_Wait->Enabled(false);
    if (!Close_Waiting)
        return;
    Close_Waiting = false;
    Remove_Status_Message(Language_Text(Close_Wait_Key));
}

void TForm_KardunGAS::Bind_Close()
{
    Timer_Close_Wait = build::Timer(this, "Timer_Close_Wait", Close_Check_Ms);
    Timer_Close_Wait->OnTimer = [this](TObject* Sender) { Timer_Close_WaitTimer(Sender); };
    OnClose = [this](TObject* Sender, TClose_Action& Action) { FormClose(Sender, Action); };
}
