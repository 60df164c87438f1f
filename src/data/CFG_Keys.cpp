#include "data/CFG_Keys.h"

#include <cstdint>

#include "data/Conversions.h"
#include "data/Key_File.h"
#include "language/Language.h"

namespace {

std::string Comment_Of(const std::string& key, CFG_Comment comment) {
  return comment == CFG_Comment::Language ? Language_Find_Text(key + "_Rem") : std::string();
}

}  // namespace

std::string CFG_Free_Text(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    if (c == '{') c = '(';
    else if (c == '}') c = ')';
  }
  return out;
}

void CFG_Key_Write(const std::string& key, const std::string& value, CFG_Comment comment) {
  Key_File_Set(key, value, Comment_Of(key, comment));
}

void CFG_Key_Write_Int(const std::string& key, int64_t value, CFG_Comment comment) {
  CFG_Key_Write(key, std::to_string(value), comment);
}

void CFG_Key_Write_Bool(const std::string& key, bool value, CFG_Comment comment) {
  CFG_Key_Write(key, Bool_To_Text(value), comment);
}

void CFG_Key_Write_Text(const std::string& key, const std::string& value, CFG_Comment comment) {
  CFG_Key_Write(key, CFG_Free_Text(value), comment);
}

bool CFG_Key_Read(const std::string& key, int32_t& field) {
  if (!Key_File_Find_Int(key)) return false;
  field = Key_Int_Value;
  return true;
}

bool CFG_Key_Read(const std::string& key, bool& field) {
  if (!Key_File_Find_Bool(key)) return false;
  field = Key_Bool_Value;
  return true;
}

bool CFG_Key_Read(const std::string& key, std::string& field) {
  if (!Key_File_Find(key)) return false;
  field = Key_Value;
  return true;
}

bool CFG_Key_Read_Byte(const std::string& key, uint8_t& field) {
  int32_t value = 0;
  if (!CFG_Key_Read(key, value)) return false;
  field = static_cast<uint8_t>(value & 0xFF);
  return true;
}

bool CFG_Key_Read(const std::string& key, uint32_t& field) {
  if (!Key_File_Find(key)) return false;
  const std::string& text = Key_Value;
  uint64_t value = 0;
  bool digits = !text.empty() && text.size() <= 10;
  for (char c : text) {
    if (c < '0' || c > '9') {
      digits = false;
      break;
    }
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  if (digits && value <= UINT32_MAX) {
    field = static_cast<uint32_t>(value);
    return true;
  }
  // Any other form the integer reader takes (a sign, hexadecimal), as its 32 bits.
  int32_t signed_value = 0;
  if (!Key_File_Text_To_Int(text, signed_value)) return false;
  field = static_cast<uint32_t>(signed_value);
  return true;
}
