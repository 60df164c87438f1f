// General page: the three dials with their digits, the temperature, pressure and voltage
// displays below them, and the auxiliary diagnostic labels along the bottom.
#include <iostream>

#include "data/Conversions.h"
#include "data/Settings.h"
#include "main/Gauges.h"
#include "main/Main_Form.h"
#include "windows/Form_Build.h"
#include "main/Main_Form_General.h"
#include "protocol/Live_Data.h"

namespace {

// Digits of the dials and of the lower displays: large and bold, readable from the car.
constexpr int Dial_Digit_Size = 22;
constexpr int Row_Digit_Size = 15;
constexpr int Row_Caption_Size = 10;
constexpr int Header_Size = 10;

TLabel* Centred_Label(TComponent* Owner, TControl* Parent, const std::string& Name,
                      const std::string& Caption, int Top, int Height, int Size, bool Bold)
{
    TLabel* L = build::Label(Owner, Parent, Name, Caption, 4, Top);
    L->AutoSize(false);
    L->SetBounds(4, Top, Parent->Width() - 8, Height);
    L->Alignment(TAlignment::Center);
    L->Layout(TText_Layout::Center);
    L->Font().Size(Size);
    if (Bold)
        L->Font().Style(fsBold);
    return L;
}

}  // namespace

void Main_Form_General::Create_Sheet(TComponent* Owner, TPageControl* Pages)
{
    TabSheet_General = build::Sheet(Owner, Pages, "TabSheet_General", "General");
}

