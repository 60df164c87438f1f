// What the technician asked of the controller and what the dialogue does now: the waiting
// requests (each with what it needs, a Save or Load its file), the kind of the running
// script, and what is pending for the car file. One instance (Request_State) serves the
// program; a test may construct its own. User-interface thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What a script is, said where it is loaded. A read, a write, the loader entry and the
// connect script (which reads every block) are never cut by a request: it waits for the
// main poll's check point.
enum class Script_Kind : uint8_t { None, Poll, Connect, Read, Write, Loader, Other };

// A file chosen by Save or Load: its folder and name, and for a load the whole path it
// reads (a history copy is read from where it lies, and saved later to its car's file).
struct CFG_File_Choice {
    std::string Path, Name, Load_Path;
    bool operator==(const CFG_File_Choice&) const = default;
};

// Who serves a request: the script sequencer, or the firmware loader's dialogue (whose
// codes share values with parameter letters).
enum class Request_Target : uint8_t { Sequencer, Loader };

struct Request_Entry {
    uint8_t Code = 0;
    Request_Target Target = Request_Target::Sequencer;
    CFG_File_Choice File;   // a Save or a Load: the file it writes or reads
};

class Request_State_Class {
public:
    // Asks for a request (a code of protocol/Request_Codes.h, a parameter letter 'A'..'t',
    // or a loader code with Target Loader). A sequencer request with nothing waiting becomes
    // Current_Code at once; otherwise it waits behind, in the order asked. The same code
    // asked again while it waits stays one request (a Save or Load only for the same file:
    // each file action keeps its own file); a forcing or control request (6, 7, 8) takes
    // the place of a waiting one, only the injectors' latest state counts; the car number's
    // write (17) takes the place of a waiting whole configuration's (2), which it ends
    // with. Returns false, asking nothing, for code 0 and when Max_Waiting wait already.
    bool Ask(uint8_t code, Request_Target target = Request_Target::Sequencer, const CFG_File_Choice& file = {});
    // Whether a request waits (current or behind it).
    bool Waiting(uint8_t code, Request_Target target = Request_Target::Sequencer) const;
    // The main poll's check point with nothing current: the oldest waiting sequencer
    // request becomes current (Current_Code, Current_File).
    void Next();
    // Takes a waiting request of `target` away to serve it; false when none waits.
    bool Take(uint8_t code, Request_Target target);
    // Takes every waiting sequencer request away, the current first, then the others in
    // the order asked. The loader's requests stay: the loader serves or drops its own.
    std::vector<Request_Entry> Drop();
    // A write runs, or a sequencer request that starts one waits.
    bool Write_In_Progress() const;
    // A link loss: what belonged to that controller is forgotten (its car number, the
    // pending automatic save); the running script is gone.
    void Link_Lost();
    void Reset() { *this = Request_State_Class{}; }

    static constexpr std::size_t Max_Waiting = 64;

    uint8_t Current_Code = 0;        // the sequencer's current request, 0 = none
    CFG_File_Choice Current_File;    // ... a Save's or Load's file
    Script_Kind Running_Kind = Script_Kind::None;
    uint8_t Running_Request = 0;     // the request the running script serves, 0 = none (a poll, the connect)
    bool Car_Save_Pending = false;   // the car file is to take what the controller holds
    bool Car_Number_Read = false;    // the controller's car number was read in this connection

private:
    std::vector<Request_Entry> Queue;   // behind Current_Code, in the order asked
};

extern Request_State_Class Request_State;

// Whether a request code starts a write to the controller.
bool Request_Starts_Write(uint8_t code);
