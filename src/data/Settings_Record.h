// The settings record of the program: its fields only, so that the text lookup below the
// rest of the data can read the language choice. The settings file, the defaults and what
// the settings do on the windows are in data/Settings.h.
#pragma once

#include <array>
#include <cstdint>
#include <string>

constexpr int Language_Names_Count = 20;

class Settings_Class {
public:
    // Display names of the three controller models.
    std::string Name_Block_PIC_1 = "GD2";
    std::string Name_Block_PIC_2 = "GD6";
    std::string Name_Block_PIC_3 = "GD8";
    // Branding boxes of the About page.
    bool Tech_Box_Show = false;
    std::string Tech_Box_Name;
    bool Firm_Box_Show = false;
    std::string Firm_Box_Name, Firm_Address, Firm_Phone, Firm_eMail, Firm_Site;

    std::string Port_Name = "ttyUSB0";  // the first USB serial adapter
    bool Search_Port = false;
    int32_t Reply_Delay = 60;           // ms before a prepared frame is sent (1..999)
    int32_t Delay_Compensation = 100;   // ms added in the RPM sensitivity sweep (1..999)
    bool Save_Load_Data = true;
    std::string CFG_File_Path;          // Program_Dir + "/Config"
    std::string CFG_File_Name;          // Exe_Name + ".cfg"; "Default" means none
    std::string OSC_File_Path;          // Program_Dir + "/Oscilloscope"
    std::string OSC_File_Name;          // Exe_Name + ".osc"
    int32_t Position_Top = 0;
    int32_t Position_Left = 0;
    bool Full_Screen = true;
    bool Transmit_Now = false;
    int32_t Page_Number = 0;            // page shown at start, 0..6
    bool Form_Style = false;            // main window stays on top
    bool Show_Hint = true;
    int32_t Hint_Length = 40;           // characters per hint line, at least 1
    std::string Language = "English";
    bool English_Menu = false;
    std::array<std::string, Language_Names_Count> Language_Names{};
    std::string Font_Name = "Tahoma";   // settings key: Language + "_N"
    int32_t Font_Charset = 1;           // settings key: Language + "_C"
    bool CheckPassword = false;
    bool Show_Auxiliary = false;
    int32_t RPM_Change_Time = 1000;     // ms per step of the RPM sensitivity sweep, at least 1
    bool CLB_View_Grid = true;
    bool CLB_Diagram_GAS = true, CLB_Diagram_RPM = false, CLB_Diagram_TPS_1 = true,
         CLB_Diagram_TPS_2 = true, CLB_Diagram_TPS_3 = true, CLB_Diagram_VAC = false;
    int32_t OSC_Max_mls = 32, OSC_Max_RPM = 5000, OSC_Max_Deg = 1000, OSC_Max_Bar = 200,
            OSC_Max_Volt = 500;
    bool OSC_View_RPM = false, OSC_View_Gas = true, OSC_View_TPS = true, OSC_View_DegVap = false,
         OSC_View_DegGas = false, OSC_View_PressDiff = true, OSC_View_PressColl = true,
         OSC_View_Detonation = true;
    bool OSC_View_Grid = true;
    int32_t OSC_Step_Grid = 4;
    bool OSC_Negativ_Degree = true;
    int32_t OSC_Degree_Volt_Pos = 5;
};

// The one settings record.
extern Settings_Class Settings;
