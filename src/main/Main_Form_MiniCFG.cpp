// The main window's side of the compact configuration window: what opens it (the connect
// script, an engine speed out of range after connecting, right clicks on the status row),
// the locks that close it, the live R.P.M. in its R.P.M. source view and what it asks of
// the Configuration page.
#include "main/Main_Form.h"
#include "protocol/Live_Data.h"
#include "protocol/Script.h"
#include "windows/MiniCFG_Window.h"

namespace {

// Script action: the R.P.M. source view after connecting.
constexpr int Action_Show_RPM_Source = 85;
// After connecting, an engine speed outside this range asks for the R.P.M. source.
constexpr uint16_t RPM_Plausible_Low = 450;
constexpr uint16_t RPM_Plausible_High = 7000;
// Right click on the port's or the link quality's panel: the port settings.
constexpr int View_Port_Settings = 26;

}  // namespace

void TForm_KardunGAS::Show_MiniCFG(int View_Type)
{
    // A locked window lends nothing: the password, a refused identification, the loader or
    // a version message keep the settings out of reach in the small window as well.
    if (!Enabled() || !PageControl_KardunGAS->Enabled())
        return;
    if (View_Type < MiniCFG_View_Min || View_Type > MiniCFG_View_Max)
        return;
    if (!Form_MiniCFG) {
        MiniCFG_View_Type = View_Type;
        return;
    }
    Form_MiniCFG->Show_View(View_Type);
}

void TForm_KardunGAS::MiniCFG_Close()
{
    if (Form_MiniCFG && (MiniCFG_Open || Form_MiniCFG->Visible()))
        Form_MiniCFG->Close();
}

void TForm_KardunGAS::Enabled(bool Value)
{
    TForm::Enabled(Value);
    if (!Value)
        MiniCFG_Close();
}

void TForm_KardunGAS::Pages_Enabled(bool Value)
{
    PageControl_KardunGAS->Enabled(Value);
    if (!Value)
        MiniCFG_Close();
}

void TForm_KardunGAS::Panel_PortStatusMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                                int Y)
{
    if (Button == TMouseButton::Right)
        Show_MiniCFG(View_Port_Settings);
}

void TForm_KardunGAS::MiniCFG_Live_Values()
{
    if (MiniCFG_Open && MiniCFG_View_Type == MiniCFG_View_RPM_Source)
        RPM_Source.Edit->Text(std::to_string(Live_Values.Live_RPM));
}

bool TForm_KardunGAS::RPM_Out_Of_Range() const
{
    return Live_Values.Live_RPM > RPM_Plausible_High || Live_Values.Live_RPM < RPM_Plausible_Low;
}

void TForm_KardunGAS::Bind_MiniCFG()
{
    Link_Hooks.Bind("MiniCFG_Hooks.Main_Form", MiniCFG_Hooks.Main_Form, [this]() -> TForm* { return this; });
    Link_Hooks.Bind("MiniCFG_Hooks.Show_Label_Help", MiniCFG_Hooks.Show_Label_Help,
                    [this](TControl* Label) { Help_Show_Hint(Label); });
    Link_Hooks.Bind("MiniCFG_Hooks.Table_Returned", MiniCFG_Hooks.Table_Returned, [this] {
        if (Options_Current == MiniCFG_View_RPM_Table)
            RPM_Tab_Show(true);
    });
    // Clear and Default act on the table alone while the small window shows it.
    MiniCFG_View_Shown = [] { return MiniCFG_Open ? MiniCFG_View_Type : 0; };
    Script_Set_Action(Action_Show_RPM_Source, [this] { Show_MiniCFG(MiniCFG_View_RPM_Source); });
    Link_Hooks.Add("Script action 85", [] { Script_Set_Action(Action_Show_RPM_Source, nullptr); },
                   [] { return static_cast<bool>(Script_Action_Slot(Action_Show_RPM_Source)); });
    auto Mouse_Down = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
        Panel_PortStatusMouseDown(Sender, Button, Shift, X, Y);
    };
    Panel_PortStatus->OnMouseDown = Mouse_Down;
    Panel_ConnectStatus_PerCent->OnMouseDown = Mouse_Down;
}
