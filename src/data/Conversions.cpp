#include "data/Conversions.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>

#include "data/Call_Hook.h"
#include "data/Configuration.h"
#include "data/Globals.h"
#include "data/Text_Util.h"
#include "language/Language.h"
#include "platform/system/Files.h"

Temperature_Hooks_Class Temperature_Hooks;

namespace {

using Ext = long double;

constexpr int32_t Raw_Max = 1023;
constexpr int32_t Word_Max = 0xFFFF;

int32_t Trunc(Ext v) { return static_cast<int32_t>(std::trunc(v)); }

int32_t Raw_Of(int32_t high, int32_t low) { return Make_Word(high, low) & 0x3FF; }

char Separator_Override = 0;

// ---- temperature table ----

// How the last attempt to read the table ended.
enum class Table_State { Read, Missing, Unreadable, Short };
Table_State Temperature_Table_State = Table_State::Read;

// Reads the whole table; anything but Read when it is missing, cannot be read or holds
// fewer records than one per 10-bit count.
Table_State Read_Temperature_Table(const std::string& path, std::vector<int16_t>& table) {
  std::string bytes;
  switch (sys::Read_Whole_File(path, bytes)) {
    case sys::Read_Result::Missing: return Table_State::Missing;
    case sys::Read_Result::Unreadable: return Table_State::Unreadable;
    case sys::Read_Result::Read: break;
  }
  if (bytes.size() < static_cast<std::size_t>(Temperature_Table_Records) * 2) return Table_State::Short;
  table.resize(Temperature_Table_Records);
  for (int i = 0; i < Temperature_Table_Records; ++i) {
    const auto lo = static_cast<unsigned char>(bytes[2 * i]);
    const auto hi = static_cast<unsigned char>(bytes[2 * i + 1]);
    table[i] = static_cast<int16_t>(lo | (hi << 8));
  }
  return Table_State::Read;
}

// The table as last read, with what identified its file then. Every live-data reply asks
// for it several times: while the file at the path is still the same one (device, inode,
// size, modification and change times), the copy in memory serves without reading it.
// A file changed in the last few seconds is read each time, since a second change within
// the file system's clock step would leave its times as they were.
struct Temperature_Table_Cache {
  std::string path;
  sys::File_Identity identity;
  std::vector<int16_t> table;
};
Temperature_Table_Cache Temperature_Cache;

// The table of the file now at its path; null when it cannot be opened or is short.
const std::vector<int16_t>* Load_Temperature_Table() {
  Temperature_Table_Cache& c = Temperature_Cache;
  const std::string path = Temperature_File_Path();
  sys::File_Identity now;
  if (!sys::File_Identity_Of(path, now)) {
    c.table.clear();
    Temperature_Table_State = Table_State::Missing;
    return nullptr;
  }
  const long long clock = sys::Clock_Seconds();
  const bool settled = clock - now.Modified_Sec > 2 && clock - now.Changed_Sec > 2;
  if (settled && !c.table.empty() && c.path == path && c.identity == now) return &c.table;
  c.table.clear();
  std::vector<int16_t> table;
  Temperature_Table_State = Read_Temperature_Table(path, table);
  if (Temperature_Table_State != Table_State::Read) return nullptr;
  c.path = path;
  c.identity = now;
  c.table = std::move(table);
  return &c.table;
}

// The message and display switch of a lost or returned table; true when it can be used.
bool Temperature_Table_Check(bool opened) {
  if (!opened) {
    if (Temperature_File_Found) {
      Temperature_File_Found = false;
      Call_Hook(Temperature_Hooks.Show_Displays, false);
      if (Temperature_Hooks.Report) {
        // Say what is wrong with the table: missing, unreadable or too short. The last two
        // have no text in the built-in table; a language file may give them one.
        struct Trouble {
          const char* key;
          const char* english;
        };
        const Trouble trouble_of =
            Temperature_Table_State == Table_State::Short        ? Trouble{"Error_File_Short", "file is too short"}
            : Temperature_Table_State == Table_State::Unreadable ? Trouble{"Error_File_not_read", "file cannot be read"}
                                                                 : Trouble{"Error_File_not_found", ""};
        std::string trouble = trouble_of.english, temperature;
        Language_Text_Menu(trouble_of.key, trouble);
        Language_Text_Menu("Error_Temperature", temperature);
        Temperature_Hooks.Report(Temperature_File_Name + " " + trouble + " " + temperature);
      }
    }
    return false;
  }
  if (!Temperature_File_Found) {
    Temperature_File_Found = true;
    Call_Hook(Temperature_Hooks.Show_Displays, true);
  }
  return true;
}

// ---- number text ----

// Fixed notation with `decimals`, '.' as separator.
std::string Fixed_Text(double value, int decimals) {
  // Locale-independent: '.' whatever the C library's numeric locale is.
  char buf[400];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  std::string s(buf, res.ptr);
  // A value that rounds to zero keeps no minus sign.
  if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
  return s;
}

std::string Localised(std::string s) {
  const char sep = Decimal_Separator();
  if (sep != '.') std::replace(s.begin(), s.end(), '.', sep);
  return s;
}

// Number of digits of the integer part of |value| (0 for values below 1).
int Integer_Digits(double value) {
  double a = std::fabs(value);
  int digits = 0;
  while (a >= 1.0 && digits < 400) {
    a /= 10.0;
    ++digits;
  }
  return digits;
}

// Reads [blanks][sign]digits[.digits][e[sign]digits]; returns the 1-based position of the
// first character that does not fit, or 0 when the whole text was read.
int Scan_Decimal(const std::string& s, double& value) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  const std::size_t start = i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) {
    value = 0;
    return static_cast<int>(i < s.size() ? i + 1 : s.size() + 1);
  }
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    std::size_t exp_digits = 0;
    while (j < s.size() && s[j] >= '0' && s[j] <= '9') ++j, ++exp_digits;
    if (exp_digits == 0) {
      value = 0;
      return static_cast<int>(j < s.size() ? j + 1 : s.size() + 1);
    }
    i = j;
  }
  if (i < s.size()) {
    value = 0;
    return static_cast<int>(i + 1);
  }
  std::size_t from = start;
  if (s[from] == '+') ++from;
  std::from_chars(s.data() + from, s.data() + s.size(), value);
  return 0;
}

}  // namespace

