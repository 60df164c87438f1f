#include "platform/ui/Internal.h"
#include "platform/ui/Text.h"
#include <QFontInfo>

TRGB Color_To_RGB(TColor Color)
{
    if ((Color & Color_System_Flag) == Color_System_Flag) {
        switch (Color & 0xFF) {
        case 5: case 14: case 20: return {255, 255, 255};        // window, highlight text
        case 6: case 7: case 8: case 9: case 18: case 23: return {0, 0, 0};
        case 13: return {0, 120, 215};                            // highlight
        case 16: return {160, 160, 160};                          // button shadow
        case 17: return {109, 109, 109};                          // grey text
        case 21: return {105, 105, 105};
        case 22: return {227, 227, 227};
        case 24: return {255, 255, 225};                          // tool-tip background
        case 2: return {153, 180, 209};
        case 3: return {191, 205, 219};
        default: return {240, 240, 240};                          // button face and others
        }
    }
    if (Color == clNone || Color == clDefault) return {240, 240, 240};
    return {Color & 0xFF, (Color >> 8) & 0xFF, (Color >> 16) & 0xFF};
}

namespace ui {

QString To_Q(const std::string& Bytes, int Font_Charset)
{
    return QString::fromStdString(Bytes_To_UTF8(Bytes, Effective_Charset(Font_Charset)));
}

std::string From_Q(const QString& Text, int Font_Charset)
{
    return UTF8_To_Bytes(Text.toStdString(), Effective_Charset(Font_Charset));
}

QString Caption_Text(const std::string& Bytes, int Font_Charset)
{
    QString Text = To_Q(Bytes, Font_Charset);
    QString Out;
    Out.reserve(Text.size());
    for (qsizetype I = 0; I < Text.size(); ++I) {
        const QChar C = Text[I];
        if (C == '\r' || C == '\n') {
            Out += '\n';
            if (I + 1 < Text.size() && (Text[I + 1] == '\r' || Text[I + 1] == '\n') &&
                Text[I + 1] != C)
                ++I;
        } else {
            Out += C;
        }
    }
    return Out;
}

QString Accel_Rich_Text(const std::string& Bytes, int Font_Charset, bool Show_Accel)
{
    const QString Text = Caption_Text(Bytes, Font_Charset);
    // Rich text folds white space: every blank is kept by writing it as a non-breaking
    // space, except the last blank of a run between two words, which stays a plain space
    // so that a word-wrapped label can break the line there.
    const auto Breakable_Blank = [&Text](qsizetype I) {
        const bool Line_Start = I == 0 || Text[I - 1] == '\n';
        const bool Word_Follows = I + 1 < Text.size() && Text[I + 1] != ' ' && Text[I + 1] != '\n';
        return !Line_Start && Word_Follows;
    };
    QString Out;
    for (qsizetype I = 0; I < Text.size(); ++I) {
        QChar C = Text[I];
        bool Underline = false;
        if (Show_Accel && C == '&' && I + 1 < Text.size()) {
            ++I;
            C = Text[I];
            Underline = C != '&';
        }
        QString Piece;
        if (C == '\n') Piece = "<br>";
        else if (C == '<') Piece = "&lt;";
        else if (C == '>') Piece = "&gt;";
        else if (C == '&') Piece = "&amp;";
        else if (C == ' ') Piece = !Underline && Breakable_Blank(I) ? " " : "&nbsp;";
        else Piece = C;
        Out += Underline ? "<u>" + Piece + "</u>" : Piece;
    }
    return Out;
}

QString Strip_Accel(const QString& Text)
{
    QString Out;
    for (qsizetype I = 0; I < Text.size(); ++I) {
        if (Text[I] == '&' && I + 1 < Text.size()) ++I;
        Out += Text[I];
    }
    return Out;
}

QImage Colour_Keyed(const QImage& Source, TColor Key_Colour)
{
    // One pass from opaque 32-bit pixels: the key becomes clear, the rest stays opaque.
    const QImage Opaque = Source.format() == QImage::Format_RGB32 ? Source
                                                                  : Source.convertToFormat(QImage::Format_RGB32);
    const int Width = Opaque.width();
    const int Height = Opaque.height();
    QImage Out(Width, Height, QImage::Format_ARGB32_Premultiplied);
    if (Out.isNull()) return Out;
    const QRgb Key = To_QColor(Key_Colour).rgb() & 0xFFFFFF;
    for (int Y = 0; Y < Height; ++Y) {
        const auto* In = reinterpret_cast<const QRgb*>(Opaque.constScanLine(Y));
        auto* Line = reinterpret_cast<QRgb*>(Out.scanLine(Y));
        for (int X = 0; X < Width; ++X) {
            const QRgb Colour = In[X] & 0xFFFFFF;
            Line[X] = Colour == Key ? 0 : Colour | 0xFF000000;
        }
    }
    return Out;
}

QColor To_QColor(TColor Color)
{
    const TRGB C = Color_To_RGB(Color);
    return QColor(C.R, C.G, C.B);
}

TColor From_QColor(const QColor& Color) { return RGB_Color(Color.red(), Color.green(), Color.blue()); }

QFont To_QFont(const TFont& Font)
{
    QFont F(QString::fromStdString(Font.Name()));
    F.setPixelSize(Font.Pixels());
    F.setBold((Font.Style() & fsBold) != 0);
    F.setItalic((Font.Style() & fsItalic) != 0);
    F.setUnderline((Font.Style() & fsUnderline) != 0);
    F.setStrikeOut((Font.Style() & fsStrikeOut) != 0);
    F.setStyleStrategy(QFont::NoAntialias);
    return F;
}

Qt::CursorShape To_Cursor(TCursor Cursor)
{
    switch (Cursor) {
    case TCursor::Help: return Qt::WhatsThisCursor;
    case TCursor::Hand_Point: return Qt::PointingHandCursor;
    case TCursor::Size_NS: return Qt::SizeVerCursor;
    case TCursor::Size_WE: return Qt::SizeHorCursor;
    case TCursor::VSplit: return Qt::SplitVCursor;
    case TCursor::HSplit: return Qt::SplitHCursor;
    case TCursor::Size_All: return Qt::SizeAllCursor;
    case TCursor::Cross: return Qt::CrossCursor;
    case TCursor::IBeam: return Qt::IBeamCursor;
    case TCursor::Wait: return Qt::WaitCursor;
    case TCursor::No: return Qt::ForbiddenCursor;
    default: return Qt::ArrowCursor;
    }
}

std::uint16_t Virtual_Key(int Key, Qt::KeyboardModifiers Modifiers)
{
    const bool Keypad = (Modifiers & Qt::KeypadModifier) != 0;
    if (Key >= Qt::Key_A && Key <= Qt::Key_Z) return static_cast<std::uint16_t>('A' + (Key - Qt::Key_A));
    if (Key >= Qt::Key_0 && Key <= Qt::Key_9)
        return static_cast<std::uint16_t>(Keypad ? int(VK_NUMPAD0) + (Key - Qt::Key_0) : '0' + (Key - Qt::Key_0));
    if (Key >= Qt::Key_F1 && Key <= Qt::Key_F24) return static_cast<std::uint16_t>(VK_F1 + (Key - Qt::Key_F1));
    switch (Key) {
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Return: case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Tab: case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_Asterisk: return Keypad ? std::uint16_t(VK_MULTIPLY) : std::uint16_t('8');   // Shift+8 stays the 8 key
    case Qt::Key_Plus: return Keypad ? VK_ADD : VK_OEM_PLUS;
    case Qt::Key_Minus: return Keypad ? VK_SUBTRACT : VK_OEM_MINUS;
    case Qt::Key_Slash: return Keypad ? VK_DIVIDE : VK_OEM_2;
    case Qt::Key_Period: return Keypad ? VK_DECIMAL : VK_OEM_PERIOD;
    case Qt::Key_Comma: return VK_OEM_COMMA;
    case Qt::Key_Equal: return VK_OEM_PLUS;
    case Qt::Key_Semicolon: case Qt::Key_Colon: return VK_OEM_1;
    case Qt::Key_Question: return VK_OEM_2;
    case Qt::Key_QuoteLeft: case Qt::Key_AsciiTilde: return VK_OEM_3;
    case Qt::Key_BracketLeft: case Qt::Key_BraceLeft: return VK_OEM_4;
    case Qt::Key_Backslash: case Qt::Key_Bar: return VK_OEM_5;
    case Qt::Key_BracketRight: case Qt::Key_BraceRight: return VK_OEM_6;
    case Qt::Key_Apostrophe: case Qt::Key_QuoteDbl: return VK_OEM_7;
    case Qt::Key_Less: return VK_OEM_COMMA;
    case Qt::Key_Greater: return VK_OEM_PERIOD;
    case Qt::Key_Underscore: return VK_OEM_MINUS;
    // Shifted digits on the main keyboard are their digit keys.
    case Qt::Key_Exclam: return '1';
    case Qt::Key_At: return '2';
    case Qt::Key_NumberSign: return '3';
    case Qt::Key_Dollar: return '4';
    case Qt::Key_Percent: return '5';
    case Qt::Key_AsciiCircum: return '6';
    case Qt::Key_Ampersand: return '7';
    case Qt::Key_ParenLeft: return '9';
    case Qt::Key_ParenRight: return '0';
    default: return 0;
    }
}

TShiftState Shift_State(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons)
{
    TShiftState S = 0;
    if (Modifiers & Qt::ShiftModifier) S |= ssShift;
    if (Modifiers & Qt::AltModifier) S |= ssAlt;
    if (Modifiers & Qt::ControlModifier) S |= ssCtrl;
    if (Modifiers & Qt::MetaModifier) S |= ssSystem;
    if (Buttons & Qt::LeftButton) S |= ssLeft;
    if (Buttons & Qt::RightButton) S |= ssRight;
    if (Buttons & Qt::MiddleButton) S |= ssMiddle;
    return S;
}

}  // namespace ui
