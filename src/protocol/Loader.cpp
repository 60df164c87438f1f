#include "protocol/Loader.h"

#include <algorithm>
#include <cstdio>
#include <random>

#include "data/Call_Hook.h"
#include "data/Globals.h"
#include "data/Message_Types.h"
#include "protocol/Frames.h"
#include "protocol/Protocol_Hooks.h"
#include "protocol/Script.h"

bool Loader_Window_Active = false;
bool Loader_Mode = false;
bool Loader_Connected = false;
bool Loader_Resume = false;
bool Loader_File_Open = false;
uint8_t Loader_Prompt_State = 0;
int64_t Loader_Record_Start = 0;
uint8_t Loader_Record_Kind = 0;
int Loader_Data_Count = -1;
std::string Loader_Version_Text;
uint8_t Loader_Version = 0;
uint8_t Loader_Type = 0;
uint8_t File_Type = 0;
int File_Version_Code = 0;
std::string Loader_File_Name;
sys::Binary_File Firmware_File;
int64_t Loader_Progress = 0;
int64_t Loader_Progress_Max = 0;
Loader_Hooks_Class Loader_Hooks;

namespace {

constexpr int Reply_Length_Poll = 5;
constexpr int Reply_Length_Ack = 3;
constexpr int32_t Colour_Red = 0x0000FF;
// Headers 240..255 are short records; below, bits 5 and 6 both set take a length of their own.
constexpr uint8_t Short_Header_First = 240;
constexpr uint8_t Chained_Length_Bits = 0x60;
constexpr int Chained_Length_D_Scrambled = 96;
constexpr int Chained_Length_D_Plain = 32;
constexpr uint8_t Random_Bits_Limit = 63;   // R is 0..62

// Information record: its mark, then name, a gap, date, a gap, version.
constexpr std::size_t Info_Name_At = 2, Info_Name_Length = 15;
constexpr std::size_t Info_Date_At = Info_Name_At + Info_Name_Length + 1, Info_Date_Length = 10;
constexpr std::size_t Info_Version_At = Info_Date_At + Info_Date_Length + 2, Info_Version_Length = 4;

// The record being sent, read whole when its header frame is built.
Firmware_Record Current_Record;
// D of the record before the current one (its chained length), -1 for none.
int Previous_Count = -1;

std::minstd_rand& Random()
{
    static std::minstd_rand Generator{std::random_device{}()};
    return Generator;
}

void Show_Progress()
{
    Call_Hook(Loader_Hooks.Show_Progress);
}

std::string Text_At(const Firmware_Record& R, std::size_t At, std::size_t Length)
{
    std::string Text;
    for (std::size_t I = At; I < At + Length && I < static_cast<std::size_t>(R.Data_Count); ++I)
        Text.push_back(static_cast<char>(R.Data[I]));
    return Text;
}

bool Is_Information_Record(const Firmware_Record& R, uint8_t Type)
{
    return Type == Firmware_Type_D && R.Kind == Record_Kind_Plain && R.Data_Count >= 2 &&
           R.Data[0] == 0x00 && R.Data[1] == 0xFF;
}

bool Record_Sum_Ok(const Firmware_Record& R)
{
    uint8_t Bytes[Firmware_Record_Data_Max];
    std::copy(R.Data, R.Data + R.Data_Count, Bytes);
    if (R.Kind == Record_Kind_Scrambled)
        Unscramble_Record(R.Check_Byte, Bytes, static_cast<std::size_t>(R.Data_Count));
    uint8_t Sum = 0;
    for (int I = 0; I < R.Data_Count; ++I)
        Sum = static_cast<uint8_t>(Sum + Bytes[I]);
    return Sum == R.Check_Byte;
}

// The transfer stops for good: the file closed, the gauge at 0, the message shown, back to
// polling; it does not start again by itself.
void Transfer_Failed()
{
    Loader_Resume = false;
    Loader_Close_File();
    Call_Hook(Loader_Hooks.Transfer_End, false);
    Call_Hook(Protocol_Hooks.Show_Message, Message_Type::Language_Key,
              std::string(Loader_Transmit_Error_Key), Colour_Red);
    Send_Loader_Poll();
}

// A missed reply during a transfer: polling until the loader answers, then the transfer
// starts again from its first record. Set first, so the window says so with the lost link.
void Back_To_Polling()
{
    Loader_Resume = true;
    Loader_Disconnected();
    Send_Loader_Poll();
}

// The transfer after a missed reply, when the loader answers again: from the first record,
// the file opened (and checked) again when it was closed meanwhile.
void Resume_Transfer()
{
    if (!Loader_File_Open) {
        Firmware_Check Check;
        if (!Loader_Open_File(Check)) {
            // The transfer does not start again; polling goes on while the refusal is shown.
            Loader_Resume = false;
            Send_Loader_Poll();
            Call_Hook(Loader_Hooks.Transfer_End, false);
            Call_Hook(Loader_Hooks.File_Refused, Loader_File_Name, Check.Error_Key);
            return;
        }
    }
    Loader_Rewind_File();
    Send_Loader_Record_Head();
}

}  // namespace

