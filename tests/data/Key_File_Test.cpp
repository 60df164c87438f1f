// Key-file engine: line parser, writer, finds and the whole-file helpers.
#include "data/Key_File.h"
#include "data/Settings.h"
#include "platform/system/Files.h"
#include "main/Process_State.h"

#include <gtest/gtest.h>

#include "common/Test_Folder.h"

#include <cerrno>
#include <filesystem>
#include <functional>

namespace {

class Key_File_Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Folder.Made());
        Reset_All_State();
        Key_File_Set_Report_Hook([this](const std::string& text) { Reports.push_back(text); });
    }
    void TearDown() override { Reset_All_State(); }
    std::string Path(const std::string& name) const { return Folder / name; }
    void Write(const std::string& name, const std::string& bytes) const { Put_File(Path(name), bytes); }
    std::string Read(const std::string& name) const { return Read_File(Path(name)); }

    Test_Folder Folder{"keyfile"};
    std::vector<std::string> Reports;
};

TEST_F(Key_File_Test, CommentLinesSectionsAndBlankLinesAddNothing)
{
    Write("a.ini", "   {a comment line}\r\n[Section]\r\n\r\n \t \r\n\tReply_Delay 75 {x}\r\n");
    ASSERT_TRUE(Key_File_Load(Path("a.ini")));
    ASSERT_EQ(Key_List.size(), 1u);
    EXPECT_EQ(Key_List[0], "REPLY_DELAY");
    EXPECT_EQ(Value_List.size(), 1u);
    EXPECT_EQ(Comment_List.size(), 1u);
}

TEST_F(Key_File_Test, FoundKeyIsSetInPlaceAndWrittenInTwentyNineColumns)
{
    Write("a.ini", "first 1 {one}\nreply_delay 75 {x}\rlast 3 {three}\r\n");
    ASSERT_TRUE(Key_File_Load(Path("a.ini")));
    ASSERT_TRUE(Key_File_Find("Reply_Delay"));
    EXPECT_EQ(Key_Index, 1);
    EXPECT_EQ(Key_Value, "75");
    EXPECT_EQ(Key_Comment, "x");

    Key_File_Set("Reply_Delay", "80", "y");
    ASSERT_TRUE(Key_File_Save(Path("a.ini")));
    EXPECT_FALSE(Key_File_Is_Open);
    // Keys read and not set again come back upper-cased; the set key keeps its place.
    EXPECT_EQ(Read("a.ini"), "FIRST                        1 {one}\r\n"
                             "Reply_Delay                  80 {y}\r\n"
                             "LAST                         3 {three}\r\n");
}

TEST_F(Key_File_Test, ValueAndCommentForms)
{
    Write("a.ini",
          "Search_Port\r\n"          // key alone
          "KEY=5\r\n"                // "=" separator
          "SPACED = 7\r\n"           // blank before "=": the rest begins at the blank
          "KEY2 5{c}\r\n"            // no blank before the brace: the value is empty
          "KEY3 a value {open\r\n"   // missing closing brace: the comment loses its last character
          "KEY4 x=y {a {b} c}\r\n"   // "=" inside a value, braces inside a comment
          "NEXT 9 {n}\r\n");
    ASSERT_TRUE(Key_File_Load(Path("a.ini")));
    ASSERT_TRUE(Key_File_Find("search_port"));
    EXPECT_EQ(Key_Value, " ");
    EXPECT_EQ(Key_Comment, " ");
    ASSERT_TRUE(Key_File_Find("KEY"));
    EXPECT_EQ(Key_Value, "5");
    EXPECT_EQ(Key_Comment, " ");
    ASSERT_TRUE(Key_File_Find("SPACED"));
    EXPECT_EQ(Key_Value, "= 7");
    ASSERT_TRUE(Key_File_Find("KEY2"));
    EXPECT_EQ(Key_Value, "");
    EXPECT_EQ(Key_Comment, "c");
    ASSERT_TRUE(Key_File_Find("KEY3"));
    EXPECT_EQ(Key_Value, "a value");
    EXPECT_EQ(Key_Comment, "ope");
    ASSERT_TRUE(Key_File_Find("KEY4"));
    EXPECT_EQ(Key_Value, "x=y");
    EXPECT_EQ(Key_Comment, "a {b} c");
    ASSERT_TRUE(Key_File_Find("Next"));
    EXPECT_EQ(Key_Value, "9");
    EXPECT_EQ(Key_Comment, "n");
}

