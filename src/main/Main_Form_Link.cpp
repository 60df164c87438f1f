// The main window's side of the dialogue: when an armed frame is written, how a reply is
// read and judged, what a missing reply does (resend, script step-back, watchdog
// reconnect), the connection states on the status row, and the small timers around them.
// Everything here runs on the user-interface thread.
#include <algorithm>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "data/Call_Hook.h"
#include "data/Configuration.h"
#include "data/Globals.h"
#include "data/Injectors.h"
#include "data/Settings.h"
#include "protocol/Status_Queue.h"
#include "language/Language.h"
#include "main/Main_Form.h"
#include "protocol/CFG_File.h"
#include "protocol/Frames.h"
#include "protocol/Live_Data.h"
#include "protocol/Loader.h"
#include "protocol/Request_Codes.h"
#include "protocol/Script.h"
#include "protocol/Write_Lists.h"
#include "windows/ICO_Window.h"
#include "windows/Loader_Window.h"
#include "windows/MSG.h"
#include "windows/Password_Window.h"

namespace {

constexpr int Reply_Timeout_Ms = 1500;
// The watchdog's time without a valid reply (Timer_Connect's own interval).
constexpr int Watchdog_Ms = 5000;

// Marks a handler as running for as long as the guard lives.
class Busy_Guard {
public:
    explicit Busy_Guard(bool& Flag) : FFlag(Flag) { FFlag = true; }
    ~Busy_Guard() { FFlag = false; }
    Busy_Guard(const Busy_Guard&) = delete;
    Busy_Guard& operator=(const Busy_Guard&) = delete;

private:
    bool& FFlag;
};

// The pages draw a reply's values only after the receive has armed the next frame and
// started its delay, so that the drawing never lengthens the poll's cycle: inside a
// receive the decoder's call only marks the drawing as due.
struct Live_Draw_State {
    bool Due = false;       // values decoded in this receive wait to be drawn
    bool Drawing = false;   // the receive is drawing them now
};
Live_Draw_State Live_Draw;

// What a waiting request that a drop takes away was to do. A read is done again by the
// connect script that follows (it reads all that any read request asks for); a save needs
// no link and is done at once; a write says "Error_Data_Transmitt", the password window's
// writes the window's own text (the window then ends its write without a message of its
// own, which would replace this one).
struct Dropped_Request {
    uint8_t Request;
    const char* Key;
};
constexpr Dropped_Request Dropped_Requests[] = {
    {Request_Next_Work_Mode, "Error_Mode"},
    {Request_Gas_Fors, "Error_Mode"},
    {Request_Control_0_1, "Error_Mode"},
    {Request_Control_0_2, "Error_Mode"},
    {Request_Clear_Errors, "Error_Errors_Not_Cleared"},
    {Request_Sweep_Level, "Error_CFG_Transmitt"},
    {Request_Loader_Entry, "Error_Loader_Not_Started"},
    {Request_Load, "Error_CFG_Not_Loaded"},
    {Request_Write_Password, "Error_CFG_Transmitt"},
    {Request_Password_Default, "Error_CFG_Transmitt"},
};
constexpr const char* Write_Lost_Key = "Error_Data_Transmitt";
constexpr const char* Read_Lost_Key = "Error_CFG_Receiv";

std::string Dropped_Request_Key(uint8_t Request)
{
    for (const Dropped_Request& D : Dropped_Requests)
        if (D.Request == Request)
            return D.Key;
    return Request_Starts_Write(Request) ? Write_Lost_Key : "";
}

// What a cut script loses. The watchdog names the last frame where it has a text of its
// own; a lost port, or a frame without one, says it by the script's kind. A one-frame
// script of the technician's (work mode, forcing, clear errors) is named as its request
// would be: the next connection does not redo it. A poll and the connect script lose
// nothing the next connection does not redo, and the watchdog alone names their last frame.
std::string Cut_Script_Key(Script_Kind Kind, uint8_t Request, bool By_Watchdog)
{
    const std::string Frame_Key = By_Watchdog ? Watchdog_Message_Key(Sent_Frame[0], Sent_Frame[1]) : "";
    const std::string Request_Key = Dropped_Request_Key(Request);
    switch (Kind) {
    case Script_Kind::Write: return Frame_Key.empty() ? Write_Lost_Key : Frame_Key;
    case Script_Kind::Read: return Frame_Key.empty() ? Read_Lost_Key : Frame_Key;
    case Script_Kind::Loader: return "Error_Loader_Not_Started";
    case Script_Kind::Other: return Request_Key.empty() ? Frame_Key : Request_Key;
    default: return Frame_Key;
    }
}

void Add_Key_Once(std::vector<std::string>& Keys, const std::string& Key)
{
    if (!Key.empty() && std::find(Keys.begin(), Keys.end(), Key) == Keys.end())
        Keys.push_back(Key);
}

// One message says every key: a later message would replace an earlier one.
void Report_Dropped(const std::vector<std::string>& Keys)
{
    if (Keys.size() == 1) {
        Show_Message(Message_Type::Language_Key, Keys.front(), clRed);
    } else if (!Keys.empty()) {
        std::string Text;
        for (const std::string& Key : Keys)
            Text += (Text.empty() ? "" : "\n") + Language_Text(Key);
        Show_Message(Message_Type::Text, Text, clRed);
    }
}

void Draw_Due_Live_Values(TForm_KardunGAS& Form)
{
    if (!Live_Draw.Due)
        return;
    Live_Draw.Due = false;
    Busy_Guard Guard(Live_Draw.Drawing);
    Form.Show_Live_Values();
}

}  // namespace

