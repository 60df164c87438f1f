// The General page: the three dials with their digits, the temperature, pressure and
// voltage displays below them, and the auxiliary diagnostic labels along the bottom.
#pragma once

#include <utility>

#include "main/Main_Form_Part.h"
#include "platform/ui/UI.h"

struct Main_Form_General : Main_Form_Part {
    TTabSheet* TabSheet_General = nullptr;
    TPanel* Panel_GEN_Display_RPM = nullptr;
    TPanel* Panel_GEN_Display_TPS = nullptr;
    TPanel* Panel_GEN_Display_Gas = nullptr;
    TPanel* Panel_GEN_Display_Temp = nullptr;
    TPanel* Panel_GEN_Display_Press = nullptr;
    TPanel* Panel_GEN_Display_Volt = nullptr;
    // Dial faces and, above each, the image its needle is drawn into.
    TImage* Image_GEN_RPM_jpg = nullptr;
    TImage* Image_GEN_TPS_jpg = nullptr;
    TImage* Image_GEN_Gas_jpg = nullptr;
    TImage* Image_GEN_RPM = nullptr;
    TImage* Image_GEN_TPS = nullptr;
    TImage* Image_GEN_Gas = nullptr;
    // Captions and digits of the three dials.
    TLabel* Label_GEN_RPM = nullptr;
    TLabel* Label_GEN_RPM_Dig = nullptr;
    TLabel* Label_GEN_TPS = nullptr;
    TLabel* Label_GEN_TPS_Dig = nullptr;
    TLabel* Label_GEN_GAS = nullptr;
    TLabel* Label_GEN_Gas_Dig = nullptr;
    // Temperatures.
    TLabel* Label_GEN_Temperature = nullptr;
    TLabel* Label_GEN_TempVap = nullptr;
    TLabel* Label_GEN_TempVap_Dig = nullptr;
    TLabel* Label_GEN_TempGas = nullptr;
    TLabel* Label_GEN_TempGas_Dig = nullptr;
    TLabel* Label_GEN_TempInside = nullptr;
    TLabel* Label_GEN_TempInside_Dig = nullptr;
    TLabel* Label_GEN_TempCouple = nullptr;
    TLabel* Label_GEN_TempCouple_Dig = nullptr;
    // Pressures.
    TLabel* Label_GEN_Pressure = nullptr;
    TLabel* Label_GEN_PressVap = nullptr;
    TLabel* Label_GEN_PressVap_Dig = nullptr;
    TLabel* Label_GEN_PressColl = nullptr;
    TLabel* Label_GEN_PressColl_Dig = nullptr;
    TLabel* Label_GEN_PressDiff = nullptr;
    TLabel* Label_GEN_PressDiff_Dig = nullptr;
    // Supply voltage, knock sensor, gas level and the gas share.
    TLabel* Label_GEN_Voltage = nullptr;
    TLabel* Label_GEN_Power = nullptr;
    TLabel* Label_GEN_Power_Dig = nullptr;
    TLabel* Label_GEN_Detonation = nullptr;
    TLabel* Label_GEN_Detonation_Dig = nullptr;
    TLabel* Label_GEN_GasLevel = nullptr;
    TLabel* Label_GEN_GasLevel_Dig = nullptr;
    TLabel* Label_GEN_PerCent = nullptr;
    TLabel* Label_GEN_PerCent_Dig = nullptr;
    // Auxiliary diagnostic labels (shown with the setting Show_Auxiliary).
    TLabel* Label_Rpm_K = nullptr;
    TLabel* Label_Rpm_Timer = nullptr;
    TLabel* Label_RPM_Period_mks = nullptr;
    TLabel* Label_Vac_k = nullptr;
    TLabel* Label_GEN_In_0 = nullptr;
    TLabel* Label_GEN_In_1 = nullptr;
    TLabel* Label_GEN_In_2 = nullptr;
    TLabel* Label_GEN_In_3 = nullptr;
    TLabel* Label_GEN_Out_1 = nullptr;
    TLabel* Label_GEN_Out_2 = nullptr;
    TLabel* Label_GEN_Out_3 = nullptr;

    // The needle images' sizes taken when the window is created.
    int Image_GEN_RPM_Width = 0, Image_GEN_RPM_Height = 0;
    int Image_GEN_TPS_Width = 0, Image_GEN_TPS_Height = 0;
    int Image_GEN_Gas_Width = 0, Image_GEN_Gas_Height = 0;

    void Create_Sheet(TComponent* Owner, TPageControl* Pages);
    void Create_Part(TComponent* Owner, TControl* Content);
    TTabSheet* Part_Sheet() const { return TabSheet_General; }
    std::vector<TControl*> Part_Value_Labels() const;
    std::vector<TControl*> Part_Buffered_Controls() const;

    // The needle images' sizes, from the images as they are now.
    void Remember_Gauge_Sizes();
    // The digits and the needles.
    void Show_Live_Part(const Live_Texts& T, bool Page_Active, TForm_KardunGAS& Form);
    // The live values on the gauges.
    void Show_Live_Gauges();
    // Temperature displays shown or hidden as the temperature table is found or missing.
    void Show_Temperature_Part(bool Shown);
    // The auxiliary labels shown or hidden by the setting Show_Auxiliary.
    // The auxiliary labels per the setting Show_Auxiliary; the VAC factor only when the
    // controller has the VAC input as well (its curve box is enabled).
    void Show_Auxiliary_Labels(bool VAC_Curve_Enabled);
    std::vector<TLabel*> Auxiliary_Labels() const;
};
