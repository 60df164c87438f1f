#include "protocol/Ident.h"

#include <cstdint>

#include <algorithm>

#include "data/Call_Hook.h"
#include "data/Configuration.h"
#include "data/Globals.h"
#include "data/Settings.h"
#include "data/Text_Util.h"
#include "language/Language.h"
#include "protocol/Frames.h"

int32_t Program_Version_Code = 0;
Ident_Hooks_Class Ident_Hooks;

namespace {

// Reply layout: positions of the fields in the receive buffer.
constexpr std::size_t Pos_Status = 2;
constexpr std::size_t Pos_Name = 3;       // 16 characters
constexpr std::size_t Pos_Date = 19;      // 10 characters
constexpr std::size_t Pos_Version = 29;   // 4 characters
constexpr std::size_t Pos_Work_Gas = 33;  // 24 bits, high byte first
constexpr std::size_t Pos_Work_Petrol = 36;
constexpr std::size_t Pos_Lengths = 39;   // four bytes

// Program names of the three models, without blanks and upper-cased.
const char* const Model_Names[3] = {"MERIVANTGD2", "MERIVANTGD6", "MERIVANTGD8"};

// Without blanks, upper-cased: the form in which model names are compared.
std::string Name_Key(const std::string& s) {
  std::string out;
  for (char ch : s) {
    if (ch == ' ') continue;
    out += Upper_Char(ch);
  }
  return out;
}

// A decimal integer: optional leading blanks, an optional sign, digits and nothing else.
bool Parse_Int(const std::string& s, int32_t& value) { return Scan_Integer(s, value) == 0; }

int32_t Read_24(const uint8_t* p) { return (p[0] << 16) | (p[1] << 8) | p[2]; }

}  // namespace

bool Decode_Ident_Reply(const uint8_t* rx, std::size_t reply_length, Ident_Block_Lengths& lengths) {
  // The data are bytes 2 .. reply_length - 2; the last byte is the sum.
  const std::size_t data_end = reply_length >= 1 ? reply_length - 1 : 0;
  auto has = [&](std::size_t pos, std::size_t width) { return pos + width <= data_end; };

  if (!has(Pos_Status, 1)) {
    Ident_Status = Ident_Status_Refused;
    return false;
  }
  for (std::size_t k = 0; k < 4; ++k) {
    if (has(Pos_Lengths + k, 1) && rx[Pos_Lengths + k] + 3u > Frame_Buffer_Size) {
      Ident_Status = Ident_Status_Refused;
      return false;
    }
  }

  Ident_Status = rx[Pos_Status];
  Configuration_Class& c = Configuration;
  auto text = [&](std::size_t pos, std::size_t width) {
    return std::string(reinterpret_cast<const char*>(rx + pos), width);
  };
  if (has(Pos_Name, 16)) c.Program_Name = Trim(text(Pos_Name, 16));
  if (has(Pos_Date, 10)) c.Program_Date = text(Pos_Date, 10);
  if (has(Pos_Version, 4)) c.Program_Version = text(Pos_Version, 4);
  Decode_Program_Version();

  if (has(Pos_Work_Gas, 3)) c.Work_Gas = Read_24(rx + Pos_Work_Gas);
  if (has(Pos_Work_Petrol, 3)) c.Work_Petrol = Read_24(rx + Pos_Work_Petrol);
  Show_Work_Hours();

  // Without all four block lengths no read block's reply length is known: every later read
  // would time out and the watchdog would reconnect every 5 s without a word. Such an
  // identification is refused, which reports it once per connection.
  if (!has(Pos_Lengths, 4)) {
    Ident_Status = Ident_Status_Refused;
    return false;
  }
  uint8_t* slots[4] = {&lengths.Current_Data, &lengths.Configuration, &lengths.Calibration_1,
                       &lengths.Calibration_2};
  for (std::size_t k = 0; k < 4; ++k) *slots[k] = rx[Pos_Lengths + k];
  return true;
}

