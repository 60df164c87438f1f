#include "protocol/CLB_Codec.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "data/Calibration.h"
#include "data/Call_Hook.h"
#include "data/Conversions.h"
#include "data/Message_Types.h"
#include "platform/ui/Types.h"
#include "protocol/Frames.h"
#include "protocol/Ident.h"
#include "protocol/Protocol_Hooks.h"
#include "protocol/Script.h"

CLB_Codec_Hooks_Class CLB_Codec_Hooks;

namespace {

constexpr uint8_t Code_Gas = 0x81;
constexpr uint8_t Code_VAC = 0x86;
constexpr int Action_Receiv_CLB_1 = 34;
constexpr int Action_Receiv_CLB_2 = 36;
constexpr int Point_Bytes = 6;
constexpr int Curve_Bytes = CLB_Points * Point_Bytes;   // 54
constexpr std::size_t Data_Start = 2;                   // curves follow mode and command
constexpr double Slope_Word_Max = 65535.0;
constexpr double Slope_Word_Min = -32768.0;

// A short block was reported, in the connection (Script_Connect_Count) of that report.
bool Error_Shown = false;
uint32_t Error_Shown_In = 0;

// How a curve's words are formed on the wire.
enum class Curve_Form { Input, RPM, VAC };

struct Curve_Wire {
  CLB_Curve_Id Id;
  Curve_Form Form;
};

constexpr Curve_Wire Wire_Of_Code[] = {
    {CLB_Curve_Id::Gas, Curve_Form::Input},  {CLB_Curve_Id::RPM, Curve_Form::RPM},
    {CLB_Curve_Id::TPS1, Curve_Form::Input}, {CLB_Curve_Id::TPS2, Curve_Form::Input},
    {CLB_Curve_Id::TPS3, Curve_Form::Input}, {CLB_Curve_Id::VAC, Curve_Form::VAC},
};

double Slope_Scale(Curve_Form form) {
  return form == Curve_Form::Input ? CLB_Slope_Scale_Input : CLB_Slope_Scale_Factor;
}

void Put_Word(std::size_t at, uint32_t word) {
  TX_Frame[at] = static_cast<uint8_t>((word >> 8) & 0xFF);
  TX_Frame[at + 1] = static_cast<uint8_t>(word & 0xFF);
}

void Put_Pair(std::size_t at, Byte_Pair pair) {
  TX_Frame[at] = pair.High;
  TX_Frame[at + 1] = pair.Low;
}

void Encode(const Curve_Wire& wire) {
  const CLB_Curve& curve = CLB_Curve_Of(wire.Id);
  for (int i = 0; i < CLB_Points; ++i) {
    const std::size_t at = Data_Start + static_cast<std::size_t>(i * Point_Bytes);
    Put_Word(at, CLB_Slope_Word(curve.K[i], Slope_Scale(wire.Form)));
    switch (wire.Form) {
      case Curve_Form::Input:
        Put_Word(at + 2, static_cast<uint32_t>(curve.Out[i]));
        Put_Word(at + 4, static_cast<uint32_t>(curve.In[i]));
        break;
      case Curve_Form::RPM:
        Put_Word(at + 2, static_cast<uint32_t>(Scale_10000_To_128(curve.Out[i])));
        Put_Pair(at + 4, RPM_To_Period_Bytes(curve.In[i]));
        break;
      case Curve_Form::VAC:
        Put_Word(at + 2, static_cast<uint32_t>(Scale_10000_To_128(curve.Out[i])));
        Put_Pair(at + 4, Pressure_To_Bytes(1, curve.In[i] / 10));
        break;
    }
  }
}

// Word of the reply at a receive-buffer position, low byte first: (high, low).
int32_t High_At(std::size_t at) { return RX_Frame[at + 1]; }
int32_t Low_At(std::size_t at) { return RX_Frame[at]; }

void Decode(const Curve_Wire& wire, std::size_t from) {
  CLB_Curve& curve = CLB_Curve_Of(wire.Id);
  for (int i = 0; i < CLB_Points; ++i) {
    const std::size_t at = from + static_cast<std::size_t>(i * Point_Bytes);
    curve.K[i] = Make_Word(High_At(at), Low_At(at)) / Slope_Scale(wire.Form);
    const std::size_t out = at + 2, in = at + 4;
    switch (wire.Form) {
      case Curve_Form::Input:
        curve.Out[i] = Make_Word(High_At(out), Low_At(out));
        curve.In[i] = Make_Word(High_At(in), Low_At(in));
        break;
      case Curve_Form::RPM:
        curve.Out[i] = Bytes_Scale_128_To_10000(High_At(out), Low_At(out));
        curve.In[i] = Period_Bytes_To_RPM(High_At(in), Low_At(in));
        break;
      case Curve_Form::VAC:
        curve.Out[i] = Bytes_Scale_128_To_10000(High_At(out), Low_At(out));
        curve.In[i] = Bytes_To_Pressure(High_At(in), Low_At(in)) * 10;
        break;
    }
  }
  curve.Selected = -1;
}

// Data bytes the reply really holds: the block length of the identification, and never
// more than the reply that was read.
std::size_t Data_Length(uint8_t block_length) {
  const std::size_t read = Reply_Length >= 3 ? Reply_Length - 3u : 0;
  return std::min<std::size_t>(block_length, read);
}

void Report_Short_Reply() {
  if (Error_Shown && Error_Shown_In == Script_Connect_Count) return;
  Error_Shown = true;
  Error_Shown_In = Script_Connect_Count;
  Call_Hook(Protocol_Hooks.Show_Message, Message_Type::Language_Key, "Error_CLB_Receiv", clRed);
}

// Decodes `count` curves of the table from the first wire index, each only when its bytes
// lie inside the block.
void Decode_Block(int first, int count, uint8_t block_length) {
  const std::size_t length = Data_Length(block_length);
  bool short_reply = false;
  for (int j = 0; j < count; ++j) {
    const std::size_t end = static_cast<std::size_t>((j + 1) * Curve_Bytes);
    if (end > length) {
      short_reply = true;
      continue;
    }
    Decode(Wire_Of_Code[first + j], Data_Start + static_cast<std::size_t>(j * Curve_Bytes));
  }
  if (short_reply) Report_Short_Reply();
}

// Slopes of a curve on its raw inputs: k = |dOut| / dIn (dIn signed), 1.0 where dIn is 0.
void Slopes_Signed(CLB_Curve& curve) {
  curve.K[0] = 1.0;
  for (int k = 1; k < CLB_Points; ++k) {
    const double d_in = static_cast<double>(curve.In[k]) - curve.In[k - 1];
    curve.K[k] = d_in == 0 ? 1.0 : std::abs(static_cast<double>(curve.Out[k]) - curve.Out[k - 1]) / d_in;
  }
}

// Slopes on converted values: k = |S(Out) difference| / |X(In) difference|, 1.0 where the
// converted inputs are equal (S: factor on the 128 scale).
template <typename Convert>
void Slopes_Converted(CLB_Curve& curve, Convert input) {
  for (int k = 1; k < CLB_Points; ++k) {
    const double d_x = std::abs(static_cast<double>(input(curve.In[k])) - input(curve.In[k - 1]));
    const double d_y = std::abs(static_cast<double>(Scale_10000_To_128(curve.Out[k])) -
                                Scale_10000_To_128(curve.Out[k - 1]));
    curve.K[k] = d_x == 0 ? 1.0 : d_y / d_x;
  }
}

}  // namespace

