// Configuration page: the link buttons it holds (the page's editors come with their own
// files).
#include "main/Main_Form.h"
#include "main/Main_Form_Build.h"

void TForm_KardunGAS::Create_Page_Configuration()
{
    TControl* S = TabSheet_Configuration;
    // Transfer buttons along the top of the page.
    Button_CFG_Receiv = build::Button(this, S, "Button_CFG_Receiv", "Receive", 6, 4, 90, 25);
    Button_CFG_Transmitt = build::Button(this, S, "Button_CFG_Transmitt", "Transmit", 100, 4, 90, 25);

    Panel_CFG_Injection_Type =
        build::Panel(this, S, "Panel_CFG_Injection_Type", "", 6, 36, 380, 200);
    Panel_CFG_Injection_Type->BevelOuter(TBevel_Cut::Lowered);

    Button_CFG_RPM_set = build::Button(this, S, "Button_CFG_RPM_set", "Set idle R.P.M.", 392, 36, 120, 25);
    Button_CFG_RPM_set->GroupIndex(1);
    Button_CFG_RPM_set->AllowAllUp(true);
    Button_CFG_RPM_IdleRun = build::Button(this, S, "Button_CFG_RPM_IdleRun", "Setting", 516, 36, 90, 25);
    Button_CFG_User_Password =
        build::Button(this, S, "Button_CFG_User_Password", "Password", 392, 68, 120, 25);

    GroupBox_CFG_Service_Time =
        build::Group(this, S, "GroupBox_CFG_Service_Time", "Service time", 392, 100, 374, 60);
    Button_CFG_ST_Clr = build::Button(this, GroupBox_CFG_Service_Time, "Button_CFG_ST_Clr", "Clear", 8, 22, 80, 25);
    Button_CFG_ST_Set = build::Button(this, GroupBox_CFG_Service_Time, "Button_CFG_ST_Set", "Set", 94, 22, 80, 25);
    Button_CFG_ST_Refresh =
        build::Button(this, GroupBox_CFG_Service_Time, "Button_CFG_ST_Refresh", "Refresh", 180, 22, 80, 25);
}
