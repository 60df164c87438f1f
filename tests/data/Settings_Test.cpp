// Program settings: defaults, loading, range checks, branding and the save sequence.
#include "data/Configuration.h"
#include "data/Globals.h"
#include "data/Key_File.h"
#include "data/Settings.h"
#include "language/Language.h"
#include "platform/system/Files.h"
#include "platform/system/Priority.h"
#include "main/Process_State.h"

#include <gtest/gtest.h>

#include "common/Test_Folder.h"

#include <cerrno>
#include <filesystem>

namespace {

class Settings_Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Folder.Made());
        Dir = Folder.Path();
        Reset_All_State();
        Key_File_Set_Report_Hook([this](const std::string& text) { Reports.push_back(text); });
        Program_Dir = Dir;
        Use_Program_Name("Service");
        Language_Dir = Dir + "/Language";
        std::filesystem::create_directory(Language_Dir);
        Configuration.RPM_Idle_Run = 0;
    }
    void TearDown() override { Reset_All_State(); }
    void Use_Program_Name(const std::string& name)
    {
        Exe_Name = name;
        Settings_File_Name = name + ".ini";
    }
    void Write_Settings(const std::string& bytes) const { Put_File(Settings_File_Path(), bytes); }
    void Write_Language(const std::string& name, const std::string& bytes) const
    {
        Put_File(Language_Dir + "/" + name + ".lng", bytes);
    }
    std::string Read_Settings() const { return Read_File(Settings_File_Path()); }
    // The value and comment of one key of the settings file as it now stands.
    bool File_Key(const std::string& key, std::string& value, std::string& comment)
    {
        if (!Key_File_Find_In_File(Settings_File_Path(), key)) return false;
        value = Key_Value;
        comment = Key_Comment;
        return true;
    }
    void Run_Save_Sequence()
    {
        Settings_Save_Begin();
        Settings_Save();
        Settings_Save_End();
    }

    Test_Folder Folder{"settings"};
    std::string Dir;
    std::vector<std::string> Reports;
};

TEST_F(Settings_Test, DefaultsWithoutASettingsFile)
{
    Settings_Create();
    const Settings_Class& s = Settings;
    EXPECT_FALSE(Settings_File_Readable);
    EXPECT_EQ(s.Port_Name, "ttyUSB0");
    EXPECT_EQ(s.Reply_Delay, 60);
    EXPECT_EQ(s.CFG_File_Path, Dir + "/Config");
    EXPECT_EQ(s.CFG_File_Name, "Service.cfg");
    EXPECT_EQ(s.OSC_File_Path, Dir + "/Oscilloscope");
    EXPECT_EQ(s.OSC_File_Name, "Service.osc");
    EXPECT_EQ(s.Language, "English");
    EXPECT_EQ(Language_List(), std::vector<std::string>{"English"});
    EXPECT_EQ(s.Font_Name, "Tahoma");
    EXPECT_EQ(s.Font_Charset, 1);
    EXPECT_EQ(RPM_Idle_Run_Default, 600);
    // Under another program name without branding keys: plain model names, boxes hidden.
    EXPECT_EQ(s.Name_Block_PIC_1, "GD2");
    EXPECT_EQ(s.Name_Block_PIC_2, "GD6");
    EXPECT_EQ(s.Name_Block_PIC_3, "GD8");
    EXPECT_FALSE(s.Tech_Box_Show);
    EXPECT_FALSE(s.Firm_Box_Show);
}

TEST_F(Settings_Test, DefaultKeepsPortLanguageFontPasswordAndBranding)
{
    Settings.Port_Name = "ttyACM3";
    Settings.Language = "Deutsch";
    Settings.Font_Name = "Arial";
    Settings.CheckPassword = true;
    Settings.Firm_Box_Name = "Firm";
    Settings.Reply_Delay = 200;
    Settings.OSC_View_RPM = true;
    RPM_Idle_Run_Default = 800;
    Settings_Default();
    EXPECT_EQ(Settings.Port_Name, "ttyACM3");
    EXPECT_EQ(Settings.Language, "Deutsch");
    EXPECT_EQ(Settings.Font_Name, "Arial");
    EXPECT_TRUE(Settings.CheckPassword);
    EXPECT_EQ(Settings.Firm_Box_Name, "Firm");
    EXPECT_EQ(Settings.Reply_Delay, 60);
    EXPECT_FALSE(Settings.OSC_View_RPM);
    EXPECT_EQ(RPM_Idle_Run_Default, 600);
}

