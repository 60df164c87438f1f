#include "protocol/Write_Lists.h"

#include <algorithm>
#include <cstring>

#include "data/Conversions.h"
#include "data/Settings.h"
#include "language/Language.h"
#include "protocol/Frames.h"
#include "protocol/Ident.h"
#include "protocol/Param_Codecs.h"
#include "protocol/Protocol_Hooks.h"
#include "protocol/Script.h"
#include "protocol/Status_Queue.h"
#include "protocol/Request_Codes.h"

Block_List_Class Block_List;
uint8_t Transmit_Now_Code = 0;
uint8_t Work_Script_Select = 0;

namespace {

constexpr uint8_t Identity_Letter = 'A';
constexpr uint8_t First_Letter = 'A';
constexpr uint8_t Last_Letter = 't';
constexpr uint8_t Last_Letter_Without_VAC = 'r';
constexpr uint8_t First_Sub_Block = 0x81;
constexpr uint8_t Last_Sub_Block = 0x86;
constexpr std::size_t Sub_Block_Bytes = 54;
constexpr std::size_t Letter_Bytes = 2;
constexpr std::size_t Pack_Buffer_Size = 260;
constexpr std::size_t Packed_Max = 255;   // the packed length is counted in one byte

std::vector<uint8_t> Marked;

bool Is_Letter(uint8_t code) { return code >= First_Letter && code <= Last_Letter; }
bool Is_Sub_Block(uint8_t code) { return code >= First_Sub_Block && code <= Last_Sub_Block; }

// Letters whose value travels through the temperature table.
bool Is_Temperature_Letter(uint8_t code) { return code == 'I' || code == 'R' || code == 'Y' || code == 'g'; }

// Dependants sent with an edited letter (the letter itself first, 'A' last).
std::vector<uint8_t> Dependants_Of(uint8_t letter)
{
    static const std::vector<std::pair<uint8_t, std::vector<uint8_t>>> Table{
        {'C', {'C', 'g', 'A'}},
        {'F', {'F', 'H', 'A'}},
        {'H', {'H', 'Z', '[', '\\', 'A'}},
        {'I', {'I', 'R', 'A'}},
        {'J', {'J', 'P', 'A'}},
        {'M', {'M', 'N', 'A'}},
        {'P', {'P', 'J', 'A'}},
        {'R', {'R', 'I', 'A'}},
        {'S', {'S', 'T', 'U', 'V', 'W', 'X', 'A'}},
        {'V', {'V', 'U', 'A'}},
        {'W', {'W', 'X', 'A'}},
        {'X', {'X', 'W', 'A'}},
        {']', {']', '_', '`', 'a', 'b', 'c', '^', 'A'}},
        {'d', {'d', 'e', 'f', 'A'}},
        {'g', {'g', 'h', 'i', 'A'}},
        {'j', {'j', 'k', 'A'}},
    };
    for (const auto& row : Table)
        if (row.first == letter)
            return row.second;
    return {letter, Identity_Letter};
}

// The letters of the coming changed-list send: the marked ones, and the requested
// letter when it is not among them.
std::vector<uint8_t> Letters_To_Send(uint8_t request)
{
    std::vector<uint8_t> letters = Marked;
    if (Is_Letter(request) && std::find(letters.begin(), letters.end(), request) == letters.end())
        letters.push_back(request);
    return letters;
}

// The merged list of several letters: each letter's list without its closing 'A', codes
// already taken skipped, then one 'A'.
std::vector<uint8_t> Merged_List(const std::vector<uint8_t>& letters)
{
    std::vector<uint8_t> list;
    for (uint8_t letter : letters) {
        const std::vector<uint8_t> own = Changed_List_Of(letter);
        for (std::size_t i = 0; i + 1 < own.size(); ++i)
            if (std::find(list.begin(), list.end(), own[i]) == list.end())
                list.push_back(own[i]);
    }
    if (!list.empty())
        list.push_back(Identity_Letter);
    return list;
}

bool Holds_Temperature(const std::vector<uint8_t>& codes)
{
    return std::any_of(codes.begin(), codes.end(), Is_Temperature_Letter);
}

// The temperature table can be read now; its loss is reported once by the table's code.
bool Temperature_Table_Usable()
{
    Byte_Pair ignored;
    return Temperature_To_Bytes(0, ignored);
}

}  // namespace

