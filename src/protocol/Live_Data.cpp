#include "protocol/Live_Data.h"

#include <algorithm>
#include <cmath>

#include "data/Call_Hook.h"
#include "data/Configuration.h"
#include "data/Conversions.h"
#include "data/Globals.h"
#include "protocol/Status_Queue.h"
#include "language/Language.h"
#include "protocol/Frames.h"

Live_Values_Class Live_Values;
uint8_t Level_Mode = 0;
uint8_t Status_Word = 0;
uint8_t Error_Word = 0;
bool Status_Word_Known = false;
Live_Data_Hooks_Class Live_Data_Hooks;

namespace {

constexpr uint8_t Mode_Gas = 4;

// A 10-bit count in 0.01 V on the 0..5 V scale.
int32_t Volt_Of(int32_t word) {
  return static_cast<int32_t>(std::trunc((word & 0x3FF) * 500.0L / 1023.0L));
}

}  // namespace

void Decode_Live_Values(const uint8_t* rx, std::size_t reply_length) {
  // The data are bytes 2 .. reply_length - 2; the last byte is the sum.
  const std::size_t data_end = reply_length >= 1 ? reply_length - 1 : 0;
  auto has = [&](std::size_t pos, std::size_t width) { return pos + width <= data_end; };
  auto word = [&](std::size_t pos) { return rx[pos] | (rx[pos + 1] << 8); };
  if (!has(2, 1)) return;

  Live_Values_Class& v = Live_Values;
  const bool gas = rx[2] == Mode_Gas;
  if (has(3, 1)) v.Injector_Bits = rx[3];

  // Gas time: the average over the cylinders whose injectors are active.
  if (has(8, 16) && has(3, 1)) {
    int64_t sum = 0;
    int count = 0;
    for (int i = 0; i < 8; ++i) {
      if (rx[3] & (1u << i)) {
        sum += word(8 + 2 * i);
        ++count;
      }
    }
    v.Live_Gas_Time = (gas && sum > 0 && count > 0) ? static_cast<int32_t>(sum / count) : 0;
  }
  if (has(24, 2)) {
    v.Live_RPM = Period_Bytes_To_RPM(rx[25], rx[24]);
    v.Live_Word_24 = word(24);
  }
  if (has(26, 1)) v.Live_Factor_RPM = gas ? rx[26] * 10000 / 128 : 0;
  if (has(27, 1)) v.Live_Factor_VAC = gas ? rx[27] * 10000 / 128 : 0;
  if (has(28, 2)) v.Live_TempVap = Raw_To_Temperature(rx[29], rx[28]);
  if (has(30, 2)) v.Live_TempGas = Raw_To_Temperature(rx[31], rx[30]);
  if (has(32, 2)) v.Live_TempInside = Raw_To_Temperature(rx[33], rx[32]);
  if (has(34, 2)) v.Live_TempCouple = word(34) * 1000 / 818;
  if (has(36, 2)) v.Live_PressVap = Bytes_To_Pressure(rx[37], rx[36]);
  if (has(38, 2)) v.Live_PressColl = Bytes_To_Pressure(rx[39], rx[38]);
  if (has(36, 4)) {
    const int32_t diff = v.Live_PressVap - v.Live_PressColl;
    v.Live_PressDiff = diff > 0 ? diff : 0;
  }
  if (has(40, 2)) v.Live_Power = (word(40) & 0x3FF) * 2;
  if (has(42, 2)) v.Live_Detonation = Volt_Of(word(42));

  struct Channel {
    std::size_t pos;
    int32_t* value;
    int32_t* raw;
  };
  const Channel channels[] = {
      {44, &v.Live_TPS, &v.Live_TPS_Raw},           {46, &v.Live_Input_1, &v.Live_Input_1_Raw},
      {48, &v.Live_Input_2, &v.Live_Input_2_Raw},   {50, &v.Live_Input_3, &v.Live_Input_3_Raw},
      {52, &v.Live_Output_1, &v.Live_Output_1_Raw}, {54, &v.Live_Output_2, &v.Live_Output_2_Raw},
      {56, &v.Live_Output_3, &v.Live_Output_3_Raw},
  };
  for (const Channel& c : channels) {
    if (!has(c.pos, 2)) continue;
    *c.raw = word(c.pos);
    *c.value = Volt_Of(*c.raw);
  }
  if (has(58, 2)) v.Live_Gas_Level = rx[58] + (rx[59] & 3) * 256;
  if (has(60, 4)) {
    v.Level_Counter = (static_cast<uint32_t>(rx[61]) << 24) | (static_cast<uint32_t>(rx[60]) << 16) |
                      (static_cast<uint32_t>(rx[63]) << 8) | rx[62];
  }

  // Gas per cent: output 1 against input 1, in gas mode with both present.
  if (has(46, 2) && has(52, 2)) {
    v.Live_Gas_PerCent = (gas && v.Live_Output_1 != 0 && v.Live_Input_1 != 0)
                             ? static_cast<int32_t>(std::trunc(static_cast<long double>(v.Live_Output_1) /
                                                                v.Live_Input_1 * 100))
                             : 100;
  }
}

