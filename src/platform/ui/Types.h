#pragma once
// Basic types of the window layer: colours, keys, mouse buttons, shift state,
// modal results, cursors and the event signatures shared by all controls.
#include <cstdint>
#include <functional>
#include <string>

class TObject;

// ---- colours: $BBGGRR values, stored verbatim; system colours resolve at paint time ----
using TColor = std::int32_t;

constexpr TColor Color_System_Flag = static_cast<TColor>(0xFF000000u);
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

// System colours (system flag + index).
constexpr TColor clScrollBar = Color_System_Flag | 0;
constexpr TColor clBackground = Color_System_Flag | 1;
constexpr TColor clActiveCaption = Color_System_Flag | 2;
constexpr TColor clInactiveCaption = Color_System_Flag | 3;
constexpr TColor clMenu = Color_System_Flag | 4;
constexpr TColor clWindow = Color_System_Flag | 5;
constexpr TColor clWindowFrame = Color_System_Flag | 6;
constexpr TColor clMenuText = Color_System_Flag | 7;
constexpr TColor clWindowText = Color_System_Flag | 8;
constexpr TColor clCaptionText = Color_System_Flag | 9;
constexpr TColor clHighlight = Color_System_Flag | 13;
constexpr TColor clHighlightText = Color_System_Flag | 14;
constexpr TColor clBtnFace = Color_System_Flag | 15;
constexpr TColor clBtnShadow = Color_System_Flag | 16;
constexpr TColor clGrayText = Color_System_Flag | 17;
constexpr TColor clBtnText = Color_System_Flag | 18;
constexpr TColor clBtnHighlight = Color_System_Flag | 20;
constexpr TColor cl3DDkShadow = Color_System_Flag | 21;
constexpr TColor cl3DLight = Color_System_Flag | 22;
constexpr TColor clInfoText = Color_System_Flag | 23;
constexpr TColor clInfoBk = Color_System_Flag | 24;

// RGB(r, g, b) as a colour value: red in the low byte.
constexpr TColor RGB_Color(int R, int G, int B)
{
    return (R & 0xFF) | ((G & 0xFF) << 8) | ((B & 0xFF) << 16);
}
// The red/green/blue a colour value paints with (system colours resolved).
struct TRGB { int R, G, B; };
TRGB Color_To_RGB(TColor Color);

// ---- shift state and mouse buttons ----
enum TShift_Flag : unsigned {
    ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64,
    ssSystem = 128   // the system (logo) key
};
using TShiftState = unsigned;   // a set of TShift_Flag bits

enum class TMouseButton { Left, Right, Middle };

// ---- virtual-key codes (as the keyboard handlers expect them) ----
enum : std::uint16_t {
    VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13, VK_SHIFT = 16, VK_CONTROL = 17, VK_MENU = 18,
    VK_PAUSE = 19, VK_CAPITAL = 20, VK_ESCAPE = 27, VK_SPACE = 32, VK_PRIOR = 33, VK_NEXT = 34,
    VK_END = 35, VK_HOME = 36, VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40,
    VK_INSERT = 45, VK_DELETE = 46,
    VK_NUMPAD0 = 96, VK_NUMPAD1, VK_NUMPAD2, VK_NUMPAD3, VK_NUMPAD4, VK_NUMPAD5, VK_NUMPAD6,
    VK_NUMPAD7, VK_NUMPAD8, VK_NUMPAD9,
    VK_MULTIPLY = 106, VK_ADD = 107, VK_SEPARATOR = 108, VK_SUBTRACT = 109, VK_DECIMAL = 110,
    VK_DIVIDE = 111,
    VK_F1 = 112, VK_F2, VK_F3, VK_F4, VK_F5, VK_F6, VK_F7, VK_F8, VK_F9, VK_F10, VK_F11, VK_F12,
    VK_OEM_1 = 186, VK_OEM_PLUS = 187, VK_OEM_COMMA = 188, VK_OEM_MINUS = 189,
    VK_OEM_PERIOD = 190, VK_OEM_2 = 191, VK_OEM_3 = 192, VK_OEM_4 = 219, VK_OEM_5 = 220,
    VK_OEM_6 = 221, VK_OEM_7 = 222
};
// Letters and main-keyboard digits are their upper-case character codes ('A', '0').

// ---- modal results ----
enum : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
             mrYes = 6, mrNo = 7 };

// ---- cursors ----
enum class TCursor { Default, Arrow, Help, Hand_Point, Size_NS, Size_WE, VSplit, HSplit,
                     Size_All, Cross, IBeam, Wait, No };

// ---- alignment ----
enum class TAlignment { Left_Justify, Right_Justify, Center };
enum class TText_Layout { Top, Center, Bottom };

// ---- event signatures: the first argument is always the Sender ----
using TNotify_Event = std::function<void(TObject* Sender)>;
using TMouse_Event = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift,
                                        int X, int Y)>;
using TMouse_Move_Event = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
// Key is a virtual-key code; a handler that sets it to 0 consumes the key.
using TKey_Event = std::function<void(TObject* Sender, std::uint16_t& Key, TShiftState Shift)>;
// Key is the typed character (single byte in the control's character set); 0 drops it.
using TKey_Press_Event = std::function<void(TObject* Sender, char& Key)>;