void TForm_KardunGAS::Reopen_Port()
{
    try {
        // Closed before the name changes: a new name on an open port would reopen it at once.
        ComPort->Close();
        ComPort->SetPort(Settings.Port_Name);
        ComPortError = false;
        ComPort->Open();
    } catch (const EComPort& E) {
        // The device refused its line settings: the port is closed again.
        ComPortError = true;
        Set_Port_Closed();
    }
}

// ---------------------------------------------------------------- send and time-out

void TForm_KardunGAS::Timer_SendingTimer(TObject* Sender)
{
    // The port failed while not connected: reopen it once it is listed.
    if (ComPortError && !Timer_Connect->Enabled()) {
        if (Port_Exists())
            Reopen_Port();
        return;
    }
    // A probe in the buffer repeats until a reply comes.
    if (TX_Frame[1] == 0x21) {
        Send_Connect();
        Transmit_Frame();
        return;
    }
    // An armed frame goes out.
    Timer_Sending->Enabled(false);
    if (Frame_Pending) {
        Transmit_Frame();
        return;
    }
    // The reply did not come in time.
    const uint8_t Mode = Sent_Frame[0];
    const uint8_t Command = Sent_Frame[1];
    if (Mode == Mode_Controller) {
        const int Back = Timeout_Step_Back(Mode, Command);
        if (Back > 0) {
            // A resend after a time-out is no valid reply: the watchdog keeps counting from
            // the last valid one, so that 5000 ms without one drop the link and report it
            // whatever the step-backs (the step restarts the timer; it goes on with what was
            // left). A valid reply gives it its whole time again.
            const int Left = Timer_Connect->Remaining_Ms();
            Script_Step_Back(Back);
            Script_Run();
            if (Left >= 0 && Timer_Connect->Enabled())
                Timer_Connect->Interval(std::max(1, Left));
        } else {
            Transmit_Frame();
        }
    } else if (Mode == Mode_Loader) {
        if (Loader_Reply_Timeout())
            Transmit_Frame();
    }
}

void TForm_KardunGAS::Transmit_Frame()
{
    Frame_Pending = false;
    std::memcpy(Sent_Frame, TX_Frame, Frame_Length);
    if (Port_Open) {
        Panel_ProtokolStatus->Color(clBlue);
        if (ComPort->Connected())
            ComPort->Write(Sent_Frame, Frame_Length);
        if (ComPortError) {
            Port_Error();
        } else {
            Timer_Sending->Interval(Reply_Timeout_Ms);
            Timer_Sending->Enabled(true);
        }
        return;
    }
    // Not open: the frame is not written; the open event starts the connect script.
    if (Port_Exists())
        Reopen_Port();
}

// ---------------------------------------------------------------- receive

