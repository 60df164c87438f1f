#pragma once
// Spin edit: an integer box with arrows. Setting Value from code runs OnChange when the value
// changes. MinValue = MaxValue means no limits; otherwise the value is clamped.
#include "platform/ui/Component.h"

class TSpinEdit : public TControl {
public:
    explicit TSpinEdit(TComponent* Owner, TControl* Parent = nullptr);
    int Value() const { return FValue; }
    void Value(int New_Value);
    int MinValue() const { return FMin; }
    void MinValue(int Value);
    int MaxValue() const { return FMax; }
    void MaxValue(int Value);
    int Increment() const { return FIncrement; }
    void Increment(int Value);
    bool ReadOnly() const { return FRead_Only; }
    void ReadOnly(bool Value);

    TNotify_Event OnChange;

    // Layer use.
    void User_Changed(int New_Value);

private:
    int Clamp(int Value) const;
    void Apply_Range();
    int FValue = 0;
    int FMin = 0;
    int FMax = 0;
    int FIncrement = 1;
    bool FRead_Only = false;
};
