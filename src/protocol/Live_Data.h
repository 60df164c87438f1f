// Decoding of the controller's current data (reply to command 0x26) into the live values
// that every live view reads, and the status texts that follow the status byte.
//
// Reply layout (receive-buffer index; words low byte first):
//   2 work mode (1 diesel, 2 automatic, 4 gas)   3 injector bits   4 status bits
//   6 error bits   8..23 gas time of cylinders 1..8   24 RPM period   26, 27 factors
//   28, 30, 32 temperatures through the table   34 thermocouple   36, 38 pressures
//   40 supply   42 knock sensor   44..50 inputs 0..3   52..56 outputs 1..3
//   58, 59 gas level (59: bits 0-1 high bits, bits 4-7 level mode)   60..63 level counter
//
// The window side (work-mode panel, LEDs, labels, gauges, oscilloscope recording, page
// displays) takes its values from here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Types.h"

class Live_Values_Class {
public:
  uint8_t Injector_Bits = 0;
  int32_t Live_Gas_Time = 0;      // microseconds, average of the active cylinders
  int32_t Live_RPM = 0;
  int32_t Live_Word_24 = 0;       // the RPM period word itself (4 us ticks)
  int32_t Live_Factor_RPM = 0;    // 1/10000
  int32_t Live_Factor_VAC = 0;
  int32_t Live_TempVap = 0;       // 0.1 degree; Temperature_Unknown without the table
  int32_t Live_TempGas = 0;
  int32_t Live_TempInside = 0;
  int32_t Live_TempCouple = 0;    // degrees
  int32_t Live_PressVap = 0;      // 0.01 bar
  int32_t Live_PressColl = 0;
  int32_t Live_PressDiff = 0;     // never negative
  int32_t Live_Power = 0;         // 0.01 V
  int32_t Live_Detonation = 0;    // 0.01 V
  int32_t Live_TPS = 0;           // input 0, 0.01 V
  int32_t Live_Input_1 = 0, Live_Input_2 = 0, Live_Input_3 = 0;
  int32_t Live_Output_1 = 0, Live_Output_2 = 0, Live_Output_3 = 0;
  // Raw words of the inputs and outputs (the calibration chart reads these).
  int32_t Live_TPS_Raw = 0;
  int32_t Live_Input_1_Raw = 0, Live_Input_2_Raw = 0, Live_Input_3_Raw = 0;
  int32_t Live_Output_1_Raw = 0, Live_Output_2_Raw = 0, Live_Output_3_Raw = 0;
  int32_t Live_Gas_Level = 0;     // 0..1023
  int32_t Live_Gas_PerCent = 100;
  uint32_t Level_Counter = 0;
};
extern Live_Values_Class Live_Values;

// Last values seen; the displays change only when these change.
extern uint8_t Level_Mode;
extern uint8_t Status_Word;
extern uint8_t Error_Word;
// False until a status byte was taken (at start and after a disconnect): the next status
// byte then counts every bit as changed, so each status text is shown again.
extern bool Status_Word_Known;

// Forgets the status byte, the error byte and the work mode (Work_Mode 0), so that the
// first reply after start or a disconnect shows all of them again.
void Live_Status_Forget();

// What the live data change on the windows (unset hooks are skipped).
struct Live_Data_Hooks_Class {
  // Work-mode panel, forcing buttons and mode LEDs; called with the reply's work mode and
  // injector bits (the window checks Work_Mode_Changed).
  std::function<void(uint8_t mode, uint8_t injector_bits)> Show_Work_Mode;
  // Level mode caption and LEDs for the software level type (byte 59 and 0xF0).
  std::function<void(uint8_t level_mode)> Show_Level_Mode;
  // The error memo is to be filled with the lines of Error_Memo_Keys(Error_Word).
  std::function<void()> Show_Error_Memo;
  // The live values are decoded: labels, gauges, recording and the open windows.
  std::function<void()> Show_Live_Values;
};
extern Live_Data_Hooks_Class Live_Data_Hooks;

// Script action after command 0x26: the reply in RX_Frame (Reply_Length bytes) is
// decoded in the order work mode, level mode, status byte, error byte, values; then the
// displays.
void Receiv_Current_Data();

// Decodes the values of a current-data reply of reply_length bytes (rx holds at least
// that many). A field whose bytes lie beyond the reply's data keeps its value. The gas
// mode decisions follow the reply's own work mode.
void Decode_Live_Values(const uint8_t* rx, std::size_t reply_length);

