// The oscilloscope's file records, plot geometry, time base and scales.
#include "main/Oscilloscope.h"

#include <algorithm>
#include <cmath>

#include "data/Conversions.h"

const std::array<OSC_Channel_Info, OSC_Channel_Count> OSC_Channels = {{
    {"RPM", OSC_Group::RPM, 1, 0, &Settings_Class::OSC_View_RPM, RGB_Color(0, 0, 255)},
    {"Gas", OSC_Group::Gas, 100, 2, &Settings_Class::OSC_View_Gas, RGB_Color(0, 128, 0)},
    {"TPS", OSC_Group::Volt, 100, 2, &Settings_Class::OSC_View_TPS, RGB_Color(128, 0, 128)},
    {"TempVap", OSC_Group::Temperature, 10, 1, &Settings_Class::OSC_View_DegVap, RGB_Color(166, 54, 0)},
    {"TempGas", OSC_Group::Temperature, 10, 1, &Settings_Class::OSC_View_DegGas, RGB_Color(255, 128, 0)},
    {"PressDiff", OSC_Group::Pressure, 100, 2, &Settings_Class::OSC_View_PressDiff, RGB_Color(0, 89, 58)},
    {"Detonation", OSC_Group::Volt, 100, 2, &Settings_Class::OSC_View_Detonation, RGB_Color(26, 173, 210)},
    {"PressColl", OSC_Group::Pressure, 100, 2, &Settings_Class::OSC_View_PressColl, RGB_Color(0, 89, 128)},
}};

namespace {

// Digits before the point beyond which the formatter switches to the general format.
constexpr int Label_Precision = 15;

int Round_To_Int(double Value) { return static_cast<int>(std::lround(Value)); }

}  // namespace

// ---------------------------------------------------------------- file records

std::string OSC_Encode_Words(const std::vector<uint16_t>& Words)
{
    std::string Bytes;
    Bytes.reserve(Words.size() * 2);
    for (uint16_t W : Words) {
        Bytes.push_back(static_cast<char>(W & 0xFF));
        Bytes.push_back(static_cast<char>(W >> 8));
    }
    return Bytes;
}

OSC_Sample OSC_Decode_Record(const char* Record)
{
    OSC_Sample S{};
    for (int C = 0; C < OSC_Channel_Count; ++C) {
        const auto Low = static_cast<uint8_t>(Record[2 * C]);
        const auto High = static_cast<uint8_t>(Record[2 * C + 1]);
        S[C] = static_cast<int16_t>(static_cast<uint16_t>(Low | (High << 8)));
    }
    return S;
}

long long OSC_Whole_Samples(long long Size)
{
    return Size > 0 ? Size / OSC_Record_Bytes : 0;
}

bool OSC_File_Is_Full(long long Size)
{
    return Size / 2 >= OSC_Full_File_Words;
}

std::string OSC_Value_Text(int Channel, int Value)
{
    const OSC_Channel_Info& C = OSC_Channels[static_cast<std::size_t>(Channel)];
    if (C.Divisor == 1)
        return std::to_string(Value);
    return Format_Fixed(static_cast<double>(Value) / C.Divisor, Label_Precision, C.Decimals);
}

// ---------------------------------------------------------------- geometry and scales

void OSC_Hold_Settings(Settings_Class& S, int Rows)
{
    S.OSC_Step_Grid = std::clamp<int32_t>(S.OSC_Step_Grid, 1, static_cast<int32_t>(OSC_Step_Ms.size()));
    S.OSC_Degree_Volt_Pos = std::clamp<int32_t>(S.OSC_Degree_Volt_Pos, 1, std::max(1, Rows - 1));
    for (int32_t* Max : {&S.OSC_Max_mls, &S.OSC_Max_RPM, &S.OSC_Max_Deg, &S.OSC_Max_Bar, &S.OSC_Max_Volt})
        *Max = std::max<int32_t>(*Max, 1);
}

void OSC_Geometry(OSC_Data_Class& D, int Image_Width, int Image_Height)
{
    D.W = std::max(OSC_Divisions, Image_Width - OSC_Width_Margin);
    D.R = std::max(2, (Image_Height - OSC_Height_Margin) / OSC_Row_Pixels);
    D.HP = D.R * OSC_Row_Pixels;
    D.Image_Height = D.HP + OSC_Height_Margin;
    D.Bottom = D.HP + OSC_Plot_Top;
    D.Left = OSC_Plot_Left;
    D.Right = D.W + OSC_Plot_Left;
    OSC_Split(D, D.P);
}

