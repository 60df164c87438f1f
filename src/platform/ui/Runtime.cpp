#include "platform/ui/Runtime.h"
#include "platform/ui/Internal.h"
#include "platform/comm/Thread_Sync.h"
#include <cstdio>
#include <cstdlib>

namespace ui {

Hooks_State Hooks;
static int Modal_Level = 0;

void Reset_Hooks() { Hooks = Hooks_State{}; }

namespace {
// Calls handed over from the serial port's thread are dispatch points of this layer too.
const bool Comm_Report_Set = (comm::Set_Exception_Report(&Report_Exception), true);
}  // namespace

void Answer_Next_Dialog(int Result)
{
    TDialog_Answer Answer;
    Answer.Result = Result;
    Hooks.Answers.push_back(Answer);
}

void Answer_Next_File_Dialog(const std::string& File_Name)
{
    TDialog_Answer Answer;
    Answer.Result = File_Name.empty() ? 2 : 1;
    Answer.File_Name = File_Name;
    Hooks.Answers.push_back(Answer);
}

void Answer_Next_Dialog(const TDialog_Answer& Answer) { Hooks.Answers.push_back(Answer); }

bool Take_Dialog_Answer(const TDialog_Record& Asked, TDialog_Answer* Answer)
{
    if (!Hooks.Answers.empty()) {
        *Answer = Hooks.Answers.front();
        Hooks.Answers.pop_front();
        Hooks.Asked.push_back(Asked);
        return true;
    }
    if (Hooks.Real_Dialogs) return false;
    const std::string Description = "unexpected " + Asked.Kind + " dialog: " + Asked.Text;
    *Answer = TDialog_Answer{};
    Answer->Result = 2;   // cancelled
    if (Hooks.On_Unexpected_Dialog) {
        Hooks.On_Unexpected_Dialog(Description);
        return true;
    }
    std::fprintf(stderr, "%s\n", Description.c_str());
    std::abort();
}

void Report_Exception(const std::string& Message)
{
    ++Hooks.Exceptions;
    std::fprintf(stderr, "KardunGD: error in an event handler: %s\n", Message.c_str());
    if (Hooks.Real_Dialogs && !Hooks.On_Exception) Show_Exception_Box(Message);
    if (Hooks.On_Exception) {
        try {
            Hooks.On_Exception(Message);
        } catch (...) {
        }
    }
}

int Modal_Depth() { return Modal_Level; }

Modal_Scope::Modal_Scope() { ++Modal_Level; }
Modal_Scope::~Modal_Scope() { --Modal_Level; }

}  // namespace ui
