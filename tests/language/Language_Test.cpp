// Text lookup, language files, the language list and the built-in English tables.
#include "data/Globals.h"
#include "data/Key_File.h"
#include "data/Settings.h"
#include "language/Language.h"
#include "language/Language_En.h"
#include "main/Process_State.h"

#include <gtest/gtest.h>

#include "common/Test_Folder.h"

#include <filesystem>
#include <functional>
#include <set>

namespace {

class Language_Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Folder.Made());
        Dir = Folder.Path();
        Reset_All_State();
        Program_Dir = Dir;
        Language_Dir = Dir + "/Language";
        std::filesystem::create_directory(Language_Dir);
    }
    void TearDown() override { Reset_All_State(); }
    void Write_Language(const std::string& file_name, const std::string& bytes) const
    {
        Put_File(Language_Dir + "/" + file_name, bytes);
    }
    Test_Folder Folder{"language"};
    std::string Dir;
};

TEST_F(Language_Test, EnglishNeverReadsAFile)
{
    Write_Language("English.lng", "first\r\nVersion Fake version\r\nOwn_Key Own text\r\n");
    Settings.Language = "English";
    EXPECT_EQ(Language_Text("Version"), "Version");
    EXPECT_EQ(Language_Text("Own_Key"), "");
    Language_Load_File();
    EXPECT_TRUE(Language_Keys.empty());
    Language_Release();

    // Another letter case is not the built-in language: its file is read.
    Write_Language("english.lng", "first\r\nVersion From the file\r\n");
    Settings.Language = "english";
    EXPECT_EQ(Language_Text("Version"), "From the file");
}

TEST_F(Language_Test, FileTextsWithEnglishBehindThem)
{
    Write_Language("Deutsch.lng",
                   "Version Erste Zeile wird nie gelesen\r\n"
                   "Save Speichern\r\n"
                   "   {Kommentar\r\n"
                   "Load\r\n"                               // empty text beats English
                   "save Zweiter Eintrag\r\n"               // duplicate: the first wins
                   "DEFAULT Standard {kein Kommentar}\r\n"  // a later brace is text
                   "Cancel\tZwei  Worte  \r\n"              // TAB separator, inner blanks kept
                   "\t  Start    Los\n"                     // indented, several blanks
                   "Stop\rHalt\r\n");                       // a lone CR ends a line
    Settings.Language = "Deutsch";
    Language_Load_File();
    ASSERT_EQ(Language_Keys.size(), Language_Texts.size());
    EXPECT_EQ(Language_Find_Text("Save"), "Speichern");
    EXPECT_EQ(Language_Find_Text("SAVE"), "Speichern");
    EXPECT_EQ(Language_Find_Text("Load"), "");
    EXPECT_EQ(Language_Find_Text("Default"), "Standard {kein Kommentar}");
    EXPECT_EQ(Language_Find_Text("Cancel"), "Zwei  Worte");
    EXPECT_EQ(Language_Find_Text("Start"), "Los");
    EXPECT_EQ(Language_Find_Text("Stop"), "");
    EXPECT_EQ(Language_Find_Text("Halt"), "");
    EXPECT_EQ(Language_Find_Text("Version"), "Version");       // first line ignored
    EXPECT_EQ(Language_Find_Text("No_port"), "No port");       // English behind the file
    EXPECT_EQ(Language_Find_Text("no_port"), "");              // English keys match exactly
    EXPECT_EQ(Language_Keys.size(), 8u);  // the comment line and the first line add nothing
    Language_Release();
    EXPECT_TRUE(Language_Keys.empty());
    EXPECT_TRUE(Language_Texts.empty());
    EXPECT_EQ(Language_Find_Text("Save"), "Save");             // released: English
}

TEST_F(Language_Test, MissingOrOneLineFilesGiveEnglish)
{
    Settings.Language = "Missing";
    EXPECT_EQ(Language_Text("Save"), "Save");
    Write_Language("Short.lng", "Save Sichern");
    Settings.Language = "Short";
    EXPECT_EQ(Language_Text("Save"), "Save");
    Write_Language("Empty.lng", "");
    Settings.Language = "Empty";
    EXPECT_EQ(Language_Text("Save"), "Save");
}

