// Small text routines shared by the key files, the language files, the identification and
// the start-up. Texts are byte strings: letter case is ASCII only, every other byte stays
// as it is, whatever the locale.
#pragma once

#include <cstdint>
#include <string>

// 'a'..'z' to 'A'..'Z'; every other byte unchanged.
char Upper_Char(char c);
std::string Upper_Case(std::string text);
// Equal texts, ASCII letters compared without regard to their case.
bool Same_Text(const std::string& a, const std::string& b);
// Orders texts byte by byte with ASCII letters taken as capitals: below 0 when a comes
// first, 0 when they differ only in letter case, above 0 when b comes first.
int Compare_Text(const std::string& a, const std::string& b);

// Blanks and control characters (codes 0..32).
bool Blank_Or_Control(char c);
// The text without blanks and control characters at either end.
std::string Trim(const std::string& text);

// Reads [blanks][sign]digits as a 32-bit integer. Returns 0 when the whole text was read,
// else the 1-based position in the text where reading failed (one past the end when the
// digits are missing; a number out of range fails within the text); `value` is then 0.
int Scan_Integer(const std::string& text, int32_t& value);