void Receiv_Ident_Data() {
  Ident_Block_Lengths lengths{Len_Current_Data, Len_Configuration, Len_Calibration_1, Len_Calibration_2};
  if (!Decode_Ident_Reply(RX_Frame, std::min<std::size_t>(Reply_Length, Frame_Buffer_Size), lengths)) return;
  Len_Current_Data = lengths.Current_Data;
  Len_Configuration = lengths.Configuration;
  Len_Calibration_1 = lengths.Calibration_1;
  Len_Calibration_2 = lengths.Calibration_2;
  Call_Hook(Ident_Hooks.Ident_Windows);
}

std::string Model_Display_Name() {
  Configuration.Program_Name = Trim(Configuration.Program_Name);
  const std::string key = Name_Key(Configuration.Program_Name);
  const std::string* display[3] = {&Settings.Name_Block_PIC_1, &Settings.Name_Block_PIC_2,
                                   &Settings.Name_Block_PIC_3};
  if (!key.empty()) {
    for (int i = 0; i < 3; ++i) {
      if (key == Model_Names[i]) return *display[i];
    }
    // A name that already is a display name (after a save and load) keeps its model.
    for (int i = 0; i < 3; ++i) {
      if (!display[i]->empty() && key == Name_Key(*display[i])) return *display[i];
    }
  }
  return "Unknow";
}

int32_t Version_Text_To_Code(const std::string& version) {
  const std::size_t dot = version.find('.');
  int32_t x = 0;
  if (dot == std::string::npos) return Parse_Int(version, x) ? x : 0;
  if (!Parse_Int(version.substr(0, dot), x)) return 0;
  int32_t y = 0;
  if (!Parse_Int(version.substr(dot + 1), y)) return 0;
  // A long text (from a file) can hold numbers whose code does not fit 32 bits: such a
  // version is no version this program knows, as a text that is not a number.
  const int64_t code = int64_t{x} * 100 + y;
  if (code < INT32_MIN || code > INT32_MAX) return 0;
  return static_cast<int32_t>(code);
}

void Decode_Program_Version() {
  Program_Version_Code = 0;
  Program_Name_Text.clear();
  Configuration_Class& c = Configuration;
  if (c.Program_Name.empty()) {
    Call_Hook(Ident_Hooks.About_Program_Visible, false);
    return;
  }
  c.Program_Name = Model_Display_Name();
  Program_Name_Text = "\"" + c.Program_Name + "\"";
  if (!c.Program_Version.empty()) {
    Call_Hook(Ident_Hooks.About_Program_Visible, true);
    Program_Version_Code = Version_Text_To_Code(c.Program_Version);
  }
}

bool Work_Hours_Visible() { return Configuration.Work_Gas != 0 || Configuration.Work_Petrol != 0; }

void Show_Work_Hours() {
  Call_Hook(Ident_Hooks.About_Work_Visible, Work_Hours_Visible());
}

bool Ident_Status_Failed() { return Ident_Status >= 2; }

uint8_t Max_Injectors() {
  const int32_t v = Program_Version_Code;
  if (v >= 600 && v <= 799) return 6;
  if (v >= 800 && v <= 899) return 8;
  return 2;
}

bool Has_TPS_Zero() { return Program_Version_Code >= 800 && Program_Version_Code <= 899; }

bool Has_VAC() {
  const int32_t v = Program_Version_Code;
  return (v >= 207 && v <= 599) || (v >= 607 && v <= 799) || (v >= 807 && v <= 899);
}

bool Has_TPS_Emulation() { return !(Program_Version_Code >= 600 && Program_Version_Code <= 799); }

std::vector<std::string> TPS_Input_Items() {
  const std::string input = Language_Text("Label_CFG_TPS_Input");
  std::vector<std::string> items;
  for (int i = Has_TPS_Zero() ? 0 : 1; i <= 3; ++i) items.push_back("TPS " + input + " " + std::to_string(i));
  return items;
}

void Ident_Bind_Configuration() {
  Configuration_Hooks.Identification_Decode = [] {
    Decode_Program_Version();
    Show_Work_Hours();
  };
}

void Ident_Reset() {
  Program_Version_Code = 0;
  Program_Name_Text.clear();
  Ident_Hooks = Ident_Hooks_Class{};
}
