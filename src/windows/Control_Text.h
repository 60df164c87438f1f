// The data routines on the window layer's controls: the car comment in a memo, a combo
// box's text among its items, and the size of a text in a font on the screen. The same
// routines on plain texts live with the conversions (data/Conversions.h).
#pragma once

#include <string>

class TComboBox;
class TFont;
class TLabel;
class TMemo;

// Car_Comments from a memo's text (CR -> 29, LF -> 26).
void Memo_To_Comment(const TMemo& memo);
// The memo is cleared, then shows the comment.
void Comment_To_Memo(TMemo& memo);
// The box's text equals one of its items exactly.
bool ComboBox_Has_Text(TComboBox& box);
// Width and height in pixels of a text drawn in a font on the screen.
int Text_Width(const std::string& text, const TFont& font);
int Text_Height(const std::string& text, const TFont& font);
// Height of text word-wrapped into lines of at most width pixels, as a label draws it.
int Wrapped_Text_Height(const std::string& text, const TFont& font, int width);
// The text broken at blanks into lines that fit w - 20 pixels in the font (the main
// window's canvas font); lines are joined by LF CR, and each blank a line is broken at
// begins the next line. A word wider than the limit stays whole on its own line.
std::string Wrap_Text_Pixels(int w, const std::string& text, const TFont& font);
// A fixed-size label's caption made to fit its box: one line in the parent's font when it
// fits; else broken at blanks into lines, the font a point smaller at a time (not below
// Min_Size points) until the lines fit the box's height.
void Fit_Label_Caption(TLabel& label, int min_size);