void Receiv_Current_Data() {
  const std::size_t length = std::min<std::size_t>(Reply_Length, Frame_Buffer_Size);
  const uint8_t* rx = RX_Frame;
  // Data bytes are 2 .. length - 2.
  const std::size_t data_end = length >= 1 ? length - 1 : 0;
  if (data_end > 3 && Live_Data_Hooks.Show_Work_Mode) Live_Data_Hooks.Show_Work_Mode(rx[2], rx[3]);
  if (const auto level = Reply_Level_Mode(rx, length); level && Live_Data_Hooks.Show_Level_Mode) {
    Live_Data_Hooks.Show_Level_Mode(*level);
  }
  if (data_end > 4) Status_Bits_Changed(rx[4]);
  if (data_end > 6 && Error_Word_Changed(rx[6]) && Live_Data_Hooks.Show_Error_Memo) {
    Live_Data_Hooks.Show_Error_Memo();
  }
  Decode_Live_Values(rx, length);
  Call_Hook(Live_Data_Hooks.Show_Live_Values);
}

std::optional<uint8_t> Reply_Level_Mode(const uint8_t* rx, std::size_t reply_length) {
  if (reply_length < 61) return std::nullopt;  // byte 59 lies in the data (before the sum)
  return static_cast<uint8_t>(rx[59] & 0xF0);
}

// ---- work mode ----

bool Work_Mode_Changed(uint8_t mode) {
  if (mode == Work_Mode) return false;
  Work_Mode = mode;
  return true;
}

std::optional<Work_Mode_Look> Work_Mode_Display(uint8_t mode) {
  switch (mode) {
    case 1: return Work_Mode_Look{"Panel_WorkMode_Petrol", clYellow, false};
    case 2: return Work_Mode_Look{"Panel_WorkMode_Automat", clAqua, false};
    case 4: return Work_Mode_Look{"Panel_WorkMode_Gas", clLime, true};
    default: return std::nullopt;
  }
}

// ---- level modes and LEDs ----

bool Level_Mode_Changed(uint8_t mode) {
  if (mode == Level_Mode) return false;
  Level_Mode = mode;
  return true;
}

std::optional<Level_Mode_Texts> Level_Mode_Keys(uint8_t mode) {
  switch (mode) {
    case 0: return Level_Mode_Texts{"", ""};
    case 16: return Level_Mode_Texts{"Mode_Level_Wait", "Level_Mode_Wait_Hint"};
    case 32: return Level_Mode_Texts{"Mode_Level_Etalon", "Level_Mode_Etalon_Hint"};
    case 64: return Level_Mode_Texts{"Mode_Level_Pause", "Level_Mode_Pause_Hint"};
    case 128: return Level_Mode_Texts{"Mode_Level_Work", "Level_Mode_Work_Hint"};
    default: return std::nullopt;
  }
}

Mode_Leds_State Mode_Leds(uint8_t work_mode, bool software_level, uint8_t level_mode) {
  if (work_mode != Mode_Gas) return {false, false, true};
  if (!software_level) return {false, true, false};
  switch (level_mode) {
    case 32: return {true, true, false};
    case 64: return {true, false, false};
    case 128: return {false, true, true};
    default: return {false, true, false};
  }
}

// ---- texts of the live labels ----

Live_Texts Live_Label_Texts() {
  const Live_Values_Class& v = Live_Values;
  Live_Texts t;
  t.RPM = std::to_string(v.Live_RPM);
  t.Gas = Format_Gas_Time(v.Live_Gas_Time);
  t.TPS = Format_Input(v.Live_TPS);
  t.TempVap = Format_Temperature(v.Live_TempVap);
  t.TempGas = Format_Temperature(v.Live_TempGas);
  t.TempInside = Format_Temperature(v.Live_TempInside);
  t.TempCouple = std::to_string(v.Live_TempCouple);
  t.PressVap = Format_Pressure(v.Live_PressVap);
  t.PressColl = Format_Pressure(v.Live_PressColl);
  t.PressDiff = Format_Pressure(v.Live_PressDiff);
  t.Power = Format_Power(v.Live_Power);
  t.Detonation = Format_Detonation(v.Live_Detonation);
  t.Gas_Level = Format_Gas_Level(v.Live_Gas_Level);
  t.Rpm_K = "Factor RPM = " + Format_Factor(v.Live_Factor_RPM);
  t.Vac_K = "Factor VAC = " + Format_Factor(v.Live_Factor_VAC);
  t.Rpm_Timer = std::to_string(v.Live_Word_24);
  t.RPM_Period = "T = " + std::to_string(static_cast<int64_t>(v.Live_Word_24) * 4) + " mks";
  t.PerCent = std::to_string(v.Live_Gas_PerCent) + " %";
  const int32_t in[4] = {v.Live_TPS, v.Live_Input_1, v.Live_Input_2, v.Live_Input_3};
  for (int i = 0; i < 4; ++i) t.In[i] = "I" + std::to_string(i) + " = " + Format_Input(in[i]);
  const int32_t out[3] = {v.Live_Output_1, v.Live_Output_2, v.Live_Output_3};
  for (int i = 0; i < 3; ++i) t.Out[i] = "O" + std::to_string(i + 1) + " = " + Format_Output(out[i]);
  return t;
}

