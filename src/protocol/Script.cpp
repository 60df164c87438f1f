#include "protocol/Script.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <span>
#include <string>

#include "data/Call_Hook.h"
#include "data/Configuration.h"
#include "data/Globals.h"
#include "data/Message_Types.h"
#include "data/Settings.h"
#include "platform/ui/Types.h"
#include "protocol/CFG_File.h"
#include "protocol/Status_Queue.h"
#include "protocol/Frames.h"
#include "protocol/Ident.h"
#include "protocol/Live_Data.h"
#include "protocol/Protocol_Hooks.h"
#include "protocol/Request_Codes.h"

int32_t Script[Script_Cells + 1];
int32_t Script_PC = 0;
bool Script_Pause = false;
bool Script_Error_Shown = false;
uint8_t& Request_Code = Request_State.Current_Code;
uint8_t Script_Flag_27 = 0;
uint8_t Sweep_Flag = 0;
uint32_t Script_Connect_Count = 0;

namespace {

constexpr int First_Action = 20;
constexpr int Last_Action = 199;
constexpr int First_Condition = 200;
constexpr int Last_Condition = 254;
// Cells one call may run without arming a frame before the script is taken as looping
// on itself; the interpreter then stops and the watchdog restarts the dialogue.
constexpr int Max_Cells_Per_Run = 2000;

std::array<Script_Action_Handler, Last_Action + 1> Actions;
std::array<bool, Last_Action + 1> Action_Valid{};
std::array<bool, Last_Action + 1> Action_Own{};
std::array<Script_Condition_Handler, Last_Condition + 1> Conditions;
std::array<bool, Last_Condition + 1> Condition_Valid{};
std::array<bool, Last_Condition + 1> Condition_Own{};
std::array<CFG_Codec_Handler, 256> Encoders;
std::array<CFG_Codec_Handler, 256> Decoders;

bool Running = false;

// A request at the sequencer's next step cuts only a script that loses nothing by it.
bool Script_Cuttable(Script_Kind kind)
{
    return kind == Script_Kind::None || kind == Script_Kind::Poll || kind == Script_Kind::Other;
}

bool In_Script(int32_t index)
{
    return index >= 1 && index <= Script_Cells;
}

// A cell's value; an index outside the script reads as an invalid value.
int32_t Cell(int32_t index)
{
    return In_Script(index) ? Script[index] : -1;
}

void Report_Script_Error(int32_t pc, int32_t value)
{
    if (Script_Error_Shown)
        return;
    Script_Error_Shown = true;
    Call_Hook(Protocol_Hooks.Show_Message, Message_Type::Text,
              "Error In Script\n\rScript number : " + std::to_string(pc) +
                  "\n\rScript : " + std::to_string(value),
              clRed);
}

void Own_Action(int code, Script_Action_Handler handler)
{
    Actions[code] = std::move(handler);
    Action_Own[code] = true;
}

void Own_Condition(int code, Script_Condition_Handler handler)
{
    Conditions[code] = std::move(handler);
    Condition_Own[code] = true;
}

void Load_Script(Script_Kind kind, std::initializer_list<int32_t> cells)
{
    Script_Load(std::span<const int32_t>(cells.begin(), cells.size()), kind);
}

void Set_Up_Tables()
{
    Actions.fill(nullptr);
    Conditions.fill(nullptr);
    Action_Valid.fill(false);
    Action_Own.fill(false);
    Condition_Valid.fill(false);
    Condition_Own.fill(false);

    for (int code : {21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 43, 44, 45,
                     46, 48, 49, 50, 51, 52, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65, 68,
                     69, 70, 71, 72, 74, 75, 77, 78, 79, 80, 81, 82, 83, 84, 85, 86, 87, 88, 89,
                     90, 91, 92})
        Action_Valid[code] = true;
    for (int code : {200, 202, 204, 205, 206, 207, 208, 209, 210, 211, 212})
        Condition_Valid[code] = true;

    Own_Action(21, Send_Connect);
    Own_Action(22, Send_Ident_Request);
    Own_Action(25, Send_Read_Block_26);
    Own_Action(27, [] { Script_Flag_27 = 1; });
    Own_Action(28, [] { Script_Flag_27 = 0; });
    Own_Action(29, Send_Car_Num_Request);
    Own_Action(31, Send_Read_Block_27);
    Own_Action(33, Send_Read_Block_28);
    Own_Action(35, Send_Read_Block_29);
    Own_Action(43, Set_Write_Length_Car_Num);
    Own_Action(44, Prepare_CFG_Write);
    Own_Action(45, Prepare_CLB_Write_1);
    Own_Action(46, Prepare_CLB_Write_2);
    Own_Action(48, Send_Write_Announce);
    Own_Action(49, Send_Car_Num);
    Own_Action(50, Send_CFG_List);
    Own_Action(51, Send_CLB_Block_1);
    Own_Action(52, Send_CLB_Block_2);
    Own_Action(54, [] { Frame_Length = 5; });
    Own_Action(57, Send_Work_Mode);
    Own_Action(58, Send_Gas_Fors);
    Own_Action(59, Send_Control_0_1);
    Own_Action(60, Send_Control_0_2);
    Own_Action(61, [] { Set_CFG_Parameter('E'); });
    Own_Action(62, [] { Sweep_Flag = 0; });
    Own_Action(63, [] { Sweep_Flag = 1; });
    Own_Action(64, [] {
        // The entry is through: from here the loader owns the link.
        Request_State.Running_Kind = Script_Kind::None;
        Request_State.Running_Request = 0;
        Script_Pause = true;
        Call_Hook(Protocol_Hooks.Show_Loader_Window);
    });
    Own_Action(65, Send_Error_Control);
    Own_Action(68, Set_Write_Length_RPM_Chunk);
    Own_Action(69, Send_RPM_Tab_Size);
    Own_Action(70, Send_RPM_Tab_Size_Request);
    Own_Action(71, Send_RPM_Tab_Chunk);
    Own_Action(72, Send_RPM_Tab_Chunk_Request);
    Own_Action(74, RPM_Tab_Frame_To_Image);
    Own_Action(79, Set_Write_Length_Password);
    Own_Action(80, Send_Password);
    Own_Action(81, Send_Password_Request);
    Own_Action(86, [] { Write_Frame_Length = 9; });
    Own_Action(87, Send_Service_Time);
    Own_Action(88, Send_Service_Timer_Request);
    Own_Action(90, Serve_Request);
    Own_Action(92, RPM_Tab_Transfer_Start);

    // Decoders and status steps of the units built so far (plugged, not owned).
    Actions[23] = Receiv_Ident_Data;
    Actions[26] = Receiv_Current_Data;
    Actions[77] = Receiv_Data_On;
    Actions[78] = Receiv_Data_Off;

    Conditions[200] = Ident_Status_Failed;   // the window side plugs in over it
    Own_Condition(202, [] { return Settings.Save_Load_Data; });
    Own_Condition(204, [] { return (RX_Frame[30] & 0x10) == 0; });
    Own_Condition(205, [] { return !Link_Timer_Wait.Enabled(); });
    Own_Condition(206, [] { return Configuration.DS_Correction_ON; });
    Own_Condition(207, [] { return !Configuration.DS_Correction_ON; });
    Own_Condition(208, RPM_Tab_Transfer_Done);
    Conditions[211] = [] { return Live_Values.Live_RPM > 7000 || Live_Values.Live_RPM < 450; };

    Encoders.fill(nullptr);
    Decoders.fill(nullptr);
}

struct Tables_Init {
    Tables_Init() { Set_Up_Tables(); }
} tables_init;

void Run_Control(int32_t op)
{
    const int32_t k = Script_PC;
    switch (op) {
    case 1:
        Script_PC = Cell(k + 1);
        break;
    case 2:
        Script_PC = k + Cell(k + 1);
        break;
    case 3: {
        int32_t back = Cell(k + 1), limit = Cell(k + 2), counter = Cell(k + 3);
        if (counter < limit) {
            if (In_Script(k + 3))
                Script[k + 3] = counter + 1;
            Script_PC = k - back;
        } else {
            if (In_Script(k + 3))
                Script[k + 3] = 0;
            Script_PC = k + 4;
        }
        break;
    }
    case 4: {
        int32_t ms = Cell(k + 1);
        Link_Timer_Wait.Interval(static_cast<uint32_t>(ms > 0 ? ms : 1));
        Link_Timer_Wait.Enabled(true);
        Script_PC = k + 2;
        break;
    }
    case 5:
        Script_Chain();
        break;
    case 6: {
        int32_t letter = Cell(k + 1);
        Request_Code = static_cast<uint8_t>(letter);
        Set_CFG_Parameter(static_cast<uint8_t>(letter));
        Script_PC = k + 2;
        break;
    }
    default:
        break;
    }
    if (Script_PC < 0)
        Script_PC = 0;
}

void Dispatch(int32_t v)
{
    if (v == 0)
        Script_Pause = true;
    else if (v >= First_Action && v <= Last_Action)
        Script_Action();
    else if (v >= First_Condition && v <= Last_Condition)
        Script_Condition();
    else
        Script_Error();
}

bool Serve_Start_Request()
{
    // A write the controller has only in part would leave it with half a configuration,
    // a read half a page, a loader entry no loader: the request waits until the script has
    // handed back to the main poll, whose check point serves it.
    if (!Script_Cuttable(Request_State.Running_Kind))
        return false;
    switch (Request_Code) {
    case Request_Next_Work_Mode: Script_Work_Mode(); break;
    case Request_Gas_Fors: Script_Gas_Fors(); break;
    case Request_Control_0_1: Script_Control_0_1(); break;
    case Request_Control_0_2: Script_Control_0_2(); break;
    case Request_Clear_Errors: Script_Clear_Errors(); break;
    default: return false;
    }
    Request_Code = 0;
    Script_Step_Back(1);
    return true;
}

}  // namespace