void Main_Form_General::Create_Part(TComponent* Owner, TControl* Content)
{
    TControl* S = TabSheet_General;
    auto Display = [Owner, S](const std::string& Name, int Left, int Top, int Width, int Height) {
        TPanel* P = build::Panel(Owner, S, Name, "", Left, Top, Width, Height);
        P->BevelOuter(TBevel_Cut::Lowered);
        return P;
    };
    // Three dial displays across the top, three value displays below them.
    Panel_GEN_Display_RPM = Display("Panel_GEN_Display_RPM", 6, 6, 250, 250);
    Panel_GEN_Display_TPS = Display("Panel_GEN_Display_TPS", 261, 6, 250, 250);
    Panel_GEN_Display_Gas = Display("Panel_GEN_Display_Gas", 516, 6, 250, 250);
    Panel_GEN_Display_Temp = Display("Panel_GEN_Display_Temp", 6, 262, 250, 148);
    Panel_GEN_Display_Press = Display("Panel_GEN_Display_Press", 261, 262, 250, 148);
    Panel_GEN_Display_Volt = Display("Panel_GEN_Display_Volt", 516, 262, 250, 148);

    // Each dial face with its needle image on top, centred in the upper part of its panel;
    // below the dial its caption and its value in large digits.
    auto Gauge = [Owner](TPanel* Panel, const Gauge_Parameters& G, TImage*& Dial, TImage*& Needle,
                        TLabel*& Caption, const std::string& Caption_Name,
                        const std::string& Caption_Text, TLabel*& Digits,
                        const std::string& Digits_Name) {
        const int Left = (Panel->Width() - Dial_Face_Size) / 2;
        Dial = build::Make<TImage>(Owner, Panel, G.Dial_Name, Left, 6, Dial_Face_Size, Dial_Face_Size);
        Needle = build::Make<TImage>(Owner, Panel, G.Image_Name, Left, 6, Dial_Face_Size, Dial_Face_Size);
        Needle->Transparent(true);
        Caption = Centred_Label(Owner, Panel, Caption_Name, Caption_Text, 173, 20, Row_Caption_Size, false);
        Digits = Centred_Label(Owner, Panel, Digits_Name, "0", 193, 50, Dial_Digit_Size, true);
    };
    Gauge(Panel_GEN_Display_RPM, Gauge_RPM, Image_GEN_RPM_jpg, Image_GEN_RPM, Label_GEN_RPM,
          "Label_GEN_RPM", "R.P.M.", Label_GEN_RPM_Dig, "Label_GEN_RPM_Dig");
    Gauge(Panel_GEN_Display_TPS, Gauge_TPS, Image_GEN_TPS_jpg, Image_GEN_TPS, Label_GEN_TPS,
          "Label_GEN_TPS", "Throttle position (TPS)", Label_GEN_TPS_Dig, "Label_GEN_TPS_Dig");
    Gauge(Panel_GEN_Display_Gas, Gauge_Gas, Image_GEN_Gas_jpg, Image_GEN_Gas, Label_GEN_GAS,
          "Label_GEN_GAS", "Gas injection time", Label_GEN_Gas_Dig, "Label_GEN_Gas_Dig");
    std::string Error;
    if (!Dial_Faces_Load(Image_GEN_RPM_jpg, Image_GEN_TPS_jpg, Image_GEN_Gas_jpg, &Error))
        std::cerr << "KardunGD: " << Error << std::endl;

    // The lower displays: a header, then one row per value, the caption on the left and
    // the value right-aligned beside it.
    auto Header = [Owner](TPanel* Panel, TLabel*& L, const std::string& Name, const std::string& Text) {
        L = Centred_Label(Owner, Panel, Name, Text, 3, 20, Header_Size, true);
    };
    auto Row = [Owner](TPanel* Panel, int Index, TLabel*& Caption, const std::string& Caption_Name,
                      const std::string& Caption_Text, TLabel*& Digits, const std::string& Digits_Name) {
        const int Top = 26 + Index * 30;
        Caption = build::Label(Owner, Panel, Caption_Name, Caption_Text, 10, Top + 6);
        Caption->Font().Size(Row_Caption_Size);
        Digits = build::Label(Owner, Panel, Digits_Name, "0", 120, Top);
        Digits->AutoSize(false);
        Digits->SetBounds(120, Top, Panel->Width() - 132, 28);
        Digits->Alignment(TAlignment::Right_Justify);
        Digits->Layout(TText_Layout::Center);
        Digits->Font().Size(Row_Digit_Size);
        Digits->Font().Style(fsBold);
    };
    Header(Panel_GEN_Display_Temp, Label_GEN_Temperature, "Label_GEN_Temperature", "Temperature");
    Row(Panel_GEN_Display_Temp, 0, Label_GEN_TempVap, "Label_GEN_TempVap", "Vaporizer",
        Label_GEN_TempVap_Dig, "Label_GEN_TempVap_Dig");
    Row(Panel_GEN_Display_Temp, 1, Label_GEN_TempGas, "Label_GEN_TempGas", "Gas",
        Label_GEN_TempGas_Dig, "Label_GEN_TempGas_Dig");
    Row(Panel_GEN_Display_Temp, 2, Label_GEN_TempInside, "Label_GEN_TempInside", "Controller",
        Label_GEN_TempInside_Dig, "Label_GEN_TempInside_Dig");
    Row(Panel_GEN_Display_Temp, 3, Label_GEN_TempCouple, "Label_GEN_TempCouple", "Exhaust",
        Label_GEN_TempCouple_Dig, "Label_GEN_TempCouple_Dig");

    Header(Panel_GEN_Display_Press, Label_GEN_Pressure, "Label_GEN_Pressure", "Pressure");
    Row(Panel_GEN_Display_Press, 0, Label_GEN_PressVap, "Label_GEN_PressVap", "Vaporizer",
        Label_GEN_PressVap_Dig, "Label_GEN_PressVap_Dig");
    Row(Panel_GEN_Display_Press, 1, Label_GEN_PressColl, "Label_GEN_PressColl", "Manifold",
        Label_GEN_PressColl_Dig, "Label_GEN_PressColl_Dig");
    Row(Panel_GEN_Display_Press, 2, Label_GEN_PressDiff, "Label_GEN_PressDiff", "Difference",
        Label_GEN_PressDiff_Dig, "Label_GEN_PressDiff_Dig");

    Header(Panel_GEN_Display_Volt, Label_GEN_Voltage, "Label_GEN_Voltage", "Voltage");
    Row(Panel_GEN_Display_Volt, 0, Label_GEN_Power, "Label_GEN_Power", "Power supply",
        Label_GEN_Power_Dig, "Label_GEN_Power_Dig");
    Row(Panel_GEN_Display_Volt, 1, Label_GEN_Detonation, "Label_GEN_Detonation", "Detonation",
        Label_GEN_Detonation_Dig, "Label_GEN_Detonation_Dig");
    Row(Panel_GEN_Display_Volt, 2, Label_GEN_GasLevel, "Label_GEN_GasLevel", "Gas level",
        Label_GEN_GasLevel_Dig, "Label_GEN_GasLevel_Dig");
    Row(Panel_GEN_Display_Volt, 3, Label_GEN_PerCent, "Label_GEN_PerCent", "%",
        Label_GEN_PerCent_Dig, "Label_GEN_PerCent_Dig");

    // Auxiliary labels along the bottom of the page (hidden unless asked for).
    struct Aux_Label {
        TLabel** Label;
        const char* Name;
        int Left;
    };
    const Aux_Label Aux[] = {
        {&Label_Rpm_K, "Label_Rpm_K", 8},           {&Label_Vac_k, "Label_Vac_k", 100},
        {&Label_Rpm_Timer, "Label_Rpm_Timer", 196}, {&Label_RPM_Period_mks, "Label_RPM_Period_mks", 236},
        {&Label_GEN_In_0, "Label_GEN_In_0", 330},   {&Label_GEN_In_1, "Label_GEN_In_1", 392},
        {&Label_GEN_In_2, "Label_GEN_In_2", 454},   {&Label_GEN_In_3, "Label_GEN_In_3", 516},
        {&Label_GEN_Out_1, "Label_GEN_Out_1", 580}, {&Label_GEN_Out_2, "Label_GEN_Out_2", 646},
        {&Label_GEN_Out_3, "Label_GEN_Out_3", 712},
    };
    for (const Aux_Label& A : Aux) {
        *A.Label = build::Label(Owner, S, A.Name, "0", A.Left, 416);
        (*A.Label)->Visible(false);
    }
    // The VAC factor belongs to models with the VAC input: empty until one is connected.
    Label_Vac_k->Caption("");
}

