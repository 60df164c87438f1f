#pragma once
// Up-down arrows. Position, Min and Max are signed 16-bit values (a wider value keeps its
// low 16 bits) and the position is clamped to the range. An associated edit shows the
// position (plain digits) and passes its Up/Down arrow keys here. Setting Position from
// code never runs OnClick, but the associated edit's OnChange runs when its text changes.
// A user click steps by Increment, updates the edit, then runs OnClick with the direction;
// a click at the end of the range changes nothing and runs nothing.
#include "platform/ui/Component.h"

class TEdit;

enum class TUD_Button { Up, Down };
enum class TUD_Orientation { Vertical, Horizontal };
using TUD_Click_Event = std::function<void(TObject* Sender, TUD_Button Button)>;

class TUpDown : public TControl {
public:
    explicit TUpDown(TComponent* Owner, TControl* Parent = nullptr);
    ~TUpDown() override;
    int Position() const { return FPosition; }
    void Position(int Value);
    int Min() const { return FMin; }
    void Min(int Value);
    int Max() const { return FMax; }
    void Max(int Value);
    int Increment() const { return FIncrement; }
    void Increment(int Value) { FIncrement = Value; }
    bool Wrap() const { return FWrap; }
    void Wrap(bool Value) { FWrap = Value; }
    bool ArrowKeys() const { return FArrow_Keys; }
    void ArrowKeys(bool Value) { FArrow_Keys = Value; }
    TEdit* Associate() const { return FAssociate; }
    void Associate(TEdit* Edit);          // placed at the edit's right edge, shows the position
    TUD_Orientation Orientation() const { return FOrientation; }
    void Orientation(TUD_Orientation Value);

    TUD_Click_Event OnClick;

    // A user step (arrow click or arrow key): returns true when the position changed.
    bool Step(TUD_Button Button);

    // Layer use.
    bool Clicks_From_Mouse() const override { return false; }
    void Associate_Destroyed() { FAssociate = nullptr; }

private:
    void Clamp_And_Show();
    void Show_In_Associate();
    int FPosition = 0;
    int FMin = 0;
    int FMax = 100;
    int FIncrement = 1;
    bool FWrap = false;
    bool FArrow_Keys = true;
    TEdit* FAssociate = nullptr;
    TUD_Orientation FOrientation = TUD_Orientation::Vertical;
};

// The low 16 bits of a value, as a signed 16-bit number.
int Low_16(int Value);
