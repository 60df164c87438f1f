// The gas-diesel option group of the configuration: its factory defaults, its keys in the
// car's configuration file, its built-in English texts and the shared captions built from
// the language (also used by the calibration page's diagram captions).
//
// The fields live in the configuration record. Showing, enabling and colouring the group
// on the Configuration page are built on this unit.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// The group's factory defaults. Virtual_Injection_ON and the two TPS emulation bytes keep
// their values.
void Set_Default_GD_Options();

// Writes the group's keys in their order into the open key file (comment: the language
// text of key + "_Rem", or empty for the TPS filter and cut-off keys).
void GD_Options_Save_Keys();
// Reads the group's keys from the open key file; a missing key or a value that does not
// read keeps the field. While CFG_Loaded_For_Write (Globals) is set, DS_Correction_ON goes
// to DS_Correction_Parked and the field itself becomes false.
void GD_Options_Load_Keys();

// The twelve shared captions (index 1..12; 0 unused), rebuilt on every language change.
constexpr int GD_Caption_Count = 12;
extern std::array<std::string, GD_Caption_Count + 1> GD_Captions;
void GD_Captions_Build();

// Built-in English texts of the group; registers its table behind the main table.
void English_Text_GD_Register();
// The group's English text of a key; `text` unchanged for a key not in the group.
void English_Text_GD(const std::string& key, std::string& text);

// TPS source codes of the emulation nibbles (1, 2, 4, 8 = inputs 0..3) and the index of
// the matching combo item; without input 0 the items start at input 1.
uint8_t TPS_Code_From_Index(int index, bool has_input_0);
int TPS_Index_From_Code(uint8_t code, bool has_input_0);

// Captions emptied (tests).
void GD_Options_Reset();
