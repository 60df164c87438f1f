// The oscilloscope's data side: the file of samples (*.osc), the plot's geometry, time base
// and scales, and the traces (one OSC_Class per channel, two sets of eight).
//
// *.osc file: no header; samples of 16 bytes, eight 16-bit little-endian values in the
// channel order below (read back as signed). No time stamps: one sample per poll, nominally
// 100 ms. Files grow at their end in blocks of 100 samples; a file holding
// OSC_Full_File_Words 16-bit words or more is full.
//
// Plot (image pixels): W = image width - 107 columns, R = (image height - 33) div 15 rows
// 15 pixels apart, HP = R * 15; the plot stands at x 55..W + 55, y 20..HP + 20. Rows 0..P
// from the bottom (P = setting OSC_Degree_Volt_Pos) are the volt area, the rows above it
// the temperature area.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/Settings_Record.h"
#include "platform/ui/Types.h"

constexpr int OSC_Channel_Count = 8;
// Rows of a trace: sample indices 0..1000 (the slowest time base shows 1000 samples).
constexpr int OSC_Trace_Length = 1001;
constexpr int OSC_Record_Bytes = 2 * OSC_Channel_Count;
constexpr int OSC_Block_Samples = 100;
constexpr int OSC_Block_Words = OSC_Block_Samples * OSC_Channel_Count;
// A file holding this many 16-bit words (about 4 GiB) takes no more samples.
constexpr long long OSC_Full_File_Words = 2147483632LL;

// Fixed placement of the plot inside its image, pixels.
constexpr int OSC_Plot_Left = 55;
constexpr int OSC_Plot_Top = 20;
constexpr int OSC_Row_Pixels = 15;
constexpr int OSC_Width_Margin = 107;    // image width - plot width
constexpr int OSC_Height_Margin = 33;    // image height - plot height
constexpr int OSC_Divisions = 10;        // time divisions across the plot
// Temperatures below zero are plotted from -55.0 degrees on (0.1 degree units).
constexpr int OSC_Negative_Offset = 550;

// Time bases 1..7: milliseconds per division.
constexpr std::array<int, 7> OSC_Step_Ms = {100, 200, 500, 1000, 2000, 5000, 10000};
// The sample period the plot assumes, ms.
constexpr int OSC_Sample_Ms = 100;

enum class OSC_Group { RPM, Gas, Volt, Temperature, Pressure };

// One channel: its place in the file record and the trace, how its edit shows a value,
// its scale group, its visibility setting and its trace colour.
struct OSC_Channel_Info {
    const char* Name;              // the suffix of its controls: Edit_OSC_<Name>, CheckBox_OSC_<Name>
    OSC_Group Group;
    int Divisor;                   // edit shows value / Divisor ...
    int Decimals;                  // ... with this many decimals
    bool Settings_Class::*View;    // visibility setting (the visibility set of slot 1)
    TColor Colour;
};
extern const std::array<OSC_Channel_Info, OSC_Channel_Count> OSC_Channels;
enum OSC_Channel_Index {
    OSC_RPM, OSC_Gas, OSC_TPS, OSC_TempVap, OSC_TempGas, OSC_PressDiff, OSC_Detonation, OSC_PressColl
};
// The order the traces are drawn in (the manifold pressure before the knock sensor).
constexpr std::array<int, OSC_Channel_Count> OSC_Draw_Order = {0, 1, 2, 3, 4, 5, 7, 6};

using OSC_Sample = std::array<int16_t, OSC_Channel_Count>;
// A visibility set: one flag per channel.
using OSC_Visibility = std::array<bool, OSC_Channel_Count>;

// ---- file records ----
// The bytes of samples given as words (eight per sample): each word low byte first.
std::string OSC_Encode_Words(const std::vector<uint16_t>& Words);
// The sample of one 16-byte record (at least OSC_Record_Bytes bytes at Record).
OSC_Sample OSC_Decode_Record(const char* Record);
// Whole samples in a file of Size bytes (a trailing part of a record does not count).
long long OSC_Whole_Samples(long long Size);
// A file of Size bytes takes no more samples.
bool OSC_File_Is_Full(long long Size);
// An edit's text of a channel's value.
std::string OSC_Value_Text(int Channel, int Value);

// ---- geometry, time base and scales ----
// The settings the plot divides by, held to their ranges: OSC_Step_Grid 1..7, the
// OSC_Max_ values from 1, OSC_Degree_Volt_Pos 1..Rows - 1 (a split at either end would
// leave one area without height).
void OSC_Hold_Settings(Settings_Class& S, int Rows);

struct OSC_Data_Class {
    int W = 640;                   // plot width
    int R = 18;                    // rows
    int HP = 270;                  // plot height
    int Image_Height = 303;
    int Bottom = 290;              // plot bottom in image coordinates (HP + 20)
    int Left = OSC_Plot_Left;
    int Right = 695;               // W + 55
    int P = 5;                     // split row
    int HV = 75, HT = 195;         // heights of the volt and temperature areas
    int T_Ms = 1000;               // per division
    int N = 100;                   // samples across the plot
    double Pixels_Per_Sample = 6.4;
    int Grid_X[OSC_Divisions - 1] = {};   // the nine division columns
    int32_t X[OSC_Trace_Length] = {};     // column of each sample index
};
// Plot size from the image's size (R at least 2).
void OSC_Geometry(OSC_Data_Class& D, int Image_Width, int Image_Height);
// Time base from OSC_Step_Grid (held to 1..7): T, N, pixels per sample, division columns.
void OSC_Time_Base(OSC_Data_Class& D, int Step);
// Split row P from OSC_Degree_Volt_Pos (held to 1..R - 1) and the two areas' heights.
void OSC_Split(OSC_Data_Class& D, int Degree_Volt_Pos);

// One trace.
class OSC_Class {
public:
    double Scale = 0;              // pixels per file unit
    int Baseline = 0;              // the row of the value 0 (plus Offset)
    int Offset = 0;                // added to a value before it is scaled
    int32_t Y[OSC_Trace_Length] = {};
    // The pixel row of a value.
    int32_t Row(double Value) const;
};
// The eight traces of one set with the scales of the settings; rows cleared.
void OSC_Make_Set(OSC_Class (&Set)[OSC_Channel_Count], const OSC_Data_Class& D,
                  const Settings_Class& S);

// Labels of row I (0 = bottom) of the axes by group ("" where a group has no label on the
// row: temperatures above P only, volts on rows 0..P).
std::string OSC_Row_Label(OSC_Group Group, int I, const OSC_Data_Class& D, const Settings_Class& S);
// Seconds per division as Edit_OSC_One_Pixel shows them.
std::string OSC_Seconds_Text(int T_Ms);
