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

    // The colour the panel paints: the colour set, shown at once (a status lamp's every
    // change reaches the screen).
    TColor Shown_Colour() const { return FColor; }

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
