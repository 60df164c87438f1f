#include "protocol/Param_Codecs.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <initializer_list>

#include "data/Call_Hook.h"
#include "data/Configuration.h"
#include "data/Conversions.h"
#include "data/Globals.h"
#include "data/Injectors.h"
#include "data/Message_Types.h"
#include "data/Settings.h"
#include "language/Language.h"
#include "platform/system/Files.h"
#include "protocol/CFG_File.h"
#include "protocol/Frames.h"
#include "protocol/Protocol_Hooks.h"
#include "protocol/Script.h"
#include "protocol/Status_Queue.h"
#include "protocol/Write_Lists.h"

CFG_Codec_Hooks_Class CFG_Codec_Hooks;
int32_t CFG_ID_Received = 0;
int32_t CFG_Reply_Cursor = 1;

namespace {

using Config = Configuration_Class;

constexpr TColor Colour_Service_Text = clFuchsia;
constexpr int32_t No_Identity = 0xFFFF;
constexpr uint8_t No_Influence = 5;        // percent byte of a factor without influence
constexpr uint8_t Sweep_Bit = 0x80;        // bit 7 of 'E' while the sensitivity sweep runs
constexpr double Scale_128_Percent = 1.28;
// A limit loop that has not settled after this many steps swings about zero for ever.
constexpr int Max_Limit_Steps = 40;
constexpr int Max_Factor = 95;
constexpr int Limit_Step = 5;
constexpr int32_t Coefficient_Max = 255;
constexpr int32_t Range_Scale = 25500;     // 255 x 100: the coefficient limit in per cent
constexpr const char* Service_Text_Key = "ST_Message_Din_Indic";
constexpr const char* Short_Block_Key = "Error_CFG_Receiv";
constexpr const char* Identity_Key = "Error_ID";
// The file saved before a firmware load: it belongs to no car, so no identity is checked.
constexpr const char* Firmware_Save_File = "Temp.cfg";

// A short block was reported, in the connection (Script_Connect_Count) of that report.
bool Short_Block_Reported = false;
uint32_t Short_Block_Reported_In = 0;

// ---- small helpers ----

uint8_t Low_Byte(int32_t v) { return static_cast<uint8_t>(v & 0xFF); }

Byte_Pair Pair(int32_t b2, int32_t b3) { return {Low_Byte(b2), Low_Byte(b3)}; }

// Bit `bit` of a byte as a switch.
bool Bit(uint8_t byte, int bit) { return (byte >> bit) & 1; }

uint8_t Bits(std::initializer_list<bool> flags)
{
    uint8_t v = 0, bit = 0;
    for (bool f : flags)
        v = static_cast<uint8_t>(v | (f ? 1 << bit : 0)), ++bit;
    return v;
}

// The word of a reply pair: low byte first.
int32_t Word_Of(uint8_t first, uint8_t second) { return Make_Word(second, first); }

// The temperature-table index of t; 00 00 when the table cannot be read (a write that
// would carry it is refused before it is built, Write_Request_Refused).
Byte_Pair Temperature_Pair(int32_t t)
{
    Byte_Pair bytes{0, 0};
    Temperature_To_Bytes(t, bytes);
    return bytes;
}

// Whole degrees from a table index, to the nearest degree (an exact half away from zero):
// the index a write sends is the entry nearest to the whole degree, up to half a degree
// either side, so only rounding gives that degree back; cut off, a value read and sent
// again would walk down a degree per cycle. The field keeps its value when the table
// cannot be read.
void Temperature_From(int32_t& field, uint8_t first, uint8_t second)
{
    const int32_t tenths = Raw_To_Temperature(second, first);
    if (tenths != Temperature_Unknown)
        field = (tenths + (tenths < 0 ? -5 : 5)) / 10;
}

// A percent byte from the controller: 5 is no influence; else sign and magnitude on the
// scale 128 = 100 %.
int32_t Signed_Percent_Of(uint8_t b)
{
    if (b == No_Influence)
        return 0;
    const int32_t m = (b & 0x7F) * 100 / 128;
    return (b & 0x80) ? -m : m;
}

int32_t Scaled_Byte_Of(uint8_t b) { return static_cast<int32_t>(std::trunc(b / Scale_128_Percent)); }

// Name of an injector type number; "Error" for a number that is no type.
std::string Injector_Type_Name(uint8_t number)
{
    if (number < 1 || number >= Injector_Names.size())
        return "Error";
    return Injector_Names[number];
}

// ---- the influence-factor limits ----

struct Limit_Rule {
    int32_t Config::*Factor;
    int32_t Config::*Support;
    int Shift;             // coefficient = |F| x 2^Shift / (R x 100)
    bool Signed;           // the factor may be negative
    int32_t (*Raw)();      // the support word the controller receives
};

int32_t Raw_Pressure_Support() { return Pressure_To_Raw(1, Configuration.Supp_DiffPress); }
int32_t Raw_Temperature_Support() { return Configuration.Supp_TempGas; }
int32_t Raw_Power_Support() { return Configuration.Supp_Power / 2; }

const Limit_Rule& Limit_Of(Infl_Factor which)
{
    static const std::array<Limit_Rule, 5> Rules{{
        {&Config::Infl_DiffPress_S, &Config::Supp_DiffPress, 15, true, Raw_Pressure_Support},
        {&Config::Infl_DiffPress_B, &Config::Supp_DiffPress, 15, true, Raw_Pressure_Support},
        {&Config::Infl_TempGas_S, &Config::Supp_TempGas, 12, true, Raw_Temperature_Support},
        {&Config::Infl_TempGas_B, &Config::Supp_TempGas, 12, true, Raw_Temperature_Support},
        {&Config::Infl_Power, &Config::Supp_Power, 15, false, Raw_Power_Support},
    }};
    return Rules[static_cast<size_t>(which)];
}

void Run_Limit(Infl_Factor which)
{
    const Limit_Rule& rule = Limit_Of(which);
    int32_t& factor = Configuration.*rule.Factor;
    const int64_t raw = rule.Raw();
    const double per_unit = std::ldexp(1.0, rule.Shift) / (static_cast<double>(raw) * 100.0);
    if (Configuration.*rule.Support == 0 || raw <= 0) {
        // The page's range is 0..0: record, page and controller agree on no influence.
        factor = 0;
    } else {
        int steps = 0;
        while (std::abs(static_cast<double>(factor)) * per_unit > Coefficient_Max) {
            if (steps++ == Max_Limit_Steps) {
                factor = 0;
                break;
            }
            factor += factor < 0 ? Limit_Step : -Limit_Step;
        }
        // A step of 5 may pass zero (4 becomes -1): the supply factor has no sign, its
        // range starts at 0, and so does the factor.
        if (!rule.Signed && factor < 0)
            factor = 0;
    }
    const int32_t maximum =
        static_cast<int32_t>(std::min<int64_t>(std::max<int64_t>(raw, 0) * Range_Scale >> rule.Shift,
                                               Max_Factor));
    const int32_t minimum = rule.Signed ? -maximum : 0;
    Call_Hook(CFG_Codec_Hooks.Infl_Limits_Show, which, factor, minimum, maximum);
}

// A percent pair: sign and magnitude, then the coefficient for support s on the scale
// `factor` (256 or 32 per raw unit), never above 255.
Byte_Pair Percent_Pair(int32_t percent, int32_t support, int32_t factor)
{
    return Percent_To_Signed_Byte(percent, support, factor * 128);
}

// ---- the letter table ----

struct Letter_Codec {
    uint8_t Letter;
    Byte_Pair (*Encode)();
    void (*Decode)(uint8_t first, uint8_t second);
};

Config& C() { return Configuration; }

const std::array<Letter_Codec, 52> Letters{{
    {'A', [] { return Split_Word(C().Car_ID & 0xFFFF); },
     [](uint8_t f, uint8_t s) { CFG_ID_Received = Word_Of(f, s); }},
    {'B', [] { return Split_Word(C().Pressure_1_Bar); },
     [](uint8_t f, uint8_t s) { C().Pressure_1_Bar = Word_Of(f, s); }},
    {'C',
     [] {
         const Config& c = C();
         return Byte_Pair{Bits({c.PG_Preheating_ON, c.GP_Buzzer_ON, c.GI_AutoTempGas_ON, c.LPG_on,
                                c.Check_Sensors_ON, c.Sensor_OFF}),
                          Bits({c.DS_Correction_ON, c.Limit_TPS_ON, c.Limit_RPM_ON,
                                c.Limit_Temperature_ON, c.Virtual_Injection_ON, c.Cut_Off_ON,
                                c.Cut_Off_Edge})};
     },
     [](uint8_t f, uint8_t s) {
         Config& c = C();
         c.PG_Preheating_ON = Bit(f, 0);
         c.GP_Buzzer_ON = Bit(f, 1);
         c.GI_AutoTempGas_ON = Bit(f, 2);
         c.LPG_on = Bit(f, 3);
         c.Check_Sensors_ON = Bit(f, 4);
         c.Sensor_OFF = Bit(f, 5);
         c.DS_Correction_ON = Bit(s, 0);
         c.Limit_TPS_ON = Bit(s, 1);
         c.Limit_RPM_ON = Bit(s, 2);
         c.Limit_Temperature_ON = Bit(s, 3);
         c.Virtual_Injection_ON = Bit(s, 4);
         c.Cut_Off_ON = Bit(s, 5);
         c.Cut_Off_Edge = Bit(s, 6);
     }},
    {'D', [] { return Byte_Pair{Bits({C().Filter_TPS_1_ON, C().Filter_TPS_2_ON, C().Filter_TPS_3_ON}), 0}; },
     [](uint8_t f, uint8_t) {
         C().Filter_TPS_1_ON = Bit(f, 0);
         C().Filter_TPS_2_ON = Bit(f, 1);
         C().Filter_TPS_3_ON = Bit(f, 2);
     }},
    {'E',
     [] {
         Byte_Pair b = RPM_Sensitiv_To_Bytes();
         if (Call_Hook(CFG_Codec_Hooks.RPM_StartStop_Down))
             b.High |= Sweep_Bit;
         return b;
     },
     [](uint8_t f, uint8_t s) { C().RPM_Sensitiv = Bytes_To_Volt_2500(s, f); }},
    {'F', [] { return Split_Word(static_cast<int32_t>(C().RPM_Source / 1000)); },
     [](uint8_t f, uint8_t s) { C().RPM_Source = static_cast<uint32_t>(Word_Of(f, s)) * 1000; }},
    // A fixed 1200 rpm as a period: the controller's reference of the RPM constant.
    {'G', [] { return RPM_To_Period_Bytes(1200); }, [](uint8_t, uint8_t) {}},
    {'H', [] { return Pair(C().RPM_Div, C().GI_Div); },
     [](uint8_t f, uint8_t s) { C().RPM_Div = f, C().GI_Div = s; }},
    {'I', [] { return Temperature_Pair(C().PG_TempVap); },
     [](uint8_t f, uint8_t s) { Temperature_From(C().PG_TempVap, f, s); }},
    {'J', [] { return Pressure_To_Bytes(10, C().PG_PressDiff); },
     [](uint8_t f, uint8_t s) { C().PG_PressDiff = Bytes_To_Pressure(s, f) / 10; }},
    {'K', [] { return RPM_To_Period_Bytes(C().PG_RPM); },
     [](uint8_t f, uint8_t s) { C().PG_RPM = Period_Bytes_To_RPM(s, f); }},
    {'L', [] { return Split_Word(C().PG_Preheating * 1000); },
     [](uint8_t f, uint8_t s) { C().PG_Preheating = Word_Of(f, s) / 1000; }},
    {'M', [] { return Pair(C().PG_Yellow_Wire, 0); },
     [](uint8_t f, uint8_t) { C().PG_Yellow_Wire = f; }},
    {'N', [] { return Pair(C().PG_YW_Delay, C().PG_YW_Impulse); },
     [](uint8_t f, uint8_t s) { C().PG_YW_Delay = f, C().PG_YW_Impulse = s; }},
    // A byte of 128 is the controller's "not set" of these two times.
    {'O', [] { return Pair(C().PG_Delay, C().GP_Time); },
     [](uint8_t f, uint8_t s) {
         C().PG_Delay = f == 128 ? 0 : f;
         C().GP_Time = s == 128 ? 0 : s;
     }},
    {'P', [] { return Pressure_To_Bytes(10, C().GP_PressDiff_Low); },
     [](uint8_t f, uint8_t s) { C().GP_PressDiff_Low = Bytes_To_Pressure(s, f) / 10; }},
    {'Q', [] { return Pressure_To_Bytes(10, C().GP_PressDiff_High); },
     [](uint8_t f, uint8_t s) { C().GP_PressDiff_High = Bytes_To_Pressure(s, f) / 10; }},
    {'R', [] { return Temperature_Pair(C().GP_TempVap); },
     [](uint8_t f, uint8_t s) { Temperature_From(C().GP_TempVap, f, s); }},
    {'S', [] { return Pair(Injector_Type_Index(C().GI_Type), C().GI_Num); },
     [](uint8_t f, uint8_t s) {
         C().GI_Type = Injector_Type_Name(f);
         Inject_Num_Set(s);
     }},
    {'T', [] { return Split_Word(C().GI_Range * 1000); },
     [](uint8_t f, uint8_t s) { C().GI_Range = Word_Of(f, s) / 1000; }},
    {'U', [] { return Split_Word(C().GI_Start_2); },
     [](uint8_t f, uint8_t s) { C().GI_Start_2 = Word_Of(f, s); }},
    {'V', [] { return Split_Word(C().GI_Start_S); },
     [](uint8_t f, uint8_t s) { C().GI_Start_S = Word_Of(f, s); }},
    {'W', [] { return Split_Word(C().GI_Duty); },
     [](uint8_t f, uint8_t s) { C().GI_Duty = Word_Of(f, s); }},
    {'X', [] { return Split_Word(C().GI_Period); },
     [](uint8_t f, uint8_t s) { C().GI_Period = Word_Of(f, s); }},
    {'Y', [] { return Temperature_Pair(C().GI_AutoTempGas); },
     [](uint8_t f, uint8_t s) { Temperature_From(C().GI_AutoTempGas, f, s); }},
    {'Z', [] { return Pair(C().GI_Pos_1, C().GI_Pos_2); },
     [](uint8_t f, uint8_t s) { C().GI_Pos_1 = f, C().GI_Pos_2 = s; }},
    {'[', [] { return Pair(C().GI_Pos_3, C().GI_Pos_4); },
     [](uint8_t f, uint8_t s) { C().GI_Pos_3 = f, C().GI_Pos_4 = s; }},
    {'\\', [] { return Pair(C().GI_Pos_5, C().GI_Pos_6); },
     [](uint8_t f, uint8_t s) { C().GI_Pos_5 = f, C().GI_Pos_6 = s; }},
    {']',
     [] {
         return Byte_Pair{Level_Sensor_Box_Index(C().GL_Type),
                          Bits({C().GL_Invert_ON, C().GL_90_ON, C().GL_Buzzer_ON})};
     },
     [](uint8_t f, uint8_t s) {
         C().GL_Type = Level_Sensor_Box_Name(f);
         C().GL_Invert_ON = Bit(s, 0);
         C().GL_90_ON = Bit(s, 1);
         C().GL_Buzzer_ON = Bit(s, 2);
     }},
    {'^', [] { return Split_Word(C().GL_Etalon); },
     [](uint8_t f, uint8_t s) { C().GL_Etalon = static_cast<uint16_t>(Word_Of(f, s)); }},
    {'_', [] { return Split_Word(C().GL_Pos_1); },
     [](uint8_t f, uint8_t s) { C().GL_Pos_1 = Word_Of(f, s); }},
    {'`', [] { return Split_Word(C().GL_Pos_2); },
     [](uint8_t f, uint8_t s) { C().GL_Pos_2 = Word_Of(f, s); }},
    {'a', [] { return Split_Word(C().GL_Pos_3); },
     [](uint8_t f, uint8_t s) { C().GL_Pos_3 = Word_Of(f, s); }},
    {'b', [] { return Split_Word(C().GL_Pos_4); },
     [](uint8_t f, uint8_t s) { C().GL_Pos_4 = Word_Of(f, s); }},
    {'c', [] { return Split_Word(C().GL_Pos_5); },
     [](uint8_t f, uint8_t s) { C().GL_Pos_5 = Word_Of(f, s); }},
    {'d', [] { return Pressure_To_Bytes(1, C().Supp_DiffPress); },
     [](uint8_t f, uint8_t s) { C().Supp_DiffPress = Bytes_To_Pressure(s, f); }},
    {'e',
     [] {
         Infl_DiffPress_S_Limits();
         return Percent_Pair(C().Infl_DiffPress_S, Raw_Pressure_Support(), 256);
     },
     [](uint8_t f, uint8_t) { C().Infl_DiffPress_S = Signed_Percent_Of(f); }},
    {'f',
     [] {
         Infl_DiffPress_B_Limits();
         return Percent_Pair(C().Infl_DiffPress_B, Raw_Pressure_Support(), 256);
     },
     [](uint8_t f, uint8_t) { C().Infl_DiffPress_B = Signed_Percent_Of(f); }},
    {'g', [] { return Temperature_Pair(C().Supp_TempGas); },
     [](uint8_t f, uint8_t s) { Temperature_From(C().Supp_TempGas, f, s); }},
    {'h',
     [] {
         Infl_TempGas_S_Limits();
         return Percent_Pair(C().Infl_TempGas_S, Raw_Temperature_Support(), 32);
     },
     [](uint8_t f, uint8_t) { C().Infl_TempGas_S = Signed_Percent_Of(f); }},
    {'i',
     [] {
         Infl_TempGas_B_Limits();
         return Percent_Pair(C().Infl_TempGas_B, Raw_Temperature_Support(), 32);
     },
     [](uint8_t f, uint8_t) { C().Infl_TempGas_B = Signed_Percent_Of(f); }},
    {'j', [] { return Half_To_Bytes(C().Supp_Power); },
     [](uint8_t f, uint8_t s) { C().Supp_Power = Bytes_To_Raw_Times_2(s, f); }},
    {'k',
     [] {
         Infl_Power_Limits();
         return Percent_Pair(C().Infl_Power, Raw_Power_Support(), 256);
     },
     // The supply factor is never negative: all 8 bits are its magnitude.
     [](uint8_t f, uint8_t) {
         C().Infl_Power = f == No_Influence ? 0 : static_cast<int32_t>(std::trunc((f / 128.0 + 0.005) * 100));
     }},
    {'l', [] { return Pair(C().Clock_Timer, C().DS_Timer); },
     [](uint8_t f, uint8_t s) { C().Clock_Timer = f, C().DS_Timer = s; }},
    {'m', [] { return Volt_500_To_Bytes_Int(C().DS_High_Level); },
     [](uint8_t f, uint8_t s) { C().DS_High_Level = Bytes_To_Volt_500_B(s, f); }},
    {'n', [] { return Pair(Scaled_To_Byte(C().DS_High_Step, 1.28f), C().Filter_TPS_Time); },
     [](uint8_t f, uint8_t s) {
         C().DS_High_Step = Scaled_Byte_Of(f);
         C().Filter_TPS_Time = s;
     }},
    {'o', [] { return Pair(C().Limit_TPS_Snake, Scaled_To_Byte(C().Limit_TPS_Range_RPM, 1.28f)); },
     [](uint8_t f, uint8_t s) {
         C().Limit_TPS_Snake = f;
         C().Limit_TPS_Range_RPM = Scaled_Byte_Of(s);
     }},
    {'p', [] { return Pair(C().Limit_RPM_Snake, C().Virtual_Injection_Timer); },
     [](uint8_t f, uint8_t s) { C().Limit_RPM_Snake = f, C().Virtual_Injection_Timer = s; }},
    {'q', [] { return Scaled_To_Bytes(C().Limit_Temperature, C().Thermocouple_Factor); },
     [](uint8_t f, uint8_t s) {
         // Without a thermocouple factor no temperature can be read back: the field stays.
         if (C().Thermocouple_Factor > 0)
             C().Limit_Temperature = static_cast<int32_t>(
                 std::trunc(Word_Of(f, s) / static_cast<double>(C().Thermocouple_Factor) + 0.05));
     }},
    // One TPS emulation word: high half first to the controller, low byte first back.
    {'r', [] { return Byte_Pair{C().Emulation_TPS_Config_H, C().Emulation_TPS_Config_L}; },
     [](uint8_t f, uint8_t s) {
         C().Emulation_TPS_Config_L = f;
         C().Emulation_TPS_Config_H = s;
     }},
    {'s', [] { return Pair(C().Cut_Off_Time / 100, Scaled_To_Byte(C().Cut_Off_Factor, 1.28f)); },
     [](uint8_t f, uint8_t s) {
         C().Cut_Off_Time = f * 100;
         C().Cut_Off_Factor = Scaled_Byte_Of(s);
     }},
    {'t', [] { return Volt_500_To_Bytes(C().Cut_Off_Volt); },
     [](uint8_t f, uint8_t s) { C().Cut_Off_Volt = Bytes_To_Volt_500(s, f); }},
}};

// Arms the single-parameter frame of one letter. Both data bytes are written for every
// letter, so nothing of the code built before stays in the frame.
void Send_Letter(const Letter_Codec& codec)
{
    Begin_Frame(codec.Letter);
    const Byte_Pair b = codec.Encode();
    TX_Frame[2] = b.High;
    TX_Frame[3] = b.Low;
    Send_Frame();
}

void Decode_At_Cursor(const Letter_Codec& codec)
{
    if (CFG_Reply_Cursor < 1 || CFG_Reply_Cursor >= static_cast<int32_t>(Frame_Buffer_Size))
        return;
    codec.Decode(RX_Frame[CFG_Reply_Cursor - 1], RX_Frame[CFG_Reply_Cursor]);
}

// ---- controls of the letters ----

const std::vector<std::string>& Controls_Of(uint8_t letter)
{
    static const std::vector<std::string> None;
    static const std::array<std::vector<std::string>, 't' - 'A' + 1> Table = [] {
        std::array<std::vector<std::string>, 't' - 'A' + 1> t;
        auto set = [&t](char letter, std::vector<std::string> names) {
            t[static_cast<size_t>(letter - 'A')] = std::move(names);
        };
        set('B', {"UpDown_CFG_Pressure_1_Bar"});
        set('C', {"CheckBox_CFG_PG_Preheating", "Label_CFG_PG_Preheating", "CheckBox_CFG_GP_Buzzer",
                  "Label_CFG_GP_Buzzer", "CheckBox_CFG_Inject_Auto", "Label_CFG_Inject_Auto",
                  "RadioButton_CFG_LPG", "Label_CFG_LPG", "RadioButton_CFG_CNG", "Label_CFG_CNG",
                  "RadioButton_CFG_Check_Sensors1", "RadioGroup_CFG_Check_Sensors1",
                  "RadioButton_CFG_Check_Sensors2", "RadioGroup_CFG_Check_Sensors2",
                  "CheckBox_CFG_Sensor_OFF", "Label_CFG_Sensor_OFF", "CheckBox_Limit_Temperature_ON",
                  "Label_Limit_Temperature", "CheckBox_DS_Correction_ON", "Label_DS_Correction_ON",
                  "CheckBox_Limit_TPS_ON", "Label_Limit_TPS_ON", "CheckBox_Limit_RPM_ON",
                  "Label_Limit_RPM_ON"});
        set('E', {"Edit_CFG_RPM_Sensitiv"});
        set('I', {"UpDown_CFG_PG_Temper"});
        set('J', {"UpDown_CFG_PG_Pressure"});
        set('K', {"UpDown_CFG_PG_RPM"});
        set('L', {"UpDown_CFG_PG_Preheating"});
        set('O', {"UpDown_CFG_PG_Delay", "UpDown_CFG_GP_Time"});
        set('P', {"UpDown_CFG_GP_PressDiff_Low"});
        set('Q', {"UpDown_CFG_GP_PressDiff_High"});
        set('R', {"UpDown_CFG_GP_TempVap"});
        set('S', {"ComboBox_CFG_Inject_Type", "UpDown_CFG_Inject_Num"});
        set('T', {"UpDown_CFG_Inject_Range"});
        set('V', {"UpDown_CFG_Inject_Start"});
        set('W', {"UpDown_CFG_Inject_PWM_DutyCycle", "UpDown_CFG_Inject_PWM_Freq"});
        set('Y', {"UpDown_CFG_Inject_Auto"});
        set('^', {"Button_CFG_LevelSensor_Clr", "Button_CFG_LevelSensor_Set"});
        set('_', {"TrackBar_CFG_Level1", "CheckBox_CFG_Level_Invert", "CheckBox_CFG_Level_90",
                  "CheckBox_CFG_Level_Low"});
        set('`', {"TrackBar_CFG_Level2"});
        set('a', {"TrackBar_CFG_Level3"});
        set('b', {"TrackBar_CFG_Level4"});
        set('c', {"TrackBar_CFG_Level5"});
        set('d', {"UpDown_CFG_Supp_DiffPress"});
        set('e', {"UpDown_CFG_Infl_DiffPress_S"});
        set('f', {"UpDown_CFG_Infl_DiffPress_B"});
        set('g', {"UpDown_CFG_Supp_TempGas"});
        set('h', {"UpDown_CFG_Infl_TempGas_S"});
        set('i', {"UpDown_CFG_Infl_TempGas_B"});
        set('j', {"UpDown_CFG_Supp_Power"});
        set('k', {"UpDown_CFG_Infl_Power"});
        return t;
    }();
    if (letter < 'A' || letter > 't')
        return None;
    return Table[static_cast<size_t>(letter - 'A')];
}

// The controller holds another car's configuration than the open car file.
bool Identity_Differs()
{
    const int32_t id = Configuration.Car_ID & 0xFFFF;
    if (id == 0 || id == No_Identity || CFG_ID_Received == 0 || CFG_ID_Received == No_Identity)
        return false;
    if (id == CFG_ID_Received)
        return false;
    const std::string& name = Settings.CFG_File_Name;
    if (!CFG_File_Name_Valid(name) || name == Firmware_Save_File)
        return false;
    return sys::File_Exists(Settings.CFG_File_Path + "/" + name);
}

void Show_Key_Message(const char* key)
{
    Call_Hook(Protocol_Hooks.Show_Message, Message_Type::Language_Key, key, clRed);
}

}  // namespace

