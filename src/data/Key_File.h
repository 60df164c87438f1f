// Key files: the text format of the settings file, the configuration files and the
// password list. One line per entry: the key padded to 29 columns, the value, one blank and
// the comment in braces; lines end with CR LF. Keys are compared without regard to letter
// case; on reading, lines beginning with "{" or "[" are skipped.
//
// The engine holds one parsed file at a time in three parallel lists and hands its results
// back through the shared result slots below. Callers open (Key_File_Load,
// Load_Key_File_Fixed, Key_File_Open), find, set and delete, then close either with
// Key_File_Save (writes) or with Key_File_Discard (no write). Calls never nest.
//
// All texts are byte strings, kept exactly as they stand in the file.
#pragma once

#include "platform/system/Files.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// ---- the open file: entry i of the three lists belongs to one file line ----
extern std::vector<std::string> Key_List;      // keys read are upper-cased; keys set keep their spelling
extern std::vector<std::string> Value_List;
extern std::vector<std::string> Comment_List;
extern bool Key_File_Is_Open;                  // the lists exist (between an open and a close)
// How the last open read its file: Read, Missing, or Unreadable (there but not readable).
extern sys::Read_Result Key_File_Read_Result;

// ---- result slots, overwritten by each call that sets them ----
extern int32_t Key_Index;          // entry last found, -1 when not found
extern std::string Key_Value;      // value of the key last found
extern std::string Key_Comment;    // comment of the key last found
extern int32_t Key_Int_Value;      // result of Key_File_Find_Int
extern bool Key_Bool_Value;        // result of Key_File_Find_Bool
extern std::string Split_Dir;      // results of Split_Path
extern std::string Split_File_Name;

// Width of the key field of a written line.
constexpr std::size_t Key_File_Key_Width = 29;

// ---- opening and closing ----
// False when the file does not exist or cannot be read (the engine stays closed;
// Key_File_Read_Result tells which, and a file that is there but cannot be read is
// reported); else the lists are filled by the line parser and true is returned.
bool Key_File_Load(const std::string& file_name);
// As Key_File_Load, but each value is the first `width` characters of the text after the
// key (trimmed) and every comment is one blank.
bool Load_Key_File_Fixed(const std::string& file_name, int width);
// Key_File_Load; when that fails, starts with empty lists. Returns the load result; the
// lists exist in both cases, so a later Key_File_Save creates a missing file. A file that is
// there but could not be read is never written over: its Key_File_Save is refused.
bool Key_File_Open(const std::string& file_name);
// Closes without writing.
void Key_File_Discard();
// Writes every entry as one line and closes the engine. The file is replaced as a whole:
// when the write fails the old file stays, the failure is reported through the report hook
// and false is returned. The same (report, false, nothing written) when the lists were
// opened by Key_File_Open on this very file and it could not be read.
bool Key_File_Save(const std::string& file_name);

// ---- finds, sets and deletes on the open file ----
bool Key_File_Find(const std::string& key);
bool Find_Value(const std::string& text);
bool Key_File_Find_Int(const std::string& key);
bool Key_File_Find_Bool(const std::string& key);
// A value is stored as it is and reads back whole ("{" and "}" inside it included) unless
// it begins with "{" or holds a blank followed by "{": the reader could not tell it from the
// comment. Such a value is refused: Key_File_Set reports it, changes nothing and returns
// false.
bool Key_File_Value_Writable(const std::string& value);
bool Key_File_Set(const std::string& key, const std::string& value, const std::string& comment);
bool Key_File_Delete(const std::string& key);

// ---- whole-file helpers (open, work, close in one call) ----
bool Key_File_Find_In_File(const std::string& file_name, const std::string& key);
// Changes one key of a file and keeps all its other lines; creates the file when missing;
// leaves a file that cannot be read as it is (false, reported).
bool Set_Key_In_File(const std::string& file_name, const std::string& key,
                     const std::string& value, const std::string& comment);

// The key field of a written line: padded with blanks to 29 characters; a key of 29 or
// more characters is cut to 29 and followed by one blank.
std::string Key_File_Pad_Key(const std::string& key);

// ---- single lines, for lists that keep every other line as it stands ----
// The key of one file line as the reader finds it, letter case kept: false (key untouched)
// for a blank line and for a comment line ("{" or "[" first).
bool Key_File_Line_Key(const std::string& line, std::string& key);
// One entry as Key_File_Save writes it: the padded key, the value, " {", the comment, "}",
// CR LF (a line break inside any part is written as a blank).
std::string Key_File_Line(const std::string& key, const std::string& value,
                          const std::string& comment);

// Reads a whole value as a 32-bit integer: optional sign, then decimal digits, or
// hexadecimal digits after "$" or "0x". False on anything else or on overflow.
bool Key_File_Text_To_Int(const std::string& text, int32_t& result);

// ---- path and text routines kept with the engine ----
// The text up to (not including) its last "."; the whole text when it holds none.
std::string Strip_Extension(const std::string& text);
// Splits at the last "\" or "/": true with Split_Dir and Split_File_Name set; false (slots
// unchanged) when the path holds neither.
bool Split_Path(const std::string& path);
// Breaks a text into lines of about equal length (about hint_length characters), joined by
// line feeds; used for hints (with the setting Hint_Length: data/Settings.h).
std::string Wrap_Text_Chars(const std::string& text, int32_t hint_length);

// ---- reading text files ----
// Reads a whole file. False when it does not exist or cannot be read; `error` (when given)
// then names the file and the cause, and `exists` tells whether the file was there.
bool Read_Text_File(const std::string& path, std::string& bytes, std::string* error = nullptr,
                     bool* exists = nullptr);
// Splits bytes into lines; a line ends at CR LF, at a lone CR or at a lone LF. A line end at
// the very end of the text does not start a further line.
std::vector<std::string> Split_Text_Lines(const std::string& bytes);

// ---- reporting of file failures ----
// Receives a readable text when a file cannot be written or read. The message window
// installs its own; until then the text goes to standard error.
using Key_File_Report_Hook = std::function<void(const std::string& text)>;
void Key_File_Set_Report_Hook(Key_File_Report_Hook hook);
// Whether a report hook is installed.
bool Key_File_Report_Hook_Set();
// The report hook now set (empty when none), so that a caller can set its own for a while.
Key_File_Report_Hook Key_File_Current_Report_Hook();
void Key_File_Report(const std::string& text);

// Closes the engine, clears the result slots and restores the default report hook.
void Key_File_Reset();