// ---------------------------------------------------------------- the file

bool Firmware_Record_Head(uint8_t header, uint8_t file_type, int previous_count, uint8_t& kind,
                          int& data_count)
{
    if (header >= Short_Header_First) {
        kind = Record_Kind_Short;
        data_count = header & 0x0F;
        return true;
    }
    const uint8_t Kind = (header & 0x80) ? Record_Kind_Scrambled : Record_Kind_Plain;
    int L = header & 0x7F;
    if ((header & Chained_Length_Bits) == Chained_Length_Bits) {
        if (file_type == Firmware_Type_D)
            L = (header & 0x80) ? Chained_Length_D_Scrambled : Chained_Length_D_Plain;
        else if (previous_count < 0)
            return false;
        else
            L = previous_count;
    }
    kind = Kind;
    data_count = L + 2;
    return true;
}

Record_Status Read_Firmware_Record(const sys::Binary_File& file, int64_t position, int64_t size,
                                   uint8_t file_type, int previous_count, Firmware_Record& record)
{
    if (position < 0 || position >= size)
        return Record_Status::Ended;
    uint8_t Header = 0;
    const int64_t Got = file.Read_At(position, &Header, 1);
    if (Got < 0)
        return Record_Status::Read_Error;
    if (Got == 0)
        return Record_Status::Ended;
    uint8_t Kind = 0;
    int Count = 0;
    if (!Firmware_Record_Head(Header, file_type, previous_count, Kind, Count))
        return Record_Status::No_Length;
    Firmware_Record R;
    R.Header = Header;
    R.Kind = Kind;
    R.Data_Count = Count;
    if (R.Frame_Length() > Loader_Frame_Max)
        return Record_Status::Too_Long;
    if (size - position < R.File_Length())
        return Record_Status::Ended;
    // Scrambled: header, key, data. The others: header, data, sum.
    uint8_t Body[Firmware_Record_Data_Max + 1];
    const std::size_t Body_Length = static_cast<std::size_t>(Count) + 1;
    const int64_t Read = file.Read_At(position + 1, Body, Body_Length);
    if (Read < 0)
        return Record_Status::Read_Error;
    if (Read != static_cast<int64_t>(Body_Length))
        return Record_Status::Ended;
    if (Kind == Record_Kind_Scrambled) {
        R.Check_Byte = Body[0];
        std::copy(Body + 1, Body + Body_Length, R.Data);
    } else {
        std::copy(Body, Body + Count, R.Data);
        R.Check_Byte = Body[Count];
    }
    record = R;
    return Record_Status::Ok;
}

void Unscramble_Record(uint8_t key, uint8_t* data, std::size_t count)
{
    if (count == 0)
        return;
    const uint8_t M = (key & 0x7F) ? (key & 0x7F) : 0x7F;
    for (std::size_t I = 0; I < count; ++I)
        data[I] = static_cast<uint8_t>(data[I] - (M & (I + 3)));
    const int Turns = (key & 7) ? (key & 7) : 7;
    for (int T = 0; T < Turns; ++T) {
        // The whole string one bit to the right; the last bit comes round to the front.
        uint8_t Carry = static_cast<uint8_t>(data[count - 1] & 1);
        for (std::size_t I = 0; I < count; ++I) {
            const uint8_t Low = static_cast<uint8_t>(data[I] & 1);
            data[I] = static_cast<uint8_t>((data[I] >> 1) | (Carry << 7));
            Carry = Low;
        }
    }
}

int Firmware_Version_Code(const std::string& version)
{
    auto Digit = [&](std::size_t I) {
        return I < version.size() && version[I] >= '0' && version[I] <= '9' ? version[I] - '0' : 0;
    };
    return Digit(0) * 100 + Digit(2) * 10 + Digit(3);
}

