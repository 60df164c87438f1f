// The firmware loader: the controller's boot loader takes over the link and a firmware file
// is sent to it record by record.
//
// While the loader owns the link (Loader_Mode) every frame carries the mode byte 0xF1 and
// every valid reply goes to Receiv_Loader_Data instead of the script sequencer. The loader
// polls (F1 81 81 81) until the boot loader answers with its version and controller type;
// a transfer then sends each record of the file as a header frame (F1 83, kind and random
// bits, length of the data frame) and a data frame (F1 86, the record's data as stored, the
// key after scrambled data), each acknowledged. A reply that does not come drops back to
// polling, and the transfer starts again from the first record once the loader answers.
//
// Firmware file: byte 0 is the controller type the file is for; records follow to the end.
// Header byte h: 240..255 a short record (kind 0x80) of h and 0x0F data bytes and a sum;
// below 240 with bit 7 clear a plain record (0x40), with bit 7 set a scrambled record (0xC0,
// key byte first, no sum), both of L + 2 data bytes, L = h and 0x7F, except for headers with
// bits 5 and 6 set: there L is 96 (bit 7 set) or 32 in a file of type 'D', and the data count
// of the record before in a file of any other type.
//
// Everything runs on the user-interface thread. Nothing here throws: a file that cannot be
// read ends the transfer with a message. What the loader window shows is reached through
// Loader_Hooks, which the window binds; an unbound hook does nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/system/Binary_File.h"

constexpr uint8_t Loader_Poll_Command = 0x81;
constexpr uint8_t Loader_Head_Command = 0x83;
constexpr uint8_t Loader_Data_Command = 0x86;

// Request codes served by the loader itself at its next valid reply.
constexpr uint8_t Loader_Request_Start = '!';   // start the transfer
constexpr uint8_t Loader_Request_Exit = 'Q';    // leave the loader

// Record kinds as the header frame carries them (its top two bits).
constexpr uint8_t Record_Kind_Plain = 0x40;
constexpr uint8_t Record_Kind_Short = 0x80;
constexpr uint8_t Record_Kind_Scrambled = 0xC0;

// The file type with the fixed lengths and the information record.
constexpr uint8_t Firmware_Type_D = 'D';

// A data frame carries at most this many bytes in all (mode, command, data, key, sum).
constexpr int Loader_Frame_Max = 255;
constexpr std::size_t Firmware_Record_Data_Max = 256;

// Texts of the check's failures.
constexpr const char* Loader_File_Error_Key = "Loader_File_Error";
constexpr const char* Compatible_File_Error_Key = "Compatible_File_Error";
constexpr const char* Loader_Transmit_Error_Key = "Error_Loader_Transmitt";
// The file the configuration is saved to before a transfer.
constexpr const char* Loader_Save_File_Name = "Temp.cfg";

// ---- loader state ----
extern bool Loader_Window_Active;       // the loader window is open
extern bool Loader_Mode;                // the normal protocol is suspended
extern bool Loader_Connected;           // the boot loader answered the last poll
extern bool Loader_Resume;              // a reply was missed during a transfer: it starts
                                        // again when the loader answers (cleared when it
                                        // completes or is given up)
extern bool Loader_File_Open;           // Firmware_File is open for the transfer
extern uint8_t Loader_Prompt_State;     // 0 until the first poll reply after an entry from
                                        // a running controller
extern int64_t Loader_Record_Start;     // file position of the current record's header
extern uint8_t Loader_Record_Kind;      // kind of the current record
extern int Loader_Data_Count;           // L after the header frame, D after the data frame
extern std::string Loader_Version_Text; // "2.05" for version 205
extern uint8_t Loader_Version;          // from the poll reply
extern uint8_t Loader_Type;             // controller type from the poll reply
extern uint8_t File_Type;               // type byte of the file last checked or opened
extern int File_Version_Code;           // X x 100 + Y x 10 + Z of an information record
extern std::string Loader_File_Name;    // the chosen firmware file (empty: none)
extern sys::Binary_File Firmware_File;  // the file being sent
// Progress of the transfer in file bytes (the gauge): the type byte, then per record 1 for
// the header and D + 1 for the rest; it reaches Loader_Progress_Max, the file size, after
// the last record.
extern int64_t Loader_Progress;
extern int64_t Loader_Progress_Max;

// ---- what the loader window does for the loader ----
struct Loader_Hooks_Class {
    // The window's side of Loader_Connected_Show and Loader_Disconnected (panel, buttons,
    // prompt).
    std::function<void()> Connected_Show;
    std::function<void()> Disconnected_Show;
    // The gauge follows Loader_Progress and Loader_Progress_Max.
    std::function<void()> Show_Progress;
    // The transfer ended: true after the last record (gauge lime), false when it was given
    // up and does not start again by itself (gauge 0).
    std::function<void(bool complete)> Transfer_End;
    // A file refused by the check when a transfer resumes: the error dialog with the text
    // key; the file name is cleared and Load disabled.
    std::function<void(const std::string& file, const std::string& key)> File_Refused;
    // Leaving the loader: the main window enabled again and the loader window closed.
    std::function<void()> Exit;
};
extern Loader_Hooks_Class Loader_Hooks;