bool Script_Action_Valid(int code)
{
    return code >= First_Action && code <= Last_Action && Action_Valid[code];
}

bool Script_Condition_Valid(int code)
{
    return code >= First_Condition && code <= Last_Condition && Condition_Valid[code];
}

bool Script_Set_Action(int code, Script_Action_Handler handler)
{
    if (!Script_Action_Valid(code) || Action_Own[code])
        return false;
    Actions[code] = std::move(handler);
    return true;
}

bool Script_Set_Condition(int code, Script_Condition_Handler handler)
{
    if (!Script_Condition_Valid(code) || Condition_Own[code])
        return false;
    Conditions[code] = std::move(handler);
    return true;
}

const Script_Action_Handler& Script_Action_Slot(int code)
{
    static const Script_Action_Handler None;
    return Script_Action_Valid(code) ? Actions[code] : None;
}

const Script_Condition_Handler& Script_Condition_Slot(int code)
{
    static const Script_Condition_Handler None;
    return Script_Condition_Valid(code) ? Conditions[code] : None;
}

bool Set_CFG_Encoder(uint8_t code, CFG_Codec_Handler encoder)
{
    if (!((code >= 'A' && code <= 't') || (code >= 0x81 && code <= 0x86)))
        return false;
    Encoders[code] = std::move(encoder);
    return true;
}