TEST_F(Settings_Test, FileWithEveryKey)
{
    Write_Language("Deutsch", "first line\r\n");
    Write_Settings(
        "Name_Block_PIC_1 M1\r\nName_Block_PIC_2 M2\r\nName_Block_PIC_3 M3\r\n"
        "Tech_Box_Show True\r\nTech_Box_Name tech@shop.example\r\n"
        "Firm_Box_Show true\r\nFirm_Box_Name Shop\r\nFirm_Address Road 1\r\n"
        "Firm_Phone +00 1\r\nFirm_eMail shop@shop.example\r\nFirm_Site shop.example\r\n"
        "Port_Name /dev/pts/7 {port}\r\nSearch_Port True\r\nReply_Delay 80\r\n"
        "Delay_Compensation 120\r\nSave_Load_Data False\r\nCFG_File_Path /data/cfg\r\n"
        "CFG_File_Name car.cfg\r\nOSC_File_Path /data/osc\r\nOSC_File_Name trace.osc\r\n"
        "Position_Top 11\r\nPosition_Left 22\r\nFull_Screen False\r\nTransmit_Now True\r\n"
        "Page_Number 5\r\nForm_Style True\r\nShow_Hint False\r\nCheckPassword True\r\n"
        "Hint_Length 30\r\nLanguage Deutsch\r\nEnglish_Menu True\r\nShow_Auxiliary True\r\n"
        "Deutsch_N Arial\r\nDeutsch_C 204\r\nEnglish_N Courier\r\n"
        "RPM_Change_Time 500\r\nCLB_View_Grid False\r\nCLB_Diagram_GAS False\r\n"
        "CLB_Diagram_RPM True\r\nCLB_Diagram_TPS_1 False\r\nCLB_Diagram_TPS_2 False\r\n"
        "CLB_Diagram_TPS_3 False\r\nCLB_Diagram_VAC True\r\n"
        "OSC_Max_mls 16\r\nOSC_Max_RPM 8000\r\nOSC_Max_Deg 1540\r\nOSC_Max_Bar 255\r\n"
        "OSC_Max_Volt 1\r\nOSC_View_RPM True\r\nOSC_View_Gas False\r\nOSC_View_TPS False\r\n"
        "OSC_View_DegVap True\r\nOSC_View_DegGas True\r\nOSC_View_PressDiff False\r\n"
        "OSC_View_PressColl False\r\nOSC_View_Detonation False\r\nOSC_View_Grid False\r\n"
        "OSC_Step_Grid 7\r\nOSC_Negativ_Degree False\r\nOSC_Degree_Volt_Pos 3\r\n"
        "CFG_RPM_Idle_Run 750\r\n");
    Settings_Create();
    const Settings_Class& s = Settings;
    EXPECT_TRUE(Settings_File_Readable);
    EXPECT_EQ(s.Name_Block_PIC_1, "M1");
    EXPECT_EQ(s.Name_Block_PIC_3, "M3");
    EXPECT_TRUE(s.Tech_Box_Show);
    EXPECT_EQ(s.Tech_Box_Name, "tech@shop.example");
    EXPECT_TRUE(s.Firm_Box_Show);
    EXPECT_EQ(s.Firm_Address, "Road 1");
    EXPECT_EQ(s.Firm_Phone, "+00 1");
    EXPECT_EQ(s.Firm_Site, "shop.example");
    EXPECT_EQ(s.Port_Name, "/dev/pts/7");
    EXPECT_EQ(Preferred_Port, "/dev/pts/7");
    EXPECT_TRUE(s.Search_Port);
    EXPECT_EQ(s.Reply_Delay, 80);
    EXPECT_EQ(s.Delay_Compensation, 120);
    EXPECT_FALSE(s.Save_Load_Data);
    EXPECT_EQ(s.CFG_File_Path, "/data/cfg");
    EXPECT_EQ(s.CFG_File_Name, "car.cfg");
    EXPECT_EQ(s.OSC_File_Path, "/data/osc");
    EXPECT_EQ(s.OSC_File_Name, "trace.osc");
    EXPECT_EQ(s.Position_Top, 11);
    EXPECT_EQ(s.Position_Left, 22);
    EXPECT_FALSE(s.Full_Screen);
    EXPECT_TRUE(s.Transmit_Now);
    EXPECT_EQ(s.Page_Number, 5);
    EXPECT_TRUE(s.Form_Style);
    EXPECT_FALSE(s.Show_Hint);
    EXPECT_TRUE(s.CheckPassword);
    EXPECT_EQ(s.Hint_Length, 30);
    EXPECT_EQ(s.Language, "Deutsch");
    EXPECT_TRUE(s.English_Menu);
    EXPECT_TRUE(s.Show_Auxiliary);
    EXPECT_EQ(s.Language_Names[1], "Deutsch");
    EXPECT_EQ(s.Font_Name, "Arial");  // the font keys of the language read, not English's
    EXPECT_EQ(s.Font_Charset, 204);
    EXPECT_EQ(s.RPM_Change_Time, 500);
    EXPECT_FALSE(s.CLB_View_Grid);
    EXPECT_FALSE(s.CLB_Diagram_GAS);
    EXPECT_TRUE(s.CLB_Diagram_RPM);
    EXPECT_FALSE(s.CLB_Diagram_TPS_1);
    EXPECT_FALSE(s.CLB_Diagram_TPS_2);
    EXPECT_FALSE(s.CLB_Diagram_TPS_3);
    EXPECT_TRUE(s.CLB_Diagram_VAC);
    EXPECT_EQ(s.OSC_Max_mls, 16);
    EXPECT_EQ(s.OSC_Max_RPM, 8000);
    EXPECT_EQ(s.OSC_Max_Deg, 1540);
    EXPECT_EQ(s.OSC_Max_Bar, 255);
    EXPECT_EQ(s.OSC_Max_Volt, 1);
    EXPECT_TRUE(s.OSC_View_RPM);
    EXPECT_FALSE(s.OSC_View_Gas);
    EXPECT_FALSE(s.OSC_View_TPS);
    EXPECT_TRUE(s.OSC_View_DegVap);
    EXPECT_TRUE(s.OSC_View_DegGas);
    EXPECT_FALSE(s.OSC_View_PressDiff);
    EXPECT_FALSE(s.OSC_View_PressColl);
    EXPECT_FALSE(s.OSC_View_Detonation);
    EXPECT_FALSE(s.OSC_View_Grid);
    EXPECT_EQ(s.OSC_Step_Grid, 7);
    EXPECT_FALSE(s.OSC_Negativ_Degree);
    EXPECT_EQ(s.OSC_Degree_Volt_Pos, 3);
    EXPECT_EQ(RPM_Idle_Run_Default, 750);
    EXPECT_FALSE(Key_File_Is_Open);
}