// ---- reply decoders ----

void Receiv_CFG_All()
{
    CFG_Reply_Cursor = 1;
    const int count = Build_Full_List();
    // The pairs the controller sent: its reported block length, which may be shorter
    // than the list.
    const int32_t last_data = Len_Configuration + 1;
    bool short_block = false;
    for (int i = 1; i <= count; ++i) {
        CFG_Reply_Cursor += 2;
        if (CFG_Reply_Cursor > last_data) {
            short_block = true;
            break;
        }
        Get_CFG_Parameter(Block_List.Code[i]);
    }
    if (short_block && (!Short_Block_Reported || Short_Block_Reported_In != Script_Connect_Count)) {
        Short_Block_Reported = true;
        Short_Block_Reported_In = Script_Connect_Count;
        Show_Key_Message(Short_Block_Key);
    }
    // A car file is named: the configuration just read is saved into it at the next poll.
    CFG_File_Named = !Settings.CFG_File_Name.empty();
    if (Identity_Differs())
        Show_Key_Message(Identity_Key);
    Call_Hook(CFG_Codec_Hooks.Show_Configuration);
}

void Receiv_Service_Timer()
{
    Configuration.Service_Time = Word_Of(RX_Frame[2], RX_Frame[3]);
    Configuration.Service_Time_Cnt = Make_Long(RX_Frame[5], RX_Frame[4], RX_Frame[7], RX_Frame[6]);
    Call_Hook(CFG_Codec_Hooks.Show_Service_Timer);
    if (Configuration.Service_Time > 0 && Configuration.Service_Time_Cnt == 0)
        Add_Status_Message(Colour_Service_Text, Language_Text(Service_Text_Key));
}

