#include "protocol/Frames.h"

#include <algorithm>
#include <cstring>

#include "data/Call_Hook.h"
#include "data/Configuration.h"
#include "data/Globals.h"
#include "data/Settings.h"
#include "protocol/Request_State.h"
#include "protocol/Status_Queue.h"
#include "language/Language.h"
#include "protocol/Protocol_Hooks.h"
#include "protocol/Script.h"

uint8_t TX_Frame[Frame_Buffer_Size];
uint8_t Sent_Frame[Frame_Buffer_Size];
uint8_t RX_Frame[Frame_Buffer_Size];
uint8_t Frame_Length = 5;
uint16_t Reply_Length = 3;
uint8_t Write_Frame_Length = 0;
bool Frame_Pending = false;
bool& New_Frame = Request_State.Car_Save_Pending;
uint8_t Len_Current_Data = 0;
uint8_t Len_Configuration = 0;
uint8_t Len_Calibration_1 = 0;
uint8_t Len_Calibration_2 = 0;

uint8_t RPM_Tab_Image[RPM_Tab_Image_Size];
uint16_t RPM_Tab_Position = 0;
uint16_t RPM_Tab_Image_Length = 0;
uint8_t RPM_Tab_Cols = 13;
uint8_t RPM_Tab_Rows = 24;
uint8_t Probe_Count = 0;
Password_Block Password_Write_Block = [] {
    Password_Block Block;
    Block.fill(Password_Pad);
    return Block;
}();

namespace {

constexpr uint16_t Max_Chunk = 64;
constexpr uint16_t Min_Reply_Length = 3;

// Bytes of the table image not yet transferred.
uint16_t Image_Remaining()
{
    uint16_t length = std::min<uint16_t>(RPM_Tab_Image_Length, RPM_Tab_Image_Size);
    return RPM_Tab_Position < length ? static_cast<uint16_t>(length - RPM_Tab_Position) : 0;
}

// Length of a list write of `count` codes: 3 bytes each, header and sum.
uint8_t List_Write_Length(int count)
{
    int n = 3 * std::max(count, 0) + 3;
    return static_cast<uint8_t>(std::min(n, 255));
}

// Length of a calibration write: 55 bytes per sub-block, the closing 'A' entry 3 bytes.
uint8_t CLB_Write_Length(int count)
{
    int n = 55 * count - 49;
    return static_cast<uint8_t>(std::clamp(n, 3, 255));
}

void Queue_Transmission_Text()
{
    Add_Status_Message(clAqua, Language_Text(Transmission_Text_Key));
}

}  // namespace

uint8_t Frame_Sum(const uint8_t* bytes, std::size_t length)
{
    uint8_t s = 0;
    for (std::size_t i = 0; i + 1 < length; ++i)
        s = static_cast<uint8_t>(s + bytes[i]);
    return s;
}

void Send_Frame()
{
    Script_Pause = true;
    Link_Timer_Sending.Enabled(false);
    if (Frame_Length >= 2)
        TX_Frame[Frame_Length - 1] = Frame_Sum(TX_Frame, Frame_Length);
    if (Reply_Length < Min_Reply_Length || Reply_Length > Frame_Buffer_Size) {
        // No reply of this length can be valid: the frame is not armed, the send timer's
        // time-out path takes over as for a reply that never came.
        Frame_Pending = false;
        Link_Timer_Sending.Interval(1500);
        Link_Timer_Sending.Enabled(true);
        return;
    }
    int32_t delay = Settings.Reply_Delay;
    Link_Timer_Sending.Interval(static_cast<uint32_t>(delay > 0 ? delay : 1));
    Link_Timer_Sending.Enabled(true);
    Frame_Pending = true;
}

void Begin_Frame(uint8_t command)
{
    Reply_Length = 3;
    Frame_Length = 5;
    New_Frame = true;
    TX_Frame[0] = Sent_Frame[0];
    TX_Frame[1] = command;
}

void Send_Read_Frame(uint8_t command)
{
    // A read request is always five bytes, whatever frame was built before it.
    Frame_Length = 5;
    TX_Frame[0] = Sent_Frame[0];
    TX_Frame[1] = TX_Frame[2] = TX_Frame[3] = command;
    Send_Frame();
}

