// The configuration parameters on the wire: the 52 parameter letters 'A'..'t', each two
// data bytes (b2, b3), their encoders and decoders, the whole-configuration and
// service-timer replies, the influence-factor limits the percent pairs depend on, and
// which controls of the Configuration page belong to which letter.
//
// Encoders read the configuration record and arm a single-parameter frame (mode, letter,
// b2, b3, sum; reply 3 bytes); the list packing reuses them. Words go high byte first to
// the controller and come back low byte first: a reply pair is (first, second) with the
// word second * 256 + first. Two-field letters keep b2 first both ways.
//
// Everything runs on the user-interface thread from the script sequencer. What the
// codecs change on the windows goes through CFG_Codec_Hooks (bound by the windows that
// own the controls; an unbound hook does nothing).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// ---- what the codecs reach outside the protocol ----
// The five influence factors with a limit (letters e, f, h, i, k).
enum class Infl_Factor { DiffPress_S, DiffPress_B, TempGas_S, TempGas_B, Power };

struct CFG_Codec_Hooks_Class {
    // The record onto the Configuration page (after a whole-configuration reply).
    std::function<void()> Show_Configuration;
    // Service time and remaining hours onto the page (after a service-timer reply).
    std::function<void()> Show_Service_Timer;
    // The RPM sensitivity sweep's start/stop button is down: every 'E' carries bit 7.
    std::function<bool()> RPM_StartStop_Down;
    // Enables or disables one page control by its name.
    std::function<void(const std::string& control, bool enabled)> Enable_Control;
    // A limit routine ran: the factor's up-down takes the range and the position.
    std::function<void(Infl_Factor factor, int32_t position, int32_t minimum, int32_t maximum)>
        Infl_Limits_Show;
    // The detonation-correction check boxes show DS_Correction_ON.
    std::function<void(bool on)> DS_Correction_Show;
};
extern CFG_Codec_Hooks_Class CFG_Codec_Hooks;

// Identity held by the controller: the 'A' word of the last whole-configuration reply
// (kept apart from the record's Car_ID).
extern int32_t CFG_ID_Received;
// Index of the second byte of the reply pair being decoded (3, 5, 7, ...).
extern int32_t CFG_Reply_Cursor;

// ---- registration ----
// Registers the letter encoders and decoders, the reply actions (32 whole
// configuration, 89 service timer, 91 detonation correction) and the write lists with
// their actions (55, 56) and hooks. Called once where the program binds its protocol
// handlers; calling it again registers the same handlers again.
void Param_Codecs_Init();
// Hooks unbound, identity and cursor cleared (tests; the tables are emptied by Script_Reset).
void Param_Codecs_Reset();

// ---- decoders of the replies (script actions) ----
// Whole configuration (reply to 0x27): every pair of the full list that lies inside the
// block the controller reported (Len_Configuration) into the record; the fields beyond a
// short block keep their values and "Error_CFG_Receiv" is shown once per connection.
// Then the identity check and the page.
void Receiv_CFG_All();
// Service timer (reply to 0x2E): Service_Time and Service_Time_Cnt, the page, and the
// service text queued when the interval has run out.
void Receiv_Service_Timer();
// Before the configuration list of a write-all: a loaded file's detonation-correction
// switch back into the record.
void Apply_DS_Correction();

// ---- influence-factor limits ----
// Each keeps its factor's coefficient (|F| x 2^shift / (R x 100)) at most 255 by moving
// the factor 5 toward zero; a factor that does not settle within 40 steps becomes 0, and
// so does a factor whose support (field or raw word R) is 0, and the supply factor when a
// step takes it below 0 (it has no sign). Then the up-down's range
// R x 25500 div 2^shift, at most 95 (and -95; 0 for the supply factor's minimum), and the
// position go to the page.
void Infl_DiffPress_S_Limits();
void Infl_DiffPress_B_Limits();
void Infl_TempGas_S_Limits();
void Infl_TempGas_B_Limits();
void Infl_Power_Limits();

// ---- controls of the letters ----
// Enables or disables the page controls of one letter (letters without controls: none).
void Enable_CFG_Param_Control(uint8_t letter, bool enabled);
// The same for every letter 'A'..'t'.
void Enable_CFG_Param_All(bool enabled);
// The letter, and every letter marked for the coming send, take `state`; all other
// letters take `other_state`, except the switches of 'C', which keep their state.
void Enable_CFG_Param_Only(uint8_t letter, bool state, bool other_state);
// Names of the page controls of a letter (empty for a letter without controls).
const std::vector<std::string>& CFG_Param_Controls(uint8_t letter);
