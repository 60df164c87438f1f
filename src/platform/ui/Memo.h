#pragma once
// Multi-line edit. Lines() and Text() change the memo; each change made by code or by the
// user runs OnChange. Text is the lines joined by CR LF.
#include "platform/ui/Component.h"
#include "platform/ui/Strings.h"

enum class TScroll_Style { None, Horizontal, Vertical, Both };

class TMemo : public TControl {
public:
    explicit TMemo(TComponent* Owner, TControl* Parent = nullptr);
    TStrings& Lines() { return FLines; }
    std::string Text() const;
    void Text(const std::string& Value);
    void Clear() { Text(""); }
    bool ReadOnly() const { return FRead_Only; }
    void ReadOnly(bool Value);
    int MaxLength() const { return FMax_Length; }   // 0: no limit
    void MaxLength(int Value) { FMax_Length = Value; }
    TScroll_Style ScrollBars() const { return FScroll_Bars; }
    void ScrollBars(TScroll_Style Value);
    bool WordWrap() const { return FWord_Wrap; }
    void WordWrap(bool Value);
    void Refresh_Texts() override;

    TNotify_Event OnChange;

    // Layer use.
    void User_Edited();

private:
    void Show_Lines();
    TStrings FLines;
    bool FRead_Only = false;
    int FMax_Length = 0;
    TScroll_Style FScroll_Bars = TScroll_Style::None;
    bool FWord_Wrap = true;
    bool FShowing_Lines = false;
};