namespace {

// A five-byte request for `count` data bytes: the count stands in both data bytes and the
// reply is the count and three bytes of frame.
void Send_Count_Request(uint8_t command, uint8_t count)
{
    Frame_Length = 5;
    Reply_Length = static_cast<uint16_t>(count + 3);
    TX_Frame[0] = Sent_Frame[0];
    TX_Frame[1] = command;
    TX_Frame[2] = TX_Frame[3] = count;
    Send_Frame();
}

// A new five-byte frame with its two data bytes, answered by the three-byte reply.
void Send_Data_Frame(uint8_t command, uint8_t first, uint8_t second)
{
    Begin_Frame(command);
    TX_Frame[2] = first;
    TX_Frame[3] = second;
    Send_Frame();
}

}  // namespace

bool Reply_Valid(std::size_t received)
{
    if (Reply_Length < Min_Reply_Length || Reply_Length > Frame_Buffer_Size)
        return false;
    if (received != Reply_Length)
        return false;
    return RX_Frame[0] == Sent_Frame[0] && RX_Frame[1] == Sent_Frame[1] &&
           RX_Frame[received - 1] == Frame_Sum(RX_Frame, received);
}

int Timeout_Step_Back(uint8_t mode, uint8_t command)
{
    if (mode != Mode_Controller)
        return 0;
    if (command == 0x25)
        return 1;
    if (command == 0x2F || command == 0x30)
        return 2;
    return 0;
}

std::string Watchdog_Message_Key(uint8_t mode, uint8_t command)
{
    if (mode != Mode_Controller)
        return {};
    switch (command) {
    case 0x23: case 0x24: case 0x2F: case 0x30: case 0x34: case 0x35:
        return "Error_CFG_Transmitt";
    case 0x25:
        return "Error_Data_Transmitt";
    case 0x27: case 0x2D:
        return "Error_CFG_Receiv";
    case 0x28:
        return "Error_CLB_Receiv";
    default:
        if (command >= 0x41 && command <= 0x74)
            return "Error_CFG_Transmitt";
        return {};
    }
}

void Send_Connect()
{
    if (Call_Hook(Protocol_Hooks.Port_Search_On)) {
        if (Probe_Count >= 2) {
            Call_Hook(Protocol_Hooks.Open_Next_Port);
            Probe_Count = 0;
        } else {
            ++Probe_Count;
        }
    }
    Frame_Length = 5;
    Reply_Length = 4;
    TX_Frame[0] = Mode_Controller;
    TX_Frame[1] = TX_Frame[2] = TX_Frame[3] = 0x21;
    Send_Frame();
}

void Send_Ident_Request()
{
    // N of the probe reply; at most 255, so the reply (N + 3) fits the buffers.
    Reply_Length = static_cast<uint16_t>(RX_Frame[2] + 3);
    Send_Read_Frame(0x22);
}

void Send_Read_Block_26()
{
    Reply_Length = static_cast<uint16_t>(Len_Current_Data + 3);
    Send_Read_Frame(0x26);
    if (New_Frame && Call_Hook(Protocol_Hooks.Car_File_Auto_Save_Due) &&
        !Call_Hook(Protocol_Hooks.Auto_Save_Held) && Protocol_Hooks.Save_CFG_File)
        Protocol_Hooks.Save_CFG_File();
}

void Send_Read_Block_27()
{
    Reply_Length = static_cast<uint16_t>(Len_Configuration + 3);
    // What the controller holds is read whole (the car number and the table go with it in
    // the same script): the car file is to keep it.
    New_Frame = true;
    Send_Read_Frame(0x27);
}

void Send_Read_Block_28()
{
    Reply_Length = static_cast<uint16_t>(Len_Calibration_1 + 3);
    Send_Read_Frame(0x28);
}

void Send_Read_Block_29()
{
    Reply_Length = static_cast<uint16_t>(Len_Calibration_2 + 3);
    Send_Read_Frame(0x29);
}

void Send_RPM_Tab_Size_Request()
{
    // A read of the table alone marks nothing: the detonation correction's watch reads it
    // every cycle, and only a table that came back changed is for the car file.
    Reply_Length = 5;
    Frame_Length = 5;
    Send_Read_Frame(0x2A);
}

void Send_RPM_Tab_Chunk_Request()
{
    Send_Count_Request(0x2B, static_cast<uint8_t>(std::min(Image_Remaining(), Max_Chunk)));
}