// ---- words and bytes ----

int32_t Make_Word(int32_t high, int32_t low) { return ((high << 8) & 0xFFFF) | low; }

int32_t Bytes_To_Word(int32_t high, int32_t low) { return Make_Word(high, low); }

Byte_Pair Split_Word(int32_t value) {
  return {static_cast<uint8_t>((value / 256) & 0xFF), static_cast<uint8_t>(value & 0xFF)};
}

int32_t Make_Long(uint8_t b3, uint8_t b2, uint8_t b1, uint8_t b0) {
  return static_cast<int32_t>((static_cast<uint32_t>(b3) << 24) | (b2 << 16) | (b1 << 8) | b0);
}

void Split_Long(int32_t value, uint8_t bytes[4]) {
  const uint32_t v = static_cast<uint32_t>(value);
  bytes[0] = static_cast<uint8_t>(v >> 24);
  bytes[1] = static_cast<uint8_t>(v >> 16);
  bytes[2] = static_cast<uint8_t>(v >> 8);
  bytes[3] = static_cast<uint8_t>(v);
}

// ---- volts ----

int32_t Bytes_To_Volt_500(int32_t high, int32_t low) {
  if (high == 0 && low == 0) return 0;
  return Raw_Of(high, low) * 500 / 1023;
}

int32_t Bytes_To_Volt_500_B(int32_t high, int32_t low) { return Bytes_To_Volt_500(high, low); }

int32_t Bytes_To_Volt_2500(int32_t high, int32_t low) {
  if (high == 0 && low == 0) return 0;
  return Raw_Of(high, low) * 2500 / 1023;
}

