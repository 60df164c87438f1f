// The car's configuration file: a record with curves and options saved and loaded back
// into fresh state, the load rules, the names that name no file, and the history copies.
#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <tuple>
#include <string>
#include <vector>

#include "Protocol_Fixture.h"
#include "common/Test_Folder.h"
#include "data/Calibration.h"
#include "data/Conversions.h"
#include "data/GD_Options.h"
#include "data/Injectors.h"
#include "data/Key_File.h"
#include "platform/system/Files.h"
#include "protocol/CFG_File.h"
#include "protocol/CLB_Codec.h"
#include "protocol/Ident.h"
#include "protocol/Live_Data.h"
#include "protocol/Param_Codecs.h"

namespace {

std::time_t Local_Time(int year, int month, int day, int hour, int minute) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_isdst = -1;
  return std::mktime(&t);
}

class CFG_File_Test : public Protocol_Fixture {
 protected:
  void SetUp() override {
    Protocol_Fixture::SetUp();
    ASSERT_TRUE(Folder.Made());
    Fresh_State();
    Protocol_Hooks.Show_Message = [this](uint8_t, const std::string& text, int32_t) { Messages.push_back(text); };
  }
  void TearDown() override {
    Fresh_State();
    Protocol_Fixture::TearDown();
  }

  // A program just started with no car file chosen.
  void Fresh_State() {
    Globals_Reset();
    Settings_Reset();
    Configuration_Reset();
    Key_File_Reset();
    Calibration_Reset();
    Injectors_Reset();
    GD_Options_Reset();
    CFG_File_Reset();
    CLB_Codec_Reset();
    Ident_Reset();
    Error_Word = 0;
    Connected = false;
    Program_Dir = Folder.Path();
    Settings.CFG_File_Path = Folder / "Config";
    Settings.CFG_File_Name = CFG_No_File;
    Configuration_Create();
    Injector_List_Init();
    CFG_Startup_Load();
    CFG_File_Hooks.Clock = [this] { return Clock; };
  }

  std::string Car_File() const { return Folder / "Config/AB123.cfg"; }

  bool Save_As_Car() {
    Settings.CFG_File_Name = "AB123.cfg";
    return Save_CFG_File();
  }

  bool Load_Car() {
    Load_Path = Car_File();
    return Load_CFG_File();
  }

  Test_Folder Folder{"cfgfile"};
  std::vector<std::string> Messages;
  std::time_t Clock = Local_Time(2026, 12, 7, 14, 5);
};

