#pragma once
// Panel (caption, bevels) and group box (caption over a frame). Both hold other controls;
// children are placed relative to the panel's or box's top-left corner.
#include "platform/ui/Component.h"

enum class TBevel_Cut { None, Lowered, Raised, Space };

class TPanel : public TControl {
public:
    explicit TPanel(TComponent* Owner, TControl* Parent = nullptr);
    std::string Caption() const { return FCaption; }
    void Caption(const std::string& Value);
    TAlignment Alignment() const { return FAlignment; }
    void Alignment(TAlignment Value);
    TBevel_Cut BevelOuter() const { return FBevel_Outer; }
    void BevelOuter(TBevel_Cut Value);
    TBevel_Cut BevelInner() const { return FBevel_Inner; }
    void BevelInner(TBevel_Cut Value);
    int BevelWidth() const { return FBevel_Width; }
    void BevelWidth(int Value);
    bool Border_Single() const { return FBorder_Single; }   // a one-pixel frame around it
    void Border_Single(bool Value);
    void Refresh_Texts() override;

    // A lamp that changes colour with every frame: a new colour reaches the screen only once
    // it has stood for Ms milliseconds, and a colour that comes back to the one on the
    // screen before then paints nothing. The lamp so shows the state that lasts, without a
    // paint (and a round trip to the display) per change. 0, the default: every change is
    // painted at once. Color() always reads back the colour set; a hidden panel takes it at
    // once. User-interface thread only.
    int Colour_Settle_Ms() const { return FColour_Settle_Ms; }
    void Colour_Settle_Ms(int Ms);
    TColor Shown_Colour() const { return FShown_Colour; }   // the colour the panel paints

protected:
    // A panel paints its colour itself; only children take it from the palette.
    void Apply_Color() override;

public:
    // Layer use (painting).
    struct Paint_State;
    std::string FCaption;
    TAlignment FAlignment = TAlignment::Center;
    TBevel_Cut FBevel_Outer = TBevel_Cut::Raised;
    TBevel_Cut FBevel_Inner = TBevel_Cut::None;
    int FBevel_Width = 1;
    bool FBorder_Single = false;

    void Tell_Children();   // what the panel paints beneath its children changed

private:
    void Show_Colour();
    int FColour_Settle_Ms = 0;
    TColor FShown_Colour = clBtnFace;
};

class TGroupBox : public TControl {
public:
    explicit TGroupBox(TComponent* Owner, TControl* Parent = nullptr);
    std::string Caption() const { return FCaption; }
    void Caption(const std::string& Value);
    void Refresh_Texts() override;

private:
    std::string FCaption;
};