uint16_t CLB_Slope_Word(double k, double scale) {
  const double w = std::trunc(k * scale);
  if (!(w <= Slope_Word_Max)) return 0xFFFF;   // also a slope that is no number
  if (w < Slope_Word_Min) return 0x8000;
  return static_cast<uint16_t>(static_cast<int32_t>(w) & 0xFFFF);
}

void Calc_CLB_K_Gas_RPM() {
  Slopes_Signed(CLB_Gas);
  CLB_RPM.K[0] = 1.0;
  Slopes_Converted(CLB_RPM, [](int32_t rpm) { return RPM_To_Period(rpm); });
}

void Calc_CLB_K_TPS_VAC() {
  Slopes_Signed(CLB_TPS1);
  Slopes_Signed(CLB_TPS2);
  Slopes_Signed(CLB_TPS3);
  if (Has_VAC())
    Slopes_Converted(CLB_VAC, [](int32_t p) { return Pressure_To_Raw(1, p / 10); });
}

void Encode_CLB_Sub_Block(uint8_t code) {
  if (code < Code_Gas || code > Code_VAC) return;
  Begin_Frame(code);
  Encode(Wire_Of_Code[code - Code_Gas]);
}

void Receiv_CLB_Gas_RPM() {
  Decode_Block(0, 2, Len_Calibration_1);
}

void Receiv_CLB_TPS_VAC() {
  Decode_Block(2, Has_VAC() ? 4 : 3, Len_Calibration_2);
  Call_Hook(CLB_Codec_Hooks.Draw_Calibration);
}

void CLB_Codec_Init() {
  for (uint8_t code = Code_Gas; code <= Code_VAC; ++code)
    Set_CFG_Encoder(code, [code] { Encode_CLB_Sub_Block(code); });
  Script_Set_Action(Action_Receiv_CLB_1, Receiv_CLB_Gas_RPM);
  Script_Set_Action(Action_Receiv_CLB_2, Receiv_CLB_TPS_VAC);
  Protocol_Hooks.Calc_CLB_K_Gas_RPM = Calc_CLB_K_Gas_RPM;
  Protocol_Hooks.Calc_CLB_K_TPS_VAC = Calc_CLB_K_TPS_VAC;
}

void CLB_Codec_Reset() {
  CLB_Codec_Hooks = CLB_Codec_Hooks_Class{};
  Error_Shown = false;
  Error_Shown_In = 0;
}