// Every filed field away from its default.
void Off_Default_Record() {
  Configuration_Class& c = Configuration;
  c.Program_Name = "GD2";   // a model display name, which decoding keeps
  c.Program_Version = "2.07";
  c.Program_Date = "01.02.2026";
  c.Work_Gas = 6000;
  c.Work_Petrol = 1234;
  c.Pressure_1_Bar = 2000;
  c.RPM_Sensitiv = 300;
  c.RPM_Source = 3000000000u;
  c.RPM_Div = 2;
  c.PG_TempVap = 35;
  c.PG_PressDiff = 7;
  c.PG_RPM = 900;
  c.PG_Delay = 6;
  c.PG_Preheating_ON = false;
  c.PG_Preheating = 3;
  c.PG_Yellow_Wire = 4;
  c.PG_YW_Delay = 120;
  c.PG_YW_Impulse = 80;
  c.GP_Buzzer_ON = false;
  c.GP_PressDiff_Low = 4;
  c.GP_PressDiff_High = 25;
  c.GP_TempVap = 15;
  c.GP_Time = 12;
  c.GI_Type = "KEIHIN";
  c.GI_Num = 4;
  c.GI_Div = 2;
  c.GI_Range = 16;
  c.GI_AutoTempGas_ON = false;
  c.GI_AutoTempGas = 25;
  c.GL_Type = "HANA";
  c.GL_Invert_ON = true;
  c.GL_90_ON = true;
  c.GL_Buzzer_ON = false;
  c.GL_Pos_1 = 295;
  c.GL_Pos_5 = 42;
  c.Supp_DiffPress = 120;
  c.Infl_DiffPress_B = -20;
  c.Infl_DiffPress_S = 40;
  c.Supp_TempGas = 50;
  c.Infl_TempGas_B = -5;
  c.Infl_TempGas_S = 15;
  c.Supp_Power = 1300;
  c.Infl_Power = 60;
  c.Check_Sensors_ON = false;
  c.Sensor_OFF = true;
  c.LPG_on = false;
  c.Car_ID = 0x1234;
  c.Car_Model = "Truck 7.5";
  c.Car_Engine = "D6";
  c.Car_Jet = "Common rail";
  c.Date_Mounting = "03.04.2026";
  c.Date_Save = "07.12.2026";
  c.User_Name = "Owner";
  c.User_Phone = "+00 1";
  c.User_Address = "Road 1";
  c.Car_Comments = "first\x1D\x1Asecond";
  c.Service_Time = 250;
  c.Service_Time_Cnt = 9000;
  c.RPM_Idle_Run = 750;
  c.Clock_Timer = 3;
  c.Snake_Length = 12;
  c.GI_Pos_1 = 11;
  c.GI_Pos_6 = 66;
  c.DS_Correction_ON = true;
  c.DS_Timer = 7;
  c.DS_High_Level = 300;
  c.DS_High_Step = 2;
  c.Limit_TPS_ON = true;
  c.Limit_TPS_Snake = 20;
  c.Limit_TPS_Range_RPM = 150;
  c.Limit_RPM_ON = true;
  c.Limit_RPM_Snake = 15;
  c.Limit_Temperature_ON = true;
  c.Limit_Temperature = 650;
  c.Virtual_Injection_ON = true;
  c.Virtual_Injection_Timer = 25;
  c.Emulation_TPS_Config_H = 0x84;
  c.Emulation_TPS_Config_L = 0x42;
  c.Filter_TPS_Time = 50;
  c.Filter_TPS_2_ON = false;
  c.Cut_Off_ON = true;
  c.Cut_Off_Time = 3;
  c.Cut_Off_Volt = 20;
  Injector_Type_Apply();
  for (int n = 0; n < CLB_Points; ++n) {
    CLB_Gas.Out[n] = 2500 + 100 * n;
    CLB_RPM.Out[n] = 9000 + 100 * n;
    CLB_TPS1.Out[n] = 10 * n;
    CLB_TPS2.In[n] = 1 + 100 * n;
    CLB_TPS3.Out[n] = 400 - n;
    CLB_VAC.Out[n] = 11000;
  }
}