void Main_Form_General::Show_Live_Part(const Live_Texts& T, bool Page_Active, TForm_KardunGAS& Form)
{
    Label_GEN_RPM_Dig->Caption(T.RPM);
    Label_GEN_Gas_Dig->Caption(T.Gas);
    Label_GEN_TPS_Dig->Caption(T.TPS);
    Label_GEN_TempVap_Dig->Caption(T.TempVap);
    Label_GEN_TempGas_Dig->Caption(T.TempGas);
    Label_GEN_TempInside_Dig->Caption(T.TempInside);
    Label_GEN_TempCouple_Dig->Caption(T.TempCouple);
    Label_GEN_PressVap_Dig->Caption(T.PressVap);
    Label_GEN_PressColl_Dig->Caption(T.PressColl);
    Label_GEN_PressDiff_Dig->Caption(T.PressDiff);
    Label_GEN_Power_Dig->Caption(T.Power);
    Label_GEN_Detonation_Dig->Caption(T.Detonation);
    Label_GEN_GasLevel_Dig->Caption(T.Gas_Level);
    Label_Rpm_K->Caption(T.Rpm_K);
    Label_Rpm_Timer->Caption(T.Rpm_Timer);
    Label_RPM_Period_mks->Caption(T.RPM_Period);
    // The VAC factor belongs to models with the VAC input (the Calibration page's VAC box
    // is usable then).
    if (Form.CheckBox_CLB_Diagram_VAC->Enabled())
        Label_Vac_k->Caption(T.Vac_K);
    Label_GEN_PerCent_Dig->Caption(T.PerCent);
    TLabel* In[4] = {Label_GEN_In_0, Label_GEN_In_1, Label_GEN_In_2, Label_GEN_In_3};
    for (int I = 0; I < 4; ++I)
        In[I]->Caption(T.In[I]);
    TLabel* Out[3] = {Label_GEN_Out_1, Label_GEN_Out_2, Label_GEN_Out_3};
    for (int I = 0; I < 3; ++I)
        Out[I]->Caption(T.Out[I]);
    Show_Live_Gauges();
}

