#include "data/Text_Util.h"

char Upper_Char(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string Upper_Case(std::string text)
{
    for (char& c : text) c = Upper_Char(c);
    return text;
}

bool Same_Text(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Upper_Char(a[i]) != Upper_Char(b[i])) return false;
    return true;
}

int Compare_Text(const std::string& a, const std::string& b)
{
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = static_cast<unsigned char>(Upper_Char(a[i]));
        const unsigned char y = static_cast<unsigned char>(Upper_Char(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool Blank_Or_Control(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

std::string Trim(const std::string& text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && Blank_Or_Control(text[first])) ++first;
    while (last > first && Blank_Or_Control(text[last - 1])) --last;
    return text.substr(first, last - first);
}

int Scan_Integer(const std::string& text, int32_t& value)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i >= text.size()) {
        value = 0;
        return static_cast<int>(text.size() + 1);
    }
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9' || v > 0x80000000LL) {
            value = 0;
            return static_cast<int>(i + 1);
        }
        v = v * 10 + (text[i] - '0');
    }
    if (negative) v = -v;
    if (v > 0x7FFFFFFFLL || v < -0x80000000LL) {
        value = 0;
        return static_cast<int>(text.size());
    }
    value = static_cast<int32_t>(v);
    return 0;
}