void Send_Password_Request()
{
    Send_Count_Request(0x2C, 0x40);
}

void Send_Car_Num_Request()
{
    Send_Count_Request(0x2D, 0x08);
}

void Send_Service_Timer_Request()
{
    Reply_Length = 9;
    Frame_Length = 5;
    Send_Read_Frame(0x2E);
}

void Send_Gas_Fors()
{
    auto down = [](int k) {
        if (!Protocol_Hooks.Gas_Fors_Down || !Protocol_Hooks.Gas_Fors_Down(k))
            return false;
        return k == 1 || Configuration.GI_Num >= k;
    };
    uint8_t b2 = 0x04, b3 = 0x04;
    if (down(5)) b2 |= 0x10;
    if (down(6)) b2 |= 0x20;
    if (down(1)) b3 |= 0x10;
    if (down(2)) b3 |= 0x20;
    if (down(3)) b3 |= 0x40;
    if (down(4)) b3 |= 0x80;
    Send_Data_Frame(0x23, b2, b3);
}

void Send_Work_Mode()
{
    uint8_t next;
    switch (Work_Mode) {
    case 1: next = 2; break;
    case 2: next = 4; break;
    case 4: next = 1; break;
    default: next = 2; break;   // unknown: as from petrol, to automatic
    }
    Send_Data_Frame(0x23, 0, next);
}

void Send_Control_0_1()
{
    Send_Data_Frame(0x23, 0, 1);
}

void Send_Control_0_2()
{
    Send_Data_Frame(0x23, 0, 2);
}

void Send_Error_Control()
{
    Send_Data_Frame(0x24, static_cast<uint8_t>(Error_Control_Word >> 8),
                    static_cast<uint8_t>(Error_Control_Word & 0xFF));
}

void Send_Write_Announce()
{
    Queue_Transmission_Text();
    Send_Data_Frame(0x25, 0x25, Write_Frame_Length);
}

void Prepare_CFG_Write()
{
    int count = Call_Hook(Protocol_Hooks.Build_Full_List);
    Write_Frame_Length = List_Write_Length(count);
}

void Prepare_CLB_Write_1()
{
    int count = Protocol_Hooks.Build_CLB_List_1 ? Protocol_Hooks.Build_CLB_List_1() : 0;
    Write_Frame_Length = CLB_Write_Length(count);
}

void Prepare_CLB_Write_2()
{
    int count = Protocol_Hooks.Build_CLB_List_2 ? Protocol_Hooks.Build_CLB_List_2() : 0;
    Write_Frame_Length = CLB_Write_Length(count);
}

void Set_Write_Length_RPM_Chunk()
{
    uint16_t left = Image_Remaining();
    Write_Frame_Length = left < Max_Chunk ? static_cast<uint8_t>(left + 3) : 67;
}

void Set_Write_Length_Password()
{
    Write_Frame_Length = 67;
}

void Set_Write_Length_Car_Num()
{
    Write_Frame_Length = 11;
}

namespace {

void Send_List_Frame(uint8_t command)
{
    Call_Hook(Protocol_Hooks.Pack_Block_List);
    Reply_Length = 3;
    Frame_Length = Write_Frame_Length;
    TX_Frame[0] = Sent_Frame[0];
    TX_Frame[1] = command;
    Send_Frame();
}

}  // namespace

void Send_CFG_List()
{
    Send_List_Frame(0x2F);
}

void Send_CLB_Block_1()
{
    Call_Hook(Protocol_Hooks.Calc_CLB_K_Gas_RPM);
    Send_List_Frame(0x30);
}

void Send_CLB_Block_2()
{
    Call_Hook(Protocol_Hooks.Calc_CLB_K_TPS_VAC);
    Send_List_Frame(0x31);
}

void Send_RPM_Tab_Size()
{
    RPM_Tab_Position = 0;
    Send_Data_Frame(0x32, RPM_Tab_Cols, RPM_Tab_Rows);
}