TEST_F(Settings_Test, UnreadableValuesKeepTheFieldAndRangesAreChecked)
{
    Write_Settings("Reply_Delay 0\r\nDelay_Compensation 1000\r\nHint_Length 0\r\n"
                   "Page_Number 7\r\nRPM_Change_Time 0\r\nOSC_Max_RPM 9000\r\n"
                   "OSC_Max_Bar 256\r\nOSC_Max_mls 0\r\nOSC_Max_Deg 1541\r\nOSC_Max_Volt -1\r\n"
                   "Position_Top abc\r\nFull_Screen yes\r\nCFG_RPM_Idle_Run 0\r\n");
    Settings.Position_Top = 33;
    Settings_Load();
    const Settings_Class& s = Settings;
    EXPECT_EQ(s.Reply_Delay, 60);
    EXPECT_EQ(s.Delay_Compensation, 100);
    EXPECT_EQ(s.Hint_Length, 40);
    EXPECT_EQ(s.Page_Number, 0);
    EXPECT_EQ(s.RPM_Change_Time, 1000);
    EXPECT_EQ(s.OSC_Max_RPM, 5000);
    EXPECT_EQ(s.OSC_Max_Bar, 200);
    EXPECT_EQ(s.OSC_Max_mls, 32);
    EXPECT_EQ(s.OSC_Max_Deg, 1000);
    EXPECT_EQ(s.OSC_Max_Volt, 500);
    EXPECT_EQ(s.Position_Top, 33);
    EXPECT_TRUE(s.Full_Screen);
    EXPECT_EQ(RPM_Idle_Run_Default, 600);

    Write_Settings("Reply_Delay 5000\r\nDelay_Compensation 0\r\nHint_Length -2\r\n"
                   "Page_Number -1\r\nReply_Delay 999\r\n");
    Settings_Load();
    EXPECT_EQ(s.Reply_Delay, 60);  // the first of two equal keys counts
    EXPECT_EQ(s.Delay_Compensation, 100);
    EXPECT_EQ(s.Hint_Length, 40);
    EXPECT_EQ(s.Page_Number, 0);

    Write_Settings("Reply_Delay 1\r\nDelay_Compensation 999\r\nHint_Length 1\r\nPage_Number 6\r\n"
                   "RPM_Change_Time 1\r\n");
    Settings_Load();
    EXPECT_EQ(s.Reply_Delay, 1);
    EXPECT_EQ(s.Delay_Compensation, 999);
    EXPECT_EQ(s.Hint_Length, 1);
    EXPECT_EQ(s.Page_Number, 6);
    EXPECT_EQ(s.RPM_Change_Time, 1);
}