bool Set_CFG_Decoder(uint8_t letter, CFG_Codec_Handler decoder)
{
    if (!(letter >= 'A' && letter <= 't'))
        return false;
    Decoders[letter] = std::move(decoder);
    return true;
}

void Set_CFG_Parameter(uint8_t code)
{
    if (Encoders[code])
        Encoders[code]();
}

void Get_CFG_Parameter(uint8_t letter)
{
    if (Decoders[letter])
        Decoders[letter]();
}

bool Script_Write_In_Progress()
{
    return Request_State.Write_In_Progress();
}

Script_Kind Script_Running_Kind()
{
    return Request_State.Running_Kind;
}

bool Ask_Request(uint8_t code, Request_Target target)
{
    return Request_State.Ask(code, target);
}

bool Ask_Request(uint8_t code, const CFG_File_Choice& file)
{
    return Request_State.Ask(code, Request_Target::Sequencer, file);
}

bool Request_Waiting(uint8_t code, Request_Target target)
{
    return Request_State.Waiting(code, target);
}

std::vector<Request_Entry> Drop_Requests()
{
    return Request_State.Drop();
}

void Script_Load(std::span<const int32_t> cells, Script_Kind kind)
{
    Request_State.Running_Kind = kind;
    // A script is loaded while the request it serves is still current; a poll or the
    // connect serves none, whatever waits meanwhile.
    const bool Serves_Request = kind != Script_Kind::None && kind != Script_Kind::Poll && kind != Script_Kind::Connect;
    Request_State.Running_Request = Serves_Request ? Request_State.Current_Code : 0;
    Script_PC = 0;
    for (int32_t v : cells)
        Script_Add(v);
    Script_PC = 1;
}

void Script_Add(int32_t value)
{
    if (Script_PC < 0)
        Script_PC = 0;
    if (Script_PC >= Script_Cells)
        return;   // a script holds 100 cells; anything beyond is not stored
    ++Script_PC;
    Script[Script_PC] = value;
}

void Script_Step_Back(int steps)
{
    Script_PC -= steps;
    if (Script_PC < 0)
        Script_PC = 0;
}

