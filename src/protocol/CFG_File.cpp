#include "protocol/CFG_File.h"

#include <cstdint>
#include <vector>

#include "data/CFG_Keys.h"
#include "data/Call_Hook.h"
#include "data/Calibration.h"
#include "data/Configuration.h"
#include "data/Conversions.h"
#include "data/GD_Options.h"
#include "data/Globals.h"
#include "data/Injectors.h"
#include "data/Key_File.h"
#include "data/Message_Types.h"
#include "data/Settings.h"
#include "language/Language.h"
#include "platform/system/Date_Time.h"
#include "platform/system/Files.h"
#include "platform/ui/Types.h"
#include "protocol/CLB_Codec.h"
#include "protocol/Frames.h"
#include "protocol/Ident.h"
#include "protocol/Live_Data.h"
#include "protocol/Protocol_Hooks.h"
#include "protocol/Request_Codes.h"

bool CFG_File_Named = false;
uint8_t Car_File_State = 0;
std::string Load_Path;
CFG_File_Hooks_Class CFG_File_Hooks;

namespace {

constexpr const char* CFG_Extension = ".cfg";
constexpr const char* Config_Folder = "/Config";
constexpr const char* History_Folder = "/History";
constexpr int32_t No_Car_ID = 0xFFFF;
// Car_Comments holds its line breaks as these characters, so its value stays one line.
constexpr char Comment_CR = 29;
constexpr char Comment_LF = 26;

const CFG_Comment L = CFG_Comment::Language;

void Show_Text(uint8_t type, const std::string& text) {
  Call_Hook(Protocol_Hooks.Show_Message, type, text, clRed);
}

// ---- the configuration keys ----

// One integer or Boolean key and the field it fills (exactly one pointer is set).
struct Number_Key {
  const char* Key;
  int32_t* Int = nullptr;
  bool* Flag = nullptr;
  Number_Key(const char* key, int32_t* field) : Key(key), Int(field) {}
  Number_Key(const char* key, bool* field) : Key(key), Flag(field) {}
};

// The integer and Boolean keys from Pressure_1_Bar to GP_Time, in file order (RPM_Source,
// which is unsigned, stands between them and is handled by its own step).
std::vector<Number_Key> Sensor_Keys_Before_Source() {
  Configuration_Class& c = Configuration;
  return {{"Pressure_1_Bar", &c.Pressure_1_Bar}, {"RPM_Sensitiv", &c.RPM_Sensitiv}};
}

std::vector<Number_Key> Sensor_Keys_After_Source() {
  Configuration_Class& c = Configuration;
  return {
      {"RPM_Div", &c.RPM_Div},
      {"PG_TempVap", &c.PG_TempVap},
      {"PG_PressDiff", &c.PG_PressDiff},
      {"PG_RPM", &c.PG_RPM},
      {"PG_Delay", &c.PG_Delay},
      {"PG_Preheating_ON", &c.PG_Preheating_ON},
      {"PG_Preheating", &c.PG_Preheating},
      {"PG_Yellow_Wire", &c.PG_Yellow_Wire},
      {"PG_YW_Delay", &c.PG_YW_Delay},
      {"PG_YW_Impulse", &c.PG_YW_Impulse},
      {"GP_Buzzer_ON", &c.GP_Buzzer_ON},
      {"GP_PressDiff_Low", &c.GP_PressDiff_Low},
      {"GP_PressDiff_High", &c.GP_PressDiff_High},
      {"GP_TempVap", &c.GP_TempVap},
      {"GP_Time", &c.GP_Time},
  };
}

// From GI_Div to LPG_on (GI_Type and GI_Num before them have read rules of their own,
// GL_Type among them too).
std::vector<Number_Key> Injector_Keys() {
  Configuration_Class& c = Configuration;
  return {
      {"GI_Div", &c.GI_Div},
      {"GI_Range", &c.GI_Range},
      {"GI_Start_S", &c.GI_Start_S},
      {"GI_Duty", &c.GI_Duty},
      {"GI_AutoTempGas_ON", &c.GI_AutoTempGas_ON},
      {"GI_AutoTempGas", &c.GI_AutoTempGas},
  };
}

std::vector<Number_Key> Level_And_Influence_Keys() {
  Configuration_Class& c = Configuration;
  return {
      {"GL_Invert_ON", &c.GL_Invert_ON},
      {"GL_90_ON", &c.GL_90_ON},
      {"GL_Buzzer_ON", &c.GL_Buzzer_ON},
      {"GL_Pos_1", &c.GL_Pos_1},
      {"GL_Pos_2", &c.GL_Pos_2},
      {"GL_Pos_3", &c.GL_Pos_3},
      {"GL_Pos_4", &c.GL_Pos_4},
      {"GL_Pos_5", &c.GL_Pos_5},
      {"Supp_DiffPress", &c.Supp_DiffPress},
      {"Infl_DiffPress_B", &c.Infl_DiffPress_B},
      {"Infl_DiffPress_S", &c.Infl_DiffPress_S},
      {"Supp_TempGas", &c.Supp_TempGas},
      {"Infl_TempGas_B", &c.Infl_TempGas_B},
      {"Infl_TempGas_S", &c.Infl_TempGas_S},
      {"Supp_Power", &c.Supp_Power},
      {"Infl_Power", &c.Infl_Power},
      {"Check_Sensors_ON", &c.Check_Sensors_ON},
      {"Sensor_OFF", &c.Sensor_OFF},
      {"LPG_on", &c.LPG_on},
  };
}

std::vector<Number_Key> Service_Keys() {
  Configuration_Class& c = Configuration;
  return {{"Service_Time", &c.Service_Time}, {"Service_Time_Cnt", &c.Service_Time_Cnt}};
}

struct Text_Key {
  const char* Key;
  std::string Configuration_Class::*Field;
};

constexpr Text_Key Car_Keys[] = {
    {"Car_Model", &Configuration_Class::Car_Model},
    {"Car_Engine", &Configuration_Class::Car_Engine},
    {"Car_Jet", &Configuration_Class::Car_Jet},
    {"Date_Mounting", &Configuration_Class::Date_Mounting},
    {"Date_Save", &Configuration_Class::Date_Save},
    {"User_Name", &Configuration_Class::User_Name},
    {"User_Phone", &Configuration_Class::User_Phone},
    {"User_Address", &Configuration_Class::User_Address},
    {"Car_Comments", &Configuration_Class::Car_Comments},
};

// Error-memory keys: bit of Error_Word, key, language key of the value, comment.
struct Error_Key {
  uint8_t Bit;
  const char* Key;
  const char* Text_Key;
  const char* Comment;
};

constexpr Error_Key Error_Keys[] = {
    {0x01, "ERROR_TempVap", "Memo_ERR_TempVap_Current_1", "Vaporizer temperature sensor"},
    {0x02, "ERROR_TempGas", "Memo_ERR_TempGas_Current_1", "Gas temperature sensor"},
    {0x04, "ERROR_PressVap", "Memo_ERR_PressVap_Current_1", "Vaporizer pressure sensor"},
    {0x08, "ERROR_PressColl", "Memo_ERR_PressCol_Current_1", "Collector pressure sensor"},
    {0x10, "ERROR_Leakage", "Memo_ERR_Press_Leakage_Gas", "Leakage_Gas"},
};

void Write_Numbers(const std::vector<Number_Key>& keys) {
  for (const Number_Key& k : keys) {
    if (k.Int) {
      CFG_Key_Write_Int(k.Key, *k.Int, L);
    } else if (k.Flag == &Configuration.PG_Preheating_ON) {
      // Its comment also tells the limit of the preheating time.
      Key_File_Set(k.Key, Bool_To_Text(*k.Flag), Language_Find_Text(std::string(k.Key) + "_Rem") + " < 5");
    } else {
      CFG_Key_Write_Bool(k.Key, *k.Flag, L);
    }
  }
}

void Read_Numbers(const std::vector<Number_Key>& keys) {
  for (const Number_Key& k : keys) {
    if (k.Int)
      CFG_Key_Read(k.Key, *k.Int);
    else
      CFG_Key_Read(k.Key, *k.Flag);
  }
}

// Car_Comments as one line: a line break that reached the field as CR or LF is written as
// the characters the field keeps for it.
std::string Comment_Line(const std::string& text) {
  std::string line = text;
  for (char& c : line) {
    if (c == '\r') c = Comment_CR;
    else if (c == '\n') c = Comment_LF;
  }
  return line;
}

// ---- the curve keys ----

struct Curve_Keys {
  CLB_Curve& Curve;
  const char* Slope;
  const char* Out;
  const char* In;
  double Scale;
};

std::string Key_N(const char* prefix, int n) { return prefix + std::to_string(n); }

// The groups a save writes or a load reads.
struct Groups {
  bool Configuration = false;
  bool Calibration = false;
};

CFG_Page Page() { return Ask_Hook(CFG_File_Hooks.Page_Shown, CFG_Page::Other); }

// Opens the configuration folder, making it when it is missing. False (reported) when it
// cannot be made.
bool Folder_Ready() {
  Settings_Class& s = Settings;
  if (s.CFG_File_Path.empty() || !sys::Folder_Exists(s.CFG_File_Path)) {
    s.CFG_File_Path = Program_Dir + Config_Folder;
    if (!sys::Create_Folders(s.CFG_File_Path)) {
      Show_Text(Message_Type::Text, s.CFG_File_Path + ": " + Language_Text("Error_Folder_not_exist"));
      return false;
    }
  }
  return true;
}

std::time_t Now() { return CFG_File_Hooks.Clock ? CFG_File_Hooks.Clock() : sys::Now(); }

}  // namespace

