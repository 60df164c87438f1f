// The Settings, Errors and About pages' handlers on the main window.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "data/Text_Util.h"
#include "main/Main_Test_Support.h"
#include "platform/system/Shell.h"
#include "platform/ui/Runtime.h"
#include "windows/ICO_Window.h"

namespace {

using namespace main_test;

std::vector<std::string> Opened;
bool Record_Open(const std::string& Path) { return Opened.push_back(Path), true; }

class Pages : public Main_Window_Fixture {
protected:
    void SetUp() override
    {
        Main_Window_Fixture::SetUp();
        Opened.clear();
        sys::Set_Shell_Open_Hook(Record_Open);
        Create();
        std::filesystem::create_directories(Language_Dir);
    }
    void TearDown() override { sys::Set_Shell_Open_Hook(nullptr), Main_Window_Fixture::TearDown(); }
};

TEST_F(Pages, SaveLoadAndDefault)
{
    Main()->Open_ICO_Window(4);
    Main()->CheckBox_Transmit_Now->Checked(true);
    Main()->Button_INI_Save->Click();
    for (const std::string& Key : std::vector<std::string>{"OSC_Step_Grid", ICO_Keys(4)[0], "Transmit_Now"})
        EXPECT_TRUE(Key_File_Find_In_File(Settings_File_Path(), Key)) << Key;
    EXPECT_EQ(Upper_Case(Key_Value), "TRUE");
    Settings.Transmit_Now = false;
    Main()->Button_INI_Load->Click();
    EXPECT_TRUE(Main()->CheckBox_Transmit_Now->Checked() && Settings.Transmit_Now);
    Main()->Button_INI_Default->Click();
    EXPECT_EQ(Main()->CheckBox_Transmit_Now->Checked(), Settings_Class{}.Transmit_Now);
}

TEST_F(Pages, LabelsBoxesDelaysStayOnTopAndClearErrors)
{
    auto* M = Main();
    const std::pair<TLabel*, bool*> Rows[] = {
        {M->Label_Full_Screen, &Settings.Full_Screen},       {M->Label_Form_Style, &Settings.Form_Style},
        {M->Label_checkPassword, &Settings.CheckPassword},   {M->Label_Show_Auxiliary, &Settings.Show_Auxiliary},
        {M->Label_SaveLoadData, &Settings.Save_Load_Data},   {M->Label_Transmit_Now, &Settings.Transmit_Now},
        {M->Label_Search_Port, &Settings.Search_Port}};
    for (const auto& [Label, Setting] : Rows)
        for (const bool Before : {*Setting, !*Setting})
            EXPECT_NE((Label->Click(), *Setting), Before) << Label->Name();
    M->CheckBox_Form_Style->Checked(true);
    EXPECT_EQ(M->FormStyle(), TForm_Style::Stay_On_Top);
    M->Button_HEX_Loader->Click();
    EXPECT_EQ(M->FormStyle(), TForm_Style::Normal);
    for (const auto& [From, Step, Colour] : {std::tuple{60, TUD_Button::Up, TColor(0xB0B0FF)},
                                             std::tuple{65, TUD_Button::Down, clWindow}}) {
        M->UpDown_Reply_Delay->Position(From);
        M->UpDown_Reply_Delay->Step(Step);
        EXPECT_EQ(M->Edit_Reply_Delay->Color(), Colour) << From;
    }
    EXPECT_EQ(Settings.Reply_Delay, 60);
    M->Button_ERR_Clear->Click();
    EXPECT_EQ(Error_Control_Word & 1, 1);
    EXPECT_EQ(Request_Code, 0);   // not connected: nothing goes out
}

TEST_F(Pages, FontAndLanguageChange)
{
    ui::TDialog_Answer Chosen;
    Chosen.Font_Name = "DejaVu Serif";
    Chosen.Font_Charset = 204;
    ui::Answer_Next_Dialog(Chosen);
    Main()->Button_Setup_Font->Click();
    EXPECT_EQ(Main()->Label_Full_Screen->Font().Name() + std::to_string(Settings.Font_Charset), "DejaVu Serif204");
    Put_File(Language_Dir + "/Testish.lng", "-\r\nMemo_ERR_OK No faults\r\nYW_Petrol_Valve_OFF Valve off\r\n");
    Main()->ComboBox_Language->Items().Add("Testish");
    Main()->ComboBox_Language->Text("Testish");
    Main()->ComboBox_LanguageChange(nullptr);
    EXPECT_EQ(Main()->Memo_ERR_Current->Lines()[0], "No faults");
    EXPECT_EQ(Main()->ComboBox_CFG_PG_Yellow_Wire->Items()[0], "Valve off");
}

TEST_F(Pages, DiagramInTheLanguageThenEnglishThenTheDialogAndHelp)
{
    const std::tuple<std::string, std::vector<std::string>, std::string> Rows[] = {
        {"GD", {"GD_Ger.jpg", "GD_Eng.jpg"}, "GD_Ger.jpg"}, {"GD", {"GD_Eng.jpg"}, "GD_Eng.jpg"},
        {"GD", {"GD_Rus.jpg"}, ""}, {"../x", {"../x_Ger.jpg"}, ""}, {"", {"_Ger.jpg"}, ""}};
    Settings.Language = "German";
    for (const auto& [Program, Files, Expected] : Rows) {
        for (const std::string& F : Files)
            Put_File(Language_Dir + "/" + F, "jpg");
        Configuration.Program_Name = Program;
        if (Expected.empty())
            ui::Answer_Next_File_Dialog("/c.jpg");   // an unasked dialog fails the test
        Main()->Button_About_Diagram->Click();
        EXPECT_EQ(Opened.back(), Expected.empty() ? "/c.jpg" : Language_Dir + "/" + Expected) << Program;
        for (const std::string& F : Files)
            std::filesystem::remove(Language_Dir + "/" + F);
    }
    ui::Answer_Next_File_Dialog("");
    Main()->Button_About_Help->Click();
    EXPECT_EQ(Opened.size(), std::size(Rows));
}

}  // namespace