void Script_Run()
{
    // A nested call (from an event loop that a modal box runs inside a step) is ignored:
    // the running step goes on with the script when the box closes.
    if (Running)
        return;
    Running = true;
    Link_Timer_Sending.Enabled(false);
    Link_Timer_Connect.Enabled(false);

    Serve_Start_Request();
    int cells = 0;
    for (;;) {
        ++Script_PC;
        int32_t v = Cell(Script_PC);
        if (In_Script(Script_PC) && v >= 1 && v <= 6) {
            Run_Control(v);
            v = Cell(Script_PC);
        }
        if (!In_Script(Script_PC)) {
            // Outside the script's cells: report and stop; the watchdog restarts.
            Report_Script_Error(Script_PC, v);
            Script_PC = Script_Cells;
            Script_Pause = true;
        } else {
            Dispatch(v);
        }
        if (Script_Pause)
            break;
        if (++cells >= Max_Cells_Per_Run) {
            Report_Script_Error(Script_PC, Cell(Script_PC));
            break;
        }
    }
    Script_Pause = false;
    Link_Timer_Connect.Enabled(true);
    Running = false;
}

void Script_Chain()
{
    ++Script_PC;   // the operand
    int32_t n = Cell(Script_PC);
    switch (n) {
    case 0: Script_Main_Poll(); break;
    case 1: Script_Read_Car(); break;
    case 2: Script_Read_All(); break;
    case 4: Script_Write_Car(); break;
    case 5: Script_Write_All(); break;
    case 6: Script_Write_CLB_First(); break;
    case 7: Script_Write_RPM_Tab(); break;
    case 8: Script_Work_Mode(); break;
    case 9: Script_Gas_Fors(); break;
    case 10: Script_Control_0_1(); break;
    case 11: Script_Control_0_2(); break;
    case 12: Script_Write_Changed(); break;
    case 13: Script_Sweep_Step(); break;
    case 19: Script_Live_Only(); break;
    default: Script_Error(); break;
    }
}

void Script_Action()
{
    int32_t code = Cell(Script_PC);
    if (!Script_Action_Valid(code)) {
        Script_Error();
        return;
    }
    if (Actions[code])
        Actions[code]();
}

void Script_Condition()
{
    int32_t code = Cell(Script_PC);
    bool holds = true;   // an invalid code goes straight on past its operand
    if (!Script_Condition_Valid(code))
        Script_Error();
    else
        holds = Conditions[code] ? Conditions[code]() : false;
    ++Script_PC;
    if (!holds)
        Script_PC = Script_PC + Cell(Script_PC) - 1;
    if (Script_PC < 0)
        Script_PC = 0;
    Script_Pause = false;
}

void Serve_Request()
{
    // The request before has handed back to the main poll: the next waiting one is
    // served here, one of the next step's at once.
    Request_State.Next();
    if (Serve_Start_Request()) {
        Script_Pause = false;
        return;
    }
    // A write that cannot be built soundly is dropped here: nothing of it is sent.
    if (Protocol_Hooks.Write_Refused && Protocol_Hooks.Write_Refused(Request_Code)) {
        Request_Code = 0;
        return;
    }
    if (Request_Code == Request_Load || Request_Code == Request_Save) {
        const uint8_t code = Request_Code;
        const CFG_File_Choice file = Request_State.Current_File;
        Request_Code = 0;
        Request_State.Current_File = {};
        // The file Save or Load chose while connected becomes the current one only now.
        CFG_File_Commit(code, file);
        if (code == Request_Load)
            Call_Hook(Protocol_Hooks.Load_CFG_File);
        if (code == Request_Save)
            Call_Hook(Protocol_Hooks.Save_CFG_File);
        Call_Hook(Protocol_Hooks.Enable_Link_Buttons, Connected);
        return;
    }
    switch (Request_Code) {
    case Request_Write_All: Script_Write_All(); break;
    case Request_Read_All: Script_Read_All(); break;
    case Request_Write_CLB_First: Script_Write_CLB_First(); break;
    case Request_Read_Calibration: Script_Read_All(); break;
    case Request_Write_Car: Script_Write_Car(); break;
    case Request_Read_Car: Script_Read_Car(); break;
    case Request_Sweep_Level: Script_Sweep_Step(); break;
    case Request_Loader_Entry: Script_Loader_Entry(); break;
    case Request_Write_RPM_Tab: Script_Write_RPM_Tab(); break;
    case Request_Write_Password:
        Call_Hook(Protocol_Hooks.Script_Write_Password);
        break;
    case Request_Password_Default:
        Call_Hook(Protocol_Hooks.Script_Password_Default);
        break;
    case Request_Service_Time_Write: Script_Write_Service_Time(); break;
    case Request_Service_Time_Read: Script_Read_Service_Timer(); break;
    default:
        if (Request_Code >= 'A' && Request_Code <= 't')
            Script_Write_Changed();
        break;
    }
    if (Request_Code != 0) {
        Request_Code = 0;
        Script_Step_Back(1);
        Script_Pause = false;
    }
}