void Send_RPM_Tab_Chunk()
{
    // The next image bytes into the frame's data, as many as the announced length holds.
    uint16_t room = Write_Frame_Length > 3 ? static_cast<uint16_t>(Write_Frame_Length - 3) : 0;
    uint16_t n = std::min(room, Image_Remaining());
    std::memcpy(TX_Frame + 2, RPM_Tab_Image + RPM_Tab_Position, n);
    std::memset(TX_Frame + 2 + n, 0, room - n);
    RPM_Tab_Position = static_cast<uint16_t>(RPM_Tab_Position + n);
    TX_Frame[0] = Sent_Frame[0];
    Reply_Length = 3;
    Frame_Length = Write_Frame_Length;
    TX_Frame[1] = 0x33;
    Send_Frame();
}

void Send_Password()
{
    Reply_Length = 3;
    Frame_Length = Write_Frame_Length;
    TX_Frame[0] = Sent_Frame[0];
    TX_Frame[1] = 0x34;
    std::memcpy(TX_Frame + 2, Password_Write_Block.data(), Password_Write_Block.size());
    Send_Frame();
}

void Send_Car_Num()
{
    const std::string& car = Configuration.Car_Number;
    Reply_Length = 3;
    Frame_Length = Write_Frame_Length;
    TX_Frame[0] = Sent_Frame[0];
    TX_Frame[1] = 0x35;
    for (std::size_t i = 0; i < 8; ++i)
        TX_Frame[2 + i] = i < car.size() ? static_cast<uint8_t>(car[i]) : 0xFF;
    Send_Frame();
}

void Send_Service_Time()
{
    uint32_t hours = static_cast<uint32_t>(Configuration.Service_Time);
    uint32_t minutes = hours * 60;
    Reply_Length = 3;
    Frame_Length = Write_Frame_Length;
    TX_Frame[0] = Sent_Frame[0];
    TX_Frame[1] = 0x36;
    TX_Frame[2] = static_cast<uint8_t>(hours >> 8);
    TX_Frame[3] = static_cast<uint8_t>(hours);
    TX_Frame[4] = static_cast<uint8_t>(minutes >> 24);
    TX_Frame[5] = static_cast<uint8_t>(minutes >> 16);
    TX_Frame[6] = static_cast<uint8_t>(minutes >> 8);
    TX_Frame[7] = static_cast<uint8_t>(minutes);
    Send_Frame();
    Remove_Status_Message(Language_Text(Transmission_Text_Key));
}

uint16_t RPM_Tab_Length_Of(uint8_t cols, uint8_t rows)
{
    return static_cast<uint16_t>(cols * rows + 2 * cols + rows);
}

void RPM_Tab_Transfer_Start()
{
    RPM_Tab_Image_Length =
        std::min<uint16_t>(RPM_Tab_Length_Of(RPM_Tab_Cols, RPM_Tab_Rows), RPM_Tab_Image_Size);
    RPM_Tab_Position = 0;
}

void RPM_Tab_Frame_To_Image()
{
    if (Reply_Length < 3 || Reply_Length > Frame_Buffer_Size)
        return;
    std::size_t n = Reply_Length - 3u;
    std::size_t room = RPM_Tab_Position < RPM_Tab_Image_Size ? RPM_Tab_Image_Size - RPM_Tab_Position : 0;
    std::size_t copy = std::min(n, room);
    std::memcpy(RPM_Tab_Image + RPM_Tab_Position, RX_Frame + 2, copy);
    // The position advances by what the reply carried, so a transfer always ends.
    RPM_Tab_Position = static_cast<uint16_t>(std::min<std::size_t>(RPM_Tab_Position + n, 0xFFFF));
}

bool RPM_Tab_Transfer_Done()
{
    return RPM_Tab_Position >= RPM_Tab_Image_Length;
}

void Frames_Reset()
{
    std::memset(TX_Frame, 0, sizeof TX_Frame);
    std::memset(Sent_Frame, 0, sizeof Sent_Frame);
    std::memset(RX_Frame, 0, sizeof RX_Frame);
    std::memset(RPM_Tab_Image, 0, sizeof RPM_Tab_Image);
    Frame_Length = 5;
    Reply_Length = 3;
    Write_Frame_Length = 0;
    Frame_Pending = false;
    New_Frame = false;
    Len_Current_Data = Len_Configuration = Len_Calibration_1 = Len_Calibration_2 = 0;
    RPM_Tab_Position = 0;
    RPM_Tab_Image_Length = 0;
    RPM_Tab_Cols = 13;
    RPM_Tab_Rows = 24;
    Probe_Count = 0;
    Password_Write_Block.fill(Password_Pad);
}
