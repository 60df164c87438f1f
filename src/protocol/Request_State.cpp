#include "protocol/Request_State.h"

#include <algorithm>

#include "protocol/Request_Codes.h"

Request_State_Class Request_State;

namespace {

bool Is_Injector_Request(uint8_t code)
{
    return code == Request_Gas_Fors || code == Request_Control_0_1 || code == Request_Control_0_2;
}

bool Is_File_Request(uint8_t code)
{
    return code == Request_Save || code == Request_Load;
}

// Whether a request asked while `waiting` waits takes its place.
bool Same_Request(const Request_Entry& waiting, const Request_Entry& asked)
{
    if (waiting.Target != asked.Target)
        return false;
    if (asked.Target == Request_Target::Loader)
        return waiting.Code == asked.Code;
    if (Is_File_Request(asked.Code))
        return waiting.Code == asked.Code && waiting.File == asked.File;
    return waiting.Code == asked.Code || (Is_Injector_Request(waiting.Code) && Is_Injector_Request(asked.Code)) ||
           (waiting.Code == Request_Write_All && asked.Code == Request_Write_Car);
}

bool For_Sequencer(const Request_Entry& E)
{
    return E.Target == Request_Target::Sequencer;
}

}  // namespace

bool Request_Starts_Write(uint8_t code)
{
    switch (code) {
    case Request_Write_All: case Request_Write_CLB_First: case Request_Write_Car:
    case Request_Write_RPM_Tab: case Request_Service_Time_Write:
        return true;
    default:
        return code >= 'A' && code <= 't';
    }
}

bool Request_State_Class::Ask(uint8_t code, Request_Target target, const CFG_File_Choice& file)
{
    if (code == 0)
        return false;
    const Request_Entry Asked{code, target, Is_File_Request(code) ? file : CFG_File_Choice{}};
    if (target == Request_Target::Sequencer && Current_Code != 0 &&
        Same_Request({Current_Code, Request_Target::Sequencer, Current_File}, Asked)) {
        Current_Code = code;
        return true;
    }
    for (Request_Entry& E : Queue) {
        if (Same_Request(E, Asked)) {
            E = Asked;
            return true;
        }
    }
    if (target == Request_Target::Sequencer && Current_Code == 0 &&
        std::none_of(Queue.begin(), Queue.end(), For_Sequencer)) {
        Current_Code = code;
        Current_File = Asked.File;
        return true;
    }
    if (Queue.size() >= Max_Waiting)
        return false;
    Queue.push_back(Asked);
    return true;
}

bool Request_State_Class::Waiting(uint8_t code, Request_Target target) const
{
    if (code == 0)
        return false;
    if (target == Request_Target::Sequencer && Current_Code == code)
        return true;
    return std::any_of(Queue.begin(), Queue.end(),
                       [&](const Request_Entry& E) { return E.Code == code && E.Target == target; });
}

void Request_State_Class::Next()
{
    if (Current_Code != 0)
        return;
    const auto First = std::find_if(Queue.begin(), Queue.end(), For_Sequencer);
    if (First == Queue.end())
        return;
    Current_Code = First->Code;
    Current_File = First->File;
    Queue.erase(First);
}

bool Request_State_Class::Take(uint8_t code, Request_Target target)
{
    if (code == 0)
        return false;
    if (target == Request_Target::Sequencer && Current_Code == code) {
        Current_Code = 0;
        Current_File = {};
        return true;
    }
    const auto Found = std::find_if(Queue.begin(), Queue.end(), [&](const Request_Entry& E) {
        return E.Code == code && E.Target == target;
    });
    if (Found == Queue.end())
        return false;
    Queue.erase(Found);
    return true;
}

std::vector<Request_Entry> Request_State_Class::Drop()
{
    std::vector<Request_Entry> Dropped;
    if (Current_Code != 0)
        Dropped.push_back({Current_Code, Request_Target::Sequencer, Current_File});
    Current_Code = 0;
    Current_File = {};
    for (const Request_Entry& E : Queue)
        if (For_Sequencer(E))
            Dropped.push_back(E);
    std::erase_if(Queue, For_Sequencer);
    return Dropped;
}

bool Request_State_Class::Write_In_Progress() const
{
    return Running_Kind == Script_Kind::Write || Request_Starts_Write(Current_Code) ||
           std::any_of(Queue.begin(), Queue.end(),
                       [](const Request_Entry& E) { return For_Sequencer(E) && Request_Starts_Write(E.Code); });
}

void Request_State_Class::Link_Lost()
{
    Running_Kind = Script_Kind::None;
    Running_Request = 0;
    Car_Save_Pending = false;
    Car_Number_Read = false;
}
