// Calibration page: the link buttons it holds (the chart and curve editors come with their
// own files).
#include "main/Main_Form.h"
#include "main/Main_Form_Build.h"

void TForm_KardunGAS::Create_Page_Calibration()
{
    TControl* S = TabSheet_Calibration;
    Button_CLB_Receiv = build::Button(this, S, "Button_CLB_Receiv", "Receive", 6, 4, 90, 25);
    Button_CLB_Transmitt = build::Button(this, S, "Button_CLB_Transmitt", "Transmit", 100, 4, 90, 25);
    // The VAC curve's box and live factor; usable on models with the VAC input only.
    CheckBox_CLB_Diagram_VAC = build::Check(this, S, "CheckBox_CLB_Diagram_VAC", Label_CLB_Diagram_VAC,
                                            "Label_CLB_Diagram_VAC", "VAC", 200, 8);
    Label_CLB_Diagram_VAC_Data =
        build::Label(this, S, "Label_CLB_Diagram_VAC_Data", "", 260, 9);
    CheckBox_CLB_Diagram_VAC->Enabled(false);
    Label_CLB_Diagram_VAC->Enabled(false);
    Label_CLB_Diagram_VAC_Data->Enabled(false);
}
