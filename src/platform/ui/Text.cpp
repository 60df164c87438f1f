#include "platform/ui/Text.h"
#include <array>
#include <iconv.h>
#include <map>
#include <mutex>
#include <unordered_map>

namespace ui {

Charset_State Charset;

void Reset_Charset() { Charset = Charset_State{}; }

int Effective_Charset(int Font_Charset)
{
    return Font_Charset == 1 ? Charset.Current : Font_Charset;
}

const char* Code_Page_Name(int Charset_Value)
{
    switch (Charset_Value) {
    case 1: return "UTF-8";
    case 238: return "CP1250";
    case 204: return "CP1251";
    case 161: return "CP1253";
    case 162: return "CP1254";
    case 177: return "CP1255";
    case 178: return "CP1256";
    case 186: return "CP1257";
    default: return "CP1252";
    }
}

namespace {

// One single-byte code page: byte -> code point and back. Bytes the code page leaves
// undefined stand for the code point of the same value, so they survive a round trip.
struct Code_Page {
    std::array<char32_t, 256> To_Unicode{};
    std::unordered_map<char32_t, unsigned char> From_Unicode;
};

void Append_UTF8(std::string& Out, char32_t C)
{
    if (C < 0x80) {
        Out += static_cast<char>(C);
    } else if (C < 0x800) {
        Out += static_cast<char>(0xC0 | (C >> 6));
        Out += static_cast<char>(0x80 | (C & 0x3F));
    } else if (C < 0x10000) {
        Out += static_cast<char>(0xE0 | (C >> 12));
        Out += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (C & 0x3F));
    } else {
        Out += static_cast<char>(0xF0 | (C >> 18));
        Out += static_cast<char>(0x80 | ((C >> 12) & 0x3F));
        Out += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (C & 0x3F));
    }
}

// Length of a valid UTF-8 sequence at Pos (0 when the bytes there are not valid UTF-8).
int Valid_UTF8(const std::string& S, size_t Pos, char32_t* C)
{
    const auto B = [&](size_t I) { return static_cast<unsigned char>(S[I]); };
    const unsigned char B0 = B(Pos);
    int N;
    char32_t Value;
    if (B0 < 0x80) { *C = B0; return 1; }
    if (B0 >= 0xC2 && B0 <= 0xDF) { N = 2; Value = B0 & 0x1F; }
    else if (B0 >= 0xE0 && B0 <= 0xEF) { N = 3; Value = B0 & 0x0F; }
    else if (B0 >= 0xF0 && B0 <= 0xF4) { N = 4; Value = B0 & 0x07; }
    else return 0;
    if (Pos + N > S.size()) return 0;
    for (int I = 1; I < N; ++I) {
        const unsigned char Bi = B(Pos + I);
        if ((Bi & 0xC0) != 0x80) return 0;
        Value = (Value << 6) | (Bi & 0x3F);
    }
    if ((N == 3 && Value < 0x800) || (N == 4 && (Value < 0x10000 || Value > 0x10FFFF)) ||
        (Value >= 0xD800 && Value <= 0xDFFF))
        return 0;
    *C = Value;
    return N;
}

const Code_Page& Page_For(int Charset_Value)
{
    static std::mutex Lock;
    static std::map<std::string, Code_Page> Pages;
    const std::string Name = Code_Page_Name(Charset_Value);
    std::lock_guard<std::mutex> Guard(Lock);
    auto Found = Pages.find(Name);
    if (Found != Pages.end()) return Found->second;
    Code_Page Page;
    iconv_t Cd = iconv_open("UTF-8", Name.c_str());
    for (int B = 0; B < 256; ++B) {
        char32_t C = static_cast<char32_t>(B);
        if (B >= 0x80 && Cd != reinterpret_cast<iconv_t>(-1)) {
            char In[1] = {static_cast<char>(B)};
            char Out[8];
            char* In_Ptr = In;
            char* Out_Ptr = Out;
            size_t In_Left = 1, Out_Left = sizeof Out;
            iconv(Cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(Cd, &In_Ptr, &In_Left, &Out_Ptr, &Out_Left) != static_cast<size_t>(-1)) {
                const std::string Utf(Out, Out_Ptr);
                char32_t Decoded;
                if (!Utf.empty() && Valid_UTF8(Utf, 0, &Decoded) == static_cast<int>(Utf.size()))
                    C = Decoded;
            }
        }
        Page.To_Unicode[B] = C;
    }
    if (Cd != reinterpret_cast<iconv_t>(-1)) iconv_close(Cd);
    for (int B = 255; B >= 0; --B) Page.From_Unicode[Page.To_Unicode[B]] = static_cast<unsigned char>(B);
    return Pages.emplace(Name, std::move(Page)).first->second;
}

}  // namespace

std::string Bytes_To_UTF8(const std::string& Bytes, int Charset_Value)
{
    std::string Out;
    Out.reserve(Bytes.size() + Bytes.size() / 2);
    if (Charset_Value == 1) {
        const Code_Page& Fallback = Page_For(0);
        for (size_t I = 0; I < Bytes.size();) {
            char32_t C;
            const int N = Valid_UTF8(Bytes, I, &C);
            if (N > 0) {
                Out.append(Bytes, I, N);
                I += N;
            } else {
                Append_UTF8(Out, Fallback.To_Unicode[static_cast<unsigned char>(Bytes[I])]);
                ++I;
            }
        }
        return Out;
    }
    const Code_Page& Page = Page_For(Charset_Value);
    for (unsigned char B : Bytes) Append_UTF8(Out, Page.To_Unicode[B]);
    return Out;
}

std::string UTF8_To_Bytes(const std::string& UTF8, int Charset_Value)
{
    if (Charset_Value == 1) return UTF8;
    const Code_Page& Page = Page_For(Charset_Value);
    std::string Out;
    Out.reserve(UTF8.size());
    for (size_t I = 0; I < UTF8.size();) {
        char32_t C;
        int N = Valid_UTF8(UTF8, I, &C);
        if (N == 0) {
            Out += '?';
            ++I;
            continue;
        }
        I += N;
        auto Found = Page.From_Unicode.find(C);
        Out += Found != Page.From_Unicode.end() ? static_cast<char>(Found->second) : '?';
    }
    return Out;
}

}  // namespace ui
