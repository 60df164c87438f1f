// Write lists: which parameters one list write carries, in which order, and their packing
// into the send buffer.
//
// A list holds parameter letters 'A'..'t' (3 bytes packed: letter, b2, b3) and calibration
// sub-block codes 0x81..0x86 (55 bytes: code and 54 data bytes). Every list but the full
// one ends with 'A', whose pair carries the configuration identity Car_ID. The frame
// builders of the list writes (0x2F, 0x30, 0x31) pack the list and add header and sum.
//
// Letters changed on the Configuration page are marked for one coming send; the changed
// list then carries each marked letter with its dependants, without repeats.
//
// All on the user-interface thread, from the script sequencer and the page's handlers.
#pragma once

#include <cstdint>
#include <vector>

constexpr int Block_List_Room = 200;

struct Block_List_Class {
    uint8_t Count = 0;
    uint8_t Code[Block_List_Room + 1] = {};   // codes 1..Count
};
extern Block_List_Class Block_List;

// Code remembered for the pending immediate send (the last letter changed).
extern uint8_t Transmit_Now_Code;
// Work script chosen by action 55: 2 write all, 4 calibration first, else the main poll.
extern uint8_t Work_Script_Select;

// Appends a code; a full list takes no more.
void Add_Block_Code(uint8_t code);
// The lists; each starts afresh and returns its count.
int Build_Full_List();      // 'A'..'r', then 's', 't' with the VAC input
int Build_CLB_List_1();     // 0x81, 0x82, 'A'
int Build_CLB_List_2();     // 0x83, 0x84, 0x85, 0x86 with the VAC input, 'A'
// The marked letters (and the letter of Request_Code when it is not among them), each
// with its dependants, without repeats, then one closing 'A'; the marks are cleared.
// One letter alone gives its own list exactly ('A' alone: A, A).
int Build_Changed_List();
// The codes one letter's change sends, its closing 'A' included.
std::vector<uint8_t> Changed_List_Of(uint8_t letter);
// Packs the current list into TX_Frame from byte 2 on, through the codes' encoders. The
// single frames the encoders arm are never sent. At most 255 packed bytes.
void Pack_Block_List();

// ---- letters marked for the coming send ----
// Transmit_Now_Code := letter, and the letter joins the marked set.
void CFG_Letter_Mark(uint8_t letter);
const std::vector<uint8_t>& CFG_Marked_Letters();
void CFG_Marks_Clear();
// Enables or disables the controls of every marked letter.
void Enable_CFG_Param_Marked(bool enabled);

// ---- script actions ----
void Select_Work_Script();        // 55
void Show_Transmission_Status();  // 56

// A write request that would send a temperature (letters I, R, Y, g) while the
// temperature table cannot be read: true, and the table's message has been shown (once
// per loss of the table). Requests that send no temperature are never refused.
bool Write_Request_Refused(uint8_t request);

// Empty list, no marks, codes cleared.
void Write_Lists_Reset();
