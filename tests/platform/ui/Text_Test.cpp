// Byte texts at the screen: code pages by character set, both ways, and exact read-back.
#include "Fixture.h"
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>

using Texts = UI_Test;

TEST_F(Texts, Code_Page_1251_Converts_Both_Ways)
{
    const std::string Bytes = "\xCF\xF0\xE8\xE2\xE5\xF2 \xB0";   // "Привет °" in 1251
    const std::string UTF8 = ui::Bytes_To_UTF8(Bytes, 204);
    EXPECT_EQ(UTF8, "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xC2\xB0");
    EXPECT_EQ(ui::UTF8_To_Bytes(UTF8, 204), Bytes);
    EXPECT_EQ(ui::UTF8_To_Bytes("\xE2\x82\xAC\xE4\xB8\xAD", 204), "\x88?");   // € is 0x88, 中 is not there
    // A byte the code page leaves undefined survives the round trip.
    EXPECT_EQ(ui::UTF8_To_Bytes(ui::Bytes_To_UTF8("\x98", 204), 204), "\x98");
}

TEST_F(Texts, Default_Character_Set_Is_UTF8_With_Invalid_Bytes_Read_As_1252)
{
    EXPECT_EQ(ui::Bytes_To_UTF8("caf\xC3\xA9", 1), "caf\xC3\xA9");          // valid UTF-8 stays
    EXPECT_EQ(ui::Bytes_To_UTF8("25\xB0" "C", 1), "25\xC2\xB0" "C");        // lone 0xB0: degree
    EXPECT_EQ(ui::Bytes_To_UTF8("\x80\xD1", 1), "\xE2\x82\xAC\xC3\x91");    // € and Ñ
    EXPECT_EQ(ui::UTF8_To_Bytes("\xC3\xA9", 1), "\xC3\xA9");
    EXPECT_EQ(ui::Bytes_To_UTF8("\xE0", 238), "\xC5\x95");                  // 1250: ŕ
    EXPECT_EQ(ui::Bytes_To_UTF8("\xE0", 161), "\xCE\xB0");                  // 1253: ΰ
    EXPECT_EQ(ui::Bytes_To_UTF8("\xE0", 0), "\xC3\xA0");                    // 1252: à
    EXPECT_STREQ(ui::Code_Page_Name(186), "CP1257");
}

TEST_F(Texts, Controls_Convert_By_Their_Font_Character_Set_Or_The_Current_One)
{
    auto* Label = new TLabel(Form, Form);
    Label->Font().Charset(204);
    Label->Caption("\xC3\xE0\xE7");
    EXPECT_EQ(static_cast<QLabel*>(Label->Widget())->text(), QString::fromUtf8("Газ"));

    auto* Edit = new TEdit(Form, Form);
    Edit->Text("\xC3\xE0\xE7");                  // default set, current 1: read as 1252
    EXPECT_EQ(static_cast<QLineEdit*>(Edit->Widget())->text(), QString::fromUtf8("Ãàç"));
    ui::Charset.Current = 204;                   // the language sets the current set
    Edit->Refresh_Texts();
    EXPECT_EQ(static_cast<QLineEdit*>(Edit->Widget())->text(), QString::fromUtf8("Газ"));
    EXPECT_EQ(Edit->Text(), "\xC3\xE0\xE7");

    // What the user types comes back as bytes of the same code page.
    Edit->Text("");
    for (const QString& Letter : {QString::fromUtf8("Д"), QString::fromUtf8("а")}) {
        QKeyEvent Press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, Letter);
        QApplication::sendEvent(Edit->Widget(), &Press);
    }
    EXPECT_EQ(Edit->Text(), "\xC4\xE0");
}

TEST_F(Texts, Texts_Set_By_Code_Read_Back_Byte_For_Byte)
{
    auto* Edit = new TEdit(Form, Form);
    Edit->Text("25\xB0");                        // degree byte under UTF-8
    EXPECT_EQ(Edit->Text(), "25\xB0");
    auto* Combo = new TComboBox(Form, Form);
    Combo->Items().Add("0.5 \xB0" "C");
    Combo->ItemIndex(0);
    EXPECT_EQ(Combo->Text(), "0.5 \xB0" "C");
    auto* Memo = new TMemo(Form, Form);
    Memo->Text("Car\xB0 one\r\nline two");
    EXPECT_EQ(Memo->Text(), "Car\xB0 one\r\nline two");
    EXPECT_EQ(Memo->Lines()[0], "Car\xB0 one");
}