void Apply_DS_Correction()
{
    if (CFG_Loaded_For_Write)
        Configuration.DS_Correction_ON = DS_Correction_Parked;
    CFG_Loaded_For_Write = false;
    Call_Hook(CFG_Codec_Hooks.DS_Correction_Show, Configuration.DS_Correction_ON);
}

// ---- limits ----

void Infl_DiffPress_S_Limits() { Run_Limit(Infl_Factor::DiffPress_S); }
void Infl_DiffPress_B_Limits() { Run_Limit(Infl_Factor::DiffPress_B); }
void Infl_TempGas_S_Limits() { Run_Limit(Infl_Factor::TempGas_S); }
void Infl_TempGas_B_Limits() { Run_Limit(Infl_Factor::TempGas_B); }
void Infl_Power_Limits() { Run_Limit(Infl_Factor::Power); }

// ---- controls ----

const std::vector<std::string>& CFG_Param_Controls(uint8_t letter) { return Controls_Of(letter); }

void Enable_CFG_Param_Control(uint8_t letter, bool enabled)
{
    for (const std::string& name : Controls_Of(letter))
        Call_Hook(CFG_Codec_Hooks.Enable_Control, name, enabled);
}

void Enable_CFG_Param_All(bool enabled)
{
    for (int letter = 'A'; letter <= 't'; ++letter)
        Enable_CFG_Param_Control(static_cast<uint8_t>(letter), enabled);
}

