// The access password block, its typing rules and the PC's password list.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "common/Test_Folder.h"
#include "data/Key_File.h"
#include "data/Password_List.h"
#include "platform/system/Files.h"

namespace {

// Fields set and read back through the block as the controller keeps it.
struct Round_Trip_Row {
    const char* Case;
    std::string Password;
    Password_Fields Fields;
};

Password_Fields Fields_Of(std::string Date, std::string Name, std::string Phone, std::string Comment)
{
    return Password_Fields{std::move(Date), std::move(Name), std::move(Phone), std::move(Comment)};
}

TEST(Password_Block, Fields_Written_Read_Back_The_Same)
{
    const std::string D = "07.12.2026";
    const std::vector<Round_Trip_Row> Rows = {
        {"date alone", "Q7x", Fields_Of(D, "", "", "")},
        {"name only", "a", Fields_Of(D, "Ivan", "", "")},
        {"one-character name last", "12345678", Fields_Of(D, "I", "", "")},
        {"one-character phone last", "Abc1", Fields_Of(D, "Ivan", "5", "")},
        {"one-character comment", "Abc1", Fields_Of(D, "", "", "x")},
        {"phone and comment", "~!@#$%^&", Fields_Of(D, "", "555-12", "two\r\nlines")},
        // 1 + 20 + 2 + 10 + 3 + 10 = 46: the budget used up exactly, 64 bytes in all.
        {"budget exactly used", "zzzzzzzz",
         Fields_Of(D, std::string(20, 'n'), std::string(10, '7'), std::string(10, 'c'))},
        {"high code-page bytes", "\xC0\xFE\x80", Fields_Of(D, "\xC8\xE2\xE0\xED", "", "")},
    };
    for (const Round_Trip_Row& R : Rows) {
        SCOPED_TRACE(R.Case);
        ASSERT_TRUE(Password_Text_Valid(R.Password));
        const std::string Info = Password_Info_Text(R.Fields);
        ASSERT_LE(Info.size(), Password_Block_Size - Password_Max_Length);
        const Password_Block Block = Password_Block_Build(R.Password, Info);
        const Password_Block_Content Back = Password_Block_Read(Block.data());
        EXPECT_EQ(Back.Password, R.Password);
        EXPECT_EQ(Back.Info, Info);
        const Password_Fields F = Password_Info_Parse(Back.Info);
        EXPECT_EQ(F.Date, R.Fields.Date);
        EXPECT_EQ(F.Name, R.Fields.Name);
        EXPECT_EQ(F.Phone, R.Fields.Phone);
        EXPECT_EQ(F.Comment, R.Fields.Comment);
    }
}

TEST(Password_Block, Layout_Pads_With_FF_And_Cuts_At_64)
{
    const Password_Block Block = Password_Block_Build("Q7x", "07.12.2026/N");
    EXPECT_EQ(std::vector<uint8_t>(Block.begin(), Block.begin() + 8),
              (std::vector<uint8_t>{'Q', '7', 'x', 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Block[8], '0');
    EXPECT_EQ(Block[19], 'N');
    EXPECT_EQ(Block[20], 0xFF);
    EXPECT_EQ(Block[63], 0xFF);
    const Password_Block Long = Password_Block_Build("", std::string(60, 'i'));
    EXPECT_EQ(Long[7], 0xFF);
    EXPECT_EQ(Long[63], 'i');
    // No password: eight $FF bytes read as none.
    EXPECT_EQ(Password_Block_Read(Long.data()).Password, "");
    EXPECT_EQ(Password_Block_Read(Long.data()).Info, std::string(56, 'i'));
}

TEST(Password_Block, Reading_Always_Advances)
{
    struct Row {
        const char* Info;
        const char* Date;
        const char* Name;
        const char* Phone;
        const char* Comment;
    };
    const Row Rows[] = {
        {"07.12.2026/Ivan//555", "07.12.2026", "Ivan", "555", ""},
        {"07.12.2026/I", "07.12.2026", "I", "", ""},
        {"07.12.2026//5", "07.12.2026", "", "5", ""},
        // The comment runs to the end, slashes included.
        {"07.12.2026///a/b//c", "07.12.2026", "", "", "a/b//c"},
        // Four slashes select nothing; what follows them up to the next run is skipped.
        {"07.12.2026////skip/Ivan", "07.12.2026", "Ivan", "", ""},
        // Stray characters before the first field are skipped.
        {"07.12.2026xyz//42", "07.12.2026", "", "42", ""},
        {"07.12.2026/", "07.12.2026", "", "", ""},
        {"07.12.2026/////", "07.12.2026", "", "", ""},
        {"07.12", "07.12", "", "", ""},
        {"", "", "", "", ""},
        // A later name replaces the earlier one.
        {"07.12.2026/A/B", "07.12.2026", "B", "", ""},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Info);
        const Password_Fields F = Password_Info_Parse(R.Info);
        EXPECT_EQ(F.Date, R.Date);
        EXPECT_EQ(F.Name, R.Name);
        EXPECT_EQ(F.Phone, R.Phone);
        EXPECT_EQ(F.Comment, R.Comment);
    }
}

TEST(Password_Block, Only_Valid_Input_Is_Taken)
{
    struct Row {
        std::string Text;
        bool Valid;
    };
    const Row Passwords[] = {
        {"a", true},           {"12345678", true},    {"\xFE\x21", true},     {"", false},
        {"123456789", false},  {"a b", false},        {"a=b", false},         {"{ab", false},
        {"[ab", false},        {"a{b", true},         {"a\x7F", false},       {"a\xFF", false},
        {"a\t", false},        {std::string("a\0b", 3), false},
    };
    for (const Row& R : Passwords)
        EXPECT_EQ(Password_Text_Valid(R.Text), R.Valid) << R.Text;
    const Row Fields[] = {{"Ivan", true}, {"", true}, {"a/b", false}, {"a\xFF", false}, {"a\r\nb", true}};
    for (const Row& R : Fields)
        EXPECT_EQ(Password_Field_Valid(R.Text), R.Valid) << R.Text;
    EXPECT_EQ(Password_Field_Clean("a/b\xFF/c"), "abc");
}

TEST(Password_Block, Budget_Counts_Bytes_And_Never_Goes_Negative)
{
    struct Row {
        std::string Name, Phone, Comment;
        int Budget;
        bool Fits;
    };
    const Row Rows[] = {
        {"", "", "", 46, true},
        {"Ivan", "", "", 41, true},
        {"", "555", "", 41, true},
        {"", "", "  c \r\n", 42, true},
        {std::string(20, 'n'), std::string(10, 'p'), std::string(10, 'c'), 0, true},
        {std::string(20, 'n'), std::string(10, 'p'), std::string(11, 'c'), 0, false},
        // Two bytes a character in a multi-byte code page.
        {std::string(46, '\xD0'), "", "", 0, false},
    };
    for (const Row& R : Rows) {
        EXPECT_EQ(Password_Info_Budget(R.Name, R.Phone, R.Comment), R.Budget) << R.Name.size();
        EXPECT_EQ(Password_Info_Fits(R.Name, R.Phone, R.Comment), R.Fits) << R.Name.size();
    }
    EXPECT_EQ(Password_Info_Text(Fields_Of("07.12.2026", "", "", "  two\r\nlines \r\n")),
              "07.12.2026///two\r\nlines");
}

// ---------------------------------------------------------------- the list

class Password_List_File_Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        Key_File_Set_Report_Hook([this](const std::string& Text) { Reports.push_back(Text); });
    }
    void TearDown() override
    {
        sys::Reset_File_Hooks();
        Key_File_Reset();
    }
    std::string Path() const { return Folder / Password_List_File; }
    Test_Folder Folder{"password"};
    std::vector<std::string> Reports;
};