bool CFG_File_Name_Valid(const std::string& name) {
  if (name == CFG_No_File) return false;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || u < 32 || u == 127) return false;
  }
  std::string base = name;
  const std::string ext = CFG_Extension;
  if (base.size() >= ext.size() && base.compare(base.size() - ext.size(), ext.size(), ext) == 0)
    base.resize(base.size() - ext.size());
  return !base.empty() && base != "." && base != "..";
}

std::string CFG_File_Full_Path() { return Settings.CFG_File_Path + "/" + Settings.CFG_File_Name; }

bool CFG_Auto_Save_Due() {
  const std::string& name = Settings.CFG_File_Name;
  return Request_State.Car_Number_Read && CFG_File_Named && CFG_File_Name_Valid(name) &&
         Strip_Extension(name) == Configuration.Car_Number;
}

// ---- configuration keys ----

void Write_CFG_Configuration() {
  Configuration_Class& c = Configuration;
  CFG_Key_Write_Text("Program_Name", c.Program_Name, L);
  CFG_Key_Write_Text("Program_Version", c.Program_Version, L);
  CFG_Key_Write_Text("Program_Date", c.Program_Date, L);
  CFG_Key_Write_Int("Work_Gas", c.Work_Gas, L);
  CFG_Key_Write_Int("Work_Petrol", c.Work_Petrol, L);
  Write_Numbers(Sensor_Keys_Before_Source());
  CFG_Key_Write_Int("RPM_Source", c.RPM_Source, L);
  Write_Numbers(Sensor_Keys_After_Source());
  CFG_Key_Write_Text("GI_Type", c.GI_Type, L);
  CFG_Key_Write_Int("GI_Num", c.GI_Num, L);
  Write_Numbers(Injector_Keys());
  CFG_Key_Write_Text("GL_Type", c.GL_Type, L);
  Write_Numbers(Level_And_Influence_Keys());
  if (CFG_File_Named) CFG_Key_Write_Int("Car_ID", c.Car_ID, L);
  for (const Text_Key& k : Car_Keys) {
    const std::string& value = c.*k.Field;
    CFG_Key_Write_Text(k.Key, k.Field == &Configuration_Class::Car_Comments ? Comment_Line(value) : value, L);
  }
  // The error keys stand for the errors the controller holds now: an error that has gone
  // leaves no key behind.
  for (const Error_Key& k : Error_Keys) {
    if (Error_Word & k.Bit)
      Key_File_Set(k.Key, CFG_Free_Text(Language_Find_Text(k.Text_Key)), k.Comment);
    else
      Key_File_Delete(k.Key);
  }
  Write_Numbers(Service_Keys());
  Call_Hook(CFG_File_Hooks.RPM_Tab_Write_CFG);
  GD_Options_Save_Keys();
}

