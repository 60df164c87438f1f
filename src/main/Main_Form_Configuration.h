// The Configuration page: the transfer buttons, the injection panel, the idle-speed and
// password buttons and the service-time group.
#pragma once

#include "main/Main_Form_Part.h"
#include "platform/ui/UI.h"

struct Main_Form_Configuration : Main_Form_Part {
    TTabSheet* TabSheet_Configuration = nullptr;
    TPanel* Panel_CFG_Injection_Type = nullptr;
    TButton* Button_CFG_Receiv = nullptr;
    TButton* Button_CFG_Transmitt = nullptr;
    TButton* Button_CFG_RPM_set = nullptr;
    TButton* Button_CFG_RPM_IdleRun = nullptr;
    TButton* Button_CFG_User_Password = nullptr;
    TGroupBox* GroupBox_CFG_Service_Time = nullptr;
    TButton* Button_CFG_ST_Clr = nullptr;
    TButton* Button_CFG_ST_Set = nullptr;
    TButton* Button_CFG_ST_Refresh = nullptr;

    void Create_Sheet(TComponent* Owner, TPageControl* Pages);
    void Create_Part(TComponent* Owner, TControl* Content);
    TTabSheet* Part_Sheet() const { return TabSheet_Configuration; }
    std::vector<TButton*> Part_Link_Buttons() const;
    std::vector<TControl*> Part_Hint_Controls() const;
    std::vector<TControl*> Part_Buffered_Controls() const;
};
