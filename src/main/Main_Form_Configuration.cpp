// Configuration page: its transfer, idle-speed, password and service-time buttons and the
// injection panel.
#include "main/Main_Form_Configuration.h"

#include "main/Main_Form_Build.h"

void Main_Form_Configuration::Create_Sheet(TComponent* Owner, TPageControl* Pages)
{
    TabSheet_Configuration = build::Sheet(Owner, Pages, "TabSheet_Configuration", "Configuration");
}

void Main_Form_Configuration::Create_Part(TComponent* Owner, TControl* Content)
{
    TControl* S = TabSheet_Configuration;
    // Transfer buttons along the top of the page.
    Button_CFG_Receiv = build::Button(Owner, S, "Button_CFG_Receiv", "Receive", 6, 4, 90, 25);
    Button_CFG_Transmitt = build::Button(Owner, S, "Button_CFG_Transmitt", "Transmit", 100, 4, 90, 25);

    Panel_CFG_Injection_Type =
        build::Panel(Owner, S, "Panel_CFG_Injection_Type", "", 6, 36, 380, 200);
    Panel_CFG_Injection_Type->BevelOuter(TBevel_Cut::Lowered);

    Button_CFG_RPM_set = build::Button(Owner, S, "Button_CFG_RPM_set", "Set idle R.P.M.", 392, 36, 120, 25);
    Button_CFG_RPM_set->GroupIndex(1);
    Button_CFG_RPM_set->AllowAllUp(true);
    Button_CFG_RPM_IdleRun = build::Button(Owner, S, "Button_CFG_RPM_IdleRun", "Setting", 516, 36, 90, 25);
    Button_CFG_User_Password =
        build::Button(Owner, S, "Button_CFG_User_Password", "Password", 392, 68, 120, 25);

    GroupBox_CFG_Service_Time =
        build::Group(Owner, S, "GroupBox_CFG_Service_Time", "Service time", 392, 100, 374, 60);
    Button_CFG_ST_Clr = build::Button(Owner, GroupBox_CFG_Service_Time, "Button_CFG_ST_Clr", "Clear", 8, 22, 80, 25);
    Button_CFG_ST_Set = build::Button(Owner, GroupBox_CFG_Service_Time, "Button_CFG_ST_Set", "Set", 94, 22, 80, 25);
    Button_CFG_ST_Refresh =
        build::Button(Owner, GroupBox_CFG_Service_Time, "Button_CFG_ST_Refresh", "Refresh", 180, 22, 80, 25);
}

std::vector<TButton*> Main_Form_Configuration::Part_Link_Buttons() const
{
    return {Button_CFG_Receiv, Button_CFG_Transmitt, Button_CFG_RPM_set, Button_CFG_RPM_IdleRun,
            Button_CFG_User_Password, Button_CFG_ST_Clr, Button_CFG_ST_Set, Button_CFG_ST_Refresh};
}

std::vector<TControl*> Main_Form_Configuration::Part_Hint_Controls() const
{
    return {Button_CFG_Transmitt, Button_CFG_Receiv, Button_CFG_User_Password};
}

std::vector<TControl*> Main_Form_Configuration::Part_Buffered_Controls() const
{
    return {TabSheet_Configuration, Panel_CFG_Injection_Type};
}
