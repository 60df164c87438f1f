#include "data/Settings.h"

#include "data/Call_Hook.h"
#include "data/Configuration.h"
#include "data/Globals.h"
#include "data/Key_File.h"
#include "data/Text_Util.h"
#include "language/Language.h"
#include "platform/system/Priority.h"

Settings_Class Settings;
bool Settings_File_Readable = false;
Settings_Hooks_Class Settings_Hooks;

namespace {

// The maker's own data, shown on the About page when the program runs under its own name.
const char* const Brand_Model_1 = "Merivant GD 2";
const char* const Brand_Model_2 = "Merivant GD 6";
const char* const Brand_Model_3 = "Merivant GD 8";
const char* const Brand_Technician = "service@merivant.example";
const char* const Brand_Firm = "Merivant";
const char* const Brand_Address = "1 Example Road, Example Town";
const char* const Brand_Phone = "+00 000 000 000";
const char* const Brand_eMail = "info@merivant.example";
const char* const Brand_Site = "www.merivant.example";

const Settings_Class Factory;  // the defaults of every field

// ---- reading keys of the open file; a missing or unreadable value keeps the field ----
void Read(const char* key, bool& field)
{
    if (Key_File_Find_Bool(key)) field = Key_Bool_Value;
}

void Read(const char* key, int32_t& field)
{
    if (Key_File_Find_Int(key)) field = Key_Int_Value;
}

void Read(const char* key, std::string& field)
{
    if (Key_File_Find(key)) field = Key_Value;
}

void Read(const std::string& key, std::string& field) { Read(key.c_str(), field); }
void Read(const std::string& key, int32_t& field) { Read(key.c_str(), field); }

// A value outside low..high (or below low when high < low) becomes the default.
void Keep_In_Range(int32_t& field, int32_t low, int32_t high, int32_t fallback)
{
    if (field < low || (high >= low && field > high)) field = fallback;
}

// ---- writing keys into the open file, each with the language text of its comment key ----
void Write(const std::string& key, const std::string& value, const std::string& comment_key)
{
    Key_File_Set(key, value, Language_Find_Text(comment_key));
}

void Write(const std::string& key, const std::string& value) { Write(key, value, key + "_Rem"); }
void Write(const std::string& key, int32_t value) { Write(key, std::to_string(value)); }
void Write(const std::string& key, bool value) { Write(key, std::string(value ? "True" : "False")); }

std::string Font_Name_Key(const std::string& language) { return language + "_N"; }
std::string Font_Charset_Key(const std::string& language) { return language + "_C"; }

}  // namespace

std::string Settings_File_Path() { return Program_File_Path(Settings_File_Name); }

bool Settings_Own_Branding() { return Same_Text(Exe_Name, Built_In_Exe_Name); }

void Settings_Create()
{
    Settings = Settings_Class{};
    Settings.Port_Name = Factory.Port_Name;
    Settings.CheckPassword = false;
    Settings.Language = "English";
    Language_List_Fill();
    Settings.Font_Name = Factory.Font_Name;
    Settings.Font_Charset = Factory.Font_Charset;
    Settings_Default();
    Settings_Load();
    Call_Hook(Settings_Hooks.To_Form);
    Call_Hook(Settings_Hooks.Mark_Controls);
    Settings_Branding_Apply();
    Call_Hook(Settings_Hooks.About_Apply);
}

