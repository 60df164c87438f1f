// The script sequencer: the program's main loop with the controller.
//
// A script is a list of up to 100 integer cells: actions (build and arm one request, or
// decode the reply that just came, or a bookkeeping step), conditions with a skip
// distance, and control operations (jump, loop, wait, chain to another script). Script_Run
// runs cells until one of them arms a frame and returns; it is called again for every
// valid reply and by the time-outs that step a script back. User actions never talk to
// the port: they ask for a request (Ask_Request), which the sequencer serves at fixed points.
//
// Decoders and builders of other units plug into the action and condition tables with
// Script_Set_Action / Script_Set_Condition. A valid action code whose handler is not
// plugged in does nothing; a condition without a handler does not hold.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "protocol/Request_State.h"

constexpr int Script_Cells = 100;

extern int32_t Script[Script_Cells + 1];   // cells 1..100 (cell 0 unused)
extern int32_t Script_PC;                   // program counter; fill index while building
extern bool Script_Pause;                   // the interpreter returns after this cell
extern bool Script_Error_Shown;             // "Error In Script" was reported in this run
// The sequencer's current request, 0 = none (a view of Request_State.Current_Code; only
// the sequencer and its own tests set it, every other code asks with Ask_Request).
extern uint8_t& Request_Code;
extern uint8_t Script_Flag_27;              // set while the connect script reads the blocks
extern uint8_t Sweep_Flag;                  // RPM sensitivity sweep state
// Dialogues started by Script_Connect (each connection and each restart counts one):
// what is reported once per connection compares it.
extern uint32_t Script_Connect_Count;
// A write that losing the link now would cut off: a write script runs, or a request that
// starts one waits for its check point (in Request_Code or behind it).
bool Script_Write_In_Progress();
// The kind of the script loaded last (Request_State.Running_Kind).
Script_Kind Script_Running_Kind();

// ---- user requests ----
// Asks for a user request through Request_State (see Request_State_Class::Ask): the one way
// the pages, the service windows and the loader ask for one. A Save or Load carries its
// file. A request waiting in Request_Code is served at the sequencer's next step when it
// is one of the next step's (1, 6, 7, 8, 24) and no read, write, loader entry or connect
// script runs; otherwise at the main poll's check point, once the request before has
// handed back to the main poll. False (nothing asked) for code 0 and a full queue.
// User-interface thread only.
bool Ask_Request(uint8_t code, Request_Target target = Request_Target::Sequencer);
bool Ask_Request(uint8_t code, const CFG_File_Choice& file);
// Whether a request is still waiting: in Request_Code or behind it.
bool Request_Waiting(uint8_t code, Request_Target target = Request_Target::Sequencer);
// Takes every waiting sequencer request away, Request_Code first, then the others in the
// order asked; Request_Code is 0 afterwards. The link's drop calls it, and says what each
// dropped request was to do.
std::vector<Request_Entry> Drop_Requests();

// ---- the action and condition tables ----
using Script_Action_Handler = std::function<void()>;
using Script_Condition_Handler = std::function<bool()>;
// Plugs a handler into an action slot (20..199) or a condition slot (200..254); an empty
// function empties the slot. Codes outside the tables, and codes the sequencer keeps for
// itself, are refused (false).
bool Script_Set_Action(int code, Script_Action_Handler handler);
bool Script_Set_Condition(int code, Script_Condition_Handler handler);
// The handler in an action or condition slot (an empty function for an empty slot or a
// code outside the tables).
const Script_Action_Handler& Script_Action_Slot(int code);
const Script_Condition_Handler& Script_Condition_Slot(int code);
// Whether a code is a valid action or condition code at all.
bool Script_Action_Valid(int code);
bool Script_Condition_Valid(int code);

// ---- parameter codecs: letters 'A'..'t' and calibration sub-blocks 0x81..0x86 ----
using CFG_Codec_Handler = std::function<void()>;
// Encoders arm the code's frame; decoders read the pair at the reply cursor.
bool Set_CFG_Encoder(uint8_t code, CFG_Codec_Handler encoder);
bool Set_CFG_Decoder(uint8_t letter, CFG_Codec_Handler decoder);
void Set_CFG_Parameter(uint8_t code);   // runs the encoder of a code; others do nothing
void Get_CFG_Parameter(uint8_t letter); // runs the decoder of a letter; others do nothing

// ---- the interpreter ----
void Script_Add(int32_t value);
// Writes a script from cell 1 (a builder's program), leaves Script_PC at 1, and records
// what the script is (a request waits for the main poll rather than cut a read or write).
void Script_Load(std::span<const int32_t> cells, Script_Kind kind);
void Script_Run();
void Script_Chain();
void Script_Action();
void Script_Condition();
void Serve_Request();
void Script_Error();
// Lowers Script_PC by `steps` (a reply time-out's step back); never below cell 0.
void Script_Step_Back(int steps);

// ---- scripts ----
void Script_Connect();               // writes the connect script and runs it
void Script_Main_Poll();             // chain 0
void Script_Read_Car();              // 1
void Script_Read_All();              // 2
void Script_Write_Car();             // 4
void Script_Write_All();             // 5
void Script_Write_CLB_First();       // 6
void Script_Write_RPM_Tab();         // 7
void Script_Work_Mode();             // 8
void Script_Gas_Fors();              // 9
void Script_Control_0_1();           // 10
void Script_Control_0_2();           // 11
void Script_Write_Changed();         // 12
void Script_Sweep_Step();            // 13
void Script_Live_Only();             // 19
void Script_Loader_Entry();
void Script_Write_Service_Time();
void Script_Read_Service_Timer();
void Script_Clear_Errors();

// Empty script and state, plugged handlers removed and the built-in ones restored.
void Script_Reset();