namespace {

// Smallest count from trunc(v * 1023 / scale) upward whose forward value reaches v;
// 1023 when none does.
int32_t Volt_Search(int32_t v, int32_t scale) {
  int32_t r = std::clamp(Trunc(static_cast<Ext>(v) * 1023 / scale), 0, Raw_Max);
  auto forward = [&](int32_t raw) {
    const Byte_Pair b = Split_Word(raw);
    return scale == 500 ? Bytes_To_Volt_500(b.High, b.Low) : Bytes_To_Volt_2500(b.High, b.Low);
  };
  while (r < Raw_Max && forward(r) < v) ++r;
  return r;
}

}  // namespace

Byte_Pair Volt_500_To_Bytes(int32_t v) { return Split_Word(Volt_Search(v, 500)); }

Byte_Pair Volt_500_To_Bytes_Int(int32_t v) {
  int32_t r = std::clamp(static_cast<int32_t>(static_cast<int64_t>(v) * 1023 / 500), 0, Raw_Max);
  while (r < Raw_Max && r * 500 / 1023 < v) ++r;
  return Split_Word(r);
}

Byte_Pair RPM_Sensitiv_To_Bytes() { return Split_Word(Volt_Search(Configuration.RPM_Sensitiv, 2500)); }

int32_t Bytes_To_Raw_Times_2(int32_t high, int32_t low) { return Raw_Of(high, low) * 2; }

Byte_Pair Half_To_Bytes(int32_t value) { return Split_Word(value / 2); }

// ---- RPM ----

int32_t RPM_To_Period(int32_t rpm) {
  if (rpm <= 0) return Word_Max;
  // A speed so low that its period does not fit the word reads as the longest period.
  return static_cast<int32_t>(std::min<uint32_t>(Configuration.RPM_Source / static_cast<uint32_t>(rpm), Word_Max));
}

Byte_Pair RPM_To_Period_Bytes(int32_t rpm) { return Split_Word(RPM_To_Period(rpm)); }

int32_t Period_Bytes_To_RPM(int32_t high, int32_t low) {
  const int32_t w = Make_Word(high, low);
  if (w == 0 || w == Word_Max) return 0;
  const uint32_t q = Configuration.RPM_Source / static_cast<uint32_t>(w);
  if (q == Word_Max) return 0;
  return static_cast<int32_t>(std::min<uint32_t>(q, 0x7FFFFFFF));
}

// ---- scales ----

// Rounded to the nearest step, so a word read from the controller (truncated into the
// 10000 scale) is sent back as the same word: a curve read and written unchanged keeps
// its values instead of losing a step at each round.
int32_t Scale_10000_To_128(int32_t value) {
  const int64_t scaled = static_cast<int64_t>(value) * 128;
  return static_cast<int32_t>((scaled + (scaled < 0 ? -5000 : 5000)) / 10000);
}

int32_t Bytes_Scale_128_To_10000(int32_t high, int32_t low) { return Make_Word(high, low) * 10000 / 128; }

int32_t Scaled_To_Byte(int32_t a, float x) {
  if (!(x > 0)) return 0;
  const Ext fx = x;
  int32_t r = std::clamp(Trunc(a * fx), 0, 255);
  while (r < 255 && Trunc((r & 0xFF) / fx) < a) ++r;
  return r;
}

Byte_Pair Scaled_To_Bytes(int32_t a, float x) {
  if (!(x > 0)) return {0, 0};
  const Ext fx = x;
  int32_t i = std::clamp(Trunc(a * fx), 0, Word_Max);
  while (i < Word_Max && Trunc(i / fx + 0.05L) < a) ++i;
  return {static_cast<uint8_t>(i / 256), static_cast<uint8_t>(i & 0xFF)};
}

