// General page: the live displays and the auxiliary diagnostic labels.
#include <iostream>

#include "main/Gauges.h"
#include "main/Main_Form.h"
#include "main/Main_Form_Build.h"
#include "protocol/Live_Data.h"

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

    // Each dial face with its needle image on top, centred in the upper part of its panel.
    auto Gauge = [this](TPanel* Panel, const Gauge_Parameters& G, TImage*& Dial, TImage*& Needle) {
        const int Left = (Panel->Width() - Dial_Face_Size) / 2;
        Dial = build::Make<TImage>(this, Panel, G.Dial_Name, Left, 8, Dial_Face_Size, Dial_Face_Size);
        Needle = build::Make<TImage>(this, Panel, G.Image_Name, Left, 8, Dial_Face_Size, Dial_Face_Size);
        Needle->Transparent(true);
    };
    Gauge(Panel_GEN_Display_RPM, Gauge_RPM, Image_GEN_RPM_jpg, Image_GEN_RPM);
    Gauge(Panel_GEN_Display_TPS, Gauge_TPS, Image_GEN_TPS_jpg, Image_GEN_TPS);
    Gauge(Panel_GEN_Display_Gas, Gauge_Gas, Image_GEN_Gas_jpg, Image_GEN_Gas);
    std::string Error;
    if (!Dial_Faces_Load(Image_GEN_RPM_jpg, Image_GEN_TPS_jpg, Image_GEN_Gas_jpg, &Error))
        std::cerr << "KardunGD: " << Error << std::endl;

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

void TForm_KardunGAS::Show_Live_Gauges()
{
    Gauge_Show(Image_GEN_RPM, Gauge_RPM, Live_Values.Live_RPM, Image_GEN_RPM_Width,
               Image_GEN_RPM_Height);
    Gauge_Show(Image_GEN_TPS, Gauge_TPS, Live_Values.Live_TPS, Image_GEN_TPS_Width,
               Image_GEN_TPS_Height);
    Gauge_Show(Image_GEN_Gas, Gauge_Gas, Live_Values.Live_Gas_Time, Image_GEN_Gas_Width,
               Image_GEN_Gas_Height);
}