void Read_CFG_Program() {
  if (Connected) return;
  Configuration_Class& c = Configuration;
  if (!CFG_Key_Read("Program_Name", c.Program_Name)) c.Program_Name.clear();
  if (!CFG_Key_Read("Program_Version", c.Program_Version)) c.Program_Version.clear();
  if (!CFG_Key_Read("Program_Date", c.Program_Date)) c.Program_Date.clear();
  Decode_Program_Version();
  if (!CFG_Key_Read("Work_Gas", c.Work_Gas)) c.Work_Gas = 0;
  if (!CFG_Key_Read("Work_Petrol", c.Work_Petrol)) c.Work_Petrol = 0;
  Show_Work_Hours();
}

void Clear_Car_Data() {
  for (const Text_Key& k : Car_Keys) (Configuration.*k.Field).clear();
}

void Read_CFG_Car() {
  Configuration_Class& c = Configuration;
  if (!CFG_Key_Read("Car_ID", c.Car_ID)) c.Car_ID = No_Car_ID;
  for (const Text_Key& k : Car_Keys) CFG_Key_Read(k.Key, c.*k.Field);
}

void Read_CFG_Configuration() {
  Configuration_Class& c = Configuration;
  Read_CFG_Program();
  Read_Numbers(Sensor_Keys_Before_Source());
  CFG_Key_Read("RPM_Source", c.RPM_Source);
  Read_Numbers(Sensor_Keys_After_Source());
  std::string type;
  if (CFG_Key_Read("GI_Type", type) && Injector_Type_Index(type) > 0) c.GI_Type = type;
  uint8_t count = 0;
  if (CFG_Key_Read_Byte("GI_Num", count)) Inject_Num_Set(count);
  Read_Numbers(Injector_Keys());
  CFG_Key_Read("GI_Period", c.GI_Period);
  std::string level;
  if (CFG_Key_Read("GL_Type", level) && Level_Sensor_Box_Index(level) > 0) c.GL_Type = level;
  Read_Numbers(Level_And_Influence_Keys());
  Read_Numbers(Service_Keys());
  Clear_Car_Data();
  Read_CFG_Car();
  GD_Options_Load_Keys();
  Call_Hook(CFG_File_Hooks.RPM_Tab_Read_CFG);
}