void TForm_KardunGAS::ComPortRxChar(TCustomComPort* Sender, int Count)
{
    // A modal box opened inside the handler runs its own event loop, which may deliver
    // the next receive event: that nested call is ignored.
    if (Receive_Busy)
        return;
    Busy_Guard Guard(Receive_Busy);

    if (!Port_Open)
        return;
    Live_Draw.Due = false;
    Timer_Sending->Enabled(false);
    // Never more than the buffer holds.
    const int Expected = std::min<int>(Reply_Length, static_cast<int>(Frame_Buffer_Size));
    const int N = Expected > 0 ? ComPort->Read(RX_Frame, Expected) : 0;
    if (ComPortError) {
        Port_Error();
        return;
    }
    // A reply shorter than mode, command and sum is never valid.
    if (Expected >= 3 && N == Expected) {
        if (Reply_Valid(static_cast<std::size_t>(N))) {
            Panel_ProtokolStatus->Color(clLime);
            Link_Quality_Full();
            Timer_Connect->Interval(Watchdog_Ms);
            // While the loader owns the link its replies go to it, none to the sequencer.
            if (RX_Frame[0] == Mode_Controller)
                Script_Run();
            else if (RX_Frame[0] == Mode_Loader)
                Receiv_Loader_Data();
        }
        ComPort->PurgeBuffers(true, true);
        if (ComPortError) {
            Port_Error();
            Draw_Due_Live_Values(*this);
            return;
        }
    }
    if (Version_Error_Closed) {
        Close();
        return;
    }
    Timer_Sending->Enabled(true);
    Draw_Due_Live_Values(*this);
    Refresh_After_Reply();
}

void TForm_KardunGAS::Refresh_After_Reply()
{
    if (Button_OSC_StartStop->Down())
        OSC_Append_Live();   // draws the traces
    Call_Hook(Refresh_Sweep_Step);
    Call_Hook(Refresh_RPM_Tab_Live_Cell);
}

// ---------------------------------------------------------------- watchdog and small timers

void TForm_KardunGAS::Timer_ConnectTimer(TObject* Sender)
{
    // Said by the last frame sent, once per run; the guard is given back after every run,
    // so a run without a message never silences the later ones.
    if (!Watchdog_Report_Busy) {
        Busy_Guard Guard(Watchdog_Report_Busy);
        Drop_Link_Work(Link_Drop_Cause::Watchdog);
    }
    Timer_Connect->Interval(Watchdog_Ms);   // whole again after a shortened run
    Timer_Sending->Enabled(false);
    if (Connected) {
        ComPortAfterOpen(ComPort.get());
    } else if (Loader_Mode) {
        Loader_Watchdog();
    } else {
        Script_Connect();
        Send_Connect();
    }
}

void TForm_KardunGAS::Drop_Link_Work(Link_Drop_Cause Cause)
{
    const bool Link_Was_Up = Connected;
    std::vector<std::string> Keys;
    if (Link_Was_Up)
        Add_Key_Once(Keys, Cut_Script_Key(Request_State.Running_Kind, Request_State.Running_Request,
                                          Cause == Link_Drop_Cause::Watchdog));
    else if (Cause == Link_Drop_Cause::Watchdog)
        Add_Key_Once(Keys, Watchdog_Message_Key(Sent_Frame[0], Sent_Frame[1]));
    for (const Request_Entry& Dropped : Drop_Requests()) {
        if (!Link_Was_Up)
            continue;
        // A save asked while connected waits for the poll; its file needs no link, and the
        // reconnect would read the controller's values over the edits it is to keep.
        if (Dropped.Code == Request_Save) {
            CFG_File_Commit(Request_Save, Dropped.File);
            Save_CFG_File();
            continue;
        }
        Add_Key_Once(Keys, Dropped_Request_Key(Dropped.Code));
    }
    // A send-now change still inside its delay never goes: the next connection reads the
    // controller's values over it.
    if (Transmit_Now_Code != 0 || RPM_Tab_Send_Pending) {
        if (Link_Was_Up)
            Add_Key_Once(Keys, Write_Lost_Key);
        Transmit_Now_Code = 0;
        RPM_Tab_Send_Pending = false;
        Timer_Transmit_Now->Enabled(false);
    }
    if (Connected) {
        Request_State.Link_Lost();
    } else {
        Request_State.Running_Kind = Script_Kind::None;
        Request_State.Running_Request = 0;
    }
    Report_Dropped(Keys);
}

void TForm_KardunGAS::Timer_Check_TxTimer(TObject* Sender)
{
    if (!Timer_Sending->Enabled() || !Timer_Connect->Enabled()) {
        Timer_Sending->Enabled(true);
        Timer_Connect->Enabled(true);
    }
}

void TForm_KardunGAS::Timer_ErrorTimer(TObject* Sender)
{
    Next_Status_Message();
}

void TForm_KardunGAS::Timer_After_ConnectTimer(TObject* Sender)
{
    Timer_After_Connect->Enabled(false);
    // The engine still stands: look again later. A speed no engine runs at points to a
    // wrong R.P.M. source.
    if (Live_Values.Live_RPM == 0)
        Timer_After_Connect->Enabled(true);
    else if (RPM_Out_Of_Range())
        Show_MiniCFG(MiniCFG_View_RPM_Source);
}

void TForm_KardunGAS::Timer_WaitTimer(TObject* Sender)
{
    Timer_Wait->Enabled(false);
}

