// The Errors page: the error memory list, its clear button and the CPU frequency.
#pragma once

#include "main/Main_Form_Part.h"
#include "platform/ui/UI.h"

struct Main_Form_Errors : Main_Form_Part {
    TTabSheet* TabSheet_Errors = nullptr;
    TLabel* Label_ERR_Current = nullptr;
    TMemo* Memo_ERR_Current = nullptr;
    TButton* Button_ERR_Clear = nullptr;
    TLabel* Label_ERR_CPU_Freq = nullptr;
    TLabel* Label_ERR_CPU_Freq_MHz = nullptr;
    TLabel* Label_ERR_CPU_Freq_Dim = nullptr;
    TLabel* Label_ERR_Quartz_Freq_Err = nullptr;

    void Create_Sheet(TComponent* Owner, TPageControl* Pages);
    void Create_Part(TComponent* Owner, TControl* Content);
    // The error memory list follows the live data's error word.
    void Bind_Part(TForm_KardunGAS& Form);
    TTabSheet* Part_Sheet() const { return TabSheet_Errors; }
    std::vector<TControl*> Part_Value_Labels() const { return {Label_ERR_CPU_Freq_MHz}; }
    std::vector<TButton*> Part_Link_Buttons() const { return {Button_ERR_Clear}; }
    // The CPU frequency of a controller that answers.
    void Show_Live_Part(const Live_Texts& T, bool Page_Active, TForm_KardunGAS& Form);
    // The error memory list in the language's texts.
    void Show_Error_Memo();
};
