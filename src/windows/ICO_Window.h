// The big-digit indicator windows: up to fourteen small floating windows, each showing one
// live value of the controller in digits as large as the window allows, to be read from
// across the workshop. Each can be moved and resized; the digits and the unit line follow
// the size 200 ms after the last size change. Which windows are open, their place, size
// and font sizes go to the settings file and come back at the next start.
//
// Everything runs on the user-interface thread. The main window opens the windows, feeds
// them the values after each current-data reply and binds the right click.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/ui/UI.h"

class TForm_ICO;

// ---- limits ----
constexpr int ICO_Count = 14;                 // windows 1..14
constexpr int ICO_Open_Width = 200;           // a new window's outer size, pixels
constexpr int ICO_Open_Height = 140;
constexpr int ICO_Min_Width = 150;            // a window is never resized below this
constexpr int ICO_Min_Height = 100;
constexpr int ICO_Dig_Size = 48;              // a new window's font sizes, points
constexpr int ICO_Dim_Size = 10;
constexpr int ICO_Font_Min = 4;               // every font fit stops at these sizes
constexpr int ICO_Font_Max = 1000;
constexpr int ICO_Timer_Ms = 200;             // the re-fit after the last size change
constexpr int ICO_Dig_Share = 80;             // per cent of the panels' height for the digits

// ---- the window table ----
struct ICO_Row_Class {
    const char* Title_Key;      // the window's caption
    TColor Colour;              // digits and unit line
    const char* Unit_Key;       // the unit line: its text ...
    const char* Unit_Dim_Key;   // ... + ",  " + this key's text (nullptr: nothing)
    const char* Unit_Ending;    // ... or + this literal text (nullptr: nothing)
    bool Follows_Playback;      // shows the oscilloscope's readout during playback
    int Compact_View;           // right click: the compact configuration view (0: none)
};
// Row n (1..14); any other n gives a row without texts, colour black, no view.
const ICO_Row_Class& ICO_Row(int n);
// The unit line of window n in the current language.
std::string ICO_Unit_Text(int n);
// The compact configuration view a right click on window n (or on the main window's
// display of the same value) opens: 0 for none. Window 1 opens 17, or 18 while the view
// type now is 17, or 10 while it is 18.
int ICO_Compact_View(int n, int Current_View_Type);

// ---- the font fit ----
// The width and height of the panel's text at a font size.
struct ICO_Text_Size {
    int Width = 0;
    int Height = 0;
};
using ICO_Measure = std::function<ICO_Text_Size(int Size)>;
// The font size at which a text fits a panel of W x H, starting from Size (held to
// 4..1000 first). A panel narrower than high fits the width (grow until the text is 10
// pixels wider than the panel, or shrink until it is 10 narrower), then shrinks to the
// height (2 pixels lower); any other panel fits the height first and then shrinks to the
// width. Every step stops at 4 and 1000. An empty text keeps its (held) size.
int ICO_Fit_Font(int Size, int W, int H, bool Empty_Text, const ICO_Measure& Measure);
// A font size from the settings file or a caller, held to 4..1000.
int ICO_Font_Held(int Size);

// ---- shared state ----
struct ICO_State_Class {
    std::array<TForm_ICO*, ICO_Count> ICO_Windows{};   // index = number - 1
    std::array<bool, ICO_Count> ICO_Open{};
    bool ICO_Any_Open = false;
    bool ICO_Layout_On = false;       // resizing lays windows out again
    uint8_t ICO_Current = 0;          // the window being opened or resized
    int ICO_Width = ICO_Open_Width;   // the size the next layout uses
    int ICO_Height = ICO_Open_Height;
};
extern ICO_State_Class ICO_State;

// What the windows ask of the main window, bound by it; unbound, nothing.
struct ICO_Window_Hooks_Class {
    // A right click on the digits of window n.
    std::function<void(int n)> Right_Click;
};
extern ICO_Window_Hooks_Class ICO_Window_Hooks;

// ---- routines ----
// Opens window n (1..14) unless it is open (created at 0, 0 with 200 x 140, texts and
// colours of the table, laid out) and switches layout on. Another n only switches layout on.
void Open_ICO_Window(int n);
// Lays window n out at ICO_Width x ICO_Height and fits both fonts; nothing when it is not
// open.
void ICO_Layout(int n);
// The values: windows that follow playback show Readouts[n] while Playback holds, else
// Live[n], and show "OSC" exactly then; the others always show Live[n]. Index 0 unused.
using ICO_Texts = std::array<std::string, ICO_Count + 1>;
void ICO_Show_Values(const ICO_Texts& Live, bool Playback, const ICO_Texts& Readouts);
// The live value of every window, formatted as the window shows it (index 0 unused).
ICO_Texts ICO_Live_Texts();
// Into the open settings key file: the seven keys of every open window (value only).
void ICO_Settings_Save();
// From the open settings key file: every window whose flag key reads true is opened and
// placed, sized and fitted as its keys say (sizes held to their minimum, fonts to 4..1000);
// layout is on afterwards.
void ICO_Settings_Load();
// Window n was closed by the user: its flag goes and its seven keys are deleted from the
// settings file, provided the file could be read; a file that cannot be read (or is
// missing) is left as it is. A failed write keeps the old file and is reported.
void ICO_Closed(int n);
// The settings keys of window n: the flag, top, left, width, height and the two font sizes.
std::array<std::string, 7> ICO_Keys(int n);
// Every window freed and the state back to its start (tests, program end).
void ICO_Windows_Reset();

class TForm_ICO : public TForm {
public:
    explicit TForm_ICO(TComponent* Owner);
    ~TForm_ICO() override;
    using TControl::Enabled;
    using TControl::Visible;

    static constexpr int Design_Client_Width = 189;
    static constexpr int Design_Client_Height = 105;

    TPanel* Panel_ICO = nullptr;
    TPanel* Panel_ICO_Dig = nullptr;     // the value in large digits
    TPanel* Panel_ICO_Dim = nullptr;     // the unit line
    TLabel* Label_ICO_Num = nullptr;     // hidden; its tag is the window's number
    TLabel* Label_ICO_Width = nullptr;   // hidden; a measured width
    TLabel* Label_ICO_OSC = nullptr;     // "OSC" during playback
    TTimer* Timer_ICO = nullptr;

    // The window's number 1..14 (0 for the window made at start-up, which is never shown).
    int Number() const { return static_cast<int>(Label_ICO_Num->Tag()); }
    // Texts and colours of the window table for its number.
    void Apply_Texts();
    // The value shown (the digits' font is not fitted again; the next layout does that).
    void Show_Value(const std::string& Text, bool Playback_Mark);
    // The font size at which Text fits Panel (its width and height).
    int Fit_Panel_Font(TPanel* Panel, int Size);

    // The size of the last layout (outer width and height).
    int Laid_Out_Width = 0;
    int Laid_Out_Height = 0;
    int Laid_Out_Frame_Width = 0;     // the frame the last layout counted
    int Laid_Out_Frame_Height = 0;

    void FormCanResize(TObject* Sender, int& New_Width, int& New_Height, bool& Resize);
    void Timer_ICOTimer(TObject* Sender);
    void FormClose(TObject* Sender, TClose_Action& Action);
    void Panel_ICO_DigMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                int Y);
};

// The window made at start-up from the window's description (never shown).
extern TForm_ICO* Form_ICO;