void Settings_Default()
{
    Settings_Class& s = Settings;
    const Settings_Class& d = Factory;
    s.Search_Port = d.Search_Port;
    s.Reply_Delay = d.Reply_Delay;
    s.Delay_Compensation = d.Delay_Compensation;
    s.Save_Load_Data = d.Save_Load_Data;
    s.CFG_File_Path = Program_Dir + "/Config";
    s.CFG_File_Name = Exe_Name + ".cfg";
    s.OSC_File_Path = Program_Dir + "/Oscilloscope";
    s.OSC_File_Name = Exe_Name + ".osc";
    s.Position_Top = d.Position_Top;
    s.Position_Left = d.Position_Left;
    s.Full_Screen = d.Full_Screen;
    s.Transmit_Now = d.Transmit_Now;
    s.Page_Number = d.Page_Number;
    s.Form_Style = d.Form_Style;
    s.Show_Hint = d.Show_Hint;
    s.Hint_Length = d.Hint_Length;
    s.English_Menu = d.English_Menu;
    s.Show_Auxiliary = d.Show_Auxiliary;
    s.RPM_Change_Time = d.RPM_Change_Time;
    s.CLB_View_Grid = d.CLB_View_Grid;
    s.CLB_Diagram_GAS = d.CLB_Diagram_GAS;
    s.CLB_Diagram_RPM = d.CLB_Diagram_RPM;
    s.CLB_Diagram_TPS_1 = d.CLB_Diagram_TPS_1;
    s.CLB_Diagram_TPS_2 = d.CLB_Diagram_TPS_2;
    s.CLB_Diagram_TPS_3 = d.CLB_Diagram_TPS_3;
    s.CLB_Diagram_VAC = d.CLB_Diagram_VAC;
    s.OSC_Max_mls = d.OSC_Max_mls;
    s.OSC_Max_RPM = d.OSC_Max_RPM;
    s.OSC_Max_Deg = d.OSC_Max_Deg;
    s.OSC_Max_Bar = d.OSC_Max_Bar;
    s.OSC_Max_Volt = d.OSC_Max_Volt;
    s.OSC_View_RPM = d.OSC_View_RPM;
    s.OSC_View_Gas = d.OSC_View_Gas;
    s.OSC_View_TPS = d.OSC_View_TPS;
    s.OSC_View_DegVap = d.OSC_View_DegVap;
    s.OSC_View_DegGas = d.OSC_View_DegGas;
    s.OSC_View_PressDiff = d.OSC_View_PressDiff;
    s.OSC_View_PressColl = d.OSC_View_PressColl;
    s.OSC_View_Detonation = d.OSC_View_Detonation;
    s.OSC_View_Grid = d.OSC_View_Grid;
    s.OSC_Step_Grid = d.OSC_Step_Grid;
    s.OSC_Negativ_Degree = d.OSC_Negativ_Degree;
    s.OSC_Degree_Volt_Pos = d.OSC_Degree_Volt_Pos;
    RPM_Idle_Run_Default = 600;
}