bool Load_CFG_Car_Data(const std::string& file_name) {
  Clear_Car_Data();
  if (!CFG_File_Name_Valid(file_name)) return false;
  if (!Key_File_Load(Settings.CFG_File_Path + "/" + file_name)) return false;
  Read_CFG_Car();
  Key_File_Discard();
  return true;
}

// ---- curve keys ----

void Write_CFG_Calibration() {
  Calc_CLB_K_Gas_RPM();
  Calc_CLB_K_TPS_VAC();
  const std::string gas_rem = Language_Find_Text("Gas_Point_Rem");
  const std::string petrol_rem = Language_Find_Text("Petrol_Point_Rem");
  for (int n = 0; n < CLB_Points; ++n) {
    Key_File_Set(Key_N("K_Gas_", n), Float_To_Text(CLB_Gas.K[n] * CLB_Slope_Scale_Input), "");
    // The two point keys are written anew, at the end of the file.
    Key_File_Delete(Key_N("Gas_Point_", n));
    Key_File_Set(Key_N("Gas_Point_", n), std::to_string(CLB_Gas.Out[n]), std::to_string(n) + " " + gas_rem);
    Key_File_Delete(Key_N("Petrol_Point_", n));
    Key_File_Set(Key_N("Petrol_Point_", n), std::to_string(CLB_Gas.In[n]),
                 std::to_string(n) + " " + petrol_rem);
  }
  const Curve_Keys curves[] = {
      {CLB_RPM, "RPM_Point_K_", "RPM_Point_OUT_", "RPM_Point_IN_", CLB_Slope_Scale_Factor},
      {CLB_TPS1, "TPS1_Point_K_", "TPS1_Point_OUT_", "TPS1_Point_IN_", CLB_Slope_Scale_Input},
      {CLB_TPS2, "TPS2_Point_K_", "TPS2_Point_OUT_", "TPS2_Point_IN_", CLB_Slope_Scale_Input},
      {CLB_TPS3, "TPS3_Point_K_", "TPS3_Point_OUT_", "TPS3_Point_IN_", CLB_Slope_Scale_Input},
      {CLB_VAC, "VAC_Point_K_", "VAC_Point_OUT_", "VAC_Point_IN_", CLB_Slope_Scale_Factor},
  };
  for (const Curve_Keys& k : curves)
    for (int n = 0; n < CLB_Points; ++n) {
      Key_File_Set(Key_N(k.Slope, n), Float_To_Text(k.Curve.K[n] * k.Scale), "");
      Key_File_Set(Key_N(k.Out, n), std::to_string(k.Curve.Out[n]), "");
      Key_File_Set(Key_N(k.In, n), std::to_string(k.Curve.In[n]), "");
    }
}

