// General page: the live displays and the auxiliary diagnostic labels.
#include "main/Main_Form.h"
#include "main/Main_Form_Build.h"

void TForm_KardunGAS::Create_Page_General()
{
    TControl* S = TabSheet_General;
    auto Display = [this, S](const std::string& Name, int Left, int Top, int Width, int Height) {
        TPanel* P = build::Panel(this, S, Name, "", Left, Top, Width, Height);
        P->BevelOuter(TBevel_Cut::Lowered);
        return P;
    };
    // Three dial displays across the top, three value displays below them.
    Panel_GEN_Display_RPM = Display("Panel_GEN_Display_RPM", 6, 6, 250, 250);
    Panel_GEN_Display_TPS = Display("Panel_GEN_Display_TPS", 261, 6, 250, 250);
    Panel_GEN_Display_Gas = Display("Panel_GEN_Display_Gas", 516, 6, 250, 250);
    Panel_GEN_Display_Temp = Display("Panel_GEN_Display_Temp", 6, 262, 250, 130);
    Panel_GEN_Display_Press = Display("Panel_GEN_Display_Press", 261, 262, 250, 130);
    Panel_GEN_Display_Volt = Display("Panel_GEN_Display_Volt", 516, 262, 250, 130);

    Image_GEN_RPM = build::Make<TImage>(this, Panel_GEN_Display_RPM, "Image_GEN_RPM", 5, 5, 240, 240);
    Image_GEN_TPS = build::Make<TImage>(this, Panel_GEN_Display_TPS, "Image_GEN_TPS", 5, 5, 240, 240);
    Image_GEN_Gas = build::Make<TImage>(this, Panel_GEN_Display_Gas, "Image_GEN_Gas", 5, 5, 240, 240);

    // Auxiliary labels along the bottom of the page (hidden unless asked for).
    TLabel** Aux[10] = {&Label_Rpm_K, &Label_Rpm_Timer, &Label_RPM_Period_mks,
                        &Label_GEN_In_0, &Label_GEN_In_1, &Label_GEN_In_2, &Label_GEN_In_3,
                        &Label_GEN_Out_1, &Label_GEN_Out_2, &Label_GEN_Out_3};
    const char* Names[10] = {"Label_Rpm_K", "Label_Rpm_Timer", "Label_RPM_Period_mks",
                             "Label_GEN_In_0", "Label_GEN_In_1", "Label_GEN_In_2",
                             "Label_GEN_In_3", "Label_GEN_Out_1", "Label_GEN_Out_2",
                             "Label_GEN_Out_3"};
    for (int i = 0; i < 10; ++i) {
        *Aux[i] = build::Label(this, S, Names[i], "0", 8 + i * 76, 400);
        (*Aux[i])->Visible(false);
    }
}