Firmware_Check Check_Firmware_File(const std::string& path, uint8_t loader_type)
{
    Firmware_Check Check;
    Check.Error_Key = Loader_File_Error_Key;
    sys::Binary_File File;
    if (!File.Open(path))
        return Check;
    Check.Size = File.Size();
    uint8_t Type = 0;
    if (Check.Size < 1 || File.Read_At(0, &Type, 1) != 1)
        return Check;
    Check.Type = File_Type = Type;
    if (Type != loader_type) {
        Check.Error_Key = Compatible_File_Error_Key;
        return Check;
    }
    int64_t Position = 1;
    int Previous = -1;
    Firmware_Record R;
    while (Position < Check.Size) {
        if (Read_Firmware_Record(File, Position, Check.Size, Type, Previous, R) != Record_Status::Ok)
            return Check;
        if (!Record_Sum_Ok(R)) {
            Check.Error_Key = Compatible_File_Error_Key;
            return Check;
        }
        if (Is_Information_Record(R, Type)) {
            Check.Info.Present = true;
            Check.Info.Name = Text_At(R, Info_Name_At, Info_Name_Length);
            Check.Info.Date = Text_At(R, Info_Date_At, Info_Date_Length);
            Check.Info.Version = Text_At(R, Info_Version_At, Info_Version_Length);
            File_Version_Code = Firmware_Version_Code(Check.Info.Version);
        }
        ++Check.Records;
        Previous = R.Data_Count;
        Position += R.File_Length();
    }
    if (Check.Records == 0)
        return Check;
    Check.Ok = true;
    Check.Error_Key.clear();
    return Check;
}

// ---------------------------------------------------------------- frames

void Send_Loader_Poll()
{
    Frame_Length = 5;
    Reply_Length = Reply_Length_Poll;
    TX_Frame[0] = Mode_Loader;
    TX_Frame[1] = TX_Frame[2] = TX_Frame[3] = Loader_Poll_Command;
    Send_Frame();
}

void Send_Loader_Record_Head()
{
    if (!Loader_File_Open) {
        Send_Loader_Poll();
        return;
    }
    if (Loader_Progress >= Loader_Progress_Max) {
        // The whole file went out: nothing is left to start again after a later silence.
        Firmware_File.Close();
        Loader_File_Open = false;
        Loader_Resume = false;
        Call_Hook(Loader_Hooks.Transfer_End, true);
        Send_Loader_Poll();
        return;
    }
    Loader_Record_Start = Loader_Progress;
    Previous_Count = Loader_Data_Count;
    if (Read_Firmware_Record(Firmware_File, Loader_Record_Start, Loader_Progress_Max, File_Type,
                             Previous_Count, Current_Record) != Record_Status::Ok) {
        Transfer_Failed();
        return;
    }
    Loader_Record_Kind = Current_Record.Kind;
    Loader_Data_Count = Current_Record.Kind == Record_Kind_Short ? Current_Record.Data_Count
                                                                 : Current_Record.Data_Count - 2;
    ++Loader_Progress;
    Show_Progress();
    const uint8_t R = static_cast<uint8_t>(Random()() % Random_Bits_Limit);
    Reply_Length = Reply_Length_Ack;
    Frame_Length = 5;
    TX_Frame[0] = Mode_Loader;
    TX_Frame[1] = Loader_Head_Command;
    TX_Frame[2] = static_cast<uint8_t>(R | Current_Record.Kind);
    TX_Frame[3] = static_cast<uint8_t>(Current_Record.Frame_Length());
    Send_Frame();
}

void Send_Loader_Record_Data()
{
    const Firmware_Record& R = Current_Record;
    Reply_Length = Reply_Length_Ack;
    Loader_Data_Count = R.Data_Count;
    TX_Frame[0] = Mode_Loader;
    TX_Frame[1] = Loader_Data_Command;
    std::copy(R.Data, R.Data + R.Data_Count, TX_Frame + 2);
    if (R.Kind == Record_Kind_Scrambled)
        TX_Frame[2 + R.Data_Count] = R.Check_Byte;
    Frame_Length = static_cast<uint8_t>(R.Frame_Length());
    Loader_Progress += R.Data_Count + 1;
    Show_Progress();
    Send_Frame();
}

// ---------------------------------------------------------------- the dialogue

void Receiv_Loader_Data()
{
    Link_Timer_Sending.Enabled(false);
    Link_Timer_Connect.Enabled(false);
    // An Exit asked goes first: the technician leaves whatever else waits.
    if (Request_State.Take(Loader_Request_Exit, Request_Target::Loader)) {
        Request_State.Take(Loader_Request_Start, Request_Target::Loader);
        Loader_Exit_Normal();
    } else if (Request_State.Take(Loader_Request_Start, Request_Target::Loader)) {
        Send_Loader_Record_Head();
    } else {
        switch (Sent_Frame[1]) {
        case Loader_Poll_Command: {
            Loader_Version = RX_Frame[2];
            Loader_Type = RX_Frame[3];
            char Text[16];
            std::snprintf(Text, sizeof Text, "%d.%02d", Loader_Version / 100, Loader_Version % 100);
            Loader_Version_Text = Text;
            if (Loader_Connected) {
                Send_Loader_Poll();
            } else {
                Loader_Connected_Show();
                if (Loader_Resume)
                    Resume_Transfer();
                else
                    Send_Loader_Poll();
            }
            break;
        }
        case Loader_Head_Command:
            Send_Loader_Record_Data();
            break;
        case Loader_Data_Command:
            Send_Loader_Record_Head();
            break;
        default:
            break;
        }
    }
    Link_Timer_Connect.Enabled(true);
}

