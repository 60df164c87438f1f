// Reading and writing the configuration record's fields as keys of the open key file: the
// shared steps of the configuration file, the gas-diesel options and the curves.
//
// A read never changes a field whose key is missing or whose value does not read. A write
// replaces the key where it stands, or appends it (Key_File_Set).
#pragma once

#include <cstdint>
#include <string>

// What a written key's comment is.
enum class CFG_Comment {
  Language,   // the current language's text of key + "_Rem"
  None,       // empty
};

void CFG_Key_Write(const std::string& key, const std::string& value, CFG_Comment comment);
void CFG_Key_Write_Int(const std::string& key, int64_t value, CFG_Comment comment);
void CFG_Key_Write_Bool(const std::string& key, bool value, CFG_Comment comment);
// A free-text value (names, comments): braces would end the value or begin a comment when
// the file is read again, so "{" and "}" are written as "(" and ")".
void CFG_Key_Write_Text(const std::string& key, const std::string& value, CFG_Comment comment);

bool CFG_Key_Read(const std::string& key, int32_t& field);
bool CFG_Key_Read(const std::string& key, bool& field);
bool CFG_Key_Read(const std::string& key, std::string& field);
// The low byte of an integer value.
bool CFG_Key_Read_Byte(const std::string& key, uint8_t& field);
// A whole unsigned 32-bit decimal value (0 .. 4294967295).
bool CFG_Key_Read(const std::string& key, uint32_t& field);

// Free text with "{" and "}" replaced by "(" and ")".
std::string CFG_Free_Text(const std::string& text);