void Main_Form_General::Show_Live_Gauges()
{
    // Each needle with its dial face in one opaque picture over the face.
    Gauge_Show_On_Face(Image_GEN_RPM, Image_GEN_RPM_jpg, Gauge_RPM, Live_Values.Live_RPM,
                       Image_GEN_RPM_Width, Image_GEN_RPM_Height);
    Gauge_Show_On_Face(Image_GEN_TPS, Image_GEN_TPS_jpg, Gauge_TPS, Live_Values.Live_TPS,
                       Image_GEN_TPS_Width, Image_GEN_TPS_Height);
    Gauge_Show_On_Face(Image_GEN_Gas, Image_GEN_Gas_jpg, Gauge_Gas, Live_Values.Live_Gas_Time,
                       Image_GEN_Gas_Width, Image_GEN_Gas_Height);
}

void Main_Form_General::Show_Temperature_Part(bool Shown)
{
    for (TLabel* L : {Label_GEN_Temperature, Label_GEN_TempVap, Label_GEN_TempGas,
                      Label_GEN_TempInside})
        L->Visible(Shown);
}

void Main_Form_General::Remember_Gauge_Sizes()
{
    Image_GEN_RPM_Width = Image_GEN_RPM->Width();
    Image_GEN_RPM_Height = Image_GEN_RPM->Height();
    Image_GEN_TPS_Width = Image_GEN_TPS->Width();
    Image_GEN_TPS_Height = Image_GEN_TPS->Height();
    Image_GEN_Gas_Width = Image_GEN_Gas->Width();
    Image_GEN_Gas_Height = Image_GEN_Gas->Height();
}

std::vector<TLabel*> Main_Form_General::Auxiliary_Labels() const
{
    return {Label_Rpm_K,    Label_Vac_k,    Label_Rpm_Timer, Label_RPM_Period_mks,
            Label_GEN_In_0, Label_GEN_In_1, Label_GEN_In_2,  Label_GEN_In_3,
            Label_GEN_Out_1, Label_GEN_Out_2, Label_GEN_Out_3};
}

void Main_Form_General::Show_Auxiliary_Labels(bool VAC_Curve_Enabled)
{
    for (TLabel* L : Auxiliary_Labels())
        L->Visible(Settings.Show_Auxiliary && (L != Label_Vac_k || VAC_Curve_Enabled));
}

std::vector<TControl*> Main_Form_General::Part_Value_Labels() const
{
    std::vector<TControl*> Labels = {
        Label_GEN_RPM_Dig,       Label_GEN_TPS_Dig,       Label_GEN_Gas_Dig,
        Label_GEN_TempVap_Dig,   Label_GEN_TempGas_Dig,   Label_GEN_TempInside_Dig,
        Label_GEN_TempCouple_Dig, Label_GEN_PressVap_Dig, Label_GEN_PressColl_Dig,
        Label_GEN_PressDiff_Dig, Label_GEN_Power_Dig,     Label_GEN_Detonation_Dig,
        Label_GEN_GasLevel_Dig,  Label_GEN_PerCent_Dig};
    for (TLabel* L : Auxiliary_Labels())
        Labels.push_back(L);
    return Labels;
}

std::vector<TControl*> Main_Form_General::Part_Buffered_Controls() const
{
    return {TabSheet_General,       Panel_GEN_Display_RPM,   Panel_GEN_Display_TPS,
            Panel_GEN_Display_Gas,  Panel_GEN_Display_Temp,  Panel_GEN_Display_Press,
            Panel_GEN_Display_Volt};
}

