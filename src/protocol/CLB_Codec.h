// How the calibration curves travel to and from the controller.
//
// Write: each curve is a sub-block (code 0x81 gas, 0x82 RPM, 0x83..0x85 TPS 1..3, 0x86 VAC)
// of nine points, 6 bytes a point: slope word, output word, input word, high byte first.
// The sub-block encoders leave the 54 bytes at TX_Frame[2..55] for the list packing.
// Read: the replies to 0x28 (gas, RPM) and 0x29 (TPS 1..3, VAC with the VAC input) carry the
// curves one after the other from RX_Frame[2], words low byte first.
//
// Slope words: gas and TPS on the scale 128 = 1.0, RPM and VAC 32768 = 1.0. A slope whose
// word would lie above 65535 is sent as 65535, one below -32768 as 0x8000 (the steepest
// the word holds), so a steep segment never wraps round to a shallow or reversed one.
#pragma once

#include <cstdint>
#include <functional>

// Recomputes the slopes K of the gas and RPM curves from In and Out.
void Calc_CLB_K_Gas_RPM();
// Recomputes the slopes of the three TPS curves and, with the VAC input, of the VAC curve
// (whose K[0] keeps its value).
void Calc_CLB_K_TPS_VAC();

// Sub-block encoder of one code 0x81..0x86: starts a frame for the code and writes the
// curve's 54 bytes at TX_Frame[2..55]. Nothing is armed. Other codes do nothing.
void Encode_CLB_Sub_Block(uint8_t code);

// Script actions after commands 0x28 (slot 34) and 0x29 (slot 36): decode the reply in
// RX_Frame into the curves. A curve whose 54 bytes do not lie wholly inside the block
// length the identification gave keeps its values; the first such short reply of a
// connection (each run of the connect script) shows "Error_CLB_Receiv".
void Receiv_CLB_Gas_RPM();
void Receiv_CLB_TPS_VAC();

// Wire form of a slope: K x scale truncated, held to -32768 .. 65535, as a 16-bit word.
uint16_t CLB_Slope_Word(double k, double scale);

// Scales of the slope words.
constexpr double CLB_Slope_Scale_Input = 128.0;    // gas and TPS
constexpr double CLB_Slope_Scale_Factor = 32768.0; // RPM and VAC

struct CLB_Codec_Hooks_Class {
  // The calibration chart is drawn again after the TPS and VAC curves came in.
  std::function<void()> Draw_Calibration;
};
extern CLB_Codec_Hooks_Class CLB_Codec_Hooks;

// Registers the sub-block encoders, the two decoders in their action slots and the slope
// routines as protocol hooks.
void CLB_Codec_Init();

// Hooks emptied, error flag cleared (tests).
void CLB_Codec_Reset();
