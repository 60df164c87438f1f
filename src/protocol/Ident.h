// Identification of the controller and the feature gates of its model.
//
// The identification reply (command 0x22) carries the status, the program name, date and
// version, the two work counters and the data lengths of the four read blocks. The version
// is reduced to one number, Program_Version_Code (X * 100 + YY), which decides the model's
// features everywhere: the number of injectors, the TPS emulation, the input TPS 0 and the
// VAC input.
//
// This unit holds the decoding and the gates; what the identification changes on the
// windows is reached through Ident_Hooks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Controller program version X * 100 + YY; 0 when the version text is empty or no number.
extern int32_t Program_Version_Code;

// Status given to a refused identification: it counts as not accepted.
constexpr int32_t Ident_Status_Refused = 0xFF;

// Data lengths of the read blocks 0x26, 0x27, 0x28, 0x29 as the identification gives them.
struct Ident_Block_Lengths {
  uint8_t Current_Data = 0;
  uint8_t Configuration = 0;
  uint8_t Calibration_1 = 0;
  uint8_t Calibration_2 = 0;
};

// Window hooks of the identification (unset hooks are skipped).
struct Ident_Hooks_Class {
  std::function<void(bool)> About_Program_Visible;  // program group of the About page
  std::function<void(bool)> About_Work_Visible;     // work-hours group of the About page
  // After an accepted identification reply: the model's controls, the yellow-wire list,
  // the VAC curve box unticked without the VAC input, the auxiliary labels.
  std::function<void()> Ident_Windows;
};
extern Ident_Hooks_Class Ident_Hooks;

// Script action after command 0x22: decodes RX_Frame (Reply_Length bytes) and takes the
// block lengths into Len_Current_Data .. Len_Calibration_2; then the window hook.
void Receiv_Ident_Data();

// Decodes an identification reply of reply_length bytes (rx holds at least that many).
// Sets Ident_Status, the record's program name, date, version and work counters, the
// version code, and `lengths` for the block lengths. A field whose bytes lie beyond the
// reply's data keeps its value. Returns false when the identification is refused: a reply
// too short to carry its status (nothing of it is taken), a block length whose reply would
// not fit the frame buffers (Frame_Buffer_Size; nothing taken), or a reply too short to
// carry all four block lengths (the fields it holds are taken); then Ident_Status is
// Ident_Status_Refused and `lengths` is left as it was.
bool Decode_Ident_Reply(const uint8_t* rx, std::size_t reply_length, Ident_Block_Lengths& lengths);

// From the record's Program_Name and Program_Version: the display name replaces the
// program name, Program_Name_Text and Program_Version_Code are set.
void Decode_Program_Version();

// Display name of the record's program name (which is stored trimmed): one of the three
// model names of the settings, or "Unknow". A name that already is one of the display
// names keeps its model, so decoding twice gives the same name.
std::string Model_Display_Name();

// The version text "X.YY" (or "X.Y", or "X") as X * 100 + Y; 0 when not a number.
int32_t Version_Text_To_Code(const std::string& version);

// Whether the work-hours group is shown: a work counter is non-zero.
bool Work_Hours_Visible();
// Applies Work_Hours_Visible through the hook.
void Show_Work_Hours();

// True when the identification was not accepted (status 2 or more).
bool Ident_Status_Failed();

// ---- feature gates, from Program_Version_Code at the time of the call ----
uint8_t Max_Injectors();
bool Has_TPS_Zero();
bool Has_VAC();
bool Has_TPS_Emulation();

// Items of the four TPS source combo boxes: "TPS Input 1" .. "TPS Input 3", with
// "TPS Input 0" in front when the model has that input (text of "Label_CFG_TPS_Input").
std::vector<std::string> TPS_Input_Items();

// Binds the identification's side of the configuration defaults: a reset of the record's
// identification decodes the version and applies the work hours again (start-up).
void Ident_Bind_Configuration();

// Clears the version code, Program_Name_Text and the hooks.
void Ident_Reset();
