// Request frames to the controller and the builders that arm them.
//
// A frame is: mode byte (0x61 controller, 0xF1 boot loader), command byte, data, and the
// low 8 bits of the sum of all bytes before it. There is no length field: each builder
// sets the frame's length and the length of the reply it expects. A builder never writes
// to the port; it fills TX_Frame and arms the send timer, whose tick writes the frame
// Reply_Delay ms later. A reply is checked against Sent_Frame (the copy of what was
// written), never against TX_Frame, which may already hold the next frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "data/Password_List.h"

// Longest frame either way: a reply of a one-byte data length plus mode, command and sum.
constexpr std::size_t Frame_Buffer_Size = 258;

constexpr uint8_t Mode_Controller = 0x61;
constexpr uint8_t Mode_Loader = 0xF1;

extern uint8_t TX_Frame[Frame_Buffer_Size];    // send buffer being built
extern uint8_t Sent_Frame[Frame_Buffer_Size];  // copy of the frame last written
extern uint8_t RX_Frame[Frame_Buffer_Size];    // receive buffer
extern uint8_t Frame_Length;                   // length of the frame in TX_Frame
// Expected reply length, mode, command and sum included (3..258). Wider than a byte, as
// a reply may be 255 data bytes + 3.
extern uint16_t Reply_Length;
extern uint8_t Write_Frame_Length;             // length of the next announced write
extern bool Frame_Pending;                     // a frame is armed and not yet written
// The car file no longer holds what the controller holds: a frame changed the controller,
// its configuration was read, or the watched table came back changed. The next live read
// saves the file when its automatic save is due; the save clears it.
extern bool& New_Frame;   // Request_State.Car_Save_Pending: the car file is to take what the controller holds
extern uint8_t Len_Current_Data;               // data lengths of the read blocks
extern uint8_t Len_Configuration;              //   0x26, 0x27, 0x28 and 0x29, from the
extern uint8_t Len_Calibration_1;              //   identification
extern uint8_t Len_Calibration_2;

// RPM-dependence table as it travels: the byte image, the transfer position, the image
// length and the table size the transfer uses. The table editor fills and reads them.
constexpr std::size_t RPM_Tab_Image_Size = 364;   // 13 x 24 table with its two size bytes
extern uint8_t RPM_Tab_Image[RPM_Tab_Image_Size];
extern uint16_t RPM_Tab_Position;
extern uint16_t RPM_Tab_Image_Length;
extern uint8_t RPM_Tab_Cols;
extern uint8_t RPM_Tab_Rows;

// Connect probes sent since the port search last switched ports (the search resets it).
extern uint8_t Probe_Count;

// The password block the next password write sends (action 80): built and kept by the
// password window when the technician confirms; all $FF at start.
extern Password_Block Password_Write_Block;

// Status text queued while a write is under way.
constexpr const char* Transmission_Text_Key = "Error_Transmission";

// ---- frame primitives ----
uint8_t Frame_Sum(const uint8_t* bytes, std::size_t length);   // sum of bytes 0..length-2
void Send_Frame();
void Begin_Frame(uint8_t command);
void Send_Read_Frame(uint8_t command);

// True when the `received` bytes in RX_Frame are the reply armed for Sent_Frame: exactly
// Reply_Length bytes, mode and command as sent, and a correct sum.
bool Reply_Valid(std::size_t received);

// What the reply time-out does after this frame: 0 resend the same frame, 1 step the
// script back by one (announce again), 2 by two (announce and write again).
int Timeout_Step_Back(uint8_t mode, uint8_t command);
// Text key the watchdog reports after this frame; empty for none.
std::string Watchdog_Message_Key(uint8_t mode, uint8_t command);

// ---- builders (script action numbers in brackets) ----
void Send_Connect();                 // [21] probe 61 21 21 21
void Send_Ident_Request();           // [22]
void Send_Read_Block_26();           // [25] live data; then the car file's save when due
void Send_Read_Block_27();           // [31] configuration; marks New_Frame
void Send_Read_Block_28();           // [33] calibration 1
void Send_Read_Block_29();           // [35] calibration 2
void Send_RPM_Tab_Size_Request();    // [70]
void Send_RPM_Tab_Chunk_Request();   // [72]
void Send_Password_Request();        // [81]
void Send_Car_Num_Request();         // [29]
void Send_Service_Timer_Request();   // [88]
void Send_Gas_Fors();                // [58]
void Send_Work_Mode();               // [57]
void Send_Control_0_1();             // [59]
void Send_Control_0_2();             // [60]
void Send_Error_Control();           // [65]
void Send_Write_Announce();          // [48]
void Prepare_CFG_Write();            // [44]
void Prepare_CLB_Write_1();          // [45]
void Prepare_CLB_Write_2();          // [46]
void Set_Write_Length_RPM_Chunk();   // [68]
void Set_Write_Length_Password();    // [79]
void Set_Write_Length_Car_Num();     // [43]
void Send_CFG_List();                // [50]
void Send_CLB_Block_1();             // [51]
void Send_CLB_Block_2();             // [52]
void Send_RPM_Tab_Size();            // [69]
void Send_RPM_Tab_Chunk();           // [71]
void Send_Password();                // [80]
void Send_Car_Num();                 // [49]
void Send_Service_Time();            // [87]

// ---- table transfer steps ----
void RPM_Tab_Transfer_Start();       // [92] image length from the size, position 0
void RPM_Tab_Frame_To_Image();       // [74] reply data appended to the image
bool RPM_Tab_Transfer_Done();        // condition 208
// Image length of a table of this size, without the two size bytes.
uint16_t RPM_Tab_Length_Of(uint8_t cols, uint8_t rows);

// Buffers zeroed, lengths and flags to their start values (tests; start of a run).
void Frames_Reset();