TEST_F(Key_File_Test, FindMissesKeepOldTextsAndDuplicatesActOnTheFirst)
{
    Write("a.ini", "A 1 {first}\r\nA 2 {second}\r\nB 3 {b}\r\n");
    ASSERT_TRUE(Key_File_Load(Path("a.ini")));
    ASSERT_TRUE(Key_File_Find("B"));
    EXPECT_FALSE(Key_File_Find("Missing"));
    EXPECT_EQ(Key_Index, -1);
    EXPECT_EQ(Key_Value, "3");
    EXPECT_EQ(Key_Comment, "b");

    ASSERT_TRUE(Key_File_Find("a"));
    EXPECT_EQ(Key_Value, "1");
    ASSERT_TRUE(Key_File_Delete("a"));
    ASSERT_TRUE(Key_File_Find("A"));
    EXPECT_EQ(Key_Value, "2");
    EXPECT_FALSE(Key_File_Delete("C"));
    EXPECT_EQ(Key_List.size(), 2u);

    ASSERT_TRUE(Find_Value("3"));
    EXPECT_EQ(Key_Index, 1);
    EXPECT_FALSE(Find_Value("7"));
    EXPECT_EQ(Key_Index, -1);

    Key_File_Set("New_Key", "v", "c");
    EXPECT_EQ(Key_List.back(), "New_Key");
}

TEST_F(Key_File_Test, LongKeysAreCutToTwentyNineCharactersAndOneBlank)
{
    const std::string key35 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ_123456789";
    EXPECT_EQ(Key_File_Pad_Key(key35), key35.substr(0, 29) + " ");
    EXPECT_EQ(Key_File_Pad_Key(key35.substr(0, 29)), key35.substr(0, 29) + " ");
    EXPECT_EQ(Key_File_Pad_Key(key35.substr(0, 28)), key35.substr(0, 28) + " ");
    EXPECT_EQ(Key_File_Pad_Key("Key").size(), 29u);

    ASSERT_FALSE(Key_File_Open(Path("long.ini")));
    Key_File_Set(key35, "5", "c");
    ASSERT_TRUE(Key_File_Save(Path("long.ini")));
    EXPECT_EQ(Read("long.ini"), key35.substr(0, 29) + " 5 {c}\r\n");
    ASSERT_TRUE(Key_File_Load(Path("long.ini")));
    EXPECT_TRUE(Key_File_Find(key35.substr(0, 29)));
    EXPECT_FALSE(Key_File_Find(key35));
}

TEST_F(Key_File_Test, IntegerReading)
{
    Write("a.ini", "A 12a\r\nB\r\nC -5\r\nD $1F\r\nE 0x10\r\nF 99999999999\r\nG $\r\n"
                   "H -2147483648\r\nI 2147483648\r\nJ $FFFFFFFF\r\nK +7\r\n");
    ASSERT_TRUE(Key_File_Load(Path("a.ini")));
    EXPECT_FALSE(Key_File_Find_Int("A"));
    EXPECT_FALSE(Key_File_Find_Int("B"));
    ASSERT_TRUE(Key_File_Find_Int("C"));
    EXPECT_EQ(Key_Int_Value, -5);
    ASSERT_TRUE(Key_File_Find_Int("D"));
    EXPECT_EQ(Key_Int_Value, 31);
    ASSERT_TRUE(Key_File_Find_Int("E"));
    EXPECT_EQ(Key_Int_Value, 16);
    EXPECT_FALSE(Key_File_Find_Int("F"));
    EXPECT_FALSE(Key_File_Find_Int("G"));
    ASSERT_TRUE(Key_File_Find_Int("H"));
    EXPECT_EQ(Key_Int_Value, INT32_MIN);
    EXPECT_FALSE(Key_File_Find_Int("I"));
    ASSERT_TRUE(Key_File_Find_Int("J"));
    EXPECT_EQ(Key_Int_Value, -1);
    ASSERT_TRUE(Key_File_Find_Int("K"));
    EXPECT_EQ(Key_Int_Value, 7);
    EXPECT_FALSE(Key_File_Find_Int("Missing"));
}

TEST_F(Key_File_Test, BooleanReadingIgnoresCaseAndRejectsOtherValues)
{
    Write("a.ini", "A True\r\nB TRUE\r\nC true\r\nD 1\r\nE false\r\n");
    ASSERT_TRUE(Key_File_Load(Path("a.ini")));
    ASSERT_TRUE(Key_File_Find_Bool("E"));
    EXPECT_FALSE(Key_Bool_Value);
    for (const char* key : {"A", "B", "C"}) {
        Key_Bool_Value = false;
        EXPECT_TRUE(Key_File_Find_Bool(key)) << key;
        EXPECT_TRUE(Key_Bool_Value) << key;
    }
    EXPECT_EQ(Key_Value, "TRUE");  // upper-cased in place
    Key_Bool_Value = false;
    EXPECT_FALSE(Key_File_Find_Bool("D"));
    EXPECT_FALSE(Key_Bool_Value);
}

