// The kinds of message the message window shows (Show_Message, windows/MSG.h). Any layer
// may name them; the window decides what each looks like.
#pragma once

#include <cstdint>

namespace Message_Type {
// The controller's program is older than this program works best with.
constexpr uint8_t Old_Version = 1;
// The same, for a controller that cannot take a new program through the loader.
constexpr uint8_t Old_Version_No_Loader = 2;
// The temperature table beside the program is missing.
constexpr uint8_t Temperature_Missing = 3;
// The text as given.
constexpr uint8_t Text = 4;
// The oscilloscope file is full.
constexpr uint8_t File_Full = 5;
// The configuration was saved to "Temp.cfg" before loading (closes itself after 3 s).
constexpr uint8_t Saved_Before_Loading = 6;
// The text of a language key.
constexpr uint8_t Language_Key = 7;
// The controller's program version is refused: the main window is disabled, and closing
// the message ends the program.
constexpr uint8_t Wrong_Version = 8;
// The text of a language key, closing itself after 3 s.
constexpr uint8_t Language_Key_Countdown = 9;
}  // namespace Message_Type