TEST_F(Password_List_File_Test, Keeps_Every_Other_Entry_Byte_For_Byte)
{
    const std::string Other_1 = "Secret1 2025.01.02 03:04:05 {01.01.2025/Olga}\r\n";
    const std::string Comment_Line = "{ kept as it stands }\r\n";
    const std::string Other_2 = "zZ=hand written\n";
    const std::string Old_Abc = Key_File_Line("ABC1", "2020.01.01 00:00:00", "old");
    const std::string Line = Key_File_Line("Abc1", "2026.12.07 10:11:12", "07.12.2026/Ivan//555");
    struct Row {
        const char* Case;
        std::string Before;
        std::string After;
    };
    const std::vector<Row> Rows = {
        {"missing entry appended", Other_1 + Comment_Line, Other_1 + Comment_Line + Line},
        {"entry in other letter case replaced in place", Other_1 + Old_Abc + Other_2,
         Other_1 + Line + Other_2},
        {"last line without its end", "lone 1 {x}", "lone 1 {x}\r\n" + Line},
        {"empty list", "", Line},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Case);
        Put_File(Path(), R.Before);
        ASSERT_TRUE(Password_List_Save(Path(), "Abc1", "2026.12.07 10:11:12", "07.12.2026/Ivan//555"));
        EXPECT_EQ(Read_File(Path()), R.After);
        EXPECT_TRUE(Password_List_Knows(Path(), "aBC1"));
    }
    EXPECT_TRUE(Reports.empty());
    // The line as the list writes it: the key in 29 columns, the stamp, the comment.
    EXPECT_EQ(Line, "Abc1" + std::string(25, ' ') + "2026.12.07 10:11:12 {07.12.2026/Ivan//555}\r\n");
}

TEST_F(Password_List_File_Test, A_Missing_List_Is_Created_And_An_Unreadable_One_Left_Alone)
{
    EXPECT_FALSE(Password_List_Knows(Path(), "Abc1"));
    ASSERT_TRUE(Password_List_Save(Path(), "Abc1", "2026.12.07 10:11:12", "07.12.2026\r\n/x\ty"));
    EXPECT_EQ(Read_File(Path()),
              Key_File_Line("Abc1", "2026.12.07 10:11:12", "07.12.2026 /x y"));

    Put_File(Path(), "Other 1 {x}\r\n");
    sys::Set_Read_Hook([](int, void*, size_t) -> ssize_t {
        errno = EIO;
        return -1;
    });
    EXPECT_FALSE(Password_List_Knows(Path(), "Other"));
    EXPECT_FALSE(Password_List_Save(Path(), "Abc1", "2026.12.07 10:11:12", "07.12.2026"));
    sys::Reset_File_Hooks();
    EXPECT_EQ(Read_File(Path()), "Other 1 {x}\r\n");
    ASSERT_EQ(Reports.size(), 1u);
    EXPECT_NE(Reports[0].find("Passwords.txt"), std::string::npos);

    // A password the list could not read back as its key is never written.
    EXPECT_FALSE(Password_List_Save(Path(), "a=b", "2026.12.07 10:11:12", "07.12.2026"));
    EXPECT_EQ(Read_File(Path()), "Other 1 {x}\r\n");
    EXPECT_EQ(Reports.size(), 2u);
}

}  // namespace