TEST_F(CFG_File_Test, SavedRecordLoadsBackIntoFreshStateAndSavesTheSame) {
  Off_Default_Record();
  CFG_File_Named = true;
  const Configuration_Class saved = Configuration;
  const CLB_Curve curves[] = {CLB_Gas, CLB_RPM, CLB_TPS1, CLB_TPS2, CLB_TPS3, CLB_VAC};
  ASSERT_TRUE(Save_As_Car());
  ASSERT_TRUE(Save_As_Car());
  const std::string second = Read_File(Car_File());

  Fresh_State();
  CFG_File_Named = true;
  ASSERT_TRUE(Load_Car());
  Injector_Type_Apply();   // as showing the configuration does: the type's preset drive
  const Configuration_Class& c = Configuration;
  const std::vector<std::pair<const char*, int32_t Configuration_Class::*>> numbers = {
      {"Work_Gas", &Configuration_Class::Work_Gas}, {"Work_Petrol", &Configuration_Class::Work_Petrol},
      {"Pressure_1_Bar", &Configuration_Class::Pressure_1_Bar}, {"RPM_Sensitiv", &Configuration_Class::RPM_Sensitiv},
      {"RPM_Div", &Configuration_Class::RPM_Div}, {"PG_TempVap", &Configuration_Class::PG_TempVap},
      {"PG_PressDiff", &Configuration_Class::PG_PressDiff}, {"PG_RPM", &Configuration_Class::PG_RPM},
      {"PG_Delay", &Configuration_Class::PG_Delay}, {"PG_Preheating", &Configuration_Class::PG_Preheating},
      {"PG_Yellow_Wire", &Configuration_Class::PG_Yellow_Wire}, {"PG_YW_Delay", &Configuration_Class::PG_YW_Delay},
      {"PG_YW_Impulse", &Configuration_Class::PG_YW_Impulse}, {"GP_PressDiff_Low", &Configuration_Class::GP_PressDiff_Low},
      {"GP_PressDiff_High", &Configuration_Class::GP_PressDiff_High}, {"GP_TempVap", &Configuration_Class::GP_TempVap},
      {"GP_Time", &Configuration_Class::GP_Time}, {"GI_Num", &Configuration_Class::GI_Num},
      {"GI_Div", &Configuration_Class::GI_Div}, {"GI_Range", &Configuration_Class::GI_Range},
      {"GI_Start_S", &Configuration_Class::GI_Start_S}, {"GI_Duty", &Configuration_Class::GI_Duty},
      {"GI_Period", &Configuration_Class::GI_Period}, {"GI_AutoTempGas", &Configuration_Class::GI_AutoTempGas},
      {"GL_Pos_1", &Configuration_Class::GL_Pos_1}, {"GL_Pos_5", &Configuration_Class::GL_Pos_5},
      {"Supp_DiffPress", &Configuration_Class::Supp_DiffPress}, {"Infl_DiffPress_B", &Configuration_Class::Infl_DiffPress_B},
      {"Infl_DiffPress_S", &Configuration_Class::Infl_DiffPress_S}, {"Supp_TempGas", &Configuration_Class::Supp_TempGas},
      {"Infl_TempGas_B", &Configuration_Class::Infl_TempGas_B}, {"Infl_TempGas_S", &Configuration_Class::Infl_TempGas_S},
      {"Supp_Power", &Configuration_Class::Supp_Power}, {"Infl_Power", &Configuration_Class::Infl_Power},
      {"Car_ID", &Configuration_Class::Car_ID}, {"Service_Time", &Configuration_Class::Service_Time},
      {"Service_Time_Cnt", &Configuration_Class::Service_Time_Cnt}, {"RPM_Idle_Run", &Configuration_Class::RPM_Idle_Run},
      {"Clock_Timer", &Configuration_Class::Clock_Timer}, {"Snake_Length", &Configuration_Class::Snake_Length},
      {"GI_Pos_1", &Configuration_Class::GI_Pos_1}, {"GI_Pos_6", &Configuration_Class::GI_Pos_6},
      {"DS_Timer", &Configuration_Class::DS_Timer}, {"DS_High_Level", &Configuration_Class::DS_High_Level},
      {"DS_High_Step", &Configuration_Class::DS_High_Step}, {"Limit_TPS_Snake", &Configuration_Class::Limit_TPS_Snake},
      {"Limit_TPS_Range_RPM", &Configuration_Class::Limit_TPS_Range_RPM},
      {"Limit_RPM_Snake", &Configuration_Class::Limit_RPM_Snake}, {"Limit_Temperature", &Configuration_Class::Limit_Temperature},
      {"Virtual_Injection_Timer", &Configuration_Class::Virtual_Injection_Timer},
      {"Filter_TPS_Time", &Configuration_Class::Filter_TPS_Time}, {"Cut_Off_Time", &Configuration_Class::Cut_Off_Time},
      {"Cut_Off_Volt", &Configuration_Class::Cut_Off_Volt},
  };
  for (const auto& [name, field] : numbers) EXPECT_EQ(c.*field, saved.*field) << name;
  const std::vector<std::pair<const char*, bool Configuration_Class::*>> flags = {
      {"PG_Preheating_ON", &Configuration_Class::PG_Preheating_ON}, {"GP_Buzzer_ON", &Configuration_Class::GP_Buzzer_ON},
      {"GI_AutoTempGas_ON", &Configuration_Class::GI_AutoTempGas_ON}, {"GL_Invert_ON", &Configuration_Class::GL_Invert_ON},
      {"GL_90_ON", &Configuration_Class::GL_90_ON}, {"GL_Buzzer_ON", &Configuration_Class::GL_Buzzer_ON},
      {"Check_Sensors_ON", &Configuration_Class::Check_Sensors_ON}, {"Sensor_OFF", &Configuration_Class::Sensor_OFF},
      {"LPG_on", &Configuration_Class::LPG_on}, {"Limit_TPS_ON", &Configuration_Class::Limit_TPS_ON},
      {"Limit_RPM_ON", &Configuration_Class::Limit_RPM_ON}, {"Limit_Temperature_ON", &Configuration_Class::Limit_Temperature_ON},
      {"Virtual_Injection_ON", &Configuration_Class::Virtual_Injection_ON},
      {"Filter_TPS_2_ON", &Configuration_Class::Filter_TPS_2_ON}, {"Cut_Off_ON", &Configuration_Class::Cut_Off_ON},
  };
  for (const auto& [name, field] : flags) EXPECT_EQ(c.*field, saved.*field) << name;
  const std::vector<std::pair<const char*, std::string Configuration_Class::*>> texts = {
      {"Program_Name", &Configuration_Class::Program_Name}, {"Program_Version", &Configuration_Class::Program_Version}, {"Program_Date", &Configuration_Class::Program_Date},
      {"GI_Type", &Configuration_Class::GI_Type}, {"GL_Type", &Configuration_Class::GL_Type},
      {"Car_Model", &Configuration_Class::Car_Model}, {"Car_Engine", &Configuration_Class::Car_Engine},
      {"Car_Jet", &Configuration_Class::Car_Jet}, {"Date_Mounting", &Configuration_Class::Date_Mounting},
      {"Date_Save", &Configuration_Class::Date_Save}, {"User_Name", &Configuration_Class::User_Name},
      {"User_Phone", &Configuration_Class::User_Phone}, {"User_Address", &Configuration_Class::User_Address},
      {"Car_Comments", &Configuration_Class::Car_Comments},
  };
  for (const auto& [name, field] : texts) EXPECT_EQ(c.*field, saved.*field) << name;
  EXPECT_EQ(c.RPM_Source, 3000000000u);
  EXPECT_EQ(c.Emulation_TPS_Config_H, 0x84);
  EXPECT_EQ(c.Emulation_TPS_Config_L, 0x42);
  // A file loaded to be written keeps the table correction off until the write.
  EXPECT_FALSE(c.DS_Correction_ON);
  EXPECT_TRUE(DS_Correction_Parked);
  const CLB_Curve loaded[] = {CLB_Gas, CLB_RPM, CLB_TPS1, CLB_TPS2, CLB_TPS3, CLB_VAC};
  for (int i = 0; i < CLB_Curve_Count; ++i) {
    EXPECT_EQ(loaded[i].In, curves[i].In) << "curve " << i;
    EXPECT_EQ(loaded[i].Out, curves[i].Out) << "curve " << i;
  }

  Configuration.DS_Correction_ON = DS_Correction_Parked;   // as after the write
  ASSERT_TRUE(Save_As_Car());
  EXPECT_EQ(Read_File(Car_File()), second);
  EXPECT_TRUE(Messages.empty());
}