void Script_Error()
{
    Report_Script_Error(Script_PC, Cell(Script_PC));
}

void Script_Connect()
{
    ++Script_Connect_Count;
    Request_State.Running_Kind = Script_Kind::Connect;
    // The car number is read again: until then no car file is this controller's.
    Request_State.Car_Number_Read = false;
    Script_PC = 0;
    for (int32_t v : {21, 22, 23,             // probe, identification, decode
                      200, 3, 5, 19,          // not accepted: live data only
                      210, 3, 81, 83,         // password checking: read the block
                      77, 24,                 // reception status; connected
                      25, 27, 26,             // current data
                      88, 89,                 // service timer
                      29, 30, 31, 32, 33, 34, 35, 36,   // car number, configuration, calibration
                      70,                     // table size
                      212, 11,                // valid size: read the table
                      92, 72, 74, 208, -3,    // chunks until the image is in
                      75, 28, 78, 5, 0,       // table from the image; main poll
                      28, 78, 5, 7})          // invalid size: write the table
        Script_Add(v);
    Script_PC = 0;
    Script_Run();
}

void Script_Main_Poll()
{
    Load_Script(Script_Kind::Poll, {54, 25, 26, 206, 13, 70, 212, 13, 92, 54, 25, 26, 72, 74, 208, -6, 84, 90, 1, 1,
                 5, 7});
}

void Script_Read_Car()
{
    Load_Script(Script_Kind::Read, {29, 30, 5, 2});
}

void Script_Read_All()
{
    Load_Script(Script_Kind::Read, {77, 29, 30, 33, 34, 35, 36, 31, 32, 70, 212, 10, 92, 72, 74, 208, -3, 75, 78, 5,
                 0, 78, 5, 7});
}

void Script_Write_Car()
{
    Load_Script(Script_Kind::Write, {43, 48, 49, 5, 5});
}

void Script_Write_All()
{
    Load_Script(Script_Kind::Write, {209, 7, 69, 68, 48, 71, 208, -4, 202, 7, 45, 48, 51, 46, 48, 52, 91, 44, 48, 50,
                 56, 5, 0});
}

void Script_Write_CLB_First()
{
    Load_Script(Script_Kind::Write, {45, 48, 51, 46, 48, 52, 202, 12, 44, 48, 50, 209, 7, 69, 68, 48, 71, 208, -4, 56,
                 5, 0});
}

void Script_Write_RPM_Tab()
{
    Load_Script(Script_Kind::Write, {209, 8, 69, 68, 48, 71, 208, -4, 56, 5, 0});
}

void Script_Work_Mode()
{
    Load_Script(Script_Kind::Other, {57, 5, 0});
}

void Script_Gas_Fors()
{
    Load_Script(Script_Kind::Other, {58, 5, 0});
}

void Script_Control_0_1()
{
    Load_Script(Script_Kind::Other, {59, 5, 0});
}

void Script_Control_0_2()
{
    Load_Script(Script_Kind::Other, {60, 5, 0});
}

void Script_Write_Changed()
{
    int count = Call_Hook(Protocol_Hooks.Build_Changed_List);
    int length = 3 * (count > 0 ? count : 0) + 3;
    Write_Frame_Length = static_cast<uint8_t>(length < 255 ? length : 255);
    Load_Script(Script_Kind::Write, {48, 50, 56, 5, 0});
}

void Script_Sweep_Step()
{
    Load_Script(Script_Kind::Other, {62, 61, 63, 5, 0});
}

void Script_Live_Only()
{
    Load_Script(Script_Kind::Poll, {54, 25, 26, 1, 1});
}

void Script_Loader_Entry()
{
    Load_Script(Script_Kind::Loader, {54, 59, 25, 26, 3, 2, 7, 0, 64});
}

void Script_Write_Service_Time()
{
    Load_Script(Script_Kind::Write, {86, 48, 87, 5, 0});
}

void Script_Read_Service_Timer()
{
    Load_Script(Script_Kind::Read, {88, 89, 5, 0});
}

void Script_Clear_Errors()
{
    Load_Script(Script_Kind::Other, {54, 65, 5, 0});
}

void Script_Reset()
{
    for (auto& c : Script)
        c = 0;
    Script_PC = 0;
    Script_Pause = false;
    Script_Error_Shown = false;
    Script_Flag_27 = 0;
    Sweep_Flag = 0;
    Request_State.Reset();
    Running = false;
    Set_Up_Tables();
}
