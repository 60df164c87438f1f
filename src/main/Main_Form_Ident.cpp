// What the controller's identification changes on the main window: the model's controls,
// the program data on the About page, and the refusal of a controller whose program this
// version does not work with.
#include "data/Configuration.h"
#include "data/Conversions.h"
#include "data/Globals.h"
#include "language/Language.h"
#include "main/Main_Form.h"
#include "protocol/Ident.h"
#include "windows/MSG.h"

void TForm_KardunGAS::Configuration_Page_Init()
{
    // The record with its preset tables and factory defaults. The injector type list, the
    // level-type and MAP-type combos, the LED row images and the loading of the last car
    // file take their places here with the Configuration page's editors.
    Configuration_Create();
}

void TForm_KardunGAS::Ident_Windows()
{
    Setup_Model_Controls();
    // The yellow-wire function list is refilled here once the Configuration page holds it.
    if (!Has_VAC())
        CheckBox_CLB_Diagram_VAC->Checked(false);
    Show_Auxiliary_Labels();
    About_Program_Show();
}

void TForm_KardunGAS::Setup_Model_Controls()
{
    // The level-sensor presets (their combo box joins with the Configuration page).
    Sensor_Boxes_Init();
    // The injector count's limit and the "no TPS emulation" panel belong to the
    // Configuration page's editors; without the panel the model's TPS emulation decides.
    const bool TPS_Not_Exist_Shown = !Has_TPS_Emulation();
    // The TPS source combos are filled with the page; the VAC controls follow the model.
    if (!TPS_Not_Exist_Shown)
        Show_VAC_Controls();
    // Transmit and receive hints and the options list come with the page as well.
}

void TForm_KardunGAS::Show_VAC_Controls()
{
    const bool V = Has_VAC();
    CheckBox_CLB_Diagram_VAC->Enabled(V);
    Label_CLB_Diagram_VAC->Enabled(V);
    Label_CLB_Diagram_VAC_Data->Enabled(V);
    // Without the VAC input there is no VAC factor to show.
    if (!V) {
        Label_Vac_k->Caption("");
        Label_CLB_Diagram_VAC_Data->Caption("");
    }
}

void TForm_KardunGAS::About_Program_Show()
{
    const Configuration_Class& C = Configuration;
    GroupBox_About_Program->Caption(Language_Text("GroupBox_About_Program") + "  " +
                                    Program_Name_Text);
    Edit_About_Ver->Text(C.Program_Version);
    Edit_About_Date->Text(C.Program_Date);
    Edit_About_Work_Gas->Text(Format_Fixed(C.Work_Gas / 60.0, 10, 2));
    Edit_About_Work_Petrol->Text(Format_Fixed(C.Work_Petrol / 60.0, 10, 2));
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