bool Settings_Load()
{
    Settings_Class& s = Settings;
    Settings_File_Readable = Key_File_Load(Settings_File_Path());
    if (!Settings_File_Readable) return false;

    if (!Settings_Own_Branding()) {
        Read("Name_Block_PIC_1", s.Name_Block_PIC_1);
        Read("Name_Block_PIC_2", s.Name_Block_PIC_2);
        Read("Name_Block_PIC_3", s.Name_Block_PIC_3);
        Read("Tech_Box_Show", s.Tech_Box_Show);
        Read("Tech_Box_Name", s.Tech_Box_Name);
        Read("Firm_Box_Show", s.Firm_Box_Show);
        Read("Firm_Box_Name", s.Firm_Box_Name);
        Read("Firm_Address", s.Firm_Address);
        Read("Firm_Phone", s.Firm_Phone);
        Read("Firm_eMail", s.Firm_eMail);
        Read("Firm_Site", s.Firm_Site);
    }

    Read("Port_Name", s.Port_Name);
    Read("Search_Port", s.Search_Port);
    Preferred_Port = s.Port_Name;

    Read("Reply_Delay", s.Reply_Delay);
    Read("Delay_Compensation", s.Delay_Compensation);
    Read("Save_Load_Data", s.Save_Load_Data);
    Read("CFG_File_Path", s.CFG_File_Path);
    Read("CFG_File_Name", s.CFG_File_Name);
    Read("OSC_File_Path", s.OSC_File_Path);
    Read("OSC_File_Name", s.OSC_File_Name);
    Read("Position_Top", s.Position_Top);
    Read("Position_Left", s.Position_Left);
    Read("Full_Screen", s.Full_Screen);
    Read("Transmit_Now", s.Transmit_Now);
    Read("Page_Number", s.Page_Number);
    Read("Form_Style", s.Form_Style);
    Read("Show_Hint", s.Show_Hint);
    Read("CheckPassword", s.CheckPassword);
    Read("Hint_Length", s.Hint_Length);
    Read("Language", s.Language);
    Read("English_Menu", s.English_Menu);
    Read("Show_Auxiliary", s.Show_Auxiliary);

    // The file stays open: the language list reads only the language folder.
    Language_List_Fill();
    Read(Font_Name_Key(s.Language), s.Font_Name);
    Read(Font_Charset_Key(s.Language), s.Font_Charset);

    Read("RPM_Change_Time", s.RPM_Change_Time);
    Read("CLB_View_Grid", s.CLB_View_Grid);
    Read("CLB_Diagram_GAS", s.CLB_Diagram_GAS);
    Read("CLB_Diagram_RPM", s.CLB_Diagram_RPM);
    Read("CLB_Diagram_TPS_1", s.CLB_Diagram_TPS_1);
    Read("CLB_Diagram_TPS_2", s.CLB_Diagram_TPS_2);
    Read("CLB_Diagram_TPS_3", s.CLB_Diagram_TPS_3);
    Read("CLB_Diagram_VAC", s.CLB_Diagram_VAC);
    Read("OSC_Max_mls", s.OSC_Max_mls);
    Read("OSC_Max_RPM", s.OSC_Max_RPM);
    Read("OSC_Max_Deg", s.OSC_Max_Deg);
    Read("OSC_Max_Bar", s.OSC_Max_Bar);
    Read("OSC_Max_Volt", s.OSC_Max_Volt);
    Read("OSC_View_RPM", s.OSC_View_RPM);
    Read("OSC_View_Gas", s.OSC_View_Gas);
    Read("OSC_View_TPS", s.OSC_View_TPS);
    Read("OSC_View_DegVap", s.OSC_View_DegVap);
    Read("OSC_View_DegGas", s.OSC_View_DegGas);
    Read("OSC_View_PressDiff", s.OSC_View_PressDiff);
    Read("OSC_View_PressColl", s.OSC_View_PressColl);
    Read("OSC_View_Detonation", s.OSC_View_Detonation);
    Read("OSC_View_Grid", s.OSC_View_Grid);
    Read("OSC_Step_Grid", s.OSC_Step_Grid);
    Read("OSC_Negativ_Degree", s.OSC_Negativ_Degree);
    Read("OSC_Degree_Volt_Pos", s.OSC_Degree_Volt_Pos);
    int32_t idle_run = 0;
    Read("CFG_RPM_Idle_Run", idle_run);
    if (idle_run != 0) RPM_Idle_Run_Default = idle_run;

    Call_Hook(Settings_Hooks.ICO_Load);
    Key_File_Discard();

    // Scales outside the range of their controls on the oscilloscope page.
    Keep_In_Range(s.OSC_Max_mls, 1, 32, Factory.OSC_Max_mls);
    Keep_In_Range(s.OSC_Max_RPM, 500, 8000, Factory.OSC_Max_RPM);
    Keep_In_Range(s.OSC_Max_Deg, 1, 1540, Factory.OSC_Max_Deg);
    Keep_In_Range(s.OSC_Max_Volt, 1, 1540, Factory.OSC_Max_Volt);
    Keep_In_Range(s.OSC_Max_Bar, 1, 255, Factory.OSC_Max_Bar);
    // Values that would stall or hang the link timing, divide by zero in the hint wrapping
    // or select a page that does not exist.
    Keep_In_Range(s.Reply_Delay, 1, 999, Factory.Reply_Delay);
    Keep_In_Range(s.Delay_Compensation, 1, 999, Factory.Delay_Compensation);
    Keep_In_Range(s.Hint_Length, 1, 0, Factory.Hint_Length);
    Keep_In_Range(s.Page_Number, 0, 6, Factory.Page_Number);
    Keep_In_Range(s.RPM_Change_Time, 1, 0, Factory.RPM_Change_Time);
    return true;
}

void Settings_Branding_Apply()
{
    if (!Settings_Own_Branding()) return;
    Settings_Class& s = Settings;
    s.Name_Block_PIC_1 = Brand_Model_1;
    s.Name_Block_PIC_2 = Brand_Model_2;
    s.Name_Block_PIC_3 = Brand_Model_3;
    s.Tech_Box_Show = true;
    s.Tech_Box_Name = Brand_Technician;
    s.Firm_Box_Show = true;
    s.Firm_Box_Name = Brand_Firm;
    s.Firm_Address = Brand_Address;
    s.Firm_Phone = Brand_Phone;
    s.Firm_eMail = Brand_eMail;
    s.Firm_Site = Brand_Site;
}