struct Load_Row {
  const char* Name;
  std::function<void(std::string& file)> Edit;   // the saved file's text before the load
  std::function<void()> Before;                  // state just before the load
  std::function<void()> Check;
};

std::string Without_Line(const std::string& file, const std::string& key) {
  const std::size_t at = file.find("\r\n" + key);
  if (at == std::string::npos) return file;
  return file.substr(0, at) + file.substr(file.find("\r\n", at + 2));
}

std::string With_Value(const std::string& file, const std::string& key, const std::string& value) {
  const std::size_t at = file.find("\r\n" + key) + 2;
  const std::size_t end = file.find(" {", at + 29);
  return file.substr(0, at) + Key_File_Pad_Key(key) + value + file.substr(end);
}

TEST_F(CFG_File_Test, LoadRules) {
  const std::vector<Load_Row> rows = {
      {"a Petrol_Point_ key missing: the shown curves take their defaults",
       [](std::string& f) { f = Without_Line(f, "Petrol_Point_4"); },
       [] { CLB_Gas.Out.fill(1); CLB_RPM.Out.fill(12345); },
       [] {
         EXPECT_EQ(CLB_Gas.Out[0], 1000);   // the file's type's offset, 1.0 ms
         EXPECT_EQ(CLB_RPM.Out[0], 12345);  // not shown: kept
       }},
      {"no RPM keys: the current RPM curve stays",
       [](std::string& f) {
         for (int n = 0; n < CLB_Points; ++n) f = Without_Line(Without_Line(f, "RPM_Point_IN_" + std::to_string(n)), "RPM_Point_OUT_" + std::to_string(n));
       },
       [] { CLB_RPM.Out.fill(12345); }, [] { EXPECT_EQ(CLB_RPM.Out[8], 12345); EXPECT_EQ(CLB_Gas.Out[2], 2700); }},
      {"unknown injector type", [](std::string& f) { f = With_Value(f, "GI_Type", "NOSUCH"); },
       [] { Configuration.GI_Type = "MATRIX"; }, [] { EXPECT_EQ(Configuration.GI_Type, "MATRIX"); }},
      {"no Car_ID", [](std::string& f) { f = Without_Line(f, "Car_ID"); }, [] {},
       [] { EXPECT_EQ(Configuration.Car_ID, 0xFFFF); }},
      {"eight injectors", [](std::string& f) { f = With_Value(f, "GI_Num", "8"); }, [] {},
       [] { EXPECT_EQ(Configuration.GI_Num, 8); }},
      {"200 injectors are held to 8", [](std::string& f) { f = With_Value(f, "GI_Num", "200"); }, [] {},
       [] { EXPECT_EQ(Configuration.GI_Num, 8); }},
      {"connected: the controller's identification stays", [](std::string&) {},
       [] {
         Connected = true;
         Configuration.Program_Version = "8.01";
         Configuration.Work_Gas = 42;
       },
       [] {
         EXPECT_EQ(Configuration.Program_Version, "8.01");
         EXPECT_EQ(Configuration.Work_Gas, 42);
         EXPECT_EQ(Configuration.PG_RPM, 900);
       }},
  };
  for (const Load_Row& row : rows) {
    SCOPED_TRACE(row.Name);
    Fresh_State();
    Off_Default_Record();
    CFG_File_Named = true;
    ASSERT_TRUE(Save_As_Car());
    std::string file = Read_File(Car_File());
    row.Edit(file);
    Put_File(Car_File(), file);
    Fresh_State();
    row.Before();
    ASSERT_TRUE(Load_Car());
    row.Check();
  }
}

