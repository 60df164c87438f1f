// The Settings, Errors and About pages' handlers on the main window.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "main/Main_Test_Support.h"
#include "platform/system/Shell.h"
#include "platform/ui/Runtime.h"
#include "data/Text_Util.h"
#include "windows/ICO_Window.h"

namespace {

using namespace main_test;

std::vector<std::string> Opened;
bool Record_Open(const std::string& Path)
{
    Opened.push_back(Path);
    return true;
}

class Pages : public Main_Window_Fixture {
protected:
    void SetUp() override
    {
        Main_Window_Fixture::SetUp();
        Opened.clear();
        sys::Set_Shell_Open_Hook(Record_Open);
        Folder->Write("KardunGD.ini", Settings_With_Port("ttyTEST1"));
        Create();
    }
    void TearDown() override
    {
        sys::Set_Shell_Open_Hook(nullptr);
        Main_Window_Fixture::TearDown();
    }
    static bool In_File(const std::string& Key) { return Key_File_Find_In_File(Settings_File_Path(), Key); }
};

TEST_F(Pages, SaveWritesTheSettingsTheOscilloscopeAndTheOpenBigDigitWindowsLoadAndDefaultReadThemBack)
{
    Main()->Open_ICO_Window(4);
    Main()->CheckBox_Transmit_Now->Checked(true);
    Main()->Button_INI_Save->Click();
    for (const std::string& Key : std::vector<std::string>{"Transmit_Now", "OSC_Step_Grid", ICO_Keys(4)[0]})
        EXPECT_TRUE(In_File(Key)) << Key;
    EXPECT_FALSE(In_File(ICO_Keys(5)[0]));
    ASSERT_TRUE(Key_File_Find_In_File(Settings_File_Path(), "Transmit_Now"));
    EXPECT_EQ(Upper_Case(Key_Value), "TRUE");

    // Load puts the file's state back on the page; Default the defaults.
    Settings.Transmit_Now = false;
    Main()->Button_INI_Load->Click();
    EXPECT_TRUE(Settings.Transmit_Now);
    EXPECT_TRUE(Main()->CheckBox_Transmit_Now->Checked());
    Main()->Button_INI_Default->Click();
    EXPECT_EQ(Settings.Transmit_Now, Settings_Class{}.Transmit_Now);
    EXPECT_EQ(Main()->CheckBox_Transmit_Now->Checked(), Settings_Class{}.Transmit_Now);
    EXPECT_EQ(Main()->UpDown_Reply_Delay->Position(), Settings_Class{}.Reply_Delay);
}

TEST_F(Pages, EachLabelTogglesItsBoxAndTheBoxStoresItsSetting)
{
    auto* M = Main();
    const struct {
        TLabel* Label;
        TCheckBox* Box;
        bool* Setting;
    } Rows[] = {
        {M->Label_Full_Screen, M->CheckBox_Full_Screen, &Settings.Full_Screen},
        {M->Label_Form_Style, M->CheckBox_Form_Style, &Settings.Form_Style},
        {M->Label_checkPassword, M->CheckBox_checkPassword, &Settings.CheckPassword},
        {M->Label_Show_Auxiliary, M->CheckBox_Show_Auxiliary, &Settings.Show_Auxiliary},
        {M->Label_SaveLoadData, M->CheckBox_SaveLoadData, &Settings.Save_Load_Data},
        {M->Label_Transmit_Now, M->CheckBox_Transmit_Now, &Settings.Transmit_Now},
        {M->Label_Search_Port, M->CheckBox_Search_Port, &Settings.Search_Port},
    };
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Box->Name());
        for (int Click = 0; Click < 2; ++Click) {
            const bool Before = R.Box->Checked();
            R.Label->Click();
            EXPECT_NE(R.Box->Checked(), Before);
            EXPECT_EQ(*R.Setting, R.Box->Checked());
        }
    }
}

TEST_F(Pages, ReplyDelayAndCompensationFollowTheirUpDowns)
{
    const struct {
        TUpDown* Up_Down;
        int From;
        TUD_Button Step;
        int32_t* Setting;
        int Expected;
        TColor Colour;
    } Rows[] = {
        {Main()->UpDown_Reply_Delay, 60, TUD_Button::Up, &Settings.Reply_Delay, 65, TColor(0xB0B0FF)},
        {Main()->UpDown_Reply_Delay, 65, TUD_Button::Down, &Settings.Reply_Delay, 60, clWindow},
        {Main()->UpDown_INI_Delay_Compensation, 100, TUD_Button::Down, &Settings.Delay_Compensation, 95,
         clWindow},
    };
    Settings.Reply_Delay = 60;
    Main()->Settings_Reply_Delay_Colour();
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Expected);
        R.Up_Down->Position(R.From);
        ASSERT_TRUE(R.Up_Down->Step(R.Step));
        EXPECT_EQ(*R.Setting, R.Expected);
        EXPECT_EQ(Main()->Edit_Reply_Delay->Color(), R.Colour);
    }
}