TEST_F(Language_Test, EnglishMenuVariants)
{
    Write_Language("Deutsch.lng", "x\r\nSave Speichern\r\nForm_RPM Drehzahl\r\n");
    Settings.Language = "Deutsch";
    Settings.English_Menu = false;
    std::string text;
    Language_Text_Menu("Save", text);
    EXPECT_EQ(text, "Speichern");
    std::string caption = "unchanged";
    EXPECT_FALSE(English_Menu_Caption("Form_RPM", caption));
    EXPECT_EQ(caption, "unchanged");

    Settings.English_Menu = true;
    text.clear();
    Language_Text_Menu("Save", text);
    EXPECT_EQ(text, "Save");
    EXPECT_EQ(Settings.Language, "Deutsch");
    EXPECT_TRUE(English_Menu_Caption("Form_RPM", caption));
    EXPECT_EQ(caption, "R.P.M. Diagnostics");
    EXPECT_EQ(Settings.Language, "Deutsch");

    Language_Load_File();
    text.clear();
    Language_Find_Text_Menu("Save", text);
    EXPECT_EQ(text, "Save");
    Settings.English_Menu = false;
    text.clear();
    Language_Find_Text_Menu("Save", text);
    EXPECT_EQ(text, "Speichern");
    Language_Release();

    // A lookup made while a file writer holds the language aside leaves the writer's slot.
    Settings.English_Menu = true;
    Saved_Language = "Deutsch";
    Settings.Language = "English";
    Language_Text_Menu("Save", text);
    EXPECT_EQ(Saved_Language, "Deutsch");
    EXPECT_EQ(Settings.Language, "English");
}

// A bracket opened inside a loaded one (directly, through Language_Text or under a forced
// English) keeps the outer lists; only the outermost release frees them; no nesting leaves
// the language or the single slot changed.
TEST_F(Language_Test, BracketsNestAndForcedEnglishComesBack)
{
    Write_Language("Deutsch.lng", "x\r\nSave Speichern\r\nLoad Laden\r\n");
    Write_Language("Polski.lng", "x\r\nSave Zapisz\r\n");
    struct Row {
        const char* Case;
        std::function<std::string()> Inner;   // runs inside the outer Deutsch bracket
        const char* Inner_Text;
    };
    const Row Rows[] = {
        {"a second load and release", [] { Language_Load_File(); std::string T = Language_Find_Text("Save"); Language_Release(); return T; }, "Speichern"},
        {"a self-contained lookup", [] { return Language_Text("Save"); }, "Speichern"},
        {"a lookup of the English menu", [] { Settings.English_Menu = true; std::string T; Language_Text_Menu("Save", T); Settings.English_Menu = false; return T; }, "Save"},
        {"a bracket forced to English", [] { English_Scope E(true); Language_Load_File(); std::string T = Language_Find_Text("Save"); Language_Release(); return T; }, "Save"},
        {"forced English twice over", [] { English_Scope Outer(true); English_Scope Inner(true); return Language_Text("Save"); }, "Save"},
        {"a bracket of another language", [] { Settings.Language = "Polski"; Language_Load_File(); std::string T = Language_Find_Text("Save"); Language_Release(); Settings.Language = "Deutsch"; return T; }, "Zapisz"},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Case);
        Settings.Language = "Deutsch";
        Saved_Language = "Writer";
        Language_Load_File();
        EXPECT_EQ(R.Inner(), R.Inner_Text);
        // The outer bracket reads its own file still.
        EXPECT_EQ(Language_Find_Text("Load"), "Laden");
        EXPECT_EQ(Settings.Language, "Deutsch");
        EXPECT_EQ(Saved_Language, "Writer");
        Language_Release();
        EXPECT_TRUE(Language_Keys.empty());
        EXPECT_EQ(Language_Find_Text("Load"), "Load");
    }
    // A release with no bracket open frees nothing a later bracket reads.
    Language_Release();
    Language_Load_File();
    EXPECT_EQ(Language_Find_Text("Load"), "Laden");
    Language_Release();
}

TEST_F(Language_Test, LanguageListTakesBaseNamesUpToNineteenFiles)
{
    Write_Language("Deutsch.alt.lng", "x\r\nSave Alt\r\n");
    Write_Language("readme.txt", "");
    Language_List_Fill();
    EXPECT_EQ(Settings.Language_Names[0], "English");
    EXPECT_EQ(Settings.Language_Names[1], "Deutsch");
    EXPECT_EQ(Settings.Language_Names[2], "");
    EXPECT_EQ(Language_List(), (std::vector<std::string>{"English", "Deutsch"}));
    // Choosing the listed name looks for "Deutsch.lng", not for the listed file.
    Settings.Language = "Deutsch";
    EXPECT_EQ(Language_Text("Save"), "Save");

    for (int i = 0; i < 24; ++i) Write_Language("L" + std::to_string(i) + ".lng", "x\r\n");
    Language_List_Fill();
    const std::vector<std::string> list = Language_List();
    ASSERT_EQ(list.size(), 20u);
    EXPECT_EQ(list[0], "English");
    EXPECT_EQ(std::set<std::string>(list.begin(), list.end()).size(), 20u);

    // A second fill starts again from an empty list.
    std::filesystem::remove_all(Language_Dir);
    Language_List_Fill();
    EXPECT_EQ(Language_List(), (std::vector<std::string>{"English"}));
}

