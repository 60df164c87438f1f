#pragma once
// Texts are byte strings everywhere in the system. They become screen text here, by the
// code page of a character set:
//   1 (default): the system's encoding, UTF-8, invalid sequences read as Windows-1252;
//   0: 1252; 238: 1250; 204: 1251; 161: 1253; 162: 1254; 177: 1255; 178: 1256; 186: 1257;
//   any other value: 1252.
// A font whose character set is 1 follows the process-wide current character set, which the
// language code sets; a current character set of 1 means UTF-8.
#include <string>

namespace ui {

struct Charset_State {
    int Current = 1;   // the current language's character set
};
extern Charset_State Charset;
void Reset_Charset();

// The character set a font with character set Font_Charset converts by (1 -> current).
int Effective_Charset(int Font_Charset);
// iconv name of the code page of a character set, or "UTF-8" for 1.
const char* Code_Page_Name(int Charset);

// Byte string in a character set <-> UTF-8; characters the code page lacks become '?'.
std::string Bytes_To_UTF8(const std::string& Bytes, int Charset);
std::string UTF8_To_Bytes(const std::string& UTF8, int Charset);

}  // namespace ui
