// The typed message window: the one way every part of the program reports an error or a
// notice. A caller names a message type, a text (a literal or a language key, by type)
// and a text colour, and carries on at once; the window shows itself from a timer tick
// about 100 ms later, non-modal, with the text, an "OK" button and, for types 6 and 9, a
// self-closing countdown with a busy wheel. Nothing is answered back.
//
// Types (Message_Type, data/Message_Types.h): 1, 2 old firmware version; 3 temperature
// table missing; 4 literal text; 5 file full; 6 configuration saved before loading (3 s
// countdown); 7 text of a language key; 8 wrong controller version (the main window is
// disabled; closing it sets Version_Error_Closed); 9 as 7 with a 3 s countdown. Any other
// type shows nothing.
//
// The window shows what it was laid out with. A message that arrives while it is on
// screen waits and is shown when the visible one closes (the last of a burst wins).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/Message_Types.h"
#include "platform/ui/UI.h"

// Set when a type-8 message was closed; the main window's receive path then ends the program.
extern bool Version_Error_Closed;

// The message a caller asked for.
struct MSG_Message {
    uint8_t Type = 0;
    std::string Text;
    TColor Colour = clRed;
};

class TForm_MSG : public TForm {
public:
    explicit TForm_MSG(TComponent* Owner);
    ~TForm_MSG() override;
    using TControl::Enabled;
    using TControl::Visible;

    TPanel* Panel_MSG = nullptr;
    TPanel* Panel_MSG_Txt = nullptr;
    TPanel* Panel_MSG_Btn = nullptr;
    TImage* Image_MSG = nullptr;
    TTimer* Timer_MSG = nullptr;        // countdown tick
    TTimer* Timer_MSG_run = nullptr;    // deferred showing

    // Run-time controls of the message on screen (slots 1..3; index 0 unused).
    TButton* Buttons[4] = {nullptr, nullptr, nullptr, nullptr};
    TLabel* Label_Countdown = nullptr;
    TLabel* Label_Text = nullptr;

    // The stored message (the last Show_Message) and the one on screen.
    MSG_Message Stored;
    MSG_Message Shown;
    bool Pending = false;               // a stored message waits for its showing

    // Countdown state.
    int32_t Remaining_Ms = 0;
    int32_t Remaining_Ticks = 0;
    int32_t Wheel_Index = 0;

    // Texts looked up at each showing.
    std::string Text_Loader_Close, Text_Sec_Long, Text_Yes, Text_No, Text_Cancel, Text_Setting;

    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TClose_Action& Action);
    void Timer_MSG_runTimer(TObject* Sender);
    // Stores a message in this window and arms its showing (what Show_Message does).
    void Store_Message(uint8_t Type, const std::string& Text, TColor Colour);
    void Timer_MSGTimer(TObject* Sender);
    void Button_MSGClick(TObject* Sender);

    // Lays the window out for up to three button kinds, a countdown (0: none) and a button
    // width in per cent of the button panel.
    void Layout_Message_Window(int Kind_1, int Kind_2, int Kind_3, int Countdown_Ms,
                               int Width_Percent);
    // The text a message of this type shows (empty for a type that shows nothing).
    std::string Message_Text(const MSG_Message& Message) const;
    // Caption of a button kind.
    std::string Button_Caption(int Kind) const;

private:
    void Apply_Texts();
    void Release_Run_Time_Controls();
    void Free_Released_Controls();
    std::vector<TControl*> FReleased;
};

extern TForm_MSG* Form_MSG;

// What a message does to the main window; the main window binds it.
struct MSG_Hooks_Class {
    // A wrong-version message (type 8) disables the main window.
    std::function<void(bool enabled)> Main_Window_Enable;
};
extern MSG_Hooks_Class MSG_Hooks;

// Stores the message (a Message_Type, its text, the text's colour) and arms the window;
// returns at once. Before the window exists the text goes to standard error, and the last
// such message is shown once the window is created. The one way
// every part of the program shows a message; lower layers reach it through their hooks.
void Show_Message(uint8_t Type, const std::string& Text, TColor Colour);

// Clears the stored message state (tests).
void MSG_Reset();