TEST(English_Table, MainTableHoldsItsPairsInOrder)
{
    ASSERT_EQ(English_Main_Table_Size, 605u);
    std::set<std::string> keys;
    for (std::size_t i = 0; i < English_Main_Table_Size; ++i)
        EXPECT_TRUE(keys.insert(English_Main_Table[i].Key).second) << English_Main_Table[i].Key;

    const auto index_of = [](const std::string& key) {
        for (std::size_t i = 0; i < English_Main_Table_Size; ++i)
            if (key == English_Main_Table[i].Key) return static_cast<int>(i);
        return -1;
    };
    EXPECT_EQ(index_of("Version"), 0);
    EXPECT_EQ(index_of("Threshold_Sensitivity"), 51);
    EXPECT_EQ(index_of("Dim_RPM_Short"), 52);
    EXPECT_EQ(index_of("No_port"), 61);
    EXPECT_EQ(index_of("TabSheet_General"), 82);
    EXPECT_EQ(index_of("TabSheet_Configuration"), 103);
    EXPECT_EQ(index_of("Form_RPM"), 323);
    EXPECT_EQ(index_of("TabSheet_Errors"), 404);
    EXPECT_EQ(index_of("TabSheet_Settings"), 421);
    EXPECT_EQ(index_of("TabSheet_About"), 484);
    EXPECT_EQ(index_of("Error_CFG_Receiv"), 542);
    EXPECT_EQ(index_of("Label_Wheel_Compensation"), 592);
    // Every row names something: no empty English text in the main table.
    for (std::size_t i = 0; i < English_Main_Table_Size; ++i)
        EXPECT_STRNE(English_Main_Table[i].Text, "") << English_Main_Table[i].Key;
}

TEST(English_Table, TextsAndBytes)
{
    std::string text;
    const auto english = [&](const std::string& key) {
        text.clear();
        English_Text(key, text);
        return text;
    };
    EXPECT_EQ(english("Dim_Degree_Short"), std::string("\xB0\xD1"));
    EXPECT_EQ(english("Text_Degree"), std::string("\xB0" "C"));
    EXPECT_EQ(english("Label_Wheel_Compensation"), "Compensation of step \"wheel\"");
    EXPECT_EQ(english("Button_WorkMode"), "&Mode");
    EXPECT_EQ(english("Close"), "Closed");
    EXPECT_EQ(english("Petrol"), "Diesel");
    EXPECT_EQ(english("Settings"), "Setting");
    EXPECT_EQ(english("Button_OSC_Test_Drive"), "Test drive");
    EXPECT_EQ(english("Button_OSC_Test_Drive_Hint"), "Definition of dynamics of dispersal");
    EXPECT_EQ(english("Label_Abou_Technic").rfind("If at car tuning problems occur", 0), 0u);
    EXPECT_EQ(english("Label_About_Technic"), "");
    EXPECT_FALSE(english("CheckPassword_Rem").empty());
    EXPECT_FALSE(english("User_Address_Rem").empty());
    EXPECT_EQ(english("No_port"), "No port");
    EXPECT_EQ(english("NO_PORT"), "");
    EXPECT_EQ(english("No_port "), "");
    // Keys that no table holds.
    EXPECT_EQ(english("Delay_Compens_Rem"), "");
    EXPECT_EQ(english("Error_Setting"), "");
    text = "kept";
    English_Text("Unknown_Key", text);
    EXPECT_EQ(text, "kept");
}

TEST(English_Table, WindowTablesAreSearchedAfterTheMainTableInTheirOrder)
{
    static const English_Pair database[] = {{"Form_DTB", "Clients database"}, {"Shared", "database"}};
    static const English_Pair loader[] = {{"Shared", "loader"}, {"Form_Loader", "Loader"}};
    static const English_Pair password[] = {{"Version", "not this one"}};
    English_Tables_Reset();
    std::string text;
    English_Text("Form_DTB", text);
    EXPECT_EQ(text, "");

    English_Table_Register(English_Window_Table::Loader, loader, 2);
    English_Table_Register(English_Window_Table::Password, password, 1);
    English_Text("Shared", text);
    EXPECT_EQ(text, "loader");
    English_Table_Register(English_Window_Table::Clients_Database, database, 2);
    English_Text("Shared", text);
    EXPECT_EQ(text, "database");
    English_Text("Form_Loader", text);
    EXPECT_EQ(text, "Loader");
    English_Text("Version", text);
    EXPECT_EQ(text, "Version");
    English_Tables_Reset();
}

}  // namespace