void TForm_KardunGAS::Timer_Connect_StabilTimer(TObject* Sender)
{
    const int New_Interval =
        ::Link_Quality_Tick(Timer_Connect_Stabil->Interval(), Settings.Reply_Delay,
                            Timer_Connect->Interval());
    if (New_Interval > 0) {
        Timer_Connect_Stabil->Enabled(false);
        Timer_Connect_Stabil->Interval(New_Interval);
        Timer_Connect_Stabil->Enabled(true);
        return;
    }
    Link_Quality_Show();
}

// ---------------------------------------------------------------- link quality panel

void TForm_KardunGAS::Link_Quality_Full()
{
    const int Interval = ::Link_Quality_Full(Settings.Reply_Delay);
    Timer_Connect_Stabil->Enabled(false);
    Timer_Connect_Stabil->Interval(Interval);
    Timer_Connect_Stabil->Enabled(true);
    Link_Quality_Show();
}

// While the main window is disabled the loader window's panel stands in for the main one.
void TForm_KardunGAS::Link_Quality_Show()
{
    TPanel* Panel = Enabled() ? Panel_ConnectStatus_PerCent
                              : Form_Loader ? Form_Loader->Panel_Connect_Loader_PerCent : nullptr;
    if (!Panel)
        return;
    const Link_Quality_Colours C = Link_Quality_Colour(Link_Percent);
    Panel->Color(C.Colour);
    Panel->Font().Color(C.Font_Colour);
    Panel->Caption(Link_Percent_Text(Link_Percent));
}

void TForm_KardunGAS::Link_Quality_Reset()
{
    TPanel* Panel = Panel_ConnectStatus_PerCent;
    TPanel* State = Panel_ConnectStatus;
    if (!Enabled()) {
        if (!Loader_Window_Active || !Form_Loader)
            return;
        Panel = Form_Loader->Panel_Connect_Loader_PerCent;
        State = Form_Loader->Panel_Connect_Loader;
    }
    Panel->Color(State->Color());
    Panel->Font().Color(State->Font().Color());
    if (State->Color() == clRed)
        Panel->Caption("0%");
}

// ---------------------------------------------------------------- connection states

void TForm_KardunGAS::ComPortAfterOpen(TCustomComPort* Sender)
{
    if (!ComPort->Connected()) {
        ComPortAfterClose(Sender);
        return;
    }
    Set_Not_Connected();
    Port_Open = true;
    Panel_PortStatus->Caption(Settings.Port_Name);
    Panel_PortStatus->Color(clLime);
    Panel_PortStatus->Font().Color(clBlue);
    Status_Queue.Count = 0;
    Next_Status_Message();
    // The loader keeps the link: it polls its boot loader again.
    if (Loader_Mode)
        Loader_Restart_Polling();
    else
        Script_Connect();
}

void TForm_KardunGAS::ComPortAfterClose(TCustomComPort* Sender)
{
    Set_Port_Closed();
}

void TForm_KardunGAS::Set_Port_Closed()
{
    Set_Not_Connected();
    Panel_PortStatus->Caption(Settings.Port_Name);
    Panel_PortStatus->Color(clRed);
    Panel_PortStatus->Font().Color(clWhite);
    Port_Open = false;
    Timer_Check_Tx->Enabled(false);
    Timer_Connect->Enabled(false);
    Timer_Sending->Enabled(true);
}

void TForm_KardunGAS::Port_Error()
{
    // What the lost port cut off is said by the drop (Set_Not_Connected), so that the
    // technician sends again.
    Set_Port_Closed();
    Link_Quality_Reset();
    Timer_Connect_Stabil->Enabled(false);
    // The loader keeps its port: a search would move the link away from the boot loader.
    if (Loader_Mode) {
        Loader_Restart_Polling();
        return;
    }
    if (!Port_Search.Port_Search_On)
        Script_Connect();
    if (Form_Port)
        Form_Port->Port_Error_Pause();
}