TEST_F(Settings_Test, BrandingFollowsTheProgramName)
{
    const std::string keys = "Name_Block_PIC_1 Own 1\r\nTech_Box_Show True\r\n"
                             "Tech_Box_Name own@shop.example\r\nFirm_Box_Show True\r\n"
                             "Firm_Box_Name Own Shop\r\n";
    for (const char* own_name : {"KardunGD", "kardungd"}) {
        Settings_Reset();
        Use_Program_Name(own_name);
        Write_Settings(keys);
        Settings_Create();
        EXPECT_EQ(Settings.Name_Block_PIC_1, "Merivant GD 2") << own_name;
        EXPECT_EQ(Settings.Name_Block_PIC_2, "Merivant GD 6");
        EXPECT_EQ(Settings.Name_Block_PIC_3, "Merivant GD 8");
        EXPECT_TRUE(Settings.Tech_Box_Show);
        EXPECT_TRUE(Settings.Firm_Box_Show);
        EXPECT_EQ(Settings.Firm_Box_Name, "Merivant");
        EXPECT_EQ(Settings.Firm_Phone, "+00 000 000 000");
        for (const std::string* line : {&Settings.Tech_Box_Name, &Settings.Firm_eMail})
            EXPECT_NE(line->find(".example"), std::string::npos) << *line;
        EXPECT_NE(Settings.Firm_Site.find(".example"), std::string::npos);
    }

    Settings_Reset();
    Use_Program_Name("Service");
    Write_Settings(keys);
    Settings_Create();
    EXPECT_EQ(Settings.Name_Block_PIC_1, "Own 1");
    EXPECT_EQ(Settings.Name_Block_PIC_2, "GD6");
    EXPECT_TRUE(Settings.Tech_Box_Show);
    EXPECT_EQ(Settings.Tech_Box_Name, "own@shop.example");
    EXPECT_EQ(Settings.Firm_Box_Name, "Own Shop");
}

TEST_F(Settings_Test, CreateRunsTheWindowSideInOrder)
{
    std::vector<std::string> calls;
    Settings_Hooks.To_Form = [&] { calls.push_back("To_Form"); };
    Settings_Hooks.Mark_Controls = [&] { calls.push_back("Mark_Controls"); };
    Settings_Hooks.About_Apply = [&] {
        calls.push_back("About_Apply:" + Settings.Name_Block_PIC_1);
    };
    Settings_Hooks.ICO_Load = [&] {
        calls.push_back(Key_File_Is_Open ? "ICO_Load:open" : "ICO_Load:closed");
    };
    Use_Program_Name("KardunGD");
    Write_Settings("Port_Name ttyS1\r\n");
    Settings_Create();
    const std::vector<std::string> expected = {"ICO_Load:open", "To_Form", "Mark_Controls",
                                               "About_Apply:Merivant GD 2"};
    EXPECT_EQ(calls, expected);
}