TEST_F(Key_File_Test, MissingAndEmptyFiles)
{
    EXPECT_FALSE(Key_File_Load(Path("none.ini")));
    EXPECT_FALSE(Key_File_Is_Open);
    EXPECT_FALSE(Key_File_Find_In_File(Path("none.ini"), "A"));
    EXPECT_TRUE(Reports.empty());  // a missing file is no failure

    Write("empty.ini", "{only a comment}\r\n");
    ASSERT_TRUE(Key_File_Load(Path("empty.ini")));
    EXPECT_TRUE(Key_List.empty());
    ASSERT_TRUE(Key_File_Save(Path("empty.ini")));
    EXPECT_EQ(Read("empty.ini"), "");

    // A folder in place of the file cannot be read: reported, engine closed.
    std::filesystem::create_directory(Path("folder.ini"));
    EXPECT_FALSE(Key_File_Load(Path("folder.ini")));
    EXPECT_FALSE(Key_File_Is_Open);
    EXPECT_EQ(Reports.size(), 1u);
}

TEST_F(Key_File_Test, SetKeyInFileCreatesTheFileAndKeepsOtherLines)
{
    ASSERT_TRUE(Set_Key_In_File(Path("new.ini"), "Language", "Deutsch", "Sprache"));
    EXPECT_EQ(Read("new.ini"), "Language                     Deutsch {Sprache}\r\n");

    ASSERT_TRUE(Set_Key_In_File(Path("new.ini"), "Other", "1", ""));
    ASSERT_TRUE(Set_Key_In_File(Path("new.ini"), "Language", "English", "Language"));
    EXPECT_EQ(Read("new.ini"), "Language                     English {Language}\r\n"
                               "OTHER                        1 {}\r\n");

    // The result slots stay readable after the whole-file find closed the engine.
    ASSERT_TRUE(Key_File_Find_In_File(Path("new.ini"), "other"));
    EXPECT_FALSE(Key_File_Is_Open);
    EXPECT_EQ(Key_Value, "1");
    EXPECT_EQ(Key_Index, 1);
}

TEST_F(Key_File_Test, FileWrittenByTheEngineRoundTripsByteForByte)
{
    ASSERT_FALSE(Key_File_Open(Path("trip.ini")));
    Key_File_Set("SECRET_KEY", "", "");
    Key_File_Set("PORT_NAME", "ttyUSB0", "Serial port of the controller");
    Key_File_Set("CAR_MODEL", "Truck  with  blanks", "a {nested} comment = x");
    Key_File_Set("FORMULA", "a=b", "");
    Key_File_Set("DEGREE", "\xB0" "C", "\xD1\xE4");
    Key_File_Set("A_KEY_OF_EXACTLY_29_CHARACTER", "29", "cut");
    ASSERT_TRUE(Key_File_Save(Path("trip.ini")));
    const std::string written = Read("trip.ini");

    ASSERT_TRUE(Key_File_Load(Path("trip.ini")));
    EXPECT_EQ(Key_List.size(), 6u);
    ASSERT_TRUE(Key_File_Find("car_model"));
    EXPECT_EQ(Key_Value, "Truck  with  blanks");
    ASSERT_TRUE(Key_File_Save(Path("trip.ini")));
    EXPECT_EQ(Read("trip.ini"), written);
}

TEST_F(Key_File_Test, LineBreaksInValuesCannotSplitAnEntry)
{
    ASSERT_FALSE(Key_File_Open(Path("a.ini")));
    Key_File_Set("Car_Model", "two\r\nlines", "note\nhere");
    Key_File_Set("Next", "1", "");
    ASSERT_TRUE(Key_File_Save(Path("a.ini")));
    ASSERT_TRUE(Key_File_Load(Path("a.ini")));
    ASSERT_EQ(Key_List.size(), 2u);
    ASSERT_TRUE(Key_File_Find("Next"));
    EXPECT_EQ(Key_Value, "1");
}