void TForm_KardunGAS::Set_Not_Connected()
{
    const bool Link_Dropped = Connected;
    // After the watchdog's own drop this finds nothing left to say.
    if (Link_Dropped)
        Drop_Link_Work(Link_Drop_Cause::Port_Lost);
    Timer_After_Connect->Enabled(false);
    Connected = false;
    Timer_Connect->Enabled(false);
    Panel_ConnectStatus->Color(clRed);
    Panel_ConnectStatus->Font().Color(clWhite);
    Panel_ConnectStatus->Caption(Language_Text("Panel_ConnectStatus_Not_Connect"));
    Label_ERR_CPU_Freq_MHz->Caption("0");
    Label_ERR_Quartz_Freq_Err->Visible(false);
    Enable_Link_Buttons(false);
    Script_Flag_27 = 0;
    // A password write not yet acknowledged has failed with the link.
    Password_Link_Dropped();
    Link_Quality_Reset();
    // The status queue is emptied at the next open: the first reply then shows every
    // status text, the work mode and the error memo again.
    Live_Status_Forget();
    Inject_Num.UpDown->Max(Injector_Num_Max);
    // A controller of a refused version disabled the window; the link is gone now. The
    // loader window keeps it disabled while it is open. No car file is named by it.
    if (!Enabled()) {
        CFG_File_Named = false;
        if (!Loader_Window_Active)
            Enabled(true);
    }
    Panel_ProtokolStatus->Visible(false);
    Button_Select_ComPort->Visible(true);
    // A compact view opened on a live link closes with it. One opened without a link stays:
    // the port-settings view must outlast the reopen attempts of a port that fails to open.
    if (Link_Dropped)
        MiniCFG_Close();
}

void TForm_KardunGAS::Set_Connected()
{
    if (Form_Port)
        Form_Port->Close();
    Timer_After_Connect->Enabled(true);
    Link_Quality_Reset();
    Timer_Check_Tx->Enabled(true);
    Connected = true;
    Timer_Connect->Enabled(true);
    Panel_ConnectStatus->Caption(Configuration.Program_Name);
    Panel_ConnectStatus->Color(clLime);
    Panel_ConnectStatus->Font().Color(clBlue);
    Panel_ProtokolStatus->Visible(true);
    Button_Select_ComPort->Visible(false);
    Enable_Link_Buttons(true);
}

void TForm_KardunGAS::Enable_Link_Buttons(bool Enabled)
{
    For_Each_Part([Enabled](auto& Part) {
        for (TButton* B : Part.Part_Link_Buttons())
            B->Enabled(Enabled);
    });
    Gas_Fors_Buttons_Enable(Enabled);
    Read_Guard_Refresh();
}

void TForm_KardunGAS::Gas_Fors_Buttons_Enable(bool Enable)
{
    if (!Enable)
        return;
    Button_Gas_Fors1->Enabled(true);
    for (int k = 2; k <= 8; ++k)
        Gas_Fors_Button(k)->Enabled(k <= Configuration.GI_Num);
}

// ---------------------------------------------------------------- work mode

void TForm_KardunGAS::Show_Work_Mode(uint8_t Mode, uint8_t Injector_Bits)
{
    if (!Work_Mode_Changed(Mode))
        return;
    const auto Look = Work_Mode_Display(Mode);
    if (!Look)
        return;
    Panel_WorkMode->Caption(Language_Text(Look->Caption_Key));
    Panel_WorkMode->Color(Look->Colour);
    if (Look->Buttons_Follow_Injectors && Connected) {
        for (int k = 1; k <= 8; ++k)
            Gas_Fors_Button(k)->Down((Injector_Bits & (1u << (k - 1))) != 0);
        Gas_Fors_All_Sync();
    } else {
        Gas_Fors_All_Set(false);
    }
    Work_Mode_Leds(*this);
}

// ---------------------------------------------------------------- live values

void TForm_KardunGAS::Show_Live_Values()
{
    TTabSheet* Active = PageControl_KardunGAS->ActivePage();
    auto Show_Part = [&](auto& Part, const Live_Texts& T) {
        Part.Show_Live_Part(T, Part.Part_Sheet() && Part.Part_Sheet() == Active, *this);
    };
    // What keeps the values rather than drawing them takes them at once: the sweep's step,
    // the test drive's timing, the oscilloscope's recording (with its value boxes).
    if (!Live_Draw.Drawing) {
        Sweep_Live_Values();
        Drive_Live_Values();
        Show_Part(static_cast<Main_Form_Oscilloscope&>(*this), Live_Label_Texts());
    }
    if (Receive_Busy && !Live_Draw.Drawing) {
        Live_Draw.Due = true;
        return;
    }
    const Live_Texts T = Live_Label_Texts();
    For_Each_Part([&](auto& Part) {
        if constexpr (!std::is_same_v<std::remove_cvref_t<decltype(Part)>, Main_Form_Oscilloscope>)
            Show_Part(Part, T);
    });
    // The other views that show the live data (the big digits, the compact window's RPM)
    // are filled in by the window that owns them.
    if (ICO_State.ICO_Any_Open)
        Refresh_ICO_Windows();
    MiniCFG_Live_Values();
}
