// The RPM-dependence table's texts, checks and byte image.
#include "protocol/RPM_Tab_Codec.h"

#include <algorithm>
#include <cmath>

#include "data/Conversions.h"

namespace rpm_tab {

namespace {

// Default axes, one list per size.
const std::vector<int> Col_Defaults[] = {
    {500, 1500},
    {0, 1500, 3000},
    {0, 1000, 2500, 4000},
    {0, 1000, 2000, 3000, 4000},
    {0, 500, 1000, 1500, 3000, 4000},
    {0, 500, 1000, 1500, 2000, 2500, 4000},
    {0, 500, 1000, 1500, 2000, 2500, 3000, 4000},
    {0, 500, 1000, 1500, 2000, 2500, 3000, 3500, 5000},
    {0, 500, 1000, 1500, 2000, 2500, 3000, 3500, 4000, 5500},
    {0, 500, 1000, 1500, 2000, 2500, 3000, 3500, 4000, 4500, 5500},
    {0, 500, 1000, 1500, 2000, 2500, 3000, 3500, 4000, 4500, 5000, 6000},
    {0, 500, 1500, 1700, 1900, 2100, 2200, 2300, 2400, 2500, 2600, 2800, 3200},
};
const std::vector<int> Row_Defaults[] = {
    {20, 40},
    {10, 20, 30, 40},
    {0, 5, 15, 25, 35, 45},
    {0, 5, 15, 20, 25, 30, 35, 45},
    {0, 5, 10, 15, 20, 25, 30, 35, 40, 45},
    {0, 2, 5, 10, 12, 15, 20, 25, 30, 35, 40, 45},
    {0, 2, 5, 10, 12, 15, 18, 20, 22, 25, 30, 35, 40, 45},
    {0, 2, 5, 10, 12, 15, 18, 20, 22, 25, 28, 30, 32, 35, 40, 45},
    {0, 2, 5, 10, 12, 15, 18, 20, 22, 25, 28, 30, 32, 35, 38, 40, 42, 45},
    {0, 2, 4, 6, 8, 10, 12, 15, 18, 20, 22, 25, 28, 30, 32, 35, 38, 40, 42, 45},
    {0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 32, 35, 38, 40, 42, 45},
    {0, 2, 4, 5, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 32, 34, 36, 38, 40, 42, 45},
};
const std::vector<int> No_Defaults;

bool Digits(const std::string& Text, size_t From, size_t To)
{
    for (size_t I = From; I < To; ++I)
        if (Text[I] < '0' || Text[I] > '9') return false;
    return true;
}

// A header text as a number scaled by 10^Decimals (further decimals cut); a text that
// does not read (or is empty): false.
bool Header_Value(const std::string& Text, int Decimals, int& Value)
{
    int Error = 0;
    const double Number = Text_To_Float(Text, Error);
    if (Error != 0 || Text.empty()) return false;
    if (Decimals == 0) {
        Value = static_cast<int>(std::clamp(Number, -1e9, 1e9));
        return true;
    }
    Value = Text_To_Fixed(Text, Decimals, Error);
    return Error == 0;
}

}  // namespace

bool Size_Valid(int Cols, int Rows)
{
    return Cols >= Min_Cols && Cols <= Max_Cols && Rows >= Min_Rows && Rows <= Max_Rows && Rows % 2 == 0;
}

int Image_Length(int Cols, int Rows) { return Cols * Rows + 2 * Cols + Rows; }

const std::vector<int>& Default_Col_RPM(int Cols)
{
    return Cols >= Min_Cols && Cols <= Max_Cols ? Col_Defaults[Cols - Min_Cols] : No_Defaults;
}

const std::vector<int>& Default_Row_Tenths(int Rows)
{
    return Rows >= Min_Rows && Rows <= Max_Rows && Rows % 2 == 0 ? Row_Defaults[(Rows - Min_Rows) / 2]
                                                                   : No_Defaults;
}

Texts Default_Texts(int Cols, int Rows)
{
    Texts T;
    T.Cols = Cols;
    T.Rows = Rows;
    for (int RPM : Default_Col_RPM(Cols))
        T.Col.push_back(RPM_Text(RPM));
    for (int Tenths : Default_Row_Tenths(Rows))
        T.Row.push_back(Volt_Text(Tenths));
    T.Col.resize(static_cast<size_t>(std::max(Cols, 0)));
    T.Row.resize(static_cast<size_t>(std::max(Rows, 0)));
    T.Cell.assign(static_cast<size_t>(std::max(Cols * Rows, 0)), Default_Cell_Text);
    return T;
}

std::string RPM_Text(int RPM) { return std::to_string(RPM); }
std::string Volt_Text(int Tenths) { return Format_Fixed(Tenths / 10.0, 10, 1); }
std::string Factor_Text(int Hundredths) { return Format_Fixed(Hundredths / 100.0, 10, 2); }

bool Is_Fixed_Text(const std::string& Text, int Decimals)
{
    if (Text.empty() || Text.size() > static_cast<size_t>(Max_Text_Length)) return false;
    const size_t Separator = Text.find_first_of(".,");
    if (Separator == std::string::npos) return Digits(Text, 0, Text.size());
    return Decimals > 0 && Separator > 0 && Digits(Text, 0, Separator) &&
           Text.size() - Separator - 1 <= static_cast<size_t>(Decimals) &&
           Digits(Text, Separator + 1, Text.size());
}

int Col_RPM(const Texts& T, int C)
{
    int Value = 0;
    if (Header_Value(T.Col[static_cast<size_t>(C)], 0, Value)) return Value;
    const std::vector<int>& D = Default_Col_RPM(T.Cols);
    return C < static_cast<int>(D.size()) ? D[static_cast<size_t>(C)] : 0;
}

int Row_cV(const Texts& T, int R)
{
    int Value = 0;
    if (Header_Value(T.Row[static_cast<size_t>(R)], 2, Value)) return Value;
    const std::vector<int>& D = Default_Row_Tenths(T.Rows);
    return R < static_cast<int>(D.size()) ? D[static_cast<size_t>(R)] * 10 : 0;
}

bool Cell_Value(const std::string& Text, int& Ten_Thousandths)
{
    int Error = 0;
    Text_To_Float(Text, Error);   // the whole text must read as a number
    if (Error != 0 || Text.empty()) return false;
    Ten_Thousandths = Text_To_Fixed(Text, 4, Error);
    return Error == 0;
}

bool Texts_Valid(const Texts& T)
{
    auto Header_Ok = [](const std::string& Text) {
        int Ignored = 0;
        return Text.empty() || Header_Value(Text, 0, Ignored);
    };
    for (int C = 0; C < T.Cols; ++C) {
        if (!Header_Ok(T.Col[static_cast<size_t>(C)])) return false;
        if (C > 0 && Col_RPM(T, C) < Col_RPM(T, C - 1)) return false;
    }
    for (int R = 0; R < T.Rows; ++R) {
        if (!Header_Ok(T.Row[static_cast<size_t>(R)])) return false;
        if (R > 0 && Row_cV(T, R) < Row_cV(T, R - 1)) return false;
    }
    for (const std::string& Text : T.Cell) {
        int Value = 0;
        if (!Cell_Value(Text, Value) || Value < Cell_Min_Hundredths * 100 || Value > Cell_Max_Hundredths * 100)
            return false;
    }
    return true;
}

uint16_t Col_Word(uint32_t RPM_Source, int RPM)
{
    if (RPM <= 0) return No_Speed_Word;
    // A word of 0 or FF FF would read back as no speed at all.
    return static_cast<uint16_t>(std::clamp<uint32_t>(RPM_Source / static_cast<uint32_t>(RPM), 1, 0xFFFE));
}

int Word_RPM(uint32_t RPM_Source, uint16_t Word)
{
    if (Word == 0 || Word == No_Speed_Word) return 0;
    const uint32_t RPM = RPM_Source / Word;
    // Every RPM in a band gives the same word; the program writes whole hundreds, so the
    // hundred in the band is the one that was written.
    const uint32_t Hundred = RPM / RPM_Step * RPM_Step;
    if (Hundred > 0 && RPM_Source / Hundred == Word) return static_cast<int>(Hundred);
    return static_cast<int>(RPM);
}

uint8_t Row_Byte(int cV)
{
    if (cV >= Row_Full_Scale_cV) return Row_Full_Scale_Byte;
    for (int B = 0; B < Row_Full_Scale_Byte; ++B)
        if (B * Row_Full_Scale_cV / Row_Full_Scale_Byte >= cV) return static_cast<uint8_t>(B);
    return Row_Full_Scale_Byte;
}

int Byte_Tenths(uint8_t Byte)
{
    // b x 500 / 25500 volts, to one decimal (half away from zero).
    return static_cast<int>(std::lround(Byte * 500.0 / 2550.0));
}

uint8_t Cell_Byte(int Ten_Thousandths)
{
    // factor x 128, truncated toward zero, within a byte.
    const long long Scaled = static_cast<long long>(Ten_Thousandths) * 128 / 10000;
    return static_cast<uint8_t>(std::clamp<long long>(Scaled, 0, 255));
}

int Byte_Hundredths(uint8_t Byte)
{
    const int Rounded = static_cast<int>(std::lround(Byte / 1.28));
    // The written factor truncates; when rounding lands one hundredth below the factor
    // that gives this byte, that factor is the one the table held.
    auto Gives = [Byte](int H) { return H * 128 / 100 == Byte; };
    if (!Gives(Rounded) && Gives(Rounded + 1)) return Rounded + 1;
    return Rounded;
}

std::vector<uint8_t> Encode(const Texts& T, uint32_t RPM_Source)
{
    std::vector<uint8_t> Image;
    Image.reserve(static_cast<size_t>(Image_Length(T.Cols, T.Rows) + 2));
    Image.push_back(static_cast<uint8_t>(T.Cols));
    Image.push_back(static_cast<uint8_t>(T.Rows));
    for (int C = 0; C < T.Cols; ++C) {
        const uint16_t Word = Col_Word(RPM_Source, Col_RPM(T, C));
        Image.push_back(static_cast<uint8_t>(Word & 0xFF));
        Image.push_back(static_cast<uint8_t>(Word >> 8));
    }
    for (int R = 0; R < T.Rows; ++R)
        Image.push_back(Row_Byte(Row_cV(T, R)));
    for (int C = 0; C < T.Cols; ++C)
        for (int R = 0; R < T.Rows; ++R) {
            int Value = 0;
            Image.push_back(Cell_Value(T.At(C, R), Value) ? Cell_Byte(Value) : Cell_Neutral);
        }
    return Image;
}

std::vector<uint8_t> Encode(const Texts& T, uint32_t RPM_Source, const std::vector<uint8_t>& Held)
{
    std::vector<uint8_t> Image = Encode(T, RPM_Source);
    Texts Shown;
    if (Held.size() != static_cast<size_t>(Image_Length(T.Cols, T.Rows)) ||
        !Decode(Held.data(), Held.size(), T.Cols, T.Rows, RPM_Source, Shown))
        return Image;
    // Image holds the two size bytes before what Held holds.
    const auto Keep = [&](size_t At, size_t Count) { std::copy_n(Held.begin() + At, Count, Image.begin() + 2 + At); };
    size_t At = 0;
    for (int C = 0; C < T.Cols; ++C, At += 2)
        if (T.Col[static_cast<size_t>(C)] == Shown.Col[static_cast<size_t>(C)]) Keep(At, 2);
    for (int R = 0; R < T.Rows; ++R, ++At)
        if (T.Row[static_cast<size_t>(R)] == Shown.Row[static_cast<size_t>(R)]) Keep(At, 1);
    for (size_t Cell = 0; Cell < T.Cell.size(); ++Cell, ++At)
        if (T.Cell[Cell] == Shown.Cell[Cell]) Keep(At, 1);
    return Image;
}

bool Decode(const uint8_t* Image, size_t Length, int Cols, int Rows, uint32_t RPM_Source, Texts& Out)
{
    if (!Size_Valid(Cols, Rows) || Length < static_cast<size_t>(Image_Length(Cols, Rows))) return false;
    Texts T = Default_Texts(Cols, Rows);
    size_t P = 0;
    for (int C = 0; C < Cols; ++C, P += 2)
        T.Col[static_cast<size_t>(C)] =
            RPM_Text(Word_RPM(RPM_Source, static_cast<uint16_t>(Image[P] | Image[P + 1] << 8)));
    for (int R = 0; R < Rows; ++R)
        T.Row[static_cast<size_t>(R)] = Volt_Text(Byte_Tenths(Image[P++]));
    if (!Decode_Cells(Image, Length, T)) return false;
    Out = std::move(T);
    return true;
}

bool Decode_Cells(const uint8_t* Image, size_t Length, Texts& Out)
{
    if (!Size_Valid(Out.Cols, Out.Rows) || Length < static_cast<size_t>(Image_Length(Out.Cols, Out.Rows)))
        return false;
    size_t P = static_cast<size_t>(2 * Out.Cols + Out.Rows);
    for (int C = 0; C < Out.Cols; ++C)
        for (int R = 0; R < Out.Rows; ++R)
            Out.At(C, R) = Factor_Text(Byte_Hundredths(Image[P++]));
    return true;
}

int Live_Col(const Texts& T, int Live_RPM)
{
    for (int C = T.Cols - 1; C >= 1; --C)
        if (Col_RPM(T, C) < Live_RPM) return C + 1;
    return T.Cols > 0 && Col_RPM(T, 0) <= Live_RPM ? 1 : 0;
}

int Live_Row(const Texts& T, int Live_cV)
{
    for (int R = T.Rows - 1; R >= 1; --R)
        if (Row_cV(T, R) < Live_cV) return R + 1;
    return T.Rows > 0 && Row_cV(T, 0) <= Live_cV ? 1 : 0;
}

}  // namespace rpm_tab