// ---- software gas level ----

Software_Level_View Software_Level_Update(bool software_level) {
  Software_Level_View view;
  Live_Values_Class& v = Live_Values;
  if (!software_level) return view;
  view.Level_Current_Text = Format_Fixed(v.Level_Counter * 32.0 / 3600000000.0, 7, 5);
  if (Work_Mode == Mode_Gas) {
    v.Level_Counter >>= 21;
    if (Level_Mode == 128) {
      const int64_t n = Configuration.GL_Etalon / 6;
      const int64_t c = v.Level_Counter;
      view.Leds_From_Counter = true;
      for (int k = 1; k <= 5; ++k) view.Green[k - 1] = c < (6 - k) * n;
      view.Red = !view.Green[0];
    }
  } else {
    v.Level_Counter = 0;
  }
  v.Live_Gas_Level = static_cast<int32_t>(v.Level_Counter & 0xFFFF);
  view.Scale = Configuration.GL_Etalon;
  return view;
}

// ---- status and error bytes ----

void Status_Bits_Changed(uint8_t bits) {
  if (!Connected || (Status_Word_Known && bits == Status_Word)) return;
  Language_Load_File();
  auto text = [](const char* key) { return Language_Find_Text(key); };
  // A bit that is set in the good state: while clear its warning stays queued in red; when
  // it comes back the warning goes and the good news shows once.
  auto good_when_set = [&](bool now, const char* warning_key, const char* good_key) {
    if (now) {
      Remove_Status_Message(text(warning_key));
      Show_Status_Text(clLime, text(good_key));
    } else {
      Add_Status_Message(clRed, text(warning_key));
    }
  };
  // A bit whose message stays queued while it is set.
  auto queued_while_set = [&](bool now, TColor colour, const char* key) {
    if (now) Add_Status_Message(colour, text(key));
    else Remove_Status_Message(text(key));
  };
  const unsigned changed = Status_Word_Known ? static_cast<unsigned>(bits ^ Status_Word) : 0x1Fu;
  for (int bit = 0; bit <= 4; ++bit) {
    if (((changed >> bit) & 1u) == 0) continue;
    const bool now = ((bits >> bit) & 1u) != 0;
    switch (bit) {
      case 0: good_when_set(now, "Error_Engine_off", "Error_Engine_on"); break;
      case 1: good_when_set(now, "Error_Low_pressure", "Error_Normal_pressure"); break;
      case 2: queued_while_set(now, clRed, "Error_Not_Save_Data"); break;
      case 3:
        if (now) Show_Status_Text(clLime, text("Error_Save_Data"));
        break;
      case 4: queued_while_set(now, clLime, "Error_Preheating"); break;
    }
  }
  Language_Release();
  Status_Word = bits;
  Status_Word_Known = true;
}

void Live_Status_Forget() {
  Status_Word = 0;
  Status_Word_Known = false;
  Error_Word = 0;
  Error_Memo_Shown = false;
  Work_Mode = 0;
}

bool Error_Word_Changed(uint8_t bits) {
  if (bits == Error_Word) {
    if (Error_Memo_Shown) return false;
  } else {
    Error_Word = bits;
  }
  Error_Memo_Shown = true;
  return true;
}

std::vector<std::string> Error_Memo_Keys(uint8_t bits) {
  static const char* const lines[5] = {"Memo_ERR_TempVap_Current_1", "Memo_ERR_TempGas_Current_1",
                                       "Memo_ERR_PressVap_Current_1", "Memo_ERR_PressCol_Current_1",
                                       "Memo_ERR_Press_Leakage_Gas"};
  std::vector<std::string> keys;
  for (int bit = 0; bit < 5; ++bit) {
    if (bits & (1u << bit)) keys.push_back(lines[bit]);
  }
  if (keys.empty()) keys.push_back("Memo_ERR_OK");
  return keys;
}

// ---- oscilloscope sample ----

void Live_OSC_Sample(uint16_t words[8]) {
  const Live_Values_Class& v = Live_Values;
  const int32_t values[8] = {v.Live_RPM,     v.Live_Gas_Time / 10, v.Live_TPS,       v.Live_TempVap,
                             v.Live_TempGas, v.Live_PressDiff,     v.Live_Detonation, v.Live_PressColl};
  for (int i = 0; i < 8; ++i) words[i] = static_cast<uint16_t>(values[i]);
}

void Live_Data_Reset() {
  Live_Values = Live_Values_Class{};
  Level_Mode = 0;
  Status_Word = 0;
  Status_Word_Known = false;
  Error_Word = 0;
  Work_Mode = 0;
}

void Live_Data_Hooks_Reset() { Live_Data_Hooks = Live_Data_Hooks_Class{}; }
