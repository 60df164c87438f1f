// The RPM-dependence table as texts (what the grid and its headers show) and as the byte
// image the controller holds: default axes per size, size and text checks, the image
// codec, and the search for the cell the engine works in.
//
// Image, column by column: the period word of each column's RPM (RPM_Source div RPM, low
// byte first; RPM 0 is FF FF), one byte per row voltage (the smallest b with
// b x 500 div 255 >= the voltage in 0.01 V), then each column's cells (factor x 128).
// The image written to the controller starts with the two size bytes; the image read from
// it does not (the size comes in its own reply).
//
// Pure routines: any thread; nothing here touches a window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace rpm_tab {

constexpr int Min_Cols = 2;
constexpr int Max_Cols = 13;
constexpr int Min_Rows = 2;
constexpr int Max_Rows = 24;   // rows come in steps of 2
constexpr int RPM_Step = 100;            // column headers step by 100 rpm
constexpr int Cell_Min_Hundredths = 1;   // 0.01
constexpr int Cell_Max_Hundredths = 199; // 1.99
constexpr int Max_Text_Length = 6;       // longest text the edit box takes
constexpr uint8_t Cell_Neutral = 128;    // 1.00
// Period word of an RPM of 0 (no column speed) as the controller holds it.
constexpr uint16_t No_Speed_Word = 0xFFFF;
// Row voltage in 0.01 V that the largest byte stands for (5.00 V = 255).
constexpr int Row_Full_Scale_cV = 500;
constexpr int Row_Full_Scale_Byte = 255;
// The cell text of a fresh table, with a comma whatever the system's separator.
inline constexpr const char* Default_Cell_Text = "1,00";

// The table as shown: headers and cells as texts; cells column by column.
struct Texts {
    int Cols = 0;
    int Rows = 0;
    std::vector<std::string> Col;    // Cols entries, RPM as an integer ("" = the default)
    std::vector<std::string> Row;    // Rows entries, volts with one decimal ("" = the default)
    std::vector<std::string> Cell;   // Cols x Rows, [c * Rows + r]
    std::string& At(int C, int R) { return Cell[static_cast<size_t>(C * Rows + R)]; }
    const std::string& At(int C, int R) const { return Cell[static_cast<size_t>(C * Rows + R)]; }
    bool operator==(const Texts&) const = default;
};

// 2..13 columns, 2..24 rows in steps of 2.
bool Size_Valid(int Cols, int Rows);
// Image length without the two size bytes: n x m + 2n + m.
int Image_Length(int Cols, int Rows);

// Default column RPMs for a valid column count, default row voltages (0.1 V) for a valid
// row count; an invalid count gives an empty list.
const std::vector<int>& Default_Col_RPM(int Cols);
const std::vector<int>& Default_Row_Tenths(int Rows);
// A table of that size with the default headers and every cell "1,00".
Texts Default_Texts(int Cols, int Rows);

// Texts of numbers: an RPM as an integer, volts with one decimal and factors with two,
// with the system's decimal separator.
std::string RPM_Text(int RPM);
std::string Volt_Text(int Tenths);
std::string Factor_Text(int Hundredths);

// The text is a fixed-point number with at most Decimals decimals ('.' or ',' as the
// separator, digits before it) and no longer than Max_Text_Length.
bool Is_Fixed_Text(const std::string& Text, int Decimals);
// Header values: an empty or unreadable text stands for the default of its place.
int Col_RPM(const Texts& T, int C);
int Row_cV(const Texts& T, int R);   // 0.01 V
// A cell's factor in 1/10000 (unreadable: false).
bool Cell_Value(const std::string& Text, int& Ten_Thousandths);

// The checks a table read from a file must pass: headers empty or numbers, column RPMs and
// row volts not decreasing (an empty header counts as its default), cells 0.01..1.99.
bool Texts_Valid(const Texts& T);

// ---- image ----
uint16_t Col_Word(uint32_t RPM_Source, int RPM);
int Word_RPM(uint32_t RPM_Source, uint16_t Word);
uint8_t Row_Byte(int cV);
int Byte_Tenths(uint8_t Byte);   // the byte's voltage rounded to 0.1 V
uint8_t Cell_Byte(int Ten_Thousandths);
int Byte_Hundredths(uint8_t Byte);
// The image to write: the two size bytes, then the table.
std::vector<uint8_t> Encode(const Texts& T, uint32_t RPM_Source);
// The same, where a column, row or cell whose text is what the same place of Held shows
// keeps Held's bytes (Held: an image without the size bytes, at T's size; any other length
// is not used). A text tells fewer values apart than its bytes (a factor to 0.01 against
// steps of 1/128, a voltage to 0.1 V against steps of 5/255 V): a table taken from the
// controller goes back as it came, but for what was edited.
std::vector<uint8_t> Encode(const Texts& T, uint32_t RPM_Source, const std::vector<uint8_t>& Held);
// The table of that size from an image without the size bytes; false (Out untouched) when
// the size is invalid or the image too short.
bool Decode(const uint8_t* Image, size_t Length, int Cols, int Rows, uint32_t RPM_Source, Texts& Out);
// Only the cells, into a table of that size (headers kept).
bool Decode_Cells(const uint8_t* Image, size_t Length, Texts& Out);

// ---- live cell ----
// 1-based column whose RPM the live RPM exceeds, searched from the last column down
// (column 1 also on an equal RPM); 0 when column 1's RPM is above the live RPM.
int Live_Col(const Texts& T, int Live_RPM);
// The same for rows, the live input in 0.01 V.
int Live_Row(const Texts& T, int Live_cV);

}  // namespace rpm_tab