TEST_F(Pages, StayOnTopAtOnceAndDroppedByTheLoaderButton)
{
    Main()->Label_Form_Style->Click();
    EXPECT_EQ(Main()->FormStyle(), TForm_Style::Stay_On_Top);
    Main()->Button_HEX_LoaderClick(nullptr);
    EXPECT_EQ(Main()->FormStyle(), TForm_Style::Normal);
    EXPECT_TRUE(Settings.Form_Style);   // the setting stays for the next start
    Form_Loader->Close();
    Main()->CheckBox_Form_Style->Checked(false);
    EXPECT_EQ(Main()->FormStyle(), TForm_Style::Normal);
}

TEST_F(Pages, AFontChosenInTheDialogBecomesTheLanguageFontOfTheWindow)
{
    ui::TDialog_Answer Cancel;
    Cancel.Result = mrCancel;
    ui::TDialog_Answer Chosen;
    Chosen.Font_Name = "DejaVu Serif";
    Chosen.Font_Charset = 204;
    ui::Answer_Next_Dialog(Cancel);
    ui::Answer_Next_Dialog(Chosen);
    const std::string Old_Name = Settings.Font_Name;
    Main()->Button_Setup_Font->Click();
    EXPECT_EQ(Settings.Font_Name, Old_Name);
    Main()->Button_Setup_Font->Click();
    EXPECT_EQ(Settings.Font_Name, "DejaVu Serif");
    EXPECT_EQ(Settings.Font_Charset, 204);
    for (TControl* C : std::vector<TControl*>{Main()->Label_Full_Screen, Main()->Button_INI_Save,
                                              Main()->Memo_ERR_Current}) {
        EXPECT_EQ(C->Font().Name(), "DejaVu Serif") << C->Name();
        EXPECT_EQ(C->Font().Charset(), 204) << C->Name();
    }
}

TEST_F(Pages, ClearingErrorsNotConnectedMarksTheWordAndTheListOnly)
{
    Error_Memo_Shown = true;
    Main()->Button_ERR_Clear->Click();
    EXPECT_EQ(Error_Control_Word & 1, 1);
    EXPECT_FALSE(Error_Memo_Shown);
    EXPECT_EQ(Request_Code, 0);
}

TEST_F(Pages, TheDiagramInTheLanguageThenInEnglishThenTheDialog)
{
    const struct {
        const char* Program;
        std::vector<std::string> Files;   // in the language folder
        std::string Opened;               // empty: the dialog
    } Rows[] = {
        {"GD_MAIN", {"GD_MAIN_Ger.jpg", "GD_MAIN_Eng.jpg"}, "GD_MAIN_Ger.jpg"},
        {"GD_MAIN", {"GD_MAIN_Eng.jpg"}, "GD_MAIN_Eng.jpg"},
        {"GD_MAIN", {"GD_MAIN_Rus.jpg"}, ""},
        {"../x", {"../x_Ger.jpg", "../x_Eng.jpg"}, ""},
        {"", {"_Ger.jpg", "_Eng.jpg"}, ""},
    };
    Settings.Language = "German";
    std::filesystem::create_directories(Language_Dir);
    const std::string Chosen = Folder->File("Chosen.jpg");
    for (const auto& R : Rows) {
        SCOPED_TRACE(std::string(R.Program) + " " + R.Opened);
        for (const std::string& F : R.Files)
            Put_File(Language_Dir + "/" + F, "jpg");
        Configuration.Program_Name = R.Program;
        Opened.clear();
        if (R.Opened.empty())
            ui::Answer_Next_File_Dialog(Chosen);
        Main()->Button_About_Diagram->Click();
        EXPECT_EQ(Opened, std::vector<std::string>{R.Opened.empty() ? Chosen : Language_Dir + "/" + R.Opened});
        for (const std::string& F : R.Files)
            std::filesystem::remove(Language_Dir + "/" + F);
    }
}

TEST_F(Pages, ALanguageChangeRewritesTheErrorListAndTheYellowWireList)
{
    std::filesystem::create_directories(Language_Dir);
    Put_File(Language_Dir + "/Testish.lng",
             "first line\r\nMemo_ERR_OK No faults here\r\nYW_Petrol_Valve_OFF Valve off here\r\n");
    Main()->Show_Error_Memo();
    const std::string English_List = Main()->Memo_ERR_Current->Lines().Text();
    Main()->ComboBox_Language->Items().Add("Testish");
    Main()->ComboBox_Language->Text("Testish");
    Main()->ComboBox_LanguageChange(Main()->ComboBox_Language);
    EXPECT_EQ(Settings.Language, "Testish");
    EXPECT_NE(Main()->Memo_ERR_Current->Lines().Text(), English_List);
    EXPECT_EQ(Main()->Memo_ERR_Current->Lines()[0], "No faults here");
    EXPECT_EQ(Main()->ComboBox_CFG_PG_Yellow_Wire->Items()[0], "Valve off here");
}

TEST_F(Pages, HelpOpensTheChosenDocumentAndNothingWhenCancelled)
{
    ui::Answer_Next_File_Dialog("");
    Main()->Button_About_Help->Click();
    EXPECT_TRUE(Opened.empty());
    ui::Answer_Next_File_Dialog(Help_Dir + "/Manual.pdf");
    Main()->Button_About_Help->Click();
    EXPECT_EQ(Opened, std::vector<std::string>{Help_Dir + "/Manual.pdf"});
}

}  // namespace
