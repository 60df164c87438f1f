// What the controller's identification changes on the main window: the model's controls,
// the program data on the About page, and the refusal of a controller whose program this
// version does not work with.
#include <filesystem>

#include "data/Configuration.h"
#include "data/Conversions.h"
#include "data/Globals.h"
#include "language/Language.h"
#include "main/Main_Form.h"
#include "main/Program.h"
#include "protocol/CFG_File.h"
#include "protocol/Ident.h"
#include "windows/MSG.h"

void TForm_KardunGAS::Configuration_Page_Init()
{
    // The record with its preset tables and factory defaults; the Configuration page's
    // lists are filled from them, then the last car file is loaded over the defaults and
    // the whole record shown.
    RPM_Tab_Setup();
    Configuration_Create();
    CFG_Data_Init();
    // The group's own English texts are registered now: its captions in the language.
    Set_GD_Captions();
    CFG_Page_Setup(std::filesystem::path(Program_File).stem().string());
    CFG_Startup_Load();
    Setup_Model_Controls();
    Show_Configuration(*this);
}

void TForm_KardunGAS::Ident_Windows()
{
    Setup_Model_Controls();
    Yellow_Wire_List_Fill();
    if (!Has_VAC())
        CheckBox_CLB_Diagram_VAC->Checked(false);
    Show_Auxiliary_Labels();
    About_Program_Show();
}

void TForm_KardunGAS::Setup_Model_Controls()
{
    // The level-sensor presets of the model and the injector count it drives.
    Level_Sensor_Box_Fill(Level_Sensor_Box_Count);
    Inject_Num.UpDown->Max(Max_Injectors());
    // Without the TPS emulation its group is covered and its sources and the VAC
    // controls keep the previous model's state.
    if (!TPS_Not_Exist_Show()) {
        Fill_TPS_Combos();
        Show_VAC_Controls();
    }
    Options_Order_Init();
    // The Transmit and Receive hints name the controller's program.
    Language_Load_File();
    Hints_Transmit_Apply();
    Language_Release();
}

void TForm_KardunGAS::Show_VAC_Controls()
{
    const bool V = Has_VAC();
    CheckBox_CLB_Diagram_VAC->Enabled(V);
    Label_CLB_Diagram_VAC->Enabled(V);
    Label_CLB_Diagram_VAC_Data->Enabled(V);
    GD_VAC_Controls_Show(V);
    // Without the VAC input there is no VAC factor to show.
    if (!V) {
        Label_Vac_k->Caption("");
        Label_CLB_Diagram_VAC_Data->Caption("");
    }
    Show_Auxiliary_Labels();
}

void TForm_KardunGAS::Show_Auxiliary_Labels()
{
    Main_Form_General::Show_Auxiliary_Labels(CheckBox_CLB_Diagram_VAC->Enabled());
}

bool TForm_KardunGAS::Check_Ident_Status()
{
    Version_Error_Closed = false;
    const bool Refused = Ident_Status_Failed();
    if (Refused)
        Show_Message(Message_Type::Wrong_Version, "Error_Version", clRed);
    Enabled(!Refused);
    return Refused;
}
