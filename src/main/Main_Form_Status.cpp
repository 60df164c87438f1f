// The status row of the main window and its forcing strip.
#include "main/Main_Form_Status.h"

#include <string>

#include "main/Main_Form.h"
#include "windows/Form_Build.h"
#include "protocol/Live_Data.h"
#include "protocol/Protocol_Hooks.h"
#include "protocol/Status_Queue.h"

TButton* Main_Form_Status::Gas_Fors_Button(int k) const
{
    switch (k) {
    case 1: return Button_Gas_Fors1;
    case 2: return Button_Gas_Fors2;
    case 3: return Button_Gas_Fors3;
    case 4: return Button_Gas_Fors4;
    case 5: return Button_Gas_Fors5;
    case 6: return Button_Gas_Fors6;
    case 7: return Button_Gas_Fors7;
    case 8: return Button_Gas_Fors8;
    default: return nullptr;
    }
}

std::vector<TControl*> Main_Form_Status::Status_Row_Controls() const
{
    return {Button_WorkMode,    Button_Gas_Fors1,    Button_Gas_Fors2,           Button_Gas_Fors3,
            Button_Gas_Fors4,   Button_Gas_Fors5,    Button_Gas_Fors6,           Button_Gas_Fors7,
            Button_Gas_Fors8,   Button_Gas_Fors_All, Panel_WorkMode,             Panel_ErrorStatus,
            Panel_PortStatus,   Panel_ConnectStatus, Panel_ConnectStatus_PerCent, Panel_ProtokolStatus,
            Button_Select_ComPort};
}

void Main_Form_Status::Create_Part(TComponent* Owner, TControl* Content)
{
    TControl* P = Content;
    // Work-mode button and the forcing strip.
    Button_WorkMode = build::Button(Owner, P, "Button_WorkMode", "&Mode", 4, 473, 64, 22);
    TButton** Fors[8] = {&Button_Gas_Fors1, &Button_Gas_Fors2, &Button_Gas_Fors3,
                         &Button_Gas_Fors4, &Button_Gas_Fors5, &Button_Gas_Fors6,
                         &Button_Gas_Fors7, &Button_Gas_Fors8};
    for (int k = 1; k <= 8; ++k) {
        TButton* B = build::Button(Owner, P, "Button_Gas_Fors" + std::to_string(k),
                                   std::to_string(k), 74 + (k - 1) * 26, 473, 24, 22);
        B->GroupIndex(k);
        B->AllowAllUp(true);
        *Fors[k - 1] = B;
    }
    Button_Gas_Fors_All = build::Button(Owner, P, "Button_Gas_Fors_All", "*", 74 + 8 * 26, 473, 24, 22);
    Button_Gas_Fors_All->GroupIndex(9);
    Button_Gas_Fors_All->AllowAllUp(true);
    Panel_WorkMode = build::Panel(Owner, P, "Panel_WorkMode", "", 312, 473, 110, 22);
    Panel_ErrorStatus = build::Panel(Owner, P, "Panel_ErrorStatus", "", 426, 473, 350, 22);
    Panel_ErrorStatus->Visible(false);

    // Port and link state.
    Panel_PortStatus = build::Panel(Owner, P, "Panel_PortStatus", "Port close", 4, 497, 170, 21);
    Panel_ConnectStatus = build::Panel(Owner, P, "Panel_ConnectStatus", "Not connect", 176, 497, 190, 21);
    Panel_ConnectStatus_PerCent =
        build::Panel(Owner, P, "Panel_ConnectStatus_PerCent", "100%", 368, 497, 56, 21);
    Panel_ProtokolStatus = build::Panel(Owner, P, "Panel_ProtokolStatus", "", 426, 497, 21, 21);
    Button_Select_ComPort = build::Button(Owner, P, "Button_Select_ComPort", "I", 449, 497, 21, 21);
}

void Main_Form_Status::Bind_Part(TForm_KardunGAS& Form)
{
    Part_Hooks.Bind("Status_Line_Hooks.Timer_Enable", Status_Line_Hooks.Timer_Enable,
                    [&Form](bool On) { Form.Timer_Error->Enabled(On); });
    Part_Hooks.Bind("Status_Line_Hooks.Line_Changed", Status_Line_Hooks.Line_Changed,
                    [this](const Status_Line_State& Line) {
                        Panel_ErrorStatus->Color(Line.Colour);
                        Panel_ErrorStatus->Caption(Line.Text);
                        Panel_ErrorStatus->Visible(Line.Visible);
                    });
    Part_Hooks.Bind("Protocol_Hooks.Gas_Fors_Down", Protocol_Hooks.Gas_Fors_Down, [this](int k) {
        TButton* B = Gas_Fors_Button(k);
        return B && B->Down();
    });
    Part_Hooks.Bind("Live_Data_Hooks.Show_Work_Mode", Live_Data_Hooks.Show_Work_Mode,
                    [&Form](uint8_t Mode, uint8_t Bits) { Form.Show_Work_Mode(Mode, Bits); });
}

