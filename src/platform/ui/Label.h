#pragma once
// Label: caption with "&" accelerators (hidden, next letter underlined; "&&" shows "&"),
// line breaks (LF CR, CR LF, LF or CR each one break), word wrap, horizontal and vertical
// alignment, auto size. Transparent over its parent until a colour is set. A hidden label
// (its own Visible flag off) keeps a new caption and renders and measures it only when it is
// shown again: hidden live labels cost nothing per poll.
// A transparent label inside a panel, where the panel shows only its plain colour (no
// caption, within its bevels, no other control overlapping the label), paints that colour
// behind its text itself: a new caption then repaints the label alone, not the panel.
#include "platform/ui/Component.h"

class TLabel : public TControl {
public:
    explicit TLabel(TComponent* Owner, TControl* Parent = nullptr);
    std::string Caption() const { return FCaption; }
    void Caption(const std::string& Value);
    bool AutoSize() const { return FAuto_Size; }
    void AutoSize(bool Value);
    bool WordWrap() const { return FWord_Wrap; }
    void WordWrap(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void Alignment(TAlignment Value);
    TText_Layout Layout() const { return FLayout; }
    void Layout(TText_Layout Value);
    bool ShowAccelChar() const { return FShow_Accel; }
    void ShowAccelChar(bool Value);
    bool Transparent() const { return !FColor_Set; }
    void Color(TColor Value) override;
    using TControl::Color;
    void Refresh_Texts() override;
    void Visible(bool Value) override;
    using TControl::Visible;
    void Backdrop_Changed() override;

private:
    void Update_Text();
    void Fit_Size();
    void Update_Backdrop();
    void Apply_Font() override;
    void Scale_Own(int Multiplier, int Divisor, bool Move) override;
    std::string FCaption;
    bool FAuto_Size = true;
    bool FWord_Wrap = false;
    bool FShow_Accel = true;
    bool FText_Stale = false;   // the caption changed while hidden
    bool FOwn_Backdrop = false; // transparent, but painting its panel's colour itself
    TAlignment FAlignment = TAlignment::Left_Justify;
    TText_Layout FLayout = TText_Layout::Top;
};