// ---- the firmware file ----
// One record as the file holds it.
struct Firmware_Record {
    uint8_t Header = 0;
    uint8_t Kind = 0;             // Record_Kind_...
    int Data_Count = 0;           // D
    uint8_t Check_Byte = 0;       // the key of a scrambled record, the sum of the others
    uint8_t Data[Firmware_Record_Data_Max] = {};   // D bytes as stored (scrambled: still so)
    // Bytes the record takes in the file: header, D data bytes and the key or sum.
    int File_Length() const { return Data_Count + 2; }
    // Length of the data frame that carries it (the header frame's T).
    int Frame_Length() const { return Data_Count + (Kind == Record_Kind_Scrambled ? 4 : 3); }
};

enum class Record_Status {
    Ok,
    Ended,          // the record does not fit in the file (or the file ends early)
    Too_Long,       // its data frame would pass 255 bytes
    No_Length,      // a header that takes its length from a record before it, with none
    Read_Error,
};

// Kind and data count D of a header byte in a file of `file_type`; `previous_count` is D of
// the record before it, -1 for none. False (out untouched) for a header whose length comes
// from a record before it when there is none.
bool Firmware_Record_Head(uint8_t header, uint8_t file_type, int previous_count, uint8_t& kind,
                          int& data_count);

// Reads the record at `position` of a file of `size` bytes. Ok fills `record`.
Record_Status Read_Firmware_Record(const sys::Binary_File& file, int64_t position, int64_t size,
                                   uint8_t file_type, int previous_count, Firmware_Record& record);

// Undoes the scrambling of a 0xC0 record's data in place (the key is the record's own key
// byte); used for the sum check only, the data are sent as stored.
void Unscramble_Record(uint8_t key, uint8_t* data, std::size_t count);

// What an information record of a type 'D' file tells.
struct Firmware_Info {
    bool Present = false;
    std::string Name;      // 15 bytes
    std::string Date;      // 10 bytes
    std::string Version;   // 4 bytes, "X.YZ"
};

struct Firmware_Check {
    bool Ok = false;
    std::string Error_Key;   // Loader_File_Error_Key or Compatible_File_Error_Key
    uint8_t Type = 0;
    int64_t Size = 0;
    int Records = 0;
    Firmware_Info Info;
};

// Checks a firmware file against the loader's controller type: readable and not empty, of
// `loader_type`, every record whole, of a valid length and with its sum or key right, no
// byte after the last record, at least one record. A wrong type or sum gives
// Compatible_File_Error_Key, any other fault Loader_File_Error_Key. Sets File_Type and
// File_Version_Code. Shows nothing.
Firmware_Check Check_Firmware_File(const std::string& path, uint8_t loader_type);

// "X.YZ" -> X x 100 + Y x 10 + Z (non-digits count 0).
int Firmware_Version_Code(const std::string& version);

// ---- frames and the dialogue ----
void Send_Loader_Poll();
void Send_Loader_Record_Head();
void Send_Loader_Record_Data();
// Every valid reply with the mode byte 0xF1.
void Receiv_Loader_Data();
// The state and the window's side of a connected or lost boot loader.
void Loader_Connected_Show();
void Loader_Disconnected();
// Leaves the loader: the normal protocol starts again with the connect script when the port
// is open.
void Loader_Exit_Normal();

// Back to the first record of the open Firmware_File (progress 1); the next header frame
// starts the transfer.
void Loader_Rewind_File();
// Opens Loader_File_Name for a transfer: checked against Loader_Type, opened, progress 1 of
// the file size. False when refused (Firmware_Check tells why) or not opened.
bool Loader_Open_File(Firmware_Check& check);
// Closes the firmware file (if open) and sets the progress to 0.
void Loader_Close_File();

// A missing reply to a loader frame (the reply time-out): true when the caller sends the
// same frame again; otherwise this routine armed what follows.
bool Loader_Reply_Timeout();
// The connection watchdog in loader mode: polling again, and an open file closed (the
// transfer given up unless a missed reply has it start again).
void Loader_Watchdog();
// A transfer is under way: its file is open, or it starts again when the loader answers.
bool Loader_Transfer_Running();
// The port failed or was opened again in loader mode: the file closed, the transfer given
// up (a new Load starts it) and polling armed.
void Loader_Restart_Polling();

// Everything above back to its start values, the file closed, hooks cleared (tests).
void Loader_Reset();
