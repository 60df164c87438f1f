// Errors page: the error memory list, its clear button and the CPU frequency.
#include "main/Main_Form_Errors.h"

#include "language/Language.h"
#include "windows/Form_Build.h"
#include "protocol/Live_Data.h"

void Main_Form_Errors::Create_Sheet(TComponent* Owner, TPageControl* Pages)
{
    TabSheet_Errors = build::Sheet(Owner, Pages, "TabSheet_Errors", "Errors");
}

void Main_Form_Errors::Create_Part(TComponent* Owner, TControl* Content)
{
    TControl* S = TabSheet_Errors;
    Label_ERR_Current = build::Label(Owner, S, "Label_ERR_Current", "Current status", 8, 8);
    Memo_ERR_Current = build::Make<TMemo>(Owner, S, "Memo_ERR_Current", 8, 28, 500, 360);
    Memo_ERR_Current->ReadOnly(true);
    Memo_ERR_Current->ScrollBars(TScroll_Style::Vertical);
    Button_ERR_Clear = build::Button(Owner, S, "Button_ERR_Clear", "Clear", 8, 396, 100, 25);
    Label_ERR_CPU_Freq = build::Label(Owner, S, "Label_ERR_CPU_Freq", "CPU frequency", 524, 28);
    Label_ERR_CPU_Freq_MHz = build::Label(Owner, S, "Label_ERR_CPU_Freq_MHz", "0", 624, 28);
    Label_ERR_CPU_Freq_Dim = build::Label(Owner, S, "Label_ERR_CPU_Freq_Dim", "MHz", 680, 28);
    Label_ERR_Quartz_Freq_Err =
        build::Label(Owner, S, "Label_ERR_Quartz_Freq_Err", "Quartz error", 524, 52);
    Label_ERR_Quartz_Freq_Err->Visible(false);
}

void Main_Form_Errors::Bind_Part(TForm_KardunGAS& Form)
{
    Part_Hooks.Bind("Live_Data_Hooks.Show_Error_Memo", Live_Data_Hooks.Show_Error_Memo,
                    [this] { Show_Error_Memo(); });
}

void Main_Form_Errors::Show_Live_Part(const Live_Texts& T, bool Page_Active, TForm_KardunGAS& Form)
{
    Label_ERR_CPU_Freq_MHz->Caption("64");
}

void Main_Form_Errors::Show_Error_Memo()
{
    Language_Load_File();
    Memo_ERR_Current->Lines().Begin_Update();
    Memo_ERR_Current->Lines().Clear();
    for (const std::string& Key : Error_Memo_Keys(Error_Word))
        Memo_ERR_Current->Lines().Add(Language_Find_Text(Key));
    Memo_ERR_Current->Lines().End_Update();
    Language_Release();
}