TEST_F(CFG_File_Test, FreeTextStaysOnItsLineAndErrorKeysFollowTheErrorBits) {
  Settings.CFG_File_Name = "AB123.cfg";
  ASSERT_TRUE(sys::Create_Folders(Folder / "Config"));
  Put_File(Car_File(), "ERROR_TempGas                Gas temperature sensor - fatal error {Gas temperature sensor}\r\n");
  Configuration.Car_Comments = "line one\r\nline {two}";
  Configuration.User_Name = "A {B}";
  Error_Word = 0x01;
  Settings.Save_Load_Data = true;
  ASSERT_TRUE(Save_CFG_File());
  const std::string file = Read_File(Car_File());
  EXPECT_NE(file.find("line one\x1D\x1Aline (two) {"), std::string::npos);
  EXPECT_NE(file.find("A (B) {"), std::string::npos);
  EXPECT_NE(file.find("ERROR_TempVap"), std::string::npos);
  EXPECT_EQ(file.find("ERROR_TempGas"), std::string::npos);

  Fresh_State();
  ASSERT_TRUE(Load_Car());
  EXPECT_EQ(Configuration.Car_Comments, "line one\x1D\x1Aline (two)");
  EXPECT_EQ(Comment_To_Memo(), "line one\r\nline (two)");
  EXPECT_EQ(Configuration.Car_Comments, "line one\x1D\x1Aline (two)");   // the field stays one line
}

TEST_F(CFG_File_Test, NamesThatNameNoFileWriteNothing) {
  for (const char* name : {"Default", "", ".cfg", ".", "..", "..cfg", "a/b.cfg", "a\\b.cfg", "x\x01.cfg"}) {
    SCOPED_TRACE(name);
    Messages.clear();
    Settings.CFG_File_Name = name;
    EXPECT_FALSE(Save_CFG_File());
    EXPECT_EQ(Messages, std::vector<std::string>{"Error_CFG_file_not_select"});
  }
  EXPECT_FALSE(sys::Folder_Exists(Folder / "Config"));
}

