// The status row of the main window: port, link and protocol state, the error line, the
// work mode with its button, and the forcing strip (one button per gas injector and one
// for all).
#pragma once

#include <cstdint>

#include "main/Main_Form_Part.h"
#include "platform/ui/UI.h"

struct Main_Form_Status : Main_Form_Part {
    // ---- port and link state ----
    TPanel* Panel_PortStatus = nullptr;
    TPanel* Panel_ConnectStatus = nullptr;
    TPanel* Panel_ConnectStatus_PerCent = nullptr;
    TPanel* Panel_ProtokolStatus = nullptr;
    TPanel* Panel_ErrorStatus = nullptr;
    TPanel* Panel_WorkMode = nullptr;
    TButton* Button_Select_ComPort = nullptr;

    // ---- forcing buttons and the work-mode button ----
    TButton* Button_Gas_Fors1 = nullptr;
    TButton* Button_Gas_Fors2 = nullptr;
    TButton* Button_Gas_Fors3 = nullptr;
    TButton* Button_Gas_Fors4 = nullptr;
    TButton* Button_Gas_Fors5 = nullptr;
    TButton* Button_Gas_Fors6 = nullptr;
    TButton* Button_Gas_Fors7 = nullptr;
    TButton* Button_Gas_Fors8 = nullptr;
    TButton* Button_Gas_Fors_All = nullptr;
    TButton* Button_WorkMode = nullptr;
    // Forcing button k (1..8); nullptr outside.
    TButton* Gas_Fors_Button(int k) const;

    // Laid out along the bottom of the content panel.
    void Create_Part(TComponent* Owner, TControl* Content);
    // The status line (panel and its timer), the forcing buttons' state for the protocol,
    // and the work mode shown from the live data.
    void Bind_Part(TForm_KardunGAS& Form);
    std::vector<TButton*> Part_Link_Buttons() const { return {Button_WorkMode}; }
    // Every control of the status row and the forcing strip, each once, row by row from the
    // left (for the geometry report: what the technician sees of the link and the mode).
    std::vector<TControl*> Status_Row_Controls() const;
};