Byte_Pair Percent_To_Signed_Byte(int32_t a, int32_t b, int32_t c) {
  if (a == 0 || b == 0) return {5, 0};
  // Magnitudes up to 99 fit below the sign bit.
  const int32_t m = static_cast<int32_t>(std::min<int64_t>(std::abs(static_cast<int64_t>(a)), 99));
  int32_t d = (m * 128 / 100) * 100;
  while (d / 128 != m) d += 100;
  int32_t first = d / 100;
  // The coefficient is a byte: one that would not fit stops at 255 instead of wrapping
  // round to a small (wrong) coefficient.
  const int64_t second = std::clamp<int64_t>(static_cast<int64_t>(first & 0x7F) * (c / 128) / b, 0, 255);
  if (a < 0) first |= 0x80;
  return {static_cast<uint8_t>(first), static_cast<uint8_t>(second)};
}

int32_t Percent_Of(int32_t a, int32_t b) { return Trunc(static_cast<Ext>(a) * b / 100); }

// ---- pressure ----

namespace {

// Pressure_1_Bar * 0.2046 * Pressure_Factor: counts per bar; 0 when unusable.
Ext Pressure_Counts_Per_Bar() {
  const Ext k = static_cast<Ext>(Configuration.Pressure_1_Bar) * 0.2046L * Pressure_Factor;
  return k > 0 ? k : 0;
}

}  // namespace

int32_t Bytes_To_Pressure(int32_t high, int32_t low) {
  if ((high == 0 && low == 0) || Configuration.Pressure_1_Bar == 0) return 0;
  const Ext k = Pressure_Counts_Per_Bar();
  if (k == 0) return 0;
  return Trunc(Raw_Of(high, low) * 100 / k + 0.5L);
}

int32_t Pressure_To_Raw(int32_t d, int32_t p) {
  const Ext k = Pressure_Counts_Per_Bar();
  if (k == 0 || d <= 0) return 0;
  auto read_back = [&](int32_t r) { return Trunc(r * 100 / k + 0.5L) / d; };
  int32_t r = std::clamp(Trunc(static_cast<Ext>(d) * p * k / 100), 0, Raw_Max);
  int direction = 0;
  for (;;) {
    const int32_t q = read_back(r);
    if (q == p) return r;
    if (q < p) {
      if (direction < 0) return r + 1;  // stepped past p: the next count is the first above it
      if (r == Raw_Max) return r;
      direction = 1;
      ++r;
    } else {
      if (direction > 0) return r;      // the first count that reads above p
      if (r == 0) return r;
      direction = -1;
      --r;
    }
  }
}

Byte_Pair Pressure_To_Bytes(int32_t d, int32_t p) { return Split_Word(Pressure_To_Raw(d, p)); }

// ---- injector drive ----

void PWM_Duty_Set(int32_t duty_percent) {
  Configuration.GI_Duty = static_cast<int32_t>(static_cast<int64_t>(duty_percent) * Configuration.GI_Period / 100);
}

int32_t PWM_Duty_Percent() {
  if (Configuration.GI_Period == 0) return 0;
  return static_cast<int32_t>(static_cast<int64_t>(Configuration.GI_Duty) * 100 / Configuration.GI_Period);
}

std::string PWM_Freq_Text() {
  if (Configuration.GI_Period == 0) return "0";
  return Format_General(16000.0 / Configuration.GI_Period, 4);
}

// ---- temperature ----

std::string Temperature_File_Path() { return Program_File_Path(Temperature_File_Name); }

int32_t Raw_To_Temperature(int32_t high, int32_t low) {
  const std::vector<int16_t>* loaded = Load_Temperature_Table();
  if (!Temperature_Table_Check(loaded != nullptr)) return Temperature_Unknown;
  return (*loaded)[Raw_Of(high, low)];
}

