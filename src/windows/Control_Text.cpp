#include "windows/Control_Text.h"

#include "data/Conversions.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Font.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Memo.h"

void Memo_To_Comment(const TMemo& memo) { Memo_To_Comment(memo.Text()); }

void Comment_To_Memo(TMemo& memo) {
  memo.Clear();
  memo.Text(Comment_To_Memo());
}

bool ComboBox_Has_Text(TComboBox& box) { return ComboBox_Has_Text(box.Text(), box.Items().Items()); }

int Text_Width(const std::string& text, const TFont& font) { return ui::Text_Width(font, text); }

int Text_Height(const std::string& text, const TFont& font) { return ui::Text_Height(font, text); }

std::string Wrap_Text_Pixels(int w, const std::string& text, const TFont& font) {
  return Wrap_Text_Pixels(w, text, [&font](const std::string& s) { return ui::Text_Width(font, s); });
}