void Read_CFG_Calibration() {
  int present = 0;
  for (int n = 0; n < CLB_Points; ++n)
    if (Key_File_Find(Key_N("Petrol_Point_", n))) ++present;
  if (present < CLB_Points) {
    Set_Default_Calibration();
    return;
  }
  struct Point_Key {
    const char* Prefix;
    std::array<int32_t, CLB_Points>& Values;
  };
  const Point_Key keys[] = {
      {"Gas_Point_", CLB_Gas.Out},       {"Petrol_Point_", CLB_Gas.In},
      {"TPS1_Point_OUT_", CLB_TPS1.Out}, {"TPS1_Point_IN_", CLB_TPS1.In},
      {"TPS2_Point_OUT_", CLB_TPS2.Out}, {"TPS2_Point_IN_", CLB_TPS2.In},
      {"TPS3_Point_OUT_", CLB_TPS3.Out}, {"TPS3_Point_IN_", CLB_TPS3.In},
      {"RPM_Point_IN_", CLB_RPM.In},     {"RPM_Point_OUT_", CLB_RPM.Out},
      {"VAC_Point_IN_", CLB_VAC.In},     {"VAC_Point_OUT_", CLB_VAC.Out},
  };
  for (int n = 0; n < CLB_Points; ++n)
    for (const Point_Key& k : keys) CFG_Key_Read(Key_N(k.Prefix, n), k.Values[static_cast<std::size_t>(n)]);
}

// ---- save and load ----

bool Save_CFG_File() {
  Settings_Class& s = Settings;
  if (!CFG_File_Name_Valid(s.CFG_File_Name)) {
    Show_Text(Message_Type::Language_Key, "Error_CFG_file_not_select");
    return false;
  }
  if (!Folder_Ready()) return false;
  const std::string path = CFG_File_Full_Path();
  Key_File_Open(path);

  // Comments in the current language, or in English while the English menu is on.
  Saved_Language = s.Language;
  if (s.English_Menu) s.Language = "English";
  Language_Load_File();

  Groups groups;
  if (CFG_File_Named || s.Save_Load_Data) {
    groups = {true, true};
  } else {
    const CFG_Page page = Page();
    groups = {page == CFG_Page::Configuration, page == CFG_Page::Calibration};
  }
  if (groups.Configuration) Write_CFG_Configuration();
  if (groups.Calibration) Write_CFG_Calibration();
  if (CFG_File_Named) New_Frame = false;

  const bool written = Key_File_Save(path);   // a failed write is reported by the engine
  Language_Release();
  s.Language = Saved_Language;
  if (!written) return false;
  Copy_CFG_To_History(s.CFG_File_Path, s.CFG_File_Name);
  return true;
}