TEST_F(Settings_Test, SaveWritesEveryKeyAndKeepsHandWrittenKeys)
{
    Write_Settings("[Section]\r\nmy_own_key 12 {mine}\r\nFirm_Site shop.example\r\n");
    Configuration.RPM_Idle_Run = 720;
    std::vector<std::string> calls;
    Settings_Hooks.ICO_Save = [&] { calls.push_back(Key_File_Is_Open ? "open" : "closed"); };
    Settings_Hooks.Load_Button_Enable = [&](bool on) { calls.push_back(on ? "load on" : "load off"); };
    Settings_Create();
    Settings.Reply_Delay = 75;
    Settings.Show_Hint = false;
    Run_Save_Sequence();
    EXPECT_TRUE(Settings_File_Readable);
    EXPECT_EQ(calls, (std::vector<std::string>{"load on", "open"}));

    const std::string file = Read_Settings();
    EXPECT_EQ(file.find("[Section]"), std::string::npos);
    EXPECT_NE(file.find("MY_OWN_KEY                   12 {mine}\r\n"), std::string::npos);
    EXPECT_NE(file.find("FIRM_SITE                    shop.example {"), std::string::npos);
    EXPECT_EQ(file.rfind("\r\n"), file.size() - 2);

    std::string value, comment;
    const char* const keys[] = {
        "Secret_Key", "Port_Name", "Search_Port", "Reply_Delay", "Delay_Compensation",
        "Save_Load_Data", "CFG_File_Path", "CFG_File_Name", "Position_Top", "Position_Left",
        "Full_Screen", "Transmit_Now", "Form_Style", "Show_Hint", "Hint_Length", "Language",
        "English_Menu", "English_N", "English_C", "CheckPassword", "Show_Auxiliary",
        "Page_Number", "CLB_View_Grid", "CLB_Diagram_GAS", "CLB_Diagram_RPM",
        "CLB_Diagram_TPS_1", "CLB_Diagram_TPS_2", "CLB_Diagram_TPS_3", "CLB_Diagram_VAC",
        "RPM_Change_Time", "CFG_RPM_Idle_Run"};
    int32_t last_index = -1;
    for (const char* key : keys) {
        ASSERT_TRUE(File_Key(key, value, comment)) << key;
        EXPECT_GT(Key_Index, last_index) << key << " out of order";
        last_index = Key_Index;
    }
    ASSERT_TRUE(File_Key("Reply_Delay", value, comment));
    EXPECT_EQ(value, "75");
    EXPECT_EQ(comment, "Delay before a request is sent, ms");
    ASSERT_TRUE(File_Key("Show_Hint", value, comment));
    EXPECT_EQ(value, "False");
    ASSERT_TRUE(File_Key("CFG_RPM_Idle_Run", value, comment));
    EXPECT_EQ(value, "720");
    ASSERT_TRUE(File_Key("Secret_Key", value, comment));
    EXPECT_EQ(value, "");
    EXPECT_EQ(comment, "");

    // What was saved loads back.
    Settings_Reset();
    Settings_Create();
    EXPECT_EQ(Settings.Reply_Delay, 75);
    EXPECT_FALSE(Settings.Show_Hint);
    EXPECT_EQ(RPM_Idle_Run_Default, 720);
}

TEST_F(Settings_Test, EnglishMenuSaveWritesEnglishCommentsButKeepsTheLanguage)
{
    Write_Language("Deutsch", "Deutsch\r\nPort_Name_Rem Anschluss\r\nLanguage_Rem Sprache\r\n"
                              "Reply_Delay_Rem Wartezeit\r\n");
    Settings_Create();
    Settings.Language = "Deutsch";
    Settings.Font_Name = "Arial";
    Settings.Font_Charset = 238;

    Settings.English_Menu = true;
    Run_Save_Sequence();
    EXPECT_EQ(Settings.Language, "Deutsch");
    std::string value, comment;
    ASSERT_TRUE(File_Key("Port_Name", value, comment));
    EXPECT_EQ(comment, "Serial port of the controller");
    ASSERT_TRUE(File_Key("Language", value, comment));
    EXPECT_EQ(value, "Deutsch");
    EXPECT_EQ(comment, "Sprache");
    ASSERT_TRUE(File_Key("Deutsch_N", value, comment));
    EXPECT_EQ(value, "Arial");
    ASSERT_TRUE(File_Key("Deutsch_C", value, comment));
    EXPECT_EQ(value, "238");
    EXPECT_FALSE(File_Key("English_N", value, comment));

    Settings.English_Menu = false;
    Run_Save_Sequence();
    ASSERT_TRUE(File_Key("Reply_Delay", value, comment));
    EXPECT_EQ(comment, "Wartezeit");
    ASSERT_TRUE(File_Key("Show_Hint", value, comment));
    EXPECT_EQ(comment, "Show hints");  // the file lacks it: English behind it

    Settings_Reset();
    Settings_Create();
    EXPECT_EQ(Settings.Language, "Deutsch");
    EXPECT_EQ(Settings.Font_Name, "Arial");
    EXPECT_EQ(Settings.Font_Charset, 238);
}