bool Temperature_To_Bytes(int32_t t, Byte_Pair& bytes) {
  const std::vector<int16_t>* loaded = Load_Temperature_Table();
  if (!Temperature_Table_Check(loaded != nullptr)) return false;
  const std::vector<int16_t>& table = *loaded;
  const int32_t target = static_cast<int32_t>(std::clamp<int64_t>(static_cast<int64_t>(t) * 10, -32768, 32767));
  // The first local minimum of the distance over the first 1023 records; of two equally
  // near neighbours the later one wins.
  const int count = Temperature_Table_Records - 1;
  int32_t best = std::abs(table[0] - target);
  int k = 1;
  while (k < count && std::abs(table[k] - target) <= best) {
    best = std::abs(table[k] - target);
    ++k;
  }
  bytes = Split_Word(k - 1);
  return true;
}

// ---- texts ----

std::string Bool_To_Text(bool value) { return value ? "True" : "False"; }

int32_t Float_To_Int(double value) {
  if (value == 0) return 0;
  const double t = std::trunc(value);
  if (t >= 2147483647.0) return 0x7FFFFFFF;
  if (t <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(t);
}

std::string Float_To_Text(double value) {
  if (value == 0) return std::string();
  return Fixed_Text(std::trunc(value), 0);
}

std::string Comma_To_Point(const std::string& text) {
  std::string s = text;
  std::replace(s.begin(), s.end(), ',', '.');
  return s;
}

double Text_To_Float(const std::string& text, int& error_pos) {
  double value = 0;
  error_pos = Scan_Decimal(text, value);
  if (error_pos != 0 && error_pos <= static_cast<int>(text.size()) && text[error_pos - 1] == ',') {
    std::string again = text;
    again[error_pos - 1] = '.';
    error_pos = Scan_Decimal(again, value);
  }
  return error_pos == 0 ? value : 0.0;
}

int32_t Text_To_Fixed(const std::string& text, int n, int& error_pos) {
  std::string digits;
  int decimals_left = n;
  bool after_separator = false;
  int chars_left = 0;
  for (char ch : text) {
    if (after_separator) {
      if (chars_left-- <= 0) break;
    }
    if (ch == '.' || ch == ',') {
      if (!after_separator) {
        after_separator = true;
        chars_left = n;
      }
      continue;
    }
    digits += ch;
    if (after_separator) --decimals_left;
  }
  for (; decimals_left > 0; --decimals_left) digits += '0';
  int32_t value = 0;
  error_pos = Scan_Integer(digits, value);
  return error_pos == 0 ? value : 0;
}

std::string Remove_Line_Breaks(const std::string& text) {
  std::string out;
  for (char ch : text) {
    if (ch == '\r') continue;
    out += ch == '\n' ? ' ' : ch;
  }
  return out;
}

void Memo_To_Comment(const std::string& memo_text) {
  std::string s = memo_text;
  for (char& ch : s) {
    if (ch == '\r') ch = 29;
    else if (ch == '\n') ch = 26;
  }
  Configuration.Car_Comments = s;
}

std::string Comment_To_Memo() {
  // A copy: the field keeps its one-line form, so a save after showing it stays one line.
  std::string memo = Configuration.Car_Comments;
  for (char& ch : memo) {
    if (ch == 29) ch = '\r';
    else if (ch == 26) ch = '\n';
  }
  return memo;
}

bool ComboBox_Has_Text(const std::string& text, const std::vector<std::string>& items) {
  return std::find(items.begin(), items.end(), text) != items.end();
}

std::string Wrap_Text_Pixels(int w, const std::string& text,
                             const std::function<int(const std::string&)>& width) {
  const int limit = w - 20;
  if (width(text) <= limit) return text;
  std::string out;
  std::string rest = text;
  while (!rest.empty()) {
    std::string line = rest;
    while (width(line) > limit) {
      const std::size_t blank = line.rfind(' ');
      if (blank == std::string::npos || blank == 0) {
        // No blank left to cut at: the first word stays whole on its line.
        const std::size_t next = rest.find(' ', 1);
        line = rest.substr(0, next);
        break;
      }
      line.erase(blank);
    }
    out += line;
    rest.erase(0, line.size());
    if (!rest.empty()) out += "\n\r";
  }
  return out;
}

// ---- formatters ----

char Decimal_Separator() {
  if (Separator_Override) return Separator_Override;
  const std::lconv* lc = std::localeconv();
  if (lc && lc->decimal_point && lc->decimal_point[0] && !lc->decimal_point[1]) return lc->decimal_point[0];
  return '.';
}

void Set_Decimal_Separator(char separator) { Separator_Override = separator; }

std::string Format_General(double value, int precision) {
  if (value == 0) return "0";
  char buf[400];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, precision - 1);
  // [-]d.dddde[+-]xx
  std::string s(buf, res.ptr);
  const std::size_t e = s.find('e');
  const int exponent = std::atoi(s.c_str() + e + 1);
  std::string mantissa = s.substr(0, e);
  if (exponent < precision && exponent >= -5) {
    // Fixed notation with the significant digits only.
    const int decimals = std::max(0, precision - 1 - exponent);
    res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    s.assign(buf, res.ptr);
    if (s.find('.') != std::string::npos) {
      while (s.back() == '0') s.pop_back();
      if (s.back() == '.') s.pop_back();
    }
    return Localised(s);
  }
  if (mantissa.find('.') != std::string::npos) {
    while (mantissa.back() == '0') mantissa.pop_back();
    if (mantissa.back() == '.') mantissa.pop_back();
  }
  return Localised(mantissa + "E" + std::to_string(exponent));
}

