#pragma once
// Image control: shows its picture (a bitmap of its own size) at the top-left corner, or
// stretched over the control when Stretch is on. Canvas() draws into that bitmap; when the
// picture is empty the first Canvas() call gives it the control's size (white). With
// Transparent the picture's transparent colour (its bottom-left pixel) lets the parent show.
// Mouse coordinates are control coordinates.
#include "platform/ui/Component.h"
#include "platform/ui/Graphics.h"

class TImage : public TControl {
public:
    explicit TImage(TComponent* Owner, TControl* Parent = nullptr);
    TPicture& Picture() { return FPicture; }
    TCanvas* Canvas();
    bool Stretch() const { return FStretch; }
    void Stretch(bool Value);
    bool Transparent() const { return FTransparent; }
    void Transparent(bool Value);
    bool Center() const { return FCenter; }
    void Center(bool Value);

    // Layer use.
    bool FStretch = false;
    bool FTransparent = false;
    bool FCenter = false;

private:
    void Picture_Changed(const TRect& Area);
    TPicture FPicture;
};