TEST_F(Key_File_Test, FailedWriteKeepsTheOldFileAndIsReported)
{
    Write("a.ini", "Port_Name COM1 {old}\r\n");
    ASSERT_TRUE(Key_File_Load(Path("a.ini")));
    Key_File_Set("Port_Name", "ttyUSB0", "new");
    sys::Set_Write_Hook([](int, const void*, size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    });
    EXPECT_FALSE(Key_File_Save(Path("a.ini")));
    EXPECT_FALSE(Key_File_Is_Open);
    EXPECT_EQ(Read("a.ini"), "Port_Name COM1 {old}\r\n");
    ASSERT_EQ(Reports.size(), 1u);
    EXPECT_NE(Reports[0].find("a.ini"), std::string::npos);

    EXPECT_FALSE(Set_Key_In_File(Path("a.ini"), "X", "1", ""));
    EXPECT_EQ(Reports.size(), 2u);
}

// A file that is there but cannot be read (the file layer's read fails, as it does for a
// file of mode 000 read by an ordinary user) is told from a missing one and is never written
// over, whichever way a caller reaches the save.
TEST_F(Key_File_Test, UnreadableFileIsNeverWrittenOver)
{
    const std::string old_bytes = "Port_Name ttyS3 {mine}\r\nHAND_KEY 7 {kept}\r\n";
    struct Row {
        const char* what;
        std::function<bool(const std::string&)> save;
    };
    const Row rows[] = {
        {"open, set, save",
         [](const std::string& path) {
             EXPECT_FALSE(Key_File_Open(path));
             EXPECT_TRUE(Key_File_Is_Open);
             Key_File_Set("Language", "English", "");
             return Key_File_Save(path);
         }},
        {"set one key in the file",
         [](const std::string& path) { return Set_Key_In_File(path, "Language", "English", ""); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Reports.clear();
        Write("a.ini", old_bytes);
        sys::Set_Read_Hook([](int, void*, size_t) -> ssize_t {
            errno = EACCES;
            return -1;
        });
        EXPECT_FALSE(row.save(Path("a.ini")));
        EXPECT_EQ(Key_File_Read_Result, sys::Read_Result::Unreadable);
        EXPECT_FALSE(Key_File_Is_Open);
        sys::Reset_File_Hooks();
        EXPECT_EQ(Read("a.ini"), old_bytes);
        // One report for the read, one for the refused save, both naming the file.
        ASSERT_EQ(Reports.size(), 2u);
        EXPECT_NE(Reports[1].find("a.ini"), std::string::npos);
    }
    // The same file once it reads again is written as usual; a missing file is created.
    EXPECT_TRUE(Set_Key_In_File(Path("a.ini"), "Language", "English", ""));
    EXPECT_NE(Read("a.ini").find("HAND_KEY"), std::string::npos);
    EXPECT_FALSE(Key_File_Open(Path("none.ini")));
    EXPECT_EQ(Key_File_Read_Result, sys::Read_Result::Missing);
    EXPECT_TRUE(Key_File_Save(Path("none.ini")));
}

// A name too long for the file system names no file: the save is refused for that reason,
// not as a file that could not be read; a long name that fits is written.
TEST_F(Key_File_Test, SaveUnderATooLongNameGivesTheRealReason)
{
    const std::string too_long = Path(std::string(256, 'C') + ".cfg");
    EXPECT_FALSE(Key_File_Open(too_long));
    EXPECT_EQ(Key_File_Read_Result, sys::Read_Result::Missing);
    Key_File_Set("Car_Model", "X", "");
    EXPECT_FALSE(Key_File_Save(too_long));
    EXPECT_FALSE(Set_Key_In_File(too_long, "Car_Model", "X", ""));
    ASSERT_EQ(Reports.size(), 2u);
    for (const std::string& report : Reports) {
        EXPECT_NE(report.find("too long"), std::string::npos) << report;
        EXPECT_EQ(report.find("could not be read"), std::string::npos) << report;
    }
    const std::string fits = Path(std::string(251, 'C') + ".cfg");
    EXPECT_TRUE(Set_Key_In_File(fits, "Car_Model", "X", ""));
    EXPECT_TRUE(Key_File_Find_In_File(fits, "Car_Model"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder.Path()), {}), 1);
}

// Values with braces read back whole after a save, beside a comment that holds braces too;
// a value the reader could not tell from its comment is refused where it is set.
TEST_F(Key_File_Test, ValuesWithBracesReadBackWholeOrAreRefused)
{
    struct Row {
        const char* value;
        bool writable;
    };
    const Row rows[] = {
        {"/home/tech/brace{1}", true}, {"a}b", true},   {"x{", true},     {"{}", false},
        {"{lead", false},              {"a {b", false}, {"a\n{b", false}, {"", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        Reports.clear();
        ASSERT_FALSE(Key_File_Open(Path("b.ini")));
        Key_File_Set("Before", "1", "");
        EXPECT_EQ(Key_File_Set("CFG_File_Path", row.value, "folder {of} the files"), row.writable);
        EXPECT_EQ(Reports.size(), row.writable ? 0u : 1u);
        Key_File_Set("A_Key_Of_Thirty_Five_Characters_xx", "after", "");
        ASSERT_TRUE(Key_File_Save(Path("b.ini")));
        ASSERT_TRUE(Key_File_Load(Path("b.ini")));
        EXPECT_EQ(Key_File_Find("CFG_File_Path"), row.writable);
        if (row.writable) {
            EXPECT_EQ(Key_Value, row.value);
            EXPECT_EQ(Key_Comment, "folder {of} the files");
        }
        // A key of 29 or more characters stays cut to 29.
        ASSERT_TRUE(Key_File_Find("A_KEY_OF_THIRTY_FIVE_CHARACTE"));
        EXPECT_EQ(Key_Value, "after");
        ASSERT_TRUE(Key_File_Find("Before"));
        EXPECT_EQ(Key_Value, "1");
        Key_File_Discard();
        std::filesystem::remove(Path("b.ini"));
    }
}

TEST_F(Key_File_Test, FixedWidthValues)
{
    Write("a.ini", "CAR_MODEL   Volvo FH16 {truck}\r\nUSER_NAME\r\n");
    ASSERT_TRUE(Load_Key_File_Fixed(Path("a.ini"), 7));
    ASSERT_TRUE(Key_File_Find("Car_Model"));
    EXPECT_EQ(Key_Value, "Volvo F");
    EXPECT_EQ(Key_Comment, " ");
    ASSERT_TRUE(Key_File_Find("User_Name"));
    EXPECT_EQ(Key_Value, "");
}

TEST(Key_File_Paths, StripExtensionAndSplitPath)
{
    EXPECT_EQ(Strip_Extension("C:\\a.b\\file"), "C:\\a");
    EXPECT_EQ(Strip_Extension("KardunGD.ini"), "KardunGD");
    EXPECT_EQ(Strip_Extension("a.b.c"), "a.b");
    EXPECT_EQ(Strip_Extension("noext"), "noext");
    EXPECT_EQ(Strip_Extension(""), "");

    Split_Dir = "old dir";
    Split_File_Name = "old name";
    EXPECT_FALSE(Split_Path("B.cfg"));
    EXPECT_EQ(Split_Dir, "old dir");
    EXPECT_EQ(Split_File_Name, "old name");
    ASSERT_TRUE(Split_Path("C:\\A\\B.cfg"));
    EXPECT_EQ(Split_Dir, "C:\\A");
    EXPECT_EQ(Split_File_Name, "B.cfg");
    ASSERT_TRUE(Split_Path("/home/user/Config/B.cfg"));
    EXPECT_EQ(Split_Dir, "/home/user/Config");
    EXPECT_EQ(Split_File_Name, "B.cfg");
    ASSERT_TRUE(Split_Path("/a\\b/c.cfg"));
    EXPECT_EQ(Split_Dir, "/a\\b");
    EXPECT_EQ(Split_File_Name, "c.cfg");
}

TEST(Key_File_Wrap, LinesOfAboutEqualLength)
{
    // 44 characters at 20 per line: 3 lines, target width 14.
    const std::string text = "Switch all gas injectors on or off right now";
    const std::string wrapped = Wrap_Text_Chars(text, 20);
    EXPECT_EQ(wrapped, "Switch all gas \ninjectors on or \noff right now");

    EXPECT_EQ(Wrap_Text_Chars("Short text", 40), "Short text");
    EXPECT_EQ(Wrap_Text_Chars("", 40), "");
    // No blank after the width: the rest stays on one line, no trailing line feed.
    EXPECT_EQ(Wrap_Text_Chars("abcdefghijklmnopqrstuvwxyz", 10), "abcdefghijklmnopqrstuvwxyz");
    // A line length below 1 cannot divide by zero; it wraps as the default does.
    EXPECT_EQ(Wrap_Text_Chars(text, 0), Wrap_Text_Chars(text, 40));
    EXPECT_EQ(Wrap_Text_Chars(text, -5), Wrap_Text_Chars(text, 40));

    Settings.Hint_Length = 20;
    EXPECT_EQ(Wrap_Text_Chars(text), wrapped);
    Settings.Hint_Length = 40;
}

}  // namespace
