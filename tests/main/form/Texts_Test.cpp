// The main window's texts, hints and fonts in the chosen language.
#include <gtest/gtest.h>

#include "language/Language_En.h"
#include "main/Main_Form_Texts.h"

#include <algorithm>
#include <QFontDatabase>
#include <QFontInfo>
#include <QWidget>
#include <cctype>
#include <cstdlib>
#include <utility>
#include "main/Main_Test_Support.h"
#include "windows/Port_Window.h"
#include "windows/RPM_Window.h"

namespace {

using namespace main_test;

constexpr const char* Marked = "Marked";

// Keys the built-in table has no text for; the marked file gives them their own name.
const char* const Keys_Without_English[] = {"Button_CLB_Transmitt_Hint", "Button_CLB_Receiv_Hint",
                                            "Button_CLB_Save_Hint"};
// Captions of the main window whose English text is in a group's own table; marked too.
const std::pair<const char*, const char*> Group_Table_Captions[] = {{"CFG_Inject_Type_Start_Impuls", "Start impulse"}};

// The built-in main table as a language file, every text marked "[...]".
std::string Marked_Language_File()
{
    std::string File = "Marked\r\n";
    for (std::size_t I = 0; I < English_Main_Table_Size; ++I)
        File += std::string(English_Main_Table[I].Key) + " [" + English_Main_Table[I].Text + "]\r\n";
    for (const char* Key : Keys_Without_English)
        File += std::string(Key) + " [" + Key + "]\r\n";
    for (const auto& [Key, Text] : Group_Table_Captions)
        File += std::string(Key) + " [" + Text + "]\r\n";
    return File;
}

std::string Caption_Of(TComponent* C)
{
    if (auto* L = dynamic_cast<TLabel*>(C)) return L->Caption();
    if (auto* B = dynamic_cast<TButton*>(C)) return B->Caption();
    if (auto* G = dynamic_cast<TGroupBox*>(C)) return G->Caption();
    if (auto* P = dynamic_cast<TPanel*>(C)) return P->Caption();
    if (auto* S = dynamic_cast<TTabSheet*>(C)) return S->Caption();
    if (auto* X = dynamic_cast<TCheckBox*>(C)) return X->Caption();
    if (auto* R = dynamic_cast<TRadioButton*>(C)) return R->Caption();
    return {};
}

std::string English(const std::string& Key)
{
    std::string Text;
    English_Text(Key, Text);
    return Text;
}

// The text of a key in the marked language file (a key the file lacks reads as English).
std::string M(const std::string& Key)
{
    for (const char* Own : Keys_Without_English)
        if (Key == Own)
            return "[" + Key + "]";
    for (const auto& [Own, Text] : Group_Table_Captions)
        if (Key == Own)
            return "[" + std::string(Text) + "]";
    for (std::size_t I = 0; I < English_Main_Table_Size; ++I)
        if (Key == English_Main_Table[I].Key)
            return "[" + std::string(English_Main_Table[I].Text) + "]";
    return English(Key);
}

// A wrapped hint read as one line.
std::string Unwrapped(std::string Text)
{
    std::erase(Text, '\n');
    return Text;
}

// Captions that other routines of their pages set (the Configuration page's units, option
// buttons and help line, the calibration chart's curve names, the idle-speed button) or
// that come from the gas-diesel options' own table, which the marked file does not hold;
// the passes here do not touch them.
bool Set_By_Its_Page(const std::string& Name)
{
    const bool Unit = Name.rfind("Label_CFG_", 0) == 0 && Name.size() > 4 &&
                      Name.compare(Name.size() - 4, 4, "_Dim") == 0;
    return Unit || Name.rfind("Button_CFG_Group_", 0) == 0 || Name.rfind("Label_CLB_Diagram_", 0) == 0 ||
           Name == "Button_CFG_RPM_IdleRun" || Name == "Label_CFG_Help" || Name == "Label_CFG_Filter_TPS_ON";
}

// The window's captions that read as a built-in English text (value labels aside).
std::vector<std::string> English_Captions(TForm_KardunGAS* F)
{
    std::vector<TControl*> Values;
    F->For_Each_Part([&](auto& Part) {
        for (TControl* C : Part.Part_Value_Labels())
            Values.push_back(C);
    });
    std::vector<std::string> Found;
    for (int I = 0; I < F->ComponentCount(); ++I) {
        TComponent* C = F->Components(I);
        const std::string Text = Caption_Of(C);
        if (Text.empty() || Set_By_Its_Page(C->Name()) ||
            std::find(Values.begin(), Values.end(), C) != Values.end())
            continue;
        for (std::size_t K = 0; K < English_Main_Table_Size; ++K)
            if (Text == English_Main_Table[K].Text) {
                Found.push_back(C->Name() + "=" + Text);
                break;
            }
    }
    return Found;
}

class Marked_Language : public Main_Window_Fixture {
protected:
    // The window started in the marked language (the file is in the language folder).
    void Start(bool English_Menu = false)
    {
        std::filesystem::create_directory(Folder->File("Language"));
        Folder->Write("Language/Marked.lng", Marked_Language_File());
        Folder->Write("KardunGD.ini", Settings_With_Port("ttyTEST4") + Key_File_Pad_Key("Language") +
                                          "Marked {}\r\n" + Key_File_Pad_Key("English_Menu") +
                                          (English_Menu ? "True" : "False") + " {}\r\n");
        Create();
    }
    std::string Caption(const char* Name) { return Caption_Of(Main()->FindComponent(Name)); }
    std::string Hint(const char* Name)
    {
        auto* C = dynamic_cast<TControl*>(Main()->FindComponent(Name));
        return C ? C->Hint() : "(no control)";
    }
    void Page(int Index)
    {
        Main()->PageControl_KardunGAS->ActivePageIndex(Index);
        Main()->PageControl_KardunGASChange(nullptr);
    }
};

// Every caption and hint of the tables shows the file's text with its letters around it.
TEST_F(Marked_Language, EveryListedCaptionAndHintShowsTheFilesText)
{
    Start();
    TForm_KardunGAS* F = Main();
    const std::string Wrapped_Start = "\"S\" - " + Wrap_Text_Chars(M("Button_OSC_StartStop_Hint"));
    struct Row {
        const char* Control;
        bool Is_Hint;
        std::string Expected;
    };
    const Row Rows[] = {
        {"Label_GEN_Temperature", false, M("Label_GEN_Temp") + " (\xB0" "C)"},
        {"Label_GEN_Pressure", false, M("Label_GEN_Pressure") + " (" + M("Dim_Bar_Long") + ")"},
        {"Label_CLB_PressColl", false, M("Label_GEN_PressureCollector")},
        {"Label_GEN_PressColl", false, M("Label_GEN_PressureCollector")},
        {"Label_GEN_RPM", false, M("Label_GEN_RPM")},
        {"Label_OSC_PressColl", false, M("CheckBox_OSC_Collector")},
        {"Label_OSC_PressDiff", false, M("CheckBox_OSC_Differential")},
        {"Label_OSC_Scale_Bar", false, M("Text_Bar")},
        {"Button_OSC_Record", false, M("Record")},
        {"Label_Full_Screen", false, M("CheckBox_Full_Screen")},
        {"Label_GEN_RPM_Dig", false, "0"},   // a value keeps its digits
        // Units on a second line: line feed, then carriage return.
        {"Label_CLB_RPM", false, M("Label_GEN_RPM") + "\n\r(" + M("Dim_RPM_Short") + ")"},
        {"Label_CLB_Gas", false, M("Label_GEN_GAS") + "\n\r(" + M("Dim_MS_Short") + ")"},
        {"Label_CLB_TPS", false, M("Label_GEN_TPS") + "\n\r(" + M("Dim_Volt_Long") + ")"},
        {"Label_CLB_Detonation", false, M("Label_GEN_Detonation") + " (" + M("Dim_Volt_Long") + ")"},
        {"Label_CFG_PG_Preheating", false, M("Label_CFG_PG_Preheating") + " < 5"},
        {"Label_CFG_GP_PressDiff_High", false, M("Label_CFG_GP_Pressure") + " >"},
        {"Button_CFG_Transmitt", false, M("Transmit")},
        {"Label_SaveLoadData", false, M("CheckBox_SaveLoadData") + " (F2, F3)"},
        {"Button_OSC_StartStop", false, M("Start")},
        {"Label_About_F5", false, "F5  - " + M("Label_About_F5")},
        {"Label_About_F10", false, "F10 - " + M("Label_About_F10")},
        {"Label_About_Letter_H", false, "\"H\" - " + M("Label_About_Letter_H")},
        {"Label_About_Letter_A", false, "\"A\" or \"*\" - " + M("Label_About_Letter_A")},
        {"Label_About_Letter_012345", false, "\"0\", \"1\", \"2\", \"3\", \"4\", \"5\" - " + M("Label_About_Letter_012345")},
        {"GroupBox_About_Select_CLB_Point", false, "\"F3\" - " + M("GroupBox_About_Select_CLB_Point")},
        {"Label_About_Technic", false, M("Label_Abou_Technic")},
        // The controller program's name (of the configuration file until identification).
        {"Label_About_Letter_T", false, "\"T\" - " + M("Label_About_Letter_T") + "  " + Program_Name_Text},
        {"Button_CFG_Transmitt", true, "\"T\" - " + M("Button_CFG_Transmitt_Hint") + " " + Program_Name_Text},
        {"Button_CLB_Receiv", true, "\"R\" - " + M("Button_CLB_Receiv_Hint") + " " + Program_Name_Text},
        // The Configuration page's hints are not wrapped; the others are, with their letters.
        {"Button_CFG_Save", true, "\"S\" - " + M("Button_CFG_Save_Hint")},
        {"UpDown_CFG_PG_Temper", true, M("PG_Temper_Hint")},
        {"Button_INI_Default", true, Wrap_Text_Chars("\"D\" - " + M("Button_INI_Default_Hint"))},
        {"Button_Gas_Fors3", true, Wrap_Text_Chars("\"C\" - " + M("Button_Gas_Fors3_Hint"))},
        {"CheckBox_OSC_PressColl", true, Wrap_Text_Chars(M("OSC_View_PressColl_Hint"))},
        {"Button_OSC_StartStop", true, Wrapped_Start},
    };
    for (const Row& R : Rows)
        EXPECT_EQ(R.Is_Hint ? Hint(R.Control) : Caption(R.Control), R.Expected) << R.Control;
    // Each page by its function key (F5 is no page).
    const char* const Pages[] = {"General", "Configuration", "Calibration", "Oscilloscope",
                                 nullptr,   "Errors",        "Settings",    "About"};
    for (int Key = 1; Key <= 8; ++Key)
        if (const char* Page = Pages[Key - 1]) {
            const std::string Name = std::string("TabSheet_") + Page;
            EXPECT_EQ(Caption(Name.c_str()), "F" + std::to_string(Key) + " " + M(Name)) << Name;
        }
    // Every row of every table: its letters in front, the file's text, its letters behind.
    auto Check = [&](const Text_Row& Row, const std::string& Shown, const std::string& Own_Key) {
        const std::string Text = M(Row.Key ? Row.Key : Own_Key);
        EXPECT_EQ(Shown.rfind(Row.Prefix, 0), 0u) << Row.Control << ": " << Shown;
        EXPECT_NE(Shown.find(Row.Unit_Key ? M(Row.Unit_Key) : Text), std::string::npos) << Row.Control << ": " << Shown;
        const std::string End = Row.Unit_Key ? Row.Unit_End : Row.Suffix;
        EXPECT_EQ(Shown.substr(Shown.size() - std::min(Shown.size(), End.size())), End) << Row.Control;
    };
    for (auto Tables : {Caption_Tables_Before_Sweep(), Caption_Tables_After_Sweep()})
        for (const Text_Table& Table : Tables)
            for (const Text_Row& Row : Table.Rows)
                Check(Row, Caption(Row.Control), Row.Control);
    for (auto Table : {Gas_Fors_Hint_Rows(), Hint_Rows(), CFG_Hint_Rows()})
        for (const Text_Row& Row : Table)
            if (!Row.Prefix_Outside_Wrap)
                Check(Row, Unwrapped(Hint(Row.Control)), std::string(Row.Control) + "_Hint");
    EXPECT_TRUE(English_Captions(F).empty()) << English_Captions(F).front();
    EXPECT_TRUE(F->CheckBox_English_Menu->Visible());
    EXPECT_TRUE(F->Label_English_Menu->Visible());

    // The state a caption follows: the work mode, the connection, the level of the program.
    F->Panel_ConnectStatus->Color(clRed);
    Work_Mode = 4;
    F->Settings_Language_Apply();
    EXPECT_EQ(F->Panel_WorkMode->Caption(), M("Panel_WorkMode_Gas"));
    EXPECT_EQ(F->Panel_ConnectStatus->Caption(), M("Panel_ConnectStatus_Not_Connect"));
    // The Transmit and Receive texts with and without the controller program's name.
    for (const std::string Name : {"\"GD8\"", ""}) {
        Program_Name_Text = Name;
        F->Setup_Model_Controls();
        EXPECT_EQ(Hint("Button_CFG_Receiv"), "\"R\" - " + M("Button_CFG_Receiv_Hint") + " " + Name);
        EXPECT_EQ(Hint("Button_CLB_Transmitt"), "\"T\" - " + M("Button_CLB_Transmitt_Hint") + " " + Name);
        EXPECT_EQ(Caption("Label_About_Letter_R"), "\"R\" - " + M("Label_About_Letter_R") + "  " + Name);
        EXPECT_EQ(Caption("Label_About_Letter_T"), "\"T\" - " + M("Label_About_Letter_T") + "  " + Name);
    }
    EXPECT_EQ(Settings.Language, Marked);

    // Back to English: every text English, the English-menu box hidden.
    Settings.Language = "English";
    F->Settings_Language_Apply();
    for (auto Tables : {Caption_Tables_Before_Sweep(), Caption_Tables_After_Sweep()})
        for (const Text_Table& Table : Tables)
            for (const Text_Row& Row : Table.Rows)
                EXPECT_EQ(Caption(Row.Control).find('['), std::string::npos) << Row.Control;
    for (auto Table : {Gas_Fors_Hint_Rows(), Hint_Rows(), CFG_Hint_Rows()})
        for (const Text_Row& Row : Table)
            EXPECT_EQ(Hint(Row.Control).find('['), std::string::npos) << Row.Control;
    EXPECT_EQ(Caption("TabSheet_General"), "F1 " + English("TabSheet_General"));
    EXPECT_FALSE(F->CheckBox_English_Menu->Visible());
    EXPECT_FALSE(F->Label_English_Menu->Visible());
}

// With the English menu on: page captions, the hints of the pages other than the
// Configuration page and the Calibration page's Transmit and Receive hints are English; the
// Configuration page's hints and every other caption stay in the chosen language; the
// forcing buttons' hints are English except on the Configuration page.
TEST_F(Marked_Language, TheEnglishMenuSplitsTheTexts)
{
    // Stored on at start, and turned on with the box.
    for (const bool Stored : {true, false}) {
        SCOPED_TRACE(Stored ? "stored" : "turned on");
        W.reset();
        Reset_All_State();
        Start(Stored);
        Page(0);
        if (!Stored)
            Main()->CheckBox_English_Menu->Checked(true);
        struct Row {
            const char* Control;
            bool Is_Hint;
            bool In_English;
        };
        const Row Rows[] = {
            {"TabSheet_General", false, true},      {"TabSheet_Configuration", false, true},
            {"Label_GEN_RPM", false, false},        {"Button_INI_Save", false, false},
            {"Label_About_F1", false, false},       {"Button_INI_Save", true, true},
            {"CheckBox_OSC_Gas", true, true},       {"Button_CLB_Transmitt", true, true},
            {"Label_About_Letter_T", false, true},  {"Button_CFG_Transmitt", true, false},
            {"Button_CFG_Save", true, false},       {"UpDown_CFG_GP_Time", true, false},
            {"Button_Gas_Fors1", true, true},       {"Button_WorkMode", true, true},
        };
        for (const Row& R : Rows) {
            const std::string Shown = R.Is_Hint ? Hint(R.Control) : Caption(R.Control);
            EXPECT_EQ(Shown.find('[') == std::string::npos, R.In_English) << R.Control << ": " << Shown;
        }
        // The forcing buttons' hints follow the page.
        for (const auto& [Index, In_English] : {std::pair{1, false}, std::pair{2, true}, std::pair{1, false}}) {
            Page(Index);
            for (const Text_Row& Row : Gas_Fors_Hint_Rows())
                EXPECT_EQ(Hint(Row.Control).find('[') == std::string::npos, In_English) << Row.Control << " page " << Index;
        }
        EXPECT_EQ(Settings.Language, Marked);
        EXPECT_TRUE(Saved_Language.empty());
    }
    // The English-menu box turned off: the page captions and the hints in the language.
    Main()->CheckBox_English_Menu->Checked(false);
    EXPECT_FALSE(Settings.English_Menu);
    for (const char* Name : {"TabSheet_General", "TabSheet_About"})
        EXPECT_NE(Caption(Name).find('['), std::string::npos) << Name;
    for (const char* Name : {"Button_INI_Save", "CheckBox_OSC_Gas", "Button_CLB_Save"})
        EXPECT_NE(Hint(Name).find('['), std::string::npos) << Name;
}

// Show-hint off and on: the tool-tips and the help cursor of every listed control at once;
// on the Configuration page its own controls' tool-tips stay off.
TEST_F(Marked_Language, ShowHintSwitchesEveryListedControl)
{
    Start();
    TForm_KardunGAS* F = Main();
    // A listed name the window lacks fails the rows that switch tool-tips or the cursor on.
    auto Shows = [F](const char* Name) {
        auto* C = dynamic_cast<TControl*>(F->FindComponent(Name));
        return C && C->ShowHint();
    };
    auto Cursor = [F](const char* Name) {
        auto* C = dynamic_cast<TControl*>(F->FindComponent(Name));
        return C ? C->Cursor() : TCursor::Default;
    };
    struct Row {
        int Page;
        bool Show;
        bool Shown_Everywhere;   // Show_Hint_Controls
        bool Shown_Options;      // Show_Hint_Option_Controls
        TCursor CFG_Cursor;
        TCursor Other_Cursor;
    };
    const Row Rows[] = {
        {0, false, false, false, TCursor::Default, TCursor::Default},
        {0, true, true, true, TCursor::Help, TCursor::Help},
        {1, true, true, false, TCursor::Default, TCursor::Default},
        {3, true, true, true, TCursor::Help, TCursor::Default},
        {1, false, false, false, TCursor::Default, TCursor::Default},
    };
    for (const Row& R : Rows) {
        Page(R.Page);
        F->CheckBox_Show_Hint->Checked(R.Show);
        if (R.Page != 0 || R.Show)
            Page(R.Page);   // the page's own switching after the setting
        EXPECT_EQ(Settings.Show_Hint, R.Show);
        for (const char* Name : Show_Hint_Controls())
            EXPECT_EQ(Shows(Name), R.Shown_Everywhere) << Name << " page " << R.Page;
        for (const char* Name : Show_Hint_Option_Controls())
            EXPECT_EQ(Shows(Name), R.Shown_Options) << Name << " page " << R.Page;
        for (const char* Name : Help_Cursor_CFG_Controls())
            EXPECT_EQ(Cursor(Name), R.CFG_Cursor) << Name << " page " << R.Page;
        if (R.Page == 0) {
            for (const char* Name : Help_Cursor_Controls())
                EXPECT_EQ(Cursor(Name), R.Other_Cursor) << Name;
        }
    }
}

// A language change while the RPM sensitivity window is open (its texts are applied in
// the middle of the pass) and a message is shown: every later caption is in the new
// language, the language stays, and the saved settings name it.
TEST_F(Marked_Language, ALanguageChangeWithTheSweepWindowOpenKeepsTheNewLanguage)
{
    std::filesystem::create_directory(Folder->File("Language"));
    Folder->Write("Language/Marked.lng", Marked_Language_File());
    Folder->Write("KardunGD.ini", Settings_With_Port("ttyTEST4"));
    Create();
    TForm_KardunGAS* F = Main();
    Form_RPM = Create_Form<TForm_RPM>(nullptr);
    F->Button_CFG_RPM_set->Next_Down_State();
    F->Button_CFG_RPM_set->Click();
    ASSERT_TRUE(RPM_Graph.Open);
    EXPECT_EQ(Form_RPM->Caption(), English("Form_RPM"));
    Show_Message(Message_Type::Language_Key, "Error_Transmission", clRed);
    F->ComboBox_Language->Text(Marked);
    F->ComboBox_LanguageChange(F->ComboBox_Language);
    ASSERT_TRUE(Pump_Until([] { return Form_MSG->Visible(); }, 2000));
    EXPECT_EQ(Settings.Language, Marked);
    EXPECT_EQ(Form_RPM->Caption(), M("Form_RPM"));
    EXPECT_EQ(Form_MSG->Caption(), M("Error_Message"));
    EXPECT_EQ(Form_MSG->Label_Text->Caption(), M("Error_Transmission"));
    for (const Text_Table& Table : Caption_Tables_After_Sweep())
        for (const Text_Row& Row : Table.Rows)
            EXPECT_NE(Caption(Row.Control).find('['), std::string::npos) << Table.Name << ": " << Row.Control;
    EXPECT_TRUE(English_Captions(F).empty()) << English_Captions(F).front();
    Form_RPM->Free();
    W->Destroy();
    std::string Saved = Folder->Read("KardunGD.ini");
    for (char& C : Saved)
        C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
    EXPECT_NE(Saved.find(Key_File_Pad_Key("LANGUAGE") + "MARKED "), std::string::npos) << Saved;
}

// A file holding a few keys (a TAB or several blanks after the key) names the captions of
// those keys; the keys it lacks keep the built-in English.
TEST_F(Marked_Language, APartialFileNamesItsKeysAndLeavesTheRestEnglish)
{
    std::filesystem::create_directory(Folder->File("Language"));
    Folder->Write("Language/Deutsch.lng", "Deutsch\r\nTabSheet_General\tAllgemein\r\nSave  Speichern\r\n");
    Folder->Write("KardunGD.ini", Settings_With_Port("ttyTEST4") + Key_File_Pad_Key("Language") +
                                      "Deutsch {}\r\n");
    Create();
    TForm_KardunGAS* F = Main();
    const std::pair<const char*, std::string> Rows[] = {
        {"TabSheet_General", "F1 Allgemein"},
        {"Button_INI_Save", "Speichern"},
        {"TabSheet_Errors", "F6 Errors"},
        {"Label_GEN_PressDiff", "Difference"},
    };
    for (const auto& [Name, Expected] : Rows)
        EXPECT_EQ(Caption(Name), Expected) << Name;
    EXPECT_EQ(F->ComboBox_Language->Text(), "Deutsch");
    EXPECT_EQ(F->ComboBox_Language->Items().IndexOf("Deutsch"), 1);
}

// The built-in main table spelled in Cyrillic letters, one per Latin letter, in the
// Windows-1251 code page: texts of the length a translation has.
std::string Cyrillic_Language_File()
{
    // a..z -> а б ц д е ф г х и й к л м н о п к р с т у в ш х ы з
    static const unsigned char Lower[26] = {0xE0, 0xE1, 0xF6, 0xE4, 0xE5, 0xF4, 0xE3, 0xF5, 0xE8,
                                            0xE9, 0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF, 0xEA, 0xF0,
                                            0xF1, 0xF2, 0xF3, 0xE2, 0xF8, 0xF5, 0xFB, 0xE7};
    std::string File = "Russian\r\n";
    for (std::size_t I = 0; I < English_Main_Table_Size; ++I) {
        std::string Text = English_Main_Table[I].Text;
        for (char& C : Text) {
            if (C >= 'a' && C <= 'z')
                C = static_cast<char>(Lower[C - 'a']);
            else if (C >= 'A' && C <= 'Z')
                C = static_cast<char>(Lower[C - 'A'] - 0x20);
        }
        File += std::string(English_Main_Table[I].Key) + " " + Text + "\r\n";
    }
    return File;
}

class Language_Fonts : public Main_Window_Fixture {};

// The language's font name and character set on the window and every listed control; sizes
// and styles of their own stay; a font the system lacks reads back as set and shows in the
// nearest font the system has.
TEST_F(Language_Fonts, EveryListedControlTakesTheLanguagesFont)
{
    Create();
    TForm_KardunGAS* F = Main();
    const TFont Digits_Before = F->Label_GEN_RPM_Dig->Font();
    struct Row {
        const char* Font_Name;
        int Charset;
    };
    const Row Rows[] = {{"Tahoma", 1}, {"DejaVu Sans", 204}, {"No Such Font Here", 238}, {"Tahoma", 0}};
    const QStringList Installed = QFontDatabase::families();
    // Each list holds controls of its own class (the font is set through that class).
    std::vector<std::pair<std::string, TControl*>> Controls = {{"window", F}};
    auto Add = [&](std::span<const char* const> Names, auto Cast) {
        for (const char* Name : Names)
            Controls.emplace_back(Name, Cast(F->FindComponent(Name)));
    };
    Add(Font_Controls(), [](TComponent* C) { return dynamic_cast<TControl*>(C); });
    Add(Font_Panels(), [](TComponent* C) { return dynamic_cast<TPanel*>(C); });
    Add(Font_Labels(), [](TComponent* C) { return dynamic_cast<TLabel*>(C); });
    Add(Font_Edits(), [](TComponent* C) { return dynamic_cast<TEdit*>(C); });
    Add(Font_GroupBoxes(), [](TComponent* C) { return dynamic_cast<TGroupBox*>(C); });
    for (const Row& R : Rows) {
        Settings.Font_Name = R.Font_Name;
        Settings.Font_Charset = R.Charset;
        F->Language_Fonts_Apply();
        for (const auto& [Name, C] : Controls) {
            ASSERT_NE(C, nullptr) << Name;
            EXPECT_EQ(C->Font().Name(), R.Font_Name) << C->Name();
            EXPECT_EQ(C->Font().Charset(), R.Charset) << C->Name();
            const QString Shown = QFontInfo(C->Widget()->font()).family();
            EXPECT_TRUE(Installed.contains(Shown)) << C->Name() << " shows " << Shown.toStdString();
        }
        EXPECT_EQ(F->Label_GEN_RPM_Dig->Font().Pixels(), Digits_Before.Pixels());
        EXPECT_EQ(F->Label_GEN_RPM_Dig->Font().Style(), Digits_Before.Style());
        EXPECT_EQ(F->Label_GEN_RPM_Dig->Font().Color(), Digits_Before.Color());
    }
}

// The pages in a Cyrillic language (character set 204, a Windows-1251 file): the texts reach
// the controls as the file holds them, in the language's character set. With KARDUN_SHOT_DIR
// set, every page is saved as a picture to look at.
TEST_F(Language_Fonts, PagesInACyrillicLanguage)
{
    std::filesystem::create_directory(Folder->File("Language"));
    Folder->Write("Language/Russian.lng", Cyrillic_Language_File());
    Folder->Write("KardunGD.ini", Settings_With_Port("ttyTEST4") + Key_File_Pad_Key("Language") + "Russian {}\r\n" +
                                      Key_File_Pad_Key("Russian_C") + "204 {}\r\n");
    Create();
    TForm_KardunGAS* F = Main();
    EXPECT_EQ(F->TabSheet_General->Caption(), "F1 \xC3\xE5\xED\xE5\xF0\xE0\xEB");
    EXPECT_EQ(F->Font().Charset(), 204);
    EXPECT_EQ(F->Label_GEN_RPM->Font().Charset(), 204);
    // A label with a font of its own outside the lists reads the language's texts too.
    EXPECT_FALSE(F->Label_GEN_GasLevel->ParentFont());
    EXPECT_EQ(F->Label_GEN_GasLevel->Font().Charset(), 204);
    EXPECT_NE(F->Label_GEN_GasLevel->Font().Name(), Settings.Font_Name);
    if (const char* Keep = std::getenv("KARDUN_SHOT_DIR")) {
        F->Show();
        for (int Page = 0; Page < F->PageControl_KardunGAS->PageCount(); ++Page) {
            F->PageControl_KardunGAS->ActivePageIndex(Page);
            Pump_For(30);
            EXPECT_TRUE(ui::Render_To_PNG(F, std::string(Keep) + "/texts_Russian_" + std::to_string(Page) + ".png"));
        }
    }
}

class Window_Fonts : public Main_Window_Fixture {};

// Each service window takes the language's font when it applies its texts.
TEST_F(Window_Fonts, EveryWindowTakesTheLanguagesFontWithItsTexts)
{
    Create();
    Form_RPM = Create_Form<TForm_RPM>(nullptr);
    auto* Port = Create_Form<TForm_Port>(nullptr);
    Settings.Font_Name = "DejaVu Serif";
    Settings.Font_Charset = 204;
    struct Row {
        const char* Window;
        std::function<void()> Apply;
        std::function<std::vector<TControl*>()> Controls;
    };
    const Row Rows[] = {
        {"loader", [] { Form_Loader->Apply_Texts(); },
         [] { return std::vector<TControl*>{Form_Loader, Form_Loader->Panel_Connect_Loader, Form_Loader->Label_Loader_Prompt,
                                            Form_Loader->GroupBox_Loader, Form_Loader->Edit_Loader_File_Ver,
                                            Form_Loader->Button_Loader_Exit}; }},
        {"sweep", [] { Form_RPM->Init_Form_RPM(); },
         [] { return std::vector<TControl*>{Form_RPM, Form_RPM->Panel_RPM}; }},
        {"port search", [Port] { Port->FormActivate(Port); },
         [Port] { return std::vector<TControl*>{Port, Port->Panel_Port_Name, Port->Label_Port_Search}; }},
        {"password", [] { Form_PSW->FormActivate(Form_PSW); },
         [] { return std::vector<TControl*>{Form_PSW, Form_PSW->Label_PSW_Warning, Form_PSW->Label_PSW_Ok}; }},
        {"message", [] {
             Show_Message(Message_Type::Text, "Text", clRed);
             Pump_Until([] { return Form_MSG->Visible(); }, 2000);
         },
         [] { return std::vector<TControl*>{Form_MSG->Label_Text}; }},
    };
    for (const Row& R : Rows) {
        R.Apply();
        for (TControl* C : R.Controls()) {
            ASSERT_NE(C, nullptr) << R.Window;
            EXPECT_EQ(C->Font().Name(), "DejaVu Serif") << R.Window << ": " << C->Name();
            EXPECT_EQ(C->Font().Charset(), 204) << R.Window << ": " << C->Name();
        }
    }
    Port->Free();
    Form_RPM->Free();
}

}  // namespace
