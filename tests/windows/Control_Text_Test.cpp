// The data routines on the window layer's controls: memo, combo box, text measurement.
#include "windows/Control_Text.h"

#include "data/Configuration.h"
#include "data/Conversions.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Font.h"
#include "platform/ui/Memo.h"
#include "main/Process_State.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class Control_Text_Test : public ::testing::Test {
protected:
  void SetUp() override { Reset_All_State(); }
  void TearDown() override { Reset_All_State(); }
};

TEST_F(Control_Text_Test, WrapInAFontKeepsEveryCharacterAndFitsEachLine) {
  TFont font;
  const std::string text = "The controller switches to gas when the vaporizer is warm enough and the engine runs";
  const int w = 220;
  const std::string wrapped = Wrap_Text_Pixels(w, text, font);
  std::string joined;
  std::size_t start = 0;
  int lines = 0;
  for (;;) {
    const std::size_t end = wrapped.find("\n\r", start);
    const std::string line = wrapped.substr(start, end - start);
    ++lines;
    if (line.find(' ', 1) != std::string::npos) {
      EXPECT_LE(Text_Width(line, font), w - 20) << line;
    }
    joined += line;
    if (end == std::string::npos) break;
    start = end + 2;
  }
  EXPECT_EQ(joined, text);
  EXPECT_GT(lines, 1);
  EXPECT_GT(Text_Width("MMMM", font), Text_Width("M", font));
  EXPECT_GT(Text_Height("M", font), 0);
}

TEST_F(Control_Text_Test, MemoAndComboControls) {
  TMemo memo(nullptr);
  memo.Text("first\r\nsecond");
  Memo_To_Comment(memo);
  EXPECT_EQ(Configuration.Car_Comments, std::string("first\x1D\x1Asecond"));
  memo.Text("old");
  Comment_To_Memo(memo);
  EXPECT_EQ(memo.Lines().Count(), 2);
  EXPECT_EQ(memo.Lines()[1], "second");
  TComboBox box(nullptr);
  box.Items().Add("MAP 4 Bar");
  box.Items().Add("ANOTHER");
  box.Text("ANOTHER");
  EXPECT_TRUE(ComboBox_Has_Text(box));
  box.Text("Another");
  EXPECT_FALSE(ComboBox_Has_Text(box));
}

}  // namespace