// Level mode carried by the reply (byte 59 and 0xF0), or nothing for a reply too short.
std::optional<uint8_t> Reply_Level_Mode(const uint8_t* rx, std::size_t reply_length);

// ---- work mode ----
// True when mode differs from Work_Mode, which then takes it (the panel, buttons and
// LEDs are then shown again).
bool Work_Mode_Changed(uint8_t mode);
struct Work_Mode_Look {
  const char* Caption_Key;
  TColor Colour;
  bool Buttons_Follow_Injectors;  // gas: forcing buttons down where the injector bits are set
};
// Caption and colour of a work mode; nothing for a mode outside 1, 2, 4.
std::optional<Work_Mode_Look> Work_Mode_Display(uint8_t mode);

// ---- level modes and LEDs ----
// True when mode differs from Level_Mode, which then takes it (software level type only).
bool Level_Mode_Changed(uint8_t mode);
struct Level_Mode_Texts {
  std::string Caption_Key;  // empty for mode 0
  std::string Hint_Key;
};
// Caption and hint keys of a level mode; nothing for a mode outside 0, 16, 32, 64, 128.
std::optional<Level_Mode_Texts> Level_Mode_Keys(uint8_t mode);

struct Mode_Leds_State {
  bool Red = false;
  bool Green = false;   // green 1..5
  bool Yellow = false;
};
// The mode LEDs for a work mode; software_level: the level type is the software one.
Mode_Leds_State Mode_Leds(uint8_t work_mode, bool software_level, uint8_t level_mode);

// ---- texts of the live labels ----
struct Live_Texts {
  std::string RPM;            // Label_GEN_RPM_Dig
  std::string Gas;            // Label_GEN_Gas_Dig
  std::string TPS;            // Label_GEN_TPS_Dig
  std::string TempVap, TempGas, TempInside;  // Label_GEN_Temp..._Dig
  std::string TempCouple;     // Label_GEN_TempCouple_Dig
  std::string PressVap, PressColl, PressDiff;  // Label_GEN_Press..._Dig
  std::string Power;          // Label_GEN_Power_Dig
  std::string Detonation;     // Label_GEN_Detonation_Dig
  std::string Gas_Level;      // Label_GEN_GasLevel_Dig
  std::string Rpm_K;          // Label_Rpm_K: "Factor RPM = 1.00"
  std::string Vac_K;          // Label_Vac_k: "Factor VAC = 0.50"
  std::string Rpm_Timer;      // Label_Rpm_Timer: the period word
  std::string RPM_Period;     // Label_RPM_Period_mks: "T = 10000 mks"
  std::string PerCent;        // Label_GEN_PerCent_Dig: "50 %"
  std::string In[4];          // Label_GEN_In_0..3: "I0 = 2.50"
  std::string Out[3];         // Label_GEN_Out_1..3: "O1 = 2.50"
};
// The live values as the General page (and the pages that copy it) shows them.
Live_Texts Live_Label_Texts();

// ---- software gas level (Configuration page) ----
struct Software_Level_View {
  std::string Level_Current_Text;  // counter * 32 / 3600000000, five decimals
  int32_t Scale = 1023;            // full scale of the level sensor drawing
  bool Leds_From_Counter = false;  // gas mode, level mode 128: the LED row below
  bool Red = false;
  bool Green[5] = {};              // green 1..5
};
// The level view after a reply. software_level: the level type shows the software preset.
// For the software level the counter is reduced (gas mode: shifted right by 21 bits,
// otherwise 0) and Live_Gas_Level becomes its low 16 bits on the scale GL_Etalon; for
// the other types the scale is 1023 and the sensor value stays.
Software_Level_View Software_Level_Update(bool software_level);

// ---- status and error bytes ----
// Status byte: while connected and when it differs from Status_Word, each changed bit in
// bit order 0..4 queues, removes or shows its text; then Status_Word := bits.
void Status_Bits_Changed(uint8_t bits);
// Error byte: true when the error memo is to be filled now (a new byte, or the same byte
// before the memo was first filled since it was last cleared).
bool Error_Word_Changed(uint8_t bits);
// Text keys of the memo lines for an error byte, in bit order ("Memo_ERR_OK" for none).
std::vector<std::string> Error_Memo_Keys(uint8_t bits);

// ---- oscilloscope sample ----
// The eight words of one recorded sample, in file order.
void Live_OSC_Sample(uint16_t words[8]);

// Live values and last-seen state back to their start (start-up, disconnect), so the
// next reply refreshes every display; Work_Mode is cleared with them.
void Live_Data_Reset();
// Removes the window hooks (tests).
void Live_Data_Hooks_Reset();
