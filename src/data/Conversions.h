// Conversions between the controller's raw units and the units the windows show and the
// configuration files store, and the number and text routines the system shares.
//
// Raw units: 10-bit converter counts (0..1023 for 0..5 V), RPM as a period word against
// the configuration's RPM_Source, pressures against its Pressure_1_Bar, temperatures
// through the temperature table beside the program. A 16-bit value travels to the
// controller high byte first: converters that produce bytes give (high, low), converters
// that read bytes take (high, low).
//
// The inverse conversions search for a raw value; every search stops at the end of the
// raw range and then gives the value at that end.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Byte_Pair {
  uint8_t High = 0;
  uint8_t Low = 0;
  bool operator==(const Byte_Pair&) const = default;
};

// ---- words and bytes ----
int32_t Make_Word(int32_t high, int32_t low);        // ((high shl 8) and 0xFFFF) or low
int32_t Bytes_To_Word(int32_t high, int32_t low);    // Make_Word
Byte_Pair Split_Word(int32_t value);
int32_t Make_Long(uint8_t b3, uint8_t b2, uint8_t b1, uint8_t b0);  // high byte first
void Split_Long(int32_t value, uint8_t bytes[4]);                    // high byte first

// ---- volts ----
int32_t Bytes_To_Volt_500(int32_t high, int32_t low);    // 0.01 V on 0..5 V
int32_t Bytes_To_Volt_500_B(int32_t high, int32_t low);
int32_t Bytes_To_Volt_2500(int32_t high, int32_t low);   // hundredths on 0..25
Byte_Pair Volt_500_To_Bytes(int32_t v);                  // smallest count reading at least v
Byte_Pair Volt_500_To_Bytes_Int(int32_t v);
Byte_Pair RPM_Sensitiv_To_Bytes();                       // from Configuration.RPM_Sensitiv
int32_t Bytes_To_Raw_Times_2(int32_t high, int32_t low);
Byte_Pair Half_To_Bytes(int32_t value);

// ---- RPM ----
int32_t RPM_To_Period(int32_t rpm);           // 0xFFFF for 0
Byte_Pair RPM_To_Period_Bytes(int32_t rpm);   // (255, 255) for 0
int32_t Period_Bytes_To_RPM(int32_t high, int32_t low);  // 0 for no signal

// ---- scales ----
// value x 128 / 10000 to the nearest whole step (halves away from zero).
int32_t Scale_10000_To_128(int32_t value);
int32_t Bytes_Scale_128_To_10000(int32_t high, int32_t low);
int32_t Scaled_To_Byte(int32_t a, float x);
Byte_Pair Scaled_To_Bytes(int32_t a, float x);
// Sign and magnitude percentage on the scale 128 = 100 % (bit 7 = negative), and a
// second byte scaled by c / 128 / b, at most 255. 0 % (or b = 0) gives (5, 0), the code
// for no value.
Byte_Pair Percent_To_Signed_Byte(int32_t a, int32_t b, int32_t c);
int32_t Percent_Of(int32_t a, int32_t b);

// ---- pressure (hundredths of a bar) ----
int32_t Bytes_To_Pressure(int32_t high, int32_t low);
// Raw count that reads back as p, p in units of d hundredths (d = 1 or 10).
int32_t Pressure_To_Raw(int32_t d, int32_t p);
Byte_Pair Pressure_To_Bytes(int32_t d, int32_t p);

// ---- injector drive ----
void PWM_Duty_Set(int32_t duty_percent);   // GI_Duty from the duty up-down's position
int32_t PWM_Duty_Percent();
std::string PWM_Freq_Text();

// ---- temperature (tenths of a degree) through the temperature table ----
// A temperature that cannot be known: the table is missing or too short.
constexpr int32_t Temperature_Unknown = -32768;
// Number of records the table must hold: one per 10-bit count.
constexpr int Temperature_Table_Records = 1024;

// Where the table's trouble goes: the report hook gets the message once per loss of the
// table; the displays hook hides (false) and shows (true) the temperature displays.
struct Temperature_Hooks_Class {
  std::function<void(const std::string& message)> Report;
  std::function<void(bool visible)> Show_Displays;
};
extern Temperature_Hooks_Class Temperature_Hooks;

// Path of the table: Program_Dir / Temperature_File_Name.
std::string Temperature_File_Path();
// Temperature_Unknown when the table is missing, unreadable or short; the one report per
// loss of the table says which of the three it is.
int32_t Raw_To_Temperature(int32_t high, int32_t low);
// The count whose table entry is nearest to t degrees; false (nothing written) when the
// table is missing or short.
bool Temperature_To_Bytes(int32_t t, Byte_Pair& bytes);

// ---- texts ----
std::string Bool_To_Text(bool value);
int32_t Float_To_Int(double value);
std::string Float_To_Text(double value);
std::string Comma_To_Point(const std::string& text);
// Decimal with "." (or "," when "." fails there); error_pos 0 on success, else the
// 1-based position of the first offending character.
double Text_To_Float(const std::string& text, int& error_pos);
// Fixed-point integer with n decimals ("12.3", 2 -> 1230); further decimals are cut.
int32_t Text_To_Fixed(const std::string& text, int n, int& error_pos);
std::string Remove_Line_Breaks(const std::string& text);
// Car_Comments from a memo's text (CR -> 29, LF -> 26), and back (a converted copy; the
// field keeps its one-line form).
void Memo_To_Comment(const std::string& memo_text);
std::string Comment_To_Memo();
// The text equals one of the items exactly.
bool ComboBox_Has_Text(const std::string& text, const std::vector<std::string>& items);

// The text broken at blanks into lines that fit w - 20 pixels by a measure of a text's
// width (pixels); lines are joined by LF CR, and each blank a line is broken at begins the
// next line. A word wider than the limit stays whole on its own line. The same in a font
// of the screen: windows/Control_Text.h.
std::string Wrap_Text_Pixels(int w, const std::string& text,
                             const std::function<int(const std::string&)>& width);

// ---- fixed-decimal formatters (decimal separator of the user's locale) ----
// An exact half of the last decimal is rounded away from zero ("0.125" with 2 decimals
// reads "0.13"). Format_Temperature is the one place that decides how a temperature that
// cannot be known is shown (an empty text): views show temperatures through it.
std::string Format_Gas_Time(int32_t value);
std::string Format_Temperature(int32_t value);   // "" for Temperature_Unknown
std::string Format_Pressure(int32_t value);
std::string Format_Power(int32_t value);
std::string Format_Detonation(int32_t value);
std::string Format_Input(int32_t value);
std::string Format_Output(int32_t value);
std::string Format_Factor(int32_t value);
std::string Format_Gas_Level(int32_t value);
// num / den (den > 0) in fixed notation with `decimals`, rounded on the integers (an exact
// half away from zero); the general format past `precision` integer digits.
std::string Format_Ratio(int64_t num, int64_t den, int precision, int decimals);
// value in fixed notation with `decimals`; when its integer part has more digits than
// `precision`, the general format with `precision` significant digits.
std::string Format_Fixed(double value, int precision, int decimals);
// General number format with at most `precision` significant digits.
std::string Format_General(double value, int precision);

// The decimal separator the formatters use: the user's locale's, unless set.
char Decimal_Separator();
void Set_Decimal_Separator(char separator);   // 0: back to the locale's

// Temperature hooks, the flag and the separator back to their start state.
void Conversions_Reset();
