#include "platform/ui/Font.h"
#include "platform/ui/Component.h"
#include <cstdlib>

TFont::TFont() = default;

TFont::TFont(const TFont& Other)
    : FName(Other.FName), FPixels(Other.FPixels), FStyle(Other.FStyle), FColor(Other.FColor),
      FCharset(Other.FCharset)
{
}

TFont& TFont::operator=(const TFont& Other)
{
    if (this == &Other) return *this;
    FName = Other.FName;
    FPixels = Other.FPixels;
    FStyle = Other.FStyle;
    FColor = Other.FColor;
    FCharset = Other.FCharset;
    Changed();
    return *this;
}

void TFont::Changed()
{
    if (On_Change) On_Change();
}

void TFont::Name(const std::string& Value)
{
    if (Value == FName) return;
    FName = Value;
    Changed();
}

int TFont::Size() const { return Mul_Div(FPixels, 72, 96); }

void TFont::Size(int Points) { Pixels(Mul_Div(std::abs(Points), 96, 72)); }

void TFont::Height(int Value) { Pixels(std::abs(Value)); }

void TFont::Pixels(int Value)
{
    if (Value < 1) Value = 1;
    if (Value == FPixels) return;
    FPixels = Value;
    Changed();
}

void TFont::Style(TFontStyles Value)
{
    if (Value == FStyle) return;
    FStyle = Value;
    Changed();
}

void TFont::Color(TColor Value)
{
    if (Value == FColor) return;
    FColor = Value;
    Changed();
}

void TFont::Charset(int Value)
{
    if (Value == FCharset) return;
    FCharset = Value;
    Changed();
}

bool TFont::operator==(const TFont& Other) const
{
    return FName == Other.FName && FPixels == Other.FPixels && FStyle == Other.FStyle &&
           FColor == Other.FColor && FCharset == Other.FCharset;
}