TEST_F(Settings_Test, FailedSaveKeepsTheOldFileAndTheLanguage)
{
    Write_Settings("Reply_Delay 90 {old}\r\n");
    Settings_Create();
    Settings.Language = "Deutsch";
    Settings.English_Menu = true;
    Settings.Reply_Delay = 120;
    sys::Set_Write_Hook([](int, const void*, size_t) -> ssize_t {
        errno = EIO;
        return -1;
    });
    Settings_Save_Begin();
    Settings_Save();
    EXPECT_FALSE(Settings_Save_End());
    EXPECT_EQ(Settings.Language, "Deutsch");
    EXPECT_EQ(Read_Settings(), "Reply_Delay 90 {old}\r\n");
    EXPECT_EQ(Reports.size(), 1u);
    EXPECT_FALSE(Key_File_Is_Open);
    EXPECT_TRUE(Language_Keys.empty());
}

TEST_F(Settings_Test, SettingsFileThatCannotBeReadSurvivesStartAndShutdown)
{
    const std::string old_bytes = "Port_Name ttyS3 {mine}\r\nReply_Delay 90 {old}\r\n";
    Write_Settings(old_bytes);
    sys::Set_Read_Hook([](int, void*, size_t) -> ssize_t {
        errno = EACCES;
        return -1;
    });
    bool load_button = false;
    Settings_Hooks.Load_Button_Enable = [&](bool enabled) { load_button = enabled; };
    Settings_Create();
    EXPECT_FALSE(Settings_File_Readable);
    EXPECT_EQ(Settings.Reply_Delay, 60);
    Settings_Save_Begin();
    Settings_Save();
    EXPECT_FALSE(Settings_Save_End());
    EXPECT_FALSE(Settings_File_Readable);
    EXPECT_FALSE(load_button);
    sys::Reset_File_Hooks();
    EXPECT_EQ(Read_Settings(), old_bytes);
    EXPECT_FALSE(Reports.empty());
}

TEST_F(Settings_Test, LanguageFontReadsTheKeysOfTheCurrentLanguage)
{
    Write_Settings("Deutsch_N Arial\r\nDeutsch_C 238\r\nPolski_N Verdana\r\n");
    Settings.Language = "Polski";
    Settings_Language_Font_Read();
    EXPECT_EQ(Settings.Font_Name, "Verdana");
    EXPECT_EQ(Settings.Font_Charset, 1);
    Settings.Language = "Deutsch";
    Settings_Language_Font_Read();
    EXPECT_EQ(Settings.Font_Name, "Arial");
    EXPECT_EQ(Settings.Font_Charset, 238);
}

TEST(Settings_Priority, AnswersWithAClassNameAndRefreshesTheReplyDelayColour)
{
    int colour_refreshes = 0;
    Settings_Hooks.Reply_Delay_Colour = [&] { ++colour_refreshes; };
    // An unknown name sets no class; without the privilege nothing changes either way.
    const std::string text = Set_Priority("Turbo");
    EXPECT_TRUE(text == "" || text == "RealTime" || text == "High" || text == "Normal" ||
                text == "Idle")
        << text;
    EXPECT_EQ(colour_refreshes, 1);
    sys::Set_Thread_Priority_Normal();
    Settings_Hooks = Settings_Hooks_Class{};
}

}  // namespace
