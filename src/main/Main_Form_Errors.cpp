// Errors page: the error memory list, its clear button and the CPU frequency.
#include "main/Main_Form.h"
#include "main/Main_Form_Build.h"

void TForm_KardunGAS::Create_Page_Errors()
{
    TControl* S = TabSheet_Errors;
    Label_ERR_Current = build::Label(this, S, "Label_ERR_Current", "Current status", 8, 8);
    Memo_ERR_Current = build::Make<TMemo>(this, S, "Memo_ERR_Current", 8, 28, 500, 360);
    Memo_ERR_Current->ReadOnly(true);
    Memo_ERR_Current->ScrollBars(TScroll_Style::Vertical);
    Button_ERR_Clear = build::Button(this, S, "Button_ERR_Clear", "Clear", 8, 396, 100, 25);
    Label_ERR_CPU_Freq = build::Label(this, S, "Label_ERR_CPU_Freq", "CPU frequency", 524, 28);
    Label_ERR_CPU_Freq_MHz = build::Label(this, S, "Label_ERR_CPU_Freq_MHz", "0", 624, 28);
    Label_ERR_CPU_Freq_Dim = build::Label(this, S, "Label_ERR_CPU_Freq_Dim", "MHz", 680, 28);
    Label_ERR_Quartz_Freq_Err =
        build::Label(this, S, "Label_ERR_Quartz_Freq_Err", "Quartz error", 524, 52);
    Label_ERR_Quartz_Freq_Err->Visible(false);
}