void Loader_Connected_Show()
{
    Loader_Connected = true;
    Call_Hook(Loader_Hooks.Connected_Show);
}

void Loader_Disconnected()
{
    Loader_Version_Text.clear();
    Loader_Version = 0;
    Loader_Connected = false;
    Call_Hook(Loader_Hooks.Disconnected_Show);
}

void Loader_Exit_Normal()
{
    Request_State.Take(Loader_Request_Exit, Request_Target::Loader);
    Request_State.Take(Loader_Request_Start, Request_Target::Loader);
    Loader_Connected = false;
    Loader_Mode = false;
    if (Port_Open) {
        Frame_Length = 5;
        Script_Connect();
    }
    Call_Hook(Loader_Hooks.Exit);
}

bool Loader_Open_File(Firmware_Check& check)
{
    check = Check_Firmware_File(Loader_File_Name, Loader_Type);
    if (!check.Ok)
        return false;
    Loader_Close_File();
    if (!Firmware_File.Open(Loader_File_Name)) {
        check.Ok = false;
        check.Error_Key = Loader_File_Error_Key;
        return false;
    }
    Loader_File_Open = true;
    File_Type = check.Type;
    Loader_Progress_Max = check.Size;
    Loader_Progress = 0;
    return true;
}

void Loader_Rewind_File()
{
    Loader_Progress = 1;   // the type byte
    Loader_Record_Start = 1;
    Loader_Data_Count = -1;
    Previous_Count = -1;
    Show_Progress();
}

void Loader_Close_File()
{
    Firmware_File.Close();
    Loader_File_Open = false;
    Loader_Progress = 0;
    Show_Progress();
}

bool Loader_Reply_Timeout()
{
    switch (Sent_Frame[1]) {
    case Loader_Poll_Command:
        return true;
    case Loader_Head_Command:
        if (Loader_Resume)
            return true;
        Back_To_Polling();
        return false;
    case Loader_Data_Command:
        if (!Loader_Resume) {
            Back_To_Polling();
            return false;
        }
        // The whole record again: the gauge and the file back to its header.
        Loader_Progress = Loader_Record_Start;
        Loader_Data_Count = Previous_Count;
        Show_Progress();
        Send_Loader_Record_Head();
        return false;
    default:
        return false;
    }
}

void Loader_Watchdog()
{
    // An Exit the silent boot loader never took up is done now, as an Exit without a link.
    if (Request_State.Take(Loader_Request_Exit, Request_Target::Loader)) {
        Request_State.Take(Loader_Request_Start, Request_Target::Loader);
        Loader_Exit_Normal();
        return;
    }
    // A start not yet taken up goes with the file closed below (or the transfer resumes).
    Request_State.Take(Loader_Request_Start, Request_Target::Loader);
    if (Loader_Connected)
        Loader_Disconnected();
    Send_Loader_Poll();
    if (Sent_Frame[0] == Mode_Loader && Loader_File_Open) {
        // The boot loader stayed silent past the watchdog: the file is closed. After a missed
        // reply the transfer still starts again (the file opened and checked anew) when the
        // loader answers; otherwise it is given up, and the window says the controller holds
        // only part of the program.
        Loader_Close_File();
        if (!Loader_Resume)
            Call_Hook(Loader_Hooks.Transfer_End, false);
    }
}

bool Loader_Transfer_Running()
{
    return Loader_File_Open || Loader_Resume;
}

void Loader_Restart_Polling()
{
    Request_State.Take(Loader_Request_Start, Request_Target::Loader);
    if (Loader_File_Open) {
        Loader_Close_File();
        Call_Hook(Loader_Hooks.Transfer_End, false);
    }
    Loader_Resume = false;
    Loader_Disconnected();
    Send_Loader_Poll();
}

void Loader_Reset()
{
    Firmware_File.Close();
    Loader_Window_Active = Loader_Mode = Loader_Connected = Loader_Resume = false;
    Loader_File_Open = false;
    Loader_Prompt_State = 0;
    Loader_Record_Start = 0;
    Loader_Record_Kind = 0;
    Loader_Data_Count = -1;
    Previous_Count = -1;
    Current_Record = Firmware_Record{};
    Loader_Version_Text.clear();
    Loader_Version = Loader_Type = File_Type = 0;
    File_Version_Code = 0;
    Loader_File_Name.clear();
    Loader_Progress = Loader_Progress_Max = 0;
    Loader_Hooks = Loader_Hooks_Class{};
}