void Enable_CFG_Param_Only(uint8_t letter, bool state, bool other_state)
{
    const std::vector<uint8_t>& marked = CFG_Marked_Letters();
    for (int code = 'A'; code <= 't'; ++code) {
        const bool own = code == letter || std::find(marked.begin(), marked.end(), code) != marked.end();
        Enable_CFG_Param_Control(static_cast<uint8_t>(code), own ? state : other_state);
    }
}

// ---- registration ----

void Param_Codecs_Init()
{
    for (const Letter_Codec& codec : Letters) {
        Set_CFG_Encoder(codec.Letter, [&codec] { Send_Letter(codec); });
        Set_CFG_Decoder(codec.Letter, [&codec] { Decode_At_Cursor(codec); });
    }
    Script_Set_Action(32, Receiv_CFG_All);
    Script_Set_Action(55, Select_Work_Script);
    Script_Set_Action(56, Show_Transmission_Status);
    Script_Set_Action(89, Receiv_Service_Timer);
    Script_Set_Action(91, Apply_DS_Correction);
    Protocol_Hooks.Build_Full_List = Build_Full_List;
    Protocol_Hooks.Build_CLB_List_1 = Build_CLB_List_1;
    Protocol_Hooks.Build_CLB_List_2 = Build_CLB_List_2;
    Protocol_Hooks.Build_Changed_List = Build_Changed_List;
    Protocol_Hooks.Pack_Block_List = Pack_Block_List;
    Protocol_Hooks.Write_Refused = Write_Request_Refused;
}

void Param_Codecs_Reset()
{
    CFG_Codec_Hooks = CFG_Codec_Hooks_Class{};
    CFG_ID_Received = 0;
    CFG_Reply_Cursor = 1;
    Short_Block_Reported = false;
    Short_Block_Reported_In = 0;
    Write_Lists_Reset();
}
