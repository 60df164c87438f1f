// Calibration page: its transfer buttons and the VAC curve's box with its live factor.
#include "main/Main_Form_Calibration.h"

#include "data/Conversions.h"
#include "main/Main_Form_Build.h"
#include "protocol/Live_Data.h"

void Main_Form_Calibration::Create_Sheet(TComponent* Owner, TPageControl* Pages)
{
    TabSheet_Calibration = build::Sheet(Owner, Pages, "TabSheet_Calibration", "Calibration");
}

void Main_Form_Calibration::Create_Part(TComponent* Owner, TControl* Content)
{
    TControl* S = TabSheet_Calibration;
    Button_CLB_Receiv = build::Button(Owner, S, "Button_CLB_Receiv", "Receive", 6, 4, 90, 25);
    Button_CLB_Transmitt = build::Button(Owner, S, "Button_CLB_Transmitt", "Transmit", 100, 4, 90, 25);
    // The VAC curve's box and live factor; usable on models with the VAC input only.
    CheckBox_CLB_Diagram_VAC = build::Check(Owner, S, "CheckBox_CLB_Diagram_VAC", Label_CLB_Diagram_VAC,
                                            "Label_CLB_Diagram_VAC", "VAC", 200, 8);
    Label_CLB_Diagram_VAC_Data =
        build::Label(Owner, S, "Label_CLB_Diagram_VAC_Data", "", 260, 9);
    CheckBox_CLB_Diagram_VAC->Enabled(false);
    Label_CLB_Diagram_VAC->Enabled(false);
    Label_CLB_Diagram_VAC_Data->Enabled(false);
}

void Main_Form_Calibration::Show_Live_Part(const Live_Texts& T, bool Page_Active, TForm_KardunGAS& Form)
{
    if (Page_Active && CheckBox_CLB_Diagram_VAC->Enabled())
        Label_CLB_Diagram_VAC_Data->Caption(Format_Factor(Live_Values.Live_Factor_VAC));
}