void Settings_Language_Font_Read()
{
    if (!Key_File_Load(Settings_File_Path())) return;
    Read(Font_Name_Key(Settings.Language), Settings.Font_Name);
    Read(Font_Charset_Key(Settings.Language), Settings.Font_Charset);
    Key_File_Discard();
}

void Settings_Save_Begin()
{
    // Keys the program does not write (branding, keys written by hand) stay in the file. A
    // file that is there but cannot be read is not written over (Key_File_Save refuses it),
    // so the Load button stays as it was.
    Key_File_Open(Settings_File_Path());
    if (Key_File_Read_Result != sys::Read_Result::Unreadable) {
        Settings_File_Readable = true;
        Call_Hook(Settings_Hooks.Load_Button_Enable, true);
    }
    Saved_Language = Settings.Language;
    if (Settings.English_Menu) Settings.Language = "English";
    Language_Load_File();
}

void Settings_Save()
{
    const Settings_Class& s = Settings;
    Key_File_Set("Secret_Key", "", "");
    Write("Port_Name", s.Port_Name);
    Write("Search_Port", s.Search_Port);
    Write("Reply_Delay", s.Reply_Delay);
    Write("Delay_Compensation", std::to_string(s.Delay_Compensation), "Delay_Compens_Rem");
    Write("Save_Load_Data", s.Save_Load_Data);
    Write("CFG_File_Path", s.CFG_File_Path);
    Write("CFG_File_Name", s.CFG_File_Name);
    Write("Position_Top", s.Position_Top);
    Write("Position_Left", s.Position_Left);
    Write("Full_Screen", s.Full_Screen);
    Write("Transmit_Now", s.Transmit_Now);
    Write("Form_Style", s.Form_Style);
    Write("Show_Hint", s.Show_Hint);
    Write("Hint_Length", s.Hint_Length);
    Write("Language", s.Language);
    Write("English_Menu", s.English_Menu);
    // The font belongs to the chosen language, also while the comments are in English.
    Write(Font_Name_Key(Saved_Language), s.Font_Name, "Language_FontName_Rem");
    Write(Font_Charset_Key(Saved_Language), std::to_string(s.Font_Charset), "Language_FontChar_Rem");
    Write("CheckPassword", s.CheckPassword);
    Write("Show_Auxiliary", s.Show_Auxiliary);
    Write("Page_Number", s.Page_Number);
    Write("CLB_View_Grid", s.CLB_View_Grid);
    Write("CLB_Diagram_GAS", s.CLB_Diagram_GAS);
    Write("CLB_Diagram_RPM", s.CLB_Diagram_RPM);
    Write("CLB_Diagram_TPS_1", s.CLB_Diagram_TPS_1);
    Write("CLB_Diagram_TPS_2", s.CLB_Diagram_TPS_2);
    Write("CLB_Diagram_TPS_3", s.CLB_Diagram_TPS_3);
    Write("CLB_Diagram_VAC", s.CLB_Diagram_VAC);
    Write("RPM_Change_Time", s.RPM_Change_Time);
    Write("CFG_RPM_Idle_Run", std::to_string(Configuration.RPM_Idle_Run), "RPM_Idle_Run_Rem");
    Call_Hook(Settings_Hooks.ICO_Save);
}

bool Settings_Save_End()
{
    const bool written = Key_File_Save(Settings_File_Path());
    Language_Release();
    Settings.Language = Saved_Language;
    if (!written) return false;
    return Set_Key_In_File(Settings_File_Path(), "Language", Settings.Language,
                           Language_Text("Language_Rem"));
}

std::string Set_Priority(const std::string& name)
{
    if (name == "RealTime" || name == "High" || name == "Normal" || name == "Idle")
        sys::Set_Priority_Class(name);
    sys::Set_Thread_Time_Critical();
    return Priority_Text();
}

std::string Priority_Text()
{
    const std::string text = sys::Priority_Class_Text();
    Call_Hook(Settings_Hooks.Reply_Delay_Colour);
    return text;
}

std::string Wrap_Text_Chars(const std::string& text) { return Wrap_Text_Chars(text, Settings.Hint_Length); }

void Settings_Reset()
{
    Settings = Settings_Class{};
    Settings_File_Readable = false;
    Settings_Hooks = Settings_Hooks_Class{};
}
