// Builds firmware files for the tests: the type byte, then records as the boot loader's
// file format lays them out. Scrambled records are scrambled here as the inverse of the
// program's unscrambling: the key is the sum of the plain data, the data are rotated left
// one bit at a time (the first bit round to the end) and then raised by (m and (i + 3)).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fw {

using Bytes = std::vector<uint8_t>;

inline uint8_t Sum_Of(const Bytes& Data)
{
    uint8_t S = 0;
    for (uint8_t B : Data)
        S = static_cast<uint8_t>(S + B);
    return S;
}

// The stored form of `Plain` under `Key`.
inline Bytes Scramble(const Bytes& Plain, uint8_t Key)
{
    Bytes D = Plain;
    if (D.empty())
        return D;
    const int Turns = (Key & 7) ? (Key & 7) : 7;
    for (int T = 0; T < Turns; ++T) {
        const uint8_t First_Top = static_cast<uint8_t>(D[0] >> 7);
        for (size_t I = 0; I < D.size(); ++I) {
            const uint8_t Next_Top = I + 1 < D.size() ? static_cast<uint8_t>(D[I + 1] >> 7) : First_Top;
            D[I] = static_cast<uint8_t>((D[I] << 1) | Next_Top);
        }
    }
    const uint8_t M = (Key & 0x7F) ? (Key & 0x7F) : 0x7F;
    for (size_t I = 0; I < D.size(); ++I)
        D[I] = static_cast<uint8_t>(D[I] + (M & (I + 3)));
    return D;
}

// Data of an information record: the mark 00 FF, name (15), a gap, date (10), two gaps,
// version (4), padded to `Length` (34 for the header 0x60 of a type 'D' file).
inline Bytes Info_Data(const std::string& Name, const std::string& Date, const std::string& Version,
                       size_t Length = 34)
{
    Bytes D{0x00, 0xFF};
    auto Put = [&](const std::string& Text, size_t Width) {
        for (size_t I = 0; I < Width; ++I)
            D.push_back(I < Text.size() ? static_cast<uint8_t>(Text[I]) : ' ');
    };
    Put(Name, 15);
    D.push_back(' ');
    Put(Date, 10);
    D.push_back(' ');
    D.push_back(' ');
    Put(Version, 4);
    D.resize(Length, 0);
    return D;
}

// Data bytes 0, 1, 2, ... starting at `Seed`.
inline Bytes Counting(size_t Count, uint8_t Seed = 0)
{
    Bytes D(Count);
    for (size_t I = 0; I < Count; ++I)
        D[I] = static_cast<uint8_t>(Seed + 7 * I);
    return D;
}

class Writer {
public:
    explicit Writer(uint8_t Type) { File.push_back(Type); }

    // A plain (0x40) or short (0x80) record: header, data, sum (+ `Sum_Error`).
    Writer& Record(uint8_t Header, const Bytes& Data, int Sum_Error = 0)
    {
        File.push_back(Header);
        File.insert(File.end(), Data.begin(), Data.end());
        File.push_back(static_cast<uint8_t>(Sum_Of(Data) + Sum_Error));
        return *this;
    }
    // A short record of the data's length (at most 15 bytes).
    Writer& Short(const Bytes& Data) { return Record(static_cast<uint8_t>(0xF0 | Data.size()), Data); }
    // A scrambled (0xC0) record: header, key (+ `Key_Error`), the scrambled data.
    Writer& Scrambled(uint8_t Header, const Bytes& Plain, int Key_Error = 0)
    {
        const uint8_t Key = Sum_Of(Plain);
        File.push_back(Header);
        File.push_back(static_cast<uint8_t>(Key + Key_Error));
        const Bytes Stored = Scramble(Plain, Key);
        File.insert(File.end(), Stored.begin(), Stored.end());
        return *this;
    }
    Writer& Raw(const Bytes& More)
    {
        File.insert(File.end(), More.begin(), More.end());
        return *this;
    }
    // The file without its last `N` bytes.
    Writer& Cut(size_t N)
    {
        File.resize(File.size() > N ? File.size() - N : 0);
        return *this;
    }
    std::string Text() const { return std::string(File.begin(), File.end()); }
    size_t Size() const { return File.size(); }

    Bytes File;
};

}  // namespace fw
