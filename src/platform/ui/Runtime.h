#pragma once
// Process-wide services of the window layer: exception reporting at every dispatch point,
// and the test hooks that answer modal dialogs and message boxes.
#include <deque>
#include <exception>
#include <functional>
#include <string>
#include <vector>

class TForm;

namespace ui {

// One prepared answer for the next modal dialog, message box or modal form.
struct TDialog_Answer {
    int Result = 1;                 // modal result (mrOk, mrCancel, mrYes, mrNo)
    std::string File_Name;          // open/save dialogs: the chosen file
    std::string Font_Name;          // font dialog: the chosen font name ...
    int Font_Charset = 1;           // ... and character set
    std::function<void(TForm*)> On_Form;   // modal forms: runs on the form before it returns
};

// What a dialog asked (recorded whenever a hook answers it).
struct TDialog_Record {
    std::string Kind;      // "warning", "information", "open", "save", "font", "form"
    std::string Text;      // message text or dialog title (bytes)
    int X = -1, Y = -1;    // requested screen position, -1 when centred
    int Default = 0;       // message boxes: the result of the button Return presses
};

struct Hooks_State {
    // Called with the message of every exception caught at a dispatch point.
    std::function<void(const std::string& Message)> On_Exception;
    // Called when a dialog appears with no prepared answer while real dialogs are off
    // (tests make this a failure). Without it the layer prints and aborts.
    std::function<void(const std::string& Description)> On_Unexpected_Dialog;
    std::deque<TDialog_Answer> Answers;   // answers for the next dialogs, in order
    std::vector<TDialog_Record> Asked;    // dialogs answered from Answers
    bool Real_Dialogs = false;            // the program turns real dialogs on at start
    int Exceptions = 0;                   // exceptions reported so far
};
extern Hooks_State Hooks;
void Reset_Hooks();

// Queue an answer for the next dialog.
void Answer_Next_Dialog(int Result);
void Answer_Next_File_Dialog(const std::string& File_Name);   // empty name = cancelled
void Answer_Next_Dialog(const TDialog_Answer& Answer);

// Take the answer for a dialog about to be shown: true with *Answer filled when a test
// prepared one; false when the real dialog should run. Unexpected dialogs in tests are
// reported through On_Unexpected_Dialog and answered with *Answer's defaults (cancel).
bool Take_Dialog_Answer(const TDialog_Record& Asked, TDialog_Answer* Answer);

// Report an exception that reached a dispatch point (stderr, hook; the program goes on).
void Report_Exception(const std::string& Message);

// Run a handler at a dispatch point: exceptions are reported, never passed on.
template <class F>
void Dispatch(F&& Handler) noexcept
{
    try {
        Handler();
    } catch (const std::exception& E) {
        Report_Exception(E.what());
    } catch (...) {
        Report_Exception("unknown exception");
    }
}

// Nesting depth of modal loops run by the layer (dialogs, message boxes, modal forms).
int Modal_Depth();

}  // namespace ui
