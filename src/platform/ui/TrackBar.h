#pragma once
// Track bar. Setting Position from code runs OnChange when the position changes.
// A vertical bar has Min at the top.
#include "platform/ui/Component.h"

enum class TTrack_Orientation { Horizontal, Vertical };
enum class TTick_Marks { Bottom_Right, Top_Left, Both };
enum class TTick_Style { None, Auto, Manual };

class TTrackBar : public TControl {
public:
    explicit TTrackBar(TComponent* Owner, TControl* Parent = nullptr);
    int Position() const { return FPosition; }
    void Position(int Value);
    int Min() const { return FMin; }
    void Min(int Value);
    int Max() const { return FMax; }
    void Max(int Value);
    TTrack_Orientation Orientation() const { return FOrientation; }
    void Orientation(TTrack_Orientation Value);
    int Frequency() const { return FFrequency; }
    void Frequency(int Value);
    TTick_Marks TickMarks() const { return FTick_Marks; }
    void TickMarks(TTick_Marks Value);
    TTick_Style TickStyle() const { return FTick_Style; }
    void TickStyle(TTick_Style Value);
    int ThumbLength() const { return FThumb_Length; }
    void ThumbLength(int Value) { FThumb_Length = Value; }
    int PageSize() const { return FPage_Size; }
    void PageSize(int Value);
    int LineSize() const { return FLine_Size; }
    void LineSize(int Value);

    TNotify_Event OnChange;

    // Layer use.
    void User_Moved(int Value);

private:
    void Apply_Range();
    void Apply_Ticks();
    int FPosition = 0;
    int FMin = 0;
    int FMax = 10;
    TTrack_Orientation FOrientation = TTrack_Orientation::Horizontal;
    int FFrequency = 1;
    TTick_Marks FTick_Marks = TTick_Marks::Bottom_Right;
    TTick_Style FTick_Style = TTick_Style::Auto;
    int FThumb_Length = 20;
    int FPage_Size = 2;
    int FLine_Size = 1;
};
