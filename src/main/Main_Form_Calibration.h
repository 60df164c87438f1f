// The Calibration page: the transfer buttons and the VAC curve's box with its live factor.
#pragma once

#include "main/Main_Form_Part.h"
#include "platform/ui/UI.h"

struct Main_Form_Calibration : Main_Form_Part {
    TTabSheet* TabSheet_Calibration = nullptr;
    TButton* Button_CLB_Receiv = nullptr;
    TButton* Button_CLB_Transmitt = nullptr;
    // The VAC curve of the chart: its box and its live factor (models with the VAC input).
    TCheckBox* CheckBox_CLB_Diagram_VAC = nullptr;
    TLabel* Label_CLB_Diagram_VAC = nullptr;
    TLabel* Label_CLB_Diagram_VAC_Data = nullptr;

    void Create_Sheet(TComponent* Owner, TPageControl* Pages);
    void Create_Part(TComponent* Owner, TControl* Content);
    TTabSheet* Part_Sheet() const { return TabSheet_Calibration; }
    std::vector<TControl*> Part_Value_Labels() const { return {Label_CLB_Diagram_VAC_Data}; }
    std::vector<TButton*> Part_Link_Buttons() const { return {Button_CLB_Receiv, Button_CLB_Transmitt}; }
    std::vector<TControl*> Part_Buffered_Controls() const { return {TabSheet_Calibration}; }
    // The VAC factor while the page is shown and the model has the VAC input.
    void Show_Live_Part(const Live_Texts& T, bool Page_Active, TForm_KardunGAS& Form);
};
