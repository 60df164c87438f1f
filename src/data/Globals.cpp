#include "data/Globals.h"

#include "data/Key_File.h"

#include <filesystem>
#include <system_error>

std::string Program_Dir;
std::string Exe_Name;
std::string Help_Dir;
std::string Language_Dir;
std::string Settings_File_Name;
std::string Temperature_File_Name;
std::string Program_Name_Text;

bool Port_Open = false;
bool Connected = false;
uint8_t Work_Mode = 0;
int32_t Ident_Status = 0;
uint16_t Error_Control_Word = 0;
bool Temperature_File_Found = true;
bool UI_Ready = false;
bool Error_Memo_Shown = false;
bool Settings_Applied = false;
std::string Preferred_Port;
int32_t RPM_Idle_Run_Default = 600;
bool CFG_Loaded_For_Write = false;
bool DS_Correction_Parked = false;

void Globals_Set_Paths(const std::string& program_file)
{
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    Program_Dir = error ? std::string(".") : current.string();
    std::string file = program_file;
    if (Split_Path(program_file)) file = Split_File_Name;
    Exe_Name = Strip_Extension(file);
    if (Exe_Name.empty()) Exe_Name = Built_In_Exe_Name;
    Help_Dir = Program_Dir + "/Help";
    Language_Dir = Program_Dir + "/Language";
    Settings_File_Name = Exe_Name + ".ini";
    Temperature_File_Name = Exe_Name + ".dat";
    Program_Name_Text.clear();
}

std::string Program_File_Path(const std::string& name) { return Program_Dir + "/" + name; }

void Globals_Reset()
{
    Program_Dir.clear();
    Exe_Name.clear();
    Help_Dir.clear();
    Language_Dir.clear();
    Settings_File_Name.clear();
    Temperature_File_Name.clear();
    Program_Name_Text.clear();
    Port_Open = false;
    Connected = false;
    Work_Mode = 0;
    Ident_Status = 0;
    Error_Control_Word = 0;
    Temperature_File_Found = true;
    UI_Ready = false;
    Error_Memo_Shown = false;
    Settings_Applied = false;
    Preferred_Port.clear();
    RPM_Idle_Run_Default = 600;
    CFG_Loaded_For_Write = false;
    DS_Correction_Parked = false;
}