void Add_Block_Code(uint8_t code)
{
    if (Block_List.Count >= Block_List_Room)
        return;
    ++Block_List.Count;
    Block_List.Code[Block_List.Count] = code;
}

int Build_Full_List()
{
    Block_List.Count = 0;
    const uint8_t last = Has_VAC() ? Last_Letter : Last_Letter_Without_VAC;
    for (int code = First_Letter; code <= last; ++code)
        Add_Block_Code(static_cast<uint8_t>(code));
    return Block_List.Count;
}

int Build_CLB_List_1()
{
    Block_List.Count = 0;
    Add_Block_Code(0x81);
    Add_Block_Code(0x82);
    Add_Block_Code(Identity_Letter);
    return Block_List.Count;
}

int Build_CLB_List_2()
{
    Block_List.Count = 0;
    Add_Block_Code(0x83);
    Add_Block_Code(0x84);
    Add_Block_Code(0x85);
    if (Has_VAC())
        Add_Block_Code(0x86);
    Add_Block_Code(Identity_Letter);
    return Block_List.Count;
}

std::vector<uint8_t> Changed_List_Of(uint8_t letter)
{
    if (!Is_Letter(letter))
        return {};
    return Dependants_Of(letter);
}

int Build_Changed_List()
{
    const std::vector<uint8_t> letters = Letters_To_Send(Request_Code);
    // One letter sends its own list exactly (for 'A': A, A); several are merged.
    const std::vector<uint8_t> list = letters.size() == 1 ? Changed_List_Of(letters[0]) : Merged_List(letters);
    Block_List.Count = 0;
    for (uint8_t code : list)
        Add_Block_Code(code);
    Marked.clear();
    return Block_List.Count;
}

void Pack_Block_List()
{
    uint8_t packed[Pack_Buffer_Size];
    std::size_t n = 0;
    for (int i = 1; i <= Block_List.Count; ++i) {
        const uint8_t code = Block_List.Code[i];
        const std::size_t data = Is_Sub_Block(code) ? Sub_Block_Bytes : Letter_Bytes;
        if (n + 1 + data > Packed_Max)
            break;
        // A code without an encoder packs zeros, never the bytes of the code before it.
        std::memset(TX_Frame + 2, 0, data);
        Set_CFG_Parameter(code);
        // The encoder armed a single frame of its own: it is never sent.
        Link_Timer_Sending.Enabled(false);
        Frame_Pending = false;
        packed[n++] = code;
        std::memcpy(packed + n, TX_Frame + 2, data);
        n += data;
    }
    std::memcpy(TX_Frame + 2, packed, n);
}

void CFG_Letter_Mark(uint8_t letter)
{
    if (!Is_Letter(letter))
        return;
    Transmit_Now_Code = letter;
    if (std::find(Marked.begin(), Marked.end(), letter) == Marked.end())
        Marked.push_back(letter);
}

const std::vector<uint8_t>& CFG_Marked_Letters() { return Marked; }

void CFG_Marks_Clear() { Marked.clear(); }

void Enable_CFG_Param_Marked(bool enabled)
{
    for (uint8_t letter : Marked)
        Enable_CFG_Param_Control(letter, enabled);
}

void Select_Work_Script()
{
    switch (Work_Script_Select) {
    case Request_Write_All: Script_Write_All(); break;
    case Request_Write_CLB_First: Script_Write_CLB_First(); break;
    default: Script_Main_Poll(); break;
    }
    // The sequencer's advance lands on cell 1.
    Script_PC = 0;
}

void Show_Transmission_Status()
{
    // Taking the text out shows what else is queued, or hides the line when nothing is.
    Remove_Status_Message(Language_Text(Transmission_Text_Key));
}

bool Write_Request_Refused(uint8_t request)
{
    bool temperatures = false;
    if (request == Request_Write_All || request == Request_Write_Car)
        temperatures = true;   // the full list carries all four
    else if (request == Request_Write_CLB_First)
        temperatures = Settings.Save_Load_Data;   // the configuration follows the curves
    else if (Is_Letter(request))
        temperatures = Holds_Temperature(Merged_List(Letters_To_Send(request)));
    if (!temperatures || Temperature_Table_Usable())
        return false;
    Marked.clear();
    return true;
}

void Write_Lists_Reset()
{
    Block_List = Block_List_Class{};
    Marked.clear();
    Transmit_Now_Code = 0;
    Work_Script_Select = 0;
}