bool Load_CFG_File() {
  if (!Key_File_Load(Load_Path)) return false;
  CFG_Loaded_For_Write = true;
  Groups groups;
  if (Settings.Save_Load_Data) {
    groups = {true, true};
  } else {
    const CFG_Page page = Page();
    groups = {page == CFG_Page::Configuration, page == CFG_Page::Calibration};
  }
  if (groups.Configuration) {
    Read_CFG_Configuration();
    Key_File_Discard();
    Call_Hook(CFG_File_Hooks.Setup_Model_Controls);
    Call_Hook(CFG_File_Hooks.Show_Configuration);
  } else if (groups.Calibration) {
    Read_CFG_Program();
    Key_File_Discard();
    Call_Hook(CFG_File_Hooks.Setup_Model_Controls);
  }
  if (groups.Calibration && Key_File_Load(Load_Path)) {
    Read_CFG_Calibration();
    Key_File_Discard();
    Call_Hook(CFG_File_Hooks.Draw_Calibration);
  }
  Key_File_Discard();
  Car_File_State = 0;
  return true;
}

// ---- history copies ----

std::string History_Copy_Path(const std::string& folder, const std::string& name, std::time_t when) {
  return folder + History_Folder + "/" + Strip_Extension(name) + "/" + sys::Format_Date_Time("yyyy.mm", when) +
         "/" + sys::Format_Date_Time("dd", when) + "_" + sys::Format_Date_Time("hh.mm", when) + CFG_Extension;
}

bool Copy_CFG_To_History(const std::string& folder, const std::string& name) {
  const std::string copy = History_Copy_Path(folder, name, Now());
  std::string month_folder = copy.substr(0, copy.rfind('/'));
  if (!sys::Create_Folders(month_folder)) return false;
  return sys::Copy_File(folder + "/" + name, copy);
}

// ---- start-up ----

// The injector type's time limit and TPS full scale, which the default curves follow.
static void Injector_Limits_Follow_Type() {
  const int type = Injector_Type_Current();
  Injector_Max_Time_Set(type);
  TPS_Full_Scale_Set(type);
}

void CFG_Startup_Load() {
  Injector_Limits_Follow_Type();
  Set_Default_Calibration_All();
  const std::string& name = Settings.CFG_File_Name;
  if (!CFG_File_Name_Valid(name)) return;
  const std::string path = CFG_File_Full_Path();
  if (!Key_File_Load(path)) return;
  Read_CFG_Configuration();
  Key_File_Discard();
  Injector_Limits_Follow_Type();
  Call_Hook(CFG_File_Hooks.Setup_Model_Controls);
  if (!Key_File_Load(path)) return;
  Read_CFG_Calibration();
  Key_File_Discard();
}

void CFG_Data_Init() {
  Injector_List_Init();
  English_Text_GD_Register();
  CLB_Codec_Init();
  Protocol_Hooks.Save_CFG_File = [] { Save_CFG_File(); };
  Protocol_Hooks.Load_CFG_File = [] { Load_CFG_File(); };
  Protocol_Hooks.Car_File_Auto_Save_Due = CFG_Auto_Save_Due;
}

void CFG_File_Commit(uint8_t request, const CFG_File_Choice& file) {
  if ((request != Request_Save && request != Request_Load) || file.Name.empty()) return;
  Settings.CFG_File_Path = file.Path;
  Settings.CFG_File_Name = file.Name;
  if (request == Request_Load) Load_Path = file.Load_Path;
  Car_File_State = 0;
  Call_Hook(CFG_File_Hooks.File_Chosen);
}

void CFG_File_Reset() {
  CFG_File_Named = false;
  Car_File_State = 0;
  Load_Path.clear();
  CFG_File_Hooks = CFG_File_Hooks_Class{};
}