void OSC_Time_Base(OSC_Data_Class& D, int Step)
{
    const int Index = std::clamp(Step, 1, static_cast<int>(OSC_Step_Ms.size())) - 1;
    D.T_Ms = OSC_Step_Ms[static_cast<std::size_t>(Index)];
    D.N = D.T_Ms * OSC_Divisions / OSC_Sample_Ms;
    D.Pixels_Per_Sample = static_cast<double>(D.W) * OSC_Sample_Ms / OSC_Divisions / D.T_Ms;
    for (int I = 1; I < OSC_Divisions; ++I)
        D.Grid_X[I - 1] = Round_To_Int(static_cast<double>(D.W) / OSC_Divisions * I);
    for (int I = 0; I < OSC_Trace_Length; ++I)
        D.X[I] = Round_To_Int(I * D.Pixels_Per_Sample);
}

void OSC_Split(OSC_Data_Class& D, int Degree_Volt_Pos)
{
    D.P = std::clamp(Degree_Volt_Pos, 1, D.R - 1);
    const double Row = static_cast<double>(D.HP) / D.R;
    D.HV = Round_To_Int(Row * D.P);
    D.HT = Round_To_Int(Row * (D.R - D.P));
}

int32_t OSC_Class::Row(double Value) const
{
    return Baseline - static_cast<int32_t>(std::lround((Value + Offset) * Scale));
}

void OSC_Make_Set(OSC_Class (&Set)[OSC_Channel_Count], const OSC_Data_Class& D,
                  const Settings_Class& S)
{
    // Full scales from 1 (a zero would divide by zero); the settings are held there too.
    auto Max_Of = [](int32_t Value) { return static_cast<double>(std::max<int32_t>(Value, 1)); };
    for (int C = 0; C < OSC_Channel_Count; ++C) {
        OSC_Class& T = Set[C];
        T = OSC_Class{};
        T.Baseline = D.HP;
        switch (OSC_Channels[static_cast<std::size_t>(C)].Group) {
        case OSC_Group::RPM:
            T.Scale = D.HP / Max_Of(S.OSC_Max_RPM);
            break;
        case OSC_Group::Gas:
            T.Scale = D.HP / (Max_Of(S.OSC_Max_mls) * 100);
            break;
        case OSC_Group::Pressure:
            T.Scale = D.HP / Max_Of(S.OSC_Max_Bar);
            break;
        case OSC_Group::Volt:
            T.Scale = D.HV / Max_Of(S.OSC_Max_Volt);
            break;
        case OSC_Group::Temperature:
            T.Baseline = D.HT;
            T.Offset = S.OSC_Negativ_Degree ? OSC_Negative_Offset : 0;
            T.Scale = D.HT / (Max_Of(S.OSC_Max_Deg) + T.Offset);
            break;
        }
    }
}

std::string OSC_Row_Label(OSC_Group Group, int I, const OSC_Data_Class& D, const Settings_Class& S)
{
    auto Text = [](double Value, int Decimals) { return Format_Fixed(Value, Label_Precision, Decimals); };
    const double R = D.R;
    switch (Group) {
    case OSC_Group::Gas:
        return Text(I * static_cast<double>(S.OSC_Max_mls) / R, 0);
    case OSC_Group::RPM:
        return Text(I * static_cast<double>(S.OSC_Max_RPM) / R, 0);
    case OSC_Group::Pressure:
        return Text(I * static_cast<double>(S.OSC_Max_Bar) / (R * 100), 1);
    case OSC_Group::Volt:
        if (I > D.P)
            return "";
        return Text(I * static_cast<double>(S.OSC_Max_Volt) / (D.P * 100.0), 1);
    case OSC_Group::Temperature: {
        if (I <= D.P)
            return "";
        const int Offset = S.OSC_Negativ_Degree ? OSC_Negative_Offset : 0;
        const double Step = (S.OSC_Max_Deg + Offset) / ((D.R - D.P) * 10.0);
        return Text((I - D.P) * Step - Offset / 10.0, 0);
    }
    }
    return "";
}

std::string OSC_Seconds_Text(int T_Ms)
{
    return Format_General(T_Ms / 1000.0, Label_Precision);
}
