#include "main/Process_State.h"

#include "data/Calibration.h"
#include "data/Car_Search.h"
#include "data/Configuration.h"
#include "data/Conversions.h"
#include "data/GD_Options.h"
#include "data/Globals.h"
#include "data/Injectors.h"
#include "data/Key_File.h"
#include "data/Settings.h"
#include "language/Language.h"
#include "language/Language_En.h"
#include "main/Gauges.h"
#include "main/Program.h"
#include "platform/system/Date_Time.h"
#include "platform/system/Files.h"
#include "platform/system/Serial_Ports.h"
#include "platform/system/Shell.h"
#include "platform/ui/Runtime.h"
#include "platform/ui/Text.h"
#include "protocol/CFG_File.h"
#include "protocol/CLB_Codec.h"
#include "protocol/Frames.h"
#include "protocol/Ident.h"
#include "protocol/Live_Data.h"
#include "protocol/Param_Codecs.h"
#include "protocol/Loader.h"
#include "protocol/Protocol_Hooks.h"
#include "protocol/Script.h"
#include "protocol/Status_Queue.h"
#include "serial/CPort.h"
#include "windows/DTB_Window.h"
#include "windows/Drive_Window.h"
#include "windows/ICO_Window.h"
#include "windows/Loader_Window.h"
#include "windows/MiniCFG_Window.h"
#include "windows/MSG.h"
#include "windows/Password_Window.h"
#include "windows/Port_Window.h"
#include "windows/RPM_Window.h"

void Reset_All_State()
{
    // Platform.
    ui::Reset_Hooks();
    ui::Reset_Charset();
    sys::Reset_File_Hooks();
    sys::Reset_Serial_Ports();
    sys::Set_Now(0);
    sys::Set_Shell_Open_Hook(nullptr);
    // Data and the text lookup.
    Globals_Reset();
    Settings_Reset();
    Key_File_Reset();
    Language_Reset();
    English_Tables_Reset();
    Configuration_Reset();
    Conversions_Reset();
    Calibration_Reset();
    Injectors_Reset();
    GD_Options_Reset();
    Car_Search_Reset();
    // Serial port.
    Reset_ComPort_State();
    // Protocol.
    Frames_Reset();
    Script_Reset();
    Protocol_Hooks_Reset();
    Ident_Reset();
    Live_Data_Reset();
    Live_Data_Hooks_Reset();
    Status_Queue_Reset();
    Link_Quality_Reset_State();
    Param_Codecs_Reset();
    CLB_Codec_Reset();
    CFG_File_Reset();
    Loader_Reset();
    // Windows and the program.
    MSG_Reset();
    MiniCFG_Reset();
    Loader_Window_Hooks = Loader_Window_Hooks_Class{};
    RPM_Window_Reset();
    ICO_Windows_Reset();
    Drive_Window_Reset();
    DTB_Window_Hooks = DTB_Window_Hooks_Class{};
    sys::Monotonic_Clock_Release();
    Port_Window_Reset();
    Password_Window_Reset();
    Gauges_Reset();
    Program_File = Built_In_Exe_Name;
}