TEST_F(CFG_File_Test, TheAutomaticSaveIsDueOnlyForTheFileOfTheControllersCar) {
  struct Row {
    const char* Name;
    const char* Car_Number;   // as the controller holds it
    bool Named;
    bool Due;
    bool Read_Now = true;     // the number was read in this connection
  };
  const Row rows[] = {
      {"AB1.cfg", "AB1", true, true},
      {"AB1.CFG", "AB1", true, true},
      {"AB1.cfg", "AB1", false, false},   // no car number entered
      {"A.cfg", "", true, false},         // typed while the controller holds none
      {"A.cfg", "AB1", true, false},      // typed over the controller's own
      {"ab1.cfg", "AB1", true, false},    // another file where letter cases count
      {"x\x01.cfg", "x\x01", true, false},
      {"AB1.cfg", "AB1", true, false, false},   // the number of the controller before a link loss
  };
  CFG_Data_Init();
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.Name) + " / " + row.Car_Number);
    Settings.CFG_File_Name = row.Name;
    Configuration.Car_Number = row.Car_Number;
    CFG_File_Named = row.Named;
    Request_State.Car_Number_Read = row.Read_Now;
    EXPECT_EQ(Protocol_Hooks.Car_File_Auto_Save_Due(), row.Due);
  }
}

TEST_F(CFG_File_Test, WithoutSaveLoadDataThePageDecidesTheGroups) {
  Settings.Save_Load_Data = false;
  ASSERT_TRUE(sys::Create_Folders(Folder / "Config"));
  const std::string kept = "OWN_KEY                      1 {kept}\r\n";
  CFG_Page page = CFG_Page::Other;
  CFG_File_Hooks.Page_Shown = [&] { return page; };
  const std::vector<std::tuple<CFG_Page, bool, bool>> rows = {
      {CFG_Page::Other, false, false},
      {CFG_Page::Configuration, true, false},
      {CFG_Page::Calibration, false, true},
  };
  for (const auto& [shown, configuration, calibration] : rows) {
    Put_File(Car_File(), kept);
    page = shown;
    ASSERT_TRUE(Save_As_Car());
    const std::string file = Read_File(Car_File());
    EXPECT_EQ(file.rfind(kept, 0), 0u);
    EXPECT_EQ(file.find("PG_RPM") != std::string::npos, configuration);
    EXPECT_EQ(file.find("Petrol_Point_8") != std::string::npos, calibration);
    EXPECT_EQ(Read_File(Folder / "Config/History/AB123/2026.12/07_14.05.cfg"), file);
  }
}

TEST_F(CFG_File_Test, AFolderThatCannotBeMadeIsReportedAndNothingWritten) {
  Put_File(Folder / "plain", "a file where the program folder should be");
  Program_Dir = Folder / "plain";
  Settings.CFG_File_Path = Folder / "missing";
  EXPECT_FALSE(Save_As_Car());
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_NE(Messages[0].find("plain/Config"), std::string::npos);
  EXPECT_FALSE(sys::Folder_Exists(Folder / "missing"));
}

TEST_F(CFG_File_Test, TheLetterSCarriesTheInjectorTypeByItsNumber) {
  CFG_Data_Init();
  Param_Codecs_Init();
  Configuration.GI_Type = "KEIHIN";
  Configuration.GI_Num = 4;
  Set_CFG_Parameter('S');
  EXPECT_EQ(TX_Frame[1], 'S');
  EXPECT_EQ(TX_Frame[2], 9);
  EXPECT_EQ(TX_Frame[3], 4);
  Param_Codecs_Reset();
}

TEST_F(CFG_File_Test, OneHistoryCopyPerMinute) {
  Settings.Save_Load_Data = true;
  Configuration.PG_RPM = 700;
  ASSERT_TRUE(Save_As_Car());
  Configuration.PG_RPM = 800;
  Clock += 30;   // the same minute: the copy is replaced
  ASSERT_TRUE(Save_As_Car());
  const std::string month = Folder / "Config/History/AB123/2026.12";
  EXPECT_EQ(sys::List_Files(month, "*", true), std::vector<std::string>{"07_14.05.cfg"});
  EXPECT_EQ(Read_File(month + "/07_14.05.cfg"), Read_File(Car_File()));
  Clock = Local_Time(2027, 1, 2, 9, 7);
  ASSERT_TRUE(Save_As_Car());
  EXPECT_TRUE(sys::File_Exists(Folder / "Config/History/AB123/2027.01/02_09.07.cfg"));
  EXPECT_EQ(sys::List_Files(month, "*", true).size(), 1u);
}

}  // namespace
