#pragma once
// A control's font: name, size in points or height in pixels, style, colour, character set.
// Changing any part tells the owner, which redraws; a control whose font follows its parent
// (ParentFont) takes every change of the parent's font.
#include "platform/ui/Types.h"
#include <functional>
#include <string>

enum TFont_Style_Flag : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;   // a set of TFont_Style_Flag bits

class TFont {
public:
    TFont();
    TFont(const TFont& Other);
    TFont& operator=(const TFont& Other);   // copies the values, keeps the owner link

    std::string Name() const { return FName; }
    void Name(const std::string& Value);
    // Size in points (at 96 pixels per inch); Height in pixels, negative as a character height.
    int Size() const;
    void Size(int Points);
    int Height() const { return -FPixels; }
    void Height(int Value);
    int Pixels() const { return FPixels; }        // character height in pixels
    void Pixels(int Value);
    TFontStyles Style() const { return FStyle; }
    void Style(TFontStyles Value);
    TColor Color() const { return FColor; }
    void Color(TColor Value);
    int Charset() const { return FCharset; }
    void Charset(int Value);

    bool operator==(const TFont& Other) const;

    // Layer use: called after every change.
    std::function<void()> On_Change;

private:
    void Changed();
    std::string FName = "Sans Serif";
    int FPixels = 11;        // 8 points
    TFontStyles FStyle = 0;
    TColor FColor = clWindowText;
    int FCharset = 1;
};
