#include "platform/ui/Strings.h"
#include <stdexcept>

std::vector<std::string> Split_Lines(const std::string& Text)
{
    std::vector<std::string> Lines;
    std::string Line;
    for (size_t I = 0; I < Text.size(); ++I) {
        const char C = Text[I];
        if (C == '\r' || C == '\n') {
            Lines.push_back(Line);
            Line.clear();
            if (I + 1 < Text.size() && (Text[I + 1] == '\r' || Text[I + 1] == '\n') &&
                Text[I + 1] != C)
                ++I;
        } else {
            Line += C;
        }
    }
    if (!Line.empty()) Lines.push_back(Line);
    return Lines;
}

const std::string& TStrings::Strings(int Index) const
{
    if (Index < 0 || Index >= Count()) throw std::out_of_range("list index out of bounds");
    return FItems[Index];
}

void TStrings::Strings(int Index, const std::string& Value)
{
    if (Index < 0 || Index >= Count()) throw std::out_of_range("list index out of bounds");
    FItems[Index] = Value;
    Changed();
}

int TStrings::Add(const std::string& Value)
{
    FItems.push_back(Value);
    Changed();
    return Count() - 1;
}

void TStrings::Insert(int Index, const std::string& Value)
{
    if (Index < 0 || Index > Count()) throw std::out_of_range("list index out of bounds");
    FItems.insert(FItems.begin() + Index, Value);
    Changed();
}

void TStrings::Delete(int Index)
{
    if (Index < 0 || Index >= Count()) throw std::out_of_range("list index out of bounds");
    FItems.erase(FItems.begin() + Index);
    Changed();
}

void TStrings::Clear()
{
    if (FItems.empty()) return;
    FItems.clear();
    Changed();
}

int TStrings::IndexOf(const std::string& Value) const
{
    for (int I = 0; I < Count(); ++I)
        if (FItems[I] == Value) return I;
    return -1;
}

std::string TStrings::Text() const
{
    std::string Out;
    for (const auto& Item : FItems) Out += Item + "\r\n";
    return Out;
}

void TStrings::Text(const std::string& Value) { Assign(Split_Lines(Value)); }

void TStrings::Assign(const std::vector<std::string>& Items)
{
    FItems = Items;
    Changed();
}

void TStrings::Begin_Update() { ++FUpdating; }

void TStrings::End_Update()
{
    if (FUpdating > 0 && --FUpdating == 0 && FPending) {
        FPending = false;
        if (On_Change) On_Change();
    }
}

void TStrings::Changed()
{
    if (FUpdating > 0) {
        FPending = true;
        return;
    }
    if (On_Change) On_Change();
}
