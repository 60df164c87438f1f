#pragma once
// A list of byte strings (memo lines, combo box items) with change notification.
#include <functional>
#include <string>
#include <vector>

class TStrings {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // Item i; an index outside 0..Count-1 throws std::out_of_range.
    const std::string& Strings(int Index) const;
    const std::string& operator[](int Index) const { return Strings(Index); }
    void Strings(int Index, const std::string& Value);
    int Add(const std::string& Value);
    void Insert(int Index, const std::string& Value);
    void Delete(int Index);
    void Clear();
    int IndexOf(const std::string& Value) const;   // exact match, -1 when absent
    // Every line followed by CR LF; setting splits at CR LF, LF CR, LF or CR.
    std::string Text() const;
    void Text(const std::string& Value);
    void Assign(const std::vector<std::string>& Items);
    const std::vector<std::string>& Items() const { return FItems; }

    void Begin_Update();   // changes inside Begin/End_Update notify once, at the end
    void End_Update();

    // Layer use: called after every change (not inside an update).
    std::function<void()> On_Change;
    // Layer use: replace the items without notifying (the control already shows them).
    void Set_Silently(std::vector<std::string> Items) { FItems = std::move(Items); }

private:
    void Changed();
    std::vector<std::string> FItems;
    int FUpdating = 0;
    bool FPending = false;
};

// Split text into lines at CR LF, LF CR, LF or CR (each pair is one break).
std::vector<std::string> Split_Lines(const std::string& Text);
