#include "windows/Control_Text.h"

#include <algorithm>

#include "data/Conversions.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Font.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Label.h"
#include "platform/ui/Memo.h"

void Memo_To_Comment(const TMemo& memo) { Memo_To_Comment(memo.Text()); }

void Comment_To_Memo(TMemo& memo) {
  memo.Clear();
  memo.Text(Comment_To_Memo());
}

bool ComboBox_Has_Text(TComboBox& box) { return ComboBox_Has_Text(box.Text(), box.Items().Items()); }

int Text_Width(const std::string& text, const TFont& font) { return ui::Text_Width(font, text); }

int Text_Height(const std::string& text, const TFont& font) { return ui::Text_Height(font, text); }

int Wrapped_Text_Height(const std::string& text, const TFont& font, int width)
{
    return ui::Wrapped_Text_Height(font, text, width);
}

std::string Wrap_Text_Pixels(int w, const std::string& text, const TFont& font) {
  return Wrap_Text_Pixels(w, text, [&font](const std::string& s) { return ui::Text_Width(font, s); });
}

namespace {

// The text broken greedily at blanks holds in `lines` lines of `width` pixels; a word wider
// than the width never does.
bool Wrapped_Text_Fits(const std::string& text, const TFont& font, int width, int lines)
{
  int used = 1;
  std::string line;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find(' ', at);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(at, end - at);
    at = end + 1;
    if (word.empty()) continue;
    if (ui::Text_Width(font, word) > width) return false;
    const std::string joined = line.empty() ? word : line + " " + word;
    if (ui::Text_Width(font, joined) <= width) {
      line = joined;
    } else {
      ++used;
      line = word;
    }
  }
  return used <= lines;
}

}  // namespace

void Fit_Label_Caption(TLabel& label, int min_size) {
  label.ParentFont(true);
  label.WordWrap(false);
  const std::string text = label.Caption();
  if (ui::Text_Width(label.Font(), text) <= label.Width()) return;
  TFont font(label.Font());
  int size = font.Size();
  for (; size > min_size; --size) {
    font.Size(size);
    const int line_height = std::max(1, ui::Text_Height(font, "Ag"));
    if (Wrapped_Text_Fits(text, font, label.Width(), label.Height() / line_height)) break;
  }
  label.Font().Size(size);
  label.WordWrap(true);
}