// num / den (den > 0) as Format_Fixed shows it, computed on the integers: an exact half of
// the last decimal is rounded away from zero (1250 / 10000 with 2 decimals: "0.13"), as a
// technician rounds, which binary floating point cannot promise.
std::string Format_Ratio(int64_t num, int64_t den, int precision, int decimals) {
  const double value = static_cast<double>(num) / static_cast<double>(den);
  if (Integer_Digits(value) > precision) return Format_General(value, precision);
  int64_t scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  const uint64_t magnitude = static_cast<uint64_t>(num < 0 ? -num : num) * static_cast<uint64_t>(scale);
  const uint64_t d = static_cast<uint64_t>(den);
  const uint64_t q = (2 * magnitude + d) / (2 * d);
  std::string s = (num < 0 && q != 0) ? "-" : "";
  s += std::to_string(q / static_cast<uint64_t>(scale));
  if (decimals > 0) {
    std::string fraction = std::to_string(q % static_cast<uint64_t>(scale));
    s += "." + std::string(static_cast<std::size_t>(decimals) - fraction.size(), '0') + fraction;
  }
  return Localised(s);
}

std::string Format_Fixed(double value, int precision, int decimals) {
  if (Integer_Digits(value) > precision) return Format_General(value, precision);
  return Localised(Fixed_Text(value, decimals));
}

std::string Format_Gas_Time(int32_t value) { return Format_Ratio(value / 10, 100, 5, 2); }

std::string Format_Temperature(int32_t value) {
  if (value == Temperature_Unknown) return std::string();
  return Format_Ratio(value, 10, 5, 1);
}

std::string Format_Pressure(int32_t value) { return Format_Ratio(value, 100, 4, 2); }
std::string Format_Power(int32_t value) { return Format_Ratio(value, 100, 5, 2); }
std::string Format_Detonation(int32_t value) { return Format_Ratio(value, 100, 3, 2); }
std::string Format_Input(int32_t value) { return Format_Ratio(value, 100, 4, 2); }
std::string Format_Output(int32_t value) { return Format_Ratio(value, 100, 4, 2); }
std::string Format_Factor(int32_t value) { return Format_Ratio(value, 10000, 4, 2); }
std::string Format_Gas_Level(int32_t value) { return Format_Ratio(int64_t{value} * 5, 1023, 4, 2); }

void Conversions_Reset() {
  Temperature_Hooks = Temperature_Hooks_Class{};
  Temperature_Cache = Temperature_Table_Cache{};
  Temperature_Table_State = Table_State::Read;
  Separator_Override = 0;
}
